#pragma once

// Command line of ztp958fm-cli.

#include <optional>
#include <string>
#include <vector>

namespace zt {

enum class CliCommand { Read, Write, Info, Show };

struct CliOptions {
    CliCommand command = CliCommand::Show;
    std::string port;  // device path or COMn (read, write, info)
    std::string file;  // data file: output of read, input of write and show
    std::optional<std::string> password;
    bool yes = false;     // answer OK/Yes to every question
    int retries = 0;      // answer OK to the failure prompt this many times
    int language = 0;     // 0 = as mysetup.ini says; 1 English; 2 Chinese
    bool timing = false;  // report the transfer time and the bytes on the wire
};

struct CliParse {
    CliOptions options;
    bool help = false;
    std::string error;  // non-empty: misuse (exit status 2)
};

CliParse parseCliOptions(const std::vector<std::string>& args);

const char* cliUsage();

}  // namespace zt
