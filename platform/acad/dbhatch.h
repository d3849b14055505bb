// AcDbHatch: a filled or patterned area bounded by loops. Loops are given as
// boundary objects (circles, closed polylines, ellipses) or as vertices with
// bulges; evaluateHatch turns object loops into their outline. The common
// hatch (one loop of one boundary with a short outline, the predefined
// "SOLID" pattern) keeps all of it inside the object: no allocation besides
// the object's own.
#pragma once

#include <memory>
#include <string>

#include "dbentity.h"
#include "dbrarepart.h"
#include "dbsmallarray.h"
#include "gegeometry.h"

class AcDbHatch : public AcDbEntity {
  ACRX_DECLARE_MEMBERS(AcDbHatch)

 public:
  enum HatchPatternType { kUserDefined = 0, kPreDefined = 1, kCustomDefined = 2 };
  enum HatchLoopType {
    kDefault = 0, kExternal = 1, kPolyline = 2, kDerived = 4, kTextbox = 8, kOutermost = 0x10, kNotClosed = 0x20
  };
  enum HatchStyle { kNormal = 0, kOuter = 1, kIgnore = 2 };

  AcDbHatch() = default;
  ACDB_DECLARE_CLONE(AcDbHatch)

  AcGeVector3d normal() const { return settings().normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double elevation() const { return m_dElevation; }
  Acad::ErrorStatus setElevation(double e);
  bool associative() const { return m_bAssociative; }
  Acad::ErrorStatus setAssociative(bool on);
  HatchPatternType patternType() const { return settings().patternType; }
  const ACHAR* patternName() const { return settings().pattern.c_str(); }
  Acad::ErrorStatus setPattern(HatchPatternType type, const ACHAR* name);
  bool isSolidFill() const;
  double patternAngle() const { return settings().patternAngle; }
  Acad::ErrorStatus setPatternAngle(double a) {
    set(&Settings::patternAngle, a);
    return Acad::eOk;
  }
  double patternScale() const { return settings().patternScale; }
  Acad::ErrorStatus setPatternScale(double s);
  HatchStyle hatchStyle() const { return settings().style; }
  Acad::ErrorStatus setHatchStyle(HatchStyle s) {
    set(&Settings::style, s);
    return Acad::eOk;
  }

  // A loop of boundary objects (all of the hatch's database, or new ones).
  Acad::ErrorStatus appendLoop(Adesk::Int32 loopType, const AcDbObjectIdArray& boundaryIds);
  // A loop of vertices and bulges in the hatch's plane (closed).
  Acad::ErrorStatus appendLoop(Adesk::Int32 loopType, const AcGePoint2dArray& vertices, const AcGeDoubleArray& bulges);
  Acad::ErrorStatus removeLoopAt(int index);
  int numLoops() const { return static_cast<int>(m_loops.size()); }
  Adesk::Int32 loopTypeAt(int index) const;
  // The loop's outline; object loops have one after evaluateHatch.
  Acad::ErrorStatus getLoopAt(int index, Adesk::Int32& loopType, AcGePoint2dArray& vertices,
                              AcGeDoubleArray& bulges) const;
  Acad::ErrorStatus getAssocObjIdsAt(int index, AcDbObjectIdArray& ids) const;
  // Computes the outline of every object loop; fails when a boundary
  // cannot be opened or is not a closed curve.
  Acad::ErrorStatus evaluateHatch(bool underEstimateNumLines = false);
  bool isEvaluated() const;
  // The filled area: outer loops less the loops inside them (even-odd by nesting).
  Acad::ErrorStatus getArea(double& area) const;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;

 protected:
  AcDbHatch(const AcDbHatch&) = default;

 private:
  // Room inside for a circle's outline (two half circles).
  struct Loop {
    Adesk::Int32 type = kDefault;
    bool evaluated = false;
    AcDbSmallArray<AcDbObjectId, 1> ids;      // boundary objects (object loops)
    AcDbSmallArray<AcGePoint2d, 2> vertices;  // outline in the plane
    AcDbSmallArray<double, 2> bulges;
  };
  // What few hatches have otherwise than the usual: a plane other than xy,
  // a pattern other than the predefined "SOLID" (its name, angle and scale),
  // another style. Kept apart, made when one of them first differs, so
  // that the common hatch carries none of it.
  struct Settings {
    AcGeVector3d normal = AcGeVector3d::kZAxis;
    HatchPatternType patternType = kPreDefined;
    HatchStyle style = kNormal;
    std::wstring pattern = L"SOLID";
    double patternAngle = 0.0;
    double patternScale = 1.0;
  };
  static const Settings& usualSettings();
  const Settings& settings() const { return m_settings.get() ? *m_settings.get() : usualSettings(); }
  // Sets one of them, making the hatch's own only for a value not the usual.
  template <class T>
  void set(T Settings::*field, const T& value) {
    if (!m_settings.get() && usualSettings().*field == value) return;
    m_settings.make().*field = value;
  }
  AcGePoint2d toPlane(const AcGePoint3d& p) const;
  AcGePoint3d toWorld(const AcGePoint2d& p) const;
  bool outlineOf(AcDbObjectId id, Loop& loop) const;

  AcDbSmallArray<Loop, 1> m_loops;
  double m_dElevation = 0.0;
  AcDbRarePart<Settings> m_settings;
  bool m_bAssociative = false;
};
