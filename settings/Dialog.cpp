#include "settings/Dialog.h"

#include "common/MyFunc.h"
#include "settings/Unit2.h"

namespace Settings {
namespace {

bool IsPresetNumber(int preset) { return preset >= 1 && preset <= PresetCount; }

ControlId RowFrame(IDialogView& view, int row) {
  return view.FindControl("Frame2" + MyFunc::FormatInt(row));
}

} // namespace

TLineTable ReadTab(IDialogView& view) {
  TLineTable tab;
  tab.Comment = view.GetText(view.FindControl("EditC"));
  for (int row = 1; row <= RowCount; ++row) {
    const RowControls c = FindRowControls(view, RowFrame(view, row));
    LineRow& r = tab.Row(row);
    r.Enabled = view.IsChecked(c.Ch1);
    r.Interval = MyFunc::TextToFloatSafe(view.GetText(c.Edit1));
    r.Chamfer = MyFunc::TextToFloatSafe(view.GetText(c.Edit2));
    r.PaperUnit = view.IsChecked(c.Ch2);
    r.Color = view.GetSelected(c.Cb1);
    r.LineType = view.GetSelected(c.Cb2);
    const std::int32_t width = MyFunc::TextToIntSafe(view.GetText(c.Cb3));
    r.LineWidth = (width < MinLineWidth || width > MaxLineWidth) ? MinLineWidth : width;
  }
  return tab;
}

void PresetDialog::Open() {
  view_.MoveWindow(table_.WindowLeft, table_.WindowTop);
  for (int row = 1; row <= RowCount; ++row) InitRowFrame(view_, RowFrame(view_, row));
  view_.SelectTab(table_.CurrentPreset - 1);
  ShowTab(table_.CurrentPreset);
}

void PresetDialog::StoreTab(int preset) {
  if (IsPresetNumber(preset)) table_.Preset(preset) = ReadTab(view_);
}

void PresetDialog::ShowTab(int preset) {
  if (!IsPresetNumber(preset)) return;
  const TLineTable& source = table_.Preset(preset);
  view_.SetText(view_.FindControl("EditC"), source.Comment);
  for (int row = 1; row <= RowCount; ++row) {
    const RowControls c = FindRowControls(view_, RowFrame(view_, row));
    const LineRow& r = source.Row(row);
    view_.SetChecked(c.Ch1, r.Enabled);
    view_.SetText(c.Edit1, MyFunc::FormatReal(r.Interval));
    view_.SetText(c.Edit2, MyFunc::FormatReal(r.Chamfer));
    view_.SetChecked(c.Ch2, r.PaperUnit);
    view_.SetSelected(c.Cb1, r.Color);
    view_.SetSelected(c.Cb2, r.LineType);
    view_.SetText(c.Cb3, MyFunc::FormatInt(r.LineWidth));
  }
}

void PresetDialog::TabControl1Changing() { StoreTab(view_.SelectedTab() + 1); }

void PresetDialog::TabControl1Change() { ShowTab(view_.SelectedTab() + 1); }

void PresetDialog::Button1Click(const std::filesystem::path& settingsPath) {
  int left = 0;
  int top = 0;
  view_.GetWindowPosition(left, top);
  table_.WindowLeft = left;
  table_.WindowTop = top;
  const int preset = view_.SelectedTab() + 1;
  // A tab strip without a selection cannot name a preset; keep the old one
  // rather than save a number the next load would reject.
  if (IsPresetNumber(preset)) table_.CurrentPreset = preset;
  StoreTab(table_.CurrentPreset);
  std::error_code reason;
  if (!SaveSettings(table_, settingsPath, reason)) {
    view_.ReportSaveFailure(settingsPath, reason);
    return;
  }
  view_.CloseWindow();
}

void PresetDialog::Button2Click() { view_.CloseWindow(); }

void PresetDialog::CopyPreset() { copied_ = ReadTab(view_); }

void PresetDialog::PastePreset() {
  if (copied_) ReplaceVisible(*copied_);
}

void PresetDialog::ClearPreset() { ReplaceVisible(TLineTable{}); }

void PresetDialog::ReplaceVisible(const TLineTable& preset) {
  const int visible = view_.SelectedTab() + 1;
  if (!IsPresetNumber(visible)) return;
  table_.Preset(visible) = preset;
  ShowTab(visible);
}

} // namespace Settings
