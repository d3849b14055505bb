// AcRxEventReactor and acrxEvent: the host's application events that
// concern every module, here the making and the deleting of drawing
// databases. The graphics system listens so that it never reaches into a
// database that is gone.
#pragma once

#include <vector>

class AcDbDatabase;

class AcRxEventReactor {
 public:
  virtual ~AcRxEventReactor() = default;
  // A database has been made (its default drawing, if any, exists).
  virtual void databaseConstructed(AcDbDatabase*) {}
  // A database is about to be deleted; its objects and ids still exist.
  virtual void databaseToBeDestroyed(AcDbDatabase*) {}
};

class AcRxEvent {
 public:
  // A reactor hears every event until it is removed; adding one twice adds it once.
  void addReactor(AcRxEventReactor* reactor);
  void removeReactor(AcRxEventReactor* reactor);

  // Sent by the database itself.
  void fireDatabaseConstructed(AcDbDatabase* db);
  void fireDatabaseToBeDestroyed(AcDbDatabase* db);

 private:
  std::vector<AcRxEventReactor*> m_reactors;
};

AcRxEvent* acrxEventObject();
#define acrxEvent acrxEventObject()
