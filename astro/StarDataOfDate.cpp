#include "astro/StarDataOfDate.h"

#include "astro/MaskPole.h"
#include "astro/Triangulation.h"
#include "core/Log.h"

#include <cmath>

namespace {

SkyHemisphere HemisphereOf(const QString& hemisphere) {
    return hemisphere == QLatin1String("S") ? SkyHemisphere::South : SkyHemisphere::North;
}

bool AnglesOfDate(const QString& hemisphere, const UtcMoment& moment, TemplateOfDate& angles) {
    const std::optional<SkyOfDate> sky = SkyOfDate::At(moment);
    if (!sky)
        return false;
    angles = sky->Template(HemisphereOf(hemisphere));
    return true;
}

} // namespace

StarDataSource StarDataSourceFromText(const QString& text) {
    return text.trimmed().compare(QLatin1String("table"), Qt::CaseInsensitive) == 0
               ? StarDataSource::Table
               : StarDataSource::Date;
}

QString StarDataSourceText(StarDataSource source) {
    return source == StarDataSource::Table ? QStringLiteral("table") : QStringLiteral("date");
}

UtcMoment UtcMomentOf(const QDateTime& dateTime) {
    const QDateTime utc = dateTime.toUTC();
    const QDate d = utc.date();
    const QTime t = utc.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second() + t.msec() / 1000.0};
}

QString UtcMomentText(const UtcMoment& m) {
    return QStringLiteral("%1-%2-%3 %4:%5:%6 UTC")
        .arg(m.year, 4, 10, QLatin1Char('0'))
        .arg(m.month, 2, 10, QLatin1Char('0'))
        .arg(m.day, 2, 10, QLatin1Char('0'))
        .arg(m.hour, 2, 10, QLatin1Char('0'))
        .arg(m.minute, 2, 10, QLatin1Char('0'))
        .arg(static_cast<int>(std::floor(m.second)), 2, 10, QLatin1Char('0'));
}

bool LoadStarDataOfDate(const QString& hemisphere, STARDATA& record, const UtcMoment& moment) {
    TemplateOfDate t;
    if (!AnglesOfDate(hemisphere, moment, t))
        return false;
    LoadStarDataPositions(hemisphere, record);
    record.bap = t.bap;
    record.abp = t.abp;
    record.dbp = t.dbp;
    WriteLog(QStringLiteral("Info"),
             QStringLiteral("Star angles of date computed for ") + UtcMomentText(moment));
    LogStarDataSummary(record);
    return true;
}

bool RefreshStarDataOfDate(const QString& hemisphere, STARDATA& record, const UtcMoment& moment) {
    TemplateOfDate t;
    if (!AnglesOfDate(hemisphere, moment, t))
        return false;
    const PoleCandidates c =
        TrianglePoleCandidates(record.aX, record.aY, t.bap, record.bX, record.bY, t.abp);
    double px = 0;
    double py = 0;
    if (c.kind == PoleCandidates::Two)
        PickPoleCandidate(c.x1, c.y1, c.x2, c.y2, record.dX, record.dY, record.bX, record.bY, t.dbp,
                          px, py);
    else if (c.kind == PoleCandidates::One) {
        px = c.x1;
        py = c.y1;
    } else
        return false;
    record.bap = t.bap;
    record.abp = t.abp;
    record.dbp = t.dbp;
    record.poleX = px;
    record.poleY = py;
    return true;
}
