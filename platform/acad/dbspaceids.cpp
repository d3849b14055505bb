// The entities of a drawing's model space, in drawing order.
#include "dbspaceids.h"

#include "dbdatabase.h"
#include "dbsymtb.h"

std::vector<AcDbObjectId> acdbModelSpaceIds(AcDbDatabase* db) {
  std::vector<AcDbObjectId> ids;
  AcDbBlockTable* table = nullptr;
  if (!db || db->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return ids;
  AcDbBlockTableRecord* space = nullptr;
  Acad::ErrorStatus es = table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead);
  table->close();
  if (es != Acad::eOk) return ids;
  AcDbBlockTableRecordIterator* it = nullptr;
  if (space->newIterator(it) == Acad::eOk) {
    for (; !it->done(); it->step()) {
      AcDbObjectId id;
      if (it->getEntityId(id) == Acad::eOk) ids.push_back(id);
    }
    delete it;
  }
  space->close();
  return ids;
}
