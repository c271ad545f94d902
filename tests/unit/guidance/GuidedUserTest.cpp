// The spoken instructions alone lead a user to the pole: a simulated user who only
// hears the recorded texts, reads them back and turns the screws by them, a little
// short or a little long, ends inside 10" in several languages.
#include "guidance/SoundGuidance.h"

#include "support/GuidedUser.h"
#include "support/RecordingGuidanceOutputs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

struct FollowedRun {
    double residual = 0.0;
    bool aligned = false;
    int instructions = 0;
    QStringList misheard;
};

FollowedRun Follow(const QString& lang, double alt, double az, double accuracy) {
    double now = 0.0;
    auto voice = std::make_unique<RecordingVoice>(&now, QStringList{"EN", lang});
    RecordingVoice* said = voice.get();
    GuidanceParams params;
    params.bandArcsec = 10.0;
    SoundGuidance guidance(std::move(voice), std::make_unique<RecordingTones>(&now), params);
    guidance.SetLanguage(lang);
    guidance.SetEnabled(true);
    GuidedUser user(GuidancePhrases::ForLanguage(lang), accuracy);

    size_t heard = 0;
    const double dt = 0.1;
    for (int i = 0; i < 1800 && !user.Aligned(); ++i) { // three minutes at most
        now = i * dt;
        guidance.Update(now, {true, std::hypot(alt, az), alt, az});
        for (; heard < said->lines.size(); ++heard)
            user.Hear(said->lines[heard].text);
        const ScrewTurn turn = user.Turn(dt);
        alt -= turn.altArcsec;
        az -= turn.azArcsec;
    }
    return {std::hypot(alt, az), user.Aligned(), static_cast<int>(said->lines.size()),
            user.Misheard()};
}

TEST(GuidedUser, EndsInsideTenArcsecondsByTheSpokenInstructionsAlone) {
    struct Case {
        double alt, az;
    } starts[] = {{300.0, -200.0}, {-45.0, 700.0}, {1500.0, 20.0}, {-12.0, -14.0}};
    for (const char* lang : {"EN", "DE", "JP"}) {
        for (const Case& c : starts) {
            for (double accuracy : {0.8, 1.0, 1.2}) {
                SCOPED_TRACE(testing::Message() << lang << " from " << c.alt << ", " << c.az
                                                << " turning x" << accuracy);
                const FollowedRun r = Follow(lang, c.alt, c.az, accuracy);
                EXPECT_TRUE(r.misheard.isEmpty()) << r.misheard.join('|').toStdString();
                EXPECT_TRUE(r.aligned);
                EXPECT_LT(r.residual, 10.0);
                EXPECT_LE(r.instructions, 12);
            }
        }
    }
}

} // namespace
