#pragma once

// `ztp958fm-cli report FILE.dat -o report.pdf [--paper a4|letter] [--language english|chinese]`:
// the channel list and main settings of a data file as a PDF, drawn without a display.

#include <iosfwd>
#include <string>
#include <vector>

#include "core/files/install_paths.h"

namespace zt {

struct ReportArgs {
    std::string input;    // data file
    std::string output;   // -o
    bool letter = false;  // --paper letter (A4 otherwise)
    int language = 0;     // 0: as mysetup.ini says; 1 English; 2 Chinese
};

// Parses the options after the command word; an empty result means success, otherwise it is
// the misuse to report.
std::string parseReportArgs(const std::vector<std::string>& args, ReportArgs& out);

// Lets the report be drawn without a display: the offscreen platform unless one is chosen.
// Call before the application object is created.
void useOffscreenPlatformUnlessSet();

// Runs the command (args[0] is "report"); a QGuiApplication must exist. Returns the exit status:
// 0 written, 1 the data file could not be read or the PDF not written (no file is left
// behind), 2 misuse.
int runReportCommand(const std::vector<std::string>& args, const InstallPaths& paths,
                     std::ostream& out, std::ostream& err);

}  // namespace zt
