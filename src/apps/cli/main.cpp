// ztp958fm-cli: read, write, information read and listing of data files, for
// scripts and headless use.

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>
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
#include "apps/cli/report_command.h"
#include "apps/cli/show.h"
#include "apps/cli/stop_signal.h"
#include "core/files/data_file.h"
#include "core/files/ini_profile.h"
#include "core/files/install_paths.h"
#include "core/files/language.h"
#include "core/files/settings_location.h"
#include "platform/qt_serial_devices.h"

namespace {

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
    const zt::CliOptions& options = parsed.options;

    QCoreApplication app(argc, argv);
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
    // Ctrl-C and stop signals reach the event loop through a pipe.
    if (zt::catchStopSignals()) {
        stopNotifier = std::make_unique<QSocketNotifier>(zt::stopSignalFd(), QSocketNotifier::Read);
        QObject::connect(stopNotifier.get(), &QSocketNotifier::activated, [&session] {
            zt::drainStopSignals();
            session.stopRequested();
        });
    }
    QTimer::singleShot(0, &app, [&session] { session.start(); });
    return QCoreApplication::exec();
}
