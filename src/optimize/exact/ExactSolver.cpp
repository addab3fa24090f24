#include "optimize/exact/ExactSolver.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "optimize/Parallel.h"
#include "optimize/exact/TrackDistance.h"

namespace quorvanta::exact {

namespace {

using Clock = std::chrono::steady_clock;

// Rounding allowance of a bound, in km: the distance functions keep the
// triangle inequality to far better than a millimetre.
constexpr double Slack = 2e-6;
constexpr double Infeasible = -std::numeric_limits<double>::infinity();

// A run of consecutive fixes [lo, hi] with a ball around one of them that
// holds them all; the runs halve down to single fixes.
struct Node {
  int lo = 0, hi = 0, center = 0;
  int left = -1, right = -1;
  double radius = 0;
  bool leaf() const { return left < 0; }
};

// Runs up to this many fixes get a ball round every one of their fixes;
// larger ones a ball round their halves' balls. Radii come from the quick
// distance bounds: a ball may be a little too large, never too small.
constexpr int ExactRadiusFixes = 64;

class RangeTree {
 public:
  explicit RangeTree(const TrackDistance& d) : d_(d) {
    if (d.size() > 0) {
      nodes_.reserve(2 * static_cast<std::size_t>(d.size()));
      build(0, d.size() - 1);
    }
  }
  const Node& node(int k) const { return nodes_[static_cast<std::size_t>(k)]; }
  int count() const { return static_cast<int>(nodes_.size()); }

 private:
  int build(int lo, int hi) {
    const int k = count();
    nodes_.push_back({lo, hi, lo + (hi - lo) / 2});
    if (lo == hi) return k;
    const int left = build(lo, nodes_[static_cast<std::size_t>(k)].center);
    const int right = build(nodes_[static_cast<std::size_t>(k)].center + 1, hi);
    Node& n = nodes_[static_cast<std::size_t>(k)];
    n.left = left, n.right = right;
    double radius = 0;
    if (hi - lo < ExactRadiusFixes) {
      for (int i = lo; i <= hi; ++i) radius = std::max(radius, d_.bounds(n.center, i).most);
    } else {
      for (const int child : {left, right}) {
        const Node& c = nodes_[static_cast<std::size_t>(child)];
        radius = std::max(radius, d_.bounds(n.center, c.center).most + c.radius);
      }
    }
    n.radius = radius + Slack;
    return k;
  }

  const TrackDistance& d_;
  std::vector<Node> nodes_;
};

struct Extreme {
  double km = 0;
  int a = -1, b = -1;
};

// Queries on the track whose answers the searches of all kinds share.
class TrackQueries {
 public:
  TrackQueries(const TrackDistance& d, const RangeTree& tree)
      : d_(d), tree_(tree), before_(static_cast<std::size_t>(d.size())),
        after_(static_cast<std::size_t>(d.size())),
        nodeBefore_(static_cast<std::size_t>(tree.count())),
        nodeAfter_(static_cast<std::size_t>(tree.count())) {
    for (auto* memo : {&before_, &after_, &nodeBefore_, &nodeAfter_}) {
      for (auto& value : *memo) value.store(-1, std::memory_order_relaxed);
    }
    planGapGrid();
  }

  // No start s <= a is closer than this to a finish f >= b: the track cut
  // into blocks, each with a ball, and the closest the balls of two blocks
  // can come, taken as the least over all earlier and later blocks.
  double gapLowerBound(int a, int b) const {
    const int i = blockOf_[static_cast<std::size_t>(a)], j = blockOf_[static_cast<std::size_t>(b)];
    return i < j ? gapGrid_[static_cast<std::size_t>(i * blocks_ + j)] : 0;
  }

  // Farthest fix x in [lo, hi] from fix p: d(x, p) when `xFirst`, else d(p, x).
  Extreme farthest(int p, int lo, int hi, bool xFirst) const {
    Extreme best{-1, -1, -1};
    std::array<int, 256> stack{};
    int top = 0;
    stack[static_cast<std::size_t>(top++)] = 0;
    while (top > 0) {
      const Node& n = tree_.node(stack[static_cast<std::size_t>(--top)]);
      if (n.hi < lo || n.lo > hi) continue;
      const double most = d_.bounds(n.center, p).most;
      if (n.center >= lo && n.center <= hi && most >= best.km) {
        const double dc = xFirst ? d_.km(n.center, p) : d_.km(p, n.center);
        if (dc > best.km || (dc == best.km && n.center < best.a)) best = {dc, n.center, p};
      }
      if (n.leaf() || most + n.radius + Slack <= best.km) continue;
      stack[static_cast<std::size_t>(top++)] = n.right;
      stack[static_cast<std::size_t>(top++)] = n.left;
    }
    return best;
  }

  // Closest pair s <= a, f >= b, by d(s, f), if one is closer than
  // `within` (else a = -1); with `anyCloser`, the first such pair found.
  // Pairs of nodes are taken apart nearer first, so that a close pair is
  // found early and cuts the rest.
  Extreme closest(int a, int b, double within = std::numeric_limits<double>::infinity(),
                  bool anyCloser = false) const {
    Extreme best{within, -1, -1};
    if (d_.bounds(a, b).least < within) {
      if (const double direct = d_.km(a, b); direct < within) best = {direct, a, b};
    }
    struct Pair {
      int ka, kb;
      double least;
    };
    std::vector<Pair> stack{{0, 0, 0}};
    std::array<Pair, 2> children{};
    while (!stack.empty() && best.km > 0 && !(anyCloser && best.a >= 0)) {
      const Pair pair = stack.back();
      stack.pop_back();
      if (pair.least >= best.km) continue;
      const Node& na = tree_.node(pair.ka);
      const Node& nb = tree_.node(pair.kb);
      if (na.leaf() && nb.leaf()) continue;
      const bool splitA = nb.leaf() || (!na.leaf() && na.radius >= nb.radius);
      const Node& split = splitA ? na : nb;
      int count = 0;
      for (const int child : {split.left, split.right}) {
        const int ka = splitA ? child : pair.ka, kb = splitA ? pair.kb : child;
        const Node& ca = tree_.node(ka);
        const Node& cb = tree_.node(kb);
        if (ca.lo > a || cb.hi < b) continue;
        const double near = d_.bounds(ca.center, cb.center).least;
        if (ca.center <= a && cb.center >= b && near < best.km) {
          const double dc = d_.km(ca.center, cb.center);
          if (dc < best.km) best = {dc, ca.center, cb.center};
        }
        const double least = near - ca.radius - cb.radius - Slack;
        if (least < best.km) children[static_cast<std::size_t>(count++)] = {ka, kb, least};
      }
      if (count == 2 && children[0].least < children[1].least) std::swap(children[0], children[1]);
      for (int k = 0; k < count; ++k) stack.push_back(children[static_cast<std::size_t>(k)]);
    }
    return best;
  }

  // Longest first leg of a free distance ending at fix t, and longest last
  // leg starting there.
  double longestBefore(int t) {
    return memo(before_, t, [&] { return farthest(t, 0, t, true).km; });
  }
  double longestAfter(int t) {
    return memo(after_, t, [&] { return farthest(t, t, d_.size() - 1, false).km; });
  }
  // The same for any fix of a node.
  double longestBeforeNode(int k) {
    const Node& n = tree_.node(k);
    return memo(nodeBefore_, k, [&] { return farthest(n.center, 0, n.hi, true).km + n.radius; });
  }
  double longestAfterNode(int k) {
    const Node& n = tree_.node(k);
    return memo(nodeAfter_, k,
                [&] { return farthest(n.center, n.lo, d_.size() - 1, false).km + n.radius; });
  }

  // The closing gap of turnpoints a and b if it is below `within`, else
  // nothing. What a search learns, the gap or that it is at least `within`,
  // is kept for the next query of the pair.
  std::optional<double> gap(int a, int b, double within) {
    if (const std::optional<Gap> known = knownGap(a, b, within)) {
      return known->exact ? std::optional(known->km) : std::nullopt;
    }
    const Extreme pair = closest(a, b, within);
    return learn(a, b, pair.a >= 0 ? Gap{pair.km, true} : Gap{within, false});
  }

  // Whether some start s <= a and finish f >= b are closer than `within`.
  bool gapBelow(int a, int b, double within) {
    if (const std::optional<Gap> known = knownGap(a, b, within)) return known->exact;
    if (closest(a, b, within, true).a >= 0) return true;
    learn(a, b, {within, false});
    return false;
  }

 private:
  struct Gap {
    double km = 0;
    bool exact = false;  // else only a lower bound
  };

  template <typename Compute>
  static double memo(std::vector<std::atomic<double>>& values, int k, Compute compute) {
    auto& slot = values[static_cast<std::size_t>(k)];
    double value = slot.load(std::memory_order_relaxed);
    if (value < 0) {
      value = compute();
      slot.store(value, std::memory_order_relaxed);
    }
    return value;
  }

  // Blocks end at a number of fixes or a length of track, whichever comes
  // first, so that a jump in the recording does not make one block's ball
  // swallow everything near it.
  void planBlocks() {
    const int n = d_.size();
    double path = 0;
    for (int x = 1; x < n; ++x) path += d_.bounds(x - 1, x).most;
    const int mostFixes = std::max(1, (n + BlocksPerLimit - 1) / BlocksPerLimit);
    const double mostKm = path / BlocksPerLimit;
    blockOf_.assign(static_cast<std::size_t>(n), 0);
    int first = 0;
    double length = 0;
    for (int x = 1; x < n; ++x) {
      const double step = d_.bounds(x - 1, x).most;
      if (x - first >= mostFixes || length + step > mostKm) {
        blockFirst_.push_back(first);
        first = x, length = 0;
      } else {
        length += step;
      }
      blockOf_[static_cast<std::size_t>(x)] = static_cast<int>(blockFirst_.size());
    }
    if (n > 0) blockFirst_.push_back(first);
    blocks_ = static_cast<int>(blockFirst_.size());
  }

  static std::uint64_t gapKey(int a, int b) {
    return static_cast<std::uint64_t>(a) << 32 | static_cast<std::uint32_t>(b);
  }

  // What is known of the pair's gap, if it answers whether the gap is below
  // `within`: an exact gap below it, or a lower bound that reaches it.
  std::optional<Gap> knownGap(int a, int b, double within) {
    const std::uint64_t key = gapKey(a, b);
    Shard& shard = shards_[key % shards_.size()];
    const std::lock_guard lock(shard.mutex);
    const auto found = shard.gaps.find(key);
    if (found == shard.gaps.end()) return std::nullopt;
    const Gap known = found->second;
    if (known.km >= within) return Gap{known.km, false};
    if (known.exact) return known;
    return std::nullopt;
  }

  std::optional<double> learn(int a, int b, Gap known) {
    const std::uint64_t key = gapKey(a, b);
    Shard& shard = shards_[key % shards_.size()];
    const std::lock_guard lock(shard.mutex);
    if (shard.gaps.size() < MaxGapsPerShard) shard.gaps.insert_or_assign(key, known);
    return known.exact ? std::optional(known.km) : std::nullopt;
  }

  void planGapGrid() {
    planBlocks();
    const int n = d_.size();
    std::vector<int> centre(static_cast<std::size_t>(blocks_));
    std::vector<double> radius(static_cast<std::size_t>(blocks_));
    for (int i = 0; i < blocks_; ++i) {
      const auto k = static_cast<std::size_t>(i);
      const int lo = blockFirst_[k], hi = i + 1 < blocks_ ? blockFirst_[k + 1] - 1 : n - 1;
      centre[k] = lo + (hi - lo) / 2;
      for (int x = lo; x <= hi; ++x) radius[k] = std::max(radius[k], d_.bounds(centre[k], x).most);
    }
    gapGrid_.assign(static_cast<std::size_t>(blocks_) * static_cast<std::size_t>(blocks_), 0);
    const auto at = [this](int i, int j) { return static_cast<std::size_t>(i * blocks_ + j); };
    parallelFor(blocks_, [&](int i, int) {
      for (int j = i + 1; j < blocks_; ++j) {
        const auto ki = static_cast<std::size_t>(i), kj = static_cast<std::size_t>(j);
        gapGrid_[at(i, j)] =
            std::max(0.0, d_.bounds(centre[ki], centre[kj]).least - radius[ki] - radius[kj] - 2 * Slack);
      }
    });
    for (int i = 0; i < blocks_; ++i) {
      for (int j = blocks_ - 1; j > i; --j) {
        double& g = gapGrid_[at(i, j)];
        if (i > 0) g = std::min(g, gapGrid_[at(i - 1, j)]);
        if (j + 1 < blocks_) g = std::min(g, gapGrid_[at(i, j + 1)]);
      }
    }
  }

  static constexpr int BlocksPerLimit = 1024;  // at most twice this many blocks
  static constexpr std::size_t MaxGapsPerShard = 1 << 13;
  struct Shard {
    std::mutex mutex;
    std::unordered_map<std::uint64_t, Gap> gaps;
  };

  const TrackDistance& d_;
  const RangeTree& tree_;
  std::vector<std::atomic<double>> before_, after_, nodeBefore_, nodeAfter_;
  std::array<Shard, 64> shards_;
  std::vector<int> blockOf_, blockFirst_;
  int blocks_ = 0;
  std::vector<double> gapGrid_;
};

// Boxes whose first and last turnpoints have fewer fixes to choose from
// than this ask the closing search when the coarse grid cannot rule them
// out; larger ones are left to be split, which costs less than the search.
constexpr int ExactGapFixes = 8;

// Three nodes, one per turnpoint, and the most a route through them scores.
struct Box {
  std::array<int, 3> node{};
  double bound = 0;
};
struct LowerBound {
  bool operator()(const Box& x, const Box& y) const { return x.bound < y.bound; }
};

struct Candidate {
  double score = 0;
  std::array<int, 3> tp{-1, -1, -1};
};

class KindSearch {
 public:
  KindSearch(const TrackDistance& d, const RangeTree& tree, TrackQueries& queries,
             const ScoringKind& kind)
      : d_(d), tree_(tree), q_(queries), kind_(kind),
        triangle_(kind.shape == RouteShape::Triangle) {}

  // Whether turnpoints in the three nodes can keep their order (strictly
  // increasing for a triangle).
  bool ordered(const std::array<int, 3>& k) const {
    const int step = triangle_ ? 1 : 0;
    const Node &a = tree_.node(k[0]), &b = tree_.node(k[1]), &c = tree_.node(k[2]);
    const int second = std::max(b.lo, a.lo + step);
    return second <= b.hi && std::max(c.lo, second + step) <= c.hi;
  }

  double bound(const std::array<int, 3>& k) {
    const Node &a = tree_.node(k[0]), &b = tree_.node(k[1]), &c = tree_.node(k[2]);
    const TrackDistance::Bounds dab = d_.bounds(a.center, b.center);
    const TrackDistance::Bounds dbc = d_.bounds(b.center, c.center);
    const double maxAb = dab.most + a.radius + b.radius + Slack;
    const double maxBc = dbc.most + b.radius + c.radius + Slack;
    if (!triangle_) {
      return kind_.multiplier *
             (q_.longestBeforeNode(k[0]) + maxAb + maxBc + q_.longestAfterNode(k[2]) + Slack);
    }
    const TrackDistance::Bounds dca = d_.bounds(c.center, a.center);
    const double maxCa = dca.most + c.radius + a.radius + Slack;
    double perimeter = maxAb + maxBc + maxCa;
    if (kind_.minLegShare > 0) {
      const auto least = [](TrackDistance::Bounds dc, double r1, double r2) {
        return std::max(0.0, dc.least - r1 - r2 - Slack);
      };
      const double leastAb = least(dab, a.radius, b.radius), leastBc = least(dbc, b.radius, c.radius),
                   leastCa = least(dca, c.radius, a.radius);
      perimeter = std::min(perimeter, std::min({maxAb, maxBc, maxCa}) / kind_.minLegShare);
      // With every leg at least its share, none is longer than what the
      // other two leave.
      if (perimeter < leastAb + leastBc + leastCa ||
          std::max({leastAb, leastBc, leastCa}) > (1 - 2 * kind_.minLegShare) * perimeter) {
        return Infeasible;
      }
    }
    const double open = kind_.multiplier * perimeter;
    const double incumbent = incumbent_.load(std::memory_order_relaxed);
    if (open <= incumbent) return open;
    // Every route of the box closes from some s <= a.hi to some f >= c.lo:
    // the coarse grid tells first; where it leaves the box in play, the
    // closing search does, only as far as the gap may still matter.
    const double coarse = closedBound(perimeter, q_.gapLowerBound(a.hi, c.lo));
    if (coarse <= incumbent || a.hi >= c.lo || a.hi - a.lo >= ExactGapFixes ||
        c.hi - c.lo >= ExactGapFixes) {
      return coarse;
    }
    return q_.gapBelow(a.hi, c.lo, usefulGap(perimeter, incumbent)) ? coarse : Infeasible;
  }

  // The most a triangle of at most `perimeter` closing over at least `gap` scores.
  double closedBound(double perimeter, double gap) const {
    if (gap > std::max(kind_.closingFixedKm, kind_.closingRelative * perimeter)) return Infeasible;
    return kind_.multiplier * (perimeter - (gap > kind_.closingFreeKm ? gap : 0));
  }

  // The exact score of turnpoints t, which must be in order.
  std::optional<double> score(const std::array<int, 3>& t) {
    if (triangle_) {
      const double most = d_.bounds(t[0], t[1]).most + d_.bounds(t[1], t[2]).most +
                          d_.bounds(t[2], t[0]).most;
      if (kind_.multiplier * most < incumbent_.load(std::memory_order_relaxed)) return std::nullopt;
    }
    const double leg1 = d_.km(t[0], t[1]), leg2 = d_.km(t[1], t[2]);
    if (!triangle_) {
      return freeScore(kind_, q_.longestBefore(t[0]), leg1, leg2, q_.longestAfter(t[2]));
    }
    const double leg3 = d_.km(t[2], t[0]);
    // A score only bounded, not known, must not reach the incumbent: on a tie
    // it would be taken for the route's own.
    const double incumbent = incumbent_.load(std::memory_order_relaxed);
    for (const double gap : {0.0, q_.gapLowerBound(t[0], t[2])}) {
      const std::optional<double> most = triangleScore(kind_, leg1, leg2, leg3, gap);
      if (!most || *most < incumbent) return std::nullopt;
    }
    const std::optional<double> gap = q_.gap(t[0], t[2], usefulGap(leg1 + leg2 + leg3, incumbent));
    if (!gap) return std::nullopt;
    return triangleScore(kind_, leg1, leg2, leg3, *gap);
  }

  // No triangle of this perimeter closing over this gap or more both counts
  // and reaches the incumbent; a millimetre over, for rounding.
  double usefulGap(double perimeter, double incumbent) const {
    const double counts = std::max(kind_.closingFixedKm, kind_.closingRelative * perimeter);
    const double reaches = std::max(kind_.closingFreeKm, perimeter - incumbent / kind_.multiplier);
    return std::min(counts, reaches) + 1e-6;
  }

  void consider(const std::array<int, 3>& t) {
    if (!(t[0] <= t[1] && t[1] <= t[2]) || (triangle_ && (t[0] == t[1] || t[1] == t[2]))) return;
    const std::optional<double> s = score(t);
    if (!s || *s <= 0 || *s < incumbent_.load(std::memory_order_relaxed)) return;
    const std::lock_guard lock(bestLock_);
    if (*s > best_.score || (*s == best_.score && t < best_.tp)) {
      best_ = {*s, t};
      incumbent_.store(*s, std::memory_order_relaxed);
    }
  }

  // Takes the box apart: its centres as a route, then its widest node halved.
  template <typename Push>
  void expand(const Box& box, Push push) {
    std::array<int, 3> centres{};
    int widest = -1;
    for (int k = 0; k < 3; ++k) {
      const Node& n = tree_.node(box.node[static_cast<std::size_t>(k)]);
      centres[static_cast<std::size_t>(k)] = n.center;
      if (!n.leaf() &&
          (widest < 0 ||
           n.radius > tree_.node(box.node[static_cast<std::size_t>(widest)]).radius)) {
        widest = k;
      }
    }
    consider(centres);
    if (widest < 0) return;
    const Node& n = tree_.node(box.node[static_cast<std::size_t>(widest)]);
    for (const int child : {n.left, n.right}) {
      Box next = box;
      next.node[static_cast<std::size_t>(widest)] = child;
      if (!ordered(next.node)) continue;
      next.bound = bound(next.node);
      if (next.bound > incumbent_.load(std::memory_order_relaxed)) push(next);
    }
  }

  double incumbent() const { return incumbent_.load(std::memory_order_relaxed); }
  Candidate best() const {
    const std::lock_guard lock(bestLock_);
    return best_;
  }

 private:
  const TrackDistance& d_;
  const RangeTree& tree_;
  TrackQueries& q_;
  const ScoringKind& kind_;
  bool triangle_;
  std::atomic<double> incumbent_{0};
  mutable std::mutex bestLock_;
  Candidate best_;
};

void raiseTo(std::atomic<double>& value, double at_least) {
  double seen = value.load();
  while (seen < at_least && !value.compare_exchange_weak(seen, at_least)) {
  }
}

// Stops the search on cancel and at the limits.
class Stopper {
 public:
  Stopper(RunControl& control, const SearchLimits& limits, Clock::time_point start)
      : control_(control), limits_(limits), start_(start) {}

  // Called once per box taken apart; true once the search must stop.
  bool count() {
    const long long n = ++boxes_;
    if (stopped_.load(std::memory_order_relaxed)) return true;
    const bool over = (limits_.boxes > 0 && n > limits_.boxes) ||
                      ((n & 255) == 0 && (control_.cancelled() ||
                                          (limits_.seconds > 0 && elapsed() > limits_.seconds)));
    if (over) stopped_ = true;
    return over;
  }
  bool stopped() const { return stopped_.load(std::memory_order_relaxed); }
  long long boxes() const { return boxes_.load(); }
  double elapsed() const {
    return std::chrono::duration<double>(Clock::now() - start_).count();
  }

 private:
  RunControl& control_;
  const SearchLimits& limits_;
  Clock::time_point start_;
  std::atomic<long long> boxes_{0};
  std::atomic<bool> stopped_{false};
};

// A free distance is a chain of four legs, start <= tp1 <= tp2 <= tp3 <=
// finish: layer by layer, the longest chain of j legs ending at each fix is
// the best of the chains of j - 1 legs ending at or before it plus the leg
// from there. Rounding is monotone, so these sums, taken in the route's
// order, are bit for bit the maximum over all routes. Nothing when stopped.
std::optional<std::array<int, 3>> longestChain(const TrackDistance& d, const RangeTree& tree,
                                               Stopper& stopper,
                                               const std::function<void(double)>& progress) {
  const int n = d.size();
  if (n == 0) return std::nullopt;
  constexpr int Legs = 4;
  const auto nodes = static_cast<std::size_t>(tree.count());
  std::vector<double> weight(static_cast<std::size_t>(n), 0.0), nodeWeight(nodes), reach(nodes),
      atHi(nodes);
  std::array<std::vector<int>, Legs> from;
  constexpr int Chunk = 128;
  const int chunks = (n + Chunk - 1) / Chunk;
  for (int leg = 0; leg < Legs; ++leg) {
    // The most a chain through a node's fixes reaches at the node's last
    // fix: on a straight track this is what it reaches there exactly, where
    // a ball round the node would give twice its radius away. Node k's
    // subtrees follow it, so each node's children are done first.
    parallelFor(tree.count() / 4096 + 1, [&](int part, int) {
      const int first = tree.count() - 1 - part * 4096;
      for (int k = first; k > first - 4096 && k >= 0; --k) {
        const Node& node = tree.node(k);
        if (!node.leaf()) {
          const Node& left = tree.node(node.left);
          atHi[static_cast<std::size_t>(k)] = d.bounds(left.hi, node.hi).most;
        }
      }
    });
    for (int k = tree.count() - 1; k >= 0; --k) {
      const Node& node = tree.node(k);
      const auto at = static_cast<std::size_t>(k);
      if (node.leaf()) {
        nodeWeight[at] = reach[at] = weight[static_cast<std::size_t>(node.lo)];
      } else {
        const auto left = static_cast<std::size_t>(node.left), right = static_cast<std::size_t>(node.right);
        nodeWeight[at] = std::max(nodeWeight[left], nodeWeight[right]);
        reach[at] = std::max(reach[left] + atHi[at] + Slack, reach[right]);
      }
    }
    std::vector<double> next(static_cast<std::size_t>(n));
    auto& origin = from[static_cast<std::size_t>(leg)];
    origin.assign(static_cast<std::size_t>(n), 0);
    parallelFor(chunks, [&](int chunk, int) {
      int seed = chunk * Chunk;
      for (int t = chunk * Chunk; t < std::min(n, (chunk + 1) * Chunk); ++t) {
        if (stopper.count()) return;
        // The previous fix's best origin is a strong first guess.
        Extreme best{weight[static_cast<std::size_t>(seed)] + d.km(seed, t), seed, t};
        std::array<int, 256> stack{};
        int top = 0;
        stack[static_cast<std::size_t>(top++)] = 0;
        while (top > 0) {
          const int k = stack[static_cast<std::size_t>(--top)];
          const Node& node = tree.node(k);
          if (node.lo > t) continue;
          // A node wholly before t is judged from its last fix, one
          // reaching past t from its centre.
          const int probe = node.hi <= t ? node.hi : node.center;
          const double dp = d.bounds(probe, t).most;
          // A fix where the best origin lies, with no more weight, cannot
          // beat it: recorded duplicates spare their geodesic here.
          if (probe <= t && weight[static_cast<std::size_t>(probe)] + dp > best.km &&
              !(d.samePlace(probe, best.a) &&
                weight[static_cast<std::size_t>(probe)] <= weight[static_cast<std::size_t>(best.a)])) {
            const double value = weight[static_cast<std::size_t>(probe)] + d.km(probe, t);
            if (value > best.km) best = {value, probe, t};
          }
          if (node.leaf()) continue;
          const double bound = node.hi <= t
                                   ? reach[static_cast<std::size_t>(k)] + dp + Slack
                                   : nodeWeight[static_cast<std::size_t>(k)] + dp + node.radius + Slack;
          if (bound <= best.km) continue;
          stack[static_cast<std::size_t>(top++)] = node.right;
          stack[static_cast<std::size_t>(top++)] = node.left;
        }
        next[static_cast<std::size_t>(t)] = best.km;
        origin[static_cast<std::size_t>(t)] = seed = best.a;
      }
    });
    if (stopper.stopped()) return std::nullopt;
    weight = std::move(next);
    progress(static_cast<double>(leg + 1) / Legs);
  }
  int at = static_cast<int>(std::max_element(weight.begin(), weight.end()) - weight.begin());
  std::array<int, 3> tp{};
  for (int leg = Legs - 1; leg >= 1; --leg) {
    at = from[static_cast<std::size_t>(leg)][static_cast<std::size_t>(at)];
    tp[static_cast<std::size_t>(leg - 1)] = at;
  }
  return tp;
}

KindResult searchKind(const TrackDistance& d, const RangeTree& tree, TrackQueries& queries,
                      const ScoringKind& kind, Stopper& stopper,
                      const std::vector<std::array<int, 3>>& earlier,
                      const std::function<void(double)>& progress) {
  KindResult result;
  result.kind = &kind;
  const long long boxesBefore = stopper.boxes();
  KindSearch search(d, tree, queries, kind);
  // Routes found before give the search a bound to cut with from the start.
  for (const auto& route : earlier) search.consider(route);
  std::atomic<double> unresolved{0};
  const std::array<int, 3> root{0, 0, 0};
  std::vector<Box> frontier;
  if (kind.shape == RouteShape::FreeDistance) {
    if (const auto chain = longestChain(d, tree, stopper, progress)) {
      search.consider(*chain);
    } else if (tree.count() > 0) {
      unresolved = search.bound(root);
    }
  } else if (tree.count() > 0 && search.ordered(root)) {
    frontier.push_back({root, search.bound(root)});
  }
  const auto pushTo = [&](std::vector<Box>& heap) {
    return [&heap](const Box& box) {
      heap.push_back(box);
      std::push_heap(heap.begin(), heap.end(), LowerBound{});
    };
  };
  // Best first on one core until there is work for every core.
  const std::size_t wanted = 64 * static_cast<std::size_t>(workerCount());
  while (!frontier.empty() && frontier.size() < wanted && !stopper.stopped()) {
    std::pop_heap(frontier.begin(), frontier.end(), LowerBound{});
    const Box box = frontier.back();
    frontier.pop_back();
    if (box.bound <= search.incumbent()) continue;
    if (stopper.count()) {
      raiseTo(unresolved, box.bound);
      break;
    }
    search.expand(box, pushTo(frontier));
  }
  std::sort(frontier.begin(), frontier.end(),
            [](const Box& x, const Box& y) { return x.bound > y.bound; });
  std::vector<std::vector<Box>> heaps(static_cast<std::size_t>(workerCount()));
  std::atomic<int> done{0};
  const int items = static_cast<int>(frontier.size());
  parallelFor(items, [&](int item, int worker) {
    auto& heap = heaps[static_cast<std::size_t>(worker)];
    heap.clear();
    heap.push_back(frontier[static_cast<std::size_t>(item)]);
    while (!heap.empty()) {
      std::pop_heap(heap.begin(), heap.end(), LowerBound{});
      const Box box = heap.back();
      heap.pop_back();
      if (box.bound <= search.incumbent()) continue;
      if (stopper.count()) {
        raiseTo(unresolved, box.bound);
        for (const Box& left : heap) raiseTo(unresolved, left.bound);
        heap.clear();
        break;
      }
      search.expand(box, pushTo(heap));
    }
    progress(static_cast<double>(++done) / items);
  });
  const Candidate best = search.best();
  result.boxes = stopper.boxes() - boxesBefore;
  result.score = best.score;
  result.upperBound = std::max(best.score, unresolved.load());
  result.proven = !stopper.stopped() || unresolved.load() <= best.score;
  if (best.tp[0] < 0) return result;
  result.found = true;
  const auto [t1, t2, t3] = best.tp;
  result.tp1 = t1, result.tp2 = t2, result.tp3 = t3;
  const double leg1 = d.km(t1, t2), leg2 = d.km(t2, t3);
  if (kind.shape == RouteShape::FreeDistance) {
    const Extreme in = queries.farthest(t1, 0, t1, true);
    const Extreme out = queries.farthest(t3, t3, d.size() - 1, false);
    result.start = in.a, result.finish = out.a;
    result.distanceKm = in.km + leg1 + leg2 + out.km;
  } else {
    const Extreme closing = queries.closest(t1, t3);
    result.start = closing.a, result.finish = closing.b;
    result.distanceKm = leg1 + leg2 + d.km(t3, t1);
    result.gapKm = closing.km;
    result.penaltyKm = closing.km > kind.closingFreeKm ? closing.km : 0;
  }
  return result;
}

}  // namespace

ScoringTrack scoringTrack(const FlightRecord& record) {
  ScoringTrack track;
  for (int i = 1; i <= record.FixCount; ++i) {
    if (!record.FixValid[i]) continue;
    track.lat.push_back(record.FixLat[i]);
    track.lon.push_back(record.FixLon[i]);
    track.fixNumber.push_back(i);
    track.time.push_back(record.FixTime[i]);
    track.alt.push_back(record.FixAlt[i]);
  }
  return track;
}

namespace {

using Routes = std::vector<std::array<int, 3>>;

// Tracks longer than this are first solved on every CoarseStep-th fix.
constexpr int CoarseFixes = 1500;
constexpr int CoarseStep = 4;
constexpr long long CoarseBoxes = 20000;

// The outermost pass reports progress and starts from one coarse pass.
ScoreResult solve(const ScoringTrack& track, const RuleSet& rules, RunControl& control,
                  const SearchLimits& limits, bool outermost) {
  const auto start = Clock::now();
  const int kinds = static_cast<int>(rules.kinds.size());
  // The best triangles of a coarse pass score nearly as much as the optimum
  // on the whole track; as the first bound to cut with, they spare the
  // search most of the boxes it would take apart before finding such a
  // route. The free distance, solved directly, needs no such start.
  Routes seeds;
  RuleSet triangles = rules;
  std::erase_if(triangles.kinds,
                [](const ScoringKind& kind) { return kind.shape != RouteShape::Triangle; });
  if (outermost && track.size() > CoarseFixes && !triangles.kinds.empty()) {
    ScoringTrack coarse;
    for (std::size_t i = 0; i < track.lat.size(); i += CoarseStep) {
      coarse.lat.push_back(track.lat[i]);
      coarse.lon.push_back(track.lon[i]);
    }
    const ScoreResult pass = solve(coarse, triangles, control, {limits.seconds / 8, CoarseBoxes}, false);
    for (const KindResult& r : pass.kinds) {
      if (r.found) seeds.push_back({r.tp1 * CoarseStep, r.tp2 * CoarseStep, r.tp3 * CoarseStep});
    }
  }
  const TrackDistance d(rules.model, rules.sphereRadiusKm, track.lat, track.lon);
  const RangeTree tree(d);
  const auto queries = std::make_unique<TrackQueries>(d, tree);
  ScoreResult result;
  Routes routes;
  for (int k = 0; k < kinds; ++k) {
    const auto progress = [&](double share) {
      if (outermost) control.overallProgress(static_cast<int>(100 * (k + share) / kinds));
    };
    // The free distance's chain takes a fixed, small number of steps, so it
    // may use all the time left; the triangles, whose searches take what
    // they are given, share what it leaves in equal parts.
    const ScoringKind& kind = rules.kinds[static_cast<std::size_t>(k)];
    SearchLimits kindLimits = limits;
    if (limits.seconds > 0) {
      const double left = limits.seconds - std::chrono::duration<double>(Clock::now() - start).count();
      const auto sharing =
          std::count_if(rules.kinds.begin() + k, rules.kinds.end(),
                        [](const ScoringKind& later) { return later.shape == RouteShape::Triangle; });
      const bool triangle = kind.shape == RouteShape::Triangle;
      kindLimits.seconds = std::max(left, 1e-3) / (triangle ? static_cast<double>(sharing) : 1.0);
    }
    // The routes of the kinds already searched often count for this one too.
    Routes tried = routes;
    tried.insert(tried.end(), seeds.begin(), seeds.end());
    Stopper stopper(control, kindLimits, Clock::now());
    const KindResult& r = result.kinds.emplace_back(
        searchKind(d, tree, *queries, kind, stopper, tried, progress));
    if (control.cancelled()) throw OptimizationCancelled();
    if (r.found) routes.push_back({r.tp1, r.tp2, r.tp3});
  }
  for (int k = 0; k < kinds; ++k) {
    const KindResult& r = result.kinds[static_cast<std::size_t>(k)];
    if (r.found && (result.best < 0 || r.score > result.kinds[static_cast<std::size_t>(result.best)].score)) {
      result.best = k;
    }
  }
  if (outermost) control.overallProgress(100);
  result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return result;
}

}  // namespace

ScoreResult scoreTrack(const ScoringTrack& track, const RuleSet& rules, RunControl& control,
                       const SearchLimits& limits) {
  return solve(track, rules, control, limits, true);
}

}  // namespace quorvanta::exact
