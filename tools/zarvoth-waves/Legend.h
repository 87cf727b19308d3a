// Legend: the chart's head — its title, how to read it, and a key to every mark, rule and shade
// with the table's totals, and, given honest games, the keys to where they hit and lost their
// ships. Depends on ChartLayout, Schedule, Marks, Ink and Events.
#pragma once

#include <vector>

#include "platform/ImageFile.h"
#include "tools/zarvoth-waves/Events.h"

namespace waves {

platform::RgbImage DrawLegend(const std::vector<HonestEvent>& honest);

}  // namespace waves
