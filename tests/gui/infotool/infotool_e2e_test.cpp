// The information tool's window with its real serial port and timers against
// the virtual radio program on a pseudo-terminal. A batch swaps radios the
// way a dealer does: the cable (a pseudo-terminal of this test, relayed to
// the radio program) stays, the radio behind it is stopped and another one,
// with another memory file, is started.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "core/edit/infotool_rules.h"
#include "core/files/ini_profile.h"
#include "core/link/info_block.h"
#include "gui/infotool/info_tool_window.h"
#include "gui/infotool/system_host.h"
#include "gui/prompt/scripted_prompt_service.h"
#include "platform/port_table.h"
#include "platform/pseudo_terminal.h"

namespace zt::infotool {
namespace {

namespace fs = std::filesystem;

const QString kSimPath = QStringLiteral(ZT_STAGE_DIR "/ztp958fm-radio-sim");
constexpr int kCom = 3;

// A running virtual radio program; stopped when it goes out of scope.
class Sim {
  public:
    explicit Sim(const QStringList& args)
    {
        process_.start(kSimPath, args);
        if (!process_.waitForStarted(10000)) return;
        while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
        }
        device_ = QString::fromUtf8(process_.readLine().trimmed());
    }
    ~Sim() { stop(); }
    void stop()
    {
        if (process_.state() == QProcess::NotRunning) return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    const QString& device() const { return device_; }

  private:
    QProcess process_;
    QString device_;
};

std::string memoryField(const fs::path& file, info::Field f)
{
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() != 0x4000) return "<bad memory file>";
    return bytes.substr(static_cast<std::size_t>(kInfoBlockBase + f.offset),
                        static_cast<std::size_t>(f.length));
}

std::string padded(std::string text, std::size_t length)
{
    text.resize(length, '\0');
    return text;
}

class InfoToolEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override
    {
        if (!QFile::exists(kSimPath)) GTEST_SKIP() << "build ztp958fm-radio-sim first";
        ASSERT_TRUE(dir_.isValid());
        ini_ = fs::path(dir_.path().toStdString()) / "mysetup.ini";
        ASSERT_TRUE(writeProfileString(ini_, "language", "comPort", std::to_string(kCom)));
    }

    fs::path file(const char* name) const { return fs::path(dir_.path().toStdString()) / name; }

    // The window on this machine's port table and timers.
    InfoToolWindow& openWindow()
    {
        system_ = std::make_unique<SystemHost>(ini_);
        window_ = std::make_unique<InfoToolWindow>(system_->host(prompt_, kEnglish));
        system_->connect(*window_);
        window_->formLoad();
        return *window_;
    }

    // Waits for the next message box and returns its text.
    std::string awaitMessage(int timeoutMs = 20000)
    {
        const std::size_t before = seen_;
        if (!QTest::qWaitFor([&] { return prompt_.asked.size() > before; }, timeoutMs))
            return "<no message>";
        ++seen_;
        return prompt_.asked[before].message.text;
    }

    QTemporaryDir dir_;
    fs::path ini_;
    gui::ScriptedPromptService prompt_;
    std::unique_ptr<SystemHost> system_;
    std::unique_ptr<InfoToolWindow> window_;
    std::size_t seen_ = 0;
};

TEST_F(InfoToolEndToEnd, ReadsAndWritesTheVirtualRadio)
{
    const fs::path memory = file("radio.bin");
    Sim sim({"--memory", QString::fromStdString(memory.string()), "--register",
             QString::fromStdString(ini_.string()), QString("COM%1").arg(kCom)});
    ASSERT_FALSE(sim.device().isEmpty());

    InfoToolWindow& w = openWindow();
    ASSERT_EQ(w.portNumber(), kCom);

    w.readFromRadio();
    EXPECT_EQ(awaitMessage(), "Read Complete!");
    EXPECT_EQ(
        w.field(1)->text().toStdString(),
        readInfoField(
            std::span<const std::uint8_t>(
                reinterpret_cast<const std::uint8_t*>(memoryField(memory, {0, 256}).data()), 256),
            info::SerialNumber));
    EXPECT_EQ(w.field(0)->text(), "0595");

    const QString serial = w.field(1)->text();
    w.field(8)->setText("E2E-DEALER");
    w.field(11)->setText("Zhou");
    w.field(12)->setText("8642");
    w.writeToRadio();
    EXPECT_EQ(awaitMessage(), "Write Complete!");
    EXPECT_EQ(memoryField(memory, info::DealerCode), padded("E2E-DEALER", 16));
    EXPECT_EQ(memoryField(memory, info::Seller), padded("Zhou", 16));
    EXPECT_EQ(memoryField(memory, info::ProgramPassword), "8642");
    EXPECT_EQ(w.field(1)->text().toStdString(), advanceSerialNumber(serial.toStdString()));

    // Reading back shows what was written.
    w.field(8)->clear();
    w.readFromRadio();
    EXPECT_EQ(awaitMessage(), "Read Complete!");
    EXPECT_EQ(w.field(8)->text(), "E2E-DEALER");
}

// Bytes between the test's pseudo-terminal (the tool's side of the cable)
// and the radio program currently plugged in; dropped while none is.
class Cable {
  public:
    bool open()
    {
        if (!pty_.open()) return false;
        notifier_ = std::make_unique<QSocketNotifier>(pty_.masterFd(), QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
            const auto bytes = pty_.read(0);
            if (!bytes || bytes->empty() || !radio_ || !radio_->isOpen()) return;
            radio_->write(bytes->data(), static_cast<qint64>(bytes->size()));
        });
        return true;
    }
    std::string device() const { return pty_.devicePath(); }

    bool plugIn(const QString& radioDevice)
    {
        radio_ = std::make_unique<QSerialPort>(radioDevice);
        radio_->setBaudRate(9600);
        if (!radio_->open(QIODevice::ReadWrite)) return false;
        QObject::connect(radio_.get(), &QSerialPort::readyRead, [this] {
            const QByteArray data = radio_->readAll();
            // Best effort, like a cable: a lost byte shows as the tool's own time-out.
            (void)pty_.write(std::span<const std::uint8_t>(
                reinterpret_cast<const std::uint8_t*>(data.constData()),
                static_cast<std::size_t>(data.size())));
        });
        return true;
    }
    void unplug() { radio_.reset(); }

  private:
    PseudoTerminal pty_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::unique_ptr<QSerialPort> radio_;
};

TEST_F(InfoToolEndToEnd, BatchWritesTwoRadiosSwappedOnTheSameCable)
{
    Cable cable;
    ASSERT_TRUE(cable.open());
    ASSERT_TRUE(registerComDevice(ini_, kCom, cable.device()));

    const fs::path first = file("first.bin");
    const fs::path second = file("second.bin");
    auto sim =
        std::make_unique<Sim>(QStringList{"--memory", QString::fromStdString(first.string())});
    ASSERT_FALSE(sim->device().isEmpty());
    ASSERT_TRUE(cable.plugIn(sim->device()));

    InfoToolWindow& w = openWindow();
    ASSERT_EQ(w.portNumber(), kCom);
    const std::string serial = w.field(1)->text().toStdString();
    w.findChild<QLineEdit*>("Text2_0")->setText("2");
    w.field(8)->setText("BATCH-DEALER");
    w.batchWrite();
    ASSERT_TRUE(w.batchRunning());

    auto* status = w.findChild<QLabel*>("Label6");
    ASSERT_TRUE(QTest::qWaitFor([&] { return status->text() == "Waitting next..."; }, 20000))
        << "first radio not written";
    EXPECT_EQ(memoryField(first, info::DealerCode), padded("BATCH-DEALER", 16));
    EXPECT_EQ(w.findChild<QLineEdit*>("Text2_1")->text(), "2");

    // The dealer takes the first radio away and connects the second.
    cable.unplug();
    sim->stop();
    QTest::qWait(1600);  // at least two unanswered handshakes
    EXPECT_TRUE(w.batchRunning());
    sim = std::make_unique<Sim>(QStringList{"--memory", QString::fromStdString(second.string())});
    ASSERT_FALSE(sim->device().isEmpty());
    ASSERT_TRUE(cable.plugIn(sim->device()));

    EXPECT_EQ(awaitMessage(), "MulWrite Complete!");
    EXPECT_FALSE(w.batchRunning());
    EXPECT_EQ(memoryField(second, info::DealerCode), padded("BATCH-DEALER", 16));
    EXPECT_EQ(w.field(1)->text().toStdString(), advanceSerialNumber(advanceSerialNumber(serial)));
    cable.unplug();
}

}  // namespace
}  // namespace zt::infotool
