#pragma once

// The information tool's one window: it shows the radio's information record,
// reads it from a radio, writes the dealer part to one radio, and writes the
// same dealer data to a series of radios in turn (batch write), counting them
// and advancing the serial number from radio to radio.

#include <QDate>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "core/host/link_interfaces.h"
#include "core/link/dealer_fields.h"
#include "core/link/info_exchange.h"
#include "gui/infotool/batch_write.h"
#include "gui/infotool/dealer_field_edits.h"
#include "platform/serial_devices.h"

class QCheckBox;
class QKeyEvent;
class QComboBox;
class QLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace zt::gui {
class PromptService;
}

namespace zt::infotool {

struct PortDeviceSource;

// What the window is given by its program (or by a test).
struct InfoToolHost {
    LinkPort* port = nullptr;              // the serial port of the exchange
    TimerFactory* timers = nullptr;        // the exchange's 500 ms time-out
    gui::PromptService* prompt = nullptr;  // every message box
    std::filesystem::path settingsIni;     // the tool's own "mysetup.ini"
    int language = 1;                      // 1 English, 2 Chinese: fixed for the run
    // The existing COM ports in enumeration order.
    std::function<std::vector<int>()> listPorts;
    // Points the port at COM n's device before it is opened.
    std::function<void(int number)> selectPort;
    // Today's date and its text in the system's short date form.
    std::function<QDate()> today;
    std::function<QString(const QDate&)> shortDate;
    // The operating-system check; false shows "Unkown operating system!".
    std::function<bool()> osVersionKnown;
    // The serial devices behind the port numbers, for the line beside the
    // port list and the device window: the device of COM n, the devices
    // present, whether this user may open a device. Unset: nothing shown.
    std::function<std::filesystem::path(int number)> portDevice;
    std::function<std::vector<SerialDevice>()> listDevices;
    std::function<DeviceAccessInfo(const std::filesystem::path&)> deviceAccess;
};

// The defaults of a host running on this machine: the platform's port table
// (devices named in `settingsIni`), today's date in the system locale's short
// form, an operating system that is always known. Port, timers, prompt and
// language are left to the caller.
InfoToolHost systemHost(const std::filesystem::path& settingsIni);

class InfoToolWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kPortRefreshMs = 1000;
    static constexpr int kCountMaxLength = 3;

    explicit InfoToolWindow(InfoToolHost host, QWidget* parent = nullptr);
    ~InfoToolWindow() override;

    // Window load: record, captions, OS check, port list and stored port,
    // band entry, the record shown, ReShowComPortTimer.
    void formLoad();

    // The port failed for good (cable or adapter pulled) and is closed: a
    // running read, write or batch ends at once with "Communication Error!"
    // and the words that the cable was disconnected.
    void portLost(const std::string& reason);

    // Commands.
    void readFromRadio();  // Read
    // Write. With a dealer field left empty the radio is read first and the
    // user asked before a value it holds is cleared; a field left empty that
    // the user did not choose to clear keeps the radio's value.
    void writeToRadio();
    void exitTool();    // Exit
    void batchWrite();  // batch start / stop (BatchWrite)
    // A choice in the port list (index of the entry).
    void choosePort(int index);
    // One tick of ReShowComPortTimer.
    void refreshPortList();
    // The device window (assign a device to a COM number), shown modally.
    void showPortDevices();
    // The line naming the chosen number's device; follows every port-list
    // refresh and port choice.
    void showPortDevice();

    // Record -> window, and the window's values -> record (model and band are
    // put back as the record holds them; the version is never taken).
    void showRecord();
    void takeFieldsInto(InfoToolRecord& record);

    InfoExchange& exchange() { return *exchange_; }
    InfoToolRecord& record() { return exchange_->record(); }
    int portNumber() const { return portNumber_; }
    bool batchRunning() const;
    int language() const { return host_.language; }

    // The port list, for tests: entry texts and whether each can be chosen.
    QComboBox* portList() const { return portList_; }
    bool portEntryEnabled(int index) const;

    // Controls, for tests and screenshots.
    QLineEdit* field(int k) const;  // Text1(k), k != 4
    QPlainTextEdit* descriptionField() const { return description_; }
    QLabel* fieldLabel(int k) const { return fieldLabels_.at(static_cast<std::size_t>(k)); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The window's controls, built part by part.
    void build();
    void createFieldEdits();
    void createDescriptionBox();
    void createModelAndBandBoxes();
    void createFieldLabels();
    QLayout* buildRecordColumn();
    QLayout* buildDealerColumn();
    QGroupBox* buildDealerFrame();
    QLayout* buildOptionBoxes();
    QLayout* buildPortAndBatchRow();
    QLayout* buildPortDeviceRow();
    QLayout* buildCommandButtons();
    void keepDescriptionShort();
    void applyTexts();
    void fillPortList();
    PortDeviceSource portDeviceSource() const;
    void exchangeFinished(InfoOutcome outcome);
    // The Write after the radio was read quietly: asks about the fields left empty.
    void writeAfterLooking();
    bool preparePort();
    void message(std::string_view text, Icon icon = Icon::None);
    // Stores the chosen port as the tool's `comPort`; a failure is shown.
    void rememberPort();
    QString todayText() const;
    bool serialFieldKey(QKeyEvent* event);
    void showChosenPortMissing();

    InfoToolHost host_;
    std::unique_ptr<InfoExchange> exchange_;
    int portNumber_ = 0;
    std::unique_ptr<DealerFieldEdits> dealerFields_;
    std::unique_ptr<BatchWrite> batch_;
    // A Write reads the radio first when a dealer field is left empty; the
    // record is put back as it was after that look.
    bool lookingBeforeWrite_ = false;
    InfoToolRecord recordBeforeLook_;
    // The fields the user chose to clear on the radio of this Write.
    std::vector<DealerField> writeClears_;
    bool closing_ = false;
    std::string lostReason_;  // the port was lost during the running exchange

    QComboBox* modelBox_ = nullptr;          // Combo1(0)
    QComboBox* bandBox_ = nullptr;           // Combo1(1)
    std::array<QLineEdit*, 13> fields_{};    // Text1(k); index 4 stays null
    QPlainTextEdit* description_ = nullptr;  // Text1(4)
    std::array<QLabel*, 14> fieldLabels_{};  // Label1(k)
    QLabel* areaLabel_ = nullptr;
    QLabel* portLabel_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QLabel* currentLabel_ = nullptr;
    QGroupBox* dealerFrame_ = nullptr;         // Frame2
    std::array<QCheckBox*, 5> optionBoxes_{};  // Check1..Check5
    QComboBox* portList_ = nullptr;            // Combo2
    QPushButton* readButton_ = nullptr;        // Command1
    QPushButton* writeButton_ = nullptr;       // Command2
    QPushButton* exitButton_ = nullptr;        // Command3
    QPushButton* batchButton_ = nullptr;       // Command4
    QLineEdit* batchCount_ = nullptr;          // Text2(0)
    QLineEdit* currentRadio_ = nullptr;        // Text2(1)
    QLabel* batchStatus_ = nullptr;            // Label6
    QTimer* portTimer_ = nullptr;
    QLabel* portDevice_ = nullptr;
    QPushButton* portsButton_ = nullptr;
};

}  // namespace zt::infotool
