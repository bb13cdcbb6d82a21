#include "gui/prompt/qt_prompt_service.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

namespace zt::gui {
namespace {

QMessageBox::Icon iconOf(Icon icon)
{
    switch (icon) {
        case Icon::Error:
            return QMessageBox::Critical;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsOf(Buttons buttons)
{
    switch (buttons) {
        case Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Buttons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
        case Buttons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

// What closing the box without a button (Escape, the window's close button)
// means: the last choice of its buttons, as a message box does.
Answer escapeAnswer(Buttons buttons)
{
    switch (buttons) {
        case Buttons::OkCancel:
        case Buttons::YesNoCancel:
        case Buttons::RetryCancel:
            return Answer::Cancel;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::Ok:
            break;
    }
    return Answer::Ok;
}

Answer answerOf(int button, Buttons buttons)
{
    switch (button) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Retry:
            return Answer::Retry;
        default:
            break;
    }
    return escapeAnswer(buttons);
}

QMessageBox::StandardButton buttonOf(Answer answer)
{
    switch (answer) {
        case Answer::Ok:
            return QMessageBox::Ok;
        case Answer::Cancel:
            return QMessageBox::Cancel;
        case Answer::Yes:
            return QMessageBox::Yes;
        case Answer::No:
            return QMessageBox::No;
        case Answer::Retry:
            return QMessageBox::Retry;
    }
    return QMessageBox::NoButton;
}

// The button Enter presses, when the message names one.
void setDefaultButton(QMessageBox& box, const Message& message)
{
    if (message.defaultAnswer) box.setDefaultButton(buttonOf(*message.defaultAnswer));
}

// A list that goes with the message: shown open, to scroll through, select and copy.
void addDetails(QMessageBox& box, const Message& message)
{
    if (message.details.empty()) return;
    box.setDetailedText(QString::fromStdString(message.details));
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    for (QAbstractButton* button : box.buttons())
        if (box.buttonRole(button) == QMessageBox::ActionRole) {
            button->click();  // "Show Details..."
            break;
        }
}

}  // namespace

QtPromptService::QtPromptService(std::function<QString()> title, TextLookup text, QWidget* parent)
    : title_(std::move(title)), text_(std::move(text)), parent_(parent)
{
}

QString QtPromptService::composeText(const Message& message) const
{
    QString body;
    if (message.textId != 0 && text_) body = QString::fromUtf8(text_(message.textId));
    const QString extra = QString::fromUtf8(message.text);
    // Extra text (a reason, a detail) goes on a line of its own unless it
    // starts one itself, as a list under the message does.
    if (!body.isEmpty() && !extra.isEmpty() && !extra.startsWith('\n') && !extra.startsWith('\r'))
        body += '\n';
    body += extra;
    return body;
}

QString QtPromptService::composeTitle(const Message& message) const
{
    if (message.titleId != 0 && text_) return QString::fromUtf8(text_(message.titleId));
    return title_ ? title_() : QString();
}

Answer QtPromptService::ask(const Message& message)
{
    QMessageBox box(iconOf(message.icon), composeTitle(message), composeText(message),
                    buttonsOf(message.buttons), parent_);
    box.setObjectName("MessageBox");
    addDetails(box, message);
    setDefaultButton(box, message);
    const int result = box.exec();
    return answerOf(result, message.buttons);
}

void QtPromptService::ask(const Message& message, std::function<void(Answer)> answered)
{
    // A window-modal box that answers through its finished signal: the
    // caller's serial events and timers keep running while it is open.
    auto* box = new QMessageBox(iconOf(message.icon), composeTitle(message), composeText(message),
                                buttonsOf(message.buttons), parent_);
    box->setObjectName("MessageBox");
    addDetails(*box, message);
    setDefaultButton(*box, message);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    const Buttons buttons = message.buttons;
    QObject::connect(box, &QMessageBox::finished, box,
                     [answered = std::move(answered), buttons](int result) {
                         if (answered) answered(answerOf(result, buttons));
                     });
    box->show();
}

std::optional<QString> QtPromptService::chooseFile(const FileDialogRequest& request)
{
    const QString filter = request.filters.join(";;");
    const QString chosen =
        request.save
            ? QFileDialog::getSaveFileName(parent_, request.title, request.initialPath, filter)
            : QFileDialog::getOpenFileName(parent_, request.title, request.initialPath, filter);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
}

bool QtPromptService::choosePrinter(QPrinter& printer, const QString& title)
{
    QPrintDialog dialog(&printer, parent_);
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

int QtPromptService::execModal(QDialog& dialog)
{
    dialog.setWindowModality(Qt::ApplicationModal);
    return dialog.exec();
}

}  // namespace zt::gui
