// Object handles and object ids.
#include "dbid.h"

#include <cstdio>

#include "dbobject.h"
#include "dbstub.h"
#include "textutil.h"

const AcDbObjectId AcDbObjectId::kNull;

namespace {
template <class Ch>
Adesk::UInt64 ParseHex(const Ch* text) {
  if (!text) return 0;
  Adesk::UInt64 v = 0;
  int digits = 0;
  for (; *text; ++text) {
    Ch c = *text;
    int d = win::textutil::HexDigit(static_cast<wchar_t>(c));
    if (d < 0) return 0;
    if (++digits > 16) return 0;
    v = (v << 4) | static_cast<unsigned>(d);
  }
  return v;
}
}  // namespace

AcDbHandle::AcDbHandle(const ACHAR* hexText) : m_value(ParseHex(hexText)) {}
AcDbHandle::AcDbHandle(const char* hexText) : m_value(ParseHex(hexText)) {}

bool AcDbHandle::getIntoAsciiBuffer(ACHAR* buffer, size_t bufferLength) const {
  ACHAR tmp[17];
  int n = 0;
  Adesk::UInt64 v = m_value;
  do {
    tmp[n++] = L"0123456789ABCDEF"[v & 15];
    v >>= 4;
  } while (v);
  if (!buffer || bufferLength < static_cast<size_t>(n) + 1) return false;
  for (int i = 0; i < n; ++i) buffer[i] = tmp[n - 1 - i];
  buffer[n] = 0;
  return true;
}

bool AcDbObjectId::isErased() const { return m_pStub && m_pStub->m_pObject && m_pStub->m_pObject->isErased(); }
bool AcDbObjectId::isResident() const { return m_pStub && m_pStub->m_pObject; }
AcDbHandle AcDbObjectId::handle() const { return m_pStub ? m_pStub->m_handle : AcDbHandle(); }
AcDbDatabase* AcDbObjectId::database() const { return m_pStub ? m_pStub->m_pDb : nullptr; }
AcRxClass* AcDbObjectId::objectClass() const {
  return m_pStub && m_pStub->m_pObject ? m_pStub->m_pObject->isA() : nullptr;
}
