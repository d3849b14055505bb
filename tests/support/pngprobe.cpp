// pngprobe: pixel checks of PNG snapshots for the end-to-end cases.
//   pngprobe FILE pixel X Y             prints the pixel's colour as #RRGGBB
//   pngprobe FILE count #RRGGBB [TOL]   prints how many pixels are within TOL
//                                       of the colour in every channel (TOL 0)
//   pngprobe FILE bbox #RRGGBB [TOL]    prints "x0 y0 x1 y1", the smallest
//                                       rectangle (corners included) holding
//                                       every pixel further than TOL from the
//                                       colour, or "empty" when there is none
// Exit status 0, or 2 with a message on standard error when the file cannot be
// read or the arguments are wrong.
#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

struct Rgb {
  int r = 0, g = 0, b = 0;
};

int Usage() {
  std::fputs("usage: pngprobe FILE pixel X Y | FILE count #RRGGBB [TOL] | FILE bbox #RRGGBB [TOL]\n", stderr);
  return 2;
}

std::optional<long> Number(const char* text) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (end == text || *end || v < 0) return std::nullopt;
  return v;
}

std::optional<Rgb> Colour(const std::string& text) {
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  for (size_t i = 1; i < 7; ++i)
    if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
  unsigned long v = std::strtoul(text.c_str() + 1, nullptr, 16);
  return Rgb{static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)};
}

// The straight (not premultiplied) colour of a pixel.
Rgb PixelAt(cairo_surface_t* s, int x, int y) {
  const unsigned char* row = cairo_image_surface_get_data(s) + static_cast<ptrdiff_t>(y) * cairo_image_surface_get_stride(s);
  uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
  Rgb c{static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)};
  int a = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32 ? static_cast<int>(p >> 24) : 255;
  if (a > 0 && a < 255) {
    c.r = std::min(255, c.r * 255 / a);
    c.g = std::min(255, c.g * 255 / a);
    c.b = std::min(255, c.b * 255 / a);
  }
  return c;
}

bool Near(const Rgb& a, const Rgb& b, long tol) {
  return std::abs(a.r - b.r) <= tol && std::abs(a.g - b.g) <= tol && std::abs(a.b - b.b) <= tol;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Usage();
  std::string file = argv[1], what = argv[2];
  cairo_surface_t* s = cairo_image_surface_create_from_png(file.c_str());
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "pngprobe: cannot read %s as a PNG\n", file.c_str());
    cairo_surface_destroy(s);
    return 2;
  }
  cairo_surface_flush(s);
  int width = cairo_image_surface_get_width(s), height = cairo_image_surface_get_height(s);
  int rc = 0;
  if (what == "pixel" && argc == 5) {
    std::optional<long> x = Number(argv[3]), y = Number(argv[4]);
    if (!x || !y || *x >= width || *y >= height) {
      std::fprintf(stderr, "pngprobe: %s is %dx%d; no pixel %s,%s\n", file.c_str(), width, height, argv[3], argv[4]);
      rc = 2;
    } else {
      Rgb c = PixelAt(s, static_cast<int>(*x), static_cast<int>(*y));
      std::printf("#%02X%02X%02X\n", c.r, c.g, c.b);
    }
  } else if ((what == "count" || what == "bbox") && (argc == 4 || argc == 5)) {
    std::optional<Rgb> colour = Colour(argv[3]);
    std::optional<long> tol = argc == 5 ? Number(argv[4]) : std::optional<long>(0);
    if (!colour || !tol) {
      rc = Usage();
    } else {
      long count = 0;
      int x0 = width, y0 = height, x1 = -1, y1 = -1;
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
          bool near = Near(PixelAt(s, x, y), *colour, *tol);
          if (near) ++count;
          if (!near) {
            x0 = std::min(x0, x);
            y0 = std::min(y0, y);
            x1 = std::max(x1, x);
            y1 = std::max(y1, y);
          }
        }
      if (what == "count") std::printf("%ld\n", count);
      else if (x1 < 0) std::puts("empty");
      else std::printf("%d %d %d %d\n", x0, y0, x1, y1);
    }
  } else {
    rc = Usage();
  }
  cairo_surface_destroy(s);
  return rc;
}
