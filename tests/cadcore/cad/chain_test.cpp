// Chaining curves into one polyline; weeding arrays of curves.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>

#include <unistd.h>

#include "cadtest.h"
#include "CommonUtils.h"
#include "dbcurves.h"
#include "dbpline.h"
#include "geotestutil.h"
#include "textconv.h"

namespace {

using namespace geotest;
using ChainTest = CadTest;

// The points of a zig-zag route.
std::vector<AcGePoint2d> Route(int nPoints) {
  std::vector<AcGePoint2d> pts;
  for (int i = 0; i < nPoints; ++i) pts.push_back(AcGePoint2d(i * 10.0, (i % 3) * 4.0 + (i % 2)));
  return pts;
}

// The route cut into pieces of two or three vertices, each piece run in a
// random direction, the pieces in random order.
AcDbVoidPtrArray ShuffledPieces(const std::vector<AcGePoint2d>& route, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<AcDbPolyline*> pieces;
  size_t i = 0;
  while (i + 1 < route.size()) {
    size_t len = std::min<size_t>(1 + rng() % 2, route.size() - 1 - i);
    std::vector<AcGePoint2d> pts(route.begin() + i, route.begin() + i + len + 1);
    if (rng() % 2) std::reverse(pts.begin(), pts.end());
    pieces.push_back(MakePath(pts));
    i += len;
  }
  std::shuffle(pieces.begin(), pieces.end(), rng);
  AcDbVoidPtrArray arr;
  for (AcDbPolyline* p : pieces) arr.append(p);
  return arr;
}

void ExpectRouteEitherWay(const AcDbPolyline* pl, std::vector<AcGePoint2d> route) {
  AcGePoint2d first;
  pl->getPointAt(0, first);
  if (!first.isEqualTo(route.front())) std::reverse(route.begin(), route.end());
  ExpectPoints(pl, route);
}

void DeleteAll(AcDbVoidPtrArray& arr) {
  for (int i = 0; i < arr.length(); ++i) delete static_cast<AcDbEntity*>(arr[i]);
  arr.removeAll();
}

// ---- connectCurves -----------------------------------------------------------

TEST(ConnectCurves, ShuffledPiecesMakeTheWholeRoute) {
  std::vector<AcGePoint2d> route = Route(40);
  for (unsigned seed : {1u, 2u, 3u, 17u, 99u}) {
    AcDbVoidPtrArray pieces = ShuffledPieces(route, seed);
    AcDbPolyline* pl = nullptr;
    CCommonUtils::connectCurves(pieces, pl);
    ASSERT_NE(pl, nullptr);
    std::unique_ptr<AcDbPolyline> owner(pl);
    EXPECT_TRUE(pieces.isEmpty()) << "seed " << seed;
    ExpectRouteEitherWay(pl, route);
    EXPECT_FALSE(pl->isClosed());
  }
}

TEST(ConnectCurves, AClosedRingClosesWithoutARepeatedVertex) {
  std::vector<AcGePoint2d> ring = {{0, 0}, {10, 0}, {10, 10}, {5, 15}, {0, 10}, {0, 0}};
  AcDbVoidPtrArray pieces = ShuffledPieces(ring, 5);
  AcDbPolyline* pl = nullptr;
  CCommonUtils::connectCurves(pieces, pl);
  ASSERT_NE(pl, nullptr);
  std::unique_ptr<AcDbPolyline> owner(pl);
  EXPECT_TRUE(pl->isClosed());
  EXPECT_EQ(pl->numVerts(), 5u);
  double area = 0;
  pl->getArea(area);
  EXPECT_NEAR(area, 125.0, 1e-9);
  EXPECT_TRUE(pieces.isEmpty());
}

TEST(ConnectCurves, OtherEntitiesAndLoosePiecesAreDeleted) {
  AcDbVoidPtrArray arr;
  arr.append(MakePath({{10, 0}, {20, 0}}));
  arr.append(new AcDbLine(AcGePoint3d(20, 0, 0), AcGePoint3d(30, 0, 0)));  // not a polyline
  arr.append(MakePath({{0, 0}, {10, 0}}));                                 // meets the start
  arr.append(MakePath({{100, 100}, {110, 100}}));                          // meets nothing
  arr.append(MakePath({{30, 0}, {20, 0}}));                                // meets the end backwards
  AcDbPolyline* pl = nullptr;
  CCommonUtils::connectCurves(arr, pl);
  ASSERT_NE(pl, nullptr);
  std::unique_ptr<AcDbPolyline> owner(pl);
  EXPECT_TRUE(arr.isEmpty());
  // Turned round to meet a piece at its start, then extended there.
  ExpectPoints(pl, {{0, 0}, {10, 0}, {20, 0}, {30, 0}});
}

TEST(ConnectCurves, WithoutAPolylineFirstThereIsNoResult) {
  AcDbVoidPtrArray arr;
  arr.append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
  arr.append(MakePath({{10, 0}, {20, 0}}));
  AcDbPolyline* pl = reinterpret_cast<AcDbPolyline*>(1);
  CCommonUtils::connectCurves(arr, pl);
  EXPECT_EQ(pl, nullptr);
  EXPECT_EQ(arr.length(), 2);  // still the caller's
  DeleteAll(arr);
  CCommonUtils::connectCurves(arr, pl);
  EXPECT_EQ(pl, nullptr);
}

TEST_F(ChainTest, PiecesOfTheDrawingAreClosedNotDeleted) {
  AcDbObjectId id = Add(MakePath({{10, 0}, {20, 0}}));
  AcDbPolyline* resident = nullptr;
  ASSERT_EQ(acdbOpenObject(resident, id, AcDb::kForRead), Acad::eOk);
  AcDbVoidPtrArray arr;
  arr.append(MakePath({{0, 0}, {10, 0}}));
  arr.append(resident);
  AcDbPolyline* pl = nullptr;
  CCommonUtils::connectCurves(arr, pl);
  ASSERT_NE(pl, nullptr);
  std::unique_ptr<AcDbPolyline> owner(pl);
  ExpectPoints(pl, {{0, 0}, {10, 0}, {20, 0}});
  EXPECT_TRUE(arr.isEmpty());
  // TearDown checks that the drawing's piece was closed.
}

TEST_F(ChainTest, AChainedRingWithArcsSurvivesADxfSaveAndRead) {
  // A ring of two half circles and two lines, in pieces out of order.
  AcDbVoidPtrArray arr;
  arr.append(MakePline({{0, 0, 0, -1, -1}, {10, 0, 1, -1, -1}, {10, 10, 0, -1, -1}}));
  arr.append(MakePline({{0, 0, -1, -1, -1}, {0, 10, 0, -1, -1}}));
  arr.append(MakePath({{0, 10}, {10, 10}}));
  AcDbPolyline* pl = nullptr;
  CCommonUtils::connectCurves(arr, pl);
  ASSERT_NE(pl, nullptr);
  ASSERT_TRUE(pl->isClosed());
  std::vector<Vert> verts = Verts(pl);
  double length = pl->length();
  AcDbObjectId id;
  ASSERT_EQ(CCommonUtils::append(pl, id), 1);
  AcDbHandle handle = pl->handle();
  pl->close();

  std::filesystem::path file = std::filesystem::temp_directory_path() /
                               ("chain_ring_" + std::to_string(::getpid()) + ".dxf");
  std::wstring name = win::Utf8ToWide(file.string());
  ASSERT_EQ(Db()->saveAs(name.c_str()), Acad::eOk);
  AcDbDatabase* read = new AcDbDatabase(false, true);
  ASSERT_EQ(read->readDwgFile(name.c_str()), Acad::eOk);
  AcDbObjectId readId;
  ASSERT_EQ(read->getAcDbObjectId(readId, false, handle), Acad::eOk);
  AcDbPolyline* back = nullptr;
  ASSERT_EQ(acdbOpenObject(back, readId, AcDb::kForRead), Acad::eOk);
  ExpectVerts(back, verts, "read back");
  EXPECT_TRUE(back->isClosed());
  EXPECT_NEAR(back->length(), length, 1e-9);
  EXPECT_NEAR(length, 10 + 10 + 5 * kPi * 2, 1e-9);
  back->close();
  delete read;
  std::filesystem::remove(file);
}

// ---- connectToPline ---------------------------------------------------------------

TEST(ConnectToPline, CurvesInChainOrderRunInEitherDirection) {
  // A route from (0,0): a line to (10,0), a half circle about (10,5)
  // through (15,5) up to (10,10), a polyline back to (0,10), a line down to
  // (0,5). The first line and the polyline are given backwards.
  AcDbLine first(AcGePoint3d(10, 0, 0), AcGePoint3d(0, 0, 0));  // reversed: its start meets the next curve
  AcDbArc half(AcGePoint3d(10, 5, 0), 5.0, 1.5 * kPi, 0.5 * kPi);  // (10,0) -> (15,5) -> (10,10)
  std::unique_ptr<AcDbPolyline> back(MakePath({{0, 10}, {5, 12}, {10, 10}}));  // met at its end
  AcDbLine down(AcGePoint3d(0, 10, 0), AcGePoint3d(0, 5, 0));
  AcDbVoidPtrArray arr;
  arr.append(&first);
  arr.append(&half);
  arr.append(back.get());
  arr.append(&down);
  AcDbPolyline* pl = nullptr;
  CCommonUtils::connectToPline(arr, pl);
  ASSERT_NE(pl, nullptr);
  std::unique_ptr<AcDbPolyline> owner(pl);
  ExpectVerts(pl, {{0, 0, 0, 0, 0}, {10, 0, 1, 0, 0}, {10, 10, 0, 0, 0}, {5, 12, 0, 0, 0}, {0, 10, 0, 0, 0},
                   {0, 5, 0, 0, 0}});
  AcGePoint3d mid;
  pl->getPointAtParam(1.5, mid);
  EXPECT_NEAR(mid.distanceTo(AcGePoint3d(15, 5, 0)), 0.0, 1e-9);
  EXPECT_EQ(arr.length(), 4);  // the curves stay the caller's
}

TEST(ConnectToPline, FirstArcAndGapsUpToHalfAUnit) {
  // The first curve is an arc seen from below; the next line starts 0.05
  // away from its end.
  AcDbArc arc(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, -1), 2.0, 0.0, kPi / 2);
  AcGePoint3d arcStart, arcEnd;
  arc.getStartPoint(arcStart);
  arc.getEndPoint(arcEnd);
  AcDbLine next(arcEnd + AcGeVector3d(0.05, 0, 0), AcGePoint3d(arcEnd.x, arcEnd.y - 10, 0));
  AcDbVoidPtrArray arr;
  arr.append(&arc);
  arr.append(&next);
  AcDbPolyline* pl = nullptr;
  CCommonUtils::connectToPline(arr, pl);
  ASSERT_NE(pl, nullptr);
  std::unique_ptr<AcDbPolyline> owner(pl);
  ASSERT_EQ(pl->numVerts(), 3u);
  EXPECT_NEAR(Bulge(pl, 0), -tan(kPi / 8), 1e-12);
  // The arc's end gives way to the line's start.
  ExpectPoints(pl, {{arcStart.x, arcStart.y}, {arcEnd.x + 0.05, arcEnd.y}, {arcEnd.x, arcEnd.y - 10}});
  AcGePoint3d mid, arcMid;
  pl->getPointAtParam(0.5, mid);
  arc.getPointAtParam(kPi / 4, arcMid);
  EXPECT_NEAR(mid.distanceTo(arcMid), 0.0, 0.05);

  AcDbVoidPtrArray empty;
  CCommonUtils::connectToPline(empty, pl);
  EXPECT_EQ(pl, nullptr);
}

TEST_F(ChainTest, ConnectToPlineClosesTheCurvesItAdds) {
  AcDbObjectId firstId = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
  AcDbObjectId secondId = Add(new AcDbLine(AcGePoint3d(20, 0, 0), AcGePoint3d(10, 0, 0)));
  AcDbLine* first = nullptr;
  AcDbLine* second = nullptr;
  ASSERT_EQ(acdbOpenObject(first, firstId, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(acdbOpenObject(second, secondId, AcDb::kForRead), Acad::eOk);
  AcDbVoidPtrArray arr;
  arr.append(first);
  arr.append(second);
  AcDbPolyline* pl = nullptr;
  CCommonUtils::connectToPline(arr, pl);
  ASSERT_NE(pl, nullptr);
  std::unique_ptr<AcDbPolyline> owner(pl);
  ExpectPoints(pl, {{0, 0}, {10, 0}, {20, 0}});
  first->close();  // the first curve stays open for its caller
}

// ---- removeSame / removeNotConnectTwoEnd -------------------------------------------

TEST(RemoveSame, APolylineLyingOnAnotherGoes) {
  AcDbVoidPtrArray arr;
  AcDbPolyline* part = MakePath({{2, 0}, {8, 0}});
  AcDbPolyline* whole = MakePath({{0, 0}, {10, 0}, {10, 10}});
  AcDbPolyline* other = MakePath({{0, 5}, {5, 5}});
  AcDbPolyline* tail = MakePath({{10, 2}, {10, 9}});
  AcDbLine* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));  // not a polyline
  arr.append(part);
  arr.append(line);
  arr.append(whole);
  arr.append(other);
  arr.append(tail);
  CCommonUtils::removeSame(arr);
  ASSERT_EQ(arr.length(), 3);
  EXPECT_EQ(arr[0], line);
  EXPECT_EQ(arr[1], whole);
  EXPECT_EQ(arr[2], other);
  // Two equal polylines: the earlier one goes.
  AcDbPolyline* twin = MakePath({{0, 5}, {5, 5}});
  arr.append(twin);
  CCommonUtils::removeSame(arr);
  ASSERT_EQ(arr.length(), 3);
  EXPECT_EQ(arr[2], twin);
  DeleteAll(arr);
}

TEST(RemoveNotConnectTwoEnd, CurvesWithALooseEndGoInOnePass) {
  AcDbVoidPtrArray arr;
  AcDbPolyline* a = MakePath({{0, 0}, {10, 0}});
  AcDbLine* b = new AcDbLine(AcGePoint3d(10, 0.05, 0), AcGePoint3d(10, 10, 0));
  AcDbPolyline* c = MakePath({{10, 10}, {0, 0}});
  AcDbLine* spur = new AcDbLine(AcGePoint3d(10, 10, 0), AcGePoint3d(20, 20, 0));
  arr.append(a);
  arr.append(spur);
  arr.append(b);
  arr.append(c);
  CCommonUtils::removeNotConnectTwoEnd(arr);
  ASSERT_EQ(arr.length(), 3);
  EXPECT_EQ(arr[0], a);
  EXPECT_EQ(arr[1], b);
  EXPECT_EQ(arr[2], c);
  // One pass only: the first curve is judged while its neighbours are still
  // there; they go later in the pass for their own loose ends, it stays.
  AcDbVoidPtrArray chain;
  AcDbLine* x = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  AcDbLine* y = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(7, 7, 0));
  AcDbLine* z = new AcDbLine(AcGePoint3d(1, 0, 0), AcGePoint3d(3, 3, 0));
  chain.append(x);
  chain.append(y);
  chain.append(z);
  CCommonUtils::removeNotConnectTwoEnd(chain);
  ASSERT_EQ(chain.length(), 1);
  EXPECT_EQ(chain[0], x);
  DeleteAll(chain);
  DeleteAll(arr);
}

}  // namespace
