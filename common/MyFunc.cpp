#include "common/MyFunc.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <numbers>

namespace MyFunc {

namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view SkipBlanks(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  return text.substr(i);
}

// Texts that read as true, compared after cleaning and upper-casing.
constexpr std::array<std::string_view, 10> TrueTexts = {
    "T",        "TR", "TRU", "TRUE", "1",
    "\x82\x50", // full-width digit one
    "\x81\x9B", // white circle
    "ON",
    "\x90\x5E", // "true" (shin)
    "\x90\xB3", // "correct" (sei)
};

} // namespace

std::string CleanText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(b)) {
      if (i + 1 >= text.size()) { // lone lead byte at the end: keep it
        out.push_back(text[i]);
        break;
      }
      const bool ideographicSpace = b == 0x81 && static_cast<unsigned char>(text[i + 1]) == 0x40;
      if (!ideographicSpace) out.append(text.substr(i, 2));
      i += 2;
      continue;
    }
    if (b > 0x20) out.push_back(text[i]);
    ++i;
  }
  return out;
}

bool TextToBool(std::string_view text) {
  std::string cleaned = CleanText(text);
  // Upper-case single-byte letters only: second bytes of two-byte characters
  // must stay as they are.
  for (std::size_t i = 0; i < cleaned.size(); ++i) {
    const auto b = static_cast<unsigned char>(cleaned[i]);
    if (IsLeadByte(b)) {
      ++i;
    } else if (b >= 'a' && b <= 'z') {
      cleaned[i] = static_cast<char>(b - 'a' + 'A');
    }
  }
  for (std::string_view t : TrueTexts) {
    if (cleaned == t) return true;
  }
  return false;
}

std::string BoolToText(bool value) { return value ? "1" : "0"; }

std::int32_t TextToIntSafe(std::string_view text) {
  std::string_view s = SkipBlanks(text);
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  bool hex = false;
  if (!s.empty() && (s[0] == '$' || s[0] == 'x' || s[0] == 'X')) {
    hex = true;
    s.remove_prefix(1);
  } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    hex = true;
    s.remove_prefix(2);
  }
  if (s.empty()) return 0;
  std::uint64_t value = 0;
  if (hex) {
    for (char c : s) {
      const int v = HexValue(c);
      if (v < 0) return 0;
      value = value * 16 + static_cast<std::uint64_t>(v);
      if (value > 0xFFFFFFFFull) return 0;
    }
    auto pattern = static_cast<std::uint32_t>(value);
    if (negative) pattern = 0u - pattern;
    return static_cast<std::int32_t>(pattern);
  }
  for (char c : s) {
    if (!IsDigit(c)) return 0;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > 2147483648ull) return 0;
  }
  if (negative) return static_cast<std::int32_t>(-static_cast<std::int64_t>(value));
  if (value > 2147483647ull) return 0;
  return static_cast<std::int32_t>(value);
}

double TextToFloatSafe(std::string_view text) {
  std::string_view s = SkipBlanks(text);
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  // Check the grammar by hand; from_chars alone would accept "inf", "nan"
  // and would stop silently at trailing garbage.
  std::size_t i = 0;
  std::size_t digits = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (IsDigit(s[i])) {
      ++digits;
    } else if (s[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return 0.0;
  if (i < s.size()) {
    if (s[i] != 'e' && s[i] != 'E') return 0.0;
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t expDigits = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i) ++expDigits;
    if (expDigits == 0 || i != s.size()) return 0.0;
  }
  double value = 0.0;
  const auto [end, ec] =
      std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) return 0.0;
  return negative ? -value : value;
}

void CopyToBuffer(char* buffer, std::string_view text) {
  if (!text.empty()) std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
}

void AppendInt(std::string& out, std::int64_t value) {
  std::array<char, 24> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  out.append(buf.data(), res.ptr);
}

std::string FormatInt(std::int64_t value) {
  std::string out;
  AppendInt(out, value);
  return out;
}

void AppendReal(std::string& out, double value) {
  if (value == 0.0 || !std::isfinite(value)) {
    out.push_back('0');
    return;
  }
  // 15 significant digits, correctly rounded: d.dddddddddddddde[+-]x
  std::array<char, 40> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value),
                                 std::chars_format::scientific, 14);
  const std::string_view sci(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
  const std::size_t ePos = sci.find('e');
  std::array<char, 16> digits{};
  std::size_t k = 0;
  for (std::size_t i = 0; i < ePos; ++i) {
    if (sci[i] != '.') digits[k++] = sci[i];
  }
  while (k > 1 && digits[k - 1] == '0') --k;
  int exp10 = 0;
  std::string_view expText = sci.substr(ePos + 1);
  if (!expText.empty() && expText[0] == '+') expText.remove_prefix(1);
  std::from_chars(expText.data(), expText.data() + expText.size(), exp10);
  const int e = exp10 + 1; // value = 0.d1d2...dk x 10^e
  // Near the largest double, rounding to 15 digits would give a number no
  // reader can hold (1.79769313486232E308): keep the last digit cut instead.
  constexpr std::string_view LargestDigits = "179769313486231";
  if (exp10 == 308 && std::string_view(digits.data(), k) > LargestDigits) {
    k = LargestDigits.size();
    std::copy(LargestDigits.begin(), LargestDigits.end(), digits.begin());
  }

  if (value < 0) out.push_back('-');
  const std::string_view d(digits.data(), k);
  if (e >= -3 && e <= 15) {
    if (e <= 0) {
      out.append("0.");
      out.append(static_cast<std::size_t>(-e), '0');
      out.append(d);
    } else {
      const auto whole = static_cast<std::size_t>(e);
      if (k <= whole) {
        out.append(d);
        out.append(whole - k, '0');
      } else {
        out.append(d.substr(0, whole));
        out.push_back('.');
        out.append(d.substr(whole));
      }
    }
    return;
  }
  out.push_back(d[0]);
  if (k > 1) {
    out.push_back('.');
    out.append(d.substr(1));
  }
  out.push_back('E');
  AppendInt(out, e - 1);
}

std::string FormatReal(double value) {
  std::string out;
  AppendReal(out, value);
  return out;
}

double PointDistance(double x1, double y1, double x2, double y2) {
  return std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
}

double VectorAngle(double dx, double dy) {
  if (std::fabs(dx) < NullVectorTolerance && std::fabs(dy) < NullVectorTolerance) return 0.0;
  const double a = std::atan2(dy, dx);
  return a < 0 ? a + 2 * std::numbers::pi : a;
}

bool SamePoint(double x1, double y1, double x2, double y2) {
  return std::fabs(x2 - x1) <= SamePointTolerance && std::fabs(y2 - y1) <= SamePointTolerance;
}

namespace {

// True when v quantised to 1e-8 is zero: -1.5e-8 < v < 0.5e-8.
bool QuantisesToZero(double v) { return std::trunc(v / LineTestQuantum + 0.5) == 0.0; }

bool OnSegment(const Segment& s, const Point& p) {
  const double t = CrossingRangeTolerance;
  return std::fmin(s.A.X, s.B.X) - t <= p.X && p.X <= std::fmax(s.A.X, s.B.X) + t &&
         std::fmin(s.A.Y, s.B.Y) - t <= p.Y && p.Y <= std::fmax(s.A.Y, s.B.Y) + t;
}

} // namespace

int IntersectLines(const Segment& a, const Segment& b, Point& crossing) {
  const bool aVertical = QuantisesToZero(a.A.X - a.B.X);
  const bool bVertical = QuantisesToZero(b.A.X - b.B.X);
  Point p;
  if (aVertical && bVertical) return LinesParallel;
  if (aVertical) {
    const double mB = (b.B.Y - b.A.Y) / (b.B.X - b.A.X);
    p.X = a.A.X;
    p.Y = (a.A.X - b.A.X) * mB + b.A.Y;
  } else if (bVertical) {
    const double mA = (a.B.Y - a.A.Y) / (a.B.X - a.A.X);
    p.X = b.A.X;
    p.Y = (b.A.X - a.A.X) * mA + a.A.Y;
  } else {
    const double mA = (a.B.Y - a.A.Y) / (a.B.X - a.A.X);
    const double cA = a.A.Y - mA * a.A.X;
    const double mB = (b.B.Y - b.A.Y) / (b.B.X - b.A.X);
    const double cB = b.A.Y - mB * b.A.X;
    if (QuantisesToZero(mA - mB)) return LinesParallel;
    p.X = (cB - cA) / (mA - mB);
    p.Y = mA * p.X + cA;
  }
  crossing = p;
  return OnSegment(a, p) && OnSegment(b, p) ? CrossingOnBoth : CrossingOffSegment;
}

Point UnitDirection(double dx, double dy) {
  // A null vector has the direction angle 0, as VectorAngle says.
  if (std::fabs(dx) < NullVectorTolerance && std::fabs(dy) < NullVectorTolerance) return {1.0, 0.0};
  const double length = std::hypot(dx, dy);
  return {dx / length, dy / length};
}

bool ChamferPoints(double c, const Segment& a, const Segment& b, ChamferCut& cut) {
  cut = ChamferCut{};
  if (SamePoint(a.A.X, a.A.Y, a.B.X, a.B.Y) || SamePoint(b.A.X, b.A.Y, b.B.X, b.B.Y)) return false;
  Point corner;
  if (IntersectLines(a, b, corner) == LinesParallel) return false;
  // Along the unit vectors rather than cos/sin of the direction angles: the
  // same points, but axis-parallel segments give exact coordinates instead
  // of residues such as 6E-16 in the host's file.
  const Point uA = UnitDirection(a.B.X - a.A.X, a.B.Y - a.A.Y);
  const Point uB = UnitDirection(b.B.X - b.A.X, b.B.Y - b.A.Y);
  cut.BackwardA = {corner.X - c * uA.X, corner.Y - c * uA.Y};
  cut.ForwardA = {corner.X + c * uA.X, corner.Y + c * uA.Y};
  cut.BackwardB = {corner.X - c * uB.X, corner.Y - c * uB.Y};
  cut.ForwardB = {corner.X + c * uB.X, corner.Y + c * uB.Y};
  return true;
}

double RoundDigits(double value, int digits, int mode) {
  double f = 1.0;
  if (digits >= 0 && digits <= 13) {
    for (int i = 0; i < digits; ++i) f *= 10.0;
  }
  double a = std::fabs(value) * f;
  if (mode == 0) {
    a = std::trunc(a);
  } else if (mode == 1) {
    a = std::trunc(a + 0.9);
  } else {
    a = std::trunc(a + 0.5);
  }
  const double r = a / f;
  return value < 0 ? -r : r;
}

} // namespace MyFunc
