// The sky of the built-in templates: the template stars of one hemisphere placed
// around the true pole by the data set year's angles, plus seeded faint field stars.
//
// Usage:
//   TemplateSky sky(Hemisphere::South, 2024, 150, 7);
//   sky.Stars();            // template stars first (B, A, D, ...), then field stars
//   sky.Pattern();          // the template geometry the stars came from
#pragma once

#include "zorcam-sim/SkyModel.h"
#include "zorcam-sim/TemplateGeometry.h"

#include <cstdint>

namespace zorcamsim {

class TemplateSky : public SkyModel {
public:
    TemplateSky(Hemisphere hemisphere, int dataSetYear, int fieldStars, std::uint64_t seed);

    Hemisphere GetHemisphere() const override { return hemisphere_; }
    const std::vector<SkyStar>& Stars() const override { return stars_; }
    const TemplatePattern& Pattern() const { return pattern_; }

private:
    Hemisphere hemisphere_;
    TemplatePattern pattern_;
    std::vector<SkyStar> stars_;
};

} // namespace zorcamsim
