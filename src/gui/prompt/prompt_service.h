#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "core/host/link_interfaces.h"
#include "core/host/prompt.h"

class QDialog;
class QPrinter;
class QWidget;

namespace zt::gui {

// A file dialog request: open or save, title, filters ("Data files (*.dat)")
// and the folder or file to start in.
struct FileDialogRequest {
    bool save = false;
    QString title;
    QStringList filters;
    QString initialPath;
};

// Every message box, question, file dialog and modal window of the programs
// goes through this service. The programs use QtPromptService (real dialogs);
// tests use ScriptedPromptService, which answers from a script and records
// what was asked, so no test ever blocks on a modal dialog.
class PromptService : public Prompt, public AsyncPrompt {
  public:
    // Message box: language text `textId` (plus `text`) or the built-in `text`,
    // with the application title (or `titleId`), icon and buttons.
    Answer ask(const Message& message) override = 0;
    // The same, answered later on the event loop; serial events and timers
    // keep running meanwhile.
    void ask(const Message& message, std::function<void(Answer)> answered) override = 0;

    // A file dialog; nothing when cancelled.
    virtual std::optional<QString> chooseFile(const FileDialogRequest& request) = 0;

    // Shows a window modally and returns its result (QDialog::Accepted or
    // Rejected). The dialog is not deleted.
    virtual int execModal(QDialog& dialog) = 0;

    // The print dialog: the user picks the printer and its settings, which are
    // written into `printer`. False when cancelled.
    virtual bool choosePrinter(QPrinter& printer, const QString& title) = 0;

    // Convenience: an OK message box with a language text and an icon.
    void show(int textId, Icon icon = Icon::None)
    {
        Message m;
        m.textId = textId;
        m.icon = icon;
        ask(m);
    }
    // Convenience: an OK message box with a built-in text.
    void showText(const QString& text)
    {
        Message m;
        m.text = text.toStdString();
        ask(m);
    }
};

}  // namespace zt::gui
