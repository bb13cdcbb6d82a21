#include "apps/cli/cli_session.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <iostream>

#include "apps/cli/output_check.h"
#include "apps/cli/stop_signal.h"
#include "core/files/data_file.h"
#include "core/files/ini_profile.h"
#include "core/link/info_record_file.h"
#include "core/text_ids.h"
#include "platform/port_diagnosis.h"
#include "platform/port_table.h"

namespace zt {

namespace {

bool interactive()
{
    return ::isatty(STDIN_FILENO) != 0 && ::isatty(STDERR_FILENO) != 0;
}

std::string withUnixLineBreaks(std::string s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r') {
            if (i + 1 < s.size() && s[i + 1] == '\n') continue;
            out.push_back('\n');
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

void post(std::function<void()> action)
{
    QTimer::singleShot(0, QCoreApplication::instance(), std::move(action));
}

// What the user is told when the port cannot be opened: the serial port's
// own explanation, which names the device and tells a missing device, a
// missing permission and a port in use apart.
std::string portOpenFailureDetail(const std::string& device, const std::string& reason)
{
    return reason.empty() ? device : reason;
}

// The information tool's own texts the command line uses (English, Chinese).
struct InfoTexts {
    const char* writeComplete;
    const char* batchComplete;
    const char* communicationError;
    const char* cannotOpenPort;
};

const InfoTexts& infoTexts(int language)
{
    static const InfoTexts english{"Write Complete!", "MulWrite Complete!", "Communication Error!",
                                   "Cannot Open Communication Port."};
    static const InfoTexts chinese{"写入完成！", "批写入完成！", "通信错误！", "不能打开串口。"};
    return language == kLanguageChinese ? chinese : english;
}

}  // namespace

// ---- answers ----

CliAnswers::CliAnswers(const CliOptions& options, const LanguageTexts& texts)
    : options_(options), texts_(texts), retriesLeft_(options.retries)
{
}

std::string CliAnswers::messageText(const Message& m) const
{
    std::string s;
    if (m.textId != 0) {
        s = texts_.GetLangText(m.textId);
        if (s.empty()) s = "message " + std::to_string(m.textId);
    }
    if (!m.text.empty()) {
        std::string extra = withUnixLineBreaks(m.text);
        // An extra text that starts with a line break lists items under the message.
        if (!s.empty() && !extra.empty() && extra.front() != '\n') s += "\n";
        s += extra;
    }
    return s;
}

bool CliAnswers::askTerminal(const std::string& question)
{
    std::cerr << question << " [y/N] " << std::flush;
    std::string line;
    if (!readTerminalLine(line)) {
        // Ctrl-C interrupts the read: the question stays unanswered and the
        // command stops as it does anywhere else.
        interrupted_ = stopSignalled();
        if (interrupted_) std::cerr << "\n";
        return false;
    }
    return !line.empty() && (line[0] == 'y' || line[0] == 'Y');
}

Answer CliAnswers::answer(const Message& m)
{
    const std::string text = messageText(m);
    switch (m.buttons) {
        case Buttons::Ok:
            std::cerr << text << "\n";
            return Answer::Ok;
        case Buttons::RetryCancel:
        case Buttons::OkCancel:
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            break;
    }
    const bool retryQuestion = m.textId == msg::TransferFailed || m.buttons == Buttons::RetryCancel;
    const Answer agree = m.buttons == Buttons::RetryCancel ? Answer::Retry
                         : m.buttons == Buttons::OkCancel  ? Answer::Ok
                                                           : Answer::Yes;
    const Answer decline = m.buttons == Buttons::YesNo || m.buttons == Buttons::YesNoCancel
                               ? Answer::No
                               : Answer::Cancel;
    if (retryQuestion) {
        std::cerr << text << "\n";
        if (retriesLeft_ > 0) {
            --retriesLeft_;
            std::cerr << "(trying again)\n";
            return agree;
        }
        std::cerr << "(not tried again: --retries N tries up to N times more)\n";
        return decline;
    }
    if (options_.agreed && (m.textId == msg::ConfirmRead || m.textId == msg::ConfirmWrite))
        return agree;
    if (options_.yes) {
        std::cerr << text << "\n";
        return agree;
    }
    if (interactive()) return askTerminal(text) ? agree : decline;
    std::cerr << text << "\n(not confirmed: use --yes to agree)\n";
    return decline;
}

// ---- session ----

CliSession::CliSession(const CliOptions& options, const InstallPaths& paths, LanguageTexts& texts)
    : options_(options), paths_(paths), texts_(texts), answers_(options, texts)
{
    versions_ = loadVersionTable(paths_.versionIni());
    entered_ = options_.password.value_or("");
    if (!options_.trace.empty()) {
        traceFile_.open(options_.trace, std::ios::out | std::ios::trunc | std::ios::binary);
        if (traceFile_) {
            tracer_ = std::make_unique<TracingPort>(
                port_, clock_, [this](const std::string& line) { traceFile_ << line << '\n'; });
        }
    }
    // A pulled cable ends the transfer at once with the disconnect message,
    // instead of running into time-outs on a closed port.
    port_.onLost = [this](const std::string& reason) { portLost(reason); };
    // A port that cannot be opened is explained (missing device, permission,
    // in use) in the language of the texts.
    port_.setMessageTexts(texts_.lookup());
    port_.setPortLister([this] { return existingComPorts(paths_.mySetupIni()); });
    VersionSwitch versions;
    versions.table = &versions_;
    versions.text = texts_.lookup();
    versions.paths = &paths_;
    versions.executableName = "ztp958fm-cli";
    versions.launcher = nullptr;  // a command-line run never starts another program
    versions.prompt = this;
    machine_ = std::make_unique<TransferMachine>(
        TransferDeps{link(), timers_, *this, *this, *this, versions});
    machine_->setVerifyAfterWrite(options_.verify);
    // No progress window to watch close: the read is decoded and saved at once.
    machine_->setDecodeDelay(0);
    infoExchange_ = std::make_unique<InfoExchange>(link(), timers_);
}

CliSession::~CliSession() = default;

LinkPort& CliSession::link()
{
    if (tracer_) return *tracer_;
    return port_;
}

DocumentContext CliSession::context()
{
    DocumentContext ctx{state_, *this, paths_, versions_, texts_.lookup(), "ztp958fm-cli"};
    return ctx;
}

void CliSession::start()
{
    const std::filesystem::path device = resolvePort(options_.port, paths_.mySetupIni());
    if (device.empty()) {
        std::cerr << "ztp958fm-cli: " << options_.port << " is not a port COM1..COM16\n";
        return finish(2);
    }
    port_.setDeviceName(QString::fromStdString(device.string()));
    device_ = device.string();
    if (!options_.trace.empty() && !traceFile_) {
        std::cerr << "ztp958fm-cli: cannot write the trace file " << options_.trace << "\n";
        return finish(1);
    }
    // Everything the save will need is checked before the first byte is sent:
    // a read takes minutes, and a save failing after it would lose it.
    std::string why;
    const bool outputFails = (options_.command == CliCommand::Read &&
                              !canMakeFiles(dataFileSaveNames(options_.file), 0, why)) ||
                             (options_.command == CliCommand::Info && !options_.file.empty() &&
                              !canMakeFiles({options_.file}, kReplaceTempExtraChars, why));
    if (outputFails) {
        std::cerr << "ztp958fm-cli: cannot save to " << options_.file << ": " << why
                  << "\nNothing was read from the radio.\n";
        return finish(1);
    }

    DocumentContext ctx = context();
    switch (options_.command) {
        case CliCommand::Read:
            if (!isUsableMainPath(options_.file)) {
                std::cerr << "ztp958fm-cli: " << options_.file
                          << " cannot be used as a data file name\n";
                return finish(1);
            }
            store_.New(NewKind::Ordinary, ctx);
            machine_->startRead();
            break;
        case CliCommand::Write: {
            if (!inputReadable()) return finish(1);
            const OpenResult opened = store_.Open(options_.file, ctx);
            if (opened != OpenResult::Opened) {
                std::cerr << "ztp958fm-cli: " << options_.file
                          << ": nothing was written to the radio\n";
                return finish(1);
            }
            machine_->startWrite();
            break;
        }
        case CliCommand::Info:
            started_ = std::chrono::steady_clock::now();
            machine_->startInformationRead();
            break;
        case CliCommand::InfoWrite:
            if (!prepareInformationWrite()) return;
            startInformationWrite();
            break;
        case CliCommand::Show:
            return finish(2);
    }
}

bool CliSession::inputReadable()
{
    // The store's own message does not name the file: say which and why.
    const std::filesystem::path file(options_.file);
    std::error_code ec;
    std::string why;
    if (std::filesystem::is_directory(file, ec)) {
        why = "is a folder, not a data file";
    } else if (!std::filesystem::exists(file, ec)) {
        why = "does not exist";
    } else if (std::ifstream in(file, std::ios::binary); !in) {
        why = std::string("cannot be read (") + std::strerror(errno) + ")";
    }
    if (why.empty()) return true;
    std::cerr << "ztp958fm-cli: " << options_.file << " " << why
              << "; nothing was written to the radio\n";
    return false;
}

Answer CliSession::ask(const Message& message)
{
    const Answer answer = answers_.answer(message);
    if (answers_.interrupted()) post([this] { stopRequested(); });
    return answer;
}

void CliSession::stopRequested()
{
    if (finished_) return;
    if (progressShown_) std::cerr << "\n";
    progressShown_ = false;
    if (options_.command == CliCommand::InfoWrite) {
        const InfoState state = infoExchange_->state();
        infoExchange_->cancel();
        if (state == InfoState::Writing || state == InfoState::BatchWriting)
            std::cerr << "Stopped while a radio was being written: it may hold only part of "
                         "the new dealer data. Write it again.\n";
        else
            std::cerr << "Stopped.\n";
        return finish(130);
    }
    if (machine_->busy()) return machine_->cancel();  // ends through transferFinished
    std::cerr << "Stopped; nothing was saved.\n";
    finish(130);
}

void CliSession::portLost(const std::string& reason)
{
    if (finished_) return;
    if (options_.command != CliCommand::InfoWrite) return machine_->portLost(reason);
    const InfoState state = infoExchange_->state();
    if (state == InfoState::Idle) return;
    infoExchange_->cancel();
    if (progressShown_) std::cerr << "\n";
    progressShown_ = false;
    std::cerr << texts_.GetLangText(msg::PortLost) << "\n" << reason << "\n";
    if (state == InfoState::Writing || state == InfoState::BatchWriting)
        std::cerr << "The radio may hold only part of the new dealer data. Write it again.\n";
    finish(1);
}

void CliSession::endAfterPortLost(const Message& message)
{
    // A lost port is not tried again, whatever --yes or --retries say: the
    // device is gone, and opening it again would only add a second,
    // contradictory message. The command ends once, with the reason.
    if (finished_) return;
    if (progressShown_) std::cerr << "\n";
    progressShown_ = false;
    std::cerr << answers_.messageText(message) << "\n";
    portLost_ = true;
    machine_->cancel();  // ends through transferFinished
}

void CliSession::finish(int status)
{
    if (finished_) return;
    finished_ = true;
    if (tracer_) tracer_->flush();
    if (traceFile_.is_open()) traceFile_.flush();
    QCoreApplication::exit(status);
}

void CliSession::ask(const Message& original, std::function<void(Answer)> answered)
{
    Message message = original;
    if (message.textId == msg::PortFailed) {
        // The programming program's words point to its COM-port window; the
        // command line has its own way to choose the device.
        message.textId = msg::PortFailedCommandLine;
        message.text = portOpenFailureDetail(device_, message.text);
    }
    if (message.textId == msg::PortLost || message.textId == msg::PortLostMidWrite) {
        // The programming program's question offers Retry; here the command ends
        // with the disconnect message, and a write says it must be done again.
        Message lost = message;
        lost.textId = msg::PortLost;
        return post([this, lost] { endAfterPortLost(lost); });
    }
    // Answered on the next turn of the loop, as a message box would be.
    post([this, message, answered = std::move(answered)] {
        if (progressShown_) std::cerr << "\n";
        const Answer answer = answers_.answer(message);
        if (answers_.interrupted()) return stopRequested();
        answered(answer);
    });
}

void CliSession::showWindow(std::function<void()> closed)
{
    windowShown_ = true;
    post([this, closed = std::move(closed)] {
        if (progressShown_) std::cerr << "\n";
        if (!options_.password && interactive()) {
            std::cerr << texts_.GetLangText(text::lang::ProgramPasswordLabel) << ": " << std::flush;
            std::string line;
            if (readTerminalLine(line)) {
                entered_ = line;
            } else if (stopSignalled()) {
                std::cerr << "\n";
                return stopRequested();
            }
        } else {
            std::cerr << "The radio asks for its program password"
                      << (options_.password ? "; the one given does not match.\n"
                                            : ": give it with --password.\n");
        }
        closed();
    });
}

void CliSession::showProgress(TransferKind kind)
{
    // The document was just encoded into the image and nothing is sent yet.
    if (kind == TransferKind::Write && imageInstead_) machine_->image() = *imageInstead_;
    progressLabel_ = texts_.GetLangText(kind == TransferKind::Read ? text::msg::ProgressReading
                                                                   : text::msg::ProgressWriting);
    started_ = std::chrono::steady_clock::now();
    setProgress(0);
}

void CliSession::setProgress(int percent)
{
    if (::isatty(STDERR_FILENO) == 0) return;
    progressShown_ = true;
    std::cerr << "\r" << progressLabel_ << "  " << texts_.GetLangText(text::msg::ProgressLabel)
              << " " << std::setw(3) << percent << "%" << std::flush;
}

void CliSession::closeProgress()
{
    stopped_ = std::chrono::steady_clock::now();
    if (progressShown_) std::cerr << "\n";
    progressShown_ = false;
}

void CliSession::reportTiming()
{
    if (!options_.timing) return;
    if (stopped_ == std::chrono::steady_clock::time_point{})
        stopped_ = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(stopped_ - started_).count();
    std::cerr << std::fixed << std::setprecision(3) << "transfer time: " << seconds
              << " s; bytes sent " << port_.bytesSent() << ", received " << port_.bytesReceived()
              << "\n";
}

void CliSession::documentRead(RadioDocument document, const std::string& fileName)
{
    if (finished_) return;  // stopped before the save: no file is written
    // The decoded read becomes the working copy: save it where the user asked.
    store_.working() = std::move(document);
    store_.markUntitled();
    (void)fileName;
    const std::filesystem::path out(options_.file);
    DocumentContext ctx = context();
    if (!isUsableMainPath(out) || !store_.Save(out, ctx)) {
        std::cerr << "ztp958fm-cli: cannot save " << out.string() << "\n";
        return finish(1);
    }
    if (!options_.ownFile) std::cerr << out.string() << "\n";
    finish(0);
}

void CliSession::showRadioInformation()
{
    stopped_ = std::chrono::steady_clock::now();
    const RadioInfoRecord& r = state_.RadioInfo;
    auto line = [this](int id, const std::string& value) {
        std::string label = texts_.GetLangText(id);
        if (label.empty()) label = std::to_string(id);
        std::cout << label << ": " << value << "\n";
    };
    line(text::local::LabelSalesAreaCode, r.AreaCode);
    line(text::local::LabelManufactureCode, r.ManufactureCode.cut());
    line(text::local::LabelUserCode, r.UserCode.cut());
    line(text::local::LabelSerialNumber, r.SerialNumber.cut());
    line(text::local::LabelProductionDate, r.ProductionDate.cut());
    line(text::local::LabelMaintenanceDate, r.MaintenanceDate.cut());
    line(text::local::LabelMaintenanceDescriptionFirstLine, r.MaintenanceDescription.cut());
    line(text::local::LabelDealerCode, r.DealerCode.cut());
    line(text::local::LabelStockInDate, r.StockInDate.cut());
    line(text::local::LabelSaleDate, r.SaleDate.cut());
    line(text::local::LabelSeller, r.Seller.cut());
    std::cout.flush();
}

void CliSession::endProgram()
{
    finish(1);
}

void CliSession::transferFinished(TransferKind kind, TransferOutcome outcome)
{
    if (portLost_) {
        if (machine_->cancelledMidWrite())
            std::cerr << texts_.GetLangText(msg::WriteAgainAfterPortLost) << "\n";
        return finish(1);
    }
    if (outcome == TransferOutcome::Cancelled) {
        if (machine_->cancelledMidWrite()) {
            Message m;
            m.textId = msg::WriteCancelledMidway;
            std::cerr << answers_.messageText(m) << "\n";
        } else {
            std::cerr << "Stopped; nothing was saved"
                      << (kind == TransferKind::Write ? " and nothing was written to the radio"
                                                      : "")
                      << ".\n";
        }
        return finish(130);
    }
    if (outcome == TransferOutcome::Failed) {
        // A radio that stopped answering part-way through a write holds old and new blocks.
        if (kind == TransferKind::Write && machine_->stoppedMidWrite())
            std::cerr << "The write stopped part-way: the radio may now hold a mix of old and new "
                         "blocks and may not work as expected. Write to the radio again.\n";
        return finish(1);
    }
    reportTiming();
    // A read is finished when its image was decoded (documentRead).
    if (kind == TransferKind::Read) {
        readSucceeded_ = true;
        return;
    }
    if (kind == TransferKind::Information && !options_.file.empty() && !saveInformationFile())
        return finish(1);
    finish(0);
}

bool CliSession::saveInformationFile()
{
    Block ident;
    ident.fill(0xFF);
    InfoBytes block;
    std::copy(machine_->infoBlock().bytes.begin(), machine_->infoBlock().bytes.end(),
              block.begin());
    InfoToolRecord record;
    decodeInfoTool(ident, block, record);
    if (!replaceFileBytes(options_.file, writeInfoFile(infoFileFields(record)))) {
        std::cerr << "ztp958fm-cli: cannot save " << options_.file << "\n";
        return false;
    }
    std::cerr << options_.file << "\n";
    return true;
}

bool CliSession::prepareInformationWrite()
{
    std::map<std::string, std::string> fields;
    if (!options_.file.empty()) {
        std::string text;
        if (!readFileBytes(options_.file, text)) {
            std::cerr << "ztp958fm-cli: cannot read " << options_.file << "\n";
            finish(1);
            return false;
        }
        const InfoFileParse parsed = parseInfoFile(text);
        if (!parsed.error.empty()) {
            std::cerr << "ztp958fm-cli: " << options_.file << ": " << parsed.error << "\n";
            finish(1);
            return false;
        }
        fields = parsed.fields;
    }
    for (const auto& [name, value] : options_.infoFields) fields[name] = value;
    std::string missing;
    for (const auto& name : infoFileWritableFields())
        if (!fields.count(name)) missing += " " + name;
    if (!missing.empty()) {
        std::cerr << "ztp958fm-cli: info-write writes these fields, which were not given (in "
                     "the information file or as options):"
                  << missing << "\n";
        finish(2);
        return false;
    }
    InfoToolRecord& record = infoExchange_->record();
    record = InfoToolRecord{};
    for (const auto& name : infoFileWritableFields()) setInfoFileField(record, name, fields[name]);
    if (fields.count("serial_number")) record.SerialNumber = fields["serial_number"];
    // Texts longer than their field are cut when written: say so rather than
    // let a shortened value pass unnoticed.
    const std::pair<const char*, std::size_t> limits[] = {{"program_password", 4},
                                                          {"dealer_code", 16},
                                                          {"stock_in_date", 16},
                                                          {"sale_date", 16},
                                                          {"seller", 16}};
    for (const auto& [name, limit] : limits) {
        if (fields[name].size() > limit)
            std::cerr << "note: " << name << " has more than " << limit
                      << " characters; only the first " << limit << " are written\n";
    }
    return true;
}

void CliSession::startInformationWrite()
{
    infoExchange_->finished = [this](InfoOutcome outcome) { informationWriteFinished(outcome); };
    infoExchange_->onBatchRadio = [this](int next) {
        std::cerr << "radio " << (next - 1) << " of " << options_.batch << " written";
        if (!infoExchange_->record().SerialNumber.empty())
            std::cerr << "; serial number now " << infoExchange_->record().SerialNumber;
        std::cerr << "\n";
    };
    infoExchange_->onBatchWaiting = [] {
        std::cerr << "waiting for the next radio: take this one away and connect the next "
                     "(Ctrl-C stops)\n";
    };
    if (options_.batch > 0) {
        infoExchange_->startBatch(options_.batch);
    } else {
        infoExchange_->startWrite();
    }
}

void CliSession::informationWriteFinished(InfoOutcome outcome)
{
    const InfoTexts& t = infoTexts(texts_.language());
    switch (outcome) {
        case InfoOutcome::WriteComplete:
            std::cerr << t.writeComplete << "\n";
            if (!infoExchange_->record().SerialNumber.empty())
                std::cout << "serial number: " << infoExchange_->record().SerialNumber << "\n";
            return finish(0);
        case InfoOutcome::BatchComplete:
            std::cerr << t.batchComplete << "\n";
            if (!infoExchange_->record().SerialNumber.empty())
                std::cout << "serial number: " << infoExchange_->record().SerialNumber << "\n";
            return finish(0);
        case InfoOutcome::ReadComplete:
            return finish(0);
        case InfoOutcome::CommunicationError:
            std::cerr << t.communicationError << "\n";
            return finish(1);
        case InfoOutcome::PortOpenFailed:
            std::cerr << t.cannotOpenPort << "\n"
                      << portOpenFailureDetail(device_, infoExchange_->lastOpen().reason) << "\n";
            return finish(1);
    }
    finish(1);
}

}  // namespace zt
