// The dated template star data of both hemispheres and the active template.
//
// Usage:
//   InitStarDataStartValues();                 // once, when the main window is created
//   LoadStarData("N", g_northStarData, QDate::currentDate());  // after connecting
//   LoadStarData("S", g_southStarData, QDate::currentDate());
//   // then the template pole (see MaskPole.h) fills poleX, poleY, and the
//   // template selection copies one record into g_maskPX ... g_angleABP.
//
// The data files ":/NStarPosData" and ":/SStarPosData" hold the template positions
// of stars A, B and D and, for each year 2016...2024, the angles that tie the
// celestial pole P to them; the year is chosen from the date the caller passes.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

// One hemisphere's template: angles in degrees, positions in template pixels.
struct STARDATA {
    double abp;   // angle at B between A and P
    double bap;   // angle at A between B and P
    double dbp;   // angle at B between D and P
    double poleX; // P
    double poleY;
    double bX; // B, the pole star
    double bY;
    double aX; // A
    double aY;
    double dX; // D
    double dY;
};

extern STARDATA g_northStarData;
extern STARDATA g_southStarData;

// The active template (pole P, star A, star B and the two angles of triangle A-B-P).
extern double g_maskPX;
extern double g_maskPY;
extern double g_maskAX;
extern double g_maskAY;
extern double g_maskBX;
extern double g_maskBY;
extern double g_angleBAP;
extern double g_angleABP;

// The values a hemisphere's record holds before any data file is read: "S" gives
// the south, anything else the north.
STARDATA StarDataStartValues(const QString& hemisphere);

// Gives g_northStarData and g_southStarData their start values.
void InitStarDataStartValues();

// The data set ("20160523" ... "20240523") used on a date: the set of the year
// whose 23 May is nearest, switching on 23 November.
QString StarDataSetForDate(const QDate& date);

// Reads hemisphere "S" (or, for any other text, the north) into record: every field
// whose key is present; the angles of the set chosen for the date "today". Logs the
// set and a summary line.
void LoadStarData(const QString& hemisphere, STARDATA& record, const QDate& today);

// Reads only the template positions of stars A, B and D (the angles then come from
// elsewhere, see StarDataOfDate.h); no log line.
void LoadStarDataPositions(const QString& hemisphere, STARDATA& record);

// Logs the record's positions and angles ("starData from mask.  A[...] ... DBP(...)").
void LogStarDataSummary(const STARDATA& record);

// LoadStarData on a data file's bytes ("key=value" lines): nothing happens for
// empty data.
void ReadStarData(const QByteArray& data, STARDATA& record, const QDate& today);
