// AcDbObjectArena: memory for the objects a database reads from a file. A
// drawing of a million entities is a million small objects made in one go
// and freed in one go; taking them from a few large blocks (huge pages where
// the system gives them) spares the system a page fault every few objects,
// which is most of what reading costs. The blocks go when the database is
// emptied. Every database object can be deleted as usual wherever it was
// made: AcDbObject's own operator delete knows an arena object by the word
// before it and leaves its memory to the arena. As a memory resource the
// arena also holds the variable-size parts (vertices, texts) of the objects
// made in it; what they give back stays until the arena goes.
//
// AcDbLargeAllocator: the allocator of the database's large arrays (the
// handle index, the stubs, a block's entity list), which take whole huge
// pages once they are large and the heap otherwise.
#pragma once

#include <cstddef>
#include <future>
#include <memory_resource>
#include <mutex>
#include <vector>

class AcDbObjectArena : public std::pmr::memory_resource {
 public:
  AcDbObjectArena() = default;
  ~AcDbObjectArena() override { release(); }
  AcDbObjectArena(const AcDbObjectArena&) = delete;
  AcDbObjectArena& operator=(const AcDbObjectArena&) = delete;

  // Room for size bytes aligned to 8 or 16 (the most anything an object
  // keeps needs); never null (throws std::bad_alloc).
  void* allocate(size_t size, size_t alignment = 16);
  // Gives every block back; no object made here may still be alive.
  void release();
  size_t blockCount() const { return m_blocks.size(); }
  // While on, the pages a few megabytes ahead of the next object are faulted
  // in by a thread of the arena's own, so that the system's cost of handing
  // out fresh memory (much of what reading a large drawing costs) is paid
  // beside the work that fills it. Off waits for that thread.
  void setFaultAhead(bool on);

 private:
  void faultAhead();
  void waitForFaulting() noexcept;

  void* do_allocate(size_t bytes, size_t alignment) override;
  void do_deallocate(void*, size_t, size_t) override {}
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

  struct Block {
    char* base;
    size_t size;
  };
  std::vector<Block> m_blocks;
  char* m_pNext = nullptr;
  char* m_pEnd = nullptr;
  bool m_bFaultAhead = false;
  char* m_pFaulted = nullptr;    // the current block is asked for up to here
  char* m_pFaultMark = nullptr;  // where to ask for more
  std::future<void> m_faulting;
};

// Zeroed memory straight from the system, asked for as huge pages (a page
// fault per 2 MB instead of per 4 KB). The size is rounded up to whole huge
// pages; the same size gives it back.
void* acdbMapLargeBlock(size_t size);
void acdbUnmapLargeBlock(void* p, size_t size) noexcept;

template <class T>
class AcDbLargeAllocator {
 public:
  using value_type = T;
  // From this size on an array takes huge pages of its own.
  static constexpr size_t kLargeBytes = size_t(1) << 20;

  AcDbLargeAllocator() = default;
  template <class U>
  AcDbLargeAllocator(const AcDbLargeAllocator<U>&) noexcept {}  // NOLINT: rebinding converts

  T* allocate(size_t n) {
    size_t bytes = n * sizeof(T);
    if (bytes < kLargeBytes) return std::allocator<T>().allocate(n);
    return static_cast<T*>(acdbMapLargeBlock(bytes));
  }
  void deallocate(T* p, size_t n) noexcept {
    size_t bytes = n * sizeof(T);
    if (bytes < kLargeBytes) std::allocator<T>().deallocate(p, n);
    else acdbUnmapLargeBlock(p, bytes);
  }
  template <class U>
  bool operator==(const AcDbLargeAllocator<U>&) const noexcept { return true; }
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
