#include <gtest/gtest.h>

#include "core/files/record_io.h"
#include "core/interop/chirp_csv.h"
#include "core/interop/chirp_rules_reader.h"
#include "core/interop/csv_table.h"
#include "core/radio/channel_edit.h"
#include "core/values/frequency.h"
#include "core/values/tones.h"

#include <random>
#include <set>

namespace zt {
namespace {

const BandLimits kBand = parseBandLimits("25.615 - 30.105 MHz");
const std::string kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n";

ChannelRecord& add(RadioDocument& doc, int chNo, const char* rx)
{
    return newChannel(doc, chNo, rx);
}

// A document whose channels use every field the CSV layout carries.
RadioDocument sampleDocument()
{
    RadioDocument doc;
    doc.Data.Options.FrequencyChangeable = 1;
    add(doc, 5, "02561500");  // lowest frequency of the band, nothing else set
    ChannelRecord& a = add(doc, 401, "02700000");
    a.ShiftDir = 2;
    a.OffsetFre = "0010000";
    a.EncodeTone = 13;
    a.ScanSkip = 1;
    ChannelRecord& b = add(doc, 402, "03010500");
    b.ShiftDir = 1;
    b.OffsetFre = "0050000";
    b.EncodeTone = 60;
    b.DecodeTone = 167;
    b.AmFm = 1;
    b.Spacing = 2;
    ChannelRecord& c = add(doc, 521, "02900000");
    c.EncodeTone = 20;
    c.DecodeTone = 20;
    c.AmFm = 1;
    c.TxInhibit = 1;
    return doc;
}

struct Carried {
    int chNo, shiftDir, enc, dec, amFm, skip, inhibit;
    bool narrow;
    std::string rx, offset;
    friend bool operator==(const Carried&, const Carried&) = default;
};
Carried carried(const ChannelRecord& r)
{
    return {r.ChNo,
            r.ShiftDir,
            r.EncodeTone,
            r.DecodeTone,
            r.AmFm,
            r.ScanSkip != 0,
            r.TxInhibit != 0,
            r.Spacing == 2,
            rxStoredToDisplay(r.RxFre.cut(), kBand).text,
            offsetDisplay(r.OffsetFre.cut(), 0)};
}

TEST(ChirpCsvRoundTrip, ExportedFileRebuildsEveryCarriedField)
{
    const RadioDocument doc = sampleDocument();
    const std::string csv = exportChirpCsv(doc, -1, kBand);

    // Into the same document: nothing to change.
    const ImportPlan same = planChirpImport(doc, csv, kBand);
    EXPECT_TRUE(same.errors.empty()) << describeRowError(same.errors.front());
    EXPECT_TRUE(same.changes.empty());

    // Into an empty document: every channel comes back with the same carried fields.
    RadioDocument empty;
    empty.Data.Options.FrequencyChangeable = 1;
    const ImportPlan plan = planChirpImport(empty, csv, kBand);
    ASSERT_TRUE(plan.errors.empty()) << describeRowError(plan.errors.front());
    EXPECT_EQ(empty.Data.ChannelCount, 0);  // planning changes nothing
    applyImportPlan(empty, plan);
    ASSERT_EQ(empty.Data.ChannelCount, doc.Data.ChannelCount);
    for (int i = 0; i < doc.Data.ChannelCount; ++i) {
        const ChannelRecord& original = doc.Channels[static_cast<std::size_t>(i)];
        const ChannelRecord* back = empty.findChannel(original.ChNo);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(carried(*back), carried(original)) << "channel " << original.ChNo;
    }
}

TEST(ChirpCsvRoundTrip, StoredValuesTheFormatCannotSayAreLeftAlone)
{
    RadioDocument doc;
    ChannelRecord& r = add(doc, 460, "02800000");
    r.EncodeTone = 300;  // outside the tone list
    r.DecodeTone = -1;
    r.ShiftDir = 7;  // no direction
    r.AmFm = 5;
    r.Spacing = 1;  // medium
    const ImportPlan plan = planChirpImport(doc, exportChirpCsv(doc, -1, kBand), kBand);
    EXPECT_TRUE(plan.errors.empty());
    EXPECT_TRUE(plan.changes.empty());
}

TEST(ChirpCsvExport, WritesTheLayoutAndOneGroupOnly)
{
    const RadioDocument doc = sampleDocument();
    const std::string csv = exportChirpCsv(doc, 9, kBand);
    EXPECT_EQ(csv.substr(0, kHeader.size()), kHeader);
    const CsvTable t = parseCsv(csv);
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[0].fields[0], "401");
    EXPECT_EQ(t.rows[0].fields[2], "27.000000");
    EXPECT_EQ(t.rows[0].fields[3], "+");
    EXPECT_EQ(t.rows[0].fields[4], "0.100000");
    EXPECT_EQ(t.rows[0].fields[5], "Tone");
    EXPECT_EQ(t.rows[0].fields[6], "100.0");
    EXPECT_EQ(t.rows[0].fields[7], "88.5");  // CHIRP's filler for an unused tone column
    EXPECT_EQ(t.rows[0].fields[14], "S");
    EXPECT_EQ(t.rows[0].fields[15], "Group 9");
    EXPECT_EQ(t.rows[1].fields[5], "DTCS");  // same code, other polarity
    EXPECT_EQ(t.rows[1].fields[8], "050");
    EXPECT_EQ(t.rows[1].fields[9], "NR");
    EXPECT_EQ(t.rows[1].fields[12], "NFM");
}

TEST(ChirpCsvExport, EveryRowPassesTheConversionsOfCurrentChirp)
{
    // Every tone combination, direction, modulation and flag, stored values the layout cannot
    // say, and a channel without a receive frequency.
    const int samples[] = {0, 1, 13, 50, 51, 60, 157, 158, 167, 264};
    RadioDocument doc;
    int chNo = 321;
    for (int enc : samples) {
        for (int dec : samples) {
            ChannelRecord& r = add(doc, chNo, "02800000");
            r.EncodeTone = static_cast<std::int16_t>(enc);
            r.DecodeTone = static_cast<std::int16_t>(dec);
            r.ShiftDir = static_cast<std::uint8_t>(chNo % 3);
            r.OffsetFre = "0010000";
            r.AmFm = static_cast<std::int16_t>(chNo % 2);
            r.Spacing = static_cast<std::int16_t>(chNo % 3);
            r.TxInhibit = chNo % 5 == 0 ? 1 : 0;
            r.ScanSkip = static_cast<std::int16_t>(chNo % 2);
            ++chNo;
        }
    }
    ChannelRecord& odd = add(doc, 430, "02612500");
    odd.EncodeTone = 300;
    odd.DecodeTone = -1;
    odd.ShiftDir = 7;
    odd.AmFm = 5;
    add(doc, 431, "");
    add(doc, 521, "02786000");

    std::vector<int> leftOut;
    const std::string csv = exportChirpCsv(doc, -1, kBand, &leftOut);
    EXPECT_EQ(parseCsv(csv).rows.size(), 102u);
    EXPECT_EQ(leftOut, std::vector<int>{431});
    const auto refusals = testutil::chirpRefusals(csv);
    EXPECT_TRUE(refusals.empty()) << refusals.size() << " rows refused, first " << refusals.front();

    // Channels of random bytes, as a damaged or foreign data file may hold them.
    std::mt19937 random(20);
    for (int round = 0; round < 20; ++round) {
        RadioDocument noise;
        noise.Data.ChannelCount = 0;
        for (int n = 1; n <= 521; n += 13) {
            ChannelFileBytes bytes;
            for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
            ChannelRecord r = channelFromBytes(bytes);
            r.ChNo = static_cast<std::int16_t>(n);
            if (round % 2 == 0) r.RxFre = "0" + std::to_string(2600000 + 500 * (n % 100));
            noise.Channels[static_cast<std::size_t>(noise.Data.ChannelCount++)] = r;
        }
        const auto noisy = testutil::chirpRefusals(exportChirpCsv(noise, -1, kBand));
        EXPECT_TRUE(noisy.empty()) << "round " << round << ": " << noisy.front();
    }
}

TEST(ChirpCsvTones, EveryToneAndCrossModeCombinationRoundTrips)
{
    // No tone, two CTCSS tones, DCS codes normal and inverted (same code and others).
    const int samples[] = {0, 1, 13, 50, 51, 60, 157, 158, 167, 264};
    std::set<std::string> modes;
    for (int enc : samples) {
        for (int dec : samples) {
            RadioDocument doc;
            ChannelRecord& r = add(doc, 450, "02800000");
            r.EncodeTone = static_cast<std::int16_t>(enc);
            r.DecodeTone = static_cast<std::int16_t>(dec);
            const std::string csv = exportChirpCsv(doc, -1, kBand);
            const CsvTable t = parseCsv(csv);
            modes.insert(t.rows[0].fields[5] + " " + t.rows[0].fields[11]);

            RadioDocument target;
            add(target, 450, "02800000");
            const ImportPlan plan = planChirpImport(target, csv, kBand);
            ASSERT_TRUE(plan.errors.empty())
                << enc << "/" << dec << ": " << describeRowError(plan.errors.front());
            const ChannelRecord& after =
                plan.changes.empty() ? *target.findChannel(450) : plan.changes[0].after;
            EXPECT_EQ(after.EncodeTone, enc);
            EXPECT_EQ(after.DecodeTone, dec);
        }
    }
    const std::set<std::string> expected{" Tone->Tone",      "Tone Tone->Tone",  "TSQL Tone->Tone",
                                         "DTCS Tone->Tone",  "Cross Tone->Tone", "Cross Tone->DTCS",
                                         "Cross DTCS->Tone", "Cross DTCS->",     "Cross ->Tone",
                                         "Cross ->DTCS",     "Cross DTCS->DTCS"};
    EXPECT_EQ(modes, expected);
}

TEST(ChirpCsvTones, CrossToneWithoutReceivePartIsAccepted)
{
    RadioDocument doc;
    add(doc, 450, "02800000");
    const ImportPlan plan = planChirpImport(
        doc, "Location,Frequency,Tone,CrossMode,rToneFreq\n450,28.0,Cross,Tone->,88.5\n", kBand);
    ASSERT_EQ(plan.changes.size(), 1u);
    EXPECT_EQ(toneText(plan.changes[0].after.EncodeTone), "88.5");
    EXPECT_EQ(plan.changes[0].after.DecodeTone, 0);
}

TEST(ChirpCsvImport, HandWrittenFileWithOtherColumnOrderAndMissingColumns)
{
    RadioDocument doc;
    ChannelRecord& kept = add(doc, 410, "02700000");
    kept.EncodeTone = 5;
    kept.Whisper = 1;  // not carried by the layout: must survive
    kept.ScanSkip = 1;
    const std::string csv =
        "\xEF\xBB\xBF"
        "\"Comment\",Tone,\"Frequency\",Location,cToneFreq\r\n"
        "\"Group 9, mine\",TSQL,27.00500,410,\"100.0\"\r\n"
        "new one,,\"29.1\",411,\r\n"
        ",,,,\r\n"
        ", ,,,\r\n";
    const ImportPlan plan = planChirpImport(doc, csv, kBand);
    ASSERT_TRUE(plan.errors.empty()) << describeRowError(plan.errors.front());
    ASSERT_EQ(plan.changes.size(), 2u);
    EXPECT_EQ(plan.changes[0].line, 2);
    EXPECT_FALSE(plan.changes[0].created);
    const ChannelRecord& a = plan.changes[0].after;
    EXPECT_EQ(a.RxFre.cut(), "02700500");
    EXPECT_EQ(toneText(a.EncodeTone), "100.0");
    EXPECT_EQ(a.DecodeTone, a.EncodeTone);
    EXPECT_EQ(a.Whisper, 1);
    EXPECT_EQ(a.ScanSkip, 1);  // no Skip column: kept
    EXPECT_TRUE(plan.changes[1].created);
    EXPECT_EQ(plan.changes[1].after.RxFre.cut(), "02910000");

    // Nothing happened to the document; applying the plan does it.
    EXPECT_EQ(doc.Data.ChannelCount, 1);
    applyImportPlan(doc, plan);
    EXPECT_EQ(doc.Data.ChannelCount, 2);
    EXPECT_EQ(doc.findChannel(410)->RxFre.cut(), "02700500");
    EXPECT_EQ(doc.findChannel(411)->RxFre.cut(), "02910000");
}

TEST(ChirpCsvImport, LinesAsCurrentChirpWritesThem)
{
    const std::string csv =
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
        "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n"
        "401,,26.965000,,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,AM,5.00,,4.0W,,,,,\n"
        "402,,27.185000,,0.600000,Tone,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,4.0W,,,,,\n"
        "403,,29.600000,-,0.100000,TSQL,100.0,100.0,023,NN,023,Tone->Tone,FM,5.00,,4.0W,,,,,\n"
        "404,,28.000000,,0.600000,DTCS,88.5,88.5,023,NR,023,Tone->Tone,NFM,5.00,,4.0W,,,,,\n"
        "405,,29.620000,,0.600000,Cross,67.0,88.5,023,NN,754,Tone->DTCS,FM,5.00,S,4.0W,,,,,\n"
        "406,,27.405000,off,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,AM,5.00,,4.0W,,,,,\n";
    RadioDocument doc;
    const ImportPlan plan = planChirpImport(doc, csv, kBand);
    ASSERT_TRUE(plan.errors.empty()) << describeRowError(plan.errors.front());
    applyImportPlan(doc, plan);
    ASSERT_EQ(doc.Data.ChannelCount, 6);
    auto ch = [&](int n) { return *doc.findChannel(n); };
    // The Offset of a simplex row is CHIRP's filler: no offset is stored.
    for (int n : {401, 402, 404, 405, 406}) {
        EXPECT_EQ(ch(n).ShiftDir, 0) << n;
        EXPECT_EQ(ch(n).OffsetFre.cut(), "") << n;
    }
    EXPECT_EQ(ch(401).RxFre.cut(), "02696500");
    EXPECT_EQ(ch(401).AmFm, 0);
    EXPECT_EQ(toneText(ch(402).EncodeTone), "88.5");
    EXPECT_EQ(ch(402).DecodeTone, 0);
    EXPECT_EQ(ch(403).ShiftDir, 1);
    EXPECT_EQ(ch(403).OffsetFre.cut(), "0010000");
    EXPECT_EQ(toneText(ch(403).EncodeTone), "100.0");
    EXPECT_EQ(ch(403).DecodeTone, ch(403).EncodeTone);
    EXPECT_EQ(toneText(ch(404).EncodeTone), "D023N");
    EXPECT_EQ(toneText(ch(404).DecodeTone), "D023I");
    EXPECT_EQ(ch(404).Spacing, 2);
    EXPECT_EQ(toneText(ch(405).EncodeTone), "67.0");
    EXPECT_EQ(toneText(ch(405).DecodeTone), "D754N");
    EXPECT_EQ(ch(405).ScanSkip, 1);
    EXPECT_EQ(ch(406).TxInhibit, 1);
    EXPECT_EQ(ch(406).AmFm, 0);

    // A simplex row leaves a stored offset alone.
    RadioDocument shifted;
    ChannelRecord& r = add(shifted, 401, "02696500");
    r.OffsetFre = "0010000";
    const ImportPlan same = planChirpImport(
        shifted, "Location,Frequency,Duplex,Offset\n401,26.965000,,0.600000\n", kBand);
    EXPECT_TRUE(same.errors.empty());
    EXPECT_TRUE(same.changes.empty());
}

TEST(ChirpCsvImport, CrossRowWithoutCrossModeColumnSaysTheColumnIsMissing)
{
    RadioDocument doc;
    const ImportPlan plan = planChirpImport(
        doc, "Location,Frequency,Tone,rToneFreq,cToneFreq\n450,28.0,Cross,88.5,100.0\n", kBand);
    ASSERT_EQ(plan.errors.size(), 1u);
    EXPECT_EQ(plan.errors[0].problem, RowProblem::MissingColumn);
    EXPECT_EQ(plan.errors[0].column, "CrossMode");
    EXPECT_FALSE(plan.fileRejected);
    EXPECT_EQ(describeRowError(plan.errors[0]),
              "line 2: channel 450: CrossMode: column missing from the header");
}

TEST(ChirpCsvImport, SplitDuplexGivesTheTransmitFrequency)
{
    RadioDocument doc;
    add(doc, 420, "02700000");
    const ImportPlan plan = planChirpImport(
        doc, "Location,Frequency,Duplex,Offset\n420,27.000000,split,26.500000\n", kBand);
    ASSERT_EQ(plan.changes.size(), 1u);
    EXPECT_EQ(plan.changes[0].after.ShiftDir, 1);
    EXPECT_EQ(plan.changes[0].after.OffsetFre.cut(), "0050000");
}

struct ErrorCase {
    const char* row;
    RowProblem problem;
    const char* column;
};

TEST(ChirpCsvImport, EveryRowErrorIsListedWithItsLineAndNothingIsAltered)
{
    RadioDocument doc;
    add(doc, 10, "02600000");  // group 0: fixed frequencies
    add(doc, 430, "02700000");
    const ErrorCase cases[] = {
        {"abc,27.0,,,,", RowProblem::BadLocation, "Location"},
        {"522,27.0,,,,", RowProblem::BadLocation, "Location"},
        {"430,27.0,,,,", RowProblem::DuplicateLocation, "Location"},
        {"431,twenty,,,,", RowProblem::BadNumber, "Frequency"},
        {"432,31.0,,,,", RowProblem::OutOfBand, "Frequency"},
        {"433,27.0025,,,,", RowProblem::OffRaster, "Frequency"},
        {"434,27.0000001,,,,", RowProblem::OffRaster, "Frequency"},
        {"435,27.0,Tone,,,", RowProblem::BadTone, "rToneFreq"},
        {"436,27.0,Tone,88.6,,", RowProblem::BadTone, "rToneFreq"},
        {"437,27.0,DTCS,,018,", RowProblem::BadTone, "DtcsCode"},
        {"438,27.0,Beep,,,", RowProblem::BadTone, "Tone"},
        {"439,27.0,,,,WFM", RowProblem::BadValue, "Mode"},
        {"10,26.5,,,,", RowProblem::LockedGroup, "Frequency"},
        {"11,26.5,,,,", RowProblem::LockedGroup, "Frequency"},
    };
    std::string csv = "Location,Frequency,Tone,rToneFreq,DtcsCode,Mode\n430,27.01,,,,\n";
    for (const ErrorCase& c : cases) csv += std::string(c.row) + "\n";
    const ImportPlan plan = planChirpImport(doc, csv, kBand);
    ASSERT_EQ(plan.errors.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].row);
        EXPECT_EQ(plan.errors[i].line, static_cast<int>(i) + 3);
        EXPECT_EQ(plan.errors[i].problem, cases[i].problem);
        EXPECT_EQ(plan.errors[i].column, cases[i].column);
    }
    // Only the good first row is planned.
    ASSERT_EQ(plan.changes.size(), 1u);
    EXPECT_EQ(plan.changes[0].after.ChNo, 430);
    EXPECT_EQ(describeRowError(plan.errors[4]),
              "line 7: channel 432: Frequency \"31.0\": outside the band");
}

TEST(ChirpCsvImport, OffsetErrorsAndTransmitOutsideTheBand)
{
    RadioDocument doc;
    add(doc, 440, "03010000");
    const ImportPlan plan = planChirpImport(doc,
                                            "Location,Frequency,Duplex,Offset\n"
                                            "440,30.1,+,0.1\n"
                                            "441,27.0,sideways,0.1\n"
                                            "442,27.0,-,-0.5\n"
                                            "443,27.0,split,x\n",
                                            kBand);
    ASSERT_EQ(plan.errors.size(), 4u);
    EXPECT_EQ(plan.errors[0].problem, RowProblem::OutOfBand);
    EXPECT_EQ(plan.errors[1].problem, RowProblem::BadValue);
    EXPECT_EQ(plan.errors[2].problem, RowProblem::BadNumber);
    EXPECT_EQ(plan.errors[3].problem, RowProblem::BadNumber);
    EXPECT_TRUE(plan.changes.empty());
}

TEST(ChirpCsvImport, FilesThatCannotBeReadAreRejectedWhole)
{
    RadioDocument doc;
    const ImportPlan noFrequency = planChirpImport(doc, "Location,Name\n1,x\n", kBand);
    EXPECT_TRUE(noFrequency.fileRejected);
    ASSERT_EQ(noFrequency.errors.size(), 1u);
    EXPECT_EQ(noFrequency.errors[0].problem, RowProblem::MissingColumn);
    const ImportPlan open = planChirpImport(doc, "Location,Frequency\n401,\"27.0\n", kBand);
    EXPECT_TRUE(open.fileRejected);
    EXPECT_EQ(open.errors[0].line, 2);
    EXPECT_TRUE(open.changes.empty());
}

TEST(ChirpCsvImport, FilesThatAreNoCommaSeparatedTextSayWhy)
{
    const std::string utf16le("\xFF\xFEL\0o\0c\0,\0", 10);
    const std::string utf16noMark("L\0o\0c\0a\0", 8);
    const std::string binary(
        "\x7F"
        "ELF\x02\x01\x01\0\0\0",
        10);
    const struct {
        std::string text;
        RowProblem problem;
    } cases[] = {
        {"", RowProblem::EmptyFile},
        {"\xEF\xBB\xBF \r\n\n", RowProblem::EmptyFile},
        {utf16le, RowProblem::Utf16Text},
        {utf16noMark, RowProblem::Utf16Text},
        {binary, RowProblem::NotText},
        {"Location,Frequency\r401,27.0\r", RowProblem::CarriageReturnOnly},
        {"Location;Frequency\n401;27,0\n", RowProblem::Semicolons},
    };
    RadioDocument doc;
    for (const auto& c : cases) {
        for (const ImportPlan& plan : {planChirpImport(doc, c.text, kBand),
                                       planChirpImportIntoGroup(doc, c.text, kBand, 9)}) {
            EXPECT_TRUE(plan.fileRejected);
            ASSERT_EQ(plan.errors.size(), 1u);
            EXPECT_EQ(plan.errors[0].problem, c.problem) << describeRowError(plan.errors[0]);
        }
    }
}

TEST(ChirpCsvImport, RefusedRowsAreCountedOnceEach)
{
    RadioDocument doc;
    const ImportPlan plan = planChirpImport(
        doc, "Location,Frequency,Mode,Skip\n450,31.0,XX,Q\n451,28.0,AM,\n452,x,,Y\n", kBand);
    EXPECT_EQ(plan.errors.size(), 5u);
    EXPECT_EQ(refusedRowCount(plan.errors), 2);
}

}  // namespace
}  // namespace zt
