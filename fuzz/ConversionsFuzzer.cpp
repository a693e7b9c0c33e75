// The tolerant text conversions and the number formats. The input is read
// as a text for the readers, and its first eight bytes as a double and as an
// integer for the writers. The expected values of the readers come from the
// grammar alone, checked here by a separate walk.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "common/MyFunc.h"
#include "fuzz/FuzzChecks.h"

namespace {

using FuzzChecks::IsDigit;
using FuzzChecks::Printable;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// What TextToIntSafe must give, or nothing where the grammar leaves it open
// (a hexadecimal number of more than 8 digits that still fits in 32 bits).
std::optional<std::int32_t> ExpectedInt(std::string_view t) {
  while (!t.empty() && t[0] == ' ') t.remove_prefix(1);
  bool negative = false;
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
    negative = t[0] == '-';
    t.remove_prefix(1);
  }
  bool hex = false;
  if (t.size() >= 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    hex = true;
    t.remove_prefix(2);
  } else if (!t.empty() && (t[0] == '$' || t[0] == 'x' || t[0] == 'X')) {
    hex = true;
    t.remove_prefix(1);
  }
  if (t.empty()) return 0;
  if (hex) {
    std::uint64_t v = 0;
    for (char c : t) {
      const int d = HexDigit(c);
      if (d < 0) return 0;
      v = v * 16 + static_cast<std::uint64_t>(d);
      if (v > 0xFFFFFFFFull) return 0;
    }
    if (t.size() > 8) return std::nullopt;
    auto bits = static_cast<std::uint32_t>(v);
    if (negative) bits = 0u - bits;
    std::int32_t out;
    std::memcpy(&out, &bits, sizeof(out));
    return out;
  }
  std::int64_t v = 0;
  for (char c : t) {
    if (!IsDigit(c)) return 0;
    v = v * 10 + (c - '0');
    if (v > 2147483648LL) return 0;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<std::int32_t>::max()) return 0;
  return static_cast<std::int32_t>(v);
}

struct RealShape {
  bool Valid = false;
  bool Negative = false;
  bool PlainInteger = false; // digits only: no point, no exponent
  std::string_view Digits;
};

RealShape ShapeOfReal(std::string_view t) {
  RealShape shape;
  while (!t.empty() && t[0] == ' ') t.remove_prefix(1);
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
    shape.Negative = t[0] == '-';
    t.remove_prefix(1);
  }
  std::size_t i = 0;
  std::size_t digits = 0;
  bool point = false;
  for (; i < t.size(); ++i) {
    if (IsDigit(t[i])) {
      ++digits;
    } else if (t[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return shape;
  const std::size_t mantissaEnd = i;
  bool exponent = false;
  if (i < t.size()) {
    if (t[i] != 'e' && t[i] != 'E') return shape;
    exponent = true;
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    const std::size_t expStart = i;
    while (i < t.size() && IsDigit(t[i])) ++i;
    if (i == expStart || i != t.size()) return shape;
  }
  shape.Valid = true;
  shape.PlainInteger = !point && !exponent;
  shape.Digits = t.substr(0, mantissaEnd);
  return shape;
}

void CheckIntReading(std::string_view text) {
  const std::int32_t got = MyFunc::TextToIntSafe(text);
  const std::optional<std::int32_t> expected = ExpectedInt(text);
  if (expected) {
    FUZZ_CHECK(got == *expected, "TextToIntSafe(%s) = %d, expected %d", Printable(text).c_str(),
               got, *expected);
  }
}

void CheckRealReading(std::string_view text) {
  const double got = MyFunc::TextToFloatSafe(text);
  FUZZ_CHECK(std::isfinite(got), "TextToFloatSafe(%s) is not finite", Printable(text).c_str());
  const RealShape shape = ShapeOfReal(text);
  if (!shape.Valid) {
    FUZZ_CHECK(got == 0.0, "malformed %s read as %.17g", Printable(text).c_str(), got);
    return;
  }
  if (got != 0.0) {
    FUZZ_CHECK(std::signbit(got) == shape.Negative, "%s read with the wrong sign",
               Printable(text).c_str());
  }
  std::string_view digits = shape.Digits;
  while (digits.size() > 1 && digits[0] == '0') digits.remove_prefix(1);
  if (shape.PlainInteger && digits.size() <= 15) {
    // Whole numbers of up to 15 digits are exact in a double.
    double whole = 0.0;
    for (char c : digits) whole = whole * 10.0 + (c - '0');
    FUZZ_CHECK(std::fabs(got) == whole, "%s read as %.17g", Printable(text).c_str(), got);
  }
}

void CheckRealFormat(double value) {
  const std::string text = MyFunc::FormatReal(value);
  FUZZ_CHECK(FuzzChecks::IsWrittenReal(text), "FormatReal(%.17g) = %s", value, text.c_str());
  if (!std::isfinite(value) || value == 0.0) {
    FUZZ_CHECK(text == "0", "FormatReal(%.17g) = %s", value, text.c_str());
    return;
  }
  std::size_t significant = 0;
  for (char c : text) {
    if (c == 'E') break;
    if (IsDigit(c) && (significant > 0 || c != '0')) ++significant;
  }
  FUZZ_CHECK(significant <= 15, "FormatReal(%.17g) = %s", value, text.c_str());
  const double back = MyFunc::TextToFloatSafe(text);
  FUZZ_CHECK(std::fabs(back - value) <= 1e-14 * std::fabs(value),
             "FormatReal(%.17g) = %s reads back as %.17g", value, text.c_str(), back);
  FUZZ_CHECK(MyFunc::FormatReal(back) == text, "%s does not write back to itself", text.c_str());
}

void CheckIntFormat(std::int32_t value) {
  const std::string text = MyFunc::FormatInt(value);
  FUZZ_CHECK(FuzzChecks::IsWrittenInt(text), "FormatInt(%d) = %s", value, text.c_str());
  FUZZ_CHECK(MyFunc::TextToIntSafe(text) == value, "FormatInt(%d) = %s reads back as %d", value,
             text.c_str(), MyFunc::TextToIntSafe(text));
}

void CheckCleanText(std::string_view text) {
  const std::string clean = MyFunc::CleanText(text);
  FUZZ_CHECK(clean.size() <= text.size(), "CleanText grew the text");
  // No blank, control byte or ideographic space is left; pairs stay whole.
  for (std::size_t i = 0; i < clean.size(); ++i) {
    const auto b = static_cast<unsigned char>(clean[i]);
    if (MyFunc::IsLeadByte(b)) {
      if (i + 1 < clean.size()) {
        FUZZ_CHECK(!(b == 0x81 && static_cast<unsigned char>(clean[i + 1]) == 0x40),
                   "ideographic space left in %s", Printable(clean).c_str());
      }
      ++i;
      continue;
    }
    FUZZ_CHECK(b > 0x20, "byte %02X left at %zu of %s", b, i, Printable(clean).c_str());
  }
  FUZZ_CHECK(MyFunc::CleanText(clean) == clean, "CleanText is not idempotent on %s",
             Printable(text).c_str());
  FUZZ_CHECK(MyFunc::TextToBool(text) == MyFunc::TextToBool(clean),
             "TextToBool differs after cleaning %s", Printable(text).c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckIntReading(text);
  CheckRealReading(text);
  CheckCleanText(text);

  for (bool b : {false, true}) FUZZ_CHECK(MyFunc::TextToBool(MyFunc::BoolToText(b)) == b, "bool");

  if (size >= 8) {
    double value;
    std::memcpy(&value, data, sizeof(value));
    CheckRealFormat(value);
    std::int32_t whole;
    std::memcpy(&whole, data, sizeof(whole));
    CheckIntFormat(whole);
  }
  // Numbers in text form also go the other way round.
  const double read = MyFunc::TextToFloatSafe(text);
  if (read != 0.0) CheckRealFormat(read);
  return 0;
}
