// Circular arcs in 2D and 3D (also through three points) and elliptical arcs.
#include "gearc.h"

#include <cmath>

namespace {
constexpr double kTwoPi = 6.28318530717958647692;

double NormalizeAngle(double a) {
  a = std::fmod(a, kTwoPi);
  if (a < 0) a += kTwoPi;
  return a;
}

// End angle after the start: an equal angle means a full turn.
double EndAfterStart(double start, double end) {
  double sweep = NormalizeAngle(end - start);
  if (sweep <= 1e-12) sweep = kTwoPi;
  return start + sweep;
}

// Centre of the circle through three points in a plane; false when collinear.
bool CircleCenter2d(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& c, AcGePoint2d& center) {
  double bx = b.x - a.x, by = b.y - a.y, cx = c.x - a.x, cy = c.y - a.y;
  double d = 2.0 * (bx * cy - by * cx);
  double scale = std::max({std::fabs(bx), std::fabs(by), std::fabs(cx), std::fabs(cy), 1e-300});
  if (std::fabs(d) <= 1e-12 * scale * scale) return false;
  double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
  center.set(a.x + (cy * b2 - by * c2) / d, a.y + (bx * c2 - cx * b2) / d);
  return true;
}
}  // namespace

// ---- AcGeCircArc2d --------------------------------------------------------

AcGeCircArc2d::AcGeCircArc2d(const AcGePoint2d& center, double radius) : m_center(center), m_dRadius(radius) {}

AcGeCircArc2d::AcGeCircArc2d(const AcGePoint2d& center, double radius, double startAngle, double endAngle,
                             const AcGeVector2d& refVec, bool isClockWise)
    : m_center(center), m_dRadius(radius), m_refVec(refVec.normal()), m_bClockWise(isClockWise) {
  setAngles(startAngle, endAngle);
}

AcGeCircArc2d::AcGeCircArc2d(const AcGePoint2d& s, const AcGePoint2d& m, const AcGePoint2d& e) {
  AcGePoint2d c;
  if (!CircleCenter2d(s, m, e, c)) {
    m_center = s;
    m_dRadius = 0.0;
    m_dStart = m_dEnd = 0.0;
    return;
  }
  m_center = c;
  m_dRadius = c.distanceTo(s);
  double turn = (m - s).x * (e - m).y - (m - s).y * (e - m).x;
  m_bClockWise = turn < 0;
  double a0 = (s - c).angle(), a1 = (e - c).angle();
  if (m_bClockWise) {
    // Angles are measured clockwise from the reference vector.
    a0 = NormalizeAngle(-a0);
    a1 = NormalizeAngle(-a1);
  }
  m_dStart = a0;
  m_dEnd = EndAfterStart(a0, a1);
}

AcGeCircArc2d& AcGeCircArc2d::setAngles(double startAngle, double endAngle) {
  m_dStart = startAngle;
  m_dEnd = endAngle < startAngle ? EndAfterStart(startAngle, endAngle) : endAngle;
  return *this;
}

AcGePoint2d AcGeCircArc2d::evalPoint(double angle) const {
  AcGeVector2d v = m_refVec * m_dRadius;
  v.rotateBy(m_bClockWise ? -angle : angle);
  return m_center + v;
}

// ---- AcGeCircArc3d --------------------------------------------------------

AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& center, const AcGeVector3d& normal, double radius) {
  set(center, normal, acgeArbitraryXAxis(normal), radius, 0.0, kTwoPi);
}

AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGeVector3d& refVec,
                             double radius, double startAngle, double endAngle) {
  set(center, normal, refVec, radius, startAngle, endAngle);
}

AcGeCircArc3d& AcGeCircArc3d::set(const AcGePoint3d& center, const AcGeVector3d& normal,
                                  const AcGeVector3d& refVec, double radius, double startAngle, double endAngle) {
  m_center = center;
  m_normal = normal.normal();
  // Keep the reference vector in the arc's plane.
  AcGeVector3d r = refVec - m_normal * refVec.dotProduct(m_normal);
  m_refVec = r.isZeroLength() ? acgeArbitraryXAxis(m_normal) : r.normal();
  m_dRadius = radius;
  m_dStart = startAngle;
  m_dEnd = endAngle < startAngle ? EndAfterStart(startAngle, endAngle) : endAngle;
  return *this;
}

AcGeCircArc3d::AcGeCircArc3d(const AcGePoint3d& s, const AcGePoint3d& m, const AcGePoint3d& e) {
  AcGeVector3d n = (m - s).crossProduct(e - m);
  if (n.length() <= 1e-12 * std::max(1.0, (m - s).lengthSqrd() + (e - m).lengthSqrd())) {
    m_center = s;
    m_dRadius = 0.0;
    m_dStart = m_dEnd = 0.0;
    return;
  }
  n.normalize();
  // Work in the plane of the three points, where the turn is counter-clockwise.
  AcGeVector3d ux = (m - s).normal();
  AcGeVector3d uy = n.crossProduct(ux);
  auto to2d = [&](const AcGePoint3d& p) { AcGeVector3d d = p - s; return AcGePoint2d(d.dotProduct(ux), d.dotProduct(uy)); };
  AcGePoint2d c2;
  CircleCenter2d(to2d(s), to2d(m), to2d(e), c2);
  AcGePoint3d c = s + ux * c2.x + uy * c2.y;
  AcGeVector3d ref = (s - c).normal();
  double sweep = ref.angleTo((e - c).normal(), n);
  if (sweep <= 1e-12) sweep = kTwoPi;
  set(c, n, ref, c.distanceTo(s), 0.0, sweep);
}

AcGePoint3d AcGeCircArc3d::evalPoint(double angle) const {
  AcGeVector3d y = m_normal.crossProduct(m_refVec);
  return m_center + (m_refVec * std::cos(angle) + y * std::sin(angle)) * m_dRadius;
}

AcGePoint3d AcGeCircArc3d::closestPointTo(const AcGePoint3d& p) const {
  AcGeVector3d y = m_normal.crossProduct(m_refVec);
  AcGeVector3d d = p - m_center;
  double px = d.dotProduct(m_refVec), py = d.dotProduct(y);
  if (std::fabs(px) + std::fabs(py) > 0) {
    double a = NormalizeAngle(std::atan2(py, px) - m_dStart) + m_dStart;
    if (a <= m_dEnd + 1e-12) return evalPoint(a);
  }
  AcGePoint3d s = startPoint(), e = endPoint();
  return p.distanceTo(s) <= p.distanceTo(e) ? s : e;
}

bool AcGeCircArc3d::isOn(const AcGePoint3d& p, const AcGeTol& tol) const {
  return closestPointTo(p).distanceTo(p) <= tol.equalPoint();
}

// ---- AcGeEllipArc3d -------------------------------------------------------

AcGeEllipArc3d::AcGeEllipArc3d(const AcGePoint3d& center, const AcGeVector3d& majorAxis,
                               const AcGeVector3d& minorAxis, double majorRadius, double minorRadius,
                               double startAngle, double endAngle)
    : m_center(center), m_major(majorAxis.normal()), m_minor(minorAxis.normal()),
      m_dMajorRadius(majorRadius), m_dMinorRadius(minorRadius), m_dStart(startAngle),
      m_dEnd(endAngle < startAngle ? EndAfterStart(startAngle, endAngle) : endAngle) {}

AcGePoint3d AcGeEllipArc3d::evalPoint(double t) const {
  return m_center + m_major * (m_dMajorRadius * std::cos(t)) + m_minor * (m_dMinorRadius * std::sin(t));
}

bool AcGeEllipArc3d::isCircular(const AcGeTol& tol) const {
  return std::fabs(m_dMajorRadius - m_dMinorRadius) <= tol.equalPoint();
}

double AcGeEllipArc3d::length(double from, double to) const {
  // Composite Simpson rule on the speed |d/dt|; 64 panels per full turn keep
  // the error far below drawing precision for usual ratios.
  if (to < from) std::swap(from, to);
  int n = std::max(8, static_cast<int>(std::ceil((to - from) / kTwoPi * 256)));
  if (n % 2) ++n;
  auto speed = [this](double t) {
    return std::hypot(m_dMajorRadius * std::sin(t), m_dMinorRadius * std::cos(t));
  };
  double h = (to - from) / n, s = speed(from) + speed(to);
  for (int i = 1; i < n; ++i) s += speed(from + i * h) * (i % 2 ? 4 : 2);
  return s * h / 3.0;
}
