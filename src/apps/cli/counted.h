#pragma once

#include <string>

namespace zt {

// "1 channel", "2 channels", "0 channels": a count with its noun in the right number.
inline std::string counted(long long n, const std::string& noun)
{
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

}  // namespace zt
