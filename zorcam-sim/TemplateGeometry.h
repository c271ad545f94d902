// Geometry of the built-in star templates, computed here independently of the
// application: the template stars' positions in template pixels, the yearly
// triangle angles and the celestial pole they place in the template.
//
// Usage:
//   int set = DataSetYearForDate(2025, 3, 1);          // 2024
//   TemplatePattern p = GetTemplatePattern(Hemisphere::North, set);
//   // p.poleX, p.poleY: the pole in template pixels; p.stars: A, B, D and the others
//
// One template pixel is TEMPLATE_ARCSEC_PER_PIXEL on the sky.
#pragma once

#include "zorcam-sim/SkyModel.h"

#include <optional>
#include <string>
#include <vector>

namespace zorcamsim {

inline constexpr double TEMPLATE_ARCSEC_PER_PIXEL = 30.5;
inline constexpr int FIRST_DATA_SET_YEAR = 2016;
inline constexpr int LAST_DATA_SET_YEAR = 2024;

struct TemplateStar {
    std::string label; // "A", "B", "D" or "T<n>" for the other marked stars
    double x = 0;      // template pixels
    double y = 0;
    double magnitude = 0;
};

struct TemplateAngles {
    double bap = 0; // degrees, at A between B and P
    double abp = 0; // degrees, at B between A and P
    double dbp = 0; // degrees, at B between D and P
};

struct TemplatePattern {
    std::vector<TemplateStar> stars; // B first, then A, D, then the others
    TemplateAngles angles;
    double poleX = 0; // template pixels
    double poleY = 0;
};

// The data set year (2016..2024) whose 23 May lies nearest to the date; the set
// changes on 23 November.
int DataSetYearForDate(int year, int month, int day);

// The yearly angles; the year is clamped to 2016..2024.
TemplateAngles GetTemplateAngles(Hemisphere hemisphere, int dataSetYear);

// The pole P from stars A and B and the angles: the two rays from B (turned by abp
// from BA) and from A (turned by bap from AB) meet at P; of the two mirror
// solutions the one whose angle D-B-P is nearer dbp is taken. Empty when the rays
// do not meet.
struct Point2 {
    double x = 0;
    double y = 0;
};
std::optional<Point2> TriangulatePole(Point2 a, Point2 b, Point2 d, const TemplateAngles& angles);

// The template stars and the pole of the data set year.
TemplatePattern GetTemplatePattern(Hemisphere hemisphere, int dataSetYear);

} // namespace zorcamsim
