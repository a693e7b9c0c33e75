// The multi-line builder over random paths and presets, as an unattended run
// drives it, and the commands it leaves for the host. Checks: every buffered
// line fits its 255-byte slot, no number is written as inf or nan, every line
// is a command, a plain line of four numbers or an arc record that the
// reader takes back, no row yields more than two records per segment, caps
// add at most two lines and their pen, and arcs come only with round corners.
//
// Input layout, read from the front (missing bytes read as 0):
//   limit selector, flags, layer group (low nibble) and layer (high nibble),
//   initial colour, line type and width, scale, ten rows (flags, interval,
//   chamfer, colour, line type, width), point count, x and y of each point,
//   then the drawing options (flags, overhang, cap colour, line type and
//   width). Every real is a kind byte and its payload (see Reader::Real).
//   Inputs that end before the options draw as presets without any.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "common/MyFunc.h"
#include "exchange/ZizAvodi.h"
#include "fuzz/FuzzBytes.h"
#include "fuzz/FuzzChecks.h"
#include "multiline/MultiLine.h"
#include "settings/Presets.h"

namespace {

using FuzzChecks::Printable;

class Reader : public FuzzChecks::FuzzBytes {
 public:
  using FuzzBytes::FuzzBytes;

  // Mostly coordinates on a half-unit grid, where corners and chamfers are
  // meaningful; some near the 1e-8 and 1e-10 tolerances, some of any
  // magnitude, and raw bit patterns including inf and nan.
  double Real() {
    static constexpr double Specials[] = {0.0,
                                          -0.0,
                                          1e-8,
                                          -1e-8,
                                          1.5e-8,
                                          1e-10,
                                          5e-324,
                                          1e300,
                                          -1e300,
                                          std::numeric_limits<double>::max(),
                                          -std::numeric_limits<double>::max(),
                                          std::numeric_limits<double>::infinity(),
                                          -std::numeric_limits<double>::infinity(),
                                          std::numeric_limits<double>::quiet_NaN()};
    switch (Byte() % 8) {
      case 0:
      case 1:
      case 2:
        return Int16() * 0.5;
      case 3:
        return Int16() * 0.001;
      case 4:
        return Int16() * 0.5 + Int8() * 1e-9;
      case 5:
        return Bits();
      case 6:
        return std::ldexp(static_cast<double>(Int16()), Int8() * 8);
      default:
        return Specials[Byte() % (sizeof(Specials) / sizeof(Specials[0]))];
    }
  }
};

using Points = std::array<ZizAvodi::TPickedPoint, ZizAvodi::PickedPointSlots>;

struct Case {
  int Limit = 98;
  bool LineWidthSeen = false;
  int LayerGroup = 0;
  int Layer = 0;
  double Scale = 1.0;
  Settings::TLineTable Preset;
  Points Path{};
};

int DecodeLimit(Reader& in) {
  switch (in.Byte() % 4) {
    case 0:
      return 1;
    case 1:
      return 98;
    case 2:
      return in.Int8();
    default:
      return in.Int32();
  }
}

Case Decode(Reader& in) {
  Case c;
  c.Limit = DecodeLimit(in);
  const std::uint8_t flags = in.Byte();
  c.LineWidthSeen = (flags & 1) != 0;
  const std::uint8_t layers = in.Byte();
  c.LayerGroup = layers & 0x0F;
  c.Layer = layers >> 4;

  ZizAvodi::ResetExchangeState();
  ZizAvodi::ExchangeState& s = ZizAvodi::Exchange;
  s.LineWidthSeen = c.LineWidthSeen;
  s.InitialLineColor = in.Int8();
  s.InitialLineType = in.Int8();
  s.InitialLineWidth = in.Int16();
  c.Scale = in.Real();

  for (int r = 1; r <= Settings::RowCount; ++r) {
    Settings::LineRow& row = c.Preset.Row(r);
    const std::uint8_t rowFlags = in.Byte();
    row.Enabled = (rowFlags & 1) != 0;
    row.PaperUnit = (rowFlags & 2) != 0;
    row.Interval = in.Real();
    row.Chamfer = in.Real();
    row.Color = in.Int16();
    row.LineType = in.Int16();
    row.LineWidth = in.Int16();
  }

  const int count = in.Byte() % (ZizAvodi::PickedPointSlots + 1);
  for (int i = 1; i <= count && i < ZizAvodi::PickedPointSlots; ++i) {
    ZizAvodi::TPickedPoint& p = c.Path[static_cast<std::size_t>(i)];
    p.IsSet = true;
    p.X = in.Real();
    p.Y = in.Real();
  }
  // A closed path: the last point repeats the first.
  const int last = count < ZizAvodi::PickedPointSlots ? count : ZizAvodi::PickedPointSlots - 1;
  if ((flags & 2) != 0 && last >= 2) c.Path[static_cast<std::size_t>(last)] = c.Path[1];
  // A gap ends the path early; the points after it must be ignored.
  if ((flags & 4) != 0) c.Path[static_cast<std::size_t>(1 + in.Byte() % 99)].IsSet = false;

  Settings::DrawOptions& o = c.Preset.Options;
  const std::uint8_t optionFlags = in.Byte();
  o.StartCap = (optionFlags & 1) != 0;
  o.EndCap = (optionFlags & 2) != 0;
  o.CapPaperUnit = (optionFlags & 4) != 0;
  o.RoundCorners = (optionFlags & 8) != 0;
  // As the options file reads it: never below 0.
  const double overhang = in.Real();
  o.CapOverhang = overhang > 0.0 ? overhang : 0.0;
  o.CapColor = in.Int16();
  o.CapLineType = in.Int16();
  const std::int16_t width = in.Int16();
  o.CapLineWidth = width >= Settings::MinLineWidth && width <= Settings::MaxLineWidth
                       ? width
                       : Settings::MinLineWidth;
  return c;
}

// Segments of the path the builder may use: the unbroken run of set entries
// from entry 1, at most limit + 1 points.
int SegmentCount(const Case& c) {
  const std::int64_t lastEntry =
      std::min<std::int64_t>(std::int64_t{c.Limit} + 1, ZizAvodi::PickedPointSlots - 1);
  int points = 0;
  for (std::int64_t i = 1; i <= lastEntry; ++i) {
    if (!c.Path[static_cast<std::size_t>(i)].IsSet) break;
    ++points;
  }
  return points >= 2 ? points - 1 : 0;
}

std::string Hex(int v) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  return std::string(1, Digits[v & 15]);
}

bool IsAttributeCommand(std::string_view line) {
  if (line.size() < 3) return false;
  const std::string_view word = line.substr(0, 2);
  const std::string_view value = line.substr(2);
  if (word == "lc" || word == "lt") return FuzzChecks::IsWrittenInt(value);
  if (word == "lw") {
    if (!FuzzChecks::IsWrittenInt(value)) return false;
    const std::int32_t w = MyFunc::TextToIntSafe(value);
    return w >= 0 && w <= 30000;
  }
  return false;
}

bool IsPlainLine(std::string_view line) {
  int fields = 0;
  const bool ok = FuzzChecks::ForEachField(line, [&](std::string_view f) {
    if (FuzzChecks::IsWrittenReal(f)) ++fields;
  });
  return ok && fields == 4 && std::count(line.begin(), line.end(), ' ') == 3;
}

// "ci cx cy r a1 a2 1 0" with a radius above 0 and both angles in [0, 360).
bool IsArcRecord(std::string_view line) {
  std::vector<std::string_view> f;
  if (!FuzzChecks::ForEachField(line, [&](std::string_view field) { f.push_back(field); }) ||
      f.size() != 8 || f[0] != "ci" || f[6] != "1" || f[7] != "0") {
    return false;
  }
  for (std::size_t i = 1; i <= 5; ++i) {
    if (!FuzzChecks::IsWrittenReal(f[i])) return false;
  }
  const double radius = MyFunc::TextToFloatSafe(f[3]);
  const double a1 = MyFunc::TextToFloatSafe(f[4]);
  const double a2 = MyFunc::TextToFloatSafe(f[5]);
  return radius > 0.0 && a1 >= 0.0 && a1 < 360.0 && a2 >= 0.0 && a2 < 360.0 && f[4] != f[5];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  const Case c = Decode(in);

  ZizAvodi::ResetOutputState();
  ZizAvodi::EmitLayerGroup(c.LayerGroup);
  ZizAvodi::EmitLayer(c.Layer);
  MultiLine::BuildMultiLines(c.Path, c.Preset, c.Scale, c.Limit);

  int enabledRows = 0;
  for (int r = 1; r <= Settings::RowCount; ++r) enabledRows += c.Preset.Row(r).Enabled ? 1 : 0;
  const int segments = SegmentCount(c);

  std::vector<std::string> lines;
  for (std::int32_t i = 0; i < ZizAvodi::OutputBuffer.Count(); ++i) {
    lines.emplace_back(ZizAvodi::OutputBuffer[i].View());
  }
  FUZZ_CHECK(
      lines.size() >= 2 && lines[0] == "lg" + Hex(c.LayerGroup) && lines[1] == "ly" + Hex(c.Layer),
      "the output does not begin with the layer group and layer");

  int lineRecords = 0;
  int arcRecords = 0;
  int attributes = 0;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    FUZZ_CHECK(line.size() <= 255, "line %zu has %zu bytes", i, line.size());
    FUZZ_CHECK(!FuzzChecks::HasNonFiniteText(line), "line %zu: %s", i, line.c_str());
    if (IsPlainLine(line)) {
      ++lineRecords;
    } else if (IsArcRecord(line)) {
      ++arcRecords;
    } else {
      FUZZ_CHECK(IsAttributeCommand(line), "line %zu is neither a command, a line nor an arc: %s",
                 i, Printable(line).c_str());
      ++attributes;
    }
  }
  // Caps: one pen and at most two lines, only when asked for; arcs only
  // with round corners, at most one per corner and in place of a chamfer.
  const Settings::DrawOptions& o = c.Preset.Options;
  const int caps = o.StartCap || o.EndCap ? 1 : 0;
  FUZZ_CHECK(o.RoundCorners || arcRecords == 0, "%d arcs without round corners", arcRecords);
  FUZZ_CHECK(arcRecords <= segments * enabledRows, "%d arcs for %d segments and %d rows",
             arcRecords, segments, enabledRows);
  FUZZ_CHECK(lineRecords + arcRecords <= 2 * segments * enabledRows + 2 * caps,
             "%d line and %d arc records for %d segments and %d rows", lineRecords, arcRecords,
             segments, enabledRows);
  FUZZ_CHECK(attributes <= 3 * (enabledRows + caps), "%d attribute commands for %d rows",
             attributes, enabledRows);

  // The host's side: the file read back holds the same plain lines, on the
  // layer group and layer written first.
  const std::string file = ZizAvodi::RenderExchangeFile();
  ZizAvodi::ResetExchangeState();
  ZizAvodi::ReadExchangeBytes(file);
  const ZizAvodi::ExchangeState& back = ZizAvodi::Exchange;
  FUZZ_CHECK(back.Lines.Count() == lineRecords, "%d lines read back, %d written",
             back.Lines.Count(), lineRecords);
  FUZZ_CHECK(back.Arcs.Count() == arcRecords, "%d arcs read back, %d written", back.Arcs.Count(),
             arcRecords);
  FUZZ_CHECK(back.InitialLayerGroup == c.LayerGroup && back.InitialLayer == c.Layer,
             "layer %d/%d read back as %d/%d", c.LayerGroup, c.Layer, back.InitialLayerGroup,
             back.InitialLayer);
  for (std::int32_t i = 0; i < back.Lines.Count(); ++i) {
    const ZizAvodi::TJwwEntLine& l = back.Lines[i];
    FUZZ_CHECK(
        std::isfinite(l.X1) && std::isfinite(l.Y1) && std::isfinite(l.X2) && std::isfinite(l.Y2),
        "line %d read back with a non-finite end", i);
  }
  return 0;
}
