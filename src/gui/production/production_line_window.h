#pragma once

// Program > Production line...: the production line of the command line's
// `line` command in a window. The job is the current document, the dealer's
// information fields and the checks a radio must pass; the ports are chosen
// from the serial devices present (or typed); a table shows each port's
// state, the radio on it, the write's progress and the last result; the
// running log lists every radio as it is logged to the CSV file.

#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "core/production/production_line.h"
#include "core/production/unit_log.h"
#include "platform/serial_devices.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace zt {
class QtTimerFactory;
class SerialLinkPort;
}  // namespace zt

namespace zt::gui {

struct AppContext;

class ProductionLineWindow : public QWidget {
    Q_OBJECT
  public:
    ProductionLineWindow(AppContext& app, const SerialDeviceSource& devices,
                         QWidget* parent = nullptr);
    ~ProductionLineWindow() override;

    // Lists the serial devices present again, keeping the ports ticked.
    void refreshPorts();
    // Adds a device (ticked) to the list of ports, when it is not there yet.
    void addPort(const QString& device);
    // Starts the line on the ticked ports; false (after saying why) when the
    // job or the ports cannot be used.
    bool startLine();
    // Stops every port; radios being written are logged as stopped.
    void stopLine();
    bool running() const { return line_ && line_->running(); }
    const ProductionLine* line() const { return line_.get(); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QString text(int id) const;
    QString stateText(PortState state) const;
    void showStates();
    void lineFinished();
    void unitLogged(const UnitRecord& unit);
    void setRunning(bool running);

    AppContext& app_;
    const SerialDeviceSource& devices_;
    QCheckBox* writeDocument_ = nullptr;
    QCheckBox* writeInformation_ = nullptr;
    std::vector<std::pair<const char*, QLineEdit*>> infoFields_;  // information-file name, box
    QLineEdit* countedSerial_ = nullptr;
    QCheckBox* checkModel_ = nullptr;
    QLineEdit* model_ = nullptr;
    QCheckBox* checkBand_ = nullptr;
    QLineEdit* band_ = nullptr;
    QCheckBox* checkFirmware_ = nullptr;
    QLineEdit* firmware_ = nullptr;
    QListWidget* ports_ = nullptr;
    QLineEdit* addPortText_ = nullptr;
    QLineEdit* logFile_ = nullptr;
    QTableWidget* table_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    QLabel* summary_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* stop_ = nullptr;
    QTimer* refresh_ = nullptr;

    std::unique_ptr<QtTimerFactory> timers_;
    SteadyClock clock_;
    std::vector<std::unique_ptr<SerialLinkPort>> links_;
    std::unique_ptr<ProductionLine> line_;
    UnitLogFile logFile;
};

// Program > Production line...: opens the window (or brings it forward).
// `commitPendingEdits` runs first, so the document written is the one shown.
void addProductionLineCommand(QMenu& programMenu, AppContext& app, QWidget& mainWindow,
                              std::function<void()> commitPendingEdits);

// Where the line's log goes unless the user names another file.
std::filesystem::path defaultProductionLogPath();

}  // namespace zt::gui
