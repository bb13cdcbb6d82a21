#pragma once

// A programming-program context for widget tests of the small windows: a
// temporary installation (program folder with the English and Chinese
// language files, root with language/mysetup.ini) and a scripted prompt.

#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <filesystem>

#include "core/files/ini_profile.h"
#include "gui/app_context.h"
#include "gui/prompt/scripted_prompt_service.h"

namespace zt::gui::testing {

struct SmallWindowApp {
    QTemporaryDir dir;
    ScriptedPromptService prompt;
    AppContext app;

    SmallWindowApp()
    {
        const std::filesystem::path root = dir.path().toStdString();
        app.paths.programDir = root / "V300";
        std::filesystem::create_directories(app.paths.languageDir());
        std::filesystem::create_directories(root / "language");
        const std::filesystem::path source =
            std::filesystem::path(ZT_SOURCE_DIR) / "data" / "language";
        for (const char* name : {"english.ini", "chinese.ini"})
            std::filesystem::copy_file(source / name, app.paths.languageDir() / name);
        app.texts.setLanguageDir(app.paths.languageDir());
        app.texts.setLanguage(1);
        app.prompt = &prompt;
    }

    std::string setupValue(std::string_view key) const
    {
        return readProfileString(app.paths.mySetupIni(), "language", key, "<missing>");
    }
};

inline QStringList entries(const QComboBox* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->itemText(i);
    return out;
}

}  // namespace zt::gui::testing
