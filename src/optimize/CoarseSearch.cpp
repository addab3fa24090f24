#include "optimize/CoarseSearch.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <limits>
#include <map>
#include <vector>

#include "optimize/Parallel.h"

namespace quorvanta {

namespace {

using Units = std::int32_t;
using Score = std::int64_t;

constexpr int StripRows = 32;
constexpr int BlockPoints = 32;

struct Pair {
  int i = 0, j = 0;
  bool exists() const { return i != 0; }
  bool operator==(const Pair&) const = default;
};

bool before(Pair x, Pair y) { return x.i != y.i ? x.i < y.i : x.j < y.j; }

// The best candidate pair of one kind: the highest score wins and, among
// equal scores, the pair met first in the order of the scan. A score must
// exceed 0 to count at all.
struct BestPair {
  Score score = 0;
  Pair pair;

  void offer(Score candidate, Pair p) {
    if (candidate > score || (candidate == score && pair.exists() && before(p, pair))) {
      score = candidate;
      pair = p;
    }
  }
  void offer(const BestPair& other) {
    if (other.pair.exists()) offer(other.score, other.pair);
  }
};

void raiseFloor(std::atomic<Score>& floor, Score value) {
  for (Score seen = floor.load(std::memory_order_relaxed);
       value > seen && !floor.compare_exchange_weak(seen, value, std::memory_order_relaxed);) {
  }
}

// acc[j] = max(acc[j], a + row[j]) for j = from..to: the max-plus step that
// finds the best middle point of every pair.
__attribute__((target_clones("arch=x86-64-v4", "avx2", "default"))) void raiseMiddle(
    Units* acc, const Units* row, Units a, int from, int to) {
  for (int j = from; j <= to; ++j) acc[j] = std::max(acc[j], a + row[j]);
}

// Largest a + b over k = from..to among FAI-shaped triangles with legs
// a = ri[k], b = rj[k] and c (every leg more than 7/25 of the perimeter,
// written as 18a > 7(b + c) and so on); -1 when there is none. Exact while
// 18 * leg fits in 32 bits.
__attribute__((target_clones("arch=x86-64-v4", "avx2", "default"))) Units faiMiddle(
    const Units* ri, const Units* rj, Units c, int from, int to) {
  Units best = -1;
  for (int k = from; k <= to; ++k) {
    const Units a = ri[k], b = rj[k];
    const bool fai = 18 * a > 7 * (b + c) && 18 * b > 7 * (a + c) && 18 * c > 7 * (a + b);
    best = std::max(best, fai ? a + b : -1);
  }
  return best;
}

bool faiShaped(Score a, Score b, Score c) {
  const Score t = a + b + c;
  return 25 * a > 7 * t && 25 * b > 7 * t && 25 * c > 7 * t;
}

Units faiMiddleWide(const Units* ri, const Units* rj, Units c, int from, int to) {
  Units best = -1;
  for (int k = from; k <= to; ++k) {
    if (faiShaped(ri[k], rj[k], c)) best = std::max(best, ri[k] + rj[k]);
  }
  return best;
}

// A pair (i, j) whose middle maximum never reached D[i][j]: the free
// distance then uses the middle point of the last pair before it that had
// one (`carry`, or the carry into its strip when that is not yet known).
struct NoMiddle {
  Pair pair;
  Pair carry;
};

struct StripOutcome {
  BestPair free, flat, fai;
  std::vector<NoMiddle> noMiddle;
  Pair lastWithMiddle;
};

class Search {
 public:
  Search(const DistanceMatrix& D, RunControl& control) : D_(D), n_(D.size()), control_(control) {}

  CoarseRoutes run() {
    CoarseRoutes routes;
    if (n_ < 3) return routes;
    seedFaiFloor();
    prepareEnds();
    prepareBlocks();
    prepareGaps();
    const int strips = stripCount();
    std::vector<StripOutcome> outcomes(static_cast<std::size_t>(strips));
    std::vector<std::vector<Units>> acc(static_cast<std::size_t>(workerCount()));
    const Score allWork = rowsWork(1, n_ - 1);
    std::atomic<Score> workDone{0};
    parallelFor(strips, [&](int strip, int worker) {
      if (control_.cancelled()) return;
      auto& buffer = acc[static_cast<std::size_t>(worker)];
      buffer.resize(static_cast<std::size_t>(StripRows) * stride());
      outcomes[static_cast<std::size_t>(strip)] = searchStrip(strip, buffer);
      const Score done = workDone += rowsWork(stripBegin(strip), stripEnd(strip));
      control_.progress(static_cast<int>(done * 100 / allWork));
    });
    if (control_.cancelled()) return routes;
    return collect(outcomes);
  }

 private:
  std::size_t stride() const { return static_cast<std::size_t>(n_) + 1; }
  int stripCount() const { return (n_ - 2 + StripRows - 1) / StripRows; }
  int stripBegin(int strip) const { return 1 + strip * StripRows; }
  int stripEnd(int strip) const { return std::min(stripBegin(strip) + StripRows, n_ - 1); }

  // About what scanning rows first .. end - 1 costs: row i passes over the
  // (n - i)^2 / 2 candidates after it, so the first strips take the longest.
  Score rowsWork(int first, int end) const {
    Score work = 0;
    for (int i = first; i < end; ++i) work += Score{n_ - i} * (n_ - i);
    return work;
  }

  // Every FAI triangle of every fourth point is one of the full track too,
  // with a closing gap at most as wide, so the best score found there is a
  // floor for the full search, at a sixty-fourth of its cost.
  void seedFaiFloor() {
    constexpr int Every = 4;
    if (n_ < 512 * Every) return;
    const DistanceMatrix sample(n_ / Every, [&](int i, int j) {
      return D_.at((i - 1) * Every + 1, (j - 1) * Every + 1);
    });
    RunControl quiet;
    Search coarse(sample, quiet);
    coarse.run();
    faiFloor_ = coarse.faiBest_;
  }

  // The start before each first turnpoint and the farthest finish after each
  // last one, and what they add to a free distance.
  void prepareEnds() {
    start_.assign(stride(), 0);
    finish_.assign(stride(), 0);
    startLeg_.assign(stride(), 0);
    finishLeg_.assign(stride(), 0);
    for (int i = 1; i <= n_; ++i) {
      const Units* row = D_.row(i);
      int S = 1;
      Units most = 0;
      for (int a = 1; a < i; ++a) {
        if (row[a] >= most) most = row[a], S = a;  // later start wins ties
      }
      int F = n_;
      Units farthest = 0;
      for (int k = i; k <= n_; ++k) {
        if (row[k] > farthest) farthest = row[k], F = k;  // first finish wins ties
      }
      start_[static_cast<std::size_t>(i)] = S;
      finish_[static_cast<std::size_t>(i)] = F;
      startLeg_[static_cast<std::size_t>(i)] = D_.at(S, i);
      finishLeg_[static_cast<std::size_t>(i)] = D_.at(i, F);
    }
  }

  // The thinned points in blocks of BlockPoints, each with a centre point
  // and the largest distance from it to a point of the block; toCentre_
  // holds D[i][centre] for every point i and block, row by row.
  void prepareBlocks() {
    if (!D_.measured()) return;
    blocks_ = (n_ + BlockPoints - 1) / BlockPoints;
    centre_.assign(static_cast<std::size_t>(blocks_), 0);
    radius_.assign(static_cast<std::size_t>(blocks_), 0);
    for (int b = 0; b < blocks_; ++b) {
      const int first = 1 + b * BlockPoints, last = std::min(first + BlockPoints - 1, n_);
      const int centre = (first + last) / 2;
      Units radius = 0;
      for (int k = first; k <= last; ++k) radius = std::max(radius, D_.at(centre, k));
      centre_[static_cast<std::size_t>(b)] = centre;
      radius_[static_cast<std::size_t>(b)] = radius;
    }
    toCentre_.assign(stride() * static_cast<std::size_t>(blocks_), 0);
    for (int i = 1; i <= n_; ++i) {
      for (int b = 0; b < blocks_; ++b) {
        toCentre_[static_cast<std::size_t>(i) * static_cast<std::size_t>(blocks_) + static_cast<std::size_t>(b)] =
            D_.at(i, centre_[static_cast<std::size_t>(b)]);
      }
    }
  }

  // gapsBefore_[strip][j]: the smallest D[a][b] with a before the strip and
  // b >= j. Each strip then extends it row by row.
  void prepareGaps() {
    std::vector<Units> gap(stride(), std::numeric_limits<Units>::max());
    gapsBefore_.clear();
    for (int strip = 0; strip < stripCount(); ++strip) {
      gapsBefore_.push_back(gap);
      for (int i = stripBegin(strip); i < stripEnd(strip); ++i) addGapRow(gap, i);
    }
  }

  void addGapRow(std::vector<Units>& gap, int i) const {
    const Units* row = D_.row(i);
    Units nearest = std::numeric_limits<Units>::max();
    for (int b = n_; b > i; --b) {
      nearest = std::min(nearest, row[b]);
      gap[static_cast<std::size_t>(b)] = std::min(gap[static_cast<std::size_t>(b)], nearest);
    }
  }

  StripOutcome searchStrip(int strip, std::vector<Units>& acc) {
    const int r0 = stripBegin(strip), r1 = stripEnd(strip);
    std::fill(acc.begin(), acc.end(), -1);
    for (int k = r0 + 1; k <= n_ - 1; ++k) {
      const Units* rowK = D_.row(k);
      for (int i = r0; i < std::min(r1, k); ++i) {
        raiseMiddle(acc.data() + static_cast<std::size_t>(i - r0) * stride(), rowK, D_.at(i, k),
                    k + 1, n_);
      }
    }
    StripOutcome outcome;
    std::vector<Units> gap = gapsBefore_[static_cast<std::size_t>(strip)];
    for (int i = r0; i < r1; ++i) {
      addGapRow(gap, i);
      const Units* middle = acc.data() + static_cast<std::size_t>(i - r0) * stride();
      for (int j = i + 2; j <= n_; ++j) {
        visitPair(i, j, middle[j], gap[static_cast<std::size_t>(j)], outcome);
      }
    }
    return outcome;
  }

  void visitPair(int i, int j, Units middle, Units g, StripOutcome& outcome) {
    const Units c = D_.at(i, j);
    const Score ends = Score{startLeg_[static_cast<std::size_t>(i)]} + finishLeg_[static_cast<std::size_t>(j)];
    if (middle >= c) {
      outcome.free.offer(ends + middle, {i, j});
      raiseFloor(freeFloor_, outcome.free.score);
      outcome.lastWithMiddle = {i, j};
    } else if (ends + middle >= freeFloor_.load(std::memory_order_relaxed)) {
      outcome.noMiddle.push_back({{i, j}, outcome.lastWithMiddle});
    }
    const Score t = Score{middle} + c;
    if (t > 5 * Score{g}) outcome.flat.offer(t - g, {i, j});
    visitFai(i, j, middle, c, g, outcome);
  }

  // Every leg of an FAI triangle exceeds 7/25 of the perimeter, so a + b is
  // below 18c/7: the pair's score is bounded before its middle points are
  // looked at.
  void visitFai(int i, int j, Units middle, Units c, Units g, StripOutcome& outcome) {
    if (c == 0) return;
    const Score cap = std::min<Score>(middle, (18 * Score{c} - 1) / 7);
    if (cap + c <= 5 * Score{g} || cap + c - g < faiFloor_.load(std::memory_order_relaxed)) return;
    // a + b must reach this for the pair to matter at all.
    const Score needed = std::max(faiFloor_.load(std::memory_order_relaxed) + g - c, 5 * Score{g} - c + 1);
    const Units best = faiMiddleOf(i, j, c, needed);
    if (best < 0 || Score{best} + c <= 5 * Score{g}) return;
    outcome.fai.offer(Score{best} + c - g, {i, j});
    raiseFloor(faiFloor_, outcome.fai.score);
  }

  // The largest a + b of an FAI triangle over the middle points of (i, j),
  // exact whenever it reaches `needed`. Whole blocks of middle points are
  // passed over when their distances to i and j, known to within the block
  // radius (plus one unit of rounding on each side, and one to spare), leave
  // no FAI triangle or none reaching `needed` or the best found so far.
  Units faiMiddleOf(int i, int j, Units c, Score needed) const {
    const bool narrow = D_.largest() <= std::numeric_limits<Units>::max() / 18;
    const auto scan = narrow ? faiMiddle : faiMiddleWide;
    const Units* ri = D_.row(i);
    const Units* rj = D_.row(j);
    const int firstBlock = i / BlockPoints + 1;  // first block that starts after i
    const int lastBlock = (j - 1) / BlockPoints - 1;  // last block that ends before j
    if (firstBlock > lastBlock || !D_.measured()) return scan(ri, rj, c, i + 1, j - 1);
    Units best = scan(ri, rj, c, i + 1, firstBlock * BlockPoints);
    best = std::max(best, scan(ri, rj, c, (lastBlock + 1) * BlockPoints + 1, j - 1));
    const Units* ci = toCentre_.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(blocks_);
    const Units* cj = toCentre_.data() + static_cast<std::size_t>(j) * static_cast<std::size_t>(blocks_);
    const Score cap = (18 * Score{c} - 1) / 7;
    for (int b = firstBlock; b <= lastBlock; ++b) {
      const Score reach = Score{radius_[static_cast<std::size_t>(b)]} + 2;
      const Score aHi = ci[b] + reach, bHi = cj[b] + reach;
      const Score aLo = std::max<Score>(ci[b] - reach, 0), bLo = std::max<Score>(cj[b] - reach, 0);
      const bool possible = 18 * aHi > 7 * (bLo + c) && 18 * bHi > 7 * (aLo + c) &&
                            18 * Score{c} > 7 * (aLo + bLo);
      const Score most = std::min(aHi + bHi, cap);
      if (!possible || most <= best || most < needed) continue;
      const int first = b * BlockPoints + 1;
      best = std::max(best, scan(ri, rj, c, first, first + BlockPoints - 1));
    }
    return best;
  }

  // The last k with the largest D[i][k] + D[k][j]: the free distance's
  // middle point, later points winning ties.
  int lastMiddle(Pair p) const {
    const Units* ri = D_.row(p.i);
    const Units* rj = D_.row(p.j);
    int best = 0;
    Units most = -1;
    for (int k = p.i + 1; k < p.j; ++k) {
      if (ri[k] + rj[k] >= most) most = ri[k] + rj[k], best = k;
    }
    return best;
  }

  // The first k with the largest D[i][k] + D[k][j], optionally among FAI
  // triangles only: triangles keep the earliest of equal candidates.
  int firstMiddle(Pair p, bool fai) const {
    const Units* ri = D_.row(p.i);
    const Units* rj = D_.row(p.j);
    const Units c = D_.at(p.i, p.j);
    int best = 0;
    Units most = -1;
    for (int k = p.i + 1; k < p.j; ++k) {
      if ((!fai || faiShaped(ri[k], rj[k], c)) && ri[k] + rj[k] > most) {
        most = ri[k] + rj[k], best = k;
      }
    }
    return best;
  }

  CoarseRoutes collect(const std::vector<StripOutcome>& outcomes) {
    BestPair free, flat, fai;
    for (const StripOutcome& outcome : outcomes) {
      free.offer(outcome.free);
      flat.offer(outcome.flat);
      fai.offer(outcome.fai);
    }
    faiBest_ = fai.score;
    int freeMiddle = free.pair.exists() ? lastMiddle(free.pair) : 0;
    resolveNoMiddle(outcomes, free, freeMiddle);

    CoarseRoutes routes;
    if (free.pair.exists()) {
      routes.freeStart = start_[static_cast<std::size_t>(free.pair.i)];
      routes.freeTp1 = free.pair.i;
      routes.freeTp2 = freeMiddle;
      routes.freeTp3 = free.pair.j;
      routes.freeFinish = finish_[static_cast<std::size_t>(free.pair.j)];
    }
    if (flat.pair.exists()) {
      routes.flatTp1 = flat.pair.i, routes.flatTp3 = flat.pair.j;
      routes.flatTp2 = firstMiddle(flat.pair, false);
    }
    if (fai.pair.exists()) {
      routes.faiTp1 = fai.pair.i, routes.faiTp3 = fai.pair.j;
      routes.faiTp2 = firstMiddle(fai.pair, true);
    }
    return routes;
  }

  // Pairs without a middle maximum reuse the middle point of the last pair
  // that had one; only pairs that could still win were kept.
  void resolveNoMiddle(const std::vector<StripOutcome>& outcomes, BestPair& free, int& freeMiddle) {
    std::map<std::pair<int, int>, int> middles;
    const auto middleOf = [&](Pair p) {
      if (!p.exists()) return 0;
      auto [it, fresh] = middles.try_emplace({p.i, p.j}, 0);
      if (fresh) it->second = lastMiddle(p);
      return it->second;
    };
    Pair carryIn;
    for (const StripOutcome& outcome : outcomes) {
      for (const NoMiddle& entry : outcome.noMiddle) {
        const auto [i, j] = entry.pair;
        const int m = middleOf(entry.carry.exists() ? entry.carry : carryIn);
        if (!(i < m && m < j)) continue;
        const Score sum = Score{startLeg_[static_cast<std::size_t>(i)]} + D_.at(i, m) + D_.at(m, j) +
                          finishLeg_[static_cast<std::size_t>(j)];
        const Pair before = free.pair;
        free.offer(sum, entry.pair);
        if (!(free.pair == before)) freeMiddle = m;
      }
      if (outcome.lastWithMiddle.exists()) carryIn = outcome.lastWithMiddle;
    }
  }

  const DistanceMatrix& D_;
  const int n_;
  RunControl& control_;
  std::vector<int> start_, finish_;
  std::vector<Units> startLeg_, finishLeg_;
  std::vector<std::vector<Units>> gapsBefore_;
  int blocks_ = 0;
  std::vector<int> centre_;
  std::vector<Units> radius_;
  std::vector<Units> toCentre_;
  std::atomic<Score> freeFloor_{0};
  std::atomic<Score> faiFloor_{0};
  Score faiBest_ = 0;
};

}  // namespace

CoarseRoutes coarseSearch(const DistanceMatrix& D, RunControl& control) {
  return Search(D, control).run();
}

}  // namespace quorvanta
