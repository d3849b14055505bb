// The old 2D polyline with its vertices: simple, curve-fit and spline-fit
// shapes, curve queries, transforms and DXF.
#include "db2dpline.h"

#include <algorithm>
#include <cmath>

#include "dbdatabase.h"
#include "dbgeutil.h"
#include "dbpolyfit.h"

using namespace acdbgeo;

ACRX_DEFINE_MEMBERS(AcDb2dVertex, AcDbVertex, L"VERTEX")
ACRX_DEFINE_MEMBERS(AcDb2dPolyline, AcDbCurve, L"POLYLINE")

namespace {
// VERTEX flags (group 70).
constexpr int kVtxCurveFitExtra = 1;
constexpr int kVtxTangent = 2;
constexpr int kVtxSplineFit = 8;
constexpr int kVtxSplineCtl = 16;
constexpr int kVtxOtherKinds = 32 | 64 | 128;  // 3D polyline, mesh and face vertices
// POLYLINE flags (group 70).
constexpr int kPlClosed = 1;
constexpr int kPlCurveFit = 2;
constexpr int kPlSplineFit = 4;
constexpr int kPlOtherKinds = 8 | 16 | 64;  // 3D polyline, mesh, polyface
constexpr int kPlPlinegen = 128;

bool Finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
}  // namespace

// ---------------------------------------------------------------- vertex

AcDb2dVertex::AcDb2dVertex(const AcGePoint3d& position, double bulge, double startWidth, double endWidth,
                           double tangent)
    : m_position(position), m_dBulge(bulge), m_dStartWidth(std::max(0.0, startWidth)),
      m_dEndWidth(std::max(0.0, endWidth)), m_dTangent(tangent) {}

Acad::ErrorStatus AcDb2dVertex::setPosition(const AcGePoint3d& p) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(p)) return Acad::eInvalidInput;
  m_position = p;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::setBulge(double bulge) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(bulge)) return Acad::eInvalidInput;
  m_dBulge = bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::setStartWidth(double w) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!(w >= 0.0)) return Acad::eNegativeValueNotAllowed;
  m_dStartWidth = w;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::setEndWidth(double w) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!(w >= 0.0)) return Acad::eNegativeValueNotAllowed;
  m_dEndWidth = w;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::setTangent(double angle) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(angle)) return Acad::eInvalidInput;
  m_dTangent = angle;
  m_bTangentUsed = true;
  return Acad::eOk;
}

void AcDb2dVertex::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbVertex::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDb2dVertex");
  filer.writePoint3d(10, AcGePoint3d(m_position.x, m_position.y, 0.0));
  if (m_dStartWidth != 0.0) filer.writeDouble(40, m_dStartWidth);
  if (m_dEndWidth != 0.0) filer.writeDouble(41, m_dEndWidth);
  if (m_dBulge != 0.0) filer.writeDouble(42, m_dBulge);
  int flags = m_bTangentUsed ? kVtxTangent : 0;
  if (m_type == AcDb::k2dCurveFitVertex) flags |= kVtxCurveFitExtra;
  else if (m_type == AcDb::k2dSplineFitVertex) flags |= kVtxSplineFit;
  else if (m_type == AcDb::k2dSplineCtlVertex) flags |= kVtxSplineCtl;
  filer.writeInt(70, flags);
  if (m_bTangentUsed) filer.writeDouble(50, m_dTangent * 180.0 / kPi);
}

Acad::ErrorStatus AcDb2dVertex::dxfInFields(const AcDbDxfRecord& record) {
  AcDbVertex::dxfInFields(record);
  const auto& pairs = record.pairs;
  int flags = 0;
  for (size_t i = 0; i < pairs.size(); ++i) {
    const AcDbDxfPair& p = pairs[i];
    switch (p.code) {
      case 10: m_position = AcDbDxfRecord::point(pairs, i); break;
      case 40: m_dStartWidth = std::max(0.0, AcDbDxfRecord::real(p)); break;
      case 41: m_dEndWidth = std::max(0.0, AcDbDxfRecord::real(p)); break;
      case 42: m_dBulge = AcDbDxfRecord::real(p); break;
      case 50: m_dTangent = AcDbDxfRecord::real(p) * kPi / 180.0; break;
      case 70: flags = static_cast<int>(AcDbDxfRecord::integer(p.value)); break;
      default: break;
    }
  }
  if (flags & kVtxOtherKinds) return Acad::eWrongObjectType;
  if (!Finite(m_position) || !std::isfinite(m_dBulge) || !std::isfinite(m_dTangent)) return Acad::eBadDxfFile;
  m_bTangentUsed = (flags & kVtxTangent) != 0;
  m_type = (flags & kVtxSplineCtl)       ? AcDb::k2dSplineCtlVertex
           : (flags & kVtxSplineFit)     ? AcDb::k2dSplineFitVertex
           : (flags & kVtxCurveFitExtra) ? AcDb::k2dCurveFitVertex
                                         : AcDb::k2dVertex;
  return Acad::eOk;
}

// ---------------------------------------------------------------- polyline

AcDb2dPolyline::AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation,
                               bool closed, double defaultStartWidth, double defaultEndWidth,
                               const AcGeDoubleArray* bulges)
    : m_bClosed(closed), m_dElevation(elevation), m_dDefStart(std::max(0.0, defaultStartWidth)),
      m_dDefEnd(std::max(0.0, defaultEndWidth)) {
  for (int i = 0; i < vertices.length(); ++i) {
    double bulge = bulges && i < bulges->length() ? (*bulges)[i] : 0.0;
    m_verts.push_back(std::make_unique<AcDb2dVertex>(vertices[i], bulge, m_dDefStart, m_dDefEnd));
  }
  setPolyType(type);
}

AcDb2dPolyline::AcDb2dPolyline(const AcDb2dPolyline& o)
    : AcDbCurve(o), m_verts(o.m_verts), m_type(o.m_type), m_bClosed(o.m_bClosed), m_bPlinegen(o.m_bPlinegen),
      m_dElevation(o.m_dElevation), m_dThickness(o.m_dThickness), m_dDefStart(o.m_dDefStart),
      m_dDefEnd(o.m_dDefEnd), m_normal(o.m_normal) {}

void AcDb2dPolyline::applyToSubents(const AcDbEntity& source) {
  for (auto& v : m_verts) v->setPropertiesFrom(source);
}

std::vector<AcDb2dVertex*> AcDb2dPolyline::givenVertices() const {
  std::vector<AcDb2dVertex*> out;
  bool spline = m_type == AcDb::k2dQuadSplinePoly || m_type == AcDb::k2dCubicSplinePoly;
  for (const auto& v : m_verts) {
    if (v->isErased()) continue;
    if (spline ? v->m_type == AcDb::k2dSplineCtlVertex
               : v->m_type != AcDb::k2dSplineFitVertex && v->m_type != AcDb::k2dCurveFitVertex &&
                     v->m_type != AcDb::k2dSplineCtlVertex)
      out.push_back(v.get());
  }
  return out;
}

Acad::ErrorStatus AcDb2dPolyline::straighten() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (m_type == AcDb::k2dSimplePoly) return Acad::eOk;
  std::vector<AcDb2dVertex*> keep = givenVertices();
  AcDbVertexList<AcDb2dVertex> kept;
  for (auto& v : m_verts) {
    // Erased vertices stay with the polyline (their ids stay valid) unchanged.
    if (v->isErased()) {
      kept.push_back(std::move(v));
      continue;
    }
    if (std::find(keep.begin(), keep.end(), v.get()) == keep.end()) continue;
    v->m_type = AcDb::k2dVertex;
    v->m_dBulge = 0.0;
    v->m_bTangentUsed = false;
    kept.push_back(std::move(v));
  }
  m_verts = std::move(kept);
  m_type = AcDb::k2dSimplePoly;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::setPolyType(AcDb::Poly2dType type) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (type < AcDb::k2dSimplePoly || type > AcDb::k2dCubicSplinePoly) return Acad::eInvalidInput;
  straighten();
  if (type == AcDb::k2dSimplePoly || numVerts() < 2) return Acad::eOk;
  std::vector<std::unique_ptr<AcDb2dVertex>> given, erased;
  for (auto& v : m_verts) (v->isErased() ? erased : given).push_back(std::move(v));
  m_verts.clear();
  if (type == AcDb::k2dFitCurvePoly) {
    std::vector<AcGePoint2d> pts;
    for (const auto& v : given) pts.emplace_back(v->m_position.x, v->m_position.y);
    std::vector<acdbfit::FitVertex> fit = acdbfit::CurveFit(pts, m_bClosed);
    size_t g = 0;
    for (const acdbfit::FitVertex& f : fit) {
      std::unique_ptr<AcDb2dVertex> v;
      if (f.extra) {
        v = std::make_unique<AcDb2dVertex>(AcGePoint3d(f.pt.x, f.pt.y, 0.0));
        v->setPropertiesFrom(*this);
        v->m_type = AcDb::k2dCurveFitVertex;
        // Widths run on from the given vertex before.
        v->m_dStartWidth = m_verts.back()->m_dEndWidth;
        v->m_dEndWidth = m_verts.back()->m_dEndWidth;
      } else {
        v = std::move(given[g++]);
      }
      v->m_dBulge = f.bulge;
      v->m_dTangent = f.tangent;
      v->m_bTangentUsed = !f.extra;
      m_verts.push_back(std::move(v));
    }
  } else {
    std::vector<AcGePoint3d> ctl;
    for (const auto& v : given) ctl.emplace_back(v->m_position.x, v->m_position.y, 0.0);
    int degree = type == AcDb::k2dQuadSplinePoly ? 2 : 3;
    std::vector<AcGePoint3d> pts = acdbfit::SplinePoints(ctl, degree, m_bClosed);
    for (auto& v : given) {
      v->m_type = AcDb::k2dSplineCtlVertex;
      v->m_dBulge = 0.0;
      m_verts.push_back(std::move(v));
    }
    for (const AcGePoint3d& p : pts) {
      auto v = std::make_unique<AcDb2dVertex>(p, 0.0, m_dDefStart, m_dDefEnd);
      v->setPropertiesFrom(*this);
      v->m_type = AcDb::k2dSplineFitVertex;
      m_verts.push_back(std::move(v));
    }
  }
  for (auto& v : erased) m_verts.push_back(std::move(v));
  m_verts.makeResident(*this);
  m_type = type;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::makeClosed() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (m_bClosed) return Acad::eOk;
  m_bClosed = true;
  // A fitted curve changes shape when it closes.
  return m_type == AcDb::k2dSimplePoly ? Acad::eOk : setPolyType(m_type);
}

Acad::ErrorStatus AcDb2dPolyline::makeOpen() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!m_bClosed) return Acad::eOk;
  m_bClosed = false;
  return m_type == AcDb::k2dSimplePoly ? Acad::eOk : setPolyType(m_type);
}

Acad::ErrorStatus AcDb2dPolyline::setElevation(double e) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(e)) return Acad::eInvalidInput;
  m_dElevation = e;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::setNormal(const AcGeVector3d& n) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (n.isZeroLength()) return Acad::eInvalidInput;
  m_normal = n.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::setThickness(double t) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_dThickness = t;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::setDefaultStartWidth(double w) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!(w >= 0.0)) return Acad::eNegativeValueNotAllowed;
  m_dDefStart = w;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::setDefaultEndWidth(double w) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!(w >= 0.0)) return Acad::eNegativeValueNotAllowed;
  m_dDefEnd = w;
  return Acad::eOk;
}

AcGePoint3d AcDb2dPolyline::vertexPosition(const AcDb2dVertex& vertex) const {
  AcGePoint3d q(vertex.m_position.x, vertex.m_position.y, m_dElevation);
  return m_normal.isEqualTo(AcGeVector3d::kZAxis) ? q : AcGeMatrix3d::planeToWorld(m_normal) * q;
}

std::unique_ptr<AcDbPolyline> AcDb2dPolyline::shown() const {
  auto pl = std::make_unique<AcDbPolyline>(static_cast<unsigned int>(m_verts.size()));
  pl->setPropertiesFrom(*this);
  pl->setNormal(m_normal);
  pl->setElevation(m_dElevation);
  pl->setThickness(m_dThickness);
  pl->setClosed(m_bClosed);
  pl->setPlinegen(m_bPlinegen);
  for (const auto& v : m_verts) {
    if (v->isErased() || v->m_type == AcDb::k2dSplineCtlVertex) continue;
    pl->addVertexAt(pl->numVerts(), AcGePoint2d(v->m_position.x, v->m_position.y), v->m_dBulge, v->m_dStartWidth,
                    v->m_dEndWidth);
  }
  return pl;
}

Acad::ErrorStatus AcDb2dPolyline::getStartParam(double& p) const { return shown()->getStartParam(p); }
Acad::ErrorStatus AcDb2dPolyline::getEndParam(double& p) const { return shown()->getEndParam(p); }
Acad::ErrorStatus AcDb2dPolyline::getPointAtParam(double param, AcGePoint3d& point) const {
  return shown()->getPointAtParam(param, point);
}
Acad::ErrorStatus AcDb2dPolyline::getParamAtPoint(const AcGePoint3d& point, double& param) const {
  return shown()->getParamAtPoint(point, param);
}
Acad::ErrorStatus AcDb2dPolyline::getDistAtParam(double param, double& dist) const {
  return shown()->getDistAtParam(param, dist);
}
Acad::ErrorStatus AcDb2dPolyline::getParamAtDist(double dist, double& param) const {
  return shown()->getParamAtDist(dist, param);
}
Acad::ErrorStatus AcDb2dPolyline::getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest,
                                                    bool extend) const {
  return shown()->getClosestPointTo(given, closest, extend);
}
Acad::ErrorStatus AcDb2dPolyline::getArea(double& area) const { return shown()->getArea(area); }
double AcDb2dPolyline::length() const { return shown()->length(); }
Acad::ErrorStatus AcDb2dPolyline::getGeomExtents(AcDbExtents& extents) const {
  return shown()->getGeomExtents(extents);
}
Acad::ErrorStatus AcDb2dPolyline::explode(AcDbVoidPtrArray& entities) const { return shown()->explode(entities); }

Acad::ErrorStatus AcDb2dPolyline::transformBy(const AcGeMatrix3d& xform) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!xform.isUniScaledOrtho()) return Acad::eNotApplicable;
  bool mirrored;
  AcGeVector3d n = TransformNormal(xform, m_normal, mirrored);
  double scale = xform.scale();
  std::vector<AcGePoint3d> world;
  world.reserve(m_verts.size());
  for (const auto& v : m_verts) world.push_back(xform * vertexPosition(*v));
  // The elevation moves with the plane even when there is no vertex.
  AcGePoint3d origin = xform * (AcGeMatrix3d::planeToWorld(m_normal) * AcGePoint3d(0.0, 0.0, m_dElevation));
  m_normal = n;
  AcGeMatrix3d toPlane = AcGeMatrix3d::worldToPlane(n);
  m_dElevation = (toPlane * origin).z;
  for (size_t i = 0; i < m_verts.size(); ++i) {
    AcDb2dVertex& v = *m_verts[i];
    AcGePoint3d q = toPlane * world[i];
    v.m_position.set(q.x, q.y, 0.0);
    m_dElevation = q.z;
    if (mirrored) v.m_dBulge = -v.m_dBulge;
    v.m_dStartWidth *= scale;
    v.m_dEndWidth *= scale;
  }
  // Tangent directions follow the plane's turn: refit from the new points.
  if (m_type == AcDb::k2dFitCurvePoly) setPolyType(m_type);
  m_dDefStart *= scale;
  m_dDefEnd *= scale;
  m_dThickness *= scale;
  return Acad::eOk;
}

void AcDb2dPolyline::dxfOut(AcDbDxfFiler& filer) const {
  AcDbCurve::dxfOut(filer);
  m_verts.dxfOut(*this, m_seqendHandle, filer);
}

void AcDb2dPolyline::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbEntity::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDb2dPolyline");
  filer.writeInt(66, 1);
  filer.writePoint3d(10, AcGePoint3d(0.0, 0.0, m_dElevation));
  if (m_dThickness != 0.0) filer.writeDouble(39, m_dThickness);
  int flags = (m_bClosed ? kPlClosed : 0) | (m_bPlinegen ? kPlPlinegen : 0);
  if (m_type == AcDb::k2dFitCurvePoly) flags |= kPlCurveFit;
  if (m_type == AcDb::k2dQuadSplinePoly || m_type == AcDb::k2dCubicSplinePoly) flags |= kPlSplineFit;
  filer.writeInt(70, flags);
  if (m_dDefStart != 0.0) filer.writeDouble(40, m_dDefStart);
  if (m_dDefEnd != 0.0) filer.writeDouble(41, m_dDefEnd);
  if (m_type == AcDb::k2dQuadSplinePoly) filer.writeInt(75, 5);
  else if (m_type == AcDb::k2dCubicSplinePoly) filer.writeInt(75, 6);
  if (!m_normal.isEqualTo(AcGeVector3d::kZAxis)) filer.writeVector3d(210, m_normal);
}

Acad::ErrorStatus AcDb2dPolyline::dxfInFields(const AcDbDxfRecord& record) {
  AcDbEntity::dxfInFields(record);
  m_verts.clear();
  const auto& pairs = record.pairs;
  int flags = 0, smooth = 0;
  for (size_t i = 0; i < pairs.size(); ++i) {
    const AcDbDxfPair& p = pairs[i];
    switch (p.code) {
      case 10: m_dElevation = AcDbDxfRecord::point(pairs, i).z; break;
      case 39: m_dThickness = AcDbDxfRecord::real(p); break;
      case 40: m_dDefStart = std::max(0.0, AcDbDxfRecord::real(p)); break;
      case 41: m_dDefEnd = std::max(0.0, AcDbDxfRecord::real(p)); break;
      case 70: flags = static_cast<int>(AcDbDxfRecord::integer(p.value)); break;
      case 75: smooth = static_cast<int>(AcDbDxfRecord::integer(p.value)); break;
      case 210: {
        AcGePoint3d n = AcDbDxfRecord::point(pairs, i);
        if (Finite(n) && !n.asVector().isZeroLength()) m_normal = n.asVector().normal();
        break;
      }
      default: break;
    }
  }
  if (flags & kPlOtherKinds) return Acad::eWrongObjectType;
  if (!std::isfinite(m_dElevation) || !std::isfinite(m_dThickness)) return Acad::eBadDxfFile;
  m_bClosed = (flags & kPlClosed) != 0;
  m_bPlinegen = (flags & kPlPlinegen) != 0;
  if (flags & kPlSplineFit) m_type = smooth == 5 ? AcDb::k2dQuadSplinePoly : AcDb::k2dCubicSplinePoly;
  else if (flags & kPlCurveFit) m_type = AcDb::k2dFitCurvePoly;
  else m_type = AcDb::k2dSimplePoly;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::dxfInVertex(const AcDbDxfRecord& record) {
  auto v = std::make_unique<AcDb2dVertex>();
  // Widths a vertex does not give are the polyline's defaults.
  v->m_dStartWidth = m_dDefStart;
  v->m_dEndWidth = m_dDefEnd;
  Acad::ErrorStatus es = v->dxfIn(record);
  if (es != Acad::eOk) return es;
  m_verts.adopt(*this, std::move(v));
  return Acad::eOk;
}
