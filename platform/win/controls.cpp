// The built-in controls: what button.cpp, static.cpp, edit.cpp and
// combobox.cpp share (the font a control paints with and the colours its
// parent gives it), and the registration of their window classes and of the
// dialog class. Each control paints itself and tells its parent what happened
// through WM_COMMAND notifications, as the original controls do.
#include "commctrl.h"
#include "ctlimpl.h"

namespace win::wnd {
namespace ctl {

HFONT ControlFont(HWND h) {
  if (HFONT f = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0))) return f;
  if (HWND p = GetParent(h))
    if (HFONT f = reinterpret_cast<HFONT>(SendMessageW(p, WM_GETFONT, 0, 0))) return f;
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HBRUSH CtlColor(HWND h, HDC dc, UINT msg) {
  HWND parent = GetParent(h);
  HBRUSH b = parent ? reinterpret_cast<HBRUSH>(SendMessageW(parent, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h)))
                    : nullptr;
  if (!b) b = reinterpret_cast<HBRUSH>(DefWindowProcW(h, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h)));
  return b;
}

}  // namespace ctl

void RegisterControlClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  struct Builtin {
    const wchar_t* name;
    WNDPROC proc;
    int cursor;
    UINT style;
  };
  const Builtin builtins[] = {
      {WC_BUTTONW, ctl::ButtonProc, 32512, CS_DBLCLKS | CS_PARENTDC},
      {WC_STATICW, ctl::StaticProc, 32512, CS_PARENTDC},
      {WC_EDITW, ctl::EditProc, 32513, CS_DBLCLKS | CS_PARENTDC},
      {WC_COMBOBOXW, ctl::ComboProc, 32512, CS_DBLCLKS | CS_PARENTDC},
      {WC_DIALOG, DialogWndProc, 32512, CS_DBLCLKS | CS_SAVEBITS},
  };
  for (const Builtin& b : builtins) {
    WNDCLASSW wc{};
    wc.style = b.style | CS_GLOBALCLASS;
    wc.lpfnWndProc = b.proc;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(b.cursor));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1));
    wc.lpszClassName = b.name;
    RegisterClassW(&wc);
  }
  ::InitCommonControls();
}

}  // namespace win::wnd
