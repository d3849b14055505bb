// AcDbCurve: the curve interface. Parameters run from the start parameter to
// the end parameter; distances are measured along the curve from its start.
#pragma once

#include "dbentity.h"

class AcDbCurve : public AcDbEntity {
  ACRX_DECLARE_MEMBERS(AcDbCurve)

 public:
  virtual bool isClosed() const { return false; }
  virtual bool isPeriodic() const { return false; }
  virtual Acad::ErrorStatus getStartParam(double& param) const = 0;
  virtual Acad::ErrorStatus getEndParam(double& param) const = 0;
  virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const = 0;
  virtual Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const = 0;
  virtual Acad::ErrorStatus getDistAtParam(double param, double& dist) const = 0;
  virtual Acad::ErrorStatus getParamAtDist(double dist, double& param) const = 0;
  virtual Acad::ErrorStatus getDistAtPoint(const AcGePoint3d& point, double& dist) const;
  virtual Acad::ErrorStatus getPointAtDist(double dist, AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest,
                                              bool extend = false) const = 0;
  virtual Acad::ErrorStatus getArea(double& area) const { area = 0.0; return Acad::eOk; }

 protected:
  AcDbCurve() = default;
  AcDbCurve(const AcDbCurve&) = default;
};
