// Plans what the sound guidance plays and says from the stream of alignment errors:
// a short tone that repeats faster and higher as the error shrinks (like a parking
// sensor), a chord once the error has stayed inside the band for the settle time, and
// a spoken instruction whenever the advice changes (or the user has done half of what
// was said and there is more to do), at most once per speech gap.
// No audio here: the caller hands the events to its outputs (see SoundGuidance).
//
// Usage:
//   GuidancePlanner planner;                     // GuidanceParams{}: band 30", settle 2 s
//   GuidanceEvents ev = planner.Update(tSeconds, input);   // every frame, t increasing
//   if (ev.chord)     tones.Play(SettledChordHz(), kSettledChordMs);
//   else if (ev.beep) tones.Play({ev.beepPitchHz}, ev.beepMs);
//   if (ev.speak)     voice.Say(phrases.Say(*ev.speak), phrases.code); // "altitude up, ..."
//   planner.Reset();                             // guidance switched off
//
// The advice names one axis at a time, the one with the larger error (it keeps that axis
// until the other is clearly larger), with the amount in tens of arcseconds below 55" and in
// whole arcminutes from there up. Nothing is played while the input is not valid.
#pragma once

#include "guidance/GuidanceInput.h"

#include <optional>

struct GuidanceParams {
    double bandArcsec = 30.0;      // inside this the mount counts as aligned
    double settleSeconds = 2.0;    // ... once the error has stayed inside this long
    double speechGapSeconds = 4.0; // at most one instruction per gap
    double farArcsec = 1200.0;     // from here out the tone is at its slowest and lowest
    double slowestIntervalMs = 1200.0;
    double fastestIntervalMs = 120.0; // at the band
    double lowPitchHz = 440.0;
    double highPitchHz = 1760.0;
    int beepMs = 60;
};

enum class GuidanceAxis { Altitude, Azimuth };

struct GuidanceAdvice {
    enum class Kind { Move, Aligned };
    Kind kind = Kind::Aligned;
    GuidanceAxis axis = GuidanceAxis::Altitude;
    int direction = 0; // +1 altitude up / azimuth east, -1 down / west
    int amount = 0;    // in `minutes` ? arcminutes : arcseconds
    bool minutes = false;

    double AmountArcsec() const { return minutes ? amount * 60.0 : amount; }
    bool operator==(const GuidanceAdvice&) const = default;
};

struct GuidanceTone {
    double intervalMs = 0.0; // from the start of one beep to the next
    double pitchHz = 0.0;
};

struct GuidanceEvents {
    bool beep = false;
    double beepPitchHz = 0.0;
    int beepMs = 0;
    bool chord = false;                  // the error has settled inside the band
    std::optional<GuidanceAdvice> speak; // an instruction to say now
};

class GuidancePlanner {
public:
    explicit GuidancePlanner(const GuidanceParams& params = {});

    GuidanceEvents Update(double tSeconds, const GuidanceInput& input);
    void Reset();

    const GuidanceParams& Params() const { return params_; }
    bool Settled() const { return settled_; }

    // The tone for a total error: slowest and lowest at farArcsec and beyond, fastest and
    // highest at the band and inside it, logarithmic in between.
    GuidanceTone ToneFor(double totalArcsec) const;

    // The amount as it is spoken: tens of arcseconds (at least 10) below 55", whole
    // arcminutes (at least 1) from there up.
    static void Quantize(double arcsec, int& amount, bool& minutes);

private:
    // The advice worth saying now, if any: a different one, or the same again once the
    // user has acted on it; nothing while settling or when only the rounding changed.
    std::optional<GuidanceAdvice> NewAdvice(const GuidanceInput& input);

    GuidanceParams params_;
    std::optional<double> lastBeepT_;
    std::optional<double> inBandSince_;
    bool settled_ = false;
    std::optional<GuidanceAxis> axis_;
    std::optional<GuidanceAdvice> spoken_;
    double spokenValue_ = 0.0;  // the error on the advised axis when it was said
    double advisedValue_ = 0.0; // ... and when the wanted advice was last made
    std::optional<double> lastSpeechT_;
};
