#include "gui/functions/model_info_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "gui/settings/small_window_app.h"

namespace zt::gui {
namespace {

using testing::entries;
using testing::SmallWindowApp;

struct ModelInfoTest : ::testing::Test {
    SmallWindowApp t;
    int newDocuments = 0;
    std::function<void()> loadNewDoc = [this] { ++newDocuments; };

    void clickOk(ModelInfoDialog& w)
    {
        QTest::mouseClick(w.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
    }
};

TEST_F(ModelInfoTest, OpensWithTheCurrentModelAndBand)
{
    ModelInfoDialog w(t.app, loadNewDoc);
    EXPECT_EQ(w.objectName(), "FrmModelInfo");
    EXPECT_EQ(w.windowTitle(), "Model information");
    EXPECT_EQ(w.findChild<QLabel*>("Label1")->text(), "Model");
    EXPECT_EQ(w.findChild<QLabel*>("Label2")->text(), "Frequency band");
    EXPECT_EQ(entries(w.findChild<QComboBox*>("Combo1")), QStringList{"ZT-958FM"});
    EXPECT_EQ(entries(w.findChild<QComboBox*>("Combo2")), QStringList{"25.615 - 30.105 MHz"});
    EXPECT_EQ(w.findChild<QComboBox*>("Combo2")->currentIndex(), 0);
}

TEST_F(ModelInfoTest, OkWithoutAChangeAsksNothing)
{
    t.app.documents.working().Data.ChannelCount = 3;
    ModelInfoDialog w(t.app, loadNewDoc);
    clickOk(w);
    EXPECT_TRUE(t.prompt.asked.empty());
    EXPECT_EQ(newDocuments, 0);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(t.app.documents.working().Data.ChannelCount, 3);
}

TEST_F(ModelInfoTest, OtherModelConfirmedStartsANewDocument)
{
    t.app.state.ModelName = "ZT-1000X";  // a loaded document of another model
    t.app.documents.working().Data.BandCode = 9;
    t.app.state.RadioInfo.BandCode = 9;
    ModelInfoDialog w(t.app, loadNewDoc);
    EXPECT_EQ(w.findChild<QComboBox*>("Combo1")->currentText(), "ZT-958FM");
    t.prompt.answers.push_back(Answer::Ok);
    clickOk(w);
    ASSERT_EQ(t.prompt.asked.size(), 1u);
    const Message& q = t.prompt.asked[0].message;
    EXPECT_EQ(q.textId, 9016);
    EXPECT_EQ(q.titleId, 9019);
    EXPECT_EQ(q.icon, Icon::Warning);
    EXPECT_EQ(q.buttons, Buttons::OkCancel);
    EXPECT_EQ(t.app.state.ModelName, "ZT-958FM");
    EXPECT_EQ(t.app.state.BandText, "25.615 - 30.105 MHz");
    EXPECT_EQ(t.app.documents.working().Data.BandCode, 0);
    EXPECT_EQ(t.app.state.RadioInfo.BandCode, 0);
    EXPECT_EQ(newDocuments, 1);
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST_F(ModelInfoTest, OtherModelCancelledKeepsEverything)
{
    t.app.state.ModelName = "ZT-1000X";
    t.app.documents.working().Data.BandCode = 9;
    ModelInfoDialog w(t.app, loadNewDoc);
    t.prompt.answers.push_back(Answer::Cancel);
    clickOk(w);
    EXPECT_TRUE(t.prompt.wasAsked(9016));
    EXPECT_EQ(t.app.state.ModelName, "ZT-1000X");
    EXPECT_EQ(t.app.documents.working().Data.BandCode, 9);
    EXPECT_EQ(newDocuments, 0);
    EXPECT_EQ(w.result(), QDialog::Accepted);  // the window closes either way
}

TEST_F(ModelInfoTest, BandWithoutTextShowsTheFirstBandAndOkRestoresItsLimits)
{
    // A document whose band code has no text: empty band, fallback limits.
    t.app.state.setBandText("");
    ModelInfoDialog w(t.app, loadNewDoc);
    EXPECT_EQ(w.findChild<QComboBox*>("Combo2")->currentText(), "25.615 - 30.105 MHz");
    clickOk(w);  // the default answer is OK
    EXPECT_TRUE(t.prompt.wasAsked(9016));
    EXPECT_EQ(t.app.state.BandText, "25.615 - 30.105 MHz");
    EXPECT_DOUBLE_EQ(t.app.state.Limits.lo, 25.615);
    EXPECT_DOUBLE_EQ(t.app.state.Limits.hi, 30.105);
    EXPECT_EQ(newDocuments, 1);
}

TEST_F(ModelInfoTest, CancelButtonAndEnterChangeNothing)
{
    t.app.state.ModelName = "ZT-1000X";
    ModelInfoDialog w(t.app, loadNewDoc);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* model = w.findChild<QComboBox*>("Combo1");
    model->setFocus();
    QTest::keyClick(model, Qt::Key_Return);  // moves on, does not confirm
    EXPECT_EQ(QApplication::focusWidget(), w.findChild<QComboBox*>("Combo2"));
    EXPECT_TRUE(w.isVisible());
    QTest::mouseClick(w.findChild<QPushButton*>("CommandCancel"), Qt::LeftButton);
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_TRUE(t.prompt.asked.empty());
    EXPECT_EQ(t.app.state.ModelName, "ZT-1000X");
    EXPECT_EQ(newDocuments, 0);
}

TEST_F(ModelInfoTest, LoadNewDocMayBeSetAfterConstruction)
{
    t.app.state.ModelName = "OTHER";
    ModelInfoDialog w(t.app);
    w.loadNewDoc = loadNewDoc;
    clickOk(w);
    EXPECT_EQ(newDocuments, 1);
}

}  // namespace
}  // namespace zt::gui
