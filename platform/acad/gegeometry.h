// Geometry of the CAD host: tolerance, 2D and 3D points and vectors, and the
// 4x4 transformation matrix (translation, rotation, scaling, plane-to-world
// and coordinate-system changes).
#pragma once

#include "acarray.h"

class AcGeMatrix3d;

// Two tolerances: points closer than equalPoint are equal; vectors whose
// difference is shorter than equalVector are equal.
class AcGeTol {
 public:
  AcGeTol() = default;
  double equalPoint() const { return m_dEqualPoint; }
  double equalVector() const { return m_dEqualVector; }
  void setEqualPoint(double value) { m_dEqualPoint = value; }
  void setEqualVector(double value) { m_dEqualVector = value; }

 private:
  double m_dEqualPoint = 1e-10;
  double m_dEqualVector = 1e-12;
};

struct AcGeContext {
  static AcGeTol gTol;  // the global tolerance every default argument uses
};

class AcGeVector2d;

class AcGePoint2d {
 public:
  AcGePoint2d() = default;
  AcGePoint2d(double xx, double yy) : x(xx), y(yy) {}
  static const AcGePoint2d kOrigin;

  AcGePoint2d& set(double xx, double yy) { x = xx; y = yy; return *this; }
  double distanceTo(const AcGePoint2d& other) const;
  bool isEqualTo(const AcGePoint2d& other, const AcGeTol& tol = AcGeContext::gTol) const;
  AcGeVector2d asVector() const;
  AcGePoint2d operator+(const AcGeVector2d& v) const;
  AcGePoint2d operator-(const AcGeVector2d& v) const;
  AcGeVector2d operator-(const AcGePoint2d& p) const;
  AcGePoint2d& operator+=(const AcGeVector2d& v);
  AcGePoint2d& operator-=(const AcGeVector2d& v);
  AcGePoint2d operator*(double s) const { return {x * s, y * s}; }
  AcGePoint2d operator/(double s) const { return {x / s, y / s}; }
  AcGePoint2d& rotateBy(double angle, const AcGePoint2d& wrtPoint = kOrigin);
  bool operator==(const AcGePoint2d& p) const { return isEqualTo(p); }
  bool operator!=(const AcGePoint2d& p) const { return !isEqualTo(p); }
  double operator[](int i) const { return i == 0 ? x : y; }
  double& operator[](int i) { return i == 0 ? x : y; }

  double x = 0.0;
  double y = 0.0;
};

class AcGeVector2d {
 public:
  AcGeVector2d() = default;
  AcGeVector2d(double xx, double yy) : x(xx), y(yy) {}
  static const AcGeVector2d kIdentity;
  static const AcGeVector2d kXAxis;
  static const AcGeVector2d kYAxis;

  AcGeVector2d& set(double xx, double yy) { x = xx; y = yy; return *this; }
  double length() const;
  double lengthSqrd() const { return x * x + y * y; }
  // Angle to the X axis in [0, 2pi).
  double angle() const;
  // Unsigned angle between the two vectors in [0, pi].
  double angleTo(const AcGeVector2d& v) const;
  double dotProduct(const AcGeVector2d& v) const { return x * v.x + y * v.y; }
  AcGeVector2d normal(const AcGeTol& tol = AcGeContext::gTol) const;
  AcGeVector2d& normalize(const AcGeTol& tol = AcGeContext::gTol);
  AcGeVector2d perpVector() const { return {-y, x}; }
  AcGeVector2d& rotateBy(double angle);
  AcGeVector2d& negate() { x = -x; y = -y; return *this; }
  bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const;
  bool isEqualTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  bool isParallelTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  AcGeVector2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
  AcGeVector2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
  AcGeVector2d operator-() const { return {-x, -y}; }
  AcGeVector2d operator*(double s) const { return {x * s, y * s}; }
  AcGeVector2d operator/(double s) const { return {x / s, y / s}; }
  AcGeVector2d& operator+=(const AcGeVector2d& v) { x += v.x; y += v.y; return *this; }
  AcGeVector2d& operator-=(const AcGeVector2d& v) { x -= v.x; y -= v.y; return *this; }
  AcGeVector2d& operator*=(double s) { x *= s; y *= s; return *this; }
  bool operator==(const AcGeVector2d& v) const { return isEqualTo(v); }
  bool operator!=(const AcGeVector2d& v) const { return !isEqualTo(v); }

  double x = 0.0;
  double y = 0.0;
};

inline AcGeVector2d operator*(double s, const AcGeVector2d& v) { return v * s; }

class AcGeVector3d;

class AcGePoint3d {
 public:
  AcGePoint3d() = default;
  AcGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
  static const AcGePoint3d kOrigin;

  AcGePoint3d& set(double xx, double yy, double zz) { x = xx; y = yy; z = zz; return *this; }
  double distanceTo(const AcGePoint3d& other) const;
  bool isEqualTo(const AcGePoint3d& other, const AcGeTol& tol = AcGeContext::gTol) const;
  AcGeVector3d asVector() const;
  AcGePoint2d convert2d() const { return {x, y}; }  // drops z
  AcGePoint3d& transformBy(const AcGeMatrix3d& m);
  AcGePoint3d& rotateBy(double angle, const AcGeVector3d& axis, const AcGePoint3d& wrtPoint = kOrigin);
  AcGePoint3d& scaleBy(double factor, const AcGePoint3d& wrtPoint = kOrigin);
  AcGePoint3d operator+(const AcGeVector3d& v) const;
  AcGePoint3d operator-(const AcGeVector3d& v) const;
  AcGeVector3d operator-(const AcGePoint3d& p) const;
  AcGePoint3d& operator+=(const AcGeVector3d& v);
  AcGePoint3d& operator-=(const AcGeVector3d& v);
  AcGePoint3d operator*(double s) const { return {x * s, y * s, z * s}; }
  AcGePoint3d operator/(double s) const { return {x / s, y / s, z / s}; }
  bool operator==(const AcGePoint3d& p) const { return isEqualTo(p); }
  bool operator!=(const AcGePoint3d& p) const { return !isEqualTo(p); }
  double operator[](int i) const { return i == 0 ? x : i == 1 ? y : z; }
  double& operator[](int i) { return i == 0 ? x : i == 1 ? y : z; }

  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

class AcGeVector3d {
 public:
  AcGeVector3d() = default;
  AcGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
  static const AcGeVector3d kIdentity;
  static const AcGeVector3d kXAxis;
  static const AcGeVector3d kYAxis;
  static const AcGeVector3d kZAxis;

  AcGeVector3d& set(double xx, double yy, double zz) { x = xx; y = yy; z = zz; return *this; }
  double length() const;
  double lengthSqrd() const { return x * x + y * y + z * z; }
  double dotProduct(const AcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
  AcGeVector3d crossProduct(const AcGeVector3d& v) const {
    return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
  }
  // Unsigned angle in [0, pi].
  double angleTo(const AcGeVector3d& v) const;
  // Angle in [0, 2pi) turning counter-clockwise about the reference vector.
  double angleTo(const AcGeVector3d& v, const AcGeVector3d& reference) const;
  AcGeVector3d normal(const AcGeTol& tol = AcGeContext::gTol) const;
  AcGeVector3d& normalize(const AcGeTol& tol = AcGeContext::gTol);
  // Some vector perpendicular to this one.
  AcGeVector3d perpVector() const;
  AcGeVector3d& rotateBy(double angle, const AcGeVector3d& axis);
  AcGeVector3d& transformBy(const AcGeMatrix3d& m);
  AcGeVector3d& negate() { x = -x; y = -y; z = -z; return *this; }
  AcGeVector2d convert2d() const { return {x, y}; }
  bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const;
  bool isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const;
  bool isEqualTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  bool isParallelTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  bool isCodirectionalTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  bool isPerpendicularTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  AcGeVector3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  AcGeVector3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  AcGeVector3d operator-() const { return {-x, -y, -z}; }
  AcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
  AcGeVector3d operator/(double s) const { return {x / s, y / s, z / s}; }
  AcGeVector3d& operator+=(const AcGeVector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
  AcGeVector3d& operator-=(const AcGeVector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
  AcGeVector3d& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
  bool operator==(const AcGeVector3d& v) const { return isEqualTo(v); }
  bool operator!=(const AcGeVector3d& v) const { return !isEqualTo(v); }
  double operator[](int i) const { return i == 0 ? x : i == 1 ? y : z; }
  double& operator[](int i) { return i == 0 ? x : i == 1 ? y : z; }

  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

inline AcGeVector3d operator*(double s, const AcGeVector3d& v) { return v * s; }

// A 4x4 affine transformation acting on column vectors (p' = M p).
class AcGeMatrix3d {
 public:
  AcGeMatrix3d();
  static const AcGeMatrix3d kIdentity;

  double operator()(int row, int col) const { return entry[row][col]; }
  double& operator()(int row, int col) { return entry[row][col]; }
  AcGeMatrix3d operator*(const AcGeMatrix3d& m) const;
  AcGeMatrix3d& operator*=(const AcGeMatrix3d& m) { return *this = *this * m; }
  AcGeMatrix3d& preMultBy(const AcGeMatrix3d& left) { return *this = left * *this; }
  AcGeMatrix3d& postMultBy(const AcGeMatrix3d& right) { return *this = *this * right; }
  bool isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol = AcGeContext::gTol) const;
  bool operator==(const AcGeMatrix3d& m) const { return isEqualTo(m); }

  AcGeMatrix3d& setToIdentity();
  AcGeMatrix3d& setToTranslation(const AcGeVector3d& v);
  AcGeMatrix3d& setToRotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center = AcGePoint3d::kOrigin);
  AcGeMatrix3d& setToScaling(double factor, const AcGePoint3d& center = AcGePoint3d::kOrigin);
  AcGeMatrix3d& setToMirroring(const AcGePoint3d& point);
  // The matrix that takes the plane coordinate system of the normal (its
  // arbitrary-axis X and Y directions) to the world, and back.
  AcGeMatrix3d& setToPlaneToWorld(const AcGeVector3d& normal);
  AcGeMatrix3d& setToWorldToPlane(const AcGeVector3d& normal);
  AcGeMatrix3d& setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                               const AcGeVector3d& yAxis, const AcGeVector3d& zAxis);
  void getCoordSystem(AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis, AcGeVector3d& zAxis) const;
  AcGeMatrix3d& setToAlignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromX,
                                   const AcGeVector3d& fromY, const AcGeVector3d& fromZ,
                                   const AcGePoint3d& toOrigin, const AcGeVector3d& toX,
                                   const AcGeVector3d& toY, const AcGeVector3d& toZ);
  AcGeVector3d translation() const { return {entry[0][3], entry[1][3], entry[2][3]}; }

  double det() const;
  AcGeMatrix3d inverse() const;  // the identity when singular
  AcGeMatrix3d& invert() { return *this = inverse(); }
  AcGeMatrix3d transpose() const;
  bool isSingular(const AcGeTol& tol = AcGeContext::gTol) const;
  // The largest length a unit vector gets (the scale of a uniform scaling).
  double scale() const;
  bool isUniScaledOrtho(const AcGeTol& tol = AcGeContext::gTol) const;

  static AcGeMatrix3d translation(const AcGeVector3d& v);
  static AcGeMatrix3d rotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center = AcGePoint3d::kOrigin);
  static AcGeMatrix3d scaling(double factor, const AcGePoint3d& center = AcGePoint3d::kOrigin);
  static AcGeMatrix3d mirroring(const AcGePoint3d& point);
  static AcGeMatrix3d planeToWorld(const AcGeVector3d& normal);
  static AcGeMatrix3d worldToPlane(const AcGeVector3d& normal);
  static AcGeMatrix3d alignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromX,
                                    const AcGeVector3d& fromY, const AcGeVector3d& fromZ,
                                    const AcGePoint3d& toOrigin, const AcGeVector3d& toX,
                                    const AcGeVector3d& toY, const AcGeVector3d& toZ);

  double entry[4][4];
};

AcGePoint3d operator*(const AcGeMatrix3d& m, const AcGePoint3d& p);
AcGeVector3d operator*(const AcGeMatrix3d& m, const AcGeVector3d& v);

// The X direction of the object coordinate system of a normal: the DXF
// arbitrary-axis rule.
AcGeVector3d acgeArbitraryXAxis(const AcGeVector3d& normal);

typedef AcArray<AcGePoint2d> AcGePoint2dArray;
typedef AcArray<AcGePoint3d> AcGePoint3dArray;
typedef AcArray<AcGeVector2d> AcGeVector2dArray;
typedef AcArray<AcGeVector3d> AcGeVector3dArray;
