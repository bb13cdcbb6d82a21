// The production line window with its real serial ports and timers, against
// the virtual radio program on pseudo-terminals.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "core/files/ini_profile.h"
#include "core/link/fresh_radio.h"
#include "core/production/unit_log.h"
#include "core/radio/initial_values.h"
#include "core/text_ids.h"
#include "gui/production/production_line_window.h"
#include "gui/settings/small_window_app.h"
#include "support/fake_serial_devices.h"

namespace zt::gui {
namespace {

const QString kSimPath = QStringLiteral(ZT_STAGE_DIR "/ztp958fm-radio-sim");

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

class ProductionLineWindowTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        applyNewDocumentDefaults(ctx.app.documents.working(), ctx.app.state);
        ctx.app.versions.pairs = {{"V300", "V300"}};
        window = new ProductionLineWindow(ctx.app, devices);
        window->findChild<QLineEdit*>("txtLogFile")->setText(ctx.dir.filePath("units.csv"));
    }
    void TearDown() override { delete window; }

    std::string radioFile(const char* name, const std::string& serial, bool otherModel = false)
    {
        FreshRadioOptions o;
        o.serialNumber = serial;
        RadioMemory m = freshRadioMemory(o);
        // Identification bytes 0..5 at 0x21F0: the model text.
        if (otherModel)
            for (int i = 0; i < 6; ++i) m[0x21F0 + i] = static_cast<std::uint8_t>("XR-100"[i]);
        const std::string file = ctx.dir.filePath(name).toStdString();
        EXPECT_TRUE(
            replaceFileBytes(file, std::string(reinterpret_cast<const char*>(m.data()), m.size())));
        return file;
    }

    testing::SmallWindowApp ctx;
    zt::testing::FakeSerialDevices devices;
    ProductionLineWindow* window = nullptr;
};

TEST_F(ProductionLineWindowTest, StartSaysWhatIsMissing)
{
    QTest::mouseClick(window->findChild<QPushButton*>("cmdStart"), Qt::LeftButton);
    EXPECT_TRUE(ctx.prompt.wasAsked(text::others::NoPortChosen));
    window->addPort("/dev/null");
    window->findChild<QCheckBox*>("chkWriteDocument")->setChecked(false);
    QTest::mouseClick(window->findChild<QPushButton*>("cmdStart"), Qt::LeftButton);
    EXPECT_TRUE(ctx.prompt.wasAsked(text::others::NothingToWrite));
    EXPECT_FALSE(window->running());
}

TEST_F(ProductionLineWindowTest, TwoPortsRunTogetherAndStopClosesTheLog)
{
    if (!QFile::exists(kSimPath)) GTEST_SKIP() << "build ztp958fm-radio-sim first";
    const std::string good = radioFile("good.bin", "2026010100000051");
    Sim a({"--memory", QString::fromStdString(good), "--baud", "0"});
    Sim b({"--memory", QString::fromStdString(radioFile("other.bin", "2026010100000052", true)),
           "--baud", "0"});
    ASSERT_FALSE(a.device().isEmpty());
    window->addPort(a.device());
    window->addPort(b.device());
    window->findChild<QCheckBox*>("chkWriteInformation")->setChecked(true);
    window->findChild<QLineEdit*>("dealer_code")->setText("DL-9");

    QTest::mouseClick(window->findChild<QPushButton*>("cmdStart"), Qt::LeftButton);
    ASSERT_TRUE(window->running());
    auto* log = window->findChild<QPlainTextEdit*>("txtLog");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return log->blockCount() >= 2 && !log->toPlainText().isEmpty() &&
                   log->toPlainText().count('\n') >= 1;
        },
        30000))
        << log->toPlainText().toStdString();
    auto* table = window->findChild<QTableWidget*>("grdPorts");
    ASSERT_EQ(table->rowCount(), 2);
    QTest::qWait(300);  // the table follows on its timer
    EXPECT_EQ(table->item(0, 2)->text(), "2026010100000051");
    EXPECT_TRUE(table->item(0, 4)->text().startsWith("done"))
        << table->item(0, 4)->text().toStdString();
    EXPECT_TRUE(table->item(1, 4)->text().contains("XR-100"))
        << table->item(1, 4)->text().toStdString();

    QTest::mouseClick(window->findChild<QPushButton*>("cmdStop"), Qt::LeftButton);
    EXPECT_FALSE(window->running());
    EXPECT_TRUE(window->findChild<QPushButton*>("cmdStart")->isEnabled());
    a.stop();
    std::string csv;
    ASSERT_TRUE(readFileBytes(ctx.dir.filePath("units.csv").toStdString(), csv));
    EXPECT_EQ(readResumeState(csv).doneSerials, (std::set<std::string>{"2026010100000051"}));
    EXPECT_NE(csv.find(",refused,"), std::string::npos) << csv;
    std::string memory;
    ASSERT_TRUE(readFileBytes(good, memory));
    EXPECT_EQ(memory.substr(0x3FC0, 5), std::string("DL-9\0", 5));
}

}  // namespace
}  // namespace zt::gui
