#include <windows.h>

#include "tools/jwhost/Encoding.h"

namespace JwHost {

namespace {

constexpr UINT ShiftJis = 932;

bool ToWide(UINT codePage, DWORD flags, std::string_view text, std::wstring& wide) {
  wide.clear();
  if (text.empty()) return true;
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
  if (n <= 0) return false;
  wide.resize(static_cast<std::size_t>(n));
  return MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), n) == n;
}

bool FromWide(UINT codePage, std::wstring_view wide, std::string& out, bool strict) {
  out.clear();
  if (wide.empty()) return true;
  const int size = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  // Code page 65001 accepts neither of the last two arguments.
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = strict && !utf8 ? WC_NO_BEST_FIT_CHARS : 0;
  BOOL* defaultFlag = utf8 ? nullptr : &usedDefault;
  const int n =
      WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, defaultFlag);
  if (n <= 0) return false;
  out.resize(static_cast<std::size_t>(n));
  if (WideCharToMultiByte(codePage, flags, wide.data(), size, out.data(), n, nullptr,
                          defaultFlag) != n) {
    return false;
  }
  return !(strict && usedDefault);
}

} // namespace

bool Utf8ToCp932(std::string_view text, std::string& out) {
  std::wstring wide;
  if (!ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, text, wide)) return false;
  return FromWide(ShiftJis, wide, out, true);
}

std::string Cp932ToUtf8(std::string_view bytes) {
  std::wstring wide;
  std::string out;
  // Without MB_ERR_INVALID_CHARS, invalid bytes come out as U+FFFD or U+30FB.
  if (!ToWide(ShiftJis, 0, bytes, wide) || !FromWide(CP_UTF8, wide, out, false)) {
    return std::string(bytes);
  }
  return out;
}

std::filesystem::path PathFromUtf8(std::string_view text) {
  std::wstring wide;
  ToWide(CP_UTF8, 0, text, wide);
  return std::filesystem::path(wide);
}

std::string PathToUtf8(const std::filesystem::path& path) {
  std::string out;
  FromWide(CP_UTF8, path.native(), out, false);
  return out;
}

} // namespace JwHost
