#include "apps/cli/output_check.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/files/data_file.h"

namespace zt {

namespace fs = std::filesystem;

namespace {

fs::path folderOf(const fs::path& file)
{
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

// Makes and removes a file of `length` characters in `folder`; 0 or the errno
// of the failure.
int probeNameLength(const fs::path& folder, std::size_t length)
{
    const std::string prefix = ".ztcheck" + std::to_string(::getpid()) + "-";
    for (const char fill : {'x', 'y', 'z', 'w'}) {
        std::string name = prefix.substr(0, std::min(length, prefix.size()));
        name.resize(length, fill);
        const fs::path probe = folder / name;
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(probe.c_str());
            return 0;
        }
        if (errno != EEXIST) return errno;
    }
    return 0;  // names of that length exist, so they can be made
}

}  // namespace

std::vector<fs::path> dataFileSaveNames(const fs::path& mainPath)
{
    const fs::path companion = companionPath(mainPath);
    auto plus = [](fs::path p, const char* suffix) { return p += suffix; };
    return {mainPath, companion, plus(mainPath, ".~ztsave"), plus(companion, ".~ztsave"),
            plus(companion, ".~ztkeep")};
}

bool canMakeFiles(const std::vector<fs::path>& files, std::size_t extraNameChars, std::string& why)
{
    if (files.empty()) return true;
    std::error_code ec;
    const fs::path folder = folderOf(files.front());
    if (!fs::is_directory(folder, ec)) {
        why = "the folder " + folder.string() + " does not exist";
        return false;
    }
    std::size_t longest = 0;
    for (const fs::path& file : files) {
        longest = std::max(longest, file.filename().string().size());
        if (fs::is_directory(file, ec)) {
            why = file.string() + " is a folder";
            return false;
        }
        if (fs::exists(file, ec) && ::access(file.c_str(), W_OK) != 0) {
            why = file.string() + " cannot be written (no permission)";
            return false;
        }
    }
    const int error = probeNameLength(folder, longest + extraNameChars);
    if (error == 0) return true;
    if (error == ENAMETOOLONG) {
        why = "the name is too long for this file system (saving makes names up to " +
              std::to_string(longest + extraNameChars - files.front().filename().string().size()) +
              " characters longer than it)";
    } else if (error == EACCES || error == EPERM || error == EROFS) {
        why = "the folder " + folder.string() + " cannot be written to (" + std::strerror(error) +
              ")";
    } else {
        why = "no file can be made in " + folder.string() + " (" + std::strerror(error) + ")";
    }
    return false;
}

}  // namespace zt
