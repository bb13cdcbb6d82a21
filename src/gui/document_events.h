#pragma once

#include <QObject>

namespace zt::gui {

// What changed in the open document (and in the channel windows' shared editing position),
// signalled once by whoever changed it. Windows connect to what they show; nobody looks
// another window up to tell it.
class DocumentEvents : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

  signals:
    // Every command that reads the document emits this first: each window writes the entry
    // it is still editing into the document.
    void aboutToReadDocument();
    // A new, opened or read document replaced the previous one.
    void documentReplaced();
    // The language texts changed.
    void languageChanged();

    // One channel (by channel number) was written, changed by the rules or refused.
    void channelChanged(int chNo);
    // A channel came, went or changed its receive frequency: lists of the group's channels
    // (such as the emergency channels) are rebuilt. Emitted before channelChanged.
    void channelListChanged();
    // The shared editing position (`CurrentGroup`, `EditPos`) moved in the grid.
    void editPositionChanged();
    // Another group was chosen in the channel editor (`CurrentGroup`).
    void channelGroupChosen();

    // An option setting was stored (such as whether frequencies may be changed).
    void optionsChanged();
    // The DTMF memory codes changed: lists offering code numbers are refilled.
    void dtmfCodesChanged();
    // The RB tone check ran: lists offering RB tones are rebuilt.
    void rbTonesChanged();
};

}  // namespace zt::gui
