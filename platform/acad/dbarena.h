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
#include <mutex>
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

// AcDbObjectPool: memory for the database objects programs make one by one
// with `new` (the circles and hatches of a run, hundreds of thousands of
// them). Objects of one size class share a free list, so a freed object's
// memory serves the next object of its size; new memory is cut from large
// blocks asked for as huge pages, which spares the page fault every few
// objects that the general heap pays. The memory stays with the process, as
// the host's own object memory does. Thread-safe.
class AcDbObjectPool {
 public:
  // The largest object the pool serves; larger ones take the heap.
  static constexpr size_t kMaxSize = 1024;
  static AcDbObjectPool& instance();

  // Room for size bytes (at most kMaxSize), 16-byte aligned; the class
  // it came from goes back with it.
  void* allocate(size_t size, unsigned& sizeClass);
  void deallocate(void* p, unsigned sizeClass) noexcept;

 private:
  AcDbObjectPool() = default;
  static constexpr size_t kClasses = kMaxSize / 16;
  struct FreeObject {
    FreeObject* next;
  };
  std::mutex m_mutex;
  FreeObject* m_free[kClasses] = {};
  AcDbObjectArena m_blocks;
};
