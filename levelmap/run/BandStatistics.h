// The arithmetic of the statistics table: shares as the table shows them and
// the shift of points between the bands of one type when a count is edited.
#pragma once

#include "LevelBands.h"

// num x 100 / nPointCount with two decimals and a per-cent sign ("12.50%").
CString FormatBandShare(long long nCount, int nPointCount);

// Band nBand of the type gets nNewCount points; the difference to its old
// count goes onto the bands after it, wrapping round to the first band and
// ending with the edited band itself: raising a count takes the points from
// the following bands in turn (each down to 0 at most), lowering it gives
// them all to the next band. One round at most, so a type whose counts add
// up to less than nothing cannot loop; whatever is left then is dropped.
// A type with one band gets its old count back. FALSE when nBand is not a
// band of the type.
BOOL ShiftBandCount(CLevelBandArray& arBands, INT_PTR nBand, int nNewCount, int nOldCount);

// The first band whose key is strHead, or -1.
INT_PTR FindBandByHead(const CLevelBandArray& arBands, const CString& strHead);
