#pragma once

// Command line of ztp958fm-cli.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zt {

enum class CliCommand { Read, Write, Info, InfoWrite, Show };

struct CliOptions {
    CliCommand command = CliCommand::Show;
    std::string port;  // device path or COMn (read, write, info)
    std::string file;  // data file: output of read, input of write and show; the
                       // information file: output of info -o, input of info-write
    std::optional<std::string> password;
    bool yes = false;     // answer OK/Yes to every question
    int retries = 0;      // answer OK to the failure prompt this many times
    int language = 0;     // 0 = as mysetup.ini says; 1 English; 2 Chinese
    bool timing = false;  // report the transfer time and the bytes on the wire
    std::string trace;    // file for the serial trace (empty: none)
    bool verify = false;  // write: read the image back and compare it
    // info-write: information-file field name -> text given on the command line.
    std::map<std::string, std::string> infoFields;
    std::string raw;        // read: also keep the image here; write: send this image
    bool noBackup = false;  // write: no backup read before the write
    bool ownFile = false;   // read: the data file is the program's own, not named to the user
    int batch = 0;          // info-write: write this many radios one after the other (0 = one)
    // read, write: a step of a command the user already agreed to (a write's backup read, the
    // write after its preview): the transfer's own question is not asked.
    bool agreed = false;
};

struct CliParse {
    CliOptions options;
    bool help = false;
    std::string error;  // non-empty: misuse (exit status 2)
};

CliParse parseCliOptions(const std::vector<std::string>& args);

const char* cliUsage();

}  // namespace zt
