// Csv: both schedules as comma-separated rows, the wave table first, one row per entry in table
// order: table (wave or special), index, distance, class name, x, y. Depends on the game's
// SpriteTable.
#pragma once

#include <ostream>

namespace waves {

void WriteCsv(std::ostream& out);

}  // namespace waves
