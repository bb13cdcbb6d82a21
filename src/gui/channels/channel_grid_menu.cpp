#include "gui/channels/channel_grid_menu.h"

#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

#include "core/text_ids.h"
#include "gui/channels/channel_grid_window.h"

namespace zt::gui {
namespace {

constexpr const char* kOptionApplication = "ZTP958FM";
constexpr const char* kOptionSection = "ChannelGrid";
constexpr const char* kWholeChannelKey = "WholeChannel";

ChannelGridWindow* currentGrid(QMdiArea* area)
{
    if (!area) return nullptr;
    QMdiSubWindow* sub = area->currentSubWindow();
    return sub ? qobject_cast<ChannelGridWindow*>(sub->widget()) : nullptr;
}

QAction* newAction(QMenu* menu, const char* name, int textId)
{
    QAction* a = menu->addAction(QString());
    a->setObjectName(QString::fromLatin1(name));
    a->setProperty("textId", textId);
    return a;
}

// The checkable view option, kept in step with the stored option.
QAction* addWholeChannelOption(QMenu* menu, const char* name)
{
    QAction* a = newAction(menu, name, text::others::GridViewWholeChannel);
    a->setCheckable(true);
    ChannelGridViewOption& option = ChannelGridViewOption::instance();
    a->setChecked(option.wholeChannel());
    QObject::connect(a, &QAction::triggered, menu,
                     [](bool on) { ChannelGridViewOption::instance().setWholeChannel(on); });
    QObject::connect(&option, &ChannelGridViewOption::wholeChannelChanged, a,
                     [a](bool on) { a->setChecked(on); });
    return a;
}

}  // namespace

void addChannelGridEditCommands(QMenu* editMenu, QMdiArea* area)
{
    const QPointer<QMdiArea> mdi(area);
    auto add = [&](const char* name, int textId, QKeySequence::StandardKey key,
                   void (ChannelGridWindow::*command)()) {
        QAction* a = newAction(editMenu, name, textId);
        if (key != QKeySequence::UnknownKey) a->setShortcut(key);
        QObject::connect(a, &QAction::triggered, editMenu, [mdi, command] {
            if (ChannelGridWindow* grid = currentGrid(mdi)) (grid->*command)();
        });
    };
    editMenu->addSeparator();
    add("mnuEditCopy", text::menu::EditCopy, QKeySequence::Copy, &ChannelGridWindow::copyCells);
    add("mnuEditCut", text::menu::EditCut, QKeySequence::Cut, &ChannelGridWindow::cutCells);
    add("mnuEditPaste", text::menu::EditPaste, QKeySequence::Paste, &ChannelGridWindow::pasteCells);
    add("mnuEditDeleteChannels", text::menu::EditDeleteChannels, QKeySequence::UnknownKey,
        &ChannelGridWindow::deleteSelectedChannels);
}

void addChannelGridViewCommands(QMenu* viewMenu, QMdiArea* area)
{
    const QPointer<QMdiArea> mdi(area);
    viewMenu->addSeparator();
    addWholeChannelOption(viewMenu, "mnuViewWholeChannel");
    QAction* set =
        newAction(viewMenu, "mnuViewSetForSelected", text::others::SetForSelectedChannelsCommand);
    QObject::connect(set, &QAction::triggered, viewMenu, [mdi] {
        if (ChannelGridWindow* grid = currentGrid(mdi)) grid->setForSelectedChannels();
    });
}

QMenu* newChannelGridContextMenu(ChannelGridWindow& grid)
{
    auto* menu = new QMenu(&grid);
    menu->setObjectName(QStringLiteral("ChannelGridContextMenu"));
    auto add = [&](const char* name, int textId, void (ChannelGridWindow::*command)()) {
        QAction* a = newAction(menu, name, textId);
        QObject::connect(a, &QAction::triggered, &grid, command);
    };
    add("cmnuCopy", text::menu::EditCopy, &ChannelGridWindow::copyCells);
    add("cmnuCut", text::menu::EditCut, &ChannelGridWindow::cutCells);
    add("cmnuPaste", text::menu::EditPaste, &ChannelGridWindow::pasteCells);
    add("cmnuDeleteChannels", text::menu::EditDeleteChannels,
        &ChannelGridWindow::deleteSelectedChannels);
    menu->addSeparator();
    addWholeChannelOption(menu, "cmnuWholeChannel");
    add("cmnuSetForSelected", text::others::SetForSelectedChannelsCommand,
        &ChannelGridWindow::setForSelectedChannels);
    return menu;
}

ChannelGridViewOption& ChannelGridViewOption::instance()
{
    static ChannelGridViewOption option;
    return option;
}

zt::UserSettingsStore ChannelGridViewOption::store() const
{
    return store_ ? store_() : zt::UserSettingsStore::forApplication(kOptionApplication);
}

void ChannelGridViewOption::setStore(std::function<zt::UserSettingsStore()> store)
{
    store_ = std::move(store);
    cached_ = -1;
}

bool ChannelGridViewOption::wholeChannel()
{
    if (cached_ < 0) cached_ = store().number(kOptionSection, kWholeChannelKey, 0) != 0 ? 1 : 0;
    return cached_ == 1;
}

void ChannelGridViewOption::setWholeChannel(bool on)
{
    if (wholeChannel() == on) return;
    cached_ = on ? 1 : 0;
    // A store that cannot be written keeps the option for this run only.
    (void)store().storeNumbers(kOptionSection, {{kWholeChannelKey, cached_}});
    emit wholeChannelChanged(on);
}

}  // namespace zt::gui
