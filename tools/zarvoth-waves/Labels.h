// Labels: places the labels of a column's gutter, each as near as it can to the height of what it
// names, none overlapping, all within the column. Depends on nothing.
#pragma once

#include <vector>

namespace waves {

// wanted: the centre each label would like, in any order; returns the centres given, in the same
// order, at least `height` apart and within top..bottom (when they fit at all).
std::vector<float> SpreadLabels(const std::vector<float>& wanted, float height, float top, float bottom);

}  // namespace waves
