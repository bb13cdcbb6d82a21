#pragma once

// Ctrl-C and stop signals of ztp958fm-cli. The handler only notes the signal
// and writes a byte to a pipe; the event loop reads the pipe and stops the
// command. A question waiting for the terminal sees the note when its read
// is interrupted, so a Ctrl-C there stops the command as well.

#include <string>

namespace zt {

// Installs the handler for SIGINT and SIGTERM (without restarting interrupted
// reads); false when it could not be installed.
bool catchStopSignals();
// The pipe end the event loop watches; -1 before catchStopSignals().
int stopSignalFd();
// Empties the pipe after the loop saw it become readable.
void drainStopSignals();
// True once a stop signal arrived.
bool stopSignalled();
// Reads one line (without its line end) from standard input, a terminal.
// False at the end of the input, or when a stop signal arrives before the
// line is complete (also one that arrived just before the read began).
bool readTerminalLine(std::string& line);

}  // namespace zt
