#include "gui/infotool/info_tool_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "gui/infotool/tool_rig.h"

namespace zt::infotool {
namespace {

using testing::padded;
using testing::ToolRig;
using namespace std::chrono_literals;

QString textOf(ToolRig& t, const char* name)
{
    auto* e = t.child<QLineEdit>(name);
    return e ? e->text() : QString("<no %1>").arg(name);
}

// ---------------------------------------------------------------- start-up

TEST(InfoToolStart, InitialRecordCaptionsAndControls)
{
    ToolRig t;
    InfoToolWindow& w = t.load();
    EXPECT_EQ(w.objectName(), "FrmMain");
    EXPECT_EQ(w.windowTitle(), "ZTP958FMSetO");
    EXPECT_EQ(t.child<QPushButton>("Command1")->text(), "&Read");
    EXPECT_EQ(t.child<QPushButton>("Command2")->text(), "&Write");
    EXPECT_EQ(t.child<QPushButton>("Command4")->text(), "&MulWrite");
    EXPECT_EQ(t.child<QLabel>("Label1_2")->text(), "Serial Number");
    EXPECT_EQ(t.child<QGroupBox>("Frame2")->title(), "Dealer Information");
    EXPECT_EQ(t.child<QCheckBox>("Check3")->text(), "Faint");

    // Initial record: today's serial number, date and codes.
    EXPECT_EQ(textOf(t, "Text1_1"), "2026050600000001");
    EXPECT_EQ(textOf(t, "Text1_2"), "2026/05/06");
    EXPECT_EQ(textOf(t, "Text1_6"), "05-1-E-1");
    EXPECT_EQ(textOf(t, "Text1_7"), "001A");
    EXPECT_EQ(textOf(t, "Text1_0"), "0595");
    EXPECT_EQ(textOf(t, "Text1_5"), "V3.00");
    EXPECT_TRUE(textOf(t, "Text1_3").isEmpty());
    EXPECT_EQ(t.child<QComboBox>("Combo1_0")->currentText(), "ZT-958FM");
    EXPECT_EQ(t.child<QComboBox>("Combo1_1")->currentText(), "25.615 - 30.105 MHz");
    const bool flags[] = {true, true, false, false, true};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(t.child<QCheckBox>(QString("Check%1").arg(k + 1).toUtf8())->isChecked(),
                  flags[k]);
    EXPECT_EQ(textOf(t, "Text2_0"), "10");
    EXPECT_EQ(textOf(t, "Text2_1"), "0");
    EXPECT_TRUE(t.child<QLabel>("Label6")->text().isEmpty());

    // Limits.
    const int limits[] = {4, 16, 16, 16, -1, 16, 8, 4, 16, 16, 16, 16, 4};
    for (int k = 0; k < 13; ++k)
        if (limits[k] > 0) {
            EXPECT_EQ(w.field(k)->maxLength(), limits[k]) << k;
        }
    EXPECT_EQ(t.child<QLineEdit>("Text2_0")->maxLength(), 3);
    EXPECT_TRUE(w.field(5)->isReadOnly());

    auto* timer = t.child<QTimer>("ReShowComPortTimer");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_TRUE(timer->isActive());
    EXPECT_TRUE(t.prompt.asked.empty());
}

TEST(InfoToolStart, ChineseTextsAndLabelsEndJustLeftOfTheirFields)
{
    ToolRig t;
    t.language = kChinese;
    InfoToolWindow& w = t.load();
    EXPECT_EQ(t.child<QPushButton>("Command1")->text(), "读出(&R)");
    EXPECT_EQ(t.child<QPushButton>("Command4")->text(), "写入多台(&M)");
    EXPECT_EQ(t.child<QLabel>("Label1_9")->text(), "经销商代码");
    EXPECT_EQ(t.child<QGroupBox>("Frame2")->title(), "经销商信息");
    EXPECT_EQ(t.child<QCheckBox>("Check5")->text(), "工厂模式");
    EXPECT_EQ(w.windowTitle(), "ZTP958FMSetO");
    t.showActive();
    // Label k ends 50 twips (3 pixels) left of its field.
    const std::pair<int, int> pairs[] = {{2, 1}, {3, 2}, {4, 3}, {13, 12}, {9, 8}, {12, 11}};
    for (auto [label, field] : pairs) {
        const QRect l = w.fieldLabel(label)->geometry();
        const QRect f = w.field(field)->geometry();
        EXPECT_EQ(l.x() + l.width() + 3, f.x()) << label;
        EXPECT_EQ(w.fieldLabel(label)->alignment() & Qt::AlignRight, Qt::AlignRight);
    }
}

TEST(InfoToolStart, OpensInsideTheAvailableScreenArea)
{
    ToolRig t;
    InfoToolWindow& w = t.load();
    w.hide();
    w.move(5000, -3000);  // where a window manager may put a tall window
    w.show();
    const QRect area = w.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(w.frameGeometry()))
        << w.frameGeometry().x() << "," << w.frameGeometry().y() << " in " << area.width() << "x"
        << area.height();
}

TEST(InfoToolStart, UnknownOperatingSystemIsReportedAndTheToolWorksOn)
{
    ToolRig t;
    t.osKnown = false;
    t.load();
    EXPECT_EQ(t.messages(), std::vector<std::string>{"Unkown operating system!"});
    t.window->readFromRadio();
    t.runUntilIdle();
    EXPECT_EQ(t.lastMessage(), "Read Complete!");
}

// ---------------------------------------------------------------- ports

TEST(InfoToolPorts, StoredPortMissingSelectsTheFirstAndWritesItBack)
{
    ToolRig t;
    ASSERT_TRUE(writeProfileString(t.ini(), "language", "comPort", "7"));
    t.ports = {3, 4};
    InfoToolWindow& w = t.load();
    auto* combo = t.child<QComboBox>("Combo2");
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentText(), "COM3");
    EXPECT_EQ(w.portNumber(), 3);
    EXPECT_EQ(t.storedPort(), "3");
}

TEST(InfoToolPorts, StoredPortListedIsKeptAndNoPortMeansNumberZero)
{
    ToolRig t;
    ASSERT_TRUE(writeProfileString(t.ini(), "language", "comPort", "4"));
    t.ports = {3, 4};
    t.load();
    EXPECT_EQ(t.child<QComboBox>("Combo2")->currentText(), "COM4");

    ToolRig none;
    ASSERT_TRUE(writeProfileString(none.ini(), "language", "comPort", "not a number"));
    none.ports = {};
    InfoToolWindow& w = none.load();
    EXPECT_EQ(w.portNumber(), 0);
    EXPECT_EQ(none.child<QComboBox>("Combo2")->currentIndex(), -1);
    EXPECT_EQ(none.storedPort(), "not a number");  // nothing chosen, nothing written
    // Every command then reports the port, and nothing is opened.
    w.readFromRadio();
    w.writeToRadio();
    w.batchWrite();
    EXPECT_EQ(none.prompt.asked.size(), 3u);
    for (const auto& a : none.prompt.asked) {
        EXPECT_EQ(a.message.text, "Cannot Open Communication Port.");
        EXPECT_EQ(a.message.icon, Icon::Error);
    }
    EXPECT_EQ(none.port.opens(), 0);
    EXPECT_FALSE(w.batchRunning());
}

TEST(InfoToolPorts, RefreshKeepsTheChoiceEvenWhenItsDeviceIsGoneAndNeverTouchesTheOpenPort)
{
    ToolRig t;
    t.ports = {2, 5};
    InfoToolWindow& w = t.load();
    auto* combo = t.child<QComboBox>("Combo2");
    combo->setCurrentIndex(1);
    w.choosePort(1);
    EXPECT_EQ(w.portNumber(), 5);
    EXPECT_EQ(t.storedPort(), "5");

    t.ports = {1, 2, 5};
    w.refreshPortList();
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "COM5");
    EXPECT_TRUE(w.portEntryEnabled(2));

    // A batch holds the port open while the list changes under it.
    t.child<QLineEdit>("Text2_0")->setText("2");
    w.batchWrite();
    t.runUntilWaiting();
    ASSERT_TRUE(t.port.isOpen());
    // The chosen adapter disappears: its entry stays chosen, greyed out, in
    // number order; the tool never moves to a port nobody chose.
    t.ports = {2, 7};
    w.refreshPortList();
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "COM5");
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_FALSE(w.portEntryEnabled(1));
    EXPECT_TRUE(w.portEntryEnabled(0));
    EXPECT_EQ(w.portNumber(), 5);
    EXPECT_TRUE(t.port.isOpen());
    EXPECT_EQ(t.storedPort(), "5");  // a refresh does not store the number

    t.ports = {};
    w.refreshPortList();
    EXPECT_EQ(w.portNumber(), 5);
    EXPECT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->currentText(), "COM5");
    EXPECT_TRUE(t.port.isOpen());

    // Back again: chosen and usable as before.
    t.ports = {5};
    w.refreshPortList();
    EXPECT_EQ(combo->currentText(), "COM5");
    EXPECT_TRUE(w.portEntryEnabled(0));
    EXPECT_EQ(t.selected, std::vector<int>{5});  // the port was chosen once, at the batch start
}

TEST(InfoToolPorts, WithNothingChosenTheFirstPortThatAppearsIsTaken)
{
    ToolRig t;
    t.ports = {};
    InfoToolWindow& w = t.load();
    auto* combo = t.child<QComboBox>("Combo2");
    EXPECT_EQ(w.portNumber(), 0);
    EXPECT_EQ(combo->currentIndex(), -1);

    t.ports = {3, 4};
    w.refreshPortList();
    EXPECT_EQ(w.portNumber(), 3);
    EXPECT_EQ(combo->currentText(), "COM3");
}

TEST(InfoToolPorts, ReadingFromAPortWhoseDeviceIsGoneGoesToThatPort)
{
    ToolRig t;
    t.ports = {2, 5};
    InfoToolWindow& w = t.load();
    w.choosePort(1);
    t.ports = {2};
    w.refreshPortList();
    t.port.failNextOpen("The serial device /dev/ttyUSB4 does not exist.");
    w.readFromRadio();
    EXPECT_EQ(t.selected, std::vector<int>{5});
    EXPECT_NE(t.lastMessage().find("does not exist"), std::string::npos) << t.lastMessage();
}

// ---------------------------------------------------------------- fields

TEST(InfoToolFields, SerialNumberTakesDigitsOnlyAndEnterMovesOn)
{
    ToolRig t;
    InfoToolWindow& w = t.load();
    t.showActive();
    QLineEdit* serial = w.field(1);
    serial->setFocus();
    QApplication::processEvents();
    serial->clear();
    QTest::keyClicks(serial, "12ab-3 x4");
    EXPECT_EQ(serial->text(), "1234");
    QTest::keyClick(serial, Qt::Key_Backspace);
    EXPECT_EQ(serial->text(), "123");

    QApplication::clipboard()->setText("999");
    QTest::keyClick(serial, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(serial->text(), "123");
    serial->selectAll();
    QTest::keyClick(serial, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(serial->text(), "123");

    QTest::keyClick(serial, Qt::Key_Return);
    EXPECT_FALSE(serial->hasFocus());
    EXPECT_TRUE(w.field(2)->hasFocus());
}

TEST(InfoToolFields, EmptyMaintenanceDateGetsTodayAndFocusSelectsAll)
{
    ToolRig t;
    InfoToolWindow& w = t.load();
    t.showActive();
    QLineEdit* date = w.field(3);
    ASSERT_TRUE(date->text().isEmpty());
    date->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(date->text(), "2026/05/06");
    EXPECT_EQ(date->selectedText(), "2026/05/06");

    date->setText("2020/01/02");
    w.field(2)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(w.field(2)->selectedText(), w.field(2)->text());
    date->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(date->text(), "2020/01/02");
}

TEST(InfoToolFields, DescriptionKeepsAtMost96Characters)
{
    ToolRig t;
    InfoToolWindow& w = t.load();
    w.descriptionField()->setPlainText(QString(120, 'd'));
    EXPECT_EQ(w.descriptionField()->toPlainText(), QString(96, 'd'));
}

TEST(InfoToolFields, TakeFieldsIntoTakesTrimmedFieldsAndPutsModelAndBandBack)
{
    ToolRig t;
    InfoToolWindow& w = t.load();
    t.child<QComboBox>("Combo1_0")->setEditText("OTHER");
    t.child<QComboBox>("Combo1_1")->setEditText("136 - 174 MHz");
    w.field(8)->setText("D-01  ");
    w.field(11)->setText(" Lee");
    w.field(12)->setText("12");
    t.child<QCheckBox>("Check1")->setChecked(false);
    t.child<QCheckBox>("Check4")->setChecked(true);
    InfoToolRecord r = w.record();
    w.takeFieldsInto(r);
    EXPECT_EQ(r.DealerCode, "D-01");
    EXPECT_EQ(r.Seller, " Lee");
    EXPECT_EQ(r.ProgramPassword, "12");
    EXPECT_EQ(r.ModelText, "ZT-958FM");
    EXPECT_EQ((std::array<std::uint8_t, 5>{0, 1, 0, 1, 1}), r.OptionFlags);
    EXPECT_EQ(t.child<QComboBox>("Combo1_0")->currentText(), "ZT-958FM");
    EXPECT_EQ(t.child<QComboBox>("Combo1_1")->currentText(), "25.615 - 30.105 MHz");
    EXPECT_EQ(r.VersionText, "V3.00");  // the version field is never taken
}

// ---------------------------------------------------------------- read and write

TEST(InfoToolRead, ShowsTheRadioWithItsModelMappedAndEmptyFieldsForErasedBytes)
{
    ToolRig t;
    FreshRadioOptions o;
    o.serialNumber = "2026010100000042";
    o.dealerCode = "DL";
    o.stockInDate = "2026-02-03";
    t.radio.memory() = freshRadioMemory(o);
    // The seller's bytes are erased (0xFF), the sale date ends at a 0xFF.
    auto* block = t.radio.memory().data() + kInfoBlockBase;
    std::fill_n(block + info::Seller.offset, 16, 0xFF);
    std::fill_n(block + info::SaleDate.offset, 16, 0xFF);
    block[info::SaleDate.offset] = '7';
    ASSERT_EQ(std::string(reinterpret_cast<char*>(t.radio.memory().data()) + kIdentBlockAddress, 6),
              "ZT-958");
    ASSERT_EQ(t.radio.memory()[kIdentBlockAddress + 6], 1);

    InfoToolWindow& w = t.load();
    w.field(11)->setText("old");
    w.readFromRadio();
    t.runUntilIdle();
    EXPECT_EQ(t.messages(), std::vector<std::string>{"Read Complete!"});
    EXPECT_EQ(t.child<QComboBox>("Combo1_0")->currentText(), "ZT-958FM");
    EXPECT_EQ(t.child<QComboBox>("Combo1_1")->currentText(), "25.615 - 30.105 MHz");
    EXPECT_EQ(w.record().BandCode, 0);
    EXPECT_EQ(w.field(1)->text(), "2026010100000042");
    EXPECT_EQ(w.field(8)->text(), "DL");
    EXPECT_EQ(w.field(9)->text(), "2026-02-03");
    EXPECT_EQ(w.field(10)->text(), "7");
    EXPECT_EQ(w.field(11)->text(), "");
    EXPECT_EQ(w.field(5)->text(), "V3.00");  // not read
    EXPECT_FALSE(t.port.isOpen());
}

TEST(InfoToolWrite, WritesTheDealerPartCutToItsFieldsAndAdvancesTheSerialNumber)
{
    ToolRig t;
    FreshRadioOptions o;
    o.serialNumber = "RADIO-SERIAL";
    o.userCode = "U77";
    t.radio.memory() = freshRadioMemory(o);
    const auto before = t.radio.memory();
    InfoToolWindow& w = t.load();
    t.showActive();
    w.field(1)->setText("1234567800000009");
    w.field(8)->setFocus();
    QTest::keyClicks(w.field(8), "ABCDEFGHIJKLMNOPQRST");  // 20 characters
    w.field(9)->setText("2026-05-01");
    w.field(10)->setText("2026-05-06");
    w.field(11)->setText("Wang");
    w.field(12)->setText("4321");
    w.field(0)->setText("9999");  // not written

    w.writeToRadio();
    t.runUntilIdle();
    EXPECT_EQ(t.messages(), std::vector<std::string>{"Write Complete!"});
    EXPECT_EQ(t.radioField(info::DealerCode), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(t.radioField(info::StockInDate), padded("2026-05-01", 16));
    EXPECT_EQ(t.radioField(info::SaleDate), padded("2026-05-06", 16));
    EXPECT_EQ(t.radioField(info::Seller), padded("Wang", 16));
    EXPECT_EQ(t.radioField(info::ProgramPassword), "4321");
    // The radio's own serial number, user code, area code and identity stay.
    EXPECT_EQ(t.radioField(info::SerialNumber), padded("RADIO-SERIAL", 16));
    EXPECT_EQ(t.radioField(info::UserCode), padded("U77", 4));
    EXPECT_EQ(t.radioField(info::AreaCode), "0595");
    EXPECT_TRUE(std::equal(before.begin() + kIdentBlockAddress,
                           before.begin() + kIdentBlockAddress + 16,
                           t.radio.memory().begin() + kIdentBlockAddress));
    EXPECT_EQ(w.field(1)->text(), "1234567800000010");
    EXPECT_FALSE(t.port.isOpen());
}

TEST(InfoToolWrite, AFieldLeftEmptyIsNotClearedOnTheRadioWithoutAsking)
{
    ToolRig t;
    FreshRadioOptions o;
    o.dealerCode = "DL";
    o.stockInDate = "2026-02-03";
    t.radio.memory() = freshRadioMemory(o);
    auto* block = t.radio.memory().data() + kInfoBlockBase;
    std::copy_n("2026-03-04", 10, block + info::SaleDate.offset);
    InfoToolWindow& w = t.load();
    w.readFromRadio();
    t.runUntilIdle();
    ASSERT_EQ(w.field(10)->text(), "2026-03-04");

    // The sale date is cleared by mistake: No keeps the radio's value.
    w.field(10)->clear();
    t.prompt.answers = {Answer::No};
    w.writeToRadio();
    t.runUntilIdle();
    ASSERT_EQ(t.questions().size(), 1u);
    EXPECT_EQ(t.questions()[0].buttons, Buttons::YesNoCancel);
    EXPECT_NE(t.questions()[0].text.find("Sell Date: 2026-03-04"), std::string::npos);
    EXPECT_EQ(t.radioField(info::SaleDate), padded("2026-03-04", 16));
    EXPECT_EQ(w.field(10)->text(), "2026-03-04");

    // Cancel writes nothing; Yes clears it.
    w.field(10)->clear();
    t.prompt.answers = {Answer::Cancel};
    w.writeToRadio();
    t.runUntilIdle();
    EXPECT_EQ(t.radioField(info::SaleDate), padded("2026-03-04", 16));
    t.prompt.answers = {Answer::Yes};
    w.writeToRadio();
    t.runUntilIdle();
    EXPECT_EQ(t.radioField(info::SaleDate), padded("", 16));
}

TEST(InfoToolWrite, AWriteToARadioNotReadFirstAsksBeforeClearingWhatItHolds)
{
    ToolRig t;
    FreshRadioOptions o;
    o.serialNumber = "2026010100000042";
    o.saleDate = "2026-03-04";
    o.seller = "Lee";
    t.radio.memory() = freshRadioMemory(o);
    InfoToolWindow& w = t.load();  // nothing read
    w.field(8)->setText("D-2");
    w.field(11)->setText("Wang");
    t.prompt.answers = {Answer::No};
    w.writeToRadio();
    t.runUntilIdle();
    ASSERT_EQ(t.questions().size(), 1u);
    const std::string asked = t.questions()[0].text;
    EXPECT_EQ(t.questions()[0].defaultAnswer, Answer::No);  // Enter keeps what the radio holds
    EXPECT_NE(asked.find("Sell Date: 2026-03-04"), std::string::npos) << asked;
    EXPECT_EQ(asked.find("Seller"), std::string::npos) << asked;  // typed over on purpose
    EXPECT_EQ(t.messages(), std::vector<std::string>{"Write Complete!"});
    EXPECT_EQ(t.radioField(info::SaleDate), padded("2026-03-04", 16));
    EXPECT_EQ(t.radioField(info::Seller), padded("Wang", 16));
    EXPECT_EQ(t.radioField(info::DealerCode), padded("D-2", 16));
    EXPECT_EQ(w.field(10)->text(), "2026-03-04");
    // Reading the radio first did not replace what the window showed.
    EXPECT_EQ(w.field(1)->text(), "2026050600000002");
}

TEST(InfoToolWrite, SilentRadioEndsWithCommunicationErrorAndKeepsTheWindow)
{
    ToolRig t;
    InfoToolWindow& w = t.load();
    t.port.setConnected(false);
    const QString serial = w.field(1)->text();
    w.writeToRadio();
    t.clock.advance(2s);
    EXPECT_TRUE(t.idle());
    EXPECT_EQ(t.messages(), std::vector<std::string>{"Communication Error!"});
    EXPECT_EQ(w.field(1)->text(), serial);
    EXPECT_FALSE(t.port.isOpen());
}

TEST(InfoToolWrite, PortThatCannotBeOpenedIsReportedWithTheSystemsReason)
{
    ToolRig t;
    t.language = kChinese;
    InfoToolWindow& w = t.load();
    t.port.failNextOpen("Permission denied");
    w.readFromRadio();
    ASSERT_EQ(t.prompt.asked.size(), 1u);
    EXPECT_EQ(t.lastMessage(), "不能打开串口。\nPermission denied");
    EXPECT_EQ(t.prompt.asked[0].message.icon, Icon::Error);
    EXPECT_TRUE(t.idle());
}

}  // namespace
}  // namespace zt::infotool
