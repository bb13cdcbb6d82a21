#include "gui/shell/child_windows.h"

#include <QDialog>
#include <QMetaObject>
#include <QWidget>
#include <functional>
#include <vector>

#include "gui/app_context.h"
#include "gui/shell/frm_about.h"

// Windows of the other window groups join as their headers appear.
#if __has_include("gui/channels/frm_comm_ch_info.h")
#include "gui/channels/frm_comm_ch_info.h"
#define ZT_HAVE_COMM_CH_INFO 1
#else
#include "gui/channels/placeholder_comm_ch_info.h"
#endif
#if __has_include("gui/functions/frm_opt_features.h")
#include "gui/functions/frm_opt_features.h"
#define ZT_HAVE_OPT_FEATURES 1
#endif
#if __has_include("gui/functions/frm_dtmf.h")
#include "gui/functions/frm_dtmf.h"
#define ZT_HAVE_DTMF 1
#endif
#if __has_include("gui/functions/frm_tone_tips.h")
#include "gui/functions/frm_tone_tips.h"
#define ZT_HAVE_TONE_TIPS 1
#endif
#if __has_include("gui/functions/frm_emb_msg.h")
#include "gui/functions/frm_emb_msg.h"
#define ZT_HAVE_EMB_MSG 1
#endif
#if __has_include("gui/functions/frm_reset_mode.h")
#include "gui/functions/frm_reset_mode.h"
#define ZT_HAVE_RESET_MODE 1
#endif
#if __has_include("gui/functions/frm_radio_info.h")
#include "gui/functions/frm_radio_info.h"
#define ZT_HAVE_RADIO_INFO 1
#endif
#if __has_include("gui/functions/frm_model_info.h")
#include "gui/functions/frm_model_info.h"
#define ZT_HAVE_MODEL_INFO 1
#endif
#if __has_include("gui/functions/frm_pass_word.h")
#include "gui/functions/frm_pass_word.h"
#define ZT_HAVE_PASS_WORD 1
#endif
#if __has_include("gui/settings/frm_set_comm.h")
#include "gui/settings/frm_set_comm.h"
#define ZT_HAVE_SET_COMM 1
#endif
#if __has_include("gui/settings/frm_set_language.h")
#include "gui/settings/frm_set_language.h"
#define ZT_HAVE_SET_LANGUAGE 1
#endif

namespace zt::gui {
namespace {

struct Entry {
    QString name;
    std::function<QWidget*(AppContext&, QWidget*)> create;
    std::function<bool(QWidget*)> commit;    // false: not this window's class
    std::function<bool(QWidget*)> language;  // false: not this window's class
};

template <class T>
Entry entry(const char* name)
{
    Entry e;
    e.name = QString::fromLatin1(name);
    e.create = [](AppContext& app, QWidget* parent) -> QWidget* { return new T(app, parent); };
    e.commit = [](QWidget* w) {
        auto* t = dynamic_cast<T*>(w);
        if (!t) return false;
        if constexpr (requires(T & x) { x.commitPendingEdits(); }) t->commitPendingEdits();
        return true;
    };
    e.language = [](QWidget* w) {
        auto* t = dynamic_cast<T*>(w);
        if (!t) return false;
        if constexpr (requires(T & x) { x.applyLanguageTexts(); }) t->applyLanguageTexts();
        return true;
    };
    return e;
}

const std::vector<Entry>& childEntries()
{
    static const std::vector<Entry> entries = [] {
        std::vector<Entry> v;
#ifdef ZT_HAVE_COMM_CH_INFO
        v.push_back(entry<frmCommChInfo>(window::CommChInfo));
#else
        v.push_back(entry<PlaceholderCommChInfo>(window::CommChInfo));
#endif
#ifdef ZT_HAVE_OPT_FEATURES
        v.push_back(entry<FrmOptFeatures>(window::OptFeatures));
#endif
#ifdef ZT_HAVE_DTMF
        v.push_back(entry<FrmDTMF>(window::Dtmf));
#endif
#ifdef ZT_HAVE_TONE_TIPS
        v.push_back(entry<FrmToneTips>(window::ToneTips));
#endif
#ifdef ZT_HAVE_EMB_MSG
        v.push_back(entry<FrmEmbMsg>(window::EmbMsg));
#endif
#ifdef ZT_HAVE_RESET_MODE
        v.push_back(entry<FrmResetMode>(window::ResetMode));
#endif
#ifdef ZT_HAVE_RADIO_INFO
        v.push_back(entry<FrmRadioInfo>(window::RadioInfo));
#endif
        return v;
    }();
    return entries;
}

const std::vector<Entry>& modalEntries()
{
    static const std::vector<Entry> entries = [] {
        std::vector<Entry> v;
#ifdef ZT_HAVE_MODEL_INFO
        v.push_back(entry<FrmModelInfo>(window::ModelInfo));
#endif
#ifdef ZT_HAVE_PASS_WORD
        v.push_back(entry<FrmPassWord>(window::PassWord));
#endif
#ifdef ZT_HAVE_SET_COMM
        v.push_back(entry<FrmSetComm>(window::SetComm));
#endif
#ifdef ZT_HAVE_SET_LANGUAGE
        v.push_back(entry<FrmSetLanguage>(window::SetLanguage));
#endif
        v.push_back(entry<frmAbout>(window::About));
        return v;
    }();
    return entries;
}

const Entry* find(const std::vector<Entry>& entries, const QString& name)
{
    for (const Entry& e : entries)
        if (e.name == name) return &e;
    return nullptr;
}

// Windows outside the table (such as the channel editor the grid opens)
// are reached through their invokable methods.
bool invokeByName(QWidget* w, const char* method)
{
    const QByteArray signature = QByteArray(method) + "()";
    if (w->metaObject()->indexOfMethod(signature.constData()) < 0) return false;
    return QMetaObject::invokeMethod(w, method, Qt::DirectConnection);
}

}  // namespace

QWidget* createChildWindow(const QString& name, AppContext& app, QWidget* parent)
{
    const Entry* e = find(childEntries(), name);
    return e ? e->create(app, parent) : nullptr;
}

QDialog* createModalWindow(const QString& name, AppContext& app, QWidget* parent)
{
    const Entry* e = find(modalEntries(), name);
    if (!e) return nullptr;
    QWidget* w = e->create(app, parent);
    auto* d = dynamic_cast<QDialog*>(w);
    if (!d) delete w;
    return d;
}

bool childWindowAvailable(const QString& name)
{
    return find(childEntries(), name) != nullptr;
}
bool modalWindowAvailable(const QString& name)
{
    return find(modalEntries(), name) != nullptr;
}

void commitPendingEdits(QWidget* window)
{
    if (!window) return;
    for (const Entry& e : childEntries())
        if (e.commit(window)) return;
    invokeByName(window, "commitPendingEdits");
}

void applyWindowLanguage(QWidget* window)
{
    if (!window) return;
    for (const Entry& e : childEntries())
        if (e.language(window)) return;
    invokeByName(window, "applyLanguageTexts");
}

}  // namespace zt::gui
