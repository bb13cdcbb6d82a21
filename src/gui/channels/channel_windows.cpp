#include "gui/channels/channel_windows.h"

#include <QPointer>
#include <QWidget>
#include <exception>
#include <utility>
#include <vector>

#include "core/values/frequency.h"
#include "gui/app_context.h"
#include "gui/channels/channel_editor_window.h"
#include "gui/channels/channel_grid_window.h"
#include "gui/text_codec.h"

namespace zt::gui {
namespace {

std::vector<std::pair<AppContext*, QPointer<QWidget>>>& registry()
{
    static std::vector<std::pair<AppContext*, QPointer<QWidget>>> windows;
    return windows;
}

template <class T>
T* findWindow(AppContext& app)
{
    for (auto& [owner, w] : registry())
        if (owner == &app && w)
            if (auto* t = qobject_cast<T*>(w.data())) return t;
    return nullptr;
}

}  // namespace

void registerChannelWindow(AppContext& app, QWidget* window)
{
    auto& r = registry();
    std::erase_if(r, [](const auto& e) { return e.second.isNull(); });
    r.emplace_back(&app, window);
}

void unregisterChannelWindow(QWidget* window)
{
    std::erase_if(registry(),
                  [window](const auto& e) { return e.second.isNull() || e.second == window; });
}

ChannelGridWindow* loadedGrid(AppContext& app)
{
    return findWindow<ChannelGridWindow>(app);
}

ChannelEditorWindow* loadedEditor(AppContext& app)
{
    return findWindow<ChannelEditorWindow>(app);
}

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
    if (auto* grid = loadedGrid(app)) {
        if (request.fieldCode == kColRx && result.action != WriteBackAction::Refused)
            grid->ReshowByCh();
        grid->reShowGrid(result.chNo);
    }
    if (auto* editor = loadedEditor(app)) editor->SetGridEditData(true);
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
