// The two star templates. Each star is a hollow ring about 3 px wide whose outer
// radius is the one in the tables: near-white inside, a dark blue-grey outer edge,
// both at about half opacity, on a fully transparent background. In the southern
// template four rings are joined into a quadrilateral by pale yellow-green bands
// that stop short of the rings. Star B lies at the centre of each picture.

#include "Coverage.h"
#include "Pictures.h"

#include <cmath>
#include <vector>

namespace imagegen {
namespace {

struct Ring {
    int x, y;   // centre, template pixels
    int radius; // outer radius, pixels
};

struct Band {
    int from, to; // indices into the ring table
};

struct TemplateGeometry {
    int width, height;
    std::vector<Ring> rings;
    std::vector<Band> bands;
};

// North: A (445, 217), B (400, 399), D (648, 494).
const TemplateGeometry kNorth{
    800,
    800,
    {
        {445, 217, 12}, // A
        {648, 494, 12}, // D
        {281, 699, 12},
        {400, 399, 15}, // B
        {58, 448, 15},
        {608, 697, 15},
    },
    {},
};

// South: B (400, 336), A (227, 404), D (228, 562); the quadrilateral
// B - (444,134) - (625,54) - (564,433) - B.
const TemplateGeometry kSouth{
    800,
    674,
    {
        {400, 336, 20}, // 0: B
        {444, 134, 20}, // 1
        {625, 54, 20},  // 2
        {564, 433, 20}, // 3
        {227, 404, 16}, // 4: A
        {228, 562, 16}, // 5: D
        {295, 411, 14}, // 6
    },
    {{0, 1}, {1, 2}, {2, 3}, {3, 0}},
};

constexpr double kRingWidth = 3.0; // outer radius minus inner radius
constexpr double kEdgeWidth = 1.5; // the dark outer edge within the ring
constexpr double kBandWidth = 6.0; // full width of a joining band
constexpr double kBandGap = 4.0;   // clear space between a band's end and a ring
constexpr int kHalfOpacity = 128;

const QColor kRingInside(249, 249, 255, kHalfOpacity);
const QColor kRingEdge(34, 42, 74, kHalfOpacity);
const QColor kBandColour(219, 227, 187, kHalfOpacity);

enum PaletteIndex { Inside = 0, Edge = 1, BandFill = 2 };

void paintBand(QImage& image, const Ring& a, const Ring& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    const double ux = dx / length, uy = dy / length;
    const double start = a.radius + kBandGap, end = length - b.radius - kBandGap;
    const QRect box = QRect(QPoint(std::min(a.x, b.x), std::min(a.y, b.y)),
                            QPoint(std::max(a.x, b.x), std::max(a.y, b.y)))
                          .adjusted(-8, -8, 8, 8);
    paintCoverage(image, box,
                  [&](double x, double y) {
                      const double along = (x - a.x) * ux + (y - a.y) * uy;
                      const double across = -(x - a.x) * uy + (y - a.y) * ux;
                      if (along < start || along > end || std::abs(across) > kBandWidth / 2)
                          return -1;
                      return static_cast<int>(BandFill);
                  },
                  {kRingInside, kRingEdge, kBandColour});
}

void paintRing(QImage& image, const Ring& ring) {
    const QRect box(ring.x - ring.radius - 2, ring.y - ring.radius - 2, 2 * ring.radius + 5,
                    2 * ring.radius + 5);
    paintCoverage(image, box,
                  [&](double x, double y) {
                      const double d = std::hypot(x - ring.x, y - ring.y);
                      if (d > ring.radius || d < ring.radius - kRingWidth)
                          return -1;
                      return static_cast<int>(d >= ring.radius - kEdgeWidth ? Edge : Inside);
                  },
                  {kRingInside, kRingEdge, kBandColour});
}

QImage makeTemplate(const TemplateGeometry& geometry) {
    QImage image = transparentImage(geometry.width, geometry.height);
    for (const Band& band : geometry.bands)
        paintBand(image, geometry.rings[static_cast<size_t>(band.from)],
                  geometry.rings[static_cast<size_t>(band.to)]);
    for (const Ring& ring : geometry.rings)
        paintRing(image, ring);
    return image;
}

} // namespace

QImage makeNorthTemplate() {
    return makeTemplate(kNorth);
}
QImage makeSouthTemplate() {
    return makeTemplate(kSouth);
}

} // namespace imagegen
