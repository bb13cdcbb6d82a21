#pragma once

#include <QList>
#include <QString>
#include <array>

#include "core/radio/radio_data.h"

class QComboBox;
class QWidget;

namespace zt::gui {

// Windows that show tone-tip or DTMF code numbers are told about changes by
// name: they are looked up by objectName among the application's widgets and
// their operations are called by name (QMetaObject::invokeMethod), so the
// windows need not know each other's classes.
//
// The operations, public slots (or Q_INVOKABLE) without arguments:
//   ChannelEditorWindow:  ShowRB()                rebuild the RB tone list
//                   RefreshDtmfCodeLists()  refill the BOT, EOT and call lists (optional:
//                                           without it its lists Combo2_8, Combo2_10 and
//                                           Combo2_16 are refilled here, reached by name)
//   OptionalFeaturesWindow: ShowRBOpt()
//                   RefreshDtmfCodeLists()
namespace refresh {
inline constexpr const char* ChannelEditor = "FrmCHInfoEdit";
inline constexpr const char* OptFeatures = "FrmOptFeatures";
inline constexpr const char* ShowRB = "ShowRB";
inline constexpr const char* ShowRBOpt = "ShowRBOpt";
inline constexpr const char* RefreshDtmfCodeLists = "RefreshDtmfCodeLists";
inline constexpr std::array<const char*, 3> ChannelEditorCodeLists{"Combo2_8", "Combo2_10",
                                                                   "Combo2_16"};
}  // namespace refresh

// Every open widget whose objectName is `name`.
QList<QWidget*> openWindowsNamed(const QString& name);
// Calls `method` by name on every open window named `windowName`; windows
// without that method are left alone.
void callOnOpenWindows(const char* windowName, const char* method);
// Whether the widget offers `method` (no arguments) to calls by name.
bool hasMethod(const QWidget& widget, const char* method);

// After the RB tone check: the channel editor's ShowRB and the optional
// features window's ShowRBOpt.
void rebuildOpenRbLists();
// After a DTMF memory code changed: RefreshDtmfCodeLists on both windows (the
// channel editor's code lists by name when it lacks the operation).
// `noneText` is the none entry (text 14013).
void refreshOpenDtmfCodeLists(const DtmfSettings& dtmf, const QString& noneText);

// Refills a list of DTMF code numbers: `noneText` followed by the numbers of
// the non-empty memory codes, ascending. The list then shows its previous
// text when that text is still offered, otherwise its entry 0. Signals of the
// list are not blocked: a changed selection reaches its change handler.
void refillDtmfCodeList(QComboBox& list, const DtmfSettings& dtmf, const QString& noneText);

}  // namespace zt::gui
