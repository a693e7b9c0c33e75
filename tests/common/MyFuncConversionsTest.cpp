// Tolerant text conversions: every malformed text gives its neutral value.
#include <gtest/gtest.h>

#include <string>

#include "common/MyFunc.h"

using namespace MyFunc;

namespace {

struct TextCase {
  std::string Input;
  std::string Expected;
};

TEST(CleanText, DropsBlanksIdeographicSpacesAndControls) {
  const TextCase cases[] = {
      {" a b ", "ab"},
      {"a\tb\nc", "abc"},
      {"\x81\x40\x95\x5c\x81\x40\x8e\xa6",
       "\x95\x5c\x8e\xa6"},      // ideographic spaces before each kanji
      {"\xb1 \xb2", "\xb1\xb2"}, // half-width katakana stays
      {"\x95\x5c", "\x95\x5c"},  // second byte 0x5C stays with its pair
      {"\x82\x20", "\x82\x20"},  // second byte that looks like a blank
      {"", ""},
      {"\x7f\xfe\xff", "\x7f\xfe\xff"},
      {"ab\x82", "ab\x82"}, // lone lead byte at the end is kept
  };
  for (const auto& c : cases) EXPECT_EQ(CleanText(c.Input), c.Expected) << "input: " << c.Input;
}

TEST(TextToBool, AcceptsExactlyTheTrueWords) {
  const char* trueTexts[] = {"t",        " True ",   "tRuE",     "on",       "o n",
                             "\x82\x50", "\x81\x9b", "\x90\x5e", "\x90\xb3", "1",
                             "TRUE\t",   "TR",       "TRU"};
  for (const char* t : trueTexts) EXPECT_TRUE(TextToBool(t)) << "text: " << t;
  const char* falseTexts[] = {
      "",        "0",  "yes", "OFF",
      "TRUEX",   "T1", "11",  "\x82\x73\x82\x71\x82\x74\x82\x64", // full-width TRUE
      "\x82\x70"}; // full-width Q: its second byte "p" is no letter
  for (const char* t : falseTexts) EXPECT_FALSE(TextToBool(t)) << "text: " << t;
}

TEST(BoolToText, RoundTripsThroughTextToBool) {
  EXPECT_EQ(BoolToText(TextToBool("on")), "1");
  EXPECT_EQ(BoolToText(false), "0");
  EXPECT_FALSE(TextToBool(BoolToText(false)));
}

TEST(TextToIntSafe, ReadsDecimalAndHexOrGivesZero) {
  const struct {
    const char* Input;
    std::int32_t Expected;
  } cases[] = {
      {"42", 42},
      {"  -42", -42},
      {"+7", 7},
      {"$1F", 31},
      {"x1F", 31},
      {"X1f", 31},
      {"0x1F", 31},
      {"0X1f", 31},
      {"-$10", -16},
      {"007", 7},
      {"42 ", 0},
      {"4 2", 0},
      {"4.0", 0},
      {"- 5", 0},
      {"+", 0},
      {"$", 0},
      {"0x", 0},
      {"abc", 0},
      {"", 0},
      {"2147483647", 2147483647},
      {"2147483648", 0},
      {"-2147483648", INT32_MIN},
      {"-2147483649", 0},
      {"99999999999999999999999", 0},
      {"$FFFFFFFF", -1},
      {"$100000000", 0},
      {"-$80000000", INT32_MIN},
      {"+-1", 0},
      {"\t1", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TextToIntSafe(c.Input), c.Expected) << "input: '" << c.Input << "'";
}

TEST(TextToFloatSafe, ReadsDecimalRealsOrGivesZero) {
  const struct {
    const char* Input;
    double Expected;
  } cases[] = {
      {"1.5", 1.5},
      {" -0.25", -0.25},
      {"1e3", 1000.0},
      {"1E+3", 1000.0},
      {"2.5e-1", 0.25},
      {".5", 0.5},
      {"5.", 5.0},
      {"+2", 2.0},
      {"1,5", 0.0},
      {"1.5 ", 0.0},
      {"1e", 0.0},
      {"e3", 0.0},
      {"-", 0.0},
      {"", 0.0},
      {"   ", 0.0},
      {".", 0.0},
      {"1..2", 0.0},
      {"1.2.3", 0.0},
      {"inf", 0.0},
      {"nan", 0.0},
      {"infinity", 0.0},
      {"0x10", 0.0},
      {"1e400", 0.0},
      {"-1e400", 0.0},
      {"1e-400", 0.0},
      {"1e+", 0.0},
      {"--1", 0.0},
      {"0.1", 0.1},
      {"123456789012345678", 123456789012345678.0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TextToFloatSafe(c.Input), c.Expected) << "input: '" << c.Input << "'";
}

TEST(TextToFloatSafe, HugeDigitStringsStayFinite) {
  EXPECT_EQ(TextToFloatSafe(std::string(5000, '9')), 0.0); // beyond the range of a double
  EXPECT_DOUBLE_EQ(TextToFloatSafe("0." + std::string(5000, '3')), 1.0 / 3.0);
  EXPECT_EQ(TextToFloatSafe("1e99999999999999999999"), 0.0);
}

TEST(CopyToBuffer, CopiesBytesAndTerminator) {
  char buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), 'x');
  CopyToBuffer(buffer, "ab\x95\x5c");
  EXPECT_EQ(std::string(buffer), "ab\x95\x5c");
  EXPECT_EQ(buffer[5], 'x'); // nothing written past the terminator
  CopyToBuffer(buffer, "");
  EXPECT_EQ(buffer[0], '\0');
}

TEST(IsLeadByte, MatchesTheShiftJisRanges) {
  for (int b = 0; b < 256; ++b) {
    const bool expected = (b >= 0x80 && b <= 0x9f) || (b >= 0xe0 && b <= 0xfd);
    EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(b)), expected) << "byte " << b;
  }
}

} // namespace
