// The built-in controls: button (push, default, check, radio, group box),
// static, edit and combo box. Each is a window class with its own window
// procedure that paints itself and tells its parent what happened through
// WM_COMMAND notifications, as the original controls do.
#include <algorithm>
#include <cwctype>

#include "commctrl.h"
#include "textconv.h"
#include "textutil.h"
#include "wndimpl.h"

namespace win::wnd {
namespace {

HFONT ControlFont(HWND h) {
  if (HFONT f = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0))) return f;
  if (HWND p = GetParent(h))
    if (HFONT f = reinterpret_cast<HFONT>(SendMessageW(p, WM_GETFONT, 0, 0))) return f;
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Asks the parent for the colours of the control; returns the brush.
HBRUSH CtlColor(HWND h, HDC dc, UINT msg) {
  HWND parent = GetParent(h);
  HBRUSH b = parent ? reinterpret_cast<HBRUSH>(SendMessageW(parent, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h)))
                    : nullptr;
  if (!b) b = reinterpret_cast<HBRUSH>(DefWindowProcW(h, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h)));
  return b;
}

template <class D>
D* DataOf(HWND h) {
  Window* w = Find(h);
  return w ? dynamic_cast<D*>(w->data.get()) : nullptr;
}

DWORD StyleOf(HWND h) { return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)); }

std::wstring TextOf(HWND h) {
  Window* w = Find(h);
  return w ? w->text : std::wstring();
}

// ---------------------------------------------------------------- button

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

// ---------------------------------------------------------------- static

struct StaticData : ControlData {
  HANDLE image = nullptr;
};

void PaintStatic(HWND h, HDC dc) {
  DWORD style = StyleOf(h);
  DWORD type = style & SS_TYPEMASK;
  RECT rc;
  GetClientRect(h, &rc);
  HBRUSH b = CtlColor(h, dc, WM_CTLCOLORSTATIC);
  if (type == SS_BLACKRECT || type == SS_GRAYRECT || type == SS_WHITERECT) {
    int color = type == SS_BLACKRECT ? COLOR_3DDKSHADOW : type == SS_GRAYRECT ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT;
    FillRect(dc, &rc, GetSysColorBrush(color));
    return;
  }
  if (b) FillRect(dc, &rc, b);
  if (type == SS_BLACKFRAME) {
    FrameRect(dc, &rc, GetSysColorBrush(COLOR_3DDKSHADOW));
    return;
  }
  if (type == SS_ETCHEDFRAME || type == SS_ETCHEDHORZ) {
    RECT r = rc;
    if (type == SS_ETCHEDHORZ) r.bottom = r.top + 2;
    DrawEdge(dc, &r, EDGE_ETCHED, type == SS_ETCHEDHORZ ? BF_TOP : BF_RECT);
    return;
  }
  StaticData* d = DataOf<StaticData>(h);
  if (type == SS_ICON || type == SS_BITMAP) {
    if (!d || !d->image) return;
    if (type == SS_ICON) {
      int x = (style & SS_CENTERIMAGE) ? (rc.right - 32) / 2 : 0;
      int y = (style & SS_CENTERIMAGE) ? (rc.bottom - 32) / 2 : 0;
      DrawIconEx(dc, x, y, static_cast<HICON>(d->image), 0, 0, 0, nullptr, DI_NORMAL);
    } else {
      BITMAP bm{};
      if (!GetObjectW(d->image, sizeof bm, &bm)) return;
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(mem, d->image);
      BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
      SelectObject(mem, old);
      DeleteDC(mem);
    }
    return;
  }
  HGDIOBJ oldFont = SelectObject(dc, ControlFont(h));
  SetBkMode(dc, TRANSPARENT);
  if (style & WS_DISABLED) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  UINT fmt = DT_WORDBREAK;
  if (type == SS_CENTER) fmt |= DT_CENTER;
  else if (type == SS_RIGHT) fmt |= DT_RIGHT;
  if (style & SS_NOPREFIX) fmt |= DT_NOPREFIX;
  if (style & SS_CENTERIMAGE) fmt = (fmt & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  std::wstring text = TextOf(h);
  DrawTextW(dc, text.c_str(), -1, &rc, fmt);
  SelectObject(dc, oldFont);
}

LRESULT CALLBACK StaticProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCREATE:
      if (Window* w = Find(h)) {
        w->data = std::make_unique<StaticData>();
        if (w->style & SS_SUNKEN) w->exStyle |= WS_EX_STATICEDGE;
      }
      return TRUE;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_NCHITTEST: return (StyleOf(h) & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_LBUTTONUP:
      if (StyleOf(h) & SS_NOTIFY) NotifyParent(h, STN_CLICKED);
      return 0;
    case STM_SETICON:
    case STM_SETIMAGE: {
      StaticData* d = DataOf<StaticData>(h);
      if (!d) return 0;
      HANDLE old = d->image;
      d->image = reinterpret_cast<HANDLE>(msg == STM_SETICON ? wParam : lParam);
      InvalidateRect(h, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON:
    case STM_GETIMAGE: {
      StaticData* d = DataOf<StaticData>(h);
      return d ? reinterpret_cast<LRESULT>(d->image) : 0;
    }
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcW(h, msg, wParam, lParam);
      InvalidateRect(h, nullptr, TRUE);
      return r;
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      PaintStatic(h, dc);
      EndPaint(h, &ps);
      return 0;
    }
    default: return DefWindowProcW(h, msg, wParam, lParam);
  }
}

// ---------------------------------------------------------------- edit

struct EditData : ControlData {
  int selStart = 0;
  int selEnd = 0;  // the caret
  int anchor = 0;
  int limit = 30000;
  bool modified = false;
};

void EditChanged(HWND h) {
  if (EditData* d = DataOf<EditData>(h)) d->modified = true;
  InvalidateRect(h, nullptr, TRUE);
  NotifyParent(h, EN_UPDATE);
  NotifyParent(h, EN_CHANGE);
}

void EditSetSel(HWND h, int start, int end) {
  EditData* d = DataOf<EditData>(h);
  if (!d) return;
  int len = static_cast<int>(TextOf(h).size());
  if (start < 0) {
    start = end = d->selEnd;
  }
  if (end < 0 || end > len) end = len;
  start = std::clamp(start, 0, len);
  d->anchor = start;
  d->selStart = std::min(start, end);
  d->selEnd = std::max(start, end);
  if (end < start) d->selEnd = end, d->selStart = end, d->selEnd = start;
  InvalidateRect(h, nullptr, TRUE);
}

// Replaces the selection with `text`; false when nothing could be inserted.
bool EditReplace(HWND h, std::wstring_view insert, bool notify) {
  Window* w = Find(h);
  EditData* d = DataOf<EditData>(h);
  if (!w || !d) return false;
  std::wstring& text = w->text;
  int a = std::min(d->selStart, d->selEnd), b = std::max(d->selStart, d->selEnd);
  a = std::clamp(a, 0, static_cast<int>(text.size()));
  b = std::clamp(b, a, static_cast<int>(text.size()));
  int room = d->limit - (static_cast<int>(text.size()) - (b - a));
  std::wstring ins(insert.substr(0, static_cast<size_t>(std::max(room, 0))));
  if (ins.size() < insert.size()) NotifyParent(h, EN_MAXTEXT);
  if (ins.empty() && a == b) return false;
  text.replace(static_cast<size_t>(a), static_cast<size_t>(b - a), ins);
  d->selStart = d->selEnd = d->anchor = a + static_cast<int>(ins.size());
  if (notify) EditChanged(h);
  return true;
}

void EditChar(HWND h, wchar_t ch) {
  DWORD style = StyleOf(h);
  if (style & ES_READONLY) return;
  EditData* d = DataOf<EditData>(h);
  if (!d) return;
  if (ch == VK_BACK) {
    if (d->selStart == d->selEnd) {
      if (d->selStart == 0) return;
      d->selStart -= 1;
    }
    EditReplace(h, L"", true);
    return;
  }
  if (ch == L'\r' || ch == L'\n') {
    if ((style & ES_MULTILINE) && (style & ES_WANTRETURN)) EditReplace(h, L"\r\n", true);
    return;
  }
  if (ch < 0x20) return;
  if ((style & ES_NUMBER) && !(ch >= L'0' && ch <= L'9')) {
    // A digits-only field refuses the character.
    MessageBeep(0);
    return;
  }
  if (style & ES_UPPERCASE) ch = textutil::UpperChar(ch);
  if (style & ES_LOWERCASE) ch = static_cast<wchar_t>(std::towlower(ch));
  EditReplace(h, std::wstring(1, ch), true);
}

void EditCopy(HWND h) {
  EditData* d = DataOf<EditData>(h);
  if (!d || d->selStart == d->selEnd || (StyleOf(h) & ES_PASSWORD)) return;
  std::wstring sel = TextOf(h).substr(static_cast<size_t>(d->selStart), static_cast<size_t>(d->selEnd - d->selStart));
  if (!OpenClipboard(h)) return;
  EmptyClipboard();
  std::u16string u = WideToUtf16(sel);
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (u.size() + 1) * 2);
  if (auto* p = static_cast<char16_t*>(GlobalLock(mem))) {
    std::copy(u.begin(), u.end(), p);
    p[u.size()] = 0;
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
  }
  CloseClipboard();
}

void EditPaste(HWND h) {
  if (StyleOf(h) & ES_READONLY) return;
  if (!OpenClipboard(h)) return;
  std::wstring text;
  if (HANDLE mem = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const char16_t*>(GlobalLock(mem))) {
      size_t max = GlobalSize(mem) / 2, n = 0;
      while (n < max && p[n]) ++n;
      text = Utf16ToWide(std::u16string_view(p, n));
      GlobalUnlock(mem);
    }
  }
  CloseClipboard();
  if (!(StyleOf(h) & ES_MULTILINE)) {
    size_t nl = text.find_first_of(L"\r\n");
    if (nl != std::wstring::npos) text.resize(nl);
  }
  if (StyleOf(h) & ES_NUMBER) {
    for (wchar_t c : text)
      if (c < L'0' || c > L'9') {
        MessageBeep(0);
        return;
      }
  }
  EditReplace(h, text, true);
}

void EditKey(HWND h, WPARAM vk) {
  EditData* d = DataOf<EditData>(h);
  if (!d) return;
  int len = static_cast<int>(TextOf(h).size());
  bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  auto moveTo = [&](int pos) {
    pos = std::clamp(pos, 0, len);
    if (shift) {
      d->selStart = std::min(d->anchor, pos);
      d->selEnd = std::max(d->anchor, pos);
      if (pos < d->anchor) std::swap(d->selStart, d->selEnd), d->selStart = pos, d->selEnd = d->anchor;
    } else {
      d->selStart = d->selEnd = d->anchor = pos;
    }
    InvalidateRect(h, nullptr, TRUE);
  };
  int caret = d->selEnd;
  if (shift && d->anchor == d->selEnd) caret = d->selStart;
  switch (vk) {
    case VK_LEFT: moveTo((!shift && d->selStart != d->selEnd) ? d->selStart : caret - 1); break;
    case VK_RIGHT: moveTo((!shift && d->selStart != d->selEnd) ? d->selEnd : caret + 1); break;
    case VK_HOME: moveTo(0); break;
    case VK_END: moveTo(len); break;
    case VK_DELETE:
      if (StyleOf(h) & ES_READONLY) break;
      if (shift) {
        EditCopy(h);
      }
      if (d->selStart == d->selEnd) {
        if (d->selEnd >= len) break;
        d->selEnd += 1;
      }
      EditReplace(h, L"", true);
      break;
    default:
      if (ctrl && (vk == 'A')) EditSetSel(h, 0, -1);
      else if (ctrl && vk == 'C') EditCopy(h);
      else if (ctrl && vk == 'X') {
        EditCopy(h);
        if (!(StyleOf(h) & ES_READONLY) && d->selStart != d->selEnd) EditReplace(h, L"", true);
      } else if (ctrl && vk == 'V')
        EditPaste(h);
      break;
  }
}

void PaintEdit(HWND h, HDC dc) {
  EditData* d = DataOf<EditData>(h);
  DWORD style = StyleOf(h);
  RECT rc;
  GetClientRect(h, &rc);
  bool grey = (style & (ES_READONLY | WS_DISABLED)) != 0;
  HBRUSH b = CtlColor(h, dc, grey ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
  if (b) FillRect(dc, &rc, b);
  HGDIOBJ oldFont = SelectObject(dc, ControlFont(h));
  std::wstring text = TextOf(h);
  if (style & ES_PASSWORD) text.assign(text.size(), L'*');
  if (style & WS_DISABLED) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  SetBkMode(dc, TRANSPARENT);
  RECT tr{rc.left + 1, rc.top, rc.right - 1, rc.bottom};
  bool focused = GetFocus() == h;
  if (style & ES_MULTILINE) {
    DrawTextW(dc, text.c_str(), -1, &tr, DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    SelectObject(dc, oldFont);
    return;
  }
  // Single line: scrolled so that the caret stays in view.
  int caret = d ? std::clamp(d->selEnd, 0, static_cast<int>(text.size())) : 0;
  SIZE caretExt{0, 0};
  GetTextExtentPoint32W(dc, text.c_str(), caret, &caretExt);
  int width = tr.right - tr.left;
  int scroll = caretExt.cx > width - 2 ? caretExt.cx - width + 2 : 0;
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);
  int y = (style & ES_MULTILINE) ? tr.top : tr.top + std::max<LONG>(0, (tr.bottom - tr.top - tm.tmHeight) / 2);
  int x = tr.left - scroll;
  if (!scroll && (style & (ES_CENTER | ES_RIGHT))) {
    SIZE all;
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &all);
    if (style & ES_CENTER) x = tr.left + (width - all.cx) / 2;
    else x = tr.right - all.cx;
  }
  IntersectClipRect(dc, tr.left, tr.top, tr.right, tr.bottom);
  TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
  if (d && d->selStart != d->selEnd && (focused || (style & ES_NOHIDESEL))) {
    SIZE a, e;
    GetTextExtentPoint32W(dc, text.c_str(), d->selStart, &a);
    GetTextExtentPoint32W(dc, text.c_str(), d->selEnd, &e);
    RECT sel{x + a.cx, y, x + e.cx, y + tm.tmHeight};
    FillRect(dc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    TextOutW(dc, x + a.cx, y, text.c_str() + d->selStart, d->selEnd - d->selStart);
  } else if (focused) {
    RECT c{x + caretExt.cx, y, x + caretExt.cx + 1, y + tm.tmHeight};
    FillRect(dc, &c, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  SelectObject(dc, oldFont);
}

LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCREATE:
      if (Window* w = Find(h)) w->data = std::make_unique<EditData>();
      return TRUE;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      DWORD style = StyleOf(h);
      if ((style & ES_MULTILINE) && (style & ES_WANTRETURN)) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_SETTEXT: {
      Window* w = Find(h);
      if (!w) return FALSE;
      w->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
      if (EditData* d = DataOf<EditData>(h)) {
        if (static_cast<int>(w->text.size()) > d->limit && d->limit > 0) {
          // The original keeps text set by the program even beyond the limit.
        }
        d->selStart = d->selEnd = d->anchor = 0;
        d->modified = false;
      }
      InvalidateRect(h, nullptr, TRUE);
      NotifyParent(h, EN_UPDATE);
      NotifyParent(h, EN_CHANGE);
      return TRUE;
    }
    case WM_CHAR: EditChar(h, static_cast<wchar_t>(wParam)); return 0;
    case WM_KEYDOWN: EditKey(h, wParam); return 0;
    case WM_LBUTTONDOWN:
      SetFocus(h);
      return 0;
    case WM_SETFOCUS:
      InvalidateRect(h, nullptr, TRUE);
      NotifyParent(h, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      InvalidateRect(h, nullptr, TRUE);
      NotifyParent(h, EN_KILLFOCUS);
      return 0;
    case EM_SETSEL: EditSetSel(h, static_cast<int>(static_cast<intptr_t>(wParam)), static_cast<int>(lParam)); return 0;
    case EM_GETSEL: {
      EditData* d = DataOf<EditData>(h);
      if (!d) return 0;
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(d->selStart);
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(d->selEnd);
      return MAKELONG(d->selStart, d->selEnd);
    }
    case EM_REPLACESEL: EditReplace(h, lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"", true); return 0;
    case EM_LIMITTEXT:
      if (EditData* d = DataOf<EditData>(h)) d->limit = wParam ? static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFE)) : 0x7FFFFFFE;
      return 0;
    case EM_GETLIMITTEXT: {
      EditData* d = DataOf<EditData>(h);
      return d ? d->limit : 0;
    }
    case EM_SETREADONLY: {
      DWORD style = StyleOf(h);
      SetWindowLongPtrW(h, GWL_STYLE, wParam ? (style | ES_READONLY) : (style & ~static_cast<DWORD>(ES_READONLY)));
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    }
    case EM_GETMODIFY: {
      EditData* d = DataOf<EditData>(h);
      return d && d->modified;
    }
    case EM_SETMODIFY:
      if (EditData* d = DataOf<EditData>(h)) d->modified = wParam != 0;
      return 0;
    case WM_COPY: EditCopy(h); return 0;
    case WM_CUT:
      EditCopy(h);
      if (EditData* d = DataOf<EditData>(h); d && d->selStart != d->selEnd && !(StyleOf(h) & ES_READONLY)) EditReplace(h, L"", true);
      return 0;
    case WM_PASTE: EditPaste(h); return 0;
    case WM_CLEAR:
      if (EditData* d = DataOf<EditData>(h); d && d->selStart != d->selEnd && !(StyleOf(h) & ES_READONLY)) EditReplace(h, L"", true);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
        return TRUE;
      }
      return DefWindowProcW(h, msg, wParam, lParam);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      PaintEdit(h, dc);
      EndPaint(h, &ps);
      return 0;
    }
    default: return DefWindowProcW(h, msg, wParam, lParam);
  }
}

// ---------------------------------------------------------------- combo box

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

}  // namespace

bool ComboPickByText(HWND h, const std::wstring& text) {
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
      {WC_BUTTONW, ButtonProc, 32512, CS_DBLCLKS | CS_PARENTDC},
      {WC_STATICW, StaticProc, 32512, CS_PARENTDC},
      {WC_EDITW, EditProc, 32513, CS_DBLCLKS | CS_PARENTDC},
      {WC_COMBOBOXW, ComboProc, 32512, CS_DBLCLKS | CS_PARENTDC},
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
