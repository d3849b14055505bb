// The built-in edit control: single and multi-line text with a selection
// and caret, typing (digits-only, upper and lower case, read-only, a length
// limit), the editing keys, and cut, copy and paste through the clipboard.
#include <algorithm>
#include <cwctype>

#include "ctlimpl.h"
#include "textconv.h"
#include "textutil.h"

namespace win::wnd::ctl {
namespace {

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

}  // namespace

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

}  // namespace win::wnd::ctl
