#pragma once

// The information tool's exchange with the radio: the factory handshake,
// block reads of the identification and information blocks, the dealer
// writes and END, each request waiting up to 500 ms for its answer. The
// cable's echo is detected from the handshake answer. A batch write of many
// radios runs on the same requests (startBatch / stopBatch).

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "core/host/link_interfaces.h"
#include "core/link/answer_matcher.h"
#include "core/link/info_block.h"
#include "core/link/packets.h"

namespace zt {

constexpr int kInfoTimeoutMs = 500;
constexpr int kBatchMaxWaits = 28800;  // 500 ms each: four hours

enum class InfoOutcome {
    ReadComplete,        // "Read Complete!": the record holds what was read
    WriteComplete,       // "Write Complete!": the serial number has advanced
    BatchComplete,       // "MulWrite Complete!"
    CommunicationError,  // "Communication Error!": the port is closed
    PortOpenFailed,      // "Cannot Open Communication Port."
};

enum class InfoState { Idle, Reading, Writing, BatchWriting, BatchWaiting };

class InfoExchange {
  public:
    InfoExchange(LinkPort& port, TimerFactory& timers);
    ~InfoExchange();
    InfoExchange(const InfoExchange&) = delete;
    InfoExchange& operator=(const InfoExchange&) = delete;

    // The record shown by the tool's window; reads decode into it, writes
    // encode from it and advance its serial number.
    InfoToolRecord& record() { return record_; }
    bool cableEchoes() const { return echo_; }
    InfoState state() const { return state_; }
    const PortOpenResult& lastOpen() const { return lastOpen_; }

    // Single radio. Both return false (after reporting PortOpenFailed) when
    // the port cannot be opened.
    bool startRead();
    bool startWrite();

    // Batch write of `total` radios (1 or more). Reported through onBatchRadio
    // after each radio and `finished` at the end.
    bool startBatch(int total);
    void stopBatch();  // ends at once, without a message
    // Ends any running read, write or batch at once, without a message: END is
    // sent when the port is open, then the port is closed. A radio whose write
    // was under way may hold part of the new data.
    void cancel();
    int batchCurrent() const { return batchCurrent_; }
    int batchTotal() const { return batchTotal_; }
    int batchWaits() const { return waitCounter_; }

    // The port's receive event (the exchange sets itself as the port's receiver
    // whenever it opens the port) and (internally) the 500 ms time-out.
    void onReceived(std::span<const std::uint8_t> bytes);

    // Blocks read back because their acknowledgement was in doubt (this run).
    int provedBlocks() const { return provedBlocks_; }

    // Called when a single read or write, or a batch, ends.
    std::function<void(InfoOutcome)> finished;
    // Called before a write encodes the record (the window takes its values).
    std::function<void(InfoToolRecord&)> takeRecord;
    // When set, each radio's write also reads the blocks 0x3FC0 to 0x3FF0 before
    // encoding, and this is called after takeRecord with the record about to be
    // written and what this radio holds now (its dealer fields and program
    // password), so that a field left empty need not erase the radio's value.
    std::function<void(InfoToolRecord& record, const InfoToolRecord& radioHolds)> overRadioValues;
    // Called after each radio of a batch was written, with the next radio's number.
    std::function<void(int nextRadio)> onBatchRadio;
    // Called when a batch starts waiting for the next radio.
    std::function<void()> onBatchWaiting;

  private:
    // Prove: a block whose acknowledgement was in doubt is read back and
    // compared with what was written.
    enum class Req { Handshake, Read, Write, End, Encode, Prove };
    struct Step {
        Req req;
        int address = 0;
    };

    [[nodiscard]] bool open();
    void run(std::vector<Step> steps);
    void sendCurrent();
    void answered(Step step, const Reply& reply);
    Block blockToWrite(int address) const;
    void stepDone();
    void timedOut();
    void finish(InfoOutcome outcome, bool closePort);
    void sequenceEnded();
    void writeRadioSteps(std::vector<Step>& steps) const;
    int echoOffset(Req req) const;

    LinkPort& port_;
    std::unique_ptr<OneShotTimer> timer_;
    InfoToolRecord record_;
    InfoBytes info_{};
    Block ident_{};
    bool echo_ = false;
    InfoState state_ = InfoState::Idle;
    std::vector<Step> steps_;
    std::size_t stepIndex_ = 0;
    AnswerMatcher answers_;
    int proofRounds_ = 0;  // times the block being proved was written again
    PortOpenResult lastOpen_;
    int batchTotal_ = 0;
    int batchCurrent_ = 0;
    int waitCounter_ = 0;
    int provedBlocks_ = 0;
};

}  // namespace zt
