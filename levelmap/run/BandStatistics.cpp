#include "BandStatistics.h"

#include <climits>

namespace {

int Saturated(long long nValue) {
  if (nValue > INT_MAX) return INT_MAX;
  if (nValue < INT_MIN) return INT_MIN;
  return (int)nValue;
}

}  // namespace

CString FormatBandShare(long long nCount, int nPointCount) {
  CString strShare;
  strShare.Format(_T("%.2f"), nPointCount != 0 ? (double)nCount * 100.0 / nPointCount : 0.0);
  return strShare + _T("%");
}

BOOL ShiftBandCount(CLevelBandArray& arBands, INT_PTR nBand, int nNewCount, int nOldCount) {
  INT_PTR nBands = arBands.GetSize();
  if (nBand < 0 || nBand >= nBands) return FALSE;
  arBands.ElementAt(nBand).num = nNewCount;
  // Worked out in 64 bits: counts read from the table may be anything an
  // int holds.
  long long nDiff = (long long)nOldCount - nNewCount;
  for (INT_PTR k = 1; k <= nBands; ++k) {
    levelmapdb& band = arBands.ElementAt((nBand + k) % nBands);
    if (band.num + nDiff >= 0) {
      band.num = Saturated(band.num + nDiff);
      return TRUE;
    }
    nDiff += band.num;
    band.num = 0;
  }
  return TRUE;
}

INT_PTR FindBandByHead(const CLevelBandArray& arBands, const CString& strHead) {
  for (INT_PTR i = 0; i < arBands.GetSize(); ++i)
    if (arBands.GetAt(i).head == strHead) return i;
  return -1;
}
