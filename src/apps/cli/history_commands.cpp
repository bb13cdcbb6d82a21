#include "apps/cli/history_commands.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <random>

#include "apps/cli/cli_session.h"
#include "apps/cli/counted.h"
#include "apps/cli/stop_signal.h"
#include "core/files/data_file.h"
#include "core/files/version_manager.h"
#include "core/interop/document_compare.h"
#include "core/link/document_after_write.h"
#include "core/link/info_block.h"
#include "core/radio/image_codec.h"
#include "core/radio/initial_values.h"
#include "core/radio/program_state.h"

namespace zt {

namespace fs = std::filesystem;

namespace {

// Identity area of the image: model text, band byte, reply bytes, version, flags.
constexpr std::size_t kIdentityOffset = 8688;
constexpr std::size_t kIdentityLength = 14;
constexpr std::size_t kModelAndBandLength = 7;  // model text 8688-8693, band byte 8694

// A folder for the files a run needs on the way, removed with everything in it at the end.
class ScratchFolder {
  public:
    ScratchFolder()
    {
        std::random_device rd;
        path_ = fs::temp_directory_path() /
                ("ztp958fm-cli-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
        fs::create_directories(path_);
    }
    ~ScratchFolder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

// What one read of a radio gave.
struct RadioReading {
    int status = 1;
    RadioIdentity identity;
    std::vector<std::uint8_t> image;
    std::vector<std::uint8_t> identification;  // the identity area as the radio sent it
    RadioDocument document;
};

bool confirm(const CliOptions& options, std::ostream& err, const std::string& question)
{
    if (options.yes) return true;
    if (::isatty(STDIN_FILENO) == 0) {
        err << question << "\n(not confirmed: use --yes to agree)\n";
        return false;
    }
    err << question << " [y/N] " << std::flush;
    std::string line;
    if (!readTerminalLine(line)) {
        if (stopSignalled()) err << "\n";  // Ctrl-C: what follows starts on its own line
        return false;
    }
    return !line.empty() && (line[0] == 'y' || line[0] == 'Y');
}

bool readBytes(const fs::path& file, std::vector<std::uint8_t>& out, std::size_t limit)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad() && out.size() <= limit;
}

// Written whole: a temporary file in the same folder, then renamed over the target.
bool writeWhole(const fs::path& file, const std::vector<std::uint8_t>& bytes, std::string& why)
{
    const fs::path temp = fs::path(file.string() + ".tmp-" + std::to_string(::getpid()));
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            std::error_code ec;
            fs::remove(temp, ec);
            why = "cannot write " + temp.string();
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, file, ec);
    if (ec) {
        fs::remove(temp, ec);
        why = ec.message();
        return false;
    }
    return true;
}

// The options of a transfer run on the way: the user's port, password, answers and language,
// none of the output options.
CliOptions transferOptions(const CliOptions& base, CliCommand command, const std::string& file)
{
    CliOptions o;
    o.command = command;
    o.port = base.port;
    o.file = file;
    o.password = base.password;
    o.yes = base.yes;
    o.agreed = base.agreed;
    o.retries = base.retries;
    o.language = base.language;
    return o;
}

// What identifies the radio: its model, band and version from the identification, and the
// serial number from its information block.
int readIdentity(const CliOptions& base, HistoryContext& ctx, RadioIdentity& identity)
{
    const CliOptions o = transferOptions(base, CliCommand::Info, "");
    return ctx.run(
        o, {},
        [&identity](CliSession& s) {
            Block ident;
            ident.fill(0xFF);
            InfoBytes block;
            std::copy(s.transfer().infoBlock().bytes.begin(), s.transfer().infoBlock().bytes.end(),
                      block.begin());
            InfoToolRecord record;
            decodeInfoTool(ident, block, record);
            identity.model = s.transfer().identification().model;
            identity.band = s.transfer().identification().variant;
            identity.version = s.transfer().identification().version;
            identity.serial = record.SerialNumber;
        },
        true);
}

// The serial number from the radio's information block (its identity beyond model and band).
int readSerial(const CliOptions& base, HistoryContext& ctx, std::string& serial)
{
    RadioIdentity identity;
    const int status = readIdentity(base, ctx, identity);
    serial = identity.serial;
    return status;
}

// "ZT-958FM band 0 V300 serial number "2026120900000001"".
std::string identityWords(const RadioIdentity& identity)
{
    return identity.model + " band " + std::to_string(identity.band) + " " + identity.version +
           " serial number \"" + identity.serial + "\"";
}

void takeReading(CliSession& s, RadioReading& r)
{
    const TransferMachine& t = s.transfer();
    r.image.assign(t.image().bytes.begin(), t.image().bytes.end());
    r.identification.assign(r.image.begin() + kIdentityOffset,
                            r.image.begin() + kIdentityOffset + kIdentityLength);
    r.identity.model = t.identification().model;
    r.identity.band = t.identification().variant;
    r.identity.version = t.identification().version;
    r.document = s.document();
}

// Reads the radio: its memory into `dataFile` (which the read saves), then its information
// block for the serial number. Without `serialRequired` a serial number that cannot be read
// leaves the reading good, kept under the radio's model, band and version alone.
RadioReading readRadio(const CliOptions& base, HistoryContext& ctx, const std::string& dataFile,
                       bool keepOptions, bool serialRequired = true)
{
    RadioReading r;
    CliOptions o = keepOptions ? base : transferOptions(base, CliCommand::Read, dataFile);
    o.command = CliCommand::Read;
    o.file = dataFile;
    o.ownFile = !keepOptions || base.file.empty();
    // The memory first: the read checks its output file before it touches the radio.
    r.status = ctx.run(
        o, {}, [&r](CliSession& s) { takeReading(s, r); }, false);
    if (r.status != 0) return r;
    std::string serial;
    const int serialStatus = readSerial(base, ctx, serial);
    if (serialStatus != 0 && (serialRequired || serialStatus == 130)) {
        r.status = serialStatus;
        return r;
    }
    if (serialStatus != 0)
        ctx.err << "note: the radio's serial number could not be read; the read is kept under "
                   "its model, band and version only.\n";
    r.identity.serial = serial;
    return r;
}

SnapshotSaved keep(HistoryContext& ctx, SnapshotKind kind, const RadioReading& r)
{
    return ctx.snapshots.store(kind, r.identity, r.image, r.identification, r.document,
                               ctx.programVersion);
}

struct LoadedDocument {
    RadioDocument document;
    std::optional<Snapshot> snapshot;
    std::string problem;
};

bool isSnapshotFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string head(19, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    return in && head == "ZTP958FM snapshot 1";
}

std::string dataFileProblem(int messageId)
{
    if (messageId == text::msg::WrongFileLength) return "its length is not that of a data file";
    if (messageId == text::msg::DamagedFile) return "it is damaged (channel count or numbers)";
    return "it cannot be read";
}

LoadedDocument loadDocument(const fs::path& file)
{
    LoadedDocument out;
    if (isSnapshotFile(file)) {
        SnapshotLoad l = SnapshotStore::load(file);
        if (!l.snapshot) {
            out.problem = file.string() + " is refused: " + l.problem;
            return out;
        }
        out.document = l.snapshot->document;
        out.snapshot = std::move(l.snapshot);
        return out;
    }
    const ParsedDataFile parsed = readDataFile(file);
    if (parsed.messageId != 0) {
        out.problem = file.string() + " is refused: " + dataFileProblem(parsed.messageId);
        return out;
    }
    out.document = parsed.document;
    return out;
}

void printComparison(const DocumentComparison& c, std::ostream& out)
{
    for (const std::string& line : describeComparison(c)) out << line << "\n";
}

// The write itself: the document in `dataFile` (or, when given, `image` byte for byte) goes
// to the radio; `written` receives what was sent.
int writeRadio(const CliOptions& options, HistoryContext& ctx, const std::string& dataFile,
               const std::optional<RadioImage>& image, RadioReading& written)
{
    CliOptions o = options;
    o.command = CliCommand::Write;
    o.file = dataFile;
    return ctx.run(
        o,
        [&image](CliSession& s) {
            if (image) s.sendImageInstead(*image);
        },
        [&written](CliSession& s) { takeReading(s, written); }, false);
}

// What a write sends: a data file, a raw image or a snapshot's image.
struct WriteSource {
    std::string file;  // the data file the document came from (empty: none)
    RadioDocument document;
    std::optional<RadioImage> image;
    std::string problem;
};

WriteSource rawSource(const fs::path& file)
{
    WriteSource w;
    std::vector<std::uint8_t> bytes;
    if (!readBytes(file, bytes, kImageSize + 1)) {
        w.problem = "cannot read " + file.string();
        return w;
    }
    if (bytes.size() != static_cast<std::size_t>(kImageSize)) {
        w.problem = file.string() + " is not a radio image: it holds " +
                    std::to_string(bytes.size()) + " bytes, an image " + std::to_string(kImageSize);
        return w;
    }
    RadioImage image;
    std::copy(bytes.begin(), bytes.end(), image.bytes.begin());
    // Decoded as a read decodes the radio: over a new document, so what the image does not
    // carry (the data file's version, lists kept only in the file) holds valid values.
    ProgramState state;
    applyNewDocumentDefaults(w.document, state);
    w.document.Data.Version = kOwnSoftVersion;
    decodeImage(image, w.document, state);
    w.image = image;
    return w;
}

int writeFrom(const CliOptions& options, HistoryContext& ctx, const WriteSource& source)
{
    ScratchFolder scratch;
    // The document goes to the radio through a data file, as every write does.
    const fs::path docFile =
        source.file.empty() ? scratch.path() / "write.dat" : fs::path(source.file);
    if (source.file.empty() && !writeDataFile(docFile, source.document)) {
        ctx.err << "ztp958fm-cli: cannot prepare the write in " << scratch.path().string() << "\n";
        return 1;
    }

    std::optional<RadioReading> backup;
    fs::path backupFile;
    if (!options.noBackup) {
        ctx.err << "Reading the radio first to keep its contents...\n";
        // The read is part of the write the user asked for: its question is not asked.
        CliOptions backupOptions = options;
        backupOptions.agreed = true;
        RadioReading before =
            readRadio(backupOptions, ctx, (scratch.path() / "backup.dat").string(), false);
        if (before.status != 0) {
            ctx.err << "The radio could not be read for the backup; nothing was written.\n";
            return before.status == 130 ? 130 : 1;
        }
        const SnapshotSaved saved = keep(ctx, SnapshotKind::BeforeWrite, before);
        if (saved.file.empty()) {
            ctx.err << "The backup of the radio's contents cannot be kept: " << saved.problem
                    << "\nNothing was written (--no-backup writes without a backup).\n";
            return 1;
        }
        backupFile = saved.file;
        ctx.err << "Backup of the radio's contents: " << backupFile.string() << "\n";
        if (source.image) {
            // A raw image carries its own model text and band byte: another model's or band's
            // image would put wrong settings into this radio.
            const auto* a = source.image->bytes.data() + kIdentityOffset;
            const auto* b = before.image.data() + kIdentityOffset;
            if (!std::equal(a, a + kModelAndBandLength, b)) {
                ctx.err << "The image is of another model or band than the radio; nothing was "
                           "written.\n";
                return 1;
            }
        }
        // Compared with what the radio will hold after the write, so fields a write always
        // stores the same way are not shown as changes; an image is decoded over the radio's
        // own document, as the next read will decode it.
        const RadioDocument after =
            source.image ? documentAfterWrite(*source.image, before.image, before.document)
                         : documentAfterWrite(source.document, before.image);
        const DocumentComparison c =
            compareDocuments(before.document, after, ProgramState{}.Limits);
        if (c.equal()) {
            ctx.out << "Nothing differs: the radio already holds these settings.\n";
        } else {
            printComparison(c, ctx.out);
            ctx.out << comparisonCounts(c) << " will change.\n";
        }
        ctx.out.flush();
        if (!confirm(options, ctx.err, "Write to the radio?")) {
            ctx.err << "Nothing was written.\n";
            return stopSignalled() ? 130 : 1;
        }
        // The radio must still be the one that was backed up: the cable may have been moved to
        // another radio while the question waited.
        RadioIdentity now;
        const int status = readIdentity(options, ctx, now);
        if (status != 0) {
            ctx.err << "The radio could not be identified again; nothing was written.\n";
            return status == 130 ? 130 : 1;
        }
        if (!(now == before.identity)) {
            ctx.err << "The radio is not the one that was backed up ("
                    << identityWords(before.identity) << ", now " << identityWords(now)
                    << "); nothing was written.\n";
            return 1;
        }
        backup = std::move(before);
    }

    // Agreed to with the preview: the write's own question is not asked again.
    CliOptions writeOptions = options;
    writeOptions.agreed = backup.has_value();
    RadioReading written;
    const int status = writeRadio(writeOptions, ctx, docFile.string(), source.image, written);
    if (status != 0) {
        if (!backupFile.empty())
            ctx.err << "The radio's previous contents are kept in " << backupFile.string() << "\n";
        return status;
    }
    if (backup) {
        written.identity = backup->identity;
    } else {
        // The serial number names the radio's folder: without it the snapshot would land
        // beside, not among, this radio's others.
        std::string serial;
        if (readSerial(options, ctx, serial) == 0) written.identity.serial = serial;
    }
    const SnapshotSaved saved = keep(ctx, SnapshotKind::Written, written);
    if (saved.file.empty())
        ctx.err << "note: what was written could not be kept: " << saved.problem << "\n";
    if (!backupFile.empty())
        ctx.err << "The radio's previous contents are kept in " << backupFile.string()
                << "\n(ztp958fm-cli restore --port " << options.port << " " << backupFile.string()
                << " puts them back)\n";
    return 0;
}

int runRestore(const std::vector<std::string>& args, HistoryContext& ctx)
{
    CliOptions o;
    o.command = CliCommand::Write;
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        if (a == "--port" || a == "-p") {
            if (!value(o.port)) return ctx.err << "--port needs a value\n", 2;
        } else if (a == "--password") {
            std::string pw;
            if (!value(pw)) return ctx.err << "--password needs a value\n", 2;
            o.password = pw;
        } else if (a == "--yes" || a == "-y") {
            o.yes = true;
        } else if (a == "--verify") {
            o.verify = true;
        } else if (a == "--no-backup") {
            o.noBackup = true;
        } else if (!a.empty() && a[0] == '-') {
            ctx.err << "ztp958fm-cli: unknown option '" << a << "'\n";
            return 2;
        } else {
            positional.push_back(a);
        }
    }
    if (o.port.empty() || positional.size() != 1) {
        ctx.err << "usage: ztp958fm-cli restore --port P SNAPSHOT [--yes] [--verify]\n";
        return 2;
    }
    SnapshotLoad l = SnapshotStore::load(positional[0]);
    if (!l.snapshot) {
        ctx.err << "ztp958fm-cli: " << positional[0] << " is refused: " << l.problem << "\n";
        return 1;
    }
    if (l.snapshot->image.size() != static_cast<std::size_t>(kImageSize)) {
        ctx.err << "ztp958fm-cli: " << positional[0] << " holds no radio image\n";
        return 1;
    }
    WriteSource source;
    source.document = l.snapshot->document;
    RadioImage image;
    std::copy(l.snapshot->image.begin(), l.snapshot->image.end(), image.bytes.begin());
    source.image = image;
    return writeFrom(o, ctx, source);
}

int runDiff(const std::vector<std::string>& args, HistoryContext& ctx)
{
    bool json = false;
    struct Source {
        std::string file;
        std::string port;
    };
    std::vector<Source> sources;
    CliOptions base;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json") {
            json = true;
        } else if (a == "--port" || a == "-p") {
            if (i + 1 >= args.size()) return ctx.err << "--port needs a value\n", 2;
            sources.push_back({"", args[++i]});
        } else if (a == "--password") {
            if (i + 1 >= args.size()) return ctx.err << "--password needs a value\n", 2;
            base.password = args[++i];
        } else if (a == "--yes" || a == "-y") {
            base.yes = true;
        } else if (!a.empty() && a[0] == '-') {
            ctx.err << "ztp958fm-cli: unknown option '" << a << "'\n";
            return 2;
        } else {
            sources.push_back({a, ""});
        }
    }
    if (sources.size() != 2) {
        ctx.err << "usage: ztp958fm-cli diff A B [--json]   (A, B: data files, snapshots or "
                   "--port P)\n";
        return 2;
    }
    RadioDocument docs[2];
    ScratchFolder scratch;
    for (int k = 0; k < 2; ++k) {
        const Source& s = sources[static_cast<std::size_t>(k)];
        if (!s.port.empty()) {
            CliOptions o = base;
            o.port = s.port;
            RadioReading r = readRadio(
                o, ctx, (scratch.path() / ("radio" + std::to_string(k) + ".dat")).string(), false);
            if (r.status != 0) {
                ctx.err << "ztp958fm-cli: the radio on " << s.port
                        << " was not read; nothing was compared\n";
                return r.status == 130 ? 130 : 2;
            }
            const SnapshotSaved saved = keep(ctx, SnapshotKind::Read, r);
            if (saved.file.empty())
                ctx.err << "note: the read could not be kept: " << saved.problem << "\n";
            docs[k] = r.document;
        } else {
            LoadedDocument l = loadDocument(s.file);
            if (!l.problem.empty()) {
                ctx.err << "ztp958fm-cli: " << l.problem << "\n";
                return 2;
            }
            docs[k] = l.document;
        }
    }
    const DocumentComparison c = compareDocuments(docs[0], docs[1], ProgramState{}.Limits);
    if (json) {
        ctx.out << comparisonJson(c) << "\n";
    } else if (!c.equal()) {
        printComparison(c, ctx.out);
        ctx.out << comparisonCounts(c) << " differ\n";
    }
    return c.equal() ? 0 : 1;
}

int runBackups(const std::vector<std::string>& args, HistoryContext& ctx)
{
    std::string radio;
    std::optional<int> keepDays;
    std::optional<int> keepAtLeast;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 >= args.size() &&
            (a == "--radio" || a == "--keep-days" || a == "--keep-at-least")) {
            ctx.err << a << " needs a value\n";
            return 2;
        }
        if (a == "--radio") {
            radio = args[++i];
        } else if (a == "--keep-days" || a == "--keep-at-least") {
            const std::string& v = args[++i];
            if (v.empty() || v.size() > 6 ||
                !std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; })) {
                ctx.err << a << " takes a number 0 or more\n";
                return 2;
            }
            (a == "--keep-days" ? keepDays : keepAtLeast) = std::stoi(v);
        } else {
            ctx.err << "usage: ztp958fm-cli backups [--radio ID] [--keep-days N] "
                       "[--keep-at-least M]\n";
            return 2;
        }
    }
    RetentionRule rule = ctx.snapshots.retention();
    if (keepDays || keepAtLeast) {
        rule.keepDays = keepDays.value_or(rule.keepDays);
        rule.keepAtLeast = keepAtLeast.value_or(rule.keepAtLeast);
        std::string problem;
        if (!ctx.snapshots.setRetention(rule, problem)) {
            ctx.err << "ztp958fm-cli: the rule cannot be kept: " << problem << "\n";
            return 1;
        }
    }
    ctx.out << "Snapshots in " << ctx.snapshots.root().string() << "\n";
    ctx.out << "Kept: "
            << (rule.keepDays == 0 ? std::string("all")
                                   : "those of the last " + counted(rule.keepDays, "day"))
            << ", and at least the newest " << rule.keepAtLeast
            << " of each radio (change with --keep-days N --keep-at-least M)\n";
    const std::vector<std::string> radios =
        radio.empty() ? ctx.snapshots.radios() : std::vector<std::string>{radio};
    if (!radio.empty() && !fs::is_directory(ctx.snapshots.root() / radio)) {
        ctx.err << "ztp958fm-cli: no snapshots of a radio " << radio << "\n";
        return 1;
    }
    for (const std::string& r : radios) {
        ctx.out << r << "\n";
        for (const SnapshotInfo& s : ctx.snapshots.list(r)) {
            if (!s.problem.empty()) {
                ctx.out << "  (unreadable: " << s.problem << ")  " << s.file.string() << "\n";
                continue;
            }
            std::string kind = snapshotKindName(s.kind);
            kind.resize(std::max<std::size_t>(kind.size(), 12), ' ');
            ctx.out << "  " << formatUtcTime(s.time) << "  " << kind << "  " << s.file.string()
                    << "\n";
        }
    }
    return 0;
}

}  // namespace

const char* historyUsage()
{
    return "  ztp958fm-cli diff A B [--json] [--yes]           compare data files, snapshots or\n"
           "                                  the radio (--port P); exit 0 equal, 1 different\n"
           "  ztp958fm-cli backups [--radio ID] [--keep-days N] [--keep-at-least M]\n"
           "                                  list the kept snapshots of radios; set how long\n"
           "  ztp958fm-cli restore --port P SNAPSHOT [--yes]   write a snapshot back\n";
}

int runReadWithSnapshot(const CliOptions& options, HistoryContext& ctx)
{
    ScratchFolder scratch;
    const std::string file =
        options.file.empty() ? (scratch.path() / "read.dat").string() : options.file;
    if (!options.raw.empty()) {
        // Checked first, so a read is never made for an image that cannot be kept.
        std::error_code ec;
        const bool existed = fs::exists(options.raw, ec);
        bool writable = false;
        {
            std::ofstream probe(options.raw, std::ios::app);
            writable = static_cast<bool>(probe);
        }
        if (writable && !existed) fs::remove(options.raw, ec);
        if (!writable) {
            ctx.err << "ztp958fm-cli: cannot save to " << options.raw
                    << "\nNothing was read from the radio.\n";
            return 1;
        }
    }
    // The data file is saved once the memory was read: a serial number that cannot be read
    // after it does not turn the read into a failure.
    const RadioReading r = readRadio(options, ctx, file, true, false);
    if (r.status != 0) return r.status;
    int status = 0;
    if (!options.raw.empty()) {
        std::string why;
        if (!writeWhole(options.raw, r.image, why)) {
            ctx.err << "ztp958fm-cli: cannot save " << options.raw << ": " << why << "\n";
            status = 1;
        } else {
            ctx.err << options.raw << "\n";
        }
    }
    const SnapshotSaved saved = keep(ctx, SnapshotKind::Read, r);
    if (saved.file.empty())
        ctx.err << "note: the read could not be kept as a snapshot: " << saved.problem << "\n";
    else
        ctx.err << "kept as " << saved.file.string() << "\n";
    return status;
}

int runWriteWithBackup(const CliOptions& options, HistoryContext& ctx)
{
    WriteSource source;
    if (!options.raw.empty()) {
        source = rawSource(options.raw);
    } else {
        const LoadedDocument l = loadDocument(options.file);
        source.problem = l.problem;
        if (!l.snapshot) source.file = options.file;
        source.document = l.document;
    }
    if (!source.problem.empty()) {
        ctx.err << "ztp958fm-cli: " << source.problem << "\nNothing was written.\n";
        return 1;
    }
    return writeFrom(options, ctx, source);
}

int runHistoryCommand(const std::vector<std::string>& args, HistoryContext& ctx)
{
    if (args[0] == "diff") return runDiff(args, ctx);
    if (args[0] == "backups") return runBackups(args, ctx);
    if (args[0] == "restore") return runRestore(args, ctx);
    return 2;
}

}  // namespace zt
