// The lightweight polyline as a curve: vertices, lengths, parameters, points,
// segments, extents, transforms and explosion; widths and plane through
// edits, copies and DXF.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "../dxf/dxftestutil.h"
#include "dbcurves.h"
#include "dbpline.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

// Open polyline (0,0) -> (10,0) -> (10,10): two straight segments.
AcDbPolyline* OpenL() {
  auto* p = new AcDbPolyline();
  p->addVertexAt(0, AcGePoint2d(0, 0));
  p->addVertexAt(1, AcGePoint2d(10, 0));
  p->addVertexAt(2, AcGePoint2d(10, 10));
  return p;
}

// The unit square with a half circle bulging out of its first side.
AcDbPolyline* ClosedWithArc() {
  auto* p = new AcDbPolyline();
  p->addVertexAt(0, AcGePoint2d(0, 0), 1.0);  // counter-clockwise half circle from (0,0) to (10,0): below the axis
  p->addVertexAt(1, AcGePoint2d(10, 0));
  p->addVertexAt(2, AcGePoint2d(10, 10));
  p->addVertexAt(3, AcGePoint2d(0, 10));
  p->setClosed(true);
  return p;
}

double Dist(const AcDbCurve& c, double param) {
  double d = -1;
  EXPECT_EQ(c.getDistAtParam(param, d), Acad::eOk);
  return d;
}

TEST(AcadPolyline, VertexEditing) {
  AcDbPolyline p;
  EXPECT_EQ(p.addVertexAt(0, AcGePoint2d(1, 1), 0.5, 2, 3), Acad::eOk);
  EXPECT_EQ(p.addVertexAt(0, AcGePoint2d(0, 0)), Acad::eOk);  // insert before
  EXPECT_EQ(p.addVertexAt(99, AcGePoint2d(5, 5)), Acad::eOk);  // past the end appends
  ASSERT_EQ(p.numVerts(), 3u);
  AcGePoint2d pt;
  p.getPointAt(1, pt);
  EXPECT_EQ(pt.x, 1.0);
  double bulge, sw, ew;
  p.getBulgeAt(1, bulge);
  p.getWidthsAt(1, sw, ew);
  EXPECT_EQ(bulge, 0.5);
  EXPECT_EQ(sw, 2.0);
  EXPECT_EQ(ew, 3.0);
  // Default widths (negative) take the constant width, zero here.
  p.getWidthsAt(0, sw, ew);
  EXPECT_EQ(sw, 0.0);
  EXPECT_EQ(p.getPointAt(3, pt), Acad::eInvalidIndex);
  EXPECT_EQ(p.removeVertexAt(0), Acad::eOk);
  EXPECT_EQ(p.numVerts(), 2u);
  EXPECT_EQ(p.setWidthsAt(0, -1, 0), Acad::eNegativeValueNotAllowed);
}

TEST(AcadPolyline, OpenLengthParametersAndPoints) {
  AcDbPolyline* p = OpenL();
  double end;
  ASSERT_EQ(p->getEndParam(end), Acad::eOk);
  EXPECT_EQ(end, 2.0);
  EXPECT_DOUBLE_EQ(Dist(*p, end), 20.0);
  EXPECT_DOUBLE_EQ(Dist(*p, 1.5), 15.0);
  AcGePoint3d pt;
  ASSERT_EQ(p->getPointAtDist(15.0, pt), Acad::eOk);
  EXPECT_TRUE(pt.isEqualTo(AcGePoint3d(10, 5, 0)));
  double param;
  ASSERT_EQ(p->getParamAtPoint(AcGePoint3d(5, 0, 0), param), Acad::eOk);
  EXPECT_DOUBLE_EQ(param, 0.5);
  EXPECT_EQ(p->getParamAtPoint(AcGePoint3d(5, 5, 0), param), Acad::eInvalidInput);
  EXPECT_EQ(p->getPointAtDist(20.5, pt), Acad::eInvalidInput);
  EXPECT_EQ(p->getPointAtParam(-0.1, pt), Acad::eInvalidInput);
  AcGePoint3d start, finish;
  p->getStartPoint(start);
  p->getEndPoint(finish);
  EXPECT_TRUE(finish.isEqualTo(AcGePoint3d(10, 10, 0)));
  EXPECT_FALSE(p->isClosed());
  delete p;
}

TEST(AcadPolyline, ClosedLengthIncludesTheClosingSegmentAndArcs) {
  AcDbPolyline* p = ClosedWithArc();
  double end;
  p->getEndParam(end);
  EXPECT_EQ(end, 4.0);  // four segments, the closing one included
  double total = 5 * kPi + 10 + 10 + 10;
  EXPECT_NEAR(Dist(*p, end), total, 1e-9);
  // Half way along the half circle lies its bottom.
  AcGePoint3d pt;
  ASSERT_EQ(p->getPointAtDist(5 * kPi / 2, pt), Acad::eOk);
  EXPECT_TRUE(pt.isEqualTo(AcGePoint3d(5, -5, 0), AcGeTol()));
  // The point at the full length is the start point again.
  ASSERT_EQ(p->getPointAtDist(total, pt), Acad::eOk);
  EXPECT_TRUE(pt.isEqualTo(AcGePoint3d(0, 0, 0), AcGeTol()));
  // A point on the closing segment.
  ASSERT_EQ(p->getPointAtDist(total - 4, pt), Acad::eOk);
  EXPECT_TRUE(pt.isEqualTo(AcGePoint3d(0, 4, 0), AcGeTol()));
  double area;
  p->getArea(area);
  EXPECT_NEAR(area, 100 + kPi * 25 / 2, 1e-9);
  delete p;
}

TEST(AcadPolyline, EveryPointAtDistanceLiesOnTheCurveThatFarAlong) {
  AcDbPolyline p;
  p.addVertexAt(0, AcGePoint2d(0, 0), 0.4);
  p.addVertexAt(1, AcGePoint2d(7, 3), -0.7);
  p.addVertexAt(2, AcGePoint2d(12, -4));
  p.addVertexAt(3, AcGePoint2d(2, -6), 1.3);
  p.setClosed(true);
  double end, total;
  p.getEndParam(end);
  p.getDistAtParam(end, total);
  for (int i = 0; i <= 40; ++i) {
    double d = total * i / 40;
    AcGePoint3d pt, closest;
    ASSERT_EQ(p.getPointAtDist(d, pt), Acad::eOk) << d;
    p.getClosestPointTo(pt, closest);
    EXPECT_LT(pt.distanceTo(closest), 1e-9) << d;
    double back;
    ASSERT_EQ(p.getDistAtPoint(pt, back), Acad::eOk) << d;
    if (i > 0 && i < 40) {
      EXPECT_NEAR(back, d, 1e-7) << d;
    }
  }
}

TEST(AcadPolyline, SegmentsAndTheirTypes) {
  AcDbPolyline* p = ClosedWithArc();
  EXPECT_EQ(p->segType(0), AcDbPolyline::kArc);
  EXPECT_EQ(p->segType(1), AcDbPolyline::kLine);
  EXPECT_EQ(p->segType(3), AcDbPolyline::kLine);  // the closing segment
  EXPECT_EQ(p->segType(4), AcDbPolyline::kEmpty);
  AcGeCircArc3d arc;
  ASSERT_EQ(p->getArcSegAt(0, arc), Acad::eOk);
  EXPECT_TRUE(arc.center().isEqualTo(AcGePoint3d(5, 0, 0), AcGeTol()));
  EXPECT_NEAR(arc.radius(), 5, 1e-12);
  AcGeLineSeg2d line;
  EXPECT_EQ(p->getLineSegAt(0, line), Acad::eWrongObjectType);
  ASSERT_EQ(p->getLineSegAt(3, line), Acad::eOk);
  EXPECT_TRUE(line.endPoint().isEqualTo(AcGePoint2d(0, 0)));
  delete p;
}

TEST(AcadPolyline, ExtentsCountTheArcsBulge) {
  AcDbPolyline* p = ClosedWithArc();
  AcDbExtents e;
  ASSERT_EQ(p->getGeomExtents(e), Acad::eOk);
  EXPECT_NEAR(e.minPoint().y, -5, 1e-9);
  EXPECT_NEAR(e.maxPoint().x, 10, 1e-9);
  delete p;
}

TEST(AcadPolyline, TransformKeepsTheShapeAndMirrorFlipsBulges) {
  AcDbPolyline* p = ClosedWithArc();
  double before;
  p->getDistAtParam(4, before);
  ASSERT_EQ(p->transformBy(AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis) *
                           AcGeMatrix3d::scaling(2.0)), Acad::eOk);
  double after;
  p->getDistAtParam(4, after);
  EXPECT_NEAR(after, 2 * before, 1e-9);
  AcGePoint3d v1;
  p->getPointAt(1, v1);
  EXPECT_TRUE(v1.isEqualTo(AcGePoint3d(0, 20, 0), AcGeTol()));
  AcGePoint3d mid;
  p->getPointAtParam(0.5, mid);
  EXPECT_TRUE(mid.isEqualTo(AcGePoint3d(10, 10, 0), AcGeTol())) << mid.x << "," << mid.y;
  AcGeMatrix3d mirror;
  mirror.entry[0][0] = -1;  // mirror in the Y axis
  ASSERT_EQ(p->transformBy(mirror), Acad::eOk);
  double bulge;
  p->getBulgeAt(0, bulge);
  EXPECT_DOUBLE_EQ(bulge, -1.0);
  EXPECT_TRUE(p->normal().isEqualTo(AcGeVector3d::kZAxis));
  // The arc still bulges away from the square, now on its left.
  p->getPointAtParam(0.5, mid);
  EXPECT_TRUE(mid.isEqualTo(AcGePoint3d(-10, 10, 0), AcGeTol())) << mid.x << "," << mid.y;
  AcGeMatrix3d squash;
  squash.entry[0][0] = 3;
  EXPECT_EQ(p->transformBy(squash), Acad::eNotApplicable);
  delete p;
}

TEST(AcadPolyline, ExplodeGivesLinesAndArcsOfTheSameLength) {
  AcDbPolyline* p = ClosedWithArc();
  p->setColorIndex(4);
  AcDbVoidPtrArray parts;
  ASSERT_EQ(p->explode(parts), Acad::eOk);
  ASSERT_EQ(parts.length(), 4);
  double sum = 0;
  for (void* raw : parts) {
    auto* c = static_cast<AcDbCurve*>(raw);
    double e, d;
    c->getEndParam(e);
    double s;
    c->getStartParam(s);
    c->getDistAtParam(e, d);
    sum += d;
    EXPECT_EQ(c->colorIndex(), 4);
    delete c;
  }
  double total;
  p->getDistAtParam(4, total);
  EXPECT_NEAR(sum, total, 1e-9);
  EXPECT_TRUE(AcDbArc::cast(static_cast<AcDbObject*>(nullptr)) == nullptr);
  delete p;
}

TEST(AcadPolyline, NormalAndElevationPlaceItInSpace) {
  AcDbPolyline p;
  p.addVertexAt(0, AcGePoint2d(0, 0));
  p.addVertexAt(1, AcGePoint2d(1, 0));
  p.setElevation(5);
  p.setNormal(AcGeVector3d(0, 0, -1));
  AcGePoint3d v;
  p.getPointAt(1, v);
  // Seen from below the X axis runs the other way.
  EXPECT_TRUE(v.isEqualTo(AcGePoint3d(-1, 0, -5), AcGeTol()));
  AcGePoint2d v2;
  p.getPointAt(1, v2);
  EXPECT_EQ(v2.x, 1.0);
  // The thickness raises it along the normal, once; back to none it stays in its plane.
  AcDbExtents e;
  for (double thickness : {3.0, -3.0, 0.0}) {
    p.setThickness(thickness);
    ASSERT_EQ(p.getGeomExtents(e), Acad::eOk);
    EXPECT_NEAR(e.minPoint().z, std::min(-5.0, -5 - thickness), 1e-12) << thickness;
    EXPECT_NEAR(e.maxPoint().z, std::max(-5.0, -5 - thickness), 1e-12) << thickness;
  }
  p.setElevation(0);
  p.setNormal(AcGeVector3d::kZAxis);
  p.getPointAt(1, v);
  EXPECT_TRUE(v.isEqualTo(AcGePoint3d(1, 0, 0)));
}

TEST(AcadPolyline, EmptyAndSingleVertex) {
  AcDbPolyline p;
  double end;
  EXPECT_NE(p.getEndParam(end), Acad::eOk);
  AcGePoint3d pt;
  EXPECT_NE(p.getPointAtDist(0, pt), Acad::eOk);
  p.addVertexAt(0, AcGePoint2d(3, 4));
  ASSERT_EQ(p.getEndParam(end), Acad::eOk);
  EXPECT_EQ(end, 0.0);
  ASSERT_EQ(p.getPointAtDist(0, pt), Acad::eOk);
  EXPECT_TRUE(pt.isEqualTo(AcGePoint3d(3, 4, 0)));
}

using WidthList = std::vector<std::pair<double, double>>;

WidthList WidthsOf(const AcDbPolyline& p) {
  WidthList out(p.numVerts());
  for (unsigned int i = 0; i < p.numVerts(); ++i) EXPECT_EQ(p.getWidthsAt(i, out[i].first, out[i].second), Acad::eOk);
  return out;
}

std::vector<double> XsOf(const AcDbPolyline& p) {
  std::vector<double> out(p.numVerts());
  for (unsigned int i = 0; i < p.numVerts(); ++i) {
    AcGePoint2d pt;
    p.getPointAt(i, pt);
    out[i] = pt.x;
  }
  return out;
}

TEST(AcadPolyline, WidthsFollowTheirVerticesThroughEditsAndCopies) {
  AcDbPolyline p;
  p.addVertexAt(0, AcGePoint2d(1, 0));
  p.addVertexAt(1, AcGePoint2d(2, 0), 0, 1, 2);  // the only wide vertex
  p.addVertexAt(0, AcGePoint2d(0, 0));           // inserted before it
  p.addVertexAt(3, AcGePoint2d(3, 0));           // and after it
  using Edit = std::function<void(AcDbPolyline&)>;
  struct Step {
    const char* what;
    Edit edit;
    std::vector<double> xs;
    WidthList widths;
    std::optional<double> constant;  // what getConstantWidth gives, if it succeeds
  };
  const Step steps[] = {
      {"built", [](AcDbPolyline&) {}, {0, 1, 2, 3}, {{0, 0}, {0, 0}, {1, 2}, {0, 0}}, {}},
      {"wide one inserted after", [](AcDbPolyline& q) { q.addVertexAt(3, AcGePoint2d(2.5, 0), 0, 3, 4); },
       {0, 1, 2, 2.5, 3}, {{0, 0}, {0, 0}, {1, 2}, {3, 4}, {0, 0}}, {}},
      {"first removed", [](AcDbPolyline& q) { q.removeVertexAt(0); }, {1, 2, 2.5, 3},
       {{0, 0}, {1, 2}, {3, 4}, {0, 0}}, {}},
      {"a wide one removed", [](AcDbPolyline& q) { q.removeVertexAt(1); }, {1, 2.5, 3}, {{0, 0}, {3, 4}, {0, 0}}, {}},
      {"scaled by 2", [](AcDbPolyline& q) { q.transformBy(AcGeMatrix3d::scaling(2.0)); }, {2, 5, 6},
       {{0, 0}, {6, 8}, {0, 0}}, {}},
      {"widths back to zero", [](AcDbPolyline& q) { q.setWidthsAt(1, 0, 0); }, {2, 5, 6}, WidthList(3), 0.0},
      {"constant width", [](AcDbPolyline& q) { q.setConstantWidth(0.5); }, {2, 5, 6}, WidthList(3, {0.5, 0.5}), 0.5},
      {"default widths take it", [](AcDbPolyline& q) { q.addVertexAt(0, AcGePoint2d(-1, 0)); }, {-1, 2, 5, 6},
       WidthList(4, {0.5, 0.5}), 0.5},
      {"one narrower at its end", [](AcDbPolyline& q) { q.setWidthsAt(3, 0.5, 0); }, {-1, 2, 5, 6},
       {{0.5, 0.5}, {0.5, 0.5}, {0.5, 0.5}, {0.5, 0}}, {}},
      {"constant width zero", [](AcDbPolyline& q) { q.setConstantWidth(0); q.addVertexAt(9, AcGePoint2d(7, 0)); },
       {-1, 2, 5, 6, 7}, WidthList(5), 0.0},
  };
  std::vector<std::unique_ptr<AcDbPolyline>> copies;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.edit(p);
    EXPECT_EQ(XsOf(p), step.xs);
    EXPECT_EQ(WidthsOf(p), step.widths);
    EXPECT_EQ(p.hasWidth(), step.widths != WidthList(step.widths.size()));
    double constant = -1;
    EXPECT_EQ(p.getConstantWidth(constant) == Acad::eOk, step.constant.has_value());
    EXPECT_EQ(constant, step.constant.value_or(constant));
    copies.emplace_back(static_cast<AcDbPolyline*>(p.clone()));
  }
  // Every copy kept the widths of its moment, whatever came after.
  for (size_t i = 0; i < copies.size(); ++i) {
    SCOPED_TRACE(steps[i].what);
    EXPECT_EQ(XsOf(*copies[i]), steps[i].xs);
    EXPECT_EQ(WidthsOf(*copies[i]), steps[i].widths);
  }
}

TEST(AcadPolyline, WidthsAndPlaneSurviveCopiesAndADxfSaveAndRead) {
  struct Case {
    const char* what;
    std::function<void(AcDbPolyline&)> set;
    WidthList widths;
    double elevation, thickness;
    AcGeVector3d normal;
  };
  const Case cases[] = {
      {"plain", [](AcDbPolyline&) {}, WidthList(3), 0, 0, AcGeVector3d::kZAxis},
      {"one wide vertex", [](AcDbPolyline& q) { q.setWidthsAt(1, 0.25, 1.5); }, {{0, 0}, {0.25, 1.5}, {0, 0}}, 0, 0,
       AcGeVector3d::kZAxis},
      {"constant width", [](AcDbPolyline& q) { q.setConstantWidth(0.75); }, WidthList(3, {0.75, 0.75}), 0, 0,
       AcGeVector3d::kZAxis},
      {"placed in space",
       [](AcDbPolyline& q) {
         q.setElevation(-2.5);
         q.setThickness(4);
         q.setNormal(AcGeVector3d(0, 0, -3));  // made unit
         q.setWidthsAt(2, 2, 0);
       },
       {{0, 0}, {0, 0}, {2, 0}}, -2.5, 4, AcGeVector3d(0, 0, -1)},
  };
  AcDbDatabase db;
  std::vector<std::unique_ptr<AcDbPolyline>> copies;
  for (const Case& c : cases) {
    auto* p = new AcDbPolyline();
    for (unsigned int i = 0; i < 3; ++i) p->addVertexAt(i, AcGePoint2d(i, i * i), i == 1 ? 0.5 : 0);
    c.set(*p);
    copies.emplace_back(static_cast<AcDbPolyline*>(p->clone()));
    dxftest::Append(db, p);
  }
  dxftest::TempFile file("pline_widths.dxf");
  ASSERT_EQ(db.saveAs(file.wpath().c_str()), Acad::eOk);
  AcDbDatabase back(false);
  ASSERT_EQ(back.readDwgFile(file.wpath().c_str()), Acad::eOk);
  std::vector<AcDbObjectId> ids = dxftest::Entities(back);
  ASSERT_EQ(ids.size(), std::size(cases));
  for (size_t i = 0; i < ids.size(); ++i) {
    AcDbPolyline* read = dxftest::Open<AcDbPolyline>(ids[i]);
    ASSERT_NE(read, nullptr);
    for (const AcDbPolyline* p : {copies[i].get(), read}) {
      SCOPED_TRACE(std::string(cases[i].what) + (p == read ? " read back" : " copied"));
      EXPECT_EQ(XsOf(*p), (std::vector<double>{0, 1, 2}));
      double bulge = 0;
      p->getBulgeAt(1, bulge);
      EXPECT_EQ(bulge, 0.5);
      EXPECT_EQ(WidthsOf(*p), cases[i].widths);
      EXPECT_EQ(p->elevation(), cases[i].elevation);
      EXPECT_EQ(p->thickness(), cases[i].thickness);
      EXPECT_TRUE(p->normal().isEqualTo(cases[i].normal));
    }
    read->close();
  }
}
}  // namespace
