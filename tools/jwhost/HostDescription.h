// The host stand-in's description of one picking session, and the exchange
// file the host would write for it.
//
// Grammar (one record a line; "#" starts a comment line):
//   title <text>          caption of the picture (free text)
//   mode 1|2|select       argument the tool is started with (default 2)
//   layer <group> <layer> current layer group and layer, 0..15 (default 0 0)
//   scales <s0> ... <s15> the scales of the 16 layer groups (default all 1)
//   scale <group> <s>     the scale of one layer group
//   lc <n>  lt <n>        the host's current line colour and type (default 1)
//   lw <n>                the host's current line width; without it no "lw"
//                         record is written, as when widths are not exchanged
//   point <x> <y>         next picked point (hp1, hp2, ...; at most 99)
//   line <x1> <y1> <x2> <y2>
//                         a selected line: the plain record " x1 y1 x2 y2"
//   polyline <x1> <y1> <x2> <y2> ...
//                         a selected polyline of two points or more: "pl",
//                         one plain record per line between neighbouring
//                         points, then "#"
//   raw <text>            one more record, written as given
//
// The file holds, in this order and each ended by CR LF: "hs" with the 16
// scales, "lg", "ly", "lc", "lt", "lw" (when given), one "hp" record per
// point, then the selected elements and the raw records in the order they
// are described (so "raw lc3" before a line gives it its own pen), in
// Shift-JIS.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/MyFunc.h"

namespace JwHost {

constexpr int MaxPickedPoints = 99;

struct HostScene {
  std::string Title;
  std::string Mode = "2"; // "1", "2" or "select"
  int LayerGroup = 0;
  int Layer = 0;
  std::array<double, 16> Scales = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  int LineColor = 1;
  int LineType = 1;
  std::optional<int> LineWidth;
  std::vector<MyFunc::Point> Points;
  // Every line of the selected elements, polylines' lines included.
  std::vector<MyFunc::Segment> Selected;
  // The records after the points: selected elements and raw records in
  // description order, UTF-8, converted when written.
  std::vector<std::string> Records;
};

// False with a message naming the line on the first error.
bool ParseHostDescription(std::string_view text, HostScene& scene, std::string& error);

// The exchange file's text, UTF-8 with CR LF line ends.
std::string ExchangeText(const HostScene& scene);
// The same as the Shift-JIS bytes the host writes; false when a raw record
// holds a character that Shift-JIS lacks.
bool ExchangeBytes(const HostScene& scene, std::string& bytes, std::string& error);

} // namespace JwHost
