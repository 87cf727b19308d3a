// Chart: the whole wave chart — the legend above, the fourteen columns below — as one picture
// of ChartWidth x ChartHeight. Depends on Legend, Column and ChartLayout.
#pragma once

#include "platform/ImageFile.h"

namespace waves {

platform::RgbImage DrawChart();

}  // namespace waves
