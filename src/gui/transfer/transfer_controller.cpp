#include "gui/transfer/transfer_controller.h"

#include <QDateTime>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "core/interop/document_compare.h"
#include "core/link/document_after_write.h"
#include "core/link/info_block.h"
#include "core/radio/representable.h"
#include "gui/app_context.h"
#include "gui/history/comparison_dialog.h"
#include "gui/transfer/link_options.h"
#include "gui/transfer/transfer_progress_dialog.h"

#ifndef ZT_PROGRAM_VERSION
#define ZT_PROGRAM_VERSION "unknown"
#endif

namespace zt::gui {

namespace {

// The identification bytes of the image: model text, band byte, reply bytes, version, flags.
constexpr std::size_t kIdentityLength = 14;
constexpr std::size_t kModelAndBandLength = 7;  // model text and band byte

}  // namespace

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
        TransferDeps{*tracing_, timers, *this, *this, *this, std::move(versions)});
    // Another document (opened, new, imported) is no longer the last read: the
    // next write reads the radio for its backup again.
    connect(&app_.events, &DocumentEvents::documentReplaced, this, [this] { lastRead_.reset(); });
}

TransferController::~TransferController()
{
    if (progress_) {
        progress_->closing_ = true;
        delete progress_;
    }
}

std::filesystem::path TransferController::snapshotRoot() const
{
    return snapshotRoot_.empty() ? defaultSnapshotRoot(std::getenv) : snapshotRoot_;
}

// ---- Commands and their transfers -------------------------------------------

bool TransferController::beginCommand(TransferKind kind)
{
    if (busy() || command_ != TransferKind::Idle) return false;
    command_ = kind;
    endTrace();
    const LinkOptions options = loadLinkOptions(app_.paths.mySetupIni());
    if (!options.trace) return true;
    // One trace file a command, so that it holds exactly the command that
    // went wrong (with every transfer it ran).
    traceOut_.open(options.traceFile, std::ios::out | std::ios::trunc);
    if (!traceOut_.is_open()) {
        Message m;
        m.textId = text::msg::TraceNotWritable;
        m.text = options.traceFile;
        m.icon = Icon::Warning;
        app_.prompt->ask(m, [this, kind](Answer) { endCommand(kind, false); });
        return false;
    }
    static const char* const kKinds[] = {"idle", "read", "write", "information read"};
    traceOut_ << "# ZTP958FM " << kKinds[static_cast<int>(kind)] << ", "
              << QDateTime::currentDateTime().toString(Qt::ISODate).toStdString()
              << "; milliseconds, -> sent, <- received\n";
    return true;
}

void TransferController::endCommand(TransferKind kind, bool success)
{
    endTrace();
    command_ = TransferKind::Idle;
    use_ = Use::Plain;
    source_.reset();
    sourceImage_.reset();
    backup_.reset();
    if (windows_.ended) windows_.ended(kind, success);
    if (kind == TransferKind::Read && !success) emit readLeftDocumentUnchanged();
}

void TransferController::endTrace()
{
    if (!traceOut_.is_open()) return;
    tracing_->flush();
    traceOut_.close();
}

void TransferController::runTransfer(TransferKind kind, Use use, std::function<void(bool)> then)
{
    use_ = use;
    then_ = std::move(then);
    transferEndedOk_ = false;
    decodedSeen_ = false;
    decoded_.reset();
    awaitingEnd_ = true;
    // A transfer for the command alone leaves the program-wide values (model,
    // band, radio information) as the open document has them.
    if (use == Use::Aside)
        stateBefore_ = app_.state;
    else
        stateBefore_.reset();
    if (beforeOpen_) beforeOpen_();
    // The cable's echo setting found by the last transfer carries over.
    machine_->setNoEcho(app_.noEcho);
    machine_->setVerifyAfterWrite(loadLinkOptions(app_.paths.mySetupIni()).verifyAfterWrite);
    switch (kind) {
        case TransferKind::Read:
            machine_->startRead();
            break;
        case TransferKind::Write:
            machine_->startWrite();
            break;
        case TransferKind::Information:
            machine_->startInformationRead();
            break;
        case TransferKind::Idle:
            break;
    }
}

void TransferController::restoreState()
{
    if (!stateBefore_) return;
    // The radio's feature flags are those of the radio just read, whatever
    // document is open.
    const ProgramState radio = app_.state;
    app_.state = *stateBefore_;
    app_.state.Settings = radio.Settings;
    app_.state.RefuseWriteFlag1 = radio.RefuseWriteFlag1;
    app_.state.RefuseWriteFlag2 = radio.RefuseWriteFlag2;
    stateBefore_.reset();
}

void TransferController::transferStepDone(bool ok)
{
    awaitingEnd_ = false;
    restoreState();
    // The next step starts from the event loop, once the transfer has
    // unwound.
    QTimer::singleShot(0, this, [then = std::move(then_), ok] {
        if (then) then(ok);
    });
    then_ = nullptr;
}

TransferController::Reading TransferController::takeReading() const
{
    Reading r;
    const auto& bytes = machine_->image().bytes;
    r.image.assign(bytes.begin(), bytes.end());
    r.identification.assign(bytes.begin() + img::Identity,
                            bytes.begin() + img::Identity + kIdentityLength);
    r.identity.model = machine_->identification().model;
    r.identity.band = machine_->identification().variant;
    r.identity.version = machine_->identification().version;
    return r;
}

SnapshotSaved TransferController::keep(SnapshotKind kind, const Reading& r)
{
    SnapshotStore store(snapshotRoot(), wallClock_);
    return store.store(kind, r.identity, r.image, r.identification, r.document, ZT_PROGRAM_VERSION);
}

void TransferController::readSerial(std::function<void(bool, std::string)> then)
{
    readIdentity([then = std::move(then)](bool ok, const RadioIdentity& identity) {
        then(ok, identity.serial);
    });
}

void TransferController::readIdentity(std::function<void(bool, const RadioIdentity&)> then)
{
    runTransfer(TransferKind::Information, Use::Aside, [this, then = std::move(then)](bool ok) {
        RadioIdentity identity;
        if (ok) {
            identity.model = machine_->identification().model;
            identity.band = machine_->identification().variant;
            identity.version = machine_->identification().version;
            identity.serial = readInfoField(machine_->infoBlock().bytes, info::SerialNumber);
        }
        then(ok, identity);
    });
}

QString TransferController::identityWords(const RadioIdentity& identity) const
{
    return app_.text(text::msg::RadioIdentityWords)
        .arg(QString::fromStdString(identity.model), QString::number(identity.band),
             QString::fromStdString(identity.version), QString::fromStdString(identity.serial));
}

void TransferController::status(int textId, const std::string& detail)
{
    QString line = app_.text(textId);
    if (line.contains("%1")) line = line.arg(QString::fromStdString(detail));
    emit statusMessage(line);
}

void TransferController::read()
{
    if (!beginCommand(TransferKind::Read)) return;
    runTransfer(TransferKind::Read, Use::Plain, [this](bool ok) {
        if (!ok) return endCommand(TransferKind::Read, false);
        Reading r = readingAtEnd_;
        r.document = app_.documents.working();
        // The serial number names the radio's folder among its others.
        readSerial([this, r](bool known, const std::string& serial) mutable {
            if (!known) {
                status(text::msg::StatusNotKept, app_.texts.GetLangText(text::msg::SerialNotRead));
                return endCommand(TransferKind::Read, true);
            }
            r.identity.serial = serial;
            const SnapshotSaved saved = keep(SnapshotKind::Read, r);
            if (saved.file.empty()) {
                status(text::msg::StatusNotKept, saved.problem);
            } else {
                status(text::msg::StatusReadKept, saved.file.string());
                r.file = saved.file;
                lastRead_ = std::move(r);
            }
            endCommand(TransferKind::Read, true);
        });
    });
}

void TransferController::write()
{
    if (!beginCommand(TransferKind::Write)) return;
    writeWithBackup();
}

void TransferController::restore(const Snapshot& snapshot)
{
    if (snapshot.image.size() != kImageSize) {
        Message m;
        m.textId = text::msg::SnapshotRefused;
        m.icon = Icon::Error;
        app_.prompt->ask(m);
        return;
    }
    if (!beginCommand(TransferKind::Write)) return;
    source_ = snapshot.document;
    RadioImage image;
    std::copy(snapshot.image.begin(), snapshot.image.end(), image.bytes.begin());
    sourceImage_ = image;
    writeWithBackup();
}

void TransferController::readInformation()
{
    if (!beginCommand(TransferKind::Information)) return;
    runTransfer(TransferKind::Information, Use::Plain,
                [this](bool ok) { endCommand(TransferKind::Information, ok); });
}

void TransferController::compareWithRadio()
{
    if (!beginCommand(TransferKind::Read)) return;
    runTransfer(TransferKind::Read, Use::Aside, [this](bool ok) {
        if (!ok) return endCommand(TransferKind::Read, false);
        Reading r = readingAtEnd_;
        r.document = decoded_ ? *decoded_ : RadioDocument{};
        readSerial([this, r](bool known, const std::string& serial) mutable {
            if (known) {
                r.identity.serial = serial;
                const SnapshotSaved saved = keep(SnapshotKind::Read, r);
                if (saved.file.empty())
                    status(text::msg::StatusNotKept, saved.problem);
                else
                    status(text::msg::StatusReadKept, saved.file.string());
            }
            endCommand(TransferKind::Read, true);
            // The document as a write would leave it in this radio: fields a write always
            // stores the same way do not show up as differences.
            const DocumentComparison c =
                compareDocuments(documentAfterWrite(app_.documents.working(), r.image), r.document,
                                 app_.state.Limits);
            ComparisonDialog dialog(app_, c, ComparisonDialog::Mode::Compare, windowParent_);
            int chosen = 0;
            QObject::connect(&dialog, &ComparisonDialog::channelChosen, &dialog, [&](int chNo) {
                chosen = chNo;
                dialog.reject();
            });
            app_.prompt->execModal(dialog);
            if (chosen > 0 && windows_.showChannel) windows_.showChannel(chosen);
        });
    });
}

// ---- The write with its backup ----------------------------------------------

void TransferController::writeWithBackup()
{
    const RadioDocument& doc = source_ ? *source_ : app_.documents.working();
    // A document the radio cannot hold is refused by the write itself before
    // anything is sent; a backup would be read for nothing.
    if (!backupBeforeWrite_ || !unrepresentableFields(doc).empty()) return writeNow(false);
    if (lastRead_ && !source_) {
        // The open document is this session's read: when the radio is still
        // that one, its read is the backup.
        readIdentity([this](bool ok, const RadioIdentity& identity) {
            if (!ok) return stopWrite(app_.text(text::msg::BackupReadFailed));
            if (lastRead_ && identity == lastRead_->identity) {
                backup_ = lastRead_;
                return showPreview();
            }
            backupRead();
        });
        return;
    }
    backupRead();
}

void TransferController::backupRead()
{
    runTransfer(TransferKind::Read, Use::Aside, [this](bool ok) {
        if (!ok) return stopWrite(app_.text(text::msg::BackupReadFailed));
        Reading r = readingAtEnd_;
        r.document = decoded_ ? *decoded_ : RadioDocument{};
        readSerial([this, r](bool known, const std::string& serial) mutable {
            if (!known) return stopWrite(app_.text(text::msg::BackupReadFailed));
            r.identity.serial = serial;
            const SnapshotSaved saved = keep(SnapshotKind::BeforeWrite, r);
            if (saved.file.empty())
                return stopWrite(app_.text(text::msg::BackupNotKept) + "\n" +
                                 QString::fromStdString(saved.problem));
            r.file = saved.file;
            backup_ = std::move(r);
            showPreview();
        });
    });
}

void TransferController::showPreview()
{
    if (sourceImage_) {
        // A snapshot's image carries its own model text and band byte: another
        // model's or band's image would put wrong settings into this radio.
        const auto* a = sourceImage_->bytes.data() + img::Identity;
        const auto* b = backup_->image.data() + img::Identity;
        if (!std::equal(a, a + kModelAndBandLength, b))
            return stopWrite(app_.text(text::msg::RestoreOtherModel));
    }
    // Compared with what the radio will hold after the write, so fields a write always stores
    // the same way are not shown as changes.
    const RadioDocument& doc = source_ ? *source_ : app_.documents.working();
    const RadioDocument after = sourceImage_
                                    ? documentAfterWrite(*sourceImage_, backup_->image, doc)
                                    : documentAfterWrite(doc, backup_->image);
    const DocumentComparison c = compareDocuments(backup_->document, after, app_.state.Limits);
    ComparisonDialog dialog(app_, c, ComparisonDialog::Mode::WritePreview, windowParent_);
    int chosen = 0;
    QObject::connect(&dialog, &ComparisonDialog::channelChosen, &dialog, [&](int chNo) {
        chosen = chNo;
        dialog.reject();
    });
    if (app_.prompt->execModal(dialog) != QDialog::Accepted) {
        status(text::msg::StatusNothingWritten, {});
        endCommand(TransferKind::Write, false);
        if (chosen > 0 && windows_.showChannel) windows_.showChannel(chosen);
        return;
    }
    checkIdentityAndWrite();
}

void TransferController::checkIdentityAndWrite()
{
    // The radio must still be the one that was backed up: model, band, version and serial.
    readIdentity([this](bool ok, const RadioIdentity& now) {
        if (!ok) return stopWrite(app_.text(text::msg::RadioNotIdentified));
        if (!(now == backup_->identity))
            return stopWrite(app_.text(text::msg::RadioChangedSinceBackup)
                                 .arg(identityWords(backup_->identity), identityWords(now)));
        writeNow(true);
    });
}

void TransferController::writeNow(bool agreed)
{
    // Whatever happens now, the radio may no longer hold the last read.
    lastRead_.reset();
    runTransfer(TransferKind::Write, agreed ? Use::Agreed : Use::Plain,
                [this](bool ok) { writeDone(ok); });
}

void TransferController::writeDone(bool ok)
{
    const std::filesystem::path backupFile = backup_ ? backup_->file : std::filesystem::path();
    if (!ok) {
        if (!backupFile.empty()) status(text::msg::StatusBackupKept, backupFile.string());
        return endCommand(TransferKind::Write, false);
    }
    Reading written = takeReading();
    written.document = source_ ? *source_ : app_.documents.working();
    auto keepWritten = [this, backupFile](Reading w) {
        const SnapshotSaved saved = keep(SnapshotKind::Written, w);
        QString line;
        if (!backupFile.empty())
            line = app_.text(text::msg::StatusBackupKept)
                       .arg(QString::fromStdString(backupFile.string()));
        else if (!saved.file.empty())
            line = app_.text(text::msg::StatusWrittenKept)
                       .arg(QString::fromStdString(saved.file.string()));
        if (saved.file.empty()) {
            if (!line.isEmpty()) line += "  ";
            line += app_.text(text::msg::StatusNotKept).arg(QString::fromStdString(saved.problem));
        }
        emit statusMessage(line);
        endCommand(TransferKind::Write, true);
    };
    if (backup_) {
        written.identity.serial = backup_->identity.serial;
        return keepWritten(std::move(written));
    }
    // The serial number names the radio's folder: without it the snapshot
    // would land beside, not among, this radio's others.
    readSerial([written, keepWritten](bool known, const std::string& serial) mutable {
        if (known) written.identity.serial = serial;
        keepWritten(std::move(written));
    });
}

void TransferController::stopWrite(const QString& why)
{
    Message m;
    m.text = why.toStdString();
    m.icon = Icon::Error;
    app_.prompt->ask(m, [this](Answer) {
        status(text::msg::StatusNothingWritten, {});
        endCommand(TransferKind::Write, false);
    });
}

void TransferController::cancel()
{
    machine_->cancel();
}

void TransferController::portLost(const std::string& reason)
{
    machine_->portLost(reason);
}

// ---- TransferHost -------------------------------------------------------------

RadioDocument& TransferController::document()
{
    // A snapshot being restored is what the write encodes and checks against
    // the radio's model and band.
    if (source_ && use_ != Use::Aside) return *source_;
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
    // The document was just encoded into the image and nothing is sent yet: a
    // snapshot goes byte for byte (its identification bytes become the
    // radio's own, as in every write).
    if (kind == TransferKind::Write && sourceImage_) machine_->image() = *sourceImage_;
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
    if (use_ == Use::Aside) return;  // the open document stays
    if (windows_.closeAllDocumentWindows) windows_.closeAllDocumentWindows();
}

void TransferController::documentRead(RadioDocument document, const std::string& fileName)
{
    if (use_ == Use::Aside) {
        decoded_ = std::move(document);
    } else {
        // The decoded radio data is a new, untitled document; the saved copy
        // stays, so it counts as modified.
        app_.documents.working() = std::move(document);
        app_.documents.markUntitled();
        if (windows_.documentReplaced) windows_.documentReplaced(fileName);
    }
    decodedSeen_ = true;
    if (awaitingEnd_ && transferEndedOk_) transferStepDone(true);
}

void TransferController::showRadioInformation()
{
    if (use_ == Use::Aside) return;
    if (windows_.showRadioInformation) windows_.showRadioInformation();
}

void TransferController::endProgram()
{
    if (windows_.endProgram) windows_.endProgram();
}

void TransferController::transferFinished(TransferKind kind, TransferOutcome outcome)
{
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
    if (!awaitingEnd_) return;
    transferEndedOk_ = success;
    if (success && kind == TransferKind::Read) {
        readingAtEnd_ = takeReading();
        // The read goes on once its image was decoded.
        if (!decodedSeen_) return;
    }
    transferStepDone(success);
}

// ---- Questions ------------------------------------------------------------------

void TransferController::ask(const Message& message, std::function<void(Answer)> answered)
{
    // The user asked for this command's transfers already: a read for the
    // command alone neither asks to start nor says it is complete, and the
    // write agreed to in the preview is not asked again.
    const bool agreed = (use_ == Use::Aside &&
                         (message.textId == msg::ConfirmRead || message.textId == msg::ReadDone)) ||
                        (use_ == Use::Agreed && message.textId == msg::ConfirmWrite);
    if (agreed) {
        QTimer::singleShot(0, this, [answered = std::move(answered)] { answered(Answer::Ok); });
        return;
    }
    app_.prompt->ask(message, std::move(answered));
}

// ---- ProgramPassword --------------------------------------------------------------

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
        QDialog* window = makePasswordWindow_ ? makePasswordWindow_(windowParent_) : nullptr;
        if (window) {
            app_.prompt->execModal(*window);
            app_.passwordWindowShown = true;
            delete window;
        }
        if (closed) closed();
    });
}

}  // namespace zt::gui
