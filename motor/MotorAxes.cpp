#include "motor/MotorAxes.h"

#include "app/Settings.h"
#include "core/Log.h"

#include <cmath>

namespace {

constexpr const char* kSection = "MOTOR";

double Number(const CSimpleIniA& ini, const char* key, double fallback, double lo, double hi) {
    bool ok = false;
    const double v = QString::fromUtf8(ini.GetValue(kSection, key, "")).trimmed().toDouble(&ok);
    return ok && std::isfinite(v) && v >= lo && v <= hi ? v : fallback;
}

char Letter(const CSimpleIniA& ini, const char* key, char fallback) {
    const QByteArray v = QByteArray(ini.GetValue(kSection, key, "")).trimmed().toUpper();
    return v.size() == 1 && QByteArray("XYZABC").contains(v[0]) ? v[0] : fallback;
}

} // namespace

MotorSettings LoadMotorSettings(const QString& path) {
    MotorSettings s;
    CSimpleIniA ini(/*isUtf8=*/true);
    if (!ReadSettingsIni(path, ini))
        return s;
    s.port = QString::fromUtf8(ini.GetValue(kSection, "port", "")).trimmed();
    s.baud = static_cast<int>(Number(ini, "baud", s.baud, 1200, 4000000));
    s.feedMmPerMin = Number(ini, "feed", s.feedMmPerMin, 0.1, 100000);
    s.toleranceArcsec = Number(ini, "tolerance", s.toleranceArcsec, 0.5, 3600);
    s.travelLimitArcsec = Number(ini, "travelLimit", s.travelLimitArcsec, 10, 36000);
    s.alt.letter = Letter(ini, "altAxis", s.alt.letter);
    s.az.letter = Letter(ini, "azAxis", s.az.letter);
    if (s.alt.letter == s.az.letter) { // one letter cannot drive both screws
        s.alt.letter = 'Y';
        s.az.letter = 'X';
    }
    s.alt.mmPerArcsec = Number(ini, "altMmPerArcsec", s.alt.mmPerArcsec, 1e-9, 10);
    s.az.mmPerArcsec = Number(ini, "azMmPerArcsec", s.az.mmPerArcsec, 1e-9, 10);
    s.alt.sense = Number(ini, "altSense", 1, -1, 1) < 0 ? -1 : 1;
    s.az.sense = Number(ini, "azSense", 1, -1, 1) < 0 ? -1 : 1;
    s.alt.backlashArcsec = Number(ini, "altBacklash", 0, 0, 36000);
    s.az.backlashArcsec = Number(ini, "azBacklash", 0, 0, 36000);
    return s;
}

bool SaveMotorSettings(const QString& path, const MotorSettings& s) {
    CSimpleIniA ini(/*isUtf8=*/true);
    ini.SetSpaces(false);
    bool ok = ReadSettingsIni(path, ini);
    if (ok) {
        auto put = [&ini](const char* key, const QString& value) {
            ini.SetValue(kSection, key, value.toUtf8().constData());
        };
        auto num = [&put](const char* key, double v) { put(key, FormatSettingsFloat(v)); };
        put("port", s.port.simplified());
        num("baud", s.baud);
        num("feed", s.feedMmPerMin);
        num("tolerance", s.toleranceArcsec);
        num("travelLimit", s.travelLimitArcsec);
        put("altAxis", QString(QChar::fromLatin1(s.alt.letter)));
        put("azAxis", QString(QChar::fromLatin1(s.az.letter)));
        num("altMmPerArcsec", s.alt.mmPerArcsec);
        num("azMmPerArcsec", s.az.mmPerArcsec);
        num("altSense", s.alt.sense);
        num("azSense", s.az.sense);
        num("altBacklash", s.alt.backlashArcsec);
        num("azBacklash", s.az.backlashArcsec);
        ok = WriteSettingsIni(path, ini);
    }
    if (!ok)
        WriteLog(QStringLiteral("Error"), QStringLiteral("Motor: saving the settings failed."));
    return ok;
}

double MotorMovePlanner::AxisMm(const MotorAxis& axis, double arcsec, int& lastSense) const {
    if (!std::isfinite(arcsec) || arcsec == 0.0)
        return 0.0;
    const int sense = arcsec > 0 ? 1 : -1;
    double travel = std::abs(arcsec);
    if (lastSense != 0 && sense != lastSense)
        travel += axis.backlashArcsec;
    lastSense = sense;
    return sense * axis.sense * travel * axis.mmPerArcsec;
}

MotorMove MotorMovePlanner::Plan(double altArcsec, double azArcsec) {
    return {AxisMm(s_.alt, altArcsec, altLast_), AxisMm(s_.az, azArcsec, azLast_)};
}

std::optional<MotorAxis> CalibrateMotorAxis(const MotorAxis& axis, double mm, double beforeArcsec,
                                            double afterArcsec, double minMoveArcsec) {
    // The component falls by what the move raised (or turned east).
    const double moved = beforeArcsec - afterArcsec;
    if (!std::isfinite(mm) || mm == 0.0 || !std::isfinite(moved) ||
        !(std::abs(moved) >= minMoveArcsec))
        return std::nullopt;
    MotorAxis a = axis;
    a.mmPerArcsec = std::abs(mm / moved);
    a.sense = (mm > 0) == (moved > 0) ? 1 : -1;
    return a;
}
