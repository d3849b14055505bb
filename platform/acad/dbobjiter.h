// AcDbObjectIterator: walks the sub-entities of an entity (the vertices of
// the old polylines) in order, skipping erased ones. The iterator sees the
// sub-entities present when it was made; the owner must stay alive while it
// is used. Sub-entities of a database-resident owner have ids of their own.
#pragma once

#include <vector>

#include "dbentity.h"

class AcDbObjectIterator {
 public:
  explicit AcDbObjectIterator(std::vector<AcDbEntity*> items) : m_items(std::move(items)) {}

  bool done() const { return m_nPos < 0 || m_nPos >= static_cast<long>(m_items.size()); }
  void start(bool atEnd = false, bool skipErased = true) {
    m_nPos = atEnd ? static_cast<long>(m_items.size()) - 1 : 0;
    while (skipErased && !done() && m_items[static_cast<size_t>(m_nPos)]->isErased()) m_nPos += atEnd ? -1 : 1;
  }
  void step(bool backwards = false, bool skipErased = true) {
    do {
      m_nPos += backwards ? -1 : 1;
    } while (skipErased && !done() && m_items[static_cast<size_t>(m_nPos)]->isErased());
  }
  // The current sub-entity; null when done.
  AcDbEntity* entity() const { return done() ? nullptr : m_items[static_cast<size_t>(m_nPos)]; }
  // The current sub-entity's id: null when done or when the owner is not in
  // a database.
  AcDbObjectId objectId() const { return done() ? AcDbObjectId() : m_items[static_cast<size_t>(m_nPos)]->objectId(); }
  // Moves to the sub-entity; false when it is not one of these.
  bool seek(const AcDbEntity* item) {
    for (size_t i = 0; i < m_items.size(); ++i)
      if (m_items[i] == item) {
        m_nPos = static_cast<long>(i);
        return true;
      }
    return false;
  }

 private:
  std::vector<AcDbEntity*> m_items;
  long m_nPos = 0;
};
