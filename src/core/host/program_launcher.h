#pragma once

#include <filesystem>

namespace zt {

// How the core starts another program (a new process with a normal window).
class ProgramLauncher {
  public:
    virtual ~ProgramLauncher() = default;
    // True when the program was started.
    [[nodiscard]] virtual bool start(const std::filesystem::path& executable) = 0;
};

}  // namespace zt
