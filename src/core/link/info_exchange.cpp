#include "core/link/info_exchange.h"

#include <algorithm>

namespace zt {

namespace {

constexpr int kInfoBlockLast = kInfoBlockBase + kInfoBlockSize - kBlockSize;  // 0x3FF0

}  // namespace

InfoExchange::InfoExchange(LinkPort& port, TimerFactory& timers)
    : port_(port), timer_(timers.createTimer([this] { timedOut(); }))
{
    info_.fill(0xFF);
    ident_.fill(0xFF);
}

bool InfoExchange::open()
{
    PortSettings settings;
    settings.rtsHandshake = true;
    lastOpen_ = port_.open(settings);
    if (!lastOpen_.ok) {
        if (finished) finished(InfoOutcome::PortOpenFailed);
        return false;
    }
    port_.setReceiveThreshold(1);
    return true;
}

bool InfoExchange::startRead()
{
    if (state_ != InfoState::Idle || !open()) return false;
    state_ = InfoState::Reading;
    std::vector<Step> steps{{Req::Handshake}, {Req::Read, kIdentBlockAddress}};
    for (int a = kInfoBlockBase; a <= kInfoBlockLast; a += kBlockSize)
        steps.push_back({Req::Read, a});
    steps.push_back({Req::End});
    run(std::move(steps));
    return true;
}

void InfoExchange::writeRadioSteps(std::vector<Step>& steps) const
{
    // Every radio, also each one of a batch, has its identification and the
    // block 0x3F20 read first, so that the identification written back and the
    // bytes 32 to 43 (the user code among them) stay that radio's own.
    steps.push_back({Req::Read, kIdentBlockAddress});
    steps.push_back({Req::Read, kPasswordBlockAddress});
    steps.push_back({Req::Encode});
    for (int a : {kIdentBlockAddress, kPasswordBlockAddress, 0x3FC0, 0x3FD0, 0x3FE0, 0x3FF0})
        steps.push_back({Req::Write, a});
    steps.push_back({Req::End});
}

bool InfoExchange::startWrite()
{
    if (state_ != InfoState::Idle || !open()) return false;
    state_ = InfoState::Writing;
    std::vector<Step> steps{{Req::Handshake}};
    writeRadioSteps(steps);
    run(std::move(steps));
    return true;
}

bool InfoExchange::startBatch(int total)
{
    if (state_ != InfoState::Idle || total < 1 || !open()) return false;
    state_ = InfoState::BatchWriting;
    batchTotal_ = total;
    batchCurrent_ = 1;
    waitCounter_ = 0;
    std::vector<Step> steps{{Req::Handshake}};
    writeRadioSteps(steps);
    run(std::move(steps));
    return true;
}

void InfoExchange::stopBatch()
{
    if (state_ != InfoState::BatchWriting && state_ != InfoState::BatchWaiting) return;
    timer_->stop();
    port_.close();
    steps_.clear();
    state_ = InfoState::Idle;
}

void InfoExchange::cancel()
{
    if (state_ == InfoState::Idle) return;
    timer_->stop();
    // Take the radio out of the mode the handshake put it in.
    if (port_.isOpen()) {
        const Bytes end = endCommand();
        port_.send(end);
    }
    port_.close();
    steps_.clear();
    stepIndex_ = 0;
    state_ = InfoState::Idle;
}

void InfoExchange::run(std::vector<Step> steps)
{
    steps_ = std::move(steps);
    stepIndex_ = 0;
    sendCurrent();
}

int InfoExchange::echoOffset(Req req) const
{
    if (!echo_) return 0;
    switch (req) {
        case Req::Handshake:
            return 7;
        case Req::Read:
            return 4;
        case Req::Write:
            return kWritePacketSize;
        case Req::End:
            return 3;
        case Req::Encode:
            return 0;
    }
    return 0;
}

void InfoExchange::sendCurrent()
{
    const Step& step = steps_[stepIndex_];
    const int e = echoOffset(step.req);
    Bytes bytes;
    int threshold = 1;
    switch (step.req) {
        case Req::Handshake:
            bytes = factoryHandshakeCommand();
            break;
        case Req::Read:
            bytes = readBlockCommand(step.address, kBlockSize);
            threshold = e + 6 + kBlockSize;
            break;
        case Req::Write: {
            Block data;
            if (step.address == kIdentBlockAddress) {
                data = ident_;
            } else {
                std::copy_n(info_.begin() + (step.address - kInfoBlockBase), kBlockSize,
                            data.begin());
            }
            bytes = writeBlockPacket(step.address, data);
            threshold = e + 1;
            break;
        }
        case Req::End:
            bytes = endCommand();
            threshold = e + 1;
            break;
        case Req::Encode:
            return;
    }
    port_.clear();
    rx_.clear();
    port_.setReceiveThreshold(threshold);
    timer_->start(kInfoTimeoutMs);
    port_.send(bytes);
}

void InfoExchange::onReceived(std::span<const std::uint8_t> bytes)
{
    if (state_ == InfoState::Idle || stepIndex_ >= steps_.size()) return;
    rx_.insert(rx_.end(), bytes.begin(), bytes.end());
    if (rx_.size() > kInfoReceiveBufferSize)
        rx_.erase(rx_.begin(), rx_.end() - kInfoReceiveBufferSize);

    const Step step = steps_[stepIndex_];
    const std::size_t n = rx_.size();
    switch (step.req) {
        case Req::Handshake: {
            if (n < 3 || rx_[n - 3] != 'Z' || rx_[n - 2] != 'T' || rx_[n - 1] != kAck) return;
            // An echoing cable sends the handshake word back right before the answer.
            const Bytes word = factoryHandshakeCommand();
            echo_ = n >= 10 && std::equal(word.begin(), word.end(), rx_.end() - 10);
            stepDone();
            return;
        }
        case Req::Write:
        case Req::End: {
            const std::size_t e = static_cast<std::size_t>(echoOffset(step.req));
            if (n != e + 1) return;
            if (rx_[e] == kAck) {
                stepDone();
            } else if (rx_[e] == kSendAgain) {
                sendCurrent();
            }
            return;
        }
        case Req::Read: {
            const std::size_t e = static_cast<std::size_t>(echoOffset(step.req));
            if (n < e + 6 || rx_[e] != 'W') return;
            const int length = rx_[e + 3];
            if (n != e + static_cast<std::size_t>(length) + 6 || rx_[n - 1] != kAck) return;
            const int address = (rx_[e + 1] << 8) | rx_[e + 2];
            const auto data =
                std::span<const std::uint8_t>(rx_).subspan(e + 4, static_cast<std::size_t>(length));
            // Only a sound answer to this very request counts; anything else waits for
            // the time-out like an incomplete answer.
            if (length != kBlockSize || address != step.address ||
                blockChecksum(address, length, data) != rx_[n - 2])
                return;
            if (address == kIdentBlockAddress) {
                std::copy(data.begin(), data.end(), ident_.begin());
            } else {
                std::copy(data.begin(), data.end(), info_.begin() + (address - kInfoBlockBase));
            }
            stepDone();
            return;
        }
        case Req::Encode:
            return;
    }
}

void InfoExchange::stepDone()
{
    timer_->stop();
    ++stepIndex_;
    while (stepIndex_ < steps_.size() && steps_[stepIndex_].req == Req::Encode) {
        if (takeRecord) takeRecord(record_);
        encodeInfoTool(record_, info_);
        ++stepIndex_;
    }
    if (stepIndex_ >= steps_.size()) {
        sequenceEnded();
    } else {
        sendCurrent();
    }
}

void InfoExchange::sequenceEnded()
{
    switch (state_) {
        case InfoState::Reading:
            decodeInfoTool(ident_, info_, record_);
            finish(InfoOutcome::ReadComplete, true);
            return;
        case InfoState::Writing:
            record_.SerialNumber = advanceSerialNumber(record_.SerialNumber);
            finish(InfoOutcome::WriteComplete, true);
            return;
        case InfoState::BatchWriting:
            record_.SerialNumber = advanceSerialNumber(record_.SerialNumber);
            ++batchCurrent_;
            if (onBatchRadio) onBatchRadio(batchCurrent_);
            if (batchCurrent_ > batchTotal_) {
                finish(InfoOutcome::BatchComplete, true);
                return;
            }
            waitCounter_ = 0;
            state_ = InfoState::BatchWaiting;
            if (onBatchWaiting) onBatchWaiting();
            run({{Req::Handshake}});
            return;
        case InfoState::BatchWaiting:
            if (waitCounter_ > 1) {
                // At least two silent time-outs: the last radio was taken away, so
                // this answer comes from the next one.
                state_ = InfoState::BatchWriting;
                std::vector<Step> steps;
                writeRadioSteps(steps);
                run(std::move(steps));
            } else {
                waitCounter_ = 0;
                run({{Req::Handshake}});
            }
            return;
        case InfoState::Idle:
            return;
    }
}

void InfoExchange::timedOut()
{
    if (state_ == InfoState::BatchWaiting) {
        if (++waitCounter_ > kBatchMaxWaits) {
            finish(InfoOutcome::CommunicationError, true);
        } else {
            sendCurrent();
        }
        return;
    }
    if (state_ != InfoState::Idle) finish(InfoOutcome::CommunicationError, true);
}

void InfoExchange::finish(InfoOutcome outcome, bool closePort)
{
    timer_->stop();
    if (closePort) port_.close();
    steps_.clear();
    stepIndex_ = 0;
    state_ = InfoState::Idle;
    if (finished) finished(outcome);
}

}  // namespace zt
