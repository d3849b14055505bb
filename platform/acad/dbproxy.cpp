// Objects and entities of kinds not modelled, kept as read and written back
// unchanged; an entity's extents are those of what it draws.
#include "dbproxy.h"

#include "giextents.h"
#include "textconv.h"

ACRX_DEFINE_MEMBERS(AcDbProxyEntity, AcDbEntity, L"ACAD_PROXY_ENTITY")
ACRX_DEFINE_MEMBERS(AcDbProxyObject, AcDbObject, L"ACAD_PROXY_OBJECT")

void acdbWriteRaw(AcDbDxfFiler& filer, const AcDbRawRecord& raw, AcDbHandle handle, bool paperSpace) {
  filer.writeUtf8(0, raw.type);
  bool handleWritten = false;
  bool hasHandle = false;
  bool hasSpace = false;
  for (const auto& pair : raw.pairs) {
    if (pair.first == 0) break;
    if (pair.first == 5 || pair.first == 105) hasHandle = true;
    if (pair.first == 67) hasSpace = true;
  }
  if (!hasHandle) {
    filer.writeHandle(5, handle);
    handleWritten = true;
  }
  // An entity of a paper-space layout says so with 67 = 1 (files that kept
  // it in the layout's block may not have had it): after the entity's
  // subclass marker, or before its layer in files without markers.
  bool needSpace = paperSpace && !hasSpace;
  for (const auto& [code, value] : raw.pairs) {
    if (code == 0) needSpace = false;  // followers of the record
    if (needSpace && code == 8) {
      filer.writeInt(67, 1);
      needSpace = false;
    }
    // The handle goes where the record had it (5, or 105 in DIMSTYLE), with
    // the value the database gave the object.
    if (!handleWritten && (code == 5 || code == 105)) {
      filer.writeHandle(code, handle);
      handleWritten = true;
      continue;
    }
    filer.writeUtf8(code, value);
    if (needSpace && code == 100 && value == "AcDbEntity") {
      filer.writeInt(67, 1);
      needSpace = false;
    }
  }
}

Acad::ErrorStatus AcDbProxyEntity::getGeomExtents(AcDbExtents& extents) const {
  // What it draws (a dimension's block, a hatch's loops ...), else its first point.
  if (acgiDrawnExtents(const_cast<AcDbProxyEntity*>(this), extents)) return Acad::eOk;
  extents = AcDbExtents();
  double xyz[3] = {0, 0, 0};
  int seen = 0;
  for (const auto& [code, value] : m_raw.pairs) {
    if (code == 0) break;  // the first sub-entity ends the record's own pairs
    if (code == 10 || code == 20 || code == 30) {
      double v = 0;
      acdbParseDouble(value, v);
      xyz[(code - 10) / 10] = v;
      seen |= 1 << ((code - 10) / 10);
    }
  }
  if (!(seen & 1)) return Acad::eInvalidExtents;
  extents.addPoint(AcGePoint3d(xyz[0], xyz[1], xyz[2]));
  return Acad::eOk;
}

void AcDbProxyEntity::dxfOut(AcDbDxfFiler& filer) const {
  acdbWriteRaw(filer, m_raw, handle(), filer.isPaperSpace(ownerId()));
}

Acad::ErrorStatus AcDbProxyEntity::dxfInFields(const AcDbDxfRecord& record) {
  return AcDbEntity::dxfInFields(record);
}

std::wstring AcDbProxyEntity::dxfName() const { return win::Utf8ToWide(m_raw.type); }

void AcDbProxyObject::dxfOut(AcDbDxfFiler& filer) const { acdbWriteRaw(filer, m_raw, handle()); }

std::wstring AcDbProxyObject::dxfName() const { return win::Utf8ToWide(m_raw.type); }
