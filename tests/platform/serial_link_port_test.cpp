// The QSerialPort link port over a real pseudo-terminal, with the virtual
// radio's engine (or the test itself) on the far end, run on the Qt event loop.

#include "platform/serial_link_port.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <vector>

#include "core/host/clock.h"
#include "core/link/fresh_radio.h"
#include "core/link/transfer.h"
#include "core/link/virtual_radio.h"
#include "platform/port_diagnosis_text.h"
#include "platform/pseudo_terminal.h"
#include "platform/qt_timers.h"

namespace zt {
namespace {

// Runs the event loop until `done` or `ms` milliseconds passed.
bool runUntil(const std::function<bool()>& done, int ms = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

void spin(int ms)
{
    runUntil([] { return false; }, ms);
}

// The engine behind the master side of a pseudo-terminal.
class PtyRadio {
  public:
    PtyRadio() : radio(clock)
    {
        EXPECT_TRUE(pty.open()) << pty.error();
        radio.memory() = freshRadioMemory();
        notifier = std::make_unique<QSocketNotifier>(pty.masterFd(), QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [this] {
            const auto got = pty.read(0);
            if (!got || got->empty()) return;
            const Bytes out = radio.receive(std::span<const std::uint8_t>(
                reinterpret_cast<const std::uint8_t*>(got->data()), got->size()));
            if (!out.empty()) {
                EXPECT_TRUE(pty.write(out)) << pty.error();
            }
        });
    }
    QString device() const { return QString::fromStdString(pty.devicePath()); }

    SteadyClock clock;
    VirtualRadio radio;
    PseudoTerminal pty;
    std::unique_ptr<QSocketNotifier> notifier;
};

// Reads whatever the port sent to the master side.
Bytes drainMaster(PseudoTerminal& pty)
{
    Bytes got;
    for (int i = 0; i < 20; ++i) {
        const auto part = pty.read(10);
        if (!part || part->empty()) break;
        got.insert(got.end(), part->begin(), part->end());
    }
    return got;
}

TEST(SerialLinkPort, OpensAPseudoTerminalDespiteMissingModemLines)
{
    PseudoTerminal pty;
    ASSERT_TRUE(pty.open()) << pty.error();
    SerialLinkPort port(QString::fromStdString(pty.devicePath()));
    const PortOpenResult r = port.open(PortSettings{});
    EXPECT_TRUE(r.ok) << r.reason;
    EXPECT_TRUE(port.isOpen());
    EXPECT_FALSE(port.lowLatency());  // a pseudo-terminal has no such setting
    // Opening again closes and reopens; the RTS handshaking of the information tool too.
    EXPECT_TRUE(port.open(PortSettings{9600, true}).ok);
    port.close();
    EXPECT_FALSE(port.isOpen());
    port.close();  // closing a closed port is harmless
}

TEST(SerialLinkPort, OpeningAMissingDeviceGivesTheSystemsReason)
{
    SerialLinkPort port(QStringLiteral("/dev/zt-no-such-serial-device"));
    const PortOpenResult r = port.open(PortSettings{});
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.reason.empty());
    EXPECT_FALSE(port.isOpen());

    SerialLinkPort unnamed;
    EXPECT_FALSE(unnamed.open(PortSettings{}).ok);
}

TEST(SerialLinkPort, SendsAndDeliversOnceTheThresholdIsWaiting)
{
    PseudoTerminal pty;
    ASSERT_TRUE(pty.open()) << pty.error();
    SerialLinkPort port(QString::fromStdString(pty.devicePath()));
    std::vector<Bytes> deliveries;
    port.setReceiver(
        [&](std::span<const std::uint8_t> b) { deliveries.emplace_back(b.begin(), b.end()); });
    ASSERT_TRUE(port.open(PortSettings{}).ok);

    const Bytes command{'R', 0x00, 0x10, 0x10};
    port.send(command);
    EXPECT_EQ(drainMaster(pty), command);

    port.setReceiveThreshold(7);
    const Bytes first{1, 2, 3};
    ASSERT_TRUE(pty.write(first));
    spin(60);
    EXPECT_TRUE(deliveries.empty()) << "3 of 7 bytes must stay in the port";

    const Bytes rest{4, 5, 6, 7, 8};
    ASSERT_TRUE(pty.write(rest));
    ASSERT_TRUE(runUntil([&] { return !deliveries.empty(); }, 2000));
    spin(30);
    ASSERT_EQ(deliveries.size(), 1u);
    EXPECT_EQ(deliveries[0], (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));  // everything waiting, in one call
    EXPECT_EQ(port.bytesSent(), 4u);
    EXPECT_EQ(port.bytesReceived(), 8u);
}

TEST(SerialLinkPort, ClearDiscardsWhatIsWaiting)
{
    PseudoTerminal pty;
    ASSERT_TRUE(pty.open()) << pty.error();
    SerialLinkPort port(QString::fromStdString(pty.devicePath()));
    std::vector<Bytes> deliveries;
    port.setReceiver(
        [&](std::span<const std::uint8_t> b) { deliveries.emplace_back(b.begin(), b.end()); });
    ASSERT_TRUE(port.open(PortSettings{}).ok);
    port.setReceiveThreshold(10);
    ASSERT_TRUE(pty.write(Bytes{9, 9, 9}));
    spin(60);
    port.clear();
    port.setReceiveThreshold(2);
    ASSERT_TRUE(pty.write(Bytes{0x5A, 0x54}));
    ASSERT_TRUE(runUntil([&] { return !deliveries.empty(); }, 2000));
    EXPECT_EQ(deliveries[0], (Bytes{0x5A, 0x54}));
}

// ---- the transfer machine on the Qt port and timers ----

class Host final : public TransferHost, public AsyncPrompt, public ProgramPassword {
  public:
    Host() { doc.Data.ModelName = kStandardModel; }
    RadioDocument& document() override { return doc; }
    ProgramState& programState() override { return state; }
    void showProgress(TransferKind) override {}
    void setProgress(int percent) override { lastPercent = percent; }
    void closeProgress() override {}
    void closeAllDocumentWindows() override {}
    void documentRead(RadioDocument, const std::string&) override { decoded = true; }
    void showRadioInformation() override {}
    void endProgram() override {}
    void transferEnded(TransferKind, bool ok) override
    {
        ended = true;
        success = ok;
    }
    void ask(const Message& m, std::function<void(Answer)> answered) override
    {
        asked.push_back(m.textId);
        const Answer a = m.buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
        QTimer::singleShot(0, [answered, a] { answered(a); });
    }
    std::string enteredPassword() const override { return ""; }
    bool windowShown() const override { return false; }
    void showWindow(std::function<void()> closed) override { closed(); }

    RadioDocument doc;
    ProgramState state;
    std::vector<int> asked;
    int lastPercent = 0;
    bool ended = false;
    bool success = false;
    bool decoded = false;
};

class QtTransfer : public ::testing::TestWithParam<bool> {};

TEST_P(QtTransfer, ReadsTheWholeRadioOverThePseudoTerminal)
{
    PtyRadio far;
    far.radio.setEcho(GetParam());
    Host host;
    VersionTable table;
    table.pairs.push_back({"V300", "V300"});
    SerialLinkPort port(far.device());
    QtTimerFactory timers;
    VersionSwitch versions;
    versions.table = &table;
    TransferMachine machine(TransferDeps{port, timers, host, host, host, versions});

    machine.startRead();
    ASSERT_TRUE(runUntil([&] { return host.ended && (host.decoded || !host.success); }, 20000));
    ASSERT_TRUE(host.success) << ::testing::PrintToString(host.asked);
    EXPECT_EQ(host.lastPercent, 100);
    EXPECT_TRUE(std::equal(machine.image().bytes.begin(), machine.image().bytes.end(),
                           far.radio.memory().begin()));
    EXPECT_EQ(far.radio.counters().blockReads, kImageBlocks + 1);  // and the password block
    EXPECT_EQ(machine.noEcho(), !GetParam());
    EXPECT_EQ(host.asked.front(), msg::ConfirmRead);
    EXPECT_EQ(host.asked.back(), msg::ReadDone);
}

TEST_P(QtTransfer, ReadsTheInformationBlock)
{
    PtyRadio far;
    far.radio.setEcho(GetParam());
    Host host;
    SerialLinkPort port(far.device());
    QtTimerFactory timers;
    TransferMachine machine(TransferDeps{port, timers, host, host, host, VersionSwitch{}});

    machine.startInformationRead();
    ASSERT_TRUE(runUntil([&] { return host.ended; }, 10000));
    ASSERT_TRUE(host.success);
    EXPECT_TRUE(std::equal(machine.infoBlock().bytes.begin(), machine.infoBlock().bytes.end(),
                           far.radio.memory().begin() + kInfoBlockBase));
    EXPECT_EQ(host.state.RadioInfo.AreaCode, "0595");
    EXPECT_FALSE(port.isOpen());
}

INSTANTIATE_TEST_SUITE_P(Echo, QtTransfer, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Echo" : "NoEcho"; });

// ---- a device that fails while open, and devices that cannot be opened ----

TEST(SerialPortLoss, UnpluggingMidTransferFailsItOnceAndStopsWriting)
{
    auto far = std::make_unique<PtyRadio>();
    Host host;
    VersionTable table;
    table.pairs.push_back({"V300", "V300"});
    SerialLinkPort port(far->device());
    QtTimerFactory timers;
    VersionSwitch versions;
    versions.table = &table;
    TransferMachine machine(TransferDeps{port, timers, host, host, host, versions});
    int lost = 0;
    port.onLost = [&](const std::string& reason) {
        ++lost;
        EXPECT_NE(reason.find("/dev/pts/"), std::string::npos) << reason;
        machine.portLost(reason);
    };

    machine.startRead();
    ASSERT_TRUE(runUntil([&] { return host.lastPercent >= 3; }, 20000));
    // The cable is pulled: the far end of the line goes away.
    far.reset();
    ASSERT_TRUE(runUntil([&] { return host.ended; }, 5000));

    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(host.success);
    EXPECT_FALSE(port.isOpen());
    // One disconnect message instead of retries into a dead port; its OK tries
    // to open the port afresh, which now explains that the device is gone.
    EXPECT_EQ(host.asked, (std::vector<int>{msg::ConfirmRead, msg::PortLost, msg::PortFailed}));
    const std::uint64_t writes = port.writeCalls();
    const std::uint64_t errors = port.deviceErrors();
    spin(300);
    EXPECT_EQ(port.writeCalls(), writes);
    EXPECT_EQ(port.deviceErrors(), errors);
    EXPECT_EQ(lost, 1);
}

TEST(SerialPortLoss, AnIdlePortThatLosesItsDeviceClosesOnce)
{
    auto pty = std::make_unique<PseudoTerminal>();
    ASSERT_TRUE(pty->open()) << pty->error();
    SerialLinkPort port(QString::fromStdString(pty->devicePath()));
    int lost = 0;
    port.onLost = [&](const std::string&) { ++lost; };
    ASSERT_TRUE(port.open(PortSettings{}).ok);
    pty.reset();
    ASSERT_TRUE(runUntil([&] { return lost > 0; }, 5000));
    EXPECT_FALSE(port.isOpen());
    // Sending into the closed port goes nowhere and reports nothing more.
    port.send(Bytes{'E', 'N', 'D'});
    spin(100);
    EXPECT_EQ(lost, 1);
    EXPECT_EQ(port.writeCalls(), 0u);
}

TEST(SerialPortOpenFailure, AMissingDeviceIsNamed)
{
    SerialLinkPort port(QStringLiteral("/dev/zt-no-such-serial-device"));
    const PortOpenResult r = port.open(PortSettings{});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.reason.find("/dev/zt-no-such-serial-device does not exist"), std::string::npos)
        << r.reason;
    // In the language of the texts given.
    port.setMessageTexts(builtInPortTexts(2));
    EXPECT_NE(port.open(PortSettings{}).reason.find("串口设备 /dev/zt-no-such-serial-device"),
              std::string::npos);
}

TEST(SerialPortOpenFailure, ADeviceHeldByAnotherOpenIsInUse)
{
    PseudoTerminal pty;
    ASSERT_TRUE(pty.open()) << pty.error();
    SerialLinkPort holder(QString::fromStdString(pty.devicePath()));
    ASSERT_TRUE(holder.open(PortSettings{}).ok);
    SerialLinkPort second(QString::fromStdString(pty.devicePath()));
    const PortOpenResult r = second.open(PortSettings{});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.reason.find(pty.devicePath() + " is in use by another program"), std::string::npos)
        << r.reason;
    // Once the other one lets go, the device opens.
    holder.close();
    EXPECT_TRUE(second.open(PortSettings{}).ok);
}

TEST(QtTimers, FireOnceAndCanBeStoppedOrRestarted)
{
    QtTimerFactory timers;
    int fired = 0;
    auto t = timers.createTimer([&] { ++fired; });
    t->start(20);
    EXPECT_TRUE(t->isActive());
    ASSERT_TRUE(runUntil([&] { return fired == 1; }, 2000));
    EXPECT_FALSE(t->isActive());
    spin(60);
    EXPECT_EQ(fired, 1);

    t->start(30);
    t->stop();
    spin(80);
    EXPECT_EQ(fired, 1);

    // A restart while running counts from the restart.
    t->start(40);
    spin(20);
    t->start(40);
    ASSERT_TRUE(runUntil([&] { return fired == 2; }, 2000));
    spin(80);
    EXPECT_EQ(fired, 2);
}

}  // namespace
}  // namespace zt
