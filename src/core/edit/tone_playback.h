#pragma once

#include "core/radio/radio_data.h"

namespace zt {

// What the tone preview does next.
struct PlaybackStep {
    enum class Kind { Tone, Rest, Interval, Done };
    Kind kind = Kind::Done;
    int frequencyHz = 0;  // Tone only
    int durationMs = 0;   // Tone, Rest, Interval
    int note = 0;         // 1..14 for Tone and Rest
};

// The sum of a sequence's 14 durations, in ms.
int toneTipTotalMs(const ToneTipSequence& seq);

// The tone preview as a sequencer the window drives from its event loop: the
// caller asks for the next step, carries it out (a tone, a silent wait) and
// asks again when it has ended. Notes are read from the sequence passed to
// next(), so a sequence changed (or switched) during playback plays its new
// notes; the repeat count and interval are the ones taken by prepare(). The
// stop flag is looked at before every note: a tone or rest in progress always
// ends first.
class TonePlayback {
  public:
    // Clears the stop flag, takes the repeat count and interval of `seq` and
    // starts from its first note. Returns whether the total duration is above
    // 4 ms (otherwise there is nothing to play and playback stays stopped).
    bool prepare(const ToneTipSequence& seq);
    // The step after the one that just ended (or the first one). Notes whose
    // duration x 10 ms is not above 4 ms are skipped; a frequency above 48 Hz
    // is a tone, anything else a rest; after the 14 notes of a repetition
    // comes its interval (skipped when 0). Done when the repetitions are over
    // or the stop flag is set; from then on the flag is set.
    PlaybackStep next(const ToneTipSequence& current);
    void stop() { stopped_ = true; }
    bool stopped() const { return stopped_; }

  private:
    bool stopped_ = true;
    int repeatCount_ = 0;
    int intervalMs_ = 0;
    int pass_ = 0;  // repetition being played, 0-based
    int note_ = 0;  // next note, 0..14 (14: the interval is due)
};

}  // namespace zt
