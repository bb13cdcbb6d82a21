#include "gui/transfer/transfer_controller.h"

#include <QDialog>
#include <QTimer>
#include <QWidget>

#include "gui/app_context.h"
#include "gui/shell/child_windows.h"
#include "gui/transfer/frm_progress.h"

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
    machine_ = std::make_unique<TransferMachine>(
        TransferDeps{port, timers, *app_.prompt, *this, *this, std::move(versions)});
}

TransferController::~TransferController()
{
    if (progress_) {
        progress_->closing_ = true;
        delete progress_;
    }
}

void TransferController::prepare()
{
    if (beforeOpen_) beforeOpen_();
    // The cable's echo setting found by the last transfer carries over.
    machine_->setNoEcho(app_.noEcho);
}

void TransferController::read()
{
    if (busy()) return;
    prepare();
    machine_->startRead();
}

void TransferController::write()
{
    if (busy()) return;
    prepare();
    machine_->startWrite();
}

void TransferController::readInformation()
{
    if (busy()) return;
    prepare();
    machine_->startInformationRead();
}

void TransferController::onReceived(std::span<const std::uint8_t> bytes)
{
    machine_->onReceived(bytes);
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
    progress_ = new frmProgress(app_, kind == TransferKind::Read, windowParent_);
    progress_->setWindowModality(Qt::ApplicationModal);
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

void TransferController::documentReplaced(const std::string& fileName)
{
    // The decoded radio data is a new, untitled document; the saved copy
    // stays, so it counts as modified.
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
