#pragma once

#include <filesystem>
#include <string_view>

namespace zt {

// Where the programming program finds its files. The program folder is the
// folder of the running executable (<root>/<soft version>); the installation
// root is its parent and is shared by every installed version.
struct InstallPaths {
    std::filesystem::path programDir;
    // The settings files in use when they are kept elsewhere than in the
    // installation (see settings_location.h); empty: in the installation.
    std::filesystem::path mySetupFile{};
    std::filesystem::path settingFile{};

    // The paths for an executable at the given location.
    static InstallPaths fromExecutable(const std::filesystem::path& executable);

    std::filesystem::path root() const;
    std::filesystem::path languageDir() const { return folder() / "language"; }
    std::filesystem::path initDir() const { return folder() / "Init"; }
    std::filesystem::path mySetupIni() const
    {
        return mySetupFile.empty() ? root() / "language" / "mysetup.ini" : mySetupFile;
    }
    std::filesystem::path versionIni() const { return root() / "Version.ini"; }
    std::filesystem::path settingIni() const
    {
        return settingFile.empty() ? folder() / "Setting.ini" : settingFile;
    }

    // The program of another installed version: <root>/<soft>/<executableName>.
    std::filesystem::path programOfVersion(std::string_view softVersion,
                                           const std::filesystem::path& executableName) const;

  private:
    // The program folder without a trailing separator.
    std::filesystem::path folder() const;
};

}  // namespace zt
