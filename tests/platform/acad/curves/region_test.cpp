// Regions made from curves: loops found in any order and direction, area,
// perimeter, extents and transformation.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "db2dpline.h"
#include "dbcurves.h"
#include "dbpline.h"
#include "dbregion.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Owns the entities of an array.
struct Owned {
  AcDbVoidPtrArray items;
  ~Owned() {
    for (int i = 0; i < items.length(); ++i) delete static_cast<AcDbEntity*>(items[i]);
  }
};

AcDbRegion* RegionAt(const Owned& o, int i) { return AcDbRegion::cast(static_cast<AcDbEntity*>(o.items[i])); }

TEST(AcadRegion, LinesAndArcInAnyOrderAndDirection) {
  Owned curves, regions;
  // A 10 x 10 square whose top edge is replaced by a half circle bulging up,
  // given shuffled and partly reversed.
  curves.items.append(new AcDbLine(AcGePoint3d(10, 0, 0), AcGePoint3d(0, 0, 0)));
  curves.items.append(new AcDbArc(AcGePoint3d(5, 10, 0), 5.0, 0.0, kPi));
  curves.items.append(new AcDbLine(AcGePoint3d(0, 10, 0), AcGePoint3d(0, 0, 0)));
  curves.items.append(new AcDbLine(AcGePoint3d(10, 0, 0), AcGePoint3d(10, 10, 0)));
  ASSERT_EQ(AcDbRegion::createFromCurves(curves.items, regions.items), Acad::eOk);
  ASSERT_EQ(regions.items.length(), 1);
  AcDbRegion* r = RegionAt(regions, 0);
  ASSERT_NE(r, nullptr);
  double area = 0, perimeter = 0;
  r->getArea(area);
  r->getPerimeter(perimeter);
  EXPECT_NEAR(area, 100 + kPi * 25 / 2, 1e-9);
  EXPECT_NEAR(perimeter, 30 + 5 * kPi, 1e-9);
  AcDbExtents ext;
  ASSERT_EQ(r->getGeomExtents(ext), Acad::eOk);
  EXPECT_NEAR(ext.maxPoint().y, 15.0, 1e-9);
  ASSERT_EQ(r->transformBy(AcGeMatrix3d::scaling(2.0)), Acad::eOk);
  r->getArea(area);
  EXPECT_NEAR(area, 4 * (100 + kPi * 25 / 2), 1e-7);
  std::unique_ptr<AcDbRegion> copy(static_cast<AcDbRegion*>(r->clone()));
  double copied = 0;
  copy->getArea(copied);
  EXPECT_EQ(copied, area);
}

TEST(AcadRegion, ClosedCurvesMakeOneRegionEach) {
  Owned curves, regions;
  curves.items.append(new AcDbCircle(AcGePoint3d(0, 0, 2), AcGeVector3d::kZAxis, 3.0));
  auto* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(10, 0));
  pl->addVertexAt(1, AcGePoint2d(14, 0));
  pl->addVertexAt(2, AcGePoint2d(14, 3));
  pl->setClosed(true);
  pl->setElevation(2);
  curves.items.append(pl);
  AcGePoint3dArray pts;
  pts.append(AcGePoint3d(20, 0, 0));
  pts.append(AcGePoint3d(22, 0, 0));
  pts.append(AcGePoint3d(22, 2, 0));
  pts.append(AcGePoint3d(20, 2, 0));
  curves.items.append(new AcDb2dPolyline(AcDb::k2dSimplePoly, pts, 2.0, true));
  ASSERT_EQ(AcDbRegion::createFromCurves(curves.items, regions.items), Acad::eOk);
  ASSERT_EQ(regions.items.length(), 3);
  double a0 = 0, a1 = 0, a2 = 0;
  RegionAt(regions, 0)->getArea(a0);
  RegionAt(regions, 1)->getArea(a1);
  RegionAt(regions, 2)->getArea(a2);
  EXPECT_NEAR(a0, 9 * kPi, 1e-9);
  EXPECT_NEAR(a1, 6.0, 1e-9);
  EXPECT_NEAR(a2, 4.0, 1e-9);
}

TEST(AcadRegion, OpenOrUnsupportedCurvesAreRefused) {
  Owned open, none;
  open.items.append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  open.items.append(new AcDbLine(AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0)));
  EXPECT_EQ(AcDbRegion::createFromCurves(open.items, none.items), Acad::eNotClosedPath);
  EXPECT_EQ(none.items.length(), 0);
  Owned tilted;
  tilted.items.append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  tilted.items.append(new AcDbLine(AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 5)));
  tilted.items.append(new AcDbLine(AcGePoint3d(0, 1, 5), AcGePoint3d(0, 0, 0)));
  EXPECT_EQ(AcDbRegion::createFromCurves(tilted.items, none.items), Acad::eNotApplicable);
  Owned ellipse;
  ellipse.items.append(new AcDbEllipse(AcGePoint3d(), AcGeVector3d::kZAxis, AcGeVector3d(2, 0, 0), 0.5));
  EXPECT_EQ(AcDbRegion::createFromCurves(ellipse.items, none.items), Acad::eInvalidInput);
  AcDbVoidPtrArray empty;
  EXPECT_EQ(AcDbRegion::createFromCurves(empty, none.items), Acad::eInvalidInput);
  EXPECT_EQ(none.items.length(), 0);
}
}  // namespace
