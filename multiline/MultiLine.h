// The chamfered multi-line: for each enabled row of a preset, the picked
// path shifted sideways by the row's interval, mitred at every corner and
// chamfered where both segments of a corner are long enough.
#pragma once

#include <array>

#include "exchange/ZizAvodi.h"
#include "settings/Presets.h"

namespace MultiLine {

// Emits, row by row, the colour, line type and width commands and the line
// records through the writer. limit is the largest number of segments used
// (1: the first two points; 98: up to 99 points). scale multiplies the
// interval and chamfer of rows given in paper units.
void BuildMultiLines(const std::array<ZizAvodi::TPickedPoint, ZizAvodi::PickedPointSlots>& points,
                     const Settings::TLineTable& preset, double scale, int limit);

} // namespace MultiLine
