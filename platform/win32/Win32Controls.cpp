#include "platform/win32/Win32Controls.h"

#include <climits>

#include "platform/win32/DialogLayout.h"
#include "platform/win32/Win32Dpi.h"

namespace Win32 {
namespace {

constexpr UINT ShiftJisCodePage = 932;

int ClampedLength(std::size_t size) {
  return size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

} // namespace

HFONT DialogFont(UINT dpi) {
  return CreateFontW(-Scale(Win32Layout::FontHeight, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                     SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     FIXED_PITCH | FF_MODERN, Win32Layout::FontFace);
}

std::wstring FromShiftJis(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int length = ClampedLength(bytes.size());
  const int needed = MultiByteToWideChar(ShiftJisCodePage, 0, bytes.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring text(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(ShiftJisCodePage, 0, bytes.data(), length, text.data(), needed);
  return text;
}

std::string ToShiftJis(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = ClampedLength(text.size());
  const int needed =
      WideCharToMultiByte(ShiftJisCodePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(ShiftJisCodePage, 0, text.data(), length, bytes.data(), needed, nullptr,
                      nullptr);
  return bytes;
}

std::wstring GetText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

void SetText(HWND control, const std::wstring& text) { SetWindowTextW(control, text.c_str()); }

} // namespace Win32
