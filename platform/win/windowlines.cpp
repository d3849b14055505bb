// The interpreter of the scripted user's window lines (@click, @text, @key,
// @print, @cell ...), and the one place that says which code takes which line
// of the script. docs/SCRIPTING.md is the contract for what the lines mean.
//
// Whoever waits for input takes the next line of the one stream
// (platform/user/script.h):
//
//   line                                     taken by                        in
//   a command name, OPEN, SAVEAS, APPLOAD,   the host's command loop          host/commandline.cpp
//     MENUPICK, QUIT, the drawing commands
//   a point, text, keyword or number         the prompts (acedGetPoint ...)   platform/acad/edprompt.cpp
//     answering a prompt
//   a pick, W, C, ALL, L, Enter ending a     the selection (acedSSGet)        platform/acad/acedsel.cpp
//     selection
//   @drag, @pick, @rclick, @type while the   acedGrRead                       platform/acad/acedgr.cpp
//     drawing window reads the pointer
//   @answer, @close, ^C at a message box     the message box                  platform/win/msgbox.cpp
//   any line while a modal window is open    the modal loop, which hands it   platform/win/dlg.cpp
//                                            to HandleWindowLine below
//
// Words typed into the command-line window (WM_CHAR, a menu's macro) come
// before the script's next line for the command loop, prompts and selection
// (platform/acad/acedcmdline.cpp). Lines are taken, never pushed: a line that
// arrives where it makes no sense is answered where it lands (a window refuses
// it with "window input refused: LINE (why)", a prompt reads it as an answer).
#include <cstdlib>
#include <string>
#include <vector>

#include "dlgimpl.h"
#include "dlgscript.h"
#include "scriptprobe.h"
#include "textconv.h"
#include "textutil.h"
#include "transcript.h"
#include "wndimpl.h"

namespace win {
namespace {

using wnd::Find;
using wnd::Window;

using textutil::EqualNoCase;

using textutil::Trimmed;

// A value, without the double quotes that may hold its blanks.
std::string Unquote(const std::string& s) { return std::string(textutil::Unquote(textutil::Trim(s))); }

// Splits off the first word.
std::string Word(std::string& rest) {
  rest = Trimmed(rest);
  size_t sp = rest.find_first_of(" \t");
  std::string w = rest.substr(0, sp);
  rest = sp == std::string::npos ? std::string() : rest.substr(sp + 1);
  return w;
}

void Refuse(const std::string& line, const std::string& why) { dlg::RefuseLine(line, why); }

HWND FindControl(HWND parent, int id) {
  if (HWND h = GetDlgItem(parent, id)) return h;
  Window* w = Find(parent);
  if (!w) return nullptr;
  for (HWND c : w->children)
    if (HWND h = FindControl(c, id)) return h;
  return nullptr;
}

bool ParseInt(const std::string& s, int& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  if (*end) return false;
  out = static_cast<int>(v);
  return true;
}

bool ParsePoint(const std::string& s, POINT& pt) {
  size_t comma = s.find(',');
  if (comma == std::string::npos) return false;
  int x = 0, y = 0;
  if (!ParseInt(Trimmed(s.substr(0, comma)), x) || !ParseInt(Trimmed(s.substr(comma + 1)), y)) return false;
  pt = {x, y};
  return true;
}

#ifndef VK_ADD
#define VK_ADD 0x6B  // the keypad's plus
#endif

int KeyCode(const std::string& name) {
  static const std::pair<const char*, int> keys[] = {
      {"ENTER", VK_RETURN}, {"RETURN", VK_RETURN}, {"ESC", VK_ESCAPE}, {"ESCAPE", VK_ESCAPE}, {"TAB", VK_TAB},
      {"DELETE", VK_DELETE}, {"DEL", VK_DELETE}, {"BACK", VK_BACK}, {"BACKSPACE", VK_BACK}, {"UP", VK_UP},
      {"DOWN", VK_DOWN}, {"LEFT", VK_LEFT}, {"RIGHT", VK_RIGHT}, {"HOME", VK_HOME}, {"END", VK_END},
      {"PGUP", VK_PRIOR}, {"PGDN", VK_NEXT}, {"SPACE", VK_SPACE}, {"INSERT", VK_INSERT}, {"ADD", VK_ADD}};
  for (auto& [n, vk] : keys)
    if (name == n) return vk;
  if (name.size() >= 2 && name[0] == 'F') {
    int n = 0;
    if (ParseInt(name.substr(1), n) && n >= 1 && n <= 12) return VK_F1 + n - 1;
  }
  if (name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9'))) return name[0];
  return 0;
}

void SendKey(HWND target, int vk, bool withChar) {
  SendMessageW(target, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
  if (withChar && IsWindow(target)) {
    wchar_t ch = vk == VK_RETURN ? L'\r' : vk == VK_BACK ? L'\b' : vk == VK_TAB ? L'\t' : vk == VK_ESCAPE ? 0x1B
                 : vk == VK_SPACE ? L' ' : 0;
    if (ch) SendMessageW(target, WM_CHAR, ch, 1);
  }
  if (IsWindow(target)) SendMessageW(target, WM_KEYUP, static_cast<WPARAM>(vk), static_cast<LPARAM>(0xC0000001u));
}

HWND FocusIn(HWND window) {
  HWND f = GetFocus();
  return (f && (f == window || IsChild(window, f))) ? f : window;
}

}  // namespace

namespace dlg {

bool NavigationKey(HWND window, int vk, bool shift) {
  if (!IsDialog(window)) return false;
  HWND focus = FocusIn(window);
  LRESULT code = SendMessageW(focus, WM_GETDLGCODE, static_cast<WPARAM>(vk), 0);
  if (vk == VK_RETURN && !(code & DLGC_WANTALLKEYS)) {
    // Enter presses the focused push button, else the default button.
    int id = (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) && GetParent(focus) == window ? GetDlgCtrlID(focus)
                                                                                                : dlg::DefaultId(window);
    dlg::PressButton(window, id);
  } else if (vk == VK_ESCAPE && !(code & DLGC_WANTALLKEYS)) {
    HWND cancel = GetDlgItem(window, IDCANCEL);
    if (!cancel || IsWindowEnabled(cancel))
      SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
  } else if (vk == VK_TAB && !(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS))) {
    dlg::FocusControl(GetNextDlgTabItem(window, dlg::DirectChild(window, focus), shift));
  } else {
    return false;
  }
  return true;
}

}  // namespace dlg

namespace {

void PressKey(HWND window, int vk, bool shift, bool ctrl) {
  wnd::SetKeyDown(VK_SHIFT, shift);
  wnd::SetKeyDown(VK_CONTROL, ctrl);
  if (ctrl || !dlg::NavigationKey(window, vk, shift)) SendKey(FocusIn(window), vk, !ctrl);
  wnd::SetKeyDown(VK_SHIFT, false);
  wnd::SetKeyDown(VK_CONTROL, false);
}

// Each character goes to the window that has the focus when it is typed: a
// first character may open an editor that takes the rest.
void TypeText(HWND window, const std::wstring& text) {
  for (wchar_t ch : text) {
    HWND target = FocusIn(window);
    if (!IsWindow(target)) return;
    SendMessageW(target, WM_CHAR, ch, 1);
  }
}

// The window that takes typing for a control: a drop-down combo box types
// into its edit part.
HWND TypingTarget(HWND control) {
  if (HWND e = GetDlgItem(control, IDC_COMBO_EDIT)) return e;
  return control;
}

bool MouseAction(HWND control, const std::string& action, POINT pt, bool shift, bool ctrl) {
  struct Act {
    const char* name;
    std::vector<UINT> msgs;
  };
  static const Act acts[] = {
      {"ldown", {WM_LBUTTONDOWN}}, {"lup", {WM_LBUTTONUP}}, {"lclick", {WM_LBUTTONDOWN, WM_LBUTTONUP}},
      {"ldbl", {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}}, {"mdown", {WM_MBUTTONDOWN}},
      {"mup", {WM_MBUTTONUP}}, {"rdown", {WM_RBUTTONDOWN}}, {"rup", {WM_RBUTTONUP}}, {"move", {WM_MOUSEMOVE}}};
  const Act* act = nullptr;
  for (const Act& a : acts)
    if (action == a.name) act = &a;
  if (!act) return false;
  wnd::SetKeyDown(VK_SHIFT, shift);
  wnd::SetKeyDown(VK_CONTROL, ctrl);
  POINT screen = pt;
  ClientToScreen(control, &screen);
  SetCursorPos(screen.x, screen.y);
  // A button pressed by one line stays held until a line lets it go, so
  // that ldown, move ... move, lup is a drag.
  bool lDown = GetKeyState(VK_LBUTTON) < 0, mDown = GetKeyState(VK_MBUTTON) < 0, rDown = GetKeyState(VK_RBUTTON) < 0;
  for (UINT msg : act->msgs) {
    HWND target = GetCapture() ? GetCapture() : control;
    if (!IsWindow(target)) break;
    POINT local = screen;
    ScreenToClient(target, &local);
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) lDown = true;
    if (msg == WM_LBUTTONUP) lDown = false;
    if (msg == WM_MBUTTONDOWN) mDown = true;
    if (msg == WM_MBUTTONUP) mDown = false;
    if (msg == WM_RBUTTONDOWN) rDown = true;
    if (msg == WM_RBUTTONUP) rDown = false;
    WPARAM keys = (lDown ? MK_LBUTTON : 0) | (mDown ? MK_MBUTTON : 0) | (rDown ? MK_RBUTTON : 0) | (shift ? MK_SHIFT : 0) |
                  (ctrl ? MK_CONTROL : 0);
    if (!GetCapture()) {
      // The window says what part of it is under the pointer, then sets the cursor for it.
      LRESULT hit = SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
      if (hit == HTTRANSPARENT || hit == HTNOWHERE) hit = HTCLIENT;
      if (IsWindow(target))
        SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(static_cast<WORD>(hit), msg));
    }
    wnd::SetKeyDown(VK_LBUTTON, lDown);
    wnd::SetKeyDown(VK_MBUTTON, mDown);
    wnd::SetKeyDown(VK_RBUTTON, rDown);
    if (IsWindow(target)) SendMessageW(target, msg, keys, MAKELPARAM(local.x, local.y));
  }
  wnd::SetKeyDown(VK_SHIFT, false);
  wnd::SetKeyDown(VK_CONTROL, false);
  return true;
}

std::wstring ClassOf(HWND h) {
  wchar_t cls[64] = {0};
  GetClassNameW(h, cls, 64);
  return cls;
}

std::wstring TextOf(HWND h) {
  int n = GetWindowTextLengthW(h);
  std::wstring text(static_cast<size_t>(std::max(n, 0)) + 1, L'\0');
  text.resize(static_cast<size_t>(std::max(GetWindowTextW(h, text.data(), n + 1), 0)));
  return text;
}

// The items of a combo or list box by the messages of its kind.
void ListItems(HWND h, UINT countMsg, UINT lengthMsg, UINT textMsg, ScriptPrintLines& lines) {
  LRESULT count = SendMessageW(h, countMsg, 0, 0);
  for (LRESULT k = 0; k < count; ++k) {
    LRESULT n = SendMessageW(h, lengthMsg, static_cast<WPARAM>(k), 0);
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(n, 0)) + 1, L'\0');
    LRESULT got = SendMessageW(h, textMsg, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, std::max<LRESULT>(n, 0))));
    lines.emplace_back(L"item " + std::to_wstring(k), text);
  }
}

// What @print shows of a control: its own answer to WM_SCRIPT_PRINT first,
// then what the built-in kinds hold. False when the control says nothing.
bool PrintLines(HWND c, ScriptPrintLines& lines) {
  if (SendMessageW(c, WM_SCRIPT_PRINT, 0, reinterpret_cast<LPARAM>(&lines))) return true;
  lines.clear();  // a control that did not answer leaves no half answer behind
  std::wstring cls = ClassOf(c);
  auto is = [&](const wchar_t* name) { return EqualNoCase(cls, name); };
  if (is(WC_EDITW) || is(WC_STATICW) || is(WC_BUTTONW)) {
    lines.emplace_back(L"", TextOf(c));
    return true;
  }
  if (is(WC_COMBOBOXW)) {
    // The window text is the edit field's, or the selected item's.
    lines.emplace_back(L"", TextOf(c));
    ListItems(c, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, lines);
    return true;
  }
  if (is(WC_LISTBOXW)) {
    LRESULT sel = SendMessageW(c, LB_GETCURSEL, 0, 0);
    ScriptPrintLines items;
    ListItems(c, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, items);
    lines.emplace_back(L"", sel >= 0 && sel < static_cast<LRESULT>(items.size()) ? items[static_cast<size_t>(sel)].second
                                                                                  : std::wstring());
    lines.insert(lines.end(), items.begin(), items.end());
    return true;
  }
  return false;
}

bool PrintControl(const std::string& line, int id, HWND c) {
  ScriptPrintLines lines;
  if (!PrintLines(c, lines)) {
    Refuse(line, "the control does not say what it holds");
    return false;
  }
  std::string head = "[print " + std::to_string(id);
  for (const auto& [tag, text] : lines)
    user::WriteLine(head + (tag.empty() ? "" : " " + WideToUtf8(tag)) + "] " + WideToUtf8(text));
  return true;
}

}  // namespace

namespace dlg {
void RefuseLine(const std::string& line, const std::string& why) {
  user::WriteLine("window input refused: " + line + " (" + why + ")");
}
}  // namespace dlg

bool HandleWindowLine(HWND window, const std::string& rawLine) {
  std::string line = Trimmed(rawLine);
  if (!IsWindow(window)) return false;
  if (line.empty()) {
    PressKey(window, VK_RETURN, false, false);
    return true;
  }
  if (line == "^C") {
    PressKey(window, VK_ESCAPE, false, false);
    return true;
  }
  if (line[0] != '@') {
    Refuse(line, "a window is waiting for window input");
    return false;
  }
  std::string rest = line.substr(1);
  std::string cmd = Word(rest);
  cmd = textutil::Upper(cmd);
  int id = 0;
  // The control the line names; `usable`: it must be visible and enabled.
  auto control = [&](HWND& out, bool usable = true) {
    if (!ParseInt(Word(rest), id)) {
      Refuse(line, "no control id");
      return false;
    }
    out = FindControl(window, id);
    if (!out) {
      Refuse(line, "no control " + std::to_string(id));
      return false;
    }
    if (usable && (!IsWindowVisible(out) || !IsWindowEnabled(out))) {
      Refuse(line, "control " + std::to_string(id) + " is hidden or disabled");
      return false;
    }
    return true;
  };
  if (cmd == "CLICK") {
    HWND c;
    if (!control(c)) return false;
    RECT rc;
    GetClientRect(c, &rc);
    return MouseAction(c, "lclick", {rc.right / 2, rc.bottom / 2}, false, false);
  }
  if (cmd == "TEXT") {
    HWND c;
    if (!control(c)) return false;
    std::wstring text = Utf8ToWide(Unquote(rest));
    if (EqualNoCase(ClassOf(c), WC_COMBOBOXW) && !GetDlgItem(c, IDC_COMBO_EDIT)) {
      SetFocus(c);
      if (!wnd::ComboPickByText(c, text)) {
        Refuse(line, "no such item");
        return false;
      }
      return true;
    }
    HWND target = TypingTarget(c);
    SetFocus(target);
    if (GetFocus() != target) return false;
    SendMessageW(target, EM_SETSEL, 0, -1);
    TypeText(target, text);
    return true;
  }
  if (cmd == "TYPE") {
    std::wstring text = Utf8ToWide(Unquote(rest));
    TypeText(window, text);
    return true;
  }
  if (cmd == "KEY") {
    std::string name = textutil::Upper(Trimmed(rest));
    bool shift = false, ctrl = false;
    for (;;) {
      if (name.rfind("CTRL+", 0) == 0) {
        ctrl = true;
        name = name.substr(5);
      } else if (name.rfind("SHIFT+", 0) == 0) {
        shift = true;
        name = name.substr(6);
      } else {
        break;
      }
    }
    int vk = KeyCode(name);
    if (!vk) {
      Refuse(line, "unknown key");
      return false;
    }
    PressKey(window, vk, shift, ctrl);
    return true;
  }
  if (cmd == "FOCUS") {
    HWND c;
    if (!control(c)) return false;
    dlg::FocusControl(TypingTarget(c));
    return true;
  }
  if (cmd == "SELECT") {
    HWND c;
    if (!control(c)) return false;
    if (!EqualNoCase(ClassOf(c), WC_COMBOBOXW)) {
      Refuse(line, "not a list");
      return false;
    }
    SetFocus(TypingTarget(c));
    if (!wnd::ComboPickByText(c, Utf8ToWide(Unquote(rest)))) {
      Refuse(line, "no such item");
      return false;
    }
    return true;
  }
  if (cmd == "MOUSE") {
    HWND c;
    if (!control(c)) return false;
    std::string action = Word(rest);
    POINT pt;
    if (!ParsePoint(Word(rest), pt)) {
      Refuse(line, "no point");
      return false;
    }
    bool shift = false, ctrl = false;
    for (std::string mod = Word(rest); !mod.empty(); mod = Word(rest)) {
      if (EqualNoCase(mod, "SHIFT")) shift = true;
      else if (EqualNoCase(mod, "CTRL")) ctrl = true;
    }
    if (!MouseAction(c, action, pt, shift, ctrl)) {
      Refuse(line, "unknown mouse action");
      return false;
    }
    return true;
  }
  if (cmd == "WHEEL") {
    HWND c;
    if (!control(c)) return false;
    POINT pt;
    int delta = 0;
    if (!ParsePoint(Word(rest), pt) || !ParseInt(Word(rest), delta)) {
      Refuse(line, "needs x,y and a delta");
      return false;
    }
    ClientToScreen(c, &pt);
    SendMessageW(c, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<short>(delta)), MAKELPARAM(pt.x, pt.y));
    return true;
  }
  if (cmd == "CELL") {
    HWND c;
    if (!control(c)) return false;
    int row = 0, col = 0;
    if (!ParseInt(Word(rest), row) || !ParseInt(Word(rest), col) || row < 0 || col < 0) {
      Refuse(line, "needs a row and a column");
      return false;
    }
    std::string mode = Word(rest);
    bool dbl = EqualNoCase(mode, "dbl");
    if (!(mode.empty() || dbl) || !Trimmed(rest).empty()) {
      Refuse(line, "only dbl may follow the column");
      return false;
    }
    LRESULT at = SendMessageW(c, WM_SCRIPT_CELLPOINT, static_cast<WPARAM>(row), static_cast<LPARAM>(col));
    if (at == -1) {
      Refuse(line, "no such cell");
      return false;
    }
    // A control that does not know the message answers 0.
    if (at == 0) {
      Refuse(line, "control " + std::to_string(id) + " has no cells");
      return false;
    }
    return MouseAction(c, dbl ? "ldbl" : "lclick", {GET_X_LPARAM(at), GET_Y_LPARAM(at)}, false, false);
  }
  if (cmd == "PRINT") {
    HWND c;
    if (!control(c, false)) return false;
    return PrintControl(line, id, c);
  }
  if (cmd == "CLOSE") {
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
  }
  if (cmd == "WAIT") {
    int ms = 0;
    if (!ParseInt(Word(rest), ms) || ms < 0) {
      Refuse(line, "needs milliseconds");
      return false;
    }
    wnd::AdvanceClock(static_cast<unsigned>(ms));
    return true;
  }
  if (cmd == "SNAPSHOT") {
    std::string file = Word(rest);
    if (file.empty()) {
      Refuse(line, "needs a file name");
      return false;
    }
    HWND part = nullptr;
    if (!Trimmed(rest).empty()) {
      int partId = 0;
      if (!ParseInt(Word(rest), partId) || !(part = FindControl(window, partId))) {
        Refuse(line, "no such control");
        return false;
      }
    }
    return WriteSnapshot(window, file, part);
  }
  if (cmd == "ANSWER") {
    Refuse(line, "no message box is open");
    return false;
  }
  Refuse(line, "unknown window action");
  return false;
}

}  // namespace win
