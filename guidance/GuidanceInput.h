// What the sound guidance listens to: the alignment error the live read-out shows,
// once per frame. The guidance reads nothing else, so what is heard always matches
// what is seen.
//
// Usage:
//   GuidanceInput in;
//   in.valid = true;           // false while the read-out shows no error (no lock, not monitoring)
//   in.totalArcsec = 95.0;     // the error as shown, arcseconds (>= 0)
//   in.altArcsec = 80.0;       // > 0: the altitude must go UP by this much
//   in.azArcsec = -51.0;       // > 0: the azimuth must go EAST by this much
//
// Sign convention (the amount and direction the user must turn, not the offset):
//   altArcsec > 0  "raise the altitude": turn the altitude screw so the polar axis points
//                  higher; < 0 lower it.
//   azArcsec  > 0  "turn the azimuth east": standing behind the mount and facing the
//                  celestial pole, swing the polar axis to the east, which is to the right
//                  in the northern hemisphere and to the left in the southern one; < 0 west.
// A read-out that gives the pole's offset from the axis (where the pole is, not where the
// axis must go) feeds its negated components.
#pragma once

struct GuidanceInput {
    bool valid = false;
    double totalArcsec = 0.0;
    double altArcsec = 0.0;
    double azArcsec = 0.0;
};
