#include "settings/Dialog.h"

#include <utility>

#include "common/MyFunc.h"
#include "settings/Unit2.h"

namespace Settings {
namespace {

bool IsPresetNumber(int preset) { return preset >= 1 && preset <= PresetCount; }

ControlId RowFrame(IDialogView& view, int row) {
  return view.FindControl("Frame2" + MyFunc::FormatInt(row));
}

// The options as OK stores them, with the readings of the options file.
DrawOptions ReadOptions(IDialogView& view, const OptionControls& c) {
  DrawOptions o;
  o.StartCap = view.IsChecked(c.StartCap);
  o.EndCap = view.IsChecked(c.EndCap);
  o.CapOverhang = CheckedOverhang(MyFunc::TextToFloatSafe(view.GetText(c.CapOverhang)));
  o.CapPaperUnit = view.IsChecked(c.CapPaperUnit);
  o.CapColor = view.GetSelected(c.CapColor);
  o.CapLineType = view.GetSelected(c.CapLineType);
  o.CapLineWidth = CheckedWidth(MyFunc::TextToIntSafe(view.GetText(c.CapLineWidth)));
  o.RoundCorners = view.IsChecked(c.RoundCorners);
  return o;
}

void ShowOptions(IDialogView& view, const OptionControls& c, const DrawOptions& o) {
  view.SetChecked(c.StartCap, o.StartCap);
  view.SetChecked(c.EndCap, o.EndCap);
  view.SetText(c.CapOverhang, MyFunc::FormatReal(o.CapOverhang));
  view.SetChecked(c.CapPaperUnit, o.CapPaperUnit);
  view.SetSelected(c.CapColor, o.CapColor);
  view.SetSelected(c.CapLineType, o.CapLineType);
  view.SetText(c.CapLineWidth, MyFunc::FormatInt(o.CapLineWidth));
  view.SetChecked(c.RoundCorners, o.RoundCorners);
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
    r.LineWidth = CheckedWidth(MyFunc::TextToIntSafe(view.GetText(c.Cb3)));
  }
  const OptionControls options = FindOptionControls(view);
  if (options.Present()) tab.Options = ReadOptions(view, options);
  return tab;
}

void PresetDialog::Open() {
  view_.MoveWindow(table_.WindowLeft, table_.WindowTop);
  for (int row = 1; row <= RowCount; ++row) InitRowFrame(view_, RowFrame(view_, row));
  const OptionControls options = FindOptionControls(view_);
  if (options.Present()) InitOptionControls(view_, options);
  view_.SelectTab(table_.CurrentPreset - 1);
  ShowTab(table_.CurrentPreset);
}

void PresetDialog::StoreTab(int preset) {
  if (!IsPresetNumber(preset)) return;
  TLineTable tab = ReadTab(view_);
  // Without their controls the options cannot have been edited: keep them.
  if (!FindOptionControls(view_).Present()) tab.Options = table_.Preset(preset).Options;
  table_.Preset(preset) = std::move(tab);
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
  const OptionControls options = FindOptionControls(view_);
  if (options.Present()) ShowOptions(view_, options, source.Options);
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
  std::filesystem::path failed;
  if (!SaveSettingsAndOptions(table_, settingsPath, OptionsPathFor(settingsPath), failed, reason)) {
    view_.ReportSaveFailure(failed, reason);
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
