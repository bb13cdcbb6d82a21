// ZTP958FMSetO, the dealer's radio information tool: reads a radio's
// information block, writes its dealer part to one radio or to a series of
// radios in turn.
//
// Options (for scripts):
//   --screenshot FILE   show the window, save a picture of it as FILE (PNG) and end;
//                       mysetup.ini is left unchanged. For the Chinese window run it with
//                       LC_ALL=zh_CN.UTF-8, e.g.
//                       LC_ALL=zh_CN.UTF-8 xvfb-run -a SetO/ZTP958FMSetO --screenshot zh.png
// The language follows the system locale (LC_ALL, LC_MESSAGES or LANG; "zh_CN"
// gives Chinese).

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "core/edit/infotool_rules.h"
#include "core/files/settings_location.h"
#include "gui/infotool/info_tool_window.h"
#include "gui/infotool/system_host.h"
#include "gui/prompt/qt_prompt_service.h"

using namespace zt;

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);

    QString screenshot;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--screenshot" && i + 1 < args.size()) {
            screenshot = args[++i];
        } else if (args[i] == "--help" || args[i] == "-h") {
            std::printf("usage: ZTP958FMSetO [--screenshot FILE]\n");
            return 0;
        }
    }

    const std::filesystem::path programDir = QCoreApplication::applicationDirPath().toStdString();
    // A screenshot run works on a copy of the settings, so it changes nothing.
    // A read-only installation keeps the settings in the user's folder.
    const SettingsLocation location{programDir.parent_path(), userConfigFolder(std::getenv)};
    std::filesystem::path settings = location.place(infotool::settingsIniOf(programDir));
    QTemporaryDir scratch;
    if (!screenshot.isEmpty() && scratch.isValid()) {
        const std::filesystem::path copy =
            std::filesystem::path(scratch.path().toStdString()) / "mysetup.ini";
        std::error_code ignored;
        std::filesystem::copy_file(settings, copy, ignored);
        settings = copy;
    }
    infotool::SystemHost system(settings);
    gui::QtPromptService prompt(
        [] { return QString::fromUtf8(infotool::kCaption.data(), infotool::kCaption.size()); },
        [](int) { return std::string(); });

    infotool::InfoToolWindow window(system.host(prompt, infotool::systemLanguage()));
    system.connect(window);
    prompt.setParent(&window);
    window.formLoad();
    window.show();

    if (!screenshot.isEmpty()) {
        QTimer::singleShot(200, [&] {
            const bool saved = window.grab().save(screenshot, "PNG");
            std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(screenshot));
            std::fflush(stdout);
            window.hide();
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return QApplication::exec();
}
