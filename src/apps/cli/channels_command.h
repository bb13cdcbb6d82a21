#pragma once

// `ztp958fm-cli export FILE.dat -o ch.csv [--group N]`: a data file's channels as CHIRP CSV.
// `ztp958fm-cli import ch.csv --into FILE.dat -o NEW.dat [--dry-run] [--skip-bad]`: channels
// from a CHIRP CSV file into a copy of a data file, every row checked first.

#include <iosfwd>
#include <string>
#include <vector>

namespace zt {

// Runs the command (args[0] is "export" or "import"); returns the exit status: 0 done,
// 1 a file could not be read or written or a row could not be taken, 2 misuse.
int runChannelsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zt
