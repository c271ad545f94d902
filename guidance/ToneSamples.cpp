#include "guidance/ToneSamples.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

QByteArray ToneSamples(const std::vector<double>& pitchesHz, int ms, int sampleRate,
                       double volume) {
    const int n = std::max(0, static_cast<int>(static_cast<long long>(ms) * sampleRate / 1000));
    QByteArray pcm(n * 2, '\0');
    if (pitchesHz.empty() || sampleRate <= 0)
        return pcm;
    const int fade = std::min(n / 2, sampleRate / 200); // 5 ms
    const double scale = std::clamp(volume, 0.0, 1.0) * 32767.0 / pitchesHz.size();
    auto* out = reinterpret_cast<std::int16_t*>(pcm.data());
    for (int i = 0; i < n; ++i) {
        double v = 0.0;
        for (double f : pitchesHz)
            v += std::sin(2.0 * std::numbers::pi * f * i / sampleRate);
        double gain = 1.0;
        if (fade > 0)
            gain = std::min({1.0, double(i) / fade, double(n - 1 - i) / fade});
        out[i] = static_cast<std::int16_t>(std::lround(v * scale * gain));
    }
    return pcm;
}
