// The open protocol of database objects, runtime classes and handles.
#include <gtest/gtest.h>

#include <string>

#include "dbcurves.h"
#include "dbdatabase.h"
#include "dbsymtb.h"

namespace {

// Appends a line to model space and closes everything; returns its id.
AcDbObjectId AppendLine(AcDbDatabase& db) {
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(db.getBlockTable(table, AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecord* ms = nullptr;
  EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite), Acad::eOk);
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
  AcDbObjectId id;
  EXPECT_EQ(ms->appendAcDbEntity(id, line), Acad::eOk);
  line->close();
  ms->close();
  table->close();
  return id;
}

TEST(AcadOpenProtocol, ManyReadersButOneWriter) {
  AcDbDatabase db;
  AcDbObjectId id = AppendLine(db);
  AcDbLine* r1 = nullptr;
  AcDbLine* r2 = nullptr;
  ASSERT_EQ(acdbOpenObject(r1, id, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(acdbOpenObject(r2, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(r1, r2);
  AcDbLine* w = nullptr;
  EXPECT_EQ(acdbOpenObject(w, id, AcDb::kForWrite), Acad::eWasOpenedForRead);
  EXPECT_EQ(w, nullptr);
  // Two readers: no upgrade.
  EXPECT_EQ(r1->upgradeOpen(), Acad::eHadMultipleReaders);
  r2->close();
  EXPECT_EQ(r1->upgradeOpen(), Acad::eOk);
  EXPECT_TRUE(r1->isWriteEnabled());
  AcDbLine* r3 = nullptr;
  EXPECT_EQ(acdbOpenObject(r3, id, AcDb::kForRead), Acad::eWasOpenedForWrite);
  EXPECT_EQ(acdbOpenObject(w, id, AcDb::kForWrite), Acad::eWasOpenedForWrite);
  EXPECT_EQ(r1->downgradeOpen(), Acad::eOk);
  EXPECT_FALSE(r1->isWriteEnabled());
  EXPECT_EQ(r1->close(), Acad::eOk);
  // Fully closed now: a writer may come.
  ASSERT_EQ(acdbOpenObject(w, id, AcDb::kForWrite), Acad::eOk);
  w->close();
  // Closing more often than opened is reported, not counted below zero.
  EXPECT_NE(w->close(), Acad::eOk);
}

TEST(AcadOpenProtocol, ChangesStayAfterClose) {
  AcDbDatabase db;
  AcDbObjectId id = AppendLine(db);
  AcDbLine* line = nullptr;
  ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
  line->setEndPoint(AcGePoint3d(3, 4, 0));
  line->close();
  ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(line->endPoint().isEqualTo(AcGePoint3d(3, 4, 0)));
  // A reader cannot change the object.
  EXPECT_EQ(line->setEndPoint(AcGePoint3d(9, 9, 9)), Acad::eNotOpenForWrite);
  EXPECT_TRUE(line->endPoint().isEqualTo(AcGePoint3d(3, 4, 0)));
  line->close();
}

TEST(AcadOpenProtocol, ErasedObjectsAreNotHandedOutAsAlive) {
  AcDbDatabase db;
  AcDbObjectId id = AppendLine(db);
  AcDbObject* obj = nullptr;
  ASSERT_EQ(acdbOpenObject(obj, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(obj->erase(), Acad::eNotOpenForWrite);  // erasing needs write access
  ASSERT_EQ(obj->upgradeOpen(), Acad::eOk);
  EXPECT_EQ(obj->erase(), Acad::eOk);
  obj->close();
  EXPECT_TRUE(id.isErased());
  EXPECT_EQ(acdbOpenObject(obj, id, AcDb::kForRead), Acad::eWasErased);
  EXPECT_EQ(obj, nullptr);
  // Model space iteration skips it unless asked.
  AcDbBlockTable* table = nullptr;
  db.getBlockTable(table, AcDb::kForRead);
  AcDbSymbolTableRecord* rec = nullptr;
  table->getAt(ACDB_MODEL_SPACE, rec, AcDb::kForRead);
  table->close();
  AcDbBlockTableRecordIterator* it = nullptr;
  static_cast<AcDbBlockTableRecord*>(rec)->newIterator(it);
  EXPECT_TRUE(it->done());
  delete it;
  static_cast<AcDbBlockTableRecord*>(rec)->newIterator(it, true, false);
  EXPECT_FALSE(it->done());
  delete it;
  rec->close();
  // Unerase brings it back.
  ASSERT_EQ(acdbOpenObject(obj, id, AcDb::kForWrite, true), Acad::eOk);
  EXPECT_EQ(obj->erase(false), Acad::eOk);
  obj->close();
  EXPECT_EQ(acdbOpenObject(obj, id, AcDb::kForRead), Acad::eOk);
  obj->close();
}

TEST(AcadOpenProtocol, NullIdsWrongClassesAndGoneDatabases) {
  AcDbObject* obj = nullptr;
  EXPECT_EQ(acdbOpenObject(obj, AcDbObjectId::kNull, AcDb::kForRead), Acad::eNullObjectId);
  AcDbObjectId id;
  {
    AcDbDatabase db;
    id = AppendLine(db);
    AcDbCircle* circle = nullptr;
    EXPECT_EQ(acdbOpenObject(circle, id, AcDb::kForRead), Acad::eNotThatKindOfClass);
    // The failed typed open leaves the object closed.
    AcDbLine* line = nullptr;
    EXPECT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
    line->close();
  }
}

TEST(AcadOpenProtocol, DeletedObjectsAreGoneForGood) {
  AcDbDatabase db;
  AcDbObjectId id = AppendLine(db);
  AcDbObject* obj = nullptr;
  ASSERT_EQ(acdbOpenObject(obj, id, AcDb::kForWrite), Acad::eOk);
  delete obj;  // a caller's mistake the database survives
  EXPECT_EQ(acdbOpenObject(obj, id, AcDb::kForRead), Acad::ePermanentlyErased);
  EXPECT_EQ(obj, nullptr);
  EXPECT_FALSE(id.isResident());
  // Iteration no longer meets it and the drawing still saves.
  AcDbBlockTable* table = nullptr;
  db.getBlockTable(table, AcDb::kForRead);
  AcDbBlockTableRecord* ms = nullptr;
  table->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForRead);
  table->close();
  AcDbBlockTableRecordIterator* it = nullptr;
  ms->newIterator(it);
  EXPECT_TRUE(it->done());
  delete it;
  ms->close();
  std::string text;
  EXPECT_EQ(db.dxfOut(text), Acad::eOk);
  EXPECT_EQ(text.find("\nLINE\n"), std::string::npos);
}

TEST(AcadRuntimeClasses, KindOfCastAndDictionary) {
  AcDbLine line;
  EXPECT_TRUE(line.isKindOf(AcDbCurve::desc()));
  EXPECT_TRUE(line.isKindOf(AcDbEntity::desc()));
  EXPECT_FALSE(line.isKindOf(AcDbCircle::desc()));
  EXPECT_EQ(AcDbCurve::cast(&line), &line);
  EXPECT_EQ(AcDbArc::cast(&line), nullptr);
  EXPECT_STREQ(line.isA()->name(), L"AcDbLine");
  EXPECT_STREQ(AcDbLine::desc()->dxfName(), L"LINE");
  AcRxClass* found = AcRxClass::cast(acrxClassDictionary->at(L"AcDbPolyline"));
  ASSERT_NE(found, nullptr);
  EXPECT_TRUE(found->isDerivedFrom(AcDbCurve::desc()));
  EXPECT_EQ(acrxClassDictionary->at(L"NoSuchClass"), nullptr);
  EXPECT_EQ(AcRxDictionary::cast(acrxSysRegistry()->at(ACRX_CLASS_DICTIONARY)), acrxClassDictionary);
  AcRxObject* made = found->create();
  EXPECT_NE(AcDbCurve::cast(made), nullptr);
  delete made;
}

TEST(AcadHandles, HexadecimalTextBothWays) {
  AcDbHandle h(L"1A2b");
  EXPECT_EQ(h.value(), 0x1A2Bu);
  ACHAR buf[17];
  ASSERT_TRUE(h.getIntoAsciiBuffer(buf, 17));
  EXPECT_STREQ(buf, L"1A2B");
  EXPECT_TRUE(AcDbHandle(L"xyz").isNull());
  EXPECT_TRUE(AcDbHandle(L"12345678901234567").isNull());  // longer than 64 bits
  ACHAR tiny[2];
  EXPECT_FALSE(h.getIntoAsciiBuffer(tiny, 2));
}

TEST(AcadHandles, EveryNewObjectGetsItsOwnHandleAndTheDatabaseFindsIt) {
  AcDbDatabase db;
  AcDbObjectId a = AppendLine(db), b = AppendLine(db);
  EXPECT_NE(a.handle(), b.handle());
  AcDbObjectId found;
  ASSERT_EQ(db.getAcDbObjectId(found, false, b.handle()), Acad::eOk);
  EXPECT_EQ(found, b);
  EXPECT_EQ(db.getAcDbObjectId(found, false, AcDbHandle(0xFFFFFF)), Acad::eUnknownHandle);
  EXPECT_EQ(a.database(), &db);
}
}  // namespace
