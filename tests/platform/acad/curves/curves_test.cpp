// Lines, arcs, circles and ellipses as curves: parameters, lengths, areas, transforms.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "dbcurves.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

TEST(AcadLine, ParametersAreDistances) {
  AcDbLine line(AcGePoint3d(1, 1, 0), AcGePoint3d(4, 5, 0));
  double end;
  line.getEndParam(end);
  EXPECT_DOUBLE_EQ(end, 5.0);
  AcGePoint3d p;
  ASSERT_EQ(line.getPointAtDist(2.5, p), Acad::eOk);
  EXPECT_TRUE(p.isEqualTo(AcGePoint3d(2.5, 3, 0)));
  double param;
  EXPECT_EQ(line.getParamAtPoint(AcGePoint3d(0, 0, 0), param), Acad::eInvalidInput);
  AcGePoint3d c;
  line.getClosestPointTo(AcGePoint3d(-10, -10, 0), c);
  EXPECT_TRUE(c.isEqualTo(AcGePoint3d(1, 1, 0)));
  line.getClosestPointTo(AcGePoint3d(-10, -10, 0), c, true);  // extended beyond its start
  EXPECT_LT(c.x, 0.0);
  AcDbExtents e;
  line.getGeomExtents(e);
  EXPECT_TRUE(e.maxPoint().isEqualTo(AcGePoint3d(4, 5, 0)));
}

TEST(AcadArc, AnglesSweepAndLength) {
  // From 350 to 10 degrees: a sweep of 20 degrees through 0.
  AcDbArc arc(AcGePoint3d(0, 0, 0), 10, 350 * kPi / 180, 10 * kPi / 180);
  EXPECT_NEAR(arc.sweep(), 20 * kPi / 180, 1e-12);
  double start, end;
  arc.getStartParam(start);
  arc.getEndParam(end);
  double len;
  arc.getDistAtParam(end, len);
  EXPECT_NEAR(len, 10 * 20 * kPi / 180, 1e-9);
  AcGePoint3d mid;
  arc.getPointAtDist(len / 2, mid);
  EXPECT_TRUE(mid.isEqualTo(AcGePoint3d(10, 0, 0), AcGeTol()));
  double param;
  ASSERT_EQ(arc.getParamAtPoint(AcGePoint3d(10, 0, 0), param), Acad::eOk);
  EXPECT_NEAR(param - start, 10 * kPi / 180, 1e-9);
  AcDbExtents e;
  arc.getGeomExtents(e);
  EXPECT_NEAR(e.maxPoint().x, 10, 1e-12);  // passes through angle 0
  AcGePoint3d c;
  arc.getClosestPointTo(AcGePoint3d(-20, 0, 0), c);  // behind the centre: an end point
  EXPECT_NEAR(c.distanceTo(AcGePoint3d(0, 0, 0)), 10, 1e-9);
  EXPECT_GT(c.x, 9.0);
}

TEST(AcadArc, TransformAndMirror) {
  AcDbArc arc(AcGePoint3d(0, 0, 0), 1, 0, kPi / 2);
  ASSERT_EQ(arc.transformBy(AcGeMatrix3d::translation(AcGeVector3d(5, 0, 0)) * AcGeMatrix3d::scaling(2)), Acad::eOk);
  EXPECT_TRUE(arc.center().isEqualTo(AcGePoint3d(5, 0, 0)));
  EXPECT_DOUBLE_EQ(arc.radius(), 2);
  AcGeMatrix3d mirror;
  mirror.entry[0][0] = -1;
  ASSERT_EQ(arc.transformBy(mirror), Acad::eOk);
  // The quarter from +X to +Y becomes the quarter from +Y to -X.
  AcGePoint3d s, e;
  arc.getStartPoint(s);
  arc.getEndPoint(e);
  EXPECT_TRUE(s.isEqualTo(AcGePoint3d(-5, 2, 0), AcGeTol())) << s.x << "," << s.y;
  EXPECT_TRUE(e.isEqualTo(AcGePoint3d(-7, 0, 0), AcGeTol())) << e.x << "," << e.y;
}

TEST(AcadCircle, ClosedAreaAndPoints) {
  AcDbCircle c(AcGePoint3d(1, 2, 0), AcGeVector3d::kZAxis, 3);
  EXPECT_TRUE(c.isClosed());
  double area;
  c.getArea(area);
  EXPECT_NEAR(area, 9 * kPi, 1e-12);
  double end, len;
  c.getEndParam(end);
  c.getDistAtParam(end, len);
  EXPECT_NEAR(len, 6 * kPi, 1e-12);
  AcGePoint3d p;
  c.getPointAtParam(kPi / 2, p);
  EXPECT_TRUE(p.isEqualTo(AcGePoint3d(1, 5, 0), AcGeTol()));
  EXPECT_EQ(c.setRadius(-1), Acad::eInvalidInput);
  AcGeMatrix3d squash;
  squash.entry[1][1] = 0.5;
  EXPECT_EQ(c.transformBy(squash), Acad::eNotApplicable);
}

// A plane and thickness other than the usual are kept apart from the curve:
// they must follow copies, go back to the usual, and turn over with a mirror.
template <class Curve>
void CheckPlaneAndThickness(Curve& c, const AcGePoint3d& onCurve) {
  EXPECT_EQ(c.normal().z, 1.0);
  c.setThickness(0.5);
  c.setNormal(AcGeVector3d(0, -4, 0));
  std::unique_ptr<Curve> copy(Curve::cast(c.clone()));
  c.setThickness(0.0);
  c.setNormal(AcGeVector3d::kZAxis);
  EXPECT_EQ(c.thickness(), 0.0);
  EXPECT_EQ(c.normal().z, 1.0);
  EXPECT_EQ(copy->thickness(), 0.5);
  EXPECT_EQ(copy->normal().y, -1.0);
  // Half a turn about the x axis turns the usual plane over.
  ASSERT_EQ(c.transformBy(AcGeMatrix3d::rotation(kPi, AcGeVector3d::kXAxis, AcGePoint3d(1, 2, 0))), Acad::eOk);
  EXPECT_NEAR(c.normal().z, -1.0, 1e-12);
  // The point on the curve turned with it is on it still.
  AcGePoint3d turned(onCurve.x, 4 - onCurve.y, 0), p;
  ASSERT_EQ(c.getClosestPointTo(turned, p), Acad::eOk);
  EXPECT_NEAR(p.distanceTo(turned), 0, 1e-12);
}

TEST(AcadCurves, PlaneAndThicknessFollowCopiesAndMirrors) {
  AcDbCircle circle(AcGePoint3d(1, 2, 0), AcGeVector3d(0, 0, 2), 3);
  CheckPlaneAndThickness(circle, AcGePoint3d(4, 2, 0));
  AcDbArc arc(AcGePoint3d(1, 2, 0), AcGeVector3d(0, 0, 5), 3, kPi / 2, kPi);
  CheckPlaneAndThickness(arc, AcGePoint3d(1, 5, 0));
  AcDbLine line(AcGePoint3d(1, 3, 0), AcGePoint3d(6, 7, 0));
  CheckPlaneAndThickness(line, AcGePoint3d(1, 3, 0));
}

TEST(AcadEllipse, FullAndPartial) {
  AcDbEllipse e(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(4, 0, 0), 0.5);
  EXPECT_TRUE(e.isClosed());
  double area;
  e.getArea(area);
  EXPECT_NEAR(area, kPi * 4 * 2, 1e-9);
  AcGePoint3d p;
  e.getPointAtParam(kPi / 2, p);
  EXPECT_TRUE(p.isEqualTo(AcGePoint3d(0, 2, 0), AcGeTol()));
  double end, len;
  e.getEndParam(end);
  e.getDistAtParam(end, len);
  double param;
  ASSERT_EQ(e.getParamAtDist(len / 4, param), Acad::eOk);
  EXPECT_NEAR(param, kPi / 2, 1e-6);
  ASSERT_EQ(e.getParamAtPoint(AcGePoint3d(-4, 0, 0), param), Acad::eOk);
  EXPECT_NEAR(param, kPi, 1e-6);
  AcDbEllipse bad;
  EXPECT_EQ(bad.set(AcGePoint3d(), AcGeVector3d::kZAxis, AcGeVector3d(0, 0, 1), 0.5), Acad::eInvalidInput);
  AcDbEllipse half(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(4, 0, 0), 0.5, 0, kPi);
  EXPECT_FALSE(half.isClosed());
  AcDbExtents ext;
  half.getGeomExtents(ext);
  EXPECT_NEAR(ext.minPoint().y, 0, 1e-9);
  EXPECT_NEAR(ext.maxPoint().y, 2, 1e-9);
}
}  // namespace
