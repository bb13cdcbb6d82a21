#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace zt::gui {

struct AppContext;

// Window names the main window opens.
namespace window {
inline const char* const CommChInfo = "frmCommChInfo";
inline const char* const OptFeatures = "FrmOptFeatures";
inline const char* const Dtmf = "FrmDTMF";
inline const char* const ToneTips = "FrmToneTips";
inline const char* const EmbMsg = "FrmEmbMsg";
inline const char* const ResetMode = "FrmResetMode";
inline const char* const RadioInfo = "FrmRadioInfo";
inline const char* const ModelInfo = "FrmModelInfo";
inline const char* const PassWord = "FrmPassWord";
inline const char* const SetComm = "FrmSetComm";
inline const char* const LinkOptions = "FrmLinkOptions";
inline const char* const SetLanguage = "FrmSetLanguage";
inline const char* const About = "frmAbout";
}  // namespace window

// The child (MDI) windows built into this program, by name. A window whose
// class is not part of the build yet is simply missing: creating it gives
// null. The channel grid falls back to a read-only channel table.
QWidget* createChildWindow(const QString& name, AppContext& app, QWidget* parent = nullptr);
// The modal windows (model information, program password, COM port, language,
// about), by name; null when not part of the build.
QDialog* createModalWindow(const QString& name, AppContext& app, QWidget* parent = nullptr);
bool childWindowAvailable(const QString& name);
bool modalWindowAvailable(const QString& name);

// Writes the window's pending edits to the document (windows that edit it
// offer commitPendingEdits()); other windows are left alone.
void commitPendingEdits(QWidget* window);
// Re-applies the window's language texts when it offers applyLanguageTexts().
void applyWindowLanguage(QWidget* window);

}  // namespace zt::gui
