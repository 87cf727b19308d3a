// Commands: keys, clicks, the two toggles, the torpedo and transport dialogs and their answers.
#include "game/Commands.h"

#include <charconv>
#include <cmath>
#include <string>

#include "game/Game.h"
#include "game/Main.h"
#include "game/Sprites.h"

namespace Game {
namespace {

constexpr char Escape = 27;
// The panel's corner holding the menu button: clicks there reach nothing else.
constexpr int MenuCornerLeft = 690;
constexpr int MenuCornerBottom = 140;
// The images a menu item shows highlighted follow its normal image.
constexpr int Highlighted = 1;
constexpr std::uint8_t DigitsOnly = 1;

struct TMenuItem {
    std::unique_ptr<TGButton>* Item;
    int Image;
    void (*Action)();
};

// In the order clicks test them.
const TMenuItem MenuItems[] = {
    {&RestartItem, ImageRestartItem, RestartGame},
    {&ResumeItem, ImageResumeItem, ToggleGameMenu},
    {&MainMenuItem, ImageMainMenuItem, ReturnToMenu},
    {&QuitItem, ImageQuitItem, QuitFromGame},
};

// The cloak and the shields: each a flag, the ship's switch and a panel button.
struct TSwitch {
    bool* On;
    void (TPlayer::*Set)(bool);
    std::unique_ptr<TGButton>* Button;
    int OnImage;
    int OffImage;
};
const TSwitch CloakSwitch{&CloakOn, &TPlayer::SetCloak, &CloakButton, ImageCloakOn, ImageCloakOff};
const TSwitch ShieldsSwitch{&ShieldsOn, &TPlayer::SetShields, &ShieldsButton, ImageShieldsOn, ImageShieldsOff};

// Flips one switch; switching it on switches the other off first, so both are never on.
void Toggle(const TSwitch& flipped, const TSwitch& other) {
    *flipped.On = !*flipped.On;
    Sprites::PlayEffect(Sprites::EffectToggle);
    if (*flipped.On) {
        *other.On = false;
        (Player->*other.Set)(false);
        (*other.Button)->SetImage(other.OffImage);
    }
    (Player->*flipped.Set)(*flipped.On);
    (*flipped.Button)->SetImage(*flipped.On ? flipped.OnImage : flipped.OffImage);
}

// Opens the small box, while playing, with its bold title and two explanations, each followed by
// a gap; the lines after them are bold. False when no box opened.
bool OpenTacticalDialog(std::string_view title, std::string_view first, std::string_view second) {
    if (GameState != StatePlaying) {
        return false;
    }
    OpenGameDialog(false);
    if (!GameBox) {
        return false;
    }
    AddDialogTitle(title);
    GameBox->AddText(first);
    GameBox->AddSpace(15);
    GameBox->AddText(second);
    GameBox->AddSpace(15);
    GameBox->SetBold(true);
    return true;
}

std::string Position(std::string_view label, TPoint cell) {
    return std::string(label) + "[" + std::to_string(cell.X) + ";" + std::to_string(cell.Y) + "]";
}

void Warp() {
    Sprites::PlayEffect(Sprites::EffectDialog);
    Player->SetWarp(true, true);
    WarpButton->SetImage(ImageWarpNotReady);
    WarpReady = false;
}

void PanelClick(TPoint point) {
    if (TorpedoButton->IsHit(point)) {
        OpenTorpedoDialog();
    } else if (TransportButton->IsHit(point)) {
        OpenTransportDialog();
    } else if (CloakButton->IsHit(point)) {
        ToggleCloak();
    } else if (ShieldsButton->IsHit(point)) {
        ToggleShields();
    } else if (WarpReady && WarpButton->IsHit(point)) {
        Warp();
    }
}

bool InMenuCorner(TPoint point) {
    return point.X >= MenuCornerLeft && point.Y <= MenuCornerBottom;
}

void LeftClick(TPoint point) {
    if (InMenuCorner(point)) {
        if (MenuButton->IsHit(point)) {
            ToggleGameMenu();
        }
    } else if (IsPhaserClick(point)) {
        Player->MouseDown(point);
    } else {
        PanelClick(point);
    }
}

// The supply ship can take an answer only while it waits for one: not burning, not already
// supplied and on its way out.
bool SupplyShipWaiting() {
    return SpecialState == SpecialSupply && SupplyShip != nullptr && !SupplyShip->IsDestroyed() &&
           !SupplyShip->Transported;
}

void Transport(std::int32_t answer) {
    if (!SupplyShipWaiting()) {
        return;
    }
    const std::int32_t distance = GridDistance(GridPosition(*Player), GridPosition(*SupplyShip));
    if (answer < distance - 1 || answer > distance + 1) {
        return;
    }
    Sprites::PlayEffect(Sprites::EffectTransport);
    SupplyShip->Leave();
    Main::Score += 1000;
    Player->RepairHull();
    Player->ReloadTorpedoes();
    Player->RechargeShields();
}

}  // namespace

bool IsPhaserClick(TPoint Point) {
    return !InMenuCorner(Point) && Point.Y < Sprites::PanelTop;
}

TPoint GridPosition(const TSprite& Sprite) {
    return {Sprites::Round(Sprite.X / GridCell), Sprites::Round(Sprite.Y / GridCell)};
}

std::int32_t GridDistance(TPoint From, TPoint To) {
    const double dx = To.X - From.X;
    const double dy = To.Y - From.Y;
    return Sprites::Round(std::sqrt(dx * dx + dy * dy));
}

void GameKeyPress(char Key) {
    if (!GameRunning()) {
        return;
    }
    if (GameState == StatePlaying) {
        switch (Key) {
            case 'c': case 'C': ToggleCloak(); break;
            case 'h': case 'H': ToggleShields(); break;
            case 't': case 'T': OpenTorpedoDialog(); break;
            case 'r': case 'R': OpenTransportDialog(); break;
            default: break;
        }
    }
    if ((GameState == StatePlaying || GameState == StateMenu) && (Key == Escape || Key == 'm' || Key == 'M')) {
        ToggleGameMenu();
    }
    if (GameState == StateDialog) {
        GameBox->KeyPress(Key);
    }
}

void GameMouseDown(platform::TShiftState Shift, TPoint Point) {
    if (!GameRunning()) {
        return;
    }
    switch (GameState) {
        case StatePlaying:
            if ((Shift & platform::ssLeft) != 0) {
                LeftClick(Point);
            } else if ((Shift & platform::ssRight) != 0) {
                ToggleShields();
            }
            break;
        case StateDialog:
            GameBox->MouseDown(Point);
            break;
        case StateMenu:
            for (const TMenuItem& item : MenuItems) {
                if ((*item.Item)->IsHit(Point)) {
                    item.Action();
                    break;
                }
            }
            break;
        default:
            break;
    }
}

void GameMouseUp() {
    if (GameRunning() && GameState == StatePlaying) {
        Player->MouseUp();
    }
}

void GameMouseMove(TPoint Point) {
    if (!GameRunning() || GameState != StateMenu) {
        return;
    }
    const TMenuItem* hovered = nullptr;
    for (const TMenuItem& item : MenuItems) {
        if ((*item.Item)->IsHit(Point)) {
            hovered = &item;
            break;
        }
    }
    if (hovered == nullptr) {
        return;
    }
    for (const TMenuItem& item : MenuItems) {
        (*item.Item)->SetImage(item.Image + (&item == hovered ? Highlighted : 0));
    }
}

void ToggleCloak() {
    Toggle(CloakSwitch, ShieldsSwitch);
}

void ToggleShields() {
    Toggle(ShieldsSwitch, CloakSwitch);
}

void OpenTorpedoDialog() {
    if (!OpenTacticalDialog("Fire photon torpedo:",
                            "Photon torpedo is a mighty gun, which is especially effective against big ships.",
                            "You have to input angle, in which will be photon torpedo fired.")) {
        return;
    }
    const bool loaded = Player->GetTorpedoes() > 0;
    if (loaded && !CloakOn) {
        GameBox->AddText("Type angle (in degrees):");
        GameBox->SetBold(false);
        GameBox->AddEditLine(470, 309, DigitsOnly);
    }
    if (!loaded) {
        GameBox->AddText("Out of torpedos!!!");
    }
    if (CloakOn) {
        GameBox->AddText("Cannot fire any torpedo, while cloaked!!!");
    }
    TorpedoButton->SetImage(ImageTorpedoOpen);
    DialogKind = DialogTorpedo;
}

void OpenTransportDialog() {
    if (!OpenTacticalDialog("Supplies transport:",
                            "Supply ship can provide you with new ammo and equipment for repair your ship.",
                            "You have to calculate approximate direct distance, between your ship and friendly supply ship, "
                            "for transport requied supplies.")) {
        return;
    }
    if (SpecialState == SpecialSupply && SupplyShip->IsInPosition()) {
        GameBox->AddText(Position("Your position: ", GridPosition(*Player)));
        GameBox->AddText(Position("Supply ship position: ", GridPosition(*SupplyShip)));
        GameBox->AddText("Type distance:");
        GameBox->AddEditLine(390, 349, DigitsOnly);
    } else {
        GameBox->AddText("No supply ship in the area!!!");
    }
    TransportButton->SetImage(ImageTransportOpen);
    DialogKind = DialogTransport;
}

void DialogStep() {
    if (GameState != StateDialog || !GameBox) {
        return;
    }
    if (!GameBox->IsClosed()) {
        GameBox->Draw();
        return;
    }
    Sprites::PlayEffect(Sprites::EffectClick);
    DialogAnswer = GameBox->GetInput();
    ApplyDialogAnswer();
    if (DialogKind == DialogTorpedo) {
        TorpedoButton->SetImage(ImageTorpedoButton);
    } else if (DialogKind == DialogTransport) {
        TransportButton->SetImage(ImageTransportButton);
    } else {
        Frozen = false;
    }
    Player->SetControllable(true);
    GameState = StatePlaying;
    GameBox.reset();
}

void ApplyDialogAnswer() {
    std::int32_t answer = 0;
    const char* end = DialogAnswer.data() + DialogAnswer.size();
    if (DialogAnswer.empty() || std::from_chars(DialogAnswer.data(), end, answer).ptr != end) {
        return;
    }
    if (DialogKind == DialogTorpedo) {
        Player->FireTorpedo(static_cast<float>(answer));
    } else if (DialogKind == DialogTransport) {
        Transport(answer);
    }
}

}  // namespace Game
