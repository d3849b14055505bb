// The old 2D polyline and the 3D polyline: vertices, fitting, the curve
// queries, transformation, copying and exploding.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "db2dpline.h"
#include "db3dpline.h"
#include "dbcurves.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Vertices of an iterator as (type, position) pairs.
template <class Vertex>
std::vector<Vertex*> Vertices(AcDbObjectIterator* it) {
  std::vector<Vertex*> out;
  for (it->start(); !it->done(); it->step()) out.push_back(Vertex::cast(it->entity()));
  delete it;
  return out;
}

AcGePoint3dArray Square() {
  AcGePoint3dArray pts;
  pts.append(AcGePoint3d(0, 0, 0));
  pts.append(AcGePoint3d(10, 0, 0));
  pts.append(AcGePoint3d(10, 10, 0));
  pts.append(AcGePoint3d(0, 10, 0));
  return pts;
}

void DeleteAll(AcDbVoidPtrArray& items) {
  for (int i = 0; i < items.length(); ++i) delete static_cast<AcDbEntity*>(items[i]);
}

TEST(Acad2dPolyline, ClosedSquareCountsTheClosingSegment) {
  AcDb2dPolyline pl(AcDb::k2dSimplePoly, Square(), 5.0, true);
  EXPECT_EQ(pl.numVerts(), 4);
  EXPECT_NEAR(pl.length(), 40.0, 1e-12);
  double area = 0, end = 0;
  ASSERT_EQ(pl.getArea(area), Acad::eOk);
  EXPECT_NEAR(area, 100.0, 1e-9);
  ASSERT_EQ(pl.getEndParam(end), Acad::eOk);
  EXPECT_EQ(end, 4.0);
  // The point at 35 lies on the closing segment, at elevation 5.
  double param = 0;
  ASSERT_EQ(pl.getParamAtDist(35.0, param), Acad::eOk);
  AcGePoint3d p;
  ASSERT_EQ(pl.getPointAtParam(param, p), Acad::eOk);
  EXPECT_TRUE(p.isEqualTo(AcGePoint3d(0, 5, 5)));
  ASSERT_EQ(pl.getPointAtDist(35.0, p), Acad::eOk);
  EXPECT_TRUE(p.isEqualTo(AcGePoint3d(0, 5, 5)));
  double dist = 0;
  ASSERT_EQ(pl.getDistAtPoint(AcGePoint3d(10, 4, 5), dist), Acad::eOk);
  EXPECT_NEAR(dist, 14.0, 1e-9);
  AcGePoint3d closest;
  ASSERT_EQ(pl.getClosestPointTo(AcGePoint3d(-3, 7, 5), closest), Acad::eOk);
  EXPECT_TRUE(closest.isEqualTo(AcGePoint3d(0, 7, 5)));
  EXPECT_EQ(pl.getParamAtPoint(AcGePoint3d(5, 5, 5), param), Acad::eInvalidInput);  // not on the curve
  EXPECT_EQ(pl.getPointAtParam(4.5, p), Acad::eInvalidInput);
  AcGePoint3d start, finish;
  pl.getStartPoint(start);
  pl.getEndPoint(finish);
  EXPECT_TRUE(start.isEqualTo(finish));  // a closed curve ends where it starts

  ASSERT_EQ(pl.makeOpen(), Acad::eOk);
  EXPECT_NEAR(pl.length(), 30.0, 1e-12);
  pl.getEndPoint(finish);
  EXPECT_TRUE(finish.isEqualTo(AcGePoint3d(0, 10, 5)));
}

TEST(Acad2dPolyline, BulgesWidthsAndAppendedVertices) {
  AcDb2dPolyline pl;
  pl.setLayer(L"ROUTE");
  // A half circle of radius 5 from (0,0) to (10,0), then a line back up.
  ASSERT_EQ(pl.appendVertex(new AcDb2dVertex(AcGePoint3d(0, 0, 0), 1.0, 1.0, 2.0)), Acad::eOk);
  ASSERT_EQ(pl.appendVertex(new AcDb2dVertex(AcGePoint3d(10, 0, 0))), Acad::eOk);
  ASSERT_EQ(pl.appendVertex(new AcDb2dVertex(AcGePoint3d(10, 10, 0))), Acad::eOk);
  EXPECT_EQ(pl.appendVertex(nullptr), Acad::eNullObjectPointer);
  EXPECT_NEAR(pl.length(), 5 * kPi + 10, 1e-9);
  AcGePoint3d mid;
  ASSERT_EQ(pl.getPointAtParam(0.5, mid), Acad::eOk);
  EXPECT_NEAR(mid.distanceTo(AcGePoint3d(5, 0, 0)), 5.0, 1e-9);  // on the arc
  EXPECT_NEAR(std::fabs(mid.y), 5.0, 1e-9);
  std::vector<AcDb2dVertex*> verts = Vertices<AcDb2dVertex>(pl.vertexIterator());
  ASSERT_EQ(verts.size(), 3u);
  EXPECT_EQ(verts[0]->layerName(), L"ROUTE");  // vertices take the polyline's properties
  EXPECT_EQ(verts[0]->endWidth(), 2.0);
  EXPECT_EQ(verts[0]->setStartWidth(-1), Acad::eNegativeValueNotAllowed);
  // A change of layer reaches the vertices.
  pl.setLayer(L"OTHER");
  EXPECT_EQ(verts[2]->layerName(), L"OTHER");

  AcDbExtents ext;
  ASSERT_EQ(pl.getGeomExtents(ext), Acad::eOk);
  EXPECT_NEAR(std::fabs(ext.minPoint().y) + std::fabs(ext.maxPoint().y), 15.0, 1e-9);

  AcDbVoidPtrArray parts;
  ASSERT_EQ(pl.explode(parts), Acad::eOk);
  ASSERT_EQ(parts.length(), 2);
  auto* arc = AcDbArc::cast(static_cast<AcDbEntity*>(parts[0]));
  ASSERT_NE(arc, nullptr);
  EXPECT_NEAR(arc->radius(), 5.0, 1e-9);
  EXPECT_NE(AcDbLine::cast(static_cast<AcDbEntity*>(parts[1])), nullptr);
  DeleteAll(parts);
}

TEST(Acad2dPolyline, SplineFitKeepsControlVerticesAndStraightensBack) {
  AcDb2dPolyline pl(AcDb::k2dSimplePoly, Square());
  ASSERT_EQ(pl.setPolyType(AcDb::k2dCubicSplinePoly), Acad::eOk);
  EXPECT_EQ(pl.polyType(), AcDb::k2dCubicSplinePoly);
  int control = 0, fit = 0;
  for (AcDb2dVertex* v : Vertices<AcDb2dVertex>(pl.vertexIterator())) {
    control += v->vertexType() == AcDb::k2dSplineCtlVertex;
    fit += v->vertexType() == AcDb::k2dSplineFitVertex;
  }
  EXPECT_EQ(control, 4);
  EXPECT_GT(fit, 4);
  // The open spline starts and ends at the end control points but cuts the
  // corners: shorter than the control polygon.
  AcGePoint3d s, e;
  pl.getStartPoint(s);
  pl.getEndPoint(e);
  EXPECT_TRUE(s.isEqualTo(AcGePoint3d(0, 0, 0)));
  EXPECT_TRUE(e.isEqualTo(AcGePoint3d(0, 10, 0)));
  EXPECT_LT(pl.length(), 30.0);
  EXPECT_GT(pl.length(), 14.0);
  // Every point at a distance lies on the curve.
  double total = pl.length();
  for (double d : {0.1 * total, 0.5 * total, 0.9 * total}) {
    AcGePoint3d p, c;
    ASSERT_EQ(pl.getPointAtDist(d, p), Acad::eOk);
    pl.getClosestPointTo(p, c);
    EXPECT_LT(p.distanceTo(c), 1e-9);
    double back = 0;
    ASSERT_EQ(pl.getDistAtPoint(p, back), Acad::eOk);
    EXPECT_NEAR(back, d, 1e-7);
  }
  ASSERT_EQ(pl.straighten(), Acad::eOk);
  EXPECT_EQ(pl.polyType(), AcDb::k2dSimplePoly);
  EXPECT_EQ(pl.numVerts(), 4);
  EXPECT_NEAR(pl.length(), 30.0, 1e-12);
}

TEST(Acad2dPolyline, CurveFitPassesThroughTheGivenVertices) {
  AcDb2dPolyline pl(AcDb::k2dFitCurvePoly, Square(), 0.0, true);
  EXPECT_EQ(pl.polyType(), AcDb::k2dFitCurvePoly);
  EXPECT_EQ(pl.numVerts(), 8);  // one generated vertex per segment
  for (const AcGePoint3d& corner : {AcGePoint3d(10, 0, 0), AcGePoint3d(10, 10, 0), AcGePoint3d(0, 10, 0)}) {
    double param = 0;
    EXPECT_EQ(pl.getParamAtPoint(corner, param), Acad::eOk);
  }
  // A smooth closed curve through the corners of a square bulges outwards.
  double area = 0;
  pl.getArea(area);
  EXPECT_GT(area, 100.0);
  EXPECT_LT(area, 160.0);
  ASSERT_EQ(pl.straighten(), Acad::eOk);
  pl.getArea(area);
  EXPECT_NEAR(area, 100.0, 1e-9);
}

TEST(Acad2dPolyline, TransformMovesPlaneWidthsAndMirrorsBulges) {
  AcDb2dPolyline pl;
  pl.appendVertex(new AcDb2dVertex(AcGePoint3d(0, 0, 0), 1.0, 1.0, 1.0));
  pl.appendVertex(new AcDb2dVertex(AcGePoint3d(10, 0, 0)));
  AcGePoint3d before;
  pl.getPointAtParam(0.5, before);
  ASSERT_EQ(pl.transformBy(AcGeMatrix3d::translation(AcGeVector3d(0, 0, 7)) * AcGeMatrix3d::scaling(2.0)),
            Acad::eOk);
  EXPECT_NEAR(pl.elevation(), 7.0, 1e-12);
  EXPECT_NEAR(pl.length(), 10 * kPi, 1e-9);
  std::vector<AcDb2dVertex*> verts = Vertices<AcDb2dVertex>(pl.vertexIterator());
  EXPECT_EQ(verts[0]->startWidth(), 2.0);
  // Mirrored in x = 0: the arc bulges to the same side of y, so the bulge flips.
  AcGeMatrix3d mirror;
  mirror.entry[0][0] = -1;
  ASSERT_EQ(pl.transformBy(mirror), Acad::eOk);
  AcGePoint3d after;
  pl.getPointAtParam(0.5, after);
  EXPECT_NEAR(after.x, -10.0, 1e-9);
  EXPECT_NEAR(after.y, before.y * 2, 1e-9);
}

TEST(Acad2dPolyline, CloneCopiesVerticesDeeply) {
  AcDb2dPolyline pl(AcDb::k2dSimplePoly, Square(), 0.0, true);
  std::unique_ptr<AcDb2dPolyline> copy(static_cast<AcDb2dPolyline*>(pl.clone()));
  ASSERT_NE(copy, nullptr);
  std::vector<AcDb2dVertex*> mine = Vertices<AcDb2dVertex>(pl.vertexIterator());
  std::vector<AcDb2dVertex*> theirs = Vertices<AcDb2dVertex>(copy->vertexIterator());
  ASSERT_EQ(theirs.size(), 4u);
  EXPECT_NE(mine[0], theirs[0]);
  theirs[0]->setPosition(AcGePoint3d(-10, 0, 0));
  EXPECT_NEAR(pl.length(), 40.0, 1e-12);
  EXPECT_GT(copy->length(), 40.0);
  EXPECT_TRUE(copy->isClosed());
}

TEST(Acad3dPolyline, CurveQueriesInSpace) {
  AcGePoint3dArray pts;
  pts.append(AcGePoint3d(0, 0, 0));
  pts.append(AcGePoint3d(3, 4, 0));
  pts.append(AcGePoint3d(3, 4, 12));
  AcDb3dPolyline pl(AcDb::k3dSimplePoly, pts, true);
  // 5 + 12 + 13 (the closing segment).
  EXPECT_NEAR(pl.length(), 30.0, 1e-12);
  AcGePoint3d p;
  ASSERT_EQ(pl.getPointAtDist(11.0, p), Acad::eOk);
  EXPECT_TRUE(p.isEqualTo(AcGePoint3d(3, 4, 6)));
  double param = 0, dist = 0;
  ASSERT_EQ(pl.getParamAtPoint(AcGePoint3d(1.5, 2, 6), param), Acad::eOk);  // middle of the closing segment
  EXPECT_NEAR(param, 2.5, 1e-12);
  ASSERT_EQ(pl.getDistAtParam(param, dist), Acad::eOk);
  EXPECT_NEAR(dist, 23.5, 1e-12);
  double area = 0;
  pl.getArea(area);
  EXPECT_NEAR(area, 5 * 12 / 2.0, 1e-9);  // the right triangle
  AcDbExtents ext;
  pl.getGeomExtents(ext);
  EXPECT_TRUE(ext.maxPoint().isEqualTo(AcGePoint3d(3, 4, 12)));
  AcDbVoidPtrArray parts;
  pl.explode(parts);
  EXPECT_EQ(parts.length(), 3);
  DeleteAll(parts);
  EXPECT_EQ(pl.transformBy(AcGeMatrix3d::translation(AcGeVector3d(1, 1, 1))), Acad::eOk);
  pl.getStartPoint(p);
  EXPECT_TRUE(p.isEqualTo(AcGePoint3d(1, 1, 1)));
}

TEST(Acad3dPolyline, SplineFitAndBack) {
  AcGePoint3dArray pts;
  for (int i = 0; i < 5; ++i) pts.append(AcGePoint3d(i * 10, (i % 2) * 10, i));
  AcDb3dPolyline pl(AcDb::k3dQuadSplinePoly, pts);
  EXPECT_EQ(pl.polyType(), AcDb::k3dQuadSplinePoly);
  EXPECT_GT(pl.numVerts(), 5);
  AcGePoint3d e;
  pl.getEndPoint(e);
  EXPECT_TRUE(e.isEqualTo(AcGePoint3d(40, 0, 4)));
  int control = 0;
  for (AcDb3dPolylineVertex* v : Vertices<AcDb3dPolylineVertex>(pl.vertexIterator()))
    control += v->vertexType() == AcDb::k3dControlVertex;
  EXPECT_EQ(control, 5);
  std::unique_ptr<AcDb3dPolyline> copy(static_cast<AcDb3dPolyline*>(pl.clone()));
  EXPECT_NEAR(copy->length(), pl.length(), 1e-12);
  ASSERT_EQ(pl.convertToPolyType(AcDb::k3dSimplePoly), Acad::eOk);
  EXPECT_EQ(pl.numVerts(), 5);
  EXPECT_GT(copy->numVerts(), 5);  // the copy keeps its own vertices
}

TEST(AcadOldPolylines, EmptyPolylinesAreDegenerate) {
  AcDb2dPolyline p2;
  AcDb3dPolyline p3;
  double v = 0;
  AcGePoint3d pt;
  EXPECT_EQ(p2.getEndParam(v), Acad::eDegenerateGeometry);
  EXPECT_EQ(p3.getEndParam(v), Acad::eDegenerateGeometry);
  EXPECT_EQ(p3.getPointAtDist(0, pt), Acad::eDegenerateGeometry);
  AcDbExtents ext;
  EXPECT_EQ(p2.getGeomExtents(ext), Acad::eInvalidExtents);
  EXPECT_EQ(p2.length(), 0.0);
}
}  // namespace
