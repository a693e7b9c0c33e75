// The preview window beside the settings dialog: a top-level window owned
// by the dialog that never takes the focus, draws the preview model of the
// visible tab into a memory bitmap and copies it to the screen in one go.
#pragma once

#include <windows.h>

#include "preview/PreviewModel.h"

namespace Win32 {

class PreviewWindow {
 public:
  PreviewWindow() = default;
  PreviewWindow(const PreviewWindow&) = delete;
  PreviewWindow& operator=(const PreviewWindow&) = delete;
  ~PreviewWindow();

  // Creates the window beside owner, hidden.
  bool Create(HWND owner);
  // Shows it without activating it.
  void Show() const;
  // The dialog is hidden (minimised) or shown again: the preview follows,
  // if it was showing.
  void OwnerHidden();
  void OwnerShown();
  void Draw(Preview::Picture picture);
  HWND Handle() const { return hwnd_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC target, const RECT& client) const;
  void UpdateFont();

  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  HFONT font_ = nullptr;
  UINT dpi_ = 96;
  bool hiddenWithOwner_ = false;
  Preview::Picture picture_;
};

} // namespace Win32
