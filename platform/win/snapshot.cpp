// Snapshots: a window, or one of its controls, painted and written as a PNG
// file into the snapshot folder.
#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "dlgscript.h"
#include "transcript.h"
#include "wndimpl.h"

namespace win {
namespace {

std::string& SnapshotFolderSetting() {
  static std::string folder;
  return folder;
}

}  // namespace

void SetSnapshotFolder(const std::string& folder) { SnapshotFolderSetting() = folder; }

std::string SnapshotFolder() {
  if (!SnapshotFolderSetting().empty()) return SnapshotFolderSetting();
  if (const char* env = std::getenv("MARLO_SNAPSHOT_DIR"); env && *env) return env;
  return "out";
}

bool WriteSnapshot(HWND window, const std::string& fileName, HWND part) {
  wnd::Window* w = wnd::Find(window);
  if (!w || fileName.empty()) return false;
  wnd::Window* root = wnd::Root(w);
  wnd::PaintTree(root->handle);
  wnd::Window* shown = part ? wnd::Find(part) : w;
  if (!shown) return false;
  RECT r = wnd::RectInRoot(shown);
  cairo_surface_t* src = wnd::RootSurface(root);
  int width = std::max<LONG>(1, r.right - r.left), height = std::max<LONG>(1, r.bottom - r.top);
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(out);
  cairo_set_source_surface(cr, src, -r.left, -r.top);
  cairo_paint(cr);
  cairo_destroy(cr);
  std::filesystem::path dir(SnapshotFolder());
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  std::filesystem::path file = dir / fileName;
  cairo_status_t st = cairo_surface_write_to_png(out, file.string().c_str());
  cairo_surface_destroy(out);
  if (st != CAIRO_STATUS_SUCCESS) {
    user::WriteLine("snapshot " + file.string() + " could not be written");
    return false;
  }
  return true;
}

}  // namespace win
