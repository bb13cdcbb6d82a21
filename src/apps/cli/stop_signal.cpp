#include "apps/cli/stop_signal.h"

#include <fcntl.h>
#include <unistd.h>

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

}  // namespace zt
