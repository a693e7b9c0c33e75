#include "common/MyFunc.h"

#include <algorithm>
#include <array>
#include <bit>
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

namespace {

// A magnitude as 0.D1D2...DK x 10^E with at most 15 digits, no trailing zero.
struct RealDigits {
  std::array<char, 15> D{};
  std::size_t K = 0;
  int E = 0;
};

void StripTrailingZeros(RealDigits& r) {
  while (r.K > 1 && r.D[r.K - 1] == '0') --r.K;
}

// Any finite positive magnitude. to_chars gives 17 correctly rounded digits;
// their last two decide the rounding to 15 unless they are 50, where the
// value lies within half a unit of the 17th digit of the halfway point (or
// on it): then the exact expansion, which to_chars gives at 767 digits,
// decides. to_chars itself would round an exact halfway value to even.
void GeneralDigits(double magnitude, RealDigits& r) {
  std::array<char, 32> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                                 std::chars_format::scientific, 16);
  // "d.dddddddddddddddde[+-]x": the digits stand at 0 and 2..17.
  const char* const digits16 = buf.data() + 16;
  bool up = digits16[0] > '5' || (digits16[0] == '5' && digits16[1] > '0');
  if (digits16[0] == '5' && digits16[1] == '0') {
    std::array<char, 800> exact{};
    std::to_chars(exact.data(), exact.data() + exact.size(), magnitude,
                  std::chars_format::scientific, 766);
    up = exact[16] >= '5';
  }
  r.D[0] = buf[0];
  std::copy(buf.data() + 2, buf.data() + 16, r.D.begin() + 1);
  r.K = r.D.size();
  int exp10 = 0;
  const char* expText = buf.data() + 19; // after "e"
  if (*expText == '+') ++expText;
  std::from_chars(expText, res.ptr, exp10);
  if (up) {
    std::size_t i = r.K;
    while (i > 0 && r.D[i - 1] == '9') r.D[--i] = '0';
    if (i > 0) {
      ++r.D[i - 1];
    } else { // 9.99...95 went up to the next power of ten
      r.D[0] = '1';
      ++exp10;
    }
  }
  r.E = exp10 + 1;
  StripTrailingZeros(r);
  // Near the largest double, rounding to 15 digits would give a number no
  // reader can hold (1.79769313486232E308): keep the last digit cut instead.
  constexpr std::string_view LargestDigits = "179769313486231";
  if (exp10 == 308 && std::string_view(r.D.data(), r.K) > LargestDigits) {
    r.K = LargestDigits.size();
    std::copy(LargestDigits.begin(), LargestDigits.end(), r.D.begin());
  }
}

// Unsigned 128-bit integer as two halves: the 32-bit product has no
// __int128.
struct Wide {
  std::uint64_t Hi = 0;
  std::uint64_t Lo = 0;
};

Wide Multiply(std::uint64_t a, std::uint64_t b) {
  constexpr std::uint64_t Low32 = 0xFFFFFFFFull;
  const std::uint64_t ll = (a & Low32) * (b & Low32);
  const std::uint64_t lh = (a & Low32) * (b >> 32);
  const std::uint64_t hl = (a >> 32) * (b & Low32);
  const std::uint64_t hh = (a >> 32) * (b >> 32);
  const std::uint64_t mid = (ll >> 32) + (lh & Low32) + (hl & Low32);
  return {hh + (lh >> 32) + (hl >> 32) + (mid >> 32), (mid << 32) | (ll & Low32)};
}

// x >> s for 0 < s < 128.
Wide ShiftRight(Wide x, int s) {
  if (s >= 64) return {0, x.Hi >> (s - 64)};
  return {x.Hi >> s, (x.Lo >> s) | (x.Hi << (64 - s))};
}

bool BitSet(Wide x, int i) { return ((i >= 64 ? x.Hi >> (i - 64) : x.Lo >> i) & 1) != 0; }

constexpr std::uint64_t Pow5[19] = {1ull,
                                    5ull,
                                    25ull,
                                    125ull,
                                    625ull,
                                    3125ull,
                                    15625ull,
                                    78125ull,
                                    390625ull,
                                    1953125ull,
                                    9765625ull,
                                    48828125ull,
                                    244140625ull,
                                    1220703125ull,
                                    6103515625ull,
                                    30517578125ull,
                                    152587890625ull,
                                    762939453125ull,
                                    3814697265625ull};
constexpr std::uint64_t Smallest15Digits = 100000000000000ull;
constexpr std::uint64_t Beyond15Digits = 1000000000000000ull;

// Magnitudes of the fixed-notation range (0.0001 to below 1e15) in exact
// integer arithmetic: value x 10^p = m x 5^p x 2^(q+p), rounded half up.
// Being exact, it gives the digits of the general method. Every coordinate
// the tool writes takes this path; it is many times faster than the general
// one. False where it does not apply.
bool FixedRangeDigits(double magnitude, RealDigits& r) {
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const auto biased = static_cast<int>(bits >> 52);
  if (biased == 0) return false; // subnormal: far outside the range
  const std::uint64_t m = (bits & ((1ull << 52) - 1)) | (1ull << 52);
  const int q = biased - 1075; // magnitude = m x 2^q
  // First guess of the decimal exponent; the loop corrects it by one.
  int e = static_cast<int>(std::floor((q + 52) * 0.30102999566398120)) + 1;
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int p = 15 - e;
    if (p < 0 || p > 18) return false;
    const int shift = -(q + p);
    if (shift <= 0 || shift >= 128) return false;
    const Wide x = Multiply(m, Pow5[p]); // below 2^95
    const Wide whole = ShiftRight(x, shift);
    if (whole.Hi != 0 || whole.Lo >= Beyond15Digits) {
      ++e;
      continue;
    }
    // A half goes up: the cut-off part is at least a half when its top bit is set.
    const std::uint64_t n = whole.Lo + (BitSet(x, shift - 1) ? 1 : 0);
    if (n >= Beyond15Digits) {
      ++e;
      continue;
    }
    if (n < Smallest15Digits) {
      --e;
      continue;
    }
    // Two digits at a time, from the last pair to the first digit.
    static constexpr char Pairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    std::uint64_t v = n;
    std::size_t i = r.D.size();
    while (i > 1) {
      const auto pair = static_cast<std::size_t>(v % 100) * 2;
      v /= 100;
      r.D[--i] = Pairs[pair + 1];
      r.D[--i] = Pairs[pair];
    }
    r.D[0] = static_cast<char>('0' + v);
    r.K = r.D.size();
    r.E = e;
    StripTrailingZeros(r);
    return true;
  }
  return false;
}

void AppendDigits(std::string& out, bool negative, const RealDigits& r) {
  if (negative) out.push_back('-');
  const std::string_view d(r.D.data(), r.K);
  const int e = r.E;
  if (e >= -3 && e <= 15) {
    if (e <= 0) {
      out.append("0.");
      out.append(static_cast<std::size_t>(-e), '0');
      out.append(d);
    } else {
      const auto whole = static_cast<std::size_t>(e);
      if (r.K <= whole) {
        out.append(d);
        out.append(whole - r.K, '0');
      } else {
        out.append(d.substr(0, whole));
        out.push_back('.');
        out.append(d.substr(whole));
      }
    }
    return;
  }
  out.push_back(d[0]);
  if (r.K > 1) {
    out.push_back('.');
    out.append(d.substr(1));
  }
  out.push_back('E');
  AppendInt(out, e - 1);
}

} // namespace

void AppendReal(std::string& out, double value) {
  if (value == 0.0 || !std::isfinite(value)) {
    out.push_back('0');
    return;
  }
  RealDigits r;
  if (!FixedRangeDigits(std::fabs(value), r)) GeneralDigits(std::fabs(value), r);
  AppendDigits(out, value < 0, r);
}

namespace detail {

void AppendRealGeneral(std::string& out, double value) {
  if (value == 0.0 || !std::isfinite(value)) {
    out.push_back('0');
    return;
  }
  RealDigits r;
  GeneralDigits(std::fabs(value), r);
  AppendDigits(out, value < 0, r);
}

} // namespace detail

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

namespace {

// The length from correctly rounded operations only, so that every build
// writes the same bytes: std::hypot differs in the last bit between C
// libraries (glibc and the 32-bit mingw-w64 runtime disagree on about one
// vector in ten). Scaling by a power of two is exact and keeps the squares
// in range.
double VectorLength(double dx, double dy) {
  const double m = std::fmax(std::fabs(dx), std::fabs(dy));
  double scale = 1.0;
  if (m > 0x1p500) {
    scale = 0x1p-600;
  } else if (m < 0x1p-500) {
    scale = 0x1p600;
  }
  const double x = dx * scale, y = dy * scale;
  return std::sqrt(x * x + y * y) / scale;
}

} // namespace

Point UnitDirection(double dx, double dy) {
  // A null vector has the direction angle 0, as VectorAngle says.
  if (std::fabs(dx) < NullVectorTolerance && std::fabs(dy) < NullVectorTolerance) return {1.0, 0.0};
  const double length = VectorLength(dx, dy);
  return {dx / length, dy / length};
}

namespace {

// atan(z) for 0 <= z <= 1. Four halvings by atan(z) = 2 atan(z / (1 +
// sqrt(1 + z^2))) bring z below tan(pi/64) = 0.0491, where ten terms of the
// series leave a remainder below 1e-30; the doublings are exact.
double AtanUnit(double z) {
  for (int i = 0; i < 4; ++i) z = z / (1.0 + std::sqrt(1.0 + z * z));
  const double z2 = z * z;
  double sum = 1.0 / 21.0;
  for (int k = 19; k >= 1; k -= 2) sum = 1.0 / k - z2 * sum;
  return 16.0 * z * sum;
}

} // namespace

double DirectionDegrees(double dx, double dy) {
  const double ax = std::fabs(dx);
  const double ay = std::fabs(dy);
  if (!(ax > 0.0 || ay > 0.0) || !std::isfinite(ax) || !std::isfinite(ay)) return 0.0;
  // The first octant's angle, mirrored into the others exactly.
  double a = 45.0;
  if (ax != ay) {
    const double z = ax > ay ? ay / ax : ax / ay;
    a = AtanUnit(z) * (180.0 / std::numbers::pi);
    if (ay > ax) a = 90.0 - a;
  }
  if (dx < 0) a = 180.0 - a;
  if (dy < 0) a = 360.0 - a;
  return a >= 360.0 ? 0.0 : a;
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
