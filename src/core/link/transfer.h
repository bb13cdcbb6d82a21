#pragma once

// The read, write and information-read transfers: a step machine driven only
// by events (received bytes, timer expiries, answers to questions). It sends
// the commands of the programming protocol, waits 150 ms for each answer,
// retries as the protocol allows, checks the radio's password, model, band
// and version, and ends with the image decoded into the document, the image
// written to the radio, or the information block decoded.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "core/files/language.h"
#include "core/files/version_manager.h"
#include "core/host/link_interfaces.h"
#include "core/link/answer_matcher.h"
#include "core/link/packets.h"
#include "core/radio/program_state.h"
#include "core/radio/radio_data.h"
#include "core/radio/radio_image.h"
#include "core/text_ids.h"

namespace zt {

enum class TransferKind { Idle = 0, Read = 1, Write = 2, Information = 3 };

// The steps of each kind of transfer, in the order they run.
enum class ReadStep { Handshake, Identify, PasswordBlock, Blocks, End };
enum class WriteStep {
    Handshake,
    Identify,
    PasswordBlock,
    Blocks,
    // A block whose acknowledgement was in doubt is read back (and written again
    // when it differs) before the next one is sent.
    ProveBlock,
    End,
    // The optional read-back of the whole image after END.
    VerifyHandshake,
    VerifyIdentify,
    VerifyBlocks,
    VerifyEnd,
};
enum class InformationStep { Handshake, Identify, Blocks, End };
using TransferStep = std::variant<std::monostate, ReadStep, WriteStep, InformationStep>;

constexpr int kWriteDelayMs = 100;
constexpr int kDecodeDelayMs = 500;
constexpr int kBlockRetries = 3;
constexpr int kHandshakeTries = 4;
// How much longer an answer that has not begun to arrive is waited for after
// the reply time-out before the command is sent again. A busy radio may answer
// late; sending again before its answer arrived would let that late answer be
// taken for the answer to the repeated command (a one-byte acknowledgement
// carries nothing to tell the two apart) and shift every later answer by one.
constexpr int kLateReplyWaitMs = 350;
// Before a block whose acknowledgement was in doubt is read back, the line must
// have been quiet this long, so that late answers still on their way have come.
constexpr int kQuietLineMs = 600;
// Tries of such a read-back (the radio may still be busy answering late).
constexpr int kProofReadTries = 6;

// How a transfer ended.
enum class TransferOutcome { Succeeded, Failed, Cancelled };

// Message ids the transfers use (language section "Msg").
namespace msg = text::msg;

constexpr const char* kPasswordFailureText = "PassWord Failure!";
constexpr const char* kReadFileName = "new.dat";

// The parts of the program a transfer reaches beyond the port.
class TransferHost {
  public:
    virtual ~TransferHost() = default;
    virtual RadioDocument& document() = 0;  // the working copy
    virtual ProgramState& programState() = 0;
    // The modal progress window of a read or write (caption 9026 + 9027/9028).
    virtual void showProgress(TransferKind kind) = 0;
    virtual void setProgress(int percent) = 0;  // bar value and "<n>%"
    virtual void closeProgress() = 0;
    // A successful read closes every document window before its decode delay.
    virtual void closeAllDocumentWindows() = 0;
    // A read's image decoded into a document: it becomes the working copy, an
    // untitled document called `fileName`; refresh the caption and texts, open
    // the channel grid and arrange the windows.
    virtual void documentRead(RadioDocument document, const std::string& fileName) = 0;
    // An information read decoded the block into programState().RadioInfo.
    virtual void showRadioInformation() = 0;
    // The user agreed to start the version that matches the radio: end now.
    virtual void endProgram() = 0;
    // Every transfer ends here (after its last message was asked).
    virtual void transferEnded(TransferKind /*kind*/, bool /*success*/) {}
    // The same end with its outcome, so a cancel can be told from a failure.
    // By default it reports to transferEnded().
    virtual void transferFinished(TransferKind kind, TransferOutcome outcome)
    {
        transferEnded(kind, outcome == TransferOutcome::Succeeded);
    }
    // A language text of the current language ("" when there is none), for the
    // details of messages built here.
    virtual std::string languageText(int /*id*/) { return {}; }
};

// How another installed version is started when the radio needs one.
struct VersionSwitch {
    const VersionTable* table = nullptr;  // null: an empty table
    TextLookup text;                      // language texts for the mismatch question
    const InstallPaths* paths = nullptr;
    std::filesystem::path executableName;
    ProgramLauncher* launcher = nullptr;
    Prompt* prompt = nullptr;  // for text 9063 when no version fits
};

struct TransferDeps {
    LinkPort& port;
    TimerFactory& timers;
    AsyncPrompt& prompt;
    ProgramPassword& password;
    TransferHost& host;
    VersionSwitch versions;
};

class TransferMachine {
  public:
    explicit TransferMachine(TransferDeps deps);
    ~TransferMachine();
    TransferMachine(const TransferMachine&) = delete;
    TransferMachine& operator=(const TransferMachine&) = delete;

    // The three commands; each does nothing while another transfer runs.
    // The caller commits pending edits first.
    void startRead();
    void startWrite();  // after the 100 ms write delay
    void startInformationRead();

    // The port's receive event (the machine sets itself as the port's receiver
    // whenever it opens the port).
    void onReceived(std::span<const std::uint8_t> bytes);
    // The port failed for good (the cable or its adapter was pulled) and is
    // closed: a running transfer fails at once with the disconnect message,
    // instead of sending into a dead port until its time-outs give up.
    void portLost(const std::string& reason);

    // Stops the running transfer at once: END is sent when the port is open so
    // that the radio leaves its programming mode, the document is not touched,
    // and the transfer ends with TransferOutcome::Cancelled. Answers to questions
    // still open are ignored afterwards. Nothing happens when idle.
    void cancel();
    // True after a write was cancelled once it had sent a block: the radio then
    // holds some new blocks and some old ones (message WriteCancelledMidway).
    bool cancelledMidWrite() const { return cancelledMidWrite_; }
    // True when the last write sent a block but not all of them: a write that failed then left
    // the radio with some new blocks and some old ones (a failed read-back does not).
    bool stoppedMidWrite() const { return wroteBlock_ && !blocksSent_; }

    // Delay between a successful read and its decoding (500 ms by default, so
    // the progress window is seen to close; a program without one may use 0).
    void setDecodeDelay(int milliseconds) { decodeDelayMs_ = milliseconds; }
    // After a write's END, read the whole image back and compare it (off by
    // default). A difference fails the write naming the first differing block.
    void setVerifyAfterWrite(bool on) { verifyAfterWrite_ = on; }
    bool verifyAfterWrite() const { return verifyAfterWrite_; }
    // The first block whose read-back differed in the last verify, or -1.
    int verifyMismatchAddress() const { return verifyMismatch_; }

    // State, for windows and tests.
    TransferKind kind() const { return kind_; }
    const TransferStep& step() const { return step_; }
    template <typename Step>
    bool at(Step step) const
    {
        const Step* current = std::get_if<Step>(&step_);
        return current != nullptr && *current == step;
    }
    // Blocks read back because their acknowledgement was in doubt (this transfer).
    int provedBlocks() const { return provedBlocks_; }
    bool active() const { return active_; }
    bool busy() const { return kind_ != TransferKind::Idle; }
    int blockAddress() const { return blockAddress_; }
    int lastPercent() const { return lastPercent_; }
    int passwordCounter() const { return passwordCounter_; }
    bool noEcho() const { return noEcho_; }
    void setNoEcho(bool noEcho) { noEcho_ = noEcho; }
    const Identification& identification() const { return ident_; }
    RadioImage& image() { return image_; }
    const RadioImage& image() const { return image_; }
    const RadioInfoBlock& infoBlock() const { return info_; }

  private:
    [[nodiscard]] bool openPort();
    void portFailed();
    void confirmed(Answer answer);
    void beginTransfer();
    void restartRun();
    void sendCommand(Command command, int address);
    void resendCurrent();
    void accept(const Reply& reply);
    void timedOut();
    void failurePrompt(int textId = msg::TransferFailed, const std::string& detail = {});
    void retryAfterFailure();
    void passwordStep(const Block& block);
    void compatibilityCheck();
    void proceedAfterChecks();
    void progressUpdate();
    void stopTransfer();
    void endTransfer(TransferOutcome outcome);
    void endTransfer(bool success)
    {
        endTransfer(success ? TransferOutcome::Succeeded : TransferOutcome::Failed);
    }
    void afterTimeout();
    void blockAccepted();
    void proveBlock(const Reply& reply);
    void nextBlockOrEnd();
    bool atHandshake() const;
    bool atIdentify() const;
    bool atBlocks() const;
    bool atEnd() const;
    bool awaitsLateReply() const;
    void writeFinished();
    void startVerify();
    void verifyBlock(const Reply& reply);
    void verifyFailed(const Message& m);
    // Wraps an answer handler so that it does nothing once the transfer it
    // belongs to was cancelled.
    std::function<void(Answer)> whileCurrent(std::function<void(Answer)> handler);
    std::function<void()> whileCurrent(std::function<void()> handler);
    void decodeRead();
    void askThenStop(const Message& m);
    int endAddress() const;
    int& budget(int address);

    TransferDeps d_;
    std::unique_ptr<OneShotTimer> waitTimer_;
    std::unique_ptr<OneShotTimer> writeDelay_;
    std::unique_ptr<OneShotTimer> readOkTimer_;

    RadioImage image_{};
    RadioInfoBlock info_{};
    TransferKind kind_ = TransferKind::Idle;
    TransferStep step_;
    bool active_ = false;
    bool awaitingUser_ = false;  // a question or the password window is open
    int blockAddress_ = 0;
    std::vector<int> budgets_;
    int handshakeCounter_ = 0;
    int passwordCounter_ = 0;
    int lastPercent_ = 0;
    bool noEcho_ = false;

    Command command_ = Command::Handshake;
    int commandAddress_ = 0;
    AnswerMatcher answers_;
    bool lateWaitUsed_ = false;   // the extra wait for a late answer has begun
    bool repeating_ = false;      // the next send repeats the current packet
    int proofRounds_ = 0;         // times the current block was written again after a read-back
    int proofReads_ = 0;          // copies of the current read-back sent again
    bool awaitingQuiet_ = false;  // waiting for the line to go quiet before a read-back
    int provedBlocks_ = 0;
    std::uint64_t run_ = 0;  // bumped by cancel(); older answer handlers are void
    int decodeDelayMs_ = kDecodeDelayMs;
    bool verifyAfterWrite_ = false;
    int verifyMismatch_ = -1;
    bool wroteBlock_ = false;
    bool cancelledMidWrite_ = false;
    bool blocksSent_ = false;  // every block of the write was sent (END or verify next)
    bool progressOpen_ = false;
    Identification ident_;
    PortOpenResult lastOpen_;
};

}  // namespace zt
