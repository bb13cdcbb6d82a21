#pragma once

// A programming-program context for the function-window tests: the real
// English language file in a temporary program folder and a scripted prompt.

#include <QApplication>
#include <QComboBox>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <filesystem>

#include "gui/app_context.h"
#include "gui/prompt/scripted_prompt_service.h"

namespace zt::gui::testing {

struct FunctionsApp {
    QTemporaryDir dir;
    ScriptedPromptService prompt;
    AppContext app;

    FunctionsApp()
    {
        app.paths.programDir = std::filesystem::path(dir.path().toStdString()) / "V300";
        std::filesystem::create_directories(app.paths.languageDir());
        std::filesystem::copy_file(
            std::filesystem::path(ZT_SOURCE_DIR) / "data" / "language" / "english.ini",
            app.paths.languageDir() / "english.ini");
        app.texts.setLanguageDir(app.paths.languageDir());
        app.texts.setLanguage(1);
        app.prompt = &prompt;
    }
    RadioDocument& doc() { return app.documents.working(); }
    RadioData& data() { return app.documents.working().Data; }
    OptionSettings& options() { return data().Options; }
};

inline QStringList listEntries(const QComboBox* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->itemText(i);
    return out;
}

// Shows a window and makes it the active one, so focus changes happen.
inline bool showActive(QWidget& w)
{
    w.show();
    QApplication::setActiveWindow(&w);
    return QTest::qWaitForWindowActive(&w);
}

}  // namespace zt::gui::testing
