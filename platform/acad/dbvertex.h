// What the vertices of the old-style polylines have in common: AcDbVertex,
// the base of AcDb2dVertex and AcDb3dPolylineVertex, and AcDbVertexList, the
// vertices a polyline owns. Both polylines keep their vertices the same way
// (deleted with the polyline, copied with it; while the polyline is in a
// database each vertex is a database object of its own, owned by the
// polyline), so that bookkeeping lives here once.
#pragma once

#include <memory>
#include <vector>

#include "dbentity.h"
#include "dbobjiter.h"

class AcDbVertex : public AcDbEntity {
  ACRX_DECLARE_MEMBERS(AcDbVertex)

 public:
  // The polyline deletes the vertices it holds; the database only lets go.
  bool isDeletedByOwner() const override { return m_bInPolyline; }

  // The "AcDbVertex" subclass marker after the entity fields.
  void dxfOutFields(AcDbDxfFiler& filer) const override;
  // The entity fields and the handle the vertex has in the file.
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;

 protected:
  AcDbVertex() = default;
  // A copy is a vertex of no polyline.
  AcDbVertex(const AcDbVertex& other) : AcDbEntity(other), m_fileHandle(other.m_fileHandle) {}

 private:
  template <class TVertex>
  friend class AcDbVertexList;

  // Marks the vertex as held by the polyline and, while the polyline is in a
  // database, makes it an object there, owned by the polyline and keeping the
  // handle it was read with.
  void makeResident(const AcDbObject& polyline);
  // The VERTEX record of a vertex of the polyline (a resident vertex writes
  // itself with its own handle and extended data).
  void dxfOutInPolyline(const AcDbObject& polyline, AcDbDxfFiler& filer) const;
  // The SEQEND record that closes the polyline's vertices.
  static void dxfOutSeqend(const AcDbEntity& polyline, AcDbHandle& seqendHandle, AcDbDxfFiler& filer);

  // The handle the vertex had in the file (given one on first save).
  mutable AcDbHandle m_fileHandle;
  // Set while a polyline holds the vertex (the polyline deletes it).
  bool m_bInPolyline = false;
  // Set while the vertex is erased because its polyline is: unerasing the
  // polyline brings back these and not the ones erased on their own.
  bool m_bErasedWithPolyline = false;
};

// The vertices of one polyline, in order, erased ones included (their ids
// stay valid). The polyline passes itself to the operations that need it
// rather than being stored here, so copying or moving a polyline needs no
// fix-up. Reads like the vector it wraps for the polyline's own geometry code.
template <class TVertex>
class AcDbVertexList {
 public:
  using Items = std::vector<std::unique_ptr<TVertex>>;

  AcDbVertexList() = default;
  // Copies of the vertices, held by the copy of the polyline: new objects,
  // given handles of their own when saved. Erased vertices are not copied
  // (a copy would bring them back).
  AcDbVertexList(const AcDbVertexList& other) {
    for (const auto& v : other.m_items) {
      if (v->isErased()) continue;
      m_items.push_back(std::unique_ptr<TVertex>(static_cast<TVertex*>(v->clone())));
      AcDbVertex& copy = *m_items.back();
      copy.m_fileHandle = AcDbHandle();
      copy.m_bInPolyline = true;
    }
  }
  AcDbVertexList(AcDbVertexList&&) noexcept = default;
  AcDbVertexList& operator=(AcDbVertexList&&) noexcept = default;
  AcDbVertexList& operator=(const AcDbVertexList&) = delete;

  // Takes a new vertex (it gets the polyline's properties). A vertex appended
  // to a database-resident polyline is open for write, as an entity appended
  // to a block is: the caller closes it.
  Acad::ErrorStatus append(AcDbEntity& polyline, TVertex* vertex) {
    if (!vertex) return Acad::eNullObjectPointer;
    if (!polyline.isWriteEnabled()) return Acad::eNotOpenForWrite;
    if (!vertex->isNewObject()) return Acad::eAlreadyInDb;
    for (const auto& v : m_items)
      if (v.get() == vertex) return Acad::eAlreadyInDb;
    vertex->setPropertiesFrom(polyline);
    adopt(polyline, std::unique_ptr<TVertex>(vertex));
    if (polyline.database()) vertex->openFor(AcDb::kForWrite);
    return Acad::eOk;
  }
  Acad::ErrorStatus append(AcDbEntity& polyline, AcDbObjectId& vertexId, TVertex* vertex) {
    vertexId = AcDbObjectId();
    Acad::ErrorStatus es = append(polyline, vertex);
    if (es == Acad::eOk) vertexId = vertex->objectId();
    return es;
  }
  // Holds the vertex at the end, resident when the polyline is.
  void adopt(const AcDbObject& polyline, std::unique_ptr<TVertex> vertex) {
    m_items.push_back(std::move(vertex));
    m_items.back()->makeResident(polyline);
  }
  // Every vertex resident (the polyline has just come into a database, or
  // the vertices were refitted).
  void makeResident(const AcDbObject& polyline) {
    for (auto& v : m_items) v->makeResident(polyline);
  }

  // Erasing the polyline erases the vertices still there; unerasing it
  // brings back only those.
  void eraseWithPolyline(bool erasing) {
    for (auto& v : m_items) {
      AcDbVertex& vertex = *v;
      if (erasing && !vertex.isErased()) {
        vertex.setErasedFlag(true);
        vertex.m_bErasedWithPolyline = true;
      } else if (!erasing && vertex.m_bErasedWithPolyline) {
        vertex.setErasedFlag(false);
        vertex.m_bErasedWithPolyline = false;
      }
    }
  }

  // Opens one of these vertices by id (eNotInBlock for another object).
  Acad::ErrorStatus open(TVertex*& vertex, AcDbObjectId vertexId, AcDb::OpenMode mode, bool openErased) const {
    vertex = nullptr;
    if (vertexId.isNull()) return Acad::eNullObjectId;
    bool mine = false;
    for (const auto& v : m_items)
      if (v->objectId() == vertexId) mine = true;
    if (!mine) return Acad::eNotInBlock;
    return acdbOpenObject(vertex, vertexId, mode, openErased);
  }
  // The vertices that are not erased.
  std::vector<TVertex*> live() const {
    std::vector<TVertex*> out;
    for (const auto& v : m_items)
      if (!v->isErased()) out.push_back(v.get());
    return out;
  }
  // Over every vertex; the caller deletes it.
  AcDbObjectIterator* newIterator() const {
    std::vector<AcDbEntity*> items;
    for (const auto& v : m_items) items.push_back(v.get());
    return new AcDbObjectIterator(std::move(items));
  }
  // The VERTEX records of the vertices not erased and the closing SEQEND.
  void dxfOut(const AcDbEntity& polyline, AcDbHandle& seqendHandle, AcDbDxfFiler& filer) const {
    for (const auto& v : m_items)
      if (!v->isErased()) v->dxfOutInPolyline(polyline, filer);
    AcDbVertex::dxfOutSeqend(polyline, seqendHandle, filer);
  }

  typename Items::iterator begin() { return m_items.begin(); }
  typename Items::iterator end() { return m_items.end(); }
  typename Items::const_iterator begin() const { return m_items.begin(); }
  typename Items::const_iterator end() const { return m_items.end(); }
  size_t size() const { return m_items.size(); }
  std::unique_ptr<TVertex>& operator[](size_t i) { return m_items[i]; }
  const std::unique_ptr<TVertex>& operator[](size_t i) const { return m_items[i]; }
  std::unique_ptr<TVertex>& back() { return m_items.back(); }
  void push_back(std::unique_ptr<TVertex> vertex) { m_items.push_back(std::move(vertex)); }
  void clear() { m_items.clear(); }

 private:
  Items m_items;
};
