// The apex P of a triangle A-B-P from its base A-B and its base angles, shared by
// the template pole and the pole in the live frame.
//
// Usage:
//   PoleCandidates c = TrianglePoleCandidates(ax, ay, bap, bx, by, abp);
//   switch (c.kind) {
//   case PoleCandidates::Two: ... (c.x1, c.y1) or (c.x2, c.y2), mirror images across AB
//   case PoleCandidates::One: ... (c.x1, c.y1)
//   default: ...                  // no pole; each caller logs in its own words
//   }
#pragma once

struct PoleCandidates {
    enum Kind {
        Invalid,    // the angles leave no triangle (sin P = 0) or A and B share their x
        Two,        // two mirror solutions; (x2, y2) is the one with the smaller y
        One,        // the circles touch
        NoSolution, // the circles about A and B do not meet
        NotANumber, // non-numeric input
    };
    Kind kind = Invalid;
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
};

// bap is the angle at A between B and P, abp the angle at B between A and P (degrees).
PoleCandidates TrianglePoleCandidates(double ax, double ay, double bap, double bx, double by,
                                      double abp);
