#include "apps/cli/channels_command.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <sstream>

#include "core/edit/channel_grid_rules.h"
#include "core/files/data_file.h"
#include "core/files/ini_profile.h"
#include "core/files/version_manager.h"
#include "core/interop/chirp_csv.h"
#include "core/radio/models.h"
#include "core/values/band_limits.h"
#include "core/values/frequency.h"

namespace zt {
namespace {

struct ChannelsArgs {
    std::string input;   // export: data file; import: CSV file
    std::string into;    // import: data file the channels go into
    std::string output;  // -o
    int group = -1;
    bool dryRun = false;
    bool skipBad = false;
};

std::optional<int> wholeNumber(const std::string& text)
{
    if (text.empty() || text.size() > 3) return std::nullopt;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

// Parses the options after the command word; an empty error means success.
std::string parse(const std::vector<std::string>& args, ChannelsArgs& a)
{
    const bool isImport = args[0] == "import";
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        if (arg == "-o") {
            if (!value(a.output)) return "-o needs a file name";
        } else if (arg == "--group" && !isImport) {
            std::string text;
            if (!value(text)) return "--group needs a number";
            const auto g = wholeNumber(text);
            if (!g || *g >= kChannelGroupCount)
                return "--group must be 0.." + std::to_string(kChannelGroupCount - 1);
            a.group = *g;
        } else if (arg == "--into" && isImport) {
            if (!value(a.into)) return "--into needs a data file";
        } else if (arg == "--dry-run" && isImport) {
            a.dryRun = true;
        } else if (arg == "--skip-bad" && isImport) {
            a.skipBad = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return "unknown option '" + arg + "'";
        } else if (a.input.empty()) {
            a.input = arg;
        } else {
            return "unexpected argument '" + arg + "'";
        }
    }
    if (a.input.empty()) return isImport ? "no CSV file given" : "no data file given";
    if (isImport && a.into.empty()) return "--into FILE.dat is required";
    if (a.output.empty() && !(isImport && a.dryRun)) return "-o FILE is required";
    return "";
}

BandLimits limitsOf(const RadioDocument& doc)
{
    return parseBandLimits(bandTextOfCode(doc.Data.BandCode));
}

std::optional<RadioDocument> readDocument(const std::string& path, std::ostream& err)
{
    ParsedDataFile parsed = readDataFile(path);
    if (parsed.messageId != 0) {
        err << "ztp958fm-cli: cannot read data file " << path << " (message " << parsed.messageId
            << ")\n";
        return std::nullopt;
    }
    return std::move(parsed.document);
}

int runExport(const ChannelsArgs& a, std::ostream& out, std::ostream& err)
{
    const auto doc = readDocument(a.input, err);
    if (!doc) return 1;
    const std::string csv = exportChirpCsv(*doc, a.group, limitsOf(*doc));
    // Written beside its name and renamed when complete: a failed write leaves no partial file.
    if (!replaceFileBytes(a.output, csv)) {
        err << "ztp958fm-cli: cannot write " << a.output << "\n";
        return 1;
    }
    const auto rows = std::count(csv.begin(), csv.end(), '\n') - 1;
    out << "exported " << rows << " channels to " << a.output << "\n";
    return 0;
}

void reportChange(const ChannelChange& c, const BandLimits& limits, std::ostream& out)
{
    out << "line " << c.line << ": channel " << c.after.ChNo << ": "
        << (c.created ? "new, " : "changed, ")
        << rxStoredToDisplay(c.after.RxFre.cut(), limits).text << " MHz\n";
}

int runImport(const ChannelsArgs& a, std::ostream& out, std::ostream& err)
{
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(a.input, sizeError);
    if (!sizeError && size > kMaxChirpCsvBytes) {
        err << "ztp958fm-cli: " << a.input << " is larger than a channel list can be ("
            << (kMaxChirpCsvBytes >> 20) << " MiB)\n";
        return 1;
    }
    std::ifstream csvFile(a.input, std::ios::binary);
    if (!csvFile) {
        err << "ztp958fm-cli: cannot read " << a.input << "\n";
        return 1;
    }
    const std::string csv((std::istreambuf_iterator<char>(csvFile)),
                          std::istreambuf_iterator<char>());
    auto doc = readDocument(a.into, err);
    if (!doc) return 1;
    const BandLimits limits = limitsOf(*doc);
    const ImportPlan plan = planChirpImport(*doc, csv, limits);

    for (const ChannelChange& c : plan.changes) reportChange(c, limits, out);
    for (const RowError& e : plan.errors) err << describeRowError(e) << "\n";
    out << plan.changes.size() << " channels to change, " << plan.errors.size()
        << " rows refused\n";
    if (plan.fileRejected || (!plan.errors.empty() && !a.skipBad)) {
        err << "ztp958fm-cli: nothing imported"
            << (plan.fileRejected ? "\n" : " (--skip-bad takes the good rows only)\n");
        return 1;
    }
    if (a.dryRun) {
        out << "dry run: nothing written\n";
        return 0;
    }
    applyImportPlan(*doc, plan);
    doc->Data.Version = kOwnSoftVersion;  // every file this program writes is its own version
    if (!writeDataFile(a.output, *doc)) {
        err << "ztp958fm-cli: cannot write " << a.output << "\n";
        return 1;
    }
    out << "written " << a.output << "\n";
    return 0;
}

}  // namespace

int runChannelsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ChannelsArgs a;
    const std::string error = parse(args, a);
    if (!error.empty()) {
        err << "ztp958fm-cli: " << error << "\n";
        return 2;
    }
    return args[0] == "import" ? runImport(a, out, err) : runExport(a, out, err);
}

}  // namespace zt
