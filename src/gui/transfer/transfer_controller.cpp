#include "gui/transfer/transfer_controller.h"

#include <QDateTime>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include "gui/app_context.h"
#include "gui/shell/child_windows.h"
#include "gui/transfer/link_options.h"
#include "gui/transfer/transfer_progress_dialog.h"

namespace zt::gui {

TransferController::TransferController(AppContext& app, LinkPort& port, TimerFactory& timers,
                                       QWidget* windowParent)
    : app_(app), windowParent_(windowParent)
{
    VersionSwitch versions;
    versions.table = &app_.versions;
    versions.text = app_.texts.lookup();
    versions.paths = &app_.paths;
    versions.executableName = app_.executableName;
    versions.launcher = app_.launcher;
    versions.prompt = app_.prompt;
    // Every byte passes the trace; it is written down only while a trace file
    // is open.
    tracing_ = std::make_unique<TracingPort>(port, traceClock_, [this](const std::string& line) {
        if (traceOut_.is_open()) traceOut_ << line << '\n' << std::flush;
    });
    machine_ = std::make_unique<TransferMachine>(
        TransferDeps{*tracing_, timers, *app_.prompt, *this, *this, std::move(versions)});
}

TransferController::~TransferController()
{
    if (progress_) {
        progress_->closing_ = true;
        delete progress_;
    }
}

bool TransferController::prepare(TransferKind kind)
{
    if (beforeOpen_) beforeOpen_();
    // The cable's echo setting found by the last transfer carries over.
    machine_->setNoEcho(app_.noEcho);
    const LinkOptions options = loadLinkOptions(app_.paths.mySetupIni());
    machine_->setVerifyAfterWrite(options.verifyAfterWrite);
    endTrace();
    if (!options.trace) return true;
    // One trace file a command, so that it holds exactly the transfer that
    // went wrong.
    traceOut_.open(options.traceFile, std::ios::out | std::ios::trunc);
    if (!traceOut_.is_open()) {
        Message m;
        m.textId = text::msg::TraceNotWritable;
        m.text = options.traceFile;
        m.icon = Icon::Warning;
        app_.prompt->ask(m, [this, kind](Answer) { transferEnded(kind, false); });
        return false;
    }
    static const char* const kKinds[] = {"idle", "read", "write", "information read"};
    traceOut_ << "# ZTP958FM " << kKinds[static_cast<int>(kind)] << ", "
              << QDateTime::currentDateTime().toString(Qt::ISODate).toStdString()
              << "; milliseconds, -> sent, <- received\n";
    return true;
}

void TransferController::endTrace()
{
    if (!traceOut_.is_open()) return;
    tracing_->flush();
    traceOut_.close();
}

void TransferController::read()
{
    if (busy() || !prepare(TransferKind::Read)) return;
    machine_->startRead();
}

void TransferController::write()
{
    if (busy() || !prepare(TransferKind::Write)) return;
    machine_->startWrite();
}

void TransferController::readInformation()
{
    if (busy() || !prepare(TransferKind::Information)) return;
    machine_->startInformationRead();
}

void TransferController::cancel()
{
    machine_->cancel();
}

void TransferController::portLost(const std::string& reason)
{
    machine_->portLost(reason);
}

RadioDocument& TransferController::document()
{
    return app_.documents.working();
}
ProgramState& TransferController::programState()
{
    return app_.state;
}
std::string TransferController::languageText(int id)
{
    return app_.texts.GetLangText(id);
}

void TransferController::showProgress(TransferKind kind)
{
    closeProgress();
    progress_ = new TransferProgressDialog(app_, kind == TransferKind::Read, windowParent_);
    progress_->setWindowModality(Qt::ApplicationModal);
    connect(progress_, &TransferProgressDialog::cancelClicked, this, [this] { cancel(); });
    progress_->show();
}

void TransferController::setProgress(int percent)
{
    if (progress_) progress_->setValue(percent);
}

void TransferController::closeProgress()
{
    if (!progress_) return;
    progress_->closing_ = true;
    progress_->hide();
    progress_->deleteLater();
    progress_ = nullptr;
}

void TransferController::closeAllDocumentWindows()
{
    if (windows_.closeAllDocumentWindows) windows_.closeAllDocumentWindows();
}

void TransferController::documentRead(RadioDocument document, const std::string& fileName)
{
    // The decoded radio data is a new, untitled document; the saved copy
    // stays, so it counts as modified.
    app_.documents.working() = std::move(document);
    app_.documents.markUntitled();
    if (windows_.documentReplaced) windows_.documentReplaced(fileName);
}

void TransferController::showRadioInformation()
{
    if (windows_.showRadioInformation) windows_.showRadioInformation();
}

void TransferController::endProgram()
{
    if (windows_.endProgram) windows_.endProgram();
}

void TransferController::transferFinished(TransferKind kind, TransferOutcome outcome)
{
    endTrace();
    if (outcome == TransferOutcome::Cancelled && machine_->cancelledMidWrite()) {
        // Some blocks are new and some old: the radio must not be taken for
        // either the old or the new document.
        Message m;
        m.textId = msg::WriteCancelledMidway;
        m.buttons = Buttons::Ok;
        m.icon = Icon::Warning;
        app_.prompt->ask(m, [this, kind](Answer) { transferEnded(kind, false); });
        return;
    }
    transferEnded(kind, outcome == TransferOutcome::Succeeded);
}

void TransferController::transferEnded(TransferKind kind, bool success)
{
    app_.noEcho = machine_->noEcho();
    if (windows_.ended) windows_.ended(kind, success);
}

std::string TransferController::enteredPassword() const
{
    return app_.enteredPassword;
}
bool TransferController::windowShown() const
{
    return app_.passwordWindowShown;
}

void TransferController::showWindow(std::function<void()> closed)
{
    // Shown from the event loop, not from inside the receive handler.
    QTimer::singleShot(0, this, [this, closed = std::move(closed)] {
        app_.passwordWindowShown = false;
        QDialog* window = createModalWindow(window::PassWord, app_, windowParent_);
        if (window) {
            app_.prompt->execModal(*window);
            app_.passwordWindowShown = true;
            delete window;
        }
        if (closed) closed();
    });
}

}  // namespace zt::gui
