// Chart: the whole wave chart — the legend above, the fourteen columns below — as one picture
// of ChartWidth x ChartHeight, with where honest games hit and lost their ships when there are
// any. Depends on Legend, Column, ChartLayout and Events.
#pragma once

#include <vector>

#include "platform/ImageFile.h"
#include "tools/zarvoth-waves/Events.h"

namespace waves {

platform::RgbImage DrawChart(const std::vector<HonestEvent>& honest);

}  // namespace waves
