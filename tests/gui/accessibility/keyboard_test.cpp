// Keyboard only: the standard keys for saving, printing, opening the channel
// editor and moving between and closing child windows are there, shown in the
// menus, given to one command each, and act on the real windows.

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <map>

#include "gui/shell/shell_fixture.h"
#include "gui/window_names.h"

namespace zt::gui::test {
namespace {

QString activeName(MainWindow& main)
{
    QMdiSubWindow* active = main.mdiArea()->activeSubWindow();
    return active && active->widget() ? active->widget()->objectName() : QString();
}

TEST(Keyboard, EveryCommandKeyIsShownOnceAndActsOnTheRealWindows)
{
    ShellInstall install;
    install.writeMySetup("[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=2\n");
    ShellProgram program(install);
    MainWindow& main = program.main(install);
    main.checkLanguageChange();
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));

    // One key, one command: Ctrl+P stays the password, Ctrl+W the write.
    std::map<QString, QString> owner;
    for (QAction* a : main.findChildren<QAction*>())
        for (const QKeySequence& key : a->shortcuts()) {
            const auto [it, fresh] = owner.emplace(key.toString(), a->objectName());
            EXPECT_TRUE(fresh) << key.toString().toStdString() << ": " << it->second.toStdString()
                               << " and " << a->objectName().toStdString();
        }
    EXPECT_EQ(owner[QStringLiteral("Ctrl+S")], QStringLiteral("mnuFileSave"));
    EXPECT_EQ(owner[QStringLiteral("Ctrl+P")], QStringLiteral("MnuProPassWord"));
    EXPECT_EQ(owner[QStringLiteral("Ctrl+Shift+P")], QStringLiteral("mnuFilePrint"));
    EXPECT_EQ(owner[QStringLiteral("Ctrl+N")], QStringLiteral("mnuFileNew"));
    EXPECT_EQ(owner[QStringLiteral("Ctrl+O")], QStringLiteral("mnuFileOpen"));

    // Shown in the menus in the language of the program, right below the grid's item.
    auto* editor = main.findChild<QAction*>("mnuChannelEditor");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QString::fromUtf8("信道编辑器(&N)..."));
    const QList<QAction*> edit = main.findChild<QMenu*>("mnuEdit")->actions();
    const auto at = edit.indexOf(main.findChild<QAction*>("mnuChannelInfo"));
    ASSERT_GE(at, 0);
    EXPECT_EQ(edit.value(at + 1), editor);
    for (const char* name : {"mnuWindowCloseActive", "mnuWindowNext", "mnuWindowPrevious"}) {
        auto* a = main.findChild<QAction*>(name);
        ASSERT_NE(a, nullptr) << name;
        EXPECT_TRUE(main.findChild<QMenu*>("mnuWindow")->actions().contains(a)) << name;
        EXPECT_FALSE(a->text().isEmpty()) << name;
    }

    // The keys pressed as a user does, from the grid's group name box (a text
    // box keeps Ctrl+E for the end of its line).
    QWidget* grid = main.childWindow(window::CommChInfo);
    ASSERT_NE(grid, nullptr);
    auto* cell = grid->findChild<QLineEdit*>("Text3");
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(owner[QStringLiteral("Ctrl+Shift+E")], QStringLiteral("mnuChannelEditor"));
    cell->setFocus();
    QTest::keyClick(cell, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_NE(main.childWindow(window::ChannelEditor), nullptr);
    main.showChildWindow(window::Dtmf);
    const QString third = activeName(main);
    ASSERT_EQ(third, QLatin1String(window::Dtmf));
    QStringList visited{third};
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(main.mdiArea()->activeSubWindow(), Qt::Key_Tab, Qt::ControlModifier);
        visited << activeName(main);
    }
    QTest::keyClick(main.mdiArea()->activeSubWindow(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(activeName(main), third) << "Ctrl+Tab comes round to where it started";
    visited.removeDuplicates();
    EXPECT_EQ(visited.size(), 3) << visited.join(' ').toStdString();
    QTest::keyClick(main.mdiArea()->activeSubWindow(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(activeName(main), visited.last()) << "Ctrl+Shift+Tab goes back";

    const int open = main.childWindowCount();
    QTest::keyClick(main.mdiArea()->activeSubWindow(), Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(main.childWindowCount(), open - 1);
    EXPECT_EQ(main.childWindow(visited.last()), nullptr);
}

}  // namespace
}  // namespace zt::gui::test
