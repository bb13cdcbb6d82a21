#pragma once

// What the host system says about where and on what the programs run: the
// system's default locale as a locale id, and the one operating-system check
// the serial code makes.

#include <cstdint>
#include <string_view>

namespace zt {

constexpr std::uint32_t kLocaleChinesePrc = 0x0804;
constexpr std::uint32_t kLocaleEnglishUs = 0x0409;

// "zh_CN", "zh_CN.UTF-8", "zh_CN@..." and "zh-CN" (surrounding spaces allowed)
// name Chinese (PRC); anything else counts as English (US).
std::uint32_t localeIdOfName(std::string_view localeName);

// The system's default locale. On Windows the system's own locale; elsewhere
// the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty
// (English when none is).
std::uint32_t systemLocaleId();

// True only on the Windows version whose serial ports the programs treat
// specially; false on every other system.
bool systemIsWindowsVista();

}  // namespace zt
