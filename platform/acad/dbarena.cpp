// The object arena's blocks and the large arrays' memory (anonymous
// mappings asked for as huge pages), and the pool's size classes cut from
// the arena's blocks.
#include "dbarena.h"

#include <sys/mman.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <new>
#include <system_error>

namespace {
constexpr size_t kBlockSize = size_t(32) << 20;
constexpr size_t kHugePage = size_t(2) << 20;

size_t RoundUp(size_t n, size_t to) { return (n + to - 1) / to * to; }
}  // namespace

void* acdbMapLargeBlock(size_t size) {
  size = RoundUp(size, kHugePage);
  // One huge page more than asked, so that the block can start on a huge
  // page's boundary: only whole, aligned huge pages are given as such.
  size_t mapped = size + kHugePage;
  void* p = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  auto start = reinterpret_cast<uintptr_t>(p);
  uintptr_t aligned = RoundUp(start, kHugePage);
  if (aligned > start) ::munmap(p, aligned - start);
  if (uintptr_t tail = start + mapped - (aligned + size)) ::munmap(reinterpret_cast<void*>(aligned + size), tail);
  // Only a hint: without huge pages the block works the same.
  ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void acdbUnmapLargeBlock(void* p, size_t size) noexcept {
  if (p) ::munmap(p, RoundUp(size, kHugePage));
}

void* AcDbObjectArena::allocate(size_t size, size_t alignment) {
  // Sizes are kept to whole words, so the next start is 8-aligned already.
  size = RoundUp(size, 8);
  if (alignment > 8 && reinterpret_cast<uintptr_t>(m_pNext) % 16 != 0) m_pNext += 8;
  if (static_cast<size_t>(m_pEnd - m_pNext) < size) {
    size_t blockSize = size > kBlockSize / 4 ? RoundUp(size, kHugePage) : kBlockSize;
    m_blocks.reserve(m_blocks.size() + 1);  // the block is kept track of once it is made
    void* p = acdbMapLargeBlock(blockSize);
    m_blocks.push_back({static_cast<char*>(p), blockSize});
    m_pNext = static_cast<char*>(p);
    m_pEnd = m_pNext + blockSize;
    m_pFaulted = m_pFaultMark = m_pNext;
  }
  void* out = m_pNext;
  m_pNext += size;
  if (m_bFaultAhead && m_pNext >= m_pFaultMark) faultAhead();
  return out;
}

void AcDbObjectArena::setFaultAhead(bool on) {
  if (!on) waitForFaulting();
  m_bFaultAhead = on;
  m_pFaulted = m_pFaultMark = m_pNext;
}

void AcDbObjectArena::faultAhead() {
  constexpr size_t kAhead = size_t(8) << 20, kStep = size_t(2) << 20, kPage = 4096;
  m_pFaultMark = static_cast<size_t>(m_pEnd - m_pNext) > kStep ? m_pNext + kStep : m_pEnd;
  // One request at a time: while the last is still under way the pages
  // are faulted in by whoever comes to them first.
  if (m_faulting.valid() && m_faulting.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
  char* from = std::max(m_pFaulted, m_pNext);
  from -= reinterpret_cast<uintptr_t>(from) % kPage;
  char* to = static_cast<size_t>(m_pEnd - m_pNext) > kAhead ? m_pNext + kAhead : m_pEnd;
  if (to <= from) return;
  try {
    m_faulting = std::async(std::launch::async, [from, to] {
      // Only a hint: a kernel without it leaves the pages to be faulted in as they are used.
      ::madvise(from, static_cast<size_t>(to - from), MADV_POPULATE_WRITE);
    });
    m_pFaulted = to;
  } catch (const std::system_error&) {
    // No thread to be had: the pages are faulted in as they are used.
  }
}

void AcDbObjectArena::waitForFaulting() noexcept {
  if (m_faulting.valid()) m_faulting.wait();
}

void* AcDbObjectArena::do_allocate(size_t bytes, size_t alignment) {
  // Everything the objects keep is aligned to 16 bytes at most.
  if (alignment > 16) throw std::bad_alloc();
  return allocate(bytes == 0 ? 1 : bytes, alignment);
}

void AcDbObjectArena::release() {
  waitForFaulting();
  for (const Block& b : m_blocks) acdbUnmapLargeBlock(b.base, b.size);
  m_blocks.clear();
  m_pNext = m_pEnd = m_pFaulted = m_pFaultMark = nullptr;
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
