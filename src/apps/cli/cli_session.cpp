#include "apps/cli/cli_session.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <iomanip>
#include <iostream>

#include "core/files/data_file.h"
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

bool CliAnswers::askTerminal(const std::string& question) const
{
    std::cerr << question << " [y/N] " << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) return false;
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
        return decline;
    }
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
    port_.onReceived = [this](std::span<const std::uint8_t> bytes) {
        if (machine_) machine_->onReceived(bytes);
    };
    // A port that cannot be opened is explained (missing device, permission,
    // in use) in the language of the texts.
    port_.setMessageTexts(texts_.lookup());
    VersionSwitch versions;
    versions.table = &versions_;
    versions.text = texts_.lookup();
    versions.paths = &paths_;
    versions.executableName = "ztp958fm-cli";
    versions.launcher = nullptr;  // a command-line run never starts another program
    versions.prompt = this;
    machine_ = std::make_unique<TransferMachine>(
        TransferDeps{port_, timers_, *this, *this, *this, versions});
}

CliSession::~CliSession() = default;

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

    DocumentContext ctx = context();
    switch (options_.command) {
        case CliCommand::Read:
            store_.New(NewKind::Ordinary, ctx);
            machine_->startRead();
            break;
        case CliCommand::Write: {
            const OpenResult opened = store_.Open(options_.file, ctx);
            if (opened != OpenResult::Opened) return finish(1);
            machine_->startWrite();
            break;
        }
        case CliCommand::Info:
            started_ = std::chrono::steady_clock::now();
            machine_->startInformationRead();
            break;
        case CliCommand::Show:
            return finish(2);
    }
}

void CliSession::finish(int status)
{
    if (finished_) return;
    finished_ = true;
    QCoreApplication::exit(status);
}

void CliSession::ask(const Message& message, std::function<void(Answer)> answered)
{
    // Answered on the next turn of the loop, as a message box would be.
    post([this, message, answered = std::move(answered)] {
        if (progressShown_) std::cerr << "\n";
        answered(answers_.answer(message));
    });
}

void CliSession::showWindow(std::function<void()> closed)
{
    windowShown_ = true;
    post([this, closed = std::move(closed)] {
        if (progressShown_) std::cerr << "\n";
        if (!options_.password && interactive()) {
            std::cerr << texts_.GetLangText(23101) << ": " << std::flush;
            std::string line;
            if (std::getline(std::cin, line)) entered_ = line;
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
    progressLabel_ = texts_.GetLangText(kind == TransferKind::Read ? 9027 : 9028);
    started_ = std::chrono::steady_clock::now();
    setProgress(0);
}

void CliSession::setProgress(int percent)
{
    if (::isatty(STDERR_FILENO) == 0) return;
    progressShown_ = true;
    std::cerr << "\r" << progressLabel_ << "  " << texts_.GetLangText(9029) << " " << std::setw(3)
              << percent << "%" << std::flush;
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

void CliSession::documentReplaced(const std::string& fileName)
{
    // The read was decoded into the working copy: save it where the user asked.
    store_.markUntitled();
    (void)fileName;
    const std::filesystem::path out(options_.file);
    DocumentContext ctx = context();
    if (!isUsableMainPath(out) || !store_.Save(out, ctx)) {
        std::cerr << "ztp958fm-cli: cannot save " << out.string() << "\n";
        return finish(1);
    }
    std::cerr << out.string() << "\n";
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
    line(21002, r.AreaCode);
    line(21003, r.ManufactureCode.cut());
    line(21004, r.UserCode.cut());
    line(21007, r.SerialNumber.cut());
    line(21008, r.ProductionDate.cut());
    line(21009, r.MaintenanceDate.cut());
    line(21011, r.MaintenanceDescription.cut());
    line(21013, r.DealerCode.cut());
    line(21014, r.StockInDate.cut());
    line(21015, r.SaleDate.cut());
    line(21016, r.Seller.cut());
    std::cout.flush();
}

void CliSession::endProgram()
{
    finish(1);
}

void CliSession::transferEnded(TransferKind kind, bool success)
{
    if (!success) return finish(1);
    reportTiming();
    // A read is finished when its image was decoded (documentReplaced).
    if (kind == TransferKind::Read) {
        readSucceeded_ = true;
        return;
    }
    finish(0);
}

}  // namespace zt
