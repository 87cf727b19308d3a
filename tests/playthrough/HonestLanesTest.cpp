// The honest player's lane planner: it steps aside from what falls on the ship, finds the gap in
// a row, admits what it cannot avoid, and knows when standing still is safe.
#include <gtest/gtest.h>

#include <vector>

#include "tests/playthrough/HonestLanes.h"

namespace {

using honest::LanePlan;
using honest::LaneProblem;
using honest::Mover;

constexpr double RowTop = 480;  // a light ship, 60 x 60, on the bottom row

// A shuttle-sized mover at x falling from y at 40 pixels a second.
Mover Falling(double x, double y, double cost = 1000) {
    Mover m;
    m.X = x;
    m.Y = y;
    m.W = 34;
    m.H = 40;
    m.VY = 40;
    m.Cost = cost;
    return m;
}

LaneProblem Ship(double x, std::vector<Mover> movers) {
    LaneProblem p;
    p.ShipX = x;
    p.ShipW = 60;
    p.RowTop = RowTop;
    p.RowBottom = RowTop + 60;
    p.Speed = 40;
    p.Goal = x;
    p.Movers = std::move(movers);
    return p;
}

// A row of shuttles every 50 pixels across the screen, but for those from `gap` to `gapEnd`.
std::vector<Mover> Row(double y, double gap = 0, double gapEnd = 0) {
    std::vector<Mover> row;
    for (double centre = 50; centre <= 750; centre += 50) {
        if (centre < gap || centre > gapEnd) row.push_back(Falling(centre - 17, y));
    }
    return row;
}

constexpr int AnyWay = 2;

}  // namespace

TEST(HonestLanes, PlansAroundWhatFallsAndAdmitsWhatItCannotAvoid) {
    struct Case {
        const char* Name;
        LaneProblem Problem;
        int Direction;  // where the first step goes: -1 left, 0 stay, 1 right, or AnyWay
        bool Touched;   // the cheapest lane still touches something
    };
    const std::vector<Case> cases = {
        {"nothing in the way", Ship(370, {}), 0, false},
        // A second from now: just the time to step aside the short way, and no time to wait.
        {"a shuttle over the right half steps left", Ship(370, {Falling(400, 394)}), -1, false},
        {"a shuttle over the left half steps right", Ship(370, {Falling(366, 394)}), 1, false},
        {"a shuttle beside the ship is left alone", Ship(370, {Falling(450, 394)}), 0, false},
        {"the gap in a row, far to the right, is reached in time", Ship(200, Row(0, 600, 650)), AnyWay, false},
        {"a row with no gap arriving at once is admitted", Ship(370, Row(430)), AnyWay, true},
    };
    for (const Case& c : cases) {
        const LanePlan plan = honest::PlanLane(c.Problem);
        const int direction = plan.NextX > c.Problem.ShipX + 1 ? 1 : plan.NextX < c.Problem.ShipX - 1 ? -1 : 0;
        if (c.Direction != AnyWay) {
            EXPECT_EQ(direction, c.Direction) << c.Name;
        }
        EXPECT_EQ(!plan.Touches.empty(), c.Touched) << c.Name;
        EXPECT_EQ(plan.Cost >= 1000, c.Touched) << c.Name << ": cost " << plan.Cost;
    }
}

TEST(HonestLanes, StandingStillIsSafeOnlyWhenNothingReachesTheShipInTime) {
    struct Case {
        const char* Name;
        Mover Thing;
        double Seconds;
        bool Touches;
    };
    Mover drifting = Falling(300, RowTop);
    drifting.VY = 0;
    drifting.VX = 40;
    drifting.MaxX = 320;  // stops short of the ship
    const std::vector<Case> cases = {
        {"arrives within the time", Falling(380, RowTop - 70), 1.2, true},
        {"arrives after it", Falling(380, RowTop - 120), 1.2, false},
        {"falls beside the ship", Falling(450, RowTop - 40), 1.2, false},
        {"drifts towards it but stops short", drifting, 3, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(honest::TouchesStanding(Ship(370, {c.Thing}), c.Seconds), c.Touches) << c.Name;
    }
}
