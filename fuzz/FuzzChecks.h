// Checks shared by the fuzz targets. A failed check prints what was wrong
// and aborts, which libFuzzer reports as a crash with the input saved.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#define FUZZ_CHECK(cond, ...)                                                             \
  do {                                                                                    \
    if (!(cond)) {                                                                        \
      std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
      std::fprintf(stderr, __VA_ARGS__);                                                  \
      std::fprintf(stderr, "\n");                                                         \
      std::abort();                                                                       \
    }                                                                                     \
  } while (0)

namespace FuzzChecks {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The written form of a real: -?D+(.D+)?(E-?D+)? . No blanks, no plus sign,
// so also never "inf" or "nan".
inline bool IsWrittenReal(std::string_view t) {
  std::size_t i = 0;
  if (i < t.size() && t[i] == '-') ++i;
  const std::size_t intStart = i;
  while (i < t.size() && IsDigit(t[i])) ++i;
  if (i == intStart) return false;
  if (i < t.size() && t[i] == '.') {
    const std::size_t fracStart = ++i;
    while (i < t.size() && IsDigit(t[i])) ++i;
    if (i == fracStart) return false;
  }
  if (i < t.size() && t[i] == 'E') {
    ++i;
    if (i < t.size() && t[i] == '-') ++i;
    const std::size_t expStart = i;
    while (i < t.size() && IsDigit(t[i])) ++i;
    if (i == expStart) return false;
  }
  return i == t.size();
}

// The written form of an integer: -?D+ without leading zeros.
inline bool IsWrittenInt(std::string_view t) {
  if (!t.empty() && t[0] == '-') t.remove_prefix(1);
  if (t.empty() || (t.size() > 1 && t[0] == '0')) return false;
  for (char c : t) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

inline bool IsUpperHex(std::string_view t) {
  if (t.empty() || t.size() > 8) return false;
  for (char c : t) {
    if (!IsDigit(c) && !(c >= 'A' && c <= 'F')) return false;
  }
  return true;
}

// "inf", "nan" in any case anywhere in the text.
inline bool HasNonFiniteText(std::string_view t) {
  std::string lower(t);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos;
}

// Splits at single blanks; false when the line has empty fields.
template <typename F>
bool ForEachField(std::string_view line, F&& f) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t blank = line.find(' ', start);
    const std::string_view field = line.substr(start, blank - start);
    if (field.empty()) return false;
    f(field);
    if (blank == std::string_view::npos) return true;
    start = blank + 1;
  }
}

inline std::string Printable(std::string_view t) {
  std::string out;
  for (char ch : t) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x20 && c < 0x7F) {
      out.push_back(ch);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof(hex), "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

} // namespace FuzzChecks
