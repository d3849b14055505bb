// The simple curves: line, circle, arc and ellipse. Circles, arcs and
// ellipses lie in the plane of their normal; their angles are measured in
// that plane's coordinate system (the arbitrary-axis rule).
#pragma once

#include <memory>

#include "dbcurve.h"
#include "dbentityplane.h"
#include "gearc.h"

class AcDbLine : public AcDbCurve {
  ACRX_DECLARE_MEMBERS(AcDbLine)

 public:
  AcDbLine() = default;
  AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : m_start(start), m_end(end) {}
  ACDB_DECLARE_CLONE(AcDbLine)

  AcGePoint3d startPoint() const { return m_start; }
  AcGePoint3d endPoint() const { return m_end; }
  Acad::ErrorStatus setStartPoint(const AcGePoint3d& p);
  Acad::ErrorStatus setEndPoint(const AcGePoint3d& p);
  AcGeVector3d normal() const { return m_plane.normal(); }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return m_plane.thickness(); }
  Acad::ErrorStatus setThickness(double t);

  Acad::ErrorStatus getStartParam(double& p) const override { p = 0.0; return Acad::eOk; }
  Acad::ErrorStatus getEndParam(double& p) const override { p = m_start.distanceTo(m_end); return Acad::eOk; }
  Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override { p = m_start; return Acad::eOk; }
  Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override { p = m_end; return Acad::eOk; }
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
  Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;
  Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool extend = false) const override;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;

 protected:
  AcDbLine(const AcDbLine&) = default;

 private:
  AcGePoint3d m_start, m_end;
  AcDbEntityPlane m_plane;
};

class AcDbCircle : public AcDbCurve {
  ACRX_DECLARE_MEMBERS(AcDbCircle)

 public:
  AcDbCircle() = default;
  AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);
  ACDB_DECLARE_CLONE(AcDbCircle)

  AcGePoint3d center() const { return m_center; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& c);
  double radius() const { return m_dRadius; }
  Acad::ErrorStatus setRadius(double r);
  AcGeVector3d normal() const { return m_plane.normal(); }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return m_plane.thickness(); }
  Acad::ErrorStatus setThickness(double t);
  double circumference() const;

  bool isClosed() const override { return true; }
  bool isPeriodic() const override { return true; }
  Acad::ErrorStatus getStartParam(double& p) const override { p = 0.0; return Acad::eOk; }
  Acad::ErrorStatus getEndParam(double& p) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
  Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;
  Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool extend = false) const override;
  Acad::ErrorStatus getArea(double& area) const override;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;

 protected:
  AcDbCircle(const AcDbCircle&) = default;

 private:
  AcGePoint3d m_center;
  double m_dRadius = 0.0;
  AcDbEntityPlane m_plane;
};

class AcDbArc : public AcDbCurve {
  ACRX_DECLARE_MEMBERS(AcDbArc)

 public:
  AcDbArc() = default;
  AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle);
  AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle, double endAngle);
  ACDB_DECLARE_CLONE(AcDbArc)

  AcGePoint3d center() const { return m_center; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& c);
  double radius() const { return m_dRadius; }
  Acad::ErrorStatus setRadius(double r);
  AcGeVector3d normal() const { return m_plane.normal(); }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return m_plane.thickness(); }
  Acad::ErrorStatus setThickness(double t);
  // Angles in [0, 2pi), counter-clockwise about the normal.
  double startAngle() const { return m_dStart; }
  Acad::ErrorStatus setStartAngle(double a);
  double endAngle() const { return m_dEnd; }
  Acad::ErrorStatus setEndAngle(double a);
  // The sweep from start to end angle in (0, 2pi].
  double sweep() const;
  double totalAngle() const { return sweep(); }
  double length() const { return m_dRadius * sweep(); }
  AcGeCircArc3d geArc() const;

  Acad::ErrorStatus getStartParam(double& p) const override { p = m_dStart; return Acad::eOk; }
  Acad::ErrorStatus getEndParam(double& p) const override { p = m_dStart + sweep(); return Acad::eOk; }
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
  Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;
  Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool extend = false) const override;
  // The area between the arc and its chord.
  Acad::ErrorStatus getArea(double& area) const override;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;

 protected:
  AcDbArc(const AcDbArc&) = default;

 private:
  AcGePoint3d m_center;
  double m_dRadius = 0.0;
  double m_dStart = 0.0;
  double m_dEnd = 0.0;
  AcDbEntityPlane m_plane;
};

class AcDbEllipse : public AcDbCurve {
  ACRX_DECLARE_MEMBERS(AcDbEllipse)

 public:
  AcDbEllipse() = default;
  AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& unitNormal, const AcGeVector3d& majorAxis,
              double radiusRatio, double startAngle = 0.0, double endAngle = 6.28318530717958647692);
  ACDB_DECLARE_CLONE(AcDbEllipse)

  AcGePoint3d center() const { return m_center; }
  AcGeVector3d normal() const { return m_normal; }
  AcGeVector3d majorAxis() const { return m_major; }
  AcGeVector3d minorAxis() const { return m_normal.crossProduct(m_major) * m_dRatio; }
  double radiusRatio() const { return m_dRatio; }
  double startAngle() const { return m_dStart; }
  double endAngle() const { return m_dEnd; }
  Acad::ErrorStatus set(const AcGePoint3d& center, const AcGeVector3d& unitNormal, const AcGeVector3d& majorAxis,
                        double radiusRatio, double startAngle = 0.0, double endAngle = 6.28318530717958647692);
  AcGeEllipArc3d geEllipse() const;

  bool isClosed() const override;
  Acad::ErrorStatus getStartParam(double& p) const override { p = m_dStart; return Acad::eOk; }
  Acad::ErrorStatus getEndParam(double& p) const override { p = m_dEnd; return Acad::eOk; }
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
  Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;
  Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool extend = false) const override;
  Acad::ErrorStatus getArea(double& area) const override;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;

 protected:
  AcDbEllipse(const AcDbEllipse&) = default;

 private:
  double closestParam(const AcGePoint3d& p) const;
  AcGePoint3d m_center;
  AcGeVector3d m_normal = AcGeVector3d::kZAxis;
  AcGeVector3d m_major = AcGeVector3d::kXAxis;
  double m_dRatio = 1.0;
  double m_dStart = 0.0;
  double m_dEnd = 6.28318530717958647692;
};
