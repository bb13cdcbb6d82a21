#include "gui/settings/language_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "gui/settings/small_window_app.h"

namespace zt::gui {
namespace {

using testing::SmallWindowApp;

void choose(LanguageDialog& w, int index, const char* button)
{
    w.findChild<QComboBox*>("Combo1")->setCurrentIndex(index);
    QTest::mouseClick(w.findChild<QPushButton*>(button), Qt::LeftButton);
}

TEST(LanguageDialogUse, OpensWithTheCurrentLanguageAndItsTexts)
{
    SmallWindowApp t;
    t.app.currentLanguage = 1;
    LanguageDialog w(t.app);
    EXPECT_EQ(w.objectName(), "FrmSetLanguage");
    EXPECT_EQ(w.windowTitle(), "Language");
    EXPECT_EQ(w.findChild<QLabel*>("Label1")->text(), "Program language");
    auto* list = w.findChild<QComboBox*>("Combo1");
    EXPECT_EQ(testing::entries(list), (QStringList{"English", "Chinese (中文)"}));
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(w.findChild<QPushButton*>("CommandOK")->text(), "OK");

    t.app.currentLanguage = 2;
    LanguageDialog w2(t.app);
    EXPECT_EQ(w2.findChild<QComboBox*>("Combo1")->currentIndex(), 1);
}

TEST(LanguageDialogUse, OkSwitchesTheLanguageButNotTheAppliedOne)
{
    SmallWindowApp t;
    LanguageDialog w(t.app);
    choose(w, 1, "CommandOK");
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(t.app.currentLanguage, 2);
    EXPECT_EQ(t.app.texts.fileName(), "chinese.ini");
    EXPECT_EQ(t.app.appliedLanguage, 1);
    EXPECT_EQ(t.setupValue("CurrentLanguage"), "2");
}

TEST(LanguageDialogUse, SameLanguageStillStoresIt)
{
    SmallWindowApp t;
    LanguageDialog w(t.app);
    choose(w, 0, "CommandOK");
    EXPECT_EQ(t.app.currentLanguage, 1);
    EXPECT_EQ(t.app.texts.fileName(), "english.ini");
    EXPECT_EQ(t.setupValue("CurrentLanguage"), "1");
}

TEST(LanguageDialogUse, CancelChangesNothing)
{
    SmallWindowApp t;
    LanguageDialog w(t.app);
    choose(w, 1, "CommandCancel");
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_EQ(t.app.currentLanguage, 1);
    EXPECT_EQ(t.app.texts.fileName(), "english.ini");
    EXPECT_EQ(t.setupValue("CurrentLanguage"), "<missing>");
}

TEST(LanguageDialogUse, MissingChineseFileGivesEmptyCaptionsUntilSwitchedBack)
{
    SmallWindowApp t;
    std::filesystem::remove(t.app.paths.languageDir() / "chinese.ini");
    {
        LanguageDialog w(t.app);
        choose(w, 1, "CommandOK");
    }
    LanguageDialog chinese(t.app);
    EXPECT_EQ(chinese.windowTitle(), "");
    EXPECT_EQ(chinese.findChild<QPushButton*>("CommandOK")->text(), "");
    choose(chinese, 0, "CommandOK");
    LanguageDialog english(t.app);
    EXPECT_EQ(english.windowTitle(), "Language");
    EXPECT_EQ(english.findChild<QPushButton*>("CommandOK")->text(), "OK");
}

TEST(LanguageDialogUse, EnterInTheListMovesOnInsteadOfClosing)
{
    SmallWindowApp t;
    LanguageDialog w(t.app);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* list = w.findChild<QComboBox*>("Combo1");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.result(), 0);
    EXPECT_NE(QApplication::focusWidget(), list);
    EXPECT_EQ(t.setupValue("CurrentLanguage"), "<missing>");
}

}  // namespace
}  // namespace zt::gui
