#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/history/snapshot_store.h"
#include "core/host/clock.h"
#include "core/host/link_interfaces.h"
#include "core/link/tracing_port.h"
#include "core/link/transfer.h"
#include "gui/transfer/transfer_progress_dialog.h"

class QDialog;
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
    // A command ended (after every transfer it ran and its last message).
    std::function<void(TransferKind, bool success)> ended;
    // Shows channel `chNo` in the channel grid (a double click in a comparison).
    std::function<void(int chNo)> showChannel;
};

// Runs the transfer step machine for the program's menu commands: the
// progress window, the program-password window and the main window's reactions
// to a finished read, write or information read. The port and the timers are
// given (a serial port and Qt timers in the program, the virtual radio and a
// virtual clock in tests); the transfers take the port's received bytes themselves.
// Each command takes the transfer options of mysetup.ini: verify after write,
// and a serial trace of the whole command written to the trace file.
//
// The radio's contents are kept as snapshots (the user's data folder): every
// read, and before each write the radio is read first ("before write", unless
// the backup is turned off or the open document is this session's read of the
// same radio with no write since), the write preview shows what the write
// changes and asks, and what was written is kept too ("written"). A command
// may so run several transfers; the windows hear of its end once.
class TransferController final : public QObject,
                                 public TransferHost,
                                 public ProgramPassword,
                                 public AsyncPrompt {
    Q_OBJECT
  public:
    TransferController(AppContext& app, LinkPort& port, TimerFactory& timers,
                       QWidget* windowParent = nullptr);
    ~TransferController() override;

    void setWindows(TransferWindows windows) { windows_ = std::move(windows); }
    // Runs before each command opens the port (the program points the serial
    // port at the device of the chosen COM number here).
    void setBeforeOpen(std::function<void()> beforeOpen) { beforeOpen_ = std::move(beforeOpen); }
    // Makes the program-password window (the program's modal window, given by the shell that
    // owns the window names); without one a radio that asks for the password gets none.
    void setPasswordWindow(std::function<QDialog*(QWidget* parent)> make)
    {
        makePasswordWindow_ = std::move(make);
    }

    // Program > Read, Program > Write (after the edits were committed), and
    // the information read. Each does nothing while a transfer runs.
    void read();
    void write();
    void readInformation();
    // Program > Compare with radio: reads the radio (the open document stays)
    // and shows how it differs from the open document.
    void compareWithRadio();
    // Writes a snapshot's image back, byte for byte, the way every write goes.
    void restore(const Snapshot& snapshot);

    // Whether a write reads the radio first for a backup (on unless the user
    // turned it off).
    void setBackupBeforeWrite(bool on) { backupBeforeWrite_ = on; }
    bool backupBeforeWrite() const { return backupBeforeWrite_; }
    // Where snapshots are kept (the user's data folder unless set).
    void setSnapshotRoot(std::filesystem::path root) { snapshotRoot_ = std::move(root); }
    std::filesystem::path snapshotRoot() const;
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

    // AsyncPrompt: the transfers' questions. Within a command that has asked
    // already (the write preview) or reads only for itself, the transfer's own
    // confirmation and read-complete messages are answered here.
    void ask(const Message& message, std::function<void(Answer)> answered) override;

  signals:
    // A line for the status bar (where a snapshot is kept).
    void statusMessage(const QString& text);
    // A read ended without replacing the document (cancelled, refused or failed).
    void readLeftDocumentUnchanged();

  private:
    // What one reading of a radio gave.
    struct Reading {
        RadioIdentity identity;
        std::vector<std::uint8_t> image;
        std::vector<std::uint8_t> identification;
        RadioDocument document;
        std::filesystem::path file;  // where it is kept (empty: not kept)
    };
    // How a transfer of a command treats the program around it.
    enum class Use {
        Plain,   // as the menu command alone: the read replaces the document
        Aside,   // a read or information read for the command only: nothing shown
        Agreed,  // a write the user agreed to in the preview: no second question
    };

    // False when the command must not start (its trace file cannot be written).
    bool beginCommand(TransferKind kind);
    void endCommand(TransferKind kind, bool success);
    void endTrace();
    // Starts one transfer of the running command; `then` runs from the event
    // loop once it ended (for a read, once it was also decoded).
    void runTransfer(TransferKind kind, Use use, std::function<void(bool ok)> then);
    void transferStepDone(bool ok);
    void restoreState();
    Reading takeReading() const;
    SnapshotSaved keep(SnapshotKind kind, const Reading& r);
    // Reads the radio's serial number (an information read) into `serial`.
    void readSerial(std::function<void(bool ok, std::string serial)> then);
    // Model, band and version as the radio names itself, and its serial number.
    void readIdentity(std::function<void(bool ok, const RadioIdentity& identity)> then);
    QString identityWords(const RadioIdentity& identity) const;
    void writeWithBackup();
    void backupRead();
    void showPreview();
    void checkIdentityAndWrite();
    // The write itself; `agreed`: the user agreed in the preview already.
    void writeNow(bool agreed);
    void writeDone(bool ok);
    // The write stops before anything is sent, saying why.
    void stopWrite(const QString& why);
    void status(int textId, const std::string& detail);

    AppContext& app_;
    QPointer<QWidget> windowParent_;
    TransferWindows windows_;
    std::function<void()> beforeOpen_;
    std::function<QDialog*(QWidget* parent)> makePasswordWindow_;
    QPointer<TransferProgressDialog> progress_;
    SteadyClock traceClock_;
    std::ofstream traceOut_;
    std::unique_ptr<TracingPort> tracing_;  // between the machine and the port
    std::unique_ptr<TransferMachine> machine_;

    // The running command and its transfer.
    TransferKind command_ = TransferKind::Idle;
    Use use_ = Use::Plain;
    std::function<void(bool)> then_;
    bool transferEndedOk_ = false;  // the transfer ended well; a read waits for its decoding
    bool awaitingEnd_ = false;      // a transfer of the command runs
    bool decodedSeen_ = false;      // the read's image was decoded
    std::optional<RadioDocument> decoded_;     // what an aside read decoded
    std::optional<ProgramState> stateBefore_;  // kept across an aside transfer
    Reading readingAtEnd_;

    // The write on its way: what it sends and the radio's contents before it.
    std::optional<RadioDocument> source_;    // null: the open document
    std::optional<RadioImage> sourceImage_;  // a snapshot's image, byte for byte
    std::optional<Reading> backup_;
    // The last Program > Read of this session while it is the open document and
    // nothing was written since: it may stand for the backup of the next write.
    std::optional<Reading> lastRead_;

    bool backupBeforeWrite_ = true;
    std::filesystem::path snapshotRoot_;
    SystemWallClock wallClock_;
};

}  // namespace zt::gui
