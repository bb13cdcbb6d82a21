// Feeds arbitrary bytes to the data-file open: the input is split into a main
// file and its companion, held in memory, and opened through the document
// store exactly as a file chosen by the user would be. Checks that nothing
// crashes or reads out of bounds, that a refused open leaves the document as
// it was, that an accepted pair serialises back to the same bytes and that a
// freshly opened document is never reported as modified.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "core/files/document_store.h"

namespace {

using namespace zt;

class MemoryFiles : public FileOps {
  public:
    std::map<std::filesystem::path, std::vector<std::uint8_t>> files;

    bool readFile(const std::filesystem::path& path, std::size_t maxBytes,
                  std::vector<std::uint8_t>& out) override
    {
        const auto it = files.find(path);
        if (it == files.end()) return false;
        out.assign(it->second.begin(), it->second.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                                maxBytes, it->second.size())));
        return true;
    }
    bool writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) override
    {
        files[path].assign(bytes.begin(), bytes.end());
        return true;
    }
    bool renameFile(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        const auto it = files.find(from);
        if (it == files.end()) return false;
        files[to] = it->second;
        files.erase(from);
        return true;
    }
    bool keepCopy(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        const auto it = files.find(from);
        if (it == files.end()) return false;
        files[to] = it->second;
        return true;
    }
    bool isRegularFile(const std::filesystem::path& path) override
    {
        return files.count(path) != 0;
    }
    void removeFile(const std::filesystem::path& path) override { files.erase(path); }
};

class SilentPrompt : public Prompt {
  public:
    Answer ask(const Message&) override { return Answer::No; }
};

void check(bool ok)
{
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    // Byte 0 chooses the split: even -> the main file takes up to 1663 bytes,
    // odd -> bytes 1-2 give the main file's length (so wrong lengths occur too).
    std::size_t pos = 1;
    std::size_t mainSize = 0;
    if ((data[0] & 1) == 0) {
        mainSize = std::min(kRadioDataFileSize, size - pos);
    } else {
        if (size < 3) return 0;
        mainSize =
            std::min<std::size_t>(static_cast<std::size_t>(data[1] | (data[2] << 8)), size - 3);
        pos = 3;
    }
    const std::vector<std::uint8_t> mainBytes(data + pos, data + pos + mainSize);
    const std::vector<std::uint8_t> companion(data + pos + mainSize, data + size);

    // The byte parser alone, with its round-trip oracle.
    const ParsedDataFile parsed = parseDataFile(mainBytes, companion);
    if (parsed.messageId == 0) {
        const auto back = radioDataToBytes(parsed.document.Data);
        check(std::memcmp(back.data(), mainBytes.data(), kRadioDataFileSize) == 0);
        const auto channels = channelFileBytes(parsed.document);
        check(channels.size() <= companion.size());
        check(std::equal(channels.begin(), channels.end(), companion.begin()));
    }

    // The whole open through the document store.
    MemoryFiles files;
    files.files["f.dat"] = mainBytes;
    if ((data[0] & 2) == 0) files.files["f.fre"] = companion;  // sometimes no companion at all

    ProgramState state;
    SilentPrompt prompt;
    InstallPaths paths{"/nonexistent/V300"};
    VersionTable versions;
    versions.pairs = {{"V300", "V300"}};
    DocumentContext ctx{state, prompt, paths, versions, nullptr, "ZTP958FM", nullptr, &files};

    DocumentStore store;
    store.working().Data.ChannelCount = 1;
    store.working().Channels[0].ChNo = 1;
    const RadioDocument before = store.working();
    const OpenResult result = store.Open("f.dat", ctx);
    if (result == OpenResult::Opened) {
        check(!store.IsModified());
        check(store.Save("g.dat", ctx));
        check(!store.IsModified());
    } else {
        check(store.working().Data == before.Data);
        check(store.working().Channels[0] == before.Channels[0]);
        check(store.isUntitled());
    }
    return 0;
}
