// Dictionaries: texts in extended records of the named-object dictionary and
// of objects' extension dictionaries, CaseInfo values, DXF round trips.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>

#include "cadtest.h"
#include "CommonUtils.h"
#include "dbcurves.h"
#include "dbdict.h"
#include "paths.h"

namespace {

class DictionaryTest : public CadTest {
 protected:
  AcDbObjectId AddLine() { return Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(5, 5, 0))); }

  // Number of entries of a sub-dictionary of the named-object dictionary.
  int EntriesOf(LPCTSTR lpszDictName) {
    AcDbDictionary* pNod = nullptr;
    EXPECT_EQ(Db()->getNamedObjectsDictionary(pNod, AcDb::kForRead), Acad::eOk);
    AcDbDictionary* pDict = nullptr;
    Acad::ErrorStatus es = pNod->getAt(lpszDictName, pDict, AcDb::kForRead);
    pNod->close();
    if (es != Acad::eOk) return -1;
    int n = static_cast<int>(pDict->numEntries());
    pDict->close();
    return n;
  }
};

// ---- the named-object dictionary ------------------------------------------

TEST_F(DictionaryTest, SaveAndReadATextByDictionaryAndKey) {
  EXPECT_EQ(EntriesOf(_T("KX_PROJECT")), -1);
  ASSERT_TRUE(CCommonUtils::saveToDictionary(_T("KX_PROJECT"), _T("NAME"), _T("一号楼室分")));
  ASSERT_TRUE(CCommonUtils::saveToDictionary(_T("KX_PROJECT"), _T("FLOORS"), _T("1;3~5")));
  ASSERT_TRUE(CCommonUtils::saveToDictionary(_T("KX_PROJECT"), _T("NAME"), _T("二号楼")));  // replaces
  EXPECT_EQ(EntriesOf(_T("KX_PROJECT")), 2);

  CString strText;
  ASSERT_TRUE(CCommonUtils::readFromDictionary(_T("KX_PROJECT"), _T("NAME"), strText));
  EXPECT_EQ(strText, CString(_T("二号楼")));
  ASSERT_TRUE(CCommonUtils::readFromDictionary(_T("kx_project"), _T("floors"), strText));
  EXPECT_EQ(strText, CString(_T("1;3~5")));

  // The record holds exactly one text item (group code 1).
  AcDbDictionary* pNod = nullptr;
  ASSERT_EQ(Db()->getNamedObjectsDictionary(pNod, AcDb::kForRead), Acad::eOk);
  AcDbDictionary* pDict = nullptr;
  ASSERT_EQ(pNod->getAt(_T("KX_PROJECT"), pDict, AcDb::kForRead), Acad::eOk);
  pNod->close();
  AcDbXrecord* pXrec = nullptr;
  ASSERT_EQ(pDict->getAt(_T("NAME"), pXrec, AcDb::kForRead), Acad::eOk);
  pDict->close();
  ASSERT_EQ(pXrec->values().size(), 1u);
  EXPECT_EQ(pXrec->values()[0].code, 1);
  pXrec->close();
}

TEST_F(DictionaryTest, ReadingWhatIsMissingIsFalseAndLeavesTheText) {
  CString strText(_T("kept"));
  EXPECT_FALSE(CCommonUtils::readFromDictionary(_T("NONE"), _T("KEY"), strText));
  ASSERT_TRUE(CCommonUtils::saveToDictionary(_T("D"), _T("K"), _T("v")));
  EXPECT_FALSE(CCommonUtils::readFromDictionary(_T("D"), _T("OTHER"), strText));
  EXPECT_EQ(strText, CString(_T("kept")));
  EXPECT_FALSE(CCommonUtils::readFromDictionary(NULL, _T("K"), strText));
}

TEST_F(DictionaryTest, SaveRefusesAnEntryThatIsNoDictionaryAndKeysTheHostRefuses) {
  // "ACAD_X" as a record directly under the named-object dictionary.
  AcDbDictionary* pNod = nullptr;
  ASSERT_EQ(Db()->getNamedObjectsDictionary(pNod, AcDb::kForWrite), Acad::eOk);
  AcDbXrecord* pXrec = new AcDbXrecord;
  AcDbObjectId xrecId;
  ASSERT_EQ(pNod->setAt(_T("ACAD_X"), pXrec, xrecId), Acad::eOk);
  pXrec->close();
  pNod->close();
  EXPECT_FALSE(CCommonUtils::saveToDictionary(_T("ACAD_X"), _T("K"), _T("v")));
  EXPECT_FALSE(CCommonUtils::saveToDictionary(_T(""), _T("K"), _T("v")));
  EXPECT_FALSE(CCommonUtils::saveToDictionary(_T("D"), _T(""), _T("v")));
  // The named-object dictionary open elsewhere for write.
  ASSERT_EQ(Db()->getNamedObjectsDictionary(pNod, AcDb::kForWrite), Acad::eOk);
  EXPECT_FALSE(CCommonUtils::saveToDictionary(_T("D"), _T("K"), _T("v")));
  pNod->close();
}

TEST_F(DictionaryTest, AnotherDatabaseIsUsedWhenGiven) {
  AcDbDatabase other;
  ASSERT_TRUE(CCommonUtils::saveToDictionary(_T("D"), _T("K"), _T("other"), &other));
  CString strText;
  EXPECT_FALSE(CCommonUtils::readFromDictionary(_T("D"), _T("K"), strText));
  ASSERT_TRUE(CCommonUtils::readFromDictionary(_T("D"), _T("K"), strText, &other));
  EXPECT_EQ(strText, CString(_T("other")));
  ExpectNothingOpen(&other);
}

// ---- extension dictionaries ------------------------------------------------

TEST_F(DictionaryTest, ObjectDictionaryKeepsEveryStringInOrder) {
  AcDbObjectId id = AddLine();
  EXPECT_FALSE(CCommonUtils::hasObjectNamedDictionary(id, _T("KX_DATA")));
  CStringArray arIn;
  arIn.Add(_T("天线"));
  arIn.Add(_T(""));
  arIn.Add(_T("3dBm"));
  ASSERT_TRUE(CCommonUtils::saveToObjectDictionary(id, _T("KX_DATA"), _T("PARAMS"), arIn));
  EXPECT_TRUE(CCommonUtils::hasObjectNamedDictionary(id, _T("KX_DATA")));
  EXPECT_FALSE(CCommonUtils::hasObjectNamedDictionary(id, _T("PARAMS")));  // a key one level down

  CStringArray arOut;
  arOut.Add(_T("before"));
  ASSERT_TRUE(CCommonUtils::readFromObjectDictionary(id, _T("KX_DATA"), _T("PARAMS"), arOut));
  ASSERT_EQ(arOut.GetSize(), 4);
  EXPECT_EQ(arOut[0], CString(_T("before")));
  EXPECT_EQ(arOut[1], CString(_T("天线")));
  EXPECT_EQ(arOut[2], CString(_T("")));
  EXPECT_EQ(arOut[3], CString(_T("3dBm")));

  // Saving again replaces the list; an empty array leaves an empty record.
  CStringArray arEmpty;
  ASSERT_TRUE(CCommonUtils::saveToObjectDictionary(id, _T("KX_DATA"), _T("PARAMS"), arEmpty));
  CStringArray arAfter;
  EXPECT_TRUE(CCommonUtils::readFromObjectDictionary(id, _T("KX_DATA"), _T("PARAMS"), arAfter));
  EXPECT_EQ(arAfter.GetSize(), 0);
}

TEST_F(DictionaryTest, ObjectDictionaryMissingPieces) {
  AcDbObjectId id = AddLine();
  CStringArray arOut;
  EXPECT_FALSE(CCommonUtils::readFromObjectDictionary(id, _T("KX_DATA"), _T("PARAMS"), arOut));  // no dictionary
  CStringArray arIn;
  arIn.Add(_T("x"));
  ASSERT_TRUE(CCommonUtils::saveToObjectDictionary(id, _T("KX_DATA"), _T("PARAMS"), arIn));
  EXPECT_FALSE(CCommonUtils::readFromObjectDictionary(id, _T("OTHER"), _T("PARAMS"), arOut));
  EXPECT_FALSE(CCommonUtils::readFromObjectDictionary(id, _T("KX_DATA"), _T("OTHER"), arOut));
  EXPECT_EQ(arOut.GetSize(), 0);
  EXPECT_FALSE(CCommonUtils::saveToObjectDictionary(AcDbObjectId::kNull, _T("KX_DATA"), _T("P"), arIn));
  EXPECT_FALSE(CCommonUtils::hasObjectNamedDictionary(AcDbObjectId::kNull, _T("KX_DATA")));
  // An object open elsewhere for write cannot take a dictionary.
  AcDbObjectId other = AddLine();
  AcDbObject* pObj = nullptr;
  ASSERT_EQ(acdbOpenObject(pObj, other, AcDb::kForWrite), Acad::eOk);
  EXPECT_FALSE(CCommonUtils::saveToObjectDictionary(other, _T("KX_DATA"), _T("P"), arIn));
  pObj->close();
  EXPECT_FALSE(CCommonUtils::hasObjectNamedDictionary(other, _T("KX_DATA")));
}

// ---- round trips through DXF ---------------------------------------------

TEST_F(DictionaryTest, BothKindsSurviveADxfSaveAndRead) {
  AcDbObjectId id = AddLine();
  ASSERT_TRUE(CCommonUtils::saveToDictionary(_T("KX_PROJECT"), _T("NAME"), _T("一号楼室分")));
  ASSERT_TRUE(CCommonUtils::saveToDictionary(_T("CaseInfo"), _T("CASE"), _T("case-7")));
  CStringArray arIn;
  arIn.Add(_T("a"));
  arIn.Add(_T("二"));
  ASSERT_TRUE(CCommonUtils::saveToObjectDictionary(id, _T("KX_DATA"), _T("PARAMS"), arIn));

  std::unique_ptr<AcDbDatabase> pRead = SaveAndRead();
  CString strText;
  ASSERT_TRUE(CCommonUtils::readFromDictionary(_T("KX_PROJECT"), _T("NAME"), strText, pRead.get()));
  EXPECT_EQ(strText, CString(_T("一号楼室分")));
  ASSERT_TRUE(CCommonUtils::readFromDictionary(_T("CaseInfo"), _T("CASE"), strText, pRead.get()));
  EXPECT_EQ(strText, CString(_T("case-7")));
  AcDbObjectId readId = Find(pRead.get(), id);
  EXPECT_TRUE(CCommonUtils::hasObjectNamedDictionary(readId, _T("KX_DATA")));
  CStringArray arOut;
  ASSERT_TRUE(CCommonUtils::readFromObjectDictionary(readId, _T("KX_DATA"), _T("PARAMS"), arOut));
  ASSERT_EQ(arOut.GetSize(), 2);
  EXPECT_EQ(arOut[0], CString(_T("a")));
  EXPECT_EQ(arOut[1], CString(_T("二")));
  ExpectNothingOpen(pRead.get());
}

// ---- CaseInfo values ---------------------------------------------------

TEST_F(DictionaryTest, GetKeyFromDicCopiesTheValueWithItsTerminator) {
  ASSERT_TRUE(CCommonUtils::saveToDictionary(_T("CaseInfo"), _T("CASEID"), _T("KX-2024-17")));
  TCHAR szBig[64];
  wmemset(szBig, L'#', 64);
  ASSERT_TRUE(CCommonUtils::getKeyFromDic(szBig, _T("CASEID")));
  EXPECT_STREQ(szBig, L"KX-2024-17");

  TCHAR szSized[16];
  wmemset(szSized, L'#', 16);
  ASSERT_TRUE(CCommonUtils::getKeyFromDic(szSized, 16, _T("CASEID")));
  EXPECT_STREQ(szSized, L"KX-2024-17");
  // Exactly the value and its terminator fit.
  TCHAR szExact[11];
  ASSERT_TRUE(CCommonUtils::getKeyFromDic(szExact, 11, _T("CASEID")));
  EXPECT_STREQ(szExact, L"KX-2024-17");
}

TEST_F(DictionaryTest, GetKeyFromDicNeverWritesPastTheCapacity) {
  ASSERT_TRUE(CCommonUtils::saveToDictionary(_T("CaseInfo"), _T("LONG"), _T("0123456789ABCDEF")));
  TCHAR szBuffer[32];
  wmemset(szBuffer, L'#', 32);
  EXPECT_FALSE(CCommonUtils::getKeyFromDic(szBuffer, 8, _T("LONG")));
  EXPECT_EQ(szBuffer[0], L'\0');  // refused, not cut
  for (int i = 1; i < 32; ++i) EXPECT_EQ(szBuffer[i], L'#') << i;
  // One short of the terminator is refused too.
  EXPECT_FALSE(CCommonUtils::getKeyFromDic(szBuffer, 16, _T("LONG")));
  EXPECT_EQ(szBuffer[16], L'#');
  EXPECT_FALSE(CCommonUtils::getKeyFromDic(szBuffer, 0, _T("LONG")));
  EXPECT_FALSE(CCommonUtils::getKeyFromDic(NULL, 8, _T("LONG")));
}

TEST_F(DictionaryTest, GetKeyFromDicMissingOrEmptyValues) {
  TCHAR szBuffer[16] = L"untouched";
  EXPECT_FALSE(CCommonUtils::getKeyFromDic(szBuffer, _T("NONE")));  // no CaseInfo at all
  EXPECT_STREQ(szBuffer, L"untouched");
  ASSERT_TRUE(CCommonUtils::saveToDictionary(_T("CaseInfo"), _T("EMPTY"), _T("")));
  EXPECT_FALSE(CCommonUtils::getKeyFromDic(szBuffer, _T("EMPTY")));
  EXPECT_STREQ(szBuffer, L"");
  EXPECT_FALSE(CCommonUtils::getKeyFromDic(szBuffer, 16, _T("NONE")));
  // Only CaseInfo is looked at.
  ASSERT_TRUE(CCommonUtils::saveToDictionary(_T("Other"), _T("K"), _T("v")));
  EXPECT_FALSE(CCommonUtils::getKeyFromDic(szBuffer, 16, _T("K")));
  EXPECT_EQ(Out(), "");
}

TEST_F(DictionaryTest, GetKeyFromDicTellsWhenTheNamedDictionaryCannotBeOpened) {
  ASSERT_TRUE(CCommonUtils::saveToDictionary(_T("CaseInfo"), _T("K"), _T("v")));
  AcDbDictionary* pNod = nullptr;
  ASSERT_EQ(Db()->getNamedObjectsDictionary(pNod, AcDb::kForWrite), Acad::eOk);
  TCHAR szBuffer[16] = L"untouched";
  EXPECT_FALSE(CCommonUtils::getKeyFromDic(szBuffer, _T("K")));
  EXPECT_STREQ(szBuffer, L"untouched");
  EXPECT_FALSE(CCommonUtils::getKeyFromDic(szBuffer, 16, _T("K")));
  pNod->close();
  EXPECT_EQ(Out(), "无法获取命名字典!\n无法获取命名字典!") << Out();
}

}  // namespace
