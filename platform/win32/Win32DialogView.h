// The settings dialog's controls on a real window: created from the layout
// table in one loop, found by their names in the same table.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "platform/win32/DialogLayout.h"
#include "settings/DialogView.h"

namespace Win32 {

// Window class of the row frames: a white panel whose children take part in
// the dialog's keyboard handling.
inline constexpr wchar_t RowFrameClass[] = L"TFrame2";
// Posted by CloseWindow: the window is destroyed once the click that asked
// for it has been handled, never from inside the dialog logic.
inline constexpr UINT CloseNowMessage = WM_APP + 1;

class Win32DialogView final : public Settings::IDialogView {
 public:
  // Creates every control of the layout table on dialog, in focus order,
  // placed at dpi.
  void CreateControls(HWND dialog, HFONT font, UINT dpi);
  // Moves and sizes every control for dpi and gives it font (a DPI change).
  void PlaceControls(HFONT font, UINT dpi) const;
  // The drawing options' strip on window (the preview), found by name like
  // the dialog's controls but outside the dialog's focus order.
  void CreateStrip(HWND window, HFONT font, UINT dpi);
  void PlaceStrip(HFONT font, UINT dpi) const;
  // The strip's next (or previous) focus stop after focus; its first one
  // when focus is not in the strip.
  HWND NextStripStop(HWND focus, bool backwards) const;
  // True once the dialog logic has asked for the window to close.
  bool CloseRequested() const { return closeRequested_; }

  HWND Handle(Settings::ControlId id) const;
  HWND Find(std::string_view name) const { return Handle(Lookup(name)); }
  // The next (or previous) focus stop after the control holding focus.
  HWND NextTabStop(HWND focus, bool backwards) const;
  // A combo box entered by Tab selects its typed text, as an edit box does.
  void SelectTypedText(HWND control) const;

  void MoveWindow(int left, int top) override;
  void GetWindowPosition(int& left, int& top) override;
  void CloseWindow() override;
  void ReportSaveFailure(const std::filesystem::path& file, std::error_code reason) override;
  Settings::ControlId FindControl(std::string_view name) override { return Lookup(name); }
  Settings::ControlId FindChild(Settings::ControlId parent, std::string_view name) override;
  void SetText(Settings::ControlId control, std::string_view text) override;
  std::string GetText(Settings::ControlId control) override;
  void SetChecked(Settings::ControlId control, bool checked) override;
  bool IsChecked(Settings::ControlId control) override;
  void ClearItems(Settings::ControlId control) override;
  void AddItem(Settings::ControlId control, std::string_view text) override;
  void SetSelected(Settings::ControlId control, int position) override;
  int GetSelected(Settings::ControlId control) override;
  void SelectTab(int index) override;
  int SelectedTab() override;

 private:
  // One created control: its row of the layout table and the frame it is in.
  struct Instance {
    std::size_t Def;
    Settings::ControlId Frame; // NoControl for the window's own controls
    HWND Hwnd;
    bool Strip = false; // Def indexes OptionStrip instead of Layout
  };
  static const Win32Layout::ControlDef& DefOf(const Instance& c);
  HWND CreateOne(const Win32Layout::ControlDef& def, int id, HWND parent) const;
  void PlaceOne(const Instance& c, HFONT font, UINT dpi) const;
  Settings::ControlId Lookup(std::string_view name) const;

  HWND dialog_ = nullptr;
  std::vector<Instance> controls_;
  bool closeRequested_ = false;
};

} // namespace Win32
