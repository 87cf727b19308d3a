// HonestLanes: where to steer along the bottom row. Everything in the game comes down the screen,
// so the ship keeps to the row above the panel and only moves sideways; the question is a path
// x(t) through what will cross that row. The row is cut into cells one step of sideways travel
// wide and time into steps; each cell and step costs what touching the things predicted there
// costs, and the cheapest path over the horizon wins. Depends on nothing.
#pragma once

#include <vector>

namespace honest {

// Something crossing the row, as the player expects it to move: straight lines, with the
// sideways drift stopping at MinX or MaxX.
struct Mover {
    double X = 0, Y = 0, W = 0, H = 0;
    double VX = 0, VY = 0;  // pixels per second
    double MinX = -1e9, MaxX = 1e9;
    double Cost = 0;     // per step in which the ship touches it
    bool Column = false;  // threatens the whole row beneath it (it may fire), not only its own body
    double XAt(double t) const;
    double YAt(double t) const { return Y + VY * t; }
};

struct LaneProblem {
    double ShipX = 0, ShipW = 0;
    double RowTop = 0, RowBottom = 0;
    double Speed = 0;  // pixels per second sideways
    double Goal = 400;  // a left edge the ship drifts towards when nothing presses
    double GoalWeight = 0.02;
    std::vector<Mover> Movers;
};

struct LanePlan {
    double NextX = 0;  // where the left edge should be one step from now
    double Cost = 0;
    // Movers that the cheapest path still touches, each once, earliest first, with the time.
    struct Touch {
        int Mover;
        double Time;
    };
    std::vector<Touch> Touches;
};

constexpr double LaneStep = 0.2;     // seconds
constexpr int LaneSteps = 80;        // 16 seconds ahead
constexpr double ScreenRight = 800;  // the ship's right edge stays left of this

LanePlan PlanLane(const LaneProblem& problem);
// Whether the ship, standing where it is (as it does while a dialog is open), touches a mover
// within the given seconds.
bool TouchesStanding(const LaneProblem& problem, double seconds);

}  // namespace honest
