// Closing, tidying, reversing and extending lightweight polylines.
#include <cmath>
#include <memory>

#include "cadtest.h"
#include "CommonUtils.h"
#include "dbcurves.h"
#include "dbpline.h"
#include "geotestutil.h"

namespace {

using namespace geotest;
using PlineTest = CadTest;

// ---- closing -------------------------------------------------------------

TEST(IsPolylineClosed, EndsWithinTheToleranceDropTheLastVertex) {
  std::unique_ptr<AcDbPolyline> pl(MakePath({{0, 0}, {10, 0}, {10, 10}, {0.05, 0.05}}));
  EXPECT_TRUE(CCommonUtils::isPolylineClosed(pl.get()));
  EXPECT_TRUE(pl->isClosed());
  ExpectPoints(pl.get(), {{0, 0}, {10, 0}, {10, 10}});

  std::unique_ptr<AcDbPolyline> open(MakePath({{0, 0}, {10, 0}, {10, 10}, {0.2, 0}}));
  EXPECT_FALSE(CCommonUtils::isPolylineClosed(open.get()));
  EXPECT_FALSE(open->isClosed());
  EXPECT_EQ(open->numVerts(), 4u);
  // Two vertices never close, even when they coincide.
  std::unique_ptr<AcDbPolyline> two(MakePath({{0, 0}, {0, 0}}));
  EXPECT_FALSE(CCommonUtils::isPolylineClosed(two.get()));
  EXPECT_EQ(two->numVerts(), 2u);
  std::unique_ptr<AcDbPolyline> flagged(MakePath({{0, 0}, {10, 0}}, true));
  EXPECT_TRUE(CCommonUtils::isPolylineClosed(flagged.get()));
}

TEST_F(PlineTest, IsPolylineClosedUpgradesAndDowngradesAPolylineOpenForRead) {
  AcDbObjectId id = Add(MakePath({{0, 0}, {10, 0}, {10, 10}, {0, 0}}));
  AcDbPolyline* pl = nullptr;
  ASSERT_EQ(acdbOpenObject(pl, id, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(CCommonUtils::isPolylineClosed(pl));
  EXPECT_FALSE(pl->isWriteEnabled());
  EXPECT_TRUE(pl->isReadEnabled());
  EXPECT_EQ(pl->numVerts(), 3u);
  pl->close();
}

TEST_F(PlineTest, IsEntityClosedByKindAndById) {
  AcDbCircle circle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 1.0);
  EXPECT_TRUE(CCommonUtils::IsEntityClosed(&circle));
  AcDbEllipse full(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(2, 0, 0), 0.5);
  EXPECT_TRUE(CCommonUtils::IsEntityClosed(&full));
  AcDbEllipse part(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(2, 0, 0), 0.5, 0.0, 6.28);
  EXPECT_FALSE(CCommonUtils::IsEntityClosed(&part));
  AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  EXPECT_FALSE(CCommonUtils::IsEntityClosed(&line));
  EXPECT_FALSE(CCommonUtils::IsEntityClosed(static_cast<AcDbEntity*>(nullptr)));

  // Ends 0.000005 apart close the polyline and keep its last vertex; ends
  // 0.00001 apart do not.
  std::unique_ptr<AcDbPolyline> nearly(MakePath({{0, 0}, {10, 0}, {10, 10}, {0.000005, 0}}));
  EXPECT_TRUE(CCommonUtils::IsEntityClosed(nearly.get()));
  EXPECT_TRUE(nearly->isClosed());
  EXPECT_EQ(nearly->numVerts(), 4u);
  std::unique_ptr<AcDbPolyline> apart(MakePath({{0, 0}, {10, 0}, {10, 10}, {0.00001, 0}}));
  EXPECT_FALSE(CCommonUtils::IsEntityClosed(apart.get()));
  EXPECT_FALSE(apart->isClosed());
  std::unique_ptr<AcDbPolyline> two(MakePath({{0, 0}, {0, 0}}));
  EXPECT_FALSE(CCommonUtils::IsEntityClosed(two.get()));

  // By id: the polyline of the drawing gets its flag and is closed again
  // (checked in TearDown).
  AcDbObjectId id = Add(MakePath({{0, 0}, {10, 0}, {10, 10}, {0, 0}}));
  EXPECT_TRUE(CCommonUtils::IsEntityClosed(id));
  AcDbPolyline* pl = nullptr;
  ASSERT_EQ(acdbOpenObject(pl, id, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(pl->isClosed());
  pl->close();
  EXPECT_FALSE(CCommonUtils::IsEntityClosed(AcDbObjectId()));
}

// ---- removeDoubleVert ------------------------------------------------------

TEST(RemoveDoubleVert, ClosedSquareWithRepeatedLastVertexStaysClosed) {
  std::unique_ptr<AcDbPolyline> pl(MakePath({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, true));
  EXPECT_TRUE(CCommonUtils::removeDoubleVert(pl.get()));
  ExpectPoints(pl.get(), {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  EXPECT_TRUE(pl->isClosed());
  double area = 0;
  pl->getArea(area);
  EXPECT_NEAR(area, 100.0, 1e-9);
}

TEST(RemoveDoubleVert, RunsOfRepeatsAndTheOpenCase) {
  // Three vertices at one place: both repeats go.
  std::unique_ptr<AcDbPolyline> pl(MakePath({{0, 0}, {5, 0}, {5.05, 0}, {5, 0.05}, {5, 5}}));
  EXPECT_TRUE(CCommonUtils::removeDoubleVert(pl.get()));
  ExpectPoints(pl.get(), {{0, 0}, {5, 0.05}, {5, 5}});
  EXPECT_FALSE(pl->isClosed());
  // An open polyline returning to its start becomes closed.
  std::unique_ptr<AcDbPolyline> ring(MakePath({{0, 0}, {10, 0}, {10, 10}, {0, 0.01}}));
  EXPECT_TRUE(CCommonUtils::removeDoubleVert(ring.get()));
  EXPECT_TRUE(ring->isClosed());
  EXPECT_EQ(ring->numVerts(), 3u);
  // Nothing to remove; fewer than four vertices are not looked at.
  std::unique_ptr<AcDbPolyline> clean(MakePath({{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
  EXPECT_FALSE(CCommonUtils::removeDoubleVert(clean.get()));
  EXPECT_EQ(clean->numVerts(), 4u);
  std::unique_ptr<AcDbPolyline> short3(MakePath({{0, 0}, {0, 0}, {0, 0}}));
  EXPECT_FALSE(CCommonUtils::removeDoubleVert(short3.get()));
  EXPECT_EQ(short3->numVerts(), 3u);
  // All at one place: one vertex is left, no endless loop.
  std::unique_ptr<AcDbPolyline> dot(MakePath({{1, 1}, {1, 1}, {1, 1}, {1, 1}}));
  EXPECT_TRUE(CCommonUtils::removeDoubleVert(dot.get()));
  EXPECT_EQ(dot->numVerts(), 1u);
}

// ---- reversePline ----------------------------------------------------------

TEST(ReversePline, OpenPolylineWithBulgesAndWidths) {
  // Segment 0: bulge 0.5, widths 1->2; segment 1: bulge -0.25, widths 3->4;
  // segment 2 straight, widths 5->6; the last vertex's widths are unused.
  std::unique_ptr<AcDbPolyline> pl(
      MakePline({{0, 0, 0.5, 1, 2}, {10, 0, -0.25, 3, 4}, {10, 10, 0, 5, 6}, {0, 10, 0.7, 7, 8}}));
  double lengthBefore = pl->length();
  AcGePoint3d quarter;
  pl->getPointAtDist(lengthBefore / 4, quarter);
  ASSERT_TRUE(CCommonUtils::reversePline(pl.get()));
  ExpectVerts(pl.get(), {{0, 10, 0, 6, 5}, {10, 10, 0.25, 4, 3}, {10, 0, -0.5, 2, 1}, {0, 0, 0, 8, 7}});
  EXPECT_FALSE(pl->isClosed());
  // The same curve run backwards.
  EXPECT_NEAR(pl->length(), lengthBefore, 1e-9);
  AcGePoint3d back;
  pl->getPointAtDist(lengthBefore * 3 / 4, back);
  EXPECT_NEAR(back.distanceTo(quarter), 0.0, 1e-9);
}

TEST(ReversePline, ClosedPolylineKeepsItsFirstVertex) {
  std::vector<Vert> verts = {{0, 0, 0.5, 1, 2}, {10, 0, 0, 3, 4}, {10, 10, -0.3, 5, 6}, {0, 10, 0.2, 7, 8}};
  std::unique_ptr<AcDbPolyline> pl(MakePline(verts, true));
  double areaBefore = 0;
  pl->getArea(areaBefore);
  ASSERT_TRUE(CCommonUtils::reversePline(pl.get()));
  ExpectVerts(pl.get(), {{0, 0, -0.2, 8, 7}, {0, 10, 0.3, 6, 5}, {10, 10, 0, 4, 3}, {10, 0, -0.5, 2, 1}});
  EXPECT_TRUE(pl->isClosed());
  double areaAfter = 0;
  pl->getArea(areaAfter);
  EXPECT_NEAR(areaAfter, areaBefore, 1e-9);
  // Twice reversed is the original again.
  ASSERT_TRUE(CCommonUtils::reversePline(pl.get()));
  ExpectVerts(pl.get(), verts, "reversed twice");
}

TEST(ReversePline, DegenerateInput) {
  EXPECT_FALSE(CCommonUtils::reversePline(nullptr));
  std::unique_ptr<AcDbPolyline> one(MakePath({{3, 4}}));
  EXPECT_TRUE(CCommonUtils::reversePline(one.get()));
  ExpectPoints(one.get(), {{3, 4}});
}

// ---- joinPline ---------------------------------------------------------------

TEST(JoinPline, ForwardAndBackward) {
  std::unique_ptr<AcDbPolyline> target(MakePath({{0, 0}, {10, 0}}));
  std::unique_ptr<AcDbPolyline> forward(MakePath({{10, 0}, {10, 10}, {20, 10}}));
  CCommonUtils::joinPline(target.get(), forward.get(), true);
  ExpectPoints(target.get(), {{0, 0}, {10, 0}, {10, 10}, {20, 10}});
  std::unique_ptr<AcDbPolyline> backward(MakePath({{30, 20}, {20, 20}, {20, 10}}));
  CCommonUtils::joinPline(target.get(), backward.get(), false);
  ExpectPoints(target.get(), {{0, 0}, {10, 0}, {10, 10}, {20, 10}, {20, 20}, {30, 20}});
  EXPECT_FALSE(target->isClosed());
  EXPECT_EQ(forward->numVerts(), 3u);  // the source is not changed
}

TEST(JoinPline, ReturningToTheFirstPointClosesInsteadOfDuplicating) {
  std::unique_ptr<AcDbPolyline> target(MakePath({{0, 0}, {10, 0}, {10, 10}}));
  std::unique_ptr<AcDbPolyline> source(MakePath({{10, 10}, {0, 10}, {0, 0}}));
  CCommonUtils::joinPline(target.get(), source.get(), true);
  ExpectPoints(target.get(), {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  EXPECT_TRUE(target->isClosed());
  // The same when joined backwards.
  std::unique_ptr<AcDbPolyline> target2(MakePath({{0, 0}, {10, 0}, {10, 10}}));
  std::unique_ptr<AcDbPolyline> source2(MakePath({{0, 0}, {0, 10}, {10, 10}}));
  CCommonUtils::joinPline(target2.get(), source2.get(), false);
  ExpectPoints(target2.get(), {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  EXPECT_TRUE(target2->isClosed());
}

TEST(JoinPline, ArcSegmentsKeepTheirBulges) {
  std::unique_ptr<AcDbPolyline> target(MakePath({{0, 0}, {10, 0}}));
  std::unique_ptr<AcDbPolyline> source(MakePline({{10, 0, 1, -1, -1}, {20, 0, 0.5, -1, -1}, {30, 0, 0, -1, -1}}));
  double expected = target->length() + source->length();
  CCommonUtils::joinPline(target.get(), source.get(), true);
  ExpectVerts(target.get(), {{0, 0, 0, 0, 0}, {10, 0, 1, 0, 0}, {20, 0, 0.5, 0, 0}, {30, 0, 0, 0, 0}});
  EXPECT_NEAR(target->length(), expected, 1e-9);
  // Backwards the arcs turn the other way.
  std::unique_ptr<AcDbPolyline> target2(MakePath({{40, 0}, {30, 0}}));
  CCommonUtils::joinPline(target2.get(), source.get(), false);
  ExpectVerts(target2.get(), {{40, 0, 0, 0, 0}, {30, 0, -0.5, 0, 0}, {20, 0, -1, 0, 0}, {10, 0, 0, 0, 0}});
}

// ---- addEntToNewPline ----------------------------------------------------------

TEST(AddEntToNewPline, LineAtEitherEnd) {
  std::unique_ptr<AcDbPolyline> pl(MakePath({{0, 0}, {10, 0}}));
  AcDbLine line(AcGePoint3d(10, 0, 0), AcGePoint3d(10, 5, 0));
  ASSERT_EQ(CCommonUtils::addEntToNewPline(pl.get(), &line, AcGePoint3d(10, 0, 0)), Acad::eOk);
  ExpectPoints(pl.get(), {{0, 0}, {10, 0}, {10, 5}});
  AcDbLine reversed(AcGePoint3d(0, 5, 0), AcGePoint3d(10.05, 5, 0));
  ASSERT_EQ(CCommonUtils::addEntToNewPline(pl.get(), &reversed, AcGePoint3d(10, 5, 0)), Acad::eOk);
  ExpectPoints(pl.get(), {{0, 0}, {10, 0}, {10.05, 5}, {0, 5}});
  // Not at the join point, or not a line, arc or polyline: status 3, no change.
  AcDbLine far(AcGePoint3d(50, 50, 0), AcGePoint3d(60, 50, 0));
  EXPECT_EQ(CCommonUtils::addEntToNewPline(pl.get(), &far, AcGePoint3d(0, 5, 0)), Acad::eInvalidInput);
  AcDbCircle circle(AcGePoint3d(0, 5, 0), AcGeVector3d::kZAxis, 1.0);
  EXPECT_EQ(CCommonUtils::addEntToNewPline(pl.get(), &circle, AcGePoint3d(0, 5, 0)), Acad::eInvalidInput);
  EXPECT_EQ(pl->numVerts(), 4u);
}

// The polyline's segment from vertex i and the arc have the same middle.
void ExpectSegmentFollowsArc(const AcDbPolyline* pl, unsigned int i, const AcDbArc& arc) {
  AcGePoint3d mid, arcMid;
  pl->getPointAtParam(i + 0.5, mid);
  arc.getPointAtParam(arc.startAngle() + arc.sweep() / 2, arcMid);
  EXPECT_NEAR(mid.distanceTo(arcMid), 0.0, 1e-9) << "segment " << i;
}

TEST(AddEntToNewPline, ArcsForwardAndReversedSmallAndLarge) {
  std::unique_ptr<AcDbPolyline> pl(MakePath({{-10, 0}, {-1, 0}}));
  AcDbLine link(AcGePoint3d(-1, 0, 0), AcGePoint3d(0, -1, 0));
  ASSERT_EQ(CCommonUtils::addEntToNewPline(pl.get(), &link, AcGePoint3d(-1, 0, 0)), Acad::eOk);
  // A quarter counter-clockwise from (0,-1) to (1,0), joined at its start.
  AcDbArc quarter(AcGePoint3d(0, 0, 0), 1.0, 1.5 * kPi, 0.0);
  ASSERT_EQ(CCommonUtils::addEntToNewPline(pl.get(), &quarter, AcGePoint3d(0, -1, 0)), Acad::eOk);
  EXPECT_NEAR(Bulge(pl.get(), 2), tan(kPi / 8), 1e-12);
  ExpectSegmentFollowsArc(pl.get(), 2, quarter);
  // 270 degrees from (1,0) to (2,1): the large-arc bulge.
  AcDbArc large(AcGePoint3d(2, 0, 0), 1.0, kPi, 0.5 * kPi);
  ASSERT_EQ(CCommonUtils::addEntToNewPline(pl.get(), &large, AcGePoint3d(1, 0, 0)), Acad::eOk);
  EXPECT_NEAR(Bulge(pl.get(), 3), tan(3 * kPi / 8), 1e-9);
  ExpectSegmentFollowsArc(pl.get(), 3, large);
  // A quarter from (1,2) to (2,1) met at its end: run backwards, clockwise.
  AcDbArc reversed(AcGePoint3d(2, 2, 0), 1.0, kPi, 1.5 * kPi);
  ASSERT_EQ(CCommonUtils::addEntToNewPline(pl.get(), &reversed, AcGePoint3d(2, 1, 0)), Acad::eOk);
  EXPECT_NEAR(Bulge(pl.get(), 4), -tan(kPi / 8), 1e-12);
  ExpectSegmentFollowsArc(pl.get(), 4, reversed);
  ExpectPoints(pl.get(), {{-10, 0}, {-1, 0}, {0, -1}, {1, 0}, {2, 1}, {1, 2}});
}

TEST(AddEntToNewPline, PolylineWithOppositeNormalAndReversedPolyline) {
  std::unique_ptr<AcDbPolyline> pl(MakePath({{0, 0}, {10, 0}}));
  // Seen from below: plane x is world -x. Its vertices in world terms run
  // (10,0) -> (20,0) -> (20,10) with an arc on the first segment.
  std::unique_ptr<AcDbPolyline> below(MakePline({{-10, 0, 0.5, -1, -1}, {-20, 0, 0, -1, -1}, {-20, 10, 0, -1, -1}}));
  below->setNormal(AcGeVector3d(0, 0, -1));
  AcGePoint3d worldStart;
  below->getPointAt(0, worldStart);
  ASSERT_NEAR(worldStart.distanceTo(AcGePoint3d(10, 0, 0)), 0.0, 1e-9);
  AcGePoint3d belowMid;
  below->getPointAtParam(0.5, belowMid);
  ASSERT_EQ(CCommonUtils::addEntToNewPline(pl.get(), below.get(), AcGePoint3d(10, 0, 0)), Acad::eOk);
  ExpectVerts(pl.get(), {{0, 0, 0, 0, 0}, {10, 0, -0.5, 0, 0}, {20, 0, 0, 0, 0}, {20, 10, 0, 0, 0}});
  AcGePoint3d mid;
  pl->getPointAtParam(1.5, mid);
  EXPECT_NEAR(mid.distanceTo(belowMid), 0.0, 1e-9);

  // A polyline met at its end is added backwards; the caller's polyline is
  // left as it was.
  std::unique_ptr<AcDbPolyline> tail(MakePline({{30, 20, 0.25, -1, -1}, {20, 20, 0, -1, -1}, {20, 10, 0, -1, -1}}));
  ASSERT_EQ(CCommonUtils::addEntToNewPline(pl.get(), tail.get(), AcGePoint3d(20, 10, 0)), Acad::eOk);
  ExpectVerts(pl.get(), {{0, 0, 0, 0, 0}, {10, 0, -0.5, 0, 0}, {20, 0, 0, 0, 0}, {20, 10, 0, 0, 0},
                         {20, 20, -0.25, 0, 0}, {30, 20, 0, 0, 0}});
  ExpectVerts(tail.get(), {{30, 20, 0.25, 0, 0}, {20, 20, 0, 0, 0}, {20, 10, 0, 0, 0}}, "source");
}

}  // namespace
