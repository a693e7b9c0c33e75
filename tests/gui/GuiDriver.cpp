// Drives the settings dialog of a running vomurel.exe as a user would: it
// starts the program, presses keys and clicks with injected input, and reads
// the controls back with window messages. Controls are found by their names
// through the same layout table the program creates them from.
//
//   guidriver LOGFILE PROGRAM COMMAND...
//
// Commands run in order; the first failure is written to LOGFILE and ends
// the run with exit code 1 (the program is then terminated). Texts and the
// program path may hold \uXXXX, \r and \n escapes; "(empty)" is the empty
// text. A control is NAME, or NAME ROW for the controls of a row frame
// (CH1 Edit1 Edit2 CH2 CB1 CB2 CB3, rows 1..10).
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/DialogLayout.h"

namespace {

using namespace Win32Layout;

constexpr DWORD StepTimeoutMs = 10000;

std::FILE* logFile = nullptr;
PROCESS_INFORMATION program{};
HWND dialog = nullptr;

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

void Log(const std::wstring& line) {
  if (logFile == nullptr) return;
  std::fputs(Narrow(line).c_str(), logFile);
  std::fputs("\n", logFile);
  std::fflush(logFile);
}

[[noreturn]] void Fail(const std::wstring& why) {
  Log(L"FAIL: " + why);
  if (program.hProcess != nullptr && WaitForSingleObject(program.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(program.hProcess, 3);
  }
  std::exit(1);
}

// Waits until condition() holds; false after the step timeout.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs = StepTimeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() > end) return false;
    Sleep(15);
  }
}

std::wstring Num(long long value) {
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::wstring(buffer, end);
}

long long ParseNumber(const std::wstring& text) {
  const std::string narrow(text.begin(), text.end());
  long long value = 0;
  const auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
  if (error != std::errc() || end != narrow.data() + narrow.size()) Fail(L"not a number: " + text);
  return value;
}

unsigned HexDigits(const std::wstring& text) {
  const std::string narrow(text.begin(), text.end());
  unsigned value = 0;
  std::from_chars(narrow.data(), narrow.data() + narrow.size(), value, 16);
  return value;
}

std::wstring Unescape(const std::wstring& text) {
  // An empty argument does not survive every command line on its way here.
  if (text == L"(empty)") return {};
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 5 < text.size() && text[i + 1] == L'u') {
      out += static_cast<wchar_t>(HexDigits(text.substr(i + 2, 4)));
      i += 5;
    } else if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'r') {
      out += L'\r';
      ++i;
    } else if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'n') {
      out += L'\n';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::wstring Escape(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out += c;
    } else {
      char buffer[8];
      const auto end =
          std::to_chars(buffer, buffer + sizeof buffer, static_cast<unsigned>(c), 16).ptr;
      out += L"\\u" + std::wstring(4 - static_cast<std::size_t>(end - buffer), L'0') +
             std::wstring(buffer, end);
    }
  }
  return out;
}

std::wstring WindowText(HWND hwnd) {
  wchar_t buffer[4096] = {};
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK,
                      StepTimeoutMs, nullptr);
  return buffer;
}

LRESULT Ask(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_BLOCK, StepTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

// ---- finding controls by name

struct Control {
  std::wstring Label;
  HWND Hwnd = nullptr;
};

HWND ItemOf(HWND parent, std::size_t def) { return GetDlgItem(parent, ItemId(def)); }

HWND PreviewWindow();

// Reads NAME [ROW] from args at i and advances i; the options' strip is on
// the preview window.
Control TakeControl(const std::vector<std::wstring>& args, std::size_t& i) {
  if (i >= args.size()) Fail(L"control name missing");
  const std::wstring wname = args[i++];
  const std::string name(wname.begin(), wname.end());
  if (const std::size_t child = FindSpec(name, true); child != NotFound) {
    if (i >= args.size()) Fail(L"row missing after " + wname);
    const std::wstring row = args[i++];
    const std::size_t frameSpec = FindSpec("Frame2" + std::string(row.begin(), row.end()), false);
    if (frameSpec == NotFound) Fail(L"no row " + row);
    HWND frame = ItemOf(dialog, frameSpec);
    return {wname + L"/" + row, ItemOf(frame, child)};
  }
  if (const std::size_t strip = FindStripSpec(name); strip != NotFound) {
    return {wname, GetDlgItem(PreviewWindow(), StripItemIdBase + static_cast<int>(strip))};
  }
  const std::size_t def = FindSpec(name, false);
  if (def == NotFound) Fail(L"no control " + wname);
  return {wname, ItemOf(dialog, def)};
}

HWND Named(const char* name) { return ItemOf(dialog, FindSpec(name, false)); }

HWND FocusedWindow() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool HasFocus(HWND control) {
  HWND focus = FocusedWindow();
  return focus != nullptr && (focus == control || IsChild(control, focus));
}

// The name of the control holding focus, as "NAME" or "NAME/ROW".
std::wstring FocusName() {
  HWND focus = FocusedWindow();
  for (std::size_t s = 0; s < std::size(Layout); ++s) {
    if (Layout[s].Parent == Place::RowFrame) continue;
    const std::wstring name(Layout[s].Name.begin(), Layout[s].Name.end());
    HWND h = ItemOf(dialog, s);
    if (Layout[s].Kind == ControlKind::RowFrame) {
      for (std::size_t c = 0; c < std::size(Layout); ++c) {
        if (Layout[c].Parent != Place::RowFrame) continue;
        HWND child = ItemOf(h, c);
        if (focus == child || IsChild(child, focus)) {
          return std::wstring(Layout[c].Name.begin(), Layout[c].Name.end()) + L"/" + name.substr(6);
        }
      }
    } else if (focus == h || IsChild(h, focus)) {
      return name;
    }
  }
  return L"(none)";
}

// ---- input like a user's

// The dialog, or a window it owns (the preview, whose strip takes keys too).
void EnsureForeground() {
  HWND front = GetForegroundWindow();
  if (front == dialog || (front != nullptr && GetWindow(front, GW_OWNER) == dialog)) return;
  SetForegroundWindow(dialog);
  if (!WaitFor([] { return GetForegroundWindow() == dialog; })) Fail(L"dialog not in front");
}

void SendKeys(const std::vector<INPUT>& inputs) {
  EnsureForeground();
  std::vector<INPUT> copy = inputs;
  SendInput(static_cast<UINT>(copy.size()), copy.data(), sizeof(INPUT));
  Sleep(10);
}

INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

// "tab", "shift+tab", "alt+y", "ctrl+v", "enter", "esc", "space", "left", ...
void PressKey(const std::wstring& def) {
  std::vector<WORD> mods;
  std::wstring rest = def;
  for (;;) {
    if (rest.rfind(L"shift+", 0) == 0) {
      mods.push_back(VK_SHIFT);
      rest = rest.substr(6);
    } else if (rest.rfind(L"ctrl+", 0) == 0) {
      mods.push_back(VK_CONTROL);
      rest = rest.substr(5);
    } else if (rest.rfind(L"alt+", 0) == 0) {
      mods.push_back(VK_MENU);
      rest = rest.substr(4);
    } else {
      break;
    }
  }
  WORD vk = 0;
  if (rest == L"tab")
    vk = VK_TAB;
  else if (rest == L"enter")
    vk = VK_RETURN;
  else if (rest == L"esc")
    vk = VK_ESCAPE;
  else if (rest == L"space")
    vk = VK_SPACE;
  else if (rest == L"left")
    vk = VK_LEFT;
  else if (rest == L"right")
    vk = VK_RIGHT;
  else if (rest == L"up")
    vk = VK_UP;
  else if (rest == L"down")
    vk = VK_DOWN;
  else if (rest == L"f4")
    vk = VK_F4;
  else if (rest == L"f6")
    vk = VK_F6;
  else if (rest.size() == 1 && iswalnum(rest[0]))
    vk = static_cast<WORD>(towupper(rest[0]));
  else
    Fail(L"unknown key " + def);
  std::vector<INPUT> inputs;
  for (WORD m : mods) inputs.push_back(Key(m, false));
  inputs.push_back(Key(vk, false));
  inputs.push_back(Key(vk, true));
  for (auto m = mods.rbegin(); m != mods.rend(); ++m) inputs.push_back(Key(*m, true));
  SendKeys(inputs);
}

// Characters as if committed by an input method: no key codes needed.
void TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = c;
    in.ki.dwFlags = KEYEVENTF_UNICODE;
    inputs.push_back(in);
    in.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    inputs.push_back(in);
  }
  SendKeys(inputs);
}

INPUT Mouse(DWORD flags, POINT p) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return in;
}

// Moves the pointer for real first: Wine would otherwise take the position
// of the next pointer event from the X server and click somewhere else.
void MouseAt(DWORD flags, POINT p) {
  SetCursorPos(p.x, p.y);
  SendKeys({Mouse(flags, p)});
}

void ClickAt(POINT p) {
  MouseAt(MOUSEEVENTF_MOVE, p);
  MouseAt(MOUSEEVENTF_LEFTDOWN, p);
  MouseAt(MOUSEEVENTF_LEFTUP, p);
}

POINT CentreOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The point of the title bar that hit-tests as code (HTCAPTION, HTCLOSE).
POINT FindOnTitleBar(LRESULT code) {
  RECT r{};
  GetWindowRect(dialog, &r);
  POINT origin{0, 0};
  ClientToScreen(dialog, &origin);
  const LONG y = (r.top + origin.y) / 2;
  for (LONG x = r.right - 2; x > r.left; --x) {
    if (Ask(dialog, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == code) {
      if (code == HTCAPTION) x -= 40; // well inside the caption
      return {x, y};
    }
  }
  Fail(L"title bar part not found");
}

// The focus stops in the order of the layout table, as "NAME" or "NAME/ROW".
std::vector<std::wstring> FocusOrder() {
  std::vector<std::wstring> expected;
  for (std::size_t s = 0; s < std::size(Layout); ++s) {
    if (Layout[s].Parent == Place::RowFrame) continue;
    if (Layout[s].Kind == ControlKind::RowFrame) {
      const std::wstring frame(Layout[s].Name.begin(), Layout[s].Name.end());
      for (std::size_t c = 0; c < std::size(Layout); ++c) {
        if (Layout[c].Parent == Place::RowFrame && (Layout[c].Style & TabStop)) {
          expected.push_back(std::wstring(Layout[c].Name.begin(), Layout[c].Name.end()) + L"/" +
                             frame.substr(6));
        }
      }
    } else if (Layout[s].Style & TabStop) {
      expected.emplace_back(Layout[s].Name.begin(), Layout[s].Name.end());
    }
  }
  return expected;
}

// Presses Tab until the control has focus; the table's focus order makes
// every focus stop reachable this way.
void FocusControl(const Control& c) {
  // Shift+Tab when that way is shorter.
  const std::vector<std::wstring> order = FocusOrder();
  const auto indexOf = [&order](const std::wstring& name) {
    for (std::size_t k = 0; k < order.size(); ++k) {
      if (order[k] == name) return static_cast<long long>(k);
    }
    return 0LL;
  };
  const auto count = static_cast<long long>(order.size());
  const long long ahead = (indexOf(c.Label) - indexOf(FocusName()) + count) % count;
  const wchar_t* key = ahead <= count / 2 ? L"tab" : L"shift+tab";
  for (int n = 0; n < 100 && !HasFocus(c.Hwnd); ++n) {
    const std::wstring before = FocusName();
    PressKey(key);
    WaitFor([&] { return FocusName() != before; }, 2000);
  }
  if (!HasFocus(c.Hwnd)) Fail(L"Tab never reached " + c.Label);
}

void SwitchTab(int tab) {
  HWND strip = Named("TabControl1");
  FocusControl({L"TabControl1", strip});
  for (int n = 0; n < 40; ++n) {
    const int current = static_cast<int>(Ask(strip, TCM_GETCURSEL));
    if (current == tab - 1) return;
    PressKey(current < tab - 1 ? L"right" : L"left");
    WaitFor([&] { return Ask(strip, TCM_GETCURSEL) != current; }, 2000);
  }
  Fail(L"could not reach tab " + Num(tab));
}

// ---- checks

void Expect(bool ok, const std::wstring& what) {
  if (!ok) Fail(what);
  Log(L"ok: " + what);
}

void ExpectEqual(const std::wstring& actual, const std::wstring& expected,
                 const std::wstring& what) {
  if (actual != expected) {
    Fail(what + L": expected \"" + Escape(expected) + L"\", got \"" + Escape(actual) + L"\"");
  }
  Log(L"ok: " + what + L" = \"" + Escape(actual) + L"\"");
}

void ExpectNumber(LRESULT actual, long long expected, const std::wstring& what) {
  ExpectEqual(Num(actual), Num(expected), what);
}

// Every focus stop in order, starting from Button1 and wrapping back to it.
void ExpectFocusCycle() {
  const std::vector<std::wstring> expected = FocusOrder();
  // The table itself against the order users are promised.
  const std::vector<std::wstring> head = {L"Button1", L"Button2", L"TabControl1", L"EditC",
                                          L"CH1/1",   L"Edit1/1", L"Edit2/1",     L"CH2/1",
                                          L"CB1/1",   L"CB2/1",   L"CB3/1",       L"CH1/2"};
  Expect(expected.size() == 74 && std::equal(head.begin(), head.end(), expected.begin()) &&
             expected.back() == L"CB3/10",
         L"focus order: buttons, tab strip, comment, then rows 1 to 10");
  FocusControl({L"Button1", Named("Button1")});
  for (std::size_t n = 1; n <= expected.size(); ++n) {
    const std::wstring before = FocusName();
    PressKey(L"tab");
    WaitFor([&] { return FocusName() != before; }, 2000);
    ExpectEqual(FocusName(), expected[n % expected.size()],
                L"focus stop " + Num(n) + L" after Tab");
  }
  const std::wstring last = FocusName();
  PressKey(L"shift+tab");
  WaitFor([&] { return FocusName() != last; }, 2000);
  ExpectEqual(FocusName(), expected.back(), L"Shift+Tab from Button1");
}

// ---- the preview window and message boxes

struct FoundWindow {
  const wchar_t* Caption;
  const wchar_t* Class; // null: any
  HWND Hwnd;
};

BOOL CALLBACK FindProgramWindow(HWND hwnd, LPARAM param) {
  auto* want = reinterpret_cast<FoundWindow*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != program.dwProcessId || hwnd == dialog) return TRUE;
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (WindowText(hwnd) == want->Caption &&
      (want->Class == nullptr || want->Class == std::wstring(cls))) {
    want->Hwnd = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND ProgramWindow(const wchar_t* caption, const wchar_t* cls = nullptr) {
  FoundWindow want{caption, cls, nullptr};
  EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&want));
  return want.Hwnd;
}

// A popup menu of the program on the screen, or null.
HWND OpenMenu() {
  HWND menu = ProgramWindow(L"", L"#32768");
  return menu != nullptr && IsWindowVisible(menu) ? menu : nullptr;
}

HWND PreviewWindow() {
  HWND preview = ProgramWindow(PreviewCaption);
  if (preview == nullptr) Fail(L"no preview window");
  return preview;
}

// The client area of a window as it is on the screen, 0x00RRGGBB by row.
std::vector<unsigned> ClientPixels(HWND window, int& w, int& h) {
  RECT r{};
  GetClientRect(window, &r);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  w = r.right;
  h = r.bottom;
  std::vector<unsigned> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ before = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  if (bits != nullptr)
    std::copy_n(static_cast<const unsigned*>(bits), pixels.size(), pixels.begin());
  SelectObject(memory, before);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  for (unsigned& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

// A fingerprint of the preview's pixels as they are on the screen, less
// skipBottom rows at the bottom.
unsigned long long PreviewPixels(int skipBottom = 0) {
  int w = 0;
  int h = 0;
  std::vector<unsigned> pixels = ClientPixels(PreviewWindow(), w, h);
  pixels.resize(static_cast<std::size_t>(w) *
                static_cast<std::size_t>(std::max(h - skipBottom, 0)));
  // The picture alone: the options' strip above it changes with every tick.
  HDC screen = GetDC(nullptr);
  const int top = MulDiv(StripHeight, GetDeviceCaps(screen, LOGPIXELSY), 96);
  ReleaseDC(nullptr, screen);
  pixels.erase(pixels.begin(),
               pixels.begin() + static_cast<std::ptrdiff_t>(std::min(
                                    pixels.size(),
                                    static_cast<std::size_t>(w) * static_cast<std::size_t>(top))));
  unsigned long long hash = 1469598103934665603ULL; // FNV-1a
  bool inked = false;
  for (const unsigned p : pixels) {
    hash = (hash ^ p) * 1099511628211ULL;
    inked = inked || p != 0xFFFFFF;
  }
  if (!inked) Fail(L"the preview shows a blank page");
  return hash;
}

// Rows of a control that hold ink: the height of its text as drawn.
int InkHeight(HWND control) {
  int w = 0;
  int h = 0;
  const std::vector<unsigned> pixels = ClientPixels(control, w, h);
  int top = h;
  int bottom = -1;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const unsigned p = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                                static_cast<std::size_t>(x)];
      if ((p & 0xFF) < 128) { // dark: text, not the white background
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  return bottom >= top ? bottom - top + 1 : 0;
}

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == program.dwProcessId && IsWindowVisible(hwnd) &&
      WindowText(hwnd) == std::wstring(Caption)) {
    dialog = hwnd;
    return FALSE;
  }
  return TRUE;
}

void Launch(const std::wstring& exe) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  // The working directory is deliberately not the program's folder.
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, L"C:\\",
                      &si, &program)) {
    Fail(L"cannot start " + exe);
  }
  WaitForInputIdle(program.hProcess, StepTimeoutMs);
  if (!WaitFor(
          [] {
            dialog = nullptr;
            EnumWindows(FindDialog, 0);
            return dialog != nullptr;
          },
          30000)) {
    Fail(L"the dialog did not appear");
  }
  // Input sent before the program has settled into its message loop can be
  // lost under Wine; the focus on the first control tells that it has.
  if (!WaitFor([] { return FocusName() != L"(none)"; })) Fail(L"nothing has the focus");
  WaitForInputIdle(program.hProcess, StepTimeoutMs);
  Log(L"ok: dialog shown, focus on " + FocusName());
}

void Run(const std::wstring& exe, const std::vector<std::wstring>& args) {
  unsigned long long snapshot = 0;
  std::size_t i = 0;
  auto next = [&]() -> std::wstring {
    if (i >= args.size()) Fail(L"argument missing");
    return Unescape(args[i++]);
  };
  auto number = [&]() { return ParseNumber(next()); };
  while (i < args.size()) {
    const std::wstring command = args[i++];
    if (command == L"launch") {
      Launch(exe);
    } else if (command == L"focus") {
      FocusControl(TakeControl(args, i));
    } else if (command == L"set") { // Tab to the field, type over its selected text
      const Control c = TakeControl(args, i);
      const std::wstring text = next();
      // Entering a field by Tab selects its text, so typing replaces it.
      if (HasFocus(c.Hwnd)) PressKey(L"shift+tab");
      FocusControl(c);
      TypeText(text);
      if (!WaitFor([&] { return WindowText(c.Hwnd) == text; })) {
        Fail(L"typing into " + c.Label + L" gave \"" + Escape(WindowText(c.Hwnd)) + L"\"");
      }
    } else if (command == L"key") {
      PressKey(next());
    } else if (command == L"toggle") {
      const Control c = TakeControl(args, i);
      FocusControl(c);
      const LRESULT before = Ask(c.Hwnd, BM_GETCHECK);
      PressKey(L"space");
      if (!WaitFor([&] { return Ask(c.Hwnd, BM_GETCHECK) != before; })) {
        Fail(L"Space did not toggle " + c.Label);
      }
    } else if (command == L"choose") { // Down arrow in a closed list, n times
      const Control c = TakeControl(args, i);
      const long long presses = number();
      FocusControl(c);
      for (long long n = 0; n < presses; ++n) {
        const LRESULT before = Ask(c.Hwnd, CB_GETCURSEL);
        PressKey(L"down");
        WaitFor([&] { return Ask(c.Hwnd, CB_GETCURSEL) != before; }, 2000);
      }
    } else if (command == L"tab") {
      SwitchTab(static_cast<int>(number()));
    } else if (command == L"click") {
      const Control c = TakeControl(args, i);
      ClickAt(CentreOf(c.Hwnd));
    } else if (command == L"click-tab") { // tabs visible without scrolling
      const long long tab = number();
      RECT strip{};
      GetWindowRect(Named("TabControl1"), &strip);
      ClickAt({strip.left + 2 + static_cast<LONG>((tab - 1) * TabWidth) + TabWidth / 2,
               strip.top + TabHeight / 2});
      if (!WaitFor([&] { return Ask(Named("TabControl1"), TCM_GETCURSEL) == tab - 1; })) {
        Fail(L"clicking tab " + Num(tab) + L" did not select it");
      }
    } else if (command == L"right-click-tab") { // selects the tab, then opens its menu
      const long long tab = number();
      RECT strip{};
      GetWindowRect(Named("TabControl1"), &strip);
      const POINT p{strip.left + 2 + static_cast<LONG>((tab - 1) * TabWidth) + TabWidth / 2,
                    strip.top + TabHeight / 2};
      for (DWORD e : {MOUSEEVENTF_MOVE, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP}) MouseAt(e, p);
      if (!WaitFor([&] { return Ask(Named("TabControl1"), TCM_GETCURSEL) == tab - 1; }) ||
          !WaitFor([] { return OpenMenu() != nullptr; })) {
        Fail(L"right-clicking tab " + Num(tab) + L" did not select it and open its menu");
      }
    } else if (command == L"menu-key") { // a key in the open menu, which then closes
      PressKey(next());
      if (!WaitFor([] { return OpenMenu() == nullptr; })) Fail(L"the menu stayed open");
    } else if (command == L"closebox") {
      ClickAt(FindOnTitleBar(HTCLOSE));
    } else if (command == L"drag") { // move the window by its title bar
      const LONG dx = static_cast<LONG>(number());
      const LONG dy = static_cast<LONG>(number());
      RECT before{};
      GetWindowRect(dialog, &before);
      POINT p = FindOnTitleBar(HTCAPTION);
      MouseAt(MOUSEEVENTF_MOVE, p);
      MouseAt(MOUSEEVENTF_LEFTDOWN, p);
      for (int step = 1; step <= 5; ++step) {
        MouseAt(MOUSEEVENTF_MOVE, {p.x + dx * step / 5, p.y + dy * step / 5});
      }
      MouseAt(MOUSEEVENTF_LEFTUP, {p.x + dx, p.y + dy});
      RECT after{};
      if (!WaitFor([&] {
            GetWindowRect(dialog, &after);
            return after.left == before.left + dx && after.top == before.top + dy;
          })) {
        Fail(L"dragging moved the window to " + Num(after.left) + L"," + Num(after.top));
      }
    } else if (command == L"put-text") {
      // Text straight into a control, for what no keyboard here produces:
      // Windows may paste line breaks into a single-line box, Wine cuts there.
      const Control c = TakeControl(args, i);
      const std::wstring text = next();
      SendMessageTimeoutW(c.Hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_BLOCK,
                          StepTimeoutMs, nullptr);
    } else if (command == L"clipboard") {
      const std::wstring text = next();
      if (!OpenClipboard(nullptr)) Fail(L"clipboard busy");
      EmptyClipboard();
      HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
      auto* p = static_cast<wchar_t*>(GlobalLock(mem));
      std::copy(text.c_str(), text.c_str() + text.size() + 1, p);
      GlobalUnlock(mem);
      SetClipboardData(CF_UNICODETEXT, mem);
      CloseClipboard();
    } else if (command == L"expect-text") {
      const Control c = TakeControl(args, i);
      const std::wstring expected = next();
      WaitFor([&] { return WindowText(c.Hwnd) == expected; }, 1000);
      ExpectEqual(WindowText(c.Hwnd), expected, L"text of " + c.Label);
    } else if (command == L"expect-text-start") {
      const Control c = TakeControl(args, i);
      const std::wstring expected = next();
      const std::wstring actual = WindowText(c.Hwnd);
      ExpectEqual(actual.substr(0, expected.size()), expected, L"start of the text of " + c.Label);
    } else if (command == L"expect-check") {
      const Control c = TakeControl(args, i);
      ExpectNumber(Ask(c.Hwnd, BM_GETCHECK), number(), L"tick of " + c.Label);
    } else if (command == L"expect-selected") {
      const Control c = TakeControl(args, i);
      ExpectNumber(Ask(c.Hwnd, CB_GETCURSEL), number(), L"selection of " + c.Label);
    } else if (command == L"expect-count") {
      const Control c = TakeControl(args, i);
      ExpectNumber(Ask(c.Hwnd, CB_GETCOUNT), number(), L"entries of " + c.Label);
    } else if (command == L"expect-item") { // the list's entry at a position
      const Control c = TakeControl(args, i);
      const auto position = static_cast<WPARAM>(number());
      wchar_t buffer[256] = {};
      if (Ask(c.Hwnd, CB_GETLBTEXTLEN, position) < 255) {
        Ask(c.Hwnd, CB_GETLBTEXT, position, reinterpret_cast<LPARAM>(buffer));
      }
      ExpectEqual(buffer, next(), L"entry " + Num(position) + L" of " + c.Label);
    } else if (command == L"expect-tab") {
      ExpectNumber(Ask(Named("TabControl1"), TCM_GETCURSEL) + 1, number(), L"selected tab");
    } else if (command == L"expect-tabs") {
      HWND strip = Named("TabControl1");
      ExpectNumber(Ask(strip, TCM_GETITEMCOUNT), TabCount, L"number of tabs");
    } else if (command == L"expect-position") {
      RECT r{};
      GetWindowRect(dialog, &r);
      const long long x = number();
      const long long y = number();
      ExpectEqual(Num(r.left) + L"," + Num(r.top), Num(x) + L"," + Num(y), L"window position");
    } else if (command == L"expect-window") { // caption, size, frame, owner, memo
      ExpectEqual(WindowText(dialog), Caption, L"caption");
      RECT client{};
      GetClientRect(dialog, &client);
      ExpectEqual(Num(client.right) + L"x" + Num(client.bottom),
                  Num(ClientWidth) + L"x" + Num(ClientHeight), L"client area");
      const auto style = static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE));
      Expect((style & WS_MINIMIZEBOX) && (style & WS_SYSMENU) && !(style & WS_MAXIMIZEBOX) &&
                 !(style & WS_THICKFRAME),
             L"system menu and minimise box only, fixed border");
      HWND owner = GetWindow(dialog, GW_OWNER);
      ExpectEqual(owner != nullptr ? WindowText(owner) : L"", ApplicationTitle,
                  L"application title");
      HWND memo = Named("Memo1");
      const auto memoStyle = static_cast<DWORD>(GetWindowLongW(memo, GWL_STYLE));
      Expect((memoStyle & ES_READONLY) && (memoStyle & WS_VSCROLL) && !(memoStyle & WS_TABSTOP),
             L"memo read-only with a vertical scroll bar, no focus stop");
      ExpectNumber(Ask(memo, EM_GETLINECOUNT), 28, L"help lines");
      for (std::size_t s = 0; s < std::size(Layout); ++s) {
        if (Layout[s].Parent == Place::RowFrame || Layout[s].Kind == ControlKind::RowFrame)
          continue;
        if (Layout[s].Kind == ControlKind::DropDownList) continue;
        RECT r{};
        HWND h = ItemOf(dialog, s);
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        const std::wstring name(Layout[s].Name.begin(), Layout[s].Name.end());
        const int dx = Layout[s].Parent == Place::TabStrip ? Layout[2].Left : 0;
        const int dy = Layout[s].Parent == Place::TabStrip ? Layout[2].Top : 0;
        ExpectEqual(Num(r.left) + L"," + Num(r.top) + L" " + Num(r.right - r.left) + L"x" +
                        Num(r.bottom - r.top),
                    Num(Layout[s].Left + dx) + L"," + Num(Layout[s].Top + dy) + L" " +
                        Num(Layout[s].Width) + L"x" + Num(Layout[s].Height),
                    L"place of " + name);
      }
    } else if (command == L"expect-client") { // client area W H, at any DPI
      const long long w = number();
      const long long h = number();
      RECT client{};
      GetClientRect(dialog, &client);
      ExpectEqual(Num(client.right) + L"x" + Num(client.bottom), Num(w) + L"x" + Num(h),
                  L"client area");
    } else if (command == L"expect-ink-height") { // NAME MIN MAX: its text's height on screen
      const Control c = TakeControl(args, i);
      const long long low = number();
      const long long high = number();
      const int ink = InkHeight(c.Hwnd);
      Expect(ink >= low && ink <= high, L"text of " + c.Label + L" is " + Num(ink) +
                                            L" pixels high, in " + Num(low) + L".." + Num(high));
    } else if (command == L"expect-preview") { // beside the dialog, shown, without the focus
      HWND preview = nullptr;
      if (!WaitFor([&] {
            preview = ProgramWindow(PreviewCaption);
            return preview != nullptr && IsWindowVisible(preview);
          })) {
        Fail(L"the preview window did not appear");
      }
      Expect(GetWindow(preview, GW_OWNER) == dialog, L"the dialog owns the preview");
      RECT d{};
      RECT p{};
      GetWindowRect(dialog, &d);
      GetWindowRect(preview, &p);
      RECT overlap{};
      Expect(!IntersectRect(&overlap, &d, &p), L"preview beside the dialog, not over it");
      ExpectEqual(Num(p.left >= d.right ? 1 : 0), L"1", L"preview right of the dialog");
      Expect(GetForegroundWindow() == dialog, L"the dialog stays the active window");
      Expect(FocusName() != L"(none)", L"a control of the dialog has the focus");
      const auto ex = static_cast<DWORD>(GetWindowLongW(preview, GWL_EXSTYLE));
      const auto style = static_cast<DWORD>(GetWindowLongW(preview, GWL_STYLE));
      Expect((ex & WS_EX_NOACTIVATE) && (style & WS_THICKFRAME), L"resizable, never activated");
    } else if (command == L"expect-buttons-clear") { // the preview covers neither OK nor Cancel
      RECT p{};
      GetWindowRect(PreviewWindow(), &p);
      for (const char* name : {"Button1", "Button2"}) {
        RECT b{};
        GetWindowRect(Named(name), &b);
        Expect(!IntersectRect(&b, &p, &b), L"the preview clear of OK and Cancel");
      }
    } else if (command == L"expect-preview-hidden") {
      if (!WaitFor([] { return !IsWindowVisible(PreviewWindow()); })) Fail(L"preview still shown");
      Log(L"ok: preview hidden");
    } else if (command == L"snap-preview") {
      snapshot = PreviewPixels();
      Log(L"ok: preview pixels taken");
    } else if (command == L"expect-preview-changed") {
      const bool changed = WaitFor([&] { return PreviewPixels() != snapshot; }, 3000);
      Expect(changed, L"the preview's pixels changed");
      snapshot = PreviewPixels();
    } else if (command == L"log-picture") { // the preview without the notes along its bottom
      Log(L"picture " + Num(static_cast<long long>(PreviewPixels(18))));
    } else if (command == L"close-preview") { // its close box, with the mouse
      HWND preview = PreviewWindow();
      RECT r{};
      GetWindowRect(preview, &r);
      POINT origin{0, 0};
      ClientToScreen(preview, &origin);
      const LONG y = (r.top + origin.y) / 2;
      LONG x = r.right - 2;
      while (x > r.left && Ask(preview, WM_NCHITTEST, 0, MAKELPARAM(x, y)) != HTCLOSE) --x;
      if (x <= r.left) Fail(L"no close box on the preview");
      ClickAt({x, y});
    } else if (command == L"minimise-restore") { // the minimise box, then the taskbar button
      HWND preview = PreviewWindow();
      ClickAt(FindOnTitleBar(HTMINBUTTON));
      if (!WaitFor([&] { return !IsWindowVisible(dialog); }, 2000)) {
        // Wine: minimising the application window leaves the dialog it owns
        // on the screen (Windows hides it); the preview must then stay too.
        Expect(IsWindowVisible(preview) != FALSE,
               L"Wine: dialog not hidden, preview stays with it");
      } else {
        if (!WaitFor([&] { return !IsWindowVisible(preview); })) {
          Fail(L"minimising left the preview on the screen");
        }
        Log(L"ok: dialog and preview minimised together");
        PostMessageW(GetWindow(dialog, GW_OWNER), WM_SYSCOMMAND, SC_RESTORE, 0);
        if (!WaitFor([&] { return IsWindowVisible(dialog) && IsWindowVisible(preview); })) {
          Fail(L"restoring did not bring back the dialog and the preview");
        }
        Log(L"ok: dialog and preview restored together");
      }
    } else if (command == L"show-preview") { // the dialog's system-menu item, by keyboard
      // Alt+Space opens the system menu; its last item is the preview's.
      PressKey(L"alt+space");
      Sleep(300);
      PressKey(L"up");
      PressKey(L"enter");
      if (!WaitFor([] { return IsWindowVisible(PreviewWindow()) != FALSE; })) {
        Fail(L"the system-menu item did not show the preview");
      }
      Expect(GetForegroundWindow() == dialog, L"showing it left the dialog active");
    } else if (command == L"expect-message") { // an error box owned by the dialog, two texts in it
      const std::wstring part = next();
      const std::wstring part2 = next();
      HWND box = nullptr;
      if (!WaitFor([&] {
            box = ProgramWindow(Caption, L"#32770");
            return box != nullptr && IsWindowVisible(box);
          })) {
        Fail(L"no message box");
      }
      Expect(GetWindow(box, GW_OWNER) == dialog, L"the dialog owns the message box");
      std::wstring text;
      for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
           child = GetWindow(child, GW_HWNDNEXT)) {
        text += WindowText(child) + L"\n";
      }
      for (const std::wstring* want : {&part, &part2}) {
        Expect(text.find(*want) != std::wstring::npos,
               L"message holds \"" + Escape(*want) + L"\": " + Escape(text));
      }
      bool icon = false;
      for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
           child = GetWindow(child, GW_HWNDNEXT)) {
        const auto style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
        if ((style & SS_TYPEMASK) == SS_ICON) icon = true;
      }
      Expect(icon, L"the message shows an icon");
      // Enter must reach the message box, not the dialog under it.
      HWND owner = dialog;
      dialog = box;
      PressKey(L"enter");
      dialog = owner;
      if (!WaitFor([&] { return !IsWindow(box); })) Fail(L"Enter did not close the message box");
      Log(L"ok: message closed by Enter");
    } else if (command == L"expect-field-height") {
      const Control c = TakeControl(args, i);
      RECT r{};
      GetWindowRect(c.Hwnd, &r);
      ExpectNumber(r.bottom - r.top, number(), L"height of " + c.Label);
    } else if (command == L"expect-focus-cycle") {
      ExpectFocusCycle();
    } else if (command == L"expect-exit") { // the program ends on its own
      if (WaitForSingleObject(program.hProcess, StepTimeoutMs) != WAIT_OBJECT_0) {
        Fail(L"the program did not end");
      }
      DWORD code = 1;
      GetExitCodeProcess(program.hProcess, &code);
      ExpectNumber(code, 0, L"exit code");
    } else if (command == L"expect-running") {
      Sleep(300);
      Expect(WaitForSingleObject(program.hProcess, 0) == WAIT_TIMEOUT && IsWindowVisible(dialog),
             L"the dialog is still open");
    } else if (command == L"screenshot") {
      // Writes the window's rectangle into the flag file and waits until the
      // test script has taken the picture and removed the file.
      const std::wstring flag = next();
      RECT r{};
      GetWindowRect(dialog, &r);
      // The preview beside it belongs in the picture.
      if (HWND preview = ProgramWindow(PreviewCaption);
          preview != nullptr && IsWindowVisible(preview)) {
        RECT p{};
        GetWindowRect(preview, &p);
        UnionRect(&r, &r, &p);
      }
      const std::string geometry = Narrow(Num(r.right - r.left) + L"x" + Num(r.bottom - r.top) +
                                          L"+" + Num(r.left) + L"+" + Num(r.top) + L"\n");
      std::FILE* f = _wfopen(flag.c_str(), L"wb");
      if (f == nullptr) Fail(L"cannot write " + flag);
      std::fwrite(geometry.data(), 1, geometry.size(), f);
      std::fclose(f);
      if (!WaitFor([&] { return GetFileAttributesW(flag.c_str()) == INVALID_FILE_ATTRIBUTES; },
                   30000)) {
        Fail(L"nobody took the screenshot");
      }
    } else {
      Fail(L"unknown command " + command);
    }
  }
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 3) return 2;
  logFile = _wfopen(argv[1], L"wb");
  std::vector<std::wstring> args(argv + 3, argv + argc);
  Run(Unescape(argv[2]), args);
  Log(L"PASS");
  if (logFile != nullptr) std::fclose(logFile);
  return 0;
}
