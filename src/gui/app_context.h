#pragma once

#include <QString>
#include <filesystem>
#include <memory>
#include <string>

#include "core/edit/channel_grid_rules.h"
#include "core/files/document_store.h"
#include "core/files/install_paths.h"
#include "core/files/language.h"
#include "core/files/settings.h"
#include "core/files/version_manager.h"
#include "core/radio/program_state.h"
#include "gui/document_events.h"
#include "gui/prompt/prompt_service.h"

namespace zt::gui {

class ChildWindowHost;

// Program-wide state of the programming program, created at start-up and
// alive for the whole run. Windows receive it by reference.
struct AppContext {
    InstallPaths paths;
    ProgramState state;       // current model, band, limits, feature flags, radio info
    DocumentStore documents;  // working and saved copies of the open document
    LanguageTexts texts;
    VersionTable versions;
    int comPort = 1;              // `comPort`
    int currentLanguage = 1;      // `CurrentLanguage`
    int appliedLanguage = 1;      // the language the main window shows now
    QString applicationTitle;     // text 12000 of the start-up language
    bool osIsVista = false;       // `OsIsVista`: only true on that one Windows version
    HabitRecord habit;            // `HabitRecord.UseOffset` is true for the run
    std::string enteredPassword;  // `EnteredPassword`, changed only by the password window's OK
    bool passwordWindowShown = false;  // `PasswordWindowShown`
    bool noEcho = false;               // the cable's no-echo flag, kept between transfers
    std::filesystem::path executableName{"ZTP958FM"};
    ChannelEditState channelEdit;  // `CurrentGroup`, `EditPos`, `GridOpen`, `EditorOpen`

    DocumentEvents events;                  // what changed in the document, for the windows
    ChildWindowHost* windowHost = nullptr;  // the main window's area; null without one
    PromptService* prompt = nullptr;        // never null once the program runs
    ProgramLauncher* launcher = nullptr;    // starts another installed version

    // A language text of the current language.
    QString text(int id) const { return QString::fromUtf8(texts.GetLangText(id)); }

    // What the document operations need, bound to this context.
    DocumentContext documentContext()
    {
        return DocumentContext{state,          *prompt,        paths,    versions,
                               texts.lookup(), executableName, launcher, nullptr};
    }
};

}  // namespace zt::gui
