#include "gui/channels/channel_windows.h"

#include <exception>

#include "core/values/frequency.h"
#include "gui/app_context.h"
#include "gui/text_codec.h"

namespace zt::gui {
WriteBackResult channelWriteBack(AppContext& app, const WriteBackRequest& request)
{
    const WriteBackResult result =
        writeBack(app.documents.working(), request, app.state.Limits, app.habit.UseOffset);
    if (result.messageId != 0 && app.prompt) {
        Message m;
        m.textId = result.messageId;
        m.icon = Icon::Warning;
        app.prompt->ask(m);
    }
    if (request.fieldCode == kColRx && result.action != WriteBackAction::Refused)
        emit app.events.channelListChanged();
    emit app.events.channelChanged(result.chNo);
    return result;
}

void runTrapped(AppContext& app, const char* operation, const std::function<void()>& body)
{
    try {
        body();
    } catch (const std::exception&) {
        if (app.prompt) app.prompt->showText(QString::fromLatin1(operation));
    }
}

QString formatFrequencyText(const QString& text)
{
    const auto tenHz = parseTenHz(toRecordText(text));
    return tenHz ? QString::fromStdString(formatMhz(*tenHz)) : text;
}

}  // namespace zt::gui
