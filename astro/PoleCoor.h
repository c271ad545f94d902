// The celestial pole in the live frame from the measured reference stars.
//
// Usage (once per frame in monitor mode):
//   double px, py;
//   if (CalcPoleCOOR(ax, ay, g_angleBAP, bx, by, g_angleABP, px, py, axisX, axisY) == 1) {
//       // (px, py): the pole; of the two mirror solutions the one nearer (axisX, axisY)
//   } // else (0, 0), failure logged (except for non-numeric input)
//
// Star B is the pole star, star A the template's star A; the angles are those of the
// active template (StarData.h). Success is not logged.
#pragma once

int CalcPoleCOOR(double ax, double ay, double bap, double bx, double by, double abp, double& outX,
                 double& outY, double refX, double refY);
