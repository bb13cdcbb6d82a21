#include "gui/undo/undo_recorder.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMetaObject>
#include <QWidget>

#include "core/files/document_store.h"

namespace zt::gui {
namespace {

bool isModifierKey(int key)
{
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
            return true;
        default:
            return false;
    }
}

}  // namespace

UndoRecorder::UndoRecorder(DocumentStore& documents, QObject* parent)
    : QObject(parent), documents_(documents)
{
    history_.clear(documents_.working());
    qApp->installEventFilter(this);
}

UndoRecorder::~UndoRecorder()
{
    if (qApp) qApp->removeEventFilter(this);
}

bool UndoRecorder::recordNow()
{
    // A question in the middle of an action: its answer belongs to the same step.
    if (QApplication::activeModalWidget()) return false;
    const std::uint64_t run = pendingRun_;
    pendingRun_ = 0;
    actionSinceCheck_ = false;
    windowsClosedSinceCheck_ = false;
    const bool changed = history_.record(documents_.working(), run);
    emit historyChanged();
    return changed;
}

void UndoRecorder::forgetSteps()
{
    history_.clear(documents_.working());
    pendingRun_ = 0;
    actionSinceCheck_ = false;
    typingBox_ = nullptr;
    emit historyChanged();
}

void UndoRecorder::adoptDocument()
{
    history_.adopt(documents_.working());
    emit historyChanged();
}

void UndoRecorder::recordOpeningChange(QWidget& window)
{
    // What came before the opening was recorded as the click or key that opened it arrived;
    // a difference now is a value the window changed to show it.
    if (QApplication::activeModalWidget() ||
        !documentsDiffer(documents_.working(), history_.current()))
        return;
    history_.record(documents_.working());
    emit historyChanged();
    emit windowChangedDocument(&window);
}

QLineEdit* UndoRecorder::typedInto(QObject* watched, const QKeyEvent& key)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box || box->isReadOnly()) return nullptr;
    // The box's own undo and redo belong to its typing: typed and undone
    // again leaves no step.
    const QKeySequence keys(key.keyCombination());
    for (QKeySequence::StandardKey k : {QKeySequence::Undo, QKeySequence::Redo})
        for (const QKeySequence& s : QKeySequence::keyBindings(k))
            if (s.matches(keys) == QKeySequence::ExactMatch) return box;
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return nullptr;
    if (key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete) return box;
    const QString text = key.text();
    return !text.isEmpty() && text.at(0).isPrint() ? box : nullptr;
}

void UndoRecorder::noteAction(QLineEdit* typingBox)
{
    // A typing run goes on while keys are typed into the same box and
    // nothing else happens in between.
    if (!typingBox || typingBox != typingBox_) typingRun_ = 0;
    if (typingBox) {
        if (typingRun_ == 0) typingRun_ = ++runCounter_;
        typingBox_ = typingBox;
    } else {
        typingBox_ = nullptr;
    }
    const std::uint64_t run = typingBox ? typingRun_ : 0;
    pendingRun_ = actionSinceCheck_ && pendingRun_ != run ? 0 : run;
    actionSinceCheck_ = true;
    queueCheck();
}

void UndoRecorder::queueCheck()
{
    if (checkQueued_) return;
    checkQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            checkQueued_ = false;
            recordNow();
        },
        Qt::QueuedConnection);
}

bool UndoRecorder::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonRelease:
            // Whatever changed before this key or click reaches its widget
            // (an entry written as the focus left its box) belongs to the
            // actions before it: it is recorded first, so that a window this
            // action opens cannot take it in as its own opening values.
            if (watched->isWidgetType()) recordNow();
            if (event->type() == QEvent::MouseButtonRelease) noteAction(nullptr);
            break;
        case QEvent::KeyRelease: {
            const auto* key = static_cast<const QKeyEvent*>(event);
            if (isModifierKey(key->key())) break;
            // A key event travels from the window to the widget it was typed
            // into and on to that widget's parents; it counts once, where it
            // was typed.
            auto* widget = qobject_cast<QWidget*>(watched);
            if (!widget) break;
            if (event == lastKeyEvent_ && lastKeyTarget_ && widget != lastKeyTarget_ &&
                widget->isAncestorOf(lastKeyTarget_))
                break;
            lastKeyEvent_ = event;
            lastKeyTarget_ = widget;
            noteAction(typedInto(watched, *key));
            break;
        }
        case QEvent::Close:
            if (qobject_cast<QMdiSubWindow*>(watched)) windowsClosedSinceCheck_ = true;
            noteAction(nullptr);
            break;
        case QEvent::Wheel:
        case QEvent::Drop:
            noteAction(nullptr);
            break;
        case QEvent::Show:
            // A child window opening in the window area takes in what it
            // writes as it opens. Not so when windows were closed in the same
            // action: they step aside while the action replaces the document
            // (an import), and what it changed is the action's step.
            if (auto* w = qobject_cast<QWidget*>(watched);
                w && qobject_cast<QMdiSubWindow*>(w->parentWidget()) && !windowsClosedSinceCheck_)
                recordOpeningChange(*w);
            break;
        case QEvent::Hide:
            if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow()) noteAction(nullptr);
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace zt::gui
