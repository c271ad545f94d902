// Measured stars sorted into square cells, for the nearest star to a point.
//
// Usage:
//   const StarGrid grid(stars, 16.0);           // keeps a reference to stars
//   double d;
//   const int i = grid.Nearest(x, y, 4.0, d);   // -1: none within 4 px
#pragma once

#include "astro/StarDetect.h"

#include <algorithm>
#include <cmath>
#include <vector>

class StarGrid {
public:
    StarGrid(const std::vector<DetectedStar>& stars, double cell) : stars_(stars), cell_(cell) {
        if (stars.empty())
            return;
        minX_ = maxX_ = stars[0].x;
        minY_ = maxY_ = stars[0].y;
        for (const DetectedStar& s : stars) {
            minX_ = std::min(minX_, s.x);
            maxX_ = std::max(maxX_, s.x);
            minY_ = std::min(minY_, s.y);
            maxY_ = std::max(maxY_, s.y);
        }
        cols_ = static_cast<int>((maxX_ - minX_) / cell_) + 1;
        rows_ = static_cast<int>((maxY_ - minY_) / cell_) + 1;
        cells_.assign(static_cast<std::size_t>(cols_) * rows_, {});
        for (std::size_t i = 0; i < stars.size(); ++i)
            cells_[Index(CellX(stars[i].x), CellY(stars[i].y))].push_back(static_cast<int>(i));
    }

    // The nearest star within `radius` of (x, y), or -1; d receives its distance.
    int Nearest(double x, double y, double radius, double& d) const {
        d = 0;
        if (stars_.empty() || !std::isfinite(x) || !std::isfinite(y))
            return -1;
        if (x < minX_ - radius || x > maxX_ + radius || y < minY_ - radius || y > maxY_ + radius)
            return -1;
        const int cx0 = std::max(0, CellX(x - radius));
        const int cx1 = std::min(cols_ - 1, CellX(x + radius));
        const int cy0 = std::max(0, CellY(y - radius));
        const int cy1 = std::min(rows_ - 1, CellY(y + radius));
        int best = -1;
        double best2 = radius * radius;
        for (int cy = cy0; cy <= cy1; ++cy)
            for (int cx = cx0; cx <= cx1; ++cx)
                for (int i : cells_[Index(cx, cy)]) {
                    const double dx = stars_[i].x - x, dy = stars_[i].y - y;
                    const double d2 = dx * dx + dy * dy;
                    if (d2 <= best2) {
                        best2 = d2;
                        best = i;
                    }
                }
        if (best >= 0)
            d = std::sqrt(best2);
        return best;
    }

private:
    int CellX(double x) const { return static_cast<int>(std::floor((x - minX_) / cell_)); }
    int CellY(double y) const { return static_cast<int>(std::floor((y - minY_) / cell_)); }
    std::size_t Index(int cx, int cy) const { return static_cast<std::size_t>(cy) * cols_ + cx; }

    const std::vector<DetectedStar>& stars_;
    double cell_;
    double minX_ = 0, maxX_ = 0, minY_ = 0, maxY_ = 0;
    int cols_ = 0, rows_ = 0;
    std::vector<std::vector<int>> cells_;
};
