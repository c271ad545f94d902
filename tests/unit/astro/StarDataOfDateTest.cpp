#include "astro/StarDataOfDate.h"
#include "astro/MaskPole.h"
#include "unit/astro/LogCapture.h"

#include <gtest/gtest.h>

#include <QTimeZone>

#include <cmath>
#include <cstring>

TEST(StarDataOfDateTest, SourceSetting) {
    struct Case {
        const char* text;
        StarDataSource source;
    };
    const Case cases[] = {{"date", StarDataSource::Date},     {"table", StarDataSource::Table},
                          {" Table ", StarDataSource::Table}, {"TABLE", StarDataSource::Table},
                          {"", StarDataSource::Date},         {"tables", StarDataSource::Date},
                          {"20240523", StarDataSource::Date}};
    for (const Case& c : cases)
        EXPECT_EQ(StarDataSourceFromText(QString::fromLatin1(c.text)), c.source) << c.text;
    for (const StarDataSource s : {StarDataSource::Date, StarDataSource::Table})
        EXPECT_EQ(StarDataSourceFromText(StarDataSourceText(s)), s);
}

TEST(StarDataOfDateTest, MomentFromLocalTimeIsUtc) {
    const QDateTime local(QDate(2026, 12, 11), QTime(0, 30, 15, 250), QTimeZone(3600));
    const UtcMoment m = UtcMomentOf(local);
    EXPECT_EQ(UtcMomentText(m), QStringLiteral("2026-12-10 23:30:15 UTC"));
    EXPECT_DOUBLE_EQ(m.second, 15.25);
}

// The template positions stay those of the data file, the angles are the moment's,
// and the log says which data were used and when.
TEST(StarDataOfDateTest, LoadPutsTheMomentsAnglesAndLogsTheMoment) {
    for (const char* h : {"N", "S"}) {
        SCOPED_TRACE(h);
        LogCapture log;
        const UtcMoment m{2026, 12, 10, 21, 30, 5.7};
        STARDATA table = StarDataStartValues(h);
        LoadStarData(h, table, QDate(2026, 12, 10));
        log.Clear();

        STARDATA record = StarDataStartValues(h);
        ASSERT_TRUE(LoadStarDataOfDate(h, record, m));
        const TemplateOfDate t =
            SkyOfDate::At(m)->Template(*h == 'S' ? SkyHemisphere::South : SkyHemisphere::North);
        EXPECT_EQ(record.bap, t.bap);
        EXPECT_EQ(record.abp, t.abp);
        EXPECT_EQ(record.dbp, t.dbp);
        for (const auto f : {&STARDATA::aX, &STARDATA::aY, &STARDATA::bX, &STARDATA::bY,
                             &STARDATA::dX, &STARDATA::dY})
            EXPECT_EQ(record.*f, table.*f);
        const auto lines = log.Lines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].text,
                  QStringLiteral("Star angles of date computed for 2026-12-10 21:30:05 UTC"));
        EXPECT_TRUE(lines[1].text.startsWith(QStringLiteral("starData from mask.")));
        EXPECT_FALSE(lines[1].text.contains(QStringLiteral("Load star data")));
    }
}

// The refresh of a later moment gives the same pole as the template's own
// triangulation on the new angles, and says nothing in the log.
TEST(StarDataOfDateTest, RefreshMovesAnglesAndPoleQuietly) {
    for (const char* h : {"N", "S"}) {
        SCOPED_TRACE(h);
        LogCapture log;
        STARDATA record = StarDataStartValues(h);
        ASSERT_TRUE(LoadStarDataOfDate(h, record, {2026, 12, 10, 21, 0, 0}));
        ASSERT_EQ(CalcTemplatePole(h, record), 1);
        const STARDATA before = record;
        log.Clear();

        ASSERT_TRUE(RefreshStarDataOfDate(h, record, {2031, 3, 1, 2, 0, 0}));
        EXPECT_TRUE(log.Lines().empty());
        EXPECT_NE(record.bap, before.bap);
        STARDATA check = record;
        ASSERT_EQ(CalcTemplatePole(h, check), 1);
        EXPECT_NEAR(record.poleX, check.poleX, 1e-9);
        EXPECT_NEAR(record.poleY, check.poleY, 1e-9);
        // Over four years the pole moves against the stars by about a pixel or two.
        const double moved = std::hypot(record.poleX - before.poleX, record.poleY - before.poleY);
        EXPECT_GT(moved, 0.5);
        EXPECT_LT(moved, 6.0);
    }
}

TEST(StarDataOfDateTest, InvalidMomentLeavesTheRecord) {
    LogCapture log;
    STARDATA record = StarDataStartValues("N");
    const STARDATA before = record;
    EXPECT_FALSE(LoadStarDataOfDate("N", record, {2026, 2, 30, 0, 0, 0}));
    EXPECT_FALSE(RefreshStarDataOfDate("N", record, {2026, 13, 1, 0, 0, 0}));
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    EXPECT_TRUE(log.Lines().empty());
}
