#include "gui/functions/password_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "gui/settings/small_window_app.h"
#include "gui/widgets/guarded_line_edit.h"

namespace zt::gui {
namespace {

using testing::SmallWindowApp;

void click(QDialog& w, const char* button)
{
    QTest::mouseClick(w.findChild<QPushButton*>(button), Qt::LeftButton);
}

TEST(PasswordDialogUse, ShowsTheEnteredPasswordAndSetsTheShownFlag)
{
    SmallWindowApp t;
    t.app.enteredPassword = "12ab";
    PasswordDialog w(t.app);
    EXPECT_EQ(w.objectName(), "FrmPassWord");
    EXPECT_EQ(w.windowTitle(), "Program password");
    EXPECT_EQ(w.findChild<QLabel*>("Label1")->text(), "Password");
    EXPECT_EQ(w.passwordBox()->text(), "12ab");
    EXPECT_EQ(w.passwordBox()->maxLength(), 4);
    EXPECT_TRUE(t.app.passwordWindowShown);
}

TEST(PasswordDialogUse, OkTakesTheBoxCut)
{
    SmallWindowApp t;
    t.app.enteredPassword = "old";
    PasswordDialog w(t.app);
    w.passwordBox()->clear();
    QTest::keyClicks(w.passwordBox(), "7 #");
    QTest::keyClicks(w.passwordBox(), " ");  // a trailing space is cut
    click(w, "CommandOK");
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(t.app.enteredPassword, "7 #");
    EXPECT_TRUE(t.app.passwordWindowShown);
}

TEST(PasswordDialogUse, CancelKeepsTheEarlierPasswordButCountsAsShown)
{
    SmallWindowApp t;
    t.app.enteredPassword = "1234";
    PasswordDialog w(t.app);
    w.passwordBox()->setText("9999");
    click(w, "CommandCancel");
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_EQ(t.app.enteredPassword, "1234");
    EXPECT_TRUE(t.app.passwordWindowShown);
}

TEST(PasswordDialogUse, OkWithAnEmptyBoxClearsThePassword)
{
    SmallWindowApp t;
    t.app.enteredPassword = "1234";
    PasswordDialog w(t.app);
    w.passwordBox()->clear();
    click(w, "CommandOK");
    EXPECT_EQ(t.app.enteredPassword, "");
}

TEST(PasswordDialogUse, ThroughThePromptServiceAsATransferOpensIt)
{
    SmallWindowApp t;
    t.prompt.modalHandler = [](QDialog& d) {
        auto& w = static_cast<PasswordDialog&>(d);
        d.show();  // as exec() would
        w.passwordBox()->setText("ZZ");
        QTest::keyClick(w.passwordBox(), Qt::Key_Return);  // Enter confirms
        return d.result();
    };
    PasswordDialog w(t.app);
    EXPECT_EQ(t.prompt.execModal(w), QDialog::Accepted);
    EXPECT_EQ(t.prompt.modalWindows, std::vector<QString>{"FrmPassWord"});
    EXPECT_EQ(t.app.enteredPassword, "ZZ");
}

}  // namespace
}  // namespace zt::gui
