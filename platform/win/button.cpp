// The built-in button: push and default push buttons, check boxes (two and
// three states), radio buttons (automatic ones uncheck the others of their
// group) and group boxes. A click is a press and a release inside the button;
// the parent hears BN_CLICKED.
#include <algorithm>

#include "ctlimpl.h"

namespace win::wnd::ctl {
namespace {

struct ButtonData : ControlData {
  UINT check = BST_UNCHECKED;
  bool pushed = false;
  HANDLE image = nullptr;
  UINT imageType = IMAGE_BITMAP;
};

void ButtonClick(HWND h) {
  DWORD type = StyleOf(h) & BS_TYPEMASK;
  ButtonData* d = DataOf<ButtonData>(h);
  if (!d) return;
  if (type == BS_AUTOCHECKBOX) d->check = d->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
  else if (type == BS_AUTO3STATE) d->check = (d->check + 1) % 3;
  else if (type == BS_AUTORADIOBUTTON) {
    // Unchecks the other automatic radio buttons of the group.
    if (HWND parent = GetParent(h)) {
      Window* p = Find(parent);
      std::vector<HWND> kids = p ? p->children : std::vector<HWND>();
      auto it = std::find(kids.begin(), kids.end(), h);
      auto groupStart = it;
      while (groupStart != kids.begin() && !(StyleOf(*groupStart) & WS_GROUP)) --groupStart;
      for (auto k = groupStart; k != kids.end(); ++k) {
        if (k != groupStart && (StyleOf(*k) & WS_GROUP)) break;
        if ((StyleOf(*k) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
          if (ButtonData* o = DataOf<ButtonData>(*k)) o->check = BST_UNCHECKED;
      }
    }
    d->check = BST_CHECKED;
  }
  InvalidateRect(h, nullptr, TRUE);
  NotifyParent(h, BN_CLICKED);
}

void PaintButton(HWND h, HDC dc) {
  ButtonData* d = DataOf<ButtonData>(h);
  DWORD style = StyleOf(h);
  DWORD type = style & BS_TYPEMASK;
  bool disabled = (style & WS_DISABLED) != 0;
  bool focused = GetFocus() == h;
  RECT rc;
  GetClientRect(h, &rc);
  HGDIOBJ oldFont = SelectObject(dc, ControlFont(h));
  std::wstring text = TextOf(h);
  if (type == BS_GROUPBOX) {
    HBRUSH b = CtlColor(h, dc, WM_CTLCOLORSTATIC);
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    RECT frame{rc.left, rc.top + tm.tmHeight / 2, rc.right, rc.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!text.empty()) {
      RECT tr{rc.left + 8, rc.top, rc.right - 8, rc.top + tm.tmHeight};
      RECT calc = tr;
      DrawTextW(dc, text.c_str(), -1, &calc, DT_SINGLELINE | DT_CALCRECT);
      tr.right = std::min(tr.right, calc.right + 2);
      tr.left -= 2;
      if (b) FillRect(dc, &tr, b);
      tr.left += 2;
      SetBkMode(dc, TRANSPARENT);
      if (disabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
      DrawTextW(dc, text.c_str(), -1, &tr, DT_SINGLELINE | DT_LEFT | DT_VCENTER);
    }
    SelectObject(dc, oldFont);
    return;
  }
  bool checkLike = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
                   type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
  if (checkLike) {
    HBRUSH b = CtlColor(h, dc, WM_CTLCOLORSTATIC);
    if (b) FillRect(dc, &rc, b);
    int box = 13;
    bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    bool left = (style & BS_LEFTTEXT) != 0;
    RECT br{left ? rc.right - box : rc.left, (rc.top + rc.bottom - box) / 2, 0, 0};
    br.right = br.left + box;
    br.bottom = br.top + box;
    UINT state = radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if (d && d->check == BST_CHECKED) state |= DFCS_CHECKED;
    if (disabled) state |= DFCS_INACTIVE;
    if (style & BS_FLAT) state |= DFCS_FLAT;
    DrawFrameControl(dc, &br, DFC_BUTTON, state);
    RECT tr = left ? RECT{rc.left, rc.top, rc.right - box - 4, rc.bottom} : RECT{rc.left + box + 4, rc.top, rc.right, rc.bottom};
    SetBkMode(dc, TRANSPARENT);
    if (disabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    RECT calc = tr;
    DrawTextW(dc, text.c_str(), -1, &calc, DT_SINGLELINE | DT_CALCRECT);
    DrawTextW(dc, text.c_str(), -1, &tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (focused) {
      RECT fr{tr.left - 1, (tr.top + tr.bottom - (calc.bottom - calc.top)) / 2 - 1, std::min(tr.right, calc.right) + 1, 0};
      fr.bottom = fr.top + (calc.bottom - calc.top) + 2;
      DrawFocusRect(dc, &fr);
    }
    SelectObject(dc, oldFont);
    return;
  }
  // Push buttons; the default one has a dark frame.
  CtlColor(h, dc, WM_CTLCOLORBTN);
  bool def = type == BS_DEFPUSHBUTTON;
  RECT r = rc;
  if (def) {
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  UINT state = DFCS_BUTTONPUSH | ((d && d->pushed) ? DFCS_PUSHED : 0) | ((style & BS_FLAT) ? DFCS_FLAT : 0);
  DrawFrameControl(dc, &r, DFC_BUTTON, state);
  InflateRect(&r, -2, -2);
  if (d && d->pushed) OffsetRect(&r, 1, 1);
  int textLeft = r.left;
  if (d && d->image) {
    BITMAP bm{};
    HICON icon = d->imageType == IMAGE_ICON ? static_cast<HICON>(d->image) : nullptr;
    int iw = 16, ih = 16;
    if (!icon && GetObjectW(d->image, sizeof bm, &bm)) {
      iw = bm.bmWidth;
      ih = bm.bmHeight;
    }
    int x = text.empty() ? (r.left + r.right - iw) / 2 : r.left + 4;
    int y = (r.top + r.bottom - ih) / 2;
    if (icon) DrawIconEx(dc, x, y, icon, iw, ih, 0, nullptr, DI_NORMAL);
    else {
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(mem, d->image);
      BitBlt(dc, x, y, iw, ih, mem, 0, 0, SRCCOPY);
      SelectObject(mem, old);
      DeleteDC(mem);
    }
    textLeft = x + iw + 4;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  RECT tr{textLeft, r.top, r.right, r.bottom};
  DrawTextW(dc, text.c_str(), -1, &tr, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  if (focused) {
    RECT fr = rc;
    InflateRect(&fr, def ? -4 : -3, def ? -4 : -3);
    DrawFocusRect(dc, &fr);
  }
  SelectObject(dc, oldFont);
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCREATE:
      if (Window* w = Find(h)) w->data = std::make_unique<ButtonData>();
      return TRUE;
    case WM_GETDLGCODE: {
      DWORD type = StyleOf(h) & BS_TYPEMASK;
      if (type == BS_GROUPBOX) return DLGC_STATIC;
      if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      if (type == BS_PUSHBUTTON || type == BS_OWNERDRAW) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      return DLGC_BUTTON;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if ((StyleOf(h) & BS_TYPEMASK) == BS_GROUPBOX) return 0;
      SetFocus(h);
      SetCapture(h);
      if (ButtonData* d = DataOf<ButtonData>(h)) d->pushed = true;
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    }
    case WM_LBUTTONUP: {
      ButtonData* d = DataOf<ButtonData>(h);
      if (!d || !d->pushed) return 0;
      d->pushed = false;
      bool captured = GetCapture() == h;
      if (captured) ReleaseCapture();
      InvalidateRect(h, nullptr, TRUE);
      RECT rc;
      GetClientRect(h, &rc);
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (captured && PtInRect(&rc, pt)) ButtonClick(h);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (ButtonData* d = DataOf<ButtonData>(h)) d->pushed = false;
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) ButtonClick(h);
      return 0;
    case BM_CLICK: {
      if (!IsWindowEnabled(h)) return 0;
      SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      SendMessageW(h, WM_LBUTTONUP, 0, 0);
      return 0;
    }
    case BM_GETCHECK: {
      ButtonData* d = DataOf<ButtonData>(h);
      return d ? d->check : 0;
    }
    case BM_SETCHECK:
      if (ButtonData* d = DataOf<ButtonData>(h)) d->check = static_cast<UINT>(wParam);
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    case BM_GETSTATE: {
      ButtonData* d = DataOf<ButtonData>(h);
      if (!d) return 0;
      return d->check | (d->pushed ? BST_PUSHED : 0) | (GetFocus() == h ? BST_FOCUS : 0);
    }
    case BM_SETSTATE:
      if (ButtonData* d = DataOf<ButtonData>(h)) d->pushed = wParam != 0;
      return 0;
    case BM_SETSTYLE: {
      DWORD style = StyleOf(h);
      SetWindowLongPtrW(h, GWL_STYLE, (style & ~0xFFFFu) | (static_cast<DWORD>(wParam) & 0xFFFF));
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    }
    case BM_SETIMAGE: {
      ButtonData* d = DataOf<ButtonData>(h);
      if (!d) return 0;
      HANDLE old = d->image;
      d->image = reinterpret_cast<HANDLE>(lParam);
      d->imageType = static_cast<UINT>(wParam);
      InvalidateRect(h, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE: {
      ButtonData* d = DataOf<ButtonData>(h);
      return d ? reinterpret_cast<LRESULT>(d->image) : 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      PaintButton(h, dc);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_NCHITTEST:
      if ((StyleOf(h) & BS_TYPEMASK) == BS_GROUPBOX) return HTTRANSPARENT;
      return DefWindowProcW(h, msg, wParam, lParam);
    default: return DefWindowProcW(h, msg, wParam, lParam);
  }
}

}  // namespace win::wnd::ctl
