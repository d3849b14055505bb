// Layers and line types: making layers ready for drawing, plan.lin line
// types with their fallback, the current layer.
#include <cwchar>
#include <filesystem>
#include <string>

#include "cadtest.h"
#include "CommonUtils.h"
#include "GlobalVars.h"
#include "dbcurves.h"
#include "paths.h"

namespace {

namespace fs = std::filesystem;

// Points the module folder at a temporary folder holding a copy of the
// shipped plan.lin (or nothing), and puts the old folder back afterwards.
class LayersTest : public CadTest {
 protected:
  void SetUp() override {
    CadTest::SetUp();
    wcscpy(m_szOldPath, CGlobalVars::g_CurPath);
    char szTemplate[] = "/tmp/cad_layers_XXXXXX";
    ASSERT_NE(mkdtemp(szTemplate), nullptr);
    m_folder = szTemplate;
    fs::copy_file(fs::path(TEST_DATA_DIR) / "plan.lin", m_folder / "plan.lin");
    UseFolder(m_folder);
  }
  void TearDown() override {
    wcscpy(CGlobalVars::g_CurPath, m_szOldPath);
    fs::remove_all(m_folder);
    CadTest::TearDown();
  }
  static void UseFolder(const fs::path& folder) {
    std::wstring strPath = win::ToWindowsPath(folder.string()) + L"\\";
    wcscpy(CGlobalVars::g_CurPath, strPath.c_str());
  }

  AcDbLayerTableRecord* OpenLayer(AcDbObjectId id, AcDb::OpenMode mode = AcDb::kForRead) {
    AcDbLayerTableRecord* pLayer = nullptr;
    EXPECT_EQ(acdbOpenObject(pLayer, id, mode), Acad::eOk);
    return pLayer;
  }
  int LayerCount() {
    CStringArray arNames;
    EXPECT_TRUE(CCommonUtils::getAllLayerOfDatabase(nullptr, arNames));
    return static_cast<int>(arNames.GetSize());
  }

  fs::path m_folder;
  TCHAR m_szOldPath[MAX_PATH] = {0};
};

// ---- GetLayerForWrite and isLayerExist ------------------------------------

TEST_F(LayersTest, GetLayerForWriteSwitchesOnAndThawsAnExistingLayer) {
  AcDbObjectId firstId;
  ASSERT_EQ(CCommonUtils::GetLayerForWrite(_T("WALL"), firstId), 1);
  AcDbLayerTableRecord* pLayer = OpenLayer(firstId, AcDb::kForWrite);
  ASSERT_NE(pLayer, nullptr);
  pLayer->setIsOff(true);
  ASSERT_EQ(pLayer->setIsFrozen(true), Acad::eOk);
  pLayer->close();

  AcDbObjectId id;
  ASSERT_EQ(CCommonUtils::GetLayerForWrite(_T("wall"), id), 1);  // names ignore case
  EXPECT_EQ(id, firstId);
  pLayer = OpenLayer(id);
  ASSERT_NE(pLayer, nullptr);
  EXPECT_FALSE(pLayer->isOff());
  EXPECT_FALSE(pLayer->isFrozen());
  pLayer->close();
  EXPECT_EQ(Out(), "");
}

TEST_F(LayersTest, GetLayerForWriteMakesAMissingLayerOnce) {
  int nBefore = LayerCount();
  AcDbObjectId id;
  ASSERT_EQ(CCommonUtils::GetLayerForWrite(_T("天线"), id), 1);
  ASSERT_FALSE(id.isNull());
  EXPECT_EQ(LayerCount(), nBefore + 1);
  AcDbObjectId found;
  EXPECT_EQ(CCommonUtils::isLayerExist(_T("天线"), found), 1);
  EXPECT_EQ(found, id);
  AcDbObjectId again;
  ASSERT_EQ(CCommonUtils::GetLayerForWrite(_T("天线"), again), 1);
  EXPECT_EQ(again, id);
  EXPECT_EQ(LayerCount(), nBefore + 1);
}

TEST_F(LayersTest, GetLayerForWriteRefusesABadNameAndLeavesNothingBehind) {
  int nBefore = LayerCount();
  AcDbObjectId id;
  EXPECT_EQ(CCommonUtils::GetLayerForWrite(_T("a<b"), id), 0);
  EXPECT_TRUE(id.isNull());
  EXPECT_EQ(CCommonUtils::GetLayerForWrite(_T(""), id), 0);
  EXPECT_EQ(CCommonUtils::GetLayerForWrite(NULL, id), 0);
  EXPECT_EQ(LayerCount(), nBefore);
}

TEST_F(LayersTest, GetLayerForWriteReportsATableItCannotOpen) {
  AcDbLayerTable* pTable = nullptr;
  ASSERT_EQ(Db()->getLayerTable(pTable, AcDb::kForWrite), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(CCommonUtils::GetLayerForWrite(_T("WALL"), id), 0);
  EXPECT_EQ(CCommonUtils::isLayerExist(_T("0"), id), 0);
  pTable->close();
  EXPECT_EQ(Out(), "获取图层表失败\n获取图层表失败") << Out();
}

TEST_F(LayersTest, GetLayerForWriteDoesNotClaimALayerItCouldNotThaw) {
  AcDbObjectId id;
  ASSERT_EQ(CCommonUtils::GetLayerForWrite(_T("WALL"), id), 1);
  AcDbLayerTableRecord* pLayer = OpenLayer(id, AcDb::kForWrite);
  ASSERT_NE(pLayer, nullptr);
  ASSERT_EQ(pLayer->setIsFrozen(true), Acad::eOk);
  AcDbObjectId again;
  EXPECT_EQ(CCommonUtils::GetLayerForWrite(_T("WALL"), again), 0);
  EXPECT_EQ(again, id);
  EXPECT_TRUE(pLayer->isFrozen());
  pLayer->close();
}

TEST_F(LayersTest, IsLayerExist) {
  AcDbObjectId id;
  EXPECT_EQ(CCommonUtils::isLayerExist(_T("0"), id), 1);
  EXPECT_EQ(id, Db()->clayer());
  EXPECT_EQ(CCommonUtils::isLayerExist(_T("NOPE"), id), 0);
  EXPECT_EQ(CCommonUtils::isLayerExist(NULL, id), 0);
}

// ---- line types --------------------------------------------------------

TEST_F(LayersTest, CreateNewLtypeLoadsFromPlanLin) {
  AcDbObjectId id;
  ASSERT_EQ(CCommonUtils::createNewLtype(_T("PLAN_DASHED"), id), 0);
  ASSERT_FALSE(id.isNull());
  AcDbLinetypeTableRecord* pLtype = nullptr;
  ASSERT_EQ(acdbOpenObject(pLtype, id, AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(pLtype->name(), L"PLAN_DASHED");
  ASSERT_EQ(pLtype->numDashes(), 2);
  EXPECT_DOUBLE_EQ(pLtype->dashLengthAt(0), 300);
  EXPECT_DOUBLE_EQ(pLtype->dashLengthAt(1), -150);
  const ACHAR* pszComments = nullptr;
  pLtype->comments(pszComments);
  EXPECT_EQ(std::wstring(pszComments).rfind(L"规划虚线", 0), 0u);
  pLtype->close();

  // A second call finds it without loading again.
  AcDbObjectId again;
  EXPECT_EQ(CCommonUtils::createNewLtype(_T("plan_dashed"), again), 0);
  EXPECT_EQ(again, id);
}

TEST_F(LayersTest, EveryLineTypeOfTheShippedFileLoads) {
  for (const TCHAR* pszName :
       {_T("PLAN_DASHED"), _T("PLAN_DOTTED"), _T("PLAN_DASHDOT"), _T("PLAN_BORDER"), _T("FEEDER"), _T("CABLE_TRAY")}) {
    AcDbObjectId id;
    EXPECT_EQ(CCommonUtils::createNewLtype(pszName, id), 0) << win::WideToUtf8(pszName);
    AcDbObjectId continuousId;
    CCommonUtils::getLinetypeIdFromString(_T("CONTINUOUS"), continuousId);
    EXPECT_NE(id, continuousId);
  }
}

TEST_F(LayersTest, CreateNewLtypeFallsBackOnContinuousWith3) {
  AcDbObjectId continuousId;
  ASSERT_EQ(CCommonUtils::getLinetypeIdFromString(_T("CONTINUOUS"), continuousId), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(CCommonUtils::createNewLtype(_T("NOT_IN_PLAN"), id), 3);
  EXPECT_EQ(id, continuousId);
  EXPECT_NE(CCommonUtils::getLinetypeIdFromString(_T("NOT_IN_PLAN"), id), Acad::eOk);

  // Without plan.lin in the module folder every unknown name falls back.
  fs::remove(m_folder / "plan.lin");
  AcDbObjectId id2;
  EXPECT_EQ(CCommonUtils::createNewLtype(_T("PLAN_DOTTED"), id2), 3);
  EXPECT_EQ(id2, continuousId);
  // A line type the drawing has needs no file.
  EXPECT_EQ(CCommonUtils::createNewLtype(_T("Continuous"), id2), 0);
  EXPECT_EQ(id2, continuousId);
}

TEST_F(LayersTest, GetLinetypeIdFromStringFindsErasedRecordsToo) {
  AcDbObjectId id;
  ASSERT_EQ(CCommonUtils::createNewLtype(_T("PLAN_DOTTED"), id), 0);
  AcDbObject* pObj = nullptr;
  ASSERT_EQ(acdbOpenObject(pObj, id, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(pObj->erase(), Acad::eOk);
  pObj->close();
  AcDbObjectId found;
  EXPECT_EQ(CCommonUtils::getLinetypeIdFromString(_T("PLAN_DOTTED"), found), Acad::eOk);
  EXPECT_EQ(found, id);
  EXPECT_EQ(CCommonUtils::getLinetypeIdFromString(_T("NOWHERE"), found), Acad::eKeyNotFound);
}

// ---- entity layers and the current layer ---------------------------------

TEST_F(LayersTest, SetEntityLayerAndGetLayer) {
  AcDbObjectId lineId = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  AcDbObjectId layerId;
  ASSERT_EQ(CCommonUtils::GetLayerForWrite(_T("路由"), layerId), 1);
  EXPECT_EQ(CCommonUtils::setEntityLayer(lineId, _T("路由")), Acad::eOk);
  EXPECT_EQ(CCommonUtils::getLayer(lineId), CString(_T("路由")));
  // A layer the drawing does not have is refused and changes nothing.
  EXPECT_NE(CCommonUtils::setEntityLayer(lineId, _T("MISSING")), Acad::eOk);
  EXPECT_EQ(CCommonUtils::getLayer(lineId), CString(_T("路由")));
  EXPECT_EQ(CCommonUtils::setEntityLayer(AcDbObjectId::kNull, _T("0")), Acad::eNullObjectId);
  EXPECT_TRUE(CCommonUtils::getLayer(AcDbObjectId::kNull).IsEmpty());
}

TEST_F(LayersTest, SetCurLayerById) {
  AcDbObjectId layerId;
  ASSERT_EQ(CCommonUtils::GetLayerForWrite(_T("WALL"), layerId), 1);
  AcCmColor red;
  red.setColorIndex(1);
  Db()->setCecolor(red);
  Db()->setCeltype(Db()->continuousLinetype());

  EXPECT_EQ(CCommonUtils::setCurLayer(layerId), 1);
  EXPECT_EQ(Db()->clayer(), layerId);
  EXPECT_EQ(Db()->cecolor().colorIndex(), 256);
  EXPECT_TRUE(Db()->cecolor().isByLayer());
  EXPECT_EQ(Db()->celtype(), Db()->byLayerLinetype());

  EXPECT_EQ(CCommonUtils::setCurLayer(Db()->continuousLinetype()), 0);  // not a layer
  EXPECT_EQ(Db()->clayer(), layerId);
  EXPECT_EQ(Out(), "设置图层错误!") << Out();
}

TEST_F(LayersTest, SetCurLayerByNameMakesTheLayerWithLineTypeAndColour) {
  AcDbObjectId id = CCommonUtils::setCurLayer(_T("BORDER"), _T("PLAN_BORDER"), 3);
  ASSERT_FALSE(id.isNull());
  EXPECT_EQ(Db()->clayer(), id);
  EXPECT_TRUE(Db()->cecolor().isByLayer());
  AcDbObjectId ltypeId;
  ASSERT_EQ(CCommonUtils::getLinetypeIdFromString(_T("PLAN_BORDER"), ltypeId), Acad::eOk);
  AcDbLayerTableRecord* pLayer = OpenLayer(id);
  ASSERT_NE(pLayer, nullptr);
  EXPECT_EQ(pLayer->color().colorIndex(), 3);
  EXPECT_EQ(pLayer->linetypeObjectId(), ltypeId);
  pLayer->close();

  // An unknown line type gives a solid layer.
  AcDbObjectId id2 = CCommonUtils::setCurLayer(_T("OTHER"), _T("NO_SUCH_LTYPE"), 5);
  ASSERT_FALSE(id2.isNull());
  pLayer = OpenLayer(id2);
  ASSERT_NE(pLayer, nullptr);
  EXPECT_EQ(pLayer->linetypeObjectId(), Db()->continuousLinetype());
  pLayer->close();

  // An existing layer is made current as it is.
  EXPECT_EQ(CCommonUtils::setCurLayer(_T("border"), _T("PLAN_DOTTED"), 7), id);
  EXPECT_EQ(Db()->clayer(), id);
  pLayer = OpenLayer(id);
  ASSERT_NE(pLayer, nullptr);
  EXPECT_EQ(pLayer->color().colorIndex(), 3);
  pLayer->close();
}

TEST_F(LayersTest, SetCurLayerByNameRefusesABadName) {
  int nBefore = LayerCount();
  AcDbObjectId oldLayer = Db()->clayer();
  EXPECT_TRUE(CCommonUtils::setCurLayer(_T("bad?name"), _T("PLAN_DASHED"), 1).isNull());
  EXPECT_EQ(LayerCount(), nBefore);
  EXPECT_EQ(Db()->clayer(), oldLayer);

  AcDbLayerTable* pTable = nullptr;
  ASSERT_EQ(Db()->getLayerTable(pTable, AcDb::kForRead), Acad::eOk);  // a reader blocks writing
  AcDbLayerTable* pSecond = nullptr;
  ASSERT_EQ(Db()->getLayerTable(pSecond, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(CCommonUtils::setCurLayer(_T("NEW"), _T("PLAN_DASHED"), 1).isNull());
  pSecond->close();
  pTable->close();
  EXPECT_EQ(LayerCount(), nBefore);
}

TEST_F(LayersTest, GetAllLayerOfDatabaseInTableOrder) {
  AcDbObjectId id;
  CCommonUtils::GetLayerForWrite(_T("B"), id);
  CCommonUtils::GetLayerForWrite(_T("A"), id);
  CStringArray arNames;
  arNames.Add(_T("kept"));
  ASSERT_TRUE(CCommonUtils::getAllLayerOfDatabase(nullptr, arNames));
  ASSERT_EQ(arNames.GetSize(), 4);
  EXPECT_EQ(arNames[0], CString(_T("kept")));
  EXPECT_EQ(arNames[1], CString(_T("0")));
  EXPECT_EQ(arNames[2], CString(_T("B")));
  EXPECT_EQ(arNames[3], CString(_T("A")));

  AcDbDatabase other;
  CStringArray arOther;
  ASSERT_TRUE(CCommonUtils::getAllLayerOfDatabase(&other, arOther));
  ASSERT_EQ(arOther.GetSize(), 1);
  EXPECT_EQ(arOther[0], CString(_T("0")));
}

}  // namespace
