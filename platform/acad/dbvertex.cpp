// The vertex base shared by the old 2D and 3D polylines: its file handle,
// joining a polyline's database, and the VERTEX and SEQEND records.
#include "dbvertex.h"

#include <string>

#include "dbdatabase.h"

ACRX_DEFINE_ABSTRACT(AcDbVertex, AcDbEntity)

namespace {
// The handle a record is written with: the one it has, else a new one of
// the database being written (kept, so the next save writes the same).
AcDbHandle FileHandle(AcDbHandle& handle, const AcDbDxfFiler& filer) {
  if (handle.isNull() && filer.database()) handle = filer.database()->reserveHandle();
  return handle;
}
}  // namespace

void AcDbVertex::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbEntity::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbVertex");
}

Acad::ErrorStatus AcDbVertex::dxfInFields(const AcDbDxfRecord& record) {
  Acad::ErrorStatus es = AcDbEntity::dxfInFields(record);
  for (const AcDbDxfPair& p : record.pairs)
    if (p.code == 5) m_fileHandle = AcDbHandle(std::string(p.value).c_str());
  return es;
}

void AcDbVertex::makeResident(const AcDbObject& polyline) {
  m_bInPolyline = true;
  AcDbDatabase* db = polyline.database();
  if (!db || !isNewObject()) return;
  db->addWithHandle(this, m_fileHandle);
  m_fileHandle = handle();
  setOwnerId(polyline.objectId());
}

void AcDbVertex::dxfOutInPolyline(const AcDbObject& polyline, AcDbDxfFiler& filer) const {
  if (!isNewObject()) {
    dxfOut(filer);
    return;
  }
  filer.writeUtf8(0, "VERTEX");
  filer.writeHandle(5, FileHandle(m_fileHandle, filer));
  filer.writeObjectId(330, polyline.objectId());
  dxfOutFields(filer);
}

void AcDbVertex::dxfOutSeqend(const AcDbEntity& polyline, AcDbHandle& seqendHandle, AcDbDxfFiler& filer) {
  filer.writeUtf8(0, "SEQEND");
  filer.writeHandle(5, FileHandle(seqendHandle, filer));
  filer.writeObjectId(330, polyline.objectId());
  // SEQEND carries the polyline's layer, colour and the like.
  polyline.AcDbEntity::dxfOutFields(filer);
}
