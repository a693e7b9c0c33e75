#include "platform/win32/Win32Dpi.h"

namespace Win32 {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using DialogBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
constexpr int DialogScalingOff = 1; // DDC_DISABLE_ALL

FARPROC User32Function(const char* name) {
  // The window DLLs are delay-loaded: the first window has loaded user32.
  HMODULE user32 = LoadLibraryW(L"user32.dll");
  return user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
}

template <typename Fn>
Fn Lookup(const char* name) {
  // FARPROC to the real signature: the documented way to call by address.
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(User32Function(name)));
}

} // namespace

UINT WindowDpi(HWND window) {
  static const auto getDpiForWindow = Lookup<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow != nullptr && window != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi != 0) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : BaseDpi;
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
  static const auto adjustForDpi = Lookup<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  if (adjustForDpi != nullptr) {
    adjustForDpi(&rect, style, FALSE, exStyle, dpi);
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
}

void TakeOverDialogScaling(HWND dialog) {
  static const auto setBehavior = Lookup<DialogBehaviorFn>("SetDialogDpiChangeBehavior");
  if (setBehavior != nullptr) setBehavior(dialog, DialogScalingOff, DialogScalingOff);
}

} // namespace Win32
