#include "core/link/answer_matcher.h"

#include <algorithm>

namespace zt {

namespace {

// Bytes kept while looking for an answer among stray ones.
constexpr std::size_t kMaxPendingBytes = 256;

}  // namespace

void AnswerMatcher::sent(Command command, const Bytes& bytes, int echo, int requestedAddress,
                         bool passwordStep, bool repeat)
{
    if (repeat) {
        ++owed_;
    } else {
        // A new command while the last one is still owed answers: they may come now.
        if (owed_ > 0) doubt_ = true;
        owed_ = 1;
        acked_ = false;
    }
    command_ = command;
    sentBytes_ = bytes;
    echo_ = std::max(echo, 0);
    awaited_ = echo_ + replyLength(command);
    requested_ = requestedAddress;
    passwordStep_ = passwordStep;
    rx_.clear();
    arrived_ = false;
    echoSeen_ = false;
    refused_ = false;
}

void AnswerMatcher::leave()
{
    if (owed_ > 0) doubt_ = true;
    owed_ = 0;
}

void AnswerMatcher::reset()
{
    *this = AnswerMatcher{};
}

int AnswerMatcher::missing() const
{
    const int have = static_cast<int>(rx_.size());
    switch (command_) {
        case Command::Handshake:
            return 1;
        case Command::WriteBlock:
        case Command::End:
            return std::max(1, (echoSeen_ ? 0 : echo_) + 1 - have);
        case Command::Identify:
        case Command::ReadBlock:
            break;
    }
    return std::max(1, awaited_ - have);
}

Reply AnswerMatcher::received(std::span<const std::uint8_t> bytes)
{
    rx_.insert(rx_.end(), bytes.begin(), bytes.end());
    if (rx_.size() > kMaxPendingBytes)
        rx_.erase(rx_.begin(), rx_.end() - static_cast<std::ptrdiff_t>(kMaxPendingBytes));
    switch (command_) {
        case Command::Handshake:
            return takeHandshake();
        case Command::WriteBlock:
        case Command::End:
            return takeShort();
        case Command::Identify:
        case Command::ReadBlock:
            break;
    }
    return takeAddressed();
}

Reply AnswerMatcher::takeHandshake()
{
    // "ZT", 0x06 anywhere in what arrived; an echoing cable puts the handshake
    // word right before it. Bytes before that (a late answer to an earlier
    // command) are passed over.
    static const Bytes kAnswer{'Z', 'T', kAck};
    const auto at = std::search(rx_.begin(), rx_.end(), kAnswer.begin(), kAnswer.end());
    if (at == rx_.end()) return {};
    const auto word = static_cast<std::ptrdiff_t>(sentBytes_.size());
    handshakeEchoed_ = at - rx_.begin() >= word && std::equal(at - word, at, sentBytes_.begin());
    rx_.clear();
    arrived_ = true;
    owed_ = 0;
    Reply r;
    r.kind = ReplyKind::Handshake;
    return r;
}

Reply AnswerMatcher::takeShort()
{
    // Every copy of the packet is owed one answer and answers keep their order,
    // so they are counted off. On an echoing cable the echo of the copy sent
    // last comes first and must be exactly the bytes sent.
    const auto echo = static_cast<std::ptrdiff_t>(echo_);
    const bool wasOwed = owed_ > 0;
    while (owed_ > 0) {
        if (!echoSeen_ && echo > 0) {
            if (static_cast<std::ptrdiff_t>(rx_.size()) < echo) return {};
            if (!std::equal(rx_.begin(), rx_.begin() + echo, sentBytes_.begin())) {
                // Bytes nobody waits for came first: the time-out sends again.
                arrived_ = true;
                doubt_ = true;
                rx_.clear();
                return {};
            }
            rx_.erase(rx_.begin(), rx_.begin() + echo);
            echoSeen_ = true;
        }
        if (rx_.empty()) return {};
        const std::uint8_t answer = rx_.front();
        rx_.erase(rx_.begin());
        arrived_ = true;
        if (answer != kAck && answer != kSendAgain) {
            // Not an answer to a packet (part of a late longer answer, noise).
            doubt_ = true;
            continue;
        }
        --owed_;
        acked_ = acked_ || answer == kAck;
        refused_ = refused_ || answer == kSendAgain;
    }
    // Bytes beyond the answers owed were answers to no packet.
    if (!rx_.empty()) doubt_ = true;
    rx_.clear();
    if (!wasOwed) return {};
    Reply r;
    // Any copy acknowledged means the block is stored: every copy holds the same data.
    r.kind = acked_ ? ReplyKind::Ack : refused_ ? ReplyKind::SendAgain : ReplyKind::None;
    return r;
}

Reply AnswerMatcher::takeAddressed()
{
    const auto total = static_cast<std::size_t>(awaited_);
    const auto echo = static_cast<std::size_t>(echo_);
    if (rx_.size() < total) return {};
    arrived_ = true;
    // The identification marker, a block's address and checksum say what an
    // answer is, so it is looked for wherever it starts.
    for (std::size_t start = echo; start + total - echo <= rx_.size(); ++start) {
        const auto window = std::span<const std::uint8_t>(rx_).subspan(start - echo, total);
        const Reply reply = classifyReply(window, echo_, passwordStep_, requested_);
        if (reply.kind == ReplyKind::None) continue;
        rx_.clear();
        if (owed_ > 0) --owed_;
        // A block answer after which nothing is owed: every earlier answer has
        // come or never will, so one-byte answers can be counted again.
        if (owed_ == 0 && reply.address >= 0) doubt_ = false;
        return reply;
    }
    return {};
}

}  // namespace zt
