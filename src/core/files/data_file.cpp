#include "core/files/data_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <system_error>

namespace zt {
namespace {

bool endsWithNoCase(const std::string& s, std::string_view tail)
{
    if (s.size() < tail.size()) return false;
    return std::equal(tail.begin(), tail.end(), s.end() - static_cast<std::ptrdiff_t>(tail.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

// Sibling names for the temporary and the backup file of a save.
std::filesystem::path withSuffix(const std::filesystem::path& p, const char* suffix)
{
    std::filesystem::path out = p;
    out += suffix;
    return out;
}

constexpr const char* kTempSuffix = ".~ztsave";
constexpr const char* kBackupSuffix = ".~ztkeep";

}  // namespace

std::filesystem::path companionPath(const std::filesystem::path& mainPath)
{
    std::string s = mainPath.string();
    if (s.size() >= 3) s.resize(s.size() - 3);
    return std::filesystem::path(s + "fre");
}

bool isUsableMainPath(const std::filesystem::path& mainPath)
{
    const std::string name = mainPath.filename().string();
    return name.size() >= 3 && !endsWithNoCase(name, "fre");
}

std::filesystem::path saveAsPath(const std::filesystem::path& chosen)
{
    if (endsWithNoCase(chosen.filename().string(), ".dat")) return chosen;
    std::filesystem::path out = chosen;
    out += ".dat";
    return out;
}

// ---- file operations on the real file system ----

bool FileOps::readFile(const std::filesystem::path& path, std::size_t maxBytes,
                       std::vector<std::uint8_t>& out)
{
    out.clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.resize(maxBytes);
    // A read error inside the stream buffer is thrown, whatever the stream's exception mask.
    try {
        in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(maxBytes));
    } catch (const std::ios_base::failure&) {
        out.clear();
        return false;
    }
    if (in.bad()) return false;
    out.resize(static_cast<std::size_t>(in.gcount()));
    return true;
}

bool FileOps::writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) return false;
    out.close();
    return !out.fail();
}

bool FileOps::renameFile(const std::filesystem::path& from, const std::filesystem::path& to)
{
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    return !ec;
}

bool FileOps::keepCopy(const std::filesystem::path& from, const std::filesystem::path& to)
{
    std::error_code ec;
    std::filesystem::remove(to, ec);
    ec.clear();
    std::filesystem::create_hard_link(from, to, ec);
    if (!ec) return true;
    ec.clear();
    return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing,
                                      ec) &&
           !ec;
}

bool FileOps::isRegularFile(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

void FileOps::removeFile(const std::filesystem::path& path)
{
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

FileOps& realFileOps()
{
    static FileOps ops;
    return ops;
}

// ---- parsing ----

std::string fileVersionText(std::span<const std::uint8_t> mainBytes)
{
    const std::size_t n = std::min(kFileVersionLength, mainBytes.size());
    return std::string(reinterpret_cast<const char*>(mainBytes.data()), n);
}

ParsedDataFile parseDataFile(std::span<const std::uint8_t> mainBytes,
                             std::span<const std::uint8_t> companionBytes)
{
    ParsedDataFile result;
    if (mainBytes.size() != kRadioDataFileSize) {
        result.messageId = text::msg::WrongFileLength;
        return result;
    }
    const int count = readLe16(mainBytes, kFileChannelCountOffset);
    if (count < 0 || count > kMaxChannels ||
        companionBytes.size() < static_cast<std::size_t>(count) * kChannelFileRecordSize) {
        result.messageId = text::msg::DamagedFile;
        return result;
    }
    result.document.Data = radioDataFromBytes(mainBytes.first<kRadioDataFileSize>());
    std::array<bool, kMaxChannels + 1> seen{};
    for (int i = 0; i < count; ++i) {
        const auto offset = static_cast<std::size_t>(i) * kChannelFileRecordSize;
        const ChannelRecord rec =
            channelFromBytes(companionBytes.subspan(offset).first<kChannelFileRecordSize>());
        if (rec.ChNo < 1 || rec.ChNo > kMaxChannels || seen[static_cast<std::size_t>(rec.ChNo)]) {
            result.messageId = text::msg::DamagedFile;
            result.document = RadioDocument{};
            return result;
        }
        seen[static_cast<std::size_t>(rec.ChNo)] = true;
        result.document.Channels[static_cast<std::size_t>(i)] = rec;
    }
    return result;
}

std::vector<std::uint8_t> channelFileBytes(const RadioDocument& doc)
{
    const int count = std::clamp<int>(doc.Data.ChannelCount, 0, kMaxChannels);
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(count) * kChannelFileRecordSize);
    for (int i = 0; i < count; ++i) {
        const ChannelFileBytes b = channelToBytes(doc.Channels[static_cast<std::size_t>(i)]);
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

// ---- reading ----

bool readMainFile(const std::filesystem::path& mainPath, std::vector<std::uint8_t>& out,
                  FileOps& ops)
{
    return ops.readFile(mainPath, kRadioDataFileSize + 1, out);
}

ParsedDataFile readDataFileRest(const std::filesystem::path& mainPath,
                                std::span<const std::uint8_t> mainBytes, FileOps& ops)
{
    ParsedDataFile result;
    if (mainBytes.size() != kRadioDataFileSize) {
        result.messageId = text::msg::WrongFileLength;
        return result;
    }
    if (!isUsableMainPath(mainPath)) {
        result.messageId = text::msg::FileError;
        return result;
    }
    const int count = readLe16(mainBytes, kFileChannelCountOffset);
    if (count < 0 || count > kMaxChannels) {
        result.messageId = text::msg::DamagedFile;
        return result;
    }
    std::vector<std::uint8_t> companion;
    if (count > 0) {
        const std::filesystem::path fre = companionPath(mainPath);
        if (!ops.isRegularFile(fre)) {
            result.messageId = text::msg::DamagedFile;
            return result;
        }
        if (!ops.readFile(fre, static_cast<std::size_t>(count) * kChannelFileRecordSize,
                          companion)) {
            result.messageId = text::msg::FileError;
            return result;
        }
    }
    return parseDataFile(mainBytes, companion);
}

ParsedDataFile readDataFile(const std::filesystem::path& mainPath, FileOps& ops)
{
    std::vector<std::uint8_t> mainBytes;
    if (!readMainFile(mainPath, mainBytes, ops)) {
        ParsedDataFile result;
        result.messageId = text::msg::FileError;
        return result;
    }
    return readDataFileRest(mainPath, mainBytes, ops);
}

// ---- writing ----

bool writeDataFile(const std::filesystem::path& mainPath, const RadioDocument& doc, FileOps& ops)
{
    if (!isUsableMainPath(mainPath)) return false;
    if (doc.Data.ChannelCount < 0 || doc.Data.ChannelCount > kMaxChannels) return false;

    const std::filesystem::path frePath = companionPath(mainPath);
    const std::filesystem::path mainTemp = withSuffix(mainPath, kTempSuffix);
    const std::filesystem::path freTemp = withSuffix(frePath, kTempSuffix);
    const std::filesystem::path freBackup = withSuffix(frePath, kBackupSuffix);

    const RadioDataFileBytes mainBytes = radioDataToBytes(doc.Data);
    const std::vector<std::uint8_t> freBytes = channelFileBytes(doc);

    auto dropTemps = [&] {
        ops.removeFile(mainTemp);
        ops.removeFile(freTemp);
    };

    // 1. Both new files complete and flushed beside the old ones.
    if (!ops.writeFile(freTemp, freBytes) || !ops.writeFile(mainTemp, mainBytes)) {
        dropTemps();
        return false;
    }
    // 2. Keep the old companion reachable, so it can be put back if the main
    //    file cannot be replaced after the companion was.
    const bool hadCompanion = ops.isRegularFile(frePath);
    if (hadCompanion && !ops.keepCopy(frePath, freBackup)) {
        dropTemps();
        return false;
    }
    // 3. Replace the companion, then the main file.
    if (!ops.renameFile(freTemp, frePath)) {
        dropTemps();
        if (hadCompanion) ops.removeFile(freBackup);
        return false;
    }
    if (!ops.renameFile(mainTemp, mainPath)) {
        if (hadCompanion) {
            ops.renameFile(freBackup, frePath);
        } else {
            ops.removeFile(frePath);
        }
        dropTemps();
        return false;
    }
    if (hadCompanion) ops.removeFile(freBackup);
    return true;
}

}  // namespace zt
