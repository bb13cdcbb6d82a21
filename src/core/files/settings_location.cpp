#include "core/files/settings_location.h"

#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace zt {

namespace fs = std::filesystem;

fs::path userConfigFolder(const EnvironmentLookup& environment)
{
    if (!environment) return {};
    const char* xdg = environment("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    if (xdg && *xdg && fs::path(xdg).is_absolute()) return fs::path(xdg) / kUserConfigFolderName;
    const char* home = environment("HOME");
    if (home && *home) return fs::path(home) / ".config" / kUserConfigFolderName;
    return {};
}

bool canWriteInPlace(const fs::path& file)
{
    std::error_code ec;
    if (fs::exists(file, ec)) {
        if (fs::is_directory(file, ec)) return false;
        std::ofstream probe(file, std::ios::binary | std::ios::app);
        return probe.is_open();
    }
    const fs::path folder = file.parent_path();
    if (!fs::is_directory(folder, ec)) return false;
    const fs::path probeFile =
        folder / (".zt-write-probe-" + std::to_string(std::random_device{}()));
    bool created = false;
    {
        std::ofstream probe(probeFile, std::ios::binary | std::ios::out);
        created = probe.is_open();
    }
    if (created) fs::remove(probeFile, ec);
    return created;
}

fs::path SettingsLocation::place(const fs::path& installedFile) const
{
    if (userFolder.empty() || !writable || writable(installedFile)) return installedFile;

    fs::path relative =
        installedFile.lexically_normal().lexically_relative(installRoot.lexically_normal());
    if (relative.empty() || *relative.begin() == "..") relative = installedFile.filename();
    const fs::path copy = userFolder / relative;

    std::error_code ec;
    if (!fs::exists(copy, ec)) {
        fs::create_directories(copy.parent_path(), ec);
        // Failures leave no copy: reading then gives the defaults, and the
        // first write creates the file.
        if (fs::is_regular_file(installedFile, ec))
            fs::copy_file(installedFile, copy, fs::copy_options::skip_existing, ec);
    }
    return copy;
}

InstallPaths withWritableSettings(InstallPaths paths, const SettingsLocation& location)
{
    paths.mySetupFile = location.place(paths.mySetupIni());
    paths.settingFile = location.place(paths.settingIni());
    return paths;
}

}  // namespace zt
