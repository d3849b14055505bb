// Appending to model space and zooming the current view.
#include "cadtest.h"

#include "CommonUtils.h"
#include "acedcurview.h"
#include "dbcurves.h"

namespace {

using AppendTest = CadTest;

TEST_F(AppendTest, AppendLeavesTheEntityOpenAndReturnsItsId) {
  AcDbLine* pLine = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
  AcDbObjectId id;
  ASSERT_EQ(CCommonUtils::append(pLine, id), 1);
  EXPECT_FALSE(id.isNull());
  EXPECT_EQ(pLine->objectId(), id);
  EXPECT_TRUE(pLine->isWriteEnabled());  // the caller closes it
  pLine->close();

  AcDbCircle* pCircle = new AcDbCircle(AcGePoint3d(1, 1, 0), AcGeVector3d::kZAxis, 2);
  ASSERT_EQ(CCommonUtils::append(pCircle, Db()), 1);
  EXPECT_FALSE(pCircle->objectId().isNull());
  pCircle->close();
  EXPECT_EQ(Out(), "");
}

TEST_F(AppendTest, AppendToAnotherDatabaseAndAddEntityToDbs) {
  AcDbDatabase other;
  AcDbLine* pLine = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
  AcDbObjectId id;
  ASSERT_EQ(CCommonUtils::append(pLine, id, &other), 1);
  EXPECT_EQ(pLine->database(), &other);
  pLine->close();
  ExpectNothingOpen(&other);

  AcDbObjectId id2 = CCommonUtils::AddEntityToDbs(new AcDbLine(AcGePoint3d(), AcGePoint3d(5, 0, 0)));
  ASSERT_FALSE(id2.isNull());
  AcDbEntity* pEnt = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(pEnt, id2, AcDb::kForWrite), Acad::eOk);  // closed by the call
  EXPECT_EQ(pEnt->database(), Db());
  pEnt->close();
}

TEST_F(AppendTest, AnEntityAlreadyInADatabaseIsRefusedWithAnAlert) {
  AcDbLine* pLine = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
  AcDbObjectId id = Add(pLine);
  AcDbEntity* pEnt = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(pEnt, id, AcDb::kForWrite), Acad::eOk);
  AcDbObjectId id2;
  EXPECT_EQ(CCommonUtils::append(pEnt, id2), 0);
  pEnt->close();
  EXPECT_NE(Out().find("增加实体失败！"), std::string::npos) << Out();
}

// The current view as the host keeps it.
void CurrentView(double& cx, double& cy, double& w, double& h) {
  const acad::View& view = acad::CurrentView();
  cx = view.centerX;
  cy = view.centerY;
  w = view.width;
  h = view.height;
}

TEST_F(AppendTest, ZoomWith3dPointsCentresWithAMarginInEitherOrder) {
  double cx, cy, w, h;
  CCommonUtils::zoomExtents(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 20, 0));
  CurrentView(cx, cy, w, h);
  EXPECT_DOUBLE_EQ(cx, 5);
  EXPECT_DOUBLE_EQ(cy, 10);
  EXPECT_DOUBLE_EQ(w, 15);
  EXPECT_DOUBLE_EQ(h, 30);

  CCommonUtils::zoomExtents(AcGePoint3d(10, 20, 0), AcGePoint3d(0, 0, 0));
  double cx2, cy2, w2, h2;
  CurrentView(cx2, cy2, w2, h2);
  EXPECT_DOUBLE_EQ(cx2, cx);
  EXPECT_DOUBLE_EQ(cy2, cy);
  EXPECT_DOUBLE_EQ(w2, w);
  EXPECT_DOUBLE_EQ(h2, h);
}

TEST_F(AppendTest, ZoomWith2dPointsTakesTheCornersAsGiven) {
  double cx, cy, w, h;
  CCommonUtils::zoomExtents(AcGePoint2d(40, 30), AcGePoint2d(0, 10));  // upper right first
  CurrentView(cx, cy, w, h);
  EXPECT_DOUBLE_EQ(cx, 20);
  EXPECT_DOUBLE_EQ(cy, 20);
  EXPECT_DOUBLE_EQ(w, 40);
  EXPECT_DOUBLE_EQ(h, 20);

  // Lower left first gives a negative size, which the host refuses: the
  // view stays as it was.
  CCommonUtils::zoomExtents(AcGePoint2d(0, 0), AcGePoint2d(100, 100));
  double cx2, cy2, w2, h2;
  CurrentView(cx2, cy2, w2, h2);
  EXPECT_DOUBLE_EQ(cx2, 20);
  EXPECT_DOUBLE_EQ(cy2, 20);
  EXPECT_DOUBLE_EQ(h2, h);
}

}  // namespace
