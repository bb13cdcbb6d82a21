#include "apps/cli/command_files.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace zt {
namespace {

namespace fs = std::filesystem;

bool sameFile(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    if (fs::equivalent(a, b, ec)) return true;
    // A file not yet there: compare where the two names lead.
    const fs::path ca = fs::weakly_canonical(fs::absolute(a, ec), ec);
    if (ec) return false;
    const fs::path cb = fs::weakly_canonical(fs::absolute(b, ec), ec);
    return !ec && ca == cb;
}

struct Touched {
    fs::path path;     // a file on disk
    fs::path namedAs;  // the name the command line gave
    bool companion;    // path is the companion channel file of namedAs
};

std::vector<Touched> filesOf(const NamedFile& f)
{
    if (f.path.empty()) return {};
    std::vector<Touched> files{{f.path, f.path, false}};
    if (f.dataFile && isUsableMainPath(f.path))
        files.push_back({companionPath(f.path), f.path, true});
    return files;
}

std::string describe(const Touched& t)
{
    if (!t.companion) return t.path.string();
    return t.path.string() + " (the channel file of " + t.namedAs.string() + ")";
}

std::string systemReason(int error)
{
    return error != 0 ? std::strerror(error) : "unknown error";
}

}  // namespace

std::string overwriteConflict(const std::vector<NamedFile>& inputs,
                              const std::vector<NamedFile>& outputs)
{
    std::vector<Touched> written;
    for (const NamedFile& out : outputs) {
        for (const Touched& w : filesOf(out)) {
            for (const NamedFile& in : inputs)
                for (const Touched& r : filesOf(in))
                    if (sameFile(w.path, r.path))
                        return "writing " + describe(w) + " would replace " + describe(r) +
                               ", which this command reads; give the output a name of its own";
            for (const Touched& other : written)
                if (sameFile(w.path, other.path))
                    return describe(w) + " and " + describe(other) +
                           " are the same file; give each output a name of its own";
        }
        for (const Touched& w : filesOf(out)) written.push_back(w);
    }
    return "";
}

std::string outputProblem(const fs::path& file)
{
    std::error_code ec;
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    if (!fs::exists(folder, ec)) return "the folder " + folder.string() + " does not exist";
    if (!fs::is_directory(folder, ec)) return folder.string() + " is not a folder";
    if (fs::is_directory(file, ec)) return file.string() + " is a folder";
    if (::access(folder.c_str(), W_OK) != 0)
        return "the folder " + folder.string() + ": " + systemReason(errno);
    if (fs::exists(file, ec) && ::access(file.c_str(), W_OK) != 0)
        return file.string() + ": " + systemReason(errno);
    return "";
}

namespace {

// Reads at most `limit` bytes from the start of a regular file.
bool readUpTo(const fs::path& file, std::size_t limit, std::string& bytes, std::string& reason)
{
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (ec) {
        reason = ec.message();
        return false;
    }
    if (fs::is_directory(status)) {
        reason = "it is a folder";
        return false;
    }
    if (!fs::is_regular_file(status)) {
        reason = "it is not a regular file";
        return false;
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(file.c_str(), "rb"),
                                                             &std::fclose);
    if (!in) {
        reason = systemReason(errno);
        return false;
    }
    std::string data;
    char buffer[65536];
    while (data.size() < limit) {
        const std::size_t want = std::min(sizeof buffer, limit - data.size());
        const std::size_t n = std::fread(buffer, 1, want, in.get());
        data.append(buffer, n);
        if (n < want) break;
    }
    if (std::ferror(in.get())) {
        reason = systemReason(errno);
        return false;
    }
    bytes = std::move(data);
    return true;
}

}  // namespace

bool readInputFile(const fs::path& file, std::size_t maxBytes, std::string& bytes,
                   std::string& reason)
{
    std::string data;
    if (!readUpTo(file, maxBytes + 1, data, reason)) return false;
    if (data.size() > maxBytes) {
        reason =
            "it is larger than a channel list can be (" + std::to_string(maxBytes >> 20) + " MiB)";
        return false;
    }
    bytes = std::move(data);
    return true;
}

bool writeWholeFile(const fs::path& file, std::string_view bytes, std::string& reason)
{
    std::error_code ec;
    // Replace the file a symbolic link points to, not the link.
    fs::path target = file;
    if (fs::is_symlink(file, ec)) target = fs::weakly_canonical(file, ec);
    fs::path temp = target;
    temp += ".tmp" + std::to_string(::getpid());
    ReasonKeepingFileOps ops;
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             bytes.size());
    if (!ops.writeFile(temp, data)) {
        ops.removeFile(temp);
        reason = ops.reason();
        return false;
    }
    const auto perms = fs::status(target, ec).permissions();
    if (!ec) fs::permissions(temp, perms, ec);
    if (!ops.renameFile(temp, target)) {
        ops.removeFile(temp);
        reason = ops.reason();
        return false;
    }
    return true;
}

bool ReasonKeepingFileOps::readFile(const fs::path& path, std::size_t maxBytes,
                                    std::vector<std::uint8_t>& out)
{
    std::string bytes;
    std::string why;
    if (!readUpTo(path, maxBytes, bytes, why)) {
        if (reason_.empty()) reason_ = path.string() + ": " + why;
        return false;
    }
    out.assign(bytes.begin(), bytes.end());
    return true;
}

bool ReasonKeepingFileOps::writeFile(const fs::path& path, std::span<const std::uint8_t> bytes)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        if (reason_.empty()) reason_ = path.string() + ": " + systemReason(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() &&
                         std::fflush(out) == 0 && ::fsync(::fileno(out)) == 0;
    const int error = errno;
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed) {
        if (reason_.empty()) reason_ = path.string() + ": " + systemReason(written ? errno : error);
        return false;
    }
    return true;
}

bool ReasonKeepingFileOps::renameFile(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec && reason_.empty()) reason_ = to.string() + ": " + ec.message();
    return !ec;
}

}  // namespace zt
