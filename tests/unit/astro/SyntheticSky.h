// Synthetic skies around the celestial pole for the automatic template match and
// axis fit: a star list (offsets from the pole, magnitudes), its place in a frame
// for a given sky turn, camera roll and misalignment, and the rendered 8-bit frame.
//
//   std::mt19937 rng(seed);
//   const SkyList sky = TemplateSkyList("N", rng);     // or a catalogue's list
//   SkyView view = RandomView(sky, rng);               // turn, roll, axis, pole
//   const cv::Mat frame = RenderSky(sky, view, rng);
//   // truth: view.PoleStar(sky), view.turnDeg
//
// A sky list is all that is needed from a sky: any list of stars with offsets from
// the pole (template pixels, x right, y down, template orientation) and magnitudes
// can be put in place of the template sky, for example the stars of a catalogue at
// their apparent places of date.
#pragma once

#include "astro/MaskPole.h"
#include "astro/StarData.h"
#include "astro/TemplatePattern.h"

#include <opencv2/core.hpp>

#include <QString>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

struct SkyListStar {
    double dx = 0; // offset from the pole, template pixels (30.5 arcsec)
    double dy = 0;
    double magnitude = 0;
};

struct SkyList {
    std::vector<SkyListStar> stars; // the pole star first
    TemplatePattern pattern;        // the template the sky is matched against
};

// The dated template of a hemisphere, as the program prepares it.
inline TemplatePattern PatternOf(const QString& hemisphere) {
    STARDATA d = StarDataStartValues(hemisphere);
    LoadStarData(hemisphere, d, QDate(2024, 5, 23));
    CalcTemplatePole(hemisphere, d);
    return TemplatePatternFor(hemisphere, d);
}

// The template stars where the sky has them (each off its ring centre by a little,
// as catalogue places are), with the magnitudes of the real stars about the poles,
// and field stars down to magnitude 9.5 at the density of the sky there: a few
// hundred within 900 pixels of the pole.
inline SkyList TemplateSkyList(const QString& hemisphere, std::mt19937& rng, int fieldStars = 450) {
    SkyList sky;
    sky.pattern = PatternOf(hemisphere);
    const bool south = hemisphere == QLatin1String("S");
    std::normal_distribution<double> offset(0.0, 0.5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (std::size_t i = 0; i < sky.pattern.stars.size(); ++i) {
        const TemplatePattern::Star& t = sky.pattern.stars[i];
        double mag = 5.3 + 1.5 * unit(rng);
        if (i == 0)
            mag = south ? 5.4 : 2.0;
        sky.stars.push_back(
            {t.x - sky.pattern.poleX + offset(rng), t.y - sky.pattern.poleY + offset(rng), mag});
    }
    // Star counts grow about threefold per magnitude, N(<m) ~ 10^(0.45 m), from 4 to 9.5.
    const double k = 0.45 * (9.5 - 4.0);
    while (fieldStars-- > 0) {
        const double r = 900.0 * std::sqrt(unit(rng));
        const double a = 2 * M_PI * unit(rng);
        const double mag = 4.0 + std::log10(1 + unit(rng) * (std::pow(10.0, k) - 1)) / 0.45;
        sky.stars.push_back({r * std::cos(a), r * std::sin(a), mag});
    }
    return sky;
}

struct SkyView {
    double poleX = 640; // the celestial pole, frame pixels
    double poleY = 480;
    double turnDeg = 0; // the sky pattern's turn in the image, clockwise (= template turn)
    double scale = 1;   // frame pixels per template pixel

    cv::Point2d Place(const SkyListStar& s) const {
        const double c = std::cos(turnDeg * M_PI / 180), n = std::sin(turnDeg * M_PI / 180);
        return {poleX + scale * (s.dx * c - s.dy * n), poleY + scale * (s.dx * n + s.dy * c)};
    }
    cv::Point2d PoleStar(const SkyList& sky) const { return Place(sky.stars[0]); }
};

// A turn of the sky and of the camera, an RA axis near the frame centre and the pole
// up to 45 arcminutes (in altitude and azimuth) away from it, a scale within 1 %.
inline SkyView RandomView(std::mt19937& rng) {
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    SkyView v;
    const double axisX = 640 + 80 * u(rng), axisY = 480 + 80 * u(rng);
    const double altPx = 45 * 60 / 30.5 * u(rng), azPx = 45 * 60 / 30.5 * u(rng);
    const double roll = 180 * (1 + u(rng));
    const double c = std::cos(roll * M_PI / 180), s = std::sin(roll * M_PI / 180);
    v.poleX = axisX + azPx * c + altPx * s;
    v.poleY = axisY + azPx * s - altPx * c;
    v.turnDeg = 180 * (1 + u(rng));
    v.scale = 1 + 0.01 * u(rng);
    return v;
}

// Magnitude 5 peaks at 250 ADU above the sky (magnitude 2 saturates), sigma 1.5 px,
// sky 20 ADU with 2 ADU of noise, a few hot pixels.
inline cv::Mat RenderSky(const SkyList& sky, const SkyView& view, std::mt19937& rng,
                         int width = 1280, int height = 960) {
    cv::Mat sum(height, width, CV_32F, cv::Scalar(20.0));
    const double sigma = 1.5;
    for (const SkyListStar& s : sky.stars) {
        const cv::Point2d p = view.Place(s);
        if (p.x < -10 || p.y < -10 || p.x > width + 10 || p.y > height + 10)
            continue;
        const double peak = 250.0 * std::pow(10.0, -0.4 * (s.magnitude - 5.0));
        const int x0 = std::max(0, int(p.x) - 7), x1 = std::min(width - 1, int(p.x) + 7);
        const int y0 = std::max(0, int(p.y) - 7), y1 = std::min(height - 1, int(p.y) + 7);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const double d2 = (x - p.x) * (x - p.x) + (y - p.y) * (y - p.y);
                sum.at<float>(y, x) += float(peak * std::exp(-d2 / (2 * sigma * sigma)));
            }
    }
    cv::Mat noise(height, width, CV_32F);
    cv::theRNG().state = rng();
    cv::randn(noise, 0.0, 2.0);
    sum += noise;
    cv::Mat frame;
    sum.convertTo(frame, CV_8U);
    std::uniform_int_distribution<int> hx(0, width - 1), hy(0, height - 1);
    for (int i = 0; i < 20; ++i)
        frame.at<uchar>(hy(rng), hx(rng)) = 255;
    return frame;
}
