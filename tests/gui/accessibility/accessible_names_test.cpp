// A screen reader can only announce what has a name: opens every window of both
// programs in English and in Chinese, walks the accessibility tree Qt hands to
// the platform and fails on any control a user can focus or press that has no
// name. The channel grid's cells must also say which column and channel they are.

#include <QAbstractItemView>
#include <QAccessible>
#include <QDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QSet>
#include <QStringList>
#include <memory>
#include <string>

#include "core/text_ids.h"
#include "gui/infotool/tool_rig.h"
#include "gui/shell/child_windows.h"
#include "gui/shell/shell_fixture.h"
#include "gui/transfer/transfer_progress_dialog.h"

namespace zt::gui::test {
namespace {

bool isControl(QAccessibleInterface* a)
{
    switch (a->role()) {
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::SpinBox:
        case QAccessible::Slider:
        case QAccessible::ButtonMenu:
        case QAccessible::ButtonDropDown:
        case QAccessible::PageTab:
        case QAccessible::MenuItem:
        case QAccessible::Table:
        case QAccessible::Tree:
        case QAccessible::List:
            return true;
        default:
            break;
    }
    // Anything else the keyboard can reach.
    auto* w = qobject_cast<QWidget*>(a->object());
    return w && (w->focusPolicy() & Qt::TabFocus) && !a->state().invisible &&
           a->role() != QAccessible::Client && a->role() != QAccessible::Window &&
           a->role() != QAccessible::Dialog;
}

// Every unnamed control under `a`, as "objectName (role)"; a table's cells are
// left to the cell test.
void collectUnnamed(QAccessibleInterface* a, QStringList& out, int depth = 0)
{
    if (!a || depth > 40) return;
    if (a->state().invisible) return;
    if (isControl(a) && a->text(QAccessible::Name).trimmed().isEmpty()) {
        QObject* o = a->object();
        QString who = o ? o->objectName() : QString();
        if (who.isEmpty() && o) who = QString::fromLatin1(o->metaObject()->className());
        if (who.isEmpty() && a->parent() && a->parent()->object())
            who = "child of " + a->parent()->object()->objectName();
        out << QStringLiteral("%1 (role %2)").arg(who).arg(int(a->role()));
    }
    if (a->role() == QAccessible::Table || a->role() == QAccessible::Tree ||
        a->role() == QAccessible::List)
        return;
    for (int i = 0; i < a->childCount(); ++i) collectUnnamed(a->child(i), out, depth + 1);
}

QStringList unnamedIn(QWidget* w)
{
    QStringList out;
    collectUnnamed(QAccessible::queryAccessibleInterface(w), out);
    return out;
}

TEST(AccessibleNames, EveryControlOfEveryWindowHasANameInBothLanguages)
{
    for (int language : {1, 2}) {
        SCOPED_TRACE(language == 1 ? "English" : "Chinese");
        ShellInstall install;
        install.writeMySetup("[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=" +
                             std::to_string(language) + "\n");
        ShellProgram program(install);
        MainWindow& main = program.main(install);
        main.checkLanguageChange();
        main.show();
        for (const char* name :
             {window::CommChInfo, window::OptFeatures, window::Dtmf, window::ToneTips,
              window::EmbMsg, window::ResetMode, window::RadioInfo})
            main.showChildWindow(name);
        QTest::qWait(20);
        // Each child window on its own, so that none hides another's controls.
        for (QMdiSubWindow* sub : main.mdiArea()->subWindowList()) {
            main.mdiArea()->setActiveSubWindow(sub);
            sub->showMaximized();
            const QStringList unnamed = unnamedIn(&main);
            EXPECT_TRUE(unnamed.isEmpty()) << sub->widget()->objectName().toStdString() << ": "
                                           << unnamed.join(", ").toStdString();
            sub->showNormal();
        }
        // Controls that share one label are told apart by their names.
        QStringList names;
        for (auto* box : main.childWindow(window::OptFeatures)->findChildren<QLineEdit*>())
            if (box->isVisibleTo(&main) && box->objectName().startsWith("Text1_"))
                names << box->accessibleName();
        EXPECT_GT(names.size(), 1);
        EXPECT_EQ(names.size(), QSet<QString>(names.begin(), names.end()).size())
            << names.join(" | ").toStdString();
        for (const char* name : {window::ModelInfo, window::PassWord, window::SetComm,
                                 window::SetLanguage, window::LinkOptions, window::About}) {
            std::unique_ptr<QDialog> dialog(createModalWindow(name, program.app, &main));
            ASSERT_NE(dialog, nullptr) << name;
            dialog->show();
            const QStringList unnamed = unnamedIn(dialog.get());
            EXPECT_TRUE(unnamed.isEmpty()) << name << ": " << unnamed.join(", ").toStdString();
        }
        main.closeAllChildWindows();
    }
}

TEST(AccessibleNames, InformationToolControlsAreNamedInBothLanguages)
{
    for (int language : {infotool::kEnglish, infotool::kChinese}) {
        infotool::testing::ToolRig rig;
        rig.language = language;
        QWidget& w = rig.load();
        w.show();
        const QStringList unnamed = unnamedIn(&w);
        EXPECT_TRUE(unnamed.isEmpty()) << language << ": " << unnamed.join(", ").toStdString();
    }
}

// A cell read out alone must say which column and which channel it is: "Receive
// frequency, channel 5: 27.125" rather than a bare number.
TEST(AccessibleNames, GridCellsNameTheirColumnAndChannel)
{
    for (int language : {1, 2}) {
        SCOPED_TRACE(language == 1 ? "English" : "Chinese");
        ShellInstall install;
        install.writeMySetup("[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=" +
                             std::to_string(language) + "\n");
        ShellProgram program(install);
        MainWindow& main = program.main(install);
        main.checkLanguageChange();
        main.showChildWindow(window::CommChInfo);
        QWidget* grid = main.childWindow(window::CommChInfo);
        ASSERT_NE(grid, nullptr);
        auto* view = grid->findChild<QAbstractItemView*>();
        ASSERT_NE(view, nullptr);
        QAbstractItemModel* model = view->model();
        ASSERT_GT(model->rowCount(), 5);
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex cell = model->index(4, column);
            const QString spoken = model->data(cell, Qt::AccessibleTextRole).toString();
            const QString heading =
                model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().simplified();
            const QString row = model->headerData(4, Qt::Vertical, Qt::DisplayRole).toString();
            EXPECT_TRUE(!heading.isEmpty() && spoken.contains(heading))
                << column << ": '" << spoken.toStdString() << "' lacks '" << heading.toStdString()
                << "'";
            EXPECT_TRUE(spoken.contains(row.isEmpty() ? QStringLiteral("5") : row))
                << column << ": '" << spoken.toStdString() << "'";
            const QString shown = model->data(cell, Qt::DisplayRole).toString();
            if (!shown.isEmpty()) {
                EXPECT_TRUE(spoken.contains(shown)) << spoken.toStdString();
            }
        }
        main.closeAllChildWindows();
    }
}

}  // namespace
}  // namespace zt::gui::test

namespace zt::gui::test {
namespace {

// The progress of a transfer is read out under the window's title. (The value
// changes it sends reach no handler under the offscreen platform, which has no
// accessibility bridge.)
TEST(AccessibleNames, TransferProgressBarIsNamed)
{
    ShellInstall install;
    ShellProgram program(install);
    TransferProgressDialog dialog(program.app, true);
    dialog.show();
    auto* bar = dialog.findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Name),
              program.app.text(text::msg::ProgressReading));
}

}  // namespace
}  // namespace zt::gui::test
