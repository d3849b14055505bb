// The old 2D and 3D polylines in DXF: POLYLINE, VERTEX and SEQEND records
// written and read back, files of other programs, and kinds kept as read.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "db2dpline.h"
#include "db3dpline.h"
#include "dbcurves.h"
#include "dbproxy.h"
#include "dbregion.h"
#include "dxftestutil.h"

using namespace dxftest;

namespace {

std::string Dxf(std::initializer_list<std::pair<int, const char*>> pairs) {
  std::string out;
  for (const auto& [code, value] : pairs) out += std::to_string(code) + "\n" + value + "\n";
  return out;
}

template <class Vertex>
std::vector<Vertex*> Vertices(AcDbObjectIterator* it) {
  std::vector<Vertex*> out;
  for (it->start(); !it->done(); it->step()) out.push_back(Vertex::cast(it->entity()));
  delete it;
  return out;
}

TEST(AcadOldPolylineDxf, RoundTripKeepsTypesVerticesAndHandles) {
  AcDbDatabase db;
  AcGePoint3dArray pts;
  pts.append(AcGePoint3d(0, 0, 0));
  pts.append(AcGePoint3d(10, 0, 0));
  pts.append(AcGePoint3d(10, 10, 0));
  pts.append(AcGePoint3d(0, 10, 0));
  auto* spline = new AcDb2dPolyline(AcDb::k2dQuadSplinePoly, pts, 2.5, true, 0.5, 0.75);
  spline->setNormal(AcGeVector3d(0, 0, -1));
  AcDbObjectId splineId = Append(db, spline);
  auto* simple = new AcDb2dPolyline();
  simple->appendVertex(new AcDb2dVertex(AcGePoint3d(0, 0, 0), 0.5, 1.0, 2.0));
  simple->appendVertex(new AcDb2dVertex(AcGePoint3d(5, 0, 0)));
  simple->setLinetypeGenerationOn();
  AcDbObjectId simpleId = Append(db, simple);
  AcDbObjectId poly3Id = Append(db, new AcDb3dPolyline(AcDb::k3dCubicSplinePoly, pts));

  AcDb2dPolyline* s = Open<AcDb2dPolyline>(splineId);
  double splineLength = s->length(), splineArea = 0;
  s->getArea(splineArea);
  int splineVerts = s->numVerts();
  s->close();

  AcDbDatabase back(false);
  RoundTrip(db, back, "oldpoly.dxf");
  std::vector<AcDbObjectId> ids = Entities(back);
  ASSERT_EQ(ids.size(), 3u);
  EXPECT_EQ(ids[0].handle(), splineId.handle());
  auto* s2 = Open<AcDb2dPolyline>(ids[0]);
  ASSERT_NE(s2, nullptr);
  EXPECT_EQ(s2->polyType(), AcDb::k2dQuadSplinePoly);
  EXPECT_TRUE(s2->isClosed());
  EXPECT_EQ(s2->elevation(), 2.5);
  EXPECT_TRUE(s2->normal().isEqualTo(AcGeVector3d(0, 0, -1)));
  EXPECT_EQ(s2->defaultEndWidth(), 0.75);
  EXPECT_EQ(s2->numVerts(), splineVerts);
  EXPECT_NEAR(s2->length(), splineLength, 1e-9);
  double area = 0;
  s2->getArea(area);
  EXPECT_NEAR(area, splineArea, 1e-9);
  int control = 0;
  for (AcDb2dVertex* v : Vertices<AcDb2dVertex>(s2->vertexIterator()))
    control += v->vertexType() == AcDb::k2dSplineCtlVertex;
  EXPECT_EQ(control, 4);
  s2->close();

  auto* p2 = Open<AcDb2dPolyline>(ids[1]);
  ASSERT_NE(p2, nullptr);
  EXPECT_EQ(ids[1].handle(), simpleId.handle());
  EXPECT_TRUE(p2->isLinetypeGenerationOn());
  std::vector<AcDb2dVertex*> verts = Vertices<AcDb2dVertex>(p2->vertexIterator());
  ASSERT_EQ(verts.size(), 2u);
  EXPECT_EQ(verts[0]->bulge(), 0.5);
  EXPECT_EQ(verts[0]->startWidth(), 1.0);
  EXPECT_EQ(verts[0]->endWidth(), 2.0);
  p2->close();

  auto* p3 = Open<AcDb3dPolyline>(ids[2]);
  ASSERT_NE(p3, nullptr);
  EXPECT_EQ(ids[2].handle(), poly3Id.handle());
  EXPECT_EQ(p3->polyType(), AcDb::k3dCubicSplinePoly);
  p3->close();

  // A second save gives the same text: vertex and SEQEND handles stay.
  std::string first, second;
  ASSERT_EQ(back.dxfOut(first), Acad::eOk);
  AcDbDatabase again(false);
  ASSERT_EQ(again.dxfIn(first), Acad::eOk);
  ASSERT_EQ(again.dxfOut(second), Acad::eOk);
  EXPECT_EQ(first, second);
}

TEST(AcadOldPolylineDxf, Release12FormsAndKindsKeptAsRead) {
  std::string text = Dxf({{0, "SECTION"}, {2, "ENTITIES"},
                          // A curve-fit polyline: two given vertices with tangents, one generated.
                          {0, "POLYLINE"}, {8, "ROADS"}, {66, "1"}, {10, "0"}, {20, "0"}, {30, "3"}, {70, "2"},
                          {0, "VERTEX"}, {8, "ROADS"}, {10, "0"}, {20, "0"}, {42, "0.2"}, {70, "2"}, {50, "10"},
                          {0, "VERTEX"}, {8, "ROADS"}, {10, "5"}, {20, "1"}, {42, "-0.2"}, {70, "1"},
                          {0, "VERTEX"}, {8, "ROADS"}, {10, "10"}, {20, "0"}, {70, "2"}, {50, "-10"},
                          {0, "SEQEND"}, {8, "ROADS"},
                          // A 3D polyline.
                          {0, "POLYLINE"}, {8, "0"}, {66, "1"}, {70, "8"},
                          {0, "VERTEX"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {70, "32"},
                          {0, "VERTEX"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "4"}, {70, "32"},
                          {0, "SEQEND"}, {8, "0"},
                          // A polyface mesh: not modelled, kept as read.
                          {0, "POLYLINE"}, {8, "0"}, {66, "1"}, {70, "64"}, {71, "3"}, {72, "1"},
                          {0, "VERTEX"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {70, "192"},
                          {0, "VERTEX"}, {8, "0"}, {10, "0"}, {20, "1"}, {30, "0"}, {70, "192"},
                          {0, "VERTEX"}, {8, "0"}, {10, "1"}, {20, "0"}, {30, "0"}, {70, "192"},
                          {0, "VERTEX"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {70, "128"},
                          {71, "1"}, {72, "2"}, {73, "3"},
                          {0, "SEQEND"}, {8, "0"},
                          {0, "ENDSEC"}, {0, "EOF"}});
  AcDbDatabase db(false);
  ASSERT_EQ(db.dxfIn(text), Acad::eOk);
  std::vector<AcDbObjectId> ids = Entities(db);
  ASSERT_EQ(ids.size(), 3u);
  auto* fit = Open<AcDb2dPolyline>(ids[0]);
  ASSERT_NE(fit, nullptr);
  EXPECT_EQ(fit->polyType(), AcDb::k2dFitCurvePoly);
  EXPECT_EQ(fit->elevation(), 3.0);
  EXPECT_EQ(fit->layerName(), L"ROADS");
  std::vector<AcDb2dVertex*> verts = Vertices<AcDb2dVertex>(fit->vertexIterator());
  ASSERT_EQ(verts.size(), 3u);
  EXPECT_EQ(verts[1]->vertexType(), AcDb::k2dCurveFitVertex);
  EXPECT_TRUE(verts[0]->isTangentUsed());
  EXPECT_NEAR(verts[0]->tangent(), 10 * 3.14159265358979323846 / 180, 1e-12);
  // The curve runs through the generated vertex, along arcs.
  double param = 0;
  EXPECT_EQ(fit->getParamAtPoint(AcGePoint3d(5, 1, 3), param), Acad::eOk);
  EXPECT_NEAR(param, 1.0, 1e-9);
  EXPECT_GT(fit->length(), 2 * std::sqrt(26.0));
  ASSERT_EQ(fit->upgradeOpen(), Acad::eOk);
  ASSERT_EQ(fit->straighten(), Acad::eOk);
  EXPECT_EQ(fit->numVerts(), 2);
  fit->close();

  auto* p3 = Open<AcDb3dPolyline>(ids[1]);
  ASSERT_NE(p3, nullptr);
  EXPECT_NEAR(p3->length(), 4.0, 1e-12);
  p3->close();

  auto* mesh = Open<AcDbProxyEntity>(ids[2]);
  ASSERT_NE(mesh, nullptr);
  EXPECT_STREQ(mesh->originalDxfName(), "POLYLINE");
  mesh->close();

  AcDbDatabase back(false);
  RoundTrip(db, back, "oldpoly_r12.dxf");
  ids = Entities(back);
  ASSERT_EQ(ids.size(), 3u);
  auto* again = Open<AcDb2dPolyline>(ids[0]);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->numVerts(), 2);  // straightened before the save
  again->close();
  auto* again3 = Open<AcDb3dPolyline>(ids[1]);
  ASSERT_NE(again3, nullptr);
  EXPECT_NEAR(again3->length(), 4.0, 1e-12);
  again3->close();
  auto* mesh2 = Open<AcDbProxyEntity>(ids[2]);
  ASSERT_NE(mesh2, nullptr);
  mesh2->close();
}

TEST(AcadOldPolylineDxf, SequencesThatDoNotFitAreKeptAsRead) {
  // A 3D vertex in a 2D polyline: the sequence is kept as read, nothing lost.
  std::string mixed = Dxf({{0, "SECTION"}, {2, "ENTITIES"},
                           {0, "POLYLINE"}, {8, "0"}, {66, "1"}, {70, "0"},
                           {0, "VERTEX"}, {8, "0"}, {10, "0"}, {20, "0"}, {70, "32"},
                           {0, "SEQEND"}, {8, "0"},
                           {0, "ENDSEC"}, {0, "EOF"}});
  AcDbDatabase db(false);
  ASSERT_EQ(db.dxfIn(mixed), Acad::eOk);
  std::vector<AcDbObjectId> ids = Entities(db);
  ASSERT_EQ(ids.size(), 1u);
  auto* proxy = Open<AcDbProxyEntity>(ids[0]);
  ASSERT_NE(proxy, nullptr);
  int vertices = 0;
  for (const auto& pr : proxy->raw().pairs) vertices += pr.first == 0 && pr.second == "VERTEX";
  EXPECT_EQ(vertices, 1);
  proxy->close();
  // An attribute inside a polyline's sequence keeps the sequence as read too.
  std::string attrib = Dxf({{0, "SECTION"}, {2, "ENTITIES"},
                            {0, "POLYLINE"}, {8, "0"}, {66, "1"}, {70, "8"},
                            {0, "VERTEX"}, {8, "0"}, {10, "1"}, {20, "0"}, {30, "0"}, {70, "32"},
                            {0, "ATTRIB"}, {8, "0"}, {1, "x"},
                            {0, "SEQEND"}, {8, "0"},
                            {0, "ENDSEC"}, {0, "EOF"}});
  AcDbDatabase db2(false);
  ASSERT_EQ(db2.dxfIn(attrib), Acad::eOk);
  ids = Entities(db2);
  ASSERT_EQ(ids.size(), 1u);
  AcDbEntity* ent = Open<AcDbEntity>(ids[0]);
  ASSERT_NE(ent, nullptr);
  EXPECT_NE(AcDbProxyEntity::cast(ent), nullptr);
  ent->close();
}

TEST(AcadOldPolylineDxf, FixtureLoadsModelledPolylines) {
  std::string narrow = std::string(ACAD_FIXTURE_DIR) + "/polylines.dxf";
  std::wstring path(narrow.begin(), narrow.end());
  AcDbDatabase db(false);
  ASSERT_EQ(db.readDwgFile(path.c_str(), _SH_DENYNO), Acad::eOk);
  int modelled = 0, kept = 0;
  std::vector<double> lengths;
  for (AcDbObjectId id : Entities(db)) {
    AcDbEntity* ent = Open<AcDbEntity>(id);
    if (auto* p2 = AcDb2dPolyline::cast(ent)) { ++modelled; lengths.push_back(p2->length()); }
    if (auto* p3 = AcDb3dPolyline::cast(ent)) { ++modelled; lengths.push_back(p3->length()); }
    if (auto* px = AcDbProxyEntity::cast(ent)) kept += std::string(px->originalDxfName()) == "POLYLINE";
    ent->close();
  }
  EXPECT_GT(modelled, 0);
  EXPECT_EQ(kept, 0);
  AcDbDatabase back(false);
  RoundTrip(db, back, "fixture_polylines_again.dxf");
  std::vector<double> again;
  for (AcDbObjectId id : Entities(back)) {
    AcDbEntity* ent = Open<AcDbEntity>(id);
    if (auto* p2 = AcDb2dPolyline::cast(ent)) again.push_back(p2->length());
    if (auto* p3 = AcDb3dPolyline::cast(ent)) again.push_back(p3->length());
    ent->close();
  }
  ASSERT_EQ(again.size(), lengths.size());
  for (size_t i = 0; i < lengths.size(); ++i) EXPECT_NEAR(again[i], lengths[i], 1e-9 * (1 + lengths[i]));
}
}  // namespace

namespace {
TEST(AcadRegionDxf, RegionKeepsItsLoopThroughSaveAndRead) {
  AcDbDatabase db;
  AcDbVoidPtrArray curves, regions;
  curves.append(new AcDbCircle(AcGePoint3d(1, 2, 3), AcGeVector3d(0, 0, -1), 4.0));
  ASSERT_EQ(AcDbRegion::createFromCurves(curves, regions), Acad::eOk);
  delete static_cast<AcDbEntity*>(curves[0]);
  ASSERT_EQ(regions.length(), 1);
  auto* region = static_cast<AcDbRegion*>(regions[0]);
  region->setColorIndex(3);
  AcDbObjectId id = Append(db, region);
  AcDbDatabase back(false);
  RoundTrip(db, back, "region.dxf");
  std::vector<AcDbObjectId> ids = Entities(back);
  ASSERT_EQ(ids.size(), 1u);
  EXPECT_EQ(ids[0].handle(), id.handle());
  auto* r = Open<AcDbRegion>(ids[0]);
  ASSERT_NE(r, nullptr);
  double area = 0, perimeter = 0;
  r->getArea(area);
  r->getPerimeter(perimeter);
  EXPECT_NEAR(area, 16 * 3.14159265358979323846, 1e-9);
  EXPECT_NEAR(perimeter, 8 * 3.14159265358979323846, 1e-9);
  EXPECT_EQ(r->colorIndex(), 3);
  AcDbExtents ext;
  r->getGeomExtents(ext);
  EXPECT_NEAR(ext.minPoint().x, -3.0, 1e-9);
  EXPECT_NEAR(ext.maxPoint().z, 3.0, 1e-9);
  r->close();
}

TEST(AcadRegionDxf, RegionsOfOtherProgramsAreKeptAsRead) {
  std::string text = Dxf({{0, "SECTION"}, {2, "ENTITIES"},
                          {0, "REGION"}, {8, "0"}, {100, "AcDbModelerGeometry"}, {70, "1"},
                          {1, "kmn 0 0 0"}, {1, "ekkr ~ nnn"}, {3, "more"},
                          {0, "ENDSEC"}, {0, "EOF"}});
  AcDbDatabase db(false);
  ASSERT_EQ(db.dxfIn(text), Acad::eOk);
  std::vector<AcDbObjectId> ids = Entities(db);
  ASSERT_EQ(ids.size(), 1u);
  auto* proxy = Open<AcDbProxyEntity>(ids[0]);
  ASSERT_NE(proxy, nullptr);
  EXPECT_STREQ(proxy->originalDxfName(), "REGION");
  proxy->close();
}
}  // namespace
