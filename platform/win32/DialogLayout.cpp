#include "platform/win32/DialogLayout.h"

namespace Win32Layout {

std::size_t FindSpec(std::string_view name, bool inFrame) {
  for (std::size_t i = 0; i < std::size(Layout); ++i) {
    if ((Layout[i].Parent == Place::RowFrame) == inFrame && Layout[i].Name == name) return i;
  }
  return NotFound;
}

std::size_t FindStripSpec(std::string_view name) {
  for (std::size_t i = 0; i < std::size(OptionStrip); ++i) {
    if (OptionStrip[i].Name == name) return i;
  }
  return NotFound;
}

int ItemId(std::size_t index) {
  // IDOK and IDCANCEL from winuser.h; this file stays free of Windows headers
  // so that the table also builds into the native tools.
  constexpr int IdOk = 1;
  constexpr int IdCancel = 2;
  if (Layout[index].Style & DefaultButton) return IdOk;
  if (Layout[index].Style & CancelButton) return IdCancel;
  return 100 + static_cast<int>(index);
}

wchar_t TabCaption(int index) {
  // U+2460 CIRCLED DIGIT ONE .. U+2473 CIRCLED NUMBER TWENTY.
  return static_cast<wchar_t>(0x2460 + index);
}

} // namespace Win32Layout
