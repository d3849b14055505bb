// Common controls: image lists and the date-time picker control.
#include <cairo.h>

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

#include "commctrl.h"
#include "wndimpl.h"

// ---------------------------------------------------------------- image lists

namespace {

struct ImageList {
  int cx = 16, cy = 16;
  UINT flags = 0;
  COLORREF bk = CLR_NONE;
  std::vector<HICON> icons;  // owned
  ~ImageList() {
    for (HICON i : icons) DeleteObject(i);
  }
};

std::unordered_map<uintptr_t, std::unique_ptr<ImageList>>& Lists() {
  // The drawing objects' tables are made first so that they outlive the
  // lists, whose icons are deleted when the lists go at exit.
  static const bool gdiReady = GetStockObject(WHITE_BRUSH) != nullptr;
  (void)gdiReady;
  static std::unordered_map<uintptr_t, std::unique_ptr<ImageList>> lists;
  return lists;
}

ImageList* ListOf(HIMAGELIST h) {
  auto it = Lists().find(reinterpret_cast<uintptr_t>(h));
  return it == Lists().end() ? nullptr : it->second.get();
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
  if (cx <= 0 || cy <= 0) return nullptr;
  static uintptr_t next = 0x70000;
  auto list = std::make_unique<ImageList>();
  list->cx = cx;
  list->cy = cy;
  list->flags = flags;
  uintptr_t id = (next += 4);
  Lists().emplace(id, std::move(list));
  return reinterpret_cast<HIMAGELIST>(id);
}

BOOL ImageList_Destroy(HIMAGELIST list) { return Lists().erase(reinterpret_cast<uintptr_t>(list)) ? TRUE : FALSE; }

int ImageList_GetImageCount(HIMAGELIST list) {
  ImageList* l = ListOf(list);
  return l ? static_cast<int>(l->icons.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
  ImageList* l = ListOf(list);
  if (!l) return FALSE;
  if (cx) *cx = l->cx;
  if (cy) *cy = l->cy;
  return TRUE;
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask) {
  ImageList* l = ListOf(list);
  cairo_surface_t* src = win::gdi::BitmapSurface(bitmap);
  if (!l || !src) return -1;
  cairo_surface_flush(src);
  int w = cairo_image_surface_get_width(src), h = cairo_image_surface_get_height(src);
  int sstride = cairo_image_surface_get_stride(src);
  const unsigned char* sdata = cairo_image_surface_get_data(src);
  uint32_t key = (uint32_t(GetRValue(mask)) << 16) | (uint32_t(GetGValue(mask)) << 8) | GetBValue(mask);
  bool masked = (l->flags & ILC_MASK) && mask != CLR_NONE;
  int first = static_cast<int>(l->icons.size());
  for (int x0 = 0; x0 + l->cx <= w; x0 += l->cx) {
    cairo_surface_t* img = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, l->cx, l->cy);
    cairo_surface_flush(img);
    unsigned char* d = cairo_image_surface_get_data(img);
    int dstride = cairo_image_surface_get_stride(img);
    for (int y = 0; y < std::min(h, l->cy); ++y)
      for (int x = 0; x < l->cx; ++x) {
        uint32_t p = *reinterpret_cast<const uint32_t*>(sdata + y * sstride + (x0 + x) * 4);
        bool transparent = masked && (p & 0xFFFFFF) == key;
        *reinterpret_cast<uint32_t*>(d + y * dstride + x * 4) = transparent ? 0u : (0xFF000000u | (p & 0xFFFFFF));
      }
    cairo_surface_mark_dirty(img);
    l->icons.push_back(win::gdi::CreateIconFromSurface(img, false));
    cairo_surface_destroy(img);
  }
  return static_cast<int>(l->icons.size()) > first ? first : -1;
}

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) {
  ImageList* l = ListOf(list);
  cairo_surface_t* s = win::gdi::IconSurface(icon);
  if (!l || !s) return -1;
  cairo_surface_t* img = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, l->cx, l->cy);
  cairo_t* cr = cairo_create(img);
  cairo_scale(cr, static_cast<double>(l->cx) / cairo_image_surface_get_width(s),
              static_cast<double>(l->cy) / cairo_image_surface_get_height(s));
  cairo_set_source_surface(cr, s, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  HICON copy = win::gdi::CreateIconFromSurface(img, false);
  cairo_surface_destroy(img);
  if (index < 0) {
    l->icons.push_back(copy);
    return static_cast<int>(l->icons.size()) - 1;
  }
  if (index >= static_cast<int>(l->icons.size())) {
    DeleteObject(copy);
    return -1;
  }
  DeleteObject(l->icons[static_cast<size_t>(index)]);
  l->icons[static_cast<size_t>(index)] = copy;
  return index;
}

HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT) {
  ImageList* l = ListOf(list);
  if (!l || index < 0 || index >= static_cast<int>(l->icons.size())) return nullptr;
  return CopyIcon(l->icons[static_cast<size_t>(index)]);
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC hdc, int x, int y, UINT) {
  ImageList* l = ListOf(list);
  if (!l || index < 0 || index >= static_cast<int>(l->icons.size())) return FALSE;
  if (l->bk != CLR_NONE) {
    RECT r{x, y, x + l->cx, y + l->cy};
    HBRUSH b = CreateSolidBrush(l->bk);
    FillRect(hdc, &r, b);
    DeleteObject(b);
  }
  return DrawIconEx(hdc, x, y, l->icons[static_cast<size_t>(index)], l->cx, l->cy, 0, nullptr, DI_NORMAL);
}

BOOL ImageList_Remove(HIMAGELIST list, int index) {
  ImageList* l = ListOf(list);
  if (!l) return FALSE;
  if (index < 0) {
    for (HICON i : l->icons) DeleteObject(i);
    l->icons.clear();
    return TRUE;
  }
  if (index >= static_cast<int>(l->icons.size())) return FALSE;
  DeleteObject(l->icons[static_cast<size_t>(index)]);
  l->icons.erase(l->icons.begin() + index);
  return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color) {
  ImageList* l = ListOf(list);
  if (!l) return CLR_NONE;
  COLORREF old = l->bk;
  l->bk = color;
  return old;
}

// ---------------------------------------------------------------- date-time picker

namespace {

struct DateTimeData : win::wnd::ControlData {
  SYSTEMTIME st{2000, 1, 6, 1, 0, 0, 0, 0};
  bool none = false;
  std::wstring format;
  int field = 0;
  int typed = -1;  // digits typed into the field so far
};

DateTimeData* DtOf(HWND h) {
  win::wnd::Window* w = win::wnd::Find(h);
  return w ? dynamic_cast<DateTimeData*>(w->data.get()) : nullptr;
}

struct Token {
  wchar_t kind;  // y M d H h m s t, or 0 for literal text
  int width;
  std::wstring literal;
};

std::wstring FormatOf(HWND h, const DateTimeData& d) {
  if (!d.format.empty()) return d.format;
  DWORD style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
  if ((style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT) return L"HH:mm:ss";
  if (style & DTS_LONGDATEFORMAT) return L"yyyy'年'M'月'd'日'";
  return L"yyyy-M-d";
}

std::vector<Token> Parse(const std::wstring& f) {
  std::vector<Token> out;
  for (size_t i = 0; i < f.size();) {
    wchar_t c = f[i];
    if (c == L'\'') {
      size_t end = f.find(L'\'', i + 1);
      if (end == std::wstring::npos) end = f.size();
      out.push_back({0, 0, f.substr(i + 1, end - i - 1)});
      i = end + 1;
    } else if (std::wstring(L"yMdHhmst").find(c) != std::wstring::npos) {
      size_t j = i;
      while (j < f.size() && f[j] == c) ++j;
      out.push_back({c, static_cast<int>(j - i), {}});
      i = j;
    } else {
      out.push_back({0, 0, std::wstring(1, c)});
      ++i;
    }
  }
  return out;
}

int DaysIn(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[(month + 11) % 12];
}

std::wstring Render(const std::vector<Token>& tokens, const SYSTEMTIME& st, std::vector<std::pair<size_t, size_t>>* spans) {
  std::wstring out;
  for (const Token& t : tokens) {
    size_t start = out.size();
    auto num = [&](int v, int width) {
      std::wstring s = std::to_wstring(v);
      while (static_cast<int>(s.size()) < width) s = L"0" + s;
      out += s;
    };
    switch (t.kind) {
      case L'y': num(t.width <= 2 ? st.wYear % 100 : st.wYear, t.width <= 2 ? 2 : 4); break;
      case L'M': num(st.wMonth, t.width >= 2 ? 2 : 1); break;
      case L'd': num(st.wDay, t.width >= 2 ? 2 : 1); break;
      case L'H': num(st.wHour, t.width >= 2 ? 2 : 1); break;
      case L'h': num(st.wHour % 12 == 0 ? 12 : st.wHour % 12, t.width >= 2 ? 2 : 1); break;
      case L'm': num(st.wMinute, t.width >= 2 ? 2 : 1); break;
      case L's': num(st.wSecond, t.width >= 2 ? 2 : 1); break;
      case L't': out += st.wHour < 12 ? L"上午" : L"下午"; break;
      default: out += t.literal; break;
    }
    if (t.kind && spans) spans->push_back({start, out.size()});
  }
  return out;
}

// Sets a field of the time to `value`, wrapping within its range.
void SetField(SYSTEMTIME& st, wchar_t kind, int value) {
  auto wrap = [](int v, int lo, int hi) { int n = hi - lo + 1; return lo + (((v - lo) % n) + n) % n; };
  switch (kind) {
    case L'y': st.wYear = static_cast<WORD>(std::clamp(value, 1601, 9999)); break;
    case L'M': st.wMonth = static_cast<WORD>(wrap(value, 1, 12)); break;
    case L'd': st.wDay = static_cast<WORD>(wrap(value, 1, DaysIn(st.wYear, st.wMonth))); break;
    case L'H': case L'h': case L't': st.wHour = static_cast<WORD>(wrap(value, 0, 23)); break;
    case L'm': st.wMinute = static_cast<WORD>(wrap(value, 0, 59)); break;
    case L's': st.wSecond = static_cast<WORD>(wrap(value, 0, 59)); break;
    default: break;
  }
  st.wDay = static_cast<WORD>(std::min<int>(st.wDay, DaysIn(st.wYear, st.wMonth)));
}

int FieldValue(const SYSTEMTIME& st, wchar_t kind) {
  switch (kind) {
    case L'y': return st.wYear;
    case L'M': return st.wMonth;
    case L'd': return st.wDay;
    case L'H': case L'h': return st.wHour;
    case L't': return st.wHour;
    case L'm': return st.wMinute;
    case L's': return st.wSecond;
    default: return 0;
  }
}

std::vector<wchar_t> Fields(const std::vector<Token>& tokens) {
  std::vector<wchar_t> f;
  for (const Token& t : tokens)
    if (t.kind) f.push_back(t.kind);
  return f;
}

void Changed(HWND h) {
  DateTimeData* d = DtOf(h);
  if (!d) return;
  InvalidateRect(h, nullptr, TRUE);
  NMDATETIMECHANGE nm{};
  nm.nmhdr.hwndFrom = h;
  nm.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(h));
  nm.nmhdr.code = DTN_DATETIMECHANGE;
  nm.dwFlags = d->none ? GDT_NONE : GDT_VALID;
  nm.st = d->st;
  if (HWND parent = GetParent(h)) SendMessageW(parent, WM_NOTIFY, nm.nmhdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

void PaintDateTime(HWND h, HDC dc) {
  DateTimeData* d = DtOf(h);
  if (!d) return;
  RECT rc;
  GetClientRect(h, &rc);
  DWORD style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
  RECT frame = rc;
  DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  FillRect(dc, &frame, GetSysColorBrush((style & WS_DISABLED) ? COLOR_BTNFACE : COLOR_WINDOW));
  int bw = GetSystemMetrics(SM_CXVSCROLL);
  if (style & DTS_UPDOWN) {
    RECT up{frame.right - bw, frame.top, frame.right, (frame.top + frame.bottom) / 2};
    RECT down{frame.right - bw, up.bottom, frame.right, frame.bottom};
    DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP);
    DrawFrameControl(dc, &down, DFC_SCROLL, DFCS_SCROLLDOWN);
  } else {
    RECT drop{frame.right - bw, frame.top, frame.right, frame.bottom};
    DrawFrameControl(dc, &drop, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
  }
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HGDIOBJ old = SelectObject(dc, font);
  std::vector<std::pair<size_t, size_t>> spans;
  std::wstring text = Render(Parse(FormatOf(h, *d)), d->st, &spans);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor((style & WS_DISABLED) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);
  int x = frame.left + 2, y = (frame.top + frame.bottom - tm.tmHeight) / 2;
  TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
  if (GetFocus() == h && d->field < static_cast<int>(spans.size())) {
    auto [a, b] = spans[static_cast<size_t>(d->field)];
    SIZE sa, sb;
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(a), &sa);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(b), &sb);
    RECT sel{x + sa.cx, y, x + sb.cx, y + tm.tmHeight};
    FillRect(dc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    TextOutW(dc, x + sa.cx, y, text.c_str() + a, static_cast<int>(b - a));
  }
  SelectObject(dc, old);
}

LRESULT CALLBACK DateTimeProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  DateTimeData* d = DtOf(h);
  switch (msg) {
    case WM_NCCREATE:
      if (win::wnd::Window* w = win::wnd::Find(h)) w->data = std::make_unique<DateTimeData>();
      return TRUE;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case DTM_SETSYSTEMTIME: {
      if (!d) return FALSE;
      if (wParam == GDT_NONE) {
        d->none = true;
      } else {
        const auto* st = reinterpret_cast<const SYSTEMTIME*>(lParam);
        if (!st || st->wMonth < 1 || st->wMonth > 12 || st->wDay < 1 || st->wDay > DaysIn(st->wYear, st->wMonth) ||
            st->wHour > 23 || st->wMinute > 59 || st->wSecond > 59)
          return FALSE;
        d->st = *st;
        d->none = false;
      }
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    }
    case DTM_GETSYSTEMTIME: {
      if (!d || !lParam) return GDT_ERROR;
      *reinterpret_cast<SYSTEMTIME*>(lParam) = d->st;
      return d->none ? GDT_NONE : GDT_VALID;
    }
    case DTM_SETFORMATW:
      if (!d) return FALSE;
      d->format = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
      d->field = 0;
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    case WM_LBUTTONDOWN: SetFocus(h); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (d) d->typed = -1;
      InvalidateRect(h, nullptr, TRUE);
      if (HWND parent = GetParent(h)) {
        NMHDR nm{h, static_cast<UINT_PTR>(GetDlgCtrlID(h)), msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS};
        SendMessageW(parent, WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
      }
      return 0;
    case WM_KEYDOWN: {
      if (!d) return 0;
      std::vector<wchar_t> fields = Fields(Parse(FormatOf(h, *d)));
      if (fields.empty()) return 0;
      d->field = std::clamp(d->field, 0, static_cast<int>(fields.size()) - 1);
      wchar_t kind = fields[static_cast<size_t>(d->field)];
      d->typed = -1;
      if (wParam == VK_LEFT) d->field = std::max(0, d->field - 1);
      else if (wParam == VK_RIGHT) d->field = std::min(static_cast<int>(fields.size()) - 1, d->field + 1);
      else if (wParam == VK_UP || wParam == VK_DOWN) {
        int step = kind == L't' ? 12 : 1;
        SetField(d->st, kind, FieldValue(d->st, kind) + (wParam == VK_UP ? step : -step));
        Changed(h);
      }
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    }
    case WM_CHAR: {
      if (!d || wParam < L'0' || wParam > L'9') return 0;
      std::vector<wchar_t> fields = Fields(Parse(FormatOf(h, *d)));
      if (fields.empty()) return 0;
      wchar_t kind = fields[static_cast<size_t>(std::clamp(d->field, 0, static_cast<int>(fields.size()) - 1))];
      int digit = static_cast<int>(wParam - L'0');
      int value = d->typed < 0 ? digit : d->typed * 10 + digit;
      int maxDigits = kind == L'y' ? 4 : 2;
      SetField(d->st, kind, kind == L'y' && value < 1601 ? FieldValue(d->st, kind) : value);
      if (kind == L'y' && value >= 1601) SetField(d->st, kind, value);
      d->typed = value;
      if (std::to_string(value).size() >= static_cast<size_t>(maxDigits)) {
        d->typed = -1;
        d->field = std::min(static_cast<int>(fields.size()) - 1, d->field + 1);
      }
      Changed(h);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      PaintDateTime(h, dc);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      if (!d) return 0;
      std::wstring text = Render(Parse(FormatOf(h, *d)), d->st, nullptr);
      if (msg == WM_GETTEXTLENGTH) return static_cast<LRESULT>(text.size());
      auto* buf = reinterpret_cast<LPWSTR>(lParam);
      int max = static_cast<int>(wParam);
      if (!buf || max <= 0) return 0;
      int n = std::min<int>(static_cast<int>(text.size()), max - 1);
      wmemcpy(buf, text.c_str(), static_cast<size_t>(n));
      buf[n] = 0;
      return n;
    }
    default: return DefWindowProcW(h, msg, wParam, lParam);
  }
}

}  // namespace

void InitCommonControls() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
  wc.lpfnWndProc = DateTimeProc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = DATETIMEPICK_CLASSW;
  RegisterClassW(&wc);
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
  if (!picce || picce->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
  InitCommonControls();
  return TRUE;
}
