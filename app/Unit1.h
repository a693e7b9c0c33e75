// The main form's run side: the driver that takes one run from reading the
// exchange file to writing it, and the choice between an unattended run
// ("1" or "2", or "select" along the lines selected in the host) and the
// settings dialog (anything else).
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "settings/Dialog.h"
#include "settings/DialogForm.h"
#include "settings/Presets.h"

namespace Unit1 {

inline constexpr char ApplicationTitle[] = "vomu_Vomurel";
inline constexpr char ExchangeFileName[] = "JWC_TEMP.TXT";

enum RunModes : int { DialogRun = 0, SingleSegmentRun = 1, PathRun = 2, SelectionRun = 3 };

// The first argument of a run along the lines selected in the host.
inline constexpr char SelectionArgument[] = "select";
// "線が選択されていません": told by the host when a selection run finds no line.
inline constexpr char NothingSelectedNotice[] =
    "\x90\xfc\x82\xaa\x91\x49\x91\xf0\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1";

// Only the first argument counts, compared byte for byte with "1", "2" and
// "select".
int RunModeFromArguments(const std::vector<std::string>& args);

class TForm1 final : public Settings::IDialogForm {
 public:
  // programPath: the real full path of the program file; args: the
  // command-line arguments after the program name.
  TForm1(std::filesystem::path programPath, std::vector<std::string> args);

  // The run driver. In an unattended run it draws, writes the exchange file
  // and returns asking to be closed; in a dialog run it fills view and
  // returns with the dialog waiting for the user.
  void FormShow(Settings::IDialogView* view) override;
  // Releases the exchange state; saves nothing.
  void FormClose() override;
  bool CloseRequested() const override { return closeRequested_; }

  // Dialog events, forwarded by the windowing layer.
  void Button1Click() override;
  void Button2Click() override;
  void TabControl1Changing() override;
  void TabControl1Change() override;
  void CopyPreset() override;
  void PastePreset() override;
  void ClearPreset() override;
  bool CanPastePreset() const override;

  void BuildMultiLines(int limit);
  // Walls along the selected lines, or the notice that there are none.
  void DrawSelectedWalls();

  std::filesystem::path ExchangePath() const { return ProgramFolder / ExchangeFileName; }
  std::filesystem::path SettingsPath() const;
  std::filesystem::path OptionsPath() const;

  std::filesystem::path ProgramPath;
  std::vector<std::string> Arguments;
  std::filesystem::path ProgramFolder;
  int RunMode = DialogRun;
  Settings::PresetTable Table;

 private:
  bool closeRequested_ = false;
  std::unique_ptr<Settings::PresetDialog> dialog_;
};

} // namespace Unit1
