#include "core/link/packets.h"

#include <algorithm>

namespace zt {

namespace {

constexpr std::string_view kHandshakeWord = "PROGRAM";
constexpr std::string_view kEndWord = "END";

Bytes bytesOf(std::string_view s)
{
    return Bytes(s.begin(), s.end());
}

// Text from `bytes` up to the first 0x00.
std::string textUpToNul(std::span<const std::uint8_t> bytes)
{
    std::string s;
    for (std::uint8_t b : bytes) {
        if (b == 0x00) break;
        s.push_back(static_cast<char>(b));
    }
    return s;
}

}  // namespace

int commandLength(Command command)
{
    switch (command) {
        case Command::Handshake:
            return 7;
        case Command::Identify:
            return 1;
        case Command::ReadBlock:
            return 4;
        case Command::WriteBlock:
            return kWritePacketSize;
        case Command::End:
            return 3;
    }
    return 0;
}

int replyLength(Command command)
{
    switch (command) {
        case Command::Handshake:
            return 3;
        case Command::Identify:
            return kIdentReplySize;
        case Command::ReadBlock:
            return kReadReplySize;
        case Command::WriteBlock:
            return 1;
        case Command::End:
            return 1;
    }
    return 0;
}

int echoLength(Command command, bool noEcho)
{
    return noEcho ? 0 : commandLength(command);
}

int awaitedTotal(Command command, bool noEcho)
{
    return echoLength(command, noEcho) + replyLength(command);
}

Bytes handshakeCommand()
{
    return bytesOf(kHandshakeWord);
}
Bytes identifyCommand()
{
    return Bytes{kIdentifyByte};
}

Bytes readBlockCommand(int address, int length)
{
    return Bytes{'R', static_cast<std::uint8_t>((address >> 8) & 0xFF),
                 static_cast<std::uint8_t>(address & 0xFF), static_cast<std::uint8_t>(length)};
}

Bytes writeBlockPacket(int address, std::span<const std::uint8_t, kBlockSize> data)
{
    Bytes p;
    p.reserve(kWritePacketSize);
    p.push_back('W');
    p.push_back(static_cast<std::uint8_t>((address >> 8) & 0xFF));
    p.push_back(static_cast<std::uint8_t>(address & 0xFF));
    p.push_back(0x10);
    p.insert(p.end(), data.begin(), data.end());
    p.push_back(blockChecksum(address, 0x10, data));
    p.push_back(kAck);
    return p;
}

Bytes endCommand()
{
    return bytesOf(kEndWord);
}

Bytes factoryHandshakeCommand()
{
    static constexpr std::array<std::uint8_t, 7> kWord{0x46, 0x41, 0x43, 0x54, 0x4F, 0x52, 0x59};
    return Bytes(kWord.begin(), kWord.end());
}

Bytes buildCommand(Command command, int address, const RadioImage& image)
{
    switch (command) {
        case Command::Handshake:
            return handshakeCommand();
        case Command::Identify:
            return identifyCommand();
        case Command::ReadBlock:
            return readBlockCommand(address);
        case Command::WriteBlock: {
            const Block data = image.blockBytes(address);
            return writeBlockPacket(address, data);
        }
        case Command::End:
            return endCommand();
    }
    return {};
}

std::uint8_t blockChecksum(int address, int length, std::span<const std::uint8_t> data)
{
    unsigned sum = static_cast<unsigned>((address >> 8) & 0xFF) +
                   static_cast<unsigned>(address & 0xFF) + static_cast<unsigned>(length & 0xFF);
    for (std::uint8_t b : data) sum += b;
    return static_cast<std::uint8_t>(sum & 0xFF);
}

Reply classifyReply(std::span<const std::uint8_t> bytes, int echo, bool passwordStep,
                    int requestedAddress)
{
    Reply r;
    const std::size_t n = bytes.size();
    const std::size_t e = static_cast<std::size_t>(std::max(echo, 0));
    if (n <= e) return r;
    const std::uint8_t first = bytes[e];

    // 1, 2: one-byte answers.
    if (n == e + 1 && first == kAck) {
        r.kind = ReplyKind::Ack;
        return r;
    }
    if (n == e + 1 && first == kSendAgain) {
        r.kind = ReplyKind::SendAgain;
        return r;
    }
    // 3: handshake.
    if (n == e + 3 && first == 'Z' && bytes[e + 1] == 'T' && bytes[e + 2] == kAck) {
        r.kind = ReplyKind::Handshake;
        return r;
    }
    // 4: identification.
    if (n == e + kIdentReplySize && first == 'P' && bytes[n - 1] == kAck) {
        r.kind = ReplyKind::Identification;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(e), kIdentReplySize,
                    r.ident.begin());
        return r;
    }
    // 5, 6: read replies.
    if (n < e + kReadReplySize || first != 'W' || bytes[n - 1] != kAck) return r;
    const int address = (bytes[e + 1] << 8) | bytes[e + 2];
    const int length = bytes[e + 3];
    if (n != e + static_cast<std::size_t>(length) + 6 || length != kBlockSize) return r;
    const auto data = bytes.subspan(e + 4, kBlockSize);
    if (blockChecksum(address, length, data) != bytes[e + 4 + kBlockSize]) return r;
    if (passwordStep && address == kPasswordBlockAddress) {
        r.kind = ReplyKind::PasswordBlock;
    } else if (address == requestedAddress) {
        r.kind = ReplyKind::DataBlock;
    } else {
        return r;
    }
    r.address = address;
    std::copy(data.begin(), data.end(), r.data.begin());
    return r;
}

Identification parseIdentification(std::span<const std::uint8_t, kIdentReplySize> reply)
{
    Identification id;
    id.model = textUpToNul(reply.subspan(1, 6));
    id.variant = reply[7];
    id.version = textUpToNul(reply.subspan(9, 4));
    id.featureFlags = reply[13];
    if (id.model == "ZT-958" && id.variant == 1) {
        id.model = "ZT-958FM";
        id.variant = 0;
    }
    return id;
}

void copyIdentityToImage(std::span<const std::uint8_t, kIdentReplySize> reply, RadioImage& image)
{
    for (int i = 1; i <= 6; ++i) image[img::Identity + i - 1] = reply[static_cast<std::size_t>(i)];
    for (int i = 8; i <= 14; ++i) image[img::Identity + i - 1] = reply[static_cast<std::size_t>(i)];
}

std::string passwordOfBlock(std::span<const std::uint8_t, kBlockSize> block)
{
    std::string s;
    for (int i = 12; i < 16; ++i) {
        const std::uint8_t b = block[static_cast<std::size_t>(i)];
        if (b == 0x00 || b == 0xFF) break;
        s.push_back(static_cast<char>(b));
    }
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

bool passwordMatches(std::string_view blockPassword, std::string_view entered)
{
    return blockPassword.empty() || blockPassword == entered;
}

}  // namespace zt
