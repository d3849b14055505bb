// Pixels of the drawing window and world points: the corners and centre of
// the client area against the current view, a twisted and a tilted view,
// and the way back.
#include <gtest/gtest.h>

#include <cmath>

#include "acedcoord.h"
#include "acedview.h"

namespace {

class PixelCoords : public ::testing::Test {
 protected:
  void SetUp() override { acad::ResetEditorState(); }
  void TearDown() override { acad::ResetEditorState(); }
};

TEST_F(PixelCoords, CornersAndCentreOfThePlainView) {
  acad::View& view = acad::CurrentView();
  view.centerX = 100;
  view.centerY = 50;
  view.height = 768;  // one unit per pixel
  view.width = 1024;
  ads_point pt;
  ASSERT_TRUE(acedCoordFromPixelToWorld(CPoint(0, 0), pt));
  EXPECT_DOUBLE_EQ(pt[0], 100 - 512);
  EXPECT_DOUBLE_EQ(pt[1], 50 + 384);
  EXPECT_DOUBLE_EQ(pt[2], 0);
  ASSERT_TRUE(acedCoordFromPixelToWorld(0, CPoint(1024, 768), pt));
  EXPECT_DOUBLE_EQ(pt[0], 100 + 512);
  EXPECT_DOUBLE_EQ(pt[1], 50 - 384);
  ASSERT_TRUE(acedCoordFromPixelToWorld(-1, CPoint(512, 384), pt));
  EXPECT_DOUBLE_EQ(pt[0], 100);
  EXPECT_DOUBLE_EQ(pt[1], 50);
  // Only the one drawing window exists.
  EXPECT_FALSE(acedCoordFromPixelToWorld(2, CPoint(0, 0), pt));
}

TEST_F(PixelCoords, TheWiderRatioDecidesThePixelSize) {
  acad::View& view = acad::CurrentView();
  view.centerX = 0;
  view.centerY = 0;
  view.height = 10;
  view.width = 2048;  // 2 units per pixel across, which also rules down
  ads_point pt;
  ASSERT_TRUE(acedCoordFromPixelToWorld(CPoint(0, 0), pt));
  EXPECT_DOUBLE_EQ(pt[0], -1024);
  EXPECT_DOUBLE_EQ(pt[1], 768);
}

TEST_F(PixelCoords, TargetAndTwistMoveAndTurnThePlane) {
  acad::View& view = acad::CurrentView();
  view.centerX = 0;
  view.centerY = 0;
  view.height = 768;
  view.width = 1024;
  view.target = {10, 20, 5};
  view.twist = std::acos(-1.0) / 2;  // a quarter turn: the screen's right is world -Y
  ads_point pt;
  ASSERT_TRUE(acedCoordFromPixelToWorld(CPoint(512 + 100, 384), pt));
  // 100 pixels to the right of the centre is 100 units from the target.
  EXPECT_NEAR(pt[0], 10, 1e-9);
  EXPECT_NEAR(pt[1], 20 - 100, 1e-9);
  EXPECT_NEAR(pt[2], 5, 1e-9);
  CPoint back;
  ASSERT_TRUE(acedCoordFromWorldToPixel(0, pt, back));
  EXPECT_EQ(back.x, 612);
  EXPECT_EQ(back.y, 384);
}

TEST_F(PixelCoords, WorldToPixelRoundsAndRefusesUnknownWindows) {
  acad::View& view = acad::CurrentView();
  view.centerX = 0;
  view.centerY = 0;
  view.height = 768;
  view.width = 1024;
  ads_point world = {10.4, -20.6, 3};
  CPoint px;
  ASSERT_TRUE(acedCoordFromWorldToPixel(0, world, px));
  EXPECT_EQ(px.x, 522);
  EXPECT_EQ(px.y, 405);
  EXPECT_FALSE(acedCoordFromWorldToPixel(1, world, px));
  EXPECT_FALSE(acedCoordFromWorldToPixel(0, nullptr, px));
}

}  // namespace
