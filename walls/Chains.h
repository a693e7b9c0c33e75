// Chains of selected lines: the lines a drafter drew as centre lines,
// joined end to end into the paths that walls are drawn along.
//
// End points within JoinTolerance of an earlier node join it; a line whose
// ends join one node, or that repeats the nodes of an earlier line, is
// dropped. At a node of two lines the chain turns whatever the angle; at a
// junction of three or more, lines in opposite directions continue each
// other (one wall drawn as two lines) and every other line ends there. A
// chain that comes back to where it began is closed and turned
// counter-clockwise, so that a positive offset lies inside it.
#pragma once

#include <cstddef>
#include <vector>

#include "common/MyFunc.h"

namespace Walls {

struct Chain {
  // Node positions in drawing order; a closed chain ends on its first point.
  std::vector<MyFunc::Point> Points;
  bool Closed = false;
  // An open chain's end at a node of that one line only: a free wall end.
  bool FreeStart = false;
  bool FreeEnd = false;
};

// The chains of segments, in the order of their first (seed) segments.
// Segments of any coordinates are taken; none is an empty result.
std::vector<Chain> ChainSegments(const std::vector<MyFunc::Segment>& segments);

} // namespace Walls
