#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/files/record_io.h"
#include "core/radio/radio_data.h"

namespace zt {

// The companion channel file: the main path with its last three characters
// replaced by "fre" (x.dat -> x.fre).
std::filesystem::path companionPath(const std::filesystem::path& mainPath);

// A main path can be used for a pair when its companion is a different file:
// at least three characters, not ending in "fre" (letter case ignored, as on
// the file systems the program runs on).
bool isUsableMainPath(const std::filesystem::path& mainPath);

// The path Save As uses: ".dat" appended unless the name already ends in
// ".dat" (letter case ignored). "x" -> "x.dat", "x.fre" -> "x.fre.dat".
std::filesystem::path saveAsPath(const std::filesystem::path& chosen);

// The file operations a save and an open need. The default works on the real
// file system; tests replace single operations to make them fail.
class FileOps {
  public:
    virtual ~FileOps() = default;
    // Reads at most maxBytes from the start of the file. False when it cannot
    // be opened or read.
    virtual bool readFile(const std::filesystem::path& path, std::size_t maxBytes,
                          std::vector<std::uint8_t>& out);
    // Creates or truncates the file, writes all bytes, flushes and closes it.
    virtual bool writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
    // Replaces `to` by `from` in one step.
    virtual bool renameFile(const std::filesystem::path& from, const std::filesystem::path& to);
    // Makes `to` a second name (or, where that is impossible, a copy) of `from`.
    virtual bool keepCopy(const std::filesystem::path& from, const std::filesystem::path& to);
    virtual bool isRegularFile(const std::filesystem::path& path);
    virtual void removeFile(const std::filesystem::path& path);
};

FileOps& realFileOps();

// A parsed pair, or the message id that refuses it.
struct ParsedDataFile {
    int messageId = 0;  // 0 = valid; else text::msg::WrongFileLength or text::msg::DamagedFile
    RadioDocument document;
};

// The version text of a main file: its first four bytes as text (fewer when
// the file is shorter).
std::string fileVersionText(std::span<const std::uint8_t> mainBytes);

// Parses a pair from its bytes: mainBytes is the whole main file,
// companionBytes at least the counted records (bytes after them are
// ignored). Refuses a main file that is not 1663 bytes (9033), a channel
// count outside 0..521, a companion shorter than the counted records, or a
// channel number outside 1..521 or repeated (9066). The result's version
// text is the file's own; the caller stamps its own.
ParsedDataFile parseDataFile(std::span<const std::uint8_t> mainBytes,
                             std::span<const std::uint8_t> companionBytes);

// The two files' bytes for a document: the record, then the first
// ChannelCount channels (the count must lie in 0..521).
std::vector<std::uint8_t> channelFileBytes(const RadioDocument& doc);

// Reads the start of a main file: at most one byte more than a valid main
// file holds, so the length rule can be checked without reading a large file.
// False when the file cannot be read.
bool readMainFile(const std::filesystem::path& mainPath, std::vector<std::uint8_t>& out,
                  FileOps& ops = realFileOps());

// Completes the reading of a pair whose main file bytes were read by
// readMainFile: the length rule (9033), then the companion, read only up to
// the counted records, and the checks of parseDataFile (9066). 9002 when the
// companion exists but cannot be read or the main path is not usable. A
// companion is not needed when the count is 0; a missing one otherwise counts
// as damaged (9066).
ParsedDataFile readDataFileRest(const std::filesystem::path& mainPath,
                                std::span<const std::uint8_t> mainBytes,
                                FileOps& ops = realFileOps());

// readMainFile and readDataFileRest together (9002 when the main file cannot
// be read).
ParsedDataFile readDataFile(const std::filesystem::path& mainPath, FileOps& ops = realFileOps());

// Writes the pair atomically per file: each file goes to a temporary file in
// its folder, is flushed and then renamed over the old one. When anything
// fails, the previous pair is left as it was and false is returned.
[[nodiscard]] bool writeDataFile(const std::filesystem::path& mainPath, const RadioDocument& doc,
                                 FileOps& ops = realFileOps());

}  // namespace zt

// The document store (working and saved copies, New, Open, Save, IsModified)
// belongs to the same data-file API.
#include "core/files/document_store.h"  // IWYU pragma: export
#include "core/text_ids.h"
