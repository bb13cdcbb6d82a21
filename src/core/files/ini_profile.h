#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zt {

// INI files (language files, mysetup.ini, Version.ini) with the semantics of
// the classic private-profile calls:
// - "[name]" starts a section; "key=value" lines belong to the section above;
//   lines starting with ';' are comments; other lines are ignored.
// - Section and key names compare case-insensitively (ASCII letters) after
//   removing surrounding spaces and tabs.
// - The first occurrence of a key among the sections of that name wins.
// - A value is cut at its first NUL, has surrounding spaces and tabs removed
//   and is cut to at most 254 characters (UTF-8 sequences are never split).
// - A missing file, section or key gives the default.
// - Lines may end in CR LF, LF or CR; the last line needs no line break.
// - Writing replaces or appends one key and keeps every other line byte for
//   byte; the file and the section are created when missing.

// The longest value a read returns unless the caller asks for another length.
constexpr std::size_t kProfileValueMax = 254;

std::string readProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              std::size_t maxChars = kProfileValueMax);

// Sets section/key to value. The new file is written next to the old one and
// renamed over it, so a failed write leaves the old file as it was. Refuses
// (returns false) names or values that would break the line structure: a line
// break or NUL anywhere, '=' in the key, ']' in the section, or an empty name.
[[nodiscard]] bool writeProfileString(const std::filesystem::path& file, std::string_view section,
                                      std::string_view key, std::string_view value);

// ---- The same rules on INI text held in memory ----

// The raw value of the first matching key (only the line break removed), or
// nothing when the section or key is missing.
std::optional<std::string_view> findProfileValue(std::string_view iniText, std::string_view section,
                                                 std::string_view key);

// What a read returns for a raw value: cut at NUL, trimmed, one matching pair of single or
// double quotes around it removed, cut to maxChars.
std::string clipProfileValue(std::string_view raw, std::size_t maxChars = kProfileValueMax);

// Calls visit(section, key, rawValue) for every key line in file order.
void forEachProfileEntry(std::string_view iniText,
                         const std::function<void(std::string_view section, std::string_view key,
                                                  std::string_view rawValue)>& visit);

// Sets section/key to value in the text (same rules as writeProfileString).
bool setProfileValue(std::string& iniText, std::string_view section, std::string_view key,
                     std::string_view value);

// ---- Whole-file helpers (also usable for other small files) ----

// Reads every byte of a regular file; false when it is missing or unreadable.
bool readFileBytes(const std::filesystem::path& file, std::string& bytes);

// Writes the bytes to a temporary file in the same folder and renames it over
// the file (creating missing folders). On failure the old file is unchanged
// and the temporary file is removed.
[[nodiscard]] bool replaceFileBytes(const std::filesystem::path& file, std::string_view bytes);

// Case-insensitive comparison of section or key names (ASCII letters only).
bool profileNamesEqual(std::string_view a, std::string_view b);

}  // namespace zt
