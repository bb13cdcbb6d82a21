#pragma once

// Ties the bytes that arrive on the line to the command they answer.
//
// A one-byte answer (0x06 accepted, 0x0A send again) carries no address: it can
// only be tied to its packet by counting. Every copy of a packet that was sent
// is owed one answer and the radio answers in order, so answers are counted
// off copy by copy. Longer answers (handshake, identification, blocks) carry
// what they answer and are looked for among stray bytes.
//
// Counting can be thrown off: a packet is left behind while answers to it are
// still owed (they may come later and be taken for the next packet's), or bytes
// arrive that no command was waiting for. From then on the matcher is in doubt:
// a one-byte answer may belong to another packet. A block read answer names its
// address, and the radio answers in order, so once one arrives with nothing
// owed, every earlier answer has come or is lost for good and the count is
// sound again.

#include <cstdint>
#include <span>

#include "core/link/packets.h"

namespace zt {

class AnswerMatcher {
  public:
    // A command was sent. `echo` is E, the bytes of the command's own echo
    // before its answer. `requestedAddress` is the block a read asks for (-1
    // otherwise); `passwordStep` lets a read answer for the password block count
    // as the password block. `repeat`: another copy of the command sent last,
    // owed an answer of its own.
    void sent(Command command, const Bytes& bytes, int echo, int requestedAddress,
              bool passwordStep, bool repeat);
    // Bytes arrived. Returns the answer they complete (kind None while there is none).
    Reply received(std::span<const std::uint8_t> bytes);

    // Bytes the current answer still lacks (at least 1); the handshake answer
    // is looked for byte by byte.
    int missing() const;
    // Bytes (sound or not) arrived for the last copy sent.
    bool answerArrived() const { return arrived_; }
    // Answers still owed to the copies of the current command.
    int owed() const { return owed_; }
    // Some copy of the current one-byte packet was acknowledged / refused (since
    // the last copy was sent).
    bool acknowledged() const { return acked_; }
    bool refused() const { return refused_; }
    // The handshake answer came right after the handshake's own echo.
    bool handshakeEchoed() const { return handshakeEchoed_; }

    // The current command is given up on with answers still owed.
    void leave();
    // One-byte answers can no longer be tied to their packet by counting.
    bool inDoubt() const { return doubt_; }
    // Forget everything: a new session on a freshly opened port.
    void reset();

  private:
    Reply takeHandshake();
    Reply takeShort();
    Reply takeAddressed();

    Command command_ = Command::Handshake;
    Bytes sentBytes_;
    int echo_ = 0;
    int awaited_ = 0;
    int requested_ = -1;
    bool passwordStep_ = false;
    Bytes rx_;
    int owed_ = 0;
    bool arrived_ = false;
    bool echoSeen_ = false;
    bool acked_ = false;
    bool refused_ = false;
    bool handshakeEchoed_ = false;
    bool doubt_ = false;
};

}  // namespace zt
