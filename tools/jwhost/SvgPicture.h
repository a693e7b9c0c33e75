// A picture of one run: the picked path as a thin grey dashed line with
// numbered point markers, the selected lines in the same style under the
// result, and the lines and arcs the tool drew in their pen colour, line
// type and width. The drawing's y axis points up, as in the host.
#pragma once

#include <string>
#include <string_view>

#include "tools/jwhost/HostDescription.h"
#include "tools/jwhost/ToolOutput.h"

namespace JwHost {

// The host's screen pens (exchange/HostScreen.h) in SVG's terms.
// "#rrggbb" for a host colour number.
std::string HostColorRgb(int color);
// SVG dash pattern for a host line type, in pixels for the thinnest line;
// empty for a solid line.
std::string DashPattern(int lineType);
// Stroke width in pixels for an "lw" value.
double StrokeWidthPx(int lineWidth);

std::string RenderSvg(const HostScene& scene, const ToolOutput& output);

} // namespace JwHost
