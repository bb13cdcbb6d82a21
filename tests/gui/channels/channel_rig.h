#pragma once

// A programming-program context for the channel windows: a temporary program folder with the
// language files, a scripted prompt, and a working document with chosen channels.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>

#include "core/radio/channel_edit.h"
#include "gui/app_context.h"
#include "gui/channels/channel_editor_window.h"
#include "gui/channels/channel_grid_view.h"
#include "gui/channels/channel_grid_window.h"
#include "gui/channels/channel_windows.h"
#include "gui/prompt/scripted_prompt_service.h"

namespace zt::gui::testing {

struct ChannelRig {
    QTemporaryDir dir;
    ScriptedPromptService prompt;
    AppContext app;
    std::unique_ptr<ChannelGridWindow> grid;

    ChannelRig()
    {
        const std::filesystem::path root = dir.path().toStdString();
        app.paths.programDir = root / "V300";
        std::filesystem::create_directories(app.paths.languageDir());
        const std::filesystem::path source =
            std::filesystem::path(ZT_SOURCE_DIR) / "data" / "language";
        for (const char* name : {"english.ini", "chinese.ini"})
            std::filesystem::copy_file(source / name, app.paths.languageDir() / name);
        app.texts.setLanguageDir(app.paths.languageDir());
        app.texts.setLanguage(1);
        app.prompt = &prompt;
    }
    ~ChannelRig()
    {
        // The editor the grid opened is a window of its own and outlives the grid.
        const QPointer<ChannelEditorWindow> e = editor();
        grid.reset();
        delete e.data();
    }

    RadioDocument& doc() { return app.documents.working(); }
    ChannelRecord& add(int chNo, const char* rx) { return newChannel(doc(), chNo, rx); }

    ChannelGridWindow& openGrid(int group)
    {
        doc().Data.Options.CurrentGroup = static_cast<std::int16_t>(group);
        grid = std::make_unique<ChannelGridWindow>(app);
        grid->show();
        grid->activateWindow();
        QApplication::setActiveWindow(grid.get());
        (void)QTest::qWaitForWindowExposed(grid.get());
        return *grid;
    }
    ChannelEditorWindow* editor() { return grid ? grid->ownEditor() : nullptr; }

    ChannelGridView* table() { return grid->grid(); }
    QLineEdit* text1() { return grid->findChild<QLineEdit*>("Text1"); }
    QLineEdit* text2() { return grid->findChild<QLineEdit*>("Text2"); }
    QComboBox* list(const char* name) { return grid->findChild<QComboBox*>(name); }

    // A mouse click on a visible cell (row 1-based).
    void clickCell(int row, int col)
    {
        ChannelGridView* t = table();
        t->scrollTo(t->model()->index(row - 1, col));
        const QRect r = t->visualRect(t->model()->index(row - 1, col));
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, r.center());
    }
    int curRow() { return table()->currentRow() + 1; }
    int curCol() { return table()->currentColumn(); }
};

// A cell editor exists only while its cell is edited: shown means open and visible.
inline bool shown(const QWidget* editor)
{
    return editor && editor->isVisible();
}

inline QStringList entries(const QComboBox* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->itemText(i);
    return out;
}

}  // namespace zt::gui::testing
