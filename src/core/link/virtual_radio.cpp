#include "core/link/virtual_radio.h"

#include <algorithm>

namespace zt {

namespace {

constexpr int kMaxReadLength = 64;

// True when `pending` is a prefix of `word` (or all of it); `complete` tells which.
bool matchesWord(const Bytes& pending, const Bytes& word, bool& complete)
{
    const std::size_t n = std::min(pending.size(), word.size());
    if (!std::equal(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(n),
                    word.begin()))
        return false;
    complete = pending.size() >= word.size();
    return true;
}

// The radio's own sum over the bytes of a packet or answer from the address
// high byte through the last data byte (everything between "W" and the
// checksum), kept apart from the program's packet code so that a fault there
// shows up as a refused packet or a rejected answer.
std::uint8_t sumAfterW(std::span<const std::uint8_t> packet, std::size_t dataLength)
{
    unsigned sum = 0;
    for (std::size_t i = 1; i < 4 + dataLength; ++i) sum += packet[i];
    return static_cast<std::uint8_t>(sum);
}

}  // namespace

VirtualRadio::VirtualRadio(const Clock& clock) : clock_(clock), rng_(faults_.seed)
{
    memory_.fill(0xFF);
}

void VirtualRadio::setPassword(std::string_view password)
{
    for (int i = 0; i < 4; ++i) {
        memory_[static_cast<std::size_t>(kPasswordAddress + i)] =
            i < static_cast<int>(password.size())
                ? static_cast<std::uint8_t>(password[static_cast<std::size_t>(i)])
                : 0x00;
    }
}

std::string VirtualRadio::password() const
{
    Block b;
    std::copy_n(memory_.begin() + kPasswordBlockAddress, kBlockSize, b.begin());
    return passwordOfBlock(b);
}

void VirtualRadio::setFirmwareVersion(std::string_view version)
{
    for (int i = 0; i < 4; ++i) {
        memory_[static_cast<std::size_t>(kFirmwareVersionAddress + i)] =
            i < static_cast<int>(version.size())
                ? static_cast<std::uint8_t>(version[static_cast<std::size_t>(i)])
                : 0x00;
    }
}

std::string VirtualRadio::firmwareVersion() const
{
    std::string s;
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t b = memory_[static_cast<std::size_t>(kFirmwareVersionAddress + i)];
        if (b == 0x00) break;
        s.push_back(static_cast<char>(b));
    }
    return s;
}

void VirtualRadio::setFaults(const FaultSettings& faults)
{
    faults_ = faults;
    rng_.seed(faults.seed);
    blockCommands_ = 0;
}

void VirtualRadio::reset()
{
    mode_ = RadioMode::Idle;
    pending_.clear();
    late_.clear();
}

void VirtualRadio::takeDue(Bytes& out)
{
    const auto now = clock_.now();
    while (!late_.empty() && late_.front().due <= now) {
        out.insert(out.end(), late_.front().bytes.begin(), late_.front().bytes.end());
        late_.pop_front();
    }
}

std::optional<std::chrono::microseconds> VirtualRadio::nextDue() const
{
    if (late_.empty()) return std::nullopt;
    return late_.front().due;
}

void VirtualRadio::sendAnswer(const Bytes& reply, Bytes& out)
{
    if (reply.empty()) return;
    // A busy radio answers late but never out of order: once one answer is held
    // back, every later one waits behind it.
    const bool lagging = chance(faults_.lag);
    if (!lagging && late_.empty()) {
        out.insert(out.end(), reply.begin(), reply.end());
        return;
    }
    auto due = clock_.now();
    if (lagging) {
        ++counters_.lagged;
        due += std::chrono::milliseconds(faults_.lagMs);
    }
    if (!late_.empty()) due = std::max(due, late_.back().due);
    late_.push_back({due, reply});
}

Bytes VirtualRadio::receive(std::span<const std::uint8_t> in)
{
    Bytes out;
    receive(in, out);
    return out;
}

void VirtualRadio::receive(std::span<const std::uint8_t> in, Bytes& out)
{
    if (!plugged_) return;
    const auto now = clock_.now();
    for (std::uint8_t b : in) {
        if (!plugged_) return;
        if (echo_) out.push_back(b);
        if (!pending_.empty() && now - lastByte_ > kCommandGap) pending_.clear();
        lastByte_ = now;
        pending_.push_back(b);
        // Take every complete command off the front; an impossible start is
        // dropped a byte at a time so that the next command is found again.
        while (!pending_.empty()) {
            std::size_t length = 0;
            const Parse p = parse(length);
            if (p == Parse::NeedMore) break;
            if (p == Parse::Invalid) {
                pending_.erase(pending_.begin());
                continue;
            }
            execute(length, out);
            pending_.erase(pending_.begin(),
                           pending_.begin() + static_cast<std::ptrdiff_t>(length));
        }
    }
}

VirtualRadio::Parse VirtualRadio::parse(std::size_t& length) const
{
    static const Bytes kProgram = handshakeCommand();
    static const Bytes kFactory = factoryHandshakeCommand();
    static const Bytes kEnd = endCommand();

    bool complete = false;
    const std::uint8_t first = pending_.front();
    if (first == kProgram.front() && matchesWord(pending_, kProgram, complete)) {
        length = kProgram.size();
        return complete ? Parse::Complete : Parse::NeedMore;
    }
    if (first == kFactory.front() && matchesWord(pending_, kFactory, complete)) {
        length = kFactory.size();
        return complete ? Parse::Complete : Parse::NeedMore;
    }
    if (mode_ == RadioMode::Idle) return Parse::Invalid;

    std::size_t need = 0;
    switch (first) {
        case kIdentifyByte:
            need = 1;
            break;
        case 'R':
            need = 4;
            break;
        case 'W':
            need = kWritePacketSize;
            break;
        case 'E':
            if (!matchesWord(pending_, kEnd, complete)) return Parse::Invalid;
            need = kEnd.size();
            break;
        default:
            return Parse::Invalid;
    }
    length = need;
    return pending_.size() >= need ? Parse::Complete : Parse::NeedMore;
}

bool VirtualRadio::chance(double p)
{
    if (p <= 0.0) return false;
    return std::uniform_real_distribution<double>(0.0, 1.0)(rng_) < p;
}

bool VirtualRadio::writable(int address) const
{
    if (address < 0 || address + kBlockSize > kRadioMemorySize) return false;
    // The information block only takes writes in the factory mode.
    if (address + kBlockSize > kInfoBlockBase) return mode_ == RadioMode::Factory;
    return true;
}

void VirtualRadio::notify(RadioEvent e, int address)
{
    if (onEvent) onEvent(e, address);
}

void VirtualRadio::execute(std::size_t length, Bytes& out)
{
    const std::uint8_t first = pending_.front();
    if (first == 'R' || first == 'W') {
        if (faults_.unplugAfterBlocks >= 0 && blockCommands_ >= faults_.unplugAfterBlocks) {
            plugged_ = false;
            return;
        }
        ++blockCommands_;
    }
    Bytes reply;
    RadioEvent event = RadioEvent::Handshake;
    int eventAddress = 0;
    bool haveEvent = false;

    if (length == 7 && (first == 'P' || first == 0x46)) {
        mode_ = first == 'P' ? RadioMode::Programming : RadioMode::Factory;
        ++counters_.handshakes;
        reply = {'Z', 'T', kAck};
        haveEvent = true;
    } else if (first == kIdentifyByte) {
        ++counters_.identifications;
        reply.push_back('P');
        reply.insert(reply.end(), memory_.begin() + kIdentityAddress,
                     memory_.begin() + kIdentityAddress + 14);
        reply.push_back(kAck);
    } else if (first == 'R') {
        const int address = (pending_[1] << 8) | pending_[2];
        const int len = pending_[3];
        if (len < 1 || len > kMaxReadLength || address + len > kRadioMemorySize) return;
        ++counters_.blockReads;
        reply.push_back('W');
        reply.insert(reply.end(), pending_.begin() + 1, pending_.begin() + 4);
        const auto data = std::span<const std::uint8_t>(memory_).subspan(
            static_cast<std::size_t>(address), static_cast<std::size_t>(len));
        reply.insert(reply.end(), data.begin(), data.end());
        reply.push_back(sumAfterW(reply, static_cast<std::size_t>(len)));
        reply.push_back(kAck);
        if (chance(faults_.corrupt)) {
            ++counters_.corrupted;
            std::uniform_int_distribution<std::size_t> pos(1, reply.size() - 2);
            std::uniform_int_distribution<int> flip(1, 255);
            reply[pos(rng_)] ^= static_cast<std::uint8_t>(flip(rng_));
        }
        event = RadioEvent::BlockRead;
        eventAddress = address;
        haveEvent = true;
    } else if (first == 'W') {
        const int address = (pending_[1] << 8) | pending_[2];
        const auto data = std::span<const std::uint8_t>(pending_).subspan(4, kBlockSize);
        const bool valid = pending_[3] == 0x10 && pending_[21] == kAck &&
                           sumAfterW(pending_, kBlockSize) == pending_[20] && writable(address);
        if (!valid) {
            ++counters_.badPackets;
            reply = {kSendAgain};
        } else if (chance(faults_.refuse)) {
            ++counters_.refused;
            reply = {kSendAgain};
        } else if (chance(faults_.lose)) {
            ++counters_.lost;
            reply = {kAck};
        } else {
            std::copy(data.begin(), data.end(), memory_.begin() + address);
            ++counters_.blockWrites;
            reply = {kAck};
            event = RadioEvent::BlockWritten;
            eventAddress = address;
            haveEvent = true;
        }
    } else if (first == 'E') {
        ++counters_.ends;
        mode_ = RadioMode::Idle;
        reply = {kAck};
        event = RadioEvent::Ended;
        haveEvent = true;
    }

    if (chance(faults_.drop)) {
        ++counters_.dropped;
        reply.clear();
    }
    sendAnswer(reply, out);
    if (haveEvent) notify(event, eventAddress);
}

}  // namespace zt
