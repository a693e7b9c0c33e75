// Joins texts by appending each to the first. Used instead of chains of
// "literal" + std::string, whose insert-at-front trips GCC 12's -Wrestrict
// false positive in the mingw-w64 build.
#pragma once

#include <string>

namespace JwHost {

template <typename... Parts>
std::string Cat(const Parts&... parts) {
  std::string s;
  (s += ... += parts);
  return s;
}

} // namespace JwHost
