// The object arena: memory handed out in order, each piece aligned as asked
// and apart from every other, with its pages faulted in ahead by a thread or
// not, and given back whole.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "dbarena.h"

namespace {
struct Piece {
  unsigned char* p;
  size_t size;
  unsigned char fill;
};

// Pieces of every kind an object may ask for (a word-aligned object, a
// 16-aligned part, one larger than a block's quarter), filled with their
// own byte and checked after all are made: none overlaps another.
void FillAndCheck(AcDbObjectArena& arena, size_t total) {
  std::vector<Piece> pieces;
  size_t made = 0;
  for (unsigned i = 0; made < total; ++i) {
    size_t size = i % 997 == 996 ? (size_t(9) << 20) : 8 + (i * 37) % 300;
    size_t alignment = i % 3 == 0 ? 16 : 8;
    auto* p = static_cast<unsigned char*>(arena.allocate(size, alignment));
    ASSERT_EQ(reinterpret_cast<uintptr_t>(p) % alignment, 0u) << i;
    auto fill = static_cast<unsigned char>(i * 131 + 7);
    std::memset(p, fill, size);
    pieces.push_back({p, size, fill});
    made += size;
  }
  for (const Piece& piece : pieces)
    for (size_t k = 0; k < piece.size; k += 61) ASSERT_EQ(piece.p[k], piece.fill);
}

TEST(AcadArena, PiecesAreAlignedApartAndWholeWithOrWithoutFaultingAhead) {
  for (bool ahead : {false, true}) {
    SCOPED_TRACE(ahead ? "faulting ahead" : "faulting as used");
    AcDbObjectArena arena;
    arena.setFaultAhead(ahead);
    FillAndCheck(arena, size_t(80) << 20);
    EXPECT_GE(arena.blockCount(), 3u);
    // Emptied and used again, then ended with the thread possibly at work.
    arena.release();
    EXPECT_EQ(arena.blockCount(), 0u);
    FillAndCheck(arena, size_t(40) << 20);
  }
}
}  // namespace
