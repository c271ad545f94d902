#include "astro/AxisFit.h"

#include "astro/Angles.h"
#include "astro/StarGrid.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <map>
#include <utility>

namespace {

using Complex = std::complex<double>;

constexpr double kMinPairPx = 30.0;     // shorter pairs give their direction too roughly
constexpr double kPairSlackPx = 1.5;    // equal separations, within this
constexpr double kShiftCellPx = 5.0;    // shifts voted in cells this wide
constexpr int kMinTies = 4;             // stars that must meet for a frame to be tied
constexpr double kWeightFloorPx = 0.03; // no track weighs more than one this steady

struct Pair {
    double length;
    Complex v; // from star i to star j
    int i;
    int j;
};

// Ordered pairs of the first n stars, no shorter than kMinPairPx, sorted by length.
std::vector<Pair> PairsOf(const std::vector<DetectedStar>& s, int n) {
    std::vector<Pair> pairs;
    n = std::min<int>(n, static_cast<int>(s.size()));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            if (i == j)
                continue;
            const Complex v(s[j].x - s[i].x, s[j].y - s[i].y);
            if (std::abs(v) >= kMinPairPx)
                pairs.push_back({std::abs(v), v, i, j});
        }
    std::sort(pairs.begin(), pairs.end(),
              [](const Pair& a, const Pair& b) { return a.length < b.length; });
    return pairs;
}

Complex At(const DetectedStar& s) {
    return {s.x, s.y};
}

struct Tie {
    Complex turn{1, 0}; // unit: the turn
    Complex shift{0, 0};
    std::vector<std::pair<int, int>> met; // (star before, star now)
};

// Stars of `now` that meet the turned and shifted stars of `before`, each at most once.
std::vector<std::pair<int, int>> Meet(const std::vector<DetectedStar>& before,
                                      const std::vector<DetectedStar>& now, const StarGrid& grid,
                                      const Complex& turn, const Complex& shift, double radius) {
    std::vector<int> owner(now.size(), -1);
    std::vector<double> ownerD(now.size(), 0);
    for (std::size_t i = 0; i < before.size(); ++i) {
        const Complex p = turn * At(before[i]) + shift;
        double d = 0;
        const int k = grid.Nearest(p.real(), p.imag(), radius, d);
        if (k < 0)
            continue;
        if (owner[k] < 0 || d < ownerD[k]) {
            owner[k] = static_cast<int>(i);
            ownerD[k] = d;
        }
    }
    std::vector<std::pair<int, int>> met;
    for (std::size_t k = 0; k < now.size(); ++k)
        if (owner[k] >= 0)
            met.emplace_back(owner[k], static_cast<int>(k));
    return met;
}

// The shift most of the voting pairs agree on for a turn, then least squares over
// all the stars that meet.
template <typename Votes>
bool ShiftAndRefine(const std::vector<DetectedStar>& before, const std::vector<DetectedStar>& now,
                    const StarGrid& grid, const AxisFitOptions& o, const Votes& peak,
                    const Complex& turn, bool reversed, Tie& tie) {
    std::map<std::pair<long, long>, int> cells;
    for (const auto* v : peak) {
        const Complex s = At(now[reversed ? v->kEnd : v->k]) - turn * At(before[v->i]);
        ++cells[{std::lround(s.real() / kShiftCellPx), std::lround(s.imag() / kShiftCellPx)}];
    }
    std::pair<long, long> bestCell{};
    int cellCount = -1;
    for (const auto& [cell, count] : cells) {
        int around = 0;
        for (long dx = -1; dx <= 1; ++dx)
            for (long dy = -1; dy <= 1; ++dy) {
                const auto it = cells.find({cell.first + dx, cell.second + dy});
                around += it == cells.end() ? 0 : it->second;
            }
        if (around > cellCount) {
            cellCount = around;
            bestCell = cell;
        }
    }
    Complex shift(bestCell.first * kShiftCellPx, bestCell.second * kShiftCellPx);
    Complex t = turn;
    double radius = o.matchRadiusPx + kShiftCellPx * 1.5;
    for (int pass = 0; pass < 3; ++pass) {
        const auto met = Meet(before, now, grid, t, shift, radius);
        if (static_cast<int>(met.size()) < kMinTies)
            return false;
        Complex pm(0, 0), qm(0, 0);
        for (const auto& [i, k] : met) {
            pm += At(before[i]);
            qm += At(now[k]);
        }
        pm /= static_cast<double>(met.size());
        qm /= static_cast<double>(met.size());
        Complex h(0, 0);
        for (const auto& [i, k] : met)
            h += (At(now[k]) - qm) * std::conj(At(before[i]) - pm);
        if (std::abs(h) == 0)
            return false;
        t = h / std::abs(h);
        shift = qm - t * pm;
        radius = o.matchRadiusPx;
    }
    tie.turn = t;
    tie.shift = shift;
    tie.met = Meet(before, now, grid, t, shift, o.matchRadiusPx);
    return static_cast<int>(tie.met.size()) >= kMinTies;
}

// The turn and shift that carry the stars of `before` onto those of `now`.
bool TieFrames(const std::vector<DetectedStar>& before, const std::vector<DetectedStar>& now,
               const AxisFitOptions& o, Tie& tie) {
    const std::vector<Pair> a = PairsOf(before, o.brightStars);
    const std::vector<Pair> b = PairsOf(now, o.brightStars);
    if (a.empty() || b.empty())
        return false;

    // Pairs of equal separation vote for the turn between them.
    struct Vote {
        double turnDeg;
        int i, k, kEnd; // star i met star k, or kEnd when the pair was met the wrong way round
    };
    std::vector<Vote> votes;
    std::vector<int> bins(360, 0);
    for (const Pair& p : a) {
        auto it = std::lower_bound(b.begin(), b.end(), p.length - kPairSlackPx,
                                   [](const Pair& q, double len) { return q.length < len; });
        for (; it != b.end() && it->length <= p.length + kPairSlackPx; ++it) {
            const double t = DegreesInTurn(std::arg(it->v / p.v) / kDeg);
            if (!(t >= 0.0 && t < 360.0))
                continue;
            const int bin = static_cast<int>(t) % 360;
            ++bins[bin];
            votes.push_back({t, p.i, it->i, it->j});
        }
    }
    int bestBin = 0;
    int bestCount = -1;
    for (int bin = 0; bin < 360; ++bin) {
        const int count = bins[(bin + 359) % 360] + bins[bin] + bins[(bin + 1) % 360];
        if (count > bestCount) {
            bestCount = count;
            bestBin = bin;
        }
    }
    if (bestCount < kMinTies)
        return false;
    Complex sum(0, 0);
    std::vector<const Vote*> peak;
    for (const Vote& v : votes) {
        double off = v.turnDeg - (bestBin + 0.5);
        off -= 360.0 * std::round(off / 360.0);
        if (std::abs(off) <= 1.5) {
            sum += std::polar(1.0, v.turnDeg * kDeg);
            peak.push_back(&v);
        }
    }
    const Complex voted = sum / std::abs(sum);

    // A pair met the wrong way round votes for the opposite turn as strongly: both
    // are tried, and the one whose shift the stars agree on is kept.
    const StarGrid grid(now, 16.0);
    Tie best;
    for (const bool reversed : {false, true}) {
        Tie t;
        if (ShiftAndRefine(before, now, grid, o, peak, reversed ? -voted : voted, reversed, t) &&
            t.met.size() > best.met.size())
            best = std::move(t);
    }
    if (static_cast<int>(best.met.size()) < kMinTies)
        return false;
    tie = std::move(best);
    return true;
}
std::vector<DetectedStar> Brightest(const std::vector<DetectedStar>& stars, int n) {
    return {stars.begin(), stars.begin() + std::min<std::size_t>(stars.size(), std::max(n, 0))};
}

// ---- the fit: named steps over one set of points ------------------------------------

struct FitPoint {
    double x, y;
    int track; // index into FitPoints::tracks
    bool kept;
};

// The points of the tracks long enough to enter the fit, and what the fit finds.
struct FitPoints {
    std::vector<FitPoint> pts;
    std::vector<int> tracks;    // the follower's track of each fitted track
    std::vector<double> radius; // of each track's circle
    std::vector<double> weight; // of each track: the inverse of its scatter
    double cx = 0, cy = 0, rms = 0;
    int Tracks() const { return static_cast<int>(tracks.size()); }
};

FitPoints GatherPoints(const std::vector<std::vector<cv::Point2d>>& tracks, int minPoints) {
    FitPoints f;
    for (std::size_t t = 0; t < tracks.size(); ++t) {
        if (static_cast<int>(tracks[t].size()) < minPoints)
            continue;
        const int id = f.Tracks();
        f.tracks.push_back(static_cast<int>(t));
        for (const cv::Point2d& p : tracks[t])
            f.pts.push_back({p.x, p.y, id, true});
    }
    f.radius.assign(f.tracks.size(), 0.0);
    f.weight.assign(f.tracks.size(), 1.0);
    return f;
}

// Algebraic first guess: x^2 + y^2 = 2 cx x + 2 cy y + k_track, the k's eliminated
// by taking each track's means out.
bool AlgebraicGuess(FitPoints& f) {
    const int n = f.Tracks();
    std::vector<double> mx(n, 0), my(n, 0), mq(n, 0);
    std::vector<int> count(n, 0);
    for (const FitPoint& p : f.pts) {
        mx[p.track] += p.x;
        my[p.track] += p.y;
        mq[p.track] += p.x * p.x + p.y * p.y;
        ++count[p.track];
    }
    for (int t = 0; t < n; ++t) {
        mx[t] /= count[t];
        my[t] /= count[t];
        mq[t] /= count[t];
    }
    double a11 = 0, a12 = 0, a22 = 0, b1 = 0, b2 = 0;
    for (const FitPoint& p : f.pts) {
        const double u = 2 * (p.x - mx[p.track]);
        const double v = 2 * (p.y - my[p.track]);
        const double w = p.x * p.x + p.y * p.y - mq[p.track];
        a11 += u * u;
        a12 += u * v;
        a22 += v * v;
        b1 += u * w;
        b2 += v * w;
    }
    const double det = a11 * a22 - a12 * a12;
    if (!(std::abs(det) > 0))
        return false;
    f.cx = (a22 * b1 - a12 * b2) / det;
    f.cy = (a11 * b2 - a12 * b1) / det;
    return true;
}

// Each track's radius (the mean distance of its kept points) and the mean
// direction of its points from the centre.
void TrackRadii(FitPoints& f, std::vector<double>& ux, std::vector<double>& uy) {
    const int n = f.Tracks();
    ux.assign(n, 0);
    uy.assign(n, 0);
    std::vector<double> rr(n, 0);
    std::vector<int> count(n, 0);
    for (const FitPoint& p : f.pts) {
        const double d = std::hypot(p.x - f.cx, p.y - f.cy);
        if (!p.kept || !(d > 0))
            continue;
        ux[p.track] += (p.x - f.cx) / d;
        uy[p.track] += (p.y - f.cy) / d;
        rr[p.track] += d;
        ++count[p.track];
    }
    for (int t = 0; t < n; ++t)
        if (count[t] > 0) {
            ux[t] /= count[t];
            uy[t] /= count[t];
            f.radius[t] = rr[t] / count[t];
        }
}

// Weighted least squares on the distances of the kept points from their circles
// (Gauss-Newton on the centre, each track's radius its points' mean distance).
bool FitCentre(FitPoints& f) {
    std::vector<double> ux, uy;
    for (int iter = 0; iter < 20; ++iter) {
        TrackRadii(f, ux, uy);
        double j11 = 0, j12 = 0, j22 = 0, g1 = 0, g2 = 0;
        for (const FitPoint& p : f.pts) {
            const double d = std::hypot(p.x - f.cx, p.y - f.cy);
            if (!p.kept || !(d > 0))
                continue;
            const double e = d - f.radius[p.track];
            const double jx = -(p.x - f.cx) / d + ux[p.track];
            const double jy = -(p.y - f.cy) / d + uy[p.track];
            const double w = f.weight[p.track];
            j11 += w * jx * jx;
            j12 += w * jx * jy;
            j22 += w * jy * jy;
            g1 += w * jx * e;
            g2 += w * jy * e;
        }
        const double det = j11 * j22 - j12 * j12;
        if (!(std::abs(det) > 0))
            return false;
        const double dx = -(j22 * g1 - j12 * g2) / det;
        const double dy = -(j11 * g2 - j12 * g1) / det;
        f.cx += dx;
        f.cy += dy;
        if (std::hypot(dx, dy) < 1e-6)
            break;
    }
    return true;
}

double Residual(const FitPoints& f, const FitPoint& p) {
    return std::hypot(p.x - f.cx, p.y - f.cy) - f.radius[p.track];
}

// The rms of the kept points, each track's weight from its own scatter (a faint
// star's centroids scatter more than a bright one's), and the points further off
// than the limit dropped. True when a point was dropped.
bool WeighAndDrop(FitPoints& f, const AxisFitOptions& o) {
    const int n = f.Tracks();
    std::vector<double> trackSum(n, 0);
    std::vector<int> trackCount(n, 0);
    double sum = 0;
    int kept = 0;
    for (const FitPoint& p : f.pts)
        if (p.kept) {
            const double e = Residual(f, p);
            sum += e * e;
            ++kept;
            trackSum[p.track] += e * e;
            ++trackCount[p.track];
        }
    f.rms = kept > 0 ? std::sqrt(sum / kept) : 0;
    for (int t = 0; t < n; ++t) {
        // A track's own radius takes one of its points' worth of freedom.
        const double var = trackCount[t] > 1 ? trackSum[t] / (trackCount[t] - 1) : f.rms * f.rms;
        f.weight[t] = 1.0 / (var + kWeightFloorPx * kWeightFloorPx);
    }
    const double limit = std::max(o.outlierSigmas * f.rms, o.outlierFloorPx);
    bool dropped = false;
    for (FitPoint& p : f.pts)
        if (p.kept && std::abs(Residual(f, p)) > limit) {
            p.kept = false;
            dropped = true;
        }
    return dropped;
}

// Rounds of the fit, all tracks alike in the first, until no point is dropped.
bool RefineCentre(FitPoints& f, const AxisFitOptions& o) {
    for (int round = 0; round < 5; ++round) {
        if (!FitCentre(f))
            return false;
        if (!WeighAndDrop(f, o) && round > 0)
            break;
    }
    return std::isfinite(f.cx) && std::isfinite(f.cy);
}

// Points kept and dropped, and the tracks that still have points.
void Summarise(const FitPoints& f, AxisFitResult& r) {
    r.centreX = f.cx;
    r.centreY = f.cy;
    r.rmsPx = f.rms;
    std::vector<int> keptPerTrack(f.tracks.size(), 0);
    for (const FitPoint& p : f.pts) {
        (p.kept ? r.points : r.rejected) += 1;
        keptPerTrack[p.track] += p.kept ? 1 : 0;
    }
    r.tracks = static_cast<int>(
        std::count_if(keptPerTrack.begin(), keptPerTrack.end(), [](int k) { return k > 0; }));
}

// The star shown as the three positions: the track that runs the longest arc, at
// the largest radius among equals; its start, middle and end as measured.
template <typename Track>
bool ShowOneStar(const FitPoints& f, const std::vector<Track>& measured, AxisFitResult& r) {
    int best = -1;
    double bestArc = -1;
    for (int t = 0; t < f.Tracks(); ++t) {
        const Track& tr = measured[f.tracks[t]];
        const double a0 = std::atan2(tr.front().y - f.cy, tr.front().x - f.cx);
        const double a1 = std::atan2(tr.back().y - f.cy, tr.back().x - f.cx);
        double span = std::abs(a1 - a0);
        span = std::min(span, 2 * std::numbers::pi - span);
        const double arc = span * f.radius[t];
        if (arc > bestArc) {
            bestArc = arc;
            best = t;
        }
    }
    if (best < 0)
        return false;
    const Track& tr = measured[f.tracks[best]];
    const auto& first = tr.front();
    const auto& middle = tr[tr.size() / 2];
    const auto& last = tr.back();
    r.star[0] = {first.x, first.y};
    r.star[1] = {middle.x, middle.y};
    r.star[2] = {last.x, last.y};
    r.radius = f.radius[best];
    return true;
}

} // namespace

AxisFollower::AxisFollower(const AxisFitOptions& options) : o_(options) {}

bool AxisFollower::AddFrame(const std::vector<DetectedStar>& stars, double seconds) {
    std::vector<DetectedStar> now = Brightest(stars, o_.trackedStars);
    if (frames_ == 0) {
        if (now.empty())
            return false;
        last_ = std::move(now);
        lastTrack_.assign(last_.size(), -1);
        ties_.push_back({seconds, 1, 0, 0, 0});
        frames_ = 1;
        return true;
    }
    Tie tie;
    if (!TieFrames(last_, now, o_, tie))
        return false;
    const double turn = std::arg(tie.turn) / kDeg;
    // The same frame again (every star exactly where it was) adds nothing; a new frame
    // of an axis at rest adds its own measurement of the same places.
    const bool same = std::all_of(tie.met.begin(), tie.met.end(), [&](const auto& m) {
        return last_[m.first].x == now[m.second].x && last_[m.first].y == now[m.second].y;
    });
    if (same)
        return true;

    // From the first frame to this one: this tie after all the ties before.
    const FrameTie& before = ties_.back();
    const Complex beforeTurn(before.turnRe, before.turnIm);
    const Complex beforeShift(before.shiftX, before.shiftY);
    const Complex toNowTurn = tie.turn * beforeTurn;
    const Complex toNowShift = tie.turn * beforeShift + tie.shift;
    const int frame = static_cast<int>(ties_.size());
    ties_.push_back(
        {seconds, toNowTurn.real(), toNowTurn.imag(), toNowShift.real(), toNowShift.imag()});

    turnDeg_ += turn;
    std::vector<int> track(now.size(), -1);
    for (const auto& [i, k] : tie.met) {
        int id = lastTrack_[i];
        if (id < 0) {
            id = static_cast<int>(tracks_.size());
            tracks_.push_back({{last_[i].x, last_[i].y, frame - 1}});
        }
        tracks_[id].push_back({now[k].x, now[k].y, frame});
        track[k] = id;
    }
    last_ = std::move(now);
    lastTrack_ = std::move(track);
    ++frames_;
    return true;
}

double AxisFollower::TurnDeg() const {
    if (ties_.size() < 2)
        return turnDeg_;
    return turnDeg_ - sky_.degPerSecond * (ties_.back().seconds - ties_.front().seconds);
}

std::vector<std::vector<cv::Point2d>> AxisFollower::StillSkyTracks() const {
    std::vector<std::vector<cv::Point2d>> still(tracks_.size());
    const Complex pole0(sky_.poleX, sky_.poleY);
    for (std::size_t t = 0; t < tracks_.size(); ++t)
        for (const Point& p : tracks_[t]) {
            const FrameTie& f = ties_[p.frame];
            // The pole is carried with the stars from the first frame to this one.
            const Complex pole = Complex(f.turnRe, f.turnIm) * pole0 + Complex(f.shiftX, f.shiftY);
            const double sigma = sky_.degPerSecond * (f.seconds - ties_.front().seconds);
            still[t].push_back(
                sky_.degPerSecond == 0
                    ? cv::Point2d(p.x, p.y)
                    : SkyTurn::TakeOut({p.x, p.y}, {pole.real(), pole.imag()}, sigma));
        }
    return still;
}

AxisFitResult AxisFollower::Fit() const {
    AxisFitResult r;
    r.turnDeg = TurnDeg();
    FitPoints f = GatherPoints(StillSkyTracks(), o_.minPointsPerTrack);
    if (f.Tracks() < 2 || f.pts.size() < 10 || std::abs(r.turnDeg) < 5.0)
        return r;
    if (!AlgebraicGuess(f) || !RefineCentre(f, o_))
        return r;
    Summarise(f, r);
    if (!ShowOneStar(f, tracks_, r))
        return r;
    r.ok = r.tracks >= 2 && r.points >= 10;
    return r;
}
