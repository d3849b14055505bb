// AcDbHatch: a filled or patterned area bounded by loops. Loops are given as
// boundary objects (circles, closed polylines, ellipses) or as vertices with
// bulges; evaluateHatch turns object loops into their outline. The common
// hatch (one loop of one boundary with a short outline, the predefined
// "SOLID" pattern) keeps all of it inside the object: no allocation besides
// the object's own.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "dbentity.h"
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

  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double elevation() const { return m_dElevation; }
  Acad::ErrorStatus setElevation(double e);
  bool associative() const { return m_bAssociative; }
  Acad::ErrorStatus setAssociative(bool on);
  HatchPatternType patternType() const { return m_patternType; }
  const ACHAR* patternName() const { return m_pattern.c_str(); }
  Acad::ErrorStatus setPattern(HatchPatternType type, const ACHAR* name);
  bool isSolidFill() const;
  double patternAngle() const { return m_dPatternAngle; }
  Acad::ErrorStatus setPatternAngle(double a) { m_dPatternAngle = a; return Acad::eOk; }
  double patternScale() const { return m_dPatternScale; }
  Acad::ErrorStatus setPatternScale(double s);
  HatchStyle hatchStyle() const { return m_style; }
  Acad::ErrorStatus setHatchStyle(HatchStyle s) { m_style = s; return Acad::eOk; }

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
  // The pattern's name as given; "SOLID", which nearly every hatch has, is
  // not copied.
  class PatternName {
   public:
    PatternName() = default;
    PatternName(const PatternName& other) : m_pOther(other.m_pOther ? new std::wstring(*other.m_pOther) : nullptr) {}
    PatternName& operator=(const PatternName& other) {
      if (this != &other) m_pOther.reset(other.m_pOther ? new std::wstring(*other.m_pOther) : nullptr);
      return *this;
    }
    PatternName& operator=(std::wstring_view name) {
      if (name == std::wstring_view(kSolid)) m_pOther.reset();
      else m_pOther = std::make_unique<std::wstring>(name);
      return *this;
    }
    const ACHAR* c_str() const { return m_pOther ? m_pOther->c_str() : kSolid; }
    std::wstring_view view() const { return m_pOther ? std::wstring_view(*m_pOther) : std::wstring_view(kSolid); }
    static constexpr const ACHAR* kSolid = L"SOLID";

   private:
    std::unique_ptr<std::wstring> m_pOther;  // null: "SOLID"
  };
  AcGePoint2d toPlane(const AcGePoint3d& p) const;
  AcGePoint3d toWorld(const AcGePoint2d& p) const;
  bool outlineOf(AcDbObjectId id, Loop& loop) const;

  AcDbSmallArray<Loop, 1> m_loops;
  AcGeVector3d m_normal = AcGeVector3d::kZAxis;
  double m_dElevation = 0.0;
  bool m_bAssociative = false;
  HatchPatternType m_patternType = kPreDefined;
  PatternName m_pattern;
  double m_dPatternAngle = 0.0;
  double m_dPatternScale = 1.0;
  HatchStyle m_style = kNormal;
};
