// The sky the simulated camera looks at, as seen from the true celestial pole.
//
// Usage:
//   TemplateSky sky(Hemisphere::North, 2024, fieldStars, seed);
//   for (const SkyStar& s : sky.Stars()) ... // offsets from the pole in arcseconds
//
// A sky model lists stars by their offset from the true celestial pole, measured in
// arcseconds in a frame that turns with the sky (x to the right, y downward, the
// orientation of the built-in template images), and by magnitude. The mount model
// places that frame in the image; the renderer turns magnitudes into light. A
// catalogue-based sky (real stars, apparent places of date) implements the same
// interface.
#pragma once

#include <string>
#include <vector>

namespace zorcamsim {

enum class Hemisphere { North, South };

struct SkyStar {
    double dxArcsec = 0; // offset from the true pole, x to the right
    double dyArcsec = 0; // offset from the true pole, y downward
    double magnitude = 0;
    std::string label; // "A", "B", "D", "T3"... for template stars, empty for field stars
};

class SkyModel {
public:
    virtual ~SkyModel() = default;
    virtual Hemisphere GetHemisphere() const = 0;
    virtual const std::vector<SkyStar>& Stars() const = 0;
};

} // namespace zorcamsim
