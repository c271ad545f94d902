// A simulated user at the mount who turns the screws only by what the sound guidance
// says: each spoken text is read back (GuidancePhrases::Parse) into a direction and an
// amount, and turned, at the user's own accuracy, over a second or so.
//
// Usage:
//   GuidedUser user(GuidancePhrases::ForLanguage("DE"), /*accuracy=*/1.1);
//   user.Hear(voice->lines.back().text);   // each new recorded instruction
//   ScrewTurn step = user.Turn(dt);        // how far the screws go in this frame
//   mountAlt -= step.altArcsec; ...        // in GuidanceInput's sign convention: turning
//                                          // "up" by x lowers altArcsec by x
//   user.Aligned()                         // "aligned" heard
//   user.Misheard()                        // texts that read back into nothing
#pragma once

#include "guidance/GuidancePhrases.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

struct ScrewTurn {
    double altArcsec = 0.0; // > 0: raised
    double azArcsec = 0.0;  // > 0: turned east
};

class GuidedUser {
public:
    explicit GuidedUser(GuidancePhrases phrases, double accuracy = 1.0,
                        double arcsecPerSecond = 120.0)
        : phrases_(std::move(phrases)), accuracy_(accuracy), speed_(arcsecPerSecond) {}

    // A new instruction replaces whatever is still to be turned.
    void Hear(const QString& text) {
        const auto advice = phrases_.Parse(text);
        if (!advice) {
            misheard_ << text;
            return;
        }
        aligned_ = advice->kind == GuidanceAdvice::Kind::Aligned;
        pending_ = ScrewTurn{};
        if (aligned_)
            return;
        const double amount = advice->direction * advice->AmountArcsec() * accuracy_;
        (advice->axis == GuidanceAxis::Altitude ? pending_.altArcsec : pending_.azArcsec) = amount;
    }

    // The part of the pending turn done in `dt` seconds.
    ScrewTurn Turn(double dt) {
        auto part = [&](double& left) {
            const double step = std::clamp(left, -speed_ * dt, speed_ * dt);
            left -= step;
            return step;
        };
        ScrewTurn t;
        t.altArcsec = part(pending_.altArcsec);
        t.azArcsec = part(pending_.azArcsec);
        return t;
    }

    bool Aligned() const { return aligned_; }
    const QStringList& Misheard() const { return misheard_; }

private:
    GuidancePhrases phrases_;
    double accuracy_;
    double speed_;
    ScrewTurn pending_;
    bool aligned_ = false;
    QStringList misheard_;
};
