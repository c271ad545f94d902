#include "zorcam-sim/FrameRenderer.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace zorcamsim {
namespace {

// Each frame reads the noise table from a different start within this slack.
constexpr std::size_t kNoiseSlack = 65536;

std::uint64_t SplitMix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Share of a unit Gaussian (centre c, sigma s) falling on the pixel [i-0.5, i+0.5].
float PixelShare(int i, double c, double s) {
    const double k = 1.0 / (std::sqrt(2.0) * s);
    return static_cast<float>(0.5 * (std::erf((i + 0.5 - c) * k) - std::erf((i - 0.5 - c) * k)));
}

} // namespace

FrameRenderer::FrameRenderer(const RenderParams& params) : params_(params) {
    const std::size_t pixels = static_cast<std::size_t>(params_.width) * params_.height;
    expected_.assign(pixels, 0.0f);

    std::mt19937_64 rng(SplitMix(params_.seed ^ 0x6E6F697365ull));
    std::normal_distribution<float> normal(0.0f, 1.0f);
    noise_.resize(pixels + kNoiseSlack);
    for (float& z : noise_)
        z = normal(rng);

    std::mt19937_64 hotRng(SplitMix(params_.seed ^ 0x686F74ull));
    std::uniform_int_distribution<int> where(0, static_cast<int>(pixels) - 1);
    std::uniform_real_distribution<float> dark(2000.0f, 40000.0f); // electrons per second
    for (int i = 0; i < params_.hotPixels; ++i)
        hot_.push_back({where(hotRng), dark(hotRng)});
}

double FrameRenderer::AduPerElectron(const RenderParams& params, int gain) {
    return params.aduPerE * std::pow(10.0, gain / 200.0);
}

double FrameRenderer::StarElectronsPerSec(const RenderParams& params, double magnitude) {
    return params.zeroPointEps * std::pow(10.0, -0.4 * magnitude);
}

void FrameRenderer::Render(const std::vector<RenderStar>& stars, double exposureUs, int gain,
                           std::uint64_t frameIndex, unsigned char* out) {
    const int w = params_.width;
    const int h = params_.height;
    const double seconds = std::max(0.0, exposureUs) * 1e-6;
    const double g = AduPerElectron(params_, gain);

    std::fill(expected_.begin(), expected_.end(), static_cast<float>(params_.skyEps * seconds * g));

    const double sigma = params_.psfSigmaPx;
    const int reach = static_cast<int>(std::ceil(4.0 * sigma)) + 1;
    for (const RenderStar& s : stars) {
        const double adu = s.electronsPerSec * seconds * g;
        if (!(adu > 0) || !std::isfinite(s.x) || !std::isfinite(s.y))
            continue;
        const int x0 = std::max(0, static_cast<int>(std::floor(s.x)) - reach);
        const int x1 = std::min(w - 1, static_cast<int>(std::floor(s.x)) + reach);
        const int y0 = std::max(0, static_cast<int>(std::floor(s.y)) - reach);
        const int y1 = std::min(h - 1, static_cast<int>(std::floor(s.y)) + reach);
        if (x0 > x1 || y0 > y1)
            continue;
        fx_.resize(x1 - x0 + 1);
        fy_.resize(y1 - y0 + 1);
        for (int x = x0; x <= x1; ++x)
            fx_[x - x0] = PixelShare(x, s.x, sigma);
        for (int y = y0; y <= y1; ++y)
            fy_[y - y0] = static_cast<float>(adu) * PixelShare(y, s.y, sigma);
        for (int y = y0; y <= y1; ++y) {
            float* row = expected_.data() + static_cast<std::size_t>(y) * w;
            const float fy = fy_[y - y0];
            for (int x = x0; x <= x1; ++x)
                row[x] += fy * fx_[x - x0];
        }
    }
    for (const HotPixel& p : hot_)
        expected_[p.index] += static_cast<float>(p.electronsPerSec * seconds * g);

    const std::size_t pixels = expected_.size();
    const float bias = static_cast<float>(params_.biasAdu);
    const float* e = expected_.data();
    if (!params_.noise) {
        for (std::size_t i = 0; i < pixels; ++i)
            out[i] = static_cast<unsigned char>(std::clamp(bias + e[i], 0.0f, 255.0f) + 0.5f);
        return;
    }
    const float* z = noise_.data() + SplitMix(params_.seed * 0x9E37ull + frameIndex) % kNoiseSlack;
    const float shot = static_cast<float>(g);
    const float read2 = static_cast<float>(g * g * params_.readNoiseE * params_.readNoiseE);
    for (std::size_t i = 0; i < pixels; ++i) {
        const float v = bias + e[i] + std::sqrt(shot * e[i] + read2) * z[i];
        out[i] = static_cast<unsigned char>(std::clamp(v, 0.0f, 255.0f) + 0.5f);
    }
}

} // namespace zorcamsim
