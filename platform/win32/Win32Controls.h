// Thin wrappers over the Win32 controls the dialog uses, and the code page
// 932 conversion at the edge between the Shift-JIS core and the wide API.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>

namespace Win32 {

// Shift-JIS bytes <-> UTF-16, always code page 932 whatever the system's
// ANSI code page is. Characters that Shift-JIS cannot hold become '?'.
std::wstring FromShiftJis(std::string_view bytes);
std::string ToShiftJis(std::wstring_view text);

std::wstring GetText(HWND control);
// The dialog's font ("ＭＳ ゴシック", 13 pixels at 96 DPI) at dpi.
HFONT DialogFont(UINT dpi);
void SetText(HWND control, const std::wstring& text);

struct CheckBox {
  HWND Hwnd;
  bool IsChecked() const { return SendMessageW(Hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetChecked(bool checked) const {
    SendMessageW(Hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
};

// Both kinds of combo box: the drop-down list and the one with a typing field.
struct DropDown {
  HWND Hwnd;
  int Count() const { return static_cast<int>(SendMessageW(Hwnd, CB_GETCOUNT, 0, 0)); }
  void Clear() const { SendMessageW(Hwnd, CB_RESETCONTENT, 0, 0); }
  void Add(const std::wstring& item) const {
    SendMessageW(Hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  // A position outside the list selects nothing.
  void Select(int position) const {
    const bool inList = position >= 0 && position < Count();
    SendMessageW(Hwnd, CB_SETCURSEL, static_cast<WPARAM>(inList ? position : -1), 0);
  }
  // -1 (CB_ERR) when nothing is selected.
  int Selected() const { return static_cast<int>(SendMessageW(Hwnd, CB_GETCURSEL, 0, 0)); }
};

struct TabStrip {
  HWND Hwnd;
  // Setting the selection raises no TCN_SELCHANGING / TCN_SELCHANGE.
  void Select(int index) const { SendMessageW(Hwnd, TCM_SETCURSEL, static_cast<WPARAM>(index), 0); }
  int Selected() const { return static_cast<int>(SendMessageW(Hwnd, TCM_GETCURSEL, 0, 0)); }
};

} // namespace Win32
