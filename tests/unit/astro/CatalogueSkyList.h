// The real stars about the poles as a sky list for the automatic template match and
// axis fit (SyntheticSky.h): the simulator's generated catalogue star list, read as
// data only, placed by the program's own sky of date and turned into the template's
// orientation, with the template the program prepares for the same moment.
//
//   const SkyList sky = CatalogueSkyList("S", {2026, 12, 10, 21, 30, 0.0});
//   // sky.stars[0] is the pole star; sky.pattern the template of that moment;
//   // sky.pattern's B, A, D lie within a few pixels of their catalogue stars
#pragma once

#include "astro/SkyOfDate.h"
#include "astro/StarDataOfDate.h"
#include "unit/astro/SyntheticSky.h"
#include "zorcam-sim/CatalogueStarList.h"

#include <complex>
#include <cstring>

// The template pattern of a moment, as the window prepares it: positions of the
// data file, angles of the moment, the pole they place.
inline TemplatePattern PatternOfDate(const QString& hemisphere, const UtcMoment& moment) {
    STARDATA d = StarDataStartValues(hemisphere);
    LoadStarDataOfDate(hemisphere, d, moment);
    CalcTemplatePole(hemisphere, d);
    return TemplatePatternFor(hemisphere, d);
}

inline SkyList CatalogueSkyList(const QString& hemisphere, const UtcMoment& moment) {
    using Complex = std::complex<double>;
    constexpr double kArcsecPerPx = 30.5;
    const bool south = hemisphere == QLatin1String("S");
    const SkyHemisphere h = south ? SkyHemisphere::South : SkyHemisphere::North;
    const std::vector<zorcamsim::CatalogueEntry>& entries =
        south ? zorcamsim::SouthPoleStars() : zorcamsim::NorthPoleStars();
    const std::optional<SkyOfDate> sky = SkyOfDate::At(moment);

    SkyList list;
    list.pattern = PatternOfDate(hemisphere, moment);
    std::vector<Complex> plane;
    std::vector<double> mags;
    Complex a, b, d;
    for (const zorcamsim::CatalogueEntry& e : entries) {
        const CatalogueStar c{e.label,      e.raDeg,       e.decDeg, e.pmRaCosDecMasYr,
                              e.pmDecMasYr, e.parallaxMas, 0.0};
        const StarOfDate s = sky->Place(c, h);
        const Complex p(s.xArcsec / kArcsecPerPx, s.yArcsec / kArcsecPerPx);
        if (std::strcmp(e.label, "A") == 0)
            a = p;
        else if (std::strcmp(e.label, "B") == 0)
            b = p;
        else if (std::strcmp(e.label, "D") == 0)
            d = p;
        // The pole star first.
        if (std::strcmp(e.label, "B") == 0) {
            plane.insert(plane.begin(), p);
            mags.insert(mags.begin(), e.magnitude);
        } else {
            plane.push_back(p);
            mags.push_back(e.magnitude);
        }
    }
    // The turn (and, if the plane is the mirror image, the flip) that carries the
    // catalogue's B, A, D about the pole best onto the template's.
    const TemplatePattern& t = list.pattern;
    const Complex pole(t.poleX, t.poleY);
    const Complex tb = Complex(t.stars[0].x, t.stars[0].y) - pole;
    const Complex ta = Complex(t.stars[1].x, t.stars[1].y) - pole;
    const Complex td = Complex(t.stars[2].x, t.stars[2].y) - pole;
    auto turnOnto = [&](bool flip) {
        auto f = [flip](Complex z) { return flip ? std::conj(z) : z; };
        const Complex num = tb * std::conj(f(b)) + ta * std::conj(f(a)) + td * std::conj(f(d));
        const Complex k = std::polar(1.0, std::arg(num));
        const double err =
            std::norm(k * f(b) - tb) + std::norm(k * f(a) - ta) + std::norm(k * f(d) - td);
        return std::pair<Complex, double>(k, err);
    };
    const auto plain = turnOnto(false), mirrored = turnOnto(true);
    const bool flip = mirrored.second < plain.second;
    const Complex k = flip ? mirrored.first : plain.first;
    for (std::size_t i = 0; i < plane.size(); ++i) {
        const Complex p = k * (flip ? std::conj(plane[i]) : plane[i]);
        list.stars.push_back({p.real(), p.imag(), mags[i]});
    }
    return list;
}
