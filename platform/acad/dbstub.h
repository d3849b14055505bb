// The database's record of one object: its handle, the object itself and its
// erased state. Object ids point at stubs, which live as long as their database.
#pragma once

#include <memory>

#include "dbid.h"

struct AcDbStub {
  AcDbDatabase* m_pDb = nullptr;
  AcDbHandle m_handle;
  AcDbObject* m_pObject = nullptr;  // owned by the database
};
