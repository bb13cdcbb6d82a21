#include "core/production/production_line.h"

#include "core/files/data_file.h"
#include "core/link/info_record_file.h"
#include "core/radio/image_codec.h"
#include "core/radio/models.h"

namespace zt {

void setLineDocument(LineJob& job, const RadioDocument& document, const ProgramState& state,
                     const std::string& name)
{
    job.writesDocument = true;
    job.document = document;
    job.state = state;
    job.documentName = name;
    RadioImage image;
    image.clear();
    RadioDocument copy = document;
    encodeDocument(copy, state, image);
    job.imageCrc = crc32Hex(
        std::string_view(reinterpret_cast<const char*>(image.bytes.data()), image.bytes.size()));
}

void setLineInformation(LineJob& job, const std::map<std::string, std::string>& fields)
{
    InfoToolRecord record;
    std::string text;
    for (const auto& name : infoFileWritableFields()) {
        const auto it = fields.find(name);
        const std::string value = it != fields.end() ? it->second : std::string();
        setInfoFileField(record, name, value);
        // The password is a secret: the log says only whether one was set.
        const std::string shown =
            name == "program_password" ? (value.empty() ? "(none)" : "(set)") : value;
        text += (text.empty() ? "" : ";") + name + "=" + shown;
    }
    const auto serial = fields.find("serial_number");
    job.countedSerial = serial != fields.end() ? serial->second : std::string();
    job.information = record;
    job.informationText = text;
}

std::string prepareLineJob(const ProductionJob& job, const TextLookup& texts, LineJob& out)
{
    out = LineJob{};
    out.require = job.require;
    if (!job.document.empty()) {
        const ParsedDataFile parsed = readDataFile(job.document);
        if (parsed.messageId != 0) {
            std::string why = texts ? texts(parsed.messageId) : std::string();
            if (why.empty()) why = "message " + std::to_string(parsed.messageId);
            return "the document " + job.document.string() + " cannot be used: " + why;
        }
        ProgramState state;
        documentToCurrent(parsed.document.Data, state);
        setLineDocument(out, parsed.document, state, job.document.filename().string());
    }
    if (job.info) setLineInformation(out, *job.info);
    return {};
}

const char* portStateName(PortState state)
{
    switch (state) {
        case PortState::Waiting:
            return "waiting for a radio";
        case PortState::Identifying:
            return "identifying";
        case PortState::WritingDocument:
            return "writing the document";
        case PortState::WritingInformation:
            return "writing the information block";
        case PortState::WaitingRemoval:
            return "take the radio away";
        case PortState::Idle:
            return "idle (count reached)";
        case PortState::Stopped:
            return "stopped";
    }
    return "";
}

struct ProductionLine::Run {
    std::size_t index = 0;
    std::string name;
    LinkPort* link = nullptr;
    std::unique_ptr<RadioSession> session;
    std::unique_ptr<OneShotTimer> pause;
    PortState state = PortState::Waiting;
    IdentifiedRadio radio;  // the radio on the port (the last one identified)
    bool hasRadio = false;  // a radio was identified and not yet seen gone
    bool inUnit = false;    // the radio is being written
    std::chrono::microseconds unitStart{0};
    std::string lastResult;
    std::string portProblem;
};

ProductionLine::ProductionLine(LineJob job, LineSettings settings, std::vector<Port> ports,
                               TimerFactory& timers, const Clock& clock, TextLookup texts,
                               const VersionTable* versions)
    : job_(std::move(job)),
      settings_(std::move(settings)),
      timers_(timers),
      clock_(clock),
      texts_(std::move(texts))
{
    for (std::size_t i = 0; i < ports.size(); ++i) {
        auto run = std::make_unique<Run>();
        run->index = i;
        run->name = ports[i].name;
        run->link = ports[i].link;
        run->session = std::make_unique<RadioSession>(*ports[i].link, timers_, texts_, versions);
        run->session->setPassword(settings_.password);
        Run* r = run.get();
        run->pause = timers_.createTimer([this, r] { probe(*r); });
        runs_.push_back(std::move(run));
    }
}

ProductionLine::~ProductionLine() = default;

void ProductionLine::start()
{
    if (started_) return;
    started_ = true;
    startedAt_ = clock_.now();
    for (auto& run : runs_) probe(*run);
    finishIfComplete();  // a line without ports has nothing to do
}

void ProductionLine::stop()
{
    if (!started_ || finished_ || stopping_) return;
    stopping_ = true;
    for (auto& run : runs_) {
        run->pause->stop();
        // A write under way ends through its callback, which logs the radio as stopped.
        run->session->cancel();
        setState(*run, PortState::Stopped);
    }
    finish();
}

void ProductionLine::portLost(std::size_t index, const std::string& reason)
{
    if (index < runs_.size()) runs_[index]->session->portLost(reason);
}

LinePortStatus ProductionLine::status(std::size_t index) const
{
    LinePortStatus s;
    if (index >= runs_.size()) return s;
    const Run& run = *runs_[index];
    s.name = run.name;
    s.state = run.state;
    s.serialNumber = run.hasRadio ? run.radio.serialNumber : std::string();
    s.percent = run.state == PortState::WritingDocument ? run.session->percent() : 0;
    s.lastResult = run.lastResult;
    s.portProblem = run.portProblem;
    return s;
}

LineSummary ProductionLine::summary() const
{
    LineSummary s;
    for (const auto& u : units_) {
        if (u.result == UnitResult::Done) {
            ++s.done;
        } else if (u.result == UnitResult::Skipped) {
            ++s.skipped;
        } else {
            ++s.failed;
        }
    }
    const auto end = finished_ ? finishedAt_ : clock_.now();
    s.seconds = started_ ? std::chrono::duration<double>(end - startedAt_).count() : 0.0;
    return s;
}

void ProductionLine::setState(Run& run, PortState state)
{
    run.state = state;
    if (onPortChanged) onPortChanged(run.index);
}

void ProductionLine::probe(Run& run)
{
    if (stopping_ || finished_ || run.state == PortState::Idle) return;
    run.session->identify([this, &run](const StepResult& result, const IdentifiedRadio& identity) {
        probed(run, result, identity);
    });
}

void ProductionLine::probed(Run& run, const StepResult& result, const IdentifiedRadio& identity)
{
    if (stopping_ || finished_) return;
    // A port that cannot be opened (or was lost) is said once, and again once it works.
    const std::string problem = result.portProblem ? result.reason : std::string();
    if (problem != run.portProblem) {
        run.portProblem = problem;
        if (onPortChanged) onPortChanged(run.index);
    }
    if (!result.ok) {
        // No radio answered (or it could not be read through): the one that was
        // there has been taken away.
        if (run.hasRadio) {
            run.hasRadio = false;
            setState(run, PortState::Waiting);
        }
        run.pause->start(kLineProbePauseMs);
        return;
    }
    // The radio finished with is still there: wait on. A radio with another
    // serial number means it was swapped between two looks.
    if (run.hasRadio && identity.serialNumber == run.radio.serialNumber) {
        run.pause->start(kLineProbePauseMs);
        return;
    }
    begin(run, identity);
}

void ProductionLine::begin(Run& run, const IdentifiedRadio& identity)
{
    run.radio = identity;
    run.hasRadio = true;
    run.unitStart = clock_.now();
    const std::string& serial = identity.serialNumber;
    std::string skip;
    if (!serial.empty()) {
        if (doneThisRun_.count(serial)) {
            skip = "already written in this run";
        } else if (settings_.skipSerials.count(serial)) {
            skip = "already done in the resumed log";
        } else {
            for (const auto& other : runs_)
                if (other.get() != &run && other->inUnit && other->radio.serialNumber == serial)
                    skip = "a radio with this serial number is being written on " + other->name;
        }
    }
    if (!skip.empty()) {
        run.inUnit = false;
        return unitEnded(run, UnitResult::Skipped, skip);
    }
    if (settings_.count > 0 && claimed_ >= settings_.count) {
        setState(run, PortState::Idle);
        return finishIfComplete();
    }
    ++claimed_;
    run.inUnit = true;
    setState(run, PortState::Identifying);
    const std::string refusal =
        checkRequirements(job_.require, identity.model, identity.bandCode, identity.firmware);
    if (!refusal.empty()) return unitEnded(run, UnitResult::Refused, refusal);
    if (!job_.writesDocument) return writeInformation(run);
    setState(run, PortState::WritingDocument);
    run.session->writeDocument(job_.document, job_.state, [this, &run](const StepResult& r) {
        if (!r.ok) return stepFailed(run, r);
        if (stopping_) return;
        writeInformation(run);
    });
}

void ProductionLine::writeInformation(Run& run)
{
    if (!job_.information) return unitEnded(run, UnitResult::Done, {});
    setState(run, PortState::WritingInformation);
    run.session->writeInformation(*job_.information, [this, &run](const StepResult& r) {
        if (!r.ok) return stepFailed(run, r);
        // Counted on per radio written, as the information tool's batch does.
        const std::string counted = job_.countedSerial;
        if (!counted.empty()) job_.countedSerial = advanceSerialNumber(counted);
        unitEnded(run, UnitResult::Done, {}, counted);
    });
}

void ProductionLine::stepFailed(Run& run, const StepResult& result)
{
    unitEnded(run, result.cancelled ? UnitResult::Stopped : UnitResult::Failed, result.reason);
}

void ProductionLine::unitEnded(Run& run, UnitResult result, const std::string& error,
                               const std::string& countedSerial)
{
    UnitRecord u;
    u.time = wallClock();
    u.port = run.name;
    u.serialNumber = run.radio.serialNumber;
    u.model = run.radio.model;
    u.band = run.radio.bandText();
    u.firmware = run.radio.firmware;
    u.flags = run.radio.flags;
    const bool wrote = result != UnitResult::Skipped && result != UnitResult::Refused;
    if (job_.writesDocument && wrote) {
        u.document = job_.documentName;
        u.imageCrc = job_.imageCrc;
    }
    // Information fields only of a radio that took them.
    if (job_.information && result == UnitResult::Done) u.information = job_.informationText;
    u.countedSerial = countedSerial;
    u.result = result;
    u.seconds = std::chrono::duration<double>(clock_.now() - run.unitStart).count();
    u.error = error;
    if (result == UnitResult::Done && !u.serialNumber.empty()) doneThisRun_.insert(u.serialNumber);
    if (run.inUnit) ++completed_;
    run.inUnit = false;
    run.lastResult = std::string(unitResultName(result)) + (error.empty() ? "" : ": " + error);
    units_.push_back(u);
    if (onUnit) onUnit(u);
    if (stopping_ || finished_) return;
    awaitRemoval(run);
    finishIfComplete();
}

void ProductionLine::awaitRemoval(Run& run)
{
    setState(run, PortState::WaitingRemoval);
    run.pause->start(kLineProbePauseMs);
}

void ProductionLine::finishIfComplete()
{
    if (finished_ || stopping_) return;
    const bool countReached = settings_.count > 0 && completed_ >= settings_.count;
    if (!countReached && !runs_.empty()) return;
    stopping_ = true;
    for (auto& run : runs_) {
        run->pause->stop();
        run->session->cancel();  // only looks for radios by now
        setState(*run, PortState::Idle);
    }
    finish();
}

void ProductionLine::finish()
{
    if (finished_) return;
    finished_ = true;
    finishedAt_ = clock_.now();
    if (onFinished) onFinished();
}

}  // namespace zt
