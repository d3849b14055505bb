// Single-line text and multiline text.
#pragma once

#include <memory_resource>
#include <string>

#include "dbentity.h"
#include "dbentityplane.h"
#include "dbrarepart.h"

enum AcDbTextHorzMode { kTextLeft = 0, kTextCenter = 1, kTextRight = 2, kTextAlign = 3, kTextMid = 4, kTextFit = 5 };
enum AcDbTextVertMode { kTextBase = 0, kTextBottom = 1, kTextVertMid = 2, kTextTop = 3 };

class AcDbText : public AcDbEntity {
  ACRX_DECLARE_MEMBERS(AcDbText)

 public:
  AcDbText() = default;
  // A text that keeps its string in the memory given (the arena the reader
  // makes it in); a copy keeps its own on the heap.
  explicit AcDbText(std::pmr::memory_resource& memory) : m_text(&memory) {}
  AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style = AcDbObjectId::kNull,
           double height = 0.0, double rotation = 0.0);
  ACDB_DECLARE_CLONE(AcDbText)

  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& p) { m_position = p; return Acad::eOk; }
  AcGePoint3d alignmentPoint() const { return m_alignment; }
  Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& p) { m_alignment = p; return Acad::eOk; }
  // The text; the caller frees the copy with acutDelString.
  ACHAR* textString() const;
  const ACHAR* textStringConst() const { return m_text.c_str(); }
  Acad::ErrorStatus setTextString(const ACHAR* text);
  double height() const { return m_dHeight; }
  Acad::ErrorStatus setHeight(double h);
  double widthFactor() const { return form().widthFactor; }
  Acad::ErrorStatus setWidthFactor(double w);
  double oblique() const { return form().oblique; }
  Acad::ErrorStatus setOblique(double a);
  double rotation() const { return m_dRotation; }
  Acad::ErrorStatus setRotation(double a) { m_dRotation = a; return Acad::eOk; }
  AcDbObjectId textStyle() const;
  Acad::ErrorStatus setTextStyle(AcDbObjectId styleId);
  const std::wstring& textStyleName() const;
  AcDbTextHorzMode horizontalMode() const { return form().horz; }
  Acad::ErrorStatus setHorizontalMode(AcDbTextHorzMode m);
  AcDbTextVertMode verticalMode() const { return form().vert; }
  Acad::ErrorStatus setVerticalMode(AcDbTextVertMode m);
  AcGeVector3d normal() const { return m_plane.normal(); }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return m_plane.thickness(); }
  Acad::ErrorStatus setThickness(double t) { m_plane.setThickness(t); return Acad::eOk; }

  // An estimate from the height and the character count (no font metrics).
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;
  void setStyleName(const std::wstring& name);

 protected:
  AcDbText(const AcDbText&) = default;

 private:
  // Width, slant and justification, kept apart only when a text has other
  // than the usual (most texts of a drawing are left on their baseline).
  struct Form {
    double widthFactor = 1.0;
    double oblique = 0.0;
    AcDbTextHorzMode horz = kTextLeft;
    AcDbTextVertMode vert = kTextBase;
    bool operator==(const Form&) const = default;
  };
  const Form& form() const;
  void setForm(const Form& f);
  template <class T>
  Acad::ErrorStatus setFormField(T Form::*field, T value);

  AcGePoint3d m_position, m_alignment;
  std::pmr::wstring m_text;
  AcDbSharedName m_style;  // no name for "Standard", which most texts have; shared
  double m_dHeight = 2.5;
  double m_dRotation = 0.0;
  AcDbEntityPlane m_plane;
  AcDbRarePart<Form> m_form;
};

class AcDbMText : public AcDbEntity {
  ACRX_DECLARE_MEMBERS(AcDbMText)

 public:
  enum AttachmentPoint {
    kTopLeft = 1, kTopCenter, kTopRight, kMiddleLeft, kMiddleCenter, kMiddleRight, kBottomLeft, kBottomCenter, kBottomRight
  };
  AcDbMText() = default;
  ACDB_DECLARE_CLONE(AcDbMText)

  AcGePoint3d location() const { return m_location; }
  Acad::ErrorStatus setLocation(const AcGePoint3d& p) { m_location = p; return Acad::eOk; }
  // The contents with formatting codes; the caller frees the copy with acutDelString.
  ACHAR* contents() const;
  const std::wstring& contentsText() const { return m_contents; }
  Acad::ErrorStatus setContents(const ACHAR* text);
  // The contents without formatting codes, paragraphs as line breaks.
  std::wstring text() const;
  double textHeight() const { return m_dHeight; }
  Acad::ErrorStatus setTextHeight(double h);
  double width() const { return m_dWidth; }
  Acad::ErrorStatus setWidth(double w) { m_dWidth = w; return Acad::eOk; }
  double rotation() const;
  Acad::ErrorStatus setRotation(double a);
  AttachmentPoint attachment() const { return m_attachment; }
  Acad::ErrorStatus setAttachment(AttachmentPoint a) { m_attachment = a; return Acad::eOk; }
  AcGeVector3d direction() const { return m_direction; }
  Acad::ErrorStatus setDirection(const AcGeVector3d& d);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  AcDbObjectId textStyle() const;
  Acad::ErrorStatus setTextStyle(AcDbObjectId styleId);
  const std::wstring& textStyleName() const;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  // One single-line text per line of the text, top to bottom.
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;
  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;

 protected:
  AcDbMText(const AcDbMText&) = default;

 private:
  AcGePoint3d m_location;
  std::wstring m_contents;
  std::wstring m_style;  // empty for "Standard", which most texts have
  double m_dHeight = 2.5;
  double m_dWidth = 0.0;
  double m_dLineSpacing = 1.0;
  AttachmentPoint m_attachment = kTopLeft;
  AcGeVector3d m_direction = AcGeVector3d::kXAxis;
  AcGeVector3d m_normal = AcGeVector3d::kZAxis;
};
