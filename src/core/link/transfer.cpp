#include "core/link/transfer.h"

#include <cmath>

#include "core/link/info_block.h"
#include "core/radio/image_codec.h"
#include "core/radio/representable.h"

namespace zt {

namespace {

constexpr int kReadWriteEnd = 9279;
constexpr int kInformationEnd = 0x3FFF;
constexpr int kInformationFirst = kInfoBlockBase;

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
            d_.prompt.ask(message(msg::Unrepresentable, Buttons::Ok, Icon::Error, list),
                          [this](Answer) { d_.host.transferEnded(TransferKind::Write, false); });
            return;
        }
        if (!openPort()) return portFailed();
        d_.port.close();
        d_.prompt.ask(message(msg::ConfirmWrite, Buttons::OkCancel, Icon::Question),
                      [this](Answer a) { confirmed(a); });
    });
    readOkTimer_ = d_.timers.createTimer([this] { decodeRead(); });
}

TransferMachine::~TransferMachine() = default;

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
                  [this, k](Answer) { d_.host.transferEnded(k, false); });
}

void TransferMachine::startRead()
{
    if (busy()) return;
    kind_ = TransferKind::Read;
    if (!openPort()) return portFailed();
    d_.port.close();
    d_.prompt.ask(message(msg::ConfirmRead, Buttons::OkCancel, Icon::Question),
                  [this](Answer a) { confirmed(a); });
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
    restartRun();
}

void TransferMachine::confirmed(Answer answer)
{
    const TransferKind k = kind_;
    if (answer != Answer::Ok) {
        kind_ = TransferKind::Idle;
        d_.host.transferEnded(k, false);
        return;
    }
    image_.clear();
    if (k == TransferKind::Write)
        encodeDocument(d_.host.document(), d_.host.programState(), image_);
    d_.host.showProgress(k);
    beginTransfer();
}

void TransferMachine::beginTransfer()
{
    // What the progress window does when it loads.
    if (!d_.port.isOpen() && !openPort()) {
        d_.host.closeProgress();
        return portFailed();
    }
    handshakeCounter_ = 0;
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
    d_.port.setReceiveThreshold(awaited_);
    d_.port.clear();
    rx_.clear();
    waitTimer_->start(kReplyTimeoutMs);
    if (command == Command::Handshake) active_ = true;
    const Bytes bytes = buildCommand(command, address, image_);
    d_.port.send(bytes);
}

void TransferMachine::resendCurrent()
{
    sendCommand(command_, commandAddress_);
}

void TransferMachine::onReceived(std::span<const std::uint8_t> bytes)
{
    if (!active_ || awaitingUser_) return;
    rx_.insert(rx_.end(), bytes.begin(), bytes.end());
    if (static_cast<int>(rx_.size()) < awaited_) return;
    // Exactly the awaited number of bytes make the answer; the rest of the read is dropped.
    Bytes taken(rx_.begin(), rx_.begin() + awaited_);
    rx_.clear();
    const bool passwordWait = kind_ != TransferKind::Information && step_ == 3;
    const bool dataWait =
        (kind_ == TransferKind::Read || kind_ == TransferKind::Information) && step_ == 5;
    accept(classifyReply(taken, echo_, passwordWait, dataWait ? blockAddress_ : -1));
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

void TransferMachine::timedOut()
{
    if (!active_ || kind_ == TransferKind::Idle) return;
    if (step_ == 1) {
        if (++handshakeCounter_ > kHandshakeTries - 1) return failurePrompt();
        // Try the other echo assumption.
        noEcho_ = !noEcho_;
        return sendCommand(Command::Handshake, 0);
    }
    if (step_ == 69) return endTransfer(true);  // a missing END acknowledgement is no error
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
            int& left = budget(blockAddress_);
            if (left < 1) return failurePrompt();
            --left;
            return resendCurrent();
        }
        default:
            return;
    }
}

void TransferMachine::failurePrompt()
{
    active_ = false;
    waitTimer_->stop();
    if (kind_ == TransferKind::Information) {
        d_.prompt.ask(message(msg::TransferFailed, Buttons::RetryCancel, Icon::Question),
                      [this](Answer a) {
                          if (a == Answer::Retry) return restartRun();
                          stopTransfer();
                      });
        return;
    }
    handshakeCounter_ = 0;
    passwordCounter_ = 3;
    d_.prompt.ask(message(msg::TransferFailed, Buttons::OkCancel, Icon::Question),
                  [this](Answer a) {
                      if (a == Answer::Ok) return restartRun();
                      stopTransfer();
                  });
}

void TransferMachine::passwordStep(const Block& block)
{
    const std::string radioPassword = passwordOfBlock(block);
    if (passwordMatches(radioPassword, d_.password.enteredPassword())) return compatibilityCheck();
    awaitingUser_ = true;
    d_.password.showWindow([this, radioPassword] {
        awaitingUser_ = false;
        if (!d_.password.windowShown()) return stopTransfer();
        if (passwordMatches(radioPassword, d_.password.enteredPassword()))
            return compatibilityCheck();
        Message m;
        m.text = kPasswordFailureText;
        m.buttons = Buttons::Ok;
        askThenStop(m);
    });
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
                          [this](Answer a) {
                              awaitingUser_ = false;
                              if (a == Answer::Ok) return proceedAfterChecks();
                              stopTransfer();
                          });
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
            d_.prompt.ask(m, [this, firm](Answer a) {
                awaitingUser_ = false;
                stopTransfer();
                if (a != Answer::Yes) return;
                if (d_.versions.launcher && d_.versions.paths && d_.versions.prompt) {
                    static const VersionTable kNone;
                    StartMatchingVersion(d_.versions.table ? *d_.versions.table : kNone, firm,
                                         *d_.versions.paths, d_.versions.executableName,
                                         *d_.versions.launcher, *d_.versions.prompt);
                }
                d_.host.endProgram();
            });
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
    d_.prompt.ask(m, [this](Answer) {
        awaitingUser_ = false;
        stopTransfer();
    });
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

void TransferMachine::endTransfer(bool success)
{
    const TransferKind k = kind_;
    active_ = false;
    awaitingUser_ = false;
    waitTimer_->stop();
    d_.port.close();
    if (k == TransferKind::Read || k == TransferKind::Write) d_.host.closeProgress();
    kind_ = TransferKind::Idle;
    step_ = 0;
    if (!success) {
        d_.host.transferEnded(k, false);
        return;
    }
    switch (k) {
        case TransferKind::Read:
            d_.host.closeAllDocumentWindows();
            readOkTimer_->start(kDecodeDelayMs);
            d_.prompt.ask(message(msg::ReadDone, Buttons::Ok, Icon::Information),
                          [this](Answer) { d_.host.transferEnded(TransferKind::Read, true); });
            return;
        case TransferKind::Write:
            d_.prompt.ask(message(msg::WriteDone, Buttons::Ok, Icon::Information),
                          [this](Answer) { d_.host.transferEnded(TransferKind::Write, true); });
            return;
        case TransferKind::Information:
            decodeRadioInfoBlock(info_, d_.host.programState().RadioInfo);
            d_.host.showRadioInformation();
            d_.host.transferEnded(TransferKind::Information, true);
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
