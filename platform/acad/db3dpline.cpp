// The 3D polyline with its vertices: simple and spline-fit shapes, curve
// queries, transforms and DXF.
#include "db3dpline.h"

#include <algorithm>
#include <cmath>

#include "dbcurves.h"
#include "dbdatabase.h"
#include "dbpolyfit.h"

ACRX_DEFINE_MEMBERS(AcDb3dPolylineVertex, AcDbVertex, L"VERTEX")
ACRX_DEFINE_MEMBERS(AcDb3dPolyline, AcDbCurve, L"POLYLINE")

namespace {
constexpr double kSlack = 1e-9;
// VERTEX flags.
constexpr int kVtxSplineFit = 8;
constexpr int kVtxSplineCtl = 16;
constexpr int kVtx3d = 32;
constexpr int kVtxMeshOrFace = 64 | 128;
// POLYLINE flags.
constexpr int kPlClosed = 1;
constexpr int kPlSplineFit = 4;
constexpr int kPl3d = 8;
constexpr int kPlMeshOrFace = 16 | 64;

bool Finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// The parameter (0..1) of the point of segment a-b nearest to p.
double ClosestFraction(const AcGePoint3d& a, const AcGePoint3d& b, const AcGePoint3d& p) {
  AcGeVector3d d = b - a;
  double l2 = d.lengthSqrd();
  return l2 == 0.0 ? 0.0 : std::clamp((p - a).dotProduct(d) / l2, 0.0, 1.0);
}
}  // namespace

Acad::ErrorStatus AcDb3dPolylineVertex::setPosition(const AcGePoint3d& p) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(p)) return Acad::eInvalidInput;
  m_position = p;
  return Acad::eOk;
}

void AcDb3dPolylineVertex::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbVertex::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDb3dPolylineVertex");
  filer.writePoint3d(10, m_position);
  int flags = kVtx3d;
  if (m_type == AcDb::k3dFitVertex) flags |= kVtxSplineFit;
  else if (m_type == AcDb::k3dControlVertex) flags |= kVtxSplineCtl;
  filer.writeInt(70, flags);
}

Acad::ErrorStatus AcDb3dPolylineVertex::dxfInFields(const AcDbDxfRecord& record) {
  AcDbVertex::dxfInFields(record);
  const auto& pairs = record.pairs;
  int flags = 0;
  for (size_t i = 0; i < pairs.size(); ++i) {
    const AcDbDxfPair& p = pairs[i];
    if (p.code == 10) m_position = AcDbDxfRecord::point(pairs, i);
    else if (p.code == 70) flags = static_cast<int>(AcDbDxfRecord::integer(p.value));
  }
  if (flags & kVtxMeshOrFace) return Acad::eWrongObjectType;
  if (!Finite(m_position)) return Acad::eBadDxfFile;
  m_type = (flags & kVtxSplineCtl)   ? AcDb::k3dControlVertex
           : (flags & kVtxSplineFit) ? AcDb::k3dFitVertex
                                     : AcDb::k3dSimpleVertex;
  return Acad::eOk;
}

AcDb3dPolyline::AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, bool closed)
    : m_bClosed(closed) {
  for (int i = 0; i < vertices.length(); ++i) m_verts.push_back(std::make_unique<AcDb3dPolylineVertex>(vertices[i]));
  setPolyType(type);
}

AcDb3dPolyline::AcDb3dPolyline(const AcDb3dPolyline& o)
    : AcDbCurve(o), m_verts(o.m_verts), m_type(o.m_type), m_bClosed(o.m_bClosed) {}

void AcDb3dPolyline::applyToSubents(const AcDbEntity& source) {
  for (auto& v : m_verts) v->setPropertiesFrom(source);
}

Acad::ErrorStatus AcDb3dPolyline::straighten() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (m_type == AcDb::k3dSimplePoly) return Acad::eOk;
  AcDbVertexList<AcDb3dPolylineVertex> kept;
  for (auto& v : m_verts) {
    // Erased vertices stay with the polyline (their ids stay valid) unchanged.
    if (!v->isErased()) {
      if (v->m_type == AcDb::k3dFitVertex) continue;
      v->m_type = AcDb::k3dSimpleVertex;
    }
    kept.push_back(std::move(v));
  }
  m_verts = std::move(kept);
  m_type = AcDb::k3dSimplePoly;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::setPolyType(AcDb::Poly3dType type) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (type < AcDb::k3dSimplePoly || type > AcDb::k3dCubicSplinePoly) return Acad::eInvalidInput;
  straighten();
  if (type == AcDb::k3dSimplePoly || numVerts() < 2) return Acad::eOk;
  std::vector<AcGePoint3d> ctl;
  for (auto& v : m_verts) {
    if (v->isErased()) continue;
    ctl.push_back(v->m_position);
    v->m_type = AcDb::k3dControlVertex;
  }
  for (const AcGePoint3d& p : acdbfit::SplinePoints(ctl, type == AcDb::k3dQuadSplinePoly ? 2 : 3, m_bClosed)) {
    auto v = std::make_unique<AcDb3dPolylineVertex>(p);
    v->setPropertiesFrom(*this);
    v->m_type = AcDb::k3dFitVertex;
    m_verts.adopt(*this, std::move(v));
  }
  m_type = type;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::makeClosed() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (m_bClosed) return Acad::eOk;
  m_bClosed = true;
  return m_type == AcDb::k3dSimplePoly ? Acad::eOk : setPolyType(m_type);
}

Acad::ErrorStatus AcDb3dPolyline::makeOpen() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!m_bClosed) return Acad::eOk;
  m_bClosed = false;
  return m_type == AcDb::k3dSimplePoly ? Acad::eOk : setPolyType(m_type);
}

std::vector<AcGePoint3d> AcDb3dPolyline::shownPoints() const {
  std::vector<AcGePoint3d> pts;
  pts.reserve(m_verts.size());
  for (const auto& v : m_verts)
    if (!v->isErased() && v->m_type != AcDb::k3dControlVertex) pts.push_back(v->m_position);
  return pts;
}

unsigned int AcDb3dPolyline::numSegments(size_t points) const {
  if (points < 2) return 0;
  return static_cast<unsigned int>(m_bClosed ? points : points - 1);
}

Acad::ErrorStatus AcDb3dPolyline::getStartParam(double& p) const {
  if (shownPoints().empty()) return Acad::eDegenerateGeometry;
  p = 0.0;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getEndParam(double& p) const {
  std::vector<AcGePoint3d> pts = shownPoints();
  if (pts.empty()) return Acad::eDegenerateGeometry;
  p = numSegments(pts.size());
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getPointAtParam(double param, AcGePoint3d& point) const {
  std::vector<AcGePoint3d> pts = shownPoints();
  if (pts.empty()) return Acad::eDegenerateGeometry;
  unsigned int nseg = numSegments(pts.size());
  if (!(param >= -kSlack && param <= nseg + kSlack)) return Acad::eInvalidInput;
  if (nseg == 0) {
    point = pts[0];
    return Acad::eOk;
  }
  double t = std::clamp(param, 0.0, static_cast<double>(nseg));
  unsigned int i = std::min(static_cast<unsigned int>(t), nseg - 1);
  const AcGePoint3d& a = pts[i];
  const AcGePoint3d& b = pts[(i + 1) % pts.size()];
  point = a + (b - a) * (t - i);
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool) const {
  std::vector<AcGePoint3d> pts = shownPoints();
  if (pts.empty()) return Acad::eDegenerateGeometry;
  closest = pts[0];
  double best = closest.distanceTo(given);
  for (unsigned int i = 0, n = numSegments(pts.size()); i < n; ++i) {
    const AcGePoint3d& a = pts[i];
    const AcGePoint3d& b = pts[(i + 1) % pts.size()];
    AcGePoint3d q = a + (b - a) * ClosestFraction(a, b, given);
    double d = q.distanceTo(given);
    if (d < best) {
      best = d;
      closest = q;
    }
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getParamAtPoint(const AcGePoint3d& point, double& param) const {
  std::vector<AcGePoint3d> pts = shownPoints();
  if (pts.empty()) return Acad::eDegenerateGeometry;
  AcGePoint3d closest;
  getClosestPointTo(point, closest);
  if (closest.distanceTo(point) > 1e-8 * std::max(1.0, length())) return Acad::eInvalidInput;
  param = 0.0;
  double best = 1e300;
  for (unsigned int i = 0, n = numSegments(pts.size()); i < n; ++i) {
    const AcGePoint3d& a = pts[i];
    const AcGePoint3d& b = pts[(i + 1) % pts.size()];
    double f = ClosestFraction(a, b, point);
    double d = (a + (b - a) * f).distanceTo(point);
    if (d < best - 1e-12) {
      best = d;
      param = i + f;
    }
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getDistAtParam(double param, double& dist) const {
  std::vector<AcGePoint3d> pts = shownPoints();
  if (pts.empty()) return Acad::eDegenerateGeometry;
  unsigned int nseg = numSegments(pts.size());
  if (!(param >= -kSlack && param <= nseg + kSlack)) return Acad::eInvalidInput;
  double t = std::clamp(param, 0.0, static_cast<double>(nseg));
  dist = 0.0;
  for (unsigned int i = 0; i < nseg && i < t; ++i)
    dist += pts[i].distanceTo(pts[(i + 1) % pts.size()]) * std::min(1.0, t - i);
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getParamAtDist(double dist, double& param) const {
  std::vector<AcGePoint3d> pts = shownPoints();
  if (pts.empty()) return Acad::eDegenerateGeometry;
  unsigned int nseg = numSegments(pts.size());
  double total = length();
  if (!(dist >= -kSlack && dist <= total * (1 + 1e-12) + kSlack)) return Acad::eInvalidInput;
  double acc = 0.0;
  for (unsigned int i = 0; i < nseg; ++i) {
    double len = pts[i].distanceTo(pts[(i + 1) % pts.size()]);
    if (len > 0 && dist <= acc + len) {
      param = i + std::clamp((dist - acc) / len, 0.0, 1.0);
      return Acad::eOk;
    }
    acc += len;
  }
  param = nseg;
  return Acad::eOk;
}

double AcDb3dPolyline::length() const {
  std::vector<AcGePoint3d> pts = shownPoints();
  double total = 0.0;
  for (unsigned int i = 0, n = numSegments(pts.size()); i < n; ++i) total += pts[i].distanceTo(pts[(i + 1) % pts.size()]);
  return total;
}

Acad::ErrorStatus AcDb3dPolyline::getArea(double& area) const {
  area = 0.0;
  std::vector<AcGePoint3d> pts = shownPoints();
  if (pts.size() < 3) return Acad::eOk;
  // Newell's method: the vector area of the closed outline.
  AcGeVector3d sum;
  for (size_t i = 0; i < pts.size(); ++i) {
    const AcGePoint3d& a = pts[i];
    const AcGePoint3d& b = pts[(i + 1) % pts.size()];
    sum += AcGeVector3d((a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y));
  }
  area = sum.length() / 2.0;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  std::vector<AcGePoint3d> pts = shownPoints();
  if (pts.empty()) return Acad::eInvalidExtents;
  for (const AcGePoint3d& p : pts) extents.addPoint(p);
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::transformBy(const AcGeMatrix3d& xform) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  // Straight segments stay straight under any affine change.
  for (auto& v : m_verts) v->m_position = xform * v->m_position;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::explode(AcDbVoidPtrArray& entities) const {
  std::vector<AcGePoint3d> pts = shownPoints();
  for (unsigned int i = 0, n = numSegments(pts.size()); i < n; ++i) {
    const AcGePoint3d& a = pts[i];
    const AcGePoint3d& b = pts[(i + 1) % pts.size()];
    if (a.isEqualTo(b)) continue;
    auto* line = new AcDbLine(a, b);
    line->setPropertiesFrom(*this);
    entities.append(line);
  }
  return Acad::eOk;
}

void AcDb3dPolyline::dxfOut(AcDbDxfFiler& filer) const {
  AcDbCurve::dxfOut(filer);
  m_verts.dxfOut(*this, m_seqendHandle, filer);
}

void AcDb3dPolyline::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbEntity::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDb3dPolyline");
  filer.writeInt(66, 1);
  filer.writePoint3d(10, AcGePoint3d());
  int flags = kPl3d | (m_bClosed ? kPlClosed : 0) | (m_type != AcDb::k3dSimplePoly ? kPlSplineFit : 0);
  filer.writeInt(70, flags);
  if (m_type == AcDb::k3dQuadSplinePoly) filer.writeInt(75, 5);
  else if (m_type == AcDb::k3dCubicSplinePoly) filer.writeInt(75, 6);
}

Acad::ErrorStatus AcDb3dPolyline::dxfInFields(const AcDbDxfRecord& record) {
  AcDbEntity::dxfInFields(record);
  m_verts.clear();
  int flags = 0, smooth = 0;
  for (const AcDbDxfPair& p : record.pairs) {
    if (p.code == 70) flags = static_cast<int>(AcDbDxfRecord::integer(p.value));
    else if (p.code == 75) smooth = static_cast<int>(AcDbDxfRecord::integer(p.value));
  }
  if (!(flags & kPl3d) || (flags & kPlMeshOrFace)) return Acad::eWrongObjectType;
  m_bClosed = (flags & kPlClosed) != 0;
  if (flags & kPlSplineFit) m_type = smooth == 5 ? AcDb::k3dQuadSplinePoly : AcDb::k3dCubicSplinePoly;
  else m_type = AcDb::k3dSimplePoly;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::dxfInVertex(const AcDbDxfRecord& record) {
  auto v = std::make_unique<AcDb3dPolylineVertex>();
  Acad::ErrorStatus es = v->dxfIn(record);
  if (es != Acad::eOk) return es;
  m_verts.adopt(*this, std::move(v));
  return Acad::eOk;
}
