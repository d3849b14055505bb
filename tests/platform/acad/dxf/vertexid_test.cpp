// Vertices of the old polylines as database objects: ids from the iterator,
// opening and editing by id, appended vertices, erasing, handles kept
// through DXF, and polylines outside a database.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "db2dpline.h"
#include "db3dpline.h"
#include "dxftestutil.h"

using namespace dxftest;

namespace {

AcGePoint3dArray Points(std::initializer_list<AcGePoint3d> pts) {
  AcGePoint3dArray out;
  for (const AcGePoint3d& p : pts) out.append(p);
  return out;
}

// The vertex ids of a polyline, walked as host code does.
template <class Poly>
std::vector<AcDbObjectId> VertexIds(AcDbObjectId polyId) {
  std::vector<AcDbObjectId> ids;
  Poly* poly = Open<Poly>(polyId);
  if (!poly) return ids;
  AcDbObjectIterator* it = poly->vertexIterator();
  for (it->start(); !it->done(); it->step()) ids.push_back(it->objectId());
  delete it;
  poly->close();
  return ids;
}

std::vector<AcDbHandle> Handles(const std::vector<AcDbObjectId>& ids) {
  std::vector<AcDbHandle> out;
  for (const AcDbObjectId& id : ids) out.push_back(id.handle());
  return out;
}

AcDbObjectId Route(AcDbDatabase& db) {
  return Append(db, new AcDb2dPolyline(AcDb::k2dSimplePoly,
                                       Points({{0, 0, 0}, {10, 0, 0}, {10, 5, 0}}), 2.0));
}

TEST(AcadPolylineVertexIds, HostLoopOpensEveryVertexByItsId) {
  AcDbDatabase db;
  AcDbObjectId polyId = Route(db);
  AcDb2dPolyline* poly = Open<AcDb2dPolyline>(polyId);
  ASSERT_NE(poly, nullptr);
  std::vector<AcGePoint3d> seen;
  std::set<AcDbHandle> handles;
  AcDbObjectIterator* it = poly->vertexIterator();
  for (it->start(); !it->done(); it->step()) {
    AcDb2dVertex* v = nullptr;
    ASSERT_EQ(poly->openVertex(v, it->objectId(), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(v, it->entity());
    EXPECT_EQ(v->ownerId(), polyId);
    EXPECT_EQ(v->database(), &db);
    seen.push_back(v->position());
    handles.insert(v->handle());
    EXPECT_EQ(v->close(), Acad::eOk);
  }
  delete it;
  poly->close();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_TRUE(seen[2].isEqualTo(AcGePoint3d(10, 5, 0)));
  EXPECT_EQ(handles.size(), 3u);
  EXPECT_EQ(handles.count(AcDbHandle()), 0u);
  EXPECT_EQ(handles.count(polyId.handle()), 0u);

  // The plain open call works on a vertex id as on any other.
  std::vector<AcDbObjectId> ids = VertexIds<AcDb2dPolyline>(polyId);
  ASSERT_EQ(ids.size(), 3u);
  AcDb2dVertex* v = nullptr;
  EXPECT_EQ(acdbOpenObject(v, ids[1], AcDb::kForRead), Acad::eOk);
  ASSERT_NE(v, nullptr);
  EXPECT_TRUE(v->position().isEqualTo(AcGePoint3d(10, 0, 0)));
  v->close();
}

TEST(AcadPolylineVertexIds, OpenVertexRefusesObjectsOfOtherOwners) {
  AcDbDatabase db;
  AcDbObjectId a = Route(db), b = Route(db);
  std::vector<AcDbObjectId> idsOfB = VertexIds<AcDb2dPolyline>(b);
  AcDb2dPolyline* poly = Open<AcDb2dPolyline>(a);
  AcDb2dVertex* v = nullptr;
  EXPECT_EQ(poly->openVertex(v, idsOfB[0], AcDb::kForRead), Acad::eNotInBlock);
  EXPECT_EQ(poly->openVertex(v, a, AcDb::kForRead), Acad::eNotInBlock);
  EXPECT_EQ(poly->openVertex(v, AcDbObjectId(), AcDb::kForRead), Acad::eNullObjectId);
  EXPECT_EQ(v, nullptr);
  poly->close();
}

TEST(AcadPolylineVertexIds, EditingThroughTheIdFollowsTheOpenProtocol) {
  AcDbDatabase db;
  AcDbObjectId polyId = Route(db);
  std::vector<AcDbObjectId> ids = VertexIds<AcDb2dPolyline>(polyId);
  ASSERT_EQ(ids.size(), 3u);

  AcDb2dVertex* v = nullptr;
  ASSERT_EQ(acdbOpenObject(v, ids[2], AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(v->setPosition(AcGePoint3d(10, 20, 0)), Acad::eNotOpenForWrite);
  v->close();

  ASSERT_EQ(acdbOpenObject(v, ids[2], AcDb::kForWrite), Acad::eOk);
  AcDb2dVertex* second = nullptr;
  EXPECT_EQ(acdbOpenObject(second, ids[2], AcDb::kForWrite), Acad::eWasOpenedForWrite);
  EXPECT_EQ(acdbOpenObject(second, ids[2], AcDb::kForRead), Acad::eWasOpenedForWrite);
  EXPECT_EQ(v->setPosition(AcGePoint3d(10, 20, 0)), Acad::eOk);
  EXPECT_EQ(v->setBulge(1.0), Acad::eOk);
  EXPECT_EQ(v->close(), Acad::eOk);

  // The change stays after close and is part of the polyline's curve.
  AcDb2dPolyline* poly = Open<AcDb2dPolyline>(polyId);
  AcGePoint3d end;
  poly->getEndPoint(end);
  EXPECT_TRUE(end.isEqualTo(AcGePoint3d(10, 20, 2)));
  EXPECT_NEAR(poly->length(), 10.0 + 20.0, 1e-9);  // the bulge of the last vertex is unused (open)
  poly->close();
}

TEST(AcadPolylineVertexIds, AppendVertexGivesAnIdAndAnOpenVertex) {
  AcDbDatabase db;
  AcDbObjectId polyId = Route(db);
  AcDb2dPolyline* poly = nullptr;
  ASSERT_EQ(acdbOpenObject(poly, polyId, AcDb::kForWrite), Acad::eOk);
  auto* added = new AcDb2dVertex(AcGePoint3d(0, 5, 0));
  AcDbObjectId addedId;
  ASSERT_EQ(poly->appendVertex(addedId, added), Acad::eOk);
  EXPECT_FALSE(addedId.isNull());
  EXPECT_EQ(added->objectId(), addedId);
  EXPECT_EQ(added->ownerId(), polyId);
  EXPECT_TRUE(added->isWriteEnabled());
  EXPECT_EQ(added->setStartWidth(0.5), Acad::eOk);
  EXPECT_EQ(added->close(), Acad::eOk);
  EXPECT_FALSE(added->isWriteEnabled());
  EXPECT_EQ(poly->appendVertex(added), Acad::eAlreadyInDb);
  EXPECT_EQ(poly->numVerts(), 4);
  poly->close();

  std::vector<AcDbObjectId> ids = VertexIds<AcDb2dPolyline>(polyId);
  ASSERT_EQ(ids.size(), 4u);
  EXPECT_EQ(ids[3], addedId);
  AcDb2dVertex* v = Open<AcDb2dVertex>(addedId);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->startWidth(), 0.5);
  v->close();
}

TEST(AcadPolylineVertexIds, ErasedVertexLeavesThePolyline) {
  AcDbDatabase db;
  AcDbObjectId polyId = Route(db);
  std::vector<AcDbObjectId> ids = VertexIds<AcDb2dPolyline>(polyId);
  AcDb2dVertex* v = nullptr;
  ASSERT_EQ(acdbOpenObject(v, ids[1], AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(v->erase(), Acad::eOk);
  v->close();

  EXPECT_EQ(acdbOpenObject(v, ids[1], AcDb::kForRead), Acad::eWasErased);
  std::vector<AcDbObjectId> left = VertexIds<AcDb2dPolyline>(polyId);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0], ids[0]);
  EXPECT_EQ(left[1], ids[2]);
  AcDb2dPolyline* poly = Open<AcDb2dPolyline>(polyId);
  EXPECT_EQ(poly->numVerts(), 2);
  EXPECT_NEAR(poly->length(), std::hypot(10.0, 5.0), 1e-9);
  poly->close();

  // Erasing the first vertex too: the iterator starts past it.
  ASSERT_EQ(acdbOpenObject(v, ids[0], AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(v->erase(), Acad::eOk);
  v->close();
  left = VertexIds<AcDb2dPolyline>(polyId);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0], ids[2]);

  // Nor is it written: the file has one vertex left.
  AcDbDatabase back(false);
  RoundTrip(db, back, "vertexerase.dxf");
  std::vector<AcDbObjectId> ents = Entities(back);
  ASSERT_EQ(ents.size(), 1u);
  EXPECT_EQ(Handles(VertexIds<AcDb2dPolyline>(ents[0])), Handles({ids[2]}));
}

TEST(AcadPolylineVertexIds, DxfRoundTripKeepsVertexHandles) {
  AcDbDatabase db;
  AcDbObjectId poly2Id = Route(db);
  AcDbObjectId poly3Id =
      Append(db, new AcDb3dPolyline(AcDb::k3dSimplePoly, Points({{0, 0, 0}, {1, 2, 3}, {4, 5, 6}}), true));
  // A vertex appended later gets a handle above the polylines'.
  AcDb3dPolyline* p3 = nullptr;
  ASSERT_EQ(acdbOpenObject(p3, poly3Id, AcDb::kForWrite), Acad::eOk);
  auto* extra = new AcDb3dPolylineVertex(AcGePoint3d(7, 8, 9));
  AcDbObjectId extraId;
  ASSERT_EQ(p3->appendVertex(extraId, extra), Acad::eOk);
  extra->close();
  p3->close();

  std::vector<AcDbHandle> before2 = Handles(VertexIds<AcDb2dPolyline>(poly2Id));
  std::vector<AcDbHandle> before3 = Handles(VertexIds<AcDb3dPolyline>(poly3Id));
  ASSERT_EQ(before3.size(), 4u);
  EXPECT_EQ(before3[3], extraId.handle());

  AcDbDatabase back(false);
  RoundTrip(db, back, "vertexhandles.dxf");
  std::vector<AcDbObjectId> ents = Entities(back);
  ASSERT_EQ(ents.size(), 2u);
  std::vector<AcDbObjectId> after2 = VertexIds<AcDb2dPolyline>(ents[0]);
  std::vector<AcDbObjectId> after3 = VertexIds<AcDb3dPolyline>(ents[1]);
  EXPECT_EQ(Handles(after2), before2);
  EXPECT_EQ(Handles(after3), before3);
  // The vertices read are objects of the new database, owned by their polyline.
  AcDbObjectId byHandle;
  ASSERT_EQ(back.getAcDbObjectId(byHandle, false, before3[3]), Acad::eOk);
  EXPECT_EQ(byHandle, after3[3]);
  AcDb3dPolylineVertex* v = Open<AcDb3dPolylineVertex>(byHandle);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->ownerId(), ents[1]);
  EXPECT_TRUE(v->position().isEqualTo(AcGePoint3d(7, 8, 9)));
  v->close();
  // New objects do not reuse the vertices' handles.
  AcDbObjectId newId = Route(back);
  for (const AcDbHandle& h : before2) EXPECT_NE(newId.handle(), h);
  for (const AcDbHandle& h : before3) EXPECT_NE(newId.handle(), h);
}

TEST(AcadPolylineVertexIds, RefittingGivesGeneratedVerticesIds) {
  AcDbDatabase db;
  AcDbObjectId polyId = Route(db);
  std::vector<AcDbObjectId> given = VertexIds<AcDb2dPolyline>(polyId);
  AcDb2dPolyline* poly = nullptr;
  ASSERT_EQ(acdbOpenObject(poly, polyId, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(poly->splineFit(), Acad::eOk);
  poly->close();
  std::vector<AcDbObjectId> all = VertexIds<AcDb2dPolyline>(polyId);
  ASSERT_GT(all.size(), given.size());
  // The given vertices stay the same objects (now control vertices).
  for (size_t i = 0; i < given.size(); ++i) EXPECT_EQ(all[i], given[i]);
  for (const AcDbObjectId& id : all) {
    AcDb2dVertex* v = Open<AcDb2dVertex>(id);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->ownerId(), polyId);
    v->close();
  }
  // Straightening drops the generated vertices: their ids report them gone.
  ASSERT_EQ(acdbOpenObject(poly, polyId, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(poly->straighten(), Acad::eOk);
  poly->close();
  AcDb2dVertex* gone = nullptr;
  EXPECT_EQ(acdbOpenObject(gone, all.back(), AcDb::kForRead), Acad::ePermanentlyErased);
  EXPECT_EQ(VertexIds<AcDb2dPolyline>(polyId), given);
}

TEST(AcadPolylineVertexIds, PolylineOutsideADatabaseKeepsOwnedVertices) {
  AcDb2dPolyline poly(AcDb::k2dSimplePoly, Points({{0, 0, 0}, {3, 4, 0}}));
  auto* v = new AcDb2dVertex(AcGePoint3d(6, 8, 0));
  AcDbObjectId id;
  ASSERT_EQ(poly.appendVertex(id, v), Acad::eOk);
  EXPECT_TRUE(id.isNull());
  EXPECT_TRUE(v->isNewObject());
  AcDbObjectIterator* it = poly.vertexIterator();
  int n = 0;
  for (it->start(); !it->done(); it->step(), ++n) {
    EXPECT_TRUE(it->objectId().isNull());
    EXPECT_NE(it->entity(), nullptr);
  }
  delete it;
  EXPECT_EQ(n, 3);
  EXPECT_NEAR(poly.length(), 10.0, 1e-9);

  // Added to a database later, the vertices become objects of it.
  AcDbDatabase db;
  auto* copy = static_cast<AcDb2dPolyline*>(poly.clone());
  AcDbObjectId polyId = Append(db, copy);
  std::vector<AcDbObjectId> ids = VertexIds<AcDb2dPolyline>(polyId);
  ASSERT_EQ(ids.size(), 3u);
  for (const AcDbObjectId& vid : ids) EXPECT_FALSE(vid.isNull());

  // A copy of one vertex is a vertex of no polyline: a block that takes it
  // owns it (the sanitizer build sees a leak otherwise).
  AcDb2dVertex* src = Open<AcDb2dVertex>(ids[0]);
  ASSERT_NE(src, nullptr);
  auto* lone = static_cast<AcDb2dVertex*>(src->clone());
  src->close();
  EXPECT_FALSE(lone->isDeletedByOwner());
  AcDbObjectId loneId = Append(db, lone);
  EXPECT_NE(loneId, ids[0]);
}

}  // namespace

namespace {
// Erasing an old polyline erases its vertices; unerasing it brings back only
// the vertices it took with it. An erased vertex never comes back: not by
// unerasing the polyline, not in a copy, not after a save and a read.
template <class Poly, class Vertex>
void ErasingThePolylineErasesItsVertices(AcDbObjectId polyId) {
  AcDbDatabase& db = *polyId.database();
  std::vector<AcDbObjectId> ids = VertexIds<Poly>(polyId);
  ASSERT_EQ(ids.size(), 3u);
  Vertex* v = nullptr;
  ASSERT_EQ(acdbOpenObject(v, ids[1], AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(v->erase(), Acad::eOk);
  v->close();

  Poly* poly = nullptr;
  ASSERT_EQ(acdbOpenObject(poly, polyId, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(poly->erase(), Acad::eOk);
  poly->close();
  for (const AcDbObjectId& id : ids) {
    EXPECT_TRUE(id.isErased());
    EXPECT_EQ(acdbOpenObject(v, id, AcDb::kForRead), Acad::eWasErased);
  }
  // Saved while erased: neither the polyline nor its vertices are in the file.
  AcDbDatabase gone(false);
  RoundTrip(db, gone, "erasedpolyline.dxf");
  AcDbObjectId found;
  for (const AcDbObjectId& id : ids) EXPECT_EQ(gone.getAcDbObjectId(found, false, id.handle()), Acad::eUnknownHandle);
  EXPECT_EQ(gone.getAcDbObjectId(found, false, polyId.handle()), Acad::eUnknownHandle);

  // Unerased: the vertices erased with it come back, the one erased before does not.
  ASSERT_EQ(acdbOpenObject(poly, polyId, AcDb::kForWrite, true), Acad::eOk);
  ASSERT_EQ(poly->erase(false), Acad::eOk);
  EXPECT_EQ(poly->numVerts(), 2);
  // A copy of the polyline holds copies of the two vertices only.
  auto* copy = static_cast<Poly*>(poly->clone());
  EXPECT_EQ(copy->numVerts(), 2);
  poly->close();
  AcDbObjectId copyId = Append(db, copy);
  EXPECT_EQ(VertexIds<Poly>(copyId).size(), 2u);
  EXPECT_FALSE(ids[0].isErased());
  EXPECT_TRUE(ids[1].isErased());
  EXPECT_FALSE(ids[2].isErased());
  EXPECT_EQ(VertexIds<Poly>(polyId), (std::vector<AcDbObjectId>{ids[0], ids[2]}));

  AcDbDatabase back(false);
  RoundTrip(db, back, "erasedvertex.dxf");
  EXPECT_EQ(back.getAcDbObjectId(found, false, ids[1].handle()), Acad::eUnknownHandle);
  ASSERT_EQ(back.getAcDbObjectId(found, false, polyId.handle()), Acad::eOk);
  EXPECT_EQ(Handles(VertexIds<Poly>(found)), Handles({ids[0], ids[2]}));
}

TEST(AcadPolylineVertexIds, ErasingThePolylineErasesItsVertices) {
  {
    SCOPED_TRACE("2D");
    AcDbDatabase db;
    ErasingThePolylineErasesItsVertices<AcDb2dPolyline, AcDb2dVertex>(Route(db));
  }
  {
    SCOPED_TRACE("3D");
    AcDbDatabase db;
    ErasingThePolylineErasesItsVertices<AcDb3dPolyline, AcDb3dPolylineVertex>(
        Append(db, new AcDb3dPolyline(AcDb::k3dSimplePoly, Points({{0, 0, 0}, {1, 2, 3}, {4, 5, 6}}))));
  }
}
}  // namespace
