// Every caption, list entry, tool tip and heading a window looks up must be in
// both language files: opens every window of the program in English and in
// Chinese and checks that no looked-up text id came back empty.

#include <QDialog>
#include <memory>
#include <sstream>
#include <string>

#include "gui/channels/channel_editor_window.h"
#include "gui/shell/child_windows.h"
#include "shell_fixture.h"

namespace zt::gui::test {
namespace {

std::string listOf(const std::set<int>& ids)
{
    std::ostringstream out;
    for (int id : ids) out << id << ' ';
    return out.str();
}

TEST(LanguageCoverage, EveryWindowFindsAllItsTextsInBothLanguages)
{
    for (int language : {1, 2}) {
        SCOPED_TRACE(language == 1 ? "English" : "Chinese");
        ShellInstall install;
        install.writeMySetup("[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=" +
                             std::to_string(language) + "\n");
        ShellProgram program(install);
        MainWindow& main = program.main(install);
        main.checkLanguageChange();
        ASSERT_EQ(program.app.texts.language(), language);

        for (const char* name :
             {window::CommChInfo, window::OptFeatures, window::Dtmf, window::ToneTips,
              window::EmbMsg, window::ResetMode, window::RadioInfo})
            main.showChildWindow(name);
        {
            ChannelEditorWindow editor(program.app);
            editor.applyLanguageTexts();
        }
        for (const char* name : {window::ModelInfo, window::PassWord, window::SetComm,
                                 window::SetLanguage, window::About}) {
            std::unique_ptr<QDialog> dialog(createModalWindow(name, program.app, &main));
            ASSERT_NE(dialog, nullptr) << name;
        }
        main.applyLanguage();
        QTest::qWait(50);

        EXPECT_TRUE(program.app.texts.missingIds().empty())
            << "ids without text: " << listOf(program.app.texts.missingIds());
        main.closeAllChildWindows();
    }
}

}  // namespace
}  // namespace zt::gui::test
