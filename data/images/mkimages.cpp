// mkimages OUT-FOLDER: draws the drive-test application's images with Cairo
// and writes them as PNG files and as the C++ tables the module embeds:
//   marlo.png    icon 111, 128 x 128: a floor plan with coloured drive-test
//                points along a route, and signal bars
//   buttons.png  bitmap 107, a strip of seven 32 x 32 button images on the
//                mask green RGB(0, 255, 0): exit (normal, hot), Word (normal,
//                hot), draw (normal, hot), about
//   cursors.png  the preview's cursors 39464 (default: a cross-hair),
//                40464 (orbit: a ring of arrows) and 41464 (pan: four arrows),
//                32 x 32 each, side by side, hot spot in the middle
//   LevelmapImages.cpp  the PNG files as byte tables (levelmap/ui)
// Run by hand when an image changes; the outputs are kept in the repository.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void Dot(cairo_t* cr, double x, double y, double r, double red, double green, double blue) {
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  cairo_set_source_rgb(cr, red, green, blue);
  cairo_fill(cr);
}

// Icon 111: the application's picture.
void DrawIcon(cairo_t* cr) {
  RoundRect(cr, 4, 4, 120, 120, 22);
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 4, 0, 124);
  cairo_pattern_add_color_stop_rgb(sky, 0, 0.10, 0.46, 0.82);
  cairo_pattern_add_color_stop_rgb(sky, 1, 0.05, 0.20, 0.52);
  cairo_set_source(cr, sky);
  cairo_fill(cr);
  cairo_pattern_destroy(sky);

  // The floor plan: outer walls, two room walls and a corridor.
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, 5);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_rectangle(cr, 20, 22, 88, 70);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 3);
  cairo_move_to(cr, 20, 58);
  cairo_line_to(cr, 48, 58);
  cairo_move_to(cr, 60, 58);
  cairo_line_to(cr, 108, 58);
  cairo_move_to(cr, 64, 22);
  cairo_line_to(cr, 64, 46);
  cairo_stroke(cr);

  // The route through the corridor with its points, coloured by band.
  cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
  cairo_set_line_width(cr, 2);
  cairo_move_to(cr, 28, 76);
  cairo_line_to(cr, 54, 76);
  cairo_line_to(cr, 54, 36);
  cairo_line_to(cr, 98, 36);
  cairo_stroke(cr);
  const double points[][5] = {{28, 76, 0.95, 0.15, 0.10}, {41, 76, 1.0, 0.55, 0.0},  {54, 76, 1.0, 0.85, 0.0},
                              {54, 62, 0.30, 0.85, 0.25}, {54, 49, 0.30, 0.85, 0.25}, {54, 36, 0.0, 0.85, 0.95},
                              {68, 36, 1.0, 0.85, 0.0},  {83, 36, 0.95, 0.15, 0.10}, {98, 36, 0.85, 0.25, 0.90}};
  for (const auto& p : points) Dot(cr, p[0], p[1], 5, p[2], p[3], p[4]);

  // Signal bars at the bottom right.
  for (int i = 0; i < 4; ++i) {
    double h = 8 + 6 * i;
    cairo_rectangle(cr, 78 + 8 * i, 114 - h, 6, h);
  }
  cairo_set_source_rgb(cr, 1, 0.85, 0.1);
  cairo_fill(cr);
}

// One 32 x 32 button image at x0 of the strip.
void DrawButton(cairo_t* cr, int index, double x0) {
  bool hot = index % 2 == 1 && index < 6;
  cairo_save(cr);
  cairo_translate(cr, x0, 0);
  switch (index / 2) {
    case 0: {  // exit: a red disc with a white cross
      cairo_arc(cr, 16, 16, 13, 0, 2 * M_PI);
      cairo_set_source_rgb(cr, hot ? 0.95 : 0.78, hot ? 0.25 : 0.12, hot ? 0.20 : 0.10);
      cairo_fill(cr);
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_set_line_width(cr, 3.5);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      cairo_move_to(cr, 11, 11);
      cairo_line_to(cr, 21, 21);
      cairo_move_to(cr, 21, 11);
      cairo_line_to(cr, 11, 21);
      cairo_stroke(cr);
      break;
    }
    case 1: {  // Word: a page with a folded corner and a blue W
      cairo_move_to(cr, 6, 3);
      cairo_line_to(cr, 20, 3);
      cairo_line_to(cr, 27, 10);
      cairo_line_to(cr, 27, 29);
      cairo_line_to(cr, 6, 29);
      cairo_close_path(cr);
      cairo_set_source_rgb(cr, hot ? 0.90 : 1, hot ? 0.95 : 1, 1);
      cairo_fill_preserve(cr);
      cairo_set_source_rgb(cr, 0.25, 0.30, 0.40);
      cairo_set_line_width(cr, 1.5);
      cairo_stroke(cr);
      cairo_move_to(cr, 20, 3);
      cairo_line_to(cr, 20, 10);
      cairo_line_to(cr, 27, 10);
      cairo_stroke(cr);
      cairo_set_source_rgb(cr, 0.10, 0.30, hot ? 0.90 : 0.70);
      cairo_set_line_width(cr, 2.5);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
      cairo_move_to(cr, 9, 13);
      cairo_line_to(cr, 12, 25);
      cairo_line_to(cr, 16.5, 16);
      cairo_line_to(cr, 21, 25);
      cairo_line_to(cr, 24, 13);
      cairo_stroke(cr);
      break;
    }
    case 2: {  // draw: a route with coloured points
      RoundRect(cr, 2, 2, 28, 28, 4);
      cairo_set_source_rgb(cr, hot ? 0.85 : 0.96, hot ? 0.93 : 0.96, hot ? 1.0 : 0.92);
      cairo_fill_preserve(cr);
      cairo_set_source_rgb(cr, 0.35, 0.35, 0.35);
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
      cairo_set_source_rgb(cr, 0.45, 0.45, 0.50);
      cairo_set_line_width(cr, 1.5);
      cairo_move_to(cr, 6, 25);
      cairo_line_to(cr, 13, 12);
      cairo_line_to(cr, 20, 20);
      cairo_line_to(cr, 26, 7);
      cairo_stroke(cr);
      Dot(cr, 6, 25, 3, 0.95, 0.15, 0.10);
      Dot(cr, 13, 12, 3, 1.0, 0.80, 0.0);
      Dot(cr, 20, 20, 3, 0.10, 0.45, 0.95);
      Dot(cr, 26, 7, 3, 0.85, 0.20, 0.85);
      break;
    }
    default: {  // about: a blue disc with a white i
      cairo_arc(cr, 16, 16, 13, 0, 2 * M_PI);
      cairo_set_source_rgb(cr, 0.10, 0.40, 0.85);
      cairo_fill(cr);
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_arc(cr, 16, 9.5, 2.3, 0, 2 * M_PI);
      cairo_fill(cr);
      cairo_rectangle(cr, 14, 14, 4, 11);
      cairo_fill(cr);
      break;
    }
  }
  cairo_restore(cr);
}

void Arrow(cairo_t* cr, double x, double y, double angle) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle);
  cairo_move_to(cr, 5, 0);
  cairo_line_to(cr, -2, -4);
  cairo_line_to(cr, -2, 4);
  cairo_close_path(cr);
  cairo_restore(cr);
}

// One cursor: black shapes with a white outline, so that it shows on any map.
void DrawCursor(cairo_t* cr, int index, double x0) {
  cairo_save(cr);
  cairo_translate(cr, x0, 0);
  switch (index) {
    case 0:  // default: a cross-hair with a small box
      cairo_move_to(cr, 16, 3);
      cairo_line_to(cr, 16, 29);
      cairo_move_to(cr, 3, 16);
      cairo_line_to(cr, 29, 16);
      cairo_rectangle(cr, 12.5, 12.5, 7, 7);
      break;
    case 1:  // orbit: a ring with two arrow heads
      cairo_arc(cr, 16, 16, 10, 0.3, M_PI - 0.3);
      cairo_new_sub_path(cr);
      cairo_arc(cr, 16, 16, 10, M_PI + 0.3, 2 * M_PI - 0.3);
      break;
    default:  // pan: four arrows
      cairo_move_to(cr, 16, 5);
      cairo_line_to(cr, 16, 27);
      cairo_move_to(cr, 5, 16);
      cairo_line_to(cr, 27, 16);
      break;
  }
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, 4);
  cairo_stroke_preserve(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  if (index == 1) {
    Arrow(cr, 16 + 10 * std::cos(0.3), 16 + 10 * std::sin(0.3), 0.3 + M_PI / 2 + M_PI);
    Arrow(cr, 16 + 10 * std::cos(M_PI + 0.3), 16 + 10 * std::sin(M_PI + 0.3), 0.3 + M_PI / 2);
  } else if (index == 2) {
    Arrow(cr, 16, 5, -M_PI / 2);
    Arrow(cr, 16, 27, M_PI / 2);
    Arrow(cr, 5, 16, M_PI);
    Arrow(cr, 27, 16, 0);
  }
  if (index != 0) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 2);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

// Hard edges on the mask: a pixel at least half covered keeps its colour,
// made opaque; every other pixel becomes the mask green. No drawn pixel is
// exactly the mask colour.
void ApplyMask(cairo_surface_t* s) {
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < cairo_image_surface_get_height(s); ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
    for (int x = 0; x < cairo_image_surface_get_width(s); ++x) {
      uint32_t p = row[x];
      uint32_t a = p >> 24;
      if (a < 128) {
        row[x] = 0xFF00FF00u;
        continue;
      }
      auto un = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
      uint32_t r = un((p >> 16) & 0xFF), g = un((p >> 8) & 0xFF), b = un(p & 0xFF);
      if (r == 0 && g == 255 && b == 0) g = 254;
      row[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
  }
  cairo_surface_mark_dirty(s);
}

cairo_status_t Collect(void* closure, const unsigned char* data, unsigned int length) {
  auto* bytes = static_cast<std::vector<unsigned char>*>(closure);
  bytes->insert(bytes->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

std::string Table(const char* name, const std::vector<unsigned char>& bytes) {
  std::string out = "const unsigned char " + std::string(name) + "[] = {";
  char buf[8];
  for (size_t i = 0; i < bytes.size(); ++i) {
    out += i % 16 == 0 ? "\n    " : " ";
    std::snprintf(buf, sizeof buf, "0x%02x,", bytes[i]);
    out += buf;
  }
  return out + "\n};\n";
}

bool WritePng(cairo_surface_t* s, const std::string& file, std::vector<unsigned char>& bytes) {
  if (cairo_surface_write_to_png_stream(s, Collect, &bytes) != CAIRO_STATUS_SUCCESS) return false;
  FILE* f = std::fopen(file.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mkimages OUT-FOLDER\n");
    return 2;
  }
  std::string folder = argv[1];

  cairo_surface_t* icon = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 128, 128);
  cairo_t* cr = cairo_create(icon);
  DrawIcon(cr);
  cairo_destroy(cr);

  cairo_surface_t* strip = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 7 * 32, 32);
  cr = cairo_create(strip);
  for (int i = 0; i < 7; ++i) DrawButton(cr, i, 32.0 * i);
  cairo_destroy(cr);
  ApplyMask(strip);

  cairo_surface_t* cursors = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 3 * 32, 32);
  cr = cairo_create(cursors);
  for (int i = 0; i < 3; ++i) DrawCursor(cr, i, 32.0 * i);
  cairo_destroy(cr);

  std::vector<unsigned char> iconBytes, stripBytes, cursorBytes;
  bool ok = WritePng(icon, folder + "/marlo.png", iconBytes) && WritePng(strip, folder + "/buttons.png", stripBytes) &&
            WritePng(cursors, folder + "/cursors.png", cursorBytes);
  // Each cursor is a resource of its own.
  std::vector<unsigned char> cursorPngs[3];
  for (int i = 0; i < 3 && ok; ++i) {
    cairo_surface_t* one = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 32, 32);
    cr = cairo_create(one);
    cairo_set_source_surface(cr, cursors, -32.0 * i, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    ok = cairo_surface_write_to_png_stream(one, Collect, &cursorPngs[i]) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(one);
  }
  cairo_surface_destroy(icon);
  cairo_surface_destroy(strip);
  cairo_surface_destroy(cursors);
  if (!ok) {
    std::fprintf(stderr, "mkimages: cannot write the PNG files into %s\n", folder.c_str());
    return 1;
  }

  std::string source =
      "// The drive-test application's images as PNG bytes: icon 111 (128 x 128),\n"
      "// bitmap 107 (seven 32 x 32 button images on the mask green) and the three\n"
      "// preview cursors side by side. Written by data/images/mkimages; change the\n"
      "// drawing there, not these bytes.\n"
      "#include \"LevelmapImages.h\"\n\n";
  source += Table("kLevelmapIconPng", iconBytes);
  source += "const size_t kLevelmapIconPngSize = sizeof kLevelmapIconPng;\n\n";
  source += Table("kLevelmapButtonsPng", stripBytes);
  source += "const size_t kLevelmapButtonsPngSize = sizeof kLevelmapButtonsPng;\n\n";
  const char* cursorNames[3] = {"kLevelmapCursorDefaultPng", "kLevelmapCursorOrbitPng", "kLevelmapCursorPanPng"};
  for (int i = 0; i < 3; ++i) {
    source += Table(cursorNames[i], cursorPngs[i]);
    source += "const size_t " + std::string(cursorNames[i]) + "Size = sizeof " + cursorNames[i] + ";\n";
  }
  FILE* f = std::fopen((folder + "/LevelmapImages.cpp").c_str(), "w");
  if (!f || std::fputs(source.c_str(), f) < 0 || std::fclose(f) != 0) {
    std::fprintf(stderr, "mkimages: cannot write %s/LevelmapImages.cpp\n", folder.c_str());
    return 1;
  }
  return 0;
}
