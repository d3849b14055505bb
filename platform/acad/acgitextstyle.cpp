// The graphics text style, its measuring of text and its filling from a
// text-style record.
#include "acgitextstyle.h"

#include "dbobject.h"
#include "dbsymtb.h"

AcGiTextStyle::AcGiTextStyle(const ACHAR* fontName, const ACHAR* bigFontName, double textSize, double xScale,
                             double obliqueAngle, double trackingPercent, bool isBackward, bool isUpsideDown,
                             bool isVertical, bool isOverlined, bool isUnderlined, const ACHAR* styleName)
    : m_fileName(fontName ? fontName : L""),
      m_bigFontFileName(bigFontName ? bigFontName : L""),
      m_styleName(styleName ? styleName : L""),
      m_dTextSize(textSize),
      m_dXScale(xScale),
      m_dObliquing(obliqueAngle),
      m_dTracking(trackingPercent),
      m_bBackward(isBackward),
      m_bUpsideDown(isUpsideDown),
      m_bVertical(isVertical),
      m_bUnderlined(isUnderlined),
      m_bOverlined(isOverlined) {}

Acad::ErrorStatus AcGiTextStyle::setFont(const ACHAR* typeface, bool bold, bool italic, int charset,
                                         int pitchAndFamily) {
  m_typeface = typeface ? typeface : L"";
  m_bBold = bold;
  m_bItalic = italic;
  m_nCharset = charset;
  m_nPitchAndFamily = pitchAndFamily;
  return Acad::eOk;
}

Acad::ErrorStatus AcGiTextStyle::font(const ACHAR*& typeface, bool& bold, bool& italic, int& charset,
                                      int& pitchAndFamily) const {
  typeface = m_typeface.c_str();
  bold = m_bBold;
  italic = m_bItalic;
  charset = m_nCharset;
  pitchAndFamily = m_nPitchAndFamily;
  return Acad::eOk;
}

int AcGiTextStyle::loadStyleRec(AcDbDatabase*) const {
  int loaded = 0;
  if (!m_typeface.empty() || !m_fileName.empty()) loaded |= 1;
  if (!m_bigFontFileName.empty()) loaded |= 2;
  return loaded;
}

Acad::ErrorStatus fromAcDbTextStyle(AcGiTextStyle& giStyle, const AcDbObjectId& styleId) {
  if (styleId.isNull()) return Acad::eNullObjectId;
  AcDbTextStyleTableRecord* record = nullptr;
  Acad::ErrorStatus es = acdbOpenObject(record, styleId, AcDb::kForRead);
  if (es != Acad::eOk) return es;

  const ACHAR* text = nullptr;
  record->fileName(text);
  giStyle.setFileName(text);
  record->bigFontFileName(text);
  giStyle.setBigFontFileName(text);
  giStyle.setTextSize(record->textSize());
  giStyle.setXScale(record->xScale());
  giStyle.setObliquingAngle(record->obliquingAngle());
  giStyle.setTrackingPercent(1.0);
  // Generation flags: 2 backward, 4 upside down.
  giStyle.setBackward((record->flagBits() & 2) != 0);
  giStyle.setUpsideDown((record->flagBits() & 4) != 0);
  giStyle.setVertical(record->isVertical());
  giStyle.setStyleName(record->name());

  ACHAR* typeface = nullptr;
  bool bold = false, italic = false;
  int charset = 0, pitchAndFamily = 0;
  record->font(typeface, bold, italic, charset, pitchAndFamily);
  giStyle.setFont(typeface, bold, italic, charset, pitchAndFamily);
  delete[] typeface;
  record->close();

  giStyle.loadStyleRec(nullptr);
  return Acad::eOk;
}

namespace {
AcGiTextMeasurer g_pMeasurer = nullptr;
}

void acgiSetTextMeasurer(AcGiTextMeasurer measurer) { g_pMeasurer = measurer; }

AcGePoint2d AcGiTextStyle::extents(const ACHAR* text, Adesk::Boolean, int len, Adesk::Boolean, AcGiWorldDraw*) const {
  if (!text) return AcGePoint2d(0.0, m_dTextSize);
  std::wstring_view view(text);
  if (len >= 0 && static_cast<size_t>(len) < view.size()) view = view.substr(0, static_cast<size_t>(len));
  double ems = g_pMeasurer ? g_pMeasurer(*this, view) : 0.6 * static_cast<double>(view.size());
  double em = m_dTextSize / kAcGiCapHeight;
  return AcGePoint2d(ems * em * m_dXScale * m_dTracking, m_dTextSize);
}
