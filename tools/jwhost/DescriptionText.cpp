#include "tools/jwhost/DescriptionText.h"

#include "common/MyFunc.h"

namespace JwHost {

namespace {

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Index just past the digits starting at i; nonZero tells whether one of
// them was not "0".
std::size_t SkipDigits(std::string_view s, std::size_t i, bool& nonZero) {
  while (i < s.size() && IsDigit(s[i])) {
    if (s[i] != '0') nonZero = true;
    ++i;
  }
  return i;
}

} // namespace

std::vector<DescriptionLine> SplitDescription(std::string_view text) {
  std::vector<DescriptionLine> lines;
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    // A trailing CR belongs to the line end, not to the last argument.
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    std::string_view line = TrimBlanks(raw);
    if (line.empty() || line.front() == '#') continue;

    DescriptionLine d;
    d.Number = number;
    std::size_t i = 0;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    d.Keyword = line.substr(0, i);
    // Rest keeps inner and trailing blanks of free texts; only the one
    // separator after the keyword goes.
    const auto start = static_cast<std::size_t>(line.data() - raw.data()) + d.Keyword.size();
    d.Rest = raw.substr(start < raw.size() ? start + 1 : raw.size());
    while (i < line.size()) {
      while (i < line.size() && IsBlank(line[i])) ++i;
      const std::size_t b = i;
      while (i < line.size() && !IsBlank(line[i])) ++i;
      if (i > b) d.Args.push_back(line.substr(b, i - b));
    }
    lines.push_back(d);
  }
  return lines;
}

bool ReadInt(std::string_view token, int& value) {
  std::size_t i = 0;
  if (i < token.size() && (token[i] == '-' || token[i] == '+')) ++i;
  bool nonZero = false;
  const std::size_t end = SkipDigits(token, i, nonZero);
  if (end == i || end != token.size()) return false;
  value = MyFunc::TextToIntSafe(token);
  // The conversion gives 0 for a number beyond 32 bits.
  return value != 0 || !nonZero;
}

bool ReadReal(std::string_view token, double& value) {
  std::size_t i = 0;
  if (i < token.size() && (token[i] == '-' || token[i] == '+')) ++i;
  bool nonZero = false;
  const std::size_t intEnd = SkipDigits(token, i, nonZero);
  std::size_t digits = intEnd - i;
  i = intEnd;
  if (i < token.size() && token[i] == '.') {
    const std::size_t fracEnd = SkipDigits(token, i + 1, nonZero);
    digits += fracEnd - i - 1;
    i = fracEnd;
  }
  if (digits == 0) return false;
  if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
    ++i;
    if (i < token.size() && (token[i] == '-' || token[i] == '+')) ++i;
    bool ignored = false;
    const std::size_t expEnd = SkipDigits(token, i, ignored);
    if (expEnd == i) return false;
    i = expEnd;
  }
  if (i != token.size()) return false;
  value = MyFunc::TextToFloatSafe(token);
  // The conversion gives 0.0 for a magnitude a double cannot hold.
  return value != 0.0 || !nonZero;
}

std::string LineMessage(int line, std::string_view message) {
  std::string s = "line ";
  MyFunc::AppendInt(s, line);
  s += ": ";
  s += message;
  return s;
}

std::string Quoted(std::string_view text) {
  std::string s = "\"";
  s += text;
  s += '"';
  return s;
}

} // namespace JwHost
