// The graphics text style filled from text-style records.
#include <gtest/gtest.h>

#include <string>

#include "acgi.h"
#include "dbcurves.h"
#include "dbdatabase.h"
#include "dbsymtb.h"

namespace {

AcDbObjectId AddStyle(AcDbDatabase& db, AcDbTextStyleTableRecord* record) {
  AcDbTextStyleTable* table = nullptr;
  EXPECT_EQ(db.getTextStyleTable(table, AcDb::kForWrite), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(table->add(id, record), Acad::eOk);
  record->close();
  table->close();
  return id;
}

TEST(AcadGiTextStyle, ShapeFontStyleIsCopiedFieldByField) {
  AcDbDatabase db;
  auto* record = new AcDbTextStyleTableRecord();
  ASSERT_EQ(record->setName(L"Dim"), Acad::eOk);
  ASSERT_EQ(record->setFileName(L"romans.shx"), Acad::eOk);
  ASSERT_EQ(record->setBigFontFileName(L"gbcbig.shx"), Acad::eOk);
  ASSERT_EQ(record->setTextSize(3.5), Acad::eOk);
  ASSERT_EQ(record->setXScale(0.7), Acad::eOk);
  record->setObliquingAngle(0.25);
  record->setFlagBits(2 | 4);
  record->setIsVertical(true);
  AcDbObjectId id = AddStyle(db, record);

  AcGiTextStyle gi;
  ASSERT_EQ(fromAcDbTextStyle(gi, id), Acad::eOk);
  EXPECT_STREQ(gi.fileName(), L"romans.shx");
  EXPECT_STREQ(gi.bigFontFileName(), L"gbcbig.shx");
  EXPECT_DOUBLE_EQ(gi.textSize(), 3.5);
  EXPECT_DOUBLE_EQ(gi.xScale(), 0.7);
  EXPECT_DOUBLE_EQ(gi.obliquingAngle(), 0.25);
  EXPECT_DOUBLE_EQ(gi.trackingPercent(), 1.0);
  EXPECT_TRUE(gi.isBackward());
  EXPECT_TRUE(gi.isUpsideDown());
  EXPECT_TRUE(gi.isVertical());
  EXPECT_STREQ(gi.styleName(), L"Dim");
  EXPECT_EQ(gi.loadStyleRec(), 3);

  // The record was closed again: it opens for write.
  AcDbObject* obj = nullptr;
  ASSERT_EQ(acdbOpenObject(obj, id, AcDb::kForWrite), Acad::eOk);
  obj->close();
}

TEST(AcadGiTextStyle, TrueTypeStyleCarriesItsTypeface) {
  AcDbDatabase db;
  auto* record = new AcDbTextStyleTableRecord();
  ASSERT_EQ(record->setName(L"Song"), Acad::eOk);
  ASSERT_EQ(record->setFont(L"宋体", true, false, 134, 7), Acad::eOk);
  AcDbObjectId id = AddStyle(db, record);

  AcGiTextStyle gi(L"old.shx", L"old_big.shx", 9, 2, 1);
  ASSERT_EQ(fromAcDbTextStyle(gi, id), Acad::eOk);
  const ACHAR* typeface = nullptr;
  bool bold = false, italic = true;
  int charset = 0, pitch = 0;
  ASSERT_EQ(gi.font(typeface, bold, italic, charset, pitch), Acad::eOk);
  EXPECT_STREQ(typeface, L"宋体");
  EXPECT_TRUE(bold);
  EXPECT_FALSE(italic);
  EXPECT_EQ(charset, 134);
  EXPECT_EQ(pitch, 7);
  // Nothing of the earlier content survives.
  EXPECT_STREQ(gi.bigFontFileName(), L"");
  EXPECT_DOUBLE_EQ(gi.xScale(), 1.0);
  EXPECT_EQ(gi.loadStyleRec(), 1);
}

TEST(AcadGiTextStyle, RefusesNullIdsAndOtherObjects) {
  AcDbDatabase db;
  AcGiTextStyle gi;
  EXPECT_EQ(fromAcDbTextStyle(gi, AcDbObjectId::kNull), Acad::eNullObjectId);
  EXPECT_EQ(fromAcDbTextStyle(gi, db.clayer()), Acad::eNotThatKindOfClass);
  EXPECT_EQ(gi.loadStyleRec(), 0);  // still empty

  // A style already open for write cannot be read.
  AcDbTextStyleTableRecord* open = nullptr;
  ASSERT_EQ(acdbOpenObject(open, db.textstyle(), AcDb::kForWrite), Acad::eOk);
  EXPECT_NE(fromAcDbTextStyle(gi, db.textstyle()), Acad::eOk);
  open->close();
  EXPECT_EQ(fromAcDbTextStyle(gi, db.textstyle()), Acad::eOk);
  EXPECT_STREQ(gi.styleName(), L"Standard");
}

}  // namespace
