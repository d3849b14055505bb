// Text: Windows face names mapped to installed faces through fontconfig,
// Pango layouts of a DC's font, text metrics and extents, and text output.
#include <algorithm>
#include <cmath>

#include "gdistate.h"
#include "textutil.h"

namespace win::gdi {

PangoContext* Pango() {
  Tables& t = T();
  if (!t.pango) {
    PangoFontMap* map = pango_cairo_font_map_get_default();
    t.pango = pango_font_map_create_context(map);
    pango_cairo_context_set_resolution(t.pango, 96.0);
    cairo_font_options_t* opts = cairo_font_options_create();
    cairo_font_options_set_antialias(opts, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_metrics(opts, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_hint_style(opts, CAIRO_HINT_STYLE_SLIGHT);
    pango_cairo_context_set_font_options(t.pango, opts);
    cairo_font_options_destroy(opts);
    PangoLanguage* zh = pango_language_from_string("zh-cn");
    pango_context_set_language(t.pango, zh);
  }
  return t.pango;
}

std::wstring ResolvedFamily(const LOGFONTW& font) {
  std::wstring face(font.lfFaceName);
  auto is = [&](std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* n : names)
      if (textutil::EqualNoCase(face, n)) return true;
    return false;
  };
  // Chinese faces map to the installed Chinese face; Latin user-interface
  // faces to a sans face with the Chinese face behind it for CJK glyphs.
  if (is({L"宋体", L"SimSun", L"新宋体", L"NSimSun", L"黑体", L"SimHei", L"微软雅黑", L"Microsoft YaHei", L"仿宋",
          L"楷体"}))
    return L"WenQuanYi Zen Hei";
  if (is({L"Courier New", L"Courier", L"Consolas", L"Fixedsys", L"Terminal"})) return L"DejaVu Sans Mono,WenQuanYi Zen Hei";
  if (is({L"Times New Roman", L"Times", L"Georgia"})) return L"DejaVu Serif,WenQuanYi Zen Hei";
  if (face.empty() || is({L"Tahoma", L"MS Shell Dlg", L"MS Shell Dlg 2", L"MS Sans Serif", L"Arial", L"Verdana",
                          L"Segoe UI", L"System", L"Microsoft Sans Serif"}))
    return L"DejaVu Sans,WenQuanYi Zen Hei";
  return face + L",DejaVu Sans,WenQuanYi Zen Hei";
}

const LOGFONTW& FontOf(DCObj* dc) {
  static const LOGFONTW fallback = MakeLogFont(-11, FW_NORMAL, L"MS Shell Dlg");
  if (FontObj* f = Get<FontObj>(dc->st.font)) return f->lf;
  return fallback;
}

std::wstring_view Counted(LPCWSTR text, int count) {
  if (!text) return {};
  return count < 0 ? std::wstring_view(text) : std::wstring_view(text, static_cast<size_t>(count));
}

void ShowLayout(DCObj* dc, PangoLayout* layout, double x, double y, const RECT* opaque) {
  Paint p(dc);
  if (opaque && dc->st.bkMode == OPAQUE) {
    p.Color(dc->st.bkColor);
    cairo_rectangle(p.cr, opaque->left, opaque->top, opaque->right - opaque->left, opaque->bottom - opaque->top);
    cairo_fill(p.cr);
  }
  p.Color(dc->st.textColor);
  cairo_move_to(p.cr, x, y);
  pango_cairo_show_layout(p.cr, layout);
}

}  // namespace win::gdi

using namespace win::gdi;

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !size) return FALSE;
  std::wstring_view t = Counted(text, count);
  Layout l(FontOf(dc), t);
  *size = l.Size();
  if (t.empty()) size->cx = 0;
  if (size->cy == 0 || t.empty()) {
    TEXTMETRICW tm;
    GetTextMetricsW(hdc, &tm);
    size->cy = tm.tmHeight;
  }
  return TRUE;
}

BOOL GetTextMetricsW(HDC hdc, LPTEXTMETRICW tm) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !tm) return FALSE;
  const LOGFONTW& lf = FontOf(dc);
  *tm = TEXTMETRICW{};
  FontDesc fd(lf);
  PangoFontMetrics* m = pango_context_get_metrics(Pango(), fd.d, nullptr);
  tm->tmAscent = PANGO_PIXELS_CEIL(pango_font_metrics_get_ascent(m));
  tm->tmDescent = PANGO_PIXELS_CEIL(pango_font_metrics_get_descent(m));
  tm->tmHeight = tm->tmAscent + tm->tmDescent;
  tm->tmMaxCharWidth = PANGO_PIXELS(pango_font_metrics_get_approximate_char_width(m)) * 2;
  pango_font_metrics_unref(m);
  double em = lf.lfHeight < 0 ? -lf.lfHeight : tm->tmHeight * 0.86;
  tm->tmInternalLeading = std::max<LONG>(0, tm->tmHeight - static_cast<LONG>(std::lround(em)));
  Layout x(lf, L"x");
  tm->tmAveCharWidth = x.Size().cx;
  tm->tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
  tm->tmItalic = lf.lfItalic;
  tm->tmUnderlined = lf.lfUnderline;
  tm->tmStruckOut = lf.lfStrikeOut;
  tm->tmCharSet = lf.lfCharSet;
  tm->tmFirstChar = 0x20;
  tm->tmLastChar = 0xFFFF;
  tm->tmDefaultChar = L'?';
  tm->tmBreakChar = L' ';
  tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = 96;
  tm->tmPitchAndFamily = VARIABLE_PITCH;
  return TRUE;
}

int GetTextFaceW(HDC hdc, int count, LPWSTR faceName) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return 0;
  const LOGFONTW& lf = FontOf(dc);
  int len = static_cast<int>(wcslen(lf.lfFaceName));
  if (!faceName) return len + 1;
  if (count <= 0) return 0;
  int n = std::min(len, count - 1);
  wmemcpy(faceName, lf.lfFaceName, static_cast<size_t>(n));
  faceName[n] = 0;
  return n;
}

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const INT*) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return FALSE;
  std::wstring_view t = text ? std::wstring_view(text, count) : std::wstring_view();
  int savedMode = dc->st.bkMode;
  if ((options & ETO_OPAQUE) && rect) {
    HBRUSH b = CreateSolidBrush(dc->st.bkColor);
    FillRect(hdc, rect, b);
    DeleteObject(b);
  }
  std::optional<Region> savedClip;
  bool clipped = (options & ETO_CLIPPED) && rect;
  if (clipped) {
    savedClip = dc->st.userClip;
    IntersectClipRect(hdc, rect->left, rect->top, rect->right, rect->bottom);
  }
  if (!t.empty()) {
    Layout l(FontOf(dc), t);
    SIZE sz = l.Size();
    double px = x, py = y;
    UINT align = dc->st.textAlign;
    if ((align & TA_CENTER) == TA_CENTER) px -= sz.cx / 2.0;
    else if (align & TA_RIGHT) px -= sz.cx;
    if ((align & TA_BASELINE) == TA_BASELINE) py -= PANGO_PIXELS(pango_layout_get_baseline(l.l));
    else if (align & TA_BOTTOM) py -= sz.cy;
    RECT cell{static_cast<LONG>(px), static_cast<LONG>(py), static_cast<LONG>(px) + sz.cx, static_cast<LONG>(py) + sz.cy};
    ShowLayout(dc, l.l, px, py, (options & ETO_OPAQUE) ? nullptr : &cell);
  }
  if (clipped) dc->st.userClip = savedClip;
  dc->st.bkMode = savedMode;
  return TRUE;
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count) {
  if (count < 0) return FALSE;
  return ExtTextOutW(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}
