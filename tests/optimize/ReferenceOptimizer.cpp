#include "optimize/ReferenceOptimizer.h"

#include <algorithm>
#include <array>
#include <map>
#include <ostream>
#include <cmath>
#include <cstdint>
#include <vector>

namespace quorvanta::test {

namespace {

using Int = std::int64_t;  // the integer products of the triangle test

struct Table {
  int n;
  std::vector<std::int32_t> cells;
  std::int32_t& at(int i, int j) {
    return cells[static_cast<std::size_t>(i) * static_cast<std::size_t>(n + 1) +
                 static_cast<std::size_t>(j)];
  }
};

using Coarse = ReferenceCoarse;

void buildTable(Table& D, const std::function<std::int32_t(int, int)>& units) {
  const int n = D.n;
  for (int i = 1; i <= n; ++i) {
    for (int j = i; j <= n; ++j) D.at(i, j) = units(i, j);
  }
  D.at(n, 1) = D.at(1, n);
  for (int i = 2; i <= n - 1; ++i) D.at(n, i) = std::min(D.at(i, n), D.at(n, i - 1));
  for (int i = n - 1; i >= 2; --i) D.at(i, 1) = std::min(D.at(1, i), D.at(i + 1, 1));
  for (int i = 2; i <= n; ++i) {
    for (int j = n - 1; j >= i + 1; --j) {
      D.at(j, i) = std::min({D.at(i, j), D.at(j, i - 1), D.at(j + 1, i)});
    }
  }
}

Coarse search(Table& D) {
  const int n = D.n;
  std::vector<int> F(static_cast<std::size_t>(n + 1), 0);
  for (int j = 3; j <= n; ++j) {
    F[static_cast<std::size_t>(j)] = n;
    std::int32_t best = 0;
    for (int k = j; k <= n; ++k) {
      if (D.at(j, k) > best) {
        best = D.at(j, k);
        F[static_cast<std::size_t>(j)] = k;
      }
    }
  }
  Coarse found;
  Int bestFree = 0, bestFlat = 0, bestFai = 0;
  int m = 0;
  for (int i = 1; i <= n - 2; ++i) {
    int S = 1;
    if (i > 1) {
      std::int32_t most = 0;
      for (int a = 1; a <= i - 1; ++a) {
        if (D.at(a, i) >= most) {
          most = D.at(a, i);
          S = a;
        }
      }
    }
    for (int j = i + 2; j <= n; ++j) {
      const Int c = D.at(i, j);
      Int middle = c;
      const Int g = D.at(j, i);
      for (int k = i + 1; k <= j - 1; ++k) {
        const Int a = D.at(i, k);
        const Int b = D.at(k, j);
        const Int t = a + b + c;
        if (t > 5 * g) {
          if (t - g > bestFai && 25 * a > 7 * t && 25 * b > 7 * t && 25 * c > 7 * t) {
            found.fai1 = i, found.fai2 = k, found.fai3 = j;
            bestFai = t - g;
          }
          if (t - g > bestFlat) {
            found.flat1 = i, found.flat2 = k, found.flat3 = j;
            bestFlat = t - g;
          }
        }
        if (a + b >= middle) {
          middle = a + b;
          m = k;
        }
      }
      const int f = F[static_cast<std::size_t>(j)];
      if (i < m && m < j) {
        const Int sum = Int{D.at(S, i)} + D.at(i, m) + D.at(m, j) + D.at(j, f);
        if (sum > bestFree) {
          found.freeS = S, found.freeI = i, found.freeM = m, found.freeJ = j, found.freeF = f;
          bestFree = sum;
        }
      }
    }
  }
  return found;
}

struct Refiner {
  Refiner(const UsableTrack& track, const ReferenceOptions& options, Table& D, int step)
      : track(track), options(options), D(D), step(step), c(track.count()),
        w(static_cast<int>(std::trunc(2.5 * step))) {}

  const UsableTrack& track;
  const ReferenceOptions& options;
  Table& D;
  int step;
  int c;
  int w;

  double d(int a, int b) const { return track.distance(a, b); }

  // Largest distance between the windows a..b and lo..hi, remembered per
  // window pair.
  double maxDistance(int a, int b, int lo, int hi) {
    const auto key = std::array<int, 4>{a, b, lo, hi};
    if (const auto known = windowMaxima.find(key); known != windowMaxima.end()) return known->second;
    double most = 0;
    for (int x = a; x <= b; ++x) {
      for (int y = lo; y <= hi; ++y) most = std::max(most, d(x, y));
    }
    return windowMaxima[key] = most;
  }

  double maxFrom(int x, int lo, int hi) { return maxDistance(x, x, lo, hi); }

  std::map<std::array<int, 4>, double> windowMaxima;

  // The gap search: min over starts 1..lastStart and finishes first..lastFinish.
  // Only its value is used, so the running minimum of the transcription is the
  // plain minimum; column minima are kept to avoid repeating the same distances.
  double smallestGap(double gap, int lastStart, int firstFinish, int lastFinish) {
    for (int b = firstFinish; b <= lastFinish; ++b) gap = std::min(gap, columnMin(lastStart, b));
    return gap;
  }

  double columnMin(int lastStart, int b) {
    if (lastStart != cachedLastStart) {
      cachedLastStart = lastStart;
      columnCache.assign(static_cast<std::size_t>(c + 1), -1.0);
    }
    double& cached = columnCache[static_cast<std::size_t>(b)];
    if (cached < 0) {
      cached = 1000.0;
      for (int a = 1; a <= lastStart; ++a) cached = std::min(cached, d(a, b));
    }
    return cached;
  }

  int cachedLastStart = -1;
  std::vector<double> columnCache;

  void triangle(int& tp1, int& tp2, int& tp3, double perimeter, bool fai) {
    const int c1 = tp1, c3 = tp3;
    const double G0 = unitsToRadians(D.at((c3 - 1) / step + 1, (c1 - 1) / step + 1));
    double best = perimeter - G0;
    const int iLo = std::max(tp1 - w, 1), iHi = std::min(tp1 + w, c - 2);
    for (int i = iLo; i <= iHi; ++i) {
      const int jLo = std::max(tp3 - w, 3), jHi = std::min(tp3 + w, c);
      // Skip proof: every candidate of this i has t = (d(i,k) + d(k,j)) + d(i,j)
      // with each term at most the matching maximum below, rounding is
      // monotone, and the gap is never negative, so t - gap <= bound; a
      // candidate needs t - gap > best to count.
      if (options.skipBoundedCandidates) {
        const int kLo = std::max(tp2 - w, 2), kHi = std::min(tp3 + w, c - 1);
        const double bound = (maxFrom(i, kLo, kHi) + maxDistance(kLo, kHi, jLo, jHi)) +
                             maxFrom(i, jLo, jHi);
        if (bound <= best) continue;
      }
      for (int j = jLo; j <= jHi; ++j) {
        const double dij = d(i, j);
        double gap = G0;
        if (i < c1 || j > c3) {
          gap = smallestGap(gap, std::max(tp1 - w, 1), j, std::min(tp3 + w, c));
        }
        const int kLo = std::max(tp2 - w, 2), kHi = std::min(tp3 + w, c - 1);
        for (int k = kLo; k <= kHi; ++k) {
          if (!(i < k && k < j)) continue;
          const double dik = d(i, k), dkj = d(k, j);
          const double t = dik + dkj + dij;
          if (fai && !(0.28 * t < dik && 0.28 * t < dkj && 0.28 * t < dij)) continue;
          if (t - gap > best) {
            tp1 = i, tp2 = k, tp3 = j;
            best = t - gap;
          }
        }
      }
    }
  }

  void freeDistance(int& start, int& tp1, int& tp2, int& tp3, int& finish, double& length) {
    const int sLo = std::max(start - w, 1), sHi = std::min({start + w, tp1 + w, c - 3});
    for (int s = sLo; s <= sHi; ++s) {
      const int t1Lo = std::max(tp1 - w, 2), t1Hi = std::min({tp1 + w, tp2 + w, c - 2});
      // Skip proof: with no improvement inside this subtree the windows stay
      // as they are now, and every candidate's length ((d1 + d2) + d23) + d3f
      // is, term by term, at most the maxima below added in the same order;
      // rounding is monotone, so no candidate can exceed the bound. The first
      // improving candidate, if any, is met before any window could move.
      if (options.skipBoundedCandidates &&
          ((maxFrom(s, t1Lo, t1Hi) + windowMax(t1Lo, t1Hi, tp2, 2, c - 1)) + restBound(tp2, tp3)) +
                  finishBound(tp3, finish) <= length) {
        continue;
      }
      for (int t1 = t1Lo; t1 <= t1Hi; ++t1) {
        const double d1 = d(s, t1);
        const int t2Lo = std::max(tp2 - w, 2), t2Hi = std::min(tp2 + w, c - 1);
        // Same argument, one level down.
        if (options.skipBoundedCandidates &&
            ((d1 + maxFrom(t1, t2Lo, t2Hi)) + restBound(tp2, tp3)) + finishBound(tp3, finish) <=
                length) {
          continue;
        }
        for (int t2 = t2Lo; t2 <= t2Hi; ++t2) {
          const double d2 = d(t1, t2);
          const int t3Lo = std::max(tp3 - w, 3), t3Hi = std::min(tp3 + w, c);
          // Same argument, two levels down.
          if (options.skipBoundedCandidates &&
              ((d1 + d2) + maxFrom(t2, t3Lo, t3Hi)) + finishBound(tp3, finish) <= length) {
            continue;
          }
          for (int t3 = t3Lo; t3 <= t3Hi; ++t3) {
            const double d23 = d(t2, t3);
            const int fLo = std::max(finish - w, 3), fHi = std::min(finish + w, c);
            // And at the last turnpoint.
            if (options.skipBoundedCandidates && ((d1 + d2) + d23) + maxFrom(t3, fLo, fHi) <= length) {
              continue;
            }
            for (int f = fLo; f <= fHi; ++f) {
              if (!(t1 > s && t2 > t1 && t2 < t3 && f > t3)) continue;
              const double candidate = d1 + d2 + d23 + d(t3, f);
              if (candidate > length) {
                start = s, tp1 = t1, tp2 = t2, tp3 = t3, finish = f;
                length = candidate;
              }
            }
          }
        }
      }
    }
  }

  // Largest distance from the window lo..hi to the window of `centre` (+-w,
  // clipped to first..last).
  double windowMax(int lo, int hi, int centre, int first, int last) {
    return maxDistance(lo, hi, std::max(centre - w, first), std::min(centre + w, last));
  }
  double restBound(int tp2, int tp3) {
    return maxDistance(std::max(tp2 - w, 2), std::min(tp2 + w, c - 1), std::max(tp3 - w, 3),
                       std::min(tp3 + w, c));
  }
  double finishBound(int tp3, int finish) {
    return maxDistance(std::max(tp3 - w, 3), std::min(tp3 + w, c), std::max(finish - w, 3),
                       std::min(finish + w, c));
  }
};

}  // namespace

void PrintTo(const ReferenceCoarse& r, std::ostream* out) {
  *out << "free " << r.freeS << "/" << r.freeI << "/" << r.freeM << "/" << r.freeJ << "/" << r.freeF
       << " flat " << r.flat1 << "/" << r.flat2 << "/" << r.flat3 << " fai " << r.fai1 << "/"
       << r.fai2 << "/" << r.fai3;
}

ReferenceCoarse referenceSearch(int n, const std::function<std::int32_t(int, int)>& units) {
  if (n < 3) return {};
  Table D{n, std::vector<std::int32_t>(static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1))};
  buildTable(D, units);
  return search(D);
}

ReferenceRun referenceOptimize(const FlightRecord& record, int budget,
                               const ReferenceOptions& options) {
  ReferenceRun run;
  const UsableTrack track = usableFixes(record);
  run.usableCount = track.count();
  run.plan = planThinning(track.count(), budget);
  const int n = run.plan.points, s = run.plan.step, c = track.count();
  if (n < 3) return run;

  Table D{n, std::vector<std::int32_t>(static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1))};
  buildTable(D, [&](int i, int j) {
    return distanceUnits(track.distance(thinnedToUsable(i, s), thinnedToUsable(j, s)));
  });
  Coarse found = search(D);

  OptimizationResult& r = run.result;
  const auto usable = [&](int x) { return thinnedToUsable(x, s); };
  r.FreeStart = usable(found.freeS), r.FreeTp1 = usable(found.freeI), r.FreeTp2 = usable(found.freeM);
  r.FreeTp3 = usable(found.freeJ), r.FreeFinish = usable(found.freeF);
  r.FlatTp1 = usable(found.flat1), r.FlatTp2 = usable(found.flat2), r.FlatTp3 = usable(found.flat3);
  r.FaiTp1 = usable(found.fai1), r.FaiTp2 = usable(found.fai2), r.FaiTp3 = usable(found.fai3);

  const auto d = [&](int a, int b) { return track.distance(a, b); };
  const auto lengths = [&] {
    if (r.FreeTp2 > 0) {
      r.FreeDistance = d(r.FreeStart, r.FreeTp1) + d(r.FreeTp1, r.FreeTp2) +
                       d(r.FreeTp2, r.FreeTp3) + d(r.FreeTp3, r.FreeFinish);
    }
    if (r.FlatTp2 > 0) r.FlatPerimeter = d(r.FlatTp1, r.FlatTp2) + d(r.FlatTp2, r.FlatTp3) + d(r.FlatTp3, r.FlatTp1);
    if (r.FaiTp2 > 0) r.FaiPerimeter = d(r.FaiTp1, r.FaiTp2) + d(r.FaiTp2, r.FaiTp3) + d(r.FaiTp3, r.FaiTp1);
  };
  lengths();

  if (s > 1) {
    Refiner refine(track, options, D, s);
    if (r.FlatTp2 > 0) refine.triangle(r.FlatTp1, r.FlatTp2, r.FlatTp3, r.FlatPerimeter, false);
    if (r.FaiTp2 > 0) refine.triangle(r.FaiTp1, r.FaiTp2, r.FaiTp3, r.FaiPerimeter, true);
    if (r.FreeTp2 > 0) {
      refine.freeDistance(r.FreeStart, r.FreeTp1, r.FreeTp2, r.FreeTp3, r.FreeFinish, r.FreeDistance);
    }
    lengths();
  }

  const auto closing = [&](int tp1, int tp3, int& start, int& finish, double& gapOut) {
    double gap = 1000.0;
    start = 1, finish = c;
    for (int a = 1; a <= tp1; ++a) {
      for (int b = tp3; b <= c; ++b) {
        if (d(a, b) < gap) {
          gap = d(a, b);
          start = a, finish = b;
        }
      }
    }
    gapOut = gap;
  };
  if (r.FlatTp2 > 0) closing(r.FlatTp1, r.FlatTp3, r.FlatStart, r.FlatFinish, r.FlatGap);
  if (r.FaiTp2 > 0) closing(r.FaiTp1, r.FaiTp3, r.FaiStart, r.FaiFinish, r.FaiGap);

  const auto fix = [&](std::int32_t& index) {
    if (index != 0) index = track.fixNumber[static_cast<std::size_t>(index)];
  };
  for (std::int32_t* index : {&r.FlatTp1, &r.FlatTp2, &r.FlatTp3, &r.FreeStart, &r.FreeTp1,
                              &r.FreeTp2, &r.FreeTp3, &r.FreeFinish, &r.FaiTp1, &r.FaiTp2,
                              &r.FaiTp3, &r.FlatStart, &r.FlatFinish, &r.FaiStart, &r.FaiFinish}) {
    fix(*index);
  }
  return run;
}

}  // namespace quorvanta::test
