// An in-memory window for the dialog logic: controls found by name, each
// holding what the Win32 controls would hold. Lists behave like Win32 combo
// boxes: a position outside the list selects nothing and reads back as -1.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "settings/DialogView.h"
#include "settings/Unit2.h"

namespace Settings {

class FakeDialogView : public IDialogView {
 public:
  struct Control {
    std::string Name;
    ControlId Parent = NoControl; // NoControl: on the window itself
    std::string Text;
    bool Checked = false;
    std::vector<std::string> Items;
    int Selected = -1;
  };

  FakeDialogView() {
    Add("EditC", NoControl);
    Add("TabControl1", NoControl);
    for (int row = 1; row <= 10; ++row) {
      const ControlId frame = Add("Frame2" + std::to_string(row), NoControl);
      for (std::string_view name : RowControlNames) Add(std::string(name), frame);
    }
  }

  // The drawing options' controls, which the real window has beside the dialog.
  void AddOptionControls() {
    for (std::string_view name : OptionControlNames) Add(std::string(name), NoControl);
  }

  void MoveWindow(int left, int top) override {
    Left = left;
    Top = top;
  }
  void GetWindowPosition(int& left, int& top) override {
    left = Left;
    top = Top;
  }
  void CloseWindow() override { ++CloseCount; }
  void ReportSaveFailure(const std::filesystem::path& file, std::error_code reason) override {
    Failures.push_back({file, reason});
  }

  ControlId FindControl(std::string_view name) override { return Find(NoControl, name); }
  ControlId FindChild(ControlId parent, std::string_view name) override {
    return Find(parent, name);
  }

  void SetText(ControlId id, std::string_view text) override { At(id).Text = text; }
  std::string GetText(ControlId id) override { return At(id).Text; }
  void SetChecked(ControlId id, bool checked) override { At(id).Checked = checked; }
  bool IsChecked(ControlId id) override { return At(id).Checked; }
  void ClearItems(ControlId id) override {
    At(id).Items.clear();
    At(id).Selected = -1;
  }
  void AddItem(ControlId id, std::string_view text) override { At(id).Items.emplace_back(text); }
  void SetSelected(ControlId id, int position) override {
    Control& c = At(id);
    c.Selected = (position >= 0 && position < static_cast<int>(c.Items.size())) ? position : -1;
  }
  int GetSelected(ControlId id) override { return At(id).Selected; }
  void SelectTab(int index) override { Tab = index; }
  int SelectedTab() override { return Tab; }

  // A control of row n (1..10) by its name inside the frame.
  Control& Row(int row, std::string_view name) {
    return At(FindChild(FindControl("Frame2" + std::to_string(row)), name));
  }
  Control& Named(std::string_view name) { return At(FindControl(name)); }

  int Left = 0;
  int Top = 0;
  int CloseCount = 0;
  struct Failure {
    std::filesystem::path File;
    std::error_code Reason;
  };
  std::vector<Failure> Failures;
  int Tab = -1;
  std::vector<Control> Controls;

 private:
  ControlId Add(std::string name, ControlId parent) {
    Controls.push_back(Control{std::move(name), parent, {}, false, {}, -1});
    return static_cast<ControlId>(Controls.size() - 1);
  }
  ControlId Find(ControlId parent, std::string_view name) {
    for (std::size_t i = 0; i < Controls.size(); ++i) {
      if (Controls[i].Parent == parent && Controls[i].Name == name) {
        return static_cast<ControlId>(i);
      }
    }
    return NoControl;
  }
  Control& At(ControlId id) {
    if (id < 0 || id >= static_cast<ControlId>(Controls.size())) {
      ADD_FAILURE() << "the dialog used a control it did not find (id " << id << ")";
      return scratch_;
    }
    return Controls[static_cast<std::size_t>(id)];
  }
  Control scratch_;
};

} // namespace Settings
