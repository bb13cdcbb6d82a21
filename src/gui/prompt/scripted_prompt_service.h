#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "gui/prompt/prompt_service.h"

namespace zt::gui {

// The prompt service of tests: answers questions from a queue (OK/Yes for the
// first button when the queue is empty, unless a default is set), picks files
// from a queue, and runs modal windows through a handler instead of exec().
// Everything asked is recorded so tests can assert which text id was shown.
class ScriptedPromptService final : public PromptService {
  public:
    struct Asked {
        Message message;
        Answer answer;
    };

    std::deque<Answer> answers;                // next answers, front first
    std::optional<Answer> defaultAnswer;       // when `answers` is empty
    std::deque<std::optional<QString>> files;  // next file dialog results
    // Handles a modal window (fill in fields, click buttons) and returns its
    // result; without a handler the window is rejected.
    std::function<int(QDialog&)> modalHandler;
    // Answers the print dialog: sets up the printer (tests print into a PDF
    // file) and returns whether to print; without a handler it is cancelled.
    std::function<bool(QPrinter&)> printHandler;

    std::vector<Asked> asked;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<QString> modalWindows;  // objectName of each modal window shown
    std::vector<QString> printDialogs;  // title of each print dialog shown

    Answer ask(const Message& message) override;
    void ask(const Message& message, std::function<void(Answer)> answered) override;
    std::optional<QString> chooseFile(const FileDialogRequest& request) override;
    int execModal(QDialog& dialog) override;
    bool choosePrinter(QPrinter& printer, const QString& title) override;

    // Text ids asked so far, in order.
    std::vector<int> askedIds() const;
    bool wasAsked(int textId) const;

  private:
    // Answers still on their way when the service goes are dropped: a test's
    // last question never reaches a transfer of the next test.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace zt::gui
