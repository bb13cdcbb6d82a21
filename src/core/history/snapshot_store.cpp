#include "core/history/snapshot_store.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "core/files/data_file.h"
#include "core/files/record_io.h"

namespace zt {

namespace fs = std::filesystem;

namespace {

constexpr const char* kMagic = "ZTP958FM snapshot 1";
constexpr const char* kExtension = ".snapshot";
constexpr const char* kRetentionFile = "retention.txt";
// Enough for every header line; a listing reads no more of a file than this.
constexpr std::size_t kHeaderLimit = 4096;
constexpr std::int64_t kSecondsPerDay = 86400;

std::uint32_t crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t n)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::string hex8(std::uint32_t v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08x", v);
    return buf;
}

// Civil date of a day count since 1970-01-01 (proleptic Gregorian).
struct CivilTime {
    int year, month, day, hour, minute, second;
};

CivilTime civil(std::int64_t seconds)
{
    using namespace std::chrono;
    const sys_seconds t{std::chrono::seconds(seconds)};
    const sys_days days = floor<std::chrono::days>(t);
    const year_month_day ymd{days};
    const hh_mm_ss<std::chrono::seconds> hms{t - days};
    return {static_cast<int>(ymd.year()),
            static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day())),
            static_cast<int>(hms.hours().count()),
            static_cast<int>(hms.minutes().count()),
            static_cast<int>(hms.seconds().count())};
}

std::string compactTime(std::int64_t seconds)
{
    const CivilTime c = civil(seconds);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02d%02dT%02d%02d%02dZ", c.year, c.month, c.day, c.hour,
                  c.minute, c.second);
    return buf;
}

bool readPrefix(const fs::path& file, std::size_t limit, std::vector<std::uint8_t>& out)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    out.resize(limit);
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(limit));
    out.resize(static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

// A file written whole under a name that did not exist: the bytes go to a fresh temporary
// file (created exclusively), which then gets `target` as a second name. Creating that name
// fails when it is taken, so a file of another program is never replaced.
bool writeNewFile(const fs::path& target, const std::vector<std::uint8_t>& bytes,
                  std::string& problem)
{
    std::random_device rd;
    const fs::path temp =
        target.parent_path() / (".tmp-" + hex8(rd()) + hex8(rd()) + target.filename().string());
    std::FILE* f = std::fopen(temp.c_str(), "wbx");
    if (!f) {
        problem = "cannot create a file in " + target.parent_path().string();
        return false;
    }
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && std::fflush(f) == 0;
    const bool closed = std::fclose(f) == 0;
    std::error_code ec;
    if (!written || !closed) {
        fs::remove(temp, ec);
        problem = "cannot write " + temp.string();
        return false;
    }
    fs::create_hard_link(temp, target, ec);
    const bool linked = !ec;
    fs::remove(temp, ec);
    if (!linked) {
        problem = "the name " + target.string() + " is taken";
        return false;
    }
    return true;
}

struct Header {
    std::map<std::string, std::string> fields;
    std::size_t checkedLength = 0;  // header bytes before the checksum line
    std::size_t payloadStart = 0;
    std::string problem;
};

Header parseHeader(const std::vector<std::uint8_t>& bytes)
{
    Header h;
    std::size_t pos = 0;
    bool first = true;
    while (true) {
        const auto nl = std::find(bytes.begin() + static_cast<std::ptrdiff_t>(pos), bytes.end(),
                                  std::uint8_t{'\n'});
        if (nl == bytes.end()) {
            h.problem = "the header is cut short";
            return h;
        }
        const std::size_t end = static_cast<std::size_t>(nl - bytes.begin());
        const std::string line(bytes.begin() + static_cast<std::ptrdiff_t>(pos), nl);
        const std::size_t lineStart = pos;
        pos = end + 1;
        if (first) {
            if (line != kMagic) {
                h.problem = "not a snapshot file";
                return h;
            }
            first = false;
            continue;
        }
        if (line.empty()) break;
        const std::size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        if (key == "crc32") h.checkedLength = lineStart;
        h.fields[key] = value;
    }
    h.payloadStart = pos;
    if (h.checkedLength == 0) h.problem = "the header has no checksum";
    return h;
}

std::optional<std::int64_t> wholeNumber(const std::string& s)
{
    if (s.empty() || s.size() > 18) return std::nullopt;
    std::int64_t v = 0;
    std::size_t i = s[0] == '-' ? 1 : 0;
    if (i == s.size()) return std::nullopt;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        v = v * 10 + (s[i] - '0');
    }
    return s[0] == '-' ? -v : v;
}

// The header fields a listing needs; the problem when one is missing or wrong.
std::string infoFromHeader(const Header& h, SnapshotInfo& info)
{
    if (!h.problem.empty()) return h.problem;
    const auto get = [&](const char* key) {
        const auto it = h.fields.find(key);
        return it == h.fields.end() ? std::string() : it->second;
    };
    const auto time = wholeNumber(get("time"));
    const auto kind = snapshotKindFromName(get("kind"));
    if (!time) return "the header has no valid time";
    if (!kind) return "the header has no valid kind";
    info.time = *time;
    info.kind = *kind;
    info.programVersion = get("program");
    return {};
}

}  // namespace

std::int64_t SystemWallClock::secondsSinceEpoch() const
{
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

const char* snapshotKindName(SnapshotKind kind)
{
    switch (kind) {
        case SnapshotKind::Read:
            return "read";
        case SnapshotKind::BeforeWrite:
            return "before-write";
        case SnapshotKind::Written:
            return "written";
    }
    return "read";
}

std::optional<SnapshotKind> snapshotKindFromName(const std::string& name)
{
    if (name == "read") return SnapshotKind::Read;
    if (name == "before-write") return SnapshotKind::BeforeWrite;
    if (name == "written") return SnapshotKind::Written;
    return std::nullopt;
}

std::string radioFolderName(const RadioIdentity& identity)
{
    std::string name = (identity.model.empty() ? std::string("unknown") : identity.model) +
                       "_band" + std::to_string(identity.band);
    if (!identity.version.empty()) name += "_" + identity.version;
    if (!identity.serial.empty()) name += "_SN" + identity.serial;
    for (char& ch : name) {
        const bool plain = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') ||
                           (ch >= '0' && ch <= '9') || ch == '-' || ch == '.' || ch == '_';
        if (!plain) ch = '_';
    }
    if (name[0] == '.') name[0] = '_';
    return name;
}

std::string formatUtcTime(std::int64_t secondsSinceEpoch)
{
    const CivilTime c = civil(secondsSinceEpoch);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d UTC", c.year, c.month, c.day,
                  c.hour, c.minute, c.second);
    return buf;
}

fs::path defaultSnapshotRoot(const std::function<const char*(const char*)>& env)
{
    if (!env) return {};
    const char* xdg = env("XDG_DATA_HOME");
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    if (xdg && *xdg && fs::path(xdg).is_absolute()) return fs::path(xdg) / "ztp958fm" / "radios";
    const char* home = env("HOME");
    if (home && *home) return fs::path(home) / ".local" / "share" / "ztp958fm" / "radios";
    return {};
}

std::vector<std::uint8_t> snapshotFileBytes(const Snapshot& s)
{
    const RadioDataFileBytes main = radioDataToBytes(s.document.Data);
    const std::vector<std::uint8_t> channels = channelFileBytes(s.document);
    std::ostringstream h;
    h << kMagic << "\n"
      << "time " << s.time << "\n"
      << "utc " << formatUtcTime(s.time) << "\n"
      << "kind " << snapshotKindName(s.kind) << "\n"
      << "program " << s.programVersion << "\n"
      << "model " << s.identity.model << "\n"
      << "band " << s.identity.band << "\n"
      << "version " << s.identity.version << "\n"
      << "serial " << s.identity.serial << "\n"
      << "image " << s.image.size() << "\n"
      << "identification " << s.identification.size() << "\n"
      << "data " << main.size() << "\n"
      << "channels " << channels.size() << "\n";
    const std::string header = h.str();
    std::vector<std::uint8_t> payload;
    payload.reserve(s.image.size() + s.identification.size() + main.size() + channels.size());
    payload.insert(payload.end(), s.image.begin(), s.image.end());
    payload.insert(payload.end(), s.identification.begin(), s.identification.end());
    payload.insert(payload.end(), main.begin(), main.end());
    payload.insert(payload.end(), channels.begin(), channels.end());
    std::uint32_t crc =
        crc32(0, reinterpret_cast<const std::uint8_t*>(header.data()), header.size());
    crc = crc32(crc, payload.data(), payload.size());
    const std::string tail = "crc32 " + hex8(crc) + "\n\n";
    std::vector<std::uint8_t> out(header.begin(), header.end());
    out.insert(out.end(), tail.begin(), tail.end());
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

SnapshotLoad parseSnapshot(const std::vector<std::uint8_t>& bytes)
{
    SnapshotLoad result;
    const Header h = parseHeader(bytes);
    SnapshotInfo info;
    result.problem = infoFromHeader(h, info);
    if (!result.problem.empty()) return result;
    std::uint32_t crc = crc32(0, bytes.data(), h.checkedLength);
    crc = crc32(crc, bytes.data() + h.payloadStart, bytes.size() - h.payloadStart);
    if (hex8(crc) != h.fields.at("crc32")) {
        result.problem = "its checksum does not match: the file was damaged or edited";
        return result;
    }
    const auto size = [&](const char* key) -> std::optional<std::size_t> {
        const auto it = h.fields.find(key);
        if (it == h.fields.end()) return std::nullopt;
        const auto v = wholeNumber(it->second);
        if (!v || *v < 0) return std::nullopt;
        return static_cast<std::size_t>(*v);
    };
    const auto imageSize = size("image");
    const auto identSize = size("identification");
    const auto dataSize = size("data");
    const auto channelSize = size("channels");
    if (!imageSize || !identSize || !dataSize || !channelSize) {
        result.problem = "the header lacks the sizes of its parts";
        return result;
    }
    const std::size_t payload = bytes.size() - h.payloadStart;
    if (*imageSize + *identSize + *dataSize + *channelSize != payload) {
        result.problem = "its parts do not add up to its length";
        return result;
    }
    const auto* p = bytes.data() + h.payloadStart;
    Snapshot s;
    s.time = info.time;
    s.kind = info.kind;
    s.programVersion = info.programVersion;
    s.identity.model = h.fields.count("model") ? h.fields.at("model") : "";
    s.identity.band = static_cast<int>(
        wholeNumber(h.fields.count("band") ? h.fields.at("band") : "0").value_or(0));
    s.identity.version = h.fields.count("version") ? h.fields.at("version") : "";
    s.identity.serial = h.fields.count("serial") ? h.fields.at("serial") : "";
    s.image.assign(p, p + *imageSize);
    p += *imageSize;
    s.identification.assign(p, p + *identSize);
    p += *identSize;
    const ParsedDataFile doc =
        parseDataFile(std::span<const std::uint8_t>(p, *dataSize),
                      std::span<const std::uint8_t>(p + *dataSize, *channelSize));
    if (doc.messageId != 0) {
        result.problem = "its document part is not a valid data file";
        return result;
    }
    s.document = doc.document;
    result.snapshot = std::move(s);
    return result;
}

SnapshotStore::SnapshotStore(fs::path root, const WallClock& clock)
    : root_(std::move(root)), clock_(clock)
{
}

SnapshotSaved SnapshotStore::store(SnapshotKind kind, const RadioIdentity& identity,
                                   const std::vector<std::uint8_t>& image,
                                   const std::vector<std::uint8_t>& identification,
                                   const RadioDocument& document, const std::string& programVersion)
{
    SnapshotSaved saved;
    if (root_.empty()) {
        saved.problem = "no folder for snapshots is known (neither XDG_DATA_HOME nor HOME is set)";
        return saved;
    }
    Snapshot s;
    s.time = clock_.secondsSinceEpoch();
    s.kind = kind;
    s.programVersion = programVersion;
    s.identity = identity;
    s.image = image;
    s.identification = identification;
    s.document = document;
    const std::vector<std::uint8_t> bytes = snapshotFileBytes(s);

    const std::string radio = radioFolderName(identity);
    const fs::path folder = root_ / radio;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        saved.problem = "cannot create " + folder.string() + ": " + ec.message();
        return saved;
    }
    const std::string stem = compactTime(s.time) + "_" + snapshotKindName(kind);
    // A second snapshot in the same second (or another program's) gets the next number.
    for (int n = 1; n <= 1000; ++n) {
        const fs::path target =
            folder / (stem + (n == 1 ? "" : "_" + std::to_string(n)) + kExtension);
        if (fs::exists(target, ec)) continue;
        std::string problem;
        if (writeNewFile(target, bytes, problem)) {
            saved.file = target;
            saved.removed = applyRetention(radio);
            return saved;
        }
        // Taken between the test and the link by another program: try the next name.
        if (!fs::exists(target, ec)) {
            saved.problem = problem;
            return saved;
        }
    }
    saved.problem = "no free file name in " + folder.string();
    return saved;
}

std::vector<std::string> SnapshotStore::radios() const
{
    std::vector<std::string> out;
    std::error_code ec;
    for (fs::directory_iterator it(root_, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_directory(ec)) out.push_back(it->path().filename().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<SnapshotInfo> SnapshotStore::list(const std::string& radio) const
{
    std::vector<SnapshotInfo> out;
    std::error_code ec;
    std::vector<std::uint8_t> head;
    for (fs::directory_iterator it(root_ / radio, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& p = it->path();
        if (p.extension() != kExtension || p.filename().string().starts_with(".")) continue;
        SnapshotInfo info;
        info.file = p;
        info.radio = radio;
        if (!readPrefix(p, kHeaderLimit, head))
            info.problem = "cannot be read";
        else
            info.problem = infoFromHeader(parseHeader(head), info);
        out.push_back(std::move(info));
    }
    std::sort(out.begin(), out.end(), [](const SnapshotInfo& a, const SnapshotInfo& b) {
        return a.time != b.time ? a.time > b.time : a.file.filename() > b.file.filename();
    });
    return out;
}

std::vector<SnapshotInfo> SnapshotStore::listAll() const
{
    std::vector<SnapshotInfo> out;
    for (const std::string& radio : radios()) {
        std::vector<SnapshotInfo> one = list(radio);
        out.insert(out.end(), one.begin(), one.end());
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const SnapshotInfo& a, const SnapshotInfo& b) { return a.time > b.time; });
    return out;
}

SnapshotLoad SnapshotStore::load(const fs::path& file)
{
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    // The largest snapshot holds an image, a reply and a full data file pair.
    constexpr std::uintmax_t kLargest = 1u << 20;
    if (ec) return {std::nullopt, "cannot be read: " + ec.message()};
    if (size > kLargest) return {std::nullopt, "it is far larger than any snapshot"};
    std::vector<std::uint8_t> bytes;
    if (!readPrefix(file, static_cast<std::size_t>(size), bytes))
        return {std::nullopt, "cannot be read"};
    return parseSnapshot(bytes);
}

RetentionRule SnapshotStore::retention() const
{
    RetentionRule rule;
    std::ifstream in(root_ / kRetentionFile);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string key;
        std::string value;
        if (!(words >> key >> value)) continue;
        const auto v = wholeNumber(value);
        if (!v || *v < 0 || *v > 1000000) continue;
        if (key == "keep-days") rule.keepDays = static_cast<int>(*v);
        if (key == "keep-at-least") rule.keepAtLeast = static_cast<int>(*v);
    }
    return rule;
}

bool SnapshotStore::setRetention(const RetentionRule& rule, std::string& problem) const
{
    if (rule.keepDays < 0 || rule.keepAtLeast < 0) {
        problem = "the numbers of the rule cannot be negative";
        return false;
    }
    std::error_code ec;
    fs::create_directories(root_, ec);
    const std::string text =
        "# Snapshots younger than keep-days (0: all) and the newest keep-at-least of each\n"
        "# radio are kept; older ones are removed when a new snapshot is stored.\n"
        "keep-days " +
        std::to_string(rule.keepDays) + "\nkeep-at-least " + std::to_string(rule.keepAtLeast) +
        "\n";
    const fs::path target = root_ / kRetentionFile;
    std::random_device rd;
    const fs::path temp = root_ / (".tmp-" + hex8(rd()) + "-" + kRetentionFile);
    {
        std::ofstream out(temp, std::ios::binary);
        out << text;
        out.flush();
        if (!out) {
            fs::remove(temp, ec);
            problem = "cannot write in " + root_.string();
            return false;
        }
    }
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        problem = "cannot write " + target.string();
        return false;
    }
    return true;
}

std::vector<fs::path> SnapshotStore::applyRetention(const std::string& radio) const
{
    const RetentionRule rule = retention();
    std::vector<fs::path> removed;
    if (rule.keepDays == 0) return removed;
    const std::int64_t oldest = clock_.secondsSinceEpoch() - rule.keepDays * kSecondsPerDay;
    const std::vector<SnapshotInfo> all = list(radio);
    int kept = 0;
    for (const SnapshotInfo& info : all) {
        // A file whose header cannot be read is left for the user to look at.
        if (!info.problem.empty()) continue;
        ++kept;
        if (kept <= rule.keepAtLeast || info.time >= oldest) continue;
        std::error_code ec;
        if (fs::remove(info.file, ec)) removed.push_back(info.file);
    }
    return removed;
}

}  // namespace zt
