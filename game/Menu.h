// Menu: the start menu's screens. For now the display switch that the settings loader needs.
#pragma once

namespace Menu {

// Switches wait-for-vertical-blank, retained mode and page flipping together.
void SetVSynch(bool on);

}  // namespace Menu
