// The host application services the drawing database asks for its working database.
#include "dbhostapp.h"

#include "acdocman.h"

AcDbDatabase* AcDbHostApplicationServices::workingDatabase() const {
  return m_pWorking ? m_pWorking : curDoc()->database();
}

AcDbHostApplicationServices* acdbHostApplicationServices() {
  static AcDbHostApplicationServices services;
  return &services;
}
