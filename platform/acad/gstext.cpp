// Text of the graphics system: the font a text style draws with (its
// TrueType face, or the file name of its font, mapped to installed faces as
// the window layer maps face names), Pango layouts of the texts kept for
// reuse, drawing a text through a matrix and measuring it.
#include "gstext.h"

#include <pango/pangocairo.h>

#include <list>
#include <string>
#include <unordered_map>

#include "gdiimpl.h"
#include "textconv.h"
#include "textutil.h"

namespace acgs {

namespace {

// Layouts are made at this size (pixels per em) and scaled by the matrix.
constexpr double kLayoutEm = 64.0;
// Layouts kept for reuse, least recently used dropped first.
constexpr size_t kCacheSize = 4096;

PangoContext* Context() {
  static PangoContext* context = [] {
    PangoFontMap* map = pango_cairo_font_map_get_default();
    PangoContext* c = pango_font_map_create_context(map);
    // Outlines scale with the matrix: no hinting of metrics or shapes.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(c, options);
    cairo_font_options_destroy(options);
    return c;
  }();
  return context;
}

struct CachedLayout {
  PangoLayout* layout = nullptr;
  double advance = 0.0;   // ems
  double baseline = 0.0;  // layout pixels from the top
  std::list<std::string>::iterator age;
};

class LayoutCache {
 public:
  const CachedLayout& get(const TextFont& font, std::wstring_view text) {
    std::string utf8 = win::WideToUtf8(std::wstring(text));
    std::string key = font.family + (font.bold ? "|b" : "|") + (font.italic ? "i|" : "|") + utf8;
    auto it = m_entries.find(key);
    if (it != m_entries.end()) {
      m_ages.splice(m_ages.begin(), m_ages, it->second.age);
      return it->second;
    }
    if (m_entries.size() >= kCacheSize) {
      auto old = m_entries.find(m_ages.back());
      g_object_unref(old->second.layout);
      m_entries.erase(old);
      m_ages.pop_back();
    }
    CachedLayout entry;
    entry.layout = pango_layout_new(Context());
    PangoFontDescription* d = pango_font_description_new();
    pango_font_description_set_family(d, font.family.c_str());
    pango_font_description_set_absolute_size(d, kLayoutEm * PANGO_SCALE);
    pango_font_description_set_weight(d, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(d, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(entry.layout, d);
    pango_font_description_free(d);
    pango_layout_set_text(entry.layout, utf8.c_str(), static_cast<int>(utf8.size()));
    PangoRectangle logical;
    pango_layout_get_extents(entry.layout, nullptr, &logical);
    entry.advance = logical.width / static_cast<double>(PANGO_SCALE) / kLayoutEm;
    entry.baseline = pango_layout_get_baseline(entry.layout) / static_cast<double>(PANGO_SCALE);
    m_ages.push_front(key);
    entry.age = m_ages.begin();
    return m_entries.emplace(std::move(key), entry).first->second;
  }

 private:
  std::unordered_map<std::string, CachedLayout> m_entries;
  std::list<std::string> m_ages;  // most recent first
};

LayoutCache& Cache() {
  // Lives as long as the process (text may be drawn while it ends).
  static LayoutCache* cache = new LayoutCache();
  return *cache;
}

// The file name's stem: "simsun.ttc" gives "simsun", "C:\fonts\arial.ttf" "arial".
std::wstring Stem(const std::wstring& file) {
  size_t slash = file.find_last_of(L"\\/");
  std::wstring name = slash == std::wstring::npos ? file : file.substr(slash + 1);
  size_t dot = name.rfind(L'.');
  std::wstring_view ext = dot == std::wstring::npos ? std::wstring_view() : std::wstring_view(name).substr(dot + 1);
  // Shape fonts have no face of their own here: the default face draws them.
  if (dot == std::wstring::npos || win::textutil::EqualNoCase(ext, L"shx") || win::textutil::EqualNoCase(ext, L"shp"))
    return L"";
  return name.substr(0, dot);
}

}  // namespace

TextFont FontOf(const AcGiTextStyle& style) {
  const ACHAR* typeface = nullptr;
  bool bold = false, italic = false;
  int charset = 0, pitch = 0;
  style.font(typeface, bold, italic, charset, pitch);
  std::wstring face = typeface && *typeface ? std::wstring(typeface) : Stem(style.fileName());
  LOGFONTW lf{};
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  TextFont font;
  font.family = win::WideToUtf8(win::gdi::ResolvedFamily(lf));
  font.bold = bold;
  font.italic = italic;
  return font;
}

double TextAdvance(const TextFont& font, std::wstring_view text) {
  if (text.empty()) return 0.0;
  return Cache().get(font, text).advance;
}

void ShowText(cairo_t* cr, const TextFont& font, std::wstring_view text, const cairo_matrix_t& emToDevice) {
  if (text.empty()) return;
  const CachedLayout& entry = Cache().get(font, text);
  // Layout pixels (y down, top of the layout at 0) to ems on the baseline (y up).
  cairo_matrix_t layoutToEm;
  cairo_matrix_init(&layoutToEm, 1.0 / kLayoutEm, 0, 0, -1.0 / kLayoutEm, 0, entry.baseline / kLayoutEm);
  cairo_matrix_t m;
  cairo_matrix_multiply(&m, &layoutToEm, &emToDevice);
  cairo_save(cr);
  cairo_set_matrix(cr, &m);
  cairo_move_to(cr, 0, 0);
  pango_cairo_show_layout(cr, entry.layout);
  cairo_restore(cr);
}

// Text styles measure their texts with the faces they are drawn in.
const bool s_bMeasurerInstalled = [] {
  acgiSetTextMeasurer([](const AcGiTextStyle& style, std::wstring_view text) {
    return TextAdvance(FontOf(style), text);
  });
  return true;
}();

}  // namespace acgs
