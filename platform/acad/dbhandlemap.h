// The database's index from handle to object stub. Handles are mostly small
// and consecutive (a writer counts them up from 1), so they index an array
// directly; the few far above the others (a file may use any 64-bit value)
// go to a small open-addressing table. No allocation per object, and reading
// a drawing walks the array in order.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "adesk.h"
#include "dbarena.h"

struct AcDbStub;

class AcDbHandleMap {
 public:
  // The stub of a handle, or null. Handle 0 is never stored.
  AcDbStub* find(Adesk::UInt64 handle) const {
    if (handle < m_dense.size()) return m_dense[handle];
    if (m_sparse.empty() || handle == 0) return nullptr;
    for (size_t i = slotOf(handle, m_sparse.size());; i = (i + 1) & (m_sparse.size() - 1)) {
      const Slot& s = m_sparse[i];
      if (s.handle == handle) return s.stub;
      if (s.handle == 0) return nullptr;
    }
  }
  // Adds a handle that is not there yet.
  void insert(Adesk::UInt64 handle, AcDbStub* stub) {
    ++m_nCount;
    if (handle >= m_dense.size() && handle < denseLimit()) growDense(handle);
    if (handle < m_dense.size()) {
      m_dense[handle] = stub;
      return;
    }
    if ((m_nSparse + 1) * 2 > m_sparse.size()) rehashSparse(m_sparse.empty() ? 16 : m_sparse.size() * 2);
    putSparse(handle, stub);
  }
  // Room for count consecutive handles without growing.
  void reserve(size_t count) {
    if (count > m_dense.size()) growDense(count - 1);
  }
  size_t size() const { return m_nCount; }
  void clear() {
    m_dense.clear();
    m_dense.shrink_to_fit();
    m_sparse.clear();
    m_nCount = m_nSparse = 0;
  }

 private:
  struct Slot {
    Adesk::UInt64 handle = 0;
    AcDbStub* stub = nullptr;
  };
  // The array reaches as far as a few times the handles held: beyond that a
  // handle is one of the few far-off ones.
  Adesk::UInt64 denseLimit() const { return 8 * static_cast<Adesk::UInt64>(m_nCount) + 65536; }
  static size_t slotOf(Adesk::UInt64 handle, size_t size) {
    return static_cast<size_t>((handle * 0x9E3779B97F4A7C15ULL) >> 20) & (size - 1);
  }
  void putSparse(Adesk::UInt64 handle, AcDbStub* stub) {
    size_t i = slotOf(handle, m_sparse.size());
    while (m_sparse[i].handle != 0) i = (i + 1) & (m_sparse.size() - 1);
    m_sparse[i] = {handle, stub};
    ++m_nSparse;
  }
  void rehashSparse(size_t size) {
    std::vector<Slot> old = std::exchange(m_sparse, std::vector<Slot>(size));
    m_nSparse = 0;
    for (const Slot& s : old)
      if (s.handle != 0) putSparse(s.handle, s.stub);
  }
  // Makes the array reach the handle; sparse handles now within it move in.
  void growDense(Adesk::UInt64 handle) {
    size_t size = std::max<size_t>(static_cast<size_t>(handle) + 1, m_dense.size() * 2);
    m_dense.resize(size, nullptr);
    if (m_nSparse == 0) return;
    std::vector<Slot> old = std::exchange(m_sparse, std::vector<Slot>(m_sparse.size()));
    m_nSparse = 0;
    for (const Slot& s : old) {
      if (s.handle == 0) continue;
      if (s.handle < m_dense.size()) m_dense[s.handle] = s.stub;
      else putSparse(s.handle, s.stub);
    }
  }

  std::vector<AcDbStub*, AcDbLargeAllocator<AcDbStub*>> m_dense;  // by handle
  std::vector<Slot> m_sparse;      // a power of two long, at most half full
  size_t m_nCount = 0;
  size_t m_nSparse = 0;
};
