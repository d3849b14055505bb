// The drawing database: the default drawing, symbol tables, entities,
// dictionaries, extended data, extension dictionaries, views, line types and
// result buffers.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "dbcurves.h"
#include "dbdatabase.h"
#include "dbdict.h"
#include "dbsymtb.h"

namespace {

AcDbObjectId ModelSpaceId(AcDbDatabase& db) {
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(db.getBlockTable(table, AcDb::kForRead), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, id), Acad::eOk);
  table->close();
  return id;
}

AcDbObjectId AppendLine(AcDbDatabase& db, AcDbLine* line) {
  AcDbBlockTableRecord* ms = nullptr;
  EXPECT_EQ(acdbOpenObject(ms, ModelSpaceId(db), AcDb::kForWrite), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(ms->appendAcDbEntity(id, line), Acad::eOk);
  line->close();
  ms->close();
  return id;
}

TEST(AcadDefaultDrawing, HasTheStandardRecords) {
  AcDbDatabase db;
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db.getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(layers->has(L"0"));
  layers->close();
  AcDbLinetypeTable* ltypes = nullptr;
  ASSERT_EQ(db.getLinetypeTable(ltypes, AcDb::kForRead), Acad::eOk);
  for (const ACHAR* name : {L"CONTINUOUS", L"BYLAYER", L"BYBLOCK"}) EXPECT_TRUE(ltypes->has(name)) << name;
  ltypes->close();
  AcDbTextStyleTable* styles = nullptr;
  ASSERT_EQ(db.getTextStyleTable(styles, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(styles->has(L"Standard"));
  styles->close();
  AcDbBlockTable* blocks = nullptr;
  ASSERT_EQ(db.getBlockTable(blocks, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(blocks->has(L"*Model_Space"));
  EXPECT_TRUE(blocks->has(L"*MODEL_SPACE"));
  EXPECT_TRUE(blocks->has(L"*Paper_Space"));
  blocks->close();
  EXPECT_TRUE(db.hasRegApp(L"ACAD"));
  AcDbDictionary* nod = nullptr;
  ASSERT_EQ(db.getNamedObjectsDictionary(nod, AcDb::kForRead), Acad::eOk);
  nod->close();
  AcDbLayerTableRecord* current = nullptr;
  ASSERT_EQ(acdbOpenObject(current, db.clayer(), AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(current->name(), L"0");
  current->close();
  EXPECT_EQ(db.celtype(), db.byLayerLinetype());
  EXPECT_EQ(db.cecolor().colorIndex(), 256);
}

TEST(AcadSymbolTables, AddLookUpIterateInOrder) {
  AcDbDatabase db;
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db.getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  auto* road = new AcDbLayerTableRecord();
  ASSERT_EQ(road->setName(L"Road"), Acad::eOk);
  // Adding needs the table open for write.
  EXPECT_EQ(layers->add(road), Acad::eNotOpenForWrite);
  ASSERT_EQ(layers->upgradeOpen(), Acad::eOk);
  AcDbObjectId roadId;
  ASSERT_EQ(layers->add(roadId, road), Acad::eOk);
  AcCmColor red;
  red.setColorIndex(1);
  road->setColor(red);
  road->setIsOff(true);
  road->setIsFrozen(true);
  road->close();
  auto* dup = new AcDbLayerTableRecord();
  dup->setName(L"ROAD");
  EXPECT_EQ(layers->add(dup), Acad::eDuplicateRecordName);
  delete dup;
  auto* bad = new AcDbLayerTableRecord();
  EXPECT_EQ(bad->setName(L"a<b"), Acad::eInvalidSymbolTableName);
  EXPECT_EQ(bad->setName(L""), Acad::eInvalidSymbolTableName);
  delete bad;
  auto* wall = new AcDbLayerTableRecord();
  wall->setName(L"Wall");
  layers->add(wall);
  wall->close();

  AcDbObjectId found;
  EXPECT_EQ(layers->getAt(L"road", found), Acad::eOk);
  EXPECT_EQ(found, roadId);
  EXPECT_EQ(layers->getAt(L"missing", found), Acad::eKeyNotFound);

  std::vector<std::wstring> names;
  AcDbSymbolTableIterator* it = nullptr;
  layers->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbLayerTableRecord* rec = nullptr;
    ASSERT_EQ(it->getRecord(rec, AcDb::kForRead), Acad::eOk);
    names.push_back(rec->name());
    rec->close();
  }
  delete it;
  EXPECT_EQ(names, (std::vector<std::wstring>{L"0", L"Road", L"Wall"}));
  layers->close();

  // Erased records are found only on request.
  AcDbLayerTableRecord* w = nullptr;
  ASSERT_EQ(acdbOpenObject(w, roadId, AcDb::kForWrite), Acad::eOk);
  EXPECT_TRUE(w->isOff());
  EXPECT_TRUE(w->isFrozen());
  EXPECT_EQ(w->color().colorIndex(), 1);
  w->erase();
  w->close();
  db.getLayerTable(layers, AcDb::kForRead);
  EXPECT_FALSE(layers->has(L"Road"));
  EXPECT_EQ(layers->getAt(L"Road", found), Acad::eKeyNotFound);
  EXPECT_EQ(layers->getAt(L"Road", found, true), Acad::eOk);
  layers->close();
}

TEST(AcadEntities, TakeTheCurrentPropertiesAndAcceptOnlyKnownLayers) {
  AcDbDatabase db;
  AcDbLayerTable* layers = nullptr;
  db.getLayerTable(layers, AcDb::kForWrite);
  auto* rec = new AcDbLayerTableRecord();
  rec->setName(L"Points");
  AcDbObjectId layerId;
  layers->add(layerId, rec);
  rec->close();
  layers->close();
  ASSERT_EQ(db.setClayer(layerId), Acad::eOk);
  AcCmColor green;
  green.setColorIndex(3);
  db.setCecolor(green);

  AcDbObjectId id = AppendLine(db, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
  AcDbLine* line = nullptr;
  ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(line->layerName(), L"Points");
  EXPECT_EQ(line->layerId(), layerId);
  EXPECT_EQ(line->colorIndex(), 3);
  EXPECT_EQ(line->setLayer(L"NoSuchLayer"), Acad::eKeyNotFound);
  EXPECT_EQ(line->setLayer(L"0"), Acad::eOk);
  ACHAR* name = line->layer();
  EXPECT_STREQ(name, L"0");
  acutDelString(name);
  EXPECT_EQ(name, nullptr);
  line->close();

  // Properties set before appending are kept.
  auto* own = new AcDbLine();
  own->setColorIndex(5);
  own->setLayer(L"0");
  AcDbObjectId ownId = AppendLine(db, own);
  ASSERT_EQ(acdbOpenObject(line, ownId, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(line->colorIndex(), 5);
  EXPECT_EQ(line->layerName(), L"0");
  line->close();
}

TEST(AcadDictionaries, SetGetRemoveWithXrecords) {
  AcDbDatabase db;
  AcDbDictionary* nod = nullptr;
  ASSERT_EQ(db.getNamedObjectsDictionary(nod, AcDb::kForWrite), Acad::eOk);
  auto* sub = new AcDbDictionary();
  AcDbObjectId subId;
  ASSERT_EQ(nod->setAt(L"CaseInfo", sub, subId), Acad::eOk);
  auto* xrec = new AcDbXrecord();
  AcDbObjectId xrecId;
  ASSERT_EQ(sub->setAt(L"Project", xrec, xrecId), Acad::eOk);
  resbuf* data = acutBuildList(1, L"楼层一", 40, 2.5, 70, 7, 0);
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(xrec->setFromRbChain(*data), Acad::eOk);
  acutRelRb(data);
  xrec->close();
  sub->close();
  nod->close();

  ASSERT_EQ(db.getNamedObjectsDictionary(nod, AcDb::kForRead), Acad::eOk);
  AcDbDictionary* again = nullptr;
  ASSERT_EQ(nod->getAt(L"caseinfo", again, AcDb::kForRead), Acad::eOk);  // keys ignore case
  AcDbXrecord* read = nullptr;
  ASSERT_EQ(again->getAt(L"PROJECT", read, AcDb::kForRead), Acad::eOk);
  resbuf* chain = nullptr;
  ASSERT_EQ(read->rbChain(&chain), Acad::eOk);
  ASSERT_NE(chain, nullptr);
  EXPECT_EQ(chain->restype, 1);
  EXPECT_STREQ(chain->resval.rstring, L"楼层一");
  ASSERT_NE(chain->rbnext, nullptr);
  EXPECT_DOUBLE_EQ(chain->rbnext->resval.rreal, 2.5);
  ASSERT_NE(chain->rbnext->rbnext, nullptr);
  EXPECT_EQ(chain->rbnext->rbnext->resval.rint, 7);
  acutRelRb(chain);
  read->close();
  AcDbObject* missing = nullptr;
  EXPECT_EQ(again->getAt(L"Nope", missing, AcDb::kForRead), Acad::eKeyNotFound);
  EXPECT_EQ(again->numEntries(), 1u);
  again->close();
  nod->close();

  // Removing takes the entry out.
  ASSERT_EQ(acdbOpenObject(again, subId, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(again->remove(L"project"), Acad::eOk);
  EXPECT_FALSE(again->has(L"Project"));
  EXPECT_EQ(again->remove(L"project"), Acad::eKeyNotFound);
  again->close();
}

TEST(AcadExtendedData, PerApplicationListsReplaceAndRemove) {
  AcDbDatabase db;
  AcDbObjectId id = AppendLine(db, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  AcDbLine* line = nullptr;
  ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
  resbuf* xd = acutBuildList(1001, L"KXL", 1000, L"first", 0);
  // The application must be registered first.
  EXPECT_EQ(line->setXData(xd), Acad::eRegappIdNotFound);
  AcDbRegAppTable* apps = nullptr;
  db.getRegAppTable(apps, AcDb::kForWrite);
  auto* app = new AcDbRegAppTableRecord();
  app->setName(L"KXL");
  apps->add(app);
  app->close();
  auto* app2 = new AcDbRegAppTableRecord();
  app2->setName(L"OTHER");
  apps->add(app2);
  app2->close();
  apps->close();
  EXPECT_EQ(line->setXData(xd), Acad::eOk);
  acutRelRb(xd);
  ads_point pt = {1, 2, 3};
  xd = acutBuildList(1001, L"OTHER", 1010, pt, 1070, 12, 0);
  EXPECT_EQ(line->setXData(xd), Acad::eOk);
  acutRelRb(xd);

  resbuf* got = line->xData(L"kxl");
  ASSERT_NE(got, nullptr);
  EXPECT_STREQ(got->resval.rstring, L"KXL");
  ASSERT_NE(got->rbnext, nullptr);
  EXPECT_STREQ(got->rbnext->resval.rstring, L"first");
  EXPECT_EQ(got->rbnext->rbnext, nullptr);  // only the application asked for
  acutRelRb(got);
  // Replacing one application's data keeps the other's.
  xd = acutBuildList(1001, L"KXL", 1000, L"second", 0);
  line->setXData(xd);
  acutRelRb(xd);
  got = line->xData();
  int apps1001 = 0;
  for (resbuf* r = got; r; r = r->rbnext) apps1001 += r->restype == 1001;
  EXPECT_EQ(apps1001, 2);
  acutRelRb(got);
  // An application alone removes its data.
  xd = acutBuildList(1001, L"KXL", 0);
  line->setXData(xd);
  acutRelRb(xd);
  EXPECT_EQ(line->xData(L"KXL"), nullptr);
  EXPECT_TRUE(line->hasXData(L"OTHER"));
  line->close();
}

TEST(AcadExtensionDictionaries, CreatedOnceAndReleasedWhenEmpty) {
  AcDbDatabase db;
  AcDbObjectId id = AppendLine(db, new AcDbLine());
  AcDbLine* line = nullptr;
  ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_TRUE(line->extensionDictionary().isNull());
  ASSERT_EQ(line->createExtensionDictionary(), Acad::eOk);
  AcDbObjectId dictId = line->extensionDictionary();
  EXPECT_FALSE(dictId.isNull());
  EXPECT_EQ(line->createExtensionDictionary(), Acad::eAlreadyInDb);
  AcDbDictionary* dict = nullptr;
  ASSERT_EQ(acdbOpenObject(dict, dictId, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(dict->ownerId(), id);
  AcDbObjectId recId;
  dict->setAt(L"k", new AcDbXrecord(), recId);
  AcDbObject* rec = nullptr;
  acdbOpenObject(rec, recId, AcDb::kForWrite);
  EXPECT_EQ(rec, nullptr);  // still open for write from setAt
  dict->close();
  EXPECT_EQ(line->releaseExtensionDictionary(), Acad::eContainerNotEmpty);
  line->close();
}

// Extended data and the extension dictionary are kept together apart from
// the object: each comes and goes without the other, and a copy takes the
// extended data only.
TEST(AcadExtensionDictionaries, ApartFromExtendedDataAndNotCopied) {
  AcDbDatabase db;
  AcDbObjectId id = AppendLine(db, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  AcDbLine* line = nullptr;
  ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
  resbuf* xd = acutBuildList(1001, L"ACAD", 1000, L"kept", 0);
  ASSERT_EQ(line->setXData(xd), Acad::eOk);
  acutRelRb(xd);
  ASSERT_EQ(line->createExtensionDictionary(), Acad::eOk);
  std::unique_ptr<AcDbLine> copy(static_cast<AcDbLine*>(line->clone()));
  EXPECT_TRUE(copy->hasXData(L"ACAD"));
  EXPECT_TRUE(copy->extensionDictionary().isNull());
  // The empty dictionary goes; the extended data stays.
  EXPECT_EQ(line->releaseExtensionDictionary(), Acad::eOk);
  EXPECT_TRUE(line->extensionDictionary().isNull());
  EXPECT_TRUE(line->hasXData(L"ACAD"));
  ASSERT_EQ(line->createExtensionDictionary(), Acad::eOk);
  // The extended data goes; the dictionary stays.
  xd = acutBuildList(1001, L"ACAD", 0);
  ASSERT_EQ(line->setXData(xd), Acad::eOk);
  acutRelRb(xd);
  EXPECT_EQ(line->xData(), nullptr);
  EXPECT_FALSE(line->extensionDictionary().isNull());
  line->close();
}

TEST(AcadViews, RecordsKnowWhichPropertiesWereSet) {
  AcDbViewTableRecord view;
  EXPECT_FALSE(view.isPropertySet(AcDbAbstractViewTableRecord::kCenter));
  view.setCenterPoint(AcGePoint2d(5, 10));
  view.setHeight(30);
  EXPECT_TRUE(view.isPropertySet(AcDbAbstractViewTableRecord::kCenter));
  EXPECT_TRUE(view.isPropertySet(AcDbAbstractViewTableRecord::kHeight));
  EXPECT_FALSE(view.isPropertySet(AcDbAbstractViewTableRecord::kDirection));
  EXPECT_FALSE(view.isPropertySet(AcDbAbstractViewTableRecord::kTwist));
}

TEST(AcadLinetypes, LoadedFromALinFile) {
  std::string path = ::testing::TempDir() + "acad_test.lin";
  {
    std::ofstream f(path);
    f << ";; comment line\n"
      << "*DASHED,Dashed __ __ __\n"
      << "A,.5,-.25\n"
      << "*BORDER,Border __ __ . __ __ .\n"
      << "A,.5,-.25,.5,-.25,0,-.25\n"
      << "*GAS_LINE,Gas line ----GAS----\n"
      << "A,.5,-.2,[\"GAS\",STANDARD,S=.1,R=0.0,X=-0.1,Y=-.05],-.25\n";
  }
  std::wstring wpath(path.begin(), path.end());
  AcDbDatabase db;
  ASSERT_EQ(db.loadLineTypeFile(L"dashed", wpath.c_str()), Acad::eOk);
  EXPECT_EQ(db.loadLineTypeFile(L"DASHED", wpath.c_str()), Acad::eDuplicateRecordName);
  EXPECT_EQ(db.loadLineTypeFile(L"NOSUCH", wpath.c_str()), Acad::eUndefinedLineType);
  EXPECT_NE(db.loadLineTypeFile(L"DASHED", L"/no/such/file.lin"), Acad::eOk);
  ASSERT_EQ(db.loadLineTypeFile(L"*", wpath.c_str()), Acad::eOk);  // the rest
  AcDbLinetypeTable* table = nullptr;
  db.getLinetypeTable(table, AcDb::kForRead);
  AcDbLinetypeTableRecord* rec = nullptr;
  ASSERT_EQ(table->getAt(L"DASHED", rec, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(rec->numDashes(), 2);
  EXPECT_DOUBLE_EQ(rec->dashLengthAt(1), -0.25);
  EXPECT_DOUBLE_EQ(rec->patternLength(), 0.75);
  const ACHAR* comments = nullptr;
  rec->comments(comments);
  EXPECT_STREQ(comments, L"Dashed __ __ __");
  rec->close();
  ASSERT_EQ(table->getAt(L"GAS_LINE", rec, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(rec->numDashes(), 3);
  EXPECT_EQ(rec->elementAt(1).text, L"GAS");
  EXPECT_DOUBLE_EQ(rec->elementAt(1).scale, 0.1);
  rec->close();
  EXPECT_TRUE(table->has(L"BORDER"));
  table->close();
  std::remove(path.c_str());
}
}  // namespace

TEST(AcadResultBuffers, BuildListEndsAtZeroOrRtNone) {
  // Host code ends its lists with RTNONE as often as with 0; either must stop
  // the list without reading further arguments.
  resbuf* a = acutBuildList(RTDXF0, L"LWPOLYLINE", 8, L"route", RTNONE);
  resbuf* b = acutBuildList(RTDXF0, L"LWPOLYLINE", 8, L"route", 0);
  for (resbuf* list : {a, b}) {
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->restype, RTDXF0);
    ASSERT_NE(list->rbnext, nullptr);
    EXPECT_EQ(list->rbnext->restype, 8);
    EXPECT_STREQ(list->rbnext->resval.rstring, L"route");
    EXPECT_EQ(list->rbnext->rbnext, nullptr);
    acutRelRb(list);
  }
}
