// Geometry: vectors, tolerances, matrices, extents and arcs.
#include <gtest/gtest.h>

#include <cmath>

#include "dbextents.h"
#include "gearc.h"
#include "gegeometry.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

void ExpectPoint(const AcGePoint3d& p, double x, double y, double z, double tol = 1e-9) {
  EXPECT_NEAR(p.x, x, tol);
  EXPECT_NEAR(p.y, y, tol);
  EXPECT_NEAR(p.z, z, tol);
}

TEST(AcadVectors, DistanceAngleCrossDotAndNormal) {
  AcGePoint3d a(1, 2, 3), b(4, 6, 3);
  EXPECT_DOUBLE_EQ(a.distanceTo(b), 5.0);
  AcGeVector3d v = b - a;
  EXPECT_DOUBLE_EQ(v.length(), 5.0);
  EXPECT_NEAR(v.normal().length(), 1.0, 1e-15);
  AcGeVector3d c = AcGeVector3d::kXAxis.crossProduct(AcGeVector3d::kYAxis);
  EXPECT_TRUE(c.isEqualTo(AcGeVector3d::kZAxis));
  EXPECT_DOUBLE_EQ(AcGeVector3d(1, 2, 3).dotProduct(AcGeVector3d(4, 5, 6)), 32.0);
  EXPECT_NEAR(AcGeVector3d::kXAxis.angleTo(AcGeVector3d(0, -1, 0)), kPi / 2, 1e-12);
  // Signed about a reference: clockwise about +Z is the long way round.
  EXPECT_NEAR(AcGeVector3d::kXAxis.angleTo(AcGeVector3d(0, -1, 0), AcGeVector3d::kZAxis), 3 * kPi / 2, 1e-12);
  EXPECT_NEAR(AcGeVector2d(-1, -1).angle(), 5 * kPi / 4, 1e-12);
  // A zero vector stays zero instead of becoming NaN.
  AcGeVector3d zero;
  zero.normalize();
  EXPECT_TRUE(zero.isZeroLength());
}

TEST(AcadVectors, ToleranceDecidesEquality) {
  AcGeTol loose;
  loose.setEqualPoint(0.1);
  EXPECT_TRUE(AcGePoint3d(0, 0, 0).isEqualTo(AcGePoint3d(0.05, 0, 0), loose));
  EXPECT_FALSE(AcGePoint3d(0, 0, 0).isEqualTo(AcGePoint3d(0.05, 0, 0)));
  EXPECT_TRUE(AcGeVector3d(1, 0, 0).isParallelTo(AcGeVector3d(-3, 0, 0)));
  EXPECT_FALSE(AcGeVector3d(1, 0, 0).isCodirectionalTo(AcGeVector3d(-3, 0, 0)));
}

TEST(AcadMatrices, TranslationRotationScaling) {
  AcGePoint3d p(1, 0, 0);
  ExpectPoint(AcGeMatrix3d::translation(AcGeVector3d(2, 3, 4)) * p, 3, 3, 4);
  ExpectPoint(AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis) * p, 0, 1, 0);
  // Rotation about a centre keeps the centre.
  ExpectPoint(AcGeMatrix3d::rotation(kPi, AcGeVector3d::kZAxis, AcGePoint3d(2, 0, 0)) * p, 3, 0, 0);
  ExpectPoint(AcGeMatrix3d::scaling(3, AcGePoint3d(1, 1, 1)) * AcGePoint3d(2, 1, 1), 4, 1, 1);
  // Vectors ignore the translation part.
  AcGeVector3d v = AcGeMatrix3d::translation(AcGeVector3d(5, 5, 5)) * AcGeVector3d(1, 0, 0);
  EXPECT_TRUE(v.isEqualTo(AcGeVector3d(1, 0, 0)));
}

TEST(AcadMatrices, InverseAndComposition) {
  AcGeMatrix3d m = AcGeMatrix3d::translation(AcGeVector3d(1, 2, 3)) *
                   AcGeMatrix3d::rotation(0.7, AcGeVector3d(1, 1, 0)) * AcGeMatrix3d::scaling(2.5);
  AcGeMatrix3d id = m * m.inverse();
  EXPECT_TRUE(id.isEqualTo(AcGeMatrix3d::kIdentity, AcGeTol()));
  EXPECT_NEAR(m.det(), 2.5 * 2.5 * 2.5, 1e-9);
  EXPECT_TRUE(m.isUniScaledOrtho());
  EXPECT_NEAR(m.scale(), 2.5, 1e-12);
  AcGeMatrix3d squash;
  squash.entry[0][0] = 2.0;
  EXPECT_FALSE(squash.isUniScaledOrtho());
}

TEST(AcadMatrices, PlaneToWorldFollowsTheArbitraryAxisRule) {
  // For the Z axis the plane system is the world system.
  EXPECT_TRUE(AcGeMatrix3d::planeToWorld(AcGeVector3d::kZAxis).isEqualTo(AcGeMatrix3d::kIdentity));
  // For -Z the X axis flips (the mirrored plane of extruded entities).
  AcGeVector3d x = AcGeMatrix3d::planeToWorld(AcGeVector3d(0, 0, -1)) * AcGeVector3d::kXAxis;
  EXPECT_TRUE(x.isEqualTo(AcGeVector3d(-1, 0, 0)));
  // The plane's Z axis is the normal and the round trip is the identity.
  AcGeVector3d n = AcGeVector3d(1, 2, 3).normal();
  AcGeMatrix3d p2w = AcGeMatrix3d::planeToWorld(n);
  EXPECT_TRUE((p2w * AcGeVector3d::kZAxis).isEqualTo(n, AcGeTol()));
  EXPECT_TRUE((AcGeMatrix3d::worldToPlane(n) * p2w).isEqualTo(AcGeMatrix3d::kIdentity));
}

TEST(AcadMatrices, AlignCoordSysMapsOneSystemOntoAnother) {
  AcGeMatrix3d m = AcGeMatrix3d::alignCoordSys(AcGePoint3d::kOrigin, AcGeVector3d::kXAxis, AcGeVector3d::kYAxis,
                                               AcGeVector3d::kZAxis, AcGePoint3d(10, 0, 0), AcGeVector3d::kYAxis,
                                               -AcGeVector3d::kXAxis, AcGeVector3d::kZAxis);
  ExpectPoint(m * AcGePoint3d(1, 0, 0), 10, 1, 0);
  ExpectPoint(m * AcGePoint3d(0, 1, 0), 9, 0, 0);
}

TEST(AcadExtents, EmptyUntilAPointIsAddedThenGrows) {
  AcDbExtents e;
  EXPECT_LT(e.maxPoint().x - e.minPoint().x, 0.0);  // empty extents have negative size
  e.addPoint(AcGePoint3d(2, 1, 0));
  e.addPoint(AcGePoint3d(-1, 5, 0));
  ExpectPoint(e.minPoint(), -1, 1, 0);
  ExpectPoint(e.maxPoint(), 2, 5, 0);
  AcDbExtents other(AcGePoint3d(0, 0, -3), AcGePoint3d(1, 1, 1));
  e.addExt(other);
  ExpectPoint(e.minPoint(), -1, 0, -3);
  e.transformBy(AcGeMatrix3d::translation(AcGeVector3d(1, 1, 1)));
  ExpectPoint(e.minPoint(), 0, 1, -2);
}

TEST(AcadArcs, ThroughThreePoints2d) {
  AcGeCircArc2d ccw(AcGePoint2d(1, 0), AcGePoint2d(0, 1), AcGePoint2d(-1, 0));
  EXPECT_NEAR(ccw.radius(), 1.0, 1e-12);
  EXPECT_NEAR(ccw.center().x, 0.0, 1e-12);
  EXPECT_FALSE(ccw.isClockWise());
  EXPECT_NEAR(ccw.endAng() - ccw.startAng(), kPi, 1e-12);
  EXPECT_TRUE(ccw.startPoint().isEqualTo(AcGePoint2d(1, 0), AcGeTol()));
  EXPECT_TRUE(ccw.endPoint().isEqualTo(AcGePoint2d(-1, 0), AcGeTol()));
  AcGeCircArc2d cw(AcGePoint2d(-1, 0), AcGePoint2d(0, 1), AcGePoint2d(1, 0));
  EXPECT_TRUE(cw.isClockWise());
  EXPECT_TRUE(cw.evalPoint((cw.startAng() + cw.endAng()) / 2).isEqualTo(AcGePoint2d(0, 1), AcGeTol()));
  AcGeCircArc2d line(AcGePoint2d(0, 0), AcGePoint2d(1, 1), AcGePoint2d(2, 2));
  EXPECT_TRUE(line.isDegenerate());
}

TEST(AcadArcs, ThroughThreePoints3dAndClosestPoint) {
  AcGeCircArc3d arc(AcGePoint3d(0, 0, 5), AcGePoint3d(3, 3, 5), AcGePoint3d(6, 0, 5));
  ExpectPoint(arc.center(), 3, 0, 5, 1e-9);
  EXPECT_NEAR(arc.radius(), 3.0, 1e-12);
  ExpectPoint(arc.startPoint(), 0, 0, 5);
  ExpectPoint(arc.endPoint(), 6, 0, 5);
  // The middle lies on the arc; a point below the chord snaps to an end.
  EXPECT_TRUE(arc.isOn(AcGePoint3d(3, 3, 5), AcGeTol()));
  ExpectPoint(arc.closestPointTo(AcGePoint3d(3, -10, 5)), 0, 0, 5);
  ExpectPoint(arc.closestPointTo(AcGePoint3d(3, 10, 5)), 3, 3, 5);
}

TEST(AcadArcs, EllipticalArcPointsAndLength) {
  AcGeEllipArc3d e(AcGePoint3d(1, 1, 0), AcGeVector3d::kXAxis, AcGeVector3d::kYAxis, 4, 2);
  ExpectPoint(e.evalPoint(0), 5, 1, 0);
  ExpectPoint(e.evalPoint(kPi / 2), 1, 3, 0);
  // Ramanujan's approximation of the perimeter is good to far below 1e-6 here.
  double a = 4, b = 2, h = (a - b) * (a - b) / ((a + b) * (a + b));
  double ramanujan = kPi * (a + b) * (1 + 3 * h / (10 + std::sqrt(4 - 3 * h)));
  EXPECT_NEAR(e.length(0, 2 * kPi), ramanujan, 1e-6);
  AcGeEllipArc3d circle(AcGePoint3d::kOrigin, AcGeVector3d::kXAxis, AcGeVector3d::kYAxis, 1, 1);
  EXPECT_NEAR(circle.length(0, kPi), kPi, 1e-9);
}
}  // namespace
