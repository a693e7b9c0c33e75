#include "app/Unit1.h"

#include "exchange/ZizAvodi.h"
#include "multiline/MultiLine.h"
#include "walls/Walls.h"

namespace Unit1 {

int RunModeFromArguments(const std::vector<std::string>& args) {
  if (args.empty()) return DialogRun;
  if (args[0] == "1") return SingleSegmentRun;
  if (args[0] == "2") return PathRun;
  if (args[0] == SelectionArgument) return SelectionRun;
  return DialogRun;
}

TForm1::TForm1(std::filesystem::path programPath, std::vector<std::string> args)
    : ProgramPath(std::move(programPath)), Arguments(std::move(args)) {}

std::filesystem::path TForm1::SettingsPath() const {
  return Settings::SettingsPathFor(ProgramPath);
}

std::filesystem::path TForm1::OptionsPath() const { return Settings::OptionsPathFor(ProgramPath); }

void TForm1::FormShow(Settings::IDialogView* view) {
  ZizAvodi::ResetExchangeState();
  ProgramFolder = ProgramPath.parent_path();
  ZizAvodi::ReadExchangeFile(ExchangePath()); // a missing file leaves the defaults
  ZizAvodi::ResetOutputState();
  Settings::LoadSettings(Table, SettingsPath());
  Settings::LoadOptions(Table, OptionsPath());
  RunMode = RunModeFromArguments(Arguments);

  if (RunMode != DialogRun) {
    // Every output begins with the host's own layer group and layer.
    ZizAvodi::EmitLayerGroup(ZizAvodi::Exchange.InitialLayerGroup);
    ZizAvodi::EmitLayer(ZizAvodi::Exchange.InitialLayer);
    if (RunMode == SelectionRun) {
      DrawSelectedWalls();
    } else {
      BuildMultiLines(RunMode == SingleSegmentRun ? 1 : 98);
    }
    ZizAvodi::WriteExchangeFile(ExchangePath());
    closeRequested_ = true;
    return;
  }
  if (view == nullptr) {
    closeRequested_ = true;
    return;
  }
  dialog_ = std::make_unique<Settings::PresetDialog>(Table, *view);
  dialog_->Open();
}

void TForm1::FormClose() {
  dialog_.reset();
  ZizAvodi::FreeExchangeState();
}

void TForm1::Button1Click() {
  if (dialog_) dialog_->Button1Click(SettingsPath());
}

void TForm1::Button2Click() {
  if (dialog_) dialog_->Button2Click();
}

void TForm1::TabControl1Changing() {
  if (dialog_) dialog_->TabControl1Changing();
}

void TForm1::TabControl1Change() {
  if (dialog_) dialog_->TabControl1Change();
}

void TForm1::CopyPreset() {
  if (dialog_) dialog_->CopyPreset();
}

void TForm1::PastePreset() {
  if (dialog_) dialog_->PastePreset();
}

void TForm1::ClearPreset() {
  if (dialog_) dialog_->ClearPreset();
}

bool TForm1::CanPastePreset() const { return dialog_ && dialog_->CanPastePreset(); }

void TForm1::BuildMultiLines(int limit) {
  const auto& ex = ZizAvodi::Exchange;
  const double scale = ex.LayerGroupScales[static_cast<std::size_t>(ex.InitialLayerGroup)];
  MultiLine::BuildMultiLines(ex.PickedPoints, Table.Preset(Table.CurrentPreset), scale, limit);
}

void TForm1::DrawSelectedWalls() {
  const auto& ex = ZizAvodi::Exchange;
  const double scale = ex.LayerGroupScales[static_cast<std::size_t>(ex.InitialLayerGroup)];
  MultiLine::WriterSink writer;
  if (!Walls::DrawWalls(Walls::SelectedSegments(ex), Table.Preset(Table.CurrentPreset), scale,
                        writer)) {
    ZizAvodi::EmitNotice(NothingSelectedNotice);
  }
}

} // namespace Unit1
