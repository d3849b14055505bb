// AcGiTextStyle: the graphics system's text style (font files, size, width
// factor, obliquing, tracking and TrueType typeface), its measuring of text,
// and fromAcDbTextStyle, which fills one from a text-style record of a drawing.
#pragma once

#include <string>
#include <string_view>

#include "adesk.h"
#include "dbid.h"
#include "gegeometry.h"

class AcDbDatabase;
class AcGiWorldDraw;
class AcGiTextStyle;

// A text's height is the height of its capitals, this part of the font's
// size (its em).
constexpr double kAcGiCapHeight = 0.72;

// How the graphics system measures text: the advance of a text in ems of
// the face the style draws with. The graphics system installs it when it is
// loaded; without one every character counts 0.6 em.
typedef double (*AcGiTextMeasurer)(const AcGiTextStyle& style, std::wstring_view text);
void acgiSetTextMeasurer(AcGiTextMeasurer measurer);

class AcGiTextStyle {
 public:
  AcGiTextStyle() = default;
  AcGiTextStyle(const ACHAR* fontName, const ACHAR* bigFontName, double textSize, double xScale,
                double obliqueAngle, double trackingPercent = 1.0, bool isBackward = false,
                bool isUpsideDown = false, bool isVertical = false, bool isOverlined = false,
                bool isUnderlined = false, const ACHAR* styleName = nullptr);

  // The shape font file and the big-font file (empty when none).
  const ACHAR* fileName() const { return m_fileName.c_str(); }
  void setFileName(const ACHAR* name) { m_fileName = name ? name : L""; }
  const ACHAR* bigFontFileName() const { return m_bigFontFileName.c_str(); }
  void setBigFontFileName(const ACHAR* name) { m_bigFontFileName = name ? name : L""; }

  double textSize() const { return m_dTextSize; }
  void setTextSize(double size) { m_dTextSize = size; }
  double xScale() const { return m_dXScale; }
  void setXScale(double scale) { m_dXScale = scale; }
  // Radians.
  double obliquingAngle() const { return m_dObliquing; }
  void setObliquingAngle(double angle) { m_dObliquing = angle; }
  // Character spacing, 1.0 for the font's own.
  double trackingPercent() const { return m_dTracking; }
  void setTrackingPercent(double percent) { m_dTracking = percent; }

  bool isBackward() const { return m_bBackward; }
  void setBackward(bool on) { m_bBackward = on; }
  bool isUpsideDown() const { return m_bUpsideDown; }
  void setUpsideDown(bool on) { m_bUpsideDown = on; }
  bool isVertical() const { return m_bVertical; }
  void setVertical(bool on) { m_bVertical = on; }
  bool isUnderlined() const { return m_bUnderlined; }
  void setUnderlined(bool on) { m_bUnderlined = on; }
  bool isOverlined() const { return m_bOverlined; }
  void setOverlined(bool on) { m_bOverlined = on; }

  const ACHAR* styleName() const { return m_styleName.c_str(); }
  Acad::ErrorStatus setStyleName(const ACHAR* name) { m_styleName = name ? name : L""; return Acad::eOk; }

  // A TrueType typeface with its bold, italic, character-set and
  // pitch-and-family values; an empty typeface means the shape font file.
  Acad::ErrorStatus setFont(const ACHAR* typeface, bool bold, bool italic, int charset, int pitchAndFamily);
  // typeface points into this style and stays valid until the next change.
  Acad::ErrorStatus font(const ACHAR*& typeface, bool& bold, bool& italic, int& charset,
                         int& pitchAndFamily) const;

  // Makes the style ready for drawing. Returns which fonts it stands on: 1
  // for the main font (a typeface or a shape file), 2 added for a big font;
  // 0 when it has no font at all.
  int loadStyleRec(AcDbDatabase* database = nullptr) const;

  // The size of the text drawn in this style, in drawing units: x the
  // advance of the whole text (width factor and tracking applied), y the
  // style's text size. len -1 measures up to the terminator. The drawing
  // font is the one the graphics system draws the style with.
  AcGePoint2d extents(const ACHAR* text, Adesk::Boolean penups = true, int len = -1, Adesk::Boolean raw = false,
                      AcGiWorldDraw* context = nullptr) const;

 private:
  std::wstring m_fileName;
  std::wstring m_bigFontFileName;
  std::wstring m_styleName;
  std::wstring m_typeface;
  double m_dTextSize = 0.0;
  double m_dXScale = 1.0;
  double m_dObliquing = 0.0;
  double m_dTracking = 1.0;
  bool m_bBackward = false;
  bool m_bUpsideDown = false;
  bool m_bVertical = false;
  bool m_bUnderlined = false;
  bool m_bOverlined = false;
  bool m_bBold = false;
  bool m_bItalic = false;
  int m_nCharset = 0;
  int m_nPitchAndFamily = 0;
};

// Fills the graphics style from the text-style record of the id: file names,
// size, width factor, obliquing, typeface, direction flags and the style's
// name, then loads it. eNullObjectId, an open failure or
// eNotThatKindOfClass when the id is no text style.
Acad::ErrorStatus fromAcDbTextStyle(AcGiTextStyle& giStyle, const AcDbObjectId& styleId);
