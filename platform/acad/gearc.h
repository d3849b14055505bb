// Circular arcs in 2D and 3D (also through three points) and elliptical arcs
// in 3D. Angles are radians measured from the reference vector,
// counter-clockwise about the normal.
#pragma once

#include "gegeometry.h"

class AcGeCircArc2d {
 public:
  AcGeCircArc2d() = default;
  AcGeCircArc2d(const AcGePoint2d& center, double radius);
  AcGeCircArc2d(const AcGePoint2d& center, double radius, double startAngle, double endAngle,
                const AcGeVector2d& refVec = AcGeVector2d::kXAxis, bool isClockWise = false);
  // The arc from start through middle to end; degenerate (radius 0) when
  // the three points are collinear.
  AcGeCircArc2d(const AcGePoint2d& start, const AcGePoint2d& middle, const AcGePoint2d& end);

  AcGePoint2d center() const { return m_center; }
  double radius() const { return m_dRadius; }
  double startAng() const { return m_dStart; }
  double endAng() const { return m_dEnd; }
  bool isClockWise() const { return m_bClockWise; }
  AcGeVector2d refVec() const { return m_refVec; }
  AcGePoint2d startPoint() const { return evalPoint(m_dStart); }
  AcGePoint2d endPoint() const { return evalPoint(m_dEnd); }
  // The point at the angle (from the reference vector, in the arc's sense).
  AcGePoint2d evalPoint(double angle) const;
  double sweep() const { return m_dEnd - m_dStart; }
  bool isDegenerate() const { return m_dRadius <= 0.0; }
  AcGeCircArc2d& setCenter(const AcGePoint2d& c) { m_center = c; return *this; }
  AcGeCircArc2d& setRadius(double r) { m_dRadius = r; return *this; }
  AcGeCircArc2d& setAngles(double startAngle, double endAngle);

 private:
  AcGePoint2d m_center;
  double m_dRadius = 0.0;
  double m_dStart = 0.0;
  double m_dEnd = 6.28318530717958647692;
  AcGeVector2d m_refVec = AcGeVector2d::kXAxis;
  bool m_bClockWise = false;
};

class AcGeCircArc3d {
 public:
  AcGeCircArc3d() = default;
  AcGeCircArc3d(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);
  AcGeCircArc3d(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGeVector3d& refVec,
                double radius, double startAngle, double endAngle);
  // The arc from start through middle to end; its normal follows the turn.
  AcGeCircArc3d(const AcGePoint3d& start, const AcGePoint3d& middle, const AcGePoint3d& end);

  AcGePoint3d center() const { return m_center; }
  AcGeVector3d normal() const { return m_normal; }
  AcGeVector3d refVec() const { return m_refVec; }
  double radius() const { return m_dRadius; }
  double startAng() const { return m_dStart; }
  double endAng() const { return m_dEnd; }
  AcGePoint3d startPoint() const { return evalPoint(m_dStart); }
  AcGePoint3d endPoint() const { return evalPoint(m_dEnd); }
  AcGePoint3d evalPoint(double angle) const;
  bool isDegenerate() const { return m_dRadius <= 0.0; }
  // The nearest point of the arc (its end points included).
  AcGePoint3d closestPointTo(const AcGePoint3d& point) const;
  bool isOn(const AcGePoint3d& point, const AcGeTol& tol = AcGeContext::gTol) const;
  AcGeCircArc3d& set(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGeVector3d& refVec,
                     double radius, double startAngle, double endAngle);

 private:
  AcGePoint3d m_center;
  AcGeVector3d m_normal = AcGeVector3d::kZAxis;
  AcGeVector3d m_refVec = AcGeVector3d::kXAxis;
  double m_dRadius = 0.0;
  double m_dStart = 0.0;
  double m_dEnd = 6.28318530717958647692;
};

class AcGeEllipArc3d {
 public:
  AcGeEllipArc3d() = default;
  AcGeEllipArc3d(const AcGePoint3d& center, const AcGeVector3d& majorAxis, const AcGeVector3d& minorAxis,
                 double majorRadius, double minorRadius, double startAngle = 0.0,
                 double endAngle = 6.28318530717958647692);

  AcGePoint3d center() const { return m_center; }
  AcGeVector3d majorAxis() const { return m_major; }
  AcGeVector3d minorAxis() const { return m_minor; }
  double majorRadius() const { return m_dMajorRadius; }
  double minorRadius() const { return m_dMinorRadius; }
  double startAng() const { return m_dStart; }
  double endAng() const { return m_dEnd; }
  AcGeVector3d normal() const { return m_major.crossProduct(m_minor).normal(); }
  AcGePoint3d startPoint() const { return evalPoint(m_dStart); }
  AcGePoint3d endPoint() const { return evalPoint(m_dEnd); }
  // The point at the parameter angle t: centre + a cos t major + b sin t minor.
  AcGePoint3d evalPoint(double param) const;
  bool isCircular(const AcGeTol& tol = AcGeContext::gTol) const;
  // Length of the arc between two parameters (numerical integration).
  double length(double fromParam, double toParam) const;

 private:
  AcGePoint3d m_center;
  AcGeVector3d m_major = AcGeVector3d::kXAxis;
  AcGeVector3d m_minor = AcGeVector3d::kYAxis;
  double m_dMajorRadius = 1.0;
  double m_dMinorRadius = 1.0;
  double m_dStart = 0.0;
  double m_dEnd = 6.28318530717958647692;
};
