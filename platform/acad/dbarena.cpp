// The object arena's blocks (anonymous mappings asked for as huge pages),
// and the pool's size classes cut from such blocks.
#include "dbarena.h"

#include <sys/mman.h>

#include <algorithm>
#include <new>

namespace {
constexpr size_t kBlockSize = size_t(32) << 20;

size_t RoundUp(size_t n, size_t to) { return (n + to - 1) / to * to; }
}  // namespace

void* AcDbObjectArena::allocate(size_t size) {
  size = RoundUp(size, 16);
  if (static_cast<size_t>(m_pEnd - m_pNext) < size) {
    size_t blockSize = size > kBlockSize / 4 ? RoundUp(size, 4096) : kBlockSize;
    void* p = ::mmap(nullptr, blockSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    // Only a hint: without huge pages the block works the same.
    ::madvise(p, blockSize, MADV_HUGEPAGE);
    m_blocks.push_back({static_cast<char*>(p), blockSize});
    m_pNext = static_cast<char*>(p);
    m_pEnd = m_pNext + blockSize;
  }
  void* out = m_pNext;
  m_pNext += size;
  return out;
}

void AcDbObjectArena::release() {
  for (const Block& b : m_blocks) ::munmap(b.base, b.size);
  m_blocks.clear();
  m_pNext = m_pEnd = nullptr;
}

AcDbObjectPool& AcDbObjectPool::instance() {
  // Lives as long as the process: objects may be freed at any time before it ends.
  static AcDbObjectPool* pool = new AcDbObjectPool();
  return *pool;
}

void* AcDbObjectPool::allocate(size_t size, unsigned& sizeClass) {
  sizeClass = static_cast<unsigned>((std::max<size_t>(size, 1) + 15) / 16 - 1);
  std::lock_guard<std::mutex> lock(m_mutex);
  if (FreeObject* p = m_free[sizeClass]) {
    m_free[sizeClass] = p->next;
    return p;
  }
  return m_blocks.allocate((sizeClass + 1) * 16);
}

void AcDbObjectPool::deallocate(void* p, unsigned sizeClass) noexcept {
  if (!p || sizeClass >= kClasses) return;
  std::lock_guard<std::mutex> lock(m_mutex);
  auto* f = static_cast<FreeObject*>(p);
  f->next = m_free[sizeClass];
  m_free[sizeClass] = f;
}
