// The stars a built-in template marks, in template pixels: what the automatic
// template match looks for in a frame.
//
// Usage:
//   const TemplatePattern p = TemplatePatternFor("N", g_northStarData);
//   // p.stars[0] is star B (the pole star, the template's turning point), then A,
//   // D and the other marked stars; p.poleX, p.poleY is the template pole.
//
// Stars A, B and D and the pole come from the dated star data (the positions the
// computation uses); the other marked stars are the ring centres of the template
// picture. "S" gives the south, any other text the north.
#pragma once

#include "astro/StarData.h"

#include <QString>

#include <vector>

struct TemplatePattern {
    struct Star {
        double x = 0; // template pixels
        double y = 0;
    };
    std::vector<Star> stars; // B first
    double poleX = 0;
    double poleY = 0;
};

TemplatePattern TemplatePatternFor(const QString& hemisphere, const STARDATA& data);
