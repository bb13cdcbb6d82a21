#pragma once

// The engine of a virtual ZT-958FM radio: bytes in, bytes out. It holds the
// radio's 16 KiB of memory (0x0000-0x3FFF) and answers the programming
// handshake, identification, block reads and writes and END, as well as the
// information tool's factory handshake. Optionally it echoes every byte like
// a one-wire cable and injects faults from a seeded generator. Time comes only
// from the clock it is given: a command left unfinished for longer than
// kCommandGap is forgotten, as the radio does when the program gives up on an
// answer and starts over.

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>

#include "core/host/clock.h"
#include "core/link/packets.h"

namespace zt {

constexpr int kRadioMemorySize = 0x4000;
using RadioMemory = std::array<std::uint8_t, kRadioMemorySize>;

// Probabilities (0..1) of each fault per answer, and the generator's seed.
struct FaultSettings {
    double drop = 0.0;     // the answer to a command is not sent
    double corrupt = 0.0;  // one byte of a block read answer (address, length, data or
                           // checksum) is altered, so its checksum no longer matches
    double refuse = 0.0;   // a write packet is answered 0x0A and not stored
    std::uint64_t seed = 1;
    double lag = 0.0;  // an answer is sent lagMs late; later answers queue behind it
    int lagMs = 200;
    double lose = 0.0;  // a write packet is acknowledged 0x06 but not stored
    // After this many block commands (reads and writes) the radio stops answering
    // altogether, as if the cable had been pulled; -1 = never.
    int unplugAfterBlocks = -1;
    bool any() const
    {
        return drop > 0.0 || corrupt > 0.0 || refuse > 0.0 || lag > 0.0 || lose > 0.0 ||
               unplugAfterBlocks >= 0;
    }
};

enum class RadioMode { Idle, Programming, Factory };

enum class RadioEvent {
    Handshake,     // address = 0; the mode shows which one
    BlockRead,     // address of the block
    BlockWritten,  // address of the block, after the memory changed
    Ended,         // END acknowledged; the radio is idle again
};

struct RadioCounters {
    int handshakes = 0;
    int identifications = 0;
    int blockReads = 0;
    int blockWrites = 0;  // accepted and stored
    int badPackets = 0;   // write packets answered 0x0A for a bad checksum or address
    int ends = 0;
    int dropped = 0;    // injected
    int corrupted = 0;  // injected
    int refused = 0;    // injected
    int lagged = 0;     // injected: answers sent late
    int lost = 0;       // injected: acknowledged writes that were not stored
};

class VirtualRadio {
  public:
    static constexpr std::chrono::milliseconds kCommandGap{100};
    static constexpr int kIdentityAddress = 8688;         // 14 bytes, 8688..8701
    static constexpr int kFirmwareVersionAddress = 8696;  // 4 bytes
    static constexpr int kFeatureFlagsAddress = 8700;
    static constexpr int kPasswordAddress = kPasswordBlockAddress + 12;  // 4 bytes

    explicit VirtualRadio(const Clock& clock);

    // Memory, settable and inspectable at any time.
    RadioMemory& memory() { return memory_; }
    const RadioMemory& memory() const { return memory_; }

    // The program password in the password block (up to 4 characters; the rest 0x00).
    void setPassword(std::string_view password);
    std::string password() const;
    // The version text of the identity area (4 characters, 0x00-padded).
    void setFirmwareVersion(std::string_view version);
    std::string firmwareVersion() const;
    // Feature flags byte of the identity area (bits 3..0).
    void setFeatureFlags(std::uint8_t flags) { memory_[kFeatureFlagsAddress] = flags; }

    void setEcho(bool on) { echo_ = on; }
    bool echo() const { return echo_; }
    void setFaults(const FaultSettings& faults);
    const FaultSettings& faults() const { return faults_; }

    // Feeds bytes that arrive now; appends what the radio sends back (the echo
    // of each byte as it arrives, then any answer) to `out`.
    void receive(std::span<const std::uint8_t> in, Bytes& out);
    Bytes receive(std::span<const std::uint8_t> in);

    // Answers that are due by the clock's now (late answers of the lag fault),
    // appended to `out` in order, and when the next one falls due.
    void takeDue(Bytes& out);
    std::optional<std::chrono::microseconds> nextDue() const;

    // An unplugged radio neither echoes nor answers; bytes sent to it are lost.
    void setPlugged(bool plugged) { plugged_ = plugged; }
    bool plugged() const { return plugged_; }

    // Back to idle with nothing pending (power cycle; memory is kept).
    void reset();

    RadioMode mode() const { return mode_; }
    const RadioCounters& counters() const { return counters_; }
    void resetCounters() { counters_ = {}; }

    // Told after each handshake, block read, stored write and END (for
    // example to persist the memory).
    std::function<void(RadioEvent, int address)> onEvent;

  private:
    enum class Parse { NeedMore, Invalid, Complete };
    Parse parse(std::size_t& length) const;
    void execute(std::size_t length, Bytes& out);
    bool chance(double p);
    bool writable(int address) const;
    void notify(RadioEvent e, int address);
    void sendAnswer(const Bytes& reply, Bytes& out);

    struct Late {
        std::chrono::microseconds due;
        Bytes bytes;
    };

    const Clock& clock_;
    RadioMemory memory_{};
    bool echo_ = false;
    FaultSettings faults_;
    std::mt19937_64 rng_;
    RadioMode mode_ = RadioMode::Idle;
    Bytes pending_;
    std::chrono::microseconds lastByte_{0};
    RadioCounters counters_;
    std::deque<Late> late_;  // answers held back, in the order they were given
    bool plugged_ = true;
    int blockCommands_ = 0;
};

}  // namespace zt
