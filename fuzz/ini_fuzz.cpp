// Feeds arbitrary bytes to the INI reader and writer and checks that what was
// written reads back and that a write adds at most one entry.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/files/ini_profile.h"

namespace {

void check(bool condition)
{
    if (!condition) __builtin_trap();
}

std::size_t entryCount(std::string_view text)
{
    std::size_t n = 0;
    zt::forEachProfileEntry(text,
                            [&](std::string_view, std::string_view, std::string_view) { ++n; });
    return n;
}

// Sets section/key and checks the result: it reads back and the entry count
// grows by at most one.
void setAndCheck(const std::string& original, std::string_view section, std::string_view key,
                 std::string_view value)
{
    std::string text = original;
    if (!zt::setProfileValue(text, section, key, value)) return;
    const auto back = zt::findProfileValue(text, section, key);
    check(back.has_value());
    check(zt::clipProfileValue(*back, 1u << 20) == zt::clipProfileValue(value, 1u << 20));
    const std::size_t before = entryCount(original);
    const std::size_t after = entryCount(text);
    check(after == before || after == before + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::optional<std::string> firstSection;
    std::optional<std::string> firstKey;
    zt::forEachProfileEntry(text, [&](std::string_view section, std::string_view key,
                                      std::string_view raw) {
        check(!key.empty());
        check(raw.find('\n') == std::string_view::npos && raw.find('\r') == std::string_view::npos);
        const std::string clipped = zt::clipProfileValue(raw);
        check(clipped.size() <= raw.size());
        if (!firstSection) {
            firstSection = std::string(section);
            firstKey = std::string(key);
        }
    });

    for (const char* section : {"Msg", "language", "Version", "Firm"}) {
        for (const char* key : {"9001", "comPort", "FirmVersionCount", "Firm0"}) {
            if (const auto raw = zt::findProfileValue(text, section, key)) {
                check(zt::clipProfileValue(*raw).size() <= 4 * zt::kProfileValueMax);
            }
        }
    }

    setAndCheck(text, "Msg", "9001", "new text");
    setAndCheck(text, "language", "comPort", "3");
    if (firstSection && firstKey) {
        // The first entry is found again, and replacing it keeps the count.
        check(zt::findProfileValue(text, *firstSection, *firstKey).has_value());
        std::string edited = text;
        if (zt::setProfileValue(edited, *firstSection, *firstKey, "x")) {
            check(entryCount(edited) == entryCount(text));
        }
        setAndCheck(text, *firstSection, *firstKey, "replaced value");
    }
    return 0;
}
