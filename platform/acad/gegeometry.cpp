// Points, vectors and transformation matrices of the geometry library.
#include "gegeometry.h"

#include <cmath>

namespace {
constexpr double kTwoPi = 6.28318530717958647692;
}

AcGeTol AcGeContext::gTol;

const AcGePoint2d AcGePoint2d::kOrigin(0.0, 0.0);
const AcGeVector2d AcGeVector2d::kIdentity(1.0, 1.0);
const AcGeVector2d AcGeVector2d::kXAxis(1.0, 0.0);
const AcGeVector2d AcGeVector2d::kYAxis(0.0, 1.0);
const AcGePoint3d AcGePoint3d::kOrigin(0.0, 0.0, 0.0);
const AcGeVector3d AcGeVector3d::kIdentity(1.0, 1.0, 1.0);
const AcGeVector3d AcGeVector3d::kXAxis(1.0, 0.0, 0.0);
const AcGeVector3d AcGeVector3d::kYAxis(0.0, 1.0, 0.0);
const AcGeVector3d AcGeVector3d::kZAxis(0.0, 0.0, 1.0);
const AcGeMatrix3d AcGeMatrix3d::kIdentity;

// ---- 2D -----------------------------------------------------------------

double AcGePoint2d::distanceTo(const AcGePoint2d& o) const { return std::hypot(x - o.x, y - o.y); }
bool AcGePoint2d::isEqualTo(const AcGePoint2d& o, const AcGeTol& tol) const {
  return distanceTo(o) <= tol.equalPoint();
}
AcGeVector2d AcGePoint2d::asVector() const { return {x, y}; }
AcGePoint2d AcGePoint2d::operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
AcGePoint2d AcGePoint2d::operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
AcGeVector2d AcGePoint2d::operator-(const AcGePoint2d& p) const { return {x - p.x, y - p.y}; }
AcGePoint2d& AcGePoint2d::operator+=(const AcGeVector2d& v) { x += v.x; y += v.y; return *this; }
AcGePoint2d& AcGePoint2d::operator-=(const AcGeVector2d& v) { x -= v.x; y -= v.y; return *this; }
AcGePoint2d& AcGePoint2d::rotateBy(double angle, const AcGePoint2d& c) {
  AcGeVector2d v = *this - c;
  v.rotateBy(angle);
  return *this = c + v;
}

double AcGeVector2d::length() const { return std::hypot(x, y); }
double AcGeVector2d::angle() const {
  double a = std::atan2(y, x);
  if (a < 0) a += kTwoPi;
  return a >= kTwoPi ? 0.0 : a;
}
double AcGeVector2d::angleTo(const AcGeVector2d& v) const {
  return std::fabs(std::atan2(x * v.y - y * v.x, dotProduct(v)));
}
AcGeVector2d AcGeVector2d::normal(const AcGeTol& tol) const {
  AcGeVector2d v(*this);
  return v.normalize(tol);
}
AcGeVector2d& AcGeVector2d::normalize(const AcGeTol& tol) {
  double len = length();
  if (len > tol.equalVector()) { x /= len; y /= len; }
  return *this;
}
AcGeVector2d& AcGeVector2d::rotateBy(double angle) {
  double c = std::cos(angle), s = std::sin(angle);
  return set(x * c - y * s, x * s + y * c);
}
bool AcGeVector2d::isZeroLength(const AcGeTol& tol) const { return length() <= tol.equalVector(); }
bool AcGeVector2d::isEqualTo(const AcGeVector2d& v, const AcGeTol& tol) const {
  return (*this - v).length() <= tol.equalVector();
}
bool AcGeVector2d::isParallelTo(const AcGeVector2d& v, const AcGeTol& tol) const {
  AcGeVector2d a = normal(tol), b = v.normal(tol);
  return std::fabs(a.x * b.y - a.y * b.x) <= tol.equalVector();
}

// ---- 3D -----------------------------------------------------------------

double AcGePoint3d::distanceTo(const AcGePoint3d& o) const { return (*this - o).length(); }
bool AcGePoint3d::isEqualTo(const AcGePoint3d& o, const AcGeTol& tol) const {
  return distanceTo(o) <= tol.equalPoint();
}
AcGeVector3d AcGePoint3d::asVector() const { return {x, y, z}; }
AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& m) { return *this = m * *this; }
AcGePoint3d& AcGePoint3d::rotateBy(double angle, const AcGeVector3d& axis, const AcGePoint3d& c) {
  return transformBy(AcGeMatrix3d::rotation(angle, axis, c));
}
AcGePoint3d& AcGePoint3d::scaleBy(double f, const AcGePoint3d& c) { return *this = c + (*this - c) * f; }
AcGePoint3d AcGePoint3d::operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
AcGePoint3d AcGePoint3d::operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
AcGeVector3d AcGePoint3d::operator-(const AcGePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
AcGePoint3d& AcGePoint3d::operator+=(const AcGeVector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
AcGePoint3d& AcGePoint3d::operator-=(const AcGeVector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }

double AcGeVector3d::length() const { return std::sqrt(lengthSqrd()); }
double AcGeVector3d::angleTo(const AcGeVector3d& v) const {
  return std::atan2(crossProduct(v).length(), dotProduct(v));
}
double AcGeVector3d::angleTo(const AcGeVector3d& v, const AcGeVector3d& ref) const {
  AcGeVector3d c = crossProduct(v);
  double a = std::atan2(c.length(), dotProduct(v));
  if (c.dotProduct(ref) < 0) a = kTwoPi - a;
  return a >= kTwoPi ? 0.0 : a;
}
AcGeVector3d AcGeVector3d::normal(const AcGeTol& tol) const {
  AcGeVector3d v(*this);
  return v.normalize(tol);
}
AcGeVector3d& AcGeVector3d::normalize(const AcGeTol& tol) {
  double len = length();
  if (len > tol.equalVector()) { x /= len; y /= len; z /= len; }
  return *this;
}
AcGeVector3d AcGeVector3d::perpVector() const {
  // Cross with the axis least parallel to this vector.
  double ax = std::fabs(x), ay = std::fabs(y), az = std::fabs(z);
  AcGeVector3d axis = ax <= ay && ax <= az ? kXAxis : (ay <= az ? kYAxis : kZAxis);
  return crossProduct(axis).normal();
}
AcGeVector3d& AcGeVector3d::rotateBy(double angle, const AcGeVector3d& axis) {
  return *this = AcGeMatrix3d::rotation(angle, axis) * *this;
}
AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& m) { return *this = m * *this; }
bool AcGeVector3d::isZeroLength(const AcGeTol& tol) const { return length() <= tol.equalVector(); }
bool AcGeVector3d::isUnitLength(const AcGeTol& tol) const { return std::fabs(length() - 1.0) <= tol.equalVector(); }
bool AcGeVector3d::isEqualTo(const AcGeVector3d& v, const AcGeTol& tol) const {
  return (*this - v).length() <= tol.equalVector();
}
bool AcGeVector3d::isParallelTo(const AcGeVector3d& v, const AcGeTol& tol) const {
  if (isZeroLength(tol) || v.isZeroLength(tol)) return false;
  return normal().crossProduct(v.normal()).length() <= tol.equalVector();
}
bool AcGeVector3d::isCodirectionalTo(const AcGeVector3d& v, const AcGeTol& tol) const {
  return isParallelTo(v, tol) && dotProduct(v) > 0;
}
bool AcGeVector3d::isPerpendicularTo(const AcGeVector3d& v, const AcGeTol& tol) const {
  if (isZeroLength(tol) || v.isZeroLength(tol)) return false;
  return std::fabs(normal().dotProduct(v.normal())) <= tol.equalVector();
}

AcGeVector3d acgeArbitraryXAxis(const AcGeVector3d& normal) {
  AcGeVector3d n = normal.normal();
  constexpr double kLimit = 1.0 / 64.0;
  AcGeVector3d ax = (std::fabs(n.x) < kLimit && std::fabs(n.y) < kLimit)
                        ? AcGeVector3d::kYAxis.crossProduct(n)
                        : AcGeVector3d::kZAxis.crossProduct(n);
  return ax.normal();
}

// ---- matrix -------------------------------------------------------------

AcGeMatrix3d::AcGeMatrix3d() { setToIdentity(); }

AcGeMatrix3d& AcGeMatrix3d::setToIdentity() {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) entry[r][c] = r == c ? 1.0 : 0.0;
  return *this;
}

AcGeMatrix3d AcGeMatrix3d::operator*(const AcGeMatrix3d& m) const {
  AcGeMatrix3d out;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      double s = 0;
      for (int k = 0; k < 4; ++k) s += entry[r][k] * m.entry[k][c];
      out.entry[r][c] = s;
    }
  return out;
}

bool AcGeMatrix3d::isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol) const {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (std::fabs(entry[r][c] - m.entry[r][c]) > tol.equalVector()) return false;
  return true;
}

AcGeMatrix3d& AcGeMatrix3d::setToTranslation(const AcGeVector3d& v) {
  setToIdentity();
  entry[0][3] = v.x; entry[1][3] = v.y; entry[2][3] = v.z;
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToRotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center) {
  setToIdentity();
  AcGeVector3d u = axis.normal();
  if (u.isZeroLength()) return *this;
  double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
  entry[0][0] = t * u.x * u.x + c;       entry[0][1] = t * u.x * u.y - s * u.z; entry[0][2] = t * u.x * u.z + s * u.y;
  entry[1][0] = t * u.x * u.y + s * u.z; entry[1][1] = t * u.y * u.y + c;       entry[1][2] = t * u.y * u.z - s * u.x;
  entry[2][0] = t * u.x * u.z - s * u.y; entry[2][1] = t * u.y * u.z + s * u.x; entry[2][2] = t * u.z * u.z + c;
  // Keep the centre fixed: p' = R (p - c) + c.
  AcGeVector3d cv = center.asVector();
  AcGeVector3d rc = *this * cv;
  entry[0][3] = cv.x - rc.x; entry[1][3] = cv.y - rc.y; entry[2][3] = cv.z - rc.z;
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToScaling(double f, const AcGePoint3d& c) {
  setToIdentity();
  entry[0][0] = entry[1][1] = entry[2][2] = f;
  entry[0][3] = c.x * (1 - f); entry[1][3] = c.y * (1 - f); entry[2][3] = c.z * (1 - f);
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGePoint3d& p) {
  setToScaling(-1.0, p);
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setCoordSystem(const AcGePoint3d& o, const AcGeVector3d& xa,
                                           const AcGeVector3d& ya, const AcGeVector3d& za) {
  setToIdentity();
  for (int r = 0; r < 3; ++r) {
    entry[r][0] = xa[r]; entry[r][1] = ya[r]; entry[r][2] = za[r]; entry[r][3] = o[r];
  }
  return *this;
}

void AcGeMatrix3d::getCoordSystem(AcGePoint3d& o, AcGeVector3d& xa, AcGeVector3d& ya, AcGeVector3d& za) const {
  for (int r = 0; r < 3; ++r) {
    xa[r] = entry[r][0]; ya[r] = entry[r][1]; za[r] = entry[r][2]; o[r] = entry[r][3];
  }
}

AcGeMatrix3d& AcGeMatrix3d::setToPlaneToWorld(const AcGeVector3d& normal) {
  AcGeVector3d z = normal.normal();
  if (z.isZeroLength()) return setToIdentity();
  AcGeVector3d x = acgeArbitraryXAxis(z);
  AcGeVector3d y = z.crossProduct(x).normal();
  return setCoordSystem(AcGePoint3d::kOrigin, x, y, z);
}

AcGeMatrix3d& AcGeMatrix3d::setToWorldToPlane(const AcGeVector3d& normal) {
  return *this = planeToWorld(normal).inverse();
}

AcGeMatrix3d& AcGeMatrix3d::setToAlignCoordSys(const AcGePoint3d& fo, const AcGeVector3d& fx,
                                               const AcGeVector3d& fy, const AcGeVector3d& fz,
                                               const AcGePoint3d& to, const AcGeVector3d& tx,
                                               const AcGeVector3d& ty, const AcGeVector3d& tz) {
  AcGeMatrix3d from, dest;
  from.setCoordSystem(fo, fx, fy, fz);
  dest.setCoordSystem(to, tx, ty, tz);
  return *this = dest * from.inverse();
}

double AcGeMatrix3d::det() const {
  // Full 4x4 determinant by cofactor expansion along the first row.
  auto m3 = [this](int r0, int r1, int r2, int c0, int c1, int c2) {
    return entry[r0][c0] * (entry[r1][c1] * entry[r2][c2] - entry[r1][c2] * entry[r2][c1]) -
           entry[r0][c1] * (entry[r1][c0] * entry[r2][c2] - entry[r1][c2] * entry[r2][c0]) +
           entry[r0][c2] * (entry[r1][c0] * entry[r2][c1] - entry[r1][c1] * entry[r2][c0]);
  };
  return entry[0][0] * m3(1, 2, 3, 1, 2, 3) - entry[0][1] * m3(1, 2, 3, 0, 2, 3) +
         entry[0][2] * m3(1, 2, 3, 0, 1, 3) - entry[0][3] * m3(1, 2, 3, 0, 1, 2);
}

AcGeMatrix3d AcGeMatrix3d::inverse() const {
  // Gauss-Jordan elimination with partial pivoting.
  double a[4][8];
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      a[r][c] = entry[r][c];
      a[r][c + 4] = r == c ? 1.0 : 0.0;
    }
  for (int col = 0; col < 4; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 4; ++r)
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    if (std::fabs(a[pivot][col]) < 1e-300) return AcGeMatrix3d();
    if (pivot != col)
      for (int c = 0; c < 8; ++c) std::swap(a[pivot][c], a[col][c]);
    double p = a[col][col];
    for (int c = 0; c < 8; ++c) a[col][c] /= p;
    for (int r = 0; r < 4; ++r) {
      if (r == col) continue;
      double f = a[r][col];
      if (f == 0.0) continue;
      for (int c = 0; c < 8; ++c) a[r][c] -= f * a[col][c];
    }
  }
  AcGeMatrix3d out;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out.entry[r][c] = a[r][c + 4];
  return out;
}

AcGeMatrix3d AcGeMatrix3d::transpose() const {
  AcGeMatrix3d out;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) out.entry[r][c] = entry[c][r];
  return out;
}

bool AcGeMatrix3d::isSingular(const AcGeTol& tol) const { return std::fabs(det()) <= tol.equalVector(); }

double AcGeMatrix3d::scale() const {
  double s = 0;
  for (int c = 0; c < 3; ++c) {
    AcGeVector3d col(entry[0][c], entry[1][c], entry[2][c]);
    s = std::max(s, col.length());
  }
  return s;
}

bool AcGeMatrix3d::isUniScaledOrtho(const AcGeTol& tol) const {
  AcGeVector3d c0(entry[0][0], entry[1][0], entry[2][0]);
  AcGeVector3d c1(entry[0][1], entry[1][1], entry[2][1]);
  AcGeVector3d c2(entry[0][2], entry[1][2], entry[2][2]);
  double l = c0.length();
  if (l <= tol.equalVector()) return false;
  double eps = std::max(tol.equalVector(), 1e-9) * l;
  return std::fabs(c1.length() - l) <= eps && std::fabs(c2.length() - l) <= eps &&
         std::fabs(c0.dotProduct(c1)) <= eps * l && std::fabs(c0.dotProduct(c2)) <= eps * l &&
         std::fabs(c1.dotProduct(c2)) <= eps * l;
}

AcGeMatrix3d AcGeMatrix3d::translation(const AcGeVector3d& v) { AcGeMatrix3d m; return m.setToTranslation(v); }
AcGeMatrix3d AcGeMatrix3d::rotation(double a, const AcGeVector3d& axis, const AcGePoint3d& c) {
  AcGeMatrix3d m; return m.setToRotation(a, axis, c);
}
AcGeMatrix3d AcGeMatrix3d::scaling(double f, const AcGePoint3d& c) { AcGeMatrix3d m; return m.setToScaling(f, c); }
AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePoint3d& p) { AcGeMatrix3d m; return m.setToMirroring(p); }
AcGeMatrix3d AcGeMatrix3d::planeToWorld(const AcGeVector3d& n) { AcGeMatrix3d m; return m.setToPlaneToWorld(n); }
AcGeMatrix3d AcGeMatrix3d::worldToPlane(const AcGeVector3d& n) { AcGeMatrix3d m; return m.setToWorldToPlane(n); }
AcGeMatrix3d AcGeMatrix3d::alignCoordSys(const AcGePoint3d& fo, const AcGeVector3d& fx, const AcGeVector3d& fy,
                                         const AcGeVector3d& fz, const AcGePoint3d& to, const AcGeVector3d& tx,
                                         const AcGeVector3d& ty, const AcGeVector3d& tz) {
  AcGeMatrix3d m; return m.setToAlignCoordSys(fo, fx, fy, fz, to, tx, ty, tz);
}

AcGePoint3d operator*(const AcGeMatrix3d& m, const AcGePoint3d& p) {
  double out[3];
  for (int r = 0; r < 3; ++r)
    out[r] = m.entry[r][0] * p.x + m.entry[r][1] * p.y + m.entry[r][2] * p.z + m.entry[r][3];
  return {out[0], out[1], out[2]};
}

AcGeVector3d operator*(const AcGeMatrix3d& m, const AcGeVector3d& v) {
  double out[3];
  for (int r = 0; r < 3; ++r) out[r] = m.entry[r][0] * v.x + m.entry[r][1] * v.y + m.entry[r][2] * v.z;
  return {out[0], out[1], out[2]};
}
