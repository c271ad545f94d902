// Legend icons beside "Pole:" and "Axis:" in the pole close-up panel, 25 x 25 with
// transparency. They repeat the marks drawn in the close-up at a readable size.

#include "Coverage.h"
#include "Pictures.h"

#include <cmath>
#include <cstdlib>

namespace imagegen {
namespace {

constexpr int kIconSize = 25;
constexpr int kCentre = 12;

void plot(QImage& image, int x, int y, const QColor& colour) {
    if (image.rect().contains(x, y))
        image.setPixelColor(x, y, colour);
}

void hline(QImage& image, int x0, int x1, int y, const QColor& colour) {
    for (int x = x0; x <= x1; ++x)
        plot(image, x, y, colour);
}

void vline(QImage& image, int x, int y0, int y1, const QColor& colour) {
    for (int y = y0; y <= y1; ++y)
        plot(image, x, y, colour);
}

} // namespace

QImage makePoleIcon(const QColor& colour) {
    QImage image = transparentImage(kIconSize, kIconSize);
    // Cross 21 pixels wide and high through the centre.
    constexpr int kArm = 10;
    hline(image, kCentre - kArm, kCentre + kArm, kCentre, colour);
    vline(image, kCentre, kCentre - kArm, kCentre + kArm, colour);
    // Small diamond around the centre.
    constexpr int kDiamond = 3;
    for (int dy = -kDiamond; dy <= kDiamond; ++dy) {
        const int dx = kDiamond - std::abs(dy);
        plot(image, kCentre - dx, kCentre + dy, colour);
        plot(image, kCentre + dx, kCentre + dy, colour);
    }
    // Corner brackets with 5-pixel arms.
    constexpr int kLow = 1, kHigh = kIconSize - 2, kBracket = 5;
    hline(image, kLow, kLow + kBracket - 1, kLow, colour);
    vline(image, kLow, kLow, kLow + kBracket - 1, colour);
    hline(image, kHigh - kBracket + 1, kHigh, kLow, colour);
    vline(image, kHigh, kLow, kLow + kBracket - 1, colour);
    hline(image, kLow, kLow + kBracket - 1, kHigh, colour);
    vline(image, kLow, kHigh - kBracket + 1, kHigh, colour);
    hline(image, kHigh - kBracket + 1, kHigh, kHigh, colour);
    vline(image, kHigh, kHigh - kBracket + 1, kHigh, colour);
    return image;
}

QImage makeAxisIcon(const QColor& colour) {
    QImage image = transparentImage(kIconSize, kIconSize);
    // Ring of radius 7, two pixels wide, and a small central dot.
    constexpr double kRingOuter = 8.0, kRingInner = 6.0, kDot = 1.6;
    paintCoverage(image, image.rect(),
                  [](double x, double y) {
                      const double d = std::hypot(x - kCentre, y - kCentre);
                      return (d >= kRingInner && d <= kRingOuter) || d <= kDot ? 0 : -1;
                  },
                  {colour});
    // Four 3-pixel ticks outside the ring on the axes.
    constexpr int kTickStart = 9, kTickEnd = 11;
    hline(image, kCentre + kTickStart, kCentre + kTickEnd, kCentre, colour);
    hline(image, kCentre - kTickEnd, kCentre - kTickStart, kCentre, colour);
    vline(image, kCentre, kCentre + kTickStart, kCentre + kTickEnd, colour);
    vline(image, kCentre, kCentre - kTickEnd, kCentre - kTickStart, colour);
    return image;
}

} // namespace imagegen
