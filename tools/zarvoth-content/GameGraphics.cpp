// GameGraphics: one entry per image index, in order.
#include "tools/zarvoth-content/GameGraphics.h"

#include "tools/zarvoth-content/Effects.h"
#include "tools/zarvoth-content/Panel.h"
#include "tools/zarvoth-content/Ships.h"
#include "tools/zarvoth-content/Ui.h"

namespace content {
namespace {

PictureItem Button(const char* name, const ButtonStyle& style) {
    return {name, ButtonPicture(style), 0, 0};
}

void AddButtons(std::vector<PictureItem>& items) {
    items.push_back(Button("CloakOn", {84, 20, "cloak", 12, ButtonLook::Lit, DisruptorGreen}));
    items.push_back(Button("CloakOff", {84, 20, "cloak", 12, ButtonLook::Idle, DisruptorGreen}));
    items.push_back(Button("ShieldsOn", {84, 20, "shields", 12, ButtonLook::Lit, ShieldCyan}));
    items.push_back(Button("ShieldsOff", {84, 20, "shields", 12, ButtonLook::Idle, ShieldCyan}));
    items.push_back(Button("Torpedo", {180, 36, "photon torpedo", 15, ButtonLook::Idle, ConsoleAmber}));
    items.push_back(Button("TorpedoOpen", {180, 36, "photon torpedo", 15, ButtonLook::Pressed, ConsoleAmber}));
    items.push_back(Button("Transport", {146, 36, "transport", 15, ButtonLook::Idle, ConsoleAmber}));
    items.push_back(Button("TransportOpen", {146, 36, "transport", 15, ButtonLook::Pressed, ConsoleAmber}));
    items.push_back(Button("Menu", {102, 30, "menu", 15, ButtonLook::Idle, ConsoleAmber}));
    items.push_back(Button("MenuOpen", {102, 30, "menu", 15, ButtonLook::Pressed, ConsoleAmber}));
    items.push_back(Button("WarpReady", {160, 30, "warp", 17, ButtonLook::Lit, ConsoleAmber}));
    items.push_back(Button("WarpNotReady", {160, 30, "warp", 17, ButtonLook::Dim, ConsoleAmber}));
    items.push_back(Button("Ok", {60, 26, "OK", 13, ButtonLook::Idle, ConsoleAmber}));
    items.push_back(Button("Cancel", {60, 26, "Cancel", 13, ButtonLook::Idle, ConsoleAmber}));
}

void AddMenuItems(std::vector<PictureItem>& items) {
    const struct {
        const char* Name;
        const char* Caption;
    } entries[] = {{"NewGame", "new game"}, {"Resume", "resume"}, {"MainMenu", "main menu"}, {"Quit", "quit"}};
    for (const auto& entry : entries) {
        items.push_back(Button(entry.Name, {212, 34, entry.Caption, 18, ButtonLook::Idle, ConsoleAmber}));
        items.push_back(Button(entry.Name, {212, 34, entry.Caption, 18, ButtonLook::Lit, ConsoleAmber}));
        items.back().Name += "Lit";
    }
}

}  // namespace

std::vector<PictureItem> GameGraphics() {
    std::vector<PictureItem> items;
    for (PictureItem& item : PlayerShipItems(ShipKind::Heavy, "HeavyShip")) {
        items.push_back(std::move(item));
    }
    for (PictureItem& item : PlayerShipItems(ShipKind::Light, "LightShip")) {
        items.push_back(std::move(item));
    }
    items.push_back(EnemyShipItem(ShipKind::Shuttle, "Shuttle"));
    items.push_back(EnemyShipItem(ShipKind::Defiant, "Defiant"));
    items.push_back(EnemyShipItem(ShipKind::Akira, "Akira"));
    items.push_back(EnemyShipItem(ShipKind::Interpid, "Interpid"));
    items.push_back(SupplyShipItem());
    items.push_back(PlayerBeamItem());
    items.push_back(CruiserBeamItem());
    items.push_back(PlayerTorpedoItem());
    items.push_back(EnemyTorpedoItem());
    items.push_back(StarsItem());
    items.push_back(ExplosionItem());
    AddButtons(items);
    items.push_back(SmallDialogItem());
    items.push_back(LargeDialogItem());
    items.push_back(LeftRailItem());
    items.push_back(ScorePlateItem());
    items.push_back(TopPodItem());
    items.push_back(RightRailItem());
    items.push_back(ConsoleItem());
    items.push_back(BarFrameItem("PhaserFrame"));
    items.push_back(BarFrameItem("ShieldFrame"));
    items.push_back(HullFrameItem());
    items.push_back(PhaserFillItem());
    items.push_back(ShieldFillItem());
    items.push_back(HullFillItem());
    items.push_back(GameMenuPanelItem());
    AddMenuItems(items);
    items.push_back(EmblemItem());
    return items;
}

}  // namespace content
