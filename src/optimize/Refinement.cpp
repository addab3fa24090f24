#include "optimize/Refinement.h"

#include "optimize/NearestPairs.h"

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

Refinement::Refinement(const UsableTrack& track, const DistanceMatrix& D, int step,
                       RunControl& control)
    : track_(track),
      D_(D),
      step_(step),
      c_(track.count()),
      w_(static_cast<int>(std::trunc(2.5 * step))),
      control_(control) {}

namespace {

// Distances from one fix to a run of others, kept across improvements: the
// windows move by a few fixes at a time, so most of a column stays valid.
class ColumnCache {
 public:
  explicit ColumnCache(const UsableTrack& track) : track_(track) {}

  // d(k, j) for k = lo..hi, indexed by k; filled where it was not yet.
  const double* column(int j, int lo, int hi) {
    Column& col = columns_[j];
    if (col.values.empty() || lo < col.lo || hi > col.lo + static_cast<int>(col.values.size()) - 1) {
      extend(col, j, lo, hi);
    }
    return col.values.data() - col.lo;
  }

 private:
  struct Column {
    int lo = 0;
    std::vector<double> values;
  };

  void extend(Column& col, int j, int lo, int hi) {
    const int oldLo = col.lo, oldHi = col.lo + static_cast<int>(col.values.size()) - 1;
    const int newLo = col.values.empty() ? lo : std::min(lo, oldLo);
    const int newHi = col.values.empty() ? hi : std::max(hi, oldHi);
    std::vector<double> values(static_cast<std::size_t>(newHi - newLo + 1));
    for (int k = newLo; k <= newHi; ++k) {
      const bool known = !col.values.empty() && k >= oldLo && k <= oldHi;
      values[static_cast<std::size_t>(k - newLo)] =
          known ? col.values[static_cast<std::size_t>(k - oldLo)] : track_.distance(k, j);
    }
    col.lo = newLo;
    col.values = std::move(values);
  }

  const UsableTrack& track_;
  std::map<int, Column> columns_;
};

}  // namespace

void Refinement::triangle(int& tp1, int& tp2, int& tp3, double perimeter, bool fai) {
  const int c1 = tp1, c3 = tp3, w = w_, c = c_;
  const double G0 = unitsToRadians(D_.closingGap((c1 - 1) / step_ + 1, (c3 - 1) / step_ + 1));
  double best = perimeter - G0;
  std::map<std::pair<int, int>, double> nearestStarts;  // (last start, finish) -> distance
  ColumnCache toThird(track_), fromFirst(track_);

  // What depends on the current turnpoints: the window of second turnpoints,
  // the largest d(k, j) in it, and the gap searched for each third turnpoint.
  struct State {
    int tp1 = -1, tp2 = -1, tp3 = -1;
    Range k, j;
    RangeValues farthestK, gapFrom;
  } state;
  const auto update = [&](Range jRange) {
    if (state.tp1 == tp1 && state.tp2 == tp2 && state.tp3 == tp3 && state.j == jRange) return;
    state.tp1 = tp1, state.tp2 = tp2, state.tp3 = tp3, state.j = jRange;
    state.k = {std::max(tp2 - w, 2), std::min(tp3 + w, c - 1)};
    state.farthestK = RangeValues(jRange, 0);
    for (int j = jRange.lo; j <= jRange.hi; ++j) {
      const double* dkj = toThird.column(j, state.k.lo, state.k.hi);
      double farthest = 0;
      for (int k = state.k.lo; k <= state.k.hi; ++k) farthest = std::max(farthest, dkj[k]);
      state.farthestK[j] = farthest;
    }
    // The gap of a pair (i, j) whose turnpoint moved outward: the smallest
    // d(a, b) with a up to Tp1 - w and b from j to Tp3 + w.
    const int lastStart = std::max(tp1 - w, 1), lastFinish = std::min(tp3 + w, c);
    state.gapFrom = RangeValues(jRange, G0);
    double gap = G0;
    for (int b = lastFinish; b >= jRange.lo; --b) {
      auto [it, fresh] = nearestStarts.try_emplace({lastStart, b}, 0.0);
      if (fresh) it->second = nearestStart(track_, lastStart, b);
      gap = std::min(gap, it->second);
      if (jRange.contains(b)) state.gapFrom[b] = gap;
    }
  };

  const Range iRange{std::max(tp1 - w, 1), std::min(tp1 + w, c - 2)};
  std::vector<double> dij;
  Range kOfI;
  const double* fromI = nullptr;  // d(i, k), indexed by k
  double farthestFromI = 0;
  const auto measureFromI = [&](int i, Range kRange) {
    kOfI = kRange;
    fromI = fromFirst.column(i, kRange.lo, kRange.hi);
    farthestFromI = 0;
    for (int k = kRange.lo; k <= kRange.hi; ++k) farthestFromI = std::max(farthestFromI, fromI[k]);
  };

  for (int i = iRange.lo; i <= iRange.hi; ++i) {
    control_.progress((i - c1 + w) * 100 / (2 * w));
    if (control_.cancelled()) return;
    const Range jRange{std::max(tp3 - w, 3), std::min(tp3 + w, c)};
    if (jRange.hi < jRange.lo) continue;
    update(jRange);
    measureFromI(i, state.k);
    // No candidate of this i can have t above (d(i,k) + d(k,j)) + d(i,j)
    // taken at their maxima, and its gap is never negative.
    dij.assign(static_cast<std::size_t>(jRange.hi - jRange.lo + 1), 0);
    double bestPossible = 0;
    for (int j = jRange.lo; j <= jRange.hi; ++j) {
      const double d = track_.distance(i, j);
      dij[static_cast<std::size_t>(j - jRange.lo)] = d;
      bestPossible = std::max(bestPossible, (farthestFromI + state.farthestK.at(j)) + d);
    }
    if (bestPossible <= best) continue;

    for (int j = jRange.lo; j <= jRange.hi; ++j) {
      update(jRange);
      if (!(state.k == kOfI)) measureFromI(i, state.k);
      const double dIJ = dij[static_cast<std::size_t>(j - jRange.lo)];
      const double gap = (i < c1 || j > c3) ? state.gapFrom.at(j) : G0;
      // Exact bound: every term is at most its maximum, added in the order
      // of the candidates, and rounding is monotone.
      if ((farthestFromI + state.farthestK.at(j)) + dIJ - gap <= best) continue;
      const Range kRange = kOfI;
      const double* dkj = toThird.column(j, kRange.lo, kRange.hi);
      for (int k = std::max(kRange.lo, i + 1); k <= std::min(kRange.hi, j - 1); ++k) {
        const double dIK = fromI[k];
        const double t = dIK + dkj[k] + dIJ;
        if (fai && !(0.28 * t < dIK && 0.28 * t < dkj[k] && 0.28 * t < dIJ)) continue;
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
RangeValues chain(ColumnCache& distances, Range from, Range to, const RangeValues* next) {
  RangeValues result(from, -1);
  for (int x = from.lo; x <= from.hi; ++x) {
    if (to.hi < to.lo) continue;
    const double* d = distances.column(x, to.lo, to.hi);
    double most = -1;
    for (int y = std::max(to.lo, x + 1); y <= to.hi; ++y) {
      most = std::max(most, d[y] + (next ? next->at(y) : 0.0));
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
  ColumnCache distances(track_);
  const auto rebuild = [&] {
    const auto [w1, w2, w3, w5] = windows();
    bounds.toFinish = chain(distances, w3, w5, nullptr);
    bounds.fromTp2 = chain(distances, w2, w3, &bounds.toFinish);
    bounds.fromTp1 = chain(distances, w1, w2, &bounds.fromTp2);
    bounds.fromStart = chain(distances, sRange, w1, &bounds.fromTp1);
  };
  rebuild();
  const auto hopeless = [&](double bound) { return bound * BoundMargin <= length; };

  for (int s = sRange.lo; s <= sRange.hi; ++s) {
    control_.progress((s - startCoarse + w) * 100 / (2 * w));
    if (control_.cancelled()) return;
    if (hopeless(bounds.fromStart.at(s))) continue;
    const Range w1 = windows()[0];
    for (int t1 = w1.lo; t1 <= w1.hi; ++t1) {
      if (t1 <= s) continue;  // no candidate below counts
      const double d1 = track_.distance(s, t1);
      if (hopeless(d1 + bounds.fromTp1.at(t1))) continue;
      const Range w2 = windows()[1];
      for (int t2 = w2.lo; t2 <= w2.hi; ++t2) {
        if (t2 <= t1) continue;
        const double d12 = d1 + track_.distance(t1, t2);
        if (hopeless(d12 + bounds.fromTp2.at(t2))) continue;
        const Range w3 = windows()[2];
        for (int t3 = w3.lo; t3 <= w3.hi; ++t3) {
          if (t3 <= t2) continue;
          const double d123 = d12 + track_.distance(t2, t3);
          if (hopeless(d123 + bounds.toFinish.at(t3))) continue;
          const Range w5 = windows()[3];
          for (int f = std::max(w5.lo, t3 + 1); f <= w5.hi; ++f) {
            const double candidate = d123 + track_.distance(t3, f);
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
