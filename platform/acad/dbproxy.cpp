// Objects and entities of kinds not modelled, kept as read and written back unchanged.
#include "dbproxy.h"

#include "textconv.h"

ACRX_DEFINE_MEMBERS(AcDbProxyEntity, AcDbEntity, L"ACAD_PROXY_ENTITY")
ACRX_DEFINE_MEMBERS(AcDbProxyObject, AcDbObject, L"ACAD_PROXY_OBJECT")

void acdbWriteRaw(AcDbDxfFiler& filer, const AcDbRawRecord& raw, AcDbHandle handle) {
  filer.writeUtf8(0, raw.type);
  bool handleWritten = false;
  bool hasHandle = false;
  for (const auto& pair : raw.pairs) {
    if (pair.first == 0) break;
    if (pair.first == 5 || pair.first == 105) hasHandle = true;
  }
  if (!hasHandle) {
    filer.writeHandle(5, handle);
    handleWritten = true;
  }
  for (const auto& [code, value] : raw.pairs) {
    // The handle goes where the record had it (5, or 105 in DIMSTYLE), with
    // the value the database gave the object.
    if (!handleWritten && (code == 5 || code == 105)) {
      filer.writeHandle(code, handle);
      handleWritten = true;
      continue;
    }
    filer.writeUtf8(code, value);
  }
}

Acad::ErrorStatus AcDbProxyEntity::getGeomExtents(AcDbExtents& extents) const {
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

void AcDbProxyEntity::dxfOut(AcDbDxfFiler& filer) const { acdbWriteRaw(filer, m_raw, handle()); }

Acad::ErrorStatus AcDbProxyEntity::dxfInFields(const AcDbDxfRecord& record) {
  return AcDbEntity::dxfInFields(record);
}

std::wstring AcDbProxyEntity::dxfName() const { return win::Utf8ToWide(m_raw.type); }

void AcDbProxyObject::dxfOut(AcDbDxfFiler& filer) const { acdbWriteRaw(filer, m_raw, handle()); }

std::wstring AcDbProxyObject::dxfName() const { return win::Utf8ToWide(m_raw.type); }
