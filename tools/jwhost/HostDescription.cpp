#include "tools/jwhost/HostDescription.h"

#include "tools/jwhost/Cat.h"
#include "tools/jwhost/DescriptionText.h"
#include "tools/jwhost/Encoding.h"

namespace JwHost {

namespace {

constexpr int MaxLayer = 15;

void AppendHexDigit(std::string& out, int value) { out += "0123456789ABCDEF"[value & 15]; }

// A plain line record as the host writes a selected line: a blank, then
// the four numbers.
std::string LineRecord(const MyFunc::Segment& line) {
  std::string s;
  for (double v : {line.A.X, line.A.Y, line.B.X, line.B.Y}) {
    s += ' ';
    MyFunc::AppendReal(s, v);
  }
  return s;
}

bool ApplyLine(const DescriptionLine& d, HostScene& scene, std::string& problem) {
  const auto& a = d.Args;
  const auto expect = [&](std::size_t count, const char* usage) {
    if (a.size() == count) return true;
    problem = Cat("expected ", Quoted(usage));
    return false;
  };
  const auto readInt = [&](std::string_view t, int low, int high, int& v) {
    if (ReadInt(t, v) && v >= low && v <= high) return true;
    problem = Cat(Quoted(t), " is not a whole number from ", MyFunc::FormatInt(low), " to ",
                  MyFunc::FormatInt(high));
    return false;
  };
  const auto readReal = [&](std::string_view t, double& v) {
    if (ReadReal(t, v)) return true;
    problem = Cat(Quoted(t), " is not a number");
    return false;
  };
  constexpr int IntMax = 2147483647;
  constexpr int IntMin = -IntMax - 1;

  if (d.Keyword == "title") {
    scene.Title = std::string(d.Rest);
    return true;
  }
  if (d.Keyword == "raw") {
    scene.Records.emplace_back(d.Rest);
    return true;
  }
  if (d.Keyword == "mode") {
    if (!expect(1, "mode 1|2|select")) return false;
    if (a[0] == "select") {
      scene.Mode = "select";
      return true;
    }
    int mode = 0;
    if (!readInt(a[0], 1, 2, mode)) return false;
    scene.Mode = MyFunc::FormatInt(mode);
    return true;
  }
  if (d.Keyword == "line" || d.Keyword == "polyline") {
    const bool polyline = d.Keyword == "polyline";
    if (polyline ? a.size() < 4 || a.size() % 2 != 0 : a.size() != 4) {
      problem = polyline ? "expected \"polyline <x1> <y1> <x2> <y2> ...\", pairs of numbers"
                         : "expected \"line <x1> <y1> <x2> <y2>\"";
      return false;
    }
    std::vector<MyFunc::Point> points(a.size() / 2);
    for (std::size_t i = 0; i < points.size(); ++i) {
      if (!readReal(a[2 * i], points[i].X) || !readReal(a[2 * i + 1], points[i].Y)) return false;
    }
    if (polyline) scene.Records.emplace_back("pl");
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
      scene.Selected.push_back({points[i], points[i + 1]});
      scene.Records.push_back(LineRecord(scene.Selected.back()));
    }
    if (polyline) scene.Records.emplace_back("#");
    return true;
  }
  if (d.Keyword == "layer") {
    return expect(2, "layer <group> <layer>") && readInt(a[0], 0, MaxLayer, scene.LayerGroup) &&
           readInt(a[1], 0, MaxLayer, scene.Layer);
  }
  if (d.Keyword == "scales") {
    if (!expect(scene.Scales.size(), "scales <s0> ... <s15>, 16 numbers")) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (!readReal(a[i], scene.Scales[i])) return false;
    }
    return true;
  }
  if (d.Keyword == "scale") {
    int group = 0;
    return expect(2, "scale <group> <s>") && readInt(a[0], 0, MaxLayer, group) &&
           readReal(a[1], scene.Scales[static_cast<std::size_t>(group)]);
  }
  if (d.Keyword == "lc")
    return expect(1, "lc <n>") && readInt(a[0], IntMin, IntMax, scene.LineColor);
  if (d.Keyword == "lt")
    return expect(1, "lt <n>") && readInt(a[0], IntMin, IntMax, scene.LineType);
  if (d.Keyword == "lw") {
    int w = 0;
    if (!expect(1, "lw <n>") || !readInt(a[0], IntMin, IntMax, w)) return false;
    scene.LineWidth = w;
    return true;
  }
  if (d.Keyword == "point") {
    MyFunc::Point p;
    if (!expect(2, "point <x> <y>") || !readReal(a[0], p.X) || !readReal(a[1], p.Y)) return false;
    if (scene.Points.size() >= MaxPickedPoints) {
      problem = "the host picks at most 99 points";
      return false;
    }
    scene.Points.push_back(p);
    return true;
  }
  problem = Cat("unknown record ", Quoted(d.Keyword));
  return false;
}

} // namespace

bool ParseHostDescription(std::string_view text, HostScene& scene, std::string& error) {
  scene = HostScene{};
  for (const DescriptionLine& d : SplitDescription(text)) {
    std::string problem;
    if (!ApplyLine(d, scene, problem)) {
      error = LineMessage(d.Number, problem);
      return false;
    }
  }
  return true;
}

std::string ExchangeText(const HostScene& scene) {
  std::string s = "hs";
  for (double v : scene.Scales) {
    s += ' ';
    MyFunc::AppendReal(s, v);
  }
  s += "\r\nlg";
  AppendHexDigit(s, scene.LayerGroup);
  s += "\r\nly";
  AppendHexDigit(s, scene.Layer);
  s += "\r\nlc";
  MyFunc::AppendInt(s, scene.LineColor);
  s += "\r\nlt";
  MyFunc::AppendInt(s, scene.LineType);
  s += "\r\n";
  if (scene.LineWidth) {
    s += "lw";
    MyFunc::AppendInt(s, *scene.LineWidth);
    s += "\r\n";
  }
  int number = 0;
  for (const MyFunc::Point& p : scene.Points) {
    s += "hp";
    MyFunc::AppendInt(s, ++number);
    s += ' ';
    MyFunc::AppendReal(s, p.X);
    s += ' ';
    MyFunc::AppendReal(s, p.Y);
    s += "\r\n";
  }
  for (const std::string& record : scene.Records) {
    s += record;
    s += "\r\n";
  }
  return s;
}

bool ExchangeBytes(const HostScene& scene, std::string& bytes, std::string& error) {
  if (Utf8ToCp932(ExchangeText(scene), bytes)) return true;
  error = "a raw record holds a character that Shift-JIS cannot represent";
  return false;
}

} // namespace JwHost
