// Comparison of two full documents (521 channels, every channel and every setting
// different) and of two equal ones, against decoding one full image as the baseline; the
// lines of the full comparison in the fixed English and in the words of chinese.ini (as the
// windows word them).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "core/files/language.h"
#include "core/interop/document_compare.h"
#include "core/radio/channel_edit.h"
#include "core/radio/image_codec.h"
#include "core/radio/initial_values.h"

namespace {

zt::RadioDocument fullDocument(const zt::ProgramState& state, int shift)
{
    zt::RadioDocument doc;
    zt::applyNewDocumentDefaults(doc, state);
    doc.Data.ChannelCount = 0;
    for (int ch = 1; ch <= zt::kMaxChannels; ++ch) {
        char rx[16];
        std::snprintf(rx, sizeof rx, "%08d", 2561500 + 500 * ((ch + shift) % 898));
        zt::ChannelRecord& c = zt::newChannel(doc, ch, rx);
        c.DecodeTone = static_cast<std::int16_t>((ch + shift) % 265);
        c.EncodeTone = static_cast<std::int16_t>((ch * 7 + shift) % 265);
        c.ScanSkip = static_cast<std::int16_t>((ch + shift) % 2);
        c.RBTone = static_cast<std::int16_t>((ch + shift) % 9);
        c.BusyChannelLock = static_cast<std::int16_t>((ch + shift) % 3);
    }
    for (auto& code : doc.Data.Dtmf.Memory)
        code = {8, zt::FixedText<16>(shift == 0 ? "1234*#AB" : "4321*#BA")};
    doc.Data.Options.SquelchLevel = static_cast<std::int16_t>(shift);
    doc.Data.Messages[0] = shift == 0 ? "HELLO" : "WORLD";
    return doc;
}

void BM_DecodeImageBaseline(benchmark::State& st)
{
    zt::ProgramState state;
    zt::RadioImage image;
    image.clear();
    zt::RadioDocument doc = fullDocument(state, 0);
    zt::encodeDocument(doc, state, image);
    for (auto _ : st) {
        zt::RadioDocument out;
        zt::decodeImage(image, out, state);
        benchmark::DoNotOptimize(out.Data.ChannelCount);
    }
}
BENCHMARK(BM_DecodeImageBaseline);

void BM_CompareFullyDifferentDocuments(benchmark::State& st)
{
    const zt::ProgramState state;
    const zt::RadioDocument a = fullDocument(state, 0);
    const zt::RadioDocument b = fullDocument(state, 1);
    std::size_t lines = 0;
    for (auto _ : st) {
        const zt::DocumentComparison c = zt::compareDocuments(a, b, state.Limits);
        lines = zt::describeComparison(c).size();
        benchmark::DoNotOptimize(lines);
    }
    st.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_CompareFullyDifferentDocuments);

void BM_CompareEqualDocuments(benchmark::State& st)
{
    const zt::ProgramState state;
    const zt::RadioDocument a = fullDocument(state, 0);
    const zt::RadioDocument b = fullDocument(state, 0);
    for (auto _ : st) {
        const zt::DocumentComparison c = zt::compareDocuments(a, b, state.Limits);
        benchmark::DoNotOptimize(c.channels.data());
    }
}
BENCHMARK(BM_CompareEqualDocuments);

void describeFullComparison(benchmark::State& st, int language)
{
    const zt::ProgramState state;
    const zt::DocumentComparison c =
        zt::compareDocuments(fullDocument(state, 0), fullDocument(state, 1), state.Limits);
    // The language files of this source tree.
    const zt::LanguageTexts texts(
        std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / "language",
        language);
    for (auto _ : st) {
        const zt::ComparisonWords words =
            language == 0 ? zt::ComparisonWords() : zt::ComparisonWords(texts.lookup());
        benchmark::DoNotOptimize(zt::describeComparison(c, words).size());
    }
}

void BM_DescribeInFixedEnglish(benchmark::State& st)
{
    describeFullComparison(st, 0);
}
BENCHMARK(BM_DescribeInFixedEnglish);

void BM_DescribeInChineseFromTheLanguageFile(benchmark::State& st)
{
    describeFullComparison(st, zt::kLanguageChinese);
}
BENCHMARK(BM_DescribeInChineseFromTheLanguageFile);

}  // namespace

BENCHMARK_MAIN();
