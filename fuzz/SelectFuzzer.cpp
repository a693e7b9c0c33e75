// The select run over random selections and presets: chaining, the bands
// and the clipping at junctions, then the writer. Checks: no crash or hang;
// the chains hold every kept line once (against a plain quadratic joining
// of the end points, which is cheap at this size); the number of lines
// drawn is bounded by what the chains draw unclipped; a preset without a
// band clips nothing; every record written is a command, a line or an arc
// with finite numbers.
//
// Input layout, read from the front (missing bytes read as 0): option
// flags, scale, ten rows (flags, offset, chamfer), then one operation per
// segment until the input ends (at most MaxSegments): a new segment, a
// duplicate or reversed duplicate of an earlier one, a segment from or
// between earlier end points, one that misses an earlier end point by about
// the join distance, a zero-length one, a piece along an earlier one.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/MyFunc.h"
#include "exchange/ZizAvodi.h"
#include "fuzz/FuzzBytes.h"
#include "fuzz/FuzzChecks.h"
#include "multiline/MultiLine.h"
#include "settings/Presets.h"
#include "walls/Chains.h"
#include "walls/Walls.h"

namespace {

using MyFunc::Point;
using MyFunc::Segment;

// Enough for every junction shape; the quadratic reference and the
// clipping stay fast.
constexpr std::size_t MaxSegments = 48;

class Reader : public FuzzChecks::FuzzBytes {
 public:
  using FuzzBytes::FuzzBytes;

  // Mostly a coarse grid, where lines meet and cross; some off it, some
  // huge or tiny, and raw bit patterns including inf and nan.
  double Real() {
    static constexpr double Specials[] = {0.0,
                                          -0.0,
                                          1e-6,
                                          1e-8,
                                          5e-324,
                                          1e300,
                                          -1e300,
                                          std::numeric_limits<double>::max(),
                                          std::numeric_limits<double>::infinity(),
                                          std::numeric_limits<double>::quiet_NaN()};
    switch (Byte() % 8) {
      case 0:
      case 1:
      case 2:
      case 3:
        return static_cast<double>(Int8() % 16) * 10.0;
      case 4:
        return Int16() * 0.5;
      case 5:
        return std::ldexp(static_cast<double>(Int16()), Int8() % 64);
      case 6:
        return Bits();
      default:
        return Specials[Byte() % (sizeof(Specials) / sizeof(Specials[0]))];
    }
  }
};

// Distances around the join tolerance, either side of it.
constexpr double Misses[] = {0.0, 1e-7, 5e-7, 1e-6, 1.0000001e-6, 2e-6, 1e-5, 1e-3};

Point EndOf(const std::vector<Segment>& s, std::uint8_t pick) {
  const Segment& seg = s[(pick >> 1) % s.size()];
  return (pick & 1) != 0 ? seg.B : seg.A;
}

std::vector<Segment> DecodeSegments(Reader& in) {
  std::vector<Segment> s;
  while (!in.AtEnd() && s.size() < MaxSegments) {
    const std::uint8_t op = in.Byte();
    if (s.empty() || op % 8 == 0) {
      s.push_back({{in.Real(), in.Real()}, {in.Real(), in.Real()}});
      continue;
    }
    const Segment& earlier = s[in.Byte() % s.size()];
    switch (op % 8) {
      case 1:
        s.push_back(earlier);
        break;
      case 2:
        s.push_back({earlier.B, earlier.A});
        break;
      case 3:
        s.push_back({EndOf(s, in.Byte()), {in.Real(), in.Real()}});
        break;
      case 4:
        s.push_back({EndOf(s, in.Byte()), EndOf(s, in.Byte())});
        break;
      case 5: {
        // An end point that misses an earlier one along a direction.
        const Point p = EndOf(s, in.Byte());
        const double d = Misses[in.Byte() % std::size(Misses)];
        const double angle = in.Byte() * (2.0 * 3.141592653589793 / 256.0);
        s.push_back({{p.X + d * std::cos(angle), p.Y + d * std::sin(angle)}, EndOf(s, in.Byte())});
        break;
      }
      case 6: {
        const Point p = EndOf(s, in.Byte());
        s.push_back({p, p});
        break;
      }
      default: {
        // A piece along an earlier line: overlaps and T joints in its middle.
        const double t0 = in.Byte() / 128.0 - 0.5;
        const double t1 = in.Byte() / 128.0 - 0.5;
        const Point& a = earlier.A;
        const Point& b = earlier.B;
        s.push_back({{a.X + t0 * (b.X - a.X), a.Y + t0 * (b.Y - a.Y)},
                     {a.X + t1 * (b.X - a.X), a.Y + t1 * (b.Y - a.Y)}});
        break;
      }
    }
  }
  return s;
}

Settings::TLineTable DecodePreset(Reader& in, double& scale) {
  Settings::TLineTable preset;
  Settings::DrawOptions& o = preset.Options;
  const std::uint8_t flags = in.Byte();
  o.StartCap = (flags & 1) != 0;
  o.EndCap = (flags & 2) != 0;
  o.CapPaperUnit = (flags & 4) != 0;
  o.RoundCorners = (flags & 8) != 0;
  o.CapOverhang = (flags & 16) != 0 ? 5.0 : 0.0;
  scale = (flags & 32) != 0 ? in.Real() : 1.0;
  for (int r = 1; r <= Settings::RowCount; ++r) {
    Settings::LineRow& row = preset.Row(r);
    const std::uint8_t rowFlags = in.Byte();
    row.Enabled = (rowFlags & 1) != 0;
    row.PaperUnit = (rowFlags & 2) != 0;
    // Offsets on a coarse grid, so that rows often share one (no band).
    row.Interval = (rowFlags & 4) != 0 ? in.Real() : static_cast<double>(in.Int8() % 8) * 5.0;
    row.Chamfer = (rowFlags & 8) != 0 ? in.Real() : static_cast<double>(in.Byte() % 4) * 2.0;
  }
  return preset;
}

bool Finite(const Point& p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

// The kept lines by joining every end point to the earliest node within
// the join distance: node index pairs, lower first.
std::vector<std::pair<int, int>> KeptByReference(const std::vector<Segment>& segments,
                                                 std::vector<Point>& nodes) {
  const auto nodeAt = [&](const Point& p) {
    for (std::size_t n = 0; n < nodes.size(); ++n) {
      if (MyFunc::PointDistance(p.X, p.Y, nodes[n].X, nodes[n].Y) <= MyFunc::JoinTolerance) {
        return static_cast<int>(n);
      }
    }
    nodes.push_back(p);
    return static_cast<int>(nodes.size() - 1);
  };
  std::vector<std::pair<int, int>> kept;
  for (const Segment& s : segments) {
    const int a = nodeAt(s.A);
    const int b = nodeAt(s.B);
    if (a == b) continue;
    const std::pair<int, int> key{std::min(a, b), std::max(a, b)};
    bool seen = false;
    for (const auto& k : kept) seen = seen || k == key;
    if (!seen) kept.push_back(key);
  }
  return kept;
}

// Counts what reaches it and hands it on to the writer.
class CountingSink final : public MultiLine::ILineSink {
 public:
  explicit CountingSink(MultiLine::ILineSink* out) : out_(out) {}
  void BeginRow(int row, const Settings::LineRow& line) override {
    if (out_ != nullptr) out_->BeginRow(row, line);
  }
  void Line(const Point& from, const Point& to) override {
    ++Lines;
    if (Finite(from) && Finite(to)) ++FiniteLines;
    if (out_ != nullptr) out_->Line(from, to);
  }
  void Arc(const MultiLine::CornerArc& arc) override {
    ++Arcs;
    if (out_ != nullptr) out_->Arc(arc);
  }
  long Lines = 0;
  long FiniteLines = 0;
  long Arcs = 0;

 private:
  MultiLine::ILineSink* out_;
};

bool IsPlainLine(std::string_view line) {
  int fields = 0;
  const bool ok = FuzzChecks::ForEachField(line, [&](std::string_view f) {
    if (FuzzChecks::IsWrittenReal(f)) ++fields;
  });
  return ok && fields == 4 && std::count(line.begin(), line.end(), ' ') == 3;
}

bool IsRecordOrCommand(std::string_view line) {
  if (IsPlainLine(line)) return true;
  if (line.size() >= 3 &&
      (line.substr(0, 2) == "lc" || line.substr(0, 2) == "lt" || line.substr(0, 2) == "lw")) {
    return FuzzChecks::IsWrittenInt(line.substr(2));
  }
  if (line.substr(0, 3) != "ci ") return false;
  int fields = 0;
  const bool ok = FuzzChecks::ForEachField(line.substr(3), [&](std::string_view f) {
    if (FuzzChecks::IsWrittenReal(f)) ++fields;
  });
  return ok && fields == 7;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return -1; // longer inputs only repeat what MaxSegments allows
  Reader in(data, size);
  double scale = 1.0;
  const Settings::TLineTable preset = DecodePreset(in, scale);
  const std::vector<Segment> segments = DecodeSegments(in);

  const std::vector<Walls::Chain> chains = Walls::ChainSegments(segments);
  std::vector<Point> nodes;
  const std::vector<std::pair<int, int>> kept = KeptByReference(segments, nodes);
  std::size_t chained = 0;
  for (const Walls::Chain& c : chains) {
    FUZZ_CHECK(c.Points.size() >= 2, "a chain of %zu points", c.Points.size());
    chained += c.Points.size() - 1;
    FUZZ_CHECK(
        !c.Closed ||
            (c.Points.front().X == c.Points.back().X && c.Points.front().Y == c.Points.back().Y) ||
            !Finite(c.Points.front()),
        "a closed chain that does not end where it begins");
  }
  FUZZ_CHECK(chained == kept.size(), "%zu lines in chains, %zu kept", chained, kept.size());

  // With finite ends, distinct nodes lie apart, so a position names its
  // node: every kept line is one step of exactly one chain.
  bool allFinite = true;
  for (const Point& p : nodes) allFinite = allFinite && Finite(p);
  if (allFinite) {
    std::map<std::pair<double, double>, int> nodeOf;
    for (std::size_t n = 0; n < nodes.size(); ++n)
      nodeOf[{nodes[n].X, nodes[n].Y}] = static_cast<int>(n);
    std::map<std::pair<int, int>, int> steps;
    for (const Walls::Chain& c : chains) {
      for (std::size_t i = 0; i + 1 < c.Points.size(); ++i) {
        const auto a = nodeOf.find({c.Points[i].X, c.Points[i].Y});
        const auto b = nodeOf.find({c.Points[i + 1].X, c.Points[i + 1].Y});
        FUZZ_CHECK(a != nodeOf.end() && b != nodeOf.end(), "a chain point that is no node");
        ++steps[{std::min(a->second, b->second), std::max(a->second, b->second)}];
      }
    }
    for (const auto& k : kept) {
      FUZZ_CHECK(steps[k] == 1, "kept line %d-%d is in %d chain steps", k.first, k.second,
                 steps[k]);
    }
  }

  // What the chains draw without clipping, caps only at free ends.
  CountingSink plain(nullptr);
  Settings::TLineTable drawn = preset;
  for (const Walls::Chain& c : chains) {
    drawn.Options.StartCap = preset.Options.StartCap && c.FreeStart;
    drawn.Options.EndCap = preset.Options.EndCap && c.FreeEnd;
    MultiLine::BuildRows(c.Points, drawn, scale, plain);
  }

  ZizAvodi::ResetExchangeState();
  ZizAvodi::ResetOutputState();
  MultiLine::WriterSink writer;
  CountingSink clipped(&writer);
  const bool any = Walls::DrawWalls(segments, preset, scale, clipped);
  FUZZ_CHECK(any == !chains.empty(), "drew %d with %zu chains", any ? 1 : 0, chains.size());

  double dmin = 0.0;
  double dmax = 0.0;
  const bool band =
      MultiLine::RowExtent(preset, scale, dmin, dmax) && dmax - dmin > MyFunc::TinyPieceTolerance;
  if (!band) {
    FUZZ_CHECK(clipped.Lines == plain.Lines && clipped.Arcs == plain.Arcs,
               "without a band %ld lines and %ld arcs, unclipped %ld and %ld", clipped.Lines,
               clipped.Arcs, plain.Lines, plain.Arcs);
  }
  // A line is cut at most once per edge of the other chains' quads (twice
  // for an arc), and kept pieces alternate with removed ones.
  const long quads = static_cast<long>(chained);
  const long bound = (plain.Lines + plain.Arcs) * (4 * quads + 1);
  FUZZ_CHECK(clipped.Lines + clipped.Arcs <= bound, "%ld lines and %ld arcs, bound %ld",
             clipped.Lines, clipped.Arcs, bound);

  long lineRecords = 0;
  for (std::int32_t i = 0; i < ZizAvodi::OutputBuffer.Count(); ++i) {
    const std::string_view line = ZizAvodi::OutputBuffer[i].View();
    FUZZ_CHECK(!FuzzChecks::HasNonFiniteText(line), "record %d: %s", i,
               FuzzChecks::Printable(line).c_str());
    FUZZ_CHECK(IsRecordOrCommand(line), "record %d is neither a command, a line nor an arc: %s", i,
               FuzzChecks::Printable(line).c_str());
    if (IsPlainLine(line)) ++lineRecords;
  }
  FUZZ_CHECK(lineRecords <= clipped.FiniteLines, "%ld line records for %ld finite lines",
             lineRecords, clipped.FiniteLines);
  return 0;
}
