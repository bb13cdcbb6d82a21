#pragma once

#include <string>
#include <string_view>

namespace zt {

// The text without trailing spaces, then cut before its first NUL character.
std::string cutTextAtZero(std::string_view text);

// The file name of a path: the part after the last "\". Since the programs also run on
// systems whose paths use "/", the last "/" separates as well. The whole text when it has
// neither.
std::string fileNameOfPath(std::string_view path);

// DTMF digits as stored ("E" for "*", "F" for "#") to their shown form, and back.
// Other characters pass unchanged.
std::string dtmfToDisplay(std::string_view stored);
std::string dtmfToStorage(std::string_view shown);

}  // namespace zt
