// The object arena's blocks and the large arrays' memory: anonymous mappings
// asked for as huge pages.
#include "dbarena.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

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

void* AcDbObjectArena::allocate(size_t size) {
  size = RoundUp(size, 16);
  if (static_cast<size_t>(m_pEnd - m_pNext) < size) {
    size_t blockSize = size > kBlockSize / 4 ? RoundUp(size, kHugePage) : kBlockSize;
    m_blocks.reserve(m_blocks.size() + 1);  // the block is kept track of once it is made
    void* p = acdbMapLargeBlock(blockSize);
    m_blocks.push_back({static_cast<char*>(p), blockSize});
    m_pNext = static_cast<char*>(p);
    m_pEnd = m_pNext + blockSize;
  }
  void* out = m_pNext;
  m_pNext += size;
  return out;
}

void* AcDbObjectArena::do_allocate(size_t bytes, size_t alignment) {
  // Everything the objects keep is aligned to 16 bytes at most.
  if (alignment > 16) throw std::bad_alloc();
  return allocate(bytes == 0 ? 1 : bytes);
}

void AcDbObjectArena::release() {
  for (const Block& b : m_blocks) acdbUnmapLargeBlock(b.base, b.size);
  m_blocks.clear();
  m_pNext = m_pEnd = nullptr;
}
