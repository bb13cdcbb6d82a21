#pragma once

// A throw-away installation (root with Version.ini and mysetup.ini, program
// folder with both language files) and a program context on it with scripted
// prompts.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "gui/app_context.h"
#include "gui/prompt/scripted_prompt_service.h"
#include "gui/shell/main_window.h"
#include "gui/shell/startup.h"

namespace zt::gui::test {

namespace fs = std::filesystem;

class ShellInstall {
  public:
    ShellInstall()
    {
        root_ = fs::path(tmp_.path().toStdString());
        program_ = root_ / "V300";
        fs::create_directories(program_ / "language");
        fs::create_directories(root_ / "language");
        const fs::path data = fs::path(ZT_SOURCE_DIR) / "data";
        fs::copy_file(data / "Version.ini", root_ / "Version.ini");
        fs::copy_file(data / "language" / "english.ini", program_ / "language" / "english.ini");
        fs::copy_file(data / "language" / "chinese.ini", program_ / "language" / "chinese.ini");
    }

    fs::path root() const { return root_; }
    fs::path program() const { return program_; }
    fs::path mySetup() const { return root_ / "language" / "mysetup.ini"; }
    QString positionStore() const
    {
        return QString::fromStdString((root_ / "position.ini").string());
    }

    void writeMySetup(const std::string& text) { std::ofstream(mySetup()) << text; }

  private:
    QTemporaryDir tmp_;
    fs::path root_;
    fs::path program_;
};

// A context prepared by the start-up routine.
struct ShellProgram {
    explicit ShellProgram(ShellInstall& install, std::uint32_t locale = kLocaleEnglishUs)
    {
        app.paths.programDir = install.program();
        app.prompt = &prompt;
        prepareProgram(app, locale);
    }
    // The main window after its load.
    MainWindow& main(ShellInstall& install)
    {
        if (!window) {
            window = std::make_unique<MainWindow>(app);
            window->setPositionStore(install.positionStore());
            window->formLoad();
        }
        return *window;
    }

    AppContext app;
    ScriptedPromptService prompt;
    std::unique_ptr<MainWindow> window;
};

// Waits for the new-document timer of the main window.
inline void waitNewDocument(MainWindow& w)
{
    for (int i = 0; i < 50 && w.newDocTimer().isActive(); ++i) QTest::qWait(20);
}

// Makes the working document differ from the saved one.
inline void touchDocument(AppContext& app)
{
    app.documents.working().Data.Options.Beep ^= 1;
}

}  // namespace zt::gui::test
