#include "core/files/install_paths.h"

namespace zt {

InstallPaths InstallPaths::fromExecutable(const std::filesystem::path& executable)
{
    return InstallPaths{executable.parent_path()};
}

std::filesystem::path InstallPaths::folder() const
{
    std::filesystem::path dir = programDir;
    if (!dir.empty() && !dir.has_filename()) dir = dir.parent_path();  // "…/V300/" -> "…/V300"
    return dir;
}

std::filesystem::path InstallPaths::root() const
{
    return folder().parent_path();
}

std::filesystem::path InstallPaths::programOfVersion(
    std::string_view softVersion, const std::filesystem::path& executableName) const
{
    return root() / std::filesystem::path(softVersion) / executableName;
}

}  // namespace zt
