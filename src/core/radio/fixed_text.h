#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zt {

// A fixed-length text of N bytes, one byte per character. Assigning a shorter
// value pads with spaces; a longer one is cut. A fresh text holds N NUL bytes.
template <std::size_t N>
struct FixedText {
    std::array<char, N> bytes{};

    FixedText() = default;
    FixedText(std::string_view s) { assign(s); }  // NOLINT: implicit by design

    void assign(std::string_view s)
    {
        const std::size_t n = std::min(N, s.size());
        std::copy_n(s.begin(), n, bytes.begin());
        std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(n), bytes.end(), ' ');
    }
    FixedText& operator=(std::string_view s)
    {
        assign(s);
        return *this;
    }

    // The whole text with every byte, NULs and padding included.
    std::string raw() const { return std::string(bytes.data(), N); }

    // The "cut" text: trailing spaces removed, then cut before the first NUL.
    std::string cut() const { return cutText(std::string_view(bytes.data(), N)); }

    static std::string cutText(std::string_view s)
    {
        std::size_t end = s.size();
        while (end > 0 && s[end - 1] == ' ') --end;
        std::string_view t = s.substr(0, end);
        const std::size_t nul = t.find('\0');
        if (nul != std::string_view::npos) t = t.substr(0, nul);
        return std::string(t);
    }

    static constexpr std::size_t size() { return N; }
    char& operator[](std::size_t i) { return bytes[i]; }
    char operator[](std::size_t i) const { return bytes[i]; }

    friend bool operator==(const FixedText&, const FixedText&) = default;
};

// The cut of any text (same rule as FixedText::cut).
inline std::string cutAtZero(std::string_view s) { return FixedText<1>::cutText(s); }

}  // namespace zt
