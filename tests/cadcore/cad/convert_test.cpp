// Lines, arcs, circles and old 2D polylines as lightweight polylines;
// rectangles, regions; arcs through three points and their middle points.
#include <cmath>
#include <memory>

#include "cadtest.h"
#include "CommonUtils.h"
#include "db2dpline.h"
#include "dbcurves.h"
#include "dbpline.h"
#include "dbregion.h"
#include "gearc.h"
#include "geotestutil.h"

namespace {

using namespace geotest;
using ConvertTest = CadTest;

double Deg(double d) { return d * kPi / 180.0; }

// The middle point of the polyline's first segment and the arc's middle
// point agree when the bulge describes the arc.
void ExpectSameMiddle(const AcDbPolyline* pl, const AcDbArc* arc) {
  AcGePoint3d plMid, arcMid;
  ASSERT_EQ(pl->getPointAtParam(0.5, plMid), Acad::eOk);
  ASSERT_EQ(arc->getPointAtParam(arc->startAngle() + arc->sweep() / 2, arcMid), Acad::eOk);
  EXPECT_NEAR(plMid.distanceTo(arcMid), 0.0, 1e-9);
}

TEST(ChangeArcToPline, HalfCircleGivesBulgeExactlyOne) {
  AcDbArc arc(AcGePoint3d(5, 5, 0), 2.0, 0.0, kPi);
  AcDbPolyline* pl = nullptr;
  ASSERT_TRUE(CCommonUtils::changeArcToPline(&arc, pl));
  std::unique_ptr<AcDbPolyline> owner(pl);
  EXPECT_EQ(Bulge(pl, 0), 1.0);
  EXPECT_EQ(Bulge(pl, 1), 0.0);
  ExpectPoints(pl, {AcGePoint2d(7, 5), AcGePoint2d(3, 5)});
  ExpectSameMiddle(pl, &arc);
}

TEST(ChangeArcToPline, ArcOverZeroDegreesGetsTheSweepOfTwentyDegrees) {
  AcDbArc arc(AcGePoint3d(0, 0, 0), 10.0, Deg(350), Deg(10));
  arc.setColorIndex(4);
  AcDbPolyline* pl = nullptr;
  ASSERT_TRUE(CCommonUtils::changeArcToPline(&arc, pl));
  std::unique_ptr<AcDbPolyline> owner(pl);
  EXPECT_NEAR(Bulge(pl, 0), tan(Deg(5)), 1e-12);
  ExpectPoints(pl, {AcGePoint2d(10 * cos(Deg(350)), 10 * sin(Deg(350))), AcGePoint2d(10 * cos(Deg(10)), 10 * sin(Deg(10)))});
  EXPECT_EQ(pl->colorIndex(), 4);
  ExpectSameMiddle(pl, &arc);
  EXPECT_FALSE(pl->isClosed());
}

TEST(ChangeArcToPline, ArcSeenFromBelowTurnsClockwiseInTheWorld) {
  AcDbArc arc(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, -1), 3.0, 0.0, kPi / 2);
  AcDbPolyline* pl = nullptr;
  ASSERT_TRUE(CCommonUtils::changeArcToPline(&arc, pl));
  std::unique_ptr<AcDbPolyline> owner(pl);
  EXPECT_NEAR(Bulge(pl, 0), -tan(kPi / 8), 1e-12);
  ExpectSameMiddle(pl, &arc);
}

TEST_F(ConvertTest, ArcWithoutSweepIsErasedFromTheDrawing) {
  AcDbObjectId id = Add(new AcDbArc(AcGePoint3d(0, 0, 0), 5.0, 1.0, 1.0));
  AcDbArc* arc = nullptr;
  ASSERT_EQ(acdbOpenObject(arc, id, AcDb::kForRead), Acad::eOk);
  AcDbPolyline* pl = nullptr;
  EXPECT_FALSE(CCommonUtils::changeArcToPline(arc, pl));
  EXPECT_EQ(pl, nullptr);
  EXPECT_TRUE(arc->isErased());
  EXPECT_FALSE(arc->isWriteEnabled());  // back to the caller's read mode
  arc->close();
  AcDbObject* obj = nullptr;
  EXPECT_EQ(acdbOpenObject(obj, id, AcDb::kForRead), Acad::eWasErased);
}

TEST(ConvertToPline, LineAndCircle) {
  AcDbLine line(AcGePoint3d(1, 2, 0), AcGePoint3d(4, 6, 0));
  line.setColorIndex(2);
  line.setLayer(L"ROUTE");
  AcDbPolyline* pl = nullptr;
  ASSERT_TRUE(CCommonUtils::changeLineToPline(&line, pl));
  std::unique_ptr<AcDbPolyline> lineOwner(pl);
  ExpectVerts(pl, {{1, 2, 0, 0, 0}, {4, 6, 0, 0, 0}});
  EXPECT_EQ(pl->colorIndex(), 2);
  EXPECT_EQ(pl->layerName(), L"ROUTE");

  AcDbCircle circle(AcGePoint3d(1, 1, 0), AcGeVector3d::kZAxis, 2.0);
  ASSERT_TRUE(CCommonUtils::changeCircleToPline(&circle, pl));
  std::unique_ptr<AcDbPolyline> circleOwner(pl);
  ExpectVerts(pl, {{3, 1, 1, 0, 0}, {-1, 1, 1, 0, 0}});
  EXPECT_TRUE(pl->isClosed());
  EXPECT_NEAR(pl->length(), circle.circumference(), 1e-9);
  EXPECT_FALSE(CCommonUtils::changeLineToPline(nullptr, pl));
}

AcDb2dPolyline* MakePoly2d(AcDb::Poly2dType type, bool closed, const AcGeDoubleArray* bulges = nullptr) {
  AcGePoint3dArray pts;
  pts.append(AcGePoint3d(0, 0, 0));
  pts.append(AcGePoint3d(10, 0, 0));
  pts.append(AcGePoint3d(10, 10, 0));
  pts.append(AcGePoint3d(0, 10, 0));
  return new AcDb2dPolyline(type, pts, 0.0, closed, 0.0, 0.0, bulges);
}

TEST(Change2dPolyToPline, KeepsBulgesOrStraightens) {
  AcGeDoubleArray bulges;
  for (double b : {0.5, 0.0, -0.3, 0.2}) bulges.append(b);
  std::unique_ptr<AcDb2dPolyline> poly(MakePoly2d(AcDb::k2dSimplePoly, true, &bulges));
  AcDbPolyline* pl = nullptr;
  ASSERT_TRUE(CCommonUtils::change2dPolyToPline(poly.get(), pl));
  std::unique_ptr<AcDbPolyline> owner(pl);
  ExpectVerts(pl, {{0, 0, 0.5, 0, 0}, {10, 0, 0, 0, 0}, {10, 10, -0.3, 0, 0}, {0, 10, 0.2, 0, 0}});
  EXPECT_TRUE(pl->isClosed());

  ASSERT_TRUE(CCommonUtils::changePolyToPline(poly.get(), pl));
  std::unique_ptr<AcDbPolyline> straight(pl);
  ExpectVerts(pl, {{0, 0, 0, 0, 0}, {10, 0, 0, 0, 0}, {10, 10, 0, 0, 0}, {0, 10, 0, 0, 0}});
  EXPECT_FALSE(CCommonUtils::change2dPolyToPline(nullptr, pl));
}

TEST_F(ConvertTest, SplineFitPolylineOfTheDrawingSkipsControlVerticesAndClosesThem) {
  AcDbObjectId id = Add(MakePoly2d(AcDb::k2dCubicSplinePoly, false));
  AcDb2dPolyline* poly = nullptr;
  ASSERT_EQ(acdbOpenObject(poly, id, AcDb::kForRead), Acad::eOk);
  int shown = 0, total = 0;
  AcDbObjectIterator* it = poly->vertexIterator();
  for (it->start(); !it->done(); it->step()) {
    ++total;
    if (AcDb2dVertex::cast(it->entity())->vertexType() != AcDb::k2dSplineCtlVertex) ++shown;
  }
  delete it;
  AcDbPolyline* pl = nullptr;
  ASSERT_TRUE(CCommonUtils::changePolyToPline(poly, pl));
  std::unique_ptr<AcDbPolyline> owner(pl);
  EXPECT_GT(total, shown);
  EXPECT_EQ(static_cast<int>(pl->numVerts()), shown);
  AcGePoint3d first, polyStart;
  pl->getPointAt(0, first);
  poly->getStartPoint(polyStart);
  EXPECT_NEAR(first.distanceTo(polyStart), 0.0, 1e-9);
  // Poly2dToLWPoly refuses the spline fit.
  AcDbPolyline* lw = reinterpret_cast<AcDbPolyline*>(1);
  EXPECT_EQ(CCommonUtils::Poly2dToLWPoly(poly, lw), Acad::eNotImplementedYet);
  EXPECT_EQ(lw, nullptr);
  poly->close();
}

TEST(Poly2dToLWPoly, StatusCodes) {
  AcDbPolyline* pl = nullptr;
  EXPECT_EQ(CCommonUtils::Poly2dToLWPoly(nullptr, pl), Acad::eInvalidInput);
  EXPECT_EQ(pl, nullptr);

  AcGeDoubleArray bulges;
  for (double b : {0.0, 1.0, 0.0, 0.0}) bulges.append(b);
  std::unique_ptr<AcDb2dPolyline> poly(MakePoly2d(AcDb::k2dSimplePoly, true, &bulges));
  poly->setColorIndex(6);
  ASSERT_EQ(CCommonUtils::Poly2dToLWPoly(poly.get(), pl), Acad::eOk);
  std::unique_ptr<AcDbPolyline> owner(pl);
  ExpectVerts(pl, {{0, 0, 0, 0, 0}, {10, 0, 1, 0, 0}, {10, 10, 0, 0, 0}, {0, 10, 0, 0, 0}});
  EXPECT_TRUE(pl->isClosed());
  EXPECT_EQ(pl->colorIndex(), 6);
  EXPECT_EQ(poly->numVerts(), 4);  // the source is untouched

  std::unique_ptr<AcDb2dPolyline> fit(MakePoly2d(AcDb::k2dFitCurvePoly, false));
  AcDbPolyline* fitted = nullptr;
  ASSERT_EQ(CCommonUtils::Poly2dToLWPoly(fit.get(), fitted), Acad::eOk);
  std::unique_ptr<AcDbPolyline> fitOwner(fitted);
  EXPECT_EQ(static_cast<int>(fitted->numVerts()), fit->numVerts());
  EXPECT_NEAR(fitted->length(), fit->length(), 1e-9);
}

TEST(ChangeToPolyline, DispatchesOnTheKindOfEntity) {
  std::unique_ptr<AcDbPolyline> src(MakePline({{0, 0, 0.3, 1, 2}, {5, 0, 0, 2, 1}, {5, 5, 0, 0, 0}}));
  AcDbPolyline* pl = nullptr;
  ASSERT_TRUE(CCommonUtils::changeToPolyline(src.get(), pl));
  std::unique_ptr<AcDbPolyline> copy(pl);
  EXPECT_NE(pl, src.get());
  ExpectVerts(pl, Verts(src.get()));

  AcDbArc arc(AcGePoint3d(0, 0, 0), 1.0, 0.0, kPi / 2);
  ASSERT_TRUE(CCommonUtils::changeToPolyline(&arc, pl));
  delete pl;
  AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  ASSERT_TRUE(CCommonUtils::changeToPolyline(&line, pl));
  delete pl;
  AcDbCircle circle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 1.0);
  ASSERT_TRUE(CCommonUtils::changeToPolyline(&circle, pl));
  EXPECT_TRUE(pl->isClosed());
  delete pl;
  std::unique_ptr<AcDb2dPolyline> poly(MakePoly2d(AcDb::k2dSimplePoly, false));
  ASSERT_TRUE(CCommonUtils::changeToPolyline(poly.get(), pl));
  EXPECT_EQ(pl->numVerts(), 4u);
  delete pl;

  pl = nullptr;
  AcDbEllipse ellipse(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(2, 0, 0), 0.5);
  EXPECT_FALSE(CCommonUtils::changeToPolyline(&ellipse, pl));
  EXPECT_EQ(pl, nullptr);
  EXPECT_FALSE(CCommonUtils::changeToPolyline(static_cast<AcDbEntity*>(nullptr), pl));
}

TEST_F(ConvertTest, ChangeToPolylineByIdOpensAndClosesTheEntity) {
  AcDbObjectId lineId = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0)));
  AcDbPolyline* pl = nullptr;
  ASSERT_TRUE(CCommonUtils::changeToPolyline(lineId, pl));
  ExpectPoints(pl, {AcGePoint2d(0, 0), AcGePoint2d(3, 4)});
  delete pl;
  AcDbObjectId circleId = Add(new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 1.0));
  ASSERT_TRUE(CCommonUtils::changeToPolyline(circleId, pl));
  delete pl;
  // An old 2D polyline by id is not converted (the closing check runs in
  // TearDown).
  AcDbObjectId polyId = Add(MakePoly2d(AcDb::k2dSimplePoly, false));
  pl = nullptr;
  EXPECT_FALSE(CCommonUtils::changeToPolyline(polyId, pl));
  EXPECT_EQ(pl, nullptr);
  EXPECT_FALSE(CCommonUtils::changeToPolyline(AcDbObjectId(), pl));
}

TEST(CreateRetangle, FourCornersInOrderClosed) {
  AcDbPolyline* pl = nullptr;
  ASSERT_TRUE(CCommonUtils::createRetangle(AcGePoint2d(1, 2), AcGePoint2d(5, 7), pl));
  std::unique_ptr<AcDbPolyline> owner(pl);
  ExpectPoints(pl, {AcGePoint2d(1, 2), AcGePoint2d(1, 7), AcGePoint2d(5, 7), AcGePoint2d(5, 2)});
  EXPECT_TRUE(pl->isClosed());
  double area = 0;
  pl->getArea(area);
  EXPECT_NEAR(area, 20.0, 1e-9);
}

TEST(CreateRegion, OneClosedCurveMakesOneRegion) {
  AcDbPolyline* rect = nullptr;
  CCommonUtils::createRetangle(AcGePoint2d(0, 0), AcGePoint2d(4, 3), rect);
  std::unique_ptr<AcDbPolyline> owner(rect);
  AcDbRegion* region = nullptr;
  ASSERT_TRUE(CCommonUtils::createRegion(rect, region));
  std::unique_ptr<AcDbRegion> regionOwner(region);
  double area = 0;
  region->getArea(area);
  EXPECT_NEAR(area, 12.0, 1e-9);

  AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  AcDbRegion* none = reinterpret_cast<AcDbRegion*>(1);
  EXPECT_FALSE(CCommonUtils::createRegion(&line, none));
  EXPECT_EQ(none, nullptr);
}

TEST(CreateArc, ThroughThreePointsInBothTurningDirections) {
  // Counter-clockwise from (1,0) over (0,1) to (-1,0).
  std::unique_ptr<AcDbArc> ccw(CCommonUtils::createArc(AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 0), AcGePoint3d(-1, 0, 0)));
  ASSERT_NE(ccw, nullptr);
  EXPECT_NEAR(ccw->center().distanceTo(AcGePoint3d(0, 0, 0)), 0.0, 1e-9);
  EXPECT_NEAR(ccw->radius(), 1.0, 1e-9);
  EXPECT_NEAR(ccw->startAngle(), 0.0, 1e-9);
  EXPECT_NEAR(ccw->endAngle(), kPi, 1e-9);
  EXPECT_TRUE(ccw->normal().isEqualTo(AcGeVector3d::kZAxis));

  // Clockwise from (0,1) over (1,0) to (0,-1): the arc runs from 270 to 90
  // degrees and passes through the middle point.
  std::unique_ptr<AcDbArc> cw(CCommonUtils::createArc(AcGePoint3d(0, 1, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(0, -1, 0)));
  ASSERT_NE(cw, nullptr);
  EXPECT_NEAR(cw->startAngle(), 1.5 * kPi, 1e-9);
  EXPECT_NEAR(cw->endAngle(), 0.5 * kPi, 1e-9);
  AcGePoint3d mid;
  cw->getPointAtParam(cw->startAngle() + cw->sweep() / 2, mid);
  EXPECT_NEAR(mid.distanceTo(AcGePoint3d(1, 0, 0)), 0.0, 1e-9);

  EXPECT_EQ(CCommonUtils::createArc(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(2, 2, 0)), nullptr);
}

TEST(CreateArc, FromCircularAndEllipticalArcGeometry) {
  AcGeCircArc2d clockwise(AcGePoint2d(1, 1), 2.0, 0.0, kPi / 2, AcGeVector2d::kXAxis, true);
  std::unique_ptr<AcDbArc> arc(CCommonUtils::createArc(clockwise));
  ASSERT_NE(arc, nullptr);
  // Clockwise from (3,1) down to (1,-1): counter-clockwise from 270 to 0.
  EXPECT_NEAR(arc->startAngle(), 1.5 * kPi, 1e-9);
  EXPECT_NEAR(arc->endAngle(), 0.0, 1e-9);
  EXPECT_NEAR(arc->radius(), 2.0, 1e-12);

  AcGeEllipArc3d circular(AcGePoint3d(0, 0, 0), AcGeVector3d::kXAxis, AcGeVector3d::kYAxis, 3.0, 3.0, kPi / 4, kPi);
  std::unique_ptr<AcDbArc> fromEllipse(CCommonUtils::createArc(circular));
  ASSERT_NE(fromEllipse, nullptr);
  EXPECT_NEAR(fromEllipse->startAngle(), kPi / 4, 1e-9);
  EXPECT_NEAR(fromEllipse->endAngle(), kPi, 1e-9);
  AcGeEllipArc3d flat(AcGePoint3d(0, 0, 0), AcGeVector3d::kXAxis, AcGeVector3d::kYAxis, 3.0, 1.0);
  EXPECT_EQ(CCommonUtils::createArc(flat), nullptr);
}

TEST(CalArcSegMidPoint, WhereTheLineThroughTheChordMiddleMeetsTheArc) {
  AcGePoint3d mid;
  AcDbArc quarter(AcGePoint3d(1, 1, 0), 2.0, 0.0, kPi / 2);
  ASSERT_TRUE(CCommonUtils::calArcSegMidPoint(&quarter, mid));
  EXPECT_NEAR(mid.distanceTo(AcGePoint3d(1 + sqrt(2.0), 1 + sqrt(2.0), 0)), 0.0, 1e-9);
  // Longer than a half circle: the far side of the centre.
  AcDbArc large(AcGePoint3d(0, 0, 0), 1.0, 0.0, 1.5 * kPi);
  ASSERT_TRUE(CCommonUtils::calArcSegMidPoint(&large, mid));
  EXPECT_NEAR(mid.distanceTo(AcGePoint3d(cos(0.75 * kPi), sin(0.75 * kPi), 0)), 0.0, 1e-9);
  // A half circle: the chord's middle is the centre, the arc's middle is on
  // the arc all the same.
  AcDbArc half(AcGePoint3d(0, 0, 0), 1.0, 0.0, kPi);
  ASSERT_TRUE(CCommonUtils::calArcSegMidPoint(&half, mid));
  EXPECT_NEAR(mid.distanceTo(AcGePoint3d(0, 1, 0)), 0.0, 1e-9);

  AcGePoint2d mid2;
  AcGeCircArc2d cw(AcGePoint2d(0, 0), 1.0, 0.0, kPi / 2, AcGeVector2d::kXAxis, true);
  ASSERT_TRUE(CCommonUtils::calArcSegMidPoint(cw, mid2));
  EXPECT_NEAR(mid2.distanceTo(AcGePoint2d(cos(kPi / 4), -sin(kPi / 4))), 0.0, 1e-9);

  AcGeEllipArc3d ellipse(AcGePoint3d(0, 0, 0), AcGeVector3d::kXAxis, AcGeVector3d::kYAxis, 2.0, 1.0, 0.0, kPi / 2);
  ASSERT_TRUE(CCommonUtils::calArcSegMidPoint(ellipse, mid));
  EXPECT_NEAR(mid.distanceTo(AcGePoint3d(sqrt(2.0), sqrt(0.5), 0)), 0.0, 1e-9);
}

}  // namespace
