#pragma once

#include <QString>
#include <cstdint>

#include "gui/app_context.h"

namespace zt::gui {

constexpr std::uint32_t kLocaleChinesePrc = 0x0804;
constexpr std::uint32_t kLocaleEnglishUs = 0x0409;

// The system's default locale as a locale id: taken from LC_ALL, LC_MESSAGES
// or LANG (the first one set); "zh_CN..." counts as Chinese (PRC), anything
// else as English (US).
std::uint32_t systemLocaleIdFromEnvironment();
std::uint32_t localeIdOfName(const QString& localeName);

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

}  // namespace zt::gui
