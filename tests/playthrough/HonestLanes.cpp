// HonestLanes: a shortest path over cells and steps; from each cell the ship may stay or move one
// cell either way per step, which is exactly its speed.
#include "tests/playthrough/HonestLanes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace honest {
namespace {

constexpr double Margin = 6;  // pixels of doubt around every thing: its place is read late
constexpr double MoveCost = 0.01;

// The left edges at which the ship touches the mover during step k, as an open interval.
bool Blocked(const Mover& m, const LaneProblem& p, int k, double& lo, double& hi) {
    const double t0 = k * LaneStep;
    const double t1 = t0 + LaneStep;
    const double top = std::min(m.YAt(t0), m.YAt(t1));
    const double bottom = std::max(m.YAt(t0), m.YAt(t1)) + m.H;
    const bool inRow = m.Column ? bottom < p.RowTop && bottom > 0 : top < p.RowBottom + Margin && bottom > p.RowTop - Margin;
    if (!inRow) return false;
    lo = std::min(m.XAt(t0), m.XAt(t1)) - p.ShipW - Margin;
    hi = std::max(m.XAt(t0), m.XAt(t1)) + m.W + Margin;
    return true;
}

}  // namespace

double Mover::XAt(double t) const {
    return std::clamp(X + VX * t, std::min(X, MinX), std::max(X, MaxX));
}

LanePlan PlanLane(const LaneProblem& p) {
    const double cell = p.Speed * LaneStep;
    const double right = ScreenRight - p.ShipW;
    const int cells = static_cast<int>((right - 1) / cell) + 1;
    const auto left = [&](int c) { return 1 + c * cell; };
    std::vector<double> cost(static_cast<std::size_t>(LaneSteps * cells), 0.0);
    for (const Mover& m : p.Movers) {
        for (int k = 0; k < LaneSteps; ++k) {
            double lo = 0;
            double hi = 0;
            if (!Blocked(m, p, k, lo, hi)) continue;
            const int first = std::max(0, static_cast<int>(std::floor((lo - 1) / cell)));
            const int last = std::min(cells - 1, static_cast<int>(std::ceil((hi - 1) / cell)));
            for (int c = first; c <= last; ++c) {
                if (left(c) > lo && left(c) < hi) cost[static_cast<std::size_t>(k * cells + c)] += m.Cost;
            }
        }
    }
    for (int k = 0; k < LaneSteps; ++k) {
        for (int c = 0; c < cells; ++c) {
            cost[static_cast<std::size_t>(k * cells + c)] += p.GoalWeight * std::abs(left(c) - p.Goal) / 100;
        }
    }
    constexpr double Unreached = std::numeric_limits<double>::infinity();
    std::vector<double> best(cost.size(), Unreached);
    std::vector<signed char> from(cost.size(), 0);
    const int start = std::clamp(static_cast<int>(std::lround((p.ShipX - 1) / cell)), 0, cells - 1);
    best[static_cast<std::size_t>(start)] = cost[static_cast<std::size_t>(start)];
    for (int k = 1; k < LaneSteps; ++k) {
        for (int c = 0; c < cells; ++c) {
            const std::size_t here = static_cast<std::size_t>(k * cells + c);
            for (int d = -1; d <= 1; ++d) {
                if (c + d < 0 || c + d >= cells) continue;
                const double before = best[static_cast<std::size_t>((k - 1) * cells + c + d)] + (d != 0 ? MoveCost : 0);
                if (before + cost[here] < best[here]) {
                    best[here] = before + cost[here];
                    from[here] = static_cast<signed char>(d);
                }
            }
        }
    }
    const auto last = best.begin() + (LaneSteps - 1) * cells;
    int c = static_cast<int>(std::min_element(last, best.end()) - last);
    std::vector<int> path(LaneSteps);
    for (int k = LaneSteps - 1; k >= 0; --k) {
        path[static_cast<std::size_t>(k)] = c;
        c += from[static_cast<std::size_t>(k * cells + c)];
    }
    LanePlan plan;
    plan.NextX = left(path[1]);
    plan.Cost = *std::min_element(last, best.end());
    for (int i = 0; i < static_cast<int>(p.Movers.size()); ++i) {
        for (int k = 0; k < LaneSteps; ++k) {
            double lo = 0;
            double hi = 0;
            const double x = left(path[static_cast<std::size_t>(k)]);
            if (Blocked(p.Movers[static_cast<std::size_t>(i)], p, k, lo, hi) && x > lo && x < hi) {
                plan.Touches.push_back({i, k * LaneStep});
                break;
            }
        }
    }
    std::sort(plan.Touches.begin(), plan.Touches.end(), [](const auto& a, const auto& b) { return a.Time < b.Time; });
    return plan;
}

bool TouchesStanding(const LaneProblem& p, double seconds) {
    for (const Mover& m : p.Movers) {
        for (int k = 0; k * LaneStep < seconds && k < LaneSteps; ++k) {
            double lo = 0;
            double hi = 0;
            if (Blocked(m, p, k, lo, hi) && p.ShipX > lo && p.ShipX < hi) return true;
        }
    }
    return false;
}

}  // namespace honest
