// Menu: start-menu logic.
#include "game/Menu.h"

namespace Menu {

void SetVSynch(bool on) {
    (void)on;  // the display switch arrives with the display component
}

}  // namespace Menu
