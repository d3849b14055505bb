// Text of the graphics system: the installed face a text style draws with,
// the advance of a text and drawing it through a matrix. Text geometry is
// measured in ems (the font's size); a text's height is the height of its
// capitals, kCapHeight ems.
#pragma once

#include <cairo.h>

#include <string>
#include <string_view>

#include "acgitextstyle.h"

namespace acgs {

constexpr double kCapHeight = kAcGiCapHeight;

struct TextFont {
  std::string family;  // a Pango family list ("DejaVu Sans,WenQuanYi Zen Hei")
  bool bold = false;
  bool italic = false;
};

// The style's TrueType face, else the face its font file names, mapped to
// installed faces (shape fonts draw in the default face).
TextFont FontOf(const AcGiTextStyle& style);
// The advance of the text in ems.
double TextAdvance(const TextFont& font, std::wstring_view text);
// Draws the text with its baseline start at the origin of em space (x along
// the baseline, y up), carried to the device by the matrix.
void ShowText(cairo_t* cr, const TextFont& font, std::wstring_view text, const cairo_matrix_t& emToDevice);

}  // namespace acgs
