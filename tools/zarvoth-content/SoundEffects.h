// SoundEffects: the nine effects of the sound-effects file in index order — disruptor shot,
// torpedo launch, transporter shimmer, explosion, toggle blip, red alert (stored but never
// played), dialog chime, confirming click and warp — as 44.1 kHz 16-bit mono. Depends on Synth.
#pragma once

#include <vector>

#include "tools/zarvoth-content/Synth.h"

namespace content {

std::vector<PcmSound> SoundEffects();

}  // namespace content
