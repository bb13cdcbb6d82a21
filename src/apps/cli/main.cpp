// ztp958fm-cli: read, write, information read and listing of data files, for
// scripts and headless use.

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "apps/cli/channels_command.h"
#include "apps/cli/cli_options.h"
#include "apps/cli/cli_session.h"
#include "apps/cli/command_files.h"
#include "apps/cli/history_commands.h"
#include "apps/cli/ports_command.h"
#include "apps/cli/production_command.h"
#include "apps/cli/report_command.h"
#include "apps/cli/show.h"
#include "apps/cli/stop_signal.h"
#include "core/files/data_file.h"
#include "core/files/ini_profile.h"
#include "core/files/install_paths.h"
#include "core/files/language.h"
#include "core/files/settings_location.h"
#include "core/history/snapshot_store.h"
#include "platform/qt_serial_devices.h"

namespace {

int showFile(const zt::CliOptions& options, const zt::LanguageTexts& texts)
{
    zt::ReasonKeepingFileOps ops;
    const zt::ParsedDataFile parsed = zt::readDataFile(options.file, ops);
    if (parsed.messageId != 0) {
        std::cerr << texts.GetLangText(parsed.messageId) << "\n"
                  << (ops.reason().empty() ? options.file : ops.reason()) << "\n";
        return 1;
    }
    zt::showDocument(parsed.document, texts.lookup(), std::cout);
    std::cout.flush();
    return 0;
}

// The installation of this executable; a read-only one keeps the settings in
// the user's folder.
zt::InstallPaths installPaths()
{
    const zt::InstallPaths installed = zt::InstallPaths::fromExecutable(
        std::filesystem::path(QCoreApplication::applicationFilePath().toStdString()));
    return zt::withWritableSettings(
        installed, zt::SettingsLocation{installed.root(), zt::userConfigFolder(std::getenv)});
}

// The language of the messages: --lang, else as mysetup.ini says.
int messageLanguage(int chosen, const zt::InstallPaths& paths)
{
    return chosen != 0 ? chosen : zt::configuredLanguage(paths);
}

// identify and line: the production commands, stopped by Ctrl-C like a transfer.
int runProductionCommand(int argc, char** argv, const std::vector<std::string>& args)
{
    QCoreApplication app(argc, argv);
    const zt::InstallPaths paths = installPaths();
    const zt::LanguageTexts texts(paths.languageDir(), zt::configuredLanguage(paths));
    const zt::SystemSerialDevices devices;
    zt::ProductionCommand command(args, paths, texts, devices, std::cout, std::cerr);
    if (command.earlyStatus() >= 0) return command.earlyStatus();
    std::unique_ptr<QSocketNotifier> stopNotifier;
    if (zt::catchStopSignals()) {
        stopNotifier = std::make_unique<QSocketNotifier>(zt::stopSignalFd(), QSocketNotifier::Read);
        QObject::connect(stopNotifier.get(), &QSocketNotifier::activated, [&command] {
            zt::drainStopSignals();
            command.stopRequested();
        });
    }
    QTimer::singleShot(0, &app, [&command] { command.start(); });
    return QCoreApplication::exec();
}

// One transfer on the event loop: Ctrl-C stops it, the loop ends with its exit status.
int runSession(const zt::CliOptions& options, const zt::InstallPaths& paths,
               zt::LanguageTexts& texts, const std::function<void(zt::CliSession&)>& prepare,
               const std::function<void(zt::CliSession&)>& done, bool quiet)
{
    zt::CliSession session(options, paths, texts);
    if (prepare) prepare(session);
    std::unique_ptr<QSocketNotifier> stopNotifier;
    // Ctrl-C and stop signals reach the event loop through a pipe.
    if (zt::stopSignalFd() >= 0) {
        stopNotifier = std::make_unique<QSocketNotifier>(zt::stopSignalFd(), QSocketNotifier::Read);
        QObject::connect(stopNotifier.get(), &QSocketNotifier::activated, [&session] {
            zt::drainStopSignals();
            session.stopRequested();
        });
    }
    std::ostringstream discarded;
    std::streambuf* const shown = quiet ? std::cout.rdbuf(discarded.rdbuf()) : nullptr;
    QTimer::singleShot(0, QCoreApplication::instance(), [&session] { session.start(); });
    const int status = QCoreApplication::exec();
    if (shown) std::cout.rdbuf(shown);
    if (done && status == 0) done(session);
    return status;
}

// The files a transfer command reads and writes, checked before anything is opened: the
// trace file and a raw image are files too.
std::string transferFileConflict(const zt::CliOptions& o)
{
    using zt::CliCommand;
    std::vector<zt::NamedFile> inputs;
    std::vector<zt::NamedFile> outputs;
    if (o.command == CliCommand::Read) {
        outputs.push_back({o.file, true});
        outputs.push_back({o.raw, false});
    }
    if (o.command == CliCommand::Info) outputs.push_back({o.file, false});
    if (o.command == CliCommand::Write) {
        inputs.push_back({o.file, true});
        inputs.push_back({o.raw, false});
    }
    if (o.command == CliCommand::InfoWrite) inputs.push_back({o.file, false});
    outputs.push_back({o.trace, false});
    return zt::overwriteConflict(inputs, outputs);
}

int runCommand(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "ports") {
        QCoreApplication app(argc, argv);
        const zt::SystemSerialDevices devices;
        return zt::runPortsCommand(args, installPaths().mySetupIni(), devices, std::cout,
                                   std::cerr);
    }
    if (!args.empty() && args[0] == "report") {
        zt::ReportArgs report;
        if (zt::parseReportArgs(args, report).empty()) {
            const std::string conflict =
                zt::overwriteConflict({{report.input, true}}, {{report.output, false}});
            if (!conflict.empty()) {
                std::cerr << "ztp958fm-cli: " << conflict << "\n";
                return 2;
            }
        }
        zt::useOffscreenPlatformUnlessSet();
        QGuiApplication app(argc, argv);
        return zt::runReportCommand(args, installPaths(), std::cout, std::cerr);
    }
    if (!args.empty() && (args[0] == "identify" || args[0] == "line"))
        return runProductionCommand(argc, argv, args);
    if (!args.empty() && (args[0] == "export" || args[0] == "import"))
        return zt::runChannelsCommand(args, std::cout, std::cerr);
    const bool historyCommand =
        !args.empty() && (args[0] == "diff" || args[0] == "backups" || args[0] == "restore");
    const zt::CliParse parsed = historyCommand ? zt::CliParse{} : zt::parseCliOptions(args);
    if (parsed.help) {
        std::cout << zt::cliUsage() << "more commands:\n" << zt::historyUsage();
        return 0;
    }
    if (!parsed.error.empty()) {
        std::cerr << "ztp958fm-cli: " << parsed.error << "\n" << zt::cliUsage();
        return 2;
    }
    zt::CliOptions options = parsed.options;
    if (const std::string conflict = transferFileConflict(options); !conflict.empty()) {
        std::cerr << "ztp958fm-cli: " << conflict << "\n";
        return 2;
    }

    QCoreApplication app(argc, argv);
    if (!historyCommand && options.command != zt::CliCommand::Show && options.port.empty()) {
        options.port = zt::onlyUsbAdapter(zt::SystemSerialDevices(), std::cerr);
        if (options.port.empty()) return 2;
    }
    const zt::InstallPaths paths = installPaths();
    zt::LanguageTexts texts(paths.languageDir(), messageLanguage(options.language, paths));

    if (!historyCommand && options.command == zt::CliCommand::Show) return showFile(options, texts);

    // Reads and writes keep snapshots of the radio in the user's data folder.
    const zt::SystemWallClock wallClock;
    zt::SnapshotStore snapshots(zt::defaultSnapshotRoot(std::getenv), wallClock);
    zt::catchStopSignals();
    zt::HistoryContext history{
        [&](const zt::CliOptions& o, const std::function<void(zt::CliSession&)>& prepare,
            const std::function<void(zt::CliSession&)>& done,
            bool quiet) { return runSession(o, paths, texts, prepare, done, quiet); },
        snapshots, ZT_PROGRAM_VERSION, std::cout, std::cerr};
    if (historyCommand) return zt::runHistoryCommand(args, history);
    if (options.command == zt::CliCommand::Read) return zt::runReadWithSnapshot(options, history);
    if (options.command == zt::CliCommand::Write) return zt::runWriteWithBackup(options, history);

    return runSession(options, paths, texts, {}, {}, false);
}

}  // namespace

int main(int argc, char** argv)
{
    // Whatever fails unexpectedly ends the command with a message, never an abort.
    try {
        return runCommand(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "ztp958fm-cli: " << e.what() << "\n";
    } catch (...) {
        std::cerr << "ztp958fm-cli: unexpected failure\n";
    }
    return 1;
}
