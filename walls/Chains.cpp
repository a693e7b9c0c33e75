// Nodes are found through a hash of grid cells, so that joining end points
// stays linear in the number of lines however large the selection; every
// other step walks arrays indexed by node or by arm. An arm is one end of a
// kept line: arm 2k is the start of kept line k, arm 2k + 1 its end.
#include "walls/Chains.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

namespace Walls {

namespace {

using MyFunc::Point;

// A cell no smaller than the join distance: every node within it of an end
// point lies in the point's own cell or one of the eight around it.
constexpr double CellSize = 1024 * MyFunc::JoinTolerance;
// Cell numbers stay far inside the 64-bit range; points beyond share the
// outermost cells, which costs only comparisons.
constexpr double CellLimit = 1e15;

std::int64_t CellOf(double v) {
  double q = std::floor(v / CellSize);
  if (!(q > -CellLimit)) q = -CellLimit;
  if (q > CellLimit) q = CellLimit;
  return static_cast<std::int64_t>(q);
}

class NodeGrid {
 public:
  explicit NodeGrid(std::size_t endPoints) {
    heads_.reserve(endPoints);
    Nodes.reserve(endPoints);
    nextInCell_.reserve(endPoints);
  }

  // The earliest node within the join distance of p, else a new one at p.
  int NodeAt(const Point& p) {
    const std::int64_t cx = CellOf(p.X);
    const std::int64_t cy = CellOf(p.Y);
    int found = -1;
    for (std::int64_t i = -1; i <= 1; ++i) {
      for (std::int64_t j = -1; j <= 1; ++j) {
        const auto head = heads_.find(Key(cx + i, cy + j));
        if (head == heads_.end()) continue;
        for (int n = head->second; n >= 0; n = nextInCell_[static_cast<std::size_t>(n)]) {
          const Point& q = Nodes[static_cast<std::size_t>(n)];
          if ((found < 0 || n < found) &&
              MyFunc::PointDistance(p.X, p.Y, q.X, q.Y) <= MyFunc::JoinTolerance) {
            found = n;
          }
        }
      }
    }
    if (found >= 0) return found;
    const int made = static_cast<int>(Nodes.size());
    Nodes.push_back(p);
    auto [head, fresh] = heads_.try_emplace(Key(cx, cy), made);
    nextInCell_.push_back(fresh ? -1 : head->second);
    head->second = made;
    return made;
  }

  std::vector<Point> Nodes;

 private:
  // Cells whose keys collide merely share a list.
  static std::uint64_t Key(std::int64_t cx, std::int64_t cy) {
    return static_cast<std::uint64_t>(cx) * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint64_t>(cy);
  }
  std::unordered_map<std::uint64_t, int> heads_;
  std::vector<int> nextInCell_;
};

struct Kept {
  int From;
  int To;
};

class ChainWalker {
 public:
  ChainWalker(std::vector<Point> nodes, std::vector<Kept> kept)
      : nodes_(std::move(nodes)), kept_(std::move(kept)) {
    CollectArms();
    LinkArms();
  }

  std::vector<Chain> Walk() {
    std::vector<Chain> chains;
    std::vector<bool> used(kept_.size(), false);
    for (std::size_t seed = 0; seed < kept_.size(); ++seed) {
      if (used[seed]) continue;
      used[seed] = true;
      chains.push_back(ChainFrom(static_cast<int>(seed), used));
    }
    return chains;
  }

 private:
  int NodeOfArm(int arm) const {
    const Kept& k = kept_[static_cast<std::size_t>(arm / 2)];
    return arm % 2 == 0 ? k.From : k.To;
  }
  int ArmCount(int node) const {
    return armStart_[static_cast<std::size_t>(node) + 1] -
           armStart_[static_cast<std::size_t>(node)];
  }

  // Arms grouped by node, each group in line order.
  void CollectArms() {
    armStart_.assign(nodes_.size() + 1, 0);
    for (const Kept& k : kept_) {
      ++armStart_[static_cast<std::size_t>(k.From) + 1];
      ++armStart_[static_cast<std::size_t>(k.To) + 1];
    }
    for (std::size_t n = 0; n < nodes_.size(); ++n) armStart_[n + 1] += armStart_[n];
    arms_.resize(kept_.size() * 2);
    std::vector<int> fill(armStart_.begin(), armStart_.end() - 1);
    for (int arm = 0; arm < static_cast<int>(arms_.size()); ++arm) {
      arms_[static_cast<std::size_t>(fill[static_cast<std::size_t>(NodeOfArm(arm))]++)] = arm;
    }
  }

  Point Direction(int arm) const {
    const Point& at = nodes_[static_cast<std::size_t>(NodeOfArm(arm))];
    const Point& to = nodes_[static_cast<std::size_t>(NodeOfArm(arm ^ 1))];
    const double dx = to.X - at.X;
    const double dy = to.Y - at.Y;
    const double length = std::sqrt(dx * dx + dy * dy);
    return {dx / length, dy / length};
  }

  // next_[arm]: the arm a chain arriving along arm leaves by, or -1 where
  // it ends. Two arms continue each other; at a junction only arms of
  // opposite directions do, the earliest such pair first.
  void LinkArms() {
    next_.assign(arms_.size(), -1);
    for (std::size_t node = 0; node < nodes_.size(); ++node) {
      const int first = armStart_[node];
      const int count = armStart_[node + 1] - first;
      const int* arms = arms_.data() + first;
      if (count == 2) {
        next_[static_cast<std::size_t>(arms[0])] = arms[1];
        next_[static_cast<std::size_t>(arms[1])] = arms[0];
        continue;
      }
      for (int i = 0; i < count; ++i) {
        if (next_[static_cast<std::size_t>(arms[i])] >= 0) continue;
        const Point u = Direction(arms[i]);
        for (int j = i + 1; j < count; ++j) {
          if (next_[static_cast<std::size_t>(arms[j])] >= 0) continue;
          const Point v = Direction(arms[j]);
          const double dot = u.X * v.X + u.Y * v.Y;
          const double cross = u.X * v.Y - u.Y * v.X;
          if (dot < 0.0 && std::fabs(cross) <= MyFunc::ParallelArmTolerance) {
            next_[static_cast<std::size_t>(arms[i])] = arms[j];
            next_[static_cast<std::size_t>(arms[j])] = arms[i];
            break;
          }
        }
      }
    }
  }

  // Follows the chain from arm (the end of a line at the node it arrives
  // at) and appends the nodes it reaches. True when it comes back to seed.
  bool Follow(int arm, int seed, std::vector<bool>& used, std::vector<int>& nodes) const {
    for (;;) {
      const int leave = next_[static_cast<std::size_t>(arm)];
      if (leave < 0) return false;
      const int line = leave / 2;
      if (line == seed) return true;
      // Continuation pairs arms off, so no walk meets a line twice; the
      // check only keeps that from ever becoming an endless loop.
      if (used[static_cast<std::size_t>(line)]) return false;
      used[static_cast<std::size_t>(line)] = true;
      arm = leave ^ 1;
      nodes.push_back(NodeOfArm(arm));
    }
  }

  Chain ChainFrom(int seed, std::vector<bool>& used) const {
    const Kept& s = kept_[static_cast<std::size_t>(seed)];
    std::vector<int> forward;
    std::vector<int> order;
    if (Follow(2 * seed + 1, seed, used, forward)) {
      // The walk's last node is the seed's start again.
      order.push_back(s.From);
      order.push_back(s.To);
      order.insert(order.end(), forward.begin(), forward.end());
    } else {
      Follow(2 * seed, seed, used, order);
      std::reverse(order.begin(), order.end());
      order.push_back(s.From);
      order.push_back(s.To);
      order.insert(order.end(), forward.begin(), forward.end());
    }
    Chain chain;
    chain.Closed = order.front() == order.back();
    if (!chain.Closed) {
      chain.FreeStart = ArmCount(order.front()) == 1;
      chain.FreeEnd = ArmCount(order.back()) == 1;
    }
    chain.Points.reserve(order.size());
    for (int n : order) chain.Points.push_back(nodes_[static_cast<std::size_t>(n)]);
    if (chain.Closed && TwiceSignedArea(chain.Points) < 0.0) {
      std::reverse(chain.Points.begin(), chain.Points.end());
    }
    return chain;
  }

  static double TwiceSignedArea(const std::vector<Point>& ring) {
    double sum = 0.0;
    for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
      sum += ring[i].X * ring[i + 1].Y - ring[i + 1].X * ring[i].Y;
    }
    return sum;
  }

  std::vector<Point> nodes_;
  std::vector<Kept> kept_;
  std::vector<int> armStart_;
  std::vector<int> arms_;
  std::vector<int> next_;
};

} // namespace

std::vector<Chain> ChainSegments(const std::vector<MyFunc::Segment>& segments) {
  NodeGrid grid(segments.size() * 2);
  std::vector<Kept> kept;
  kept.reserve(segments.size());
  std::unordered_set<std::uint64_t> drawn;
  drawn.reserve(segments.size());
  for (const MyFunc::Segment& s : segments) {
    const int a = grid.NodeAt(s.A);
    const int b = grid.NodeAt(s.B);
    if (a == b) continue;
    // A line drawn twice, either way round, is one wall.
    const auto low = static_cast<std::uint64_t>(std::min(a, b));
    const auto high = static_cast<std::uint64_t>(std::max(a, b));
    if (!drawn.insert(low << 32 | high).second) continue;
    kept.push_back({a, b});
  }
  return ChainWalker(std::move(grid.Nodes), std::move(kept)).Walk();
}

} // namespace Walls
