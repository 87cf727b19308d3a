// Legend: the chart's head — its title, how to read it, and a key to every mark, rule and shade
// with the table's totals. Depends on ChartLayout, Schedule, Marks and Ink.
#pragma once

#include "platform/ImageFile.h"

namespace waves {

platform::RgbImage DrawLegend();

}  // namespace waves
