// ztp958fm-radio-sim: a virtual ZT-958FM radio on a pseudo-terminal.

#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "apps/radio_sim/memory_file.h"
#include "apps/radio_sim/paced_line.h"
#include "apps/radio_sim/sim_options.h"
#include "core/link/fresh_radio.h"
#include "core/link/virtual_radio.h"
#include "platform/port_table.h"
#include "platform/pseudo_terminal.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;
volatile std::sig_atomic_t plugToggles = 0;

void onStopSignal(int)
{
    stopRequested = 1;
}

// SIGUSR1 pulls the cable out or plugs it in again.
void onPlugSignal(int)
{
    plugToggles = plugToggles + 1;
}

std::chrono::microseconds steadyNow()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

std::string twoDigits(int n)
{
    return (n < 10 ? "0" : "") + std::to_string(n);
}

zt::FreshRadioOptions freshOptionsForToday()
{
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    const std::string yyyy = std::to_string(tm.tm_year + 1900);
    const std::string mm = twoDigits(tm.tm_mon + 1);
    const std::string dd = twoDigits(tm.tm_mday);
    zt::FreshRadioOptions o;
    o.serialNumber = yyyy + mm + dd + "00000001";
    o.productionDate = yyyy + "-" + mm + "-" + dd;
    o.manufactureCode = mm + "-1-E-1";
    return o;
}

}  // namespace

int main(int argc, char** argv)
{
    const zt::SimOptionsResult parsed =
        zt::parseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::cerr << "ztp958fm-radio-sim: " << parsed.error << "\n" << zt::simUsage();
        return 2;
    }
    const zt::SimOptions& opt = parsed.options;
    if (opt.help) {
        std::cout << zt::simUsage();
        return 0;
    }

    zt::ManualClock clock;
    zt::VirtualRadio radio(clock);
    const zt::MemoryFileLoad loaded = opt.create || opt.memoryFile.empty()
                                          ? zt::MemoryFileLoad::Missing
                                          : zt::loadMemoryFile(opt.memoryFile, radio.memory());
    if (loaded == zt::MemoryFileLoad::WrongSize) {
        std::cerr << "ztp958fm-radio-sim: " << opt.memoryFile.string()
                  << " is not a radio memory file (" << radio.memory().size() << " bytes)\n";
        return 1;
    }
    if (loaded == zt::MemoryFileLoad::Missing) {
        zt::FreshRadioOptions fresh = freshOptionsForToday();
        if (opt.firmware) fresh.firmware = *opt.firmware;
        if (opt.flags) fresh.featureFlags = *opt.flags;
        if (opt.password) fresh.password = *opt.password;
        radio.memory() = zt::freshRadioMemory(fresh);
    }
    if (opt.password) radio.setPassword(*opt.password);
    if (opt.firmware) radio.setFirmwareVersion(*opt.firmware);
    if (opt.flags) radio.setFeatureFlags(*opt.flags);
    radio.setEcho(opt.echo);
    radio.setFaults(opt.faults);
    const auto cannotSave = [](const std::filesystem::path& file) {
        std::cerr << "ztp958fm-radio-sim: cannot save " << file.string() << std::endl;
    };
    if (!zt::saveMemoryFile(opt.memoryFile, radio.memory())) {
        cannotSave(opt.memoryFile);
        return 1;
    }

    // The radio the cable moves to after --swap-after sessions.
    zt::RadioMemory otherRadio{};
    if (opt.swapAfter > 0 &&
        zt::loadMemoryFile(opt.swapFile, otherRadio) != zt::MemoryFileLoad::Loaded) {
        std::cerr << "ztp958fm-radio-sim: " << opt.swapFile.string()
                  << " is not a radio memory file (" << radio.memory().size() << " bytes)\n";
        return 1;
    }
    zt::MemorySaver firstSaver(opt.memoryFile, cannotSave);
    zt::MemorySaver otherSaver(opt.swapAfter > 0 ? opt.swapFile : std::filesystem::path(),
                               cannotSave);
    zt::MemorySaver* saver = &firstSaver;
    int sessions = 0;
    radio.onEvent = [&](zt::RadioEvent event, int) {
        if (event == zt::RadioEvent::BlockWritten) saver->save(radio.memory());
        // Saved before the acknowledgement leaves, so a finished write is on
        // disk; a failure was reported on standard error by the saver.
        if (event != zt::RadioEvent::Ended) return;
        (void)saver->saveAndWait(radio.memory());
        if (++sessions == opt.swapAfter) {
            radio.memory() = otherRadio;
            saver = &otherSaver;
            std::cerr << "ztp958fm-radio-sim: now the radio of " << opt.swapFile.string()
                      << std::endl;
        }
    };

    zt::PseudoTerminal pty;
    if (!pty.open()) {
        std::cerr << "ztp958fm-radio-sim: " << pty.error() << "\n";
        return 1;
    }
    if (opt.registerCom > 0 &&
        !zt::registerComDevice(opt.registerIni, opt.registerCom, pty.devicePath())) {
        std::cerr << "ztp958fm-radio-sim: cannot write " << opt.registerIni.string() << "\n";
        return 1;
    }

    // Stop signals are only let through while waiting, so none is lost.
    std::signal(SIGPIPE, SIG_IGN);
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    struct sigaction plug {};
    plug.sa_handler = onPlugSignal;
    sigemptyset(&plug.sa_mask);
    sigaction(SIGUSR1, &plug, nullptr);
    sigset_t blocked;
    sigset_t waitMask;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGUSR1);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGTERM);
    sigdelset(&waitMask, SIGUSR1);
    // Wake-ups to the microsecond keep the paced line on time.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);

    std::cout << pty.devicePath() << std::endl;
    std::fflush(stdout);

    zt::PacedLine line(radio, clock, opt.baud);
    zt::Bytes out;
    char buf[4096];
    int plugTogglesSeen = 0;
    while (!stopRequested) {
        while (plugTogglesSeen != plugToggles) {
            ++plugTogglesSeen;
            radio.setPlugged(!radio.plugged());
            std::cerr << "ztp958fm-radio-sim: " << (radio.plugged() ? "plugged in" : "unplugged")
                      << std::endl;
        }
        out.clear();
        line.run(steadyNow(), out);
        if (!out.empty() && !pty.write(out)) {
            std::cerr << "ztp958fm-radio-sim: " << pty.error() << "\n";
            break;
        }

        timespec timeout{1, 0};
        if (const auto due = line.nextDue()) {
            const auto wait = std::max(std::chrono::microseconds(0), *due - steadyNow());
            timeout.tv_sec = static_cast<time_t>(wait.count() / 1'000'000);
            timeout.tv_nsec = static_cast<long>((wait.count() % 1'000'000) * 1000);
        }
        pollfd pfd{pty.masterFd(), POLLIN, 0};
        const int ready = ppoll(&pfd, 1, &timeout, &waitMask);
        if (ready < 0) {
            if (errno == EINTR) continue;
            std::perror("ztp958fm-radio-sim: poll");
            break;
        }
        if (ready > 0 && (pfd.revents & POLLIN)) {
            const ssize_t n = ::read(pty.masterFd(), buf, sizeof buf);
            if (n > 0)
                line.fromHost(steadyNow(), std::span<const std::uint8_t>(
                                               reinterpret_cast<const std::uint8_t*>(buf),
                                               static_cast<std::size_t>(n)));
        }
    }
    // Bytes already on their way reach the radio before it stops, so what the
    // host sent last (an END, say) is not lost to the stop.
    out.clear();
    line.run(steadyNow() + std::chrono::seconds(10), out);
    // The memory the radio ends with must be on disk: a failed last save is
    // the program's failure, not a quiet loss.
    const bool saved = saver->saveAndWait(radio.memory());

    const zt::RadioCounters& c = radio.counters();
    std::cerr << "ztp958fm-radio-sim: " << c.handshakes << " handshakes, " << c.blockReads
              << " block reads, " << c.blockWrites << " block writes, " << c.badPackets
              << " bad packets, " << c.ends << " ends; faults: " << c.dropped << " dropped, "
              << c.corrupted << " corrupted, " << c.refused << " refused, " << c.lagged << " late, "
              << c.lost << " lost\n";
    return saved ? 0 : 1;
}
