// Open and save of a full 521-channel document, against plain reads and
// writes of the same number of bytes (1663 + 521 * 90) in the same folder.
// Run: build/<dir>/bench/bench_datafile

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/files/document_store.h"

namespace {

using namespace zt;
namespace fs = std::filesystem;

class QuietPrompt : public Prompt {
  public:
    Answer ask(const Message&) override { return Answer::Ok; }
};

struct Fixture {
    fs::path dir;
    ProgramState state;
    QuietPrompt prompt;
    InstallPaths paths;
    VersionTable versions;
    DocumentStore store;

    Fixture()
    {
        std::random_device rd;
        dir = fs::temp_directory_path() / ("zt-bench-datafile-" + std::to_string(rd()));
        fs::create_directories(dir);
        paths.programDir = dir / "V300";
        versions.pairs = {{"V300", "V300"}};
        RadioDocument& doc = store.working();
        doc.Data.Version = "V300";
        doc.Data.ModelName = "ZT-958FM";
        doc.Data.ChannelCount = kMaxChannels;
        for (int i = 0; i < kMaxChannels; ++i) {
            auto& ch = doc.Channels[static_cast<std::size_t>(i)];
            ch.ChNo = static_cast<std::int16_t>(i + 1);
            ch.RxFre = "02696500";
            ch.OffsetFre = std::string(7, '\0');
            ch.DecodeTone = static_cast<std::int16_t>(i % 265);
        }
    }
    ~Fixture()
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    DocumentContext context()
    {
        return DocumentContext{state,   prompt,     paths,   versions,
                               nullptr, "ZTP958FM", nullptr, nullptr};
    }
};

constexpr std::size_t kPairBytes = kRadioDataFileSize + kMaxChannels * kChannelFileRecordSize;

void rawWrite(const fs::path& p, const std::vector<char>& bytes, std::size_t from, std::size_t n)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data() + from, static_cast<std::streamsize>(n));
}

void BM_BaselineRawWrite(benchmark::State& s)
{
    Fixture f;
    const std::vector<char> bytes(kPairBytes, 'x');
    for (auto _ : s) {
        rawWrite(f.dir / "raw.dat", bytes, 0, kRadioDataFileSize);
        rawWrite(f.dir / "raw.fre", bytes, kRadioDataFileSize, kPairBytes - kRadioDataFileSize);
    }
    s.SetBytesProcessed(static_cast<std::int64_t>(s.iterations() * kPairBytes));
}
BENCHMARK(BM_BaselineRawWrite);

void BM_SaveFullDocument(benchmark::State& s)
{
    Fixture f;
    auto ctx = f.context();
    for (auto _ : s) {
        if (!f.store.Save(f.dir / "doc.dat", ctx)) s.SkipWithError("save failed");
    }
    s.SetBytesProcessed(static_cast<std::int64_t>(s.iterations() * kPairBytes));
}
BENCHMARK(BM_SaveFullDocument);

void BM_BaselineRawRead(benchmark::State& s)
{
    Fixture f;
    const std::vector<char> bytes(kPairBytes, 'x');
    rawWrite(f.dir / "raw.dat", bytes, 0, kRadioDataFileSize);
    rawWrite(f.dir / "raw.fre", bytes, kRadioDataFileSize, kPairBytes - kRadioDataFileSize);
    std::vector<char> in(kPairBytes);
    for (auto _ : s) {
        std::ifstream a(f.dir / "raw.dat", std::ios::binary);
        a.read(in.data(), static_cast<std::streamsize>(kRadioDataFileSize));
        std::ifstream b(f.dir / "raw.fre", std::ios::binary);
        b.read(in.data() + kRadioDataFileSize,
               static_cast<std::streamsize>(kPairBytes - kRadioDataFileSize));
        benchmark::DoNotOptimize(in.data());
    }
    s.SetBytesProcessed(static_cast<std::int64_t>(s.iterations() * kPairBytes));
}
BENCHMARK(BM_BaselineRawRead);

void BM_OpenFullDocument(benchmark::State& s)
{
    Fixture f;
    auto ctx = f.context();
    if (!f.store.Save(f.dir / "doc.dat", ctx)) s.SkipWithError("save failed");
    for (auto _ : s) {
        if (f.store.Open(f.dir / "doc.dat", ctx) != OpenResult::Opened)
            s.SkipWithError("open failed");
    }
    s.SetBytesProcessed(static_cast<std::int64_t>(s.iterations() * kPairBytes));
}
BENCHMARK(BM_OpenFullDocument);

void BM_IsModifiedFullDocument(benchmark::State& s)
{
    Fixture f;
    auto ctx = f.context();
    if (!f.store.Save(f.dir / "doc.dat", ctx)) s.SkipWithError("save failed");
    for (auto _ : s) benchmark::DoNotOptimize(f.store.IsModified());
}
BENCHMARK(BM_IsModifiedFullDocument);

}  // namespace

BENCHMARK_MAIN();
