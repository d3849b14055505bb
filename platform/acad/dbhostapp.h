// The host's application services as the drawing database sees them: the
// working database is the one set explicitly, otherwise the current
// document's.
#pragma once

class AcDbDatabase;

class AcDbHostApplicationServices {
 public:
  AcDbDatabase* workingDatabase() const;
  // Null goes back to the current document's database.
  void setWorkingDatabase(AcDbDatabase* database) { m_pWorking = database; }
  // Called when a database goes away, so the working database never dangles.
  void databaseToBeDestroyed(AcDbDatabase* database) {
    if (m_pWorking == database) m_pWorking = nullptr;
  }

 private:
  AcDbDatabase* m_pWorking = nullptr;
};

AcDbHostApplicationServices* acdbHostApplicationServices();
