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

} // namespace

AxisFollower::AxisFollower(const AxisFitOptions& options) : o_(options) {}

bool AxisFollower::AddFrame(const std::vector<DetectedStar>& stars) {
    std::vector<DetectedStar> now = Brightest(stars, o_.trackedStars);
    if (frames_ == 0) {
        if (now.empty())
            return false;
        last_ = std::move(now);
        lastTrack_.assign(last_.size(), -1);
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

    turnDeg_ += turn;
    std::vector<int> track(now.size(), -1);
    for (const auto& [i, k] : tie.met) {
        int id = lastTrack_[i];
        if (id < 0) {
            id = static_cast<int>(tracks_.size());
            tracks_.push_back({{last_[i].x, last_[i].y}});
        }
        tracks_[id].push_back({now[k].x, now[k].y});
        track[k] = id;
    }
    last_ = std::move(now);
    lastTrack_ = std::move(track);
    ++frames_;
    return true;
}

AxisFitResult AxisFollower::Fit() const {
    AxisFitResult r;
    r.turnDeg = turnDeg_;
    struct P {
        double x, y;
        int track;
        bool kept;
    };
    std::vector<P> pts;
    std::vector<int> used; // track ids in the fit
    for (std::size_t t = 0; t < tracks_.size(); ++t) {
        if (static_cast<int>(tracks_[t].size()) < o_.minPointsPerTrack)
            continue;
        const int id = static_cast<int>(used.size());
        used.push_back(static_cast<int>(t));
        for (const Point& p : tracks_[t])
            pts.push_back({p.x, p.y, id, true});
    }
    const int nTracks = static_cast<int>(used.size());
    if (nTracks < 2 || pts.size() < 10 || std::abs(turnDeg_) < 5.0)
        return r;

    // Per track: the means the algebraic fit subtracts.
    auto means = [&](std::vector<double>& mx, std::vector<double>& my, std::vector<double>& mq,
                     std::vector<int>& n) {
        mx.assign(nTracks, 0);
        my.assign(nTracks, 0);
        mq.assign(nTracks, 0);
        n.assign(nTracks, 0);
        for (const P& p : pts)
            if (p.kept) {
                mx[p.track] += p.x;
                my[p.track] += p.y;
                mq[p.track] += p.x * p.x + p.y * p.y;
                ++n[p.track];
            }
        for (int t = 0; t < nTracks; ++t)
            if (n[t] > 0) {
                mx[t] /= n[t];
                my[t] /= n[t];
                mq[t] /= n[t];
            }
    };

    // Algebraic first guess: x^2 + y^2 = 2 cx x + 2 cy y + k_track, the k's eliminated.
    std::vector<double> mx, my, mq;
    std::vector<int> n;
    means(mx, my, mq, n);
    double a11 = 0, a12 = 0, a22 = 0, b1 = 0, b2 = 0;
    for (const P& p : pts) {
        const double u = 2 * (p.x - mx[p.track]);
        const double v = 2 * (p.y - my[p.track]);
        const double w = p.x * p.x + p.y * p.y - mq[p.track];
        a11 += u * u;
        a12 += u * v;
        a22 += v * v;
        b1 += u * w;
        b2 += v * w;
    }
    double det = a11 * a22 - a12 * a12;
    if (!(std::abs(det) > 0))
        return r;
    double cx = (a22 * b1 - a12 * b2) / det;
    double cy = (a11 * b2 - a12 * b1) / det;

    // Least squares on the distances from the circles, dropping the points far off.
    // Each track weighs by how closely its points keep to its circle (a faint star's
    // centroids scatter more than a bright one's); all alike in the first round.
    std::vector<double> radius(nTracks, 0);
    std::vector<double> weight(nTracks, 1.0);
    double rms = 0;
    for (int round = 0; round < 5; ++round) {
        for (int iter = 0; iter < 20; ++iter) {
            std::vector<double> ux(nTracks, 0), uy(nTracks, 0), rr(nTracks, 0);
            std::vector<int> cnt(nTracks, 0);
            for (const P& p : pts)
                if (p.kept) {
                    const double d = std::hypot(p.x - cx, p.y - cy);
                    if (!(d > 0))
                        continue;
                    ux[p.track] += (p.x - cx) / d;
                    uy[p.track] += (p.y - cy) / d;
                    rr[p.track] += d;
                    ++cnt[p.track];
                }
            for (int t = 0; t < nTracks; ++t)
                if (cnt[t] > 0) {
                    ux[t] /= cnt[t];
                    uy[t] /= cnt[t];
                    radius[t] = rr[t] / cnt[t];
                }
            double j11 = 0, j12 = 0, j22 = 0, g1 = 0, g2 = 0;
            for (const P& p : pts)
                if (p.kept) {
                    const double d = std::hypot(p.x - cx, p.y - cy);
                    if (!(d > 0))
                        continue;
                    const double e = d - radius[p.track];
                    const double jx = -(p.x - cx) / d + ux[p.track];
                    const double jy = -(p.y - cy) / d + uy[p.track];
                    const double w = weight[p.track];
                    j11 += w * jx * jx;
                    j12 += w * jx * jy;
                    j22 += w * jy * jy;
                    g1 += w * jx * e;
                    g2 += w * jy * e;
                }
            det = j11 * j22 - j12 * j12;
            if (!(std::abs(det) > 0))
                return r;
            const double dx = -(j22 * g1 - j12 * g2) / det;
            const double dy = -(j11 * g2 - j12 * g1) / det;
            cx += dx;
            cy += dy;
            if (std::hypot(dx, dy) < 1e-6)
                break;
        }
        double sum = 0;
        int kept = 0;
        for (const P& p : pts)
            if (p.kept) {
                const double e = std::hypot(p.x - cx, p.y - cy) - radius[p.track];
                sum += e * e;
                ++kept;
            }
        rms = kept > 0 ? std::sqrt(sum / kept) : 0;
        std::vector<double> trackSum(nTracks, 0);
        std::vector<int> trackCount(nTracks, 0);
        for (const P& p : pts)
            if (p.kept) {
                const double e = std::hypot(p.x - cx, p.y - cy) - radius[p.track];
                trackSum[p.track] += e * e;
                ++trackCount[p.track];
            }
        for (int t = 0; t < nTracks; ++t) {
            // A track's own radius takes one of its points' worth of freedom.
            const double var = trackCount[t] > 1 ? trackSum[t] / (trackCount[t] - 1) : rms * rms;
            weight[t] = 1.0 / (var + kWeightFloorPx * kWeightFloorPx);
        }
        const double limit = std::max(o_.outlierSigmas * rms, o_.outlierFloorPx);
        bool dropped = false;
        for (P& p : pts)
            if (p.kept && std::abs(std::hypot(p.x - cx, p.y - cy) - radius[p.track]) > limit) {
                p.kept = false;
                dropped = true;
            }
        if (!dropped && round > 0)
            break;
    }
    if (!std::isfinite(cx) || !std::isfinite(cy))
        return r;

    r.centreX = cx;
    r.centreY = cy;
    r.rmsPx = rms;
    for (const P& p : pts)
        (p.kept ? r.points : r.rejected) += 1;
    std::vector<int> keptPerTrack(nTracks, 0);
    for (const P& p : pts)
        keptPerTrack[p.track] += p.kept ? 1 : 0;
    r.tracks = static_cast<int>(
        std::count_if(keptPerTrack.begin(), keptPerTrack.end(), [](int k) { return k > 0; }));

    // The star shown as the three positions: the track that runs longest, at the
    // largest radius among equals.
    int bestTrack = -1;
    double bestArc = -1;
    for (int t = 0; t < nTracks; ++t) {
        const std::vector<Point>& tr = tracks_[used[t]];
        const double a0 = std::atan2(tr.front().y - cy, tr.front().x - cx);
        const double a1 = std::atan2(tr.back().y - cy, tr.back().x - cx);
        double span = std::abs(a1 - a0);
        span = std::min(span, 2 * std::numbers::pi - span);
        const double arc = span * radius[t];
        if (arc > bestArc) {
            bestArc = arc;
            bestTrack = t;
        }
    }
    if (bestTrack < 0)
        return r;
    const std::vector<Point>& tr = tracks_[used[bestTrack]];
    const Point picks[3] = {tr.front(), tr[tr.size() / 2], tr.back()};
    for (int i = 0; i < 3; ++i)
        r.star[i] = {picks[i].x, picks[i].y};
    r.radius = radius[bestTrack];
    r.ok = r.tracks >= 2 && r.points >= 10;
    return r;
}
