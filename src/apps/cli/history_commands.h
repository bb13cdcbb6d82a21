#pragma once

// The commands that keep and use the snapshots of radios:
//   read   --port P -o FILE.dat [--raw IMAGE]  the read is also kept as a snapshot
//   write  --port P FILE.dat | --raw IMAGE     the radio is read first and kept ("before write"),
//                                              the changes are shown and confirmed, and what
//                                              was written is kept ("written")
//   restore --port P SNAPSHOT                  writes a snapshot's image back, the same way
//   diff A B [--json]                          A and B data files, snapshots or --port P
//   backups [--radio ID] [--keep-days N] [--keep-at-least M]

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "apps/cli/cli_options.h"
#include "core/history/snapshot_store.h"

namespace zt {

class CliSession;

// Runs one transfer of the command line with these options on the event loop and returns its
// exit status. `prepare` sees the session before it starts, `done` after it ended (both may be
// empty). With `quiet` nothing is printed on standard output.
using SessionRunner =
    std::function<int(const CliOptions& options, const std::function<void(CliSession&)>& prepare,
                      const std::function<void(CliSession&)>& done, bool quiet)>;

struct HistoryContext {
    SessionRunner run;
    SnapshotStore& snapshots;
    std::string programVersion;
    std::ostream& out;
    std::ostream& err;
};

// read and write with their snapshots (options.command is Read or Write).
int runReadWithSnapshot(const CliOptions& options, HistoryContext& ctx);
int runWriteWithBackup(const CliOptions& options, HistoryContext& ctx);

// restore, diff and backups: args[0] is the command word. Exit status 0 success (diff: equal),
// 1 failure (diff: the documents differ), 2 misuse.
int runHistoryCommand(const std::vector<std::string>& args, HistoryContext& ctx);

// The help lines of these commands.
const char* historyUsage();

}  // namespace zt
