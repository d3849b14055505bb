// The host's application events: a list of reactors told in the order they
// were added. A reactor may remove itself (or another) while it is told.
#include "rxevent.h"

#include <algorithm>

void AcRxEvent::addReactor(AcRxEventReactor* reactor) {
  if (reactor && std::find(m_reactors.begin(), m_reactors.end(), reactor) == m_reactors.end())
    m_reactors.push_back(reactor);
}

void AcRxEvent::removeReactor(AcRxEventReactor* reactor) { std::erase(m_reactors, reactor); }

void AcRxEvent::fireDatabaseConstructed(AcDbDatabase* db) {
  std::vector<AcRxEventReactor*> copy = m_reactors;
  for (AcRxEventReactor* r : copy)
    if (std::find(m_reactors.begin(), m_reactors.end(), r) != m_reactors.end()) r->databaseConstructed(db);
}

void AcRxEvent::fireDatabaseToBeDestroyed(AcDbDatabase* db) {
  std::vector<AcRxEventReactor*> copy = m_reactors;
  for (AcRxEventReactor* r : copy)
    if (std::find(m_reactors.begin(), m_reactors.end(), r) != m_reactors.end()) r->databaseToBeDestroyed(db);
}

AcRxEvent* acrxEventObject() {
  // Never destroyed: databases may still be deleted while the process ends.
  static AcRxEvent* event = new AcRxEvent();
  return event;
}
