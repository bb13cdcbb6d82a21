#pragma once

// The programming program's main window on the virtual radio's engine and a
// virtual clock, with scripted prompts: its Read, Write and information-read
// commands run end to end without a serial device.

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>

#include "core/link/fresh_radio.h"
#include "core/link/virtual_link.h"
#include "core/radio/channel_edit.h"
#include "core/radio/image_codec.h"
#include "gui/app_context.h"
#include "gui/prompt/scripted_prompt_service.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/main_window.h"
#include "gui/shell/startup.h"
#include "gui/transfer/transfer_controller.h"
#include "gui/transfer/transfer_progress_dialog.h"

namespace zt::gui::test {

namespace fs = std::filesystem;

class ProgramTransfer : public ::testing::Test {
  protected:
    void SetUp() override
    {
        const fs::path root(tmp.path().toStdString());
        fs::create_directories(root / "V300" / "language");
        fs::create_directories(root / "language");
        const fs::path data = fs::path(ZT_SOURCE_DIR) / "data";
        fs::copy_file(data / "Version.ini", root / "Version.ini");
        fs::copy_file(data / "language" / "english.ini",
                      root / "V300" / "language" / "english.ini");
        app.paths.programDir = root / "V300";
        app.prompt = &prompt;
        prepareProgram(app, kLocaleEnglishUs);

        radio.memory() = freshRadioMemory(options);
        main = std::make_unique<MainWindow>(app);
        main->setPositionStore(QString::fromStdString((root / "pos.ini").string()));
        main->useLink(port, clock);
        main->formLoad();
        main->transfers().setWindows(windowsWithRecording());
        prompt.asked.clear();
    }

    // The main window's reactions, plus a note of every end.
    TransferWindows windowsWithRecording()
    {
        TransferWindows w;
        w.closeAllDocumentWindows = [this] { main->closeAllChildWindows(); };
        w.documentReplaced = [this](const std::string&) {
            main->showDocumentCaption();
            main->showChildWindow(window::CommChInfo);
        };
        w.showRadioInformation = [this] { main->showChildWindow(window::RadioInfo); };
        w.ended = [this](TransferKind, bool success) {
            ++ends;
            lastSuccess = success;
        };
        return w;
    }

    // Runs the virtual clock and the Qt event loop (scripted answers arrive
    // there) until `done` or nothing is left to do.
    void runUntil(const std::function<bool()>& done)
    {
        for (int i = 0; i < 3'000'000 && !done(); ++i) {
            QCoreApplication::processEvents();
            if (done()) break;
            if (!clock.runNext()) QTest::qWait(1);
        }
    }
    void runToEnd(int expectedEnds = 1)
    {
        runUntil([&] { return ends >= expectedEnds && clock.idle(); });
    }

    QAction* action(const char* name) { return main->findChild<QAction*>(name); }
    // Program > Back up before writing, unchecked: a write is the write alone.
    void turnBackupOff()
    {
        QAction* backup = action("mnuBackupBeforeWrite");
        ASSERT_TRUE(backup->isChecked());
        backup->trigger();
        ASSERT_FALSE(main->transfers().backupBeforeWrite());
    }

    QTemporaryDir tmp;
    AppContext app;
    ScriptedPromptService prompt;
    VirtualClock clock;
    FreshRadioOptions options;
    VirtualRadio radio{clock};
    EnginePort port{clock, radio};
    std::unique_ptr<MainWindow> main;
    int ends = 0;
    bool lastSuccess = false;
};

}  // namespace zt::gui::test
