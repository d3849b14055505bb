// Entities other than curves: clones, transformed copies, text, multiline
// text, block references and points.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "dbblkref.h"
#include "dbcurves.h"
#include "dbdatabase.h"
#include "dbpline.h"
#include "dbpoint.h"
#include "dbsymtb.h"
#include "dbtext.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

TEST(AcadClone, CopiesDataAndPropertiesButNotTheDatabase) {
  AcDbDatabase db;
  AcDbBlockTable* bt = nullptr;
  db.getBlockTable(bt, AcDb::kForRead);
  AcDbBlockTableRecord* ms = nullptr;
  bt->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite);
  bt->close();
  auto* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(0, 0), 0.5, 1, 2);
  pl->addVertexAt(1, AcGePoint2d(3, 0));
  pl->setClosed(true);
  pl->setColorIndex(6);
  ms->appendAcDbEntity(pl);
  std::unique_ptr<AcDbPolyline> copy(static_cast<AcDbPolyline*>(pl->clone()));
  pl->close();
  ms->close();
  ASSERT_NE(copy, nullptr);
  EXPECT_TRUE(copy->isNewObject());
  EXPECT_EQ(copy->database(), nullptr);
  EXPECT_TRUE(copy->objectId().isNull());
  EXPECT_EQ(copy->numVerts(), 2u);
  EXPECT_TRUE(copy->isClosed());
  EXPECT_EQ(copy->colorIndex(), 6);
  double bulge, sw, ew;
  copy->getBulgeAt(0, bulge);
  copy->getWidthsAt(0, sw, ew);
  EXPECT_EQ(bulge, 0.5);
  EXPECT_EQ(ew, 2.0);
  // The copy is independent of the original.
  copy->setBulgeAt(0, 0.0);
  double orig;
  pl->getBulgeAt(0, orig);
  EXPECT_EQ(orig, 0.5);
}

TEST(AcadTransformedCopy, LeavesTheOriginalAlone) {
  AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  AcDbEntity* moved = nullptr;
  ASSERT_EQ(line.getTransformedCopy(AcGeMatrix3d::translation(AcGeVector3d(0, 5, 0)), moved), Acad::eOk);
  std::unique_ptr<AcDbEntity> owned(moved);
  EXPECT_TRUE(static_cast<AcDbLine*>(moved)->startPoint().isEqualTo(AcGePoint3d(0, 5, 0)));
  EXPECT_TRUE(line.startPoint().isEqualTo(AcGePoint3d(0, 0, 0)));
}

TEST(AcadText, PropertiesExtentsAndRotation) {
  AcDbText t(AcGePoint3d(1, 1, 0), L"路测点", AcDbObjectId::kNull, 2.0, 0.0);
  ACHAR* s = t.textString();
  EXPECT_STREQ(s, L"路测点");
  acutDelString(s);
  EXPECT_EQ(t.setHeight(0), Acad::eInvalidInput);
  AcDbExtents e;
  t.getGeomExtents(e);
  EXPECT_GT(e.maxPoint().x, 1.0);
  EXPECT_NEAR(e.maxPoint().y, 3.0, 1e-12);
  t.transformBy(AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis));
  EXPECT_NEAR(t.rotation(), kPi / 2, 1e-12);
  EXPECT_TRUE(t.position().isEqualTo(AcGePoint3d(-1, 1, 0), AcGeTol()));
}

TEST(AcadMText, FormattingIsStrippedAndExplodeGivesOneTextPerLine) {
  AcDbMText m;
  m.setLocation(AcGePoint3d(0, 10, 0));
  m.setTextHeight(2);
  m.setContents(L"{\\fArial|b1;第一行}\\P\\H3x;second\\~line\\Pa\\S1^2;");
  EXPECT_EQ(m.text(), L"第一行\nsecond line\na1/2");
  AcDbVoidPtrArray parts;
  ASSERT_EQ(m.explode(parts), Acad::eOk);
  ASSERT_EQ(parts.length(), 3);
  auto* first = static_cast<AcDbText*>(parts[0]);
  auto* second = static_cast<AcDbText*>(parts[1]);
  EXPECT_STREQ(first->textStringConst(), L"第一行");
  EXPECT_STREQ(second->textStringConst(), L"second line");
  EXPECT_GT(first->position().y, second->position().y);  // top to bottom
  EXPECT_LT(first->position().y, 10.0);                  // below the top-left location
  for (void* p : parts) delete static_cast<AcDbText*>(p);
}

TEST(AcadBlockReference, TransformExtentsAndExplode) {
  AcDbDatabase db;
  AcDbBlockTable* bt = nullptr;
  db.getBlockTable(bt, AcDb::kForWrite);
  auto* block = new AcDbBlockTableRecord();
  block->setName(L"MARK");
  AcDbObjectId blockId;
  ASSERT_EQ(bt->add(blockId, block), Acad::eOk);
  bt->close();
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  block->appendAcDbEntity(line);
  line->close();
  block->close();

  AcDbBlockReference ref(AcGePoint3d(10, 0, 0), blockId);
  EXPECT_EQ(ref.blockTableRecord(), blockId);
  ref.setRotation(kPi / 2);
  ref.setScaleFactors(AcGeScale3d(2, 2, 2));
  AcDbExtents e;
  ASSERT_EQ(ref.getGeomExtents(e), Acad::eOk);
  EXPECT_TRUE(e.minPoint().isEqualTo(AcGePoint3d(10, 0, 0), AcGeTol()));
  EXPECT_TRUE(e.maxPoint().isEqualTo(AcGePoint3d(10, 2, 0), AcGeTol()));
  AcDbVoidPtrArray parts;
  ASSERT_EQ(ref.explode(parts), Acad::eOk);
  ASSERT_EQ(parts.length(), 1);
  auto* exploded = static_cast<AcDbLine*>(parts[0]);
  EXPECT_TRUE(exploded->endPoint().isEqualTo(AcGePoint3d(10, 2, 0), AcGeTol()));
  delete exploded;
  ref.transformBy(AcGeMatrix3d::translation(AcGeVector3d(0, 0, 3)));
  EXPECT_TRUE(ref.position().isEqualTo(AcGePoint3d(10, 0, 3), AcGeTol()));
  EXPECT_NEAR(ref.rotation(), kPi / 2, 1e-12);
  EXPECT_NEAR(ref.scaleFactors().sx, 2, 1e-12);
}

TEST(AcadPoint, MovesWithTransforms) {
  AcDbPoint p(AcGePoint3d(1, 2, 3));
  p.transformBy(AcGeMatrix3d::scaling(2));
  EXPECT_TRUE(p.position().isEqualTo(AcGePoint3d(2, 4, 6)));
}
}  // namespace
