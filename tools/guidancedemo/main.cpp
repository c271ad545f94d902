// zw_guidance_demo writes what the sound guidance plays and says along a short session
// at the mount into a WAV file: the tones from the guidance's own samples, the spoken
// instructions from espeak-ng. tools/regen-guidance-demo.sh runs it into docs/.
//
//   zw_guidance_demo out.wav [EN|DE|...]
#include "guidance/SoundGuidance.h"
#include "guidance/ToneSamples.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace {

constexpr int kRate = 11025;
constexpr double kStep = 0.125;
constexpr double kLength = 10.0;

// The timeline everything is mixed into.
struct Mix {
    std::vector<double> samples = std::vector<double>(static_cast<size_t>(kLength * kRate), 0.0);
    void Add(double t, const std::vector<std::int16_t>& s, double gain) {
        const auto start = static_cast<size_t>(t * kRate);
        for (size_t i = 0; i < s.size() && start + i < samples.size(); ++i)
            samples[start + i] += gain * s[i];
    }
};

std::vector<std::int16_t> ToSamples(const QByteArray& pcm) {
    const auto* p = reinterpret_cast<const std::int16_t*>(pcm.constData());
    return {p, p + pcm.size() / 2};
}

// espeak-ng's voice of `text` at kRate (it speaks at 22050 Hz: every other sample,
// averaged in pairs).
std::vector<std::int16_t> Speak(const QString& text, const QString& voice) {
    QProcess p;
    p.start(QStringLiteral("espeak-ng"),
            {QStringLiteral("--stdout"), QStringLiteral("-s"), QStringLiteral("165"),
             QStringLiteral("-v"), voice, text});
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return {};
    const QByteArray wav = p.readAllStandardOutput();
    const int data = wav.indexOf("data");
    if (data < 0)
        return {};
    const std::vector<std::int16_t> in = ToSamples(wav.mid(data + 8));
    std::vector<std::int16_t> out;
    for (size_t i = 0; i + 1 < in.size(); i += 2)
        out.push_back(static_cast<std::int16_t>((in[i] + in[i + 1]) / 2));
    return out;
}

class MixVoice : public GuidanceVoice {
public:
    MixVoice(Mix& mix, const double& now) : mix_(mix), now_(now) {}
    bool Available() const override { return true; }
    bool Speaks(const QString&) const override { return true; }
    void Say(const QString& text, const QString& code) override {
        std::printf("%6.3f s  \"%s\"\n", now_, qPrintable(text));
        mix_.Add(now_, Speak(text, code.toLower() == "cn" ? QStringLiteral("cmn") : code.toLower()),
                 0.8);
    }

private:
    Mix& mix_;
    const double& now_;
};

class MixTones : public GuidanceToneOutput {
public:
    MixTones(Mix& mix, const double& now) : mix_(mix), now_(now) {}
    bool Available() const override { return true; }
    void Play(const std::vector<double>& pitchesHz, int ms) override {
        mix_.Add(now_, ToSamples(ToneSamples(pitchesHz, ms, kRate, 0.35)), 1.0);
    }

private:
    Mix& mix_;
    const double& now_;
};

// Altitude 4' low, turned in; then the azimuth, 100" east of the pole, turned in with a
// small overshoot; the mount settles.
GuidanceInput At(double t) {
    auto ramp = [](double t, double t0, double t1, double a, double b) {
        return a + std::clamp((t - t0) / (t1 - t0), 0.0, 1.0) * (b - a);
    };
    GuidanceInput in;
    in.valid = true;
    in.altArcsec = ramp(t, 0.0, 4.0, 240.0, 0.0);
    in.azArcsec = t < 8.0 ? ramp(t, 4.5, 7.5, -100.0, 20.0) : ramp(t, 8.0, 8.5, 20.0, 0.0);
    in.totalArcsec = std::hypot(in.altArcsec, in.azArcsec);
    return in;
}

bool WriteWav(const QString& path, const std::vector<double>& samples) {
    QByteArray pcm;
    for (double v : samples) {
        const auto s = static_cast<std::int16_t>(std::clamp(std::lround(v), -32767L, 32767L));
        pcm.append(reinterpret_cast<const char*>(&s), 2);
    }
    auto le32 = [](quint32 v) {
        QByteArray b(4, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    auto le16 = [](quint16 v) {
        QByteArray b(2, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    QByteArray wav = "RIFF" + le32(36 + pcm.size()) + "WAVEfmt " + le32(16) + le16(1) + le16(1) +
                     le32(kRate) + le32(kRate * 2) + le16(2) + le16(16) + "data" +
                     le32(pcm.size()) + pcm;
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(wav) == wav.size();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: zw_guidance_demo out.wav [language code]\n");
        return 2;
    }
    Mix mix;
    double now = 0.0;
    SoundGuidance guidance(std::make_unique<MixVoice>(mix, now),
                           std::make_unique<MixTones>(mix, now));
    guidance.SetLanguage(args.size() > 2 ? args[2] : QStringLiteral("EN"));
    guidance.SetEnabled(true);
    for (now = 0.0; now < kLength - 1.0; now += kStep)
        guidance.Update(now, At(now));
    if (!WriteWav(args[1], mix.samples)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
