// Batch write of the information tool on the virtual radio: radios are
// swapped by unplugging the cable, giving the radio another memory and
// plugging it in again.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/link/info_block.h"
#include "gui/infotool/tool_rig.h"

namespace zt::infotool {
namespace {

using testing::padded;
using testing::ToolRig;
using namespace std::chrono_literals;

struct BatchRig : ToolRig {
    std::vector<std::string> dealerCodesWritten;  // per radio, when its END came

    BatchRig()
    {
        radio.onEvent = [this](RadioEvent e, int) {
            if (e == RadioEvent::Ended) dealerCodesWritten.push_back(radioField(info::DealerCode));
        };
    }

    InfoToolWindow& start(const char* count)
    {
        InfoToolWindow& w = load();
        child<QLineEdit>("Text2_0")->setText(count);
        w.field(8)->setText("DEALER-9");
        w.batchWrite();
        return w;
    }

    // Takes the radio away, waits `away`, connects a new radio with serial `serial`.
    void swapRadio(const std::string& serial, std::chrono::milliseconds away = 1500ms)
    {
        port.setConnected(false);
        clock.advance(away);
        FreshRadioOptions o;
        o.serialNumber = serial;
        radio.memory() = freshRadioMemory(o);
        radio.reset();
        port.setConnected(true);
    }

    // The same with a radio of the given contents.
    void swapRadio(const FreshRadioOptions& next, std::chrono::milliseconds away = 1500ms)
    {
        port.setConnected(false);
        clock.advance(away);
        radio.memory() = freshRadioMemory(next);
        radio.reset();
        port.setConnected(true);
    }

    // Runs the link until radio `next` is due (or the batch ended).
    void runUntilRadio(int next)
    {
        clock.runWhile([this, next] { return !idle() && exchange().batchCurrent() < next; });
    }

    QString status() { return child<QLabel>("Label6")->text(); }
    QString current() { return child<QLineEdit>("Text2_1")->text(); }
};

TEST(InfoToolBatch, ThreeRadiosAreWrittenCountedAndFinished)
{
    BatchRig t;
    InfoToolWindow& w = t.start("3");
    EXPECT_TRUE(w.batchRunning());
    EXPECT_FALSE(t.child<QPushButton>("Command1")->isEnabled());
    EXPECT_FALSE(t.child<QPushButton>("Command2")->isEnabled());
    EXPECT_EQ(t.child<QPushButton>("Command4")->text(), "Stop &MulWrite");
    EXPECT_EQ(t.current(), "1");
    EXPECT_EQ(t.status(), "Writting Data...");

    t.runUntilWaiting();
    EXPECT_EQ(t.dealerCodesWritten.size(), 1u);
    EXPECT_EQ(t.current(), "2");
    EXPECT_EQ(t.status(), "Waitting next...");
    EXPECT_EQ(w.field(1)->text(), "2026050600000002");
    EXPECT_TRUE(t.port.isOpen());

    t.swapRadio("2026010100000100");
    t.runUntilRadio(3);
    EXPECT_EQ(t.dealerCodesWritten.size(), 2u);
    EXPECT_EQ(t.current(), "3");

    t.swapRadio("2026010100000200");
    t.runUntilIdle();
    ASSERT_EQ(t.dealerCodesWritten.size(), 3u);
    for (const auto& code : t.dealerCodesWritten) EXPECT_EQ(code, padded("DEALER-9", 16));
    EXPECT_EQ(t.messages(), std::vector<std::string>{"MulWrite Complete!"});
    EXPECT_EQ(w.field(1)->text(), "2026050600000004");  // advanced three times
    EXPECT_TRUE(t.current().isEmpty());
    EXPECT_TRUE(t.status().isEmpty());
    EXPECT_FALSE(w.batchRunning());
    EXPECT_TRUE(t.child<QPushButton>("Command1")->isEnabled());
    EXPECT_TRUE(t.child<QPushButton>("Command2")->isEnabled());
    EXPECT_EQ(t.child<QPushButton>("Command4")->text(), "&MulWrite");
    EXPECT_FALSE(t.port.isOpen());

    // Idle again: the next click starts a new batch.
    t.child<QLineEdit>("Text2_0")->setText("1");
    t.swapRadio("2026010100000300");
    w.batchWrite();
    t.runUntilIdle();
    EXPECT_EQ(t.dealerCodesWritten.size(), 4u);
    EXPECT_EQ(t.lastMessage(), "MulWrite Complete!");
}

TEST(InfoToolBatch, RadioLeftConnectedIsNotWrittenTwice)
{
    BatchRig t;
    InfoToolWindow& w = t.start("2");
    t.runUntilWaiting();
    ASSERT_EQ(t.radio.counters().blockWrites, 6);
    t.clock.advance(60s);  // the written radio keeps answering the handshake
    EXPECT_EQ(t.radio.counters().blockWrites, 6);
    EXPECT_GT(t.radio.counters().handshakes, 100);
    EXPECT_EQ(t.exchange().state(), InfoState::BatchWaiting);
    EXPECT_LE(t.exchange().batchWaits(), 1);
    EXPECT_EQ(t.current(), "2");

    t.radio.resetCounters();
    t.swapRadio("2026010100000200");
    t.runUntilIdle();
    EXPECT_EQ(t.radio.counters().blockWrites, 6);
    EXPECT_EQ(t.lastMessage(), "MulWrite Complete!");
    EXPECT_EQ(w.field(1)->text(), "2026050600000003");
}

TEST(InfoToolBatch, FourHoursWithoutANextRadioEndWithCommunicationError)
{
    BatchRig t;
    InfoToolWindow& w = t.start("2");
    t.runUntilWaiting();
    t.port.setConnected(false);
    t.clock.advance(4h - 2s);
    EXPECT_TRUE(w.batchRunning());
    EXPECT_TRUE(t.prompt.asked.empty());
    EXPECT_GT(t.exchange().batchWaits(), 28000);
    t.clock.advance(4s);
    EXPECT_FALSE(w.batchRunning());
    EXPECT_TRUE(t.idle());
    EXPECT_EQ(t.messages(), std::vector<std::string>{"Communication Error!"});
    EXPECT_TRUE(t.current().isEmpty());
    EXPECT_TRUE(t.child<QPushButton>("Command1")->isEnabled());
    EXPECT_FALSE(t.port.isOpen());
}

TEST(InfoToolBatch, StopEndsAtOnceWithoutAMessage)
{
    BatchRig t;
    InfoToolWindow& w = t.start("5");
    t.runUntilWaiting();
    w.batchWrite();
    EXPECT_FALSE(w.batchRunning());
    EXPECT_TRUE(t.idle());
    EXPECT_FALSE(t.port.isOpen());
    EXPECT_TRUE(t.prompt.asked.empty());
    EXPECT_TRUE(t.current().isEmpty());
    EXPECT_EQ(t.child<QPushButton>("Command4")->text(), "&MulWrite");
    t.clock.advance(10s);  // nothing more happens
    EXPECT_TRUE(t.prompt.asked.empty());
    EXPECT_EQ(t.dealerCodesWritten.size(), 1u);
}

TEST(InfoToolBatch, SilentFirstRadioEndsTheBatch)
{
    BatchRig t;
    t.port.setConnected(false);
    InfoToolWindow& w = t.start("3");
    t.clock.advance(2s);
    EXPECT_FALSE(w.batchRunning());
    EXPECT_EQ(t.messages(), std::vector<std::string>{"Communication Error!"});
    EXPECT_TRUE(t.child<QPushButton>("Command2")->isEnabled());
}

TEST(InfoToolBatch, EmptyOrNonNumericCountStartsNothing)
{
    for (const char* count : {"", "ab", "0", "-1"}) {
        BatchRig t;
        InfoToolWindow& w = t.start(count);
        EXPECT_FALSE(w.batchRunning()) << count;
        EXPECT_EQ(t.port.opens(), 0) << count;
        EXPECT_TRUE(t.prompt.asked.empty()) << count;
    }
}

TEST(InfoToolBatch, PortThatCannotBeOpenedLeavesTheToolIdle)
{
    BatchRig t;
    t.load();
    t.port.failNextOpen("busy");
    t.child<QLineEdit>("Text2_0")->setText("2");
    t.window->batchWrite();
    EXPECT_FALSE(t.window->batchRunning());
    EXPECT_EQ(t.lastMessage(), "Cannot Open Communication Port.\nbusy");
    EXPECT_TRUE(t.child<QPushButton>("Command1")->isEnabled());
    EXPECT_TRUE(t.status().isEmpty());
}

TEST(InfoToolBatch, EachRadioKeepsItsOwnUserCodeAndTheBytesAroundIt)
{
    BatchRig t;
    // The first radio: user code "001A" and some private bytes 36..43.
    FreshRadioOptions first;
    first.userCode = "001A";
    t.radio.memory() = freshRadioMemory(first);
    for (int i = 36; i < 44; ++i)
        t.radio.memory()[static_cast<std::size_t>(kInfoBlockBase + i)] =
            static_cast<std::uint8_t>(0xA0 + i);
    auto ownBytes = [&t] {
        const auto* at = t.radio.memory().data() + kInfoBlockBase + 32;
        return std::vector<std::uint8_t>(at, at + 12);
    };
    const std::vector<std::uint8_t> firstOwn = ownBytes();

    // A fresh tool: nothing was read before the batch.
    InfoToolWindow& w = t.start("2");
    t.runUntilWaiting();
    EXPECT_EQ(ownBytes(), firstOwn);
    EXPECT_EQ(t.radioField(info::UserCode), "001A");
    EXPECT_EQ(t.radioField(info::DealerCode), padded("DEALER-9", 16));

    // The second radio has a code of its own; the first radio's must not reach it.
    t.port.setConnected(false);
    t.clock.advance(1500ms);
    FreshRadioOptions second;
    second.userCode = "7Q2B";
    t.radio.memory() = freshRadioMemory(second);
    t.radio.reset();
    const std::vector<std::uint8_t> secondOwn = ownBytes();
    t.port.setConnected(true);
    t.runUntilIdle();
    EXPECT_EQ(t.lastMessage(), "MulWrite Complete!");
    EXPECT_EQ(ownBytes(), secondOwn);
    EXPECT_EQ(t.radioField(info::UserCode), "7Q2B");
    EXPECT_EQ(t.radioField(info::DealerCode), padded("DEALER-9", 16));
    EXPECT_FALSE(w.batchRunning());
}

TEST(InfoToolBatch, PulledCableEndsTheBatchAtOnceSayingSo)
{
    BatchRig t;
    InfoToolWindow& w = t.start("3");
    t.runUntilWaiting();
    // The serial port reports its device gone and has closed itself.
    t.port.close();
    w.portLost("/dev/ttyUSB0: Input/output error");
    EXPECT_FALSE(w.batchRunning());
    EXPECT_TRUE(t.idle());
    ASSERT_EQ(t.prompt.asked.size(), 1u);
    const std::string text = t.lastMessage();
    EXPECT_EQ(text.rfind("Communication Error!\n", 0), 0u) << text;
    EXPECT_NE(text.find("USB adapter was disconnected"), std::string::npos) << text;
    EXPECT_NE(text.find("/dev/ttyUSB0: Input/output error"), std::string::npos) << text;
    EXPECT_TRUE(t.child<QPushButton>("Command1")->isEnabled());
    EXPECT_EQ(t.child<QPushButton>("Command4")->text(), "&MulWrite");
    t.clock.advance(10s);  // no handshakes into the dead port, no second message
    EXPECT_EQ(t.prompt.asked.size(), 1u);

    // The next read on a good port reports no stale disconnect.
    t.port.setConnected(false);
    w.readFromRadio();
    t.runUntilIdle();
    EXPECT_EQ(t.lastMessage(), "Communication Error!");
}

TEST(InfoToolBatch, PulledCableDuringASingleReadEndsItAtOnce)
{
    BatchRig t;
    InfoToolWindow& w = t.load();
    const QString serialShown = w.field(1)->text();
    w.readFromRadio();
    t.clock.runWhile([&] { return t.radio.counters().blockReads < 5; });
    t.port.close();
    w.portLost("/dev/ttyUSB0: Input/output error");
    EXPECT_TRUE(t.idle());
    ASSERT_EQ(t.prompt.asked.size(), 1u);
    EXPECT_EQ(t.prompt.asked[0].message.icon, Icon::Error);
    EXPECT_NE(t.lastMessage().find("USB adapter was disconnected"), std::string::npos);
    EXPECT_EQ(w.field(1)->text(), serialShown);  // nothing half-read is shown
    t.clock.advance(2s);
    EXPECT_EQ(t.prompt.asked.size(), 1u);  // no time-out message after it
}

TEST(InfoToolBatch, FieldsLeftEmptyKeepWhatEachRadioHolds)
{
    BatchRig t;
    FreshRadioOptions first;
    first.saleDate = "2026-03-04";
    first.seller = "Lee";
    first.password = "1234";
    t.radio.memory() = freshRadioMemory(first);
    // Only the dealer code is typed; nothing was read, nothing emptied: nothing to ask.
    InfoToolWindow& w = t.start("2");
    t.runUntilWaiting();
    EXPECT_TRUE(t.questions().empty());
    EXPECT_EQ(t.radioField(info::DealerCode), padded("DEALER-9", 16));
    EXPECT_EQ(t.radioField(info::SaleDate), padded("2026-03-04", 16));
    EXPECT_EQ(t.radioField(info::Seller), padded("Lee", 16));
    EXPECT_EQ(t.radioField(info::ProgramPassword), "1234");

    // The next radio keeps its own values: the first radio's never reach it.
    FreshRadioOptions second;
    second.saleDate = "2026-04-05";
    t.swapRadio(second);
    t.runUntilIdle();
    EXPECT_EQ(t.lastMessage(), "MulWrite Complete!");
    EXPECT_EQ(t.radioField(info::DealerCode), padded("DEALER-9", 16));
    EXPECT_EQ(t.radioField(info::SaleDate), padded("2026-04-05", 16));
    EXPECT_EQ(t.radioField(info::Seller), padded("", 16));
    EXPECT_EQ(t.radioField(info::ProgramPassword), padded("", 4));
    EXPECT_TRUE(w.field(10)->text().isEmpty());
}

TEST(InfoToolBatch, AFieldTheUserEmptiedIsAskedAboutOnceBeforeTheStart)
{
    BatchRig t;
    FreshRadioOptions read;
    read.saleDate = "2026-03-04";
    t.radio.memory() = freshRadioMemory(read);
    InfoToolWindow& w = t.load();
    w.readFromRadio();
    t.runUntilIdle();
    ASSERT_EQ(w.field(10)->text(), "2026-03-04");
    w.field(10)->clear();
    w.field(8)->setText("DEALER-9");
    t.child<QLineEdit>("Text2_0")->setText("2");

    // Cancel starts nothing.
    const int opens = t.port.opens();
    t.prompt.answers = {Answer::Cancel};
    w.batchWrite();
    ASSERT_EQ(t.questions().size(), 1u);
    EXPECT_EQ(t.questions()[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(t.questions()[0].defaultAnswer, Answer::No);  // Enter keeps what the radios hold
    EXPECT_NE(t.questions()[0].text.find("Sell Date"), std::string::npos);
    EXPECT_EQ(t.questions()[0].text.find("Stock Date"), std::string::npos);  // never shown
    EXPECT_FALSE(w.batchRunning());
    EXPECT_EQ(t.port.opens(), opens);

    // Yes clears the emptied sale date on every radio, as Yes does before a single
    // Write; the stock-in date, empty from the start, keeps each radio's own.
    t.prompt.answers = {Answer::Yes};
    w.batchWrite();
    t.runUntilWaiting();
    EXPECT_EQ(t.radioField(info::SaleDate), padded("", 16));
    FreshRadioOptions second;
    second.saleDate = "2026-04-05";
    second.stockInDate = "2026-01-02";
    t.swapRadio(second);
    t.runUntilIdle();
    EXPECT_EQ(t.lastMessage(), "MulWrite Complete!");
    EXPECT_EQ(t.questions().size(), 2u);  // once per start, never per radio
    EXPECT_EQ(t.radioField(info::SaleDate), padded("", 16));
    EXPECT_EQ(t.radioField(info::StockInDate), padded("2026-01-02", 16));
    EXPECT_EQ(t.radioField(info::DealerCode), padded("DEALER-9", 16));
}

TEST(InfoToolBatch, ARadioLostWhileBeingWrittenEndsTheBatchCountingOnlyWhatWasWritten)
{
    BatchRig t;
    InfoToolWindow& w = t.start("3");
    t.runUntilWaiting();
    t.swapRadio("2026010100000100");
    const int writes = t.radio.counters().blockWrites;
    t.clock.runWhile([&] { return t.radio.counters().blockWrites < writes + 2; });
    t.port.setConnected(false);
    t.runUntilIdle();
    EXPECT_EQ(t.messages(), std::vector<std::string>{"Communication Error!"});
    EXPECT_FALSE(w.batchRunning());
    EXPECT_EQ(w.field(1)->text(), "2026050600000002");  // advanced for the first radio only
    EXPECT_TRUE(t.current().isEmpty());
    EXPECT_TRUE(t.status().isEmpty());
    EXPECT_TRUE(t.child<QPushButton>("Command2")->isEnabled());
    EXPECT_EQ(t.child<QPushButton>("Command4")->text(), "&MulWrite");
    EXPECT_FALSE(t.port.isOpen());
}

TEST(InfoToolBatch, ChineseStatusTexts)
{
    BatchRig t;
    t.language = kChinese;
    InfoToolWindow& w = t.start("2");
    EXPECT_EQ(t.status(), "正在写设置数据...");
    EXPECT_EQ(t.child<QPushButton>("Command4")->text(), "停止写入多台(&M)");
    t.runUntilWaiting();
    EXPECT_EQ(t.status(), "请换下一台机器...");
    t.swapRadio("2026010100000100");
    t.runUntilIdle();
    EXPECT_EQ(t.lastMessage(), "批写入完成！");
    EXPECT_FALSE(w.batchRunning());
}

}  // namespace
}  // namespace zt::infotool
