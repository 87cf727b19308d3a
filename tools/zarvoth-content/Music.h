// Music: the game's looping battle track — 32 bars at 120 beats per minute (64 seconds) in
// D minor, 44.1 kHz 16-bit stereo: pads, a pulsing bass, an arpeggio, a lead melody and
// drums, with echo and reverb. Notes and effect tails that run past the end wrap round to the
// start, so the loop point is seamless. Depends on Synth.
#pragma once

#include "tools/zarvoth-content/Synth.h"

namespace content {

PcmSound MusicTrack();

constexpr int MusicBars = 32;
constexpr int MusicBeatsPerBar = 4;
constexpr int MusicFramesPerBeat = SampleRate / 2;  // 120 beats per minute

}  // namespace content
