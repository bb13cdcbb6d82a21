#include "core/files/document_store.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/radio/initial_values.h"
#include "core/radio/models.h"

namespace zt {
namespace {

// Texts compare after the cut: "AB", "AB  " and "AB\0 " are the same value.
template <std::size_t N>
void normalise(FixedText<N>& t)
{
    t = t.cut();
}

void normalise(ChannelRecord& r)
{
    normalise(r.RxFre);
    normalise(r.OffsetFre);
}

void normalise(DtmfCode& c)
{
    normalise(c.Digits);
}

void normalise(RadioData& d)
{
    normalise(d.Version);
    for (auto& e : d.RadioFre) normalise(e.Frequency);
    for (auto& e : d.TestFre) {
        normalise(e.Rx);
        normalise(e.Tx);
    }
    normalise(d.ModelName);
    normalise(d.Options.Common);
    normalise(d.Options.PowerOnText);
    normalise(d.Dtmf.IdCode);
    normalise(d.Dtmf.PttIdBot);
    normalise(d.Dtmf.PttIdEot);
    normalise(d.Dtmf.StunCode);
    normalise(d.Dtmf.KillCode);
    for (auto& c : d.Dtmf.Memory) normalise(c);
    for (auto& line : d.Messages) normalise(line);
    for (auto& name : d.Groups) normalise(name);
}

int validCount(const RadioDocument& doc)
{
    return std::clamp<int>(doc.Data.ChannelCount, 0, kMaxChannels);
}

std::string bandCodeText(const ProgramState& state)
{
    return std::to_string(bandCodeOfText(state.BandText));
}

}  // namespace

bool documentsDiffer(const RadioDocument& working, const RadioDocument& saved)
{
    if (working.Data.ChannelCount != saved.Data.ChannelCount) return true;
    RadioData a = working.Data;
    RadioData b = saved.Data;
    normalise(a);
    normalise(b);
    if (!(a == b)) return true;

    // Saved channels by number (first match wins, as a lookup would find it).
    std::array<int, kMaxChannels + 1> savedIndex;
    savedIndex.fill(-1);
    const int savedCount = validCount(saved);
    for (int i = savedCount - 1; i >= 0; --i) {
        const int chNo = saved.Channels[static_cast<std::size_t>(i)].ChNo;
        if (chNo >= 1 && chNo <= kMaxChannels) savedIndex[static_cast<std::size_t>(chNo)] = i;
    }
    const int count = validCount(working);
    for (int i = 0; i < count; ++i) {
        ChannelRecord w = working.Channels[static_cast<std::size_t>(i)];
        if (w.ChNo < 1 || w.ChNo > kMaxChannels) return true;
        const int j = savedIndex[static_cast<std::size_t>(w.ChNo)];
        if (j < 0) return true;
        ChannelRecord s = saved.Channels[static_cast<std::size_t>(j)];
        normalise(w);
        normalise(s);
        if (!(w == s)) return true;
    }
    return false;
}

DocumentStore::DocumentStore() = default;

void DocumentStore::markUntitled()
{
    fileName_ = kUntitledFileName;
    untitled_ = true;
}

void DocumentStore::show(DocumentContext& ctx, int messageId) const
{
    Message m;
    m.textId = messageId;
    m.buttons = Buttons::Ok;
    m.icon = Icon::Error;
    ctx.prompt.ask(m);
}

bool DocumentStore::IsModified() const
{
    return documentsDiffer(working_, saved_);
}

void DocumentStore::New(NewKind kind, DocumentContext& ctx)
{
    fileName_ = kUntitledFileName;
    untitled_ = true;

    // Start from a cleared document so nothing of the previous one (tone-tip
    // notes New does not set, channels past the count) lingers.
    working_ = RadioDocument{};
    applyNewDocumentDefaults(working_, ctx.state);
    working_.Data.Version = kOwnSoftVersion;
    saved_ = working_;

    const std::string suffix = kind == NewKind::Initialise ? ".dat" : "_NEW.dat";
    const std::filesystem::path initDir = ctx.paths.initDir();
    const std::filesystem::path file =
        initDir / (ctx.state.ModelName + "_" + bandCodeText(ctx.state) + suffix);
    FileOps& ops = ctx.files ? *ctx.files : realFileOps();

    if (ops.isRegularFile(file)) {
        loadInitialData(file, ctx);
    } else if (std::string_view(kFallbackInitFile).starts_with(ctx.state.ModelName + "_")) {
        loadFallbackInitialData(ctx);
    }
}

bool DocumentStore::loadInitialData(const std::filesystem::path& file, DocumentContext& ctx)
{
    FileOps& ops = ctx.files ? *ctx.files : realFileOps();
    ParsedDataFile parsed = readDataFile(file, ops);
    if (parsed.messageId != 0) {
        show(ctx, parsed.messageId);
        return false;
    }
    parsed.document.Data.Version = kOwnSoftVersion;
    saved_ = parsed.document;
    working_ = saved_;
    documentToCurrent(saved_.Data, ctx.state);
    return true;
}

void DocumentStore::loadFallbackInitialData(DocumentContext& ctx)
{
    FileOps& ops = ctx.files ? *ctx.files : realFileOps();
    const std::filesystem::path file = ctx.paths.initDir() / kFallbackInitFile;
    if (!ops.isRegularFile(file)) return;  // silently keep the built-in defaults

    std::vector<std::uint8_t> bytes;
    if (!readMainFile(file, bytes, ops)) {
        show(ctx, text::msg::FileError);
        return;
    }
    if (bytes.size() != kRadioDataFileSize) {
        show(ctx, text::msg::WrongFileLength);
        return;
    }
    // The record only: no channels, and the current model and band.
    RadioData data = radioDataFromBytes(
        std::span<const std::uint8_t, kRadioDataFileSize>(bytes.data(), kRadioDataFileSize));
    data.Version = kOwnSoftVersion;
    data.ChannelCount = 0;
    currentToDocument(ctx.state, data);
    saved_.Data = data;
    working_ = saved_;
}

OpenResult DocumentStore::Open(const std::filesystem::path& path, DocumentContext& ctx)
{
    FileOps& ops = ctx.files ? *ctx.files : realFileOps();

    std::vector<std::uint8_t> mainBytes;
    if (!readMainFile(path, mainBytes, ops)) {
        show(ctx, text::msg::FileError);
        return OpenResult::Refused;
    }

    // 1. The version text.
    const std::string version = fileVersionText(mainBytes);
    if (!IsValidVersionText(version)) {
        show(ctx, text::msg::InvalidVersion);
        return OpenResult::Refused;
    }
    // 2. This version must accept the file's version.
    const std::string fileVersion = FixedText<4>(version).cut();
    if (!IsVersionCompatible(ctx.versions, kOwnSoftVersion, fileVersion)) {
        Message question;
        question.text = VersionMismatchText(
            kOwnSoftVersion, fileVersion, VersionKind::DataFile,
            ctx.text ? ctx.text : TextLookup([](int) { return std::string(); }));
        question.buttons = Buttons::YesNo;
        question.icon = Icon::Question;
        if (ctx.prompt.ask(question) != Answer::Yes) return OpenResult::Refused;
        if (ctx.launcher) {
            StartMatchingVersion(ctx.versions, fileVersion, ctx.paths, ctx.executableName,
                                 *ctx.launcher, ctx.prompt);
        }
        return OpenResult::EndProgram;
    }
    // 3.-4. Length, channel table and companion, all into a temporary.
    ParsedDataFile parsed = readDataFileRest(path, mainBytes, ops);
    if (parsed.messageId != 0) {
        show(ctx, parsed.messageId);
        return OpenResult::Refused;
    }
    // 5. Commit.
    parsed.document.Data.Version = kOwnSoftVersion;
    saved_ = std::move(parsed.document);
    working_ = saved_;
    documentToCurrent(saved_.Data, ctx.state);
    fileName_ = path;
    untitled_ = false;
    return OpenResult::Opened;
}

bool DocumentStore::Save(const std::filesystem::path& path, DocumentContext& ctx)
{
    FileOps& ops = ctx.files ? *ctx.files : realFileOps();

    RadioDocument candidate = working_;
    currentToDocument(ctx.state, candidate.Data);
    candidate.Data.Version = kOwnSoftVersion;  // every file this program writes is its own version
    if (!writeDataFile(path, candidate, ops)) {
        show(ctx, text::msg::FileError);
        return false;
    }
    working_.Data.ModelName = candidate.Data.ModelName;
    working_.Data.BandCode = candidate.Data.BandCode;
    working_.Data.Version = candidate.Data.Version;
    saved_ = std::move(candidate);
    fileName_ = path;
    untitled_ = false;
    return true;
}

}  // namespace zt
