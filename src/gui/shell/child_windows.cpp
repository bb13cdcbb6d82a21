#include "gui/shell/child_windows.h"

#include <QDialog>
#include <QWidget>
#include <functional>
#include <vector>

#include "gui/app_context.h"
#include "gui/shell/about_dialog.h"

#include "gui/channels/channel_editor_window.h"
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
#include "gui/widgets/accessible_names.h"

namespace zt::gui {
namespace {

struct Entry {
    QString name;
    std::function<QWidget*(AppContext&, QWidget*)> create;
};

template <class T>
Entry entry(const char* name)
{
    return Entry{QString::fromLatin1(name),
                 [](AppContext& app, QWidget* parent) -> QWidget* { return new T(app, parent); }};
}

const std::vector<Entry>& childEntries()
{
    static const std::vector<Entry> entries = [] {
        std::vector<Entry> v;
        v.push_back(entry<ChannelGridWindow>(window::CommChInfo));
        v.push_back(entry<ChannelEditorWindow>(window::ChannelEditor));
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

// Every window gets names for its unnamed controls, in the current language.
QWidget* named(QWidget* w, AppContext& app)
{
    if (w) keepControlsNamed(*w, app.events, [&app](int id) { return app.text(id); });
    return w;
}

const Entry* find(const std::vector<Entry>& entries, const QString& name)
{
    for (const Entry& e : entries)
        if (e.name == name) return &e;
    return nullptr;
}

}  // namespace

QWidget* createChildWindow(const QString& name, AppContext& app, QWidget* parent)
{
    const Entry* e = find(childEntries(), name);
    return e ? named(e->create(app, parent), app) : nullptr;
}

QDialog* createModalWindow(const QString& name, AppContext& app, QWidget* parent)
{
    const Entry* e = find(modalEntries(), name);
    if (!e) return nullptr;
    QWidget* w = named(e->create(app, parent), app);
    auto* d = dynamic_cast<QDialog*>(w);
    if (!d) delete w;
    return d;
}

}  // namespace zt::gui
