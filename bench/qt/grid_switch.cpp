// Group switch of the channel grid: showing the 80-row group 1 of a document whose 521
// channel positions are all filled, against two baselines measured in the same run: the cell
// texts of those rows computed without any window, and a plain table widget given the same
// 80 x 11 texts.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QTableWidget>
#include <memory>
#include <string>

#include "core/edit/channel_grid_rules.h"
#include "core/radio/channel_edit.h"
#include "full_document.h"
#include "gui/app_context.h"
#include "gui/channels/channel_grid_window.h"
#include "gui/prompt/scripted_prompt_service.h"

namespace {

using namespace zt;
using namespace zt::gui;

struct FullDocument {
    ScriptedPromptService prompt;
    AppContext app;
    FullDocument()
    {
        app.prompt = &prompt;
        RadioDocument& doc = app.documents.working();
        fillFullDocument(doc);
    }
};

FullDocument& document()
{
    static FullDocument d;
    return d;
}

// Baseline 1: the texts of group 1's rows straight from the document.
void BM_Baseline_CoreCellTexts(benchmark::State& state)
{
    FullDocument& d = document();
    const RadioDocument& doc = d.app.documents.working();
    for (auto _ : state) {
        std::size_t chars = 0;
        for (int i = 0; i < doc.Data.ChannelCount; ++i)
            if (rowInGroup(doc.Channels[i], 1) > 0)
                chars += rxCellText(doc.Channels[i], d.app.state.Limits).size() +
                         txCellText(doc.Channels[i]).size();
        benchmark::DoNotOptimize(chars);
    }
}
BENCHMARK(BM_Baseline_CoreCellTexts)->Unit(benchmark::kMicrosecond);

// Baseline 2: a plain table widget of 80 x 11 cells given fixed texts.
void BM_Baseline_PlainTableFill(benchmark::State& state)
{
    QTableWidget table(80, kGridColumns);
    for (int r = 0; r < 80; ++r)
        for (int c = 0; c < kGridColumns; ++c) table.setItem(r, c, new QTableWidgetItem);
    table.resize(420, 600);
    table.show();
    int n = 0;
    for (auto _ : state) {
        const QString text = QString::number(++n % 2 ? 27.5 : 28.5, 'f', 5);
        for (int r = 0; r < 80; ++r)
            for (int c = 0; c < kGridColumns; ++c) table.item(r, c)->setText(text);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_Baseline_PlainTableFill)->Unit(benchmark::kMicrosecond);

// The grid showing group 1 (80 rows) after group 11 (40 rows): the table model switches group
// and the view lays out its rows, the emergency lists are rebuilt.
void BM_GridSwitchTo80RowGroup(benchmark::State& state)
{
    FullDocument& d = document();
    d.app.documents.working().Data.Options.CurrentGroup = 11;
    auto grid = std::make_unique<ChannelGridWindow>(d.app);
    grid->show();
    QApplication::processEvents();
    auto* groups = grid->findChild<QComboBox*>("Combo7");
    for (auto _ : state) {
        state.PauseTiming();
        groups->setCurrentIndex(11);
        QApplication::processEvents();
        state.ResumeTiming();
        groups->setCurrentIndex(1);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_GridSwitchTo80RowGroup)->Unit(benchmark::kMicrosecond);

// The same switch including painting the grid once.
void BM_GridSwitchTo80RowGroupAndPaint(benchmark::State& state)
{
    FullDocument& d = document();
    d.app.documents.working().Data.Options.CurrentGroup = 11;
    auto grid = std::make_unique<ChannelGridWindow>(d.app);
    grid->show();
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
BENCHMARK(BM_GridSwitchTo80RowGroupAndPaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
