#pragma once

#include <QString>
#include <cstdint>

#include "gui/app_context.h"
#include "platform/system_locale.h"

namespace zt::gui {

// The start-up routine up to the splash window: version table, echo flag,
// defaults (language from the locale, model and band, no password), "." as
// decimal point, operating-system flag, mysetup.ini, the first empty document,
// the application title (text 12000) and Setting.ini. Missing files never
// stop it. `app.paths`, `app.prompt` and `app.launcher` must be set.
void prepareProgram(AppContext& app, std::uint32_t systemLocaleId);

// A new document (from the initial-data file of that kind) together with the
// radio-information record a new document starts with: version "V3.00", the
// current model, the document's band and today's date in the system's short form.
void startNewDocument(AppContext& app, NewKind kind);

// The title of the program's message boxes: the application title in the language in use,
// also after a switch while the program runs (applicationTitle keeps the start-up language,
// as it names the window position store).
QString messageBoxTitle(const AppContext& app);

}  // namespace zt::gui
