// ztp958fm-cli: read, write, information read and listing of data files, for
// scripts and headless use.

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "apps/cli/channels_command.h"
#include "apps/cli/cli_options.h"
#include "apps/cli/cli_session.h"
#include "apps/cli/ports_command.h"
#include "apps/cli/production_command.h"
#include "apps/cli/report_command.h"
#include "apps/cli/show.h"
#include "core/files/data_file.h"
#include "core/files/ini_profile.h"
#include "core/files/install_paths.h"
#include "core/files/language.h"
#include "core/files/settings_location.h"
#include "platform/qt_serial_devices.h"

namespace {

// Ctrl-C and stop signals reach the event loop through a pipe: the handler
// only writes a byte, the loop does the stopping.
int stopPipe[2] = {-1, -1};

void onStopSignal(int)
{
    const char byte = 1;
    if (::write(stopPipe[1], &byte, 1) < 0) {
        // Nothing can be done inside a signal handler; a pending byte suffices.
    }
}

bool catchStopSignals()
{
    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    return sigaction(SIGINT, &sa, nullptr) == 0 && sigaction(SIGTERM, &sa, nullptr) == 0;
}

int showFile(const zt::CliOptions& options, const zt::LanguageTexts& texts)
{
    const zt::ParsedDataFile parsed = zt::readDataFile(options.file);
    if (parsed.messageId != 0) {
        std::cerr << texts.GetLangText(parsed.messageId) << "\n" << options.file << "\n";
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
    if (catchStopSignals()) {
        stopNotifier = std::make_unique<QSocketNotifier>(stopPipe[0], QSocketNotifier::Read);
        QObject::connect(stopNotifier.get(), &QSocketNotifier::activated, [&command] {
            char bytes[16];
            while (::read(stopPipe[0], bytes, sizeof bytes) > 0) {
            }
            command.stopRequested();
        });
    }
    QTimer::singleShot(0, &app, [&command] { command.start(); });
    return QCoreApplication::exec();
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "ports") {
        QCoreApplication app(argc, argv);
        const zt::SystemSerialDevices devices;
        return zt::runPortsCommand(args, installPaths().mySetupIni(), devices, std::cout,
                                   std::cerr);
    }
    if (!args.empty() && args[0] == "report") {
        zt::useOffscreenPlatformUnlessSet();
        QGuiApplication app(argc, argv);
        return zt::runReportCommand(args, installPaths(), std::cout, std::cerr);
    }
    if (!args.empty() && (args[0] == "identify" || args[0] == "line"))
        return runProductionCommand(argc, argv, args);
    if (!args.empty() && (args[0] == "export" || args[0] == "import"))
        return zt::runChannelsCommand(args, std::cout, std::cerr);
    const zt::CliParse parsed = zt::parseCliOptions(args);
    if (parsed.help) {
        std::cout << zt::cliUsage();
        return 0;
    }
    if (!parsed.error.empty()) {
        std::cerr << "ztp958fm-cli: " << parsed.error << "\n" << zt::cliUsage();
        return 2;
    }
    zt::CliOptions options = parsed.options;

    QCoreApplication app(argc, argv);
    if (options.command != zt::CliCommand::Show && options.port.empty()) {
        options.port = zt::onlyUsbAdapter(zt::SystemSerialDevices(), std::cerr);
        if (options.port.empty()) return 2;
    }
    const zt::InstallPaths paths = installPaths();
    int language = options.language;
    if (language == 0) {
        language =
            zt::readProfileString(paths.mySetupIni(), "language", "CurrentLanguage", "1") == "2"
                ? zt::kLanguageChinese
                : zt::kLanguageEnglish;
    }
    zt::LanguageTexts texts(paths.languageDir(), language);

    if (options.command == zt::CliCommand::Show) return showFile(options, texts);

    zt::CliSession session(options, paths, texts);
    std::unique_ptr<QSocketNotifier> stopNotifier;
    if (catchStopSignals()) {
        stopNotifier = std::make_unique<QSocketNotifier>(stopPipe[0], QSocketNotifier::Read);
        QObject::connect(stopNotifier.get(), &QSocketNotifier::activated, [&session] {
            char bytes[16];
            while (::read(stopPipe[0], bytes, sizeof bytes) > 0) {
            }
            session.stopRequested();
        });
    }
    QTimer::singleShot(0, &app, [&session] { session.start(); });
    return QCoreApplication::exec();
}
