// Resource tables and the loading calls that read them: strings, bitmaps,
// icons and cursors (module images and the system's own).
#include "resourcetable.h"

#include <cmath>
#include <cstring>
#include <map>

#include "gdiimpl.h"
#include "module.h"

namespace win {
namespace {

std::vector<const ResourceTable*>& Tables() {
  static std::vector<const ResourceTable*> tables;
  return tables;
}

template <class T, class F>
const T* Lookup(HINSTANCE instance, F find) {
  for (const ResourceTable* t : Tables())
    if (t->Instance() == instance)
      if (const T* r = find(t)) return r;
  for (const ResourceTable* t : Tables())
    if (const T* r = find(t)) return r;
  return nullptr;
}

UINT IdOf(LPCWSTR name) { return IS_INTRESOURCE(name) ? static_cast<UINT>(reinterpret_cast<uintptr_t>(name)) : 0; }

cairo_surface_t* SurfaceOfImage(const ImageResource& img) {
  if (img.png) return gdi::DecodePng(img.png, img.pngSize);
  if (img.width <= 0 || img.height <= 0 || img.argb.size() < static_cast<size_t>(img.width) * img.height) return nullptr;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, img.width, img.height);
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < img.height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
    for (int x = 0; x < img.width; ++x) {
      uint32_t p = img.argb[static_cast<size_t>(y) * img.width + x];
      uint32_t a = p >> 24;
      // Cairo keeps premultiplied colour.
      auto pm = [a](uint32_t c) { return (c * a + 127) / 255; };
      row[x] = (a << 24) | (pm((p >> 16) & 0xFF) << 16) | (pm((p >> 8) & 0xFF) << 8) | pm(p & 0xFF);
    }
  }
  cairo_surface_mark_dirty(s);
  return s;
}

// The system's icons, drawn: a warning triangle, an information disc, an
// error disc, a question disc and the application frame.
HICON SystemIcon(UINT id) {
  static std::map<UINT, HICON> icons;
  auto it = icons.find(id);
  if (it != icons.end()) return it->second;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 32, 32);
  cairo_t* cr = cairo_create(s);
  cairo_set_line_width(cr, 2);
  switch (id) {
    case 32515:  // warning
      cairo_move_to(cr, 16, 2);
      cairo_line_to(cr, 30, 29);
      cairo_line_to(cr, 2, 29);
      cairo_close_path(cr);
      cairo_set_source_rgb(cr, 1, 0.8, 0);
      cairo_fill_preserve(cr);
      cairo_set_source_rgb(cr, 0, 0, 0);
      cairo_stroke(cr);
      cairo_rectangle(cr, 15, 11, 2, 10);
      cairo_rectangle(cr, 15, 23, 2, 3);
      cairo_fill(cr);
      break;
    case 32513:  // error
    case 32514:  // question
    case 32516:  // information
      cairo_arc(cr, 16, 16, 14, 0, 2 * M_PI);
      if (id == 32513) cairo_set_source_rgb(cr, 0.8, 0.1, 0.1);
      else cairo_set_source_rgb(cr, 0.1, 0.3, 0.8);
      cairo_fill(cr);
      cairo_set_source_rgb(cr, 1, 1, 1);
      if (id == 32513) {
        cairo_set_line_width(cr, 3);
        cairo_move_to(cr, 10, 10);
        cairo_line_to(cr, 22, 22);
        cairo_move_to(cr, 22, 10);
        cairo_line_to(cr, 10, 22);
        cairo_stroke(cr);
      } else if (id == 32516) {
        cairo_rectangle(cr, 14, 13, 4, 11);
        cairo_rectangle(cr, 14, 7, 4, 4);
        cairo_fill(cr);
      } else {
        cairo_set_line_width(cr, 3);
        cairo_arc(cr, 16, 12, 5, M_PI, 2.3 * M_PI);
        cairo_line_to(cr, 16, 19);
        cairo_stroke(cr);
        cairo_rectangle(cr, 14.5, 22, 3, 3);
        cairo_fill(cr);
      }
      break;
    default:  // the application
      cairo_rectangle(cr, 3, 5, 26, 22);
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_fill_preserve(cr);
      cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
      cairo_stroke(cr);
      cairo_rectangle(cr, 4, 6, 24, 5);
      cairo_set_source_rgb(cr, 0.04, 0.14, 0.42);
      cairo_fill(cr);
      break;
  }
  cairo_destroy(cr);
  HICON icon = gdi::CreateIconFromSurface(s, false);
  cairo_surface_destroy(s);
  icons[id] = icon;
  return icon;
}

HCURSOR SystemCursor(UINT id) {
  static std::map<UINT, HCURSOR> cursors;
  auto it = cursors.find(id);
  if (it != cursors.end()) return it->second;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 32, 32);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_move_to(cr, 1, 1);
  cairo_line_to(cr, 1, 17);
  cairo_line_to(cr, 12, 12);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_destroy(cr);
  HCURSOR c = gdi::CreateIconFromSurface(s, true);
  cairo_surface_destroy(s);
  cursors[id] = c;
  return c;
}

HANDLE LoadModuleImage(HINSTANCE instance, UINT id, UINT type) {
  const ImageResource* img = FindImageResource(instance, id, type);
  if (!img) {
    SetLastError(1813);  // the resource was not found
    return nullptr;
  }
  cairo_surface_t* s = SurfaceOfImage(*img);
  if (!s) return nullptr;
  HANDLE h = type == IMAGE_BITMAP ? static_cast<HANDLE>(gdi::CreateBitmapFromSurface(s))
                                  : static_cast<HANDLE>(gdi::CreateIconFromSurface(s, type == IMAGE_CURSOR));
  cairo_surface_destroy(s);
  return h;
}

}  // namespace

ResourceTable::ResourceTable(std::vector<DialogResource> dialogs, std::vector<StringResource> strings,
                             std::vector<ImageResource> images)
    : m_instance(ModuleFromAddress(this)),
      m_dialogs(std::move(dialogs)),
      m_strings(std::move(strings)),
      m_images(std::move(images)) {
  Tables().push_back(this);
}

ResourceTable::~ResourceTable() { std::erase(Tables(), this); }

const DialogResource* ResourceTable::FindDialog(UINT id) const {
  for (const DialogResource& d : m_dialogs)
    if (d.id == id) return &d;
  return nullptr;
}
const StringResource* ResourceTable::FindString(UINT id) const {
  for (const StringResource& s : m_strings)
    if (s.id == id) return &s;
  return nullptr;
}
const ImageResource* ResourceTable::FindImage(UINT id, UINT type) const {
  for (const ImageResource& i : m_images)
    if (i.id == id && i.type == type) return &i;
  return nullptr;
}

std::vector<const ResourceTable*> TablesOfModule(HINSTANCE instance) {
  std::vector<const ResourceTable*> tables;
  for (const ResourceTable* t : Tables())
    if (t->Instance() == instance) tables.push_back(t);
  return tables;
}

const DialogResource* FindDialogResource(HINSTANCE instance, UINT id) {
  return Lookup<DialogResource>(instance, [id](const ResourceTable* t) { return t->FindDialog(id); });
}
const StringResource* FindStringResource(HINSTANCE instance, UINT id) {
  return Lookup<StringResource>(instance, [id](const ResourceTable* t) { return t->FindString(id); });
}
const ImageResource* FindImageResource(HINSTANCE instance, UINT id, UINT type) {
  return Lookup<ImageResource>(instance, [id, type](const ResourceTable* t) { return t->FindImage(id, type); });
}

}  // namespace win

using namespace win;

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
  UINT id = IdOf(name);
  if (!instance) return id >= 32512 ? SystemCursor(id) : nullptr;
  return static_cast<HCURSOR>(LoadModuleImage(instance, id, IMAGE_CURSOR));
}

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
  UINT id = IdOf(name);
  if (!instance) return id >= 32512 ? SystemIcon(id) : nullptr;
  return static_cast<HICON>(LoadModuleImage(instance, id, IMAGE_ICON));
}

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
  return static_cast<HBITMAP>(LoadModuleImage(instance, IdOf(name), IMAGE_BITMAP));
}

HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int, int, UINT) {
  UINT id = IdOf(name);
  if (!instance) {
    if (type == IMAGE_ICON) return SystemIcon(id);
    if (type == IMAGE_CURSOR) return SystemCursor(id);
    return nullptr;
  }
  return LoadModuleImage(instance, id, type);
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax) {
  const StringResource* s = FindStringResource(instance, id);
  if (!s || !buffer) return 0;
  if (bufferMax == 0) {
    // A zero-sized buffer receives a pointer to the text itself.
    *reinterpret_cast<const wchar_t**>(buffer) = s->text.c_str();
    return static_cast<int>(s->text.size());
  }
  int n = std::min<int>(static_cast<int>(s->text.size()), bufferMax - 1);
  wmemcpy(buffer, s->text.c_str(), static_cast<size_t>(n));
  buffer[n] = 0;
  return n;
}

BOOL DestroyIcon(HICON icon) {
  if (!gdi::IconSurface(icon)) return FALSE;
  // System icons are shared and stay.
  for (UINT id : {32512u, 32513u, 32514u, 32515u, 32516u})
    if (icon == SystemIcon(id)) return TRUE;
  return DeleteObject(icon);
}

BOOL DestroyCursor(HCURSOR cursor) { return gdi::IconSurface(cursor) ? TRUE : FALSE; }

BOOL GetIconInfo(HICON icon, PICONINFO info) {
  cairo_surface_t* s = gdi::IconSurface(icon);
  if (!s || !info) return FALSE;
  *info = ICONINFO{};
  info->fIcon = TRUE;
  info->hbmColor = gdi::CreateBitmapFromSurface(s);
  info->hbmMask = CreateCompatibleBitmap(nullptr, cairo_image_surface_get_width(s), cairo_image_surface_get_height(s));
  return TRUE;
}

HICON CreateIconIndirect(PICONINFO info) {
  if (!info) return nullptr;
  cairo_surface_t* s = gdi::BitmapSurface(info->hbmColor);
  if (!s) return nullptr;
  return gdi::CreateIconFromSurface(s, !info->fIcon);
}

HICON CopyIcon(HICON icon) {
  cairo_surface_t* s = gdi::IconSurface(icon);
  return s ? gdi::CreateIconFromSurface(s, false) : nullptr;
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH, UINT) {
  cairo_surface_t* s = gdi::IconSurface(icon);
  cairo_surface_t* target = gdi::SurfaceOf(hdc);
  if (!s || !target) return FALSE;
  int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  if (cx <= 0) cx = w;
  if (cy <= 0) cy = h;
  // Icons blend with their alpha: drawn through a memory bitmap of the same
  // size so that the DC's clip and origin apply.
  HDC mem = CreateCompatibleDC(hdc);
  HBITMAP bmp = CreateCompatibleBitmap(hdc, cx, cy);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, cx, cy, hdc, x, y, SRCCOPY);
  cairo_surface_t* ms = gdi::SurfaceOf(mem);
  cairo_t* cr = cairo_create(ms);
  cairo_scale(cr, static_cast<double>(cx) / w, static_cast<double>(cy) / h);
  cairo_set_source_surface(cr, s, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_mark_dirty(ms);
  BitBlt(hdc, x, y, cx, cy, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  return TRUE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) { return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }
