// Objects and entities of kinds the database does not model (dimensions,
// leaders, solids, viewports, layouts ...): kept as the pairs read from the
// file and written back unchanged.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dbentity.h"

struct AcDbRawRecord {
  std::string type;                                 // the 0 group (DIMENSION, LAYOUT ...)
  std::vector<std::pair<int, std::string>> pairs;  // everything after it but the handle, followers included
};

class AcDbProxyEntity : public AcDbEntity {
  ACRX_DECLARE_MEMBERS(AcDbProxyEntity)

 public:
  AcDbProxyEntity() = default;
  ACDB_DECLARE_CLONE(AcDbProxyEntity)
  const AcDbRawRecord& raw() const { return m_raw; }
  void setRaw(AcDbRawRecord raw) { m_raw = std::move(raw); }
  const char* originalDxfName() const { return m_raw.type.c_str(); }

  // The extents of what the entity draws; for a kind that draws nothing,
  // the first point of the record, when it has one.
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;
  void dxfOut(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;
  std::wstring dxfName() const override;

 protected:
  AcDbProxyEntity(const AcDbProxyEntity&) = default;

 private:
  AcDbRawRecord m_raw;
};

class AcDbProxyObject : public AcDbObject {
  ACRX_DECLARE_MEMBERS(AcDbProxyObject)

 public:
  AcDbProxyObject() = default;
  ACDB_DECLARE_CLONE(AcDbProxyObject)
  const AcDbRawRecord& raw() const { return m_raw; }
  void setRaw(AcDbRawRecord raw) { m_raw = std::move(raw); }
  const char* originalDxfName() const { return m_raw.type.c_str(); }

  void dxfOut(AcDbDxfFiler& filer) const override;
  std::wstring dxfName() const override;

 protected:
  AcDbProxyObject(const AcDbProxyObject&) = default;

 private:
  AcDbRawRecord m_raw;
};

// Writes the raw pairs with the record's type and handle; an entity of a
// paper-space layout gets 67 = 1 when the pairs lack it.
void acdbWriteRaw(AcDbDxfFiler& filer, const AcDbRawRecord& raw, AcDbHandle handle, bool paperSpace = false);
