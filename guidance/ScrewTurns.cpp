#include "guidance/ScrewTurns.h"

#include <cmath>

std::optional<ScrewCalibration> CalibrateScrew(double beforeArcsec, double afterArcsec,
                                               double turnsClockwise, double minMoveArcsec) {
    if (!std::isfinite(beforeArcsec) || !std::isfinite(afterArcsec) ||
        !std::isfinite(turnsClockwise) || turnsClockwise == 0.0)
        return std::nullopt;
    // Raising the axis by r brings a pole that lies r higher to zero: the component
    // falls by what the screw raised.
    const double moved = beforeArcsec - afterArcsec;
    if (!(std::abs(moved) >= minMoveArcsec))
        return std::nullopt;
    return ScrewCalibration{true, moved / turnsClockwise};
}

double TurnsFor(const ScrewCalibration& screw, double arcsec) {
    if (!screw.valid || !std::isfinite(screw.arcsecPerTurn) || screw.arcsecPerTurn == 0.0 ||
        !std::isfinite(arcsec))
        return 0.0;
    return arcsec / screw.arcsecPerTurn;
}

ScrewTurn RoundTurn(double turns) {
    if (!std::isfinite(turns))
        return {};
    const double eighths = std::round(std::abs(turns) * 8.0);
    // A turn beyond a thousand is no advice anyone follows; keep the number sane.
    ScrewTurn t;
    t.eighths = static_cast<int>(std::min(eighths, 8000.0));
    t.clockwise = turns >= 0;
    return t;
}

bool MoveDisagrees(const ScrewCalibration& screw, double turnsMade, double beforeArcsec,
                   double afterArcsec) {
    if (!screw.valid || !std::isfinite(turnsMade) || turnsMade == 0.0)
        return false;
    const double expected = screw.arcsecPerTurn * turnsMade;
    const double measured = beforeArcsec - afterArcsec;
    if (!std::isfinite(expected) || !std::isfinite(measured))
        return false;
    return std::abs(measured - expected) > std::abs(expected) / 3.0;
}

namespace {

// "1", "1¼", "2½", "3⅞": whole turns and the eighths left.
QString TurnNumber(int eighths) {
    static const char16_t* const kFractions[8] = {u"", u"⅛", u"¼", u"⅜", u"½", u"⅝", u"¾", u"⅞"};
    return QString::number(eighths / 8) + QString::fromUtf16(kFractions[eighths % 8]);
}

} // namespace

QString ScrewTurnText(const ScrewTurn& turn, const ScrewTurnWords& words) {
    if (turn.eighths <= 0)
        return {};
    QString amount;
    switch (turn.eighths) {
    case 1:
        amount = words.eighth;
        break;
    case 2:
        amount = words.quarter;
        break;
    case 4:
        amount = words.half;
        break;
    case 6:
        amount = words.threeQuarters;
        break;
    case 8:
        amount = words.oneTurn;
        break;
    default:
        if (turn.eighths < 8)
            amount = QString::fromUtf16(turn.eighths == 3 ? u"⅜" : turn.eighths == 5 ? u"⅝" : u"⅞");
        else
            amount = TurnNumber(turn.eighths);
        amount = words.turns.arg(amount);
        break;
    }
    return (turn.clockwise ? words.clockwise : words.counter).arg(amount);
}

ScrewTurnWords EnglishScrewTurnWords() {
    return {QStringLiteral("an eighth of a turn"),
            QStringLiteral("a quarter turn"),
            QStringLiteral("half a turn"),
            QStringLiteral("three quarters of a turn"),
            QStringLiteral("one turn"),
            QStringLiteral("%1 turns"),
            QStringLiteral("%1 clockwise"),
            QStringLiteral("%1 counter-clockwise")};
}
