// The real-number format against an exact reference: the double's exact
// decimal expansion by big-integer arithmetic, rounded half up to 15 digits.
// The cases are the hard ones for a formatter built on to_chars: values on
// or next to a halfway point between two 15-digit decimals.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "common/MyFunc.h"
#include "support/SplitMix.h"

namespace {

// Decimal big integer: nine digits per limb, least significant limb first;
// 5^1074 x 2^53 has 767 digits.
struct Decimal {
  std::array<std::uint32_t, 86> Limbs{};
  std::size_t Size = 1;
};
constexpr std::uint64_t LimbBase = 1000000000;

void Times(const Decimal& a, std::uint64_t factor, Decimal& out) { // factor < 1e18
  const std::uint64_t low = factor % LimbBase;
  const std::uint64_t high = factor / LimbBase;
  const std::uint32_t* in = a.Limbs.data();
  std::uint32_t* const to = out.Limbs.data();
  std::uint64_t carryLow = 0;
  std::uint64_t carryHigh = 0;
  std::uint64_t previous = 0;
  // out[i] = a[i] x low + a[i-1] x high, each below 1e18, plus carries.
  for (std::size_t i = 0; i <= a.Size + 1; ++i) {
    const std::uint64_t limb = i < a.Size ? in[i] : 0;
    const std::uint64_t t = limb * low + carryLow;
    carryLow = t / LimbBase;
    const std::uint64_t u = t % LimbBase + previous * high + carryHigh;
    carryHigh = u / LimbBase;
    to[i] = static_cast<std::uint32_t>(u % LimbBase);
    previous = limb;
  }
  out.Size = a.Size + 2;
  while (out.Size > 1 && to[out.Size - 1] == 0) --out.Size;
}

// Powers[i] = base^i for every exponent a double needs.
std::vector<Decimal> PowersOf(std::uint64_t base, std::size_t count) {
  std::vector<Decimal> powers(count);
  powers[0].Limbs[0] = 1;
  for (std::size_t i = 1; i < count; ++i) Times(powers[i - 1], base, powers[i]);
  return powers;
}

// The leading digits (at least 16 where the value has them) of the exact
// expansion of a finite positive double, and the exponent e with
// value = 0.d1d2... x 10^e.
void ExactLeadingDigits(double v, std::string& lead, int& e) {
  static const std::vector<Decimal> Pow2 = PowersOf(2, 972);
  static const std::vector<Decimal> Pow5 = PowersOf(5, 1075);
  const auto bits = std::bit_cast<std::uint64_t>(v);
  const auto biased = static_cast<int>(bits >> 52);
  std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
  int q = -1074;
  if (biased != 0) {
    m |= std::uint64_t{1} << 52;
    q = biased - 1075;
  }
  // m x 2^q is m x 2^q as an integer, or m x 5^-q x 10^q.
  Decimal n;
  Times(q >= 0 ? Pow2[static_cast<std::size_t>(q)] : Pow5[static_cast<std::size_t>(-q)], m, n);
  lead = std::to_string(n.Limbs[n.Size - 1]);
  const std::size_t top = lead.size();
  for (std::size_t i = n.Size - 1; i > 0 && lead.size() < 20; --i) {
    const std::string limb = std::to_string(n.Limbs[i - 1]);
    lead.append(9 - limb.size(), '0').append(limb);
  }
  e = static_cast<int>(top + 9 * (n.Size - 1)) + std::min(q, 0);
}

std::string ReferenceFormat(double value) {
  std::string lead;
  int e = 0;
  ExactLeadingDigits(std::fabs(value), lead, e);
  lead.resize(std::max<std::size_t>(lead.size(), 16), '0');
  std::string d = lead.substr(0, 15);
  if (lead[15] >= '5') { // a half goes up
    std::size_t i = d.size();
    while (i > 0 && d[i - 1] == '9') d[--i] = '0';
    if (i == 0) {
      d.insert(d.begin(), '1');
      d.pop_back();
      ++e;
    } else {
      ++d[i - 1];
    }
  }
  while (d.size() > 1 && d.back() == '0') d.pop_back();
  // 1.79769313486232E308 would not read back: the format keeps the cut digit.
  if (e == 309 && d > "179769313486231") d = "179769313486231";
  std::string out = value < 0 ? "-" : "";
  const auto k = static_cast<int>(d.size());
  if (e >= -3 && e <= 15) {
    if (e <= 0) {
      out.append("0.").append(static_cast<std::size_t>(-e), '0').append(d);
    } else if (k <= e) {
      out.append(d).append(static_cast<std::size_t>(e - k), '0');
    } else {
      d.insert(static_cast<std::size_t>(e), 1, '.');
      out.append(d);
    }
  } else {
    if (k > 1) d.insert(1, 1, '.');
    out.append(d).append("E").append(std::to_string(e - 1));
  }
  return out;
}

std::string General(double v) {
  std::string out;
  MyFunc::detail::AppendRealGeneral(out, v);
  return out;
}

// Both methods of the formatter, the fast one where it applies.
void ExpectReference(double v) {
  const std::string expected = ReferenceFormat(v);
  EXPECT_EQ(MyFunc::FormatReal(v), expected) << std::hexfloat << v;
  EXPECT_EQ(General(v), expected) << std::hexfloat << v;
}

double Parse(const std::string& text) {
  double v = 0;
  std::from_chars(text.data(), text.data() + text.size(), v);
  return v;
}

TEST(FormatRealReference, WritesTheExpectedForms) {
  EXPECT_EQ(ReferenceFormat(1234567890123445.0), "1.23456789012345E15");
  EXPECT_EQ(ReferenceFormat(-0.000012345), "-1.2345E-5");
  EXPECT_EQ(ReferenceFormat(123456789012345.0), "123456789012345");
  EXPECT_EQ(ReferenceFormat(0.0001), "0.0001");
  EXPECT_EQ(ReferenceFormat(std::numeric_limits<double>::max()), "1.79769313486231E308");
}

// The double nearest to d1...d15 5 x 10^k and its neighbours, for every
// decimal exponent: to_chars gives 17 digits ending in 50 for most of them.
TEST(FormatRealReference, NextToHalfwayPointsAtEveryExponent) {
  TestSupport::SplitMix rng(11);
  for (int k = -300; k <= 300; ++k) {
    for (int i = 0; i < 4; ++i) {
      const std::string digits = std::to_string(100000000000000 + rng.Next() % 900000000000000);
      const double v =
          Parse(digits.substr(0, 1) + "." + digits.substr(1) + "5e" + std::to_string(k));
      for (double w : {v, std::nextafter(v, 0.0), std::nextafter(v, 2 * v)}) {
        ExpectReference(w);
        ExpectReference(-w);
      }
    }
  }
}

// Doubles exactly halfway: an odd o over 2^n is a decimal of n places ending
// in 5, 16 significant digits when o x 5^n has 16 digits.
TEST(FormatRealReference, ExactHalfwayValuesGoUp) {
  TestSupport::SplitMix rng(5);
  std::uint64_t pow5 = 1;
  for (int n = 0; n <= 22; ++n, pow5 *= 5) {
    const std::uint64_t low = (1000000000000000 + pow5 - 1) / pow5;
    const std::uint64_t high =
        std::min<std::uint64_t>(10000000000000000 / pow5, std::uint64_t{1} << 53);
    for (int i = 0; i < 20; ++i) {
      std::uint64_t o = low + rng.Next() % (high - low);
      o = n == 0 ? o - o % 10 + 5 : o | 1;
      if (o >= high) continue;
      const double v = std::ldexp(static_cast<double>(o), -n);
      std::string lead;
      int e = 0;
      ExactLeadingDigits(v, lead, e);
      ASSERT_EQ(lead.find_last_not_of('0'), 15u) << lead;
      ASSERT_EQ(lead[15], '5') << lead;
      ExpectReference(v);
      ExpectReference(-v);
      ExpectReference(std::ldexp(v, 1)); // 16 digits ending in 0: no half
    }
  }
}

TEST(FormatRealReference, AtTheEdgesOfFixedNotation) {
  for (double edge : {0.0001, 1e15, 999999999999999.5, 99999.99999999995}) {
    double v = edge;
    for (int i = 0; i < 3; ++i) v = std::nextafter(v, 0.0);
    for (int i = 0; i < 7; ++i, v = std::nextafter(v, 2 * edge)) ExpectReference(v);
  }
}

TEST(FormatRealReference, MillionRandomDoubles) {
  TestSupport::SplitMix rng(2026);
  for (int i = 0; i < 1000000; ++i) {
    std::uint64_t bits = rng.Next();
    if (i % 2 != 0) { // exponents around the fixed-notation range
      bits = (bits & 0x800FFFFFFFFFFFFFull) | ((1023 - 20 + rng.Next() % 75) << 52);
    }
    const double v = std::bit_cast<double>(bits);
    if (!std::isfinite(v) || v == 0.0) continue;
    const std::string expected = ReferenceFormat(v);
    const std::string actual = MyFunc::FormatReal(v);
    const std::string general = i % 2 != 0 ? General(v) : expected;
    // Compared first: a million assertions alone would slow the debug build.
    if (actual != expected || general != expected) {
      ASSERT_EQ(actual, expected) << std::hexfloat << v;
      ASSERT_EQ(general, expected) << "general method " << std::hexfloat << v;
    }
  }
}

} // namespace
