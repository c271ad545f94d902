#include "guidance/NightRecord.h"

#include "support/ReadoutOf.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>

#include <gtest/gtest.h>

// A night of three turns, each held a while, with the read-out's flicker between them
// and a turn undone before it settled: the history counts the turns that held.
TEST(NightRecordTest, TheHistoryCountsTheTurnsThatHeld) {
    ErrorHistory h(120.0);
    double t = 0;
    auto hold = [&](double alt, double az, double seconds) {
        for (double s = 0; s < seconds; s += 0.25) {
            const double flicker = 1.5 * std::sin(7 * t); // under the step's size
            h.Add(t, ReadoutOf(alt + flicker, az));
            t += 0.25;
        }
    };
    hold(600, 300, 5);
    hold(200, 300, 5);   // a turn of the altitude screw
    hold(20, 300, 0.75); // overshot, and turned back before it held
    hold(200, 300, 3);
    hold(200, 40, 5); // azimuth
    hold(8, 10, 5);   // both
    hold(9, 10, 5);   // a move under 5": no turn
    EXPECT_EQ(h.Steps(), 3);
    // Only the last 120 s are kept, and they are in order.
    ASSERT_FALSE(h.Samples().empty());
    EXPECT_GE(h.Samples().front().t, t - 120.25 - 1e-9);
    h.Add(t - 10, ReadoutOf(1, 1));
    EXPECT_LT(h.Samples().back().t, t) << "a moment that runs back is not taken";
    const size_t kept = h.Samples().size();
    h.Add(t, AlignmentReadout{});
    EXPECT_EQ(h.Samples().size(), kept) << "a frame without a read-out adds nothing";
}

TEST(NightRecordTest, RecordsAppendToOneCsvFileWithItsHeaderOnce) {
    QTemporaryDir dir;
    const QString path = AlignmentRecordPath(dir.path());
    AlignmentRecord a;
    a.startUtc = QDateTime(QDate(2026, 12, 11), QTime(21, 5, 0), Qt::UTC);
    a.endUtc = a.startUtc.addSecs(600);
    a.siteKnown = true;
    a.latitudeDeg = -33.8688;
    a.longitudeDeg = 151.2093;
    a.startArcsec = 2710.26;
    a.endArcsec = 3.44;
    a.altArcsec = -2.0;
    a.azArcsec = 2.8;
    a.turns = 7;
    AlignmentRecord b;
    b.startUtc = a.endUtc;
    b.endUtc = a.endUtc.addSecs(60);
    ASSERT_TRUE(AppendAlignmentRecord(path, a));
    ASSERT_TRUE(AppendAlignmentRecord(path, b));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4); // header, two records, the last line's end
    EXPECT_EQ(lines[0], "start_utc,end_utc,latitude_deg,longitude_deg,start_error_arcsec,"
                        "end_error_arcsec,altitude_arcsec,azimuth_arcsec,turns");
    EXPECT_EQ(lines[1], "2026-12-11T21:05:00Z,2026-12-11T21:15:00Z,-33.8688,151.2093,2710.3,3.4,"
                        "-2.0,2.8,7");
    EXPECT_EQ(lines[2], "2026-12-11T21:15:00Z,2026-12-11T21:16:00Z,,,0.0,0.0,0.0,0.0,0")
        << "no site: its fields stay empty";
    EXPECT_FALSE(AppendAlignmentRecord(dir.filePath("no/such/folder/x.csv"), a));
}
