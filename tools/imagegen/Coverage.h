// Anti-aliased painting of analytic shapes by supersampling, for pictures whose
// pixels must follow stated geometry exactly (the star templates, the icons).
//
// Usage: describe the shapes as a function that maps a point (pixel centres at
// whole coordinates, x right, y down) to an index into a palette, or -1 where no
// shape lies; paintCoverage() samples every pixel of a rectangle on an n x n grid
// and blends the covered share of each palette colour over the image.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <functional>
#include <vector>

namespace imagegen {

using ShapeClassifier = std::function<int(double x, double y)>;

// A transparent ARGB image (not premultiplied) of the given size.
QImage transparentImage(int width, int height);

// Blends the shapes found by `classify` inside `area` over `image`.
void paintCoverage(QImage& image, const QRect& area, const ShapeClassifier& classify,
                   const std::vector<QColor>& palette, int samplesPerAxis = 4);

// Distance from (px, py) to the segment (ax, ay)-(bx, by), and the position t of the
// nearest point along it (0 at a, 1 at b).
double segmentDistance(double px, double py, double ax, double ay, double bx, double by,
                       double* t = nullptr);

} // namespace imagegen
