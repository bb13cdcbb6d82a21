#include "gui/undo/undo_commands.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <utility>

#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/undo/undo_recorder.h"

namespace zt::gui {
namespace {

constexpr const char* kCommandsName = "undoCommands";

QKeySequence pressed(const QKeyEvent& key)
{
    return QKeySequence(key.keyCombination());
}

bool matchesAny(const QKeySequence& keys, const QList<QKeySequence>& shortcuts)
{
    for (const QKeySequence& s : shortcuts)
        if (s.matches(keys) == QKeySequence::ExactMatch) return true;
    return false;
}

}  // namespace

UndoCommands::UndoCommands(QMainWindow& window, QMenu& editMenu, AppContext& app, UndoHost host)
    : QObject(&window), app_(app), host_(std::move(host))
{
    setObjectName(kCommandsName);
    recorder_ = new UndoRecorder(app_.documents, this);

    QAction* first = editMenu.actions().isEmpty() ? nullptr : editMenu.actions().first();
    undo_ = new QAction(&editMenu);
    undo_->setObjectName("mnuEditUndo");
    undo_->setProperty("textId", text::menu::EditUndo);
    undo_->setText(app_.text(text::menu::EditUndo));
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ = new QAction(&editMenu);
    redo_->setObjectName("mnuEditRedo");
    redo_->setProperty("textId", text::menu::EditRedo);
    redo_->setText(app_.text(text::menu::EditRedo));
    redo_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    editMenu.insertAction(first, undo_);
    editMenu.insertAction(first, redo_);
    if (first)
        editMenu.insertSeparator(first);
    else
        editMenu.addSeparator();

    connect(undo_, &QAction::triggered, this, [this] { undo(); });
    connect(redo_, &QAction::triggered, this, [this] { redo(); });
    connect(recorder_, &UndoRecorder::historyChanged, this, &UndoCommands::refreshActions);
    // The menu shows what the latest change (its pending entries are written
    // as it opens) made possible.
    connect(&editMenu, &QMenu::aboutToShow, this, [this] { recorder_->recordNow(); });
    qApp->installEventFilter(this);
    refreshActions();
}

bool UndoCommands::undo()
{
    return restore(true);
}

bool UndoCommands::redo()
{
    return restore(false);
}

bool UndoCommands::restore(bool back)
{
    if (restoring_) return false;
    restoring_ = true;
    if (host_.commitPendingEdits) host_.commitPendingEdits();
    recorder_->recordNow();
    UndoHistory& history = recorder_->history();
    const std::optional<RadioDocument> state = back ? history.undo() : history.redo();
    if (state) {
        const auto replace = [&] { app_.documents.working() = *state; };
        if (host_.replaceShownDocument)
            host_.replaceShownDocument(replace);
        else
            replace();
        // An open window that must change a stored value to show it (a file
        // made elsewhere) changed it again as it showed the restored document.
        // Undo and Redo promise the recorded document: the stored values go
        // back, the window keeps showing its nearest entries, and the user is
        // told. Only a reopened window takes the change in again, as a step
        // of its own.
        const bool changedAgain = documentsDiffer(app_.documents.working(), *state);
        if (changedAgain) app_.documents.working() = *state;
        recorder_->adoptDocument();
        if (changedAgain) emit restoredValuesNotShown();
    }
    restoring_ = false;
    refreshActions();
    return state.has_value();
}

void UndoCommands::forgetSteps()
{
    recorder_->forgetSteps();
}

void UndoCommands::refreshActions()
{
    undo_->setEnabled(recorder_->history().canUndo());
    redo_->setEnabled(recorder_->history().canRedo());
}

bool UndoCommands::eventFilter(QObject* watched, QEvent* event)
{
    // A text box takes Ctrl+Z and the redo keys for its own typing. It keeps
    // them while it has typing to undo or redo; otherwise they reach the
    // document's Undo and Redo.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* box = qobject_cast<QLineEdit*>(watched);
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (box && !box->isReadOnly()) {
            const QKeySequence keys = pressed(*key);
            const bool undoKey = matchesAny(keys, undo_->shortcuts());
            const bool redoKey = matchesAny(keys, redo_->shortcuts());
            const bool boxHasOwn =
                (undoKey && box->isUndoAvailable()) || (redoKey && box->isRedoAvailable());
            if ((undoKey || redoKey) && !boxHasOwn) {
                event->ignore();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

UndoCommands& installUndoCommands(QMainWindow& window, QMenu& editMenu, AppContext& app,
                                  UndoHost host)
{
    return *new UndoCommands(window, editMenu, app, std::move(host));
}

UndoCommands* undoCommandsOf(QObject& window)
{
    return window.findChild<UndoCommands*>(kCommandsName, Qt::FindDirectChildrenOnly);
}

void forgetUndoSteps(QObject& window)
{
    if (UndoCommands* commands = undoCommandsOf(window)) commands->forgetSteps();
}

}  // namespace zt::gui
