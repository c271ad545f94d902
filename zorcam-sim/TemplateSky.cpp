#include "zorcam-sim/TemplateSky.h"

#include <cmath>
#include <random>

namespace zorcamsim {
namespace {

// Field stars fill a disc around the pole that covers the frame at any turn.
constexpr double kFieldRadiusPx = 900.0;
// No field star comes this close to a template star, so the marked stars measure clean.
constexpr double kClearancePx = 30.0;
// One field star has a companion this far away (a close pair).
constexpr double kPairSeparationPx = 5.0;

} // namespace

TemplateSky::TemplateSky(Hemisphere hemisphere, int dataSetYear, int fieldStars, std::uint64_t seed)
    : hemisphere_(hemisphere), pattern_(GetTemplatePattern(hemisphere, dataSetYear)) {
    const double scale = TEMPLATE_ARCSEC_PER_PIXEL;
    for (const TemplateStar& t : pattern_.stars)
        stars_.push_back(
            {(t.x - pattern_.poleX) * scale, (t.y - pattern_.poleY) * scale, t.magnitude, t.label});

    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const std::size_t templateCount = stars_.size();
    auto clear = [&](double x, double y) {
        for (std::size_t i = 0; i < templateCount; ++i)
            if (std::hypot(x - stars_[i].dxArcsec, y - stars_[i].dyArcsec) < kClearancePx * scale)
                return false;
        return true;
    };
    int placed = 0;
    while (placed < fieldStars) {
        const double r = kFieldRadiusPx * std::sqrt(unit(rng)) * scale;
        const double a = 2.0 * 3.14159265358979323846 * unit(rng);
        const double mag = 5.5 + 3.5 * std::sqrt(unit(rng)); // mostly faint
        const double x = r * std::cos(a);
        const double y = r * std::sin(a);
        if (!clear(x, y))
            continue;
        stars_.push_back({x, y, mag, {}});
        ++placed;
        if (placed == 1 && placed < fieldStars && clear(x + kPairSeparationPx * scale, y)) {
            stars_.push_back({x + kPairSeparationPx * scale, y, mag + 0.3, {}});
            ++placed;
        }
    }
}

} // namespace zorcamsim
