// Reading back what the tool wrote into JWC_TEMP.TXT, the way the host
// carries it out: "lg"/"ly" select layer group and layer (one hexadecimal
// digit), "lc"/"lt"/"lw" set the pen, a record of four numbers draws a line
// with the pen last set, "ci x y r" a circle and "ci x y r start end 1 0" an
// arc with it, "hq" alone means nothing to draw.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/MyFunc.h"

namespace JwHost {

struct Pen {
  int Color = 1;
  int LineType = 1;
  int LineWidth = 0;
  int LayerGroup = 0;
  int Layer = 0;
};

struct DrawnLine {
  MyFunc::Point A;
  MyFunc::Point B;
  Pen Attr;
};

// A circular arc, counter-clockwise from StartDegrees to EndDegrees; a
// circle when both are alike (a "ci" record with the angles left out).
struct DrawnArc {
  MyFunc::Point Centre;
  double Radius = 0.0;
  double StartDegrees = 0.0;
  double EndDegrees = 0.0;
  Pen Attr;
};

struct ToolOutput {
  std::vector<std::string> Lines; // every line as written, in UTF-8 for display
  std::vector<DrawnLine> Drawn;
  std::vector<DrawnArc> Arcs;
  std::vector<std::string> NotDrawn; // records drawn as neither (texts, ellipses, unknown)
  bool NothingToDraw = false;        // the file was "hq"
  int BareLineEnds = 0;              // line ends that were not CR LF
};

// start: the host's pen before the tool's first command.
ToolOutput ReadToolOutput(std::string_view bytes, const Pen& start);

} // namespace JwHost
