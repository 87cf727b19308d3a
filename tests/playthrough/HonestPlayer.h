// HonestPlayer: a player that plays the game the way a person at the screen can. It reads the
// screen (HonestSight) at most every 100 ms and acts on each reading 150 ms after it was taken,
// only through a person's hands: steering keys held until the next decision, phaser clicks,
// the cloak and transport keys, the torpedo and transport dialogs answered by typed
// digits and Enter, the warp button. What it knows beyond the screen is what a player learns by
// playing: how each kind of ship moves, what touching it costs, what a phaser shot and a
// torpedo do. Depends on HonestSight and HonestLanes.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/playthrough/HonestLanes.h"
#include "tests/playthrough/HonestSight.h"

namespace honest {

// What the player's hands reach: the window's click and typed-character events, and held keys.
struct Hands {
    std::function<void(int x, int y)> Click;
    std::function<void(char key)> Type;
    std::function<void(std::uint8_t scanCode, bool held)> Hold;
};

class HonestPlayer {
public:
    HonestPlayer(Hands hands, bool lightShip);
    // Called before every frame with the game clock's time in milliseconds.
    void Frame(std::uint32_t now);

private:
    // A dialog this player asked for: asked, then being answered.
    enum class Dialog : std::uint8_t { None, Asked, Answering };

    void Act(const Sight& seen, std::uint32_t now);
    void Fly(const Sight& seen, std::uint32_t now);
    void Watch(const Sight& seen);
    void AnswerTorpedoDialog(const Sight& seen, std::uint32_t now);
    void AnswerTransportDialog(const Sight& seen);
    // Types the next character of the answer; Enter ends the dialog.
    void TypeOn(std::uint32_t now);
    void Command(char key, std::uint32_t now);
    void Ask(char key, std::uint32_t now);
    void Steer(int direction, std::uint32_t now);
    void ReleaseKeys(std::uint32_t now);

    // Where a thing seen `age` seconds ago is now, and how it moves.
    Mover Predict(const Thing& thing, double age) const;
    LaneProblem Lanes(const Sight& seen, double age, bool visible);
    double OwnX(const Sight& seen, std::uint32_t now) const;
    double Energy(const Sight& seen, std::uint32_t now) const;
    const Thing* ClearTheWay(const Sight& seen, LaneProblem& problem, LanePlan& plan, std::uint32_t now);
    double KillTime(const Sight& seen, const Thing& thing, double ownX, double energy) const;
    bool Exposed(const Sight& seen, double ownX) const;
    const Thing* Chance(const Sight& seen, double ownX, double age) const;
    bool Shoot(const Sight& seen, const Thing& target, double age, std::uint32_t now);
    bool WantsTorpedo(const Sight& seen, const LaneProblem& problem, const Thing& target, double ownX) const;

    Hands FHands;
    bool FLight;
    double FSpeed;
    std::deque<Sight> FSights;  // read, waiting to be acted on
    std::uint32_t FLastLook = 0;
    bool FLooked = false;
    // A typed command changes the screen only after it: sights from before it are stale.
    std::uint32_t FLastCommand = 0;
    bool FCloaked = false;  // as the player believes, corrected by fresh sights
    std::deque<std::uint32_t> FShots;  // times of recent phaser clicks
    int FSteering = 0;                 // -1 left, 0 none, 1 right
    std::deque<std::pair<std::uint32_t, int>> FSteered;  // when the steering changed, and to what
    Dialog FDialog = Dialog::None;
    std::uint32_t FDialogAsked = 0;
    std::string FTyping;  // the rest of the answer being typed
    const void* FTorpedoTarget = nullptr;
    const void* FSupplied = nullptr;  // the supply ship last asked for a transport
    // The movers of the last lane problem, by the thing each came from.
    std::vector<const Thing*> FOwners;
    // The target is in the way, and reaches the row this many seconds from now.
    bool FUrgent = false;
    double FUrgentTime = 0;
    // The cruiser in view and the damage it has taken, as far as the player could count it.
    const void* FCruiser = nullptr;
    double FCruiserDamage = 0;
    std::map<const void*, Thing> FOwnTorpedoes;         // the own torpedoes of the last sight
    std::map<const void*, double> FEnemyTorpedoDamage;  // by the ship that fired each
    int FIdleActions = 0;                               // decisions since the last shot
};

}  // namespace honest
