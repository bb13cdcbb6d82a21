#include "core/edit/text_helpers.h"

#include "core/radio/fixed_text.h"

namespace zt {
namespace {

std::string replaced(std::string_view text, char a, char withA, char b, char withB)
{
    std::string out(text);
    for (char& c : out) {
        if (c == a) {
            c = withA;
        } else if (c == b) {
            c = withB;
        }
    }
    return out;
}

}  // namespace

std::string cutTextAtZero(std::string_view text)
{
    return cutAtZero(text);
}

std::string fileNameOfPath(std::string_view path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string dtmfToDisplay(std::string_view stored)
{
    return replaced(stored, 'E', '*', 'F', '#');
}

std::string dtmfToStorage(std::string_view shown)
{
    return replaced(shown, '*', 'E', '#', 'F');
}

}  // namespace zt
