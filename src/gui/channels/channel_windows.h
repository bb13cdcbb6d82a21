#pragma once

#include <QString>
#include <functional>

#include "core/edit/channel_write_back.h"

class QWidget;

namespace zt::gui {

struct AppContext;
class ChannelGridWindow;
class ChannelEditorWindow;

namespace window {
inline const char* const CHInfoEdit = "FrmCHInfoEdit";
}

// The channel grid and the channel editor find each other through this registry (each
// program context has at most one of each).
void registerChannelWindow(AppContext& app, QWidget* window);
void unregisterChannelWindow(QWidget* window);
ChannelGridWindow* loadedGrid(AppContext& app);
ChannelEditorWindow* loadedEditor(AppContext& app);

// The write-back of a grid cell or an editor control with what follows it: the out-of-band
// warning, the grid's emergency lists and row, and the editor following the grid.
WriteBackResult channelWriteBack(AppContext& app, const WriteBackRequest& request);

// Shows an unexpected failure by the operation's built-in name and carries on.
void runTrapped(AppContext& app, const char* operation, const std::function<void()>& body);

// Formats a typed number "#0.00000"; a text that is not a number stays as it is.
QString formatFrequencyText(const QString& text);

}  // namespace zt::gui
