// Compiled with -fexec-charset=CP932: every narrow literal below is stored
// as Shift-JIS bytes, the form the rest of the core works in.
#include "settings/Unit2.h"

#include "common/MyFunc.h"

namespace Settings {
namespace {

// Appends prefix followed by each number of first..last.
void AppendNumbered(std::vector<std::string>& items, const char* prefix, int first, int last) {
  for (int n = first; n <= last; ++n) items.push_back(prefix + MyFunc::FormatInt(n));
}

std::vector<std::string> MakeColorItems() {
  std::vector<std::string> items{"現在線色"};
  AppendNumbered(items, "線色", 1, 8);
  for (const char* name : {"補助線色", "SXF/黒色", "SXF/赤色", "SXF/緑色", "SXF/青色", "SXF/黄色",
                           "SXF/紫色", "SXF/水色", "SXF/白色", "S/濃紫色", "SXF/茶色", "SXF/橙色",
                           "S/明緑色", "S/明青色", "S/薄紫色", "S/明灰色", "S/暗灰色"}) {
    items.emplace_back(name);
  }
  AppendNumbered(items, "SXF-", 17, 256); // positions 26..265
  return items;
}

std::vector<std::string> MakeLineTypeItems() {
  std::vector<std::string> items;
  for (const char* name : {"現在線種", "実線", "点線1", "点線2", "点線3", "一点鎖線1", "一点鎖線2",
                           "二点鎖線1", "二点鎖線2", "補助線種"}) {
    items.emplace_back(name);
  }
  AppendNumbered(items, "ランダム線", 1, 5); // positions 10..14
  AppendNumbered(items, "倍長線種", 1, 4);   // positions 15..18
  for (const char* name :
       {"SXF/実線", "SXF/破線", "跳び破線", "一点長鎖線", "二点長鎖線", "三点長鎖線", "点線",
        "一点鎖線", "二点鎖線", "一点短鎖線", "一点二短鎖線", "二点短鎖線", "二点二短鎖線",
        "三点短鎖線", "三点二短鎖線", "(予約)"}) {
    items.emplace_back(name);
  }
  AppendNumbered(items, "SXF-", 17, 32); // positions 35..50
  return items;
}

} // namespace

const std::vector<std::string>& ColorItems() {
  static const std::vector<std::string> items = MakeColorItems();
  return items;
}

const std::vector<std::string>& LineTypeItems() {
  static const std::vector<std::string> items = MakeLineTypeItems();
  return items;
}

const std::vector<std::string>& WidthItems() {
  // The repeated values are part of the list as users know it.
  static const std::vector<std::string> items{
      "-1",  "0",   "10",  "20",  "30", "40", "50", "60", "70", "80", "90",  "100", "120",
      "150", "200", "250", "300", "13", "18", "25", "35", "50", "70", "100", "140", "200"};
  return items;
}

const std::vector<std::string>& HelpLines() {
  static const std::vector<std::string> lines{
      "◆項目の最初のチェックは",
      "　作図するか否かを指定",
      "　線10本まで同時作図可能",
      "　チェックが１つもない場合",
      "　作図されません",
      "◆間隔値は基準線からの",
      "　距離で、通常実寸mm",
      "　図寸mmで入力する場合",
      "　にはその項目にチェック",
      "　重複線にならないよう",
      "　注意して下さい",
      "◆現在のレイヤグループ",
      "　・レイヤに作図します",
      "◆線幅に-1を指定すると",
      "　現在の線幅指示",
      "　0～30000まで指示可能",
      "　但し外部変形では",
      "　最大5000の様子です",
      "　",
      "◆ブロック図形内のもの",
      "　は処理出来ませんので",
      "　御注意下さい。",
      "　ブロック編集内で行う",
      "　場合には、本ソフトを",
      "　Jw_cadのインストール・",
      "　フォルダに配置して",
      "　実行を行う必要がある",
      "　場合があります。",
  };
  return lines;
}

RowControls FindRowControls(IDialogView& view, ControlId frame) {
  const auto find = [&](std::size_t i) { return view.FindChild(frame, RowControlNames[i]); };
  return {find(0), find(1), find(2), find(3), find(4), find(5), find(6)};
}

namespace {

void Fill(IDialogView& view, ControlId list, const std::vector<std::string>& items) {
  view.ClearItems(list);
  for (const std::string& item : items) view.AddItem(list, item);
}

} // namespace

bool OptionControls::Present() const {
  for (const ControlId id : {StartCap, EndCap, CapOverhang, CapPaperUnit, CapColor, CapLineType,
                             CapLineWidth, RoundCorners}) {
    if (id == NoControl) return false;
  }
  return true;
}

OptionControls FindOptionControls(IDialogView& view) {
  const auto find = [&](std::size_t i) { return view.FindControl(OptionControlNames[i]); };
  return {find(0), find(1), find(2), find(3), find(4), find(5), find(6), find(7)};
}

void InitOptionControls(IDialogView& view, const OptionControls& c) {
  Fill(view, c.CapColor, ColorItems());
  Fill(view, c.CapLineType, LineTypeItems());
  Fill(view, c.CapLineWidth, WidthItems());
}

void InitRowFrame(IDialogView& view, ControlId frame) {
  const RowControls c = FindRowControls(view, frame);
  view.SetChecked(c.Ch1, false);
  view.SetText(c.Edit1, "0.0");
  view.SetText(c.Edit2, "0.0");
  view.SetChecked(c.Ch2, false);
  Fill(view, c.Cb1, ColorItems());
  Fill(view, c.Cb2, LineTypeItems());
  Fill(view, c.Cb3, WidthItems());
  view.SetSelected(c.Cb1, 0);
  view.SetSelected(c.Cb2, 0);
  view.SetText(c.Cb3, "-1");
}

} // namespace Settings
