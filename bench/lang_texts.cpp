// GetLangText through the cache against reading the language file on every
// lookup, 1,000 lookups per iteration on a language file of a realistic size.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/files/language.h"

namespace {

struct LanguageFolder {
    std::filesystem::path dir;
    std::vector<int> ids;

    LanguageFolder()
    {
        dir = std::filesystem::temp_directory_path() /
              ("zt_bench_lang_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir);
        // About 450 texts in the sections windows use, with captions, list
        // entries and longer messages, as a real language file holds.
        const std::vector<std::pair<int, int>> ranges = {
            {8000, 8010},   {9001, 9065},   {10000, 10040}, {11000, 11007}, {12000, 12015},
            {13000, 13002}, {14001, 14053}, {15000, 15060}, {16000, 16060}, {18000, 18045},
            {21000, 21016}, {22000, 22002}, {23000, 23003}, {24000, 24005}, {29000, 29030},
            {29100, 29113}, {30000, 30011}, {31000, 31003}};
        std::ofstream out(dir / "english.ini", std::ios::binary);
        std::string current;
        for (const auto& [first, last] : ranges) {
            const std::string section(zt::languageSectionOf(first));
            if (section != current) {
                out << "\r\n[" << section << "]\r\n";
                current = section;
            }
            for (int id = first; id <= last; ++id) {
                out << id << "=";
                if (id >= 9000 && id < 10000) {
                    out << "The operation could not be completed. Please check the cable, the "
                           "port setting and the radio, then try again ("
                        << id << ").";
                } else {
                    out << "Caption text " << id;
                }
                out << "\r\n";
                ids.push_back(id);
            }
        }
    }
    ~LanguageFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

const LanguageFolder& folder()
{
    static const LanguageFolder f;
    return f;
}

constexpr int kLookups = 1000;

void BM_GetLangTextCached(benchmark::State& state)
{
    const auto& f = folder();
    const zt::LanguageTexts texts(f.dir, zt::kLanguageEnglish);
    for (auto _ : state) {
        for (int i = 0; i < kLookups; ++i) {
            benchmark::DoNotOptimize(
                texts.GetLangText(f.ids[static_cast<std::size_t>(i) % f.ids.size()]));
        }
    }
    state.SetItemsProcessed(state.iterations() * kLookups);
}
BENCHMARK(BM_GetLangTextCached)->Unit(benchmark::kMillisecond);

void BM_GetLangTextReadingTheFile(benchmark::State& state)
{
    const auto& f = folder();
    const auto file = f.dir / "english.ini";
    for (auto _ : state) {
        for (int i = 0; i < kLookups; ++i) {
            benchmark::DoNotOptimize(
                zt::readLangTextFromFile(file, f.ids[static_cast<std::size_t>(i) % f.ids.size()]));
        }
    }
    state.SetItemsProcessed(state.iterations() * kLookups);
}
BENCHMARK(BM_GetLangTextReadingTheFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
