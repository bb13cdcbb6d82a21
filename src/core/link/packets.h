#pragma once

// The byte-level programming protocol: the commands the program sends, how
// many bytes each reply takes (with and without the cable's echo), how a
// received answer is classified, the block checksum, the identification reply
// and the password block.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/radio/radio_image.h"

namespace zt {

using Bytes = std::vector<std::uint8_t>;

constexpr int kReplyTimeoutMs = 150;  // measured from just before a command is sent
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kSendAgain = 0x0A;
constexpr std::uint8_t kIdentifyByte = 0x02;
constexpr int kIdentReplySize = 16;
constexpr int kReadReplySize = 22;  // "W", addr hi, addr lo, len, 16 data, checksum, 0x06
constexpr int kWritePacketSize = 22;

enum class Command { Handshake, Identify, ReadBlock, WriteBlock, End };

// Bytes of each command as sent (and, on an echoing cable, echoed back).
int commandLength(Command command);
// Number of bytes the radio answers with, after the echo.
int replyLength(Command command);
// Echo length E: the command's length, or 0 when the cable does not echo.
int echoLength(Command command, bool noEcho);
// Total bytes awaited for the command's answer: E + reply.
int awaitedTotal(Command command, bool noEcho);

// The command bytes.
Bytes handshakeCommand();  // "PROGRAM"
Bytes identifyCommand();   // 0x02
Bytes readBlockCommand(int address, int length = kBlockSize);
Bytes writeBlockPacket(int address, std::span<const std::uint8_t, kBlockSize> data);
Bytes endCommand();  // "END"
// The information tool's handshake word: seven capital letters that put the
// radio into the mode in which its information block may be written.
Bytes factoryHandshakeCommand();
// The bytes of `command` for block `address`; `image` supplies write data.
Bytes buildCommand(Command command, int address, const RadioImage& image);

// Sum modulo 256 of the bytes after the leading "W": address high, address
// low, length and the data bytes.
std::uint8_t blockChecksum(int address, int length, std::span<const std::uint8_t> data);

// What a received answer is, tested in this order; the first match decides.
enum class ReplyKind {
    None,            // anything else: ignored, the time-out handles it
    Ack,             // 1: E + 1 bytes, byte E = 0x06
    SendAgain,       // 2: E + 1 bytes, byte E = 0x0A
    Handshake,       // 3: E + 3 bytes, "ZT", 0x06
    Identification,  // 4: E + 16 bytes, byte E = "P", last 0x06
    PasswordBlock,   // 5: read reply for 0x3F20 while in the password step
    DataBlock,       // 6: read reply for the requested address with a correct checksum
};

struct Reply {
    ReplyKind kind = ReplyKind::None;
    int address = -1;                                   // password and data blocks
    Block data{};                                       // password and data blocks
    std::array<std::uint8_t, kIdentReplySize> ident{};  // identification
};

// Classifies exactly the bytes taken for one answer. `echo` is E;
// `passwordStep` is true while the transfer waits for the password block;
// `requestedAddress` is the block just requested (-1 when none).
// The password block must carry a correct checksum like any data block: a
// corrupted one would decide the password check on bytes the radio never held.
Reply classifyReply(std::span<const std::uint8_t> bytes, int echo, bool passwordStep,
                    int requestedAddress);

// The parsed identification reply (positions after the echo).
struct Identification {
    std::string model;              // positions 1-6 up to the first 0x00
    std::uint8_t variant = 0;       // position 7; "ZT-958"/1 becomes "ZT-958FM"/0
    std::string version;            // positions 9-12 up to the first 0x00
    std::uint8_t featureFlags = 0;  // position 13
};

Identification parseIdentification(std::span<const std::uint8_t, kIdentReplySize> reply);

// Copies reply positions 1-6 and 8-14 to image offsets 8688-8693 and
// 8695-8701; offset 8694 keeps its value.
void copyIdentityToImage(std::span<const std::uint8_t, kIdentReplySize> reply, RadioImage& image);

// The radio's program password from the password block: data bytes 12-15,
// ended early by 0x00 or 0xFF, trailing spaces removed.
std::string passwordOfBlock(std::span<const std::uint8_t, kBlockSize> block);
// An empty block password always passes; otherwise it must equal `entered`.
bool passwordMatches(std::string_view blockPassword, std::string_view entered);

}  // namespace zt
