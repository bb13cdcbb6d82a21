#include "core/interop/chirp_csv.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <optional>
#include <set>

#include "core/edit/channel_grid_rules.h"
#include "core/interop/csv_table.h"
#include "core/radio/channel_edit.h"
#include "core/values/frequency.h"
#include "core/values/number_text.h"
#include "core/values/tones.h"

namespace zt {

const std::vector<std::string> kChirpColumns = {
    "Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
    "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};

namespace {

constexpr std::size_t kNoColumn = static_cast<std::size_t>(-1);
// Offsets have 7 stored digits: at most 99.99999 MHz.
constexpr std::int64_t kMaxOffsetTenHz = 9999999;
// Spacing list entry of a narrow channel.
constexpr int kNarrowSpacing = 2;

enum class ToneKind { None, Ctcss, Dcs };

ToneKind kindOf(int index)
{
    if (index >= kFirstCtcssIndex && index < kFirstDcsNormalIndex) return ToneKind::Ctcss;
    if (index >= kFirstDcsNormalIndex && index < kToneCount) return ToneKind::Dcs;
    return ToneKind::None;
}

std::string ctcssText(int index)
{
    const int tenths = kCtcssTenthsHz[static_cast<std::size_t>(index - kFirstCtcssIndex)];
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

int dcsCode(int index)
{
    return kDcsCodes[static_cast<std::size_t>((index - kFirstDcsNormalIndex) % kDcsCount)];
}

std::string dcsText(int index)
{
    const int code = dcsCode(index);
    std::string s;
    for (int v = code; v > 0; v /= 8) s.insert(s.begin(), static_cast<char>('0' + v % 8));
    while (s.size() < 3) s.insert(s.begin(), '0');
    return s;
}

char polarityOf(int index)
{
    return index >= kFirstDcsInvertedIndex ? 'R' : 'N';
}

std::string mhz6(std::int64_t tenHz)
{
    return formatMhz(tenHz) + "0";
}

std::optional<std::int64_t> rxValue(const ChannelRecord& rec, const BandLimits& limits)
{
    const RxDisplay rx = rxStoredToDisplay(rec.RxFre.cut(), limits);
    if (rx.text.empty() || rx.notNumeric) return std::nullopt;
    return parseTenHz(rx.text);
}

std::int64_t offsetValue(const ChannelRecord& rec)
{
    return parseTenHz(offsetDisplay(rec.OffsetFre.cut(), 0)).value_or(0);
}

// The direction the grid shows: 1 minus, 2 plus, anything else none.
int shownDirection(const ChannelRecord& rec)
{
    return rec.ShiftDir == 1 || rec.ShiftDir == 2 ? rec.ShiftDir : 0;
}

std::string duplexText(const ChannelRecord& rec)
{
    if (rec.TxInhibit != 0) return "off";
    if (rec.ShiftDir == 1) return "-";
    if (rec.ShiftDir == 2) return "+";
    return "";
}

std::string modeText(const ChannelRecord& rec)
{
    if (rec.AmFm == 0) return "AM";
    return rec.Spacing == kNarrowSpacing ? "NFM" : "FM";
}

// The tone columns of a channel: Tone, rToneFreq, cToneFreq, DtcsCode, DtcsPolarity,
// RxDtcsCode, CrossMode. CHIRP converts each of them whether the tone mode uses it or not
// (a number, an octal code, a polarity pair, a cross mode), so unused ones hold the values
// CHIRP writes itself: 88.5 Hz, code 023, NN and Tone->Tone.
struct ToneColumns {
    std::string mode, rTone = "88.5", cTone = "88.5", dtcs = "023", polarity = "NN", rxDtcs = "023",
                      cross = "Tone->Tone";
};

ToneColumns toneColumns(int encode, int decode)
{
    ToneColumns t;
    const ToneKind tx = kindOf(encode);
    const ToneKind rx = kindOf(decode);
    if (tx == ToneKind::Ctcss) t.rTone = ctcssText(encode);
    if (rx == ToneKind::Ctcss) t.cTone = ctcssText(decode);
    if (tx == ToneKind::Dcs) {
        t.dtcs = dcsText(encode);
        t.polarity[0] = polarityOf(encode);
    }
    if (rx == ToneKind::Dcs) {
        t.rxDtcs = dcsText(decode);
        t.polarity[1] = polarityOf(decode);
    }
    if (tx == ToneKind::None && rx == ToneKind::None) return t;
    if (tx == ToneKind::Ctcss && rx == ToneKind::None) {
        t.mode = "Tone";
    } else if (tx == ToneKind::Ctcss && rx == ToneKind::Ctcss && encode == decode) {
        t.mode = "TSQL";
    } else if (tx == ToneKind::Dcs && rx == ToneKind::Dcs && dcsCode(encode) == dcsCode(decode)) {
        t.mode = "DTCS";
    } else {
        auto part = [](ToneKind k) {
            return k == ToneKind::Ctcss ? "Tone" : k == ToneKind::Dcs ? "DTCS" : "";
        };
        t.mode = "Cross";
        t.cross = std::string(part(tx)) + "->" + part(rx);
    }
    return t;
}

std::string trimmed(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return std::string(s);
}

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Reads one data row by column name.
class RowReader {
  public:
    RowReader(const std::vector<std::string>& header, const CsvRow& row) : row_(row)
    {
        for (const std::string& name : kChirpColumns) {
            std::size_t found = kNoColumn;
            for (std::size_t i = 0; i < header.size(); ++i)
                if (lower(trimmed(header[i])) == lower(name)) {
                    found = i;
                    break;
                }
            columns_.push_back(found);
        }
    }
    // The trimmed text of a column; nothing when the file has no such column.
    std::optional<std::string> get(const std::string& name) const
    {
        for (std::size_t k = 0; k < kChirpColumns.size(); ++k) {
            if (kChirpColumns[k] != name) continue;
            if (columns_[k] == kNoColumn) return std::nullopt;
            if (columns_[k] >= row_.fields.size()) return std::string();
            return trimmed(row_.fields[columns_[k]]);
        }
        return std::nullopt;
    }
    std::string text(const std::string& name) const { return get(name).value_or(""); }

  private:
    const CsvRow& row_;
    std::vector<std::size_t> columns_;
};

// An exact decimal in 10 Hz units; nothing for a text that is not a number or that has
// a part below 10 Hz.
struct Parsed {
    std::optional<std::int64_t> value;
    bool notNumber = false;
};
Parsed parseExactTenHz(const std::string& text)
{
    const auto scaled = parseScaledDecimal(text, 5);
    if (!scaled || scaled->saturated) return {std::nullopt, true};
    if (scaled->fraction) return {std::nullopt, false};
    return {scaled->truncated(), false};
}

std::optional<int> ctcssIndex(const std::string& text)
{
    const auto scaled = parseScaledDecimal(text, 1);
    if (!scaled || scaled->fraction || scaled->saturated) return std::nullopt;
    const std::int64_t tenths = scaled->truncated();
    for (int i = 0; i < kCtcssCount; ++i)
        if (kCtcssTenthsHz[static_cast<std::size_t>(i)] == tenths) return kFirstCtcssIndex + i;
    return std::nullopt;
}

std::optional<int> dcsIndex(const std::string& text, char polarity)
{
    if (text.empty() || text.size() > 4) return std::nullopt;
    int code = 0;
    for (char c : text) {
        if (c < '0' || c > '7') return std::nullopt;
        code = code * 8 + (c - '0');
    }
    for (int i = 0; i < kDcsCount; ++i) {
        if (kDcsCodes[static_cast<std::size_t>(i)] != code) continue;
        if (polarity == 'N') return kFirstDcsNormalIndex + i;
        if (polarity == 'R') return kFirstDcsInvertedIndex + i;
        return std::nullopt;
    }
    return std::nullopt;
}

struct RowContext {
    const RadioDocument& doc;
    const BandLimits& limits;
    const RowReader& reader;
    int line;
    int chNo;
    std::vector<RowError>& errors;

    void fail(RowProblem problem, const std::string& column)
    {
        errors.push_back(RowError{line, chNo, problem, column, reader.text(column)});
    }
};

bool inBand(std::int64_t tenHz, const BandLimits& limits)
{
    return tenHz >= mhzToTenHz(limits.lo) && tenHz <= mhzToTenHz(limits.hi);
}

// The receive and transmit tone of a row, or nothing after reporting the fault.
std::optional<std::pair<int, int>> readTones(RowContext& ctx, const std::string& mode)
{
    const RowReader& r = ctx.reader;
    std::string polarity = r.text("DtcsPolarity");
    if (polarity.empty()) polarity = "NN";
    if (polarity.size() != 2) {
        ctx.fail(RowProblem::BadTone, "DtcsPolarity");
        return std::nullopt;
    }
    auto tone = [&](const std::string& column) -> std::optional<int> {
        const auto index = ctcssIndex(r.text(column));
        if (!index) ctx.fail(RowProblem::BadTone, column);
        return index;
    };
    auto dcs = [&](const std::string& column, char pol) -> std::optional<int> {
        const auto index = dcsIndex(r.text(column), pol);
        if (!index) ctx.fail(RowProblem::BadTone, column);
        return index;
    };
    auto pair = [](std::optional<int> enc, std::optional<int> dec) {
        return enc && dec ? std::optional(std::pair{*enc, *dec}) : std::nullopt;
    };

    if (mode.empty()) return std::pair{0, 0};
    if (mode == "Tone") return pair(tone("rToneFreq"), 0);
    if (mode == "TSQL") {
        const auto t = tone("cToneFreq");
        return pair(t, t);
    }
    if (mode == "DTCS") {
        const auto enc = dcs("DtcsCode", polarity[0]);
        return enc ? pair(enc, dcs("DtcsCode", polarity[1])) : std::nullopt;
    }
    if (mode != "Cross") {
        ctx.fail(RowProblem::BadTone, "Tone");
        return std::nullopt;
    }
    const auto crossColumn = r.get("CrossMode");
    if (!crossColumn) {
        // Older CHIRP files have no CrossMode column: a Cross row cannot say which tones
        // it means.
        ctx.fail(RowProblem::MissingColumn, "CrossMode");
        return std::nullopt;
    }
    const std::string& cross = *crossColumn;
    const std::size_t arrow = cross.find("->");
    if (arrow == std::string::npos) {
        ctx.fail(RowProblem::BadTone, "CrossMode");
        return std::nullopt;
    }
    const std::string tx = cross.substr(0, arrow);
    const std::string rx = cross.substr(arrow + 2);
    std::optional<int> enc, dec;
    if (tx == "Tone") {
        enc = tone("rToneFreq");
    } else if (tx == "DTCS") {
        enc = dcs("DtcsCode", polarity[0]);
    } else if (tx.empty()) {
        enc = 0;
    }
    if (rx == "Tone") {
        dec = tone("cToneFreq");
    } else if (rx == "DTCS") {
        dec = dcs("RxDtcsCode", polarity[1]);
    } else if (rx.empty()) {
        dec = 0;
    }
    if ((tx != "Tone" && tx != "DTCS" && !tx.empty()) ||
        (rx != "Tone" && rx != "DTCS" && !rx.empty()) || (tx.empty() && rx.empty())) {
        ctx.fail(RowProblem::BadTone, "CrossMode");
        return std::nullopt;
    }
    return pair(enc, dec);
}

// Builds the record a row asks for from the present one; nothing when the row has a fault.
std::optional<ChannelRecord> readRow(RowContext& ctx, const ChannelRecord& present, bool created)
{
    const RowReader& r = ctx.reader;
    const std::size_t errorsBefore = ctx.errors.size();
    ChannelRecord rec = present;
    const int group = groupOfChannel(ctx.chNo);
    const bool locked = !frequencyEditPermitted(ctx.doc.Data, group);
    const bool keeps1k25 = group == 6;

    // Receive frequency.
    std::optional<std::int64_t> rx;
    const Parsed freq = parseExactTenHz(r.text("Frequency"));
    if (freq.notNumber) {
        ctx.fail(RowProblem::BadNumber, "Frequency");
    } else if (!freq.value) {
        ctx.fail(RowProblem::OffRaster, "Frequency");
    } else if (!inBand(*freq.value, ctx.limits)) {
        ctx.fail(RowProblem::OutOfBand, "Frequency");
    } else if (validateEnteredFrequency(formatMhz(*freq.value), group, ctx.limits).text !=
               formatMhz(*freq.value)) {
        ctx.fail(RowProblem::OffRaster, "Frequency");
    } else {
        rx = freq.value;
        const bool changed = created || rxValue(present, ctx.limits) != rx;
        if (changed && locked) {
            ctx.fail(RowProblem::LockedGroup, "Frequency");
        } else if (changed && !created && ctx.chNo <= 400) {
            // The first 400 channels keep the frequency they were created with.
            ctx.fail(RowProblem::LockedGroup, "Frequency");
        } else if (changed) {
            rec.RxFre = rxDisplayToStored(formatMhz(*rx), ctx.limits);
        }
    }

    // Duplex and offset.
    const auto duplex = r.get("Duplex");
    if (duplex && rx) {
        int dir = shownDirection(present);
        std::int64_t magnitude = offsetValue(present);
        bool inhibit = false;
        bool ok = true;
        const std::string d = *duplex;
        if (d == "off") {
            inhibit = true;
        } else if (d == "split") {
            const Parsed tx = parseExactTenHz(r.text("Offset"));
            if (!tx.value) {
                ctx.fail(tx.notNumber ? RowProblem::BadNumber : RowProblem::OffRaster, "Offset");
                ok = false;
            } else if (*tx.value != *rx) {
                dir = *tx.value > *rx ? 2 : 1;
                magnitude = std::abs(*tx.value - *rx);
            } else {
                dir = 0;
            }
        } else if (d.empty()) {
            // CHIRP fills the Offset of a simplex channel with a value of its own; it says
            // nothing about this channel, whose stored offset stays as it is.
            dir = 0;
        } else if (d == "+" || d == "-") {
            dir = d == "+" ? 2 : 1;
            const std::string text = r.text("Offset");
            if (!text.empty()) {
                const Parsed off = parseExactTenHz(text);
                if (!off.value || *off.value < 0) {
                    ctx.fail(off.notNumber || (off.value && *off.value < 0) ? RowProblem::BadNumber
                                                                            : RowProblem::OffRaster,
                             "Offset");
                    ok = false;
                } else {
                    magnitude = *off.value;
                }
            }
        } else {
            ctx.fail(RowProblem::BadValue, "Duplex");
            ok = false;
        }
        if (ok && magnitude > kMaxOffsetTenHz) {
            ctx.fail(RowProblem::OutOfBand, "Offset");
            ok = false;
        }
        if (ok) {
            const std::int64_t tx = dir == 1 ? *rx - magnitude : dir == 2 ? *rx + magnitude : *rx;
            const bool shiftChanged =
                created ? (dir != 0 || magnitude != 0)
                        : (dir != shownDirection(present) || magnitude != offsetValue(present));
            if (dir != 0 && !inBand(tx, ctx.limits)) {
                ctx.fail(RowProblem::OutOfBand, "Offset");
            } else if (shiftChanged && locked) {
                ctx.fail(RowProblem::LockedGroup, "Offset");
            } else if (shiftChanged) {
                const std::string stored = formatMhz(magnitude);
                std::string digits;
                for (char c : stored)
                    if (c != '.') digits += c;
                while (digits.size() < 7) digits.insert(digits.begin(), '0');
                const RasterResult raster =
                    rasterCheck(rec.RxFre.cut(), digits, dir, ctx.limits, keeps1k25);
                if (raster.storedOffset != digits || raster.shiftDir != dir ||
                    raster.rxStored != rec.RxFre.cut()) {
                    ctx.fail(RowProblem::OffRaster, d == "split" ? "Offset" : "Duplex");
                } else {
                    rec.ShiftDir = static_cast<std::uint8_t>(dir);
                    rec.OffsetFre = digits;
                    rec.RxStep = raster.rxStep;
                    rec.TxStep = raster.txStep;
                }
            }
            if ((present.TxInhibit != 0) != inhibit) rec.TxInhibit = inhibit ? 1 : 0;
        }
    }

    // Tones.
    if (const auto mode = r.get("Tone")) {
        if (const auto tones = readTones(ctx, *mode)) {
            // A stored index outside the list is exported as no tone; the same row read back
            // leaves it as it is.
            auto listed = [](int index) { return index >= 0 && index < kToneCount ? index : 0; };
            if (tones->first != listed(present.EncodeTone) ||
                tones->second != listed(present.DecodeTone)) {
                rec.EncodeTone = static_cast<std::int16_t>(tones->first);
                rec.DecodeTone = static_cast<std::int16_t>(tones->second);
                // Without a receive tone the busy lock cannot wait for one.
                if (rec.DecodeTone == 0 && rec.BusyChannelLock == 2) rec.BusyChannelLock = 1;
            }
        }
    }

    // Modulation and spacing.
    if (const auto mode = r.get("Mode"); mode && !mode->empty() && *mode != modeText(present)) {
        if (*mode == "AM") {
            rec.AmFm = 0;
        } else if (*mode == "FM") {
            rec.AmFm = 1;
            if (rec.Spacing == kNarrowSpacing) rec.Spacing = 0;
        } else if (*mode == "NFM") {
            rec.AmFm = 1;
            rec.Spacing = kNarrowSpacing;
        } else {
            ctx.fail(RowProblem::BadValue, "Mode");
        }
    }

    if (const auto skip = r.get("Skip")) {
        if (*skip != "" && *skip != "S") {
            ctx.fail(RowProblem::BadValue, "Skip");
        } else if ((*skip == "S") != (present.ScanSkip != 0)) {
            rec.ScanSkip = *skip == "S" ? 1 : 0;
        }
    }

    if (ctx.errors.size() != errorsBefore) return std::nullopt;
    return rec;
}

const char* problemText(RowProblem p)
{
    switch (p) {
        case RowProblem::BadLocation:
            return "not a channel number 1-521";
        case RowProblem::DuplicateLocation:
            return "channel already given on an earlier line";
        case RowProblem::BadNumber:
            return "not a number";
        case RowProblem::OutOfBand:
            return "outside the band";
        case RowProblem::OffRaster:
            return "not on the channel raster";
        case RowProblem::BadTone:
            return "not a tone of the radio's tone list";
        case RowProblem::BadValue:
            return "not a value the radio has";
        case RowProblem::LockedGroup:
            return "frequencies of this group cannot be changed";
        case RowProblem::UnterminatedQuote:
            return "quoted field not closed before the end of the file";
        case RowProblem::MissingColumn:
            return "column missing from the header";
        case RowProblem::NoFreeRow:
            return "no free row left in the group";
        case RowProblem::EmptyFile:
            return "the file is empty";
        case RowProblem::Utf16Text:
            return "the file is UTF-16 text; save it as UTF-8 (or plain) CSV";
        case RowProblem::NotText:
            return "not a text file";
        case RowProblem::CarriageReturnOnly:
            return "lines end in CR alone; save the file with CR LF or LF line ends";
        case RowProblem::Semicolons:
            return "columns are separated by semicolons; CSV files for CHIRP separate them by "
                   "commas";
    }
    return "";
}

}  // namespace

std::string exportChirpCsv(const RadioDocument& doc, int group, const BandLimits& limits,
                           std::vector<int>* leftOut)
{
    std::vector<std::string> header;
    for (const std::string& column : kChirpColumns)
        if (column != "Power") header.push_back(column);
    std::string out = csvLine(header);
    const int count = std::clamp<int>(doc.Data.ChannelCount, 0, kMaxChannels);
    std::vector<const ChannelRecord*> records;
    for (int i = 0; i < count; ++i) {
        const ChannelRecord& rec = doc.Channels[static_cast<std::size_t>(i)];
        const int g = groupOfChannel(rec.ChNo);
        if (g < 0 || (group >= 0 && g != group)) continue;
        records.push_back(&rec);
    }
    std::sort(records.begin(), records.end(),
              [](const ChannelRecord* a, const ChannelRecord* b) { return a->ChNo < b->ChNo; });
    for (const ChannelRecord* rec : records) {
        const auto rx = rxValue(*rec, limits);
        // CHIRP refuses a row without a frequency.
        if (!rx) {
            if (leftOut) leftOut->push_back(rec->ChNo);
            continue;
        }
        const ToneColumns t = toneColumns(rec->EncodeTone, rec->DecodeTone);
        out += csvLine({std::to_string(rec->ChNo),
                        "",
                        mhz6(*rx),
                        duplexText(*rec),
                        mhz6(offsetValue(*rec)),
                        t.mode,
                        t.rTone,
                        t.cTone,
                        t.dtcs,
                        t.polarity,
                        t.rxDtcs,
                        t.cross,
                        modeText(*rec),
                        "5.00",
                        rec->ScanSkip ? "S" : "",
                        "Group " + std::to_string(groupOfChannel(rec->ChNo)),
                        "",
                        "",
                        "",
                        ""});
    }
    return out;
}

std::string describeRowError(const RowError& e)
{
    std::string s = e.line > 0 ? "line " + std::to_string(e.line) + ": " : std::string();
    if (e.chNo > 0) s += "channel " + std::to_string(e.chNo) + ": ";
    if (e.problem == RowProblem::MissingColumn && !e.column.empty())
        s += e.column + ": ";
    else if (!e.column.empty())
        s += e.column + " \"" + e.value + "\": ";
    return s + problemText(e.problem);
}

namespace {

bool blankRow(const CsvRow& row)
{
    return std::all_of(row.fields.begin(), row.fields.end(),
                       [](const std::string& f) { return trimmed(f).empty(); });
}

// Why a file cannot be a comma-separated text at all, judged from its bytes.
std::optional<RowProblem> textProblem(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF")
        return RowProblem::Utf16Text;
    if (std::all_of(text.begin(), text.end(),
                    [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }))
        return RowProblem::EmptyFile;
    // UTF-16 without a byte-order mark: every other byte of ASCII text is NUL.
    if (text.size() >= 4 && ((text[0] != '\0' && text[1] == '\0' && text[3] == '\0') ||
                             (text[0] == '\0' && text[2] == '\0' && text[1] != '\0')))
        return RowProblem::Utf16Text;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && c != '\t' && c != '\r' && c != '\n') || b == 0x7F)
            return RowProblem::NotText;
    }
    if (text.find('\n') == std::string_view::npos && text.find('\r') != std::string_view::npos)
        return RowProblem::CarriageReturnOnly;
    return std::nullopt;
}

// Parses the text and checks that the header names the required columns. False (with the
// plan marked as rejected) when the file as a whole cannot be read.
bool readTable(std::string_view csvText, std::initializer_list<const char*> required,
               CsvTable& table, ImportPlan& plan)
{
    if (const auto problem = textProblem(csvText)) {
        plan.errors.push_back(RowError{0, 0, *problem, "", ""});
        plan.fileRejected = true;
        return false;
    }
    table = parseCsv(csvText);
    if (table.errorLine != 0) {
        plan.errors.push_back(RowError{table.errorLine, 0, RowProblem::UnterminatedQuote, "", ""});
        plan.fileRejected = true;
        return false;
    }
    const CsvRow headerRow{1, table.header};
    const RowReader headerReader(table.header, headerRow);
    const bool oneColumn = table.header.size() == 1;
    if (oneColumn && table.header[0].find(';') != std::string::npos &&
        std::any_of(required.begin(), required.end(),
                    [&](const char* column) { return !headerReader.get(column); })) {
        plan.errors.push_back(RowError{1, 0, RowProblem::Semicolons, "", ""});
        plan.fileRejected = true;
        return false;
    }
    for (const char* column : required) {
        if (!headerReader.get(column)) {
            plan.errors.push_back(RowError{1, 0, RowProblem::MissingColumn, column, ""});
            plan.fileRejected = true;
        }
    }
    return !plan.fileRejected;
}

// The record a new channel starts from before a row's values are applied.
ChannelRecord blankChannel(int chNo)
{
    RadioDocument scratch;
    scratch.Data.ChannelCount = 0;
    return newChannel(scratch, chNo, "");
}

}  // namespace

ImportPlan planChirpImport(const RadioDocument& doc, std::string_view csvText,
                           const BandLimits& limits)
{
    ImportPlan plan;
    CsvTable table;
    if (!readTable(csvText, {"Location", "Frequency"}, table, plan)) return plan;

    std::set<int> seen;
    for (const CsvRow& row : table.rows) {
        // Spreadsheets write rows of empty cells below the data.
        if (blankRow(row)) continue;
        const RowReader reader(table.header, row);
        RowContext ctx{doc, limits, reader, row.line, 0, plan.errors};
        const auto location = parseScaledDecimal(reader.text("Location"), 0);
        if (!location || location->fraction || location->compare(1) < 0 ||
            location->compare(kMaxChannels) > 0) {
            ctx.fail(RowProblem::BadLocation, "Location");
            continue;
        }
        ctx.chNo = static_cast<int>(location->truncated());
        if (!seen.insert(ctx.chNo).second) {
            ctx.fail(RowProblem::DuplicateLocation, "Location");
            continue;
        }
        const ChannelRecord* present = doc.findChannel(ctx.chNo);
        const ChannelRecord base = present ? *present : blankChannel(ctx.chNo);
        const auto after = readRow(ctx, base, present == nullptr);
        if (!after) continue;
        if (present && *after == *present) continue;
        plan.changes.push_back(ChannelChange{row.line, present == nullptr,
                                             present ? *present : ChannelRecord{}, *after});
    }
    return plan;
}

ImportPlan planChirpImportIntoGroup(const RadioDocument& doc, std::string_view csvText,
                                    const BandLimits& limits, int group)
{
    ImportPlan plan;
    CsvTable table;
    if (!readTable(csvText, {"Frequency"}, table, plan)) return plan;

    std::vector<int> freeChannels;
    const std::vector<int> occupied = occupiedRows(doc, group);
    for (int row = 1; row <= GroupSize(group); ++row)
        if (!std::binary_search(occupied.begin(), occupied.end(), row))
            freeChannels.push_back(GroupBase(group) + row);

    std::size_t next = 0;
    for (const CsvRow& row : table.rows) {
        if (blankRow(row)) continue;
        if (next >= freeChannels.size()) {
            plan.errors.push_back(RowError{row.line, 0, RowProblem::NoFreeRow, "", ""});
            continue;
        }
        const RowReader reader(table.header, row);
        const int chNo = freeChannels[next];
        const std::size_t errorsBefore = plan.errors.size();
        RowContext ctx{doc, limits, reader, row.line, chNo, plan.errors};
        const auto after = readRow(ctx, blankChannel(chNo), true);
        if (!after) {
            // A refused row takes no row, so it names no channel.
            for (std::size_t i = errorsBefore; i < plan.errors.size(); ++i) plan.errors[i].chNo = 0;
            continue;
        }
        plan.changes.push_back(ChannelChange{row.line, true, ChannelRecord{}, *after});
        ++next;
    }
    return plan;
}

bool radioStoresField(ChannelField field)
{
    switch (field) {
        case ChannelField::RxFrequency:
        case ChannelField::DecodeTone:
        case ChannelField::EncodeTone:
        case ChannelField::ScanSkip:
        case ChannelField::BusyChannelLock:
            return true;
        case ChannelField::Offset:
        case ChannelField::Modulation:
        case ChannelField::Spacing:
        case ChannelField::TxInhibit:
            return false;
    }
    return false;
}

int refusedRowCount(const std::vector<RowError>& errors)
{
    std::set<int> lines;
    for (const RowError& e : errors) lines.insert(e.line);
    return static_cast<int>(lines.size());
}

std::vector<FieldChange> changedFields(const ChannelChange& change, const BandLimits& limits)
{
    std::vector<FieldChange> fields;
    const ChannelRecord base = change.created ? blankChannel(change.after.ChNo) : change.before;
    const ChannelRecord& after = change.after;

    const std::string rxBefore =
        change.created ? "" : rxStoredToDisplay(base.RxFre.cut(), limits).text;
    const std::string rxAfter = rxStoredToDisplay(after.RxFre.cut(), limits).text;
    if (change.created || rxBefore != rxAfter)
        fields.push_back({ChannelField::RxFrequency, rxBefore, rxAfter, 0, 0});
    const std::string offBefore = txCellText(base);
    const std::string offAfter = txCellText(after);
    if (offBefore != offAfter)
        fields.push_back({ChannelField::Offset, change.created ? "" : offBefore, offAfter, 0, 0});

    auto listed = [&](ChannelField field, int before, int now) {
        if (before != now) fields.push_back({field, "", "", before, now});
    };
    listed(ChannelField::DecodeTone, base.DecodeTone, after.DecodeTone);
    listed(ChannelField::EncodeTone, base.EncodeTone, after.EncodeTone);
    listed(ChannelField::ScanSkip, base.ScanSkip, after.ScanSkip);
    listed(ChannelField::Modulation, base.AmFm, after.AmFm);
    listed(ChannelField::Spacing, base.Spacing, after.Spacing);
    listed(ChannelField::TxInhibit, base.TxInhibit, after.TxInhibit);
    listed(ChannelField::BusyChannelLock, base.BusyChannelLock, after.BusyChannelLock);
    return fields;
}

ImportPlan keepChannels(const ImportPlan& plan, const std::vector<int>& chNos)
{
    ImportPlan kept;
    kept.errors = plan.errors;
    kept.fileRejected = plan.fileRejected;
    for (const ChannelChange& change : plan.changes)
        if (std::find(chNos.begin(), chNos.end(), change.after.ChNo) != chNos.end())
            kept.changes.push_back(change);
    return kept;
}

void applyImportPlan(RadioDocument& doc, const ImportPlan& plan)
{
    std::set<int> groups;
    for (const ChannelChange& change : plan.changes) {
        ChannelRecord* rec = doc.findChannel(change.after.ChNo);
        if (!rec) {
            if (doc.Data.ChannelCount >= kMaxChannels) continue;
            rec = &newChannel(doc, change.after.ChNo, change.after.RxFre.cut());
        }
        *rec = change.after;
        groups.insert(groupOfChannel(change.after.ChNo));
    }
    for (int g : groups) recheckEmergency(doc, g);
}

}  // namespace zt
