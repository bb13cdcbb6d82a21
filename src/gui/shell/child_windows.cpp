#include "gui/shell/child_windows.h"

#include <QDialog>
#include <QMetaObject>
#include <QWidget>
#include <functional>
#include <vector>

#include "gui/app_context.h"
#include "gui/shell/about_dialog.h"

#include "gui/channels/channel_grid_window.h"
#include "gui/functions/dtmf_window.h"
#include "gui/functions/embedded_message_window.h"
#include "gui/functions/model_info_dialog.h"
#include "gui/functions/optional_features_window.h"
#include "gui/functions/password_dialog.h"
#include "gui/functions/radio_info_window.h"
#include "gui/functions/reset_mode_window.h"
#include "gui/functions/tone_tips_window.h"
#include "gui/settings/language_dialog.h"
#include "gui/settings/port_settings_dialog.h"
#include "gui/transfer/link_options_dialog.h"

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
        v.push_back(entry<ChannelGridWindow>(window::CommChInfo));
        v.push_back(entry<OptionalFeaturesWindow>(window::OptFeatures));
        v.push_back(entry<DtmfWindow>(window::Dtmf));
        v.push_back(entry<ToneTipsWindow>(window::ToneTips));
        v.push_back(entry<EmbeddedMessageWindow>(window::EmbMsg));
        v.push_back(entry<ResetModeWindow>(window::ResetMode));
        v.push_back(entry<RadioInfoWindow>(window::RadioInfo));
        return v;
    }();
    return entries;
}

const std::vector<Entry>& modalEntries()
{
    static const std::vector<Entry> entries = [] {
        std::vector<Entry> v;
        v.push_back(entry<ModelInfoDialog>(window::ModelInfo));
        v.push_back(entry<PasswordDialog>(window::PassWord));
        v.push_back(entry<PortSettingsDialog>(window::SetComm));
        v.push_back(entry<LanguageDialog>(window::SetLanguage));
        v.push_back(entry<LinkOptionsDialog>(window::LinkOptions));
        v.push_back(entry<AboutDialog>(window::About));
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
