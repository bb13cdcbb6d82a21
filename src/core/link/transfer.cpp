#include "core/link/transfer.h"

#include <algorithm>
#include <cmath>

#include "core/link/info_block.h"
#include "core/radio/image_codec.h"
#include "core/radio/representable.h"

namespace zt {

namespace {

constexpr int kReadWriteEnd = 9279;
constexpr int kInformationEnd = 0x3FFF;
constexpr int kInformationFirst = kInfoBlockBase;

std::string hexAddress(int address)
{
    static const char* digits = "0123456789ABCDEF";
    std::string s = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) s.push_back(digits[(address >> shift) & 0xF]);
    return s;
}

Message message(int id, Buttons buttons, Icon icon, std::string text = {})
{
    Message m;
    m.textId = id;
    m.text = std::move(text);
    m.buttons = buttons;
    m.icon = icon;
    return m;
}

}  // namespace

TransferMachine::TransferMachine(TransferDeps deps) : d_(std::move(deps))
{
    waitTimer_ = d_.timers.createTimer([this] { timedOut(); });
    writeDelay_ = d_.timers.createTimer([this] {
        // The write command, 100 ms after the pending edits were committed.
        const std::vector<std::string> fields = unrepresentableFields(
            d_.host.document(), [this](int id) { return d_.host.languageText(id); });
        if (!fields.empty()) {
            std::string list;
            for (const auto& f : fields) list += "\r\n" + f;
            kind_ = TransferKind::Idle;
            d_.prompt.ask(
                message(msg::Unrepresentable, Buttons::Ok, Icon::Error, list), [this](Answer) {
                    d_.host.transferFinished(TransferKind::Write, TransferOutcome::Failed);
                });
            return;
        }
        if (!openPort()) return portFailed();
        d_.port.close();
        d_.prompt.ask(message(msg::ConfirmWrite, Buttons::OkCancel, Icon::Question),
                      whileCurrent([this](Answer a) { confirmed(a); }));
    });
    readOkTimer_ = d_.timers.createTimer([this] { decodeRead(); });
}

TransferMachine::~TransferMachine()
{
    d_.port.setReceiver({});
}

std::function<void(Answer)> TransferMachine::whileCurrent(std::function<void(Answer)> handler)
{
    return [this, run = run_, handler = std::move(handler)](Answer a) {
        if (run == run_) handler(a);
    };
}

std::function<void()> TransferMachine::whileCurrent(std::function<void()> handler)
{
    return [this, run = run_, handler = std::move(handler)] {
        if (run == run_) handler();
    };
}

int TransferMachine::endAddress() const
{
    return kind_ == TransferKind::Information ? kInformationEnd : kReadWriteEnd;
}

int& TransferMachine::budget(int address)
{
    const std::size_t i = static_cast<std::size_t>(address < 0 ? 0 : address / kBlockSize);
    if (i >= budgets_.size()) budgets_.resize(i + 1, kBlockRetries);
    return budgets_[i];
}

bool TransferMachine::openPort()
{
    d_.port.setReceiver([this](std::span<const std::uint8_t> bytes) { onReceived(bytes); });
    lastOpen_ = d_.port.open(PortSettings{});
    if (!lastOpen_.ok) return false;
    d_.port.setReceiveThreshold(1);
    // Every block gets a fresh retry budget whenever the port is opened.
    const int blocks = static_cast<int>(std::lround(endAddress() / double(kBlockSize))) + 1;
    budgets_.assign(static_cast<std::size_t>(blocks), kBlockRetries);
    return true;
}

void TransferMachine::portFailed()
{
    const TransferKind k = kind_;
    kind_ = TransferKind::Idle;
    d_.prompt.ask(message(msg::PortFailed, Buttons::Ok, Icon::Error, lastOpen_.reason),
                  [this, k](Answer) { d_.host.transferFinished(k, TransferOutcome::Failed); });
}

void TransferMachine::startRead()
{
    if (busy()) return;
    kind_ = TransferKind::Read;
    if (!openPort()) return portFailed();
    d_.port.close();
    d_.prompt.ask(message(msg::ConfirmRead, Buttons::OkCancel, Icon::Question),
                  whileCurrent([this](Answer a) { confirmed(a); }));
}

void TransferMachine::startWrite()
{
    if (busy()) return;
    kind_ = TransferKind::Write;
    writeDelay_->start(kWriteDelayMs);
}

void TransferMachine::startInformationRead()
{
    if (busy()) return;
    kind_ = TransferKind::Information;
    if (!openPort()) return portFailed();
    handshakeCounter_ = 0;
    cancelledMidWrite_ = false;
    restartRun();
}

void TransferMachine::confirmed(Answer answer)
{
    const TransferKind k = kind_;
    if (answer != Answer::Ok) {
        kind_ = TransferKind::Idle;
        d_.host.transferFinished(k, TransferOutcome::Failed);
        return;
    }
    image_.clear();
    if (k == TransferKind::Write)
        encodeDocument(d_.host.document(), d_.host.programState(), image_);
    d_.host.showProgress(k);
    progressOpen_ = true;
    beginTransfer();
}

void TransferMachine::beginTransfer()
{
    // What the progress window does when it loads.
    if (!d_.port.isOpen() && !openPort()) {
        d_.host.closeProgress();
        progressOpen_ = false;
        return portFailed();
    }
    handshakeCounter_ = 0;
    wroteBlock_ = false;
    blocksSent_ = false;
    cancelledMidWrite_ = false;
    verifyMismatch_ = -1;
    restartRun();
}

void TransferMachine::restartRun()
{
    switch (kind_) {
        case TransferKind::Read:
            step_ = ReadStep::Handshake;
            break;
        case TransferKind::Write:
            step_ = WriteStep::Handshake;
            break;
        case TransferKind::Information:
            step_ = InformationStep::Handshake;
            break;
        case TransferKind::Idle:
            return;
    }
    blockAddress_ =
        kind_ == TransferKind::Information ? kInformationFirst - kBlockSize : -kBlockSize;
    lastPercent_ = 0;
    provedBlocks_ = 0;
    proofRounds_ = 0;
    awaitingQuiet_ = false;
    // A freshly opened port: answers of an earlier opening come before the
    // handshake answer, which is recognised by its bytes.
    answers_.reset();
    if (kind_ != TransferKind::Information) d_.host.setProgress(0);
    sendCommand(Command::Handshake, 0);
}

bool TransferMachine::atHandshake() const
{
    return at(ReadStep::Handshake) || at(WriteStep::Handshake) || at(InformationStep::Handshake) ||
           at(WriteStep::VerifyHandshake);
}

bool TransferMachine::atIdentify() const
{
    return at(ReadStep::Identify) || at(WriteStep::Identify) || at(InformationStep::Identify);
}

bool TransferMachine::atBlocks() const
{
    return at(ReadStep::Blocks) || at(InformationStep::Blocks);
}

bool TransferMachine::atEnd() const
{
    return at(ReadStep::End) || at(WriteStep::End) || at(InformationStep::End) ||
           at(WriteStep::VerifyEnd);
}

void TransferMachine::sendCommand(Command command, int address)
{
    command_ = command;
    commandAddress_ = address;
    lateWaitUsed_ = false;
    const int echo = echoLength(command, noEcho_);
    const bool passwordWait = at(ReadStep::PasswordBlock) || at(WriteStep::PasswordBlock);
    const int requested = command == Command::ReadBlock && !passwordWait ? address : -1;
    const Bytes bytes = buildCommand(command, address, image_);
    answers_.sent(command, bytes, echo, requested, passwordWait, repeating_);
    repeating_ = false;
    // The handshake answer tells by its bytes whether the cable echoes, so it is
    // looked at from its shortest form on.
    d_.port.setReceiveThreshold(command == Command::Handshake ? replyLength(command)
                                                              : awaitedTotal(command, noEcho_));
    d_.port.clear();
    waitTimer_->start(kReplyTimeoutMs);
    if (command == Command::Handshake) active_ = true;
    if (command == Command::WriteBlock) wroteBlock_ = true;
    d_.port.send(bytes);
}

void TransferMachine::resendCurrent()
{
    repeating_ = true;
    sendCommand(command_, commandAddress_);
}

void TransferMachine::onReceived(std::span<const std::uint8_t> bytes)
{
    if (!active_ || awaitingUser_) return;
    if (awaitingQuiet_) {
        // Answers nobody waits for any more: the line is quiet only once they stop.
        waitTimer_->start(kQuietLineMs);
        return;
    }
    const Reply reply = answers_.received(bytes);
    if (reply.kind == ReplyKind::Handshake) noEcho_ = !answers_.handshakeEchoed();
    accept(reply);
    // The port holds bytes back until the threshold is reached; when an answer
    // is still incomplete, ask for no more than what it lacks, so its last bytes
    // are not held back.
    if (active_ && reply.kind == ReplyKind::None) d_.port.setReceiveThreshold(answers_.missing());
}

void TransferMachine::accept(const Reply& reply)
{
    const ReplyKind r = reply.kind;
    if (r == ReplyKind::None) return;
    const bool write = kind_ == TransferKind::Write;

    if (atHandshake() && r == ReplyKind::Handshake) {
        waitTimer_->stop();
        if (at(WriteStep::VerifyHandshake)) {
            step_ = WriteStep::VerifyIdentify;
        } else if (kind_ == TransferKind::Read) {
            step_ = ReadStep::Identify;
        } else if (write) {
            step_ = WriteStep::Identify;
        } else {
            step_ = InformationStep::Identify;
        }
        sendCommand(Command::Identify, 0);
    } else if ((atIdentify() || at(WriteStep::VerifyIdentify)) && r == ReplyKind::Identification) {
        waitTimer_->stop();
        if (at(WriteStep::VerifyIdentify)) {
            step_ = WriteStep::VerifyBlocks;
            blockAddress_ = 0;
            return sendCommand(Command::ReadBlock, blockAddress_);
        }
        if (kind_ == TransferKind::Information) {
            // The information read keeps what the radio says it is, for callers
            // that identify a radio without reading its memory.
            ident_ = parseIdentification(reply.ident);
            step_ = InformationStep::Blocks;
            blockAddress_ += kBlockSize;
            return sendCommand(Command::ReadBlock, blockAddress_);
        }
        ident_ = parseIdentification(reply.ident);
        copyIdentityToImage(reply.ident, image_);
        const ProgramState& state = d_.host.programState();
        if (write && state.RefuseWriteFlag1)
            return askThenStop(message(msg::WriteRefused1, Buttons::Ok, Icon::Warning));
        if (write && state.RefuseWriteFlag2)
            return askThenStop(message(msg::WriteRefused2, Buttons::Ok, Icon::Warning));
        step_ =
            write ? TransferStep{WriteStep::PasswordBlock} : TransferStep{ReadStep::PasswordBlock};
        sendCommand(Command::ReadBlock, kPasswordBlockAddress);
    } else if ((at(ReadStep::PasswordBlock) || at(WriteStep::PasswordBlock)) &&
               r == ReplyKind::PasswordBlock) {
        waitTimer_->stop();
        passwordStep(reply.data);
    } else if (atBlocks() && r == ReplyKind::DataBlock) {
        // Read and information read: store the block, go on with the next.
        waitTimer_->stop();
        storeReceivedBlock(image_, info_, reply.address, reply.data);
        if (kind_ == TransferKind::Read) progressUpdate();
        nextBlockOrEnd();
    } else if (at(WriteStep::Blocks) && r == ReplyKind::Ack) {
        waitTimer_->stop();
        blockAccepted();
    } else if (at(WriteStep::Blocks) && r == ReplyKind::SendAgain) {
        waitTimer_->stop();
        resendCurrent();
    } else if (at(WriteStep::ProveBlock) && r == ReplyKind::DataBlock) {
        waitTimer_->stop();
        proveBlock(reply);
    } else if (at(WriteStep::VerifyBlocks) && r == ReplyKind::DataBlock) {
        waitTimer_->stop();
        verifyBlock(reply);
    } else if (atEnd() && r == ReplyKind::Ack) {
        waitTimer_->stop();
        if (at(WriteStep::End)) return writeFinished();
        endTransfer(true);
    }
}

void TransferMachine::nextBlockOrEnd()
{
    blockAddress_ += kBlockSize;
    proofRounds_ = 0;
    if (blockAddress_ >= endAddress()) {
        switch (kind_) {
            case TransferKind::Read:
                step_ = ReadStep::End;
                break;
            case TransferKind::Write:
                step_ = WriteStep::End;
                break;
            default:
                step_ = InformationStep::End;
                break;
        }
        return sendCommand(Command::End, 0);
    }
    if (kind_ == TransferKind::Write) {
        step_ = WriteStep::Blocks;
        progressUpdate();
        return sendCommand(Command::WriteBlock, blockAddress_);
    }
    sendCommand(Command::ReadBlock, blockAddress_);
}

void TransferMachine::blockAccepted()
{
    // An acknowledgement that may belong to another packet proves nothing: the
    // block is read back (its answer names its address) before the write goes on.
    if (answers_.inDoubt() || proofRounds_ > 0) {
        step_ = WriteStep::ProveBlock;
        ++provedBlocks_;
        proofReads_ = 0;
        // Late answers still on their way are let through first.
        awaitingQuiet_ = true;
        waitTimer_->start(kQuietLineMs);
        return;
    }
    nextBlockOrEnd();
}

void TransferMachine::proveBlock(const Reply& reply)
{
    const Block written = image_.blockBytes(reply.address);
    if (std::equal(written.begin(), written.end(), reply.data.begin())) return nextBlockOrEnd();
    // The radio does not hold the block: write it again, and read it back again.
    if (++proofRounds_ > kBlockRetries) return failurePrompt();
    step_ = WriteStep::Blocks;
    sendCommand(Command::WriteBlock, blockAddress_);
}

bool TransferMachine::awaitsLateReply() const
{
    // The handshake answer is recognised by its bytes wherever it lands, and a
    // missing END acknowledgement is no error; every other command's answer that
    // has not arrived may still be on its way, and so may the read-back's
    // handshake answer, queued behind a late answer to the write's END.
    if ((atHandshake() && !at(WriteStep::VerifyHandshake)) || atEnd()) return false;
    if (replyLength(command_) == 1) return answers_.owed() > 0;
    return !answers_.answerArrived();
}

void TransferMachine::timedOut()
{
    if (!active_ || kind_ == TransferKind::Idle) return;
    if (awaitingQuiet_) {
        awaitingQuiet_ = false;
        d_.port.setReceiveThreshold(1);
        return sendCommand(Command::ReadBlock, blockAddress_);
    }
    if (!lateWaitUsed_ && awaitsLateReply()) {
        lateWaitUsed_ = true;
        waitTimer_->start(kLateReplyWaitMs);
        return;
    }
    afterTimeout();
}

void TransferMachine::afterTimeout()
{
    if (atHandshake() && !at(WriteStep::VerifyHandshake)) {
        if (++handshakeCounter_ > kHandshakeTries - 1) return failurePrompt();
        // Try the other echo assumption.
        noEcho_ = !noEcho_;
        return sendCommand(Command::Handshake, 0);
    }
    if (at(WriteStep::End)) return writeFinished();  // a missing END acknowledgement is no error
    if (atEnd()) return endTransfer(true);
    if (at(WriteStep::VerifyHandshake) || at(WriteStep::VerifyIdentify)) {
        // The radio may still be answering the write's END late: it is asked again a few times.
        if (++handshakeCounter_ >= kHandshakeTries)
            return verifyFailed(message(msg::VerifyUnreadable, Buttons::Ok, Icon::Error));
        return resendCurrent();
    }
    if (at(WriteStep::VerifyBlocks)) {
        int& left = budget(blockAddress_);
        if (left < 1) return verifyFailed(message(msg::VerifyUnreadable, Buttons::Ok, Icon::Error));
        --left;
        return resendCurrent();
    }
    // An information block is sent again like a read block: its answer names its address, so
    // a late one is told from the repeated one's.
    if (kind_ == TransferKind::Information && !at(InformationStep::Blocks)) return failurePrompt();
    if (atIdentify()) return failurePrompt();
    if (at(ReadStep::PasswordBlock) || at(WriteStep::PasswordBlock)) {
        const int was = passwordCounter_--;
        if (was >= 2) return sendCommand(Command::ReadBlock, kPasswordBlockAddress);
        return failurePrompt();
    }
    if (at(WriteStep::Blocks)) {
        // An earlier copy was acknowledged; the answers to later ones are given
        // up on, so they may still come and the acknowledgement is in doubt.
        if (answers_.acknowledged()) {
            answers_.leave();
            return blockAccepted();
        }
        // A copy was refused: send again, as a refusal asks, without using the budget.
        if (answers_.refused()) return resendCurrent();
    }
    if (at(WriteStep::ProveBlock)) {
        // A read-back has its own tries: the block's budget may be spent on the write.
        if (++proofReads_ > kProofReadTries) return failurePrompt();
        return resendCurrent();
    }
    if (at(WriteStep::Blocks) || atBlocks()) {
        int& left = budget(blockAddress_);
        if (left < 1) return failurePrompt();
        --left;
        return resendCurrent();
    }
}

void TransferMachine::writeFinished()
{
    blocksSent_ = true;
    if (!verifyAfterWrite_) return endTransfer(true);
    startVerify();
}

void TransferMachine::startVerify()
{
    // The radio left its programming mode with END: enter it again and read
    // every block back. Each block gets a fresh retry budget.
    const int blocks = static_cast<int>(std::lround(endAddress() / double(kBlockSize))) + 1;
    budgets_.assign(static_cast<std::size_t>(blocks), kBlockRetries);
    verifyMismatch_ = -1;
    handshakeCounter_ = 0;
    step_ = WriteStep::VerifyHandshake;
    sendCommand(Command::Handshake, 0);
}

void TransferMachine::verifyBlock(const Reply& reply)
{
    const Block written = image_.blockBytes(reply.address);
    if (!std::equal(written.begin(), written.end(), reply.data.begin())) {
        verifyMismatch_ = reply.address;
        return verifyFailed(
            message(msg::VerifyDiffers, Buttons::Ok, Icon::Error, hexAddress(reply.address)));
    }
    blockAddress_ += kBlockSize;
    if (blockAddress_ >= endAddress()) {
        step_ = WriteStep::VerifyEnd;
        return sendCommand(Command::End, 0);
    }
    sendCommand(Command::ReadBlock, blockAddress_);
}

void TransferMachine::verifyFailed(const Message& m)
{
    askThenStop(m);
}

void TransferMachine::failurePrompt(int textId, const std::string& detail)
{
    active_ = false;
    waitTimer_->stop();
    if (kind_ == TransferKind::Information) {
        d_.prompt.ask(message(textId, Buttons::RetryCancel, Icon::Question, detail),
                      whileCurrent([this](Answer a) {
                          if (a == Answer::Retry) return retryAfterFailure();
                          stopTransfer();
                      }));
        return;
    }
    handshakeCounter_ = 0;
    passwordCounter_ = 3;
    // A write that stopped after its first block left the radio with some new and some old
    // blocks: the user is told it must be written again, and Retry starts the write over.
    if (textId == msg::PortLost && kind_ == TransferKind::Write && wroteBlock_)
        textId = msg::PortLostMidWrite;
    d_.prompt.ask(message(textId, Buttons::RetryCancel, Icon::Question, detail),
                  whileCurrent([this](Answer a) {
                      if (a == Answer::Retry) return retryAfterFailure();
                      stopTransfer();
                  }));
}

void TransferMachine::retryAfterFailure()
{
    // The failure may have been a cable pulled out and plugged in again: the
    // old handle is dead, so the port is opened afresh.
    d_.port.close();
    if (!openPort()) {
        if (progressOpen_) d_.host.closeProgress();
        progressOpen_ = false;
        return portFailed();
    }
    // Each try starts the handshake sequence afresh, with both echo assumptions.
    handshakeCounter_ = 0;
    restartRun();
}

void TransferMachine::portLost(const std::string& reason)
{
    d_.port.close();
    // Outside a running exchange (idle, a question open, a failure prompt
    // waiting) the next open of the port reports what is wrong.
    if (!busy() || !active_ || awaitingUser_) return;
    failurePrompt(msg::PortLost, reason);
}

void TransferMachine::passwordStep(const Block& block)
{
    const std::string radioPassword = passwordOfBlock(block);
    if (passwordMatches(radioPassword, d_.password.enteredPassword())) return compatibilityCheck();
    awaitingUser_ = true;
    d_.password.showWindow(whileCurrent([this, radioPassword] {
        awaitingUser_ = false;
        if (!d_.password.windowShown()) return stopTransfer();
        if (passwordMatches(radioPassword, d_.password.enteredPassword()))
            return compatibilityCheck();
        Message m;
        m.text = kPasswordFailureText;
        m.buttons = Buttons::Ok;
        askThenStop(m);
    }));
}

void TransferMachine::compatibilityCheck()
{
    const RadioDocument& doc = d_.host.document();
    static const VersionTable kEmpty;
    const VersionTable& table = d_.versions.table ? *d_.versions.table : kEmpty;
    const RadioCheck check =
        checkRadioIdentity(table, doc.Data.ModelName.cut(), ident_.model, doc.Data.BandCode,
                           ident_.variant, static_cast<int>(kind_), ident_.version);
    switch (check) {
        case RadioCheck::Proceed:
            return proceedAfterChecks();
        case RadioCheck::ModelDiffers:
            return askThenStop(message(msg::ModelDiffers, Buttons::Ok, Icon::Error));
        case RadioCheck::BandRefused:
            return askThenStop(message(msg::BandRefused, Buttons::Ok, Icon::Warning));
        case RadioCheck::BandAsk:
            awaitingUser_ = true;
            d_.prompt.ask(message(msg::BandDiffers, Buttons::OkCancel, Icon::Warning),
                          whileCurrent([this](Answer a) {
                              awaitingUser_ = false;
                              if (a == Answer::Ok) return proceedAfterChecks();
                              stopTransfer();
                          }));
            return;
        case RadioCheck::VersionMismatch: {
            const std::string firm = ident_.version;
            const TextLookup text =
                d_.versions.text ? d_.versions.text : [](int) { return std::string(); };
            Message m;
            m.text = VersionMismatchText(kOwnSoftVersion, firm, VersionKind::Firmware, text);
            m.buttons = Buttons::YesNo;
            m.icon = Icon::Question;
            awaitingUser_ = true;
            d_.prompt.ask(m, whileCurrent([this, firm](Answer a) {
                              awaitingUser_ = false;
                              stopTransfer();
                              if (a != Answer::Yes) return;
                              if (d_.versions.launcher && d_.versions.paths && d_.versions.prompt) {
                                  static const VersionTable kNone;
                                  StartMatchingVersion(
                                      d_.versions.table ? *d_.versions.table : kNone, firm,
                                      *d_.versions.paths, d_.versions.executableName,
                                      *d_.versions.launcher, *d_.versions.prompt);
                              }
                              d_.host.endProgram();
                          }));
            return;
        }
    }
}

void TransferMachine::proceedAfterChecks()
{
    if (kind_ == TransferKind::Read) step_ = ReadStep::Blocks;
    nextBlockOrEnd();
}

void TransferMachine::progressUpdate()
{
    const int percent =
        static_cast<int>(std::lround(double(blockAddress_) * 100.0 / double(endAddress())));
    if (percent >= lastPercent_ + 1) {
        lastPercent_ = percent;
        d_.host.setProgress(percent);
    }
}

void TransferMachine::askThenStop(const Message& m)
{
    waitTimer_->stop();
    awaitingUser_ = true;
    d_.prompt.ask(m, whileCurrent([this](Answer) {
                      awaitingUser_ = false;
                      stopTransfer();
                  }));
}

void TransferMachine::cancel()
{
    if (kind_ == TransferKind::Idle) return;
    ++run_;  // questions still open no longer act on this transfer
    writeDelay_->stop();
    waitTimer_->stop();
    cancelledMidWrite_ = kind_ == TransferKind::Write && wroteBlock_;
    if (d_.port.isOpen()) {
        const Bytes end = endCommand();
        d_.port.send(end);
    }
    endTransfer(TransferOutcome::Cancelled);
}

void TransferMachine::stopTransfer()
{
    // Take the radio out of its programming mode, then end without a message.
    if (d_.port.isOpen()) {
        const Bytes end = endCommand();
        d_.port.send(end);
    }
    endTransfer(false);
}

void TransferMachine::endTransfer(TransferOutcome outcome)
{
    const TransferKind k = kind_;
    active_ = false;
    awaitingUser_ = false;
    waitTimer_->stop();
    d_.port.close();
    if (progressOpen_) d_.host.closeProgress();
    progressOpen_ = false;
    kind_ = TransferKind::Idle;
    step_ = std::monostate{};
    awaitingQuiet_ = false;
    if (outcome != TransferOutcome::Succeeded) {
        d_.host.transferFinished(k, outcome);
        return;
    }
    switch (k) {
        case TransferKind::Read:
            d_.host.closeAllDocumentWindows();
            readOkTimer_->start(decodeDelayMs_);
            d_.prompt.ask(message(msg::ReadDone, Buttons::Ok, Icon::Information), [this](Answer) {
                d_.host.transferFinished(TransferKind::Read, TransferOutcome::Succeeded);
            });
            return;
        case TransferKind::Write:
            d_.prompt.ask(message(msg::WriteDone, Buttons::Ok, Icon::Information), [this](Answer) {
                d_.host.transferFinished(TransferKind::Write, TransferOutcome::Succeeded);
            });
            return;
        case TransferKind::Information:
            decodeRadioInfoBlock(info_, d_.host.programState().RadioInfo);
            d_.host.showRadioInformation();
            d_.host.transferFinished(TransferKind::Information, TransferOutcome::Succeeded);
            return;
        case TransferKind::Idle:
            return;
    }
}

void TransferMachine::decodeRead()
{
    // Parts of the document the image does not carry keep their values.
    RadioDocument decoded = d_.host.document();
    decodeImage(image_, decoded, d_.host.programState());
    d_.host.documentRead(std::move(decoded), kReadFileName);
}

}  // namespace zt
