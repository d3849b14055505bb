// The cursors of the graphics preview control, drawn by this project: a
// cross-hair with a pick box (the control's own cursor), an orbit circle
// with its arrows (while orbiting) and a four-way arrow (while panning).
// Each module that holds the preview's resources puts these images in its
// table under the same identifiers.
#pragma once

#include <cstdint>
#include <vector>

#define IDC_PREVIEW_DEFAULT 39464  // the preview's own cursor
#define IDC_PREVIEW_ORBIT 40464    // shown while orbiting
#define IDC_PREVIEW_PAN 41464      // shown while panning

// 32 x 32 pixels, 0xAARRGGBB, row by row: black strokes with a white rim so
// that they show on light and dark previews alike.
inline std::vector<uint32_t> PreviewCursorPixels(unsigned int id) {
  const int kSize = 32;
  std::vector<uint32_t> pixels(kSize * kSize, 0u);
  std::vector<bool> ink(kSize * kSize, false);
  auto put = [&](int x, int y) {
    if (x >= 0 && y >= 0 && x < kSize && y < kSize) ink[y * kSize + x] = true;
  };
  auto hline = [&](int x0, int x1, int y) {
    for (int x = x0; x <= x1; ++x) put(x, y);
  };
  auto vline = [&](int x, int y0, int y1) {
    for (int y = y0; y <= y1; ++y) put(x, y);
  };
  switch (id) {
    case IDC_PREVIEW_ORBIT: {
      // A circle of radius 11 about the centre, arrows at its top and bottom.
      for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
          int dx = x - 15, dy = y - 15, d2 = dx * dx + dy * dy;
          if (d2 >= 10 * 10 && d2 <= 11 * 11 + 6) put(x, y);
        }
      // Arrowheads riding on the circle: right at the top, left at the bottom.
      for (int i = 0; i < 4; ++i) {
        vline(16 + i, 4 - (3 - i), 4 + (3 - i));
        vline(14 - i, 26 - (3 - i), 26 + (3 - i));
      }
      vline(15, 13, 17);
      hline(13, 17, 15);
      break;
    }
    case IDC_PREVIEW_PAN: {
      // Two bars with an arrowhead at each of the four ends.
      hline(3, 27, 15);
      vline(15, 3, 27);
      for (int i = 1; i <= 4; ++i) {
        vline(3 + i, 15 - i, 15 + i);
        vline(27 - i, 15 - i, 15 + i);
        hline(15 - i, 15 + i, 3 + i);
        hline(15 - i, 15 + i, 27 - i);
      }
      break;
    }
    default: {
      // The cross-hair with a pick box at its centre.
      vline(15, 0, 11);
      vline(15, 19, 30);
      hline(0, 11, 15);
      hline(19, 30, 15);
      hline(12, 18, 12);
      hline(12, 18, 18);
      vline(12, 12, 18);
      vline(18, 12, 18);
      break;
    }
  }
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      if (ink[y * kSize + x]) {
        pixels[y * kSize + x] = 0xFF000000u;
        continue;
      }
      // A white rim one pixel round the strokes.
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          int nx = x + dx, ny = y + dy;
          if (nx >= 0 && ny >= 0 && nx < kSize && ny < kSize && ink[ny * kSize + nx]) pixels[y * kSize + x] = 0xFFFFFFFFu;
        }
    }
  return pixels;
}
