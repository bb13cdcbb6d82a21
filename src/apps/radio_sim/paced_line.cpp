#include "apps/radio_sim/paced_line.h"

#include <algorithm>

namespace zt {

PacedLine::PacedLine(VirtualRadio& radio, ManualClock& clock, int baud)
    : radio_(radio), clock_(clock)
{
    // 10 bits per byte: start, 8 data, stop.
    if (baud > 0) byteTime_ = Time(10'000'000 / baud);
}

void PacedLine::fromHost(Time now, std::span<const std::uint8_t> bytes)
{
    inFree_ = std::max(inFree_, now);
    for (std::uint8_t b : bytes) {
        inFree_ += byteTime_;
        incoming_.push_back({inFree_, b});
    }
}

void PacedLine::schedule(Time at, std::uint8_t byte)
{
    // Keep the queue in time order (an echo may be due before an answer
    // still on the wire when the host does not wait for it).
    auto pos = std::upper_bound(outgoing_.begin(), outgoing_.end(), at,
                                [](Time t, const Timed& x) { return t < x.at; });
    outgoing_.insert(pos, Timed{at, byte});
}

void PacedLine::run(Time now, Bytes& out)
{
    while (!incoming_.empty() && incoming_.front().at <= now) {
        const Timed in = incoming_.front();
        incoming_.pop_front();
        clock_.set(in.at);
        scratch_.clear();
        const std::uint8_t byte = in.byte;
        radio_.receive(std::span<const std::uint8_t>(&byte, 1), scratch_);
        std::size_t first = 0;
        if (radio_.echo() && !scratch_.empty()) {
            schedule(in.at, scratch_[0]);
            first = 1;
        }
        outFree_ = std::max(outFree_, in.at);
        for (std::size_t i = first; i < scratch_.size(); ++i) {
            outFree_ += byteTime_;
            schedule(outFree_, scratch_[i]);
        }
    }
    // Answers the radio held back (its lag fault) leave when they fall due.
    for (auto due = radio_.nextDue(); due && *due <= now; due = radio_.nextDue()) {
        clock_.set(std::max(clock_.now(), *due));
        scratch_.clear();
        radio_.takeDue(scratch_);
        outFree_ = std::max(outFree_, *due);
        for (std::uint8_t b : scratch_) {
            outFree_ += byteTime_;
            schedule(outFree_, b);
        }
    }
    while (!outgoing_.empty() && outgoing_.front().at <= now) {
        out.push_back(outgoing_.front().byte);
        outgoing_.pop_front();
    }
}

std::optional<PacedLine::Time> PacedLine::nextDue() const
{
    std::optional<Time> due;
    if (!incoming_.empty()) due = incoming_.front().at;
    if (!outgoing_.empty() && (!due || outgoing_.front().at < *due)) due = outgoing_.front().at;
    if (const auto late = radio_.nextDue(); late && (!due || *late < *due)) due = *late;
    return due;
}

}  // namespace zt
