#include "platform/win32/Win32Preview.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "common/MyFunc.h"
#include "platform/win32/DialogLayout.h"
#include "platform/win32/Win32Controls.h"
#include "platform/win32/Win32Dpi.h"

namespace Win32 {
namespace {

constexpr wchar_t PreviewClass[] = L"VomurelPreview";
constexpr wchar_t NoRowsText[] = L"有効な行がありません";
constexpr wchar_t ScalePrefix[] = L"縮尺 1/";
constexpr DWORD PreviewStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
// Keeps the keyboard in the dialog: clicking or moving the preview does
// not activate it.
constexpr DWORD PreviewExStyle = WS_EX_NOACTIVATE;

// Sizes at 96 DPI: the options' strip above a picture as high as the dialog.
constexpr int ClientWidth = 300;
constexpr int ClientHeight = Win32Layout::StripHeight + Win32Layout::ClientHeight;
constexpr int MinClient = 120;
constexpr COLORREF StripLine = RGB(210, 210, 210);
constexpr int Gap = 4;
constexpr int MarginPx = 24;
constexpr int PointRadius = 3;
constexpr int LabelFontHeight = 12;
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF PathColor = RGB(150, 150, 150);
constexpr COLORREF NoteColor = RGB(96, 96, 96);
constexpr DWORD CentreDash[] = {5, 4};

// GDI takes 32-bit coordinates, and huge ones draw wrongly on old systems:
// points far outside any window are pulled in.
int Pixel(double v) {
  constexpr double limit = 1e7;
  return static_cast<int>(std::lround(std::clamp(v, -limit, limit)));
}

HPEN MakePen(COLORREF color, int width, const DWORD* steps, DWORD count) {
  LOGBRUSH brush{BS_SOLID, color, 0};
  const DWORD style =
      PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER | (count > 0 ? PS_USERSTYLE : PS_SOLID);
  return ExtCreatePen(style, static_cast<DWORD>(std::max(width, 1)), &brush, count,
                      count > 0 ? steps : nullptr);
}

HPEN PenFor(const Preview::Pen& pen, UINT dpi) {
  const double width = ScaleReal(pen.WidthPx, dpi);
  const double stretch = ZizAvodi::DashStretch(pen.WidthPx);
  DWORD steps[10] = {};
  const auto count = static_cast<DWORD>(pen.Dash.Count);
  for (DWORD i = 0; i < count; ++i) {
    steps[i] =
        static_cast<DWORD>(std::max(1L, std::lround(ScaleReal(pen.Dash.Steps[i] * stretch, dpi))));
  }
  const COLORREF color = RGB(pen.Color.R, pen.Color.G, pen.Color.B);
  return MakePen(color, static_cast<int>(std::lround(width)), steps, count);
}

struct Selected {
  HDC Dc;
  HGDIOBJ Before;
  Selected(HDC dc, HGDIOBJ object) : Dc(dc), Before(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(Dc, Before); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;
};

void ShowText(HDC dc, int x, int y, const std::wstring& text) {
  TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

} // namespace

PreviewWindow::~PreviewWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (font_ != nullptr) DeleteObject(font_);
  if (stripFont_ != nullptr) DeleteObject(stripFont_);
}

bool PreviewWindow::Create(HWND owner, Win32DialogView& view) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = PreviewClass;
  RegisterClassExW(&wc); // fails harmlessly when registered already

  owner_ = owner;
  view_ = &view;
  dpi_ = WindowDpi(owner);
  hwnd_ = CreateWindowExW(PreviewExStyle, PreviewClass, Win32Layout::PreviewCaption, PreviewStyle,
                          0, 0, 0, 0, owner, nullptr, instance, this);
  if (hwnd_ == nullptr) return false;
  PlaceBesideOwner();
  UpdateFont();
  view.CreateStrip(hwnd_, stripFont_, dpi_);
  return true;
}

void PreviewWindow::PlaceBesideOwner() {
  if (hwnd_ == nullptr) return;
  dpi_ = WindowDpi(owner_);
  RECT frame{0, 0, Scale(ClientWidth, dpi_), Scale(ClientHeight, dpi_)};
  AdjustWindowRectForDpi(frame, PreviewStyle, PreviewExStyle, dpi_);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;

  RECT dialog{};
  GetWindowRect(owner_, &dialog);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  // OK and Cancel stay clickable even where the preview must overlap.
  RECT buttons{};
  RECT cancel{};
  GetWindowRect(GetDlgItem(owner_, IDOK), &buttons);
  GetWindowRect(GetDlgItem(owner_, IDCANCEL), &cancel);
  UnionRect(&buttons, &buttons, &cancel);
  const Preview::Box place = Preview::PlaceBeside(
      {dialog.left, dialog.top, dialog.right, dialog.bottom}, width, height,
      {work.left, work.top, work.right, work.bottom}, Scale(Gap, dpi_), Scale(MinClient, dpi_),
      Scale(MinClient + Win32Layout::StripHeight, dpi_),
      {buttons.left, buttons.top, buttons.right, buttons.bottom});
  SetWindowPos(hwnd_, nullptr, place.Left, place.Top, place.Right - place.Left,
               place.Bottom - place.Top, SWP_NOZORDER | SWP_NOACTIVATE);
  // Placed beside the dialog, the window may be on another monitor.
  const UINT dpi = WindowDpi(hwnd_);
  if (dpi != dpi_) {
    dpi_ = dpi;
    UpdateFont();
    if (view_ != nullptr) view_->PlaceStrip(stripFont_, dpi_);
  }
}

int PreviewWindow::StripPx() const { return Scale(Win32Layout::StripHeight, dpi_); }

void PreviewWindow::FocusStrip() {
  if (hwnd_ == nullptr || view_ == nullptr) return;
  if (!IsWindowVisible(hwnd_)) Show();
  HWND first = view_->NextStripStop(nullptr, false);
  if (first == nullptr) return;
  SetActiveWindow(hwnd_);
  SetFocus(first);
}

void PreviewWindow::ReturnToOwner() const {
  if (owner_ != nullptr) SetActiveWindow(owner_);
}

bool PreviewWindow::HandleStripKey(MSG& msg) {
  if (hwnd_ == nullptr || view_ == nullptr) return false;
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == Win32Layout::StripKey) {
    ReturnToOwner();
    return true;
  }
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
      GetKeyState(VK_MENU) >= 0) {
    // Not a dialog: WM_NEXTDLGCTL would go unanswered, so the focus moves
    // here, selecting an edit's text as the dialog's Tab does.
    HWND next = view_->NextStripStop(GetFocus(), GetKeyState(VK_SHIFT) < 0);
    if (next != nullptr) {
      SetFocus(next);
      if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
        SendMessageW(next, EM_SETSEL, 0, -1);
      }
      view_->SelectTypedText(next);
    }
    return true;
  }
  // Space ticks, arrows move in lists, Enter and Esc come back as IDOK and
  // IDCANCEL (an open list takes them first, to close).
  return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

void PreviewWindow::Show() const {
  if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
}

void PreviewWindow::OwnerHidden() {
  if (hwnd_ == nullptr || !IsWindowVisible(hwnd_)) return;
  hiddenWithOwner_ = true;
  ShowWindow(hwnd_, SW_HIDE);
}

void PreviewWindow::OwnerShown() {
  if (!hiddenWithOwner_) return;
  hiddenWithOwner_ = false;
  Show();
}

void PreviewWindow::Draw(Preview::Picture picture) {
  picture_ = std::move(picture);
  if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, FALSE);
}

void PreviewWindow::UpdateFont() {
  if (stripFont_ != nullptr) DeleteObject(stripFont_);
  stripFont_ = DialogFont(dpi_);
  if (font_ != nullptr) DeleteObject(font_);
  font_ = CreateFontW(-Scale(LabelFontHeight, dpi_), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                      SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      FIXED_PITCH | FF_MODERN, Win32Layout::FontFace);
}

LRESULT CALLBACK PreviewWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<PreviewWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr || self->hwnd_ == nullptr) {
    if (self != nullptr && message == WM_NCCREATE) self->hwnd_ = hwnd;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return self->OnMessage(message, wParam, lParam);
}

LRESULT PreviewWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE: {
      // The strip takes the keyboard when clicked; the picture and the
      // frame (moving, closing) never do.
      POINT at{};
      GetCursorPos(&at);
      ScreenToClient(hwnd_, &at);
      const bool strip = LOWORD(lParam) == HTCLIENT && at.y >= 0 && at.y < StripPx();
      return strip ? MA_ACTIVATE : MA_NOACTIVATE;
    }
    case WM_COMMAND: {
      const WORD id = LOWORD(wParam);
      if (id == IDOK || id == IDCANCEL) {
        // Enter or Esc in the strip: the strip is part of the dialog, so
        // they press its OK or Cancel, from the dialog as its own keys do.
        ReturnToOwner();
        if (owner_ != nullptr) {
          SendMessageW(owner_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(owner_, id)));
        }
        return 0;
      }
      // The strip's edits reach the dialog, which redraws the preview.
      if (lParam != 0 && owner_ != nullptr) return SendMessageW(owner_, message, wParam, lParam);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wParam), White);
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_CLOSE: // the close box hides it; the dialog's system menu shows it again
      ShowWindow(hwnd_, SW_HIDE);
      return 0;
    case WM_ERASEBKGND: // painted whole from the memory bitmap
      return 1;
    case WM_SIZE:
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = Scale(MinClient, dpi_);
      info->ptMinTrackSize.y = Scale(MinClient + Win32Layout::StripHeight, dpi_);
      return 0;
    }
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      UpdateFont();
      if (view_ != nullptr) view_->PlaceStrip(stripFont_, dpi_);
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      RECT client{};
      GetClientRect(hwnd_, &client);
      const int w = std::max(1L, client.right);
      const int h = std::max(1L, client.bottom);
      // Drawn off screen and copied in one step: no flicker while typing.
      HDC memory = CreateCompatibleDC(dc);
      HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
      if (memory != nullptr && bitmap != nullptr) {
        {
          const Selected keep(memory, bitmap);
          Paint(memory, client);
          BitBlt(dc, 0, 0, w, h, memory, 0, 0, SRCCOPY);
        }
      }
      if (bitmap != nullptr) DeleteObject(bitmap);
      if (memory != nullptr) DeleteDC(memory);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_NCDESTROY: {
      HWND hwnd = std::exchange(hwnd_, nullptr);
      return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void PreviewWindow::Paint(HDC dc, const RECT& client) const {
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  // The picture below the strip, parted from it by a thin line.
  const int top = StripPx();
  HPEN parting = CreatePen(PS_SOLID, 1, StripLine);
  if (parting != nullptr) {
    const Selected pen(dc, parting);
    MoveToEx(dc, 0, top - 1, nullptr);
    LineTo(dc, client.right, top - 1);
  }
  if (parting != nullptr) DeleteObject(parting);
  Preview::Fit fit = Preview::FitTo(picture_.Extent, client.right,
                                    std::max(1L, client.bottom - top), Scale(MarginPx, dpi_));
  fit.OriginY += top;
  SetBkMode(dc, TRANSPARENT);
  const Selected font(dc, font_);

  std::vector<HPEN> pens;
  pens.reserve(picture_.Pens.size());
  for (const Preview::Pen& pen : picture_.Pens) pens.push_back(PenFor(pen, dpi_));
  for (const Preview::Stroke& s : picture_.Strokes) {
    if (s.Pen >= pens.size() || pens[s.Pen] == nullptr) continue;
    const Selected pen(dc, pens[s.Pen]);
    MoveToEx(dc, Pixel(fit.X(s.A.X)), Pixel(fit.Y(s.A.Y)), nullptr);
    LineTo(dc, Pixel(fit.X(s.B.X)), Pixel(fit.Y(s.B.Y)));
  }
  std::vector<POINT> polyline;
  for (const Preview::Curve& curve : picture_.Curves) {
    if (curve.Pen >= pens.size() || pens[curve.Pen] == nullptr) continue;
    polyline.clear();
    for (const Preview::Point& p : curve.Points) {
      polyline.push_back({Pixel(fit.X(p.X)), Pixel(fit.Y(p.Y))});
    }
    const Selected pen(dc, pens[curve.Pen]);
    Polyline(dc, polyline.data(), static_cast<int>(polyline.size()));
  }

  // The picked paths on top, thin and dashed, with their points.
  DWORD dash[2];
  for (int i = 0; i < 2; ++i)
    dash[i] = static_cast<DWORD>(Scale(static_cast<int>(CentreDash[i]), dpi_));
  HPEN centre = MakePen(PathColor, 1, dash, 2);
  {
    const Selected pen(dc, centre);
    const Selected brush(dc, GetStockObject(NULL_BRUSH));
    const int r = Scale(PointRadius, dpi_);
    for (const auto& path : picture_.Paths) {
      for (std::size_t i = 0; i < path.size(); ++i) {
        const int x = Pixel(fit.X(path[i].X));
        const int y = Pixel(fit.Y(path[i].Y));
        if (i == 0) {
          MoveToEx(dc, x, y, nullptr);
        } else {
          LineTo(dc, x, y);
        }
      }
      for (const auto& p : path) {
        const int x = Pixel(fit.X(p.X));
        const int y = Pixel(fit.Y(p.Y));
        Ellipse(dc, x - r, y - r, x + r + 1, y + r + 1);
      }
    }
  }
  if (centre != nullptr) DeleteObject(centre);

  // Row numbers at the start of each line, in the line's colour.
  SetTextAlign(dc, TA_RIGHT | TA_BOTTOM);
  for (const Preview::RowLabel& label : picture_.Labels) {
    if (label.Pen >= picture_.Pens.size()) continue;
    const Preview::Pen& pen = picture_.Pens[label.Pen];
    SetTextColor(dc, RGB(pen.Color.R, pen.Color.G, pen.Color.B));
    ShowText(dc, Pixel(fit.X(label.At.X)) - Scale(3, dpi_), Pixel(fit.Y(label.At.Y)),
             std::to_wstring(pen.Row));
  }
  for (HPEN pen : pens) {
    if (pen != nullptr) DeleteObject(pen);
  }

  SetTextColor(dc, NoteColor);
  SetTextAlign(dc, TA_LEFT | TA_BOTTOM);
  ShowText(dc, Scale(4, dpi_), client.bottom - Scale(3, dpi_),
           ScalePrefix + FromShiftJis(MyFunc::FormatReal(picture_.Scale)));
  // Which path the lines follow: the one picked in the host, or samples.
  SetTextAlign(dc, TA_RIGHT | TA_BOTTOM);
  ShowText(dc, client.right - Scale(4, dpi_), client.bottom - Scale(3, dpi_),
           FromShiftJis(Preview::PathCaption(picture_)));
  if (!picture_.HasRows()) {
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    ShowText(dc, client.right / 2, top + Scale(4, dpi_), NoRowsText);
  }
}

} // namespace Win32
