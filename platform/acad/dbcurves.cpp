// Line, circle, arc and ellipse: their geometry, curve queries, transforms and DXF.
#include "dbcurves.h"

#include <algorithm>
#include <cmath>

#include "dbgeutil.h"

using namespace acdbgeo;

ACRX_DEFINE_ABSTRACT(AcDbCurve, AcDbEntity)
ACRX_DEFINE_MEMBERS(AcDbLine, AcDbCurve, L"LINE")
ACRX_DEFINE_MEMBERS(AcDbCircle, AcDbCurve, L"CIRCLE")
ACRX_DEFINE_MEMBERS(AcDbArc, AcDbCurve, L"ARC")
ACRX_DEFINE_MEMBERS(AcDbEllipse, AcDbCurve, L"ELLIPSE")

// ---- the general curve queries ---------------------------------------------------

Acad::ErrorStatus AcDbCurve::getStartPoint(AcGePoint3d& point) const {
  double p;
  Acad::ErrorStatus es = getStartParam(p);
  return es == Acad::eOk ? getPointAtParam(p, point) : es;
}

Acad::ErrorStatus AcDbCurve::getEndPoint(AcGePoint3d& point) const {
  double p;
  Acad::ErrorStatus es = getEndParam(p);
  return es == Acad::eOk ? getPointAtParam(p, point) : es;
}

Acad::ErrorStatus AcDbCurve::getDistAtPoint(const AcGePoint3d& point, double& dist) const {
  double p;
  Acad::ErrorStatus es = getParamAtPoint(point, p);
  return es == Acad::eOk ? getDistAtParam(p, dist) : es;
}

Acad::ErrorStatus AcDbCurve::getPointAtDist(double dist, AcGePoint3d& point) const {
  double p;
  Acad::ErrorStatus es = getParamAtDist(dist, p);
  return es == Acad::eOk ? getPointAtParam(p, point) : es;
}

namespace {
// Distances may overshoot the ends by rounding; a little slack is accepted.
constexpr double kSlack = 1e-9;

void WriteNormal(AcDbDxfFiler& filer, const AcGeVector3d& n) {
  if (!n.isEqualTo(AcGeVector3d::kZAxis)) filer.writeVector3d(210, n);
}

// OCS point to world for entities whose DXF points are in the object system.
AcGePoint3d OcsToWcs(const AcGePoint3d& p, const AcGeVector3d& n) {
  if (n.isEqualTo(AcGeVector3d::kZAxis)) return p;
  return AcGeMatrix3d::planeToWorld(n) * p;
}
AcGePoint3d WcsToOcs(const AcGePoint3d& p, const AcGeVector3d& n) {
  if (n.isEqualTo(AcGeVector3d::kZAxis)) return p;
  return AcGeMatrix3d::worldToPlane(n) * p;
}

AcGeVector3d ReadNormal(const AcDbDxfRecord& record) {
  AcGeVector3d n = AcGeVector3d::kZAxis;
  bool found = false;
  const auto& pairs = record.pairs;
  for (size_t i = 0, nPairs = pairs.size(); i < nPairs; ++i)
    if (pairs[i].code == 210) {
      AcGePoint3d p = AcDbDxfRecord::point(pairs, i);
      n.set(p.x, p.y, p.z);
      found = true;
    }
  if (!found) return n;  // most entities lie in the world's plane
  return n.isZeroLength() ? AcGeVector3d::kZAxis : n.normal();
}
}  // namespace

// ---- line -----------------------------------------------------------------

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& p) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_start = p;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& p) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_end = p;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setNormal(const AcGeVector3d& n) {
  if (n.isZeroLength()) return Acad::eInvalidInput;
  m_plane.setUnitNormal(n.normal());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setThickness(double t) { m_plane.setThickness(t); return Acad::eOk; }

Acad::ErrorStatus AcDbLine::getPointAtParam(double param, AcGePoint3d& point) const {
  double len = m_start.distanceTo(m_end);
  if (param < -kSlack || param > len + kSlack) return Acad::eInvalidInput;
  point = len > 0 ? m_start + (m_end - m_start) * (param / len) : m_start;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getParamAtPoint(const AcGePoint3d& point, double& param) const {
  AcGePoint3d closest;
  getClosestPointTo(point, closest);
  if (closest.distanceTo(point) > kPointTol * std::max(1.0, m_start.distanceTo(m_end))) return Acad::eInvalidInput;
  param = closest.distanceTo(m_start);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getDistAtParam(double param, double& dist) const {
  double len = m_start.distanceTo(m_end);
  if (param < -kSlack || param > len + kSlack) return Acad::eInvalidInput;
  dist = param;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getParamAtDist(double dist, double& param) const {
  return getDistAtParam(dist, param);
}

Acad::ErrorStatus AcDbLine::getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool extend) const {
  AcGeVector3d d = m_end - m_start;
  double l2 = d.lengthSqrd();
  if (l2 == 0.0) {
    closest = m_start;
    return Acad::eOk;
  }
  double t = (given - m_start).dotProduct(d) / l2;
  if (!extend) t = std::clamp(t, 0.0, 1.0);
  closest = m_start + d * t;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  extents.addPoint(m_start);
  extents.addPoint(m_end);
  if (m_plane.thickness() != 0.0) {
    extents.addPoint(m_start + m_plane.normal() * m_plane.thickness());
    extents.addPoint(m_end + m_plane.normal() * m_plane.thickness());
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::transformBy(const AcGeMatrix3d& xform) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_start = xform * m_start;
  m_end = xform * m_end;
  AcGeVector3d n = xform * m_plane.normal();
  if (!n.isZeroLength()) m_plane.setUnitNormal(n.normal());
  return Acad::eOk;
}

void AcDbLine::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbEntity::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbLine");
  if (m_plane.thickness() != 0.0) filer.writeDouble(39, m_plane.thickness());
  filer.writePoint3d(10, m_start);
  filer.writePoint3d(11, m_end);
  WriteNormal(filer, m_plane.normal());
}

Acad::ErrorStatus AcDbLine::dxfInFields(const AcDbDxfRecord& record) {
  AcDbEntity::dxfInFields(record);
  const auto& pairs = record.pairs;
  for (size_t i = 0, nPairs = pairs.size(); i < nPairs; ++i) {
    switch (pairs[i].code) {
      case 10: m_start = AcDbDxfRecord::point(pairs, i); break;
      case 11: m_end = AcDbDxfRecord::point(pairs, i); break;
      case 39: m_plane.setThickness(AcDbDxfRecord::real(pairs[i])); break;
      default: break;
    }
  }
  m_plane.setUnitNormal(ReadNormal(record));
  return Acad::eOk;
}

// ---- circle ---------------------------------------------------------------

AcDbCircle::AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
    : m_center(center), m_dRadius(radius) {
  if (!normal.isZeroLength()) m_plane.setUnitNormal(normal.normal());
}

Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& c) { m_center = c; return Acad::eOk; }
Acad::ErrorStatus AcDbCircle::setRadius(double r) {
  if (!(r > 0.0)) return Acad::eInvalidInput;
  m_dRadius = r;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::setNormal(const AcGeVector3d& n) {
  if (n.isZeroLength()) return Acad::eInvalidInput;
  m_plane.setUnitNormal(n.normal());
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::setThickness(double t) {
  m_plane.setThickness(t);
  return Acad::eOk;
}
double AcDbCircle::circumference() const { return kTwoPi * m_dRadius; }

Acad::ErrorStatus AcDbCircle::getEndParam(double& p) const { p = kTwoPi; return Acad::eOk; }

Acad::ErrorStatus AcDbCircle::getPointAtParam(double param, AcGePoint3d& point) const {
  point = PointOnCircle(m_center, m_plane.normal(), m_dRadius, param);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getParamAtPoint(const AcGePoint3d& point, double& param) const {
  AcGePoint3d closest;
  getClosestPointTo(point, closest);
  if (closest.distanceTo(point) > kPointTol * std::max(1.0, m_dRadius)) return Acad::eInvalidInput;
  param = AngleInPlane(m_center, m_plane.normal(), point);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getDistAtParam(double param, double& dist) const {
  if (param < -kSlack || param > kTwoPi + kSlack) return Acad::eInvalidInput;
  dist = param * m_dRadius;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getParamAtDist(double dist, double& param) const {
  if (m_dRadius <= 0 || dist < -kSlack || dist > circumference() * (1 + 1e-12) + kSlack) return Acad::eInvalidInput;
  param = dist / m_dRadius;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool) const {
  const AcGeVector3d& n = m_plane.normal();
  AcGeVector3d d = given - m_center;
  d -= n * d.dotProduct(n);
  if (d.isZeroLength()) d = acgeArbitraryXAxis(n);
  closest = m_center + d.normal() * m_dRadius;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getArea(double& area) const {
  area = kPi * m_dRadius * m_dRadius;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  AddArcExtents(extents, m_center, m_plane.normal(), m_dRadius, 0.0, kTwoPi);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::transformBy(const AcGeMatrix3d& xform) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!xform.isUniScaledOrtho()) return Acad::eNotApplicable;
  bool mirrored;
  m_plane.setUnitNormal(TransformNormal(xform, m_plane.normal(), mirrored));
  m_center = xform * m_center;
  m_dRadius *= xform.scale();
  return Acad::eOk;
}

void AcDbCircle::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbEntity::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbCircle");
  if (m_plane.thickness() != 0.0) filer.writeDouble(39, m_plane.thickness());
  filer.writePoint3d(10, WcsToOcs(m_center, m_plane.normal()));
  filer.writeDouble(40, m_dRadius);
  WriteNormal(filer, m_plane.normal());
}

Acad::ErrorStatus AcDbCircle::dxfInFields(const AcDbDxfRecord& record) {
  AcDbEntity::dxfInFields(record);
  const auto& pairs = record.pairs;
  AcGePoint3d c;
  for (size_t i = 0, nPairs = pairs.size(); i < nPairs; ++i) {
    switch (pairs[i].code) {
      case 10: c = AcDbDxfRecord::point(pairs, i); break;
      case 40: m_dRadius = AcDbDxfRecord::real(pairs[i]); break;
      case 39: setThickness(AcDbDxfRecord::real(pairs[i])); break;
      default: break;
    }
  }
  m_plane.setUnitNormal(ReadNormal(record));
  m_center = OcsToWcs(c, m_plane.normal());
  return Acad::eOk;
}

// ---- arc ------------------------------------------------------------------

AcDbArc::AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
    : m_center(center), m_dRadius(radius), m_dStart(NormalizeAngle(startAngle)), m_dEnd(NormalizeAngle(endAngle)) {}

AcDbArc::AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle,
                 double endAngle)
    : AcDbArc(center, radius, startAngle, endAngle) {
  if (!normal.isZeroLength()) m_plane.setUnitNormal(normal.normal());
}

Acad::ErrorStatus AcDbArc::setCenter(const AcGePoint3d& c) { m_center = c; return Acad::eOk; }
Acad::ErrorStatus AcDbArc::setRadius(double r) {
  if (!(r > 0.0)) return Acad::eInvalidInput;
  m_dRadius = r;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setNormal(const AcGeVector3d& n) {
  if (n.isZeroLength()) return Acad::eInvalidInput;
  m_plane.setUnitNormal(n.normal());
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setThickness(double t) { m_plane.setThickness(t); return Acad::eOk; }
Acad::ErrorStatus AcDbArc::setStartAngle(double a) { m_dStart = NormalizeAngle(a); return Acad::eOk; }
Acad::ErrorStatus AcDbArc::setEndAngle(double a) { m_dEnd = NormalizeAngle(a); return Acad::eOk; }
double AcDbArc::sweep() const { return Sweep(m_dStart, m_dEnd); }

AcGeCircArc3d AcDbArc::geArc() const {
  const AcGeVector3d& n = m_plane.normal();
  return AcGeCircArc3d(m_center, n, acgeArbitraryXAxis(n), m_dRadius, m_dStart, m_dStart + sweep());
}

Acad::ErrorStatus AcDbArc::getPointAtParam(double param, AcGePoint3d& point) const {
  if (param < m_dStart - kSlack || param > m_dStart + sweep() + kSlack) return Acad::eInvalidInput;
  point = PointOnCircle(m_center, m_plane.normal(), m_dRadius, param);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getParamAtPoint(const AcGePoint3d& point, double& param) const {
  AcGePoint3d closest;
  getClosestPointTo(point, closest);
  if (closest.distanceTo(point) > kPointTol * std::max(1.0, m_dRadius)) return Acad::eInvalidInput;
  double a = NormalizeAngle(AngleInPlane(m_center, m_plane.normal(), point) - m_dStart);
  if (a > sweep() + 1e-9) a = a > (sweep() + kTwoPi) / 2 ? 0.0 : sweep();
  param = m_dStart + std::min(a, sweep());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getDistAtParam(double param, double& dist) const {
  if (param < m_dStart - kSlack || param > m_dStart + sweep() + kSlack) return Acad::eInvalidInput;
  dist = std::max(0.0, (param - m_dStart) * m_dRadius);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getParamAtDist(double dist, double& param) const {
  if (m_dRadius <= 0 || dist < -kSlack || dist > length() * (1 + 1e-12) + kSlack) return Acad::eInvalidInput;
  param = m_dStart + std::clamp(dist / m_dRadius, 0.0, sweep());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool extend) const {
  if (extend) {
    AcDbCircle c(m_center, m_plane.normal(), m_dRadius);
    return c.getClosestPointTo(given, closest);
  }
  closest = geArc().closestPointTo(given);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getArea(double& area) const {
  double s = sweep();
  area = 0.5 * m_dRadius * m_dRadius * (s - std::sin(s));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  AddArcExtents(extents, m_center, m_plane.normal(), m_dRadius, m_dStart, sweep());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::transformBy(const AcGeMatrix3d& xform) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!xform.isUniScaledOrtho()) return Acad::eNotApplicable;
  AcGePoint3d s = xform * PointOnCircle(m_center, m_plane.normal(), m_dRadius, m_dStart);
  AcGePoint3d e = xform * PointOnCircle(m_center, m_plane.normal(), m_dRadius, m_dStart + sweep());
  bool mirrored;
  m_plane.setUnitNormal(TransformNormal(xform, m_plane.normal(), mirrored));
  m_center = xform * m_center;
  m_dRadius *= xform.scale();
  double a0 = AngleInPlane(m_center, m_plane.normal(), s), a1 = AngleInPlane(m_center, m_plane.normal(), e);
  m_dStart = mirrored ? a1 : a0;
  m_dEnd = mirrored ? a0 : a1;
  return Acad::eOk;
}

void AcDbArc::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbEntity::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbCircle");
  if (m_plane.thickness() != 0.0) filer.writeDouble(39, m_plane.thickness());
  filer.writePoint3d(10, WcsToOcs(m_center, m_plane.normal()));
  filer.writeDouble(40, m_dRadius);
  WriteNormal(filer, m_plane.normal());
  filer.writeUtf8(100, "AcDbArc");
  filer.writeDouble(50, m_dStart * 180.0 / kPi);
  filer.writeDouble(51, m_dEnd * 180.0 / kPi);
}

Acad::ErrorStatus AcDbArc::dxfInFields(const AcDbDxfRecord& record) {
  AcDbEntity::dxfInFields(record);
  const auto& pairs = record.pairs;
  AcGePoint3d c;
  for (size_t i = 0, nPairs = pairs.size(); i < nPairs; ++i) {
    switch (pairs[i].code) {
      case 10: c = AcDbDxfRecord::point(pairs, i); break;
      case 40: m_dRadius = AcDbDxfRecord::real(pairs[i]); break;
      case 39: m_plane.setThickness(AcDbDxfRecord::real(pairs[i])); break;
      case 50: m_dStart = NormalizeAngle(AcDbDxfRecord::real(pairs[i]) * kPi / 180.0); break;
      case 51: m_dEnd = NormalizeAngle(AcDbDxfRecord::real(pairs[i]) * kPi / 180.0); break;
      default: break;
    }
  }
  m_plane.setUnitNormal(ReadNormal(record));
  m_center = OcsToWcs(c, m_plane.normal());
  return Acad::eOk;
}

// ---- ellipse --------------------------------------------------------------

AcDbEllipse::AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& unitNormal, const AcGeVector3d& majorAxis,
                         double radiusRatio, double startAngle, double endAngle) {
  set(center, unitNormal, majorAxis, radiusRatio, startAngle, endAngle);
}

Acad::ErrorStatus AcDbEllipse::set(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                                   const AcGeVector3d& majorAxis, double radiusRatio, double startAngle,
                                   double endAngle) {
  if (unitNormal.isZeroLength() || majorAxis.isZeroLength() || !(radiusRatio > 0.0) || radiusRatio > 1.0 + 1e-9 ||
      !unitNormal.isPerpendicularTo(majorAxis, AcGeTol()))
    return Acad::eInvalidInput;
  m_center = center;
  m_normal = unitNormal.normal();
  m_major = majorAxis;
  m_dRatio = std::min(radiusRatio, 1.0);
  m_dStart = startAngle;
  m_dEnd = endAngle;
  if (std::fabs(m_dEnd - m_dStart) >= kTwoPi - 1e-12 || m_dEnd == m_dStart) {
    m_dStart = 0.0;
    m_dEnd = kTwoPi;
  } else {
    m_dStart = NormalizeAngle(m_dStart);
    m_dEnd = m_dStart + Sweep(m_dStart, endAngle);
  }
  return Acad::eOk;
}

AcGeEllipArc3d AcDbEllipse::geEllipse() const {
  double a = m_major.length();
  return AcGeEllipArc3d(m_center, m_major, m_normal.crossProduct(m_major), a, a * m_dRatio, m_dStart, m_dEnd);
}

bool AcDbEllipse::isClosed() const { return std::fabs(m_dEnd - m_dStart - kTwoPi) < 1e-8; }

Acad::ErrorStatus AcDbEllipse::getPointAtParam(double param, AcGePoint3d& point) const {
  if (param < m_dStart - kSlack || param > m_dEnd + kSlack) return Acad::eInvalidInput;
  point = geEllipse().evalPoint(param);
  return Acad::eOk;
}

double AcDbEllipse::closestParam(const AcGePoint3d& p) const {
  AcGeEllipArc3d e = geEllipse();
  // Coarse sampling, then golden-section refinement around the best sample.
  const int n = 256;
  double best = m_dStart, bestD = 1e300;
  for (int i = 0; i <= n; ++i) {
    double t = m_dStart + (m_dEnd - m_dStart) * i / n;
    double d = e.evalPoint(t).distanceTo(p);
    if (d < bestD) { bestD = d; best = t; }
  }
  double step = (m_dEnd - m_dStart) / n;
  double lo = std::max(m_dStart, best - step), hi = std::min(m_dEnd, best + step);
  const double g = 0.6180339887498949;
  for (int k = 0; k < 80; ++k) {
    double a = hi - g * (hi - lo), b = lo + g * (hi - lo);
    if (e.evalPoint(a).distanceTo(p) < e.evalPoint(b).distanceTo(p)) hi = b; else lo = a;
  }
  return (lo + hi) / 2;
}

Acad::ErrorStatus AcDbEllipse::getParamAtPoint(const AcGePoint3d& point, double& param) const {
  double t = closestParam(point);
  AcGePoint3d q = geEllipse().evalPoint(t);
  if (q.distanceTo(point) > 1e-6 * std::max(1.0, m_major.length())) return Acad::eInvalidInput;
  param = t;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getDistAtParam(double param, double& dist) const {
  if (param < m_dStart - kSlack || param > m_dEnd + kSlack) return Acad::eInvalidInput;
  dist = geEllipse().length(m_dStart, std::clamp(param, m_dStart, m_dEnd));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getParamAtDist(double dist, double& param) const {
  AcGeEllipArc3d e = geEllipse();
  double total = e.length(m_dStart, m_dEnd);
  if (dist < -kSlack || dist > total * (1 + 1e-9) + kSlack) return Acad::eInvalidInput;
  double lo = m_dStart, hi = m_dEnd;
  for (int k = 0; k < 60; ++k) {
    double mid = (lo + hi) / 2;
    if (e.length(m_dStart, mid) < dist) lo = mid; else hi = mid;
  }
  param = (lo + hi) / 2;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool) const {
  closest = geEllipse().evalPoint(closestParam(given));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getArea(double& area) const {
  double a = m_major.length(), b = a * m_dRatio;
  if (isClosed()) {
    area = kPi * a * b;
  } else {
    // Sector between the ends, less the triangle to the chord.
    double t0 = m_dStart, t1 = m_dEnd;
    double sector = 0.5 * a * b * (t1 - t0);
    double tri = 0.5 * a * b * std::sin(t1 - t0);
    area = sector - tri;
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  AcGeEllipArc3d e = geEllipse();
  AcGeVector3d minor = m_normal.crossProduct(m_major).normal() * (m_major.length() * m_dRatio);
  // Per axis, the extreme parameters solve tan t = (minor_i / major_i).
  for (int i = 0; i < 3; ++i) {
    double t = std::atan2(minor[i], m_major[i]);
    for (double c : {t, t + kPi}) {
      double rel = NormalizeAngle(c - m_dStart);
      if (rel <= m_dEnd - m_dStart) extents.addPoint(e.evalPoint(m_dStart + rel));
    }
  }
  extents.addPoint(e.evalPoint(m_dStart));
  extents.addPoint(e.evalPoint(m_dEnd));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::transformBy(const AcGeMatrix3d& xform) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!xform.isUniScaledOrtho()) return Acad::eNotApplicable;
  bool mirrored;
  AcGeVector3d n = TransformNormal(xform, m_normal, mirrored);
  AcGeVector3d major = xform * m_major;
  double s0 = m_dStart, s1 = m_dEnd;
  if (mirrored && !isClosed()) {
    // The turn changes sense: the arc runs from the old end to the old start.
    double ns = kTwoPi - s1, ne = kTwoPi - s0;
    s0 = ns;
    s1 = ne;
  }
  m_center = xform * m_center;
  m_normal = n;
  m_major = major;
  m_dStart = s0;
  m_dEnd = s1;
  return Acad::eOk;
}

void AcDbEllipse::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbEntity::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbEllipse");
  filer.writePoint3d(10, m_center);
  filer.writeVector3d(11, m_major);
  filer.writeVector3d(210, m_normal);
  filer.writeDouble(40, m_dRatio);
  filer.writeDouble(41, m_dStart);
  filer.writeDouble(42, m_dEnd);
}

Acad::ErrorStatus AcDbEllipse::dxfInFields(const AcDbDxfRecord& record) {
  AcDbEntity::dxfInFields(record);
  const auto& pairs = record.pairs;
  AcGePoint3d c, major(1, 0, 0);
  double ratio = 1.0, s = 0.0, e = kTwoPi;
  for (size_t i = 0; i < pairs.size(); ++i) {
    switch (pairs[i].code) {
      case 10: c = AcDbDxfRecord::point(pairs, i); break;
      case 11: major = AcDbDxfRecord::point(pairs, i); break;
      case 40: ratio = AcDbDxfRecord::real(pairs[i]); break;
      case 41: s = AcDbDxfRecord::real(pairs[i]); break;
      case 42: e = AcDbDxfRecord::real(pairs[i]); break;
      default: break;
    }
  }
  AcGeVector3d n = ReadNormal(record);
  AcGeVector3d maj = major.asVector();
  // Keep the major axis in the plane even when the file rounds it.
  maj -= n * maj.dotProduct(n);
  if (set(c, n, maj, ratio, s, e) != Acad::eOk) return Acad::eBadDxfSequence;
  return Acad::eOk;
}
