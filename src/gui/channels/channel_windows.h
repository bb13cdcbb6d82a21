#pragma once

#include <QString>
#include <functional>

#include "core/edit/channel_write_back.h"

namespace zt::gui {

struct AppContext;

// The write-back of a grid cell or an editor control with what follows it: the out-of-band
// warning, then channelListChanged (a receive frequency written) and channelChanged for the
// windows that show the channel.
WriteBackResult channelWriteBack(AppContext& app, const WriteBackRequest& request);

// Shows an unexpected failure by the operation's built-in name and carries on.
void runTrapped(AppContext& app, const char* operation, const std::function<void()>& body);

// Formats a typed number "#0.00000"; a text that is not a number stays as it is.
QString formatFrequencyText(const QString& text);

}  // namespace zt::gui
