#pragma once

// Command-line options of the virtual radio program.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/link/virtual_radio.h"

namespace zt {

struct SimOptions {
    std::filesystem::path memoryFile;  // empty: memory only in this process
    bool create = false;               // start from a fresh radio even when the file exists
    bool echo = false;
    int baud = 0;  // 0 = as fast as possible
    std::optional<std::string> password;
    std::optional<std::string> firmware;
    std::optional<std::uint8_t> flags;
    FaultSettings faults;
    // After this many sessions (each ended by END) the cable is on another radio: the memory
    // of `swapFile` (16384 bytes), saved back to that file from then on. 0: never.
    int swapAfter = 0;
    std::filesystem::path swapFile;
    std::filesystem::path registerIni;  // mysetup.ini whose "ports" entry gets the device
    int registerCom = 0;
    bool help = false;
};

struct SimOptionsResult {
    SimOptions options;
    std::string error;  // non-empty: misuse
};

SimOptionsResult parseSimOptions(const std::vector<std::string>& args);

// "drop=P,corrupt=P,refuse=P,seed=N" (any subset, any order).
bool parseFaultSpec(const std::string& text, FaultSettings& faults, std::string& error);

const char* simUsage();

}  // namespace zt
