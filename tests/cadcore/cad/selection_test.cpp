// Selections, ids and handles, entities by layer, kind and extended data,
// erasing under the document lock, highlighting and extents.
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cadtest.h"
#include "CommonUtils.h"
#include "dbcurves.h"
#include "dbpline.h"
#include "dbpoint.h"
#include "dbtext.h"
#include "textconv.h"

namespace {

namespace fs = std::filesystem;

class SelectionTest : public CadTest {
 protected:
  AcDbObjectId Line(double x0, double y0, double x1, double y1, const wchar_t* layer = nullptr) {
    AcDbLine* pLine = new AcDbLine(AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0));
    if (layer) {
      MakeLayer(layer);
      pLine->setLayer(layer);
    }
    return Add(pLine);
  }
  AcDbObjectId Pline(std::vector<AcGePoint2d> pts, const wchar_t* layer = nullptr) {
    AcDbPolyline* pPline = new AcDbPolyline;
    for (unsigned i = 0; i < pts.size(); ++i) pPline->addVertexAt(i, pts[i]);
    if (layer) {
      MakeLayer(layer);
      pPline->setLayer(layer);
    }
    return Add(pPline);
  }
  void MakeLayer(const wchar_t* name) {
    AcDbLayerTable* pTable = nullptr;
    ASSERT_EQ(Db()->getLayerTable(pTable, AcDb::kForWrite), Acad::eOk);
    if (!pTable->has(name)) {
      AcDbLayerTableRecord* pRecord = new AcDbLayerTableRecord;
      pRecord->setName(name);
      pTable->add(pRecord);
      pRecord->close();
    }
    pTable->close();
  }
  // Extended data written with the platform itself: (1001 app)(1000 text).
  void SetText(AcDbObjectId id, const wchar_t* app, const wchar_t* text) {
    AcDbRegAppTable* pApps = nullptr;
    ASSERT_EQ(Db()->getRegAppTable(pApps, AcDb::kForWrite), Acad::eOk);
    if (!pApps->has(app)) {
      AcDbRegAppTableRecord* pApp = new AcDbRegAppTableRecord;
      pApp->setName(app);
      pApps->add(pApp);
      pApp->close();
    }
    pApps->close();
    resbuf* pList = acutBuildList(1001, app, 1000, text, RTNONE);
    AcDbObject* pObj = nullptr;
    ASSERT_EQ(acdbOpenObject(pObj, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(pObj->setXData(pList), Acad::eOk);
    pObj->close();
    acutRelRb(pList);
  }
  static void Erase(AcDbObjectId id) {
    AcDbObject* pObj = nullptr;
    ASSERT_EQ(acdbOpenObject(pObj, id, AcDb::kForWrite), Acad::eOk);
    pObj->erase();
    pObj->close();
  }
  static std::vector<AcDbObjectId> Ids(const AcDbObjectIdArray& ar) { return {ar.begin(), ar.end()}; }
};

// ---- selections ------------------------------------------------------------------

TEST_F(SelectionTest, SelectObjectShowsThePromptAndAppliesTheFilter) {
  AcDbObjectId line1 = Line(0, 0, 10, 0);
  Add(new AcDbCircle(AcGePoint3d(5, 5, 0), AcGeVector3d::kZAxis, 1));
  AcDbObjectId line2 = Line(0, 10, 10, 10);
  Line(50, 50, 60, 60);  // outside the window
  resbuf* pFilter = acutBuildList(RTDXF0, L"LINE", RTNONE);
  Answer({"W -1,-1 20,20", ""});
  AcDbObjectIdArray arIds;
  ASSERT_TRUE(CCommonUtils::selectObject(L":$", L"\n请选择线:", pFilter, arIds));
  EXPECT_EQ(Ids(arIds), (std::vector<AcDbObjectId>{line1, line2}));
  EXPECT_NE(Out().find("请选择线:W -1,-1 20,20"), std::string::npos) << Out();
  EXPECT_EQ(Out().find("Select objects"), std::string::npos) << Out();

  // One pick with ":S": the next line is not read.
  Answer({"5,10", "0,0"});
  ASSERT_TRUE(CCommonUtils::selectObject(L":S:$", L"\n点一条线:", pFilter, arIds));
  EXPECT_EQ(Ids(arIds), std::vector<AcDbObjectId>{line2});
  EXPECT_EQ(user::Script::Instance().Peek(), std::optional<std::string>("0,0"));

  // Every line of the drawing without asking.
  ASSERT_TRUE(CCommonUtils::selectObject(L"X", L"", pFilter, arIds));
  EXPECT_EQ(arIds.length(), 3);
  acutRelRb(pFilter);
}

TEST_F(SelectionTest, SelectObjectFailsOnCancelAndOnNothingFound) {
  Line(0, 0, 10, 0);
  AcDbObjectIdArray arIds;
  Answer({"5,0", "^C"});
  EXPECT_FALSE(CCommonUtils::selectObject(L":$", L"\n选择:", nullptr, arIds));
  Answer({"40,40", ""});  // a pick on nothing, then Enter
  EXPECT_FALSE(CCommonUtils::selectObject(L":$", L"\n选择:", nullptr, arIds));
  resbuf* pFilter = acutBuildList(RTDXF0, L"CIRCLE", RTNONE);
  EXPECT_FALSE(CCommonUtils::selectObject(L"X", L"", pFilter, arIds));
  acutRelRb(pFilter);
  // A window needs corners the call cannot give: refused, the prompts are
  // never taken for points.
  EXPECT_FALSE(CCommonUtils::selectObject(L"W", L"\n选择:", nullptr, arIds));
  EXPECT_EQ(arIds.length(), 0);
  // TearDown checks that no selection set was left behind.
}

TEST_F(SelectionTest, ConvertSSetToIdEmptiesFirstAndKeepsSetOrder) {
  AcDbObjectId a = Line(0, 0, 1, 0);
  AcDbObjectId b = Line(0, 1, 1, 1);
  ads_name ss;
  ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, ss), RTNORM);
  AcDbObjectIdArray arIds;
  arIds.append(AcDbObjectId::kNull);
  EXPECT_TRUE(CCommonUtils::convertSSetToId(ss, arIds));
  EXPECT_EQ(Ids(arIds), (std::vector<AcDbObjectId>{a, b}));
  EXPECT_EQ(CCommonUtils::convertFromEntnameToId(ss, arIds), 1);
  EXPECT_EQ(arIds.length(), 2);
  acedSSFree(ss);

  // A freed (unknown) set gives nothing and leaves the array empty.
  EXPECT_FALSE(CCommonUtils::convertSSetToId(ss, arIds));
  EXPECT_EQ(arIds.length(), 0);
  EXPECT_EQ(CCommonUtils::convertFromEntnameToId(ss, arIds), 0);
}

// ---- handles ---------------------------------------------------------------------

TEST_F(SelectionTest, HandlesAreHexTextsJoinedBySingleBlanks) {
  AcDbObjectId a = Line(0, 0, 1, 0);
  AcDbObjectId b = Line(0, 1, 1, 1);
  AcDbObjectId c = Add(new AcDbPoint(AcGePoint3d()));
  AcDbObjectIdArray arIds;
  arIds.append(a);
  arIds.append(AcDbObjectId::kNull);  // has no handle: left out
  arIds.append(b);
  arIds.append(c);
  CString strHandles = CCommonUtils::GetHandles(arIds);
  std::ostringstream expected;
  expected << std::hex << std::uppercase << a.handle().value() << ' ' << b.handle().value() << ' '
           << c.handle().value();
  EXPECT_EQ(strHandles.ToUtf8(), expected.str());
  EXPECT_EQ(CCommonUtils::GetHandle(AcDbObjectId::kNull), CString());
  EXPECT_EQ(CCommonUtils::GetHandles(AcDbObjectIdArray()), CString());

  AcDbObjectId found;
  ASSERT_TRUE(CCommonUtils::getObjectIdByHandle(CCommonUtils::GetHandle(b), found));
  EXPECT_EQ(found, b);
  CString strLower = CCommonUtils::GetHandle(c);
  strLower.MakeLower();
  EXPECT_TRUE(CCommonUtils::getObjectIdByHandle(strLower, found));
  EXPECT_EQ(found, c);
  found = a;
  EXPECT_FALSE(CCommonUtils::getObjectIdByHandle(L"FFFFFF", found));
  EXPECT_FALSE(CCommonUtils::getObjectIdByHandle(L"xyz", found));
  EXPECT_FALSE(CCommonUtils::getObjectIdByHandle(L"", found));
  EXPECT_EQ(found, a);  // untouched when not found
}

TEST_F(SelectionTest, IdsByHandleTextSkipUnknownHandlesAndEmptyPieces) {
  AcDbObjectId a = Line(0, 0, 1, 0);
  AcDbObjectId b = Line(0, 1, 1, 1);
  CString strText = CCommonUtils::GetHandle(b) + L"  FFFFFF zz " + CCommonUtils::GetHandle(a);
  AcDbObjectIdArray arIds;
  arIds.append(b);  // appended to, not replaced
  ASSERT_TRUE(CCommonUtils::GetObjectIdsByHandle(strText, arIds));
  EXPECT_EQ(Ids(arIds), (std::vector<AcDbObjectId>{b, b, a}));
  EXPECT_FALSE(CCommonUtils::GetObjectIdsByHandle(L"", arIds));
  EXPECT_FALSE(CCommonUtils::GetObjectIdsByHandle(L"FFFFFF", arIds));
  EXPECT_EQ(arIds.length(), 3);
}

TEST_F(SelectionTest, HandlesSurviveADxfSaveAndRead) {
  AcDbObjectId a = Line(0, 0, 1, 0);
  AcDbObjectId c = Add(new AcDbCircle(AcGePoint3d(), AcGeVector3d::kZAxis, 2));
  AcDbObjectIdArray arIds;
  arIds.append(a);
  arIds.append(c);
  CString strHandles = CCommonUtils::GetHandles(arIds);
  fs::path file = fs::temp_directory_path() / ("cad_handles_" + std::to_string(getpid()) + ".dxf");
  ASSERT_EQ(Db()->saveAs(win::Utf8ToWide(file.string()).c_str()), Acad::eOk);
  AcDbDatabase* pRead = new AcDbDatabase(false, true);
  ASSERT_EQ(pRead->readDwgFile(win::Utf8ToWide(file.string()).c_str()), Acad::eOk);

  AcDbObjectId readLine, readCircle;
  ASSERT_TRUE(CCommonUtils::GetObjectId(CCommonUtils::GetHandle(a), readLine, pRead));
  ASSERT_TRUE(CCommonUtils::GetObjectId(CCommonUtils::GetHandle(c), readCircle, pRead));
  EXPECT_EQ(readLine.database(), pRead);
  EXPECT_EQ(CCommonUtils::getObjectClass(readLine), CString(L"AcDbLine"));
  EXPECT_EQ(CCommonUtils::getObjectClass(readCircle), CString(L"AcDbCircle"));
  AcDbObjectId inWorking;
  EXPECT_TRUE(CCommonUtils::GetObjectId(CCommonUtils::GetHandle(a), inWorking));
  EXPECT_EQ(inWorking, a);
  EXPECT_FALSE(CCommonUtils::GetObjectId(L"FFFFFF", inWorking, pRead));
  ExpectNothingOpen(pRead);
  delete pRead;
  fs::remove(file);
}

// ---- entities by layer and kind ----------------------------------------------------

TEST_F(SelectionTest, EntitiesOfALayerMatchItsNameExactly) {
  AcDbObjectId road = Line(0, 0, 1, 0, L"Road");
  AcDbObjectId lower = Line(0, 1, 1, 1, L"road");
  AcDbObjectId zero = Line(0, 2, 1, 2);
  AcDbObjectId erased = Line(0, 3, 1, 3, L"Road");
  Erase(erased);
  AcDbObjectIdArray arIds;
  ASSERT_EQ(CCommonUtils::getAllEntityOfLayer(L"Road", arIds), Acad::eOk);
  EXPECT_EQ(Ids(arIds), std::vector<AcDbObjectId>{road});
  arIds.removeAll();
  ASSERT_EQ(CCommonUtils::getAllEntityOfLayer(L"ROAD", arIds), Acad::eOk);
  EXPECT_TRUE(arIds.isEmpty());
  ASSERT_EQ(CCommonUtils::getAllEntityOfLayer(nullptr, arIds), Acad::eOk);
  EXPECT_EQ(Ids(arIds), (std::vector<AcDbObjectId>{road, lower, zero}));
  ASSERT_EQ(CCommonUtils::getAllEntityOfLayer(L"", arIds), Acad::eOk);
  EXPECT_EQ(arIds.length(), 6);  // appended again

  AcDbDatabase other;
  AcDbObjectIdArray arOther;
  Add(new AcDbLine(AcGePoint3d(), AcGePoint3d(1, 1, 0)), &other);
  ASSERT_EQ(CCommonUtils::getAllEntityOfLayer(L"0", arOther, &other), Acad::eOk);
  ASSERT_EQ(arOther.length(), 1);
  EXPECT_EQ(arOther[0].database(), &other);
  EXPECT_EQ(Out(), "");
}

TEST_F(SelectionTest, EntitiesOfAKindIncludeDerivedClasses) {
  AcDbObjectId line = Line(0, 0, 1, 0);
  AcDbObjectId pline = Pline({AcGePoint2d(0, 0), AcGePoint2d(1, 1)});
  AcDbObjectId text = Add(new AcDbText(AcGePoint3d(), L"标注"));
  AcDbObjectId point = Add(new AcDbPoint(AcGePoint3d()));
  AcDbObjectIdArray arIds;
  ASSERT_EQ(CCommonUtils::getAllEntitysOfKind(L"AcDbCurve", arIds), Acad::eOk);
  EXPECT_EQ(Ids(arIds), (std::vector<AcDbObjectId>{line, pline}));
  arIds.removeAll();
  ASSERT_EQ(CCommonUtils::getAllEntitysOfKind(L"AcDbPolyline", arIds), Acad::eOk);
  EXPECT_EQ(Ids(arIds), std::vector<AcDbObjectId>{pline});
  arIds.removeAll();
  ASSERT_EQ(CCommonUtils::getAllEntitysOfKind(L"AcDbEntity", arIds), Acad::eOk);
  EXPECT_EQ(arIds.length(), 4);
  arIds.removeAll();
  ASSERT_EQ(CCommonUtils::getAllEntitysOfKind(L"acdbcurve", arIds), Acad::eOk);  // class names are exact
  EXPECT_TRUE(arIds.isEmpty());

  EXPECT_TRUE(CCommonUtils::isEntityOfKind(L"AcDbText", text));
  EXPECT_FALSE(CCommonUtils::isEntityOfKind(L"AcDbCurve", point));
  EXPECT_FALSE(CCommonUtils::isEntityOfKind(L"NoSuchClass", line));
  EXPECT_FALSE(CCommonUtils::isEntityOfKind(L"", line));
  EXPECT_FALSE(CCommonUtils::isEntityOfKind(nullptr, line));
  EXPECT_FALSE(CCommonUtils::isEntityOfKind(L"AcDbCurve", AcDbObjectId::kNull));
  // A layer record is an object but no entity.
  EXPECT_FALSE(CCommonUtils::isEntityOfKind(L"AcDbObject", Db()->layerTableId()));
}

TEST_F(SelectionTest, ClassNamesOfObjects) {
  AcDbObjectId pline = Pline({AcGePoint2d(0, 0), AcGePoint2d(1, 1)});
  EXPECT_EQ(CCommonUtils::getObjectClass(pline), CString(L"AcDbPolyline"));
  EXPECT_STREQ(CCommonUtils::getObjectType(Db()->layerTableId()), L"AcDbLayerTable");
  EXPECT_EQ(CCommonUtils::getObjectClass(AcDbObjectId::kNull), CString());
  EXPECT_EQ(CCommonUtils::getObjectType(AcDbObjectId::kNull), nullptr);
  Erase(pline);
  EXPECT_EQ(CCommonUtils::getObjectType(pline), nullptr);
}

// ---- extended data ---------------------------------------------------------------

TEST_F(SelectionTest, EntitiesOfALayerWithAProperty) {
  AcDbObjectId a = Line(0, 0, 1, 0, L"Cells");
  AcDbObjectId b = Line(0, 1, 1, 1, L"Cells");
  AcDbObjectId c = Line(0, 2, 1, 2, L"Cells");
  AcDbObjectId elsewhere = Line(0, 3, 1, 3, L"Other");
  SetText(a, L"KXCELL", L"Cell-A");
  SetText(b, L"KXCELL", L"cell-a");
  SetText(c, L"KXOTHER", L"Cell-A");
  SetText(elsewhere, L"KXCELL", L"Cell-A");

  AcDbObjectIdArray arIds;
  CCommonUtils::GetAllObjectOfLayerWithProp(L"Cells", L"", L"ignored", arIds);
  EXPECT_EQ(Ids(arIds), (std::vector<AcDbObjectId>{a, b, c}));
  arIds.removeAll();
  CCommonUtils::GetAllObjectOfLayerWithProp(L"Cells", L"KXCELL", L"", arIds);
  EXPECT_EQ(Ids(arIds), (std::vector<AcDbObjectId>{a, b}));
  arIds.removeAll();
  CCommonUtils::GetAllObjectOfLayerWithProp(L"Cells", L"KXCELL", L"CELL-A", arIds);
  EXPECT_EQ(Ids(arIds), (std::vector<AcDbObjectId>{a, b}));  // the value ignores case
  arIds.removeAll();
  CCommonUtils::GetAllObjectOfLayerWithProp(L"Cells", L"KXCELL", L"Cell-B", arIds);
  EXPECT_TRUE(arIds.isEmpty());
  CCommonUtils::GetAllObjectOfLayerWithProp(L"", L"KXCELL", L"cell-a", arIds);
  EXPECT_EQ(Ids(arIds), (std::vector<AcDbObjectId>{a, b, elsewhere}));
}

TEST_F(SelectionTest, GroupByPropMakesOneCallerOwnedArrayPerText) {
  AcDbObjectId a = Line(0, 0, 1, 0);
  AcDbObjectId b = Line(0, 1, 1, 1);
  AcDbObjectId c = Line(0, 2, 1, 2);
  AcDbObjectId none = Line(0, 3, 1, 3);
  AcDbObjectId empty = Line(0, 4, 1, 4);
  SetText(a, L"KXCELL", L"North");
  SetText(b, L"KXCELL", L"South");
  SetText(c, L"KXCELL", L"North");
  SetText(empty, L"KXCELL", L"");
  AcDbObjectIdArray arIds;
  for (AcDbObjectId id : {a, b, c, none, empty}) arIds.append(id);

  CIdGroupMap mapGroups;
  CCommonUtils::GroupByProp(L"KXCELL", arIds, mapGroups);
  ASSERT_EQ(mapGroups.GetCount(), 2);
  AcDbObjectIdArray* pNorth = nullptr;
  AcDbObjectIdArray* pSouth = nullptr;
  ASSERT_TRUE(mapGroups.Lookup(L"North", pNorth));
  ASSERT_TRUE(mapGroups.Lookup(L"South", pSouth));
  EXPECT_EQ(Ids(*pNorth), (std::vector<AcDbObjectId>{a, c}));
  EXPECT_EQ(Ids(*pSouth), std::vector<AcDbObjectId>{b});
  EXPECT_EQ(pNorth->growLength(), 8);

  // A second call adds to the groups already there.
  AcDbObjectIdArray arMore;
  arMore.append(a);
  CCommonUtils::GroupByProp(L"KXCELL", arMore, mapGroups);
  EXPECT_EQ(mapGroups.GetCount(), 2);
  EXPECT_EQ(pNorth->length(), 3);

  CCommonUtils::GroupByProp(L"NOAPP", arIds, mapGroups);
  EXPECT_EQ(mapGroups.GetCount(), 2);

  // The arrays belong to the caller.
  POSITION pos = mapGroups.GetStartPosition();
  while (pos != NULL) {
    CString strKey;
    AcDbObjectIdArray* pGroup = nullptr;
    mapGroups.GetNextAssoc(pos, strKey, pGroup);
    delete pGroup;
  }
  mapGroups.RemoveAll();
}

// ---- erasing, highlighting, extents ----------------------------------------------------

// Records the document lock changes it hears of.
class LockWatcher : public AcApDocManagerReactor {
 public:
  void documentLockModeChanged(AcApDocument*, AcAp::DocLockMode, AcAp::DocLockMode current, AcAp::DocLockMode,
                               const ACHAR*) override {
    m_modes.push_back(current);
  }
  std::vector<AcAp::DocLockMode> m_modes;
};

TEST_F(SelectionTest, DeleteEntityTakesTheLockOnlyToOpen) {
  AcDbObjectId a = Line(0, 0, 1, 0);
  LockWatcher watcher;
  acDocManager->addReactor(&watcher);
  EXPECT_TRUE(CCommonUtils::deleteEntity(a));
  EXPECT_TRUE(a.isErased());
  ASSERT_EQ(watcher.m_modes.size(), 2u);
  EXPECT_EQ(watcher.m_modes[0], AcAp::kWrite);
  EXPECT_NE(watcher.m_modes[1], AcAp::kWrite);
  // An erased or null id cannot be opened; the lock is still given back.
  EXPECT_FALSE(CCommonUtils::deleteEntity(a));
  EXPECT_FALSE(CCommonUtils::deleteEntity(AcDbObjectId::kNull));
  EXPECT_EQ(watcher.m_modes.size(), 6u);
  acDocManager->removeReactor(&watcher);

  // An entity someone holds open for write is left alone.
  AcDbObjectId held = Line(0, 1, 1, 1);
  AcDbEntity* pHeld = nullptr;
  ASSERT_EQ(acdbOpenObject(pHeld, held, AcDb::kForWrite), Acad::eOk);
  EXPECT_FALSE(CCommonUtils::deleteEntity(held));
  pHeld->close();
  EXPECT_FALSE(held.isErased());
}

TEST_F(SelectionTest, DeleteEntitiesErasesEveryIdItCan) {
  AcDbObjectId a = Line(0, 0, 1, 0);
  AcDbObjectId b = Line(0, 1, 1, 1);
  AcDbObjectId c = Line(0, 2, 1, 2);
  AcDbObjectIdArray arIds;
  arIds.append(a);
  arIds.append(AcDbObjectId::kNull);
  arIds.append(b);
  EXPECT_FALSE(CCommonUtils::deleteEntity(arIds));  // the null id fails, the others go
  EXPECT_TRUE(a.isErased());
  EXPECT_TRUE(b.isErased());
  AcDbObjectIdArray arLast;
  arLast.append(c);
  EXPECT_TRUE(CCommonUtils::deleteEntities(arLast));
  EXPECT_TRUE(c.isErased());
  EXPECT_TRUE(CCommonUtils::deleteEntities(AcDbObjectIdArray()));
}

TEST_F(SelectionTest, HighlightOnAndOff) {
  AcDbObjectId a = Line(0, 0, 1, 0);
  auto highlighted = [&]() {
    AcDbEntity* pEnt = nullptr;
    EXPECT_EQ(acdbOpenObject(pEnt, a, AcDb::kForRead), Acad::eOk);
    bool b = pEnt->isHighlighted();
    pEnt->close();
    return b;
  };
  EXPECT_EQ(CCommonUtils::highLightEntity(a, true), Acad::eOk);
  EXPECT_TRUE(highlighted());
  EXPECT_EQ(CCommonUtils::highLightEntity(a, false), Acad::eOk);
  EXPECT_FALSE(highlighted());
  EXPECT_NE(CCommonUtils::highLightEntity(AcDbObjectId::kNull, true), Acad::eOk);
}

TEST_F(SelectionTest, ExtentsOfEntitiesAreTheirUnion) {
  AcDbObjectIdArray arIds;
  arIds.append(Line(-1, 2, 3, 2));
  arIds.append(Add(new AcDbCircle(AcGePoint3d(5, 5, 0), AcGeVector3d::kZAxis, 1)));
  AcGePoint3d ptMin, ptMax;
  ASSERT_TRUE(CCommonUtils::getEntitiesExt(arIds, ptMin, ptMax));
  EXPECT_EQ(ptMin, AcGePoint3d(-1, 2, 0));
  EXPECT_EQ(ptMax, AcGePoint3d(6, 6, 0));

  AcGePoint3d ptKeepMin(9, 9, 9), ptKeepMax(9, 9, 9);
  EXPECT_FALSE(CCommonUtils::getEntitiesExt(AcDbObjectIdArray(), ptKeepMin, ptKeepMax));
  arIds.append(AcDbObjectId::kNull);
  EXPECT_FALSE(CCommonUtils::getEntitiesExt(arIds, ptKeepMin, ptKeepMax));
  EXPECT_EQ(ptKeepMin, AcGePoint3d(9, 9, 9));
}

}  // namespace
