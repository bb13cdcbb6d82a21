#include "apps/cli/stop_signal.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace zt {

namespace {

int stopPipe[2] = {-1, -1};
volatile std::sig_atomic_t signalled = 0;

void onStopSignal(int)
{
    signalled = 1;
    const char byte = 1;
    if (::write(stopPipe[1], &byte, 1) < 0) {
        // Nothing can be done inside a signal handler; a pending byte suffices.
    }
}

}  // namespace

bool catchStopSignals()
{
    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    return sigaction(SIGINT, &sa, nullptr) == 0 && sigaction(SIGTERM, &sa, nullptr) == 0;
}

int stopSignalFd()
{
    return stopPipe[0];
}

void drainStopSignals()
{
    char bytes[16];
    while (::read(stopPipe[0], bytes, sizeof bytes) > 0) {
    }
}

bool stopSignalled()
{
    return signalled != 0;
}

bool readTerminalLine(std::string& line)
{
    line.clear();
    // The stop pipe is watched beside the terminal: a signal that came just
    // before the read began would otherwise leave the read waiting for a line.
    for (;;) {
        if (stopSignalled()) return false;
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
        const int ready = ::poll(fds, stopPipe[0] >= 0 ? 2 : 1, -1);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (stopPipe[0] >= 0 && (fds[1].revents & POLLIN) != 0) continue;  // flag is set
        if (fds[0].revents == 0) continue;
        char c = 0;
        const ssize_t got = ::read(STDIN_FILENO, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return !line.empty();
        if (c == '\n') return true;
        line.push_back(c);
    }
}

}  // namespace zt
