#include "core/edit/tone_tip_chart.h"

#include <cmath>

namespace zt {
namespace {

// Nearest integer, halves to even (the default floating-point rounding mode).
long long roundEven(double v)
{
    return static_cast<long long>(std::nearbyint(v));
}

}  // namespace

std::vector<ChartBar> toneTipChart(const ToneTipSequence& seq, double width, double height)
{
    std::vector<ChartBar> bars;
    const long long w = roundEven(width - 100);
    const long long h = roundEven(height - 100);
    long long total = 0;
    for (const auto& note : seq.Notes) total += note.Duration;
    if (total < 1) return bars;
    long long x = 50;
    const long long base = roundEven(height) - 50;
    for (int k = 1; k <= kToneTipNotes; ++k) {
        const ToneTipNote& note = seq.Notes[static_cast<std::size_t>(k - 1)];
        if (note.Duration <= 0) continue;
        ChartBar bar;
        bar.note = k;
        bar.left = x;
        bar.width = roundEven(static_cast<double>(note.Duration) * static_cast<double>(w) /
                              static_cast<double>(total));
        bar.bottom = base;
        bar.height =
            roundEven(static_cast<double>(note.Frequency) * static_cast<double>(h) / 256.0);
        bar.red = k % 2 == 1;
        bars.push_back(bar);
        x += bar.width;
    }
    return bars;
}

}  // namespace zt
