// The preview window beside the settings dialog: a top-level window owned
// by the dialog that draws the preview model of the visible tab into a
// memory bitmap and copies it to the screen in one go. Above the picture, a
// strip of controls edits the visible preset's drawing options; the window
// takes the focus only for them (a click there, or F6 from the dialog).
#pragma once

#include <windows.h>

#include "platform/win32/Win32DialogView.h"
#include "preview/PreviewModel.h"

namespace Win32 {

class PreviewWindow {
 public:
  PreviewWindow() = default;
  PreviewWindow(const PreviewWindow&) = delete;
  PreviewWindow& operator=(const PreviewWindow&) = delete;
  ~PreviewWindow();

  // Creates the window beside owner, hidden, with the options' strip of view.
  bool Create(HWND owner, Win32DialogView& view);
  // Places it beside the owner where it is now, clear of its OK and Cancel;
  // again whenever the owner moves, wherever the user has put it since.
  void PlaceBesideOwner();
  // The keyboard into the strip (shown first if hidden), and back to the dialog.
  void FocusStrip();
  void ReturnToOwner() const;
  // Keyboard handling of a message meant for the strip; true when handled.
  bool HandleStripKey(MSG& msg);
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
  int StripPx() const;

  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  Win32DialogView* view_ = nullptr;
  HFONT font_ = nullptr;
  HFONT stripFont_ = nullptr;
  UINT dpi_ = 96;
  bool hiddenWithOwner_ = false;
  Preview::Picture picture_;
};

} // namespace Win32
