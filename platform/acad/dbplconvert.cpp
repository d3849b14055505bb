// AcDbPolyline::convertFrom: a lightweight polyline made from an old 2D
// polyline of straight and arc segments (simple or curve-fit).
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
  std::unique_ptr<AcDbObjectIterator> it(poly->vertexIterator());
  for (it->start(); !it->done(); it->step()) {
    const AcDb2dVertex* v = AcDb2dVertex::cast(it->entity());
    if (v == nullptr || v->vertexType() == AcDb::k2dSplineCtlVertex) continue;
    Vertex out;
    out.pt.set(v->position().x, v->position().y);
    out.bulge = v->bulge();
    out.startWidth = v->startWidth() < 0 ? 0.0 : v->startWidth();
    out.endWidth = v->endWidth() < 0 ? 0.0 : v->endWidth();
    verts.push_back(out);
  }
  setPropertiesFrom(*poly);
  m_verts.assign(verts.begin(), verts.end());
  m_bClosed = poly->isClosed();
  m_bPlinegen = poly->isLinetypeGenerationOn();
  m_dElevation = poly->elevation();
  m_dThickness = poly->thickness();
  m_normal = poly->normal();
  m_dConstantWidth = 0.0;
  return Acad::eOk;
}
