// AcDbPolyline: vertices with bulges and widths, its curve queries (lengths,
// parameters, points, segments), transforms, explosion and DXF. The widths,
// elevation, thickness and normal live in the rare part, made only when one
// differs from the usual.
#include "dbpline.h"

#include <algorithm>
#include <cmath>

#include "dbcurves.h"
#include "dbgeutil.h"

using namespace acdbgeo;

ACRX_DEFINE_MEMBERS(AcDbPolyline, AcDbCurve, L"LWPOLYLINE")

namespace {
constexpr double kSlack = 1e-9;
constexpr double kZeroBulge = 1e-10;
}  // namespace

const AcDbPolyline::Rare& AcDbPolyline::usualRare() {
  static const Rare usual;
  return usual;
}

void AcDbPolyline::setElevation(double e) {
  if (m_rare.get() || e != 0.0) m_rare.make().elevation = e;
}

Acad::ErrorStatus AcDbPolyline::setThickness(double t) {
  if (m_rare.get() || t != 0.0) m_rare.make().thickness = t;
  return Acad::eOk;
}

void AcDbPolyline::setUnitNormal(const AcGeVector3d& unit) {
  if (m_rare.get() || unit.x != 0.0 || unit.y != 0.0 || unit.z != 1.0) m_rare.make().normal = unit;
}

void AcDbPolyline::setConstantWidthValue(double width) {
  if (m_rare.get() || width != 0.0) m_rare.make().constantWidth = width;
}

std::vector<AcDbPolyline::Widths>& AcDbPolyline::makeWidths() {
  std::vector<Widths>& widths = m_rare.make().widths;
  if (widths.empty()) widths.resize(m_verts.size());
  return widths;
}

void AcDbPolyline::dropZeroWidths() {
  Rare* r = m_rare.get();
  if (!r || r->widths.empty()) return;
  for (const Widths& w : r->widths)
    if (!w.isZero()) return;
  r->widths = std::vector<Widths>();
}

void AcDbPolyline::insertVertex(size_t index, const Vertex& v, const Widths& w) {
  const Rare* r = m_rare.get();
  std::vector<Widths>* widths = nullptr;
  if (!w.isZero() || (r && !r->widths.empty())) {
    widths = &makeWidths();
    // Room for the widths first, so that both lists grow or neither does.
    widths->reserve(widths->size() + 1);
  }
  index = std::min(index, m_verts.size());
  m_verts.insert(m_verts.begin() + static_cast<std::ptrdiff_t>(index), v);
  if (widths) widths->insert(widths->begin() + static_cast<std::ptrdiff_t>(index), w);
}

void AcDbPolyline::minimizeMemory() {
  m_verts.shrink_to_fit();
  if (Rare* r = m_rare.get()) r->widths.shrink_to_fit();
}

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge,
                                            double startWidth, double endWidth) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(pt.x) || !std::isfinite(pt.y) || !std::isfinite(bulge)) return Acad::eInvalidInput;
  // A negative width means "the polyline's constant width".
  double constant = rare().constantWidth;
  insertVertex(index, Vertex{pt, bulge},
               Widths{startWidth < 0 ? constant : startWidth, endWidth < 0 ? constant : endWidth});
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index >= m_verts.size()) return Acad::eInvalidIndex;
  m_verts.erase(m_verts.begin() + index);
  Rare* r = m_rare.get();
  if (r && !r->widths.empty()) {
    r->widths.erase(r->widths.begin() + index);
    dropZeroWidths();
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& pt) const {
  if (index >= m_verts.size()) return Acad::eInvalidIndex;
  pt = m_verts[index].pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& pt) const {
  if (index >= m_verts.size()) return Acad::eInvalidIndex;
  pt = toWorld(m_verts[index].pt);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& pt) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index >= m_verts.size()) return Acad::eInvalidIndex;
  m_verts[index].pt = pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
  if (index >= m_verts.size()) return Acad::eInvalidIndex;
  bulge = m_verts[index].bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index >= m_verts.size()) return Acad::eInvalidIndex;
  if (!std::isfinite(bulge)) return Acad::eInvalidInput;
  m_verts[index].bulge = bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const {
  if (index >= m_verts.size()) return Acad::eInvalidIndex;
  Widths w = widthsAt(index);
  startWidth = w.start;
  endWidth = w.end;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setWidthsAt(unsigned int index, double startWidth, double endWidth) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index >= m_verts.size()) return Acad::eInvalidIndex;
  if (startWidth < 0 || endWidth < 0) return Acad::eNegativeValueNotAllowed;
  Widths w{startWidth, endWidth};
  if (w.isZero() && widthsAt(index).isZero()) return Acad::eOk;
  makeWidths()[index] = w;
  if (w.isZero()) dropZeroWidths();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getConstantWidth(double& width) const {
  const Rare& r = rare();
  if (m_verts.empty()) {
    width = r.constantWidth;
    return Acad::eOk;
  }
  width = widthsAt(0).start;
  for (const Widths& w : r.widths)
    if (w.start != width || w.end != width) return Acad::eInvalidInput;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setConstantWidth(double width) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (width < 0) return Acad::eNegativeValueNotAllowed;
  setConstantWidthValue(width);
  if (width != 0.0) m_rare.make().widths.assign(m_verts.size(), Widths{width, width});
  else if (Rare* r = m_rare.get()) r->widths = std::vector<Widths>();
  return Acad::eOk;
}

bool AcDbPolyline::hasWidth() const {
  for (const Widths& w : rare().widths)
    if (!w.isZero()) return true;
  return false;
}

bool AcDbPolyline::hasBulges() const {
  for (const Vertex& v : m_verts)
    if (std::fabs(v.bulge) > kZeroBulge) return true;
  return false;
}

Acad::ErrorStatus AcDbPolyline::reset(bool reuse, unsigned int numVerts) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!reuse) m_verts.clear();
  else if (numVerts < m_verts.size()) m_verts.resize(numVerts);
  if (Rare* r = m_rare.get(); r && !r->widths.empty()) {
    r->widths.resize(m_verts.size());
    dropZeroWidths();
  }
  return Acad::eOk;
}

unsigned int AcDbPolyline::numSegments() const {
  unsigned int n = numVerts();
  if (n < 2) return 0;
  return m_bClosed ? n : n - 1;
}

AcDbPolyline::SegGeom AcDbPolyline::segment(unsigned int i) const {
  SegGeom s;
  s.a = m_verts[i].pt;
  s.b = m_verts[(i + 1) % m_verts.size()].pt;
  s.bulge = m_verts[i].bulge;
  double chord = s.a.distanceTo(s.b);
  if (std::fabs(s.bulge) <= kZeroBulge || chord == 0.0) {
    s.bulge = 0.0;
    s.length = chord;
    return s;
  }
  s.sweep = 4.0 * std::atan(s.bulge);
  s.radius = chord / (2.0 * std::fabs(std::sin(s.sweep / 2.0)));
  AcGeVector2d d = (s.b - s.a) / chord;
  AcGeVector2d left(-d.y, d.x);
  double offset = chord / 2.0 * (1.0 - s.bulge * s.bulge) / (2.0 * s.bulge);
  s.center = AcGePoint2d((s.a.x + s.b.x) / 2, (s.a.y + s.b.y) / 2) + left * offset;
  s.startAngle = std::atan2(s.a.y - s.center.y, s.a.x - s.center.x);
  s.length = s.radius * std::fabs(s.sweep);
  return s;
}

AcGePoint2d AcDbPolyline::pointOnSegment(const SegGeom& s, double f) const {
  if (s.bulge == 0.0) return s.a + (s.b - s.a) * f;
  if (f <= 0.0) return s.a;
  if (f >= 1.0) return s.b;
  double ang = s.startAngle + s.sweep * f;
  return {s.center.x + s.radius * std::cos(ang), s.center.y + s.radius * std::sin(ang)};
}

AcGePoint3d AcDbPolyline::toWorld(const AcGePoint2d& p) const {
  const Rare& r = rare();
  AcGePoint3d q(p.x, p.y, r.elevation);
  if (r.normal.isEqualTo(AcGeVector3d::kZAxis)) return q;
  return AcGeMatrix3d::planeToWorld(r.normal) * q;
}

AcGePoint2d AcDbPolyline::toPlane(const AcGePoint3d& p) const {
  const AcGeVector3d& n = rare().normal;
  if (n.isEqualTo(AcGeVector3d::kZAxis)) return {p.x, p.y};
  AcGePoint3d q = AcGeMatrix3d::worldToPlane(n) * p;
  return {q.x, q.y};
}

double AcDbPolyline::closestFraction(const SegGeom& s, const AcGePoint2d& p) const {
  if (s.bulge == 0.0) {
    AcGeVector2d d = s.b - s.a;
    double l2 = d.lengthSqrd();
    return l2 == 0.0 ? 0.0 : std::clamp((p - s.a).dotProduct(d) / l2, 0.0, 1.0);
  }
  double ang = std::atan2(p.y - s.center.y, p.x - s.center.x);
  double rel = s.sweep > 0 ? NormalizeAngle(ang - s.startAngle) : NormalizeAngle(s.startAngle - ang);
  double total = std::fabs(s.sweep);
  if (rel <= total) return rel / total;
  // Outside the arc's span: the nearer end.
  return p.distanceTo(s.a) <= p.distanceTo(s.b) ? 0.0 : 1.0;
}

AcDbPolyline::SegType AcDbPolyline::segType(unsigned int index) const {
  if (m_verts.empty()) return kEmpty;
  if (m_verts.size() == 1) return kPoint;
  if (index >= numSegments()) return kEmpty;
  SegGeom s = segment(index);
  if (s.a.isEqualTo(s.b)) return kCoincident;
  return s.bulge == 0.0 ? kLine : kArc;
}

Acad::ErrorStatus AcDbPolyline::getLineSegAt(unsigned int index, AcGeLineSeg2d& seg) const {
  if (index >= numSegments()) return Acad::eInvalidIndex;
  SegGeom s = segment(index);
  if (s.bulge != 0.0) return Acad::eWrongObjectType;
  seg = AcGeLineSeg2d(s.a, s.b);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getLineSegAt(unsigned int index, AcGeLineSeg3d& seg) const {
  AcGeLineSeg2d s2;
  Acad::ErrorStatus es = getLineSegAt(index, s2);
  if (es == Acad::eOk) seg = AcGeLineSeg3d(toWorld(s2.startPoint()), toWorld(s2.endPoint()));
  return es;
}

Acad::ErrorStatus AcDbPolyline::getArcSegAt(unsigned int index, AcGeCircArc2d& arc) const {
  if (index >= numSegments()) return Acad::eInvalidIndex;
  SegGeom s = segment(index);
  if (s.bulge == 0.0) return Acad::eWrongObjectType;
  arc = AcGeCircArc2d(s.a, pointOnSegment(s, 0.5), s.b);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getArcSegAt(unsigned int index, AcGeCircArc3d& arc) const {
  if (index >= numSegments()) return Acad::eInvalidIndex;
  SegGeom s = segment(index);
  if (s.bulge == 0.0) return Acad::eWrongObjectType;
  arc = AcGeCircArc3d(toWorld(s.a), toWorld(pointOnSegment(s, 0.5)), toWorld(s.b));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getEndParam(double& p) const {
  if (m_verts.empty()) return Acad::eDegenerateGeometry;
  p = numSegments();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAtParam(double param, AcGePoint3d& point) const {
  if (m_verts.empty()) return Acad::eDegenerateGeometry;
  unsigned int nseg = numSegments();
  if (!(param >= -kSlack && param <= nseg + kSlack)) return Acad::eInvalidInput;
  if (nseg == 0) {
    point = toWorld(m_verts[0].pt);
    return Acad::eOk;
  }
  double clamped = std::clamp(param, 0.0, static_cast<double>(nseg));
  unsigned int i = std::min(static_cast<unsigned int>(clamped), nseg - 1);
  point = toWorld(pointOnSegment(segment(i), clamped - i));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getParamAtPoint(const AcGePoint3d& point, double& param) const {
  if (m_verts.empty()) return Acad::eDegenerateGeometry;
  AcGePoint2d p = toPlane(point);
  AcGePoint3d closest;
  getClosestPointTo(point, closest);
  if (closest.distanceTo(point) > 1e-8 * std::max(1.0, length())) return Acad::eInvalidInput;
  unsigned int nseg = numSegments();
  if (nseg == 0) {
    param = 0.0;
    return Acad::eOk;
  }
  double best = 1e300;
  for (unsigned int i = 0; i < nseg; ++i) {
    SegGeom s = segment(i);
    double f = closestFraction(s, p);
    double d = pointOnSegment(s, f).distanceTo(p);
    if (d < best - 1e-12) {
      best = d;
      param = i + f;
    }
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getDistAtParam(double param, double& dist) const {
  if (m_verts.empty()) return Acad::eDegenerateGeometry;
  unsigned int nseg = numSegments();
  if (!(param >= -kSlack && param <= nseg + kSlack)) return Acad::eInvalidInput;
  double clamped = std::clamp(param, 0.0, static_cast<double>(nseg));
  dist = 0.0;
  for (unsigned int i = 0; i < nseg && i < clamped; ++i) {
    double len = segment(i).length;
    double f = std::min(1.0, clamped - i);
    dist += len * f;
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getParamAtDist(double dist, double& param) const {
  if (m_verts.empty()) return Acad::eDegenerateGeometry;
  unsigned int nseg = numSegments();
  double total = length();
  if (!(dist >= -kSlack && dist <= total * (1 + 1e-12) + kSlack)) return Acad::eInvalidInput;
  double acc = 0.0;
  for (unsigned int i = 0; i < nseg; ++i) {
    double len = segment(i).length;
    if (len > 0 && dist <= acc + len) {
      param = i + std::clamp((dist - acc) / len, 0.0, 1.0);
      return Acad::eOk;
    }
    acc += len;
  }
  param = nseg;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool) const {
  if (m_verts.empty()) return Acad::eDegenerateGeometry;
  AcGePoint2d p = toPlane(given);
  unsigned int nseg = numSegments();
  AcGePoint2d best = m_verts[0].pt;
  double bestD = best.distanceTo(p);
  for (unsigned int i = 0; i < nseg; ++i) {
    SegGeom s = segment(i);
    AcGePoint2d q = pointOnSegment(s, closestFraction(s, p));
    double d = q.distanceTo(p);
    if (d < bestD) {
      bestD = d;
      best = q;
    }
  }
  closest = toWorld(best);
  return Acad::eOk;
}

double AcDbPolyline::length() const {
  double total = 0.0;
  for (unsigned int i = 0, n = numSegments(); i < n; ++i) total += segment(i).length;
  return total;
}

Acad::ErrorStatus AcDbPolyline::getArea(double& area) const {
  area = 0.0;
  size_t n = m_verts.size();
  if (n < 2) return Acad::eOk;
  double sum = 0.0;
  for (size_t i = 0; i < n; ++i) {
    const AcGePoint2d& a = m_verts[i].pt;
    const AcGePoint2d& b = m_verts[(i + 1) % n].pt;
    sum += a.x * b.y - b.x * a.y;
    // The bulge of the closing segment counts only for a closed polyline.
    if (i + 1 < n || m_bClosed) {
      SegGeom s = segment(static_cast<unsigned int>(i));
      if (s.bulge != 0.0) sum += s.radius * s.radius * (s.sweep - std::sin(s.sweep));
    }
  }
  area = std::fabs(sum) / 2.0;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  if (m_verts.empty()) return Acad::eInvalidExtents;
  AcDbExtents plane;
  for (const Vertex& v : m_verts) plane.addPoint(AcGePoint3d(v.pt.x, v.pt.y, 0));
  for (unsigned int i = 0, n = numSegments(); i < n; ++i) {
    SegGeom s = segment(i);
    if (s.bulge == 0.0) continue;
    double start = s.sweep > 0 ? s.startAngle : s.startAngle + s.sweep;
    AddArcExtents(plane, AcGePoint3d(s.center.x, s.center.y, 0), AcGeVector3d::kZAxis, s.radius, start,
                  std::fabs(s.sweep));
  }
  AcGePoint3d lo = plane.minPoint(), hi = plane.maxPoint();
  for (int k = 0; k < 4; ++k)
    extents.addPoint(toWorld(AcGePoint2d(k & 1 ? hi.x : lo.x, k & 2 ? hi.y : lo.y)));
  if (const Rare& r = rare(); r.thickness != 0.0) {
    AcDbExtents top = extents;
    top.expandBy(r.normal * r.thickness);
    extents.addExt(top);
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::transformBy(const AcGeMatrix3d& xform) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!xform.isUniScaledOrtho()) return Acad::eNotApplicable;
  bool mirrored;
  AcGeVector3d n = TransformNormal(xform, normal(), mirrored);
  double scale = xform.scale();
  std::vector<AcGePoint3d> world;
  world.reserve(m_verts.size());
  for (const Vertex& v : m_verts) world.push_back(xform * toWorld(v.pt));
  setUnitNormal(n);
  AcGeMatrix3d toPlaneM = AcGeMatrix3d::worldToPlane(n);
  for (size_t i = 0; i < m_verts.size(); ++i) {
    AcGePoint3d q = toPlaneM * world[i];
    m_verts[i].pt.set(q.x, q.y);
    setElevation(q.z);
    if (mirrored) m_verts[i].bulge = -m_verts[i].bulge;
  }
  if (Rare* r = m_rare.get()) {
    for (Widths& w : r->widths) {
      w.start *= scale;
      w.end *= scale;
    }
    r->constantWidth *= scale;
    r->thickness *= scale;
    dropZeroWidths();
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::explode(AcDbVoidPtrArray& entities) const {
  for (unsigned int i = 0, n = numSegments(); i < n; ++i) {
    SegGeom s = segment(i);
    if (s.length == 0.0) continue;
    AcDbEntity* e;
    if (s.bulge == 0.0) {
      e = new AcDbLine(toWorld(s.a), toWorld(s.b));
    } else {
      double start = s.sweep > 0 ? s.startAngle : s.startAngle + s.sweep;
      double end = s.sweep > 0 ? s.startAngle + s.sweep : s.startAngle;
      e = new AcDbArc(toWorld(s.center), normal(), s.radius, start, end);
    }
    e->setPropertiesFrom(*this);
    entities.append(e);
  }
  return Acad::eOk;
}

void AcDbPolyline::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbEntity::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbPolyline");
  filer.writeInt(90, numVerts());
  filer.writeInt(70, (m_bClosed ? 1 : 0) | (m_bPlinegen ? 128 : 0));
  double cw = 0.0;
  bool constant = getConstantWidth(cw) == Acad::eOk;
  filer.writeDouble(43, constant ? cw : 0.0);
  const Rare& r = rare();
  if (r.elevation != 0.0) filer.writeDouble(38, r.elevation);
  if (r.thickness != 0.0) filer.writeDouble(39, r.thickness);
  for (size_t i = 0; i < m_verts.size(); ++i) {
    const Vertex& v = m_verts[i];
    filer.writePoint2d(10, v.pt);
    if (!constant) {
      Widths w = widthsAt(i);
      filer.writeDouble(40, w.start);
      filer.writeDouble(41, w.end);
    }
    if (v.bulge != 0.0) filer.writeDouble(42, v.bulge);
  }
  if (!r.normal.isEqualTo(AcGeVector3d::kZAxis)) filer.writeVector3d(210, r.normal);
}

Acad::ErrorStatus AcDbPolyline::dxfInFields(const AcDbDxfRecord& record) {
  AcDbEntity::dxfInFields(record);
  m_verts.clear();
  if (Rare* r = m_rare.get()) r->widths.clear();
  const auto& pairs = record.pairs;
  long long declared = -1;
  for (size_t i = 0, nPairs = pairs.size(); i < nPairs; ++i) {
    const AcDbDxfPair& p = pairs[i];
    switch (p.code) {
      case 90:
        declared = AcDbDxfRecord::integer(p.value);
        if (declared > 0) m_verts.reserve(static_cast<size_t>(std::min<long long>(declared, 1 << 16)));
        break;
      case 70: {
        long long f = AcDbDxfRecord::integer(p.value);
        m_bClosed = (f & 1) != 0;
        m_bPlinegen = (f & 128) != 0;
        break;
      }
      case 43: setConstantWidthValue(std::max(0.0, AcDbDxfRecord::real(p))); break;
      case 38: setElevation(AcDbDxfRecord::real(p)); break;
      case 39: setThickness(AcDbDxfRecord::real(p)); break;
      case 10: {
        Vertex v;
        v.pt.x = AcDbDxfRecord::real(p);
        if (i + 1 < nPairs && pairs[i + 1].code == 20) v.pt.y = AcDbDxfRecord::real(pairs[++i]);
        double constant = rare().constantWidth;
        insertVertex(m_verts.size(), v, Widths{constant, constant});
        break;
      }
      case 40:
      case 41: {
        if (m_verts.empty()) break;
        double width = std::max(0.0, AcDbDxfRecord::real(p));
        if (width == 0.0 && widthsAt(m_verts.size() - 1).isZero()) break;
        Widths& w = makeWidths().back();
        (p.code == 40 ? w.start : w.end) = width;
        break;
      }
      case 42: if (!m_verts.empty()) m_verts.back().bulge = AcDbDxfRecord::real(p); break;
      case 210: {
        AcGePoint3d n = AcDbDxfRecord::point(pairs, i);
        if (!n.asVector().isZeroLength()) setUnitNormal(n.asVector().normal());
        break;
      }
      default: break;
    }
  }
  dropZeroWidths();
  (void)declared;  // the vertices themselves count; a wrong count is tolerated as other readers do
  return Acad::eOk;
}
