// FormDesign: design values of the main window's components.
#include "FormDesign.h"

#include <memory>

#include "Cursors.h"

#include "engine/timer/DXClass.h"
#include "engine/display/DXDraws.h"
#include "engine/images/DXImageList.h"
#include "engine/input/DXInput.h"
#include "engine/sound/DXSounds.h"
#include "engine/sprites/DXSprite.h"

namespace FormDesign {
namespace {

template <typename Component>
Component& Add(TComponent& form, const char* name) {
    auto component = std::make_unique<Component>();
    component->SetName(name);
    return static_cast<Component&>(form.InsertComponent(std::move(component)));
}

void DesignDisplay(TDXDraw& draw) {
    draw.SetOptions(doAllowReboot | doWaitVBlank | doAllowPalette256 | doCenter | doFlip | doDirectX7Mode |
                    doRetainedMode | doHardware | doSelectDriver);
    draw.Display().SetWidth(800);
    draw.Display().SetHeight(600);
    draw.Display().SetBitCount(16);
    draw.Display().FixedBitCount = true;
    draw.Display().FixedRatio = true;
    draw.Display().FixedSize = false;
    draw.SetSurfaceWidth(688);
    draw.SetSurfaceHeight(453);
}

void AddCursor(TPictureCollection& items, const char* name, TColor reticle, TColor key) {
    TPictureCollectionItem& item = items.Add();
    item.Name = name;
    DrawCursor(item.Picture, reticle, key);
    item.Transparent = true;
    item.TransparentColor = key;
}

void DesignTimer(TDXTimer& timer) {
    timer.SetInterval(0);
    timer.SetActiveOnly(true);
}

}  // namespace

TForm1Design::TForm1Design() {
    SetName("Form1");
    TDXDraw& draw = Add<TDXDraw>(*this, "DXDraw1");
    DesignDisplay(draw);
    TDXTimer& timer = Add<TDXTimer>(*this, "DXTimer1");
    timer.BeginLoading();  // a description only: it never ticks
    DesignTimer(timer);
    Add<TDXImageList>(*this, "DXImageList1").SetDXDraw(&draw);
    Add<TDXSpriteEngine>(*this, "DXSpriteEngine1").SetDXDraw(&draw);
    Add<TDXInput>(*this, "DXInput1");
    TDXWaveList& effects = Add<TDXWaveList>(*this, "DXWaveList1");
    TDXSound& sound = Add<TDXSound>(*this, "DXSound1");
    effects.SetDXSound(&sound);
    TDXImageList& cursors = Add<TDXImageList>(*this, "DXImageList2");
    cursors.SetDXDraw(&draw);
    AddCursor(cursors.Items(), "Cursor", RGB(150, 235, 255), CursorKey);
    AddCursor(cursors.Items(), "Cursor_Red", RGB(255, 72, 56), RedCursorKey);
    Add<TDXWaveList>(*this, "DXWaveList2").SetDXSound(&sound);
}

}  // namespace FormDesign
