// Extended data: one text per application, written, read, removed, and kept
// through a DXF save and read.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "cadtest.h"
#include "CommonUtils.h"
#include "dbcurves.h"
#include "dbsymtb.h"
#include "paths.h"

namespace {

class XdataTest : public CadTest {
 protected:
  AcDbObjectId AddLine() { return Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(5, 5, 0))); }
};

TEST_F(XdataTest, AddRegistersTheApplicationAndGetReadsTheText) {
  AcDbObjectId id = AddLine();
  EXPECT_FALSE(Db()->hasRegApp(_T("KX_ROUTE")));
  ASSERT_EQ(CCommonUtils::addXdata(id, _T("KX_ROUTE"), _T("馈线-01")), Acad::eOk);
  EXPECT_TRUE(Db()->hasRegApp(_T("KX_ROUTE")));
  CString strText;
  ASSERT_TRUE(CCommonUtils::getXdata(id, _T("KX_ROUTE"), strText));
  EXPECT_EQ(strText, CString(_T("馈线-01")));

  // The list is exactly (1001 app)(1000 text).
  AcDbObject* pObj = nullptr;
  ASSERT_EQ(acdbOpenObject(pObj, id, AcDb::kForRead), Acad::eOk);
  resbuf* pRb = pObj->xData(_T("KX_ROUTE"));
  pObj->close();
  ASSERT_NE(pRb, nullptr);
  EXPECT_EQ(pRb->restype, 1001);
  ASSERT_NE(pRb->rbnext, nullptr);
  EXPECT_EQ(pRb->rbnext->restype, 1000);
  EXPECT_EQ(pRb->rbnext->rbnext, nullptr);
  acutRelRb(pRb);

  // A second add replaces the text.
  ASSERT_EQ(CCommonUtils::addXdata(id, _T("KX_ROUTE"), _T("second")), Acad::eOk);
  ASSERT_TRUE(CCommonUtils::getXdata(id, _T("kx_route"), strText));
  EXPECT_EQ(strText, CString(_T("second")));
}

TEST_F(XdataTest, GetWithoutDataOfTheApplicationIsFalseAndEmpty) {
  AcDbObjectId id = AddLine();
  ASSERT_EQ(CCommonUtils::addXdata(id, _T("OTHER"), _T("x")), Acad::eOk);
  CString strText(_T("stale"));
  EXPECT_FALSE(CCommonUtils::getXdata(id, _T("KX_ROUTE"), strText));
  EXPECT_TRUE(strText.IsEmpty());
  strText = _T("stale");
  EXPECT_FALSE(CCommonUtils::getXdata(AcDbObjectId::kNull, _T("OTHER"), strText));
  EXPECT_TRUE(strText.IsEmpty());
  strText = _T("stale");
  EXPECT_FALSE(CCommonUtils::getXdata(id, _T(""), strText));  // not "any application"
  EXPECT_TRUE(strText.IsEmpty());
}

TEST_F(XdataTest, GetTakesTheFirstTextItem) {
  AcDbObjectId id = AddLine();
  ASSERT_EQ(CCommonUtils::addXdata(id, _T("APP"), _T("")), Acad::eOk);  // registers APP
  AcDbObject* pObj = nullptr;
  ASSERT_EQ(acdbOpenObject(pObj, id, AcDb::kForWrite), Acad::eOk);
  resbuf* pRb = acutBuildList(1001, _T("APP"), 1070, 5, 1000, _T("first"), 1000, _T("second"), 0);
  ASSERT_EQ(pObj->setXData(pRb), Acad::eOk);
  acutRelRb(pRb);
  CString strText;
  EXPECT_TRUE(CCommonUtils::getXdata(pObj, _T("APP"), strText));
  EXPECT_EQ(strText, CString(_T("first")));
  pObj->close();
}

TEST_F(XdataTest, AddOnAnOpenObjectLeavesItOpenForRead) {
  AcDbObjectId id = AddLine();
  AcDbObject* pObj = nullptr;
  ASSERT_EQ(acdbOpenObject(pObj, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(CCommonUtils::addXdata(pObj, _T("APP"), _T("read")), Acad::eOk);
  EXPECT_FALSE(pObj->isWriteEnabled());
  EXPECT_TRUE(pObj->isReadEnabled());
  pObj->close();

  ASSERT_EQ(acdbOpenObject(pObj, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(CCommonUtils::addXdata(pObj, _T("APP"), _T("write")), Acad::eOk);
  EXPECT_FALSE(pObj->isWriteEnabled());  // downgraded in either case
  pObj->close();
  CString strText;
  EXPECT_TRUE(CCommonUtils::getXdata(id, _T("APP"), strText));
  EXPECT_EQ(strText, CString(_T("write")));
}

TEST_F(XdataTest, AddAndDeleteFailCleanlyWhenTheObjectCannotBeWritten) {
  AcDbObjectId id = AddLine();
  AcDbObjectId keptId = AddLine();
  ASSERT_EQ(CCommonUtils::addXdata(keptId, _T("KEPT"), _T("k")), Acad::eOk);
  AcDbObject* pKept1 = nullptr;
  AcDbObject* pKept2 = nullptr;
  ASSERT_EQ(acdbOpenObject(pKept1, keptId, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(acdbOpenObject(pKept2, keptId, AcDb::kForRead), Acad::eOk);
  EXPECT_FALSE(CCommonUtils::deleteXdata(pKept1, _T("KEPT")));  // two readers: no upgrade
  EXPECT_TRUE(pKept1->hasXData(_T("KEPT")));
  EXPECT_EQ(pKept1->numReaders(), 2);
  pKept2->close();
  pKept1->close();

  AcDbObject* pFirst = nullptr;
  AcDbObject* pSecond = nullptr;
  ASSERT_EQ(acdbOpenObject(pFirst, id, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(acdbOpenObject(pSecond, id, AcDb::kForRead), Acad::eOk);
  EXPECT_NE(CCommonUtils::addXdata(pFirst, _T("APP"), _T("x")), Acad::eOk);
  EXPECT_EQ(pFirst->numReaders(), 2);  // both readings intact
  pSecond->close();
  pFirst->close();
  // The id form cannot open an object that is open elsewhere.
  ASSERT_EQ(acdbOpenObject(pFirst, id, AcDb::kForRead), Acad::eOk);
  EXPECT_NE(CCommonUtils::addXdata(id, _T("APP"), _T("x")), Acad::eOk);
  pFirst->close();
  CString strText;
  EXPECT_FALSE(CCommonUtils::getXdata(id, _T("APP"), strText));
  EXPECT_NE(CCommonUtils::addXdata(AcDbObjectId::kNull, _T("APP"), _T("x")), Acad::eOk);
  EXPECT_NE(CCommonUtils::addXdata(id, _T("bad<name"), _T("x")), Acad::eOk);
  EXPECT_FALSE(Db()->hasRegApp(_T("bad<name")));
}

TEST_F(XdataTest, DeleteRemovesOnlyThatApplicationsData) {
  AcDbObjectId id = AddLine();
  ASSERT_EQ(CCommonUtils::addXdata(id, _T("APP1"), _T("one")), Acad::eOk);
  ASSERT_EQ(CCommonUtils::addXdata(id, _T("APP2"), _T("two")), Acad::eOk);
  EXPECT_TRUE(CCommonUtils::deleteXdata(id, _T("APP1")));
  CString strText;
  EXPECT_FALSE(CCommonUtils::getXdata(id, _T("APP1"), strText));
  EXPECT_TRUE(CCommonUtils::getXdata(id, _T("APP2"), strText));
  EXPECT_EQ(strText, CString(_T("two")));
  EXPECT_TRUE(Db()->hasRegApp(_T("APP1")));  // the entry stays
  // Nothing to delete is fine.
  EXPECT_TRUE(CCommonUtils::deleteXdata(id, _T("APP1")));
  EXPECT_FALSE(CCommonUtils::deleteXdata(AcDbObjectId::kNull, _T("APP2")));

  AcDbObject* pObj = nullptr;
  ASSERT_EQ(acdbOpenObject(pObj, id, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(CCommonUtils::deleteXdata(pObj, _T("APP2")));
  EXPECT_FALSE(pObj->isWriteEnabled());  // back to reading
  EXPECT_FALSE(pObj->hasXData(_T("APP2")));
  pObj->close();
}

TEST_F(XdataTest, DataSurvivesADxfSaveAndRead) {
  AcDbObjectId lineId = AddLine();
  AcDbObjectId goneId = AddLine();
  AcDbObjectId layerId = Db()->clayer();
  ASSERT_EQ(CCommonUtils::addXdata(lineId, _T("KX_ROUTE"), _T("路由 A-1")), Acad::eOk);
  ASSERT_EQ(CCommonUtils::addXdata(layerId, _T("KX_LAYER"), _T("layer text")), Acad::eOk);
  ASSERT_EQ(CCommonUtils::addXdata(goneId, _T("KX_ROUTE"), _T("removed")), Acad::eOk);
  ASSERT_TRUE(CCommonUtils::deleteXdata(goneId, _T("KX_ROUTE")));

  std::unique_ptr<AcDbDatabase> pRead = SaveAndRead();
  EXPECT_TRUE(pRead->hasRegApp(_T("KX_ROUTE")));
  CString strText;
  ASSERT_TRUE(CCommonUtils::getXdata(Find(pRead.get(), lineId), _T("KX_ROUTE"), strText));
  EXPECT_EQ(strText, CString(_T("路由 A-1")));
  ASSERT_TRUE(CCommonUtils::getXdata(Find(pRead.get(), layerId), _T("KX_LAYER"), strText));
  EXPECT_EQ(strText, CString(_T("layer text")));
  EXPECT_FALSE(CCommonUtils::getXdata(Find(pRead.get(), goneId), _T("KX_ROUTE"), strText));
  ExpectNothingOpen(pRead.get());
}

}  // namespace
