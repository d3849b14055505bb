// AcDbEntity: a drawing object with colour, layer, line type, line-type scale,
// line weight and visibility, geometric extents, transformation and copying.
#pragma once

#include <string>

#include "dbcolor.h"
#include "dbextents.h"
#include "dbobject.h"
#include "dbsharedname.h"

class AcDbEntity : public AcDbObject {
  ACRX_DECLARE_MEMBERS(AcDbEntity)

 public:
  AcDbEntity() = default;

  AcCmColor color() const { return m_color; }
  Acad::ErrorStatus setColor(const AcCmColor& color, bool doSubents = true);
  Adesk::UInt16 colorIndex() const { return m_color.colorIndex(); }
  // 0 by block, 1-255, 256 by layer.
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 index, bool doSubents = true);

  // The layer's name as a copy the caller frees with acutDelString (delete[]).
  ACHAR* layer() const;
  const std::wstring& layerName() const;
  AcDbObjectId layerId() const;
  // A database-resident entity accepts only layers of its database.
  Acad::ErrorStatus setLayer(const ACHAR* layerName, bool doSubents = true, bool allowHiddenLayer = false);
  Acad::ErrorStatus setLayer(AcDbObjectId layerId, bool doSubents = true, bool allowHiddenLayer = false);

  ACHAR* linetype() const;
  const std::wstring& linetypeName() const;
  AcDbObjectId linetypeId() const;
  Acad::ErrorStatus setLinetype(const ACHAR* linetypeName, bool doSubents = true);
  Acad::ErrorStatus setLinetype(AcDbObjectId linetypeId, bool doSubents = true);

  double linetypeScale() const { return m_dLinetypeScale; }
  Acad::ErrorStatus setLinetypeScale(double scale, bool doSubents = true);
  AcDb::LineWeight lineWeight() const { return m_lineWeight; }
  Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight, bool doSubents = true);
  AcDb::Visibility visibility() const { return m_bInvisible ? AcDb::kInvisible : AcDb::kVisible; }
  Acad::ErrorStatus setVisibility(AcDb::Visibility v, bool doSubents = true);
  // Layer, colour, line type, scale, weight and visibility of another entity.
  void setPropertiesFrom(const AcDbEntity& other);
  // Current layer, colour, line type, scale and weight of the database.
  void setDatabaseDefaults(AcDbDatabase* db = nullptr);
  // Properties not set by the caller take the database's current ones when
  // the entity joins a database.
  void applyDefaultsOnAppend(AcDbDatabase* db);

  Acad::ErrorStatus highlight() { m_bHighlighted = true; return Acad::eOk; }
  Acad::ErrorStatus unhighlight() { m_bHighlighted = false; return Acad::eOk; }
  bool isHighlighted() const { return m_bHighlighted; }

  virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;

  // Drawing: the entity's colour, layer, line type and weight as traits
  // (an invisible entity is not drawn); the geometry is each kind's own.
  Adesk::UInt32 setAttributes(AcGiDrawableTraits* traits) override;
  bool bounds(AcDbExtents& extents) const override { return getGeomExtents(extents) == Acad::eOk; }
  virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);
  // A transformed clone (the caller owns it).
  virtual Acad::ErrorStatus getTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& copy) const;
  // Simpler entities making up this one (new objects the caller owns).
  virtual Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const;

  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;

 protected:
  AcDbEntity(const AcDbEntity&) = default;
  // Sub-entities (vertices, attributes) follow property changes when asked.
  virtual void applyToSubents(const AcDbEntity&) {}

 private:
  // Laid out to fill the object's words: a drawing holds millions of these.
  // The flags share one byte, which lies in the padding at the object's end.
  bool m_bHighlighted : 1 = false;
  bool m_bLayerSet : 1 = false;
  bool m_bColorSet : 1 = false;
  bool m_bLinetypeSet : 1 = false;
  bool m_bInvisible : 1 = false;
  AcCmColor m_color;
  AcDb::LineWeight m_lineWeight = AcDb::kLnWtByLayer;
  // Shared with the other entities of the same layer and line type; no name
  // is layer "0" and line type "ByLayer".
  AcDbSharedName m_layer;
  AcDbSharedName m_linetype;
  double m_dLinetypeScale = 1.0;
};

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);
// Frees a text the database handed out.
void acutDelString(ACHAR*& text);
