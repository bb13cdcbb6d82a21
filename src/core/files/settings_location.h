#pragma once

// Where the settings files written at run time are kept. They normally live in
// the installation (language/mysetup.ini at the root, Setting.ini in the
// program folder, the information tool's mysetup.ini in its folder). An
// installation the user cannot write to, such as a package under /opt, keeps
// each of them instead in the user's configuration folder, at the same place
// relative to the installation root, copied once from the installed file.

#include <filesystem>
#include <functional>

#include "core/files/install_paths.h"

namespace zt {

// The folder name below the user's configuration folder.
constexpr const char* kUserConfigFolderName = "ztp958fm";

// Looks up an environment variable; null when it is not set.
using EnvironmentLookup = std::function<const char*(const char* name)>;

// $XDG_CONFIG_HOME/ztp958fm when XDG_CONFIG_HOME is an absolute path, else
// $HOME/.config/ztp958fm; empty when neither is known.
std::filesystem::path userConfigFolder(const EnvironmentLookup& environment);

// True when `file` can be written where it is: an existing file opens for
// appending (its content is left alone), a missing one can be created in its
// folder (checked with a short-lived probe file).
bool canWriteInPlace(const std::filesystem::path& file);

struct SettingsLocation {
    std::filesystem::path installRoot;  // the installation root
    std::filesystem::path userFolder;   // empty: files always stay in place
    std::function<bool(const std::filesystem::path&)> writable = canWriteInPlace;

    // The file to read and write for `installedFile`: the file itself when it
    // can be written in place, else its copy below `userFolder`. A copy that
    // does not exist yet is made from the installed file (when there is one)
    // and its folder created; an existing copy is never replaced.
    std::filesystem::path place(const std::filesystem::path& installedFile) const;
};

// `paths` with mysetup.ini and Setting.ini placed by `location`.
InstallPaths withWritableSettings(InstallPaths paths, const SettingsLocation& location);

}  // namespace zt
