// The traits a drawable sets while it draws (colour, layer, line type, fill,
// line weight), kept as set so that the drawable or its caller can read them
// back. The drawing pass and the extents measurement both keep them this way.
#pragma once

#include "acgi.h"

namespace acgs {

class KeptTraits : public AcGiDrawableTraits {
 public:
  KeptTraits() { m_color.setColorIndex(7); }
  // Indexes beyond "by layer" (256) are not colours: the current one stays.
  void setColor(Adesk::UInt16 colorIndex) override {
    if (colorIndex <= 256) m_color.setColorIndex(colorIndex);
  }
  void setTrueColor(const AcCmColor& color) override { m_color = color; }
  void setLayer(AcDbObjectId layerId) override { m_layer = layerId; }
  void setLineType(AcDbObjectId linetypeId) override { m_linetype = linetypeId; }
  // Selection markers matter to picking, which neither pass does.
  void setSelectionMarker(Adesk::Int64) override {}
  void setFillType(AcGiFillType fillType) override { m_fill = fillType; }
  void setLineWeight(AcDb::LineWeight weight) override { m_weight = weight; }
  void setLineTypeScale(double scale) override { m_dLtScale = scale; }
  void setThickness(double thickness) override { m_dThickness = thickness; }
  Adesk::UInt16 color() const override { return m_color.colorIndex(); }
  AcCmColor trueColor() const override { return m_color; }
  AcDbObjectId layerId() const override { return m_layer; }
  AcDbObjectId lineTypeId() const override { return m_linetype; }
  AcGiFillType fillType() const override { return m_fill; }
  AcDb::LineWeight lineWeight() const override { return m_weight; }
  double lineTypeScale() const override { return m_dLtScale; }
  double thickness() const override { return m_dThickness; }

 private:
  AcCmColor m_color;
  AcDbObjectId m_layer;
  AcDbObjectId m_linetype;
  AcGiFillType m_fill = kAcGiFillNever;
  AcDb::LineWeight m_weight = AcDb::kLnWtByLayer;
  double m_dLtScale = 1.0;
  double m_dThickness = 0.0;
};

}  // namespace acgs
