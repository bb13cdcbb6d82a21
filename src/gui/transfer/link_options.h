#pragma once

// The programming program's transfer options, kept in its mysetup.ini
// (section "transfer"): read the radio back after a write and compare, and
// write a serial trace file of every transfer. Both are off by default.

#include <filesystem>
#include <string>

#include "core/text_ids.h"

namespace zt::gui {

struct LinkOptions {
    bool verifyAfterWrite = false;
    bool trace = false;
    std::string traceFile;  // kept while tracing is off, for the next time
};

constexpr const char* kLinkOptionsSection = "transfer";

LinkOptions loadLinkOptions(const std::filesystem::path& mySetupIni);
// False when the file cannot be written.
bool saveLinkOptions(const std::filesystem::path& mySetupIni, const LinkOptions& options);

// True when a trace could be written to `file` (it is created and removed
// again when it did not exist).
bool traceFileWritable(const std::filesystem::path& file);

}  // namespace zt::gui
