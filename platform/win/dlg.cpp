// Dialog boxes: the dialog window class, dialogs from templates, the dialog
// manager's keyboard rules (Enter, Esc, Tab), the modal loop over the
// scripted user's window lines, message boxes and snapshots.
#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <sstream>

#include "dlgscript.h"
#include "script.h"
#include "textconv.h"
#include "transcript.h"
#include "wndimpl.h"

namespace win::wnd {
bool ComboPickByText(HWND h, const std::wstring& text);
}

namespace win {
namespace {

int CompareNoCase(const wchar_t* a, const wchar_t* b) { return wcscasecmp(a, b); }

using wnd::Find;
using wnd::Window;

struct DialogData : wnd::ControlData {
  DLGPROC proc = nullptr;
  int defId = IDOK;
  bool ended = false;
  INT_PTR result = 0;
  HWND lastFocus = nullptr;
  HFONT ownedFont = nullptr;
  SIZE baseUnits{6, 13};
  ~DialogData() override {
    if (ownedFont) DeleteObject(ownedFont);
  }
};

DialogData* DialogOf(HWND h) {
  Window* w = Find(h);
  return w ? dynamic_cast<DialogData*>(w->data.get()) : nullptr;
}

// The direct child of `dialog` that holds `h` (a combo box for its edit part).
HWND DirectChild(HWND dialog, HWND h) {
  while (h && GetParent(h) != dialog) {
    Window* w = Find(h);
    if (!w || !(w->style & WS_CHILD)) return nullptr;
    h = w->parent;
  }
  return h;
}

bool Focusable(HWND h) {
  DWORD style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
  return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

void FocusControl(HWND h) {
  if (!h) return;
  SetFocus(h);
  HWND f = GetFocus();
  if (f && (SendMessageW(f, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)) SendMessageW(f, EM_SETSEL, 0, -1);
}

void PressButton(HWND dialog, int id) {
  HWND b = GetDlgItem(dialog, id);
  if (b && (!IsWindowEnabled(b) || !IsWindowVisible(b))) return;
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(b));
}

int DefaultId(HWND dialog) {
  LRESULT r = SendMessageW(dialog, DM_GETDEFID, 0, 0);
  return HIWORD(r) == DC_HASDEFID ? LOWORD(r) : IDOK;
}

}  // namespace
}  // namespace win

namespace win::wnd {

LRESULT CALLBACK DialogWndProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    if (Window* w = Find(h)) w->data = std::make_unique<DialogData>();
    return TRUE;
  }
  DialogData* d = DialogOf(h);
  if (d && d->proc) {
    INT_PTR r = d->proc(h, msg, wParam, lParam);
    if (r) return r;
    d = DialogOf(h);
  }
  switch (msg) {
    case WM_CLOSE: {
      HWND cancel = GetDlgItem(h, IDCANCEL);
      if (cancel && !IsWindowEnabled(cancel)) return 0;
      // The close box posts the cancel command; the modal loop dispatches it
      // before it takes the next line.
      PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case DM_GETDEFID: return d ? MAKELRESULT(d->defId, DC_HASDEFID) : 0;
    case DM_SETDEFID: {
      if (!d) return FALSE;
      if (HWND old = GetDlgItem(h, d->defId); old && (GetWindowLongPtrW(old, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        SendMessageW(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
      d->defId = static_cast<int>(wParam);
      if (HWND nb = GetDlgItem(h, d->defId); nb && (GetWindowLongPtrW(nb, GWL_STYLE) & BS_TYPEMASK) == BS_PUSHBUTTON)
        SendMessageW(nb, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
      return TRUE;
    }
    case WM_NEXTDLGCTL: {
      HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                   : GetNextDlgTabItem(h, DirectChild(h, GetFocus()), wParam != 0);
      FocusControl(target);
      return 0;
    }
    case WM_SETFOCUS: {
      HWND target = d && IsWindow(d->lastFocus) ? d->lastFocus : GetNextDlgTabItem(h, nullptr, FALSE);
      if (target) FocusControl(target);
      return 0;
    }
    case WM_KILLFOCUS:
      return 0;
    case WM_CTLCOLORDLG: return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default: return DefWindowProcW(h, msg, wParam, lParam);
  }
}

}  // namespace win::wnd

namespace win {

SIZE DialogBaseUnits(HFONT font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  SIZE ext{0, 0};
  static const wchar_t alphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  GetTextExtentPoint32W(dc, alphabet, 52, &ext);
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  DeleteDC(dc);
  return {(ext.cx / 26 + 1) / 2, tm.tmHeight};
}

HWND CreateDialogFromTemplate(const DialogResource& tmpl, HINSTANCE instance, HWND owner, DLGPROC proc, LPARAM param,
                              const std::function<void(HWND)>& attach) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(tmpl.pointSize > 0 ? tmpl.pointSize : 8, 96, 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, tmpl.fontFace.empty() ? L"MS Shell Dlg" : tmpl.fontFace.c_str(), LF_FACESIZE - 1);
  HFONT font = CreateFontIndirectW(&lf);
  SIZE base = DialogBaseUnits(font);
  auto dx = [&](int v) { return MulDiv(v, base.cx, 4); };
  auto dy = [&](int v) { return MulDiv(v, base.cy, 8); };

  DWORD style = tmpl.style & ~WS_VISIBLE;
  bool child = (style & WS_CHILD) != 0;
  wnd::Window probe;
  probe.style = style;
  probe.exStyle = tmpl.exStyle;
  RECT in = wnd::NonClientInsets(probe);
  int w = dx(tmpl.cx) + in.left + in.right, h = dy(tmpl.cy) + in.top + in.bottom;
  int x = dx(tmpl.x), y = dy(tmpl.y);
  if (!child) {
    // Dialogs open centred on their owner, or on the screen.
    RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner && IsWindow(owner) && IsWindowVisible(owner)) GetWindowRect(GetAncestor(owner, GA_ROOT), &around);
    x = std::max<int>(0, around.left + (around.right - around.left - w) / 2);
    y = std::max<int>(0, around.top + (around.bottom - around.top - h) / 2);
  }
  HWND dlg = CreateWindowExW(tmpl.exStyle | WS_EX_CONTROLPARENT, WC_DIALOG, tmpl.caption.c_str(), style, x, y, w, h, owner,
                             nullptr, instance, nullptr);
  if (!dlg) {
    DeleteObject(font);
    return nullptr;
  }
  DialogData* d = DialogOf(dlg);
  d->ownedFont = font;
  d->baseUnits = base;
  d->proc = proc;
  if (attach) attach(dlg);
  if (!IsWindow(dlg)) return nullptr;
  SendMessageW(dlg, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (const DialogItem& item : tmpl.items) {
    DWORD cs = item.style | WS_CHILD | WS_VISIBLE;
    HWND c = CreateWindowExW(item.exStyle, item.className.c_str(), item.text.c_str(), cs, dx(item.x), dy(item.y), dx(item.cx),
                             dy(item.cy), dlg, reinterpret_cast<HMENU>(static_cast<intptr_t>(item.id)), instance, nullptr);
    if (!c) {
      user::WriteLine("dialog " + std::to_string(tmpl.id) + ": control " + std::to_string(item.id) + " of class \"" +
                      WideToUtf8(item.className) + "\" could not be made");
      continue;
    }
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if ((item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && CompareNoCase(item.className.c_str(), WC_BUTTONW) == 0)
      if (DialogData* dd = DialogOf(dlg)) dd->defId = item.id;
  }
  HWND first = GetNextDlgTabItem(dlg, nullptr, FALSE);
  LRESULT setFocus = SendMessageW(dlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
  if (!IsWindow(dlg)) return nullptr;
  if (setFocus && (tmpl.style & WS_VISIBLE)) FocusControl(GetNextDlgTabItem(dlg, nullptr, FALSE));
  else if (setFocus) {
    if (DialogData* dd = DialogOf(dlg)) dd->lastFocus = GetNextDlgTabItem(dlg, nullptr, FALSE);
  }
  if (tmpl.style & WS_VISIBLE) ShowWindow(dlg, SW_SHOW);
  return dlg;
}

namespace {

void PumpPosted(HWND dialog) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      EndDialog(dialog, IDCANCEL);
      return;
    }
    DispatchMessageW(&msg);
  }
}

}  // namespace

INT_PTR RunModalLoop(HWND dialog) {
  if (!IsWindow(dialog)) return -1;
  HWND owner = GetWindow(dialog, GW_OWNER);
  bool disabledOwner = owner && IsWindowEnabled(owner);
  if (disabledOwner) EnableWindow(owner, FALSE);
  HWND focusBefore = GetFocus();
  ShowWindow(dialog, SW_SHOW);
  if (DialogData* d = DialogOf(dialog); d && !IsChild(dialog, GetFocus())) {
    HWND target = IsWindow(d->lastFocus) ? d->lastFocus : GetNextDlgTabItem(dialog, nullptr, FALSE);
    if (target) FocusControl(target);
  }
  auto ended = [&] {
    DialogData* d = DialogOf(dialog);
    return !d || d->ended;
  };
  int closes = 0;
  while (!ended()) {
    PumpPosted(dialog);
    if (ended()) break;
    std::optional<std::string> line = user::Script::Instance().Next();
    if (!line) {
      // The end of the script: the close box, and if the dialog refuses to
      // close, it ends as cancelled so the run ends.
      if (closes++ == 0) SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      else EndDialog(dialog, IDCANCEL);
      continue;
    }
    HandleWindowLine(dialog, *line);
  }
  DialogData* d = DialogOf(dialog);
  INT_PTR result = d ? d->result : IDCANCEL;
  if (disabledOwner && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  if (IsWindow(focusBefore)) SetFocus(focusBefore);
  return result;
}

// ---------------------------------------------------------------- scripted lines

namespace {

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return {};
  size_t b = s.find_last_not_of(" \t\r");
  return s.substr(a, b - a + 1);
}

std::string Unquote(std::string s) {
  s = Trim(s);
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
  return s;
}

// Splits off the first word.
std::string Word(std::string& rest) {
  rest = Trim(rest);
  size_t sp = rest.find_first_of(" \t");
  std::string w = rest.substr(0, sp);
  rest = sp == std::string::npos ? std::string() : rest.substr(sp + 1);
  return w;
}

void Refuse(const std::string& line, const std::string& why) { user::WriteLine("window input refused: " + line + " (" + why + ")"); }

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
  if (!ParseInt(Trim(s.substr(0, comma)), x) || !ParseInt(Trim(s.substr(comma + 1)), y)) return false;
  pt = {x, y};
  return true;
}

int KeyCode(const std::string& name) {
  static const std::pair<const char*, int> keys[] = {
      {"ENTER", VK_RETURN}, {"RETURN", VK_RETURN}, {"ESC", VK_ESCAPE}, {"ESCAPE", VK_ESCAPE}, {"TAB", VK_TAB},
      {"DELETE", VK_DELETE}, {"DEL", VK_DELETE}, {"BACK", VK_BACK}, {"BACKSPACE", VK_BACK}, {"UP", VK_UP},
      {"DOWN", VK_DOWN}, {"LEFT", VK_LEFT}, {"RIGHT", VK_RIGHT}, {"HOME", VK_HOME}, {"END", VK_END},
      {"PGUP", VK_PRIOR}, {"PGDN", VK_NEXT}, {"SPACE", VK_SPACE}, {"INSERT", VK_INSERT}};
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

void PressKey(HWND window, int vk, bool shift, bool ctrl) {
  wnd::SetKeyDown(VK_SHIFT, shift);
  wnd::SetKeyDown(VK_CONTROL, ctrl);
  HWND focus = FocusIn(window);
  LRESULT code = SendMessageW(focus, WM_GETDLGCODE, static_cast<WPARAM>(vk), 0);
  bool dialog = DialogOf(window) != nullptr;
  if (ctrl || !dialog) {
    SendKey(focus, vk, !ctrl);
  } else if (vk == VK_RETURN && !(code & DLGC_WANTALLKEYS)) {
    // Enter presses the focused push button, else the default button.
    int id = (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) && GetParent(focus) == window ? GetDlgCtrlID(focus)
                                                                                                : DefaultId(window);
    PressButton(window, id);
  } else if (vk == VK_ESCAPE && !(code & DLGC_WANTALLKEYS)) {
    HWND cancel = GetDlgItem(window, IDCANCEL);
    if (!cancel || IsWindowEnabled(cancel))
      SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
  } else if (vk == VK_TAB && !(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS))) {
    FocusControl(GetNextDlgTabItem(window, DirectChild(window, focus), shift));
  } else {
    SendKey(focus, vk, true);
  }
  wnd::SetKeyDown(VK_SHIFT, false);
  wnd::SetKeyDown(VK_CONTROL, false);
}

void TypeText(HWND target, const std::wstring& text) {
  for (wchar_t ch : text) {
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
  POINT before;
  GetCursorPos(&before);
  SetCursorPos(screen.x, screen.y);
  bool lDown = false, mDown = false, rDown = false;
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
    if (IsWindow(target)) SendMessageW(target, msg, keys, MAKELPARAM(local.x, local.y));
  }
  wnd::SetKeyDown(VK_SHIFT, false);
  wnd::SetKeyDown(VK_CONTROL, false);
  (void)before;
  return true;
}

}  // namespace

bool HandleWindowLine(HWND window, const std::string& rawLine) {
  std::string line = Trim(rawLine);
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
  for (char& c : cmd) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  auto control = [&](HWND& out) {
    int id = 0;
    if (!ParseInt(Word(rest), id)) {
      Refuse(line, "no control id");
      return false;
    }
    out = FindControl(window, id);
    if (!out) {
      Refuse(line, "no control " + std::to_string(id));
      return false;
    }
    if (!IsWindowVisible(out) || !IsWindowEnabled(out)) {
      Refuse(line, "control " + std::to_string(id) + " is hidden or disabled");
      return false;
    }
    return true;
  };
  if (cmd == "click") {
    HWND c;
    if (!control(c)) return false;
    RECT rc;
    GetClientRect(c, &rc);
    return MouseAction(c, "lclick", {rc.right / 2, rc.bottom / 2}, false, false);
  }
  if (cmd == "text") {
    HWND c;
    if (!control(c)) return false;
    std::wstring text = Utf8ToWide(Unquote(rest));
    wchar_t cls[32] = {0};
    GetClassNameW(c, cls, 32);
    if (CompareNoCase(cls, WC_COMBOBOXW) == 0 && !GetDlgItem(c, IDC_COMBO_EDIT)) {
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
  if (cmd == "type") {
    std::wstring text = Utf8ToWide(Unquote(rest));
    TypeText(FocusIn(window), text);
    return true;
  }
  if (cmd == "key") {
    std::string name = Trim(rest);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
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
  if (cmd == "focus") {
    HWND c;
    if (!control(c)) return false;
    FocusControl(TypingTarget(c));
    return true;
  }
  if (cmd == "select") {
    HWND c;
    if (!control(c)) return false;
    wchar_t cls[32] = {0};
    GetClassNameW(c, cls, 32);
    if (CompareNoCase(cls, WC_COMBOBOXW) != 0) {
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
  if (cmd == "mouse") {
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
      for (char& ch : mod) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      if (mod == "SHIFT") shift = true;
      else if (mod == "CTRL") ctrl = true;
    }
    if (!MouseAction(c, action, pt, shift, ctrl)) {
      Refuse(line, "unknown mouse action");
      return false;
    }
    return true;
  }
  if (cmd == "wheel") {
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
  if (cmd == "close") {
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
  }
  if (cmd == "wait") {
    int ms = 0;
    if (!ParseInt(Word(rest), ms) || ms < 0) {
      Refuse(line, "needs milliseconds");
      return false;
    }
    wnd::AdvanceClock(static_cast<unsigned>(ms));
    return true;
  }
  if (cmd == "snapshot") {
    std::string file = Word(rest);
    if (file.empty()) {
      Refuse(line, "needs a file name");
      return false;
    }
    HWND part = nullptr;
    if (!Trim(rest).empty()) {
      int id = 0;
      if (!ParseInt(Word(rest), id) || !(part = FindControl(window, id))) {
        Refuse(line, "no such control");
        return false;
      }
    }
    return WriteSnapshot(window, file, part);
  }
  if (cmd == "answer") {
    Refuse(line, "no message box is open");
    return false;
  }
  Refuse(line, "unknown window action");
  return false;
}

// ---------------------------------------------------------------- snapshots

namespace {
std::string& SnapshotFolderSetting() {
  static std::string folder;
  return folder;
}
}  // namespace

void SetSnapshotFolder(const std::string& folder) { SnapshotFolderSetting() = folder; }

std::string SnapshotFolder() {
  if (!SnapshotFolderSetting().empty()) return SnapshotFolderSetting();
  if (const char* env = std::getenv("MARLO_SNAPSHOT_DIR"); env && *env) return env;
  return "out";
}

bool WriteSnapshot(HWND window, const std::string& fileName, HWND part) {
  Window* w = Find(window);
  if (!w || fileName.empty()) return false;
  Window* root = wnd::Root(w);
  wnd::PaintTree(root->handle);
  Window* shown = part ? Find(part) : w;
  if (!shown) return false;
  RECT r = wnd::RectInRoot(shown);
  cairo_surface_t* src = wnd::RootSurface(root);
  int width = std::max<LONG>(1, r.right - r.left), height = std::max<LONG>(1, r.bottom - r.top);
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(out);
  cairo_set_source_surface(cr, src, -r.left, -r.top);
  cairo_paint(cr);
  cairo_destroy(cr);
  std::filesystem::path dir(SnapshotFolder());
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  std::filesystem::path file = dir / fileName;
  cairo_status_t st = cairo_surface_write_to_png(out, file.string().c_str());
  cairo_surface_destroy(out);
  if (st != CAIRO_STATUS_SUCCESS) {
    user::WriteLine("snapshot " + file.string() + " could not be written");
    return false;
  }
  return true;
}

// ---------------------------------------------------------------- message boxes

namespace {
const char* ButtonName(int id) {
  switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "CANCEL";
    case IDABORT: return "ABORT";
    case IDRETRY: return "RETRY";
    case IDIGNORE: return "IGNORE";
    case IDYES: return "YES";
    case IDNO: return "NO";
    case IDCLOSE: return "CLOSE";
    default: return "?";
  }
}
}  // namespace

int ScriptedMessageBox(const std::wstring& caption, const std::wstring& text, const std::vector<int>& buttons,
                       int defaultButton) {
  int answer = defaultButton;
  std::optional<std::string> next = user::Script::Instance().Peek();
  if (next) {
    std::string l = Trim(*next);
    std::string lower = l;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.rfind("@answer", 0) == 0) {
      user::Script::Instance().Next();
      std::string name = Trim(l.substr(7));
      for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      bool found = false;
      for (int b : buttons)
        if (name == ButtonName(b)) {
          answer = b;
          found = true;
        }
      if (!found) Refuse(l, "the message box has no such button");
    } else if (lower == "@close" || lower == "^c") {
      // Esc and the close box: Cancel where there is one, OK on a box with
      // only OK; other boxes cannot be closed that way and keep waiting.
      user::Script::Instance().Next();
      if (std::find(buttons.begin(), buttons.end(), IDCANCEL) != buttons.end()) answer = IDCANCEL;
      else if (buttons.size() == 1 && buttons[0] == IDOK) answer = IDOK;
    }
  }
  std::string t = WideToUtf8(text);
  size_t a = t.find_first_not_of("\r\n ");
  size_t b = t.find_last_not_of("\r\n ");
  t = a == std::string::npos ? std::string() : t.substr(a, b - a + 1);
  std::string names;
  for (int btn : buttons) names += std::string(names.empty() ? "" : " ") + ButtonName(btn);
  user::WriteLine("[" + WideToUtf8(caption) + "] " + t + " {" + names + "} -> " + ButtonName(answer));
  return answer;
}

}  // namespace win

using namespace win;

int MessageBoxW(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
  std::vector<int> buttons;
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: buttons = {IDOK, IDCANCEL}; break;
    case MB_ABORTRETRYIGNORE: buttons = {IDABORT, IDRETRY, IDIGNORE}; break;
    case MB_YESNOCANCEL: buttons = {IDYES, IDNO, IDCANCEL}; break;
    case MB_YESNO: buttons = {IDYES, IDNO}; break;
    case MB_RETRYCANCEL: buttons = {IDRETRY, IDCANCEL}; break;
    default: buttons = {IDOK}; break;
  }
  size_t def = ((type & MB_DEFMASK) >> 8);
  if (def >= buttons.size()) def = 0;
  return ScriptedMessageBox(caption ? caption : L"错误", text ? text : L"", buttons, buttons[def]);
}

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
  const DialogResource* tmpl = FindDialogResource(instance, static_cast<UINT>(reinterpret_cast<uintptr_t>(templateName)));
  if (!tmpl) return -1;
  DialogResource modal = *tmpl;
  modal.style &= ~WS_VISIBLE;
  HWND dlg = CreateDialogFromTemplate(modal, instance, owner, proc, param);
  if (!dlg) return -1;
  return RunModalLoop(dlg);
}

HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
  const DialogResource* tmpl = FindDialogResource(instance, static_cast<UINT>(reinterpret_cast<uintptr_t>(templateName)));
  return tmpl ? CreateDialogFromTemplate(*tmpl, instance, owner, proc, param) : nullptr;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  DialogData* d = DialogOf(dialog);
  if (!d) return FALSE;
  d->ended = true;
  d->result = result;
  ShowWindow(dialog, SW_HIDE);
  return TRUE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int maxCount) {
  if (text && maxCount > 0) text[0] = 0;
  HWND c = GetDlgItem(dialog, id);
  return c ? static_cast<UINT>(GetWindowTextW(c, text, maxCount)) : 0;
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
  HWND c = GetDlgItem(dialog, id);
  return c ? SetWindowTextW(c, text) : FALSE;
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  if (translated) *translated = FALSE;
  HWND c = GetDlgItem(dialog, id);
  if (!c) return 0;
  wchar_t buf[64] = {0};
  GetWindowTextW(c, buf, 64);
  wchar_t* end = nullptr;
  long long v = std::wcstoll(buf, &end, 10);
  if (end == buf || (!isSigned && v < 0)) return 0;
  while (*end == L' ') ++end;
  if (*end) return 0;
  if (translated) *translated = TRUE;
  return static_cast<UINT>(v);
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  std::wstring text = isSigned ? std::to_wstring(static_cast<int>(value)) : std::to_wstring(value);
  return SetDlgItemTextW(dialog, id, text.c_str());
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND c = GetDlgItem(dialog, id);
  if (!c) return FALSE;
  SendMessageW(c, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  HWND c = GetDlgItem(dialog, id);
  return c ? static_cast<UINT>(SendMessageW(c, BM_GETCHECK, 0, 0)) : 0;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND c = GetDlgItem(dialog, id);
  return c ? SendMessageW(c, msg, wParam, lParam) : 0;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  DialogData* d = DialogOf(dialog);
  if (!d || !rect) return FALSE;
  rect->left = MulDiv(rect->left, d->baseUnits.cx, 4);
  rect->right = MulDiv(rect->right, d->baseUnits.cx, 4);
  rect->top = MulDiv(rect->top, d->baseUnits.cy, 8);
  rect->bottom = MulDiv(rect->bottom, d->baseUnits.cy, 8);
  return TRUE;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  Window* w = Find(dialog);
  if (!w) return nullptr;
  std::vector<HWND> stops;
  for (HWND c : w->children)
    if (Focusable(c) && (GetWindowLongPtrW(c, GWL_STYLE) & WS_TABSTOP)) stops.push_back(c);
  if (stops.empty()) return nullptr;
  auto it = std::find(stops.begin(), stops.end(), control);
  if (it == stops.end()) return previous ? stops.back() : stops.front();
  if (previous) return it == stops.begin() ? stops.back() : *std::prev(it);
  return std::next(it) == stops.end() ? stops.front() : *std::next(it);
}

LONG GetDialogBaseUnits() {
  SIZE s = DialogBaseUnits(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
  return MAKELONG(s.cx, s.cy);
}
