#pragma once

// The programming program started the way main() starts it: a throw-away
// installation with the real language files and the built initial-data files,
// the start-up routine, then the main window opened and shown (the splash is
// skipped). The serial line goes to the virtual radio on a virtual clock;
// prompts are scripted.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "core/link/fresh_radio.h"
#include "core/link/virtual_link.h"
#include "gui/app_context.h"
#include "gui/prompt/scripted_prompt_service.h"
#include "gui/shell/main_window.h"
#include "gui/shell/main_window_start.h"
#include "gui/shell/startup.h"
#include "gui/transfer/transfer_controller.h"

namespace zt::gui::test {

namespace fs = std::filesystem;

struct StartOptions {
    std::uint32_t locale = kLocaleEnglishUs;
    int storedLanguage = 0;  // 0: first run, the language follows the locale
};

class StartedProgram {
  public:
    explicit StartedProgram(StartOptions options = {})
    {
        root_ = fs::path(tmp_.path().toStdString());
        const fs::path program = root_ / "V300";
        fs::create_directories(program / "language");
        fs::create_directories(root_ / "language");
        const fs::path data = fs::path(ZT_SOURCE_DIR) / "data";
        fs::copy_file(data / "Version.ini", root_ / "Version.ini");
        for (const char* f : {"english.ini", "chinese.ini"})
            fs::copy_file(data / "language" / f, program / "language" / f);
        const fs::path init = fs::path(ZT_STAGE_DIR) / "Init";
        initDataPresent_ = fs::exists(init / "ZT-958FM_0_NEW.dat");
        if (initDataPresent_) fs::copy(init, program / "Init");
        {
            std::ofstream setup(root_ / "language" / "mysetup.ini");
            setup << "[language]\nIsFirstRun=" << (options.storedLanguage == 0 ? 1 : 0)
                  << "\ncomPort=1\nCurrentLanguage="
                  << (options.storedLanguage == 0 ? 1 : options.storedLanguage) << "\n";
        }

        app.paths.programDir = program;
        app.prompt = &prompt;
        prepareProgram(app, options.locale);

        radio.memory() = freshRadioMemory(FreshRadioOptions{});
        window = openMainWindow(app, [this](MainWindow& w) {
            w.setPositionStore(QString::fromStdString((root_ / "position.ini").string()));
            w.useLink(port, clock);
        });
        QApplication::processEvents();
    }
    ~StartedProgram()
    {
        // Answer whatever the close still asks without saving.
        prompt.defaultAnswer = Answer::No;
        window.reset();
    }

    bool initDataPresent() const { return initDataPresent_; }
    fs::path root() const { return root_; }
    QAction* action(const char* name) const { return window->findChild<QAction*>(name); }

    // Runs the virtual clock and the event loop until done() or a bound is reached.
    void runUntil(const std::function<bool()>& done)
    {
        for (int i = 0; i < 200000 && !done(); ++i) {
            QCoreApplication::processEvents();
            if (done()) break;
            if (!clock.runNext()) QTest::qWait(1);
        }
    }

    AppContext app;
    ScriptedPromptService prompt;
    VirtualClock clock;
    VirtualRadio radio{clock};
    EnginePort port{clock, radio};
    std::unique_ptr<MainWindow> window;

  private:
    QTemporaryDir tmp_;
    fs::path root_;
    bool initDataPresent_ = false;
};

}  // namespace zt::gui::test
