// Hatches: solid fills, refused open boundaries, polyline loops with holes,
// and copies of hatches with more loops and vertices than a circle's.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "dbcurves.h"
#include "dbdatabase.h"
#include "dbhatch.h"
#include "dbpline.h"
#include "dbsymtb.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

AcDbObjectId Append(AcDbDatabase& db, AcDbEntity* ent) {
  AcDbBlockTable* bt = nullptr;
  db.getBlockTable(bt, AcDb::kForRead);
  AcDbBlockTableRecord* ms = nullptr;
  bt->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite);
  bt->close();
  AcDbObjectId id;
  EXPECT_EQ(ms->appendAcDbEntity(id, ent), Acad::eOk);
  ent->close();
  ms->close();
  return id;
}

TEST(AcadHatch, SolidFillOfACircleOutlivesTheErasedBoundary) {
  AcDbDatabase db;
  auto* circle = new AcDbCircle(AcGePoint3d(10, 20, 0), AcGeVector3d::kZAxis, 2);
  circle->setColorIndex(3);
  AcDbObjectId circleId = Append(db, circle);

  AcDbHatch hatch;
  hatch.setNormal(AcGeVector3d::kZAxis);
  hatch.setElevation(0);
  hatch.setColorIndex(3);
  hatch.setAssociative(true);
  hatch.setPattern(AcDbHatch::kPreDefined, L"SOLID");
  AcDbObjectIdArray ids;
  ids.append(circleId);
  ASSERT_EQ(hatch.appendLoop(AcDbHatch::kExternal, ids), Acad::eOk);
  EXPECT_FALSE(hatch.isEvaluated());
  ASSERT_EQ(hatch.evaluateHatch(false), Acad::eOk);
  EXPECT_TRUE(hatch.isSolidFill());
  double area;
  ASSERT_EQ(hatch.getArea(area), Acad::eOk);
  EXPECT_NEAR(area, 4 * kPi, 1e-9);

  AcDbObject* obj = nullptr;
  ASSERT_EQ(acdbOpenObject(obj, circleId, AcDb::kForWrite), Acad::eOk);
  obj->erase();
  obj->close();
  AcDbExtents e;
  ASSERT_EQ(hatch.getGeomExtents(e), Acad::eOk);
  EXPECT_NEAR(e.minPoint().x, 8, 1e-9);
  EXPECT_NEAR(e.maxPoint().y, 22, 1e-9);
  Adesk::Int32 type;
  AcGePoint2dArray verts;
  AcGeDoubleArray bulges;
  ASSERT_EQ(hatch.getLoopAt(0, type, verts, bulges), Acad::eOk);
  EXPECT_EQ(verts.length(), 2);
  EXPECT_EQ(bulges[0], 1.0);
  EXPECT_TRUE(type & AcDbHatch::kExternal);
  // Evaluating again after the boundary is gone fails, the outline stays.
  EXPECT_EQ(hatch.evaluateHatch(), Acad::eInvalidInput);
}

TEST(AcadHatch, OpenBoundariesAreRefused) {
  AcDbDatabase db;
  AcDbObjectId lineId = Append(db, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  auto* open = new AcDbPolyline();
  open->addVertexAt(0, AcGePoint2d(0, 0));
  open->addVertexAt(1, AcGePoint2d(1, 0));
  open->addVertexAt(2, AcGePoint2d(1, 1));
  AcDbObjectId openId = Append(db, open);
  for (AcDbObjectId id : {lineId, openId}) {
    AcDbHatch hatch;
    AcDbObjectIdArray ids;
    ids.append(id);
    hatch.appendLoop(AcDbHatch::kExternal, ids);
    EXPECT_EQ(hatch.evaluateHatch(), Acad::eInvalidInput);
  }
  AcDbHatch empty;
  EXPECT_EQ(empty.appendLoop(AcDbHatch::kExternal, AcDbObjectIdArray()), Acad::eInvalidInput);
}

TEST(AcadHatch, PolylineLoopsWithAHole) {
  AcDbHatch hatch;
  AcGePoint2dArray outer{AcGePoint2d(0, 0), AcGePoint2d(10, 0), AcGePoint2d(10, 10), AcGePoint2d(0, 10)};
  AcGePoint2dArray inner{AcGePoint2d(4, 4), AcGePoint2d(6, 4), AcGePoint2d(6, 6), AcGePoint2d(4, 6)};
  ASSERT_EQ(hatch.appendLoop(AcDbHatch::kExternal, outer, AcGeDoubleArray()), Acad::eOk);
  ASSERT_EQ(hatch.appendLoop(AcDbHatch::kDefault, inner, AcGeDoubleArray()), Acad::eOk);
  double area;
  ASSERT_EQ(hatch.getArea(area), Acad::eOk);
  EXPECT_NEAR(area, 96, 1e-9);
  ASSERT_EQ(hatch.transformBy(AcGeMatrix3d::scaling(2)), Acad::eOk);
  hatch.getArea(area);
  EXPECT_NEAR(area, 384, 1e-9);
  AcGeDoubleArray wrong{0.5};
  EXPECT_EQ(hatch.appendLoop(AcDbHatch::kDefault, inner, wrong), Acad::eInvalidInput);
}

TEST(AcadHatch, CopiesKeepEveryLoopAndThePatternNameAsGiven) {
  AcDbHatch hatch;
  // Loops of 3, 4 and 5 vertices: more than a circle's outline holds inside.
  for (int n = 3; n <= 5; ++n) {
    AcGePoint2dArray v;
    AcGeDoubleArray b;
    for (int k = 0; k < n; ++k) {
      v.append(AcGePoint2d(10.0 * n + std::cos(2 * kPi * k / n), std::sin(2 * kPi * k / n)));
      b.append(k == 0 ? 0.25 : 0.0);
    }
    ASSERT_EQ(hatch.appendLoop(n == 3 ? AcDbHatch::kExternal : AcDbHatch::kDefault, v, b), Acad::eOk);
  }
  for (const wchar_t* name : {L"ANSI31", L"solid", L"SOLID"}) {
    ASSERT_EQ(hatch.setPattern(AcDbHatch::kPreDefined, name), Acad::eOk);
    std::unique_ptr<AcDbHatch> copy(AcDbHatch::cast(hatch.clone()));
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy->patternName(), name);
    EXPECT_EQ(copy->isSolidFill(), name[0] != L'A');
  }
  // Settings other than the usual ones are copied too, and the usual ones
  // come back when set again.
  hatch.setPatternScale(2.5);
  hatch.setPatternAngle(0.5);
  hatch.setHatchStyle(AcDbHatch::kOuter);
  hatch.setNormal(AcGeVector3d(0, 0, -3));
  std::unique_ptr<AcDbHatch> turned(AcDbHatch::cast(hatch.clone()));
  EXPECT_EQ(turned->patternScale(), 2.5);
  EXPECT_EQ(turned->patternAngle(), 0.5);
  EXPECT_EQ(turned->hatchStyle(), AcDbHatch::kOuter);
  EXPECT_EQ(turned->normal().z, -1.0);
  hatch.setPatternScale(1.0);
  hatch.setPatternAngle(0.0);
  hatch.setHatchStyle(AcDbHatch::kNormal);
  hatch.setNormal(AcGeVector3d::kZAxis);
  EXPECT_EQ(hatch.patternScale(), 1.0);
  EXPECT_EQ(hatch.hatchStyle(), AcDbHatch::kNormal);
  EXPECT_EQ(hatch.normal().z, 1.0);
  EXPECT_EQ(turned->patternScale(), 2.5);

  std::unique_ptr<AcDbHatch> copy(AcDbHatch::cast(hatch.clone()));
  ASSERT_EQ(hatch.removeLoopAt(0), Acad::eOk);
  ASSERT_EQ(hatch.numLoops(), 2);
  ASSERT_EQ(copy->numLoops(), 3);
  for (int i = 0; i < 3; ++i) {
    Adesk::Int32 type;
    AcGePoint2dArray v;
    AcGeDoubleArray b;
    ASSERT_EQ(copy->getLoopAt(i, type, v, b), Acad::eOk);
    ASSERT_EQ(v.length(), i + 3);
    EXPECT_NEAR(v[0].x, 10.0 * (i + 3) + 1, 1e-12);
    EXPECT_EQ(b[0], 0.25);
    EXPECT_EQ(b[i + 2], 0.0);
    if (i == 0) continue;
    // The original lost its first loop; the others moved up intact.
    ASSERT_EQ(hatch.getLoopAt(i - 1, type, v, b), Acad::eOk);
    EXPECT_EQ(v.length(), i + 3);
    EXPECT_NEAR(v[i + 2].y, std::sin(2 * kPi * (i + 2) / (i + 3)), 1e-12);
  }
}
}  // namespace
