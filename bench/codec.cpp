// Encode and decode of a full document (521 channels) against a plain copy of
// the 9280-byte image as the baseline.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

#include "core/radio/channel_edit.h"
#include "core/radio/image_codec.h"
#include "core/radio/initial_values.h"

namespace {

zt::RadioDocument fullDocument(const zt::ProgramState& state)
{
    zt::RadioDocument doc;
    zt::applyNewDocumentDefaults(doc, state);
    doc.Data.ChannelCount = 0;
    for (int ch = 1; ch <= zt::kMaxChannels; ++ch) {
        char rx[16];
        std::snprintf(rx, sizeof rx, "%08d", 2561500 + 500 * (ch % 898));
        zt::ChannelRecord& c = zt::newChannel(doc, ch, rx);
        c.DecodeTone = static_cast<std::int16_t>(ch % 265);
        c.EncodeTone = static_cast<std::int16_t>((ch * 7) % 265);
        c.ScanSkip = static_cast<std::int16_t>(ch % 2);
        c.RBTone = static_cast<std::int16_t>(ch % 9);
        c.BusyChannelLock = static_cast<std::int16_t>(ch % 3);
    }
    for (auto& code : doc.Data.Dtmf.Memory) code = {8, zt::FixedText<16>("1234*#AB")};
    return doc;
}

void BM_CopyImageBaseline(benchmark::State& st)
{
    zt::RadioImage from;
    from.clear();
    zt::RadioImage to;
    for (auto _ : st) {
        std::memcpy(to.bytes.data(), from.bytes.data(), zt::kImageSize);
        benchmark::DoNotOptimize(to.bytes.data());
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations()) * zt::kImageSize);
}
BENCHMARK(BM_CopyImageBaseline);

void BM_EncodeFullDocument(benchmark::State& st)
{
    const zt::ProgramState state;
    zt::RadioDocument doc = fullDocument(state);
    zt::RadioImage image;
    for (auto _ : st) {
        image.clear();  // as a write transfer does
        zt::encodeDocument(doc, state, image);
        benchmark::DoNotOptimize(image.bytes.data());
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations()) * zt::kImageSize);
}
BENCHMARK(BM_EncodeFullDocument);

void BM_DecodeFullImage(benchmark::State& st)
{
    zt::ProgramState state;
    zt::RadioDocument doc = fullDocument(state);
    zt::RadioImage image;
    image.clear();
    zt::encodeDocument(doc, state, image);
    zt::RadioDocument out;
    for (auto _ : st) {
        zt::decodeImage(image, out, state);
        benchmark::DoNotOptimize(&out);
        benchmark::ClobberMemory();
    }
    st.SetBytesProcessed(static_cast<std::int64_t>(st.iterations()) * zt::kImageSize);
}
BENCHMARK(BM_DecodeFullImage);

}  // namespace

BENCHMARK_MAIN();
