// Dictionaries: texts kept in extended records under the named-object
// dictionary or an object's extension dictionary.
#include "CommonUtils.h"

#include <cwchar>

#include "acutprint.h"
#include "adscodes.h"
#include "dbdatabase.h"
#include "dbdict.h"
#include "dbhostapp.h"
#include "dbobject.h"

namespace {

// Opens (for write) the entry of type T under the key of an open dictionary,
// making and adding a new one when the key is not there yet.
template <class T>
Acad::ErrorStatus GetOrAdd(AcDbDictionary* pParent, LPCTSTR lpszKey, T*& pEntry) {
  pEntry = NULL;
  Acad::ErrorStatus es = pParent->getAt(lpszKey, pEntry, AcDb::kForWrite);
  if (es != Acad::eKeyNotFound) return es;
  pEntry = new T;
  AcDbObjectId entryId;
  es = pParent->setAt(lpszKey, pEntry, entryId);
  if (es != Acad::eOk) {
    delete pEntry;
    pEntry = NULL;
  }
  return es;
}

// Under the open parent dictionary, the record dictName/key, its data
// replaced by the chain (emptied when the chain is null).
bool WriteRecord(AcDbDictionary* pParent, LPCTSTR lpszDictName, LPCTSTR lpszKey, const resbuf* pChain) {
  AcDbDictionary* pDict = NULL;
  if (GetOrAdd(pParent, lpszDictName, pDict) != Acad::eOk) return false;
  AcDbXrecord* pXrec = NULL;
  if (GetOrAdd(pDict, lpszKey, pXrec) != Acad::eOk) {
    pDict->close();
    return false;
  }
  Acad::ErrorStatus es = pChain != NULL ? pXrec->setFromRbChain(*pChain) : pXrec->clear();
  pXrec->close();
  pDict->close();
  return es == Acad::eOk;
}

// The data of the record dictName/key under the open parent dictionary;
// the caller frees it with acutRelRb. eOk with a null chain for an empty
// record.
Acad::ErrorStatus ReadRecord(AcDbDictionary* pParent, LPCTSTR lpszDictName, LPCTSTR lpszKey, resbuf*& pChain) {
  pChain = NULL;
  AcDbDictionary* pDict = NULL;
  Acad::ErrorStatus es = pParent->getAt(lpszDictName, pDict, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  AcDbXrecord* pXrec = NULL;
  es = pDict->getAt(lpszKey, pXrec, AcDb::kForRead);
  pDict->close();
  if (es != Acad::eOk) return es;
  es = pXrec->rbChain(&pChain);
  pXrec->close();
  return es;
}

bool IsText(const resbuf* pRb) { return pRb != NULL && acdbGroupCodeToType(pRb->restype) == RTSTR; }

// The first item of CaseInfo/key in the working database as a text; false
// when there is none.
bool ReadCaseInfo(LPCTSTR lpszKey, CString& strValue) {
  AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
  AcDbDictionary* pNamedDict = NULL;
  if (pDb == NULL || pDb->getNamedObjectsDictionary(pNamedDict, AcDb::kForRead) != Acad::eOk) {
    acutPrintf(_T("\n无法获取命名字典!"));
    return false;
  }
  resbuf* pChain = NULL;
  Acad::ErrorStatus es = ReadRecord(pNamedDict, _T("CaseInfo"), lpszKey, pChain);
  pNamedDict->close();
  bool bFound = es == Acad::eOk && IsText(pChain);
  if (bFound) strValue = pChain->resval.rstring;
  acutRelRb(pChain);
  return bFound;
}

}  // namespace

bool CCommonUtils::saveToDictionary(LPCTSTR lpszDictName, LPCTSTR lpszKey, LPCTSTR lpszText, AcDbDatabase* pDb) {
  if (lpszDictName == NULL || lpszKey == NULL) return false;
  if (pDb == NULL) pDb = acdbHostApplicationServices()->workingDatabase();
  AcDbDictionary* pNamedDict = NULL;
  if (pDb == NULL || pDb->getNamedObjectsDictionary(pNamedDict, AcDb::kForWrite) != Acad::eOk) return false;
  resbuf* pChain = acutBuildList(1, lpszText != NULL ? lpszText : _T(""), 0);
  bool bSaved = WriteRecord(pNamedDict, lpszDictName, lpszKey, pChain);
  acutRelRb(pChain);
  pNamedDict->close();
  return bSaved;
}

bool CCommonUtils::readFromDictionary(LPCTSTR lpszDictName, LPCTSTR lpszKey, CString& strText, AcDbDatabase* pDb) {
  if (lpszDictName == NULL || lpszKey == NULL) return false;
  if (pDb == NULL) pDb = acdbHostApplicationServices()->workingDatabase();
  AcDbDictionary* pNamedDict = NULL;
  if (pDb == NULL || pDb->getNamedObjectsDictionary(pNamedDict, AcDb::kForRead) != Acad::eOk) return false;
  resbuf* pChain = NULL;
  Acad::ErrorStatus es = ReadRecord(pNamedDict, lpszDictName, lpszKey, pChain);
  pNamedDict->close();
  bool bFound = es == Acad::eOk && IsText(pChain);
  if (bFound) strText = pChain->resval.rstring;
  acutRelRb(pChain);
  return bFound;
}

bool CCommonUtils::saveToObjectDictionary(AcDbObjectId objId, LPCTSTR lpszDictName, LPCTSTR lpszKey,
                                          const CStringArray& arStrings) {
  if (lpszDictName == NULL || lpszKey == NULL) return false;
  AcDbObject* pObj = NULL;
  if (acdbOpenObject(pObj, objId, AcDb::kForWrite) != Acad::eOk) return false;
  if (pObj->extensionDictionary().isNull() && pObj->createExtensionDictionary() != Acad::eOk) {
    pObj->close();
    return false;
  }
  AcDbObjectId xDictId = pObj->extensionDictionary();
  pObj->close();
  AcDbDictionary* pXDict = NULL;
  if (acdbOpenObject(pXDict, xDictId, AcDb::kForWrite) != Acad::eOk) return false;

  // One text item per string, in array order.
  resbuf* pHead = NULL;
  resbuf* pTail = NULL;
  for (INT_PTR i = 0; i < arStrings.GetSize(); ++i) {
    resbuf* pItem = acutBuildList(1, static_cast<LPCTSTR>(arStrings.GetAt(i)), 0);
    if (pHead == NULL)
      pHead = pItem;
    else
      pTail->rbnext = pItem;
    pTail = pItem;
  }
  bool bSaved = WriteRecord(pXDict, lpszDictName, lpszKey, pHead);
  acutRelRb(pHead);
  pXDict->close();
  return bSaved;
}

bool CCommonUtils::readFromObjectDictionary(AcDbObjectId objId, LPCTSTR lpszDictName, LPCTSTR lpszKey,
                                            CStringArray& arStrings) {
  if (lpszDictName == NULL || lpszKey == NULL) return false;
  AcDbObject* pObj = NULL;
  if (acdbOpenObject(pObj, objId, AcDb::kForRead) != Acad::eOk) return false;
  AcDbObjectId xDictId = pObj->extensionDictionary();
  pObj->close();
  if (xDictId.isNull()) return false;
  AcDbDictionary* pXDict = NULL;
  if (acdbOpenObject(pXDict, xDictId, AcDb::kForRead) != Acad::eOk) return false;
  resbuf* pChain = NULL;
  Acad::ErrorStatus es = ReadRecord(pXDict, lpszDictName, lpszKey, pChain);
  pXDict->close();
  if (es != Acad::eOk) return false;
  for (resbuf* pItem = pChain; pItem != NULL; pItem = pItem->rbnext)
    if (IsText(pItem)) arStrings.Add(pItem->resval.rstring);
  acutRelRb(pChain);
  return true;
}

bool CCommonUtils::hasObjectNamedDictionary(AcDbObjectId objId, LPCTSTR lpszName) {
  if (lpszName == NULL) return false;
  AcDbObject* pObj = NULL;
  if (acdbOpenObject(pObj, objId, AcDb::kForRead) != Acad::eOk) return false;
  AcDbObjectId xDictId = pObj->extensionDictionary();
  pObj->close();
  if (xDictId.isNull()) return false;
  AcDbDictionary* pXDict = NULL;
  if (acdbOpenObject(pXDict, xDictId, AcDb::kForRead) != Acad::eOk) return false;
  bool bHas = pXDict->has(lpszName);
  pXDict->close();
  return bHas;
}

bool CCommonUtils::getKeyFromDic(TCHAR* pszValue, LPCTSTR lpszKey) {
  if (pszValue == NULL || lpszKey == NULL) return false;
  CString strValue;
  if (!ReadCaseInfo(lpszKey, strValue)) return false;
  // The caller vouches for the buffer's size.
  wmemcpy(pszValue, strValue.GetString(), static_cast<size_t>(strValue.GetLength()) + 1);
  return pszValue[0] != 0;
}

bool CCommonUtils::getKeyFromDic(TCHAR* pszValue, size_t nSize, LPCTSTR lpszKey) {
  if (pszValue == NULL || nSize == 0 || lpszKey == NULL) return false;
  pszValue[0] = 0;
  CString strValue;
  if (!ReadCaseInfo(lpszKey, strValue)) return false;
  size_t nLength = static_cast<size_t>(strValue.GetLength());
  // A value that does not fit with its terminator is refused, not cut.
  if (nLength + 1 > nSize) return false;
  wmemcpy(pszValue, strValue.GetString(), nLength + 1);
  return pszValue[0] != 0;
}
