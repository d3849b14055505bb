// Drawing-window input, the alert box, the current view and the user
// coordinate system as matrices.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "acedalert.h"
#include "acedcurview.h"
#include "acedgr.h"
#include "acedview.h"
#include "dbsymtb.h"
#include "gegeometry.h"
#include "script.h"
#include "transcript.h"

namespace {

class Window : public ::testing::Test {
 protected:
  void SetUp() override {
    acad::ResetEditorState();
    acad::ResetGrRead();
    m_old = user::SetSink(&m_out);
  }
  void TearDown() override {
    user::SetSink(m_old);
    acad::ResetEditorState();
  }
  void Feed(std::vector<std::string> lines) { user::Script::Instance().UseLines(std::move(lines)); }
  std::ostringstream m_out;
  std::ostream* m_old = nullptr;
};

}  // namespace

TEST_F(Window, GrReadGivesDragsPicksKeysAndTheRightButton) {
  Feed({"@drag 10,20", "@type 1.5", "@type", "@rclick", "@pick 3,4,5", "nonsense", "^C"});
  int type = 0;
  resbuf rb{};
  ASSERT_EQ(acedGrRead(1, &type, &rb), RTNORM);
  EXPECT_EQ(type, GRREAD_DRAG);
  EXPECT_EQ(rb.restype, RT3DPOINT);
  EXPECT_DOUBLE_EQ(rb.resval.rpoint[1], 20);
  std::string typed;
  for (int i = 0; i < 4; ++i) {
    ASSERT_EQ(acedGrRead(1, &type, &rb), RTNORM);
    EXPECT_EQ(type, GRREAD_KEYBOARD);
    EXPECT_EQ(rb.restype, RTSHORT);
    typed += static_cast<char>(rb.resval.rint);
  }
  EXPECT_EQ(typed, "1.5\r");  // the characters one by one, then Enter
  ASSERT_EQ(acedGrRead(1, &type, &rb), RTNORM);
  EXPECT_EQ(type, GRREAD_RCLICK);
  ASSERT_EQ(acedGrRead(1, &type, &rb), RTNORM);
  EXPECT_EQ(type, GRREAD_PICK);
  EXPECT_DOUBLE_EQ(rb.resval.rpoint[2], 5);
  EXPECT_EQ(acedGrRead(1, &type, &rb), RTCAN);  // "nonsense" is refused, then Esc
  EXPECT_NE(m_out.str().find("@rclick\n"), std::string::npos);
  EXPECT_EQ(acedGrRead(1, &type, &rb), RTCAN);  // the end of the script
}

TEST_F(Window, GrReadWithoutTrackingPassesOverDrags) {
  Feed({"@drag 1,1", "@drag 2,2", "@pick 7,8"});
  int type = 0;
  resbuf rb{};
  ASSERT_EQ(acedGrRead(0, &type, &rb), RTNORM);
  EXPECT_EQ(type, GRREAD_PICK);
  EXPECT_DOUBLE_EQ(rb.resval.rpoint[0], 7);
  EXPECT_EQ(acedGrRead(0, nullptr, &rb), RTERROR);
}

TEST_F(Window, AlertIsAMessageBoxTitledAutoCAD) {
  Feed({});
  EXPECT_EQ(acedAlert(L"无法打开"), RTNORM);
  EXPECT_NE(m_out.str().find("[AutoCAD] 无法打开"), std::string::npos) << m_out.str();
}

TEST_F(Window, SetCurrentViewChangesOnlyWhatTheRecordSets) {
  acad::View before = acad::CurrentView();
  AcDbViewTableRecord rec;
  rec.setCenterPoint(AcGePoint2d(50, 60));
  rec.setHeight(30);
  ASSERT_EQ(acedSetCurrentView(&rec, AcDbObjectId()), Acad::eOk);
  const acad::View& v = acad::CurrentView();
  EXPECT_DOUBLE_EQ(v.centerX, 50);
  EXPECT_DOUBLE_EQ(v.centerY, 60);
  EXPECT_DOUBLE_EQ(v.height, 30);
  EXPECT_DOUBLE_EQ(v.width, before.width);  // not set: kept, not the record's default of 1
  EXPECT_DOUBLE_EQ(v.lensLength, before.lensLength);
  EXPECT_DOUBLE_EQ(v.direction.z, before.direction.z);

  AcDbViewTableRecord bad;
  bad.setWidth(0);
  bad.setHeight(5);
  EXPECT_EQ(acedSetCurrentView(&bad, AcDbObjectId()), Acad::eInvalidInput);
  EXPECT_DOUBLE_EQ(acad::CurrentView().height, 30);
  EXPECT_EQ(acedSetCurrentView(nullptr, AcDbObjectId()), Acad::eNullObjectPointer);
}

TEST_F(Window, UcsTravelsAsAMatrixAndDrivesAcedTrans) {
  AcGeMatrix3d m;
  ASSERT_EQ(acedGetCurrentUCS(m), Acad::eOk);
  EXPECT_TRUE(m.isEqualTo(AcGeMatrix3d::kIdentity));

  // Origin (100,0), rotated 90 degrees: user (1,0) is world (100,1).
  AcGeMatrix3d rotated = AcGeMatrix3d::translation(AcGeVector3d(100, 0, 0)) *
                         AcGeMatrix3d::rotation(std::acos(-1.0) / 2, AcGeVector3d::kZAxis);
  ASSERT_EQ(acedSetCurrentUCS(rotated), Acad::eOk);
  resbuf ucs{}, wcs{};
  ucs.restype = wcs.restype = RTSHORT;
  ucs.resval.rint = 1;
  wcs.resval.rint = 0;
  ads_point p = {1, 0, 0}, w;
  ASSERT_EQ(acedTrans(p, &ucs, &wcs, 0, w), RTNORM);
  EXPECT_NEAR(w[0], 100, 1e-9);
  EXPECT_NEAR(w[1], 1, 1e-9);
  AcGeMatrix3d back;
  acedGetCurrentUCS(back);
  EXPECT_TRUE(back.isEqualTo(rotated));

  EXPECT_EQ(acedSetCurrentUCS(AcGeMatrix3d::scaling(2)), Acad::eInvalidInput);
  acedGetCurrentUCS(back);
  EXPECT_TRUE(back.isEqualTo(rotated));  // unchanged
}
