// Labels: one sweep down pushes overlapping labels apart, one sweep up pulls back those pushed
// past the bottom; labels keep their top-to-bottom order.
#include "tools/zarvoth-waves/Labels.h"

#include <algorithm>
#include <numeric>

namespace waves {

std::vector<float> SpreadLabels(const std::vector<float>& wanted, const std::vector<float>& heights, float top,
                                float bottom) {
    std::vector<std::size_t> order(wanted.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return wanted[a] < wanted[b]; });
    std::vector<float> at(wanted.size());
    float free = top;  // where the next label's top edge may start
    for (const std::size_t i : order) {
        at[i] = std::max(wanted[i], free + heights[i] / 2);
        free = at[i] + heights[i] / 2;
    }
    float floor = bottom;  // where the label above may end at the latest
    for (auto i = order.rbegin(); i != order.rend(); ++i) {
        at[*i] = std::min(at[*i], floor - heights[*i] / 2);
        floor = at[*i] - heights[*i] / 2;
    }
    return at;
}

}  // namespace waves
