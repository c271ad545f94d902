#include "astro/StarData.h"

#include "core/Log.h"
#include "astro/NumberText.h"

#include <QFile>
#include <QLocale>
#include <QStringList>

STARDATA g_northStarData{};
STARDATA g_southStarData{};

double g_maskPX = 0.0;
double g_maskPY = 0.0;
double g_maskAX = 0.0;
double g_maskAY = 0.0;
double g_maskBX = 0.0;
double g_maskBY = 0.0;
double g_angleBAP = 0.0;
double g_angleABP = 0.0;

namespace {

// The resource's lines; empty when it cannot be read.
QStringList ReadLines(const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromLatin1(file.readAll());
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

// The value of the first line whose key (the text before the first "=") is name.
bool FindValue(const QStringList& lines, const QString& name, QString& value) {
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq >= 0 && QStringView(line).left(eq) == name) {
            value = line.mid(eq + 1);
            return true;
        }
    }
    return false;
}

// A decimal number; text that does not parse gives 0.
double ParseDecimal(const QString& text) {
    bool ok = false;
    const double v = QLocale().toDouble(text.trimmed(), &ok);
    return ok ? v : 0.0;
}

// An angle stored as degrees times 10^14; text that does not parse gives 0.
double ParseScaledAngle(const QString& text) {
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok)
        return 0.0;
    return static_cast<double>(static_cast<long double>(v) * 1e-14L);
}

} // namespace

STARDATA StarDataStartValues(const QString& hemisphere) {
    if (hemisphere == QLatin1String("S")) {
        return STARDATA{5.3729631099286,
                        12.4931201999016,
                        25.822029682887,
                        285,
                        395,
                        400,
                        337,
                        230,
                        405,
                        230,
                        562};
    }
    return STARDATA{18.4713634052194,
                    12.4543449046107,
                    115.088198660843,
                    328,
                    367,
                    400,
                    400,
                    264,
                    272,
                    602,
                    230};
}

void InitStarDataStartValues() {
    g_northStarData = StarDataStartValues(QStringLiteral("N"));
    g_southStarData = StarDataStartValues(QStringLiteral("S"));
}

QString StarDataSetForDate(const QDate& date) {
    for (int year = 2016; year <= 2023; ++year) {
        const QDate limit =
            QDate::fromString(QString::number(year) + QStringLiteral("/11/23"), "yyyy/MM/dd");
        if (date < limit)
            return QString::number(year) + QStringLiteral("0523");
    }
    return QStringLiteral("20240523");
}

namespace {

QString DataResource(const QString& hemisphere) {
    return hemisphere == QLatin1String("S") ? QStringLiteral(":/SStarPosData")
                                            : QStringLiteral(":/NStarPosData");
}

void ReadPositions(const QStringList& lines, STARDATA& record) {
    QString value;
    const struct {
        const char* key;
        double STARDATA::*field;
    } positions[] = {{"A_X_Mask", &STARDATA::aX}, {"A_Y_Mask", &STARDATA::aY},
                     {"B_X_Mask", &STARDATA::bX}, {"B_Y_Mask", &STARDATA::bY},
                     {"D_X_Mask", &STARDATA::dX}, {"D_Y_Mask", &STARDATA::dY}};
    for (const auto& p : positions) {
        if (FindValue(lines, QLatin1String(p.key), value))
            record.*p.field = ParseDecimal(value);
    }
}

} // namespace

void LoadStarDataPositions(const QString& hemisphere, STARDATA& record) {
    ReadPositions(ReadLines(DataResource(hemisphere)), record);
}

void LogStarDataSummary(const STARDATA& record) {
    const auto pair = [](double x, double y) {
        return "[" + FixedNumberText(x) + "," + FixedNumberText(y) + "]";
    };
    WriteLog("Info", "starData from mask. " + QStringLiteral(" A") + pair(record.aX, record.aY) +
                         " B" + pair(record.bX, record.bY) + " D" + pair(record.dX, record.dY) +
                         " BAP(" + FixedNumberText(record.bap) + ")" + " ABP(" +
                         FixedNumberText(record.abp) + ")" + " DBP(" + FixedNumberText(record.dbp) +
                         ")");
}

void LoadStarData(const QString& hemisphere, STARDATA& record, const QDate& today) {
    const QStringList lines = ReadLines(DataResource(hemisphere));
    if (lines.isEmpty())
        return;
    ReadPositions(lines, record);

    const QString set = StarDataSetForDate(today);
    WriteLog("Info", "Load star data at " + set);

    QString value;
    const struct {
        const char* prefix;
        double STARDATA::*field;
    } angles[] = {{"BAP_", &STARDATA::bap}, {"ABP_", &STARDATA::abp}, {"DBP_", &STARDATA::dbp}};
    for (const auto& a : angles) {
        if (FindValue(lines, QLatin1String(a.prefix) + set, value))
            record.*a.field = ParseScaledAngle(value);
    }
    LogStarDataSummary(record);
}
