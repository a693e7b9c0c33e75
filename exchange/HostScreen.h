// How the host shows a pen on its screen: the colour of a host colour
// number, the dash pattern of a host line type and a pixel width that grows
// with the line width. One table for every picture the tool and its test
// host draw, so that they agree with each other.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace ZizAvodi {

struct ScreenColor {
  std::uint8_t R, G, B;
  bool operator==(const ScreenColor&) const = default;
};

// 1-9 the host's own line colours as seen on a white page, 101-116 the
// sixteen predefined SXF colours, 117-356 the SXF user colours (distinct
// hues); anything else mid grey.
ScreenColor HostScreenColor(std::int32_t hostColor);

// Alternating dash and gap lengths in pixels for a pen of the thinnest
// width, starting with a dash; Count 0 is a solid line.
struct DashPattern {
  std::array<std::uint8_t, 10> Steps{};
  std::size_t Count = 0;
};

// 2-9 the host's dotted and chain lines, 11-15 the random lines, 16-19 the
// double-length lines, 31-45 the SXF line types, 47-62 the SXF user line
// types (one generic chain); every other number solid.
DashPattern HostDashPattern(std::int32_t hostLineType);

// The thinnest pen, in pixels; HostPenWidthPx never returns less.
inline constexpr double ThinPenPx = 1.5;
// Pixel width for an "lw" value: 0 or less is the thinnest pen, wider with
// the square root of the value, 12 at most.
double HostPenWidthPx(std::int32_t lineWidth);
// Wide pens get proportionally longer dashes, as a plotter draws them.
double DashStretch(double penWidthPx);

} // namespace ZizAvodi
