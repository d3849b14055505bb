// The previews' colour table: the named colours, the rows of the hue groups
// and the greys.
#include <gtest/gtest.h>

#include "PreviewPalette.h"

namespace {

TEST(PreviewPalette, NamedColoursHueGroupsAndGreys) {
  const struct {
    int index;
    COLORREF rgb;
  } cases[] = {
      {0, RGB(255, 0, 0)},      {1, RGB(255, 0, 0)},     {2, RGB(255, 255, 0)},   {3, RGB(0, 255, 0)},
      {4, RGB(0, 255, 255)},    {5, RGB(0, 0, 255)},     {6, RGB(255, 0, 255)},   {7, RGB(255, 0, 0)},
      {9, RGB(255, 0, 0)},      {10, RGB(255, 0, 0)},    {11, RGB(255, 127, 127)}, {12, RGB(165, 0, 0)},
      {13, RGB(165, 82, 82)},   {14, RGB(127, 0, 0)},    {15, RGB(127, 63, 63)},  {16, RGB(76, 0, 0)},
      {17, RGB(76, 38, 38)},    {18, RGB(38, 0, 0)},     {19, RGB(38, 19, 19)},   {20, RGB(255, 63, 0)},
      {90, RGB(0, 255, 0)},     {130, RGB(0, 255, 255)}, {170, RGB(0, 0, 255)},   {210, RGB(255, 0, 255)},
      {240, RGB(255, 0, 63)},   {250, RGB(84, 84, 84)},  {251, RGB(118, 118, 118)}, {254, RGB(220, 220, 220)},
      {255, RGB(255, 255, 255)}, {256, RGB(255, 0, 0)}, {-1, RGB(255, 0, 0)},
  };
  for (const auto& c : cases) EXPECT_EQ(c.rgb, PreviewPaletteColor(c.index)) << "index " << c.index;
  // Within a group the pale colour of each pair is never darker than the full one.
  for (int i = 10; i < 250; i += 2) {
    COLORREF full = PreviewPaletteColor(i), pale = PreviewPaletteColor(i + 1);
    EXPECT_GE(GetRValue(pale) + GetGValue(pale) + GetBValue(pale), GetRValue(full) + GetGValue(full) + GetBValue(full))
        << "index " << i;
  }
}

}  // namespace
