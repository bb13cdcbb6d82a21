#pragma once

// Whether the files a command will save can be written, checked before the
// radio is touched, so that a long read never ends in a save that fails.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace zt {

// True when every file in `files` (the files the save makes or replaces, its
// temporary and backup names included) can be made: none is a folder, an
// existing one may be written, their folder exists and takes a new file whose
// name is as long as the longest of theirs plus `extraNameChars` (names the
// save makes that are not listed, such as numbered temporaries). A file of
// that length is made and removed again to find out. Otherwise false, with
// `why` saying what is wrong in words for the user.
bool canMakeFiles(const std::vector<std::filesystem::path>& files, std::size_t extraNameChars,
                  std::string& why);

// The files a data-file save of `mainPath` makes or replaces: the main file,
// its companion channel file, and their temporary and backup names.
std::vector<std::filesystem::path> dataFileSaveNames(const std::filesystem::path& mainPath);

// How many characters the numbered temporary of a single-file replace adds to
// the file's name at most.
constexpr std::size_t kReplaceTempExtraChars = 18;

}  // namespace zt
