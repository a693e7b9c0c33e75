#include "exchange/HostScreen.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace ZizAvodi {

namespace {

constexpr double MaxPenPx = 12.0;

// Roughly the host's screen colours on a white page; yellow is darkened to
// stay visible.
constexpr std::array<ScreenColor, 10> LineColors = {{
    {128, 128, 128},
    {0x00, 0xa0, 0xe0},
    {0x00, 0x00, 0x00},
    {0x00, 0xa0, 0x00},
    {0xc8, 0xa0, 0x00},
    {0xd0, 0x00, 0xd0},
    {0x00, 0x00, 0xff},
    {0x00, 0x80, 0x80},
    {0xff, 0x00, 0x00},
    {0xff, 0x80, 0xc0},
}};

// SXF predefined colours 1-16; white and yellow are shaded to show on white.
constexpr std::array<ScreenColor, 16> SxfColors = {{
    {0x00, 0x00, 0x00},
    {0xff, 0x00, 0x00},
    {0x00, 0xc0, 0x00},
    {0x00, 0x00, 0xff},
    {0xd0, 0xc0, 0x00},
    {0xff, 0x00, 0xff},
    {0x00, 0xc0, 0xc0},
    {0xc0, 0xc0, 0xc0},
    {0x80, 0x00, 0x80},
    {0xa5, 0x2a, 0x2a},
    {0xff, 0xa5, 0x00},
    {0x90, 0xee, 0x90},
    {0x6f, 0xb7, 0xe0},
    {0xb0, 0xa0, 0xe6},
    {0xa9, 0xa9, 0xa9},
    {0x50, 0x50, 0x50},
}};

constexpr ScreenColor Grey{0x80, 0x80, 0x80};

// A hue per user colour, golden-angle spaced so that neighbours differ.
ScreenColor HueColor(int n) {
  const double h = std::fmod(n * 137.508, 360.0) / 60.0;
  const double c = 0.75;     // chroma at a mid lightness
  const double lowest = 0.1; // keeps every hue readable on white
  const double x = c * (1.0 - std::fabs(std::fmod(h, 2.0) - 1.0));
  double r = 0;
  double g = 0;
  double b = 0;
  switch (static_cast<int>(h)) {
    case 0:
      r = c, g = x;
      break;
    case 1:
      r = x, g = c;
      break;
    case 2:
      g = c, b = x;
      break;
    case 3:
      g = x, b = c;
      break;
    case 4:
      r = x, b = c;
      break;
    default:
      r = c, b = x;
      break;
  }
  const auto byte = [&](double v) {
    return static_cast<std::uint8_t>(std::lround((v + lowest) * 255.0));
  };
  return {byte(r), byte(g), byte(b)};
}

struct DashEntry {
  std::int32_t LineType;
  std::initializer_list<std::uint8_t> Steps;
};

const DashEntry Dashes[] = {
    {2, {2, 2}},
    {3, {6, 3}},
    {4, {12, 4}},
    {5, {14, 3, 2, 3}},
    {6, {20, 4, 3, 4}},
    {7, {14, 3, 2, 3, 2, 3}},
    {8, {20, 4, 3, 4, 3, 4}},
    {9, {1, 3}},
    {11, {9, 3, 4, 2, 13, 3}},
    {12, {5, 2, 11, 3, 7, 2}},
    {13, {12, 3, 3, 2, 8, 4}},
    {14, {4, 2, 9, 3, 6, 2, 14, 3}},
    {15, {16, 3, 5, 2, 9, 3}},
    {16, {12, 6}},
    {17, {24, 8}},
    {18, {28, 6, 4, 6}},
    {19, {28, 6, 4, 6, 4, 6}},
    {32, {6, 3}},
    {33, {6, 6}},
    {34, {14, 3, 2, 3}},
    {35, {14, 3, 2, 3, 2, 3}},
    {36, {14, 3, 2, 3, 2, 3, 2, 3}},
    {37, {2, 3}},
    {38, {18, 3, 6, 3}},
    {39, {18, 3, 6, 3, 6, 3}},
    {40, {6, 3, 2, 3}},
    {41, {6, 3, 6, 3, 2, 3}},
    {42, {6, 3, 2, 3, 2, 3}},
    {43, {6, 3, 6, 3, 2, 3, 2, 3}},
    {44, {6, 3, 2, 3, 2, 3, 2, 3}},
    {45, {6, 3, 6, 3, 2, 3, 2, 3, 2, 3}},
};

DashPattern PatternOf(std::initializer_list<std::uint8_t> steps) {
  DashPattern p;
  for (const std::uint8_t s : steps) {
    if (p.Count == p.Steps.size()) break;
    p.Steps[p.Count++] = s;
  }
  return p;
}

} // namespace

ScreenColor HostScreenColor(std::int32_t hostColor) {
  if (hostColor >= 1 && hostColor <= 9) return LineColors[static_cast<std::size_t>(hostColor)];
  if (hostColor >= 101 && hostColor <= 116) {
    return SxfColors[static_cast<std::size_t>(hostColor - 101)];
  }
  if (hostColor >= 117 && hostColor <= 356) return HueColor(hostColor);
  return Grey;
}

DashPattern HostDashPattern(std::int32_t hostLineType) {
  for (const DashEntry& e : Dashes) {
    if (e.LineType == hostLineType) return PatternOf(e.Steps);
  }
  // SXF user line types 17-32: their patterns live in the drawing, not here.
  if (hostLineType >= 47 && hostLineType <= 62) return PatternOf({10, 3, 3, 3});
  return {};
}

double HostPenWidthPx(std::int32_t lineWidth) {
  if (lineWidth <= 0) return ThinPenPx;
  // The host's widths run from single steps to hundreds (1/100 mm pens); a
  // square root keeps both ends apart without flooding the picture.
  return std::min(ThinPenPx + 0.6 * std::sqrt(static_cast<double>(lineWidth)), MaxPenPx);
}

double DashStretch(double penWidthPx) { return std::max(1.0, penWidthPx / ThinPenPx); }

} // namespace ZizAvodi
