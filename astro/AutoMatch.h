// The pole star and the template turn, found from the stars of a frame: the
// automatic way of putting a template on the sky.
//
// Usage:
//   const std::vector<DetectedStar> stars = DetectStars(frame);            // StarDetect.h
//   const TemplatePattern pattern = TemplatePatternFor("N", g_northStarData); // TemplatePattern.h
//   AutoMatchOptions opt;
//   opt.frameWidth = frame.cols;
//   opt.frameHeight = frame.rows;
//   const AutoMatchResult r = MatchTemplate(stars, pattern, opt);
//   if (r.found) {
//       // the template's star B goes on (r.poleStarX, r.poleStarY), turned by
//       // r.angleDeg (clockwise, as RotatePoint and the overlay turn); a rotation
//       // bar shows it as r.barValue (0..359)
//   } else {
//       // r.refusal says why; nothing is to be changed
//   }
//
// Every bright star may be the pole star and every angle is tried: each pair of a
// candidate and another star at the distance of a template star votes for the turn
// that puts that template star on it. The turns with enough votes are refined (turn
// and scale about the candidate, least squares on the stars found) and scored: each
// template star that finds a measured star within `matchRadiusPx` adds
// 1 - (d / matchRadiusPx)^2. A fit is accepted only when it finds enough of the
// template stars that lie inside the frame and scores clearly better than the best
// fit that puts the pole star elsewhere or the template at another turn.
#pragma once

#include "astro/StarDetect.h"
#include "astro/TemplatePattern.h"

#include <vector>

struct AutoMatchOptions {
    double matchRadiusPx = 4.0;   // a template star is found when a star lies this near
    double scale = 1.0;           // frame pixels per template pixel
    double scaleTolerance = 0.03; // relative: the frame's scale may differ this much
    int poleCandidates = 40;      // the brightest this many stars may be the pole star
    int minMatched = 4;           // template stars besides B that must be found, at least
    int allowedMisses = 1;        // of those predicted inside the frame, this many may be missing
    // With few template stars inside the frame (pole star near an edge), this many
    // may do when every one inside the frame is found, this close on average (score
    // per star).
    int minMatchedNearEdge = 3;
    double minClosenessNearEdge = 0.85;
    double minMargin = 1.5; // best score minus the runner-up's, at least
    int frameWidth = 0;     // when set: template stars predicted outside the frame
    int frameHeight = 0;    //   (or within edgePx of it) are not looked for
    int frameLeft = 0;      // where the part of the frame that holds sky begins (a
    int frameTop = 0;       //   smaller camera's frame is centred on black)
    int edgePx = 10;
};

struct AutoMatchResult {
    enum class Refusal {
        None,        // found
        TooFewStars, // not enough stars in the frame to try
        NoFit,       // no turn of the template finds enough of its stars
        Ambiguous,   // another fit scores about as well
    };
    bool found = false;
    Refusal refusal = Refusal::TooFewStars;
    double poleStarX = 0; // the pole star (template star B), frame pixels
    double poleStarY = 0;
    double angleDeg = 0; // template turn, degrees clockwise, 0 <= angle < 360
    int barValue = 0;    // the turn as a rotation bar shows it, 0..359
    double scale = 0;    // fitted frame pixels per template pixel
    double poleX = 0;    // the template's pole in the frame, at the fitted scale
    double poleY = 0;
    int matched = 0;          // template stars besides B found
    int expected = 0;         // template stars besides B predicted inside the frame
    double rmsPx = 0;         // distance of the found stars from their template places
    double score = 0;         // of the best fit
    double runnerUpScore = 0; // of the best fit that differs from it
};

AutoMatchResult MatchTemplate(const std::vector<DetectedStar>& stars,
                              const TemplatePattern& pattern, const AutoMatchOptions& options = {});
