#include "core/link/virtual_link.h"

#include <algorithm>

namespace zt {

namespace {

class VirtualTimer final : public OneShotTimer {
  public:
    VirtualTimer(VirtualClock& clock, std::function<void()> fired)
        : clock_(clock), fired_(std::move(fired))
    {
    }
    ~VirtualTimer() override { stop(); }

    void start(int milliseconds) override
    {
        stop();
        active_ = true;
        handle_ = clock_.post(std::chrono::milliseconds(milliseconds), [this] {
            active_ = false;
            handle_ = 0;
            fired_();
        });
    }
    void stop() override
    {
        if (handle_ != 0) clock_.cancel(handle_);
        handle_ = 0;
        active_ = false;
    }
    bool isActive() const override { return active_; }

  private:
    VirtualClock& clock_;
    std::function<void()> fired_;
    std::uint64_t handle_ = 0;
    bool active_ = false;
};

}  // namespace

std::unique_ptr<OneShotTimer> VirtualClock::createTimer(std::function<void()> fired)
{
    return std::make_unique<VirtualTimer>(*this, std::move(fired));
}

std::uint64_t VirtualClock::post(Duration delay, std::function<void()> action)
{
    const Key key{now_ + std::max(delay, Duration{0}), ++seq_};
    events_.emplace(key, std::move(action));
    handles_.emplace(key.seq, key);
    return key.seq;
}

void VirtualClock::cancel(std::uint64_t handle)
{
    const auto it = handles_.find(handle);
    if (it == handles_.end()) return;
    events_.erase(it->second);
    handles_.erase(it);
}

bool VirtualClock::runNext()
{
    if (events_.empty()) return false;
    auto it = events_.begin();
    const Key key = it->first;
    auto action = std::move(it->second);
    events_.erase(it);
    handles_.erase(key.seq);
    now_ = key.at;
    action();
    return true;
}

void VirtualClock::advance(Duration span)
{
    const Duration end = now_ + span;
    while (!events_.empty() && events_.begin()->first.at <= end) runNext();
    now_ = std::max(now_, end);
}

bool VirtualClock::runWhile(const std::function<bool()>& keepGoing, std::size_t limit)
{
    std::size_t n = 0;
    while (keepGoing()) {
        if (n++ >= limit || !runNext()) return false;
    }
    return true;
}

EnginePort::EnginePort(VirtualClock& clock, VirtualRadio& radio, int baud)
    : clock_(clock), radio_(radio)
{
    setBaud(baud);
}

void EnginePort::setBaud(int baud)
{
    // 10 bits per byte: start, 8 data, stop.
    byteTime_ = baud > 0 ? VirtualClock::Duration(10'000'000 / baud) : VirtualClock::Duration{0};
}

PortOpenResult EnginePort::open(const PortSettings& /*settings*/)
{
    close();
    if (!openFailure_.empty()) {
        PortOpenResult r{false, openFailure_};
        openFailure_.clear();
        return r;
    }
    open_ = true;
    ++opens_;
    threshold_ = 1;
    input_.clear();
    return {true, {}};
}

void EnginePort::close()
{
    open_ = false;
    ++session_;
    input_.clear();
}

void EnginePort::send(std::span<const std::uint8_t> bytes)
{
    if (!open_) return;
    bytesSent_ += bytes.size();
    if (onSent) onSent(Bytes(bytes.begin(), bytes.end()));
    if (!connected_) return;
    const auto session = session_;
    outFree_ = std::max(outFree_, clock_.now());
    for (std::uint8_t b : bytes) {
        outFree_ += byteTime_;
        clock_.post(outFree_ - clock_.now(), [this, b, session] { arriveAtRadio(b, session); });
    }
}

void EnginePort::arriveAtRadio(std::uint8_t byte, std::uint64_t session)
{
    const std::uint8_t one[1] = {byte};
    Bytes answer = radio_.receive(one);
    collectLateAnswers();
    if (answer.empty() || !connected_) return;
    if (radio_.echo()) {
        // The one-wire cable's echo is the byte itself on the shared wire: it is
        // back at the host the moment it has been sent, without a byte-time of its own.
        const Bytes echo{answer.front()};
        answer.erase(answer.begin());
        clock_.post(VirtualClock::Duration{0},
                    [this, echo, session] { arriveAtHost(echo, session); });
        if (answer.empty()) return;
    }
    answerToHost(std::move(answer), session);
}

void EnginePort::answerToHost(Bytes answer, std::uint64_t session)
{
    if (answer.empty()) return;
    if (bytewise_) {
        for (std::uint8_t b : answer) {
            backFree_ = std::max(backFree_, clock_.now()) + byteTime_;
            clock_.post(backFree_ - clock_.now(),
                        [this, b, session] { arriveAtHost(Bytes{b}, session); });
        }
        return;
    }
    backFree_ = std::max(backFree_, clock_.now()) + byteTime_ * static_cast<int>(answer.size());
    clock_.post(backFree_ - clock_.now(),
                [this, answer = std::move(answer), session] { arriveAtHost(answer, session); });
}

void EnginePort::collectLateAnswers()
{
    const auto due = radio_.nextDue();
    if (!due || lateCollect_ != 0) return;
    lateCollect_ = clock_.post(*due - clock_.now(), [this] {
        lateCollect_ = 0;
        Bytes answer;
        radio_.takeDue(answer);
        // A late answer belongs to whatever opening of the port is current.
        if (connected_) answerToHost(std::move(answer), session_);
        collectLateAnswers();
    });
}

void EnginePort::arriveAtHost(const Bytes& bytes, std::uint64_t session)
{
    if (!open_ || session != session_) return;
    bytesReceived_ += bytes.size();
    input_.insert(input_.end(), bytes.begin(), bytes.end());
    if (static_cast<int>(input_.size()) < threshold_) return;
    Bytes taken;
    taken.swap(input_);
    const auto receiver = receiver_;
    if (receiver && *receiver) (*receiver)(taken);
}

}  // namespace zt
