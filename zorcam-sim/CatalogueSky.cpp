#include "zorcam-sim/CatalogueSky.h"

#include "zorcam-sim/CatalogueStarList.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <string>

namespace zorcamsim {

CatalogueSky::CatalogueSky(Hemisphere hemisphere, const UtcTime& m, double latitudeDeg)
    : hemisphere_(hemisphere) {
    const bool south = hemisphere == Hemisphere::South;
    double utc1 = 0;
    double utc2 = 0;
    if (eraDtf2d("UTC", m.year, m.month, m.day, m.hour, m.minute, m.second, &utc1, &utc2) < 0)
        return;
    // Observed places for the site and moment: no polar motion, UT1 = UTC, and no
    // atmosphere (pressure 0), so the places turn about the true pole of date.
    eraASTROM astrom{};
    double eo = 0;
    const double phi = (south ? -1.0 : 1.0) * std::abs(latitudeDeg) * ERFA_DD2R;
    if (eraApco13(utc1, utc2, 0.0, 0.0, phi, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.55, &astrom, &eo) < 0)
        return;

    const std::vector<CatalogueEntry>& list = south ? SouthPoleStars() : NorthPoleStars();
    // The template stars first (B, A, D), then the field stars, brightest first.
    std::vector<const CatalogueEntry*> order;
    for (const char* label : {"B", "A", "D"})
        for (const CatalogueEntry& e : list)
            if (std::string(e.label) == label)
                order.push_back(&e);
    for (const CatalogueEntry& e : list)
        if (!*e.label)
            order.push_back(&e);
    int index = 0;
    for (const CatalogueEntry* entry : order) {
        const CatalogueEntry& e = *entry;
        const double dec = e.decDeg * ERFA_DD2R;
        double ri = 0;
        double di = 0;
        eraAtciq(e.raDeg * ERFA_DD2R, dec, e.pmRaCosDecMasYr * ERFA_DMAS2R / std::cos(dec),
                 e.pmDecMasYr * ERFA_DMAS2R, e.parallaxMas / 1000.0, 0.0, &astrom, &ri, &di);
        double aob = 0, zob = 0, hob = 0, dob = 0, rob = 0;
        eraAtioq(ri, di, &astrom, &aob, &zob, &hob, &dob, &rob);
        // Gnomonic distance from the pole, and the hour angle's direction: the
        // meridian above the pole is up (-y); west (hour angle +6h) is left in the
        // north, where the sky turns counter-clockwise, and right in the south.
        const double polar = ERFA_DPI / 2 - std::abs(dob);
        const double r = std::tan(polar) * ERFA_DR2AS;
        const double side = south ? 1.0 : -1.0;
        SkyStar s;
        s.dxArcsec = side * r * std::sin(hob);
        s.dyArcsec = -r * std::cos(hob);
        s.magnitude = e.magnitude;
        s.label = *e.label ? std::string(e.label) : "C" + std::to_string(++index);
        stars_.push_back(s);
    }
    valid_ = true;
}

} // namespace zorcamsim
