// The channel grid with the whole channel in view (a column for every stored field) against
// today's grid (its own columns), measured in the same run on a document whose 521 channel
// positions are all filled: opening the grid window, and switching it to the 80-row group 1
// and painting it. Compare each run whose first argument is 1 (whole channel) to the one with
// 0 (the grid's own columns).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "core/radio/channel_edit.h"
#include "full_document.h"
#include "gui/app_context.h"
#include "gui/channels/channel_grid_menu.h"
#include "gui/channels/channel_grid_view.h"
#include "gui/channels/channel_grid_window.h"
#include "gui/prompt/scripted_prompt_service.h"

namespace {

using namespace zt;
using namespace zt::gui;

struct FullDocument {
    ScriptedPromptService prompt;
    AppContext app;
    QTemporaryDir dir;
    FullDocument()
    {
        app.prompt = &prompt;
        RadioDocument& doc = app.documents.working();
        fillFullDocument(doc);
        for (int i = 0; i < doc.Data.ChannelCount; ++i) {
            ChannelRecord& rec = doc.Channels[static_cast<std::size_t>(i)];
            const int ch = rec.ChNo;
            rec.BusyChannelLock = static_cast<std::int16_t>(ch % 3);
            rec.RBTone = static_cast<std::int16_t>(ch % 9);
            rec.BotCode = static_cast<std::int16_t>(ch % 17);
            rec.HiCut = static_cast<std::int16_t>(ch % 2);
        }
        // The view option lives in a file of the run's own, not in the user's store.
        const QString file = dir.filePath("user.ini");
        ChannelGridViewOption::instance().setStore(
            [file] { return UserSettingsStore::inFile(file); });
    }
};

FullDocument& document()
{
    static FullDocument d;
    return d;
}

void setWholeChannel(const benchmark::State& state)
{
    ChannelGridViewOption::instance().setWholeChannel(state.range(0) != 0);
}

// Opening the grid window on group 1 (80 rows) until it is shown and painted once.
void BM_OpenGrid(benchmark::State& state)
{
    FullDocument& d = document();
    setWholeChannel(state);
    d.app.documents.working().Data.Options.CurrentGroup = 1;
    for (auto _ : state) {
        auto grid = std::make_unique<ChannelGridWindow>(d.app);
        grid->show();
        benchmark::DoNotOptimize(grid->grab());
        state.PauseTiming();
        grid.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenGrid)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Switching the open grid from group 11 (40 rows) to group 1 (80 rows) and painting it. The
// second argument 1 widens the window until every column is on screen (and painted).
void BM_SwitchGroupAndPaint(benchmark::State& state)
{
    FullDocument& d = document();
    setWholeChannel(state);
    d.app.documents.working().Data.Options.CurrentGroup = 11;
    auto grid = std::make_unique<ChannelGridWindow>(d.app);
    grid->show();
    if (state.range(1) != 0)
        grid->resize(grid->grid()->horizontalHeader()->length() + 100, grid->height());
    QApplication::processEvents();
    auto* groups = grid->findChild<QComboBox*>("Combo7");
    for (auto _ : state) {
        state.PauseTiming();
        groups->setCurrentIndex(11);
        QApplication::processEvents();
        state.ResumeTiming();
        groups->setCurrentIndex(1);
        benchmark::DoNotOptimize(grid->grab());
    }
}
BENCHMARK(BM_SwitchGroupAndPaint)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ChannelGridViewOption::instance().setStore(nullptr);
    return 0;
}
