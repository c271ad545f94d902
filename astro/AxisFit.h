// The RA axis in the image, from the stars followed while the axis is turned: the
// automatic way of finding the axis centre.
//
// Usage:
//   AxisFollower follower;
//   // the sky's own turn (SkyTurn.h): the pole in the first frame and the rate
//   follower.SetSkyTurn({poleX, poleY, SiderealDegPerSecond(SkyHemisphere::North)});
//   // for every new frame while the user turns the RA axis, with the moment it
//   // was taken (UTC seconds):
//   follower.AddFrame(DetectStars(frame), seconds);  // StarDetect.h
//   const double turned = std::abs(follower.TurnDeg());   // degrees so far
//   if (turned >= 30) {
//       const AxisFitResult fit = follower.Fit();
//       if (fit.ok) ... fit.centreX, fit.centreY, fit.star[0..2], fit.radius
//   }
//
// Each frame is tied to the one before by the turn and shift that carry its bright
// stars onto theirs (voted over pairs of stars of equal separation, then refined by
// least squares over all stars that meet), so a star keeps its track however far it
// moves between frames. The axis centre is the common centre of circles through
// the tracks: an algebraic first guess, then least squares on the distances of the
// points from their track's circle, points that lie far off dropped and the fit
// repeated. A frame that cannot be tied to the one before is skipped; the same
// frame given twice adds nothing.
//
// While the axis turns the sky turns too, about the pole: each tie carries both
// turns. The pole moves with the stars' turn and shift (it is the one point the
// sky's turn leaves in place), so its place in every frame follows from its place
// in the first; the sky's turn since the first frame is taken out of every point
// about it before the circles are fitted (SkyTurn.h), and out of TurnDeg().
#pragma once

#include "astro/SkyTurn.h"
#include "astro/StarDetect.h"

#include <opencv2/core/types.hpp>

#include <array>
#include <vector>

struct AxisFitOptions {
    int brightStars = 30;        // stars used to tie a frame to the one before
    int trackedStars = 120;      // stars followed (the brightest)
    double matchRadiusPx = 3.0;  // a star meets its predecessor this near
    int minPointsPerTrack = 4;   // shorter tracks do not enter the fit
    double outlierSigmas = 3.0;  // points further off than this many rms are dropped...
    double outlierFloorPx = 0.5; // ...but never points nearer than this
};

struct AxisFitResult {
    bool ok = false;
    double centreX = 0; // the RA axis, frame pixels
    double centreY = 0;
    double rmsPx = 0;   // distance of the points kept from their circles
    int points = 0;     // points kept
    int rejected = 0;   // points dropped as lying off their circle
    int tracks = 0;     // tracks in the fit
    double turnDeg = 0; // the turn over which the stars were followed
    // One star of the fit at the start, the middle and the end of its track, and
    // the radius of its circle.
    std::array<std::array<double, 2>, 3> star{};
    double radius = 0;
};

class AxisFollower {
public:
    explicit AxisFollower(const AxisFitOptions& options = {});

    // The sky's turn to take out (before the first frame; none by default).
    void SetSkyTurn(const SkyTurn& sky) { sky_ = sky; }

    // Adds the stars of the next frame taken at `seconds` (its moment: only the
    // differences count, the sky turns by them); false when it could not be tied to
    // the frame before (it is then left out, and the next frame is tied to the last
    // one that was taken).
    bool AddFrame(const std::vector<DetectedStar>& stars, double seconds = 0);

    // The RA axis's turn since the first frame, degrees clockwise on the screen.
    double TurnDeg() const;
    int FramesTaken() const { return frames_; }

    AxisFitResult Fit() const;

private:
    struct Point {
        double x, y;
        int frame; // index into frames_ of the frame it was measured in
    };
    // A frame taken: its moment and the turn and shift that carry the first frame's
    // stars onto its own (x + iy: z -> turn·z + shift).
    struct FrameTie {
        double seconds;
        double turnRe, turnIm, shiftX, shiftY;
    };
    // The tracks with the sky's turn since the first frame taken out.
    std::vector<std::vector<cv::Point2d>> StillSkyTracks() const;
    AxisFitOptions o_;
    SkyTurn sky_;
    std::vector<DetectedStar> last_; // stars of the last frame taken
    std::vector<int> lastTrack_;     // their tracks (-1: none)
    std::vector<std::vector<Point>> tracks_;
    std::vector<FrameTie> ties_;
    double turnDeg_ = 0; // stars' turn, the sky's included
    int frames_ = 0;
};
