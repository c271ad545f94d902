#include "astro/StarData.h"
#include "unit/astro/LogCapture.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

const QDate kBefore2016Limit(2016, 11, 22);

STARDATA Sentinel() {
    STARDATA s;
    s.abp = s.bap = s.dbp = s.poleX = s.poleY = s.bX = s.bY = s.aX = s.aY = s.dX = s.dY = -1;
    return s;
}

TEST(StarDataTest, DateSelectsTheSetSwitchingOnTwentyThirdNovember) {
    struct Case {
        QDate date;
        const char* set;
    };
    const Case cases[] = {
        {QDate(1970, 1, 1), "20160523"},   {QDate(2016, 11, 22), "20160523"},
        {QDate(2016, 11, 23), "20170523"}, {QDate(2017, 11, 22), "20170523"},
        {QDate(2019, 5, 23), "20190523"},  {QDate(2019, 11, 22), "20190523"},
        {QDate(2019, 11, 23), "20200523"}, {QDate(2022, 12, 31), "20230523"},
        {QDate(2023, 11, 22), "20230523"}, {QDate(2023, 11, 23), "20240523"},
        {QDate(2030, 6, 1), "20240523"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(StarDataSetForDate(c.date), c.set);

        LogCapture log;
        STARDATA record = Sentinel();
        LoadStarData("N", record, c.date);
        const auto lines = log.Lines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].level, "Info");
        EXPECT_EQ(lines[0].text, QStringLiteral("Load star data at ") + c.set);
    }
}

TEST(StarDataTest, NorthDataOf2016) {
    LogCapture log;
    STARDATA record = Sentinel();
    LoadStarData("N", record, kBefore2016Limit);
    EXPECT_DOUBLE_EQ(record.bap, 12.4543449046107);
    EXPECT_DOUBLE_EQ(record.abp, 18.4713634052194);
    EXPECT_DOUBLE_EQ(record.dbp, 115.088198660843);
    EXPECT_EQ(record.aX, 445);
    EXPECT_EQ(record.aY, 218);
    EXPECT_EQ(record.bX, 400);
    EXPECT_EQ(record.bY, 400);
    EXPECT_EQ(record.dX, 648);
    EXPECT_EQ(record.dY, 495);
    // The pole has no key: it stays as it was.
    EXPECT_EQ(record.poleX, -1);
    EXPECT_EQ(record.poleY, -1);

    const auto lines = log.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].level, "Info");
    EXPECT_EQ(lines[1].text, "starData from mask.  A[445.00,218.00] B[400.00,400.00] "
                             "D[648.00,495.00] BAP(12.45) ABP(18.47) DBP(115.09)");
}

TEST(StarDataTest, SouthDataOf2024AndAnyOtherTextMeansNorth) {
    LogCapture log;
    STARDATA south = Sentinel();
    LoadStarData("S", south, QDate(2024, 5, 23));
    EXPECT_DOUBLE_EQ(south.bap, 17.4617242637224);
    EXPECT_DOUBLE_EQ(south.abp, 6.9803173794411);
    EXPECT_DOUBLE_EQ(south.dbp, 24.2119638002926);
    EXPECT_EQ(south.aX, 227);
    EXPECT_EQ(south.aY, 405);
    EXPECT_EQ(south.bX, 400);
    EXPECT_EQ(south.bY, 337);
    EXPECT_EQ(south.dX, 228);
    EXPECT_EQ(south.dY, 563);

    for (const char* text : {"N", "s", "", "South"}) {
        STARDATA other = Sentinel();
        LoadStarData(text, other, QDate(2024, 5, 23));
        EXPECT_EQ(other.aX, 445) << text;
    }
}

TEST(StarDataTest, SummaryFollowsTheLocaleDecimalSeparator) {
    LogCapture log;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    STARDATA record = Sentinel();
    LoadStarData("N", record, kBefore2016Limit);
    EXPECT_EQ(log.Lines().at(1).text, "starData from mask.  A[445,00,218,00] B[400,00,400,00] "
                                      "D[648,00,495,00] BAP(12,45) ABP(18,47) DBP(115,09)");
}

TEST(StarDataTest, StartValues) {
    g_northStarData = g_southStarData = Sentinel();
    InitStarDataStartValues();
    const STARDATA& n = g_northStarData;
    const STARDATA& s = g_southStarData;
    EXPECT_EQ(n.abp, 18.4713634052194);
    EXPECT_EQ(n.bap, 12.4543449046107);
    EXPECT_EQ(n.dbp, 115.088198660843);
    EXPECT_EQ(s.abp, 5.3729631099286);
    EXPECT_EQ(s.bap, 12.4931201999016);
    EXPECT_EQ(s.dbp, 25.822029682887);
    const double north[] = {328, 367, 400, 400, 264, 272, 602, 230};
    const double south[] = {285, 395, 400, 337, 230, 405, 230, 562};
    const double STARDATA::*fields[] = {&STARDATA::poleX, &STARDATA::poleY, &STARDATA::bX,
                                        &STARDATA::bY,    &STARDATA::aX,    &STARDATA::aY,
                                        &STARDATA::dX,    &STARDATA::dY};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(n.*fields[i], north[i]) << i;
        EXPECT_EQ(s.*fields[i], south[i]) << i;
    }
    static_assert(sizeof(STARDATA) == 11 * sizeof(double));
}

TEST(StarDataTest, ValuesThatAreNoFiniteNumbersReadAsZero) {
    LogCapture log;
    STARDATA record = Sentinel();
    ReadStarData("A_X_Mask=inf\r\nA_Y_Mask=nan\r\nB_X_Mask=1e999\r\nB_Y_Mask=-INF\r\n"
                 "D_X_Mask=125\r\nD_Y_Mask=x\r\nBAP_20240523=99999999999999999999\r\n"
                 "ABP_20240523=1245434490461070",
                 record, QDate(2024, 5, 23));
    EXPECT_EQ(record.aX, 0);
    EXPECT_EQ(record.aY, 0);
    EXPECT_EQ(record.bX, 0);
    EXPECT_EQ(record.bY, 0);
    EXPECT_EQ(record.dX, 125);
    EXPECT_EQ(record.dY, 0);
    EXPECT_EQ(record.bap, 0);
    EXPECT_DOUBLE_EQ(record.abp, 12.4543449046107);
    EXPECT_EQ(record.dbp, -1); // no key: as it was
}

// The stored files: ASCII, CR LF between lines and none after the last, the six
// positions then six angles per year, each year's triangles closing to 180 degrees.
TEST(StarDataTest, DataFilesKeepTheirStoredFormAndCloseTheirTriangles) {
    for (const char* name : {":/NStarPosData", ":/SStarPosData"}) {
        SCOPED_TRACE(name);
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        for (char ch : bytes)
            ASSERT_TRUE(static_cast<unsigned char>(ch) < 128);
        EXPECT_FALSE(bytes.endsWith('\n'));
        EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
        const QList<QByteArray> lines = bytes.split('\n');
        ASSERT_EQ(lines.size(), 60);

        const char* positions[] = {"A_X_Mask", "A_Y_Mask", "B_X_Mask",
                                   "B_Y_Mask", "D_X_Mask", "D_Y_Mask"};
        for (int i = 0; i < 6; ++i)
            EXPECT_TRUE(lines[i].startsWith(QByteArray(positions[i]) + "=")) << i;

        std::map<QByteArray, long double> angle;
        const char* kinds[] = {"BAP", "ABP", "BPA", "BDP", "DBP", "BPD"};
        for (int year = 2016; year <= 2024; ++year) {
            const QByteArray set = QByteArray::number(year) + "0523";
            for (int k = 0; k < 6; ++k) {
                const QByteArray line = lines[6 + (year - 2016) * 6 + k].trimmed();
                const QByteArray key = QByteArray(kinds[k]) + "_" + set;
                ASSERT_TRUE(line.startsWith(key + "=")) << line.constData();
                const QByteArray value = line.mid(key.size() + 1);
                EXPECT_GE(value.size(), 15);
                EXPECT_LE(value.size(), 17);
                bool ok = false;
                angle[kinds[k]] = value.toLongLong(&ok) * 1e-14L;
                EXPECT_TRUE(ok);
            }
            EXPECT_NEAR(static_cast<double>(angle["BAP"] + angle["ABP"] + angle["BPA"]), 180, 3e-8)
                << year;
            EXPECT_NEAR(static_cast<double>(angle["DBP"] + angle["BDP"] + angle["BPD"]), 180, 3e-8)
                << year;
        }
    }
}

} // namespace
