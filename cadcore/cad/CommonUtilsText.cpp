// Small text and file utilities of the toolbox: splitting, number lists,
// file checks, pictures, multiline text and the measures of a curve by id.
#include "CommonUtils.h"

#include "acutprint.h"
#include "afxwin.h"
#include "dbcurve.h"
#include "dbentity.h"
#include "dbobject.h"
#include "dbtext.h"
#include "fileapi.h"
#include "olectl.h"

#include <climits>
#include <cwchar>

// A number typed by the user, read as the C runtime's _ttoi reads it: leading
// blanks, a sign and the leading digits; 0 when there are none, and the
// nearest int when the digits do not fit.
static int ReadLeadingInt(const CString& strText) {
  long long nValue = wcstoll(strText.GetString(), NULL, 10);
  if (nValue > INT_MAX) return INT_MAX;
  if (nValue < INT_MIN) return INT_MIN;
  return static_cast<int>(nValue);
}

bool CCommonUtils::splitString(const CString& strText, CStringArray& arParts, TCHAR chSeparator) {
  if (strText.IsEmpty()) return false;
  int nStart = 0;
  int nPos = strText.Find(chSeparator, nStart);
  while (nPos >= 0) {
    arParts.Add(strText.Mid(nStart, nPos - nStart));
    nStart = nPos + 1;
    nPos = strText.Find(chSeparator, nStart);
  }
  // The piece after the last separator, empty when the text ends with one.
  arParts.Add(strText.Mid(nStart));
  return true;
}

int CCommonUtils::findArrayValue(const CStringArray& arValues, LPCTSTR lpszText) {
  if (lpszText == NULL) return -1;
  for (int i = 0; i < arValues.GetSize(); i++) {
    if (arValues.GetAt(i).Compare(lpszText) == 0) return i;
  }
  return -1;
}

void CCommonUtils::getOffRightZero(CString& strText) {
  if (strText.GetLength() <= 1 || strText.Find(_T('.')) < 0) return;
  strText.TrimRight(_T('0'));
  if (!strText.IsEmpty() && strText.GetAt(strText.GetLength() - 1) == _T('.'))
    strText = strText.Left(strText.GetLength() - 1);
  // ".0" or ".": nothing is left of the number but its value, zero.
  if (strText.IsEmpty()) strText = _T("0");
}

void CCommonUtils::getFloorNum(const CString& strText, CArray<int, int>& arNumbers) {
  CStringArray arPieces;
  if (!splitString(strText, arPieces, _T(';'))) return;
  for (int i = 0; i < arPieces.GetSize(); i++) {
    CString strPiece = arPieces.GetAt(i);
    strPiece.Trim();
    // A piece that is not a number, an empty one ("1;;3", a closing ";")
    // included, counts as floor 0.
    int nTilde = strPiece.Find(_T('~'));
    if (nTilde < 0) {
      arNumbers.Add(ReadLeadingInt(strPiece));
      continue;
    }
    int nFirst = ReadLeadingInt(strPiece.Left(nTilde));
    int nSecond = ReadLeadingInt(strPiece.Mid(nTilde + 1));
    int nLow = nFirst < nSecond ? nFirst : nSecond;
    int nHigh = nFirst < nSecond ? nSecond : nFirst;
    // Counted in 64 bits so that a bound of INT_MAX still ends the loop.
    for (long long n = nLow; n <= nHigh; n++) arNumbers.Add(static_cast<int>(n));
  }
}

int CCommonUtils::existFile(LPCTSTR lpszPath) {
  if (lpszPath == NULL || lpszPath[0] == 0) return 0;
  WIN32_FIND_DATA findData;
  HANDLE hFind = FindFirstFile(lpszPath, &findData);
  if (hFind == INVALID_HANDLE_VALUE) return 0;
  if (!FindClose(hFind)) {
    acutPrintf(_T("\n无法关闭文件，系统错误！"));
    return 0;
  }
  return 1;
}

HRESULT CCommonUtils::ShowPic(LPCTSTR lpszFileName, CWnd* pWnd) {
  if (lpszFileName == NULL || pWnd == NULL || pWnd->GetSafeHwnd() == NULL) return E_INVALIDARG;
  IPicture* pPicture = NULL;
  HRESULT hr = OleLoadPicturePath(const_cast<LPOLESTR>(lpszFileName), NULL, 0, 0, IID_IPicture,
                                  reinterpret_cast<LPVOID*>(&pPicture));
  if (FAILED(hr)) return hr;
  if (pPicture == NULL) return E_FAIL;
  CDC* pDC = pWnd->GetDC();
  if (pDC == NULL) {
    pPicture->Release();
    return E_FAIL;
  }
  // The picture's natural size: HIMETRIC to the device's pixels.
  OLE_XSIZE_HIMETRIC hmWidth = 0;
  OLE_YSIZE_HIMETRIC hmHeight = 0;
  pPicture->get_Width(&hmWidth);
  pPicture->get_Height(&hmHeight);
  int nWidth = MulDiv(hmWidth, pDC->GetDeviceCaps(LOGPIXELSX), 2540);
  int nHeight = MulDiv(hmHeight, pDC->GetDeviceCaps(LOGPIXELSY), 2540);
  hr = pPicture->Render(pDC->m_hDC, 0, 0, nWidth, nHeight, 0, hmHeight, hmWidth, -hmHeight, NULL);
  pWnd->ReleaseDC(pDC);
  pPicture->Release();
  return hr;
}

void CCommonUtils::getMtextRealString(AcDbMText* pMText, CStringArray& arTexts) {
  if (pMText == NULL) return;
  AcDbVoidPtrArray arEntities;
  if (pMText->explode(arEntities) != Acad::eOk) {
    freeObjects(arEntities);
    return;
  }
  for (int i = 0; i < arEntities.length(); i++) {
    AcDbText* pText = AcDbText::cast(static_cast<AcDbEntity*>(arEntities[i]));
    if (pText == NULL) continue;
    ACHAR* pszText = pText->textString();
    arTexts.Add(pszText);
    acutDelString(pszText);
  }
  freeObjects(arEntities);
}

void CCommonUtils::freeObjects(AcDbVoidPtrArray& arObjects) {
  for (int i = 0; i < arObjects.length(); i++) {
    AcDbObject* pObj = static_cast<AcDbObject*>(arObjects[i]);
    if (pObj == NULL) continue;
    // An object that belongs to a database is the database's: it is closed,
    // never deleted.
    if (pObj->objectId().isNull())
      delete pObj;
    else
      pObj->close();
  }
  arObjects.setLogicalLength(0);
}

double CCommonUtils::getCurveArea(AcDbObjectId curveId) {
  AcDbCurve* pCurve = NULL;
  if (acdbOpenObject(pCurve, curveId, AcDb::kForRead) != Acad::eOk) return 0.0;
  double dArea = 0.0;
  if (pCurve->getArea(dArea) != Acad::eOk) dArea = 0.0;
  pCurve->close();
  return dArea;
}

double CCommonUtils::getCurveDist(AcDbObjectId curveId) {
  AcDbCurve* pCurve = NULL;
  if (acdbOpenObject(pCurve, curveId, AcDb::kForRead) != Acad::eOk) return 0.0;
  double dParam = 0.0;
  double dDist = 0.0;
  if (pCurve->getEndParam(dParam) != Acad::eOk || pCurve->getDistAtParam(dParam, dDist) != Acad::eOk)
    dDist = 0.0;
  pCurve->close();
  return dDist;
}

bool CCommonUtils::isCurveClosed(AcDbObjectId curveId) {
  AcDbCurve* pCurve = NULL;
  if (acdbOpenObject(pCurve, curveId, AcDb::kForRead) != Acad::eOk) return false;
  bool bClosed = pCurve->isClosed();
  pCurve->close();
  return bClosed;
}
