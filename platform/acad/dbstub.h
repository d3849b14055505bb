// The database's record of one object: its handle, the object itself and its
// erased state. Object ids point at stubs, which live as long as their database.
#pragma once

#include <algorithm>
#include <vector>

#include "dbarena.h"
#include "dbid.h"

struct AcDbStub {
  AcDbDatabase* m_pDb = nullptr;
  AcDbHandle m_handle;
  AcDbObject* m_pObject = nullptr;  // owned by the database
};

// The stubs of a database, in the order they were made. A stub never moves:
// they are kept in chunks that grow to a huge page each, so a drawing of a
// million objects costs a few hundred page faults, not tens of thousands.
class AcDbStubList {
 public:
  AcDbStub& emplace_back() {
    if (m_chunks.empty() || m_chunks.back().size() == m_chunks.back().capacity()) {
      size_t capacity = m_chunks.empty() ? 64 : std::min(m_chunks.back().capacity() * 2, kMaxChunk);
      m_chunks.emplace_back().reserve(capacity);
    }
    return m_chunks.back().emplace_back();
  }
  template <class F>
  void forEach(F&& f) {
    for (auto& chunk : m_chunks)
      for (AcDbStub& s : chunk) f(s);
  }
  template <class F>
  void forEach(F&& f) const {
    for (const auto& chunk : m_chunks)
      for (const AcDbStub& s : chunk) f(s);
  }

 private:
  static constexpr size_t kMaxChunk = (size_t(2) << 20) / sizeof(AcDbStub);
  // Each chunk is filled up to the capacity it was made with, never beyond.
  std::vector<std::vector<AcDbStub, AcDbLargeAllocator<AcDbStub>>> m_chunks;
};
