// Tolerant conversions between Shift-JIS text and values, the real-number
// format of every file the tool writes, and the plane geometry of the
// multi-line builder. No state; texts are byte strings and never re-encoded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/Tolerances.h"

namespace MyFunc {

// Shift-JIS: 0x80-0x9F and 0xE0-0xFD start a two-byte character. Byte
// scanners use this and never look at a second byte on its own.
constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD);
}

// True for "T", "TR", "TRU", "TRUE", "1", "ON" (any case, blanks and control
// characters ignored) and the full-width "１", "○", "真", "正".
bool TextToBool(std::string_view text);
std::string BoolToText(bool value);

// Whole text must be a number, else 0: leading blanks, one optional sign,
// then decimal digits (32-bit range) or hexadecimal after "$", "x", "X",
// "0x" or "0X" (a 32-bit pattern of up to 8 digits).
std::int32_t TextToIntSafe(std::string_view text);

// Whole text must be a decimal real, else 0.0: leading blanks, one optional
// sign, digits with at most one ".", optional exponent. Never locale
// dependent; a magnitude beyond the range of a double reads as 0.0.
double TextToFloatSafe(std::string_view text);

// Drops blanks, ideographic spaces and control characters everywhere.
std::string CleanText(std::string_view text);

// Copies text and a terminating zero byte; the caller supplies
// text.size() + 1 bytes.
void CopyToBuffer(char* buffer, std::string_view text);

// The shortest general form with at most 15 significant digits: fixed
// notation from 0.0001 to below 1e15, else d.dddE[-]x. Zero of either sign,
// and any non-finite value, are written as 0 so that no file gets inf/nan.
void AppendReal(std::string& out, double value);
std::string FormatReal(double value);
namespace detail {
// The same format by the general method alone, to check the fast one against.
void AppendRealGeneral(std::string& out, double value);
} // namespace detail
void AppendInt(std::string& out, std::int64_t value);
std::string FormatInt(std::int64_t value);

struct Point {
  double X = 0.0;
  double Y = 0.0;
};

struct Segment {
  Point A; // first point; the segment runs from A to B
  Point B;
};

double PointDistance(double x1, double y1, double x2, double y2);
// Direction angle in [0, 2*pi); a null vector gives 0.
double VectorAngle(double dx, double dy);
bool SamePoint(double x1, double y1, double x2, double y2);

enum CrossingResult : int {
  LinesParallel = 0,  // crossing not written
  CrossingOnBoth = 1, // crossing lies on both segments
  CrossingOffSegment = 2,
};
// Unit vector of direction VectorAngle(dx, dy): a null vector gives (1, 0).
Point UnitDirection(double dx, double dy);
// Direction angle of (dx, dy) in degrees, in [0, 360); a null vector gives
// 0. Axis directions are exact (0, 90, 180, 270), and the result comes from
// correctly rounded operations only, so that every build writes the same
// digits (the C libraries' atan2 differ in the last bit).
double DirectionDegrees(double dx, double dy);

// Crossing of the infinite lines through a and b. Both vertical, or slopes
// equal after quantising to 1e-8: parallel. The quantising window is
// one-sided (-1.5e-8, 0.5e-8), so tiny negative differences still count.
int IntersectLines(const Segment& a, const Segment& b, Point& crossing);

struct ChamferCut {
  Point BackwardA; // distance c from the corner, against the direction of a
  Point ForwardA;  // distance c from the corner, along a
  Point BackwardB;
  Point ForwardB;
};
// Points at distance c from the corner of the lines through a and b. False,
// with every output 0, when a segment has no length or the lines are
// parallel; a corner off either segment is still used.
bool ChamferPoints(double c, const Segment& a, const Segment& b, ChamferCut& cut);

// Rounds the magnitude to digits (0..13, else 0) decimals: mode 0 cuts,
// mode 1 rounds up unless the rest is below a tenth, other modes round half up.
double RoundDigits(double value, int digits, int mode);

} // namespace MyFunc
