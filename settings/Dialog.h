// The logic of the settings dialog: moving presets between the table and
// the controls. The controls always hold the preset of the selected tab;
// every other preset is up to date in the table.
#pragma once

#include <filesystem>
#include <optional>

#include "settings/DialogView.h"
#include "settings/Presets.h"

namespace Settings {

// The preset the controls show, read with the conversions that storing a
// tab uses: what OK would save, malformed text included.
TLineTable ReadTab(IDialogView& view);

class PresetDialog {
 public:
  PresetDialog(PresetTable& table, IDialogView& view) : table_(table), view_(view) {}

  // Places the window, sets up the ten row frames and shows the current preset.
  void Open();
  void StoreTab(int preset);
  void ShowTab(int preset);
  // Before the selected tab changes: store the tab being left.
  void TabControl1Changing();
  // After it changed: show the tab entered.
  void TabControl1Change();
  // OK: position, current preset and visible tab into the table, save the
  // settings file and (when needed) the options file, close. When saving
  // fails the user is told which file and why, and the dialog stays open
  // with every edit; the table then matches the controls, so a second OK
  // or a tab change works as before. The options file is the settings
  // file's path with ".ini", as both come from the program's path.
  void Button1Click(const std::filesystem::path& settingsPath);
  // Cancel, Esc and the close box: close, store nothing.
  void Button2Click();

  // The tab strip's menu, on the visible preset. None touches a file: OK
  // saves their result and Cancel discards it, as for typed edits.
  // Copy keeps the preset as the controls show it now, for this run only.
  void CopyPreset();
  // The visible preset becomes the copy; nothing happens before a copy.
  void PastePreset();
  // The visible preset becomes that of a first start.
  void ClearPreset();
  bool CanPastePreset() const { return copied_.has_value(); }

 private:
  // Puts preset into the table at the visible tab and shows it, so the
  // controls and the table agree as after a tab change.
  void ReplaceVisible(const TLineTable& preset);

  PresetTable& table_;
  IDialogView& view_;
  std::optional<TLineTable> copied_;
};

} // namespace Settings
