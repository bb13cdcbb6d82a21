#include <gtest/gtest.h>

#include "core/edit/tone_playback.h"
#include "core/edit/tone_tip_chart.h"

namespace zt {
namespace {

ToneTipSequence sequence(std::initializer_list<std::pair<int, int>> notes, int repeat = 1,
                         int interval = 0)
{
    ToneTipSequence seq;
    std::size_t i = 0;
    for (auto [f, d] : notes) {
        seq.Notes[i].Frequency = static_cast<std::int16_t>(f);
        seq.Notes[i].Duration = static_cast<std::int16_t>(d);
        ++i;
    }
    seq.RepeatCount = static_cast<std::int16_t>(repeat);
    seq.Interval = static_cast<std::int16_t>(interval);
    return seq;
}

TEST(ToneTipChartTest, BarsShareTheWidthByDuration)
{
    const auto bars = toneTipChart(sequence({{100, 10}, {200, 30}}), 4100, 2660);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].left, 50);
    EXPECT_EQ(bars[0].width, 1000);
    EXPECT_EQ(bars[1].left, 1050);
    EXPECT_EQ(bars[1].width, 3000);
    EXPECT_EQ(bars[0].bottom, 2610);
    EXPECT_EQ(bars[0].height, 1000);  // 100 * 2560 / 256
    EXPECT_EQ(bars[1].height, 2000);
    EXPECT_TRUE(bars[0].red);
    EXPECT_FALSE(bars[1].red);
}

TEST(ToneTipChartTest, ZeroDurationsAreNotDrawnAndRestsAreFlat)
{
    EXPECT_TRUE(toneTipChart(sequence({{100, 0}, {200, 0}}), 4100, 2000).empty());
    const auto bars = toneTipChart(sequence({{100, 0}, {0, 20}, {50, 20}}), 4100, 2000);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].note, 2);
    EXPECT_EQ(bars[0].height, 0);
    EXPECT_FALSE(bars[0].red);  // colour follows the note number
    EXPECT_EQ(bars[1].note, 3);
    EXPECT_TRUE(bars[1].red);
}

TEST(ToneTipChartTest, HalvesRoundToEven)
{
    // W = 105 - 100 = 5 over two equal notes: 2.5 rounds to 2 for each.
    const auto bars = toneTipChart(sequence({{0, 1}, {0, 1}}), 105, 300);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].width, 2);
    EXPECT_EQ(bars[1].left, 52);
    // H = 128: frequency 1 -> 0.5 -> 0; frequency 3 -> 1.5 -> 2.
    const auto h = toneTipChart(sequence({{1, 1}, {3, 1}}), 300, 228);
    EXPECT_EQ(h[0].height, 0);
    EXPECT_EQ(h[1].height, 2);
}

std::vector<PlaybackStep> playAll(TonePlayback& p, const ToneTipSequence& seq)
{
    std::vector<PlaybackStep> steps;
    for (;;) {
        const PlaybackStep s = p.next(seq);
        if (s.kind == PlaybackStep::Kind::Done) break;
        steps.push_back(s);
    }
    return steps;
}

TEST(TonePlaybackTest, PlaysNotesThenIntervalForEachRepetition)
{
    const auto seq = sequence({{100, 10}, {0, 20}, {4, 30}, {50, 0}}, 2, 7);
    TonePlayback p;
    ASSERT_TRUE(p.prepare(seq));
    const auto steps = playAll(p, seq);
    ASSERT_EQ(steps.size(), 8u);
    EXPECT_EQ(steps[0].kind, PlaybackStep::Kind::Tone);
    EXPECT_EQ(steps[0].frequencyHz, 1000);
    EXPECT_EQ(steps[0].durationMs, 100);
    EXPECT_EQ(steps[1].kind, PlaybackStep::Kind::Rest);  // frequency 0
    EXPECT_EQ(steps[1].durationMs, 200);
    EXPECT_EQ(steps[2].kind, PlaybackStep::Kind::Rest);  // 40 Hz is not above 48
    EXPECT_EQ(steps[3].kind, PlaybackStep::Kind::Interval);
    EXPECT_EQ(steps[3].durationMs, 70);
    EXPECT_EQ(steps[7].kind, PlaybackStep::Kind::Interval);
    EXPECT_TRUE(p.stopped());
}

TEST(TonePlaybackTest, NothingToPlayWithoutDurationsOrRepeats)
{
    TonePlayback p;
    EXPECT_FALSE(p.prepare(sequence({{100, 0}})));
    EXPECT_TRUE(p.stopped());
    const auto noRepeat = sequence({{100, 10}}, 0, 5);
    ASSERT_TRUE(p.prepare(noRepeat));
    EXPECT_TRUE(playAll(p, noRepeat).empty());
}

TEST(TonePlaybackTest, StopIsSeenBeforeTheNextNote)
{
    const auto seq = sequence({{0, 255}, {100, 10}}, 3, 0);
    TonePlayback p;
    ASSERT_TRUE(p.prepare(seq));
    EXPECT_EQ(p.next(seq).kind, PlaybackStep::Kind::Rest);
    p.stop();  // during the 2550 ms rest
    EXPECT_EQ(p.next(seq).kind, PlaybackStep::Kind::Done);
}

TEST(TonePlaybackTest, NotesAreReadAsPlayingProceeds)
{
    const auto first = sequence({{100, 10}, {110, 10}}, 1, 0);
    const auto other = sequence({{200, 10}, {220, 10}}, 5, 100);
    TonePlayback p;
    ASSERT_TRUE(p.prepare(first));
    EXPECT_EQ(p.next(first).frequencyHz, 1000);
    EXPECT_EQ(p.next(other).frequencyHz, 2200);               // the switched sequence's second note
    EXPECT_EQ(p.next(other).kind, PlaybackStep::Kind::Done);  // first's repeat count, no interval
}

}  // namespace
}  // namespace zt
