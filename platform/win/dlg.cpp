// The dialog manager: the dialog window class, dialogs made from templates,
// the dialog's keyboard rules (Enter, Esc, Tab, the default button), the
// modal loop that hands the scripted user's lines to the interpreter of the
// window lines (windowlines.cpp) or, on a display, waits for a person's
// input, and the Dlg* calls of the interface.
#include <algorithm>
#include <cstdlib>
#include <cwctype>

#include "dlgimpl.h"
#include "dlgscript.h"
#include "script.h"
#include "textconv.h"
#include "textutil.h"
#include "transcript.h"
#include "wndbackend.h"
#include "wndimpl.h"

namespace win {
namespace {

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

bool Focusable(HWND h) {
  DWORD style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
  return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

}  // namespace

namespace dlg {

bool IsDialog(HWND h) { return DialogOf(h) != nullptr; }

HWND DirectChild(HWND dialog, HWND h) {
  while (h && GetParent(h) != dialog) {
    Window* w = Find(h);
    if (!w || !(w->style & WS_CHILD)) return nullptr;
    h = w->parent;
  }
  return h;
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

}  // namespace dlg
}  // namespace win

namespace win::wnd {

using dlg::DirectChild;
using dlg::FocusControl;

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

using dlg::FocusControl;

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
    if ((item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && textutil::EqualNoCase(item.className, WC_BUTTONW))
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
    if (wnd::Backend* display = wnd::GetBackend()) {
      // A person answers on the display; a display that goes away cancels.
      if (!display->WaitForInput()) EndDialog(dialog, IDCANCEL);
      continue;
    }
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

}  // namespace win

using namespace win;

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
