// Menu: start-menu logic.
#include "game/Menu.h"

#include "engine/display/DXDraws.h"
#include "game/Main.h"

namespace Menu {
namespace {

constexpr TDXDrawOptions VSynchOptions[] = {doWaitVBlank, doRetainedMode, doFlip};

}  // namespace

void SetVSynch(bool on) {
    if (Form1 == nullptr) {
        return;
    }
    TDXDraw& display = *Form1->DXDraw1;
    int present = 0;
    for (const TDXDrawOptions option : VSynchOptions) {
        if ((display.Options() & option) != 0) ++present;
    }
    if (on ? present > 0 : present < 3) {
        return;
    }
    display.Finalize();
    for (const TDXDrawOptions option : VSynchOptions) {
        const TDXDrawOptions changed = on ? static_cast<TDXDrawOptions>(display.Options() | option)
                                          : static_cast<TDXDrawOptions>(display.Options() & ~option);
        display.SetOptions(changed);
    }
    display.Initialize();
}

}  // namespace Menu
