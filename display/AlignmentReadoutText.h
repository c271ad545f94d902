// The texts of the alignment read-out below the pole close-up.
//
// Usage:
//   ReadoutWords words{menus.ReadoutError, menus.ReadoutAltitude, ...};
//   label->setText(AlignmentReadoutHtml(readout, words));  // rich text, band colour
//   ArcText(83.4)        // "1′ 23″"
//   SignedArcText(-83.4) // "−1′ 23″"
//   PlateScaleText(30.52) // "30.5″/px"
#pragma once

#include "astro/AlignmentReadout.h"

#include <QString>
#include <QStringList>

struct ReadoutWords {
    QString error, altitude, azimuth, raise, lower, east, west, scale;
};

// Whole arcseconds under a minute ("45″"), else minutes and seconds ("12′ 05″").
QString ArcText(double arcsec);
// The same with its sign: "+45″", "−1′ 23″", "0″".
QString SignedArcText(double arcsec);
QString PlateScaleText(double arcsecPerPixel);

// The colour of a band: green under 30", amber under 1', red above ("#rrggbb");
// in the night style three reds: dim orange-red, crimson, bright red.
QString BandColour(AlignmentBand band, bool night = false);

// Which pole the user faces, and whether the read-out may give directions at all.
struct ReadoutSky {
    // Facing the south pole from behind the mount east is on the left: the arrows
    // of the azimuth turn round, the words stay.
    bool south = false;
    // Without the site the zenith is unknown: only the total error, and instead of
    // altitude and azimuth the one line below saying why.
    bool directions = true;
    QString noDirections;
};

// Four lines: the error in the band's colour, altitude and azimuth with what to
// do, the plate scale, these three in textColour. An invalid read-out gives an
// empty text.
QString AlignmentReadoutHtml(const AlignmentReadout& readout, const ReadoutWords& words,
                             const QString& textColour = QStringLiteral("#f8f8ff"),
                             bool night = false);
QString AlignmentReadoutHtml(const AlignmentReadout& readout, const ReadoutWords& words,
                             const ReadoutSky& sky,
                             const QString& textColour = QStringLiteral("#f8f8ff"),
                             bool night = false);
// The plain text colour of the read-out in the night style.
inline const QString kNightReadoutText = QStringLiteral("#aa0000");
