// Regions: sets of pixels as non-overlapping rectangles, and the region
// calls of the interface.
#include <algorithm>

#include "gdistate.h"

namespace win::gdi {

RECT Region::Box() const {
  RECT box{0, 0, 0, 0};
  bool first = true;
  for (const RECT& r : m_rects) {
    if (first) {
      box = r;
      first = false;
    } else {
      box.left = std::min(box.left, r.left);
      box.top = std::min(box.top, r.top);
      box.right = std::max(box.right, r.right);
      box.bottom = std::max(box.bottom, r.bottom);
    }
  }
  return box;
}

bool Region::Contains(int x, int y) const {
  for (const RECT& r : m_rects)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

Region Region::Intersect(const Region& other) const {
  Region out;
  for (const RECT& a : m_rects)
    for (const RECT& b : other.m_rects) {
      RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
      if (r.left < r.right && r.top < r.bottom) out.m_rects.push_back(r);
    }
  return out;
}

namespace {
// The parts of `a` outside `b`, as up to four rectangles.
void SubtractRect(const RECT& a, const RECT& b, std::vector<RECT>& out) {
  RECT i{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (i.left >= i.right || i.top >= i.bottom) {
    out.push_back(a);
    return;
  }
  if (a.top < i.top) out.push_back({a.left, a.top, a.right, i.top});
  if (i.bottom < a.bottom) out.push_back({a.left, i.bottom, a.right, a.bottom});
  if (a.left < i.left) out.push_back({a.left, i.top, i.left, i.bottom});
  if (i.right < a.right) out.push_back({i.right, i.top, a.right, i.bottom});
}
}  // namespace

Region Region::Subtract(const Region& other) const {
  std::vector<RECT> cur = m_rects;
  for (const RECT& b : other.m_rects) {
    std::vector<RECT> next;
    for (const RECT& a : cur) SubtractRect(a, b, next);
    cur.swap(next);
  }
  Region out;
  out.m_rects = std::move(cur);
  return out;
}

Region Region::Union(const Region& other) const {
  Region out = other.Subtract(*this);
  out.m_rects.insert(out.m_rects.begin(), m_rects.begin(), m_rects.end());
  return out;
}

void Region::Offset(int dx, int dy) {
  for (RECT& r : m_rects) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
  }
}

}  // namespace win::gdi

using namespace win::gdi;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return NewObject<HRGN>(RegionObj{Region(RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
                                                std::max(top, bottom)})});
}
HRGN CreateRectRgnIndirect(const RECT* rect) {
  return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}
int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode) {
  RegionObj* d = Get<RegionObj>(dst);
  RegionObj* ra = Get<RegionObj>(a);
  RegionObj* rb = Get<RegionObj>(b);
  if (!d || !ra || (mode != RGN_COPY && !rb)) return ERROR;
  Region r;
  switch (mode) {
    case RGN_AND: r = ra->region.Intersect(rb->region); break;
    case RGN_OR: r = ra->region.Union(rb->region); break;
    case RGN_XOR: r = ra->region.Xor(rb->region); break;
    case RGN_DIFF: r = ra->region.Subtract(rb->region); break;
    case RGN_COPY: r = ra->region; break;
    default: return ERROR;
  }
  d->region = std::move(r);
  return d->region.Complexity();
}
BOOL PtInRegion(HRGN region, int x, int y) {
  RegionObj* r = Get<RegionObj>(region);
  return r && r->region.Contains(x, y);
}
int GetRgnBox(HRGN region, LPRECT rect) {
  RegionObj* r = Get<RegionObj>(region);
  if (!r || !rect) return ERROR;
  *rect = r->region.Box();
  return r->region.Complexity();
}
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
  RegionObj* r = Get<RegionObj>(region);
  if (!r) return FALSE;
  r->region = Region(RECT{left, top, right, bottom});
  return TRUE;
}
int OffsetRgn(HRGN region, int dx, int dy) {
  RegionObj* r = Get<RegionObj>(region);
  if (!r) return ERROR;
  r->region.Offset(dx, dy);
  return r->region.Complexity();
}
