// A lightweight polyline taken over from an old 2D polyline.
#include <gtest/gtest.h>

#include <cmath>

#include "db2dpline.h"
#include "dbcurves.h"
#include "dbpline.h"

namespace {

AcGePoint3dArray Path() {
  AcGePoint3dArray pts;
  pts.append(AcGePoint3d(0, 0, 0));
  pts.append(AcGePoint3d(10, 0, 0));
  pts.append(AcGePoint3d(10, 10, 0));
  return pts;
}

TEST(AcadPolylineConvertFrom, SimplePolylineKeepsVerticesBulgesPlaneAndFlags) {
  AcGeDoubleArray bulges;
  bulges.append(0.5);
  bulges.append(0.0);
  bulges.append(-0.25);
  AcDb2dPolyline poly(AcDb::k2dSimplePoly, Path(), 3.0, true, 0.0, 0.0, &bulges);
  poly.setNormal(AcGeVector3d(0, 0, -1));
  poly.setThickness(2.0);
  poly.setColorIndex(3);
  AcDbPolyline pl;
  AcDbEntity* source = &poly;
  ASSERT_EQ(pl.convertFrom(source, false), Acad::eOk);
  ASSERT_EQ(pl.numVerts(), 3u);
  EXPECT_TRUE(pl.isClosed());
  EXPECT_DOUBLE_EQ(pl.elevation(), 3.0);
  EXPECT_DOUBLE_EQ(pl.thickness(), 2.0);
  EXPECT_TRUE(pl.normal().isEqualTo(AcGeVector3d(0, 0, -1)));
  EXPECT_EQ(pl.colorIndex(), 3);
  for (unsigned int i = 0; i < 3; ++i) {
    AcGePoint2d pt;
    double bulge = 0;
    pl.getPointAt(i, pt);
    pl.getBulgeAt(i, bulge);
    EXPECT_TRUE(pt.isEqualTo(Path()[i].convert2d())) << i;
    EXPECT_DOUBLE_EQ(bulge, bulges[i]) << i;
  }
  // Same curve in the world: same length and end points.
  EXPECT_NEAR(pl.length(), poly.length(), 1e-9);
  EXPECT_EQ(source, &poly);  // the source stays as it is
  EXPECT_FALSE(pl.hasWidth());

  // Converting again takes the widths and puts the plane back to the usual one.
  AcDb2dPolyline wide(AcDb::k2dSimplePoly, Path(), 0.0, false, 1.0, 2.0);
  source = &wide;
  ASSERT_EQ(pl.convertFrom(source, false), Acad::eOk);
  EXPECT_TRUE(pl.elevation() == 0.0 && pl.thickness() == 0.0 && pl.normal().isEqualTo(AcGeVector3d::kZAxis));
  double sw = 0, ew = 0;
  EXPECT_EQ(pl.getWidthsAt(2, sw, ew), Acad::eOk);
  EXPECT_EQ(std::make_pair(sw, ew), std::make_pair(1.0, 2.0));
}

TEST(AcadPolylineConvertFrom, CurveFitVerticesAreTakenSplineFitIsRefused) {
  AcDb2dPolyline fit(AcDb::k2dFitCurvePoly, Path());
  AcDbPolyline pl;
  AcDbEntity* source = &fit;
  ASSERT_EQ(pl.convertFrom(source, false), Acad::eOk);
  EXPECT_EQ(static_cast<int>(pl.numVerts()), fit.numVerts());
  EXPECT_TRUE(pl.hasBulges());

  AcDb2dPolyline spline(AcDb::k2dCubicSplinePoly, Path());
  AcDbPolyline pl2;
  source = &spline;
  EXPECT_EQ(pl2.convertFrom(source, false), Acad::eIllegalEntityType);
  EXPECT_EQ(pl2.numVerts(), 0u);

  AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  source = &line;
  EXPECT_EQ(pl2.convertFrom(source, false), Acad::eIllegalEntityType);
  source = nullptr;
  EXPECT_EQ(pl2.convertFrom(source, false), Acad::eNullEntityPointer);
}

}  // namespace
