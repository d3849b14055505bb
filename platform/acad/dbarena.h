// AcDbObjectArena: memory for the objects a database reads from a file. A
// drawing of a million entities is a million small objects made in one go
// and freed in one go; taking them from a few large blocks (huge pages where
// the system gives them) spares the system a page fault every few objects,
// which is most of what reading costs. The blocks go when the database is
// emptied. Every database object can be deleted as usual wherever it was
// made: AcDbObject's own operator delete knows an arena object by the word
// before it and leaves its memory to the arena.
#pragma once

#include <cstddef>
#include <vector>

class AcDbObjectArena {
 public:
  AcDbObjectArena() = default;
  ~AcDbObjectArena() { release(); }
  AcDbObjectArena(const AcDbObjectArena&) = delete;
  AcDbObjectArena& operator=(const AcDbObjectArena&) = delete;

  // Room for size bytes, 16-byte aligned; never null (throws std::bad_alloc).
  void* allocate(size_t size);
  // Gives every block back; no object made here may still be alive.
  void release();
  size_t blockCount() const { return m_blocks.size(); }

 private:
  struct Block {
    char* base;
    size_t size;
  };
  std::vector<Block> m_blocks;
  char* m_pNext = nullptr;
  char* m_pEnd = nullptr;
};
