#include "Coverage.h"

#include <algorithm>
#include <cmath>

namespace imagegen {

QImage transparentImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void paintCoverage(QImage& image, const QRect& area, const ShapeClassifier& classify,
                   const std::vector<QColor>& palette, int samplesPerAxis) {
    const QRect clipped = area.intersected(image.rect());
    const int n = std::max(1, samplesPerAxis);
    const double step = 1.0 / n;
    for (int py = clipped.top(); py <= clipped.bottom(); ++py) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(py));
        for (int px = clipped.left(); px <= clipped.right(); ++px) {
            // Premultiplied sums of the covered samples.
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < n; ++sy) {
                const double y = py - 0.5 + (sy + 0.5) * step;
                for (int sx = 0; sx < n; ++sx) {
                    const double x = px - 0.5 + (sx + 0.5) * step;
                    const int idx = classify(x, y);
                    if (idx < 0 || idx >= static_cast<int>(palette.size()))
                        continue;
                    const QColor& c = palette[static_cast<size_t>(idx)];
                    const double ca = c.alphaF();
                    r += c.redF() * ca;
                    g += c.greenF() * ca;
                    b += c.blueF() * ca;
                    a += ca;
                }
            }
            if (a <= 0)
                continue;
            const double total = static_cast<double>(n) * n;
            const double sa = a / total;
            const double sr = r / total, sg = g / total, sb = b / total; // premultiplied
            // Source over destination, both converted to premultiplied form.
            const QRgb dst = line[px];
            const double da = qAlpha(dst) / 255.0;
            const double outA = sa + da * (1 - sa);
            const double outR = sr + qRed(dst) / 255.0 * da * (1 - sa);
            const double outG = sg + qGreen(dst) / 255.0 * da * (1 - sa);
            const double outB = sb + qBlue(dst) / 255.0 * da * (1 - sa);
            auto channel = [&](double premul) {
                return std::clamp(static_cast<int>(std::lround(premul / outA * 255.0)), 0, 255);
            };
            line[px] = qRgba(channel(outR), channel(outG), channel(outB),
                             std::clamp(static_cast<int>(std::lround(outA * 255.0)), 0, 255));
        }
    }
}

double segmentDistance(double px, double py, double ax, double ay, double bx, double by,
                       double* t) {
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double u = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0.0;
    u = std::clamp(u, 0.0, 1.0);
    if (t)
        *t = u;
    const double cx = ax + u * dx - px, cy = ay + u * dy - py;
    return std::sqrt(cx * cx + cy * cy);
}

} // namespace imagegen
