// Walls from the drawing: the current preset drawn along every line the
// user selected in the host, joined into chains, with clean junctions.
#pragma once

#include <vector>

#include "common/MyFunc.h"
#include "exchange/ZizAvodi.h"
#include "multiline/MultiLine.h"
#include "settings/Presets.h"

namespace Walls {

// Every line of the store's line list (polylines' lines included), in
// store order.
std::vector<MyFunc::Segment> SelectedSegments(const ZizAvodi::ExchangeState& state);

// Draws each chain of segments as a continuous run draws a picked path,
// chains in the order of their first lines, each clipped by the bands of
// the others; caps only at free ends. False, with nothing drawn, when no
// line is left to chain.
bool DrawWalls(const std::vector<MyFunc::Segment>& segments, const Settings::TLineTable& preset,
               double scale, MultiLine::ILineSink& sink);

} // namespace Walls
