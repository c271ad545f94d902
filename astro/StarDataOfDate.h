// The template angles of the moment in a hemisphere's star data record, in place
// of the dated data's.
//
// Usage:
//   const StarDataSource source = StarDataSourceFromText(settingsText); // "date" or "table"
//   const UtcMoment now = UtcMomentOf(QDateTime::currentDateTimeUtc());
//   if (source == StarDataSource::Date &&
//       LoadStarDataOfDate("N", g_northStarData, now)) ... // angles of the moment, logged
//   else LoadStarData("N", g_northStarData, now.date);      // the dated data
//   ...
//   RefreshStarDataOfDate("N", g_northStarData, later);      // angles and pole, no log
//
// The template positions of A, B and D stay those of the data file; the angles
// come from the sky of the moment (SkyOfDate.h).
#pragma once

#include "astro/SkyOfDate.h"
#include "astro/StarData.h"

#include <QDateTime>
#include <QString>

enum class StarDataSource {
    Date,  // the angles of the moment, from catalogue stars
    Table, // the dated data of the program's resources
};

// "table" (in any letter case, spaces around ignored) is the table; anything else,
// including an empty or missing value, the sky of date.
StarDataSource StarDataSourceFromText(const QString& text);
QString StarDataSourceText(StarDataSource source);

// The UTC moment of a date and time (converted to UTC first).
UtcMoment UtcMomentOf(const QDateTime& dateTime);
// "2026-12-10 21:30:00 UTC".
QString UtcMomentText(const UtcMoment& moment);

// Reads the record's template positions and puts the moment's angles in it; logs
// "Star angles of date computed for <moment>" and the record's summary line.
// Returns false, leaving the record unchanged and logging nothing, when the
// moment is not a valid date.
bool LoadStarDataOfDate(const QString& hemisphere, STARDATA& record, const UtcMoment& moment);

// A later moment's angles and the template pole they place (quietly: it runs once a
// minute). Returns false, leaving the record unchanged, when there is no sky for the
// moment or no pole for the angles.
bool RefreshStarDataOfDate(const QString& hemisphere, STARDATA& record, const UtcMoment& moment);
