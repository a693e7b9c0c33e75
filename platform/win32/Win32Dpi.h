// Scaling by the window's dots per inch, in one place. The layout table and
// the preview are given in pixels at 96 DPI; everything on screen passes
// through Scale with the DPI of its window. The per-monitor functions are
// looked up at run time: Windows 7 and 8 have none of them.
#pragma once

#include <windows.h>

namespace Win32 {

inline constexpr UINT BaseDpi = 96;

// The DPI of the monitor the window is on (per-monitor aware), else the
// system's DPI.
UINT WindowDpi(HWND window);

// A length of the 96-DPI layout at dpi; at 96 every value stays as it is.
inline int Scale(int pixels, UINT dpi) {
  return MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(BaseDpi));
}
inline double ScaleReal(double pixels, UINT dpi) {
  return pixels * static_cast<double>(dpi) / BaseDpi;
}

// AdjustWindowRectEx for the frame sizes at dpi.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

// Stops Windows 10's own rescaling of a dialog on a DPI change: the dialog
// places its controls itself.
void TakeOverDialogScaling(HWND dialog);

} // namespace Win32
