// Keyboard only: the standard keys for saving and for closing a child window are
// there, shown in the menus, and act on the real windows.

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "gui/shell/shell_fixture.h"
#include "gui/window_names.h"

namespace zt::gui::test {
namespace {

TEST(Keyboard, CtrlSSavesAndCtrlF4ClosesTheActiveChildWindow)
{
    ShellInstall install;
    install.writeMySetup("[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=2\n");
    ShellProgram program(install);
    MainWindow& main = program.main(install);
    main.checkLanguageChange();
    auto* save = main.findChild<QAction*>("mnuFileSave");
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->shortcut(), QKeySequence(QKeySequence::Save));

    auto* close = main.findChild<QAction*>("mnuWindowCloseActive");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));
    EXPECT_FALSE(close->text().isEmpty());
    main.showChildWindow(window::Dtmf);
    const int open = main.childWindowCount();
    ASSERT_EQ(main.mdiArea()->activeSubWindow()->widget(), main.childWindow(window::Dtmf));
    close->trigger();
    EXPECT_EQ(main.childWindowCount(), open - 1);
    EXPECT_EQ(main.childWindow(window::Dtmf), nullptr);
    EXPECT_NE(main.childWindow(window::CommChInfo), nullptr);
}

}  // namespace
}  // namespace zt::gui::test
