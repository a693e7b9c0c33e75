// What the dialog logic needs of the windowing layer, and nothing more.
// Texts are Shift-JIS bytes; the Win32 layer converts them at its edge.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace Settings {

// Handle of a control; NoControl when a name is not found.
using ControlId = int;
constexpr ControlId NoControl = -1;

class IDialogView {
 public:
  virtual ~IDialogView() = default;

  virtual void MoveWindow(int left, int top) = 0;
  virtual void GetWindowPosition(int& left, int& top) = 0;
  virtual void CloseWindow() = 0;
  // OK could not save: tell the user which file and why. The window stays.
  virtual void ReportSaveFailure(const std::filesystem::path& file, std::error_code reason) = 0;

  // A control of the window ("EditC", "TabControl1", "Frame21" ... "Frame210").
  virtual ControlId FindControl(std::string_view name) = 0;
  // A control inside a row frame ("CH1", "Edit1", "Edit2", "CH2", "CB1", "CB2", "CB3").
  virtual ControlId FindChild(ControlId parent, std::string_view name) = 0;

  // Edit boxes and the typing field of a combo box.
  virtual void SetText(ControlId control, std::string_view text) = 0;
  virtual std::string GetText(ControlId control) = 0;
  // Check boxes.
  virtual void SetChecked(ControlId control, bool checked) = 0;
  virtual bool IsChecked(ControlId control) = 0;
  // Lists: a position outside the list leaves nothing selected, and no
  // selection reads back as -1.
  virtual void ClearItems(ControlId control) = 0;
  virtual void AddItem(ControlId control, std::string_view text) = 0;
  virtual void SetSelected(ControlId control, int position) = 0;
  virtual int GetSelected(ControlId control) = 0;
  // The tab strip, without raising its change notifications.
  virtual void SelectTab(int index) = 0;
  virtual int SelectedTab() = 0;
};

} // namespace Settings
