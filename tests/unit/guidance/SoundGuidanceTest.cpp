// The sound guidance with recording outputs: what is said and played along a scripted
// session at the mount, in English and German, and what happens without a voice or a
// device.
#include "guidance/SoundGuidance.h"

#include "ScriptedTrack.h"
#include "support/LogReading.h"
#include "support/RecordingGuidanceOutputs.h"

#include "app/Mylog.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

struct Said {
    double t;
    QString text;
};

class SoundGuidanceRun : public ::testing::Test {
protected:
    // The guidance with a voice for `voices`, the window in `windowLang`.
    void Make(const QStringList& voices, const QString& windowLang, bool voiceExists = true,
              bool deviceExists = true) {
        auto v = std::make_unique<RecordingVoice>(&now, voices, voiceExists);
        auto t = std::make_unique<RecordingTones>(&now, deviceExists);
        voice = v.get();
        tones = t.get();
        guidance = std::make_unique<SoundGuidance>(std::move(v), std::move(t));
        guidance->SetLanguage(windowLang);
        guidance->SetEnabled(true);
    }

    void RunScript() {
        for (double t = 0.0; t <= scripted::kEnd; t += scripted::kStep) {
            now = t;
            guidance->Update(t, scripted::At(t));
        }
    }

    std::vector<Said> Lines() const {
        std::vector<Said> out;
        for (const auto& l : voice->lines)
            out.push_back({l.t, l.text});
        return out;
    }

    double now = 0.0;
    RecordingVoice* voice = nullptr;
    RecordingTones* tones = nullptr;
    std::unique_ptr<SoundGuidance> guidance;
};

void ExpectLines(const std::vector<Said>& got, const std::vector<Said>& want) {
    QStringList all;
    for (const Said& s : got)
        all << QString::number(s.t) + QLatin1Char(' ') + s.text;
    ASSERT_EQ(got.size(), want.size()) << all.join('\n').toStdString();
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_DOUBLE_EQ(got[i].t, want[i].t) << i;
        EXPECT_EQ(got[i].text, want[i].text) << i;
    }
}

// Approach, overshoot and settle, then a knock on the azimuth and the same again: each
// change of advice is said once, no closer than four seconds to the one before.
TEST_F(SoundGuidanceRun, ScriptedSessionInEnglish) {
    Make({"EN"}, "EN");
    RunScript();
    ExpectLines(Lines(), {
                             {0.0, "altitude up, 5 arcminutes"},
                             {4.0, "altitude up, 2 arcminutes"},
                             {8.375, "altitude down, 40 seconds"},
                             {17.0, "aligned"},
                             {21.0, "azimuth east, 2 arcminutes"},
                             {25.0, "azimuth west, 40 seconds"},
                             {29.5, "aligned"},
                         });
    for (const auto& l : voice->lines)
        EXPECT_EQ(l.code, "EN");
}

TEST_F(SoundGuidanceRun, ScriptedSessionInGermanWhereAGermanVoiceExists) {
    Make({"EN", "DE"}, "DE");
    RunScript();
    ExpectLines(Lines(), {
                             {0.0, "Höhe hoch, 5 Bogenminuten"},
                             {4.0, "Höhe hoch, 2 Bogenminuten"},
                             {8.375, "Höhe runter, 40 Bogensekunden"},
                             {17.0, "ausgerichtet"},
                             {21.0, "Azimut nach Osten, 2 Bogenminuten"},
                             {25.0, "Azimut nach Westen, 40 Bogensekunden"},
                             {29.5, "ausgerichtet"},
                         });
    for (const auto& l : voice->lines)
        EXPECT_EQ(l.code, "DE");
    EXPECT_EQ(guidance->Phrases().menu, "Akustische Führung");
}

TEST_F(SoundGuidanceRun, SpeaksEnglishWhereNoVoiceForTheWindowsLanguageExists) {
    Make({"EN"}, "DE");
    RunScript();
    ASSERT_EQ(voice->lines.size(), 7u);
    EXPECT_EQ(voice->lines.front().text, "altitude up, 5 arcminutes");
    EXPECT_EQ(voice->lines.front().code, "EN");
    EXPECT_EQ(guidance->Phrases().menu, "Akustische Führung"); // the menu stays German
}

// The tone beats faster and higher along the approach, falls silent with one chord each
// time the mount settles, and starts again after the knock.
TEST_F(SoundGuidanceRun, ToneRatesFollowTheErrorAndTheChordMarksEachSettling) {
    Make({"EN"}, "EN");
    RunScript();
    std::vector<double> beeps, chords;
    for (const auto& tone : tones->played) {
        if (tone.pitchesHz.size() == 1) {
            EXPECT_EQ(tone.ms, guidance->Planner().Params().beepMs);
            beeps.push_back(tone.t);
        } else {
            EXPECT_EQ(tone.pitchesHz, SettledChordHz());
            chords.push_back(tone.t);
        }
    }
    EXPECT_EQ(chords, (std::vector<double>{17.0, 29.5}));

    // Along the approach (300" down to the band at 6.75 s) each beep has the pitch of the
    // error it sounds at and follows the one before once the interval of the error then
    // has passed, to the next frame: the gaps shrink as the error does.
    const GuidancePlanner& planner = guidance->Planner();
    double previousGap = 1e9, previousPitch = 0.0;
    int approachBeeps = 0;
    for (const auto& tone : tones->played) {
        if (tone.t >= 6.75 || tone.pitchesHz.size() != 1)
            continue;
        EXPECT_NEAR(tone.pitchesHz[0], planner.ToneFor(scripted::At(tone.t).totalArcsec).pitchHz,
                    1e-9)
            << tone.t;
        EXPECT_GT(tone.pitchesHz[0], previousPitch) << tone.t;
        previousPitch = tone.pitchesHz[0];
        ++approachBeeps;
        const auto next = std::upper_bound(beeps.begin(), beeps.end(), tone.t);
        if (next == beeps.end() || *next > 6.75)
            continue;
        const double gap = *next - tone.t;
        const auto intervalAt = [&](double t) {
            return planner.ToneFor(scripted::At(t).totalArcsec).intervalMs;
        };
        EXPECT_GE(gap * 1000.0, intervalAt(*next) - 1e-6) << tone.t;
        EXPECT_LT((gap - scripted::kStep) * 1000.0, intervalAt(*next - scripted::kStep)) << tone.t;
        EXPECT_LE(gap, previousGap) << tone.t;
        previousGap = gap;
    }
    EXPECT_GE(approachBeeps, 8);
    // Silent while settled: between 17 s and the knock at 20 s, and after 29.5 s.
    for (double b : beeps) {
        EXPECT_FALSE(b > 17.0 && b < 20.0) << b;
        EXPECT_LE(b, 29.5) << b;
    }
}

TEST_F(SoundGuidanceRun, SaysNothingMoreWhileTheAdviceStaysTheSame) {
    struct Case {
        const char* name;
        double alt, az, wobble;
    } cases[] = {
        {"steady", 200.0, 50.0, 3.0},
        {"across a rounding edge", 90.0, 10.0, 6.0}, // 84" to 96": 1' or 2'
        {"in seconds", 42.0, 5.0, 4.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Make({"EN"}, "EN");
        for (int i = 0; i < 600; ++i) { // a minute at ten frames a second
            now = i * 0.1;
            const double w = (i % 2 ? 1.0 : -1.0) * c.wobble;
            guidance->Update(now, {true, std::hypot(c.alt + w, c.az), c.alt + w, c.az});
        }
        EXPECT_EQ(voice->lines.size(), 1u);
        EXPECT_GT(tones->played.size(), 40u);
    }
}

TEST_F(SoundGuidanceRun, SwitchedOffItIsSilent) {
    Make({"EN"}, "EN");
    guidance->SetEnabled(false);
    RunScript();
    EXPECT_TRUE(voice->lines.empty());
    EXPECT_TRUE(tones->played.empty());
}

// Without a device or a voice the guidance plays what it can, says so in the log once
// and the menu text tells the user.
TEST_F(SoundGuidanceRun, MissingOutputsAreLoggedOnceAndNamedInTheMenu) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    g_logFilePath = dir.filePath(QStringLiteral("run.log"));
    Make({"EN"}, "EN", /*voiceExists=*/false, /*deviceExists=*/false);
    guidance->SetEnabled(false);
    guidance->SetEnabled(true);
    RunScript();
    EXPECT_TRUE(voice->lines.empty());
    EXPECT_TRUE(tones->played.empty());
    EXPECT_FALSE(guidance->AudioAvailable());
    EXPECT_EQ(guidance->Phrases().noAudio, "Sound Guidance (no audio device)");
    const QStringList log = ReadLogLines();
    EXPECT_EQ(log.filter("no audio device").size(), 1) << log.join('\n').toStdString();
    EXPECT_EQ(log.filter("no speech voice").size(), 1) << log.join('\n').toStdString();

    Make({"EN"}, "EN", /*voiceExists=*/true, /*deviceExists=*/false);
    RunScript();
    EXPECT_TRUE(guidance->AudioAvailable());
    EXPECT_EQ(voice->lines.size(), 7u); // spoken, though no tones
    g_logFilePath.clear();
}

} // namespace
