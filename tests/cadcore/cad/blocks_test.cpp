// Block definitions and references, block look-ups and extents, and drawing
// files brought in as blocks and inserted.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "cadtest.h"
#include "CommonUtils.h"
#include "acedgr.h"
#include "dbblkref.h"
#include "dbcurves.h"
#include "dbpoint.h"
#include "paths.h"
#include "textconv.h"

namespace {

namespace fs = std::filesystem;

const double kPi = 3.14159265358979323846;

class BlocksTest : public CadTest {
 protected:
  void SetUp() override {
    CadTest::SetUp();
    acad::ResetGrRead();
    char szTemplate[] = "/tmp/cad_blocks_XXXXXX";
    ASSERT_NE(mkdtemp(szTemplate), nullptr);
    m_folder = szTemplate;
  }
  void TearDown() override {
    acad::ResetGrRead();
    fs::remove_all(m_folder);
    CadTest::TearDown();
  }

  // A block "name" of the working drawing made of the entities.
  AcDbObjectId MakeBlock(const wchar_t* name, std::initializer_list<AcDbEntity*> entities) {
    AcDbVoidPtrArray arEntities;
    for (AcDbEntity* pEnt : entities) arEntities.append(pEnt);
    AcDbObjectId id = CCommonUtils::createBlockRecord(name, arEntities);
    EXPECT_FALSE(id.isNull());
    return id;
  }

  std::vector<AcDbObjectId> BlockEntities(AcDbObjectId blockId) {
    std::vector<AcDbObjectId> ids;
    AcDbBlockTableRecord* pRecord = nullptr;
    EXPECT_EQ(acdbOpenObject(pRecord, blockId, AcDb::kForRead), Acad::eOk);
    if (!pRecord) return ids;
    for (const AcDbObjectId& id : pRecord->entityIds())
      if (!id.isErased()) ids.push_back(id);
    pRecord->close();
    return ids;
  }

  // The block references of model space that are not erased.
  std::vector<AcDbObjectId> References(AcDbDatabase* pDb = nullptr) {
    std::vector<AcDbObjectId> ids;
    AcDbBlockTable* pTable = nullptr;
    AcDbBlockTableRecord* pSpace = nullptr;
    (pDb ? pDb : Db())->getBlockTable(pTable, AcDb::kForRead);
    pTable->getAt(ACDB_MODEL_SPACE, pSpace, AcDb::kForRead);
    pTable->close();
    for (const AcDbObjectId& id : pSpace->entityIds()) {
      AcDbBlockReference* pRef = nullptr;
      if (acdbOpenObject(pRef, id, AcDb::kForRead) != Acad::eOk) continue;
      ids.push_back(id);
      pRef->close();
    }
    pSpace->close();
    return ids;
  }

  // Writes a drawing with two lines and a circle as DXF.
  std::string WriteDrawing(const std::string& name) {
    AcDbDatabase drawing;
    Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(4, 0, 0)), &drawing);
    Add(new AcDbLine(AcGePoint3d(4, 0, 0), AcGePoint3d(4, 3, 0)), &drawing);
    Add(new AcDbCircle(AcGePoint3d(2, 1, 0), AcGeVector3d::kZAxis, 0.5), &drawing);
    std::string path = (m_folder / name).string();
    EXPECT_EQ(drawing.saveAs(win::Utf8ToWide(path).c_str()), Acad::eOk);
    return path;
  }

  fs::path m_folder;
};

// ---- block definitions ---------------------------------------------------------

TEST_F(BlocksTest, CreateBlockRecordAppendsAndClosesEveryEntity) {
  AcDbLine* pLine = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
  AcDbCircle* pCircle = new AcDbCircle(AcGePoint3d(5, 5, 0), AcGeVector3d::kZAxis, 2);
  AcDbObjectId blockId = MakeBlock(L"Tower", {pLine, nullptr, pCircle});
  std::vector<AcDbObjectId> ids = BlockEntities(blockId);
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_EQ(ids[0].objectClass(), AcDbLine::desc());  // array order kept
  EXPECT_EQ(ids[1].objectClass(), AcDbCircle::desc());
  EXPECT_EQ(CCommonUtils::getBlockIdByName(L"tower"), blockId);  // names ignore case

  // The same name again adds to the block and gives no id back.
  AcDbVoidPtrArray arMore;
  arMore.append(new AcDbPoint(AcGePoint3d(1, 1, 0)));
  EXPECT_TRUE(CCommonUtils::createBlockRecord(L"Tower", arMore).isNull());
  EXPECT_EQ(BlockEntities(blockId).size(), 3u);
  EXPECT_EQ(Out(), "");
}

TEST_F(BlocksTest, CreateBlockRecordRefusesABadNameAndClosesRefusedEntities) {
  AcDbVoidPtrArray arEntities;
  AcDbLine* pLine = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  arEntities.append(pLine);
  EXPECT_TRUE(CCommonUtils::createBlockRecord(L"bad<name>", arEntities).isNull());
  EXPECT_TRUE(CCommonUtils::getBlockIdByName(L"bad<name>").isNull());
  EXPECT_TRUE(pLine->isNewObject());  // not consumed: still the caller's
  delete pLine;

  // An entity of model space opened for write cannot join the block; it is
  // closed all the same, the new one after it is appended.
  AcDbObjectId lineId = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0)));
  AcDbEntity* pResident = nullptr;
  ASSERT_EQ(acdbOpenObject(pResident, lineId, AcDb::kForWrite), Acad::eOk);
  AcDbVoidPtrArray arMixed;
  arMixed.append(pResident);
  arMixed.append(new AcDbCircle(AcGePoint3d(), AcGeVector3d::kZAxis, 1));
  AcDbObjectId blockId = CCommonUtils::createBlockRecord(L"Mixed", arMixed);
  ASSERT_FALSE(blockId.isNull());
  std::vector<AcDbObjectId> ids = BlockEntities(blockId);
  ASSERT_EQ(ids.size(), 1u);
  EXPECT_EQ(ids[0].objectClass(), AcDbCircle::desc());
}

// ---- references -------------------------------------------------------------------

TEST_F(BlocksTest, CreateBlockRefSetsEveryPropertyOrDeletesTheReference) {
  AcDbObjectId blockId = MakeBlock(L"Antenna", {new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0))});
  AcDbBlockReference* pRef = nullptr;
  ASSERT_EQ(CCommonUtils::createBlockRef(pRef, blockId, AcGePoint3d(3, 4, 0), kPi / 2, AcGeVector3d::kZAxis, 2, 3),
            Acad::eOk);
  ASSERT_NE(pRef, nullptr);
  EXPECT_TRUE(pRef->isNewObject());
  EXPECT_EQ(pRef->blockTableRecord(), blockId);
  EXPECT_EQ(pRef->position(), AcGePoint3d(3, 4, 0));
  EXPECT_DOUBLE_EQ(pRef->rotation(), kPi / 2);
  EXPECT_EQ(pRef->scaleFactors(), AcGeScale3d(2, 3, 1));
  delete pRef;

  // A line is no block: the status comes back and nothing is left over.
  AcDbObjectId lineId = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  pRef = nullptr;
  EXPECT_NE(CCommonUtils::createBlockRef(pRef, lineId, AcGePoint3d(), 0, AcGeVector3d::kZAxis, 1, 1), Acad::eOk);
  EXPECT_EQ(pRef, nullptr);
  EXPECT_TRUE(CCommonUtils::createBlockRef(lineId, AcGePoint3d(), 0, AcGeVector3d::kZAxis, 1, 1).isNull());
  EXPECT_TRUE(References().empty());
}

TEST_F(BlocksTest, CreateBlockRefInModelSpaceAndItsBlockBack) {
  AcDbObjectId blockId = MakeBlock(L"Antenna", {new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0))});
  AcDbObjectId refId = CCommonUtils::createBlockRef(blockId, AcGePoint3d(10, 0, 0), 0, AcGeVector3d::kZAxis, 1, 1);
  ASSERT_FALSE(refId.isNull());
  EXPECT_EQ(References(), std::vector<AcDbObjectId>{refId});
  EXPECT_EQ(CCommonUtils::getBlockReferenceRecord(refId), blockId);
  AcDbObjectId lineId = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  EXPECT_TRUE(CCommonUtils::getBlockReferenceRecord(lineId).isNull());
  EXPECT_TRUE(CCommonUtils::getBlockReferenceRecord(AcDbObjectId::kNull).isNull());
}

// ---- look-ups ------------------------------------------------------------------------

TEST_F(BlocksTest, BlockLookUpsInTheWorkingOrAnotherDatabase) {
  AcDbObjectId blockId = MakeBlock(L"Site", {new AcDbPoint(AcGePoint3d())});
  AcDbObjectId found;
  EXPECT_TRUE(CCommonUtils::hasTheSameBlock(L"Site", found));
  EXPECT_EQ(found, blockId);
  EXPECT_FALSE(CCommonUtils::hasTheSameBlock(L"Nowhere", found));
  EXPECT_TRUE(CCommonUtils::getBlockIdByName(L"Nowhere").isNull());

  AcDbDatabase other;
  EXPECT_FALSE(CCommonUtils::hasTheSameBlock(L"Site", found, &other));
  EXPECT_TRUE(CCommonUtils::getBlockIdByName(L"Site", &other).isNull());
  EXPECT_TRUE(CCommonUtils::hasTheSameBlock(ACDB_MODEL_SPACE, found, &other));
  EXPECT_EQ(found.database(), &other);
  EXPECT_EQ(CCommonUtils::getBlockIdByName(L"*MODEL_SPACE", &other), found);
  EXPECT_EQ(Out(), "");
}

TEST_F(BlocksTest, BlockExtentsAreAddedToWhatTheCallerHas) {
  AcDbObjectId blockId = MakeBlock(L"Box", {new AcDbLine(AcGePoint3d(1, 1, 0), AcGePoint3d(5, 2, 0)),
                                            new AcDbCircle(AcGePoint3d(3, 3, 0), AcGeVector3d::kZAxis, 1)});
  AcDbExtents extents;
  ASSERT_EQ(CCommonUtils::getBlockExtents(blockId, extents), Acad::eOk);
  EXPECT_EQ(extents.minPoint(), AcGePoint3d(1, 1, 0));
  EXPECT_EQ(extents.maxPoint(), AcGePoint3d(5, 4, 0));

  AcDbExtents withMore(AcGePoint3d(-2, 0, 0), AcGePoint3d(0, 0, 0));
  ASSERT_EQ(CCommonUtils::getBlockExtents(blockId, withMore), Acad::eOk);
  EXPECT_EQ(withMore.minPoint(), AcGePoint3d(-2, 0, 0));
  EXPECT_EQ(withMore.maxPoint(), AcGePoint3d(5, 4, 0));

  AcDbExtents untouched;
  EXPECT_NE(CCommonUtils::getBlockExtents(AcDbObjectId::kNull, untouched), Acad::eOk);
  EXPECT_TRUE(untouched.isEmpty());
}

TEST_F(BlocksTest, BlockScaleFromWidthThenHeightThenOne) {
  AcDbObjectId wide = MakeBlock(L"Wide", {new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(4, 1, 0))});
  EXPECT_DOUBLE_EQ(CCommonUtils::calBlockScale(wide, 10), 2.5);
  AcDbObjectId tall = MakeBlock(L"Tall", {new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0, 5, 0))});
  EXPECT_DOUBLE_EQ(CCommonUtils::calBlockScale(tall, 10), 2.0);
  AcDbObjectId dot = MakeBlock(L"Dot", {new AcDbPoint(AcGePoint3d(3, 3, 0))});
  EXPECT_DOUBLE_EQ(CCommonUtils::calBlockScale(dot, 10), 1.0);
  AcDbObjectId empty = MakeBlock(L"Empty", {});
  EXPECT_DOUBLE_EQ(CCommonUtils::calBlockScale(empty, 10), 1.0);
  EXPECT_DOUBLE_EQ(CCommonUtils::calBlockScale(AcDbObjectId::kNull, 10), 1.0);
}

// ---- drawing files ------------------------------------------------------------------

TEST_F(BlocksTest, BlockFromADxfFileKeepsItsEntitiesAndIsReusedByName) {
  std::string path = WriteDrawing("tower.dxf");
  AcDbObjectId blockId;
  ASSERT_TRUE(CCommonUtils::createBlockRecFromFile(L"FromFile", win::Utf8ToWide(path).c_str(), blockId));
  ASSERT_FALSE(blockId.isNull());
  std::vector<AcDbObjectId> ids = BlockEntities(blockId);
  ASSERT_EQ(ids.size(), 3u);
  EXPECT_EQ(ids[2].objectClass(), AcDbCircle::desc());
  AcDbExtents extents;
  CCommonUtils::getBlockExtents(blockId, extents);
  EXPECT_EQ(extents.maxPoint(), AcGePoint3d(4, 3, 0));

  // Present already: the file is not read again (it may even be gone).
  fs::remove(path);
  AcDbObjectId again;
  EXPECT_TRUE(CCommonUtils::createBlockRecFromFile(L"FromFile", win::Utf8ToWide(path).c_str(), again));
  EXPECT_EQ(again, blockId);

  AcDbObjectId missing;
  EXPECT_FALSE(CCommonUtils::createBlockRecFromFile(L"Other", win::Utf8ToWide(path).c_str(), missing));
  EXPECT_TRUE(CCommonUtils::getBlockIdByName(L"Other").isNull());
}

TEST_F(BlocksTest, BlockFromAFileIntoAnotherDatabaseWithAWindowsPath) {
  std::string path = WriteDrawing("plan.dwg");
  AcDbDatabase target;
  AcDbObjectId blockId;
  std::wstring windowsPath = win::ToWindowsPath(path);
  ASSERT_TRUE(CCommonUtils::createBlockRecFromFile(L"Plan", windowsPath.c_str(), blockId, &target));
  EXPECT_EQ(blockId.database(), &target);
  EXPECT_TRUE(CCommonUtils::getBlockIdByName(L"Plan").isNull());  // not the working drawing
  ExpectNothingOpen(&target);
}

TEST_F(BlocksTest, InsertFileNamesAMissingFile) {
  std::string path = (m_folder / "missing.dxf").string();
  EXPECT_FALSE(CCommonUtils::insertFile(win::Utf8ToWide(path).c_str(), L"Missing"));
  EXPECT_NE(Out().find("文件" + path + "不存在"), std::string::npos) << Out();
  EXPECT_FALSE(CCommonUtils::insertFile(win::Utf8ToWide(m_folder.string()).c_str(), L"Folder"));  // a folder is no file
  EXPECT_TRUE(CCommonUtils::getBlockIdByName(L"Missing").isNull());
  EXPECT_TRUE(References().empty());
}

TEST_F(BlocksTest, InsertFileThatIsNoDrawingCannotMakeTheBlock) {
  std::string path = (m_folder / "notes.dxf").string();
  std::ofstream(path) << "these are not drawing pairs\n";
  EXPECT_FALSE(CCommonUtils::insertFile(win::Utf8ToWide(path).c_str(), L"Notes"));
  EXPECT_NE(Out().find("创建块失败"), std::string::npos) << Out();
  EXPECT_TRUE(References().empty());
}

TEST_F(BlocksTest, InsertFileMakesTheBlockAndAsksPositionScaleAndAngle) {
  std::string path = WriteDrawing("site.dxf");
  Answer({"@drag 1,1", "@pick 10,20", "@type 2", "@type", "@type 90", "@type"});
  ASSERT_TRUE(CCommonUtils::insertFile(win::Utf8ToWide(path).c_str(), L"Site"));
  AcDbObjectId blockId = CCommonUtils::getBlockIdByName(L"Site");
  ASSERT_FALSE(blockId.isNull());
  EXPECT_EQ(BlockEntities(blockId).size(), 3u);
  std::vector<AcDbObjectId> refs = References();
  ASSERT_EQ(refs.size(), 1u);
  AcDbBlockReference* pRef = nullptr;
  ASSERT_EQ(acdbOpenObject(pRef, refs[0], AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(pRef->blockTableRecord(), blockId);
  EXPECT_TRUE(pRef->position().isEqualTo(AcGePoint3d(10, 20, 0)));
  EXPECT_NEAR(pRef->scaleFactors().sx, 2, 1e-9);
  EXPECT_NEAR(pRef->rotation(), kPi / 2, 1e-9);
  pRef->close();
  std::string out = Out();
  EXPECT_NE(out.find("请确定插入位置："), std::string::npos) << out;
  EXPECT_NE(out.find("请确定插入比例：/<鼠标控制>"), std::string::npos) << out;
  EXPECT_NE(out.find("请确定插入角度：/<鼠标控制>"), std::string::npos) << out;

  // The reference and its block survive a DXF save and read.
  std::wstring saved = win::Utf8ToWide((m_folder / "saved.dxf").string());
  ASSERT_EQ(Db()->saveAs(saved.c_str()), Acad::eOk);
  AcDbDatabase* pRead = new AcDbDatabase(false, true);
  ASSERT_EQ(pRead->readDwgFile(saved.c_str()), Acad::eOk);
  AcDbObjectId readBlock = CCommonUtils::getBlockIdByName(L"Site", pRead);
  ASSERT_FALSE(readBlock.isNull());
  std::vector<AcDbObjectId> readRefs = References(pRead);
  ASSERT_EQ(readRefs.size(), 1u);
  EXPECT_EQ(CCommonUtils::getBlockReferenceRecord(readRefs[0]), readBlock);
  AcDbBlockReference* pReadRef = nullptr;
  ASSERT_EQ(acdbOpenObject(pReadRef, readRefs[0], AcDb::kForRead), Acad::eOk);
  EXPECT_NEAR(pReadRef->scaleFactors().sx, 2, 1e-9);
  pReadRef->close();
  delete pRead;

  // The second time the block exists already; a cancel inserts nothing.
  Answer({"@drag 3,3", "^C"});
  EXPECT_FALSE(CCommonUtils::insertFile(win::Utf8ToWide(path).c_str(), L"Site"));
  EXPECT_EQ(References().size(), 1u);
}

}  // namespace
