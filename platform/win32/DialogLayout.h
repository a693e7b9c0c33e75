// The settings dialog as data: one row per control, in focus order, with its
// parent, kind, name, rectangle in pixels (relative to its parent), text and
// style. The window layer creates the controls in one loop over this table
// and finds them by name in it; the GUI test driver uses the same table.
#pragma once

#include <cstddef>
#include <string_view>

namespace Win32Layout {

enum class Place : unsigned char {
  Window,   // the dialog's client area
  TabStrip, // coordinates relative to TabControl1; the control sits on the window above it
  RowFrame, // created once inside each of the ten row frames
  Preview,  // the preview window's client area (OptionStrip)
};

enum class ControlKind : unsigned char {
  TabStrip,
  Memo,
  PushButton,
  Label,
  Edit,
  RowFrame,
  CheckBox,
  DropDownList,  // choice only
  DropDownCombo, // with a typing field
};

enum Style : unsigned {
  Plain = 0,
  TabStop = 1u << 0,
  ImeOff = 1u << 1,
  DefaultButton = 1u << 2, // pressed by Enter
  CancelButton = 1u << 3,  // pressed by Esc and the close box
};

struct ControlDef {
  Place Parent;
  ControlKind Kind;
  std::string_view Name;
  int Left, Top, Width, Height;
  const wchar_t* Text;
  unsigned Style;
};

inline constexpr int ClientWidth = 589;
inline constexpr int ClientHeight = 314;
inline constexpr wchar_t Caption[] = L"Vomurel\u3000設定";
inline constexpr wchar_t ApplicationTitle[] = L"vomu_Vomurel";
// The preview window beside the dialog, and the dialog's system-menu item
// that shows it again (system command ids keep their low four bits free).
inline constexpr wchar_t PreviewCaption[] = L"Vomurel\u3000プレビュー";
inline constexpr unsigned ShowPreviewCommand = 0x0110;
inline constexpr wchar_t ShowPreviewText[] = L"プレビューを表示";
// The menu of the tab strip on the visible preset; the same items stand in
// the system menu.
inline constexpr unsigned CopyPresetCommand = 0x0120;
inline constexpr unsigned PastePresetCommand = 0x0130;
inline constexpr unsigned ClearPresetCommand = 0x0140;
inline constexpr wchar_t CopyPresetText[] = L"コピー(&C)";
inline constexpr wchar_t PastePresetText[] = L"貼り付け(&V)";
inline constexpr wchar_t ClearPresetText[] = L"消去(&D)";
// In the system menu they name the preset, and take access keys that no
// standard item there uses (R, M, S, N, X, C).
inline constexpr wchar_t CopyPresetSystemText[] = L"プリセットをコピー(&Y)";
inline constexpr wchar_t PastePresetSystemText[] = L"プリセットを貼り付け(&V)";
inline constexpr wchar_t ClearPresetSystemText[] = L"プリセットを消去(&D)";
inline constexpr wchar_t FontFace[] = L"ＭＳ ゴシック";
inline constexpr int FontHeight = 13;
inline constexpr int TabCount = 20;
inline constexpr int TabWidth = 26;
inline constexpr int TabHeight = 20;
inline constexpr int FieldHeight = 21; // edit and combo boxes
inline constexpr int ListItemHeight = 13;
inline constexpr int DropDownHeight = 300;           // open list of a combo box
inline constexpr unsigned long MemoColor = 0xF4EBBB; // RGB(187, 235, 244) as COLORREF

inline constexpr ControlDef Layout[] = {
    {Place::Window, ControlKind::PushButton, "Button1", 400, 240, 185, 33, L"ＯＫ(&Y)",
     TabStop | DefaultButton},
    {Place::Window, ControlKind::PushButton, "Button2", 400, 280, 185, 25, L"キャンセル(&N)",
     TabStop | CancelButton},
    {Place::Window, ControlKind::TabStrip, "TabControl1", 0, 0, 393, 305, nullptr, TabStop},
    {Place::TabStrip, ControlKind::Edit, "EditC", 64, 24, 313, 21, nullptr, TabStop},
    {Place::TabStrip, ControlKind::RowFrame, "Frame21", 6, 64, 380, 22, nullptr, Plain},
    {Place::TabStrip, ControlKind::RowFrame, "Frame22", 6, 88, 380, 22, nullptr, Plain},
    {Place::TabStrip, ControlKind::RowFrame, "Frame23", 6, 112, 380, 22, nullptr, Plain},
    {Place::TabStrip, ControlKind::RowFrame, "Frame24", 6, 136, 380, 22, nullptr, Plain},
    {Place::TabStrip, ControlKind::RowFrame, "Frame25", 6, 160, 380, 22, nullptr, Plain},
    {Place::TabStrip, ControlKind::RowFrame, "Frame26", 6, 184, 380, 22, nullptr, Plain},
    {Place::TabStrip, ControlKind::RowFrame, "Frame27", 6, 208, 380, 22, nullptr, Plain},
    {Place::TabStrip, ControlKind::RowFrame, "Frame28", 6, 232, 380, 22, nullptr, Plain},
    {Place::TabStrip, ControlKind::RowFrame, "Frame29", 6, 256, 380, 22, nullptr, Plain},
    {Place::TabStrip, ControlKind::RowFrame, "Frame210", 6, 280, 380, 22, nullptr, Plain},
    {Place::RowFrame, ControlKind::CheckBox, "CH1", 0, 2, 17, 17, nullptr, TabStop},
    {Place::RowFrame, ControlKind::Edit, "Edit1", 16, 0, 49, 21, nullptr, TabStop | ImeOff},
    {Place::RowFrame, ControlKind::Edit, "Edit2", 68, 0, 49, 21, nullptr, TabStop | ImeOff},
    {Place::RowFrame, ControlKind::CheckBox, "CH2", 120, 2, 17, 17, nullptr, TabStop},
    {Place::RowFrame, ControlKind::DropDownList, "CB1", 136, 0, 81, 21, nullptr, TabStop | ImeOff},
    {Place::RowFrame, ControlKind::DropDownList, "CB2", 216, 0, 97, 21, nullptr, TabStop | ImeOff},
    {Place::RowFrame, ControlKind::DropDownCombo, "CB3", 312, 0, 65, 21, nullptr, TabStop | ImeOff},
    {Place::TabStrip, ControlKind::Label, "Label1", 4, 28, 56, 13, L"コメント", Plain},
    {Place::TabStrip, ControlKind::Label, "Label2", 24, 48, 182, 13,
     L"間隔\u3000\u3000面取量 図寸時ON 色", Plain},
    {Place::TabStrip, ControlKind::Label, "Label3", 248, 48, 28, 13, L"線種", Plain},
    {Place::TabStrip, ControlKind::Label, "Label4", 328, 48, 28, 13, L"線幅", Plain},
    {Place::Window, ControlKind::Memo, "Memo1", 400, 0, 185, 233, nullptr, Plain},
};

// The drawing options of the visible preset, in a strip above the preview's
// picture: beside the dialog, whose own controls stay as they are. Named
// after the options file's keys; table order is the strip's focus order.
inline constexpr int StripHeight = 78;
inline constexpr ControlDef OptionStrip[] = {
    {Place::Preview, ControlKind::CheckBox, "StartCap", 6, 4, 82, 17, L"始点留線", TabStop},
    {Place::Preview, ControlKind::CheckBox, "EndCap", 92, 4, 82, 17, L"終点留線", TabStop},
    {Place::Preview, ControlKind::CheckBox, "RoundCorners", 178, 4, 100, 17, L"角を丸める",
     TabStop},
    {Place::Preview, ControlKind::Edit, "CapOverhang", 52, 27, 56, 21, nullptr, TabStop | ImeOff},
    {Place::Preview, ControlKind::CheckBox, "CapPaperUnit", 114, 29, 50, 17, L"図寸", TabStop},
    {Place::Preview, ControlKind::DropDownCombo, "CapLineWidth", 214, 27, 65, 21, nullptr,
     TabStop | ImeOff},
    {Place::Preview, ControlKind::DropDownList, "CapColor", 52, 52, 90, 21, nullptr,
     TabStop | ImeOff},
    {Place::Preview, ControlKind::DropDownList, "CapLineType", 194, 52, 97, 21, nullptr,
     TabStop | ImeOff},
    {Place::Preview, ControlKind::Label, "Label5", 6, 31, 44, 13, L"留線出", Plain},
    {Place::Preview, ControlKind::Label, "Label6", 168, 31, 44, 13, L"留線幅", Plain},
    {Place::Preview, ControlKind::Label, "Label7", 6, 56, 44, 13, L"留線色", Plain},
    {Place::Preview, ControlKind::Label, "Label8", 148, 56, 44, 13, L"留線種", Plain},
};
// Dialog item ids of the strip's controls: above every id of the dialog's.
inline constexpr int StripItemIdBase = 1000;
// The key that moves the keyboard between the dialog and the strip.
inline constexpr unsigned StripKey = 0x75; // VK_F6

inline constexpr std::size_t NotFound = static_cast<std::size_t>(-1);

// Index of the control with this name among the window's controls (window
// and tab strip) or, with inFrame, among the controls of a row frame.
std::size_t FindSpec(std::string_view name, bool inFrame);

// Index of the control with this name in OptionStrip, or NotFound.
std::size_t FindStripSpec(std::string_view name);

// The dialog item id of a table row: IDOK and IDCANCEL for the two buttons,
// so that the dialog manager's Enter, Esc and close box reach them.
int ItemId(std::size_t index);

// Caption of tab n (0..19): "①".."⑳".
wchar_t TabCaption(int index);

} // namespace Win32Layout
