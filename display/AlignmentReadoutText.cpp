#include "display/AlignmentReadoutText.h"

#include <cmath>

namespace {

const QString kMinute = QStringLiteral("\u2032");
const QString kSecond = QStringLiteral("\u2033");

QString UpDown(double value, const QString& positive, const QString& negative) {
    if (!(std::abs(value) >= kNoTurnArcsec))
        return QString();
    return QStringLiteral(" ") + (value > 0 ? QStringLiteral("\u2191 ") + positive
                                            : QStringLiteral("\u2193 ") + negative);
}

// The arrow points the way the axis swings as the user sees it behind the mount:
// east is on the right facing the north pole, on the left facing the south pole.
QString EastWest(double value, const QString& east, const QString& west, bool south) {
    if (!(std::abs(value) >= kNoTurnArcsec))
        return QString();
    const QString right = QStringLiteral(" \u2192 ");
    const QString left = QStringLiteral(" \u2190 ");
    if (value > 0)
        return (south ? left : right) + east;
    return (south ? right : left) + west;
}

} // namespace

QString ArcText(double arcsec) {
    if (!std::isfinite(arcsec))
        return QStringLiteral("--");
    const long long whole = std::llround(std::abs(arcsec));
    if (whole < 60)
        return QString::number(whole) + kSecond;
    return QString::number(whole / 60) + kMinute + QLatin1Char(' ') +
           QStringLiteral("%1").arg(whole % 60, 2, 10, QLatin1Char('0')) + kSecond;
}

QString SignedArcText(double arcsec) {
    if (!std::isfinite(arcsec))
        return QStringLiteral("--");
    if (std::llround(std::abs(arcsec)) == 0)
        return ArcText(0);
    return (arcsec > 0 ? QStringLiteral("+") : QStringLiteral("\u2212")) + ArcText(arcsec);
}

QString PlateScaleText(double arcsecPerPixel) {
    return QString::number(arcsecPerPixel, 'f', 1) + kSecond + QStringLiteral("/px");
}

QString BandColour(AlignmentBand band, bool night) {
    if (night) {
        switch (band) {
        case AlignmentBand::Within30:
            return QStringLiteral("#6e2800"); // (110, 40, 0)
        case AlignmentBand::Within60:
            return QStringLiteral("#b41428"); // (180, 20, 40)
        case AlignmentBand::Above:
            break;
        }
        return QStringLiteral("#ff0000");
    }
    switch (band) {
    case AlignmentBand::Within30:
        return QStringLiteral("#3ad43a");
    case AlignmentBand::Within60:
        return QStringLiteral("#ffbf00");
    case AlignmentBand::Above:
        break;
    }
    return QStringLiteral("#ff5050");
}

QString AlignmentReadoutHtml(const AlignmentReadout& r, const ReadoutWords& w,
                             const QString& textColour, bool night) {
    return AlignmentReadoutHtml(r, w, ReadoutSky{}, textColour, night);
}

QString AlignmentReadoutHtml(const AlignmentReadout& r, const ReadoutWords& w,
                             const ReadoutSky& sky, const QString& textColour, bool night) {
    if (!r.valid)
        return QString();
    const QString first =
        QStringLiteral("<span style=\"color:%1; font-size:14pt; font-weight:bold\">%2 %3</span>")
            .arg(BandColour(r.band, night), w.error.toHtmlEscaped(), ArcText(r.totalArcsec));
    QStringList lines;
    if (sky.directions) {
        lines << (w.altitude + QLatin1Char(' ') + SignedArcText(r.altArcsec) +
                  UpDown(r.altArcsec, w.raise, w.lower))
                     .toHtmlEscaped()
              << (w.azimuth + QLatin1Char(' ') + SignedArcText(r.azArcsec) +
                  EastWest(r.azArcsec, w.east, w.west, sky.south))
                     .toHtmlEscaped();
    } else {
        lines << sky.noDirections.toHtmlEscaped();
    }
    lines << (w.scale + QLatin1Char(' ') + PlateScaleText(r.arcsecPerPixel)).toHtmlEscaped();
    return first + QStringLiteral("<br><span style=\"color:%1\">").arg(textColour) +
           lines.join(QStringLiteral("<br>")) + QStringLiteral("</span>");
}
