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
// Bytes kept while looking for an answer among stray ones.
constexpr std::size_t kMaxPendingBytes = 256;

// Steps of the read-back that checks a finished write.
constexpr int kVerifyHandshake = 71;
constexpr int kVerifyIdentify = 72;
constexpr int kVerifyBlocks = 75;
constexpr int kVerifyEnd = 79;

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

TransferMachine::~TransferMachine() = default;

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
    cancelledMidWrite_ = false;
    verifyMismatch_ = -1;
    restartRun();
}

void TransferMachine::restartRun()
{
    step_ = 1;
    blockAddress_ =
        kind_ == TransferKind::Information ? kInformationFirst - kBlockSize : -kBlockSize;
    lastPercent_ = 0;
    if (kind_ != TransferKind::Information) d_.host.setProgress(0);
    sendCommand(Command::Handshake, 0);
}

void TransferMachine::sendCommand(Command command, int address)
{
    command_ = command;
    commandAddress_ = address;
    echo_ = echoLength(command, noEcho_);
    awaited_ = awaitedTotal(command, noEcho_);
    replyArrived_ = false;
    lateWaitUsed_ = false;
    echoSeen_ = false;
    // A repeat of the same packet adds one more answer owed; a new packet starts afresh.
    if (repeating_) {
        ++owed_;
    } else {
        owed_ = 1;
        acked_ = false;
    }
    refused_ = false;
    repeating_ = false;
    // The handshake answer tells by its bytes whether the cable echoes, so it is
    // looked at from its shortest form on.
    d_.port.setReceiveThreshold(command == Command::Handshake ? replyLength(command) : awaited_);
    d_.port.clear();
    rx_.clear();
    waitTimer_->start(kReplyTimeoutMs);
    if (command == Command::Handshake) active_ = true;
    if (command == Command::WriteBlock) wroteBlock_ = true;
    sentBytes_ = buildCommand(command, address, image_);
    d_.port.send(sentBytes_);
}

void TransferMachine::resendCurrent()
{
    repeating_ = true;
    sendCommand(command_, commandAddress_);
}

void TransferMachine::onReceived(std::span<const std::uint8_t> bytes)
{
    if (!active_ || awaitingUser_) return;
    rx_.insert(rx_.end(), bytes.begin(), bytes.end());
    if (rx_.size() > kMaxPendingBytes)
        rx_.erase(rx_.begin(), rx_.end() - static_cast<std::ptrdiff_t>(kMaxPendingBytes));
    if (command_ == Command::Handshake) {
        handshakeReceived();
    } else {
        takeReply();
    }
    // The port holds bytes back until the threshold is reached; when an answer
    // is still incomplete, ask for no more than what it lacks, so its last bytes
    // are not held back (a handshake answer is looked for byte by byte).
    if (active_ && !rx_.empty()) {
        const int missing = command_ == Command::Handshake
                                ? 1
                                : std::max(1, awaited_ - static_cast<int>(rx_.size()));
        d_.port.setReceiveThreshold(missing);
    }
}

void TransferMachine::handshakeReceived()
{
    // "ZT", 0x06 anywhere in what arrived; an echoing cable puts the handshake
    // word right before it. Bytes before that (a late answer to an earlier
    // command) are passed over.
    static const Bytes kAnswer{'Z', 'T', kAck};
    const auto at = std::search(rx_.begin(), rx_.end(), kAnswer.begin(), kAnswer.end());
    if (at == rx_.end()) return;
    const Bytes word = handshakeCommand();
    const auto before = at - rx_.begin();
    const bool echoed =
        before >= static_cast<std::ptrdiff_t>(word.size()) &&
        std::equal(word.begin(), word.end(), at - static_cast<std::ptrdiff_t>(word.size()));
    noEcho_ = !echoed;
    rx_.clear();
    replyArrived_ = true;
    Reply r;
    r.kind = ReplyKind::Handshake;
    accept(r);
}

void TransferMachine::takeShortReplies()
{
    // One-byte answers (0x06, 0x0A) carry nothing that says which packet they
    // answer. Every copy of the current packet that was sent is owed one answer
    // and answers keep their order, so they are counted off: an answer for an
    // earlier copy of the same packet (one given up on as lost) is not taken for
    // the answer to a later packet. On an echoing cable the echo of the copy
    // sent last comes first and must be exactly the bytes sent.
    const std::size_t echo = static_cast<std::size_t>(echo_);
    while (owed_ > 0) {
        if (!echoSeen_ && echo > 0) {
            if (rx_.size() < echo) return;
            if (!std::equal(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(echo),
                            sentBytes_.begin())) {
                replyArrived_ = true;  // garbage: the time-out sends again
                rx_.clear();
                return;
            }
            rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(echo));
            echoSeen_ = true;
        }
        if (rx_.empty()) return;
        const std::uint8_t answer = rx_.front();
        rx_.erase(rx_.begin());
        replyArrived_ = true;
        --owed_;
        acked_ = acked_ || answer == kAck;
        refused_ = refused_ || answer == kSendAgain;
        if (owed_ > 0) {
            // More answers for this packet are on their way: take each on its own.
            d_.port.setReceiveThreshold(1);
            continue;
        }
        rx_.clear();  // the rest of this read is dropped
        Reply r;
        // Any copy acknowledged means the block is stored: every copy holds the same data.
        r.kind = acked_ ? ReplyKind::Ack : refused_ ? ReplyKind::SendAgain : ReplyKind::None;
        return accept(r);
    }
    rx_.clear();
}

void TransferMachine::takeReply()
{
    if (replyLength(command_) == 1) return takeShortReplies();
    const std::size_t total = static_cast<std::size_t>(awaited_);
    const std::size_t echo = static_cast<std::size_t>(echo_);
    if (rx_.size() < total) return;
    const bool passwordWait = kind_ != TransferKind::Information && step_ == 3;
    const bool dataWait =
        ((kind_ == TransferKind::Read || kind_ == TransferKind::Information) && step_ == 5) ||
        step_ == kVerifyBlocks;
    const int requested = dataWait ? blockAddress_ : -1;

    // Longer answers carry what they answer (identification marker, block
    // address and checksum), so they are looked for wherever they start: stray
    // bytes before them are passed over instead of spoiling the answer.
    replyArrived_ = true;
    for (std::size_t start = echo; start + total - echo <= rx_.size(); ++start) {
        const auto window = std::span<const std::uint8_t>(rx_).subspan(start - echo, total);
        const Reply reply = classifyReply(window, echo_, passwordWait, requested);
        if (reply.kind == ReplyKind::None) continue;
        rx_.clear();
        return accept(reply);
    }
}

void TransferMachine::accept(const Reply& reply)
{
    const ReplyKind r = reply.kind;
    if (r == ReplyKind::None) return;

    if (kind_ == TransferKind::Read || kind_ == TransferKind::Write) {
        const bool write = kind_ == TransferKind::Write;
        if (step_ == 1 && r == ReplyKind::Handshake) {
            waitTimer_->stop();
            step_ = 2;
            sendCommand(Command::Identify, 0);
        } else if (step_ == 2 && r == ReplyKind::Identification) {
            waitTimer_->stop();
            ident_ = parseIdentification(reply.ident);
            copyIdentityToImage(reply.ident, image_);
            const ProgramState& state = d_.host.programState();
            if (write && state.RefuseWriteFlag1) {
                askThenStop(message(msg::WriteRefused1, Buttons::Ok, Icon::Warning));
                return;
            }
            if (write && state.RefuseWriteFlag2) {
                askThenStop(message(msg::WriteRefused2, Buttons::Ok, Icon::Warning));
                return;
            }
            step_ = 3;
            sendCommand(Command::ReadBlock, kPasswordBlockAddress);
        } else if (step_ == 3 && r == ReplyKind::PasswordBlock) {
            waitTimer_->stop();
            passwordStep(reply.data);
        } else if (!write && step_ == 5 && r == ReplyKind::DataBlock) {
            waitTimer_->stop();
            storeReceivedBlock(image_, info_, reply.address, reply.data);
            progressUpdate();
            blockAddress_ += kBlockSize;
            if (blockAddress_ >= endAddress()) {
                step_ = 69;
                sendCommand(Command::End, 0);
            } else {
                sendCommand(Command::ReadBlock, blockAddress_);
            }
        } else if (write && step_ == 4 && r == ReplyKind::Ack) {
            waitTimer_->stop();
            blockAddress_ += kBlockSize;
            if (blockAddress_ >= endAddress()) {
                step_ = 69;
                sendCommand(Command::End, 0);
            } else {
                progressUpdate();
                sendCommand(Command::WriteBlock, blockAddress_);
            }
        } else if (write && step_ == 4 && r == ReplyKind::SendAgain) {
            waitTimer_->stop();
            resendCurrent();
        } else if (step_ == 69 && r == ReplyKind::Ack) {
            waitTimer_->stop();
            write ? writeFinished() : endTransfer(true);
        } else if (step_ == kVerifyHandshake && r == ReplyKind::Handshake) {
            waitTimer_->stop();
            step_ = kVerifyIdentify;
            sendCommand(Command::Identify, 0);
        } else if (step_ == kVerifyIdentify && r == ReplyKind::Identification) {
            waitTimer_->stop();
            step_ = kVerifyBlocks;
            blockAddress_ = 0;
            sendCommand(Command::ReadBlock, blockAddress_);
        } else if (step_ == kVerifyBlocks && r == ReplyKind::DataBlock) {
            waitTimer_->stop();
            verifyBlock(reply);
        } else if (step_ == kVerifyEnd && r == ReplyKind::Ack) {
            endTransfer(true);
        }
        return;
    }

    if (kind_ == TransferKind::Information) {
        if (step_ == 1 && r == ReplyKind::Handshake) {
            waitTimer_->stop();
            step_ = 3;
            sendCommand(Command::Identify, 0);
        } else if (step_ == 3 && r == ReplyKind::Identification) {
            waitTimer_->stop();
            ident_ = parseIdentification(reply.ident);
            step_ = 5;
            blockAddress_ += kBlockSize;
            sendCommand(Command::ReadBlock, blockAddress_);
        } else if (step_ == 5 && r == ReplyKind::DataBlock) {
            waitTimer_->stop();
            storeReceivedBlock(image_, info_, reply.address, reply.data);
            blockAddress_ += kBlockSize;
            if (blockAddress_ >= endAddress()) {
                step_ = 69;
                sendCommand(Command::End, 0);
            } else {
                sendCommand(Command::ReadBlock, blockAddress_);
            }
        } else if (step_ == 69 && r == ReplyKind::Ack) {
            endTransfer(true);
        }
    }
}

bool TransferMachine::awaitsLateReply() const
{
    // The handshake answer is recognised by its bytes wherever it lands, and a
    // missing END acknowledgement is no error; every other command's answer that
    // has not arrived may still be on its way.
    if (step_ == 1 || step_ == 69 || step_ == kVerifyHandshake || step_ == kVerifyEnd) return false;
    if (replyLength(command_) == 1) return owed_ > 0;
    return !replyArrived_;
}

void TransferMachine::timedOut()
{
    if (!active_ || kind_ == TransferKind::Idle) return;
    if (!lateWaitUsed_ && awaitsLateReply()) {
        lateWaitUsed_ = true;
        waitTimer_->start(kLateReplyWaitMs);
        return;
    }
    afterTimeout();
}

void TransferMachine::afterTimeout()
{
    if (step_ == 1) {
        if (++handshakeCounter_ > kHandshakeTries - 1) return failurePrompt();
        // Try the other echo assumption.
        noEcho_ = !noEcho_;
        return sendCommand(Command::Handshake, 0);
    }
    if (step_ == 69) {
        // A missing END acknowledgement is no error.
        if (kind_ == TransferKind::Write) return writeFinished();
        return endTransfer(true);
    }
    if (step_ == kVerifyEnd) return endTransfer(true);
    if (step_ == kVerifyHandshake || step_ == kVerifyIdentify)
        return verifyFailed(message(msg::VerifyUnreadable, Buttons::Ok, Icon::Error));
    if (step_ == kVerifyBlocks) {
        int& left = budget(blockAddress_);
        if (left < 1) return verifyFailed(message(msg::VerifyUnreadable, Buttons::Ok, Icon::Error));
        --left;
        return resendCurrent();
    }
    if (kind_ == TransferKind::Information) return failurePrompt();
    switch (step_) {
        case 2:
            return failurePrompt();
        case 3: {
            const int was = passwordCounter_--;
            if (was >= 2) return sendCommand(Command::ReadBlock, kPasswordBlockAddress);
            return failurePrompt();
        }
        case 4:
        case 5: {
            // An earlier copy was acknowledged; the answer to a later one is given up on.
            if (step_ == 4 && acked_) {
                Reply r;
                r.kind = ReplyKind::Ack;
                return accept(r);
            }
            // A copy was refused: send again, as a refusal asks, without using the budget.
            if (step_ == 4 && refused_) return resendCurrent();
            int& left = budget(blockAddress_);
            if (left < 1) return failurePrompt();
            --left;
            return resendCurrent();
        }
        default:
            return;
    }
}

void TransferMachine::writeFinished()
{
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
    step_ = kVerifyHandshake;
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
        step_ = kVerifyEnd;
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
    d_.prompt.ask(message(textId, Buttons::OkCancel, Icon::Question, detail),
                  whileCurrent([this](Answer a) {
                      if (a == Answer::Ok) return retryAfterFailure();
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
    blockAddress_ += kBlockSize;
    if (kind_ == TransferKind::Read) {
        step_ = 5;
        sendCommand(Command::ReadBlock, blockAddress_);
    } else {
        step_ = 4;
        progressUpdate();
        sendCommand(Command::WriteBlock, blockAddress_);
    }
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
    step_ = 0;
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
    decodeImage(image_, d_.host.document(), d_.host.programState());
    d_.host.documentReplaced(kReadFileName);
}

}  // namespace zt
