// Labels: places the labels of a column's gutter, each as near as it can to the height of what it
// names, none overlapping, all within the column. Depends on nothing.
#pragma once

#include <vector>

namespace waves {

// wanted: the centre each label would like, in any order, and heights: how tall each is; returns
// the centres given, in the same order, none overlapping and all within top..bottom (when they fit
// at all).
std::vector<float> SpreadLabels(const std::vector<float>& wanted, const std::vector<float>& heights, float top,
                                float bottom);

}  // namespace waves
