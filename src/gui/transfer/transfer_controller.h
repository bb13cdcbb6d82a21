#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "core/link/link_interfaces.h"
#include "core/link/transfer.h"
#include "gui/transfer/frm_progress.h"

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
// virtual clock in tests); the port's received bytes go to onReceived().
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

    void onReceived(std::span<const std::uint8_t> bytes);

    TransferMachine& machine() { return *machine_; }
    bool busy() const { return machine_->busy(); }
    frmProgress* progressWindow() const { return progress_; }

    // TransferHost
    RadioDocument& document() override;
    ProgramState& programState() override;
    std::string languageText(int id) override;
    void showProgress(TransferKind kind) override;
    void setProgress(int percent) override;
    void closeProgress() override;
    void closeAllDocumentWindows() override;
    void documentReplaced(const std::string& fileName) override;
    void showRadioInformation() override;
    void endProgram() override;
    void transferEnded(TransferKind kind, bool success) override;

    // ProgramPassword
    std::string enteredPassword() const override;
    bool windowShown() const override;
    void showWindow(std::function<void()> closed) override;

  private:
    void prepare();

    AppContext& app_;
    QPointer<QWidget> windowParent_;
    TransferWindows windows_;
    std::function<void()> beforeOpen_;
    QPointer<frmProgress> progress_;
    std::unique_ptr<TransferMachine> machine_;
};

}  // namespace zt::gui
