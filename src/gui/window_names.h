#pragma once

namespace zt::gui {

// The names the program's rules give the windows: each window's objectName. The main window
// resolves them (child_windows.cpp creates the window of a name).
namespace window {
inline const char* const CommChInfo = "frmCommChInfo";
inline const char* const ChannelEditor = "FrmCHInfoEdit";
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

}  // namespace zt::gui
