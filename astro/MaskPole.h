// The celestial pole P in a star template, triangulated from stars A and B and the
// year's angles, with star D deciding between the two mirror solutions.
//
// Usage:
//   LoadStarData("N", g_northStarData, today);           // see StarData.h
//   CalcTemplatePole("N", g_northStarData);              // fills poleX, poleY, logs
//
// or, on plain numbers:
//   double px, py;
//   if (CalcMaskPole(aX, aY, bap, bX, bY, abp, px, py, dX, dY, dbp) == 1) { ... }
#pragma once

#include "astro/StarData.h"

#include <QString>

// P from the triangle A-B-P (angle bap at A, abp at B); of the two mirror solutions
// the one whose angle D-B-P is nearer dbp. Logs "calculated P[x,y]" on success; on
// failure logs the reason (except for non-numeric input), writes (0, 0), returns -1.
int CalcMaskPole(double aX, double aY, double bap, double bX, double bY, double abp, double& outPX,
                 double& outPY, double dX, double dY, double dbp);

// Of the candidates P1 = (x1, y1) and P2 = (x2, y2), the one whose angle at B
// between D and Pi (degrees) is nearer dbp; a tie takes P2.
void PickPoleCandidate(double x1, double y1, double x2, double y2, double dX, double dY, double bX,
                       double bY, double dbp, double& outX, double& outY);

// The template pole of one hemisphere ("S" south, anything else north): CalcMaskPole
// on the record's stars and angles, written to its poleX, poleY ((0, 0) on failure,
// logged as "Failed to calculate the north pole." or "... south pole.").
int CalcTemplatePole(const QString& hemisphere, STARDATA& record);
