// The writing half of the exchange: attribute commands written only when
// their value changes (or once after a reset), plain line and text records,
// and the file the host reads back after the run.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/FileLayer.h"
#include "common/MyFunc.h"
#include "exchange/ZizAvodi.h"

namespace ZizAvodi {

namespace {

constexpr std::size_t MaxLineBytes = 255;
constexpr std::string_view CommandWords[] = {"ch", "cv", "cs", "cr", "co",
                                             "cp", "ct", "ck", "cz", "c2"};

void AppendHex(std::string& out, std::int32_t value) {
  // Negative values appear as their 32-bit two's complement.
  const auto bits = static_cast<std::uint32_t>(value);
  char digits[8];
  int n = 0;
  std::uint32_t v = bits;
  do {
    const auto d = static_cast<int>(v & 0xFu);
    digits[n++] = static_cast<char>(d < 10 ? '0' + d : 'A' + d - 10);
    v >>= 4;
  } while (v != 0);
  while (n > 0) out.push_back(digits[--n]);
}

void EmitCommand(std::string_view word, std::int32_t value, bool hex) {
  std::string line(word);
  if (hex) {
    AppendHex(line, value);
  } else {
    MyFunc::AppendInt(line, value);
  }
  AppendOutputLine(line);
}

bool AllFinite(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

} // namespace

std::string_view TextKindCommand(std::int32_t kind) {
  if (kind < 0 || kind > 9) return CommandWords[0];
  return CommandWords[kind];
}

void AppendOutputLine(std::string_view line) {
  OutputLine& slot = OutputBuffer.Append();
  // The cut ignores character boundaries, as the host's own line limit does.
  const std::size_t n = std::min(line.size(), MaxLineBytes);
  if (n > 0) std::memcpy(slot.Bytes, line.data(), n);
  slot.Length = static_cast<std::uint8_t>(n);
}

void ResetOutputState() {
  ExchangeState& s = Exchange;
  ResetCurrentAttributes(s);
  s.LgPending = s.LyPending = s.LcPending = s.LtPending = true;
  s.LwPending = s.CnPending = s.CcPending = s.FontPending = true;
}

void EmitLayerGroup(std::int32_t group) {
  ExchangeState& s = Exchange;
  if (!s.LgPending && group == s.CurLayerGroup) return;
  EmitCommand("lg", group, true);
  s.CurLayerGroup = group;
  s.LgPending = false;
  // The host forgets the layer when the group changes: name it again.
  s.LyPending = true;
}

void EmitLayer(std::int32_t layer) {
  ExchangeState& s = Exchange;
  if (!s.LyPending && layer == s.CurLayer) return;
  EmitCommand("ly", layer, true);
  s.CurLayer = layer;
  s.LyPending = false;
}

std::int32_t MapColorIndex(std::int32_t index) {
  if (index <= 0) return Exchange.InitialLineColor;
  if (index <= 9) return index;
  // SXF colours start at host number 101; guard the sum against overflow.
  return index > INT32_MAX - 91 ? INT32_MAX : index + 91;
}

std::int32_t MapLineTypeIndex(std::int32_t index) {
  if (index <= 0) return Exchange.InitialLineType;
  if (index <= 9) return index;
  if (index <= 18) return index + 1;
  return index > INT32_MAX - 12 ? INT32_MAX : index + 12;
}

std::int32_t MapLineWidth(std::int32_t width) {
  if (width == -1) width = Exchange.InitialLineWidth;
  return (width < 0 || width > 30000) ? 0 : width;
}

void EmitLineColor(std::int32_t color, std::int32_t mode) {
  ExchangeState& s = Exchange;
  if (mode == 1) color = MapColorIndex(color);
  if (!s.LcPending && color == s.CurLineColor) return;
  EmitCommand("lc", color, false);
  s.CurLineColor = color;
  s.LcPending = false;
}

void EmitLineType(std::int32_t lineType, std::int32_t mode) {
  ExchangeState& s = Exchange;
  if (mode == 1) lineType = MapLineTypeIndex(lineType);
  if (!s.LtPending && lineType == s.CurLineType) return;
  EmitCommand("lt", lineType, false);
  s.CurLineType = lineType;
  s.LtPending = false;
}

void EmitLineWidth(std::int32_t width) {
  ExchangeState& s = Exchange;
  // Without an "lw" record the host was not asked to read widths back.
  if (!s.LineWidthSeen) return;
  width = MapLineWidth(width);
  if (!s.LwPending && width == s.CurLineWidth) return;
  EmitCommand("lw", width, false);
  s.CurLineWidth = width;
  s.LwPending = false;
}

void EmitTextSize(std::int32_t sizeNo, std::int32_t color, std::int32_t mode, double width,
                  double height, double spacing) {
  ExchangeState& s = Exchange;
  if (mode == 1) color = MapColorIndex(color);
  if (sizeNo < 0 || sizeNo > 10) {
    sizeNo = s.InitialTextSizeNo;
    if (sizeNo == 0) {
      width = s.InitialTextWidth;
      height = s.InitialTextHeight;
      spacing = s.InitialTextSpacing;
      color = s.InitialTextSizeColor;
    }
  }
  bool due = s.CnPending || sizeNo != s.CurTextSizeNo;
  if (sizeNo == 0) {
    due = due || width != s.CurTextWidth || height != s.CurTextHeight ||
          spacing != s.CurTextSpacing || color != s.CurTextSizeColor;
  }
  if (!due) return;
  std::string line = "cn";
  MyFunc::AppendInt(line, sizeNo);
  if (sizeNo == 0) {
    line.push_back(' ');
    MyFunc::AppendReal(line, width);
    line.push_back(' ');
    MyFunc::AppendReal(line, height);
    line.push_back(' ');
    MyFunc::AppendReal(line, spacing);
    line.push_back(' ');
    MyFunc::AppendInt(line, color);
    s.CurTextWidth = width;
    s.CurTextHeight = height;
    s.CurTextSpacing = spacing;
    s.CurTextSizeColor = color;
  }
  AppendOutputLine(line);
  s.CurTextSizeNo = sizeNo;
  s.CnPending = false;
}

void EmitTextColor(std::int32_t color) {
  ExchangeState& s = Exchange;
  if (color < 0 || color > 8) color = 0;
  if (!s.CcPending && color == s.CurTextColor) return;
  EmitCommand("cc", color, false);
  s.CurTextColor = color;
  s.CcPending = false;
}

void EmitTextFont(std::string_view name) {
  ExchangeState& s = Exchange;
  if (name.empty() || name == "<>") name = s.InitialFontName;
  if (!s.FontPending && name == s.CurFontName) return;
  std::string line = "cn\"$";
  line.append(name);
  AppendOutputLine(line);
  s.CurFontName = std::string(name);
  s.FontPending = false;
}

bool LineIsDrawn(double x1, double y1, double x2, double y2) {
  // A line of no length is dropped; so is one whose coordinates overflowed,
  // which would otherwise reach the host as a wrong line to the origin.
  if (!AllFinite({x1, y1, x2, y2})) return false;
  return !(std::fabs(x2 - x1) < MyFunc::NoExtentTolerance &&
           std::fabs(y2 - y1) < MyFunc::NoExtentTolerance);
}

void EmitLine(double x1, double y1, double x2, double y2) {
  if (!LineIsDrawn(x1, y1, x2, y2)) return;
  // Reused between calls: one line record per segment, and the program has
  // one thread.
  static std::string line;
  line.clear();
  MyFunc::AppendReal(line, x1);
  line.push_back(' ');
  MyFunc::AppendReal(line, y1);
  line.push_back(' ');
  MyFunc::AppendReal(line, x2);
  line.push_back(' ');
  MyFunc::AppendReal(line, y2);
  AppendOutputLine(line);
}

void EmitArc(double cx, double cy, double radius, double startDegrees, double endDegrees) {
  if (!AllFinite({cx, cy, radius, startDegrees, endDegrees})) return;
  if (radius < MyFunc::NoExtentTolerance) return;
  // An angle a hair below 360 is written 360: the host's range starts at 0.
  const auto angle = [](double degrees) {
    std::string text = MyFunc::FormatReal(degrees);
    return text == "360" ? std::string("0") : text;
  };
  const std::string start = angle(startDegrees);
  const std::string end = angle(endDegrees);
  if (start == end) return;
  std::string line("ci ");
  MyFunc::AppendReal(line, cx);
  line.push_back(' ');
  MyFunc::AppendReal(line, cy);
  line.push_back(' ');
  MyFunc::AppendReal(line, radius);
  line += ' ' + start + ' ' + end + " 1 0";
  AppendOutputLine(line);
}

void EmitNotice(std::string_view text) {
  std::string line("h#");
  line.append(text);
  AppendOutputLine(line);
}

void EmitText(std::int32_t kind, std::string_view text, double x, double y, double dx, double dy) {
  if (!AllFinite({x, y, dx, dy})) return;
  if (std::fabs(dx) <= MyFunc::NoExtentTolerance && std::fabs(dy) <= MyFunc::NoExtentTolerance) {
    return;
  }
  if (MyFunc::CleanText(text).empty()) return;
  std::string line(TextKindCommand(kind));
  for (double v : {x, y, dx, dy}) {
    line.push_back(' ');
    MyFunc::AppendReal(line, v);
  }
  // The trailing quote makes the writer join the text onto this line.
  line.append(" \"");
  AppendOutputLine(line);
  AppendOutputLine(text);
}

std::string RenderExchangeFile() {
  std::string out;
  const std::int32_t count = OutputBuffer.Count();
  if (count == 0) return "hq\r\n";
  out.reserve(static_cast<std::size_t>(count) * 32);
  for (std::int32_t i = 0; i < count; ++i) {
    const std::string_view line = OutputBuffer[i].View();
    if (!line.empty() && line.back() == '"') {
      out.append(line);
      if (i + 1 < count) {
        out.append(OutputBuffer[i + 1].View());
        out.append("\r\n");
        ++i;
      }
      continue;
    }
    out.append(line);
    out.append("\r\n");
  }
  return out;
}

bool WriteExchangeFile(const std::filesystem::path& path) {
  const std::string content = RenderExchangeFile();
  Files::FileLayer& files = Files::Current();
  auto file = files.Create(path);
  if (!file) return false; // cannot create or empty: the file stays as it was
  const bool written = file->Write(content.data(), content.size());
  const bool closed = file->Close();
  if (written && closed) return true;
  // No partly written exchange file may remain for the host to draw.
  files.Remove(path);
  return false;
}

} // namespace ZizAvodi
