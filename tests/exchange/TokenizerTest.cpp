// Splitting a line into token slots: separators, quotes, Shift-JIS pairs and
// dropped bytes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "exchange/ZizAvodi.h"

using namespace ZizAvodi;

namespace {

std::vector<std::string> Tokens(std::string_view line) {
  std::string scratch;
  TokenizedLine result;
  TokenizeExchangeLine(line, scratch, result);
  return {result.Slots.begin(), result.Slots.begin() + result.SlotCount};
}

struct TokenCase {
  std::string Line;
  std::vector<std::string> Expected;
};

TEST(TokenizeExchangeLine, SplitsByTheByteRules) {
  using namespace std::string_literals;
  const TokenCase cases[] = {
      {"ci 1 2 3", {"ci", "1", "2", "3"}},
      {"ci 1 2 3 ", {"ci", "1", "2", "3", ""}}, // a trailing blank opens a counted slot
      {" \t lc5\t\t 2", {"lc5", "2"}},          // separator runs count once
      {"", {""}},
      {" \t ", {""}},
      // "=" opens quotes: blanks stay, tabs inside quotes are dropped
      {"file=C:\\my dir\\a\tb.jww", {"file=C:\\my dir\\ab.jww"}},
      // the first quote is dropped and never closes; later quotes are text
      {"ch 1 2 3 4 \"say \"hi\" = x", {"ch", "1", "2", "3", "4", "say \"hi\" = x"}},
      {"ab\"cd ef", {"abcd ef"}},
      {"ch 1 2 3 4 \"", {"ch", "1", "2", "3", "4", ""}},
      // a lead byte takes the next byte whatever it is: blank, quote, tab
      {"\x83\x20x y", {"\x83\x20x", "y"}},
      {"a\x82\"b c", {"a\x82\"b", "c"}},
      {"\x82\tz", {"\x82\tz"}},
      {"\x81\x40", {"\x81\x40"}}, // ideographic space is a character, not a separator
      {"ab\x82", {"ab"}},         // half a character at the end is dropped
      {"ab \xfc", {"ab", ""}},
      {"l\0c\x01\x1f"s + "3\xfe\xff", {"lc3"}},  // control bytes, 0xFE and 0xFF dropped
      {"\xb1\xb2 \x7f~", {"\xb1\xb2", "\x7f~"}}, // katakana and 0x7F kept
  };
  for (const auto& c : cases) EXPECT_EQ(Tokens(c.Line), c.Expected) << "line: " << c.Line;
}

TEST(TokenizeExchangeLine, KeepsThirtyTwoTokensAndDropsTheRest) {
  std::string line;
  for (int i = 0; i < 40; ++i) {
    line += 't';
    line += std::to_string(i);
    line += ' ';
  }
  const std::vector<std::string> tokens = Tokens(line);
  ASSERT_EQ(tokens.size(), 32u);
  EXPECT_EQ(tokens.front(), "t0");
  EXPECT_EQ(tokens.back(), "t31");
}

TEST(TokenizeExchangeLine, EmptiesSlotsOfTheLineBefore) {
  std::string scratch;
  TokenizedLine result;
  TokenizeExchangeLine("a b c d e f", scratch, result);
  TokenizeExchangeLine("x", scratch, result);
  EXPECT_EQ(result.SlotCount, 1);
  for (int i = 1; i < TokenSlots; ++i)
    EXPECT_TRUE(result.Slots[static_cast<std::size_t>(i)].empty());
}

// The six byte rules, one byte at a time, as plainly as they can be put.
std::vector<std::string> ReferenceTokens(std::string_view line) {
  std::vector<std::string> slots(1);
  bool outside = true;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const auto b = static_cast<unsigned char>(line[i]);
    if ((b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD)) {
      if (i + 1 == line.size()) break;
      slots.back() += line.substr(i, 2);
      ++i;
    } else if (b == '"' && outside) {
      outside = false;
    } else if (b == '=' && outside) {
      slots.back() += '=';
      outside = false;
    } else if ((b == ' ' || b == '\t') && outside) {
      if (!slots.back().empty()) slots.emplace_back();
    } else if (b >= 0x20 && b <= 0xFD) {
      slots.back() += static_cast<char>(b);
    }
  }
  return slots;
}

TEST(TokenizeExchangeLine, AgreesWithTheByteRulesOnRandomLines) {
  // Bytes on both sides of every class boundary, at every offset of a word.
  using namespace std::string_literals;
  const std::string alphabet =
      "a1-. \t\"=\x00\x1f\x20\x21\x7e\x7f\x80\x9f\xa0\xdf\xe0\xfd\xfe\xff"s;
  std::mt19937 random(99);
  std::string scratch;
  TokenizedLine result;
  for (int n = 0; n < 20000; ++n) {
    std::string line(random() % 40, ' ');
    for (char& c : line) c = alphabet[random() % alphabet.size()];
    std::vector<std::string> expected = ReferenceTokens(line);
    if (expected.size() > 32) expected.resize(32);
    TokenizeExchangeLine(line, scratch, result);
    const std::vector<std::string> actual(result.Slots.begin(),
                                          result.Slots.begin() + result.SlotCount);
    ASSERT_EQ(actual, expected) << "line of " << line.size() << " bytes, case " << n;
  }
}

} // namespace
