#include "core/edit/tone_playback.h"

namespace zt {

int toneTipTotalMs(const ToneTipSequence& seq)
{
    int total = 0;
    for (const auto& note : seq.Notes) total += note.Duration * 10;
    return total;
}

bool TonePlayback::prepare(const ToneTipSequence& seq)
{
    stopped_ = false;
    repeatCount_ = seq.RepeatCount;
    intervalMs_ = seq.Interval * 10;
    pass_ = 0;
    note_ = 0;
    if (toneTipTotalMs(seq) > 4) return true;
    stopped_ = true;
    return false;
}

PlaybackStep TonePlayback::next(const ToneTipSequence& current)
{
    while (!stopped_ && pass_ < repeatCount_) {
        while (note_ < kToneTipNotes) {
            const ToneTipNote& note = current.Notes[static_cast<std::size_t>(note_)];
            ++note_;
            const int ms = note.Duration * 10;
            if (ms <= 4) continue;
            PlaybackStep step;
            step.durationMs = ms;
            step.note = note_;
            const int hz = note.Frequency * 10;
            if (hz > 48) {
                step.kind = PlaybackStep::Kind::Tone;
                step.frequencyHz = hz;
            } else {
                step.kind = PlaybackStep::Kind::Rest;
            }
            return step;
        }
        // The repetition's notes are over: its interval, then the next one.
        ++pass_;
        note_ = 0;
        if (intervalMs_ > 0) return {PlaybackStep::Kind::Interval, 0, intervalMs_, 0};
    }
    stopped_ = true;
    return {};
}

}  // namespace zt
