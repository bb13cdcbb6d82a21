#include "gui/shell/child_windows.h"

#include <QDialog>
#include <QMetaObject>
#include <QWidget>
#include <functional>
#include <vector>

#include "gui/app_context.h"
#include "gui/shell/frm_about.h"

#include "gui/channels/frm_comm_ch_info.h"
#include "gui/functions/frm_dtmf.h"
#include "gui/functions/frm_emb_msg.h"
#include "gui/functions/frm_model_info.h"
#include "gui/functions/frm_opt_features.h"
#include "gui/functions/frm_pass_word.h"
#include "gui/functions/frm_radio_info.h"
#include "gui/functions/frm_reset_mode.h"
#include "gui/functions/frm_tone_tips.h"
#include "gui/settings/frm_set_comm.h"
#include "gui/settings/frm_set_language.h"
#include "gui/transfer/frm_link_options.h"

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
        v.push_back(entry<frmCommChInfo>(window::CommChInfo));
        v.push_back(entry<FrmOptFeatures>(window::OptFeatures));
        v.push_back(entry<FrmDTMF>(window::Dtmf));
        v.push_back(entry<FrmToneTips>(window::ToneTips));
        v.push_back(entry<FrmEmbMsg>(window::EmbMsg));
        v.push_back(entry<FrmResetMode>(window::ResetMode));
        v.push_back(entry<FrmRadioInfo>(window::RadioInfo));
        return v;
    }();
    return entries;
}

const std::vector<Entry>& modalEntries()
{
    static const std::vector<Entry> entries = [] {
        std::vector<Entry> v;
        v.push_back(entry<FrmModelInfo>(window::ModelInfo));
        v.push_back(entry<FrmPassWord>(window::PassWord));
        v.push_back(entry<FrmSetComm>(window::SetComm));
        v.push_back(entry<FrmSetLanguage>(window::SetLanguage));
        v.push_back(entry<FrmLinkOptions>(window::LinkOptions));
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
