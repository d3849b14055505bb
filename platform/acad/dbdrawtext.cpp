// How texts draw themselves: single-line text placed by its justification
// (control codes such as %%d for the degree sign turned into their
// characters), and multiline text broken into lines at its paragraphs and
// at its width, placed by its attachment point.
#include <cmath>
#include <string>
#include <vector>

#include "acgi.h"
#include "dbtext.h"
#include "textutil.h"

namespace {

constexpr double kLinePitch = 5.0 / 3.0;  // line distance in text heights
constexpr double kDescent = 1.0 / 3.0;    // descenders below the baseline, in text heights

// The style of the text's style record (the standard look when it has none)
// with the text's own size, width and slant.
AcGiTextStyle StyleOf(AcDbObjectId styleId, double height, double width, double oblique) {
  AcGiTextStyle style;
  if (!styleId.isNull()) fromAcDbTextStyle(style, styleId);
  style.setTextSize(height);
  style.setXScale(width > 0.0 ? width : 1.0);
  style.setObliquingAngle(oblique);
  return style;
}

// %%d, %%p and %%c become the degree, plus-minus and diameter signs, %%%
// a percent sign; over- and underscore switches (%%o, %%u) are dropped.
std::wstring Decoded(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'%' && i + 2 < text.size() && text[i + 1] == L'%') {
      wchar_t code = win::textutil::FoldChar(text[i + 2]);
      const wchar_t* repl = code == L'd' ? L"\u00B0" : code == L'p' ? L"\u00B1" : code == L'c' ? L"\u2205"
                            : code == L'%' ? L"%" : code == L'o' || code == L'u' ? L"" : nullptr;
      if (repl) {
        out += repl;
        i += 2;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

bool IsWide(wchar_t c) { return c >= 0x2E80; }

// Breaks a paragraph into lines no wider than `width` (drawing units),
// between words, or between any two wide (CJK) characters.
std::vector<std::wstring> Wrapped(const std::wstring& paragraph, double width, const AcGiTextStyle& style) {
  std::vector<std::wstring> lines;
  if (!(width > 0.0) || style.extents(paragraph.c_str()).x <= width) {
    lines.push_back(paragraph);
    return lines;
  }
  std::wstring line;
  size_t i = 0;
  while (i < paragraph.size()) {
    // The next piece: one wide character, or a word with the blanks after it.
    size_t j = i + 1;
    if (!IsWide(paragraph[i]))
      while (j < paragraph.size() && !IsWide(paragraph[j]) && paragraph[j - 1] != L' ') ++j;
    std::wstring piece = paragraph.substr(i, j - i);
    std::wstring candidate = line + piece;
    size_t end = candidate.find_last_not_of(L' ');
    std::wstring trimmed = end == std::wstring::npos ? std::wstring() : candidate.substr(0, end + 1);
    if (!line.empty() && style.extents(trimmed.c_str()).x > width) {
      size_t lend = line.find_last_not_of(L' ');
      lines.push_back(lend == std::wstring::npos ? std::wstring() : line.substr(0, lend + 1));
      line = piece;
    } else {
      line = candidate;
    }
    i = j;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

Adesk::Boolean AcDbText::worldDraw(AcGiWorldDraw* draw) {
  if (!draw || m_text.empty()) return true;
  std::wstring text = Decoded(m_text);
  const Form& f = form();
  const AcGeVector3d& normal = m_plane.normal();
  AcGiTextStyle style = StyleOf(textStyle(), m_dHeight, f.widthFactor, f.oblique);
  AcGeVector3d x = acgeArbitraryXAxis(normal);
  x.rotateBy(m_dRotation, normal);
  AcGePoint3d anchor = m_position;
  double h = m_dHeight;
  if (f.horz == kTextAlign || f.horz == kTextFit) {
    // Between the two points: the text is stretched to fit (aligned text
    // keeps its proportions and changes height).
    AcGeVector3d span = m_alignment - m_position;
    double length = span.length();
    double natural = style.extents(text.c_str()).x;
    if (length > 0.0 && natural > 0.0) {
      x = span / length;
      if (f.horz == kTextAlign) {
        h = m_dHeight * length / natural;
        style.setTextSize(h);
      } else {
        style.setXScale(style.xScale() * length / natural);
      }
    }
  } else {
    double w = style.extents(text.c_str()).x;
    if (f.horz != kTextLeft || f.vert != kTextBase) anchor = m_alignment;
    double dx = f.horz == kTextCenter || f.horz == kTextMid ? -w / 2 : f.horz == kTextRight ? -w : 0.0;
    double dy = f.horz == kTextMid ? -h / 2
                : f.vert == kTextBottom ? h * kDescent
                : f.vert == kTextVertMid ? -h / 2
                : f.vert == kTextTop ? -h
                                     : 0.0;
    AcGeVector3d y = normal.crossProduct(x);
    anchor = anchor + x * dx + y * dy;
  }
  draw->geometry().text(anchor, normal, x, text.c_str(), -1, false, style);
  return true;
}

Adesk::Boolean AcDbMText::worldDraw(AcGiWorldDraw* draw) {
  if (!draw) return true;
  std::wstring plain = text();
  if (plain.empty()) return true;
  AcGiTextStyle style = StyleOf(textStyle(), m_dHeight, 1.0, 0.0);
  double h = m_dHeight;
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start <= plain.size()) {
    size_t end = plain.find(L'\n', start);
    std::wstring paragraph = plain.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    for (std::wstring& line : Wrapped(paragraph, m_dWidth, style)) lines.push_back(std::move(line));
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  AcGeVector3d x = m_direction - m_normal * m_direction.dotProduct(m_normal);
  if (x.isZeroLength()) x = acgeArbitraryXAxis(m_normal);
  x.normalize();
  AcGeVector3d y = m_normal.crossProduct(x);
  double pitch = h * kLinePitch * (m_dLineSpacing > 0.0 ? m_dLineSpacing : 1.0);
  double total = h + pitch * static_cast<double>(lines.size() - 1);
  int row = (static_cast<int>(m_attachment) - 1) / 3;     // 0 top, 1 middle, 2 bottom
  int column = (static_cast<int>(m_attachment) - 1) % 3;  // 0 left, 1 centre, 2 right
  double top = row == 0 ? 0.0 : row == 1 ? total / 2 : total;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    double w = column == 0 ? 0.0 : style.extents(lines[i].c_str()).x;
    double dx = column == 1 ? -w / 2 : column == 2 ? -w : 0.0;
    double dy = top - h - pitch * static_cast<double>(i);
    AcGePoint3d at = m_location + x * dx + y * dy;
    draw->geometry().text(at, m_normal, x, lines[i].c_str(), -1, false, style);
  }
  return true;
}
