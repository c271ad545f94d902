// Plane geometry in frame (or template) pixels: x to the right, y downward,
// angles in degrees, a positive angle turning clockwise on the screen.
//
// Usage:
//   double x, y;
//   RotatePoint(angle, px, py, cx, cy, x, y);       // (px, py) turned about (cx, cy)
//
//   double cx, cy; int r;
//   if (CalcCircleCenter(x1, y1, x2, y2, x3, y3, cx, cy, r) == 1) {
//       // the circle through the three points; r is the radius truncated toward zero
//   }
//   // -1: no circle (the outputs are left untouched; collinear points are logged)
#pragma once

// Turns (px, py) about (cx, cy) by angle degrees.
void RotatePoint(double angle, double px, double py, double cx, double cy, double& outX,
                 double& outY);

// Centre and radius of the circle through three points, in the order they were
// taken. Writes the outputs and logs the centre only on success (result 1).
int CalcCircleCenter(double x1, double y1, double x2, double y2, double x3, double y3, double& outX,
                     double& outY, int& outRadius);
