#pragma once

#include <QPointer>
#include <QString>
#include <functional>

#include "core/files/language.h"
#include "gui/prompt/prompt_service.h"

class QWidget;

namespace zt::gui {

// The prompt service of the programs: real message boxes, file dialogs and
// modal windows. A message box carries the application title (or the language
// text `titleId`), the icon and the buttons its rule names; its text is the
// language text `textId` followed by `text`, or `text` alone.
class QtPromptService final : public PromptService {
  public:
    // `title` gives the application title at the moment a box is shown;
    // `text` looks language texts up. `parent` owns the boxes (may be null).
    QtPromptService(std::function<QString()> title, TextLookup text, QWidget* parent = nullptr);

    void setParent(QWidget* parent) { parent_ = parent; }

    Answer ask(const Message& message) override;
    void ask(const Message& message, std::function<void(Answer)> answered) override;
    std::optional<QString> chooseFile(const FileDialogRequest& request) override;
    int execModal(QDialog& dialog) override;
    bool choosePrinter(QPrinter& printer, const QString& title) override;

    // The text a message box shows for `message`.
    QString composeText(const Message& message) const;
    QString composeTitle(const Message& message) const;

  private:
    std::function<QString()> title_;
    TextLookup text_;
    QPointer<QWidget> parent_;
};

}  // namespace zt::gui
