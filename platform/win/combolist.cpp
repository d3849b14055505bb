// The drop-down list of a combo box on a display: a pop-up under the combo
// box with its items, the current one marked. A click on an item chooses it
// as a person picking from the list does (the same notifications as
// ComboPickByText); a click anywhere else closes the list. Without a display
// the list has no window: the scripted user picks by text.
#include <algorithm>
#include <string>

#include "ctlimpl.h"
#include "wndbackend.h"

namespace win::wnd::ctl {
namespace {

constexpr wchar_t kListClass[] = L"ComboLBox";
constexpr int kItemHeight = 16;

HWND ComboOf(HWND list) { return reinterpret_cast<HWND>(GetWindowLongPtrW(list, GWLP_USERDATA)); }

std::wstring ItemText(HWND combo, int i) {
  LRESULT n = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
  std::wstring text(static_cast<size_t>(std::max<LRESULT>(n, 0)) + 1, L'\0');
  LRESULT got = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, std::max<LRESULT>(n, 0))));
  return text;
}

void PaintList(HWND h) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT rc;
  GetClientRect(h, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
  HWND combo = ComboOf(h);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(combo, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  int cur = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT r{0, i * kItemHeight, rc.right, (i + 1) * kItemHeight};
    bool marked = i == cur;
    if (marked) FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(marked ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    std::wstring text = ItemText(combo, i);
    RECT tr{r.left + 3, r.top, r.right - 3, r.bottom};
    DrawTextW(dc, text.c_str(), -1, &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  SelectObject(dc, old);
  EndPaint(h, &ps);
}

LRESULT CALLBACK ListProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND combo = ComboOf(h);
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  RECT rc;
  GetClientRect(h, &rc);
  switch (msg) {
    case WM_PAINT: PaintList(h); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONUP:
    case WM_LBUTTONDOWN: {
      if (!PtInRect(&rc, p)) {
        // A press outside closes the list; the release of the press that
        // opened it (over the combo box) does nothing.
        if (msg == WM_LBUTTONDOWN) SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
        return 0;
      }
      if (msg == WM_LBUTTONUP) {
        int i = p.y / kItemHeight;
        if (i < static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0))) ComboPickByText(combo, ItemText(combo, i));
        else SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != h && IsWindow(combo)) PostMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
      return 0;
    default: return DefWindowProcW(h, msg, wParam, lParam);
  }
}

}  // namespace

HWND ShowDropList(HWND combo, int width) {
  if (!GetBackend()) return nullptr;
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ListProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kListClass;
    registered = RegisterClassW(&wc) != 0;
  }
  RECT cr;
  GetWindowRect(combo, &cr);
  int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  int height = std::clamp(count, 1, 12) * kItemHeight + 2;
  HWND list = CreateWindowExW(0, kListClass, L"", WS_POPUP | WS_BORDER, cr.left, cr.bottom,
                              std::max<int>(width, cr.right - cr.left), height, GetAncestor(combo, GA_ROOT), nullptr,
                              nullptr, nullptr);
  if (!list) return nullptr;
  SetWindowLongPtrW(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(combo));
  ShowWindow(list, SW_SHOWNA);
  SetCapture(list);
  return list;
}

void CloseDropList(HWND list) {
  if (!IsWindow(list)) return;
  if (GetCapture() == list) ReleaseCapture();
  DestroyWindow(list);
}

}  // namespace win::wnd::ctl
