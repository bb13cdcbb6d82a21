#include "apps/cli/channels_command.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <ostream>

#include "apps/cli/command_files.h"
#include "apps/cli/counted.h"
#include "core/edit/channel_grid_rules.h"
#include "core/files/data_file.h"
#include "core/files/ini_profile.h"
#include "core/files/version_manager.h"
#include "core/interop/chirp_csv.h"
#include "core/radio/models.h"
#include "core/values/band_limits.h"
#include "core/values/frequency.h"
#include "core/values/tones.h"

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

// Why a data file could not be read, in words.
std::string dataFileProblem(const ParsedDataFile& parsed, const ReasonKeepingFileOps& ops)
{
    if (!ops.reason().empty()) return ops.reason();
    if (parsed.messageId == text::msg::WrongFileLength)
        return "not a data file (a data file is exactly " + std::to_string(kRadioDataFileSize) +
               " bytes long)";
    if (parsed.messageId == text::msg::DamagedFile)
        return "the data file or its channel file is damaged or missing";
    return "message " + std::to_string(parsed.messageId);
}

std::optional<RadioDocument> readDocument(const std::string& path, std::ostream& err)
{
    ReasonKeepingFileOps ops;
    ParsedDataFile parsed = readDataFile(path, ops);
    if (parsed.messageId != 0) {
        err << "ztp958fm-cli: cannot read data file " << path << ": "
            << dataFileProblem(parsed, ops) << "\n";
        return std::nullopt;
    }
    return std::move(parsed.document);
}

// Refuses outputs that would replace an input (misuse, 2) or that cannot be written (1).
int checkOutputs(const std::vector<NamedFile>& inputs, const NamedFile& output, std::ostream& err)
{
    if (const std::string conflict = overwriteConflict(inputs, {output}); !conflict.empty()) {
        err << "ztp958fm-cli: " << conflict << "\n";
        return 2;
    }
    if (const std::string problem = outputProblem(output.path); !problem.empty()) {
        err << "ztp958fm-cli: cannot write " << output.path.string() << ": " << problem << "\n";
        return 1;
    }
    return 0;
}

int runExport(const ChannelsArgs& a, std::ostream& out, std::ostream& err)
{
    if (const int refused = checkOutputs({{a.input, true}}, {a.output, false}, err)) return refused;
    const auto doc = readDocument(a.input, err);
    if (!doc) return 1;
    std::vector<int> leftOut;
    const std::string csv = exportChirpCsv(*doc, a.group, limitsOf(*doc), &leftOut);
    std::string reason;
    if (!writeWholeFile(a.output, csv, reason)) {
        err << "ztp958fm-cli: cannot write " << a.output << ": " << reason << "\n";
        return 1;
    }
    const auto rows = std::count(csv.begin(), csv.end(), '\n') - 1;
    out << "exported " << counted(rows, "channel") << " to " << a.output << "\n";
    if (!leftOut.empty()) {
        out << counted(static_cast<long long>(leftOut.size()), "channel")
            << " without a receive frequency left out:";
        for (int chNo : leftOut) out << " " << chNo;
        out << "\n";
    }
    return 0;
}

const char* fieldName(ChannelField field)
{
    switch (field) {
        case ChannelField::RxFrequency:
            return "receive frequency";
        case ChannelField::Offset:
            return "offset";
        case ChannelField::DecodeTone:
            return "receive tone";
        case ChannelField::EncodeTone:
            return "transmit tone";
        case ChannelField::ScanSkip:
            return "scan";
        case ChannelField::Modulation:
            return "modulation";
        case ChannelField::Spacing:
            return "spacing";
        case ChannelField::TxInhibit:
            return "transmit inhibit";
        case ChannelField::BusyChannelLock:
            return "busy channel lock";
    }
    return "";
}

std::string fieldValue(const FieldChange& change, bool after)
{
    const int v = after ? change.afterIndex : change.beforeIndex;
    auto entry = [v](std::initializer_list<const char*> names) {
        if (v >= 0 && v < static_cast<int>(names.size())) return std::string(names.begin()[v]);
        return std::to_string(v);
    };
    switch (change.field) {
        case ChannelField::RxFrequency:
        case ChannelField::Offset: {
            const std::string& text = after ? change.after : change.before;
            return text.empty() ? "none" : text;
        }
        case ChannelField::DecodeTone:
        case ChannelField::EncodeTone: {
            if (v == 0) return "off";
            const std::string tone = toneText(v);
            return tone.empty() ? std::to_string(v) : tone;
        }
        case ChannelField::ScanSkip:
            return entry({"scanned", "skipped"});
        case ChannelField::Modulation:
            return entry({"AM", "FM"});
        case ChannelField::Spacing:
            return entry({"wide", "medium", "narrow"});
        case ChannelField::TxInhibit:
            return entry({"no", "yes"});
        case ChannelField::BusyChannelLock:
            return entry({"off", "carrier", "tone"});
    }
    return "";
}

void reportChange(const ChannelChange& c, const BandLimits& limits, std::ostream& out)
{
    out << "line " << c.line << ": channel " << c.after.ChNo << ": "
        << (c.created ? "new, " : "changed, ")
        << rxStoredToDisplay(c.after.RxFre.cut(), limits).text << " MHz\n";
    for (const FieldChange& f : changedFields(c, limits)) {
        if (c.created && f.field == ChannelField::RxFrequency) continue;
        out << "    " << fieldName(f.field) << ": ";
        if (!c.created) out << fieldValue(f, false) << " -> ";
        out << fieldValue(f, true);
        if (!radioStoresField(f.field)) out << " (" << kNotStoredByRadio << ")";
        out << "\n";
    }
}

int runImport(const ChannelsArgs& a, std::ostream& out, std::ostream& err)
{
    if (!a.dryRun) {
        if (const int refused =
                checkOutputs({{a.input, false}, {a.into, true}}, {a.output, true}, err))
            return refused;
        if (!isUsableMainPath(a.output)) {
            err << "ztp958fm-cli: " << a.output
                << " cannot be used as a data file name (its channel file would be itself)\n";
            return 2;
        }
    }
    std::string csv;
    std::string reason;
    if (!readInputFile(a.input, kMaxChirpCsvBytes, csv, reason)) {
        err << "ztp958fm-cli: cannot read " << a.input << ": " << reason << "\n";
        return 1;
    }
    auto doc = readDocument(a.into, err);
    if (!doc) return 1;
    const BandLimits limits = limitsOf(*doc);
    const ImportPlan plan = planChirpImport(*doc, csv, limits);

    for (const ChannelChange& c : plan.changes) reportChange(c, limits, out);
    for (const RowError& e : plan.errors) err << describeRowError(e) << "\n";
    if (plan.fileRejected) {
        err << "ztp958fm-cli: " << a.input << " refused as a whole; nothing imported\n";
        return 1;
    }
    out << counted(static_cast<long long>(plan.changes.size()), "channel") << " to change, "
        << counted(static_cast<long long>(refusedRowCount(plan.errors)), "row") << " refused\n";
    if (!plan.errors.empty() && !a.skipBad) {
        err << "ztp958fm-cli: nothing imported (--skip-bad takes the good rows only)\n";
        return 1;
    }
    if (a.dryRun) {
        out << "dry run: nothing written\n";
        return 0;
    }
    applyImportPlan(*doc, plan);
    doc->Data.Version = kOwnSoftVersion;  // every file this program writes is its own version
    ReasonKeepingFileOps ops;
    if (!writeDataFile(a.output, *doc, ops)) {
        err << "ztp958fm-cli: cannot write " << a.output << ": "
            << (ops.reason().empty() ? std::string("unknown error") : ops.reason()) << "\n";
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
