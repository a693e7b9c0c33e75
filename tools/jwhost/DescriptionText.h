// The line grammar shared by the host and preset descriptions: one record a
// line, a keyword and blank-separated arguments; blank lines and lines whose
// first non-blank character is "#" are skipped. Text is UTF-8, line ends LF
// or CR LF. Numbers are strict here, unlike in the tool: a description is
// written by a developer, who wants to hear about a typo.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace JwHost {

struct DescriptionLine {
  int Number = 0; // 1-based line number in the file, for messages
  std::string_view Keyword;
  std::vector<std::string_view> Args;
  std::string_view Rest; // everything after the keyword and its separator
};

std::vector<DescriptionLine> SplitDescription(std::string_view text);

// Optional sign and decimal digits, within 32 bits.
bool ReadInt(std::string_view token, int& value);
// Optional sign, digits with at most one ".", optional exponent.
bool ReadReal(std::string_view token, double& value);

std::string LineMessage(int line, std::string_view message);
// text in double quotes, for messages.
std::string Quoted(std::string_view text);

} // namespace JwHost
