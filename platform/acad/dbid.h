// Object handles (64-bit, written as hexadecimal text) and object ids (the
// in-memory identity of a database object), plus the open modes.
#pragma once

#include <functional>

#include "acarray.h"
#include "adesk.h"

class AcDbDatabase;
class AcDbObject;
class AcRxClass;
struct AcDbStub;

namespace AcDb {
enum OpenMode { kForRead = 0, kForWrite = 1, kForNotify = 2 };
enum LineWeight {
  kLnWt000 = 0, kLnWt005 = 5, kLnWt009 = 9, kLnWt013 = 13, kLnWt015 = 15, kLnWt018 = 18, kLnWt020 = 20,
  kLnWt025 = 25, kLnWt030 = 30, kLnWt035 = 35, kLnWt040 = 40, kLnWt050 = 50, kLnWt053 = 53, kLnWt060 = 60,
  kLnWt070 = 70, kLnWt080 = 80, kLnWt090 = 90, kLnWt100 = 100, kLnWt106 = 106, kLnWt120 = 120,
  kLnWt140 = 140, kLnWt158 = 158, kLnWt200 = 200, kLnWt211 = 211,
  kLnWtByLayer = -1, kLnWtByBlock = -2, kLnWtByLwDefault = -3
};
enum Visibility { kVisible = 0, kInvisible = 1 };
}  // namespace AcDb

// The line weight a stored number stands for; numbers that are no line
// weight mean "by layer".
inline AcDb::LineWeight acdbToLineWeight(long long value) {
  static const int kWeights[] = {0, 5, 9, 13, 15, 18, 20, 25, 30, 35, 40, 50, 53, 60, 70, 80,
                                 90, 100, 106, 120, 140, 158, 200, 211, -1, -2, -3};
  for (int w : kWeights)
    if (w == value) return static_cast<AcDb::LineWeight>(w);
  return AcDb::kLnWtByLayer;
}

class AcDbHandle {
 public:
  AcDbHandle() = default;
  AcDbHandle(Adesk::UInt64 value) : m_value(value) {}  // NOLINT: handles convert freely
  // Parses hexadecimal text; anything that is not hexadecimal gives the null handle.
  explicit AcDbHandle(const ACHAR* hexText);
  explicit AcDbHandle(const char* hexText);

  bool isNull() const { return m_value == 0; }
  void setNull() { m_value = 0; }
  Adesk::UInt64 value() const { return m_value; }
  operator Adesk::UInt64() const { return m_value; }  // NOLINT
  AcDbHandle& operator++() { ++m_value; return *this; }
  AcDbHandle operator++(int) { AcDbHandle old = *this; ++m_value; return old; }
  // Upper-case hexadecimal without leading zeros ("1F"); false when the buffer is too small.
  bool getIntoAsciiBuffer(ACHAR* buffer, size_t bufferLength = 17) const;
  bool operator==(const AcDbHandle& o) const { return m_value == o.m_value; }
  bool operator!=(const AcDbHandle& o) const { return m_value != o.m_value; }
  bool operator<(const AcDbHandle& o) const { return m_value < o.m_value; }

 private:
  Adesk::UInt64 m_value = 0;
};

class AcDbObjectId {
 public:
  AcDbObjectId() = default;
  static const AcDbObjectId kNull;

  bool isNull() const { return m_pStub == nullptr; }
  void setNull() { m_pStub = nullptr; }
  // An id is valid when it names an object of a live database.
  bool isValid() const { return m_pStub != nullptr; }
  bool isErased() const;
  bool isResident() const;
  AcDbHandle handle() const;
  AcDbDatabase* database() const;
  AcRxClass* objectClass() const;
  // The value used in ads names and back.
  Adesk::Int64 asOldId() const { return reinterpret_cast<Adesk::Int64>(m_pStub); }
  AcDbObjectId& setFromOldId(Adesk::Int64 oldId) { m_pStub = reinterpret_cast<AcDbStub*>(oldId); return *this; }

  bool operator==(const AcDbObjectId& o) const { return m_pStub == o.m_pStub; }
  bool operator!=(const AcDbObjectId& o) const { return m_pStub != o.m_pStub; }
  bool operator<(const AcDbObjectId& o) const { return std::less<const AcDbStub*>()(m_pStub, o.m_pStub); }
  bool operator>(const AcDbObjectId& o) const { return o < *this; }

  AcDbStub* stub() const { return m_pStub; }
  explicit AcDbObjectId(AcDbStub* stub) : m_pStub(stub) {}

 private:
  AcDbStub* m_pStub = nullptr;
};

typedef AcDbObjectId AcDbHardOwnershipId;
typedef AcDbObjectId AcDbSoftPointerId;
typedef AcArray<AcDbObjectId> AcDbObjectIdArray;

template <>
struct std::hash<AcDbObjectId> {
  size_t operator()(const AcDbObjectId& id) const noexcept { return std::hash<const void*>()(id.stub()); }
};
