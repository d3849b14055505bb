// The built-in combo box: a drop-down list, a drop-down with an edit part
// (child IDC_COMBO_EDIT, whose notifications become the combo box's own) and
// a simple one; items kept sorted on request, found by text without case. On
// a display the drop-down list is a window (combolist.cpp).
#include <algorithm>

#include "ctlimpl.h"
#include "textutil.h"

namespace win::wnd::ctl {
namespace {

struct ComboItem {
  std::wstring text;
  LPARAM data = 0;
};

struct ComboData : ControlData {
  std::vector<ComboItem> items;
  int cur = -1;
  int itemHeight = 14;
  int droppedWidth = 0;
  int listHeight = 0;
  bool dropped = false;
  HWND edit = nullptr;
  HWND list = nullptr;  // the drop-down list's window on a display
};

int ComboType(HWND h) { return static_cast<int>(StyleOf(h) & 3); }

using textutil::CompareNoCase;
using textutil::EqualNoCase;
using textutil::StartsWithNoCase;

void ComboShowCurrent(HWND h) {
  ComboData* d = DataOf<ComboData>(h);
  if (!d) return;
  if (d->edit) {
    std::wstring t = d->cur >= 0 ? d->items[static_cast<size_t>(d->cur)].text : L"";
    Window* e = Find(d->edit);
    if (e) {
      // Sets the edit part quietly: a selection is not an edit change.
      e->text = t;
      SendMessageW(d->edit, EM_SETSEL, 0, -1);
    }
  }
  InvalidateRect(h, nullptr, TRUE);
}

int ComboFind(ComboData* d, int start, const std::wstring& text, bool exact) {
  int n = static_cast<int>(d->items.size());
  if (n == 0) return CB_ERR;
  int first = (start < -1 || start >= n) ? 0 : start + 1;
  for (int k = 0; k < n; ++k) {
    int i = (first + k) % n;
    const std::wstring& t = d->items[static_cast<size_t>(i)].text;
    if (exact ? EqualNoCase(t, text) : StartsWithNoCase(t, text)) return i;
  }
  return CB_ERR;
}

void PaintCombo(HWND h, HDC dc) {
  ComboData* d = DataOf<ComboData>(h);
  DWORD style = StyleOf(h);
  RECT rc;
  GetClientRect(h, &rc);
  HBRUSH b = CtlColor(h, dc, WM_CTLCOLOREDIT);
  if (style & WS_DISABLED) b = GetSysColorBrush(COLOR_BTNFACE);
  RECT frame = rc;
  DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (b) FillRect(dc, &frame, b);
  int arrowW = GetSystemMetrics(SM_CXVSCROLL);
  RECT arrow{frame.right - arrowW, frame.top, frame.right, frame.bottom};
  DrawFrameControl(dc, &arrow, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (d && d->dropped ? DFCS_PUSHED : 0) |
                                               ((style & WS_DISABLED) ? DFCS_INACTIVE : 0));
  if (!d || d->edit) return;  // the edit part paints its text
  RECT tr{frame.left + 1, frame.top + 1, arrow.left - 1, frame.bottom - 1};
  HGDIOBJ oldFont = SelectObject(dc, ControlFont(h));
  bool focused = GetFocus() == h;
  if (focused && !(style & WS_DISABLED)) {
    FillRect(dc, &tr, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else if (style & WS_DISABLED) {
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  }
  SetBkMode(dc, TRANSPARENT);
  if (d->cur >= 0) {
    RECT t2{tr.left + 2, tr.top, tr.right, tr.bottom};
    DrawTextW(dc, d->items[static_cast<size_t>(d->cur)].text.c_str(), -1, &t2,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (focused) DrawFocusRect(dc, &tr);
  SelectObject(dc, oldFont);
}

void ComboSelectByUser(HWND h, int index) {
  ComboData* d = DataOf<ComboData>(h);
  if (!d || index < 0 || index >= static_cast<int>(d->items.size()) || index == d->cur) return;
  d->cur = index;
  ComboShowCurrent(h);
  NotifyParent(h, CBN_SELCHANGE);
}

}  // namespace

LRESULT CALLBACK ComboProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  ComboData* d = DataOf<ComboData>(h);
  switch (msg) {
    case WM_NCCREATE: {
      Window* w = Find(h);
      if (!w) return FALSE;
      auto data = std::make_unique<ComboData>();
      // The window is as high as its selection field; the rest of the
      // template's height is the drop-down list.
      data->listHeight = w->rect.bottom - w->rect.top;
      data->droppedWidth = w->rect.right - w->rect.left;
      HDC dc = GetDC(h);
      SelectObject(dc, ControlFont(h));
      TEXTMETRICW tm;
      GetTextMetricsW(dc, &tm);
      ReleaseDC(h, dc);
      data->itemHeight = tm.tmHeight;
      w->rect.bottom = w->rect.top + data->itemHeight + 8;
      // Scroll-bar styles are the drop-down list's: the field has no bars.
      w->style &= ~static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL);
      w->data = std::move(data);
      return TRUE;
    }
    case WM_CREATE: {
      if (ComboType(h) == CBS_DROPDOWN || ComboType(h) == CBS_SIMPLE) {
        RECT rc;
        GetClientRect(h, &rc);
        DWORD es = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ((StyleOf(h) & CBS_AUTOHSCROLL) ? ES_AUTOHSCROLL : 0);
        HWND e = CreateWindowExW(0, WC_EDITW, L"", es, 3, 3, rc.right - 6 - GetSystemMetrics(SM_CXVSCROLL), rc.bottom - 6, h,
                                 reinterpret_cast<HMENU>(static_cast<intptr_t>(IDC_COMBO_EDIT)), nullptr, nullptr);
        if (ComboData* cd = DataOf<ComboData>(h)) cd->edit = e;
      }
      return 0;
    }
    case WM_COMMAND: {
      // Notifications of the edit part become the combo box's own.
      if (d && reinterpret_cast<HWND>(lParam) == d->edit) {
        switch (HIWORD(wParam)) {
          case EN_CHANGE: NotifyParent(h, CBN_EDITCHANGE); break;
          case EN_UPDATE: NotifyParent(h, CBN_EDITUPDATE); break;
          case EN_SETFOCUS: NotifyParent(h, CBN_SETFOCUS); break;
          case EN_KILLFOCUS: NotifyParent(h, CBN_KILLFOCUS); break;
          default: break;
        }
      }
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFONT:
      DefWindowProcW(h, msg, wParam, lParam);
      if (d && d->edit) SendMessageW(d->edit, WM_SETFONT, wParam, lParam);
      return 0;
    case WM_SETTEXT: {
      if (!d) return CB_ERR;
      std::wstring t = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
      if (d->edit) return SendMessageW(d->edit, WM_SETTEXT, 0, lParam);
      int i = ComboFind(d, -1, t, true);
      if (i == CB_ERR) return CB_ERR;
      d->cur = i;
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      if (!d) return 0;
      if (d->edit) return SendMessageW(d->edit, msg, wParam, lParam);
      std::wstring t = d->cur >= 0 ? d->items[static_cast<size_t>(d->cur)].text : L"";
      if (msg == WM_GETTEXTLENGTH) return static_cast<LRESULT>(t.size());
      auto* buf = reinterpret_cast<LPWSTR>(lParam);
      int max = static_cast<int>(wParam);
      if (!buf || max <= 0) return 0;
      int n = std::min<int>(static_cast<int>(t.size()), max - 1);
      wmemcpy(buf, t.c_str(), static_cast<size_t>(n));
      buf[n] = 0;
      return n;
    }
    case WM_SETFOCUS:
      if (d && d->edit) {
        SetFocus(d->edit);
        return 0;
      }
      InvalidateRect(h, nullptr, TRUE);
      NotifyParent(h, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (d && d->dropped) SendMessageW(h, CB_SHOWDROPDOWN, FALSE, 0);
      InvalidateRect(h, nullptr, TRUE);
      NotifyParent(h, CBN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(d && d->edit ? d->edit : h);
      SendMessageW(h, CB_SHOWDROPDOWN, d ? !d->dropped : TRUE, 0);
      return 0;
    case WM_KEYDOWN: {
      if (!d) return 0;
      int n = static_cast<int>(d->items.size());
      if (wParam == VK_F4) SendMessageW(h, CB_SHOWDROPDOWN, !d->dropped, 0);
      else if (wParam == VK_DOWN || wParam == VK_RIGHT) ComboSelectByUser(h, d->cur < 0 ? 0 : std::min(d->cur + 1, n - 1));
      else if (wParam == VK_UP || wParam == VK_LEFT) ComboSelectByUser(h, std::max(d->cur - 1, 0));
      else if (wParam == VK_HOME) ComboSelectByUser(h, 0);
      else if (wParam == VK_END) ComboSelectByUser(h, n - 1);
      return 0;
    }
    case WM_CHAR: {
      // A typed character selects the next item that begins with it.
      if (!d || wParam < 0x20) return 0;
      int i = ComboFind(d, d->cur, std::wstring(1, static_cast<wchar_t>(wParam)), false);
      if (i != CB_ERR) ComboSelectByUser(h, i);
      return 0;
    }
    case CB_ADDSTRING:
    case CB_INSERTSTRING: {
      if (!d) return CB_ERR;
      ComboItem item{lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"", 0};
      int index;
      if (msg == CB_ADDSTRING && (StyleOf(h) & CBS_SORT)) {
        auto it = std::upper_bound(d->items.begin(), d->items.end(), item,
                                   [](const ComboItem& a, const ComboItem& b) { return CompareNoCase(a.text, b.text) < 0; });
        index = static_cast<int>(it - d->items.begin());
      } else if (msg == CB_ADDSTRING || static_cast<int>(static_cast<intptr_t>(wParam)) < 0) {
        index = static_cast<int>(d->items.size());
      } else {
        index = static_cast<int>(wParam);
        if (index > static_cast<int>(d->items.size())) return CB_ERR;
      }
      d->items.insert(d->items.begin() + index, std::move(item));
      if (d->cur >= index) ++d->cur;
      InvalidateRect(h, nullptr, TRUE);
      return index;
    }
    case CB_DELETESTRING: {
      if (!d || wParam >= d->items.size()) return CB_ERR;
      int index = static_cast<int>(wParam);
      d->items.erase(d->items.begin() + index);
      if (d->cur == index) d->cur = -1;
      else if (d->cur > index) --d->cur;
      InvalidateRect(h, nullptr, TRUE);
      return static_cast<LRESULT>(d->items.size());
    }
    case CB_RESETCONTENT:
      if (d) {
        d->items.clear();
        d->cur = -1;
        ComboShowCurrent(h);
      }
      return CB_OKAY;
    case CB_GETCOUNT: return d ? static_cast<LRESULT>(d->items.size()) : CB_ERR;
    case CB_GETCURSEL: return d ? d->cur : CB_ERR;
    case CB_SETCURSEL: {
      if (!d) return CB_ERR;
      int index = static_cast<int>(static_cast<intptr_t>(wParam));
      if (index < 0 || index >= static_cast<int>(d->items.size())) {
        d->cur = -1;
        ComboShowCurrent(h);
        return CB_ERR;
      }
      d->cur = index;
      ComboShowCurrent(h);
      return index;
    }
    case CB_GETLBTEXT: {
      if (!d || wParam >= d->items.size() || !lParam) return CB_ERR;
      const std::wstring& t = d->items[wParam].text;
      wmemcpy(reinterpret_cast<LPWSTR>(lParam), t.c_str(), t.size() + 1);
      return static_cast<LRESULT>(t.size());
    }
    case CB_GETLBTEXTLEN:
      if (!d || wParam >= d->items.size()) return CB_ERR;
      return static_cast<LRESULT>(d->items[wParam].text.size());
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
      if (!d || !lParam) return CB_ERR;
      return ComboFind(d, static_cast<int>(static_cast<intptr_t>(wParam)), reinterpret_cast<LPCWSTR>(lParam),
                       msg == CB_FINDSTRINGEXACT);
    case CB_SELECTSTRING: {
      if (!d || !lParam) return CB_ERR;
      int i = ComboFind(d, static_cast<int>(static_cast<intptr_t>(wParam)), reinterpret_cast<LPCWSTR>(lParam), false);
      if (i != CB_ERR) {
        d->cur = i;
        ComboShowCurrent(h);
      }
      return i;
    }
    case CB_GETITEMDATA:
      if (!d || wParam >= d->items.size()) return CB_ERR;
      return d->items[wParam].data;
    case CB_SETITEMDATA:
      if (!d || wParam >= d->items.size()) return CB_ERR;
      d->items[wParam].data = lParam;
      return CB_OKAY;
    case CB_SETITEMHEIGHT:
      if (!d) return CB_ERR;
      if (static_cast<int>(static_cast<intptr_t>(wParam)) == -1) {
        // The selection field: the window's height follows.
        Window* w = Find(h);
        if (w) w->rect.bottom = w->rect.top + static_cast<int>(lParam) + 6;
      } else {
        d->itemHeight = static_cast<int>(lParam);
      }
      return CB_OKAY;
    case CB_GETITEMHEIGHT: {
      if (!d) return CB_ERR;
      if (static_cast<int>(static_cast<intptr_t>(wParam)) == -1) {
        RECT rc;
        GetWindowRect(h, &rc);
        return rc.bottom - rc.top - 6;
      }
      return d->itemHeight;
    }
    case CB_SETDROPPEDWIDTH:
      if (!d) return CB_ERR;
      d->droppedWidth = static_cast<int>(wParam);
      return d->droppedWidth;
    case CB_GETDROPPEDWIDTH: return d ? d->droppedWidth : CB_ERR;
    case CB_SHOWDROPDOWN: {
      if (!d) return 0;
      bool show = wParam != 0;
      if (show == d->dropped) return TRUE;
      if (show) NotifyParent(h, CBN_DROPDOWN);
      if (!(d = DataOf<ComboData>(h))) return TRUE;
      d->dropped = show;
      if (show && ComboType(h) != CBS_SIMPLE) d->list = ShowDropList(h, d->droppedWidth);
      if (!show && d->list) {
        HWND list = d->list;
        d->list = nullptr;
        CloseDropList(list);
        if (!(d = DataOf<ComboData>(h))) return TRUE;
      }
      if (!show) NotifyParent(h, CBN_CLOSEUP);
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    }
    case CB_GETDROPPEDSTATE: return d && d->dropped;
    case CB_LIMITTEXT: return d && d->edit ? SendMessageW(d->edit, EM_LIMITTEXT, wParam, 0) : TRUE;
    case CB_SETEDITSEL:
      if (d && d->edit) SendMessageW(d->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                                     static_cast<short>(HIWORD(lParam)));
      return TRUE;
    case CB_GETEDITSEL: return d && d->edit ? SendMessageW(d->edit, EM_GETSEL, wParam, lParam) : CB_ERR;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      PaintCombo(h, dc);
      EndPaint(h, &ps);
      return 0;
    }
    default: return DefWindowProcW(h, msg, wParam, lParam);
  }
}

}  // namespace win::wnd::ctl

namespace win::wnd {

bool ComboPickByText(HWND h, const std::wstring& text) {
  using namespace ctl;
  if (!DataOf<ComboData>(h)) return false;
  SendMessageW(h, CB_SHOWDROPDOWN, TRUE, 0);
  ComboData* d = DataOf<ComboData>(h);
  int i = d ? ComboFind(d, -1, text, true) : CB_ERR;
  if (i == CB_ERR) {
    SendMessageW(h, CB_SHOWDROPDOWN, FALSE, 0);
    return false;
  }
  bool changed = d->cur != i;
  d->cur = i;
  ComboShowCurrent(h);
  if (changed) NotifyParent(h, CBN_SELCHANGE);
  NotifyParent(h, CBN_SELENDOK);
  SendMessageW(h, CB_SHOWDROPDOWN, FALSE, 0);
  return true;
}

}  // namespace win::wnd
