#include "core/link/info_exchange.h"

#include <algorithm>
#include <array>

namespace zt {

namespace {

constexpr int kInfoBlockLast = kInfoBlockBase + kInfoBlockSize - kBlockSize;  // 0x3FF0
// Times a block read back different from what was written is written again.
constexpr int kBlockRetriesInfo = 3;
// Dealer code, stock-in date, sale date and seller: one block each.
constexpr std::array<int, 4> kDealerBlocks{0x3FC0, 0x3FD0, 0x3FE0, 0x3FF0};

}  // namespace

InfoExchange::InfoExchange(LinkPort& port, TimerFactory& timers)
    : port_(port), timer_(timers.createTimer([this] { timedOut(); }))
{
    info_.fill(0xFF);
    ident_.fill(0xFF);
}

InfoExchange::~InfoExchange()
{
    port_.setReceiver({});
}

bool InfoExchange::open()
{
    PortSettings settings;
    settings.rtsHandshake = true;
    port_.setReceiver([this](std::span<const std::uint8_t> bytes) { onReceived(bytes); });
    lastOpen_ = port_.open(settings);
    if (!lastOpen_.ok) {
        if (finished) finished(InfoOutcome::PortOpenFailed);
        return false;
    }
    port_.setReceiveThreshold(1);
    answers_.reset();
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
    if (overRadioValues)
        for (int a : kDealerBlocks) steps.push_back({Req::Read, a});
    steps.push_back({Req::Encode});
    steps.push_back({Req::Write, kIdentBlockAddress});
    steps.push_back({Req::Write, kPasswordBlockAddress});
    for (int a : kDealerBlocks) steps.push_back({Req::Write, a});
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
    proofRounds_ = 0;
    sendCurrent();
}

int InfoExchange::echoOffset(Req req) const
{
    if (!echo_) return 0;
    switch (req) {
        case Req::Handshake:
            return 7;
        case Req::Read:
        case Req::Prove:
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

Block InfoExchange::blockToWrite(int address) const
{
    Block data;
    if (address == kIdentBlockAddress) {
        data = ident_;
    } else {
        std::copy_n(info_.begin() + (address - kInfoBlockBase), kBlockSize, data.begin());
    }
    return data;
}

void InfoExchange::sendCurrent()
{
    const Step& step = steps_[stepIndex_];
    const int e = echoOffset(step.req);
    Bytes bytes;
    Command command = Command::Handshake;
    int threshold = 1;
    int requested = -1;
    switch (step.req) {
        case Req::Handshake:
            bytes = factoryHandshakeCommand();
            break;
        case Req::Read:
        case Req::Prove:
            command = Command::ReadBlock;
            bytes = readBlockCommand(step.address, kBlockSize);
            threshold = e + 6 + kBlockSize;
            requested = step.address;
            break;
        case Req::Write:
            command = Command::WriteBlock;
            bytes = writeBlockPacket(step.address, blockToWrite(step.address));
            threshold = e + 1;
            break;
        case Req::End:
            command = Command::End;
            bytes = endCommand();
            threshold = e + 1;
            break;
        case Req::Encode:
            return;
    }
    port_.clear();
    answers_.sent(command, bytes, e, requested, false, false);
    port_.setReceiveThreshold(threshold);
    timer_->start(kInfoTimeoutMs);
    port_.send(bytes);
}

void InfoExchange::onReceived(std::span<const std::uint8_t> bytes)
{
    if (state_ == InfoState::Idle || stepIndex_ >= steps_.size()) return;
    const Reply reply = answers_.received(bytes);
    if (reply.kind == ReplyKind::None) {
        // Not complete yet (or not an answer at all): wait for more, up to the time-out.
        port_.setReceiveThreshold(answers_.missing());
        return;
    }
    answered(Step(steps_[stepIndex_]), reply);
}

void InfoExchange::answered(Step step, const Reply& reply)
{
    switch (step.req) {
        case Req::Handshake:
            // An echoing cable sends the handshake word back right before the answer.
            echo_ = answers_.handshakeEchoed();
            return stepDone();
        case Req::Write:
            if (reply.kind == ReplyKind::SendAgain) return sendCurrent();
            if (reply.kind != ReplyKind::Ack) return;
            if (answers_.inDoubt()) {
                // The acknowledgement may belong to another packet: read the
                // block back before going on (its answer names its address).
                ++provedBlocks_;
                proofRounds_ = 0;
                steps_.insert(steps_.begin() + static_cast<std::ptrdiff_t>(stepIndex_) + 1,
                              Step{Req::Prove, step.address});
            }
            return stepDone();
        case Req::End:
            if (reply.kind == ReplyKind::SendAgain) return sendCurrent();
            if (reply.kind == ReplyKind::Ack) stepDone();
            return;
        case Req::Read:
            // Only a sound answer to this very request is taken.
            if (reply.kind != ReplyKind::DataBlock) return;
            if (reply.address == kIdentBlockAddress) {
                ident_ = reply.data;
            } else {
                std::copy(reply.data.begin(), reply.data.end(),
                          info_.begin() + (reply.address - kInfoBlockBase));
            }
            return stepDone();
        case Req::Prove: {
            if (reply.kind != ReplyKind::DataBlock) return;
            const Block written = blockToWrite(step.address);
            if (std::equal(written.begin(), written.end(), reply.data.begin())) return stepDone();
            // The radio does not hold it: write it again, then read it back again.
            if (++proofRounds_ > kBlockRetriesInfo) {
                return finish(InfoOutcome::CommunicationError, true);
            }
            const auto at = steps_.begin() + static_cast<std::ptrdiff_t>(stepIndex_) + 1;
            steps_.insert(at, {Step{Req::Write, step.address}, Step{Req::Prove, step.address}});
            return stepDone();
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
        if (overRadioValues) {
            // The blocks just read are this radio's own.
            InfoToolRecord held = record_;
            decodeInfoTool(ident_, info_, held);
            overRadioValues(record_, held);
        }
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
