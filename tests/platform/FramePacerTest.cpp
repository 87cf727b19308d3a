// The frame pacer on made-up present times, with a 10 ms refresh period: when each next frame is
// due, and how the lead before a display's refresh follows the refreshes it missed.
#include "platform/FramePacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace platform {
namespace {

using Sync = FramePacer::Sync;
using Ms = std::chrono::duration<double, std::milli>;

struct Present {
    double Submitted;
    double Returned;
    Sync How;
    std::optional<double> Due;  // when the next frame is due afterwards, if ever
};

struct Case {
    std::string Name;
    std::vector<Present> Presents;
};

FramePacer::Clock::time_point At(double ms) {
    return FramePacer::Clock::time_point{} + std::chrono::duration_cast<FramePacer::Clock::duration>(Ms(ms));
}

TEST(FramePacer, EachFrameIsDueAtTheRefreshThatWillShowIt) {
    constexpr Sync K = Sync::Kept;
    constexpr Sync D = Sync::Display;
    const Case cases[] = {
        {"kept clock: one period per frame", {{0, 0.2, K, 10.2}, {10.3, 10.4, K, 20.2}, {20.5, 20.6, K, 30.2}}},
        {"kept clock: a little late keeps the count", {{0, 0, K, 10}, {14, 14.1, K, 20}}},
        {"kept clock: half a period late starts again", {{0, 0, K, 10}, {15, 15.2, K, 25.2}}},
        {"kept clock: presents that did not wait cannot run it ahead", {{0, 0, K, 10}, {1, 1, K, 20}, {2, 2, K, 12}}},
        {"no vertical sync: nothing waits", {{0, 0, Sync::None, {}}, {3, 3, K, 13}, {5, 5, Sync::None, {}}}},
        {"display: a lead before its next refresh", {{0, 8, D, 15.5}, {15.6, 18, D, 25.5}}},
        {"display: a refresh missed in time lengthens the lead", {{0, 8, D, 15.5}, {15.5, 28.1, D, 34.6}}},
        {"display: a frame handed over late does not", {{0, 8, D, 15.5}, {19, 28.1, D, 35.6}}},
    };
    for (const Case& c : cases) {
        FramePacer pacer;
        pacer.SetPeriod(std::chrono::milliseconds(10));
        for (const Present& p : c.Presents) {
            pacer.Presented(At(p.Submitted), At(p.Returned), p.How);
            const auto due = pacer.FrameDue();
            ASSERT_EQ(due.has_value(), p.Due.has_value()) << c.Name << ", present at " << p.Submitted;
            if (due) {
                EXPECT_NEAR(Ms(*due - At(0)).count(), *p.Due, 1e-3) << c.Name << ", present at " << p.Submitted;
            }
        }
    }
}

TEST(FramePacer, TheLeadIsAQuarterPeriodGrowingByMissesToHalfAPeriod) {
    const struct {
        double PeriodMs;
        double LeadMs;
    } periods[] = {{10, 2.5}, {1000.0 / 144, 2}, {1000.0 / 30, 1000.0 / 120}};
    for (const auto& period : periods) {
        FramePacer pacer;
        const auto length = std::chrono::duration_cast<FramePacer::Clock::duration>(Ms(period.PeriodMs));
        pacer.SetPeriod(length);
        EXPECT_NEAR(Ms(pacer.Lead()).count(), period.LeadMs, 1e-3) << period.PeriodMs;
        // Every frame handed over at its refresh and shown a refresh later.
        for (int frame = 0; frame < 20; ++frame) {
            const double returned = 2 * frame * period.PeriodMs;
            pacer.Presented(At(returned - period.PeriodMs), At(returned), Sync::Display);
        }
        EXPECT_NEAR(Ms(pacer.Lead()).count(), std::max(2.0, period.PeriodMs / 2), 1e-3) << period.PeriodMs;
    }
}

}  // namespace
}  // namespace platform
