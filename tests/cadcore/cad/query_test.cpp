// Geometric questions about curves: points on curves, containment, closest
// points between curves, vertices, points and values in order.
#include <algorithm>
#include <memory>
#include <random>

#include "cadtest.h"
#include "CommonUtils.h"
#include "db3dpline.h"
#include "dbcurves.h"
#include "dbpline.h"
#include "geotestutil.h"

namespace {

using namespace geotest;
using QueryTest = CadTest;

void ExpectPoint(const AcGePoint3d& got, const AcGePoint3d& want, const char* what) {
  EXPECT_NEAR(got.distanceTo(want), 0.0, 1e-9) << what << ": (" << got.x << "," << got.y << "," << got.z << ")";
}

TEST(IsPointOnCurve, WithinTheTolerance) {
  std::unique_ptr<AcDbPolyline> pl(MakePath({{0, 0}, {10, 0}, {10, 10}}));
  EXPECT_TRUE(CCommonUtils::isPointOnCurve(pl.get(), AcGePoint3d(5, 0.09, 0)));
  EXPECT_FALSE(CCommonUtils::isPointOnCurve(pl.get(), AcGePoint3d(5, 0.1, 0)));
  EXPECT_TRUE(CCommonUtils::isPointOnCurve(pl.get(), AcGePoint3d(10.05, 7, 0)));
  EXPECT_FALSE(CCommonUtils::isPointOnCurve(nullptr, AcGePoint3d(0, 0, 0)));
}

TEST(IsEntityTotalIn, SegmentMiddlesAndBothEnds) {
  std::unique_ptr<AcDbPolyline> outer(MakePath({{0, 0}, {10, 0}, {10, 10}}));
  std::unique_ptr<AcDbPolyline> inner(MakePath({{2, 0}, {10, 0}, {10, 4}}));
  EXPECT_TRUE(CCommonUtils::isEntityTotalIn(inner.get(), outer.get()));
  EXPECT_FALSE(CCommonUtils::isEntityTotalIn(outer.get(), inner.get()));
  // Ends on the outer polyline but the middle cuts the corner.
  std::unique_ptr<AcDbPolyline> chord(MakePath({{5, 0}, {10, 5}}));
  EXPECT_FALSE(CCommonUtils::isEntityTotalIn(chord.get(), outer.get()));
  // One end off.
  std::unique_ptr<AcDbPolyline> overshoot(MakePath({{2, 0}, {10, 0}, {10, 11}}));
  EXPECT_FALSE(CCommonUtils::isEntityTotalIn(overshoot.get(), outer.get()));
  // An arc segment bulging off the outer polyline.
  std::unique_ptr<AcDbPolyline> bulged(MakePline({{2, 0, 0.5, -1, -1}, {8, 0, 0, -1, -1}}));
  EXPECT_FALSE(CCommonUtils::isEntityTotalIn(bulged.get(), outer.get()));
  AcDbLine line(AcGePoint3d(1, 0, 0), AcGePoint3d(9, 0, 0));
  EXPECT_TRUE(CCommonUtils::isEntityTotalIn(&line, outer.get()));
}

TEST(GetClosestPoint, StraightPolylinesTakeTheNearestVertexPair) {
  std::unique_ptr<AcDbPolyline> a(MakePath({{0, 0}, {10, 0}, {20, 5}}));
  std::unique_ptr<AcDbPolyline> b(MakePath({{0, 10}, {10, 10}, {15, 8}, {30, 20}}));
  AcGePoint3d pa, pb;
  CCommonUtils::getClosestPoint(a.get(), b.get(), pa, pb);
  // The vertex (15,8) of b is nearest to a's second segment, (10,0)-(20,5):
  // its foot lies 0.72 of the way along, at (17.2,3.6).
  ExpectPoint(pa, AcGePoint3d(17.2, 3.6, 0), "on a");
  ExpectPoint(pb, AcGePoint3d(15, 8, 0), "on b");
  // The pair comes back in the callers' order when the curves swap.
  AcGePoint3d qa, qb;
  CCommonUtils::getClosestPoint(b.get(), a.get(), qb, qa);
  ExpectPoint(qa, pa, "swapped a");
  ExpectPoint(qb, pb, "swapped b");
}

TEST(GetClosestPoint, AnArcSegmentComesNearestBetweenItsEnds) {
  // A half circle about the origin through (0,5); a line at y = 8.
  std::unique_ptr<AcDbPolyline> arc(MakePline({{5, 0, 1, -1, -1}, {-5, 0, 0, -1, -1}}));
  std::unique_ptr<AcDbPolyline> line(MakePath({{-20, 8}, {20, 8}}));
  AcGePoint3d pa, pb;
  CCommonUtils::getClosestPoint(arc.get(), line.get(), pa, pb);
  ExpectPoint(pa, AcGePoint3d(0, 5, 0), "top of the arc");
  ExpectPoint(pb, AcGePoint3d(0, 8, 0), "on the line");
  AcGePoint3dArray arA, arB;
  CCommonUtils::getAllClosestPoint(arc.get(), line.get(), arA, arB);
  ASSERT_EQ(arA.length(), 3);  // two vertices and the arc's pair
  ASSERT_EQ(arB.length(), 3);
  ExpectPoint(arA[1], AcGePoint3d(0, 5, 0), "arc pair");

  // The arc seen from the line's side.
  CCommonUtils::getClosestPoint(line.get(), arc.get(), pb, pa);
  ExpectPoint(pa, AcGePoint3d(0, 5, 0), "swapped, arc");

  // Bulging away from the line: no arc pair; of the equal vertex pairs the
  // first one found wins.
  std::unique_ptr<AcDbPolyline> away(MakePline({{5, 0, -1, -1, -1}, {-5, 0, 0, -1, -1}}));
  arA.setLogicalLength(0);
  arB.setLogicalLength(0);
  CCommonUtils::getAllClosestPoint(away.get(), line.get(), arA, arB);
  EXPECT_EQ(arA.length(), 2);
  CCommonUtils::getClosestPoint(away.get(), line.get(), pa, pb);
  ExpectPoint(pa, AcGePoint3d(5, 0, 0), "first vertex");
  ExpectPoint(pb, AcGePoint3d(5, 8, 0), "above it");
  // A circle round the arc's centre larger than the distance: no arc pair.
  std::unique_ptr<AcDbPolyline> near(MakePath({{-20, 3}, {20, 3}}));
  arA.setLogicalLength(0);
  arB.setLogicalLength(0);
  CCommonUtils::getAllClosestPoint(arc.get(), near.get(), arA, arB);
  EXPECT_EQ(arA.length(), 2);
}

TEST(Vertices, OfLightweightPolylines) {
  std::unique_ptr<AcDbPolyline> pl(MakePline({{0, 0, 0.5, -1, -1}, {10, 0, 0, -1, -1}, {10, 10, -0.2, -1, -1}}));
  pl->setElevation(2.0);
  AcGePoint3dArray pts;
  AcGeDoubleArray bulges;
  CCommonUtils::getPlineVertexs(pl.get(), pts, bulges);
  ASSERT_EQ(pts.length(), 3);
  ASSERT_EQ(bulges.length(), 3);
  ExpectPoint(pts[2], AcGePoint3d(10, 10, 2), "third");
  EXPECT_DOUBLE_EQ(bulges[0], 0.5);
  EXPECT_DOUBLE_EQ(bulges[2], -0.2);
  // Appended to what the array already holds.
  CCommonUtils::getAllVertexOfPline(pl.get(), pts);
  ASSERT_EQ(pts.length(), 6);
  ExpectPoint(pts[4], AcGePoint3d(10, 0, 2), "appended");
}

AcDb3dPolyline* Make3d() {
  AcGePoint3dArray pts;
  pts.append(AcGePoint3d(0, 0, 0));
  pts.append(AcGePoint3d(1, 2, 3));
  pts.append(AcGePoint3d(4, 5, 6));
  return new AcDb3dPolyline(AcDb::k3dSimplePoly, pts);
}

TEST_F(QueryTest, VerticesOf3dPolylinesNewAndInTheDrawing) {
  std::unique_ptr<AcDb3dPolyline> poly(Make3d());
  AcGePoint3dArray pts;
  CCommonUtils::getAllVertexOf3dPline(poly.get(), pts);
  ASSERT_EQ(pts.length(), 3);
  ExpectPoint(pts[1], AcGePoint3d(1, 2, 3), "new");

  AcDbObjectId id = Add(Make3d());
  AcDb3dPolyline* resident = nullptr;
  ASSERT_EQ(acdbOpenObject(resident, id, AcDb::kForRead), Acad::eOk);
  AcGePoint3dArray pts2;
  CCommonUtils::getAllVertexOf3dPline(resident, pts2);
  resident->close();
  ASSERT_EQ(pts2.length(), 3);
  ExpectPoint(pts2[2], AcGePoint3d(4, 5, 6), "resident");
  // TearDown checks that every vertex was closed again.
}

TEST(SortPoint, ByParameterAlongTheCurve) {
  std::unique_ptr<AcDbPolyline> pl(MakePath({{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
  AcGePoint3dArray pts;
  pts.append(AcGePoint3d(5, 10, 0));   // 2.5
  pts.append(AcGePoint3d(10, 3, 0));   // 1.3
  pts.append(AcGePoint3d(2, 0, 0));    // 0.2
  pts.append(AcGePoint3d(10.5, 8, 0));  // off the curve: its foot, 1.8
  pts.append(AcGePoint3d(0, 0, 0));    // 0
  CCommonUtils::sortPoint(pl.get(), pts);
  ASSERT_EQ(pts.length(), 5);
  ExpectPoint(pts[0], AcGePoint3d(0, 0, 0), "0");
  ExpectPoint(pts[1], AcGePoint3d(2, 0, 0), "1");
  ExpectPoint(pts[2], AcGePoint3d(10, 3, 0), "2");
  ExpectPoint(pts[3], AcGePoint3d(10.5, 8, 0), "3");
  ExpectPoint(pts[4], AcGePoint3d(5, 10, 0), "4");
}

AcGeDoubleArray Values(std::vector<double> v) {
  AcGeDoubleArray out;
  for (double d : v) out.append(d);
  return out;
}

void ExpectSorted(AcGeDoubleArray arr, const char* what) {
  std::vector<double> want;
  for (int i = 0; i < arr.length(); ++i) want.push_back(arr[i]);
  std::sort(want.begin(), want.end());
  CCommonUtils::sortParamArray(arr);
  ASSERT_EQ(arr.length(), static_cast<int>(want.size())) << what;
  for (int i = 0; i < arr.length(); ++i) EXPECT_EQ(arr[i], want[i]) << what << " at " << i;
}

TEST(SortParamArray, CombSortOfEveryShape) {
  AcGeDoubleArray empty;
  CCommonUtils::sortParamArray(empty);
  EXPECT_EQ(empty.length(), 0);
  ExpectSorted(Values({3.5}), "one");
  ExpectSorted(Values({2, 1}), "two");
  ExpectSorted(Values({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), "already sorted");
  ExpectSorted(Values({10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, -1, -2}), "reversed");
  ExpectSorted(Values({3, 1, 3, 2, 1, 3, 0.5, 2, 2}), "duplicates");
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> dist(-100, 100);
  for (int n : {5, 12, 37, 200}) {
    std::vector<double> v;
    for (int i = 0; i < n; ++i) v.push_back(dist(rng));
    ExpectSorted(Values(v), "random");
  }
}

TEST(GetEntStartAndEndPoint, CurvesOnly) {
  AcDbArc arc(AcGePoint3d(0, 0, 0), 2.0, 0.0, kPi / 2);
  AcGePoint3d s, e;
  ASSERT_EQ(CCommonUtils::getEntStartAndEndPoint(&arc, s, e), Acad::eOk);
  ExpectPoint(s, AcGePoint3d(2, 0, 0), "start");
  ExpectPoint(e, AcGePoint3d(0, 2, 0), "end");
  std::unique_ptr<AcDbPolyline> closed(MakePath({{0, 0}, {5, 0}, {5, 5}}, true));
  ASSERT_EQ(CCommonUtils::getEntStartAndEndPoint(closed.get(), s, e), Acad::eOk);
  ExpectPoint(e, AcGePoint3d(0, 0, 0), "closed end");
  AcDbEntity* none = nullptr;
  EXPECT_EQ(CCommonUtils::getEntStartAndEndPoint(none, s, e), Acad::eInvalidInput);
  std::unique_ptr<AcDb3dPolylineVertex> vertex(new AcDb3dPolylineVertex(AcGePoint3d(1, 1, 1)));
  EXPECT_EQ(CCommonUtils::getEntStartAndEndPoint(vertex.get(), s, e), Acad::eInvalidInput);
}

}  // namespace
