// The backups window with 1,000 snapshots of one radio: opening it (listing the headers and
// filling the table) and working out every difference to the open document, against reading
// one snapshot file whole as the baseline.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <fstream>

#include "core/history/snapshot_store.h"
#include "core/radio/channel_edit.h"
#include "gui/app_context.h"
#include "gui/history/backups_dialog.h"

namespace {

namespace fs = std::filesystem;

class FixedClock final : public zt::WallClock {
  public:
    std::int64_t secondsSinceEpoch() const override { return 1000000000; }
};

struct Folder {
    QTemporaryDir dir;
    fs::path root;
    fs::path first;
    Folder()
    {
        root = fs::path(dir.path().toStdString()) / "radios";
        const fs::path folder = root / "ZT-958FM_band0_V300";
        fs::create_directories(folder);
        zt::RadioDocument doc;
        for (int ch = 1; ch <= zt::kMaxChannels; ++ch) zt::newChannel(doc, ch, "02761000");
        for (int i = 0; i < 1000; ++i) {
            zt::Snapshot s;
            s.time = 1000000000 + i;
            s.image.assign(9280, 0xFF);
            s.document = doc;
            const std::vector<std::uint8_t> bytes = zt::snapshotFileBytes(s);
            const fs::path file = folder / ("s" + std::to_string(10000 + i) + ".snapshot");
            if (i == 0) first = file;
            std::ofstream(file, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        }
    }
};

Folder& folder()
{
    static Folder f;
    return f;
}

void BM_LoadOneSnapshotBaseline(benchmark::State& st)
{
    for (auto _ : st) benchmark::DoNotOptimize(zt::SnapshotStore::load(folder().first));
}
BENCHMARK(BM_LoadOneSnapshotBaseline)->Unit(benchmark::kMillisecond);

void BM_OpenBackupsWindow1000(benchmark::State& st)
{
    zt::gui::AppContext app;
    FixedClock clock;
    zt::SnapshotStore store(folder().root, clock);
    for (auto _ : st) {
        zt::gui::BackupsDialog dialog(app, store);
        benchmark::DoNotOptimize(dialog.pendingDifferences());
    }
}
BENCHMARK(BM_OpenBackupsWindow1000)->Unit(benchmark::kMillisecond);

void BM_AllDifferences1000(benchmark::State& st)
{
    zt::gui::AppContext app;
    FixedClock clock;
    zt::SnapshotStore store(folder().root, clock);
    for (auto _ : st) {
        zt::gui::BackupsDialog dialog(app, store);
        dialog.fillDifferences(1000);
    }
}
BENCHMARK(BM_AllDifferences1000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    folder();  // the 1,000 files are written before anything is timed
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
