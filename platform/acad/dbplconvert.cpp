// AcDbPolyline::convertFrom: a lightweight polyline made from an old 2D
// polyline of straight and arc segments (simple or curve-fit).
#include <algorithm>
#include <memory>

#include "db2dpline.h"
#include "dbpline.h"

Acad::ErrorStatus AcDbPolyline::convertFrom(AcDbEntity*& source, Adesk::Boolean transferId) {
  if (source == nullptr) return Acad::eNullEntityPointer;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  const AcDb2dPolyline* poly = AcDb2dPolyline::cast(source);
  if (poly == nullptr) return Acad::eIllegalEntityType;
  // Spline fits have control vertices that are not on the curve: only the
  // simple and curve-fit kinds carry their shape in vertices and bulges.
  if (poly->polyType() != AcDb::k2dSimplePoly && poly->polyType() != AcDb::k2dFitCurvePoly)
    return Acad::eIllegalEntityType;
  if (transferId && !source->isNewObject()) return Acad::eNotImplementedYet;

  std::vector<Vertex> verts;
  std::vector<Widths> widths;
  std::unique_ptr<AcDbObjectIterator> it(poly->vertexIterator());
  for (it->start(); !it->done(); it->step()) {
    const AcDb2dVertex* v = AcDb2dVertex::cast(it->entity());
    if (v == nullptr || v->vertexType() == AcDb::k2dSplineCtlVertex) continue;
    verts.push_back(Vertex{AcGePoint2d(v->position().x, v->position().y), v->bulge()});
    widths.push_back(Widths{v->startWidth() < 0 ? 0.0 : v->startWidth(), v->endWidth() < 0 ? 0.0 : v->endWidth()});
  }
  setPropertiesFrom(*poly);
  m_verts.assign(verts.begin(), verts.end());
  if (std::any_of(widths.begin(), widths.end(), [](const Widths& w) { return !w.isZero(); }))
    m_rare.make().widths = std::move(widths);
  else if (Rare* r = m_rare.get())
    r->widths.clear();
  m_bClosed = poly->isClosed();
  m_bPlinegen = poly->isLinetypeGenerationOn();
  setElevation(poly->elevation());
  setThickness(poly->thickness());
  setUnitNormal(poly->normal());
  setConstantWidthValue(0.0);
  return Acad::eOk;
}
