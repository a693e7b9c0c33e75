// Fixed tolerances of the geometry and of the readers. One place, so that a
// call site reads as intent ("points coincide") rather than as a bare number.
#pragma once

namespace MyFunc {

// A vector shorter than this in both components has no direction.
inline constexpr double NullVectorTolerance = 1e-10;
// Last and first picked point closer than this in both coordinates close the path.
inline constexpr double ClosedPathTolerance = 1e-10;
// Solid corners closer than this in both coordinates count as one corner.
inline constexpr double SolidCornerTolerance = 1e-10;
// Points closer than this in both coordinates are the same point.
inline constexpr double SamePointTolerance = 1e-8;
// Quantum of the vertical and parallel tests of a line crossing.
inline constexpr double LineTestQuantum = 1e-8;
// Slack of the test whether a crossing lies on a segment.
inline constexpr double CrossingRangeTolerance = 1e-8;
// A segment must exceed the chamfer size by this much to be chamfered.
inline constexpr double ChamferLengthTolerance = 1e-8;
// Lines and text directions shorter than this in both components are dropped.
inline constexpr double NoExtentTolerance = 1e-8;

// Walls from selected lines.
// End points of selected lines this close (Euclidean) meet in one node: the
// host writes snapped ends with identical digits, and a drafter's near miss
// of a micrometre still means "joined".
inline constexpr double JoinTolerance = 1e-6;
// Two arms of a junction whose unit directions have a cross product within
// this (and point apart) continue each other: one wall drawn in two lines.
inline constexpr double ParallelArmTolerance = 1e-8;
// A point this close to a band's face lies on it, not inside the band, so a
// line drawn on another wall's face is never cut away.
inline constexpr double ClipTolerance = 1e-6;
// Pieces of a clipped line or arc this short are not drawn; a band thinner
// than this is no band.
inline constexpr double TinyPieceTolerance = 1e-8;

} // namespace MyFunc
