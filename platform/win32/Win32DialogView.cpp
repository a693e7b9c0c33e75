#include "platform/win32/Win32DialogView.h"

#include <commctrl.h>
#include <imm.h>

#include <cerrno>
#include <string>

#include "platform/win32/DialogLayout.h"
#include "platform/win32/Win32Controls.h"
#include "platform/win32/Win32Dpi.h"

namespace Win32 {

using Settings::ControlId;
using Settings::NoControl;
using namespace Win32Layout;

namespace {

struct ClassAndStyle {
  const wchar_t* Class;
  DWORD Style;
  DWORD ExStyle;
};

ClassAndStyle ClassFor(const ControlDef& def) {
  switch (def.Kind) {
    case ControlKind::TabStrip:
      // Lowest in the z-order and clipped by its siblings: the page's
      // controls sit on the window above it.
      return {WC_TABCONTROLW, WS_CLIPSIBLINGS | TCS_TABS | TCS_SINGLELINE | TCS_FIXEDWIDTH, 0};
    case ControlKind::Memo:
      // ES_AUTOHSCROLL without a horizontal bar: long lines are not wrapped.
      return {
          L"EDIT",
          ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | WS_VSCROLL,
          WS_EX_CLIENTEDGE};
    case ControlKind::PushButton:
      return {L"BUTTON",
              static_cast<DWORD>((def.Style & DefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
              0};
    case ControlKind::Label:
      return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::Edit:
      return {L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::RowFrame:
      return {RowFrameClass, 0, WS_EX_CONTROLPARENT};
    case ControlKind::CheckBox:
      return {L"BUTTON", BS_AUTOCHECKBOX, 0};
    case ControlKind::DropDownList:
      return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL, 0};
    case ControlKind::DropDownCombo:
      return {WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 0};
  }
  return {L"STATIC", 0, 0};
}

bool IsComboBox(ControlKind kind) {
  return kind == ControlKind::DropDownList || kind == ControlKind::DropDownCombo;
}

bool CanTakeFocus(HWND hwnd) { return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd); }

constexpr wchar_t SaveFailedText[] = L"設定を保存できませんでした。";

// The C runtime's error numbers that a failed save can bring, as the
// system's own codes, so that the message is the system's text.
DWORD SystemCodeOf(int number) {
  switch (number) {
    case EACCES:
    case EPERM:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case ENOENT:
      return ERROR_PATH_NOT_FOUND;
    case ENOSPC:
      return ERROR_DISK_FULL;
    case EROFS:
      return ERROR_WRITE_PROTECT;
    case EBUSY:
      return ERROR_SHARING_VIOLATION;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    default:
      return ERROR_WRITE_FAULT;
  }
}

std::wstring SystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length > 0 && buffer != nullptr ? std::wstring(buffer, length) : L"";
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  return text;
}

std::wstring ReasonText(std::error_code reason) {
  // Win32 codes come from the file system library, C runtime numbers from
  // the stream functions.
  const DWORD code = reason.category() == std::system_category()
                         ? static_cast<DWORD>(reason.value())
                         : SystemCodeOf(reason.value());
  std::wstring text = SystemMessage(code);
  if (text.empty()) text = L"(" + std::to_wstring(reason.value()) + L")";
  return text;
}

} // namespace

const ControlDef& Win32DialogView::DefOf(const Instance& c) {
  return c.Strip ? OptionStrip[c.Def] : Layout[c.Def];
}

HWND Win32DialogView::CreateOne(const ControlDef& def, int id, HWND parent) const {
  const ClassAndStyle cs = ClassFor(def);
  DWORD style = WS_CHILD | WS_VISIBLE | cs.Style;
  if (def.Style & TabStop) style |= WS_TABSTOP;
  // Created without a size: PlaceOne gives every control its rectangle.
  HWND hwnd = CreateWindowExW(cs.ExStyle, cs.Class, def.Text != nullptr ? def.Text : L"", style, 0,
                              0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
  if (hwnd == nullptr) return nullptr;
  if (def.Style & ImeOff) {
    // IACE_CHILDREN reaches the typing field inside a combo box as well.
    ImmAssociateContextEx(hwnd, nullptr, IACE_CHILDREN);
  }
  if (def.Kind == ControlKind::TabStrip) {
    for (int i = 0; i < TabCount; ++i) {
      wchar_t caption[2] = {TabCaption(i), L'\0'};
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = caption;
      SendMessageW(hwnd, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
  }
  return hwnd;
}

void Win32DialogView::PlaceOne(const Instance& c, HFONT font, UINT dpi) const {
  const ControlDef& def = DefOf(c);
  HWND hwnd = c.Hwnd;
  if (hwnd == nullptr) return;
  // Controls on the tab strip sit on the window, offset by the strip's place.
  int dx = 0;
  int dy = 0;
  if (def.Parent == Place::TabStrip) {
    const std::size_t strip = FindSpec("TabControl1", false);
    dx = Layout[strip].Left;
    dy = Layout[strip].Top;
  }
  // The height given to a combo box is that of its open list.
  const int height = IsComboBox(def.Kind) ? DropDownHeight : def.Height;
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowPos(hwnd, nullptr, Scale(def.Left + dx, dpi), Scale(def.Top + dy, dpi),
               Scale(def.Width, dpi), Scale(height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
  if (IsComboBox(def.Kind)) {
    // The closed box is FieldHeight high: set its selection field (item -1),
    // then correct by what the frame really adds, which differs by theme.
    const auto closedHeight = [hwnd] {
      RECT box{};
      GetWindowRect(hwnd, &box);
      return static_cast<int>(box.bottom - box.top);
    };
    const int fieldHeight = Scale(FieldHeight, dpi);
    int field = fieldHeight - Scale(6, dpi);
    SendMessageW(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    field += fieldHeight - closedHeight();
    SendMessageW(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    SendMessageW(hwnd, CB_SETITEMHEIGHT, 0, Scale(ListItemHeight, dpi));
  }
  if (def.Kind == ControlKind::TabStrip) {
    SendMessageW(hwnd, TCM_SETITEMSIZE, 0, MAKELPARAM(Scale(TabWidth, dpi), Scale(TabHeight, dpi)));
  }
  InvalidateRect(hwnd, nullptr, TRUE);
}

void Win32DialogView::CreateControls(HWND dialog, HFONT font, UINT dpi) {
  dialog_ = dialog;
  controls_.clear();
  HWND tabStrip = nullptr;
  for (std::size_t i = 0; i < std::size(Layout); ++i) {
    const ControlDef& def = Layout[i];
    if (def.Parent == Place::RowFrame) continue; // made with each frame below
    HWND hwnd = CreateOne(def, ItemId(i), dialog);
    controls_.push_back({i, NoControl, hwnd});
    if (def.Kind == ControlKind::TabStrip) tabStrip = hwnd;
    if (def.Kind == ControlKind::RowFrame) {
      const auto frame = static_cast<ControlId>(controls_.size() - 1);
      for (std::size_t j = 0; j < std::size(Layout); ++j) {
        if (Layout[j].Parent != Place::RowFrame) continue;
        controls_.push_back({j, frame, CreateOne(Layout[j], ItemId(j), hwnd)});
      }
    }
  }
  PlaceControls(font, dpi);
  if (tabStrip != nullptr) {
    SetWindowPos(tabStrip, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void Win32DialogView::PlaceControls(HFONT font, UINT dpi) const {
  for (const Instance& c : controls_) {
    if (!c.Strip) PlaceOne(c, font, dpi);
  }
}

void Win32DialogView::CreateStrip(HWND window, HFONT font, UINT dpi) {
  for (std::size_t i = 0; i < std::size(OptionStrip); ++i) {
    HWND hwnd = CreateOne(OptionStrip[i], StripItemIdBase + static_cast<int>(i), window);
    controls_.push_back({i, NoControl, hwnd, true});
  }
  PlaceStrip(font, dpi);
}

void Win32DialogView::PlaceStrip(HFONT font, UINT dpi) const {
  for (const Instance& c : controls_) {
    if (c.Strip) PlaceOne(c, font, dpi);
  }
}

HWND Win32DialogView::NextStripStop(HWND focus, bool backwards) const {
  std::vector<HWND> stops;
  int current = -1;
  for (const Instance& c : controls_) {
    if (!c.Strip || !(DefOf(c).Style & TabStop) || !CanTakeFocus(c.Hwnd)) continue;
    if (c.Hwnd == focus || IsChild(c.Hwnd, focus)) current = static_cast<int>(stops.size());
    stops.push_back(c.Hwnd);
  }
  if (stops.empty()) return nullptr;
  const auto count = static_cast<int>(stops.size());
  if (current < 0) return stops.front();
  return stops[static_cast<std::size_t>((current + (backwards ? count - 1 : 1)) % count)];
}

HWND Win32DialogView::Handle(ControlId id) const {
  if (id < 0 || static_cast<std::size_t>(id) >= controls_.size()) return nullptr;
  return controls_[static_cast<std::size_t>(id)].Hwnd;
}

HWND Win32DialogView::NextTabStop(HWND focus, bool backwards) const {
  // The table's order is the focus order; IsDialogMessage would follow the
  // z-order, in which the tab strip must lie below the page's controls.
  const auto count = static_cast<int>(controls_.size());
  if (count == 0) return nullptr;
  int current = -1;
  for (int i = 0; i < count; ++i) {
    const HWND h = controls_[static_cast<std::size_t>(i)].Hwnd;
    const Instance& c = controls_[static_cast<std::size_t>(i)];
    if (!c.Strip && (DefOf(c).Style & TabStop) && (h == focus || IsChild(h, focus))) {
      current = i;
      break;
    }
  }
  const int step = backwards ? -1 : 1;
  int i = current >= 0 ? current : (backwards ? 0 : count - 1);
  for (int n = 0; n < count; ++n) {
    i = (i + step + count) % count;
    const Instance& c = controls_[static_cast<std::size_t>(i)];
    if (c.Strip || !(DefOf(c).Style & TabStop) || !CanTakeFocus(c.Hwnd)) continue;
    if (c.Frame != NoControl && !CanTakeFocus(Handle(c.Frame))) continue;
    return c.Hwnd;
  }
  return nullptr;
}

void Win32DialogView::SelectTypedText(HWND control) const {
  for (const Instance& c : controls_) {
    if (c.Hwnd == control && DefOf(c).Kind == ControlKind::DropDownCombo) {
      SendMessageW(control, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    }
  }
}

void Win32DialogView::MoveWindow(int left, int top) {
  SetWindowPos(dialog_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32DialogView::GetWindowPosition(int& left, int& top) {
  RECT r{};
  GetWindowRect(dialog_, &r);
  left = static_cast<int>(r.left);
  top = static_cast<int>(r.top);
}

void Win32DialogView::CloseWindow() {
  closeRequested_ = true;
  PostMessageW(dialog_, CloseNowMessage, 0, 0);
}

void Win32DialogView::ReportSaveFailure(const std::filesystem::path& file, std::error_code reason) {
  std::wstring text = SaveFailedText;
  text += L"\n\n";
  text += file.wstring();
  text += L"\n\n";
  text += ReasonText(reason);
  MessageBoxW(dialog_, text.c_str(), Caption, MB_ICONERROR | MB_OK);
}

ControlId Win32DialogView::Lookup(std::string_view name) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i].Frame == NoControl && DefOf(controls_[i]).Name == name) {
      return static_cast<ControlId>(i);
    }
  }
  return NoControl;
}

ControlId Win32DialogView::FindChild(ControlId parent, std::string_view name) {
  if (parent == NoControl) return NoControl;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i].Frame == parent && DefOf(controls_[i]).Name == name) {
      return static_cast<ControlId>(i);
    }
  }
  return NoControl;
}

void Win32DialogView::SetText(ControlId control, std::string_view text) {
  if (HWND h = Handle(control)) Win32::SetText(h, FromShiftJis(text));
}

std::string Win32DialogView::GetText(ControlId control) {
  HWND h = Handle(control);
  return h != nullptr ? ToShiftJis(Win32::GetText(h)) : std::string();
}

void Win32DialogView::SetChecked(ControlId control, bool checked) {
  if (HWND h = Handle(control)) CheckBox{h}.SetChecked(checked);
}

bool Win32DialogView::IsChecked(ControlId control) {
  HWND h = Handle(control);
  return h != nullptr && CheckBox{h}.IsChecked();
}

void Win32DialogView::ClearItems(ControlId control) {
  if (HWND h = Handle(control)) DropDown{h}.Clear();
}

void Win32DialogView::AddItem(ControlId control, std::string_view text) {
  if (HWND h = Handle(control)) DropDown{h}.Add(FromShiftJis(text));
}

void Win32DialogView::SetSelected(ControlId control, int position) {
  if (HWND h = Handle(control)) DropDown{h}.Select(position);
}

int Win32DialogView::GetSelected(ControlId control) {
  HWND h = Handle(control);
  return h != nullptr ? DropDown{h}.Selected() : -1;
}

void Win32DialogView::SelectTab(int index) {
  if (HWND h = Find("TabControl1")) TabStrip{h}.Select(index);
}

int Win32DialogView::SelectedTab() {
  HWND h = Find("TabControl1");
  return h != nullptr ? TabStrip{h}.Selected() : -1;
}

} // namespace Win32
