#include "core/production/radio_session.h"

#include "core/link/info_block.h"

namespace zt {

std::string IdentifiedRadio::bandText() const
{
    const std::string text = infoBandText(bandCode);
    return text.empty() ? "code " + std::to_string(bandCode) : text;
}

RadioSession::RadioSession(LinkPort& port, TimerFactory& timers, TextLookup texts,
                           const VersionTable* versions)
    : port_(port), texts_(std::move(texts))
{
    VersionSwitch versionSwitch;
    versionSwitch.table = versions;
    versionSwitch.text = texts_;
    // A line never starts another program: a radio that needs another version fails.
    versionSwitch.launcher = nullptr;
    machine_ = std::make_unique<TransferMachine>(
        TransferDeps{port_, timers, *this, *this, *this, versionSwitch});
    machine_->setDecodeDelay(0);
    // Every write of the line is read back and compared before it counts.
    machine_->setVerifyAfterWrite(true);
    exchange_ = std::make_unique<InfoExchange>(port_, timers);
    exchange_->finished = [this](InfoOutcome outcome) { informationFinished(outcome); };
    answerTimer_ = timers.createTimer([this] { answerQueued(); });
}

RadioSession::~RadioSession() = default;

void RadioSession::identify(Identified done)
{
    if (busy()) return;
    identified_ = std::move(done);
    identity_ = {};
    reason_.clear();
    machine_->startInformationRead();
}

void RadioSession::writeDocument(const RadioDocument& document, const ProgramState& state,
                                 Done done)
{
    if (busy()) return;
    done_ = std::move(done);
    document_ = document;
    state_ = state;
    reason_.clear();
    percent_ = 0;
    machine_->startWrite();
}

void RadioSession::writeInformation(const InfoToolRecord& record, Done done)
{
    if (busy()) return;
    done_ = std::move(done);
    reason_.clear();
    exchange_->record() = record;
    exchange_->startWrite();  // reports a port that cannot be opened through finished
}

void RadioSession::cancel()
{
    if (!busy()) return;
    answers_.clear();
    answerTimer_->stop();
    if (machine_->busy()) {
        machine_->cancel();  // ends through transferFinished
    } else {
        exchange_->cancel();
    }
    if (busy()) finishStep(StepResult{false, true, "stopped"});
}

void RadioSession::portLost(const std::string& reason)
{
    if (exchange_->state() != InfoState::Idle) {
        exchange_->cancel();
        port_.close();
        reason_ = languageText(text::msg::PortLost);
        portProblem_ = true;
        if (!reason.empty()) reason_ += (reason_.empty() ? "" : " ") + reason;
        return finishStep(StepResult{false, false, reason_});
    }
    machine_->portLost(reason);
}

void RadioSession::showRadioInformation()
{
    const Identification& id = machine_->identification();
    identity_.model = id.model;
    identity_.bandCode = id.variant;
    identity_.firmware = id.version;
    identity_.flags = id.featureFlags;
    identity_.serialNumber = readInfoField(machine_->infoBlock().bytes, info::SerialNumber);
}

void RadioSession::transferFinished(TransferKind kind, TransferOutcome outcome)
{
    StepResult result;
    result.ok = outcome == TransferOutcome::Succeeded;
    result.cancelled = outcome == TransferOutcome::Cancelled;
    if (!result.ok) {
        result.reason = reason_;
        if (result.cancelled && machine_->cancelledMidWrite()) {
            Message midway;
            midway.textId = msg::WriteCancelledMidway;
            result.reason = messageText(midway);
        }
        if (result.reason.empty()) result.reason = result.cancelled ? "stopped" : "failed";
    }
    (void)kind;
    finishStep(std::move(result));
}

void RadioSession::informationFinished(InfoOutcome outcome)
{
    StepResult result;
    switch (outcome) {
        case InfoOutcome::WriteComplete:
        case InfoOutcome::ReadComplete:
        case InfoOutcome::BatchComplete:
            result.ok = true;
            break;
        case InfoOutcome::CommunicationError:
            result.reason = "Communication Error! (information block)";
            break;
        case InfoOutcome::PortOpenFailed:
            portProblem_ = true;
            result.reason = "Cannot Open Communication Port. " + exchange_->lastOpen().reason;
            break;
    }
    finishStep(std::move(result));
}

void RadioSession::finishStep(StepResult result)
{
    percent_ = 0;
    result.portProblem = !result.ok && portProblem_;
    portProblem_ = false;
    if (identified_) {
        Identified done = std::move(identified_);
        identified_ = nullptr;
        done(result, identity_);
    } else if (done_) {
        Done done = std::move(done_);
        done_ = nullptr;
        done(result);
    }
}

std::string RadioSession::messageText(const Message& m) const
{
    std::string s = m.textId != 0 && texts_ ? texts_(m.textId) : std::string();
    if (s.empty() && m.textId != 0) s = "message " + std::to_string(m.textId);
    std::string extra;
    for (char c : m.text) {
        if (c == '\r') continue;
        extra.push_back(c == '\n' ? ' ' : c);
    }
    while (!extra.empty() && extra.front() == ' ') extra.erase(extra.begin());
    if (!extra.empty()) s += (s.empty() ? "" : ": ") + extra;
    return s;
}

void RadioSession::ask(const Message& message, std::function<void(Answer)> answered)
{
    Answer answer = Answer::Ok;
    if (message.textId == msg::ConfirmWrite) {
        answer = Answer::Ok;  // the line was started to write
    } else {
        // Anything else is no success: never retried, never agreed to.
        if (message.icon != Icon::Information) reason_ = messageText(message);
        if (message.textId == msg::PortFailed || message.textId == msg::PortLost)
            portProblem_ = true;
        switch (message.buttons) {
            case Buttons::Ok:
                answer = Answer::Ok;
                break;
            case Buttons::OkCancel:
            case Buttons::RetryCancel:
                answer = Answer::Cancel;
                break;
            case Buttons::YesNo:
            case Buttons::YesNoCancel:
                answer = Answer::No;
                break;
        }
    }
    // Answered on the next turn of the loop, as a message box would be.
    answers_.push_back([answered = std::move(answered), answer] { answered(answer); });
    answerTimer_->start(0);
}

void RadioSession::showWindow(std::function<void()> closed)
{
    reason_ = "the radio has a program password" +
              std::string(password_.empty() ? "" : " other than the one given");
    answers_.push_back(std::move(closed));
    answerTimer_->start(0);
}

void RadioSession::answerQueued()
{
    std::vector<std::function<void()>> due;
    due.swap(answers_);
    for (auto& answer : due) answer();
}

}  // namespace zt
