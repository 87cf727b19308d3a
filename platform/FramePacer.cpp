// FramePacer: the refresh clock and the lead, from the times of the presents.
#include "platform/FramePacer.h"

#include <algorithm>

namespace platform {

namespace {

constexpr FramePacer::Clock::duration LeadStep = std::chrono::milliseconds(1);

}  // namespace

void FramePacer::SetPeriod(Clock::duration period) {
    if (period <= Clock::duration::zero() || period == FPeriod) {
        return;
    }
    FPeriod = period;
    FLead = std::clamp(period / 4, MinimumLead, std::max(MinimumLead, period / 2));
}

void FramePacer::Presented(Clock::time_point submitted, Clock::time_point returned, Sync sync) {
    const bool counting = FSync == sync && FNextRefresh.has_value();
    FSync = sync;
    switch (sync) {
        case Sync::None:
            FNextRefresh.reset();
            break;
        case Sync::Kept:
            // Sent within half a period of its refresh, the frame keeps the count; otherwise the
            // count starts again at it.
            if (counting && submitted >= *FNextRefresh - FPeriod && submitted < *FNextRefresh + FPeriod / 2) {
                *FNextRefresh += FPeriod;
            } else {
                FNextRefresh = returned + FPeriod;
            }
            break;
        case Sync::Display:
            // Handed over before the refresh and still shown a refresh later: the display needs
            // more time than the lead gave it.
            if (counting && submitted <= *FNextRefresh && returned > *FNextRefresh + FPeriod / 2) {
                FLead = std::min(FLead + LeadStep, std::max(MinimumLead, FPeriod / 2));
            }
            FNextRefresh = returned + FPeriod;
            break;
    }
}

std::optional<FramePacer::Clock::time_point> FramePacer::FrameDue() const {
    if (!FNextRefresh) {
        return std::nullopt;
    }
    return FSync == Sync::Display ? *FNextRefresh - FLead : *FNextRefresh;
}

}  // namespace platform
