#pragma once

// The files a command of ztp958fm-cli reads and writes: no output may be one of the inputs,
// their companion channel files or another output; outputs go into folders that exist;
// failures name the system's reason.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/files/data_file.h"

namespace zt {

// A file named on the command line. A data file stands for itself and its companion
// channel file (x.dat and x.fre).
struct NamedFile {
    std::filesystem::path path;  // empty: not given
    bool dataFile = false;
};

// Empty when no file an output writes is a file an input names (by identity: the same file
// under any spelling or link) or a file another output writes; otherwise the sentence that
// refuses the command line.
std::string overwriteConflict(const std::vector<NamedFile>& inputs,
                              const std::vector<NamedFile>& outputs);

// Empty when `file` can be created or replaced: its folder exists (it is not created) and
// can be written to, and the file itself is not a folder. Otherwise the reason.
std::string outputProblem(const std::filesystem::path& file);

// Reads a whole input file of at most maxBytes. False with the reason (a folder, not a
// regular file, too large, the system's reason of a failed open or read).
bool readInputFile(const std::filesystem::path& file, std::size_t maxBytes, std::string& bytes,
                   std::string& reason);

// Writes the file beside its name and renames it over the old one, so a failed write leaves
// no partial file. False with the system's reason.
bool writeWholeFile(const std::filesystem::path& file, std::string_view bytes, std::string& reason);

// The real file operations, keeping the system's reason of the first one that fails.
class ReasonKeepingFileOps : public FileOps {
  public:
    bool readFile(const std::filesystem::path& path, std::size_t maxBytes,
                  std::vector<std::uint8_t>& out) override;
    bool writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) override;
    bool renameFile(const std::filesystem::path& from, const std::filesystem::path& to) override;
    const std::string& reason() const { return reason_; }

  private:
    std::string reason_;
};

}  // namespace zt
