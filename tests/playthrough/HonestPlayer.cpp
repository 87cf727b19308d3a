// HonestPlayer: each decision steers along the cheapest lane, fires at what is in the way (or,
// with nothing in the way, at what comes nearest), keeps the cloak on while not firing, fights
// a cruiser from the bottom row where its beam does not reach, and answers every dialog.
#include "tests/playthrough/HonestPlayer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace honest {
namespace {

constexpr std::uint32_t LookEvery = 100;   // ms between readings of the screen
constexpr std::uint32_t ReactAfter = 150;  // ms from a reading to the action on it
constexpr std::uint8_t KeyA = 30, KeyS = 31, KeyD = 32;
constexpr char Escape = 27;
constexpr double PanelTop = 540;
constexpr double CruiserHull = 60000;  // six torpedoes take one down
constexpr double TorpedoDamage = 10000;
constexpr double TorpedoSpeed = 120;
constexpr double RamCost = 1000;    // a shuttle takes 900 of the hull
constexpr double DeadlyCost = 1e5;  // anything larger ends the ship
constexpr double InTheWay = 500;    // a plan dearer than this has something to shoot

struct KindRule {
    double Fall;   // pixels per second down the screen
    double Drift;  // sideways
    double Cost;   // of touching it
    double Hull;
};

KindRule RuleOf(Kind kind) {
    switch (kind) {
    case Kind::Shuttle: return {40, 0, RamCost, 900};
    case Kind::Defiant: return {30, 10, DeadlyCost, 3040};
    case Kind::Akira: return {28, 10, DeadlyCost, 5500};
    case Kind::Cruiser: return {20, 0, DeadlyCost, CruiserHull};
    case Kind::Supply: return {20, 0, DeadlyCost, 5000};
    case Kind::EnemyTorpedo: return {120, 0, 250, 0};
    case Kind::OwnTorpedo: break;
    }
    return {0, 0, 0, 0};
}

bool IsEnemyShip(Kind kind) {
    return kind == Kind::Shuttle || kind == Kind::Defiant || kind == Kind::Akira || kind == Kind::Cruiser;
}

bool IsTorpedoShip(Kind kind) { return kind == Kind::Defiant || kind == Kind::Akira; }

bool Inside(double x, double y, const Thing& t) { return x >= t.X && x < t.X + t.W && y >= t.Y && y < t.Y + t.H; }

// Time for a dialog, in which the ship stands still: nothing comes to where it stands.
constexpr double DialogTime = 1.2;  // seconds

const Thing* Find(const Sight& seen, const void* id) {
    for (const Thing& t : seen.Things) {
        if (t.Id == id) return &t;
    }
    return nullptr;
}

}  // namespace

HonestPlayer::HonestPlayer(Hands hands, bool lightShip)
    : FHands(std::move(hands)), FLight(lightShip), FSpeed(lightShip ? 40 : 25) {}

void HonestPlayer::Frame(std::uint32_t now) {
    if (!FLooked || now - FLastLook >= LookEvery) {
        FSights.push_back(Look(now));
        FLastLook = now;
        FLooked = true;
    }
    if (!FSights.empty() && now - FSights.front().Time >= ReactAfter) {
        Act(FSights.front(), now);
        FSights.pop_front();
    }
}

void HonestPlayer::Act(const Sight& seen, std::uint32_t now) {
    const bool fresh = seen.Time > FLastCommand;
    switch (seen.Shows) {
    case Screen::Elsewhere:
        ReleaseKeys(now);
        return;
    case Screen::GameMenu:
        ReleaseKeys(now);
        if (fresh) Command(Escape, now);
        return;
    case Screen::MissionText:
        ReleaseKeys(now);
        if (fresh) Command('\r', now);
        return;
    case Screen::TorpedoDialog:
        if (fresh) AnswerTorpedoDialog(seen, now);
        return;
    case Screen::TransportDialog:
        if (fresh) AnswerTransportDialog(seen);
        if (fresh) TypeOn(now);
        return;
    case Screen::Flying:
        // A screen from before the dialog this player asked for opened.
        if (FDialog != Dialog::None && seen.Time <= FDialogAsked) return;
        FDialog = Dialog::None;
        FTyping.clear();
        Fly(seen, now);
        return;
    }
}

void HonestPlayer::Command(char key, std::uint32_t now) {
    FHands.Type(key);
    FLastCommand = now;
    if (key == 'c') FCloaked = !FCloaked;
}

void HonestPlayer::Ask(char key, std::uint32_t now) {
    Command(key, now);
    FDialog = Dialog::Asked;
    FDialogAsked = now;
}

void HonestPlayer::TypeOn(std::uint32_t now) {
    if (FTyping.empty()) return;
    const char key = FTyping.front();
    FTyping.erase(FTyping.begin());
    FHands.Type(key);
    if (key == '\r') {
        FLastCommand = now;
        FDialog = Dialog::None;
    }
}

void HonestPlayer::Steer(int direction, std::uint32_t now) {
    if (direction != FSteering) {
        FSteered.emplace_back(now, direction);
        while (FSteered.size() > 8) FSteered.pop_front();
    }
    FSteering = direction;
    FHands.Hold(KeyA, direction < 0);
    FHands.Hold(KeyD, direction > 0);
    FHands.Hold(KeyS, true);  // the bottom row is the furthest from what comes down
}

void HonestPlayer::ReleaseKeys(std::uint32_t now) {
    Steer(0, now);
    FHands.Hold(KeyS, false);
}

// The own ship's place now: where it was seen, moved on by the steering held since.
double HonestPlayer::OwnX(const Sight& seen, std::uint32_t now) const {
    double x = seen.Ship.X;
    int direction = 0;
    std::uint32_t from = seen.Time;
    for (const auto& [when, to] : FSteered) {
        if (when <= seen.Time) {
            direction = to;
            continue;
        }
        x += direction * FSpeed * (when - from) / 1000.0;
        from = when;
        direction = to;
    }
    x += direction * FSpeed * (now - from) / 1000.0;
    return std::clamp(x, 1.0, 800 - seen.Ship.W);
}

// The phaser bar now: read late, recharged since, less the shots fired since.
double HonestPlayer::Energy(const Sight& seen, std::uint32_t now) const {
    double energy = seen.Phaser + (seen.ShieldsUp ? 11 : 35) * (now - seen.Time) / 1000.0;
    for (const std::uint32_t shot : FShots) {
        if (shot > seen.Time) energy -= 10;
    }
    return std::min(energy, 100.0);
}

Mover HonestPlayer::Predict(const Thing& thing, double age) const {
    const KindRule rule = RuleOf(thing.What);
    Mover m;
    m.X = thing.X;
    m.Y = thing.Y;
    m.W = thing.W;
    m.H = thing.H;
    m.VY = (thing.What == Kind::Cruiser || thing.What == Kind::Supply) && thing.Y > 20 ? 0 : rule.Fall;
    m.Cost = rule.Cost;
    if (thing.What == Kind::EnemyTorpedo) {
        const auto damage = FEnemyTorpedoDamage.find(thing.Id);
        if (damage != FEnemyTorpedoDamage.end()) m.Cost = damage->second;
    }
    const double centre = 400 - std::floor(thing.W / 2);
    if (thing.What == Kind::Defiant) {
        m.VX = thing.X < centre ? -rule.Drift : thing.X > centre ? rule.Drift : 0;
    }
    if (thing.What == Kind::Akira) {
        // Out to the quarter line on its side, and no further.
        m.VX = thing.X < centre ? -rule.Drift : thing.X > centre ? rule.Drift : 0;
        m.MinX = 200 - std::floor(thing.W / 2);
        m.MaxX = 600 - std::floor(thing.W / 2);
    }
    const double x = m.XAt(age);
    m.Y = m.YAt(age);
    m.X = x;
    return m;
}

LaneProblem HonestPlayer::Lanes(const Sight& seen, double age, bool visible) {
    LaneProblem problem;
    problem.ShipW = seen.Ship.W;
    problem.RowTop = PanelTop - seen.Ship.H;
    problem.RowBottom = PanelTop;
    problem.Speed = FSpeed;
    problem.Goal = 400 - seen.Ship.W / 2;
    FOwners.clear();
    for (const Thing& thing : seen.Things) {
        if (thing.Burning || thing.What == Kind::OwnTorpedo) continue;
        const Mover m = Predict(thing, age);
        problem.Movers.push_back(m);
        FOwners.push_back(&thing);
        if (visible && IsTorpedoShip(thing.What)) {
            // Seen, it fires straight down from its centre now and then.
            Mover column = m;
            column.X = m.X + m.W / 2 - 6;
            column.W = 12;
            column.Cost = thing.What == Kind::Akira ? 25 : 3;
            column.Column = true;
            problem.Movers.push_back(column);
            FOwners.push_back(&thing);
        }
        if (thing.What == Kind::Cruiser) {
            problem.Goal = thing.CentreX() - seen.Ship.W / 2;
            problem.GoalWeight = 1;
        }
    }
    return problem;
}

// How long destroying the thing takes from now: a torpedo for a torpedo ship when one is
// aboard, else phaser shots whenever the bar is nearly full (a full bar's shot does the most).
double HonestPlayer::KillTime(const Sight& seen, const Thing& thing, double ownX, double energy) const {
    const double reaction = ReactAfter / 1000.0 + LookEvery / 1000.0;
    if (IsTorpedoShip(thing.What) && seen.Torpedoes > 0) {
        const double way = std::hypot(thing.CentreX() - ownX - seen.Ship.W / 2, thing.CentreY() - PanelTop + seen.Ship.H / 2);
        return reaction + 0.5 + way / TorpedoSpeed;
    }
    const double power = FLight ? 2.5 : 2.5 * 1.75;
    double damage = 0;
    double t = reaction;
    for (; damage < RuleOf(thing.What).Hull && t < 30; t += 0.1) {
        if (energy >= 85) {
            damage += power * energy;
            energy -= 10;
        }
        energy = std::min(100.0, energy + 3.5);
    }
    return t;
}

// Seen by a torpedo ship close above, whose torpedoes would leave too little time to step aside.
bool HonestPlayer::Exposed(const Sight& seen, double ownX) const {
    const double centre = ownX + seen.Ship.W / 2;
    for (const Thing& t : seen.Things) {
        if (t.Burning || !IsTorpedoShip(t.What)) continue;
        const double reach = seen.Ship.W / 2 + (t.What == Kind::Akira ? 60 : 20);
        if (std::abs(t.CentreX() - centre) < reach) return true;
    }
    return false;
}

// With nothing in the way: the ship that will reach the row soonest near the own lane, the
// quick kills first.
const Thing* HonestPlayer::Chance(const Sight& seen, double ownX, double age) const {
    const Thing* chosen = nullptr;
    double best = 1e9;
    const double emitter = PanelTop - seen.Ship.H / 2 - (FLight ? 0 : 20);
    for (const Thing& thing : seen.Things) {
        if (thing.Burning || thing.What == Kind::Cruiser || !IsEnemyShip(thing.What)) continue;
        const Mover m = Predict(thing, age);
        if (m.Y + m.H / 2 > emitter - 30) continue;
        const double arrival = std::max(0.0, (PanelTop - seen.Ship.H - m.Y - m.H) / m.VY);
        const double x = m.XAt(arrival);
        if (x + m.W < ownX - 70 || x > ownX + seen.Ship.W + 70) continue;
        const double rank = arrival + (thing.What == Kind::Defiant ? 2 : thing.What == Kind::Akira ? 6 : 0);
        if (rank < best) {
            best = rank;
            chosen = &thing;
        }
    }
    return chosen;
}

// One phaser click at where the target will be, if the energy is worth spending and a point of
// it can be clicked. True while the target is being fought.
bool HonestPlayer::Shoot(const Sight& seen, const Thing& target, double age, std::uint32_t now) {
    const double energy = Energy(seen, now);
    // Full shots give the most for the energy; in a hurry, any shot helps.
    double wanted = target.What == Kind::Cruiser ? 70 : 85;
    if (FUrgent) wanted = FUrgentTime < 2.5 ? 12 : target.What == Kind::Shuttle ? 60 : 85;
    const Mover m = Predict(target, age + 0.017);
    const double emitter = PanelTop - seen.Ship.H / 2 - (FLight ? 0 : 20);
    double x = m.X + m.W / 2;
    double y = std::clamp(m.Y + m.H / 2, std::max(m.Y + 3, 2.0), std::min(m.Y + m.H - 3, emitter - 4));
    if (y < m.Y + 2 || y < 2) return false;
    // The menu button's corner takes every click there.
    if (x >= 690 && y <= 140) {
        if (m.X + 3 < 689) {
            x = std::max(m.X + 3, 660.0);
        } else if (m.Y + m.H - 3 > 141) {
            y = 142;
        } else {
            return false;
        }
    }
    for (const Thing& other : seen.Things) {
        if (other.What == Kind::Supply && Inside(x, y, other)) return false;
    }
    if (energy < wanted) return true;
    if (FCloaked) Command('c', now);
    FHands.Click(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
    FShots.push_back(now);
    while (FShots.size() > 16) FShots.pop_front();
    if (target.What == Kind::Cruiser) FCruiserDamage += 2.5 * std::max(energy, 0.0) * (FLight ? 1 : 1.75);
    return true;
}

// Counts the torpedoes that went into the cruiser, and learns which ship fired each enemy
// torpedo, as a player watching the screen does.
void HonestPlayer::Watch(const Sight& seen) {
    // The eye follows a thing only while it stays in view: one that comes later is another.
    const Thing* cruiser = nullptr;
    bool supply = false;
    for (const Thing& t : seen.Things) {
        if (t.What == Kind::Cruiser) cruiser = &t;
        supply = supply || t.What == Kind::Supply;
    }
    if (!supply) FSupplied = nullptr;
    if (cruiser == nullptr || cruiser->Id != FCruiser) {
        FCruiser = cruiser != nullptr ? cruiser->Id : nullptr;
        FCruiserDamage = 0;
    }
    std::map<const void*, Thing> torpedoes;
    std::map<const void*, double> enemyTorpedoes;
    for (const Thing& t : seen.Things) {
        if (t.What == Kind::OwnTorpedo) torpedoes[t.Id] = t;
        if (t.What != Kind::EnemyTorpedo) continue;
        const auto known = FEnemyTorpedoDamage.find(t.Id);
        double damage = 50;
        for (const Thing& ship : seen.Things) {
            if (ship.What == Kind::Akira && std::abs(ship.CentreX() - t.CentreX()) < 4 && ship.Y < t.Y) damage = 250;
        }
        enemyTorpedoes[t.Id] = known != FEnemyTorpedoDamage.end() ? known->second : damage;
    }
    for (const auto& [id, torpedo] : FOwnTorpedoes) {
        if (torpedoes.count(id) || cruiser == nullptr) continue;
        const Thing near{nullptr, Kind::Cruiser, cruiser->X - 4, cruiser->Y - 4, cruiser->W + 8, cruiser->H + 20};
        if (Inside(torpedo.CentreX(), torpedo.Y, near)) FCruiserDamage += TorpedoDamage;
    }
    FOwnTorpedoes = std::move(torpedoes);
    FEnemyTorpedoDamage = std::move(enemyTorpedoes);
}

bool HonestPlayer::WantsTorpedo(const Sight& seen, const LaneProblem& problem, const Thing& target, double ownX) const {
    if (seen.Torpedoes <= 0 || seen.Shows != Screen::Flying) return false;
    for (const Thing& t : seen.Things) {
        if (t.What == Kind::Supply) return false;
    }
    if (TouchesStanding(problem, DialogTime)) return false;
    int inFlight = 0;
    for (const Thing& t : seen.Things) inFlight += t.What == Kind::OwnTorpedo;
    if (target.What == Kind::Cruiser) {
        const double offset = std::abs(target.CentreX() - (ownX + seen.Ship.W / 2));
        return target.Y > 15 && offset < target.W / 2 - 20 && CruiserHull - FCruiserDamage > TorpedoDamage * inFlight;
    }
    return FUrgent && IsTorpedoShip(target.What);
}

// Something the cheapest lane still runs into: if it can be destroyed before it arrives, it is
// the target and the lane is planned as if it were gone; so on for what the new lane runs into.
const Thing* HonestPlayer::ClearTheWay(const Sight& seen, LaneProblem& problem, LanePlan& plan, std::uint32_t now) {
    const Thing* target = nullptr;
    FUrgent = false;
    double busy = 0;  // seconds of firing the ships already chosen take
    for (int round = 0; round < 4 && plan.Cost >= InTheWay; ++round) {
        const Thing* chosen = nullptr;
        for (const LanePlan::Touch& t : plan.Touches) {
            const Thing& thing = *FOwners[static_cast<std::size_t>(t.Mover)];
            if (problem.Movers[static_cast<std::size_t>(t.Mover)].Cost < InTheWay || !IsEnemyShip(thing.What)) continue;
            const double needed = KillTime(seen, thing, problem.ShipX, busy == 0 ? Energy(seen, now) : 85);
            if (busy + needed < t.Time) {
                chosen = &thing;
                busy += needed;
                if (target == nullptr) {
                    target = chosen;
                    FUrgent = true;
                    FUrgentTime = t.Time;
                }
                break;
            }
        }
        if (chosen == nullptr) break;
        for (std::size_t i = 0; i < problem.Movers.size(); ++i) {
            if (FOwners[i] == chosen) problem.Movers[i].Cost = 0;
        }
        plan = PlanLane(problem);
    }
    return target;
}

void HonestPlayer::Fly(const Sight& seen, std::uint32_t now) {
    const bool fresh = seen.Time > FLastCommand;
    if (fresh) FCloaked = seen.Cloaked;
    Watch(seen);
    if (fresh && seen.WarpLit) {
        ReleaseKeys(now);
        FHands.Click(seen.WarpX, seen.WarpY);
        FLastCommand = now;
        return;
    }
    if (seen.Ship.Burning) {
        ReleaseKeys(now);
        return;
    }
    const double age = (now - seen.Time) / 1000.0;
    const double ownX = OwnX(seen, now);
    LaneProblem problem = Lanes(seen, age, !FCloaked);
    problem.ShipX = ownX;
    LanePlan plan = PlanLane(problem);
    const Thing* target = ClearTheWay(seen, problem, plan, now);
    Steer(plan.NextX > ownX + 1.5 ? 1 : plan.NextX < ownX - 1.5 ? -1 : 0, now);
    if (target == nullptr) {
        for (const Thing& t : seen.Things) {
            if (t.What == Kind::Cruiser && !t.Burning && t.Y + t.H > 10) target = &t;
        }
    }
    if (target == nullptr && !Exposed(seen, ownX)) target = Chance(seen, ownX, age);
    if (fresh && target != nullptr && WantsTorpedo(seen, problem, *target, ownX)) {
        if (FCloaked) Command('c', now);
        Ask('t', now);
        FTorpedoTarget = target->Id;
        FIdleActions = 0;
        return;
    }
    if (fresh) {
        for (const Thing& t : seen.Things) {
            if (t.What == Kind::Supply && !t.Burning && t.Y > 20 && t.Id != FSupplied && !TouchesStanding(problem, DialogTime)) {
                FSupplied = t.Id;
                Ask('r', now);
                return;
            }
        }
    }
    if (target != nullptr && Shoot(seen, *target, age, now)) {
        FIdleActions = 0;
        return;
    }
    if (++FIdleActions >= 3 && !FCloaked && fresh) Command('c', now);
}

void HonestPlayer::AnswerTorpedoDialog(const Sight& seen, std::uint32_t now) {
    if (FDialog != Dialog::Answering) {
        FDialog = Dialog::Answering;
        FTyping = "\r";
        const Thing* target = Find(seen, FTorpedoTarget);
        if (seen.DialogTakesInput && target != nullptr) {
            // From the ship's centre to where the target will be when the torpedo meets it; the
            // torpedo leaves when Enter is typed, some four keystrokes from now.
            const double launch = (now - seen.Time) / 1000.0 + 0.3;
            const double fromX = seen.Ship.X + std::floor(seen.Ship.W / 2);
            const double fromY = seen.Ship.Y + std::floor(seen.Ship.H / 2);
            double flight = 0;
            Mover m;
            for (int i = 0; i < 6; ++i) {
                m = Predict(*target, launch + flight);
                flight = std::hypot(m.X + m.W / 2 - fromX, m.Y + m.H / 2 - fromY) / TorpedoSpeed;
            }
            const double degrees = std::atan2(m.Y + m.H / 2 - fromY, m.X + m.W / 2 - fromX) * 180 / std::numbers::pi + 180;
            const int angle = (static_cast<int>(std::lround(degrees)) % 360 + 360) % 360;
            FTyping = std::to_string(angle) + "\r";
        }
    }
    TypeOn(now);
}

void HonestPlayer::AnswerTransportDialog(const Sight& seen) {
    if (FDialog != Dialog::Answering) {
        FDialog = Dialog::Answering;
        FTyping = "\r";
        int ownX = 0, ownY = 0, supplyX = 0, supplyY = 0;
        bool own = false, supply = false;
        for (const std::string& line : seen.DialogLines) {
            own = own || std::sscanf(line.c_str(), "Your position: [%d;%d]", &ownX, &ownY) == 2;
            supply = supply || std::sscanf(line.c_str(), "Supply ship position: [%d;%d]", &supplyX, &supplyY) == 2;
        }
        if (own && supply) {
            FTyping = std::to_string(std::lround(std::hypot(supplyX - ownX, supplyY - ownY))) + "\r";
        }
    }
}

}  // namespace honest
