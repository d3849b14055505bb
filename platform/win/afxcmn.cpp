// The class library's image lists.
#include "afxcmn.h"

#include <algorithm>

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
  DeleteImageList();
  m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
  return m_hImageList != nullptr;
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask) {
  CBitmap strip;
  if (!strip.LoadBitmap(bitmapId)) return FALSE;
  BITMAP bm{};
  strip.GetBitmap(&bm);
  if (!Create(cx, bm.bmHeight, ILC_COLOR32 | (mask != CLR_NONE ? ILC_MASK : 0), bm.bmWidth / std::max(cx, 1), grow))
    return FALSE;
  return Add(&strip, mask) >= 0;
}

BOOL CImageList::DeleteImageList() {
  if (!m_hImageList) return FALSE;
  BOOL ok = ImageList_Destroy(m_hImageList);
  m_hImageList = nullptr;
  return ok;
}
