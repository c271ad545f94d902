// Turns star positions and fluxes into an 8-bit camera frame: Gaussian star images
// integrated over each pixel, sky background, bias, hot pixels, shot and read
// noise, saturation at 255.
//
// Usage:
//   FrameRenderer renderer(params);                 // seeds hot pixels and noise
//   renderer.Render(stars, 50000.0, 50, frameIndex, buffer); // width*height bytes
//
// The same parameters, stars, exposure, gain and frame index give the same bytes.
#pragma once

#include "zorcam-sim/SimConfig.h"

#include <cstdint>
#include <vector>

namespace zorcamsim {

struct RenderStar {
    double x = 0; // image pixels, whole numbers at pixel centres
    double y = 0;
    double electronsPerSec = 0; // total light of the star
};

class FrameRenderer {
public:
    explicit FrameRenderer(const RenderParams& params);

    const RenderParams& Params() const { return params_; }

    // ADU per electron at a gain (gain in tenths of a decibel).
    static double AduPerElectron(const RenderParams& params, int gain);
    // Electrons per second from a star of a magnitude.
    static double StarElectronsPerSec(const RenderParams& params, double magnitude);

    // Writes width*height bytes into out.
    void Render(const std::vector<RenderStar>& stars, double exposureUs, int gain,
                std::uint64_t frameIndex, unsigned char* out);

private:
    struct HotPixel {
        int index;
        float electronsPerSec;
    };
    RenderParams params_;
    std::vector<float> expected_; // ADU above bias, one frame
    std::vector<float> noise_;    // standard normal deviates, one frame plus slack
    std::vector<HotPixel> hot_;
    std::vector<float> fx_, fy_; // star stamp profiles
};

} // namespace zorcamsim
