// Game: the session — start, frame, schedule, encounters, sector change, dialogs and the ends.
#include "game/Game.h"

#include "engine/display/DirectDrawSurface.h"
#include "engine/images/PictureCollection.h"
#include "engine/sound/WaveCollection.h"
#include "game/Commands.h"
#include "game/Hud.h"
#include "game/Main.h"
#include "game/Menu.h"
#include "game/MissionTexts.h"
#include "game/SpriteTable.h"

using Main::FrameTime;

namespace Game {
namespace {

// Where a wave ship enters: this far above its table y, so it glides into view.
constexpr int WaveEntryAbove = 150;
// The fly-in ends when the ship's bottom edge has risen to this line.
constexpr int FlyInLine = 535;
// The distance waits this many frames after a start before it may run.
constexpr std::int32_t WarmupLength = 10;

struct TButtonPlace {
    std::unique_ptr<TGButton>* Button;
    int Image;
    TPoint At;
};

// The ten buttons in their creation order.
const TButtonPlace ButtonPlaces[] = {
    {&TorpedoButton, ImageTorpedoButton, {425, 555}},
    {&TransportButton, ImageTransportButton, {610, 555}},
    {&MenuButton, ImageMenuButton, {689, 98}},
    {&CloakButton, ImageCloakOff, {250, 548}},
    {&ShieldsButton, ImageShieldsOff, {336, 548}},
    {&WarpButton, ImageWarpNotReady, {264, 568}},
    {&RestartItem, ImageRestartItem, {294, 200}},
    {&ResumeItem, ImageResumeItem, {294, 240}},
    {&MainMenuItem, ImageMainMenuItem, {294, 280}},
    {&QuitItem, ImageQuitItem, {294, 320}},
};

TSpriteEngine& World() {
    return Form1->DXSpriteEngine1->Engine();
}

// Item 0 of the music list, when the music file brought one.
TWaveCollectionItem* GameMusic() {
    TWaveCollection& music = Form1->DXWaveList2->Items();
    return music.Count() > 0 ? &music.Items(0) : nullptr;
}

void CreateShips() {
    Player = new TPlayer(&World());
    Player->SetWarp(true, false);
    Player->SetShipType(!Main::ShipChoice);
    Background = new TBackground(&World());
}

void CreateButtons() {
    for (const TButtonPlace& place : ButtonPlaces) {
        *place.Button = std::make_unique<TGButton>();
        (*place.Button)->SetImage(place.Image);
        (*place.Button)->SetPosition(place.At.X, place.At.Y);
    }
}

void FreeButtons() {
    for (const TButtonPlace& place : ButtonPlaces) {
        place.Button->reset();
    }
}

void ResetGlobals() {
    Main::Score = 0;
    WarmupFrames = 0;
    Distance = 0;
    WaveIndex = 0;
    EndTimer = 0;
    SpecialIndex = 0;
    SpecialState = SpecialNone;
    WarpReady = false;
    Frozen = false;
    Hold = true;
    CloakOn = false;
    ShieldsOn = false;
    Arrived = false;
    TextPending.fill(true);
}

void SpawnWaves() {
    const auto& table = SpriteTable::WaveTable;
    while (WaveIndex >= 0 && WaveIndex < static_cast<std::int32_t>(table.size()) &&
           Distance >= table[static_cast<std::size_t>(WaveIndex)].Distance) {
        const SpriteTable::TSpriteTableEntry& entry = table[static_cast<std::size_t>(WaveIndex)];
        TSprite* ship = entry.Class.Create(&World());
        ship->X = entry.X - ship->Width / 2;
        ship->Y = entry.Y - WaveEntryAbove;
        ++WaveIndex;
    }
}

void SpawnSpecials() {
    const auto& table = SpriteTable::SpecialTable;
    while (SpecialIndex >= 0 && SpecialIndex < static_cast<std::int32_t>(table.size()) &&
           Distance >= table[static_cast<std::size_t>(SpecialIndex)].Distance) {
        SpawnSpecial(table[static_cast<std::size_t>(SpecialIndex)].Class);
        ++SpecialIndex;
    }
}

// Opening a text makes GameState 1, so at most one text opens per frame.
void OpenDueTexts() {
    for (std::size_t index = 0; index < MissionTexts.size(); ++index) {
        const TMissionText& text = MissionTexts[index];
        if (Distance >= text.Threshold && TextPending[index] && GameState == StatePlaying) {
            text.Show();
            Frozen = true;
            TextPending[index] = false;
            if (text.EndsSector) {
                WarpButton->SetImage(ImageWarpReady);
                WarpReady = true;
                Hold = true;
            }
        }
    }
}

void AdvanceDistance() {
    if (WarmupFrames <= WarmupLength) {
        ++WarmupFrames;
    }
    if (WarmupFrames > WarmupLength && !Hold) {
        Distance += static_cast<long double>(Background->GetSpeed()) * 1.0L * static_cast<long double>(FrameTime);
    }
}

bool TextShown(std::size_t index) {
    return !TextPending[index];
}

bool PlayerAboveScreen() {
    return Player->Y + Player->Height <= 0;
}

// Counts towards EndDelay; true once it has been reached.
bool EndTimerDue() {
    if (EndTimer >= EndDelay) {
        return true;
    }
    EndTimer += FrameTime;
    return false;
}

void CheckDeath() {
    if (Player->GetHull() <= 0 && Player->FramePos == Sprites::ExplosionEndFrame && EndTimerDue()) {
        RestartGame();
    }
}

void CheckFlyIn() {
    if (!Arrived && Player->Y <= FlyInLine - Player->Height) {
        Player->SetWarp(false, false);
        Hold = false;
        Arrived = true;
    }
}

// Steps 11 and 12 of the frame; true when the frame ends here.
bool CheckSectorEnd() {
    if (TextShown(TextSector1Cleared) && !TextShown(TextGameCompleted) && PlayerAboveScreen() && EndTimerDue()) {
        EndTimer = 0;
        EnterSector2();
        return true;
    }
    if (TextShown(TextGameCompleted) && PlayerAboveScreen() && EndTimerDue()) {
        ReturnToMenu();
        return true;
    }
    return false;
}

}  // namespace

bool GameRunning() {
    return Player != nullptr && Form1 != nullptr;
}

void StartGame() {
    // A running game's sprites hold the images a start would replace: only EndGame makes way.
    if (Form1 == nullptr || GameRunning()) {
        return;
    }
    Main::AppMode = Main::AppModeGame;
    GameState = StatePlaying;
    TPictureCollection& images = Form1->DXImageList1->Items();
    images.Clear();
    images.LoadFromFile("Data/GGraphics.dxg");
    CreateShips();
    CreateButtons();
    OpenHudFonts();
    if (Main::MusicOn) {
        if (TWaveCollectionItem* music = GameMusic()) {
            music->SetLooped(true);
            music->StartSound(false);
        }
    }
    ResetGlobals();
}

void GameFrame(int LagCount) {
    if (!GameRunning()) {
        return;
    }
    TDXSpriteEngine& sprites = *Form1->DXSpriteEngine1;
    Form1->DXInput1->Poll();
    if (!Frozen) {
        sprites.Move(LagCount);
    }
    sprites.FreeDead();
    if (!Frozen) {
        ScheduleStep();
    }
    sprites.Draw();
    CheckSpecialShips();
    DrawPanel();
    DialogStep();
    CheckDeath();
    CheckFlyIn();
    if (CheckSectorEnd()) {
        return;
    }
    DrawOverlay();
}

void ScheduleStep() {
    SpawnWaves();
    SpawnSpecials();
    OpenDueTexts();
    AdvanceDistance();
}

void SpawnSpecial(const TSpriteClass& Class) {
    if (SpecialState != SpecialNone) {
        return;
    }
    if (Class.ClassNameIs(TEnemyInterpid::SpriteClassName)) {
        SpecialEnemy = new TEnemyInterpid(&World());
        Hold = true;
        SpecialState = SpecialCruiser;
    } else if (Class.ClassNameIs(TFriendSupplyShip::SpriteClassName)) {
        SupplyShip = new TFriendSupplyShip(&World());
        Hold = true;
        SpecialState = SpecialSupply;
    }
}

void CheckSpecialShips() {
    if (SpecialState == SpecialCruiser && SpecialEnemy->IsFinished()) {
        SpecialEnemy->Kill();
        SpecialEnemy = nullptr;
        SpecialState = SpecialNone;
        Hold = false;
    }
    if (SpecialState == SpecialSupply && SupplyShip->IsFinished()) {
        SupplyShip->Kill();
        SupplyShip = nullptr;
        SpecialState = SpecialNone;
        Hold = false;
    }
}

void EnterSector2() {
    Arrived = false;
    Player->X = 400 - Player->Width / 2;
    Player->Y = 600 + Player->Height;
    Player->RepairHull();
    Player->RechargeShields();
    Player->ReloadTorpedoes();
}

void OpenGameDialog(bool Large) {
    if (GameState != StatePlaying || !GameRunning()) {
        return;
    }
    GameBox = std::make_unique<TMessageBox>();
    Sprites::PlayEffect(Sprites::EffectDialog);
    GameBox->SetBackground(Large ? ImageLargeBox : ImageSmallBox);
    Player->SetControllable(false);
    GameBox->SetVisible(true);
    GameBox->Center();
    GameState = StateDialog;
}

void PauseGame() {
    if (!GameRunning()) {
        return;
    }
    if (GameState == StateDialog && DialogKind != DialogMissionText) {
        GameBox.reset();
        Player->SetControllable(true);
        if (DialogKind == DialogTorpedo) {
            TorpedoButton->SetImage(ImageTorpedoButton);
        } else {
            TransportButton->SetImage(ImageTransportButton);
        }
        GameState = StatePlaying;
    }
    if (GameState == StatePlaying) {
        ToggleGameMenu();
    }
}

void ToggleGameMenu() {
    if (GameState == StateMenu) {
        Sprites::PlayEffect(Sprites::EffectClick);
        MenuButton->SetImage(ImageMenuButton);
        Frozen = false;
        GameState = StatePlaying;
    } else if (GameState == StatePlaying) {
        Sprites::PlayEffect(Sprites::EffectDialog);
        MenuButton->SetImage(ImageMenuOpen);
        Frozen = true;
        GameState = StateMenu;
    }
}

void EndGame() {
    if (Main::MusicOn) {
        if (TWaveCollectionItem* music = GameMusic()) {
            music->StopSound();
        }
    }
    if (Main::Score > Main::BestScore) {
        Main::BestScore = Main::Score;
        Main::NewBestScore = true;
    }
    if (TDirectDrawSurface* surface = Main::BackSurface()) {
        surface->Fill(0);
    }
    GameBox.reset();
    FreeButtons();
    World().Clear();
    Player = nullptr;
    Background = nullptr;
    SpecialEnemy = nullptr;
    SupplyShip = nullptr;
}

void RestartGame() {
    Sprites::PlayEffect(Sprites::EffectClick);
    EndGame();
    StartGame();
}

void ReturnToMenu() {
    Sprites::PlayEffect(Sprites::EffectClick);
    EndGame();
    Menu::StartMenu();
}

void QuitFromGame() {
    Sprites::PlayEffect(Sprites::EffectClick);
    EndGame();
    Main::QuitGame();
}

}  // namespace Game
