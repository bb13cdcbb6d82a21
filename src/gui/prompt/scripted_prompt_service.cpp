#include "gui/prompt/scripted_prompt_service.h"

#include <QDialog>
#include <QTimer>
#include <algorithm>

namespace zt::gui {
namespace {

Answer firstButton(Buttons b)
{
    switch (b) {
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            return Answer::Yes;
        case Buttons::RetryCancel:
            return Answer::Retry;
        case Buttons::Ok:
        case Buttons::OkCancel:
            break;
    }
    return Answer::Ok;
}

}  // namespace

Answer ScriptedPromptService::ask(const Message& message)
{
    Answer a = Answer::Ok;
    if (!answers.empty()) {
        a = answers.front();
        answers.pop_front();
    } else {
        a = defaultAnswer.value_or(firstButton(message.buttons));
    }
    asked.push_back({message, a});
    return a;
}

void ScriptedPromptService::ask(const Message& message, std::function<void(Answer)> answered)
{
    const Answer a = ask(message);
    // Answered from the event loop, as a real modal box would be.
    QTimer::singleShot(0, [answered = std::move(answered), a, alive = std::weak_ptr<int>(alive_)] {
        if (!alive.expired()) answered(a);
    });
}

std::optional<QString> ScriptedPromptService::chooseFile(const FileDialogRequest& request)
{
    fileRequests.push_back(request);
    if (files.empty()) return std::nullopt;
    const bool chosen = files.front().has_value();
    const QString path = chosen ? *files.front() : QString();
    files.pop_front();
    if (!chosen) return std::nullopt;
    return path;
}

bool ScriptedPromptService::choosePrinter(QPrinter& printer, const QString& title)
{
    printDialogs.push_back(title);
    return printHandler ? printHandler(printer) : false;
}

int ScriptedPromptService::execModal(QDialog& dialog)
{
    modalWindows.push_back(dialog.objectName());
    const int result = modalHandler ? modalHandler(dialog) : QDialog::Rejected;
    dialog.hide();
    return result;
}

std::vector<int> ScriptedPromptService::askedIds() const
{
    std::vector<int> ids;
    for (const auto& a : asked) ids.push_back(a.message.textId);
    return ids;
}

bool ScriptedPromptService::wasAsked(int textId) const
{
    return std::any_of(asked.begin(), asked.end(),
                       [&](const Asked& a) { return a.message.textId == textId; });
}

}  // namespace zt::gui
