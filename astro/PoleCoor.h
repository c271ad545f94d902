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
//
// The camera sees the sky unmirrored, so the pole lies on the same side of the line
// from A to B in the frame as in the template. Given that side, the mirror solution
// is ruled out whatever the distance to the axis:
//   const int side = PoleSideOf(g_maskAX, g_maskAY, g_maskBX, g_maskBY, g_maskPX, g_maskPY);
//   CalcPoleCOOR(ax, ay, bap, bx, by, abp, px, py, axisX, axisY, side);
#pragma once

// The side of the line from A to B on which P lies, in image coordinates: +1 when
// the cross product (B - A) x (P - A) is positive, -1 when negative, 0 when P lies
// on the line (within a relative tolerance) or A and B coincide.
int PoleSideOf(double ax, double ay, double bx, double by, double px, double py);

int CalcPoleCOOR(double ax, double ay, double bap, double bx, double by, double abp, double& outX,
                 double& outY, double refX, double refY);

// As above, choosing the candidate on the given side of A-B (PoleSideOf); the one
// nearer (refX, refY) only when side is 0 or the candidates' sides cannot be told.
int CalcPoleCOOR(double ax, double ay, double bap, double bx, double by, double abp, double& outX,
                 double& outY, double refX, double refY, int side);

// As CalcPoleCOOR with a side, writing no log line: for a second pole from other
// places of the same stars, whose failure is not the failure of the frame's pole.
// False, with (0, 0), when there is no pole.
bool PoleOfStars(double ax, double ay, double bap, double bx, double by, double abp, double& outX,
                 double& outY, double refX, double refY, int side);
