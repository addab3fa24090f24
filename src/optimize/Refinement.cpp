#include "optimize/Refinement.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <vector>

namespace quorvanta {

namespace {

constexpr double Unbounded = std::numeric_limits<double>::infinity();

// The bounds below add their terms in another order than the candidates do;
// this margin covers the few units of rounding that can make up, so that a
// group is only passed over when it surely holds no better candidate.
constexpr double BoundMargin = 1 + 1e-12;

struct Range {
  int lo = 0, hi = -1;
  bool contains(int x) const { return lo <= x && x <= hi; }
  bool operator==(const Range&) const = default;
};

// A value per index of a range; +infinity (no bound) outside it.
class RangeValues {
 public:
  RangeValues() = default;
  RangeValues(Range range, double fill)
      : range_(range), values_(static_cast<std::size_t>(std::max(range.hi - range.lo + 1, 0)), fill) {}
  double& operator[](int x) { return values_[static_cast<std::size_t>(x - range_.lo)]; }
  double at(int x) const {
    return range_.contains(x) ? values_[static_cast<std::size_t>(x - range_.lo)] : Unbounded;
  }

 private:
  Range range_;
  std::vector<double> values_;
};

}  // namespace

Refinement::Refinement(const TrackGeometry& track, const DistanceMatrix& D, int step,
                       RunControl& control)
    : track_(track),
      D_(D),
      step_(step),
      c_(track.count()),
      w_(static_cast<int>(std::trunc(2.5 * step))),
      control_(control) {}

namespace {

// Tables for the triangle refinement that depend on the current turnpoints
// and on the window of third turnpoints, not on the first turnpoint.
struct TriangleTables {
  Range k, j;
  int tp1 = -1, tp2 = -1, tp3 = -1;
  std::vector<double> kj;  // d(k, j), row per k
  RangeValues farthestK;   // max over k of d(k, j)
  RangeValues gapFrom;     // smallest gap with a finish at or after j

  double distanceKJ(int kk, int jj) const {
    return kj[static_cast<std::size_t>(kk - k.lo) * static_cast<std::size_t>(j.hi - j.lo + 1) +
              static_cast<std::size_t>(jj - j.lo)];
  }
};

}  // namespace

void Refinement::triangle(int& tp1, int& tp2, int& tp3, double perimeter, bool fai,
                          int progressBase) {
  const int c1 = tp1, c3 = tp3, w = w_, c = c_;
  const double G0 = unitsToRadians(D_.closingGap((c1 - 1) / step_ + 1, (c3 - 1) / step_ + 1));
  double best = perimeter - G0;
  std::map<std::pair<int, int>, double> nearestStarts;  // (last start, finish) -> distance

  TriangleTables tables;
  const auto rebuild = [&](Range jRange) {
    tables.tp1 = tp1, tables.tp2 = tp2, tables.tp3 = tp3;
    tables.k = {std::max(tp2 - w, 2), std::min(tp3 + w, c - 1)};
    tables.j = jRange;
    const auto width = static_cast<std::size_t>(jRange.hi - jRange.lo + 1);
    tables.kj.assign(static_cast<std::size_t>(std::max(tables.k.hi - tables.k.lo + 1, 0)) * width, 0);
    tables.farthestK = RangeValues(jRange, 0);
    for (int k = tables.k.lo; k <= tables.k.hi; ++k) {
      for (int j = jRange.lo; j <= jRange.hi; ++j) {
        const double dkj = track_.d(k, j);
        tables.kj[static_cast<std::size_t>(k - tables.k.lo) * width + static_cast<std::size_t>(j - jRange.lo)] = dkj;
        tables.farthestK[j] = std::max(tables.farthestK[j], dkj);
      }
    }
    // The gap search of a pair (i, j) whose turnpoint moved outward: the
    // smallest d(a, b) with a up to Tp1 - w and b from j to Tp3 + w.
    const int lastStart = std::max(tp1 - w, 1), lastFinish = std::min(tp3 + w, c);
    tables.gapFrom = RangeValues(jRange, G0);
    double gap = G0;
    for (int b = lastFinish; b >= jRange.lo; --b) {
      auto [it, fresh] = nearestStarts.try_emplace({lastStart, b}, 0.0);
      if (fresh) it->second = track_.nearestStart(lastStart, b);
      gap = std::min(gap, it->second);
      if (jRange.contains(b)) tables.gapFrom[b] = gap;
    }
  };

  const Range iRange{std::max(tp1 - w, 1), std::min(tp1 + w, c - 2)};
  std::vector<double> dik, dij;
  for (int i = iRange.lo; i <= iRange.hi; ++i) {
    control_.progress(progressBase + (i - c1 + w) * 33 / (2 * w));
    const Range jRange{std::max(tp3 - w, 3), std::min(tp3 + w, c)};
    if (jRange.hi < jRange.lo) continue;
    if (tables.tp1 != tp1 || tables.tp2 != tp2 || tables.tp3 != tp3 || !(tables.j == jRange)) {
      rebuild(jRange);
    }
    Range kFromI = tables.k;
    dik.assign(static_cast<std::size_t>(std::max(kFromI.hi - kFromI.lo + 1, 0)), 0);
    double farthestFromI = 0;
    for (int k = kFromI.lo; k <= kFromI.hi; ++k) {
      dik[static_cast<std::size_t>(k - kFromI.lo)] = track_.d(i, k);
      farthestFromI = std::max(farthestFromI, dik[static_cast<std::size_t>(k - kFromI.lo)]);
    }
    // No candidate of this i can have t above (d(i,k) + d(k,j)) + d(i,j)
    // taken at their maxima, and its gap is never negative.
    dij.assign(static_cast<std::size_t>(jRange.hi - jRange.lo + 1), 0);
    double bestPossible = 0;
    for (int j = jRange.lo; j <= jRange.hi; ++j) {
      dij[static_cast<std::size_t>(j - jRange.lo)] = track_.d(i, j);
      bestPossible = std::max(bestPossible, (farthestFromI + tables.farthestK.at(j)) + dij[static_cast<std::size_t>(j - jRange.lo)]);
    }
    if (bestPossible <= best) continue;

    for (int j = jRange.lo; j <= jRange.hi; ++j) {
      if (tables.tp1 != tp1 || tables.tp2 != tp2 || tables.tp3 != tp3) rebuild(jRange);
      const double dIJ = dij[static_cast<std::size_t>(j - jRange.lo)];
      const double gap = (i < c1 || j > c3) ? tables.gapFrom.at(j) : G0;
      const Range kRange{std::max(tp2 - w, 2), std::min(tp3 + w, c - 1)};
      if (!(kRange == kFromI)) {
        kFromI = kRange;
        dik.assign(static_cast<std::size_t>(std::max(kRange.hi - kRange.lo + 1, 0)), 0);
        farthestFromI = 0;
        for (int k = kRange.lo; k <= kRange.hi; ++k) {
          dik[static_cast<std::size_t>(k - kRange.lo)] = track_.d(i, k);
          farthestFromI = std::max(farthestFromI, dik[static_cast<std::size_t>(k - kRange.lo)]);
        }
      }
      // Exact bound: every term is at most its maximum, added in the order
      // of the candidates, and rounding is monotone.
      if ((farthestFromI + tables.farthestK.at(j)) + dIJ - gap <= best) continue;
      for (int k = std::max(kRange.lo, i + 1); k <= std::min(kRange.hi, j - 1); ++k) {
        const double dIK = dik[static_cast<std::size_t>(k - kRange.lo)];
        const double dKJ = tables.k.contains(k) && tables.j.contains(j) ? tables.distanceKJ(k, j)
                                                                          : track_.d(k, j);
        const double t = dIK + dKJ + dIJ;
        if (fai && !(0.28 * t < dIK && 0.28 * t < dKJ && 0.28 * t < dIJ)) continue;
        if (t - gap > best) {
          tp1 = i, tp2 = k, tp3 = j;
          best = t - gap;
        }
      }
    }
  }
}

namespace {

// Bounds for the free-distance refinement: for each candidate of a level,
// the longest way the remaining legs can add within the current windows.
struct FreeBounds {
  RangeValues toFinish;  // t3 -> max d(t3, f)
  RangeValues fromTp2;   // t2 -> max d(t2, t3) + toFinish
  RangeValues fromTp1;   // t1 -> max d(t1, t2) + fromTp2
  RangeValues fromStart; // s  -> max d(s, t1) + fromTp1
};

// max over `to` (to > from) of d(from, to) + next(to), for each `from`.
RangeValues chain(const TrackGeometry& track, Range from, Range to, const RangeValues* next) {
  RangeValues result(from, -1);
  for (int x = from.lo; x <= from.hi; ++x) {
    double most = -1;
    for (int y = std::max(to.lo, x + 1); y <= to.hi; ++y) {
      most = std::max(most, track.d(x, y) + (next ? next->at(y) : 0.0));
    }
    result[x] = most;
  }
  return result;
}

}  // namespace

void Refinement::freeDistance(int& start, int& tp1, int& tp2, int& tp3, int& finish,
                              double& length) {
  const int w = w_, c = c_, startCoarse = start;
  const Range sRange{std::max(start - w, 1), std::min({start + w, tp1 + w, c - 3})};
  const auto windows = [&] {
    return std::array<Range, 4>{Range{std::max(tp1 - w, 2), std::min({tp1 + w, tp2 + w, c - 2})},
                                Range{std::max(tp2 - w, 2), std::min(tp2 + w, c - 1)},
                                Range{std::max(tp3 - w, 3), std::min(tp3 + w, c)},
                                Range{std::max(finish - w, 3), std::min(finish + w, c)}};
  };
  FreeBounds bounds;
  const auto rebuild = [&] {
    const auto [w1, w2, w3, w5] = windows();
    bounds.toFinish = chain(track_, w3, w5, nullptr);
    bounds.fromTp2 = chain(track_, w2, w3, &bounds.toFinish);
    bounds.fromTp1 = chain(track_, w1, w2, &bounds.fromTp2);
    bounds.fromStart = chain(track_, sRange, w1, &bounds.fromTp1);
  };
  rebuild();
  const auto hopeless = [&](double bound) { return bound * BoundMargin <= length; };

  for (int s = sRange.lo; s <= sRange.hi; ++s) {
    control_.progress(66 + (s - startCoarse + w) * 33 / (2 * w));
    if (hopeless(bounds.fromStart.at(s))) continue;
    const Range w1 = windows()[0];
    for (int t1 = w1.lo; t1 <= w1.hi; ++t1) {
      if (t1 <= s) continue;  // no candidate below counts
      const double d1 = track_.d(s, t1);
      if (hopeless(d1 + bounds.fromTp1.at(t1))) continue;
      const Range w2 = windows()[1];
      for (int t2 = w2.lo; t2 <= w2.hi; ++t2) {
        if (t2 <= t1) continue;
        const double d12 = d1 + track_.d(t1, t2);
        if (hopeless(d12 + bounds.fromTp2.at(t2))) continue;
        const Range w3 = windows()[2];
        for (int t3 = w3.lo; t3 <= w3.hi; ++t3) {
          if (t3 <= t2) continue;
          const double d123 = d12 + track_.d(t2, t3);
          if (hopeless(d123 + bounds.toFinish.at(t3))) continue;
          const Range w5 = windows()[3];
          for (int f = std::max(w5.lo, t3 + 1); f <= w5.hi; ++f) {
            const double candidate = d123 + track_.d(t3, f);
            if (candidate > length) {
              start = s, tp1 = t1, tp2 = t2, tp3 = t3, finish = f;
              length = candidate;
              rebuild();
            }
          }
        }
      }
    }
  }
}

}  // namespace quorvanta
