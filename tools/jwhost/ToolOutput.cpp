#include "tools/jwhost/ToolOutput.h"

#include "tools/jwhost/DescriptionText.h"
#include "tools/jwhost/Encoding.h"

namespace JwHost {

namespace {

std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> t;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    const std::size_t b = i;
    while (i < line.size() && line[i] != ' ') ++i;
    if (i > b) t.push_back(line.substr(b, i - b));
  }
  return t;
}

bool ReadHexDigit(std::string_view t, int& value) {
  if (t.size() != 1) return false;
  const char c = t[0];
  if (c >= '0' && c <= '9') {
    value = c - '0';
  } else if (c >= 'A' && c <= 'F') {
    value = c - 'A' + 10;
  } else {
    return false;
  }
  return true;
}

// Applies one attribute command; false when the line is none.
bool ApplyAttribute(std::string_view t0, Pen& pen) {
  if (t0.size() < 3) return false;
  const std::string_view key = t0.substr(0, 2);
  const std::string_view value = t0.substr(2);
  if (key == "lg") return ReadHexDigit(value, pen.LayerGroup);
  if (key == "ly") return ReadHexDigit(value, pen.Layer);
  if (key == "lc") return ReadInt(value, pen.Color);
  if (key == "lt") return ReadInt(value, pen.LineType);
  if (key == "lw") return ReadInt(value, pen.LineWidth);
  return false;
}

// "ci x y r" or "ci x y r start end 1 0"; an ellipse (another flatness or a
// tilt) is none.
bool ReadArc(const std::vector<std::string_view>& t, DrawnArc& arc) {
  if (t.empty() || t[0] != "ci" || (t.size() != 4 && t.size() != 8)) return false;
  if (!ReadReal(t[1], arc.Centre.X) || !ReadReal(t[2], arc.Centre.Y) ||
      !ReadReal(t[3], arc.Radius) || !(arc.Radius > 0.0)) {
    return false;
  }
  if (t.size() == 4) return true;
  double flatness = 0.0, tilt = 0.0;
  return ReadReal(t[4], arc.StartDegrees) && ReadReal(t[5], arc.EndDegrees) &&
         ReadReal(t[6], flatness) && flatness == 1.0 && ReadReal(t[7], tilt) && tilt == 0.0;
}

} // namespace

ToolOutput ReadToolOutput(std::string_view bytes, const Pen& start) {
  ToolOutput out;
  Pen pen = start;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    } else {
      ++out.BareLineEnds; // also counts a last line without any line end
    }
    out.Lines.push_back(Cp932ToUtf8(line));

    const auto t = Tokens(line);
    if (t.empty()) continue;
    if (t.size() == 1 && t[0] == "hq") {
      out.NothingToDraw = true;
      continue;
    }
    if (t.size() == 1 && ApplyAttribute(t[0], pen)) continue;
    DrawnLine d;
    if (t.size() == 4 && ReadReal(t[0], d.A.X) && ReadReal(t[1], d.A.Y) && ReadReal(t[2], d.B.X) &&
        ReadReal(t[3], d.B.Y)) {
      d.Attr = pen;
      out.Drawn.push_back(d);
      continue;
    }
    DrawnArc arc;
    if (ReadArc(t, arc)) {
      arc.Attr = pen;
      out.Arcs.push_back(arc);
      continue;
    }
    out.NotDrawn.push_back(out.Lines.back());
  }
  return out;
}

} // namespace JwHost
