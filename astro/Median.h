// The median of a list of numbers: the middle one, or the mean of the two middle ones
// when the count is even.
//
// Usage:
//   std::vector<double> v = {3.0, 1.0, 2.0, 10.0};
//   double m = MedianOf(v);   // 2.5 (the list is reordered); NaN for an empty list
#pragma once

#include <algorithm>
#include <cstddef>
#include <limits>
#include <vector>

inline double MedianOf(std::vector<double>& v) {
    if (v.empty())
        return std::numeric_limits<double>::quiet_NaN();
    const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    if (v.size() % 2 == 1)
        return *mid;
    return (*std::max_element(v.begin(), mid) + *mid) / 2.0;
}
