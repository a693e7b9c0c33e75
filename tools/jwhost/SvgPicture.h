// A picture of one run: the picked path as a thin grey dashed line with
// numbered point markers, and the lines the tool drew in their pen colour,
// line type and width. The drawing's y axis points up, as in the host.
#pragma once

#include <string>
#include <string_view>

#include "tools/jwhost/HostDescription.h"
#include "tools/jwhost/ToolOutput.h"

namespace JwHost {

// "#rrggbb" for a host colour number: 1-9 the host's own line colours,
// roughly as seen on a white page, 101-116 the sixteen predefined SXF colours, 117-356
// the SXF user colours (distinct hues); anything else mid grey.
std::string HostColorRgb(int color);
// SVG dash pattern for a host line type, in pixels for a 1.5 px line;
// empty for a solid line. 2-9 the host's dotted and chain lines, 11-15 the
// random lines, 16-19 the double-length lines, 31-45 the SXF line types,
// 47-62 the SXF user line types (one generic chain).
std::string_view DashPattern(int lineType);
// Stroke width in pixels for an "lw" value: 0 or less is the thinnest pen,
// wider with the square root of the value, 12 at most.
double StrokeWidthPx(int lineWidth);

std::string RenderSvg(const HostScene& scene, const ToolOutput& output);

} // namespace JwHost
