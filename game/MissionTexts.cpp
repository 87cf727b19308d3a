// MissionTexts: the texts word for word, as the player reads them.
#include "game/MissionTexts.h"

#include <initializer_list>
#include <string_view>

#include "game/Game.h"

namespace Game {

namespace {

// Opens the box with the text's bold title and the body's paragraphs; false when no box could open.
bool OpenText(std::size_t text, bool large, std::initializer_list<std::string_view> body) {
    OpenGameDialog(large);
    if (GameState != StateDialog || !GameBox) {
        return false;
    }
    AddDialogTitle(*GameBox, MissionTexts[text].Title);
    for (const std::string_view paragraph : body) {
        GameBox->AddText(paragraph);
    }
    DialogKind = DialogMissionText;
    return true;
}

}  // namespace

void ShowWelcome() {
    if (!OpenText(TextWelcome, true,
                  {"You are a captain of a one ship from the zarvoth fleet. Your house guiled the federation and "
                   "other zarvoths. You are the only survival from squadron, which was sended to ambush the "
                   "federation fleet. Now you must face against superiority of federation ships. Cardassians, "
                   "whose are in this area, have promised us to help you with resupply, so do not shoot on them! "
                   "Use your shields for protection, cloak for sneak attack and weapons to destroy as much enemy "
                   "ships as is possible, the victory of your house depends on you...",
                   "Win or die with honor!!!"})) {
        return;
    }
    GameBox->AddSpace(50);
    GameBox->SetBold(true);
    GameBox->AddText("Controls:");
    GameBox->AddSpace(15);
    for (const std::string_view line :
         {"Player move    ...... arrows (A,S,D,W)", "Fire phaser    ...... left mouse", "Fire torpedo   ...... T",
          "Cloak ship     ...... C", "Enable shields ...... right mouse (H)", "Transport      ...... R",
          "Game menu      ...... ESC (M)"}) {
        GameBox->AddText(line);
    }
}

void ShowSector2() {
    OpenText(TextSector2, true,
             {"Many of star fleet commanders become dissatisfied with fact, that their ships, which has been "
              "sended to this area, are not responding. So federation has decided to send numerous reinforcements "
              "to this sector. You cannot retreat now, only chance to survival is dead of your enemies.",
              "Cardassians will help you again, but they had not many ships around here, so you must more "
              "economize with your photon torpedos and of cause be more careful about your ship.",
              "Win or die with honor!"});
}

void ShowSector1Cleared() {
    OpenText(TextSector1Cleared, true,
             {"Congratulations, you have quietly destroyed many of your enemies, now it is time for move to the "
              "next sector, closer to federation headquarters. You have proven your skills, now you could "
              "experience yourself in greater battle.",
              "Press Warp and fly to the next misson..."});
}

void ShowGameCompleted() {
    OpenText(TextGameCompleted, true,
             {"You have destroyed whole foremost federation fleet, your bravery and abilities amazed other zarvoth "
              "houses and they will join you. Zarvoths will be able now to defeat the federation. Activate warp "
              "for return to your base and enjoy the victory."});
}

void ShowShuttleNote() {
    OpenText(TextShuttleNote, false,
             {"Your sensors have spotted a federation shuttle. A small non-combat ship. You are ordered to destroy "
              "as much shuttles, as you can, before they could inform other-bigger ships about your presence in "
              "this sector."});
}

void ShowDefiantNote() {
    OpenText(TextDefiantNote, false,
             {"Defiant class is a powerful ship, attested in battles with the Borgs. Be ware of photon torpedos, "
              "which could defiant endanger you with."});
}

void ShowAkiraNote() {
    OpenText(TextAkiraNote, false,
             {"Akira class is a versatile light crusier. This ship dispose of relatively large gunpower and owing "
              "to good construction, it is also very resistant."});
}

void ShowInterpidNote() {
    OpenText(TextInterpidNote, false,
             {"Interpid class is a small but very operative federation crusier, which could cause you many "
              "troubles. You practically cannot destroy it with face to face attack, use your cloak to move pass "
              "the Interpid and find good shooting position."});
}

void ShowSupplyNote() {
    OpenText(TextSupplyNote, false,
             {"Cardassians kept their word and they are sending you a first supply ship. Do not attack it! The "
              "ship cannot delay too long, so you will have to quick calculate approximate distance between you "
              "and supply ship for transport of supplies."});
}

}  // namespace Game
