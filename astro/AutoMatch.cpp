#include "astro/AutoMatch.h"

#include "astro/Angles.h"
#include "astro/StarGrid.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <complex>
#include <cstdint>

namespace {

using Complex = std::complex<double>;

constexpr int kBins = 360;            // one-degree turn bins
constexpr double kLooseTurnDeg = 2.0; // the first look around a voted turn

struct Fit {
    int candidate = -1;
    Complex k{1, 0}; // turn and scale: frame offset = k * template offset
    int matched = 0;
    int expected = 0;
    double score = 0;
    double sumD2 = 0;
};

class Matcher {
public:
    Matcher(const std::vector<DetectedStar>& stars, const TemplatePattern& pattern,
            const AutoMatchOptions& o)
        : stars_(stars), o_(o), grid_(stars, 16.0) {
        const TemplatePattern::Star& b = pattern.stars[0];
        for (std::size_t i = 1; i < pattern.stars.size(); ++i)
            offsets_.emplace_back(pattern.stars[i].x - b.x, pattern.stars[i].y - b.y);
    }

    std::size_t TemplateStars() const { return offsets_.size(); }

    // All turns worth a look for one candidate pole star.
    void Candidate(int c, std::vector<Fit>& fits) const {
        const DetectedStar& cs = stars_[c];
        std::uint32_t votes[kBins] = {};
        for (std::size_t s = 0; s < stars_.size(); ++s) {
            if (static_cast<int>(s) == c)
                continue;
            const Complex w(stars_[s].x - cs.x, stars_[s].y - cs.y);
            const double d = std::abs(w);
            for (std::size_t i = 0; i < offsets_.size(); ++i) {
                const double r = std::abs(offsets_[i]) * o_.scale;
                if (std::abs(d - r) > o_.matchRadiusPx + o_.scaleTolerance * r)
                    continue;
                const double turn = DegreesInTurn((std::arg(w) - std::arg(offsets_[i])) / kDeg);
                if (!(turn >= 0.0 && turn < 360.0)) // a star without a number for a place
                    continue;
                votes[static_cast<int>(turn) % kBins] |= 1u << i;
            }
        }
        for (int bin = 0; bin < kBins; ++bin) {
            const std::uint32_t here = votes[bin];
            if (std::popcount(here) == 0)
                continue;
            const std::uint32_t around =
                votes[(bin + kBins - 1) % kBins] | here | votes[(bin + 1) % kBins];
            if (std::popcount(around) < std::min(o_.minMatched, o_.minMatchedNearEdge))
                continue;
            fits.push_back(Refine(c, std::polar(o_.scale, (bin + 0.5) * kDeg)));
        }
    }

private:
    // Where template star i lands, and whether the frame shows that place.
    bool InFrame(const Complex& p) const {
        if (o_.frameWidth <= 0 || o_.frameHeight <= 0)
            return true;
        return p.real() >= o_.frameLeft + o_.edgePx && p.imag() >= o_.frameTop + o_.edgePx &&
               p.real() <= o_.frameLeft + o_.frameWidth - 1 - o_.edgePx &&
               p.imag() <= o_.frameTop + o_.frameHeight - 1 - o_.edgePx;
    }

    // Stars found for the turn k: the least-squares turn and scale through them,
    // looked for within the given radius (plus `turnSlackDeg` of turn at each
    // star's distance), scored at the strict radius.
    Fit Evaluate(int c, Complex k, double turnSlackDeg, Complex* refined) const {
        const Complex centre(stars_[c].x, stars_[c].y);
        Fit f;
        f.candidate = c;
        f.k = k;
        Complex num(0, 0);
        double den = 0;
        for (const Complex& v : offsets_) {
            const Complex p = centre + k * v;
            if (!InFrame(p))
                continue;
            ++f.expected;
            const double reach = o_.matchRadiusPx + std::abs(v) * std::abs(k) *
                                                        (turnSlackDeg * kDeg + o_.scaleTolerance);
            double d = 0;
            const int s = grid_.Nearest(p.real(), p.imag(), reach, d);
            if (s < 0 || s == c)
                continue;
            const Complex w(stars_[s].x - centre.real(), stars_[s].y - centre.imag());
            num += w * std::conj(v);
            den += std::norm(v);
            if (d <= o_.matchRadiusPx) {
                ++f.matched;
                f.score += 1.0 - (d / o_.matchRadiusPx) * (d / o_.matchRadiusPx);
                f.sumD2 += d * d;
            }
        }
        if (refined) {
            *refined = k;
            if (den > 0) {
                Complex fitted = num / den;
                const double lo = o_.scale * (1 - o_.scaleTolerance);
                const double hi = o_.scale * (1 + o_.scaleTolerance);
                const double m = std::clamp(std::abs(fitted), lo, hi);
                *refined = std::polar(m, std::arg(fitted));
            }
        }
        return f;
    }

    Fit Refine(int c, Complex k) const {
        Complex next = k;
        Evaluate(c, k, kLooseTurnDeg, &next);
        Complex again = next;
        Evaluate(c, next, 0.0, &again);
        Fit f = Evaluate(c, again, 0.0, nullptr);
        return f;
    }

    const std::vector<DetectedStar>& stars_;
    const AutoMatchOptions& o_;
    StarGrid grid_;
    std::vector<Complex> offsets_;
};

double TurnOf(const Complex& k) {
    return DegreesInTurn(std::arg(k) / kDeg);
}

// Two fits differ when they put the pole star on different stars or turn the template
// by more than a few degrees apart.
bool Differ(const Fit& a, const Fit& b, const std::vector<DetectedStar>& stars, double radius) {
    const double dx = stars[a.candidate].x - stars[b.candidate].x;
    const double dy = stars[a.candidate].y - stars[b.candidate].y;
    if (std::hypot(dx, dy) > 2 * radius)
        return true;
    double turn = std::abs(TurnOf(a.k) - TurnOf(b.k));
    turn = std::min(turn, 360.0 - turn);
    return turn > 5.0;
}

} // namespace

AutoMatchResult MatchTemplate(const std::vector<DetectedStar>& stars,
                              const TemplatePattern& pattern, const AutoMatchOptions& options) {
    AutoMatchResult r;
    const int others = static_cast<int>(pattern.stars.size()) - 1;
    if (others < 1 || others > 31 || static_cast<int>(stars.size()) < 1 + options.minMatched)
        return r;

    const Matcher matcher(stars, pattern, options);
    std::vector<Fit> fits;
    const int candidates =
        std::min<int>(static_cast<int>(stars.size()), std::max(options.poleCandidates, 1));
    for (int c = 0; c < candidates; ++c)
        matcher.Candidate(c, fits);

    r.refusal = AutoMatchResult::Refusal::NoFit;
    if (fits.empty())
        return r;
    std::sort(fits.begin(), fits.end(),
              [](const Fit& a, const Fit& b) { return a.score > b.score; });
    const Fit& best = fits.front();
    double runnerUp = 0;
    for (std::size_t i = 1; i < fits.size(); ++i)
        if (Differ(best, fits[i], stars, options.matchRadiusPx)) {
            runnerUp = fits[i].score;
            break;
        }

    r.poleStarX = stars[best.candidate].x;
    r.poleStarY = stars[best.candidate].y;
    r.angleDeg = TurnOf(best.k);
    r.barValue = static_cast<int>(std::lround(r.angleDeg)) % 360;
    r.scale = std::abs(best.k);
    const Complex pole =
        Complex(r.poleStarX, r.poleStarY) +
        best.k * Complex(pattern.poleX - pattern.stars[0].x, pattern.poleY - pattern.stars[0].y);
    r.poleX = pole.real();
    r.poleY = pole.imag();
    r.matched = best.matched;
    r.expected = best.expected;
    r.rmsPx = best.matched > 0 ? std::sqrt(best.sumD2 / best.matched) : 0.0;
    r.score = best.score;
    r.runnerUpScore = runnerUp;

    const bool enough =
        (best.matched >= options.minMatched &&
         best.matched >= best.expected - options.allowedMisses) ||
        (best.matched >= options.minMatchedNearEdge && best.matched == best.expected &&
         best.score >= options.minClosenessNearEdge * best.matched);
    if (!enough)
        return r;
    if (best.score - runnerUp < options.minMargin) {
        r.refusal = AutoMatchResult::Refusal::Ambiguous;
        return r;
    }
    r.found = true;
    r.refusal = AutoMatchResult::Refusal::None;
    return r;
}
