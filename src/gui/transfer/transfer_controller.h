#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "core/host/clock.h"
#include "core/host/link_interfaces.h"
#include "core/link/tracing_port.h"
#include "core/link/transfer.h"
#include "gui/transfer/transfer_progress_dialog.h"

class QWidget;

namespace zt::gui {

struct AppContext;

// What a transfer asks of the main window.
struct TransferWindows {
    std::function<void()> closeAllDocumentWindows;
    // The read was decoded into the working document (untitled, `fileName`).
    std::function<void(const std::string& fileName)> documentReplaced;
    std::function<void()> showRadioInformation;
    std::function<void()> endProgram;
    std::function<void(TransferKind, bool success)> ended;
};

// Runs the transfer step machine for the program's menu commands: the
// progress window, the program-password window and the main window's reactions
// to a finished read, write or information read. The port and the timers are
// given (a serial port and Qt timers in the program, the virtual radio and a
// virtual clock in tests); the transfers take the port's received bytes themselves.
// Each command takes the transfer options of mysetup.ini: verify after write,
// and a serial trace of the whole command written to the trace file.
class TransferController final : public QObject, public TransferHost, public ProgramPassword {
    Q_OBJECT
  public:
    TransferController(AppContext& app, LinkPort& port, TimerFactory& timers,
                       QWidget* windowParent = nullptr);
    ~TransferController() override;

    void setWindows(TransferWindows windows) { windows_ = std::move(windows); }
    // Runs before each command opens the port (the program points the serial
    // port at the device of the chosen COM number here).
    void setBeforeOpen(std::function<void()> beforeOpen) { beforeOpen_ = std::move(beforeOpen); }

    // Program > Read, Program > Write (after the edits were committed), and
    // the information read. Each does nothing while a transfer runs.
    void read();
    void write();
    void readInformation();
    // Stops the running transfer (the progress window's Cancel): the radio is
    // told END, the document stays as it was.
    void cancel();

    // The serial port failed for good (cable or adapter pulled) and is closed.
    void portLost(const std::string& reason);

    TransferMachine& machine() { return *machine_; }
    bool busy() const { return machine_->busy(); }
    TransferProgressDialog* progressWindow() const { return progress_; }

    // TransferHost
    RadioDocument& document() override;
    ProgramState& programState() override;
    std::string languageText(int id) override;
    void showProgress(TransferKind kind) override;
    void setProgress(int percent) override;
    void closeProgress() override;
    void closeAllDocumentWindows() override;
    void documentRead(RadioDocument document, const std::string& fileName) override;
    void showRadioInformation() override;
    void endProgram() override;
    void transferEnded(TransferKind kind, bool success) override;
    void transferFinished(TransferKind kind, TransferOutcome outcome) override;

    // ProgramPassword
    std::string enteredPassword() const override;
    bool windowShown() const override;
    void showWindow(std::function<void()> closed) override;

  private:
    // False when the command must not start (its trace file cannot be written).
    bool prepare(TransferKind kind);
    void endTrace();

    AppContext& app_;
    QPointer<QWidget> windowParent_;
    TransferWindows windows_;
    std::function<void()> beforeOpen_;
    QPointer<TransferProgressDialog> progress_;
    SteadyClock traceClock_;
    std::ofstream traceOut_;
    std::unique_ptr<TracingPort> tracing_;  // between the machine and the port
    std::unique_ptr<TransferMachine> machine_;
};

}  // namespace zt::gui
