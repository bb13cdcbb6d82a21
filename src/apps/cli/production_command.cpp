#include "apps/cli/production_command.h"

#include <QCoreApplication>
#include <charconv>
#include <cstdlib>
#include <iomanip>
#include <iostream>

#include "core/files/data_file.h"
#include "core/files/ini_profile.h"
#include "core/files/version_manager.h"
#include "core/host/clock.h"
#include "core/production/production_job.h"
#include "core/production/production_line.h"
#include "core/production/radio_session.h"
#include "core/production/unit_log.h"
#include "platform/port_table.h"
#include "platform/qt_timers.h"
#include "platform/serial_link_port.h"

namespace zt {

namespace {

const char* kUsage =
    "usage:\n"
    "  ztp958fm-cli identify [--port P] [--json] [--password PW]\n"
    "  ztp958fm-cli line JOB.json --port P1 [--port P2 ...] [--count N] [--log FILE]\n"
    "                    [--resume FILE] [--password PW]\n"
    "Without --port the only USB serial adapter present is used.\n";

std::string jsonText(const std::string& s)
{
    static const char* hex = "0123456789abcdef";
    std::string out = "\"";
    for (char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (b < 0x20) {
            out += "\\u00";
            out.push_back(hex[b >> 4]);
            out.push_back(hex[b & 0x0F]);
        } else {
            out.push_back(c);
        }
    }
    return out + "\"";
}

// The folder of the user's data ($XDG_DATA_HOME/ztp958fm, else ~/.local/share/ztp958fm).
std::filesystem::path userDataFolder()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg) return std::filesystem::path(xdg) / "ztp958fm";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : ".") / ".local/share/ztp958fm";
}

}  // namespace

std::string onlyUsbAdapter(const SerialDeviceSource& devices, std::ostream& err)
{
    std::vector<SerialDevice> usb;
    for (const auto& d : devices.devices())
        if (d.isUsb()) usb.push_back(d);
    if (usb.size() == 1) {
        const SerialDevice& d = usb.front();
        err << "using " << d.path << (d.description.empty() ? "" : " (" + d.description + ")")
            << ", the only USB serial adapter present\n";
        return d.path;
    }
    if (usb.empty()) {
        err << "no USB serial adapter is present: connect the cable or name the port with "
               "--port\n";
    } else {
        err << usb.size() << " USB serial adapters are present; name the one to use with --port:";
        for (const auto& d : usb) err << " " << d.path;
        err << "\n";
    }
    return {};
}

int configuredLanguage(const InstallPaths& paths)
{
    return readProfileString(paths.mySetupIni(), "language", "CurrentLanguage", "1") == "2"
               ? kLanguageChinese
               : kLanguageEnglish;
}

struct ProductionCommand::State {
    State(std::vector<std::string> a, const InstallPaths& p, const LanguageTexts& t,
          const SerialDeviceSource& d, std::ostream& o, std::ostream& e)
        : args(std::move(a)), paths(p), texts(t), devices(d), out(o), err(e)
    {
    }
    std::vector<std::string> args;
    const InstallPaths& paths;
    const LanguageTexts& texts;
    const SerialDeviceSource& devices;
    std::ostream& out;
    std::ostream& err;

    bool identify = false;
    bool json = false;
    std::vector<std::string> portNames;
    std::string jobFile;
    int count = 0;
    std::string logFile;
    std::string resumeFile;
    std::string password;

    QtTimerFactory timers;
    SteadyClock clock;
    VersionTable versions;
    std::vector<std::unique_ptr<SerialLinkPort>> ports;
    std::unique_ptr<RadioSession> session;
    std::unique_ptr<ProductionLine> line;
    UnitLogFile log;
    std::vector<std::string> portProblems;  // said for each port, to say a change once
    bool finished = false;
    bool stopped = false;
};

ProductionCommand::ProductionCommand(std::vector<std::string> args, const InstallPaths& paths,
                                     const LanguageTexts& texts, const SerialDeviceSource& devices,
                                     std::ostream& out, std::ostream& err)
    : s_(std::make_unique<State>(std::move(args), paths, texts, devices, out, err))
{
    State& s = *s_;
    s.identify = s.args.at(0) == "identify";
    auto misuse = [&](const std::string& what) {
        s.err << "ztp958fm-cli: " << what << "\n" << kUsage;
        earlyStatus_ = 2;
    };
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < s.args.size(); ++i) {
        const std::string& a = s.args[i];
        auto value = [&]() -> const std::string* {
            if (i + 1 >= s.args.size()) return nullptr;
            return &s.args[++i];
        };
        const bool takesValue =
            a == "--port" || a == "-p" || a == "--password" ||
            (!s.identify && (a == "--count" || a == "--log" || a == "--resume"));
        if (a == "--help" || a == "-h") {
            s.out << kUsage;
            earlyStatus_ = 0;
            return;
        }
        if (takesValue) {
            const std::string* v = value();
            if (!v) {
                misuse(a + " needs a value");
                return;
            }
            if (a == "--port" || a == "-p") {
                s.portNames.push_back(*v);
            } else if (a == "--password") {
                s.password = *v;
            } else if (a == "--count") {
                int n = 0;
                const auto [p, ec] = std::from_chars(v->data(), v->data() + v->size(), n);
                if (ec != std::errc() || p != v->data() + v->size() || n < 1) {
                    misuse("--count takes a number of radios, 1 or more");
                    return;
                }
                s.count = n;
            } else if (a == "--log") {
                s.logFile = *v;
            } else {
                s.resumeFile = *v;
            }
        } else if (s.identify && a == "--json") {
            s.json = true;
        } else if (a.size() > 1 && a[0] == '-') {
            {
                misuse("unknown option '" + a + "'");
                return;
            }
        } else {
            positional.push_back(a);
        }
    }
    if (s.identify) {
        if (!positional.empty()) {
            misuse("unexpected argument '" + positional[0] + "'");
            return;
        }
        if (s.portNames.size() > 1) {
            misuse("identify takes one --port");
            return;
        }
    } else {
        if (positional.size() != 1) {
            misuse("line needs exactly one job file");
            return;
        }
        s.jobFile = positional[0];
    }
    if (s.portNames.empty()) {
        const std::string only = onlyUsbAdapter(s.devices, s.err);
        if (only.empty()) {
            earlyStatus_ = 2;
            return;
        }
        s.portNames.push_back(only);
    }
    for (const auto& name : s.portNames) {
        const std::filesystem::path device = resolvePort(name, s.paths.mySetupIni());
        if (device.empty()) {
            s.err << "ztp958fm-cli: " << name << " is not a port COM1..COM16\n";
            earlyStatus_ = 2;
            return;
        }
        for (const auto& other : s.ports) {
            if (other->deviceName().toStdString() == device.string()) {
                s.err << "ztp958fm-cli: " << name << " is named twice\n";
                earlyStatus_ = 2;
                return;
            }
        }
        auto port = std::make_unique<SerialLinkPort>(QString::fromStdString(device.string()));
        port->setMessageTexts(s.texts.lookup());
        s.ports.push_back(std::move(port));
    }
    s.versions = loadVersionTable(s.paths.versionIni());
}

ProductionCommand::~ProductionCommand() = default;

void ProductionCommand::finish(int status)
{
    if (s_->finished) return;
    s_->finished = true;
    s_->log.close();
    QCoreApplication::exit(status);
}

void ProductionCommand::start()
{
    if (s_->identify) return startIdentify();
    startLine();
}

void ProductionCommand::stopRequested()
{
    State& s = *s_;
    if (s.finished) return;
    s.stopped = true;
    if (s.line) return s.line->stop();  // ends through onFinished
    if (s.session) s.session->cancel();
    s.err << "Stopped.\n";
    finish(130);
}

void ProductionCommand::startIdentify()
{
    State& s = *s_;
    SerialLinkPort& port = *s.ports.front();
    s.session = std::make_unique<RadioSession>(port, s.timers, s.texts.lookup(), &s.versions);
    s.session->setPassword(s.password);
    port.onLost = [this](const std::string& reason) { s_->session->portLost(reason); };
    s.session->identify([this](const StepResult& result, const IdentifiedRadio& id) {
        State& st = *s_;
        if (st.finished) return;
        if (!result.ok) {
            st.err << "ztp958fm-cli: no radio identified on " << st.portNames.front() << ": "
                   << result.reason << "\n";
            return finish(result.cancelled ? 130 : 1);
        }
        char flags[8];
        std::snprintf(flags, sizeof flags, "0x%02X", id.flags);
        if (st.json) {
            st.out << "{\n  \"port\": " << jsonText(st.ports.front()->deviceName().toStdString())
                   << ",\n  \"model\": " << jsonText(id.model)
                   << ",\n  \"variant\": " << id.bandCode
                   << ",\n  \"firmware\": " << jsonText(id.firmware)
                   << ",\n  \"band\": " << jsonText(id.bandText())
                   << ",\n  \"flags\": " << int(id.flags)
                   << ",\n  \"serial_number\": " << jsonText(id.serialNumber) << "\n}\n";
        } else {
            st.out << "model: " << id.model << "\nvariant: " << id.bandCode
                   << "\nfirmware: " << id.firmware << "\nband: " << id.bandText()
                   << "\nflags: " << flags << "\nserial number: " << id.serialNumber << "\n";
        }
        st.out.flush();
        finish(0);
    });
}

void ProductionCommand::startLine()
{
    State& s = *s_;
    std::string text;
    if (!readFileBytes(s.jobFile, text)) {
        s.err << "ztp958fm-cli: cannot read the job file " << s.jobFile << "\n";
        return finish(2);
    }
    const ProductionJobParse parsed =
        parseProductionJob(text, std::filesystem::path(s.jobFile).parent_path());
    if (!parsed.error.empty()) {
        s.err << "ztp958fm-cli: " << s.jobFile << ": " << parsed.error << "\n";
        return finish(2);
    }
    LineJob job;
    const std::string problem = prepareLineJob(parsed.job, s.texts.lookup(), job);
    if (!problem.empty()) {
        s.err << "ztp958fm-cli: " << s.jobFile << ": " << problem << "\n";
        return finish(2);
    }
    LineSettings settings;
    settings.count = s.count;
    settings.password = s.password;
    if (!s.resumeFile.empty()) {
        std::string logText;
        if (!readFileBytes(s.resumeFile, logText)) {
            s.err << "ztp958fm-cli: cannot read " << s.resumeFile << "\n";
            return finish(2);
        }
        const ResumeState resume = readResumeState(logText);
        if (!resume.error.empty()) {
            s.err << "ztp958fm-cli: " << s.resumeFile << ": " << resume.error << "\n";
            return finish(2);
        }
        settings.skipSerials = resume.doneSerials;
        // The counted serial number goes on after the last radio done.
        if (!resume.lastCountedSerial.empty() && job.information)
            job.countedSerial = advanceSerialNumber(resume.lastCountedSerial);
        s.err << "resuming " << s.resumeFile << ": " << resume.doneSerials.size()
              << " radios already done are skipped\n";
    }
    std::filesystem::path logPath = s.logFile;
    if (logPath.empty()) {
        logPath = userDataFolder() / "production-units.csv";
        std::error_code ec;
        std::filesystem::create_directories(logPath.parent_path(), ec);
    }
    const std::string logProblem = s.log.open(logPath);
    if (!logProblem.empty()) {
        s.err << "ztp958fm-cli: " << logProblem << "\n";
        return finish(1);
    }
    s.err << "log: " << logPath.string() << "\n";

    std::vector<ProductionLine::Port> ports;
    for (std::size_t i = 0; i < s.ports.size(); ++i)
        ports.push_back({s.ports[i]->deviceName().toStdString(), s.ports[i].get()});
    s.portProblems.assign(s.ports.size(), std::string());
    s.line = std::make_unique<ProductionLine>(std::move(job), settings, ports, s.timers, s.clock,
                                              s.texts.lookup(), &s.versions);
    for (std::size_t i = 0; i < s.ports.size(); ++i) {
        s.ports[i]->onLost = [this, i](const std::string& reason) {
            s_->line->portLost(i, reason);
        };
    }
    s.line->onUnit = [this](const UnitRecord& u) {
        State& st = *s_;
        if (!st.log.append(u)) st.err << "ztp958fm-cli: the log could not be written\n";
        st.out << u.port << ": " << (u.serialNumber.empty() ? "(no serial number)" : u.serialNumber)
               << " " << unitResultName(u.result) << std::fixed << std::setprecision(1) << " ("
               << u.seconds << " s)" << (u.error.empty() ? "" : ": " + u.error) << "\n";
        st.out.flush();
    };
    s.line->onPortChanged = [this](std::size_t i) {
        State& st = *s_;
        const LinePortStatus status = st.line->status(i);
        if (status.portProblem == st.portProblems[i]) return;
        st.portProblems[i] = status.portProblem;
        st.err << status.name << ": "
               << (status.portProblem.empty() ? "the port works again" : status.portProblem)
               << "\n";
    };
    s.line->onFinished = [this] {
        State& st = *s_;
        const LineSummary sum = st.line->summary();
        st.err << "done " << sum.done << ", failed " << sum.failed << ", skipped " << sum.skipped
               << "; " << std::fixed << std::setprecision(1) << sum.radiosPerHour()
               << " radios per hour\n";
        // Leave the line's own stack before it is taken down.
        const int status = st.stopped ? 130 : sum.failed > 0 ? 1 : 0;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [this, status] { finish(status); }, Qt::QueuedConnection);
    };
    s.err << "line on " << s.ports.size() << " port" << (s.ports.size() == 1 ? "" : "s")
          << (s.count > 0 ? ", " + std::to_string(s.count) + " radios" : std::string())
          << "; Ctrl-C stops\n";
    s.line->start();
}

}  // namespace zt
