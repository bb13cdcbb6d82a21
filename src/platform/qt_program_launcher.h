#pragma once

#include "core/host/program_launcher.h"

namespace zt {

// Starts another installed version of the program as a detached process.
class QtProgramLauncher final : public ProgramLauncher {
  public:
    bool start(const std::filesystem::path& executable) override;
};

}  // namespace zt
