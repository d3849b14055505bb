// Range and route selection: corners, the size limit, cancels, the zoom, the
// map entities crossing the range and the route polylines taken out of it.
#include "RunTest.h"

#include "RouteSelection.h"
#include "acedview.h"
#include "db2dpline.h"

namespace {

using Ids = AcDbObjectIdArray;

class RangeTest : public RunTest {
 protected:
  // A range left over from an earlier run, and a map list that already holds an entry.
  void SetUp() override {
    RunTest::SetUp();
    m_ext.set(AcGePoint3d(-500, -500, -1), AcGePoint3d(500, 500, 1));
  }
  int Select(std::vector<std::string> lines) {
    Answer(std::move(lines));
    return SelectRange(m_ext, m_rangeIds);
  }
  void ExpectExtents(double x1, double y1, double x2, double y2) {
    EXPECT_EQ(m_ext.minPoint(), AcGePoint3d(x1, y1, 0));
    EXPECT_EQ(m_ext.maxPoint(), AcGePoint3d(x2, y2, 0));
  }

  AcDbExtents m_ext;
  Ids m_rangeIds;
};

TEST_F(RangeTest, CornersInAnyOrderGiveTheSameExtentsWithoutZ) {
  ASSERT_EQ(Select({"10,20,5", "30,40,7"}), 1);
  ExpectExtents(10, 20, 30, 40);
  ASSERT_EQ(Select({"30,40", "10,20"}), 1);  // upper right first
  ExpectExtents(10, 20, 30, 40);
  ASSERT_EQ(Select({"10,40", "30,20"}), 1);  // top to bottom
  ExpectExtents(10, 20, 30, 40);
  ASSERT_EQ(Select({"30,20", "@-20,20"}), 1);  // the second corner relative to the first
  ExpectExtents(10, 20, 30, 40);
  EXPECT_TRUE(Has(Out(), "请选择路测范围的第一个对角点:")) << Out();
  EXPECT_TRUE(Has(Out(), "请选择另一个对角:")) << Out();
  EXPECT_FALSE(Has(Out(), "选择范围太小"));
}

TEST_F(RangeTest, ZoomsToTheRangeWithHalfItsSizeAsMargin) {
  ASSERT_EQ(Select({"50,90", "10,10"}), 1);
  const acad::View& view = acad::CurrentView();
  EXPECT_DOUBLE_EQ(view.centerX, 30);
  EXPECT_DOUBLE_EQ(view.centerY, 50);
  EXPECT_DOUBLE_EQ(view.width, 60);
  EXPECT_DOUBLE_EQ(view.height, 120);
}

TEST_F(RangeTest, SidesOfExactlyTheLimitPassInXAndY) {
  ASSERT_EQ(Select({"0,0", "0.05,0.05"}), 1);
  ExpectExtents(0, 0, 0.05, 0.05);
  // Typed decimals whose difference rounds a hair under the limit.
  ASSERT_EQ(Select({"10.1,10.1", "10.05,10.05"}), 1);
  ASSERT_EQ(Select({"1000000,2000000.05", "1000000.05,2000000"}), 1);
  EXPECT_FALSE(Has(Out(), "选择范围太小")) << Out();
}

TEST_F(RangeTest, ASideUnderTheLimitIsRefusedWithBothMessages) {
  AddLine(0, 0, 1, 1);
  struct Case {
    const char* second;
  } cases[] = {{"0.0499,1"}, {"1,0.0499"}, {"-0.0499,-1"}, {"0.0499,0.0499"}, {"0,5"}};
  for (const Case& c : cases) {
    const acad::View before = acad::CurrentView();
    // The message box takes the scripted answer and nothing else.
    EXPECT_EQ(Select({"0,0", c.second, "@answer OK", "next"}), 0) << c.second;
    EXPECT_EQ(Unread(), std::vector<std::string>{"next"}) << c.second;
    EXPECT_TRUE(m_ext.isEmpty()) << c.second;
    EXPECT_TRUE(m_rangeIds.isEmpty()) << "nothing is selected for a refused range";
    EXPECT_DOUBLE_EQ(acad::CurrentView().width, before.width) << "no zoom for a refused range";
  }
  EXPECT_TRUE(Has(Out(), "[Marlo] 选择范围太小 {OK} -> OK")) << Out();
  // The dialog first, then the command line.
  size_t nBox = Out().find("[Marlo] 选择范围太小");
  EXPECT_NE(Out().find("\n选择范围太小\n", nBox), std::string::npos) << Out();
}

TEST_F(RangeTest, CancelOrNothingAtEitherPromptEndsQuietly) {
  std::vector<std::vector<std::string>> scripts = {{"^C"}, {"0,0", "^C"}, {""}, {"0,0", ""}, {}};
  for (const auto& script : scripts) {
    Answer(script);
    EXPECT_EQ(SelectRange(m_ext, m_rangeIds), 0);
    EXPECT_TRUE(m_ext.isEmpty());
  }
  EXPECT_FALSE(Has(Out(), "[Marlo]")) << Out();
  EXPECT_FALSE(Has(Out(), "选择范围太小")) << Out();
}

TEST_F(RangeTest, CollectsWhatCrossesTheRangeInSelectionOrder) {
  AcDbObjectId earlier = AddLine(-900, -900, -800, -800);
  m_rangeIds.append(earlier);
  AcDbObjectId line = AddLine(0, 50, 200, 50);                        // crosses the left side
  AddCircle(1000, 1000, 10);                                          // outside
  AcDbObjectId pline = AddPline({{120, 30}, {150, 80}, {180, 30}});  // wholly inside
  AddCircle(100, 100, 200);                                           // around the range, touching nothing of it
  AcDbObjectId rim = AddCircle(150, 0, 30);                           // through the bottom side
  ASSERT_EQ(Select({"200,100", "100,20"}), 1);  // right to left
  EXPECT_EQ(m_rangeIds, (Ids{earlier, line, pline, rim}));
}

TEST_F(RangeTest, NothingInTheRangeIsStillARange) {
  AddLine(0, 0, 1, 1);
  ASSERT_EQ(Select({"500,500", "600,600"}), 1);
  EXPECT_TRUE(m_rangeIds.isEmpty());
  ExpectExtents(500, 500, 600, 600);
}

class RouteTest : public RunTest {
 protected:
  void SetUp() override {
    RunTest::SetUp();
    m_line = AddLine(0, 0, 100, 0);
    m_pline1 = AddPline({{0, 50}, {100, 50}});
    m_circle = AddCircle(50, 200, 10);
    m_pline2 = AddPline({{0, 100}, {100, 100}, {100, 150}});
    m_rangeIds = Ids{m_line, m_pline1, m_circle, m_pline2};
  }
  bool Select(std::vector<std::string> lines) {
    Answer(std::move(lines));
    return SelectRoutePolylines(m_rangeIds, m_routeIds);
  }

  AcDbObjectId m_line, m_pline1, m_circle, m_pline2;
  Ids m_rangeIds, m_routeIds;
};

TEST_F(RouteTest, RoutePolylinesAreTakenOutOfTheMapInSelectionOrder) {
  ASSERT_TRUE(Select({"100,125", "50,50", ""}));
  EXPECT_EQ(m_routeIds, (Ids{m_pline2, m_pline1}));
  EXPECT_EQ(m_rangeIds, (Ids{m_line, m_circle}));
  EXPECT_TRUE(Has(Out(), "请选择多段线")) << Out();
  EXPECT_FALSE(Has(Out(), "没有选择多段线"));
}

TEST_F(RouteTest, APolylineOutsideTheMapIsStillARoute) {
  AcDbObjectId outside = AddPline({{1000, 1000}, {2000, 1000}});
  ASSERT_TRUE(Select({"W 900,900 2100,1100", ""}));
  EXPECT_EQ(m_routeIds, (Ids{outside}));
  EXPECT_EQ(m_rangeIds.length(), 4) << "the map keeps its entries";
}

TEST_F(RouteTest, OnlyLightweightPolylinesAreSelected) {
  AcGePoint3dArray verts;
  verts.append(AcGePoint3d(0, 300, 0));
  verts.append(AcGePoint3d(100, 300, 0));
  AcDbObjectId old2d = Add(new AcDb2dPolyline(AcDb::k2dSimplePoly, verts));
  ASSERT_TRUE(Select({"ALL", ""}));
  EXPECT_EQ(m_routeIds, (Ids{m_pline1, m_pline2}));
  EXPECT_FALSE(m_routeIds.contains(old2d));
}

TEST_F(RouteTest, NoPolylineGivesTheMessageAndKeepsTheMap) {
  const std::vector<std::vector<std::string>> scripts = {
      {"50,0", "60,200", "", "@answer OK"},  // the line and the circle only
      {"^C"},                                 // cancelled
      {""},                                   // nothing picked
  };
  for (const auto& script : scripts) {
    Answer(script);
    EXPECT_FALSE(SelectRoutePolylines(m_rangeIds, m_routeIds));
    EXPECT_TRUE(m_routeIds.isEmpty());
    EXPECT_EQ(m_rangeIds, (Ids{m_line, m_pline1, m_circle, m_pline2}));
    EXPECT_TRUE(Unread().empty());
  }
  size_t nBox = Out().find("[Marlo] 没有选择多段线 {OK} -> OK");
  ASSERT_NE(nBox, std::string::npos) << Out();
  EXPECT_NE(Out().find("\n没有选择多段线\n", nBox), std::string::npos) << Out();
}

TEST(RangeSide, TheLimitAllowsOnlyRoundingOfTheCoordinates) {
  EXPECT_FALSE(IsRangeSideTooSmall(0, 0.05));
  EXPECT_FALSE(IsRangeSideTooSmall(0.05, 0));
  EXPECT_FALSE(IsRangeSideTooSmall(-0.025, 0.025));
  EXPECT_TRUE(IsRangeSideTooSmall(0, 0.0499));
  EXPECT_TRUE(IsRangeSideTooSmall(0, 0.04999999));
  EXPECT_TRUE(IsRangeSideTooSmall(3, 3));
  EXPECT_TRUE(IsRangeSideTooSmall(10.0, 10.0499999));
  EXPECT_FALSE(IsRangeSideTooSmall(10.05, 10.1));
}

}  // namespace
