// The Windows side of the program: entry point, program path and arguments,
// and the settings dialog's window with its message loop. Like a classic
// form application, a zero-sized application window carries the title on
// the taskbar and owns the dialog.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/win32/DialogLayout.h"
#include "platform/win32/Win32Controls.h"
#include "platform/win32/Win32DialogView.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Preview.h"
#include "preview/PreviewModel.h"
#include "settings/Unit2.h"

namespace Win32 {
namespace {

constexpr wchar_t ApplicationClass[] = L"VomurelApplication";
constexpr int IconId = 1; // in vomurel.rc
constexpr DWORD DialogStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN | DS_3DLOOK;
constexpr COLORREF White = RGB(255, 255, 255);

// Posted on every edit: one redraw of the preview after the edit is done,
// however many notifications it raised (showing a tab raises dozens).
constexpr UINT RedrawPreviewMessage = WM_APP + 2;

struct DialogContext {
  explicit DialogContext(Settings::IDialogForm& form) : Form(form) {}

  Settings::IDialogForm& Form;
  HWND Application = nullptr;
  HFONT Font = nullptr;
  HBRUSH MemoBrush = nullptr;
  HWND Memo = nullptr;
  UINT Dpi = BaseDpi;
  bool Closing = false; // OK or Cancel seen: later clicks are ignored
  bool RedrawPosted = false;
  Win32DialogView View;
  PreviewWindow Preview;
};

// The window size whose client area is the layout's at dpi.
SIZE DialogSize(HWND dialog, UINT dpi) {
  RECT r{0, 0, Scale(Win32Layout::ClientWidth, dpi), Scale(Win32Layout::ClientHeight, dpi)};
  AdjustWindowRectForDpi(r, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)),
                         static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)), dpi);
  return {r.right - r.left, r.bottom - r.top};
}

void SchedulePreview(HWND dialog, DialogContext& ctx) {
  if (ctx.RedrawPosted || ctx.Closing) return;
  ctx.RedrawPosted = PostMessageW(dialog, RedrawPreviewMessage, 0, 0) != FALSE;
}

// Notifications of the edits that change what the preview shows.
bool IsEdit(WORD code) {
  return code == EN_CHANGE || code == BN_CLICKED || code == CBN_SELCHANGE || code == CBN_EDITCHANGE;
}

// A move to a monitor of another DPI: font, controls and window anew.
void ChangeDpi(HWND dialog, DialogContext& ctx, UINT dpi, const RECT& suggested) {
  ctx.Dpi = dpi;
  HFONT old = ctx.Font;
  ctx.Font = DialogFont(dpi);
  ctx.View.PlaceControls(ctx.Font, dpi);
  if (old != nullptr) DeleteObject(old);
  const SIZE size = DialogSize(dialog, dpi);
  SetWindowPos(dialog, nullptr, suggested.left, suggested.top, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(dialog, nullptr, TRUE);
}

void AppendPresetItems(HMENU menu, bool canPaste, bool systemMenu) {
  using namespace Win32Layout;
  AppendMenuW(menu, MF_STRING, CopyPresetCommand,
              systemMenu ? CopyPresetSystemText : CopyPresetText);
  AppendMenuW(menu, MF_STRING | (canPaste ? MF_ENABLED : MF_GRAYED), PastePresetCommand,
              systemMenu ? PastePresetSystemText : PastePresetText);
  AppendMenuW(menu, MF_STRING, ClearPresetCommand,
              systemMenu ? ClearPresetSystemText : ClearPresetText);
}

// Copy, paste or clear the visible preset; false for any other command.
bool RunPresetCommand(HWND dialog, DialogContext& ctx, unsigned command) {
  if (command == Win32Layout::CopyPresetCommand) {
    ctx.Form.CopyPreset();
  } else if (command == Win32Layout::PastePresetCommand) {
    ctx.Form.PastePreset();
  } else if (command == Win32Layout::ClearPresetCommand) {
    ctx.Form.ClearPreset();
  } else {
    return false;
  }
  SchedulePreview(dialog, ctx);
  return true;
}

void ShowPresetMenu(HWND dialog, DialogContext& ctx, POINT screen) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return;
  AppendPresetItems(menu, ctx.Form.CanPastePreset(), false);
  const BOOL command =
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, dialog, nullptr);
  DestroyMenu(menu);
  RunPresetCommand(dialog, ctx, static_cast<unsigned>(command));
}

// A right click on a tab selects it as a left click would (the left tab
// stored, the new one shown), then opens the menu for it.
void TabRightClick(HWND dialog, DialogContext& ctx, HWND strip) {
  const DWORD at = GetMessagePos();
  const POINT screen{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  TCHITTESTINFO hit{screen, 0};
  ScreenToClient(strip, &hit.pt);
  const int tab = TabCtrl_HitTest(strip, &hit);
  if (tab < 0) return;
  if (tab != TabCtrl_GetCurSel(strip)) {
    ctx.Form.TabControl1Changing();
    TabCtrl_SetCurSel(strip, tab);
    ctx.Form.TabControl1Change();
    SchedulePreview(dialog, ctx);
  }
  ShowPresetMenu(dialog, ctx, screen);
}

HBRUSH WhiteBrush() { return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)); }

INT_PTR ResultOf(HWND dialog, LRESULT result) {
  SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
  return TRUE;
}

std::wstring HelpText() {
  std::string bytes;
  for (const std::string& line : Settings::HelpLines()) {
    if (!bytes.empty()) bytes += "\r\n";
    bytes += line;
  }
  return FromShiftJis(bytes);
}

void InitDialog(HWND dialog, DialogContext& ctx) {
  SetWindowTextW(dialog, Win32Layout::Caption);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  auto* icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IconId), IMAGE_ICON, 16, 16,
                                             LR_DEFAULTCOLOR | LR_SHARED));
  SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));

  // Laid out in pixels at 96 DPI and scaled to the window's: the client
  // area is sized exactly, whatever the frame.
  TakeOverDialogScaling(dialog);
  ctx.Dpi = WindowDpi(dialog);
  ctx.Font = DialogFont(ctx.Dpi);
  const SIZE size = DialogSize(dialog, ctx.Dpi);
  SetWindowPos(dialog, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  HMENU menu = GetSystemMenu(dialog, FALSE);
  if (menu != nullptr) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendPresetItems(menu, false, true);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, Win32Layout::ShowPreviewCommand, Win32Layout::ShowPreviewText);
  }

  ctx.View.CreateControls(dialog, ctx.Font, ctx.Dpi);
  ctx.Memo = ctx.View.Find("Memo1");
  SetText(ctx.Memo, HelpText());
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    InitDialog(dialog, *reinterpret_cast<DialogContext*>(lParam));
    return FALSE; // focus is set once the form has been filled
  }
  auto* ctx = reinterpret_cast<DialogContext*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (ctx == nullptr) return FALSE;

  switch (message) {
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(WhiteBrush());
    case WM_CTLCOLORSTATIC: // labels, check boxes and the read-only memo
    case WM_CTLCOLORBTN: {
      auto* dc = reinterpret_cast<HDC>(wParam);
      if (reinterpret_cast<HWND>(lParam) == ctx->Memo) {
        SetBkColor(dc, Win32Layout::MemoColor);
        return reinterpret_cast<INT_PTR>(ctx->MemoBrush);
      }
      SetBkColor(dc, White);
      return reinterpret_cast<INT_PTR>(WhiteBrush());
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom != ctx->View.Find("TabControl1") || ctx->Closing) break;
      if (header->code == TCN_SELCHANGING) {
        ctx->Form.TabControl1Changing();
        return ResultOf(dialog, FALSE); // the change is always allowed
      }
      if (header->code == TCN_SELCHANGE) {
        ctx->Form.TabControl1Change();
        SchedulePreview(dialog, *ctx);
        return TRUE;
      }
      if (header->code == NM_RCLICK) {
        TabRightClick(dialog, *ctx, header->hwndFrom);
        return ResultOf(dialog, TRUE);
      }
      break;
    }
    case WM_CONTEXTMENU: {
      // Shift+F10 or the menu key on the tab strip: its menu below the tab.
      HWND strip = ctx->View.Find("TabControl1");
      if (reinterpret_cast<HWND>(wParam) != strip || lParam != -1 || ctx->Closing) break;
      RECT r{};
      TabCtrl_GetItemRect(strip, TabCtrl_GetCurSel(strip), &r);
      MapWindowPoints(strip, nullptr, reinterpret_cast<POINT*>(&r), 2);
      ShowPresetMenu(dialog, *ctx, {r.left, r.bottom});
      return TRUE;
    }
    case WM_INITMENUPOPUP:
      if (HIWORD(lParam) != 0) { // the system menu
        EnableMenuItem(GetSystemMenu(dialog, FALSE), Win32Layout::PastePresetCommand,
                       MF_BYCOMMAND | (ctx->Form.CanPastePreset() ? MF_ENABLED : MF_GRAYED));
      }
      break;
    case WM_COMMAND: {
      if (ctx->Closing) break;
      const WORD code = HIWORD(wParam);
      const WORD id = LOWORD(wParam);
      if (code == BN_CLICKED && id == IDOK) {
        ctx->Closing = true;
        ctx->Form.Button1Click();
        // A failed save keeps the dialog: clicks count again.
        ctx->Closing = ctx->View.CloseRequested();
        return TRUE;
      }
      if (code == BN_CLICKED && id == IDCANCEL) { // also Esc, the close box and Alt+F4
        ctx->Closing = true;
        ctx->Form.Button2Click();
        return TRUE;
      }
      if (IsEdit(code)) SchedulePreview(dialog, *ctx);
      break;
    }
    case WM_SYSCOMMAND:
      // The taskbar button belongs to the application window: minimise that,
      // which hides the dialog with it.
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        ShowWindow(ctx->Application, SW_MINIMIZE);
        return ResultOf(dialog, 0);
      }
      if ((wParam & 0xFFF0) == Win32Layout::ShowPreviewCommand) {
        ctx->Preview.Show();
        return ResultOf(dialog, 0);
      }
      if (!ctx->Closing && RunPresetCommand(dialog, *ctx, wParam & 0xFFF0)) {
        return ResultOf(dialog, 0);
      }
      break;
    case WM_SHOWWINDOW:
      // Minimising hides the dialog with the application window; its own
      // owned window would stay on the screen without this.
      if (wParam == FALSE) ctx->Preview.OwnerHidden();
      if (wParam != FALSE) ctx->Preview.OwnerShown();
      break;
    case RedrawPreviewMessage:
      ctx->RedrawPosted = false;
      if (!ctx->Closing) ctx->Preview.Draw(Preview::PictureOfDialog(ctx->View));
      return TRUE;
    case WM_MOVE:
      // Left where it was, the preview could end up over OK and Cancel.
      ctx->Preview.PlaceBesideOwner();
      break;
    case WM_DPICHANGED:
      ChangeDpi(dialog, *ctx, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      ctx->Preview.PlaceBesideOwner(); // resized, perhaps without a move
      return TRUE;
    case CloseNowMessage:
      DestroyWindow(dialog);
      return TRUE;
    case WM_DESTROY:
      ctx->Form.FormClose();
      PostQuitMessage(0);
      return TRUE;
    default:
      break;
  }
  return FALSE;
}

LRESULT CALLBACK ApplicationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto dialog = reinterpret_cast<HWND>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE && dialog != nullptr) {
        PostMessageW(dialog, WM_CLOSE, 0, 0); // as the dialog's own close box
        return 0;
      }
      break;
    case WM_SETFOCUS:
      // Restored from the taskbar: hand the focus back to the dialog.
      if (dialog != nullptr && IsWindowVisible(dialog)) SetActiveWindow(dialog);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK RowFrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  // The rows' edits reach the dialog, which redraws the preview for them.
  if (message == WM_COMMAND && lParam != 0) {
    return SendMessageW(GetParent(frame), message, wParam, lParam);
  }
  if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
    SetBkColor(reinterpret_cast<HDC>(wParam), White);
    return reinterpret_cast<LRESULT>(WhiteBrush());
  }
  return DefWindowProcW(frame, message, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance) {
  WNDCLASSEXW frame{};
  frame.cbSize = sizeof frame;
  frame.lpfnWndProc = RowFrameProc;
  frame.hInstance = instance;
  frame.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  frame.hbrBackground = WhiteBrush();
  frame.lpszClassName = RowFrameClass;
  RegisterClassExW(&frame);

  WNDCLASSEXW app{};
  app.cbSize = sizeof app;
  app.lpfnWndProc = ApplicationProc;
  app.hInstance = instance;
  app.hIcon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IconId), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  app.lpszClassName = ApplicationClass;
  RegisterClassExW(&app);
}

// Moves the focus in the table's order; true when the message was the Tab key.
bool HandleTabKey(HWND dialog, const Win32DialogView& view, const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  if (msg.hwnd != dialog && !IsChild(dialog, msg.hwnd)) return false;
  HWND next = view.NextTabStop(GetFocus(), GetKeyState(VK_SHIFT) < 0);
  if (next == nullptr) return false;
  // WM_NEXTDLGCTL also moves the default-button frame and selects edit text.
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
  view.SelectTypedText(next);
  return true;
}

// An empty dialog template: the controls come from the layout table.
struct alignas(4) EmptyDialogTemplate {
  DLGTEMPLATE Header;
  WORD Menu = 0;
  WORD Class = 0; // the predefined dialog class
  WORD Title = 0; // set in InitDialog
};

} // namespace

} // namespace Win32

namespace Platform {

std::filesystem::path ProgramPath() {
  // Long paths do not fit MAX_PATH: grow until the name is not cut short.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
    if (length == 0) return std::filesystem::path(L"vomurel.exe");
    if (length < size) {
      buffer.resize(length);
      return std::filesystem::path(buffer);
    }
    if (buffer.size() >= 32768) return std::filesystem::path(L"vomurel.exe");
    buffer.resize(buffer.size() * 2);
  }
}

void RunDialog(Settings::IDialogForm& form) {
  using namespace Win32;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterClasses(instance);

  // Zero-sized but shown, so that it owns the taskbar button.
  HWND application =
      CreateWindowExW(0, ApplicationClass, Win32Layout::ApplicationTitle,
                      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS,
                      GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                      nullptr, nullptr, instance, nullptr);

  DialogContext ctx(form);
  ctx.Application = application;
  ctx.MemoBrush = CreateSolidBrush(Win32Layout::MemoColor);

  EmptyDialogTemplate dialogTemplate{};
  dialogTemplate.Header.style = DialogStyle;
  HWND dialog = CreateDialogIndirectParamW(instance, &dialogTemplate.Header, application,
                                           DialogProc, reinterpret_cast<LPARAM>(&ctx));
  if (dialog != nullptr) {
    SetWindowLongPtrW(application, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(dialog));
    ShowWindow(application, SW_SHOWNA);
    // Made before the form fills the controls: its strip holds the options'.
    const bool preview = ctx.Preview.Create(dialog, ctx.View);
    form.FormShow(&ctx.View);
    if (form.CloseRequested()) {
      DestroyWindow(dialog);
    } else {
      ShowWindow(dialog, SW_SHOWNORMAL);
      SetForegroundWindow(dialog);
      SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ctx.View.Find("Button1")), TRUE);
      // Beside the dialog where the form placed it, drawn before it
      // appears, and without the focus.
      if (preview) {
        ctx.Preview.PlaceBesideOwner();
        ctx.Preview.Draw(Preview::PictureOfDialog(ctx.View));
        ctx.Preview.Show();
      }
    }
    MSG msg;
    while (IsWindow(dialog) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (ctx.Preview.HandleStripKey(msg)) continue;
      if (msg.message == WM_KEYDOWN && msg.wParam == Win32Layout::StripKey &&
          (msg.hwnd == dialog || IsChild(dialog, msg.hwnd))) {
        ctx.Preview.FocusStrip();
        continue;
      }
      if (HandleTabKey(dialog, ctx.View, msg) || IsDialogMessageW(dialog, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (application != nullptr) DestroyWindow(application);
  DeleteObject(ctx.MemoBrush);
  DeleteObject(ctx.Font);
}

std::vector<std::string> CommandLineArguments(int argc, wchar_t** argv) {
  // Split by the C runtime already; CommandLineToArgvW would load shell32
  // into every unattended run.
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Win32::ToShiftJis(argv[i]));
  return args;
}

} // namespace Platform
