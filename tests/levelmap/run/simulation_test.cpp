// Points along the route, the spacing, the quotas reset and scaled, and whole
// runs repeated with the band choice.
#include "RunTest.h"

#include <cmath>
#include <cstdlib>

#include "PointSimulation.h"

namespace {

class SimulationTest : public RunTest {
 protected:
  void SetUp() override {
    RunTest::SetUp();
    // Whatever an earlier run left behind.
    g_routePoints.removeAll();
    g_routePoints.append(AcGePoint3d(-1, -1, -1));
    g_pointSpacing = -3;
  }
  // One run as the drive-test dialog makes it: quotas reset, then the
  // simulation with the scripted range and route answers.
  int Run(int nPointCount, int nDrawCount, std::vector<std::string> lines) {
    Answer(std::move(lines));
    ResetBandQuotas(m_levelMap);
    m_rangeIds.removeAll();
    return SimulateRoutePoints(nPointCount, (double)nDrawCount / nPointCount, m_levelMap, m_ext, m_rangeIds);
  }
  // The answers for a range around everything and every polyline as route.
  static std::vector<std::string> AllAsRoute() { return {"-5000,-5000", "5000,5000", "ALL", ""}; }

  static void ExpectPoint(int i, double x, double y) {
    ASSERT_LT(i, g_routePoints.length());
    EXPECT_NEAR(g_routePoints[i].x, x, 1e-9) << "point " << i;
    EXPECT_NEAR(g_routePoints[i].y, y, 1e-9) << "point " << i;
    EXPECT_EQ(g_routePoints[i].z, 0.0) << "point " << i;
  }
  static std::vector<int> Remains(const CLevelBandArray& bands) {
    std::vector<int> out;
    for (INT_PTR i = 0; i < bands.GetSize(); ++i) out.push_back(bands[i].remain);
    return out;
  }

  AcDbExtents m_ext;
  AcDbObjectIdArray m_rangeIds;
};

TEST_F(SimulationTest, OnePolylineOfLength1000With20PointsToDraw) {
  AddPline({{0, 0}, {400, 0}, {1000, 0}});
  ASSERT_EQ(Run(2000, 20, AllAsRoute()), 1);
  EXPECT_DOUBLE_EQ(g_pointSpacing, 50);
  ASSERT_EQ(g_routePoints.length(), 21);
  for (int k = 0; k <= 20; ++k) ExpectPoint(k, 50.0 * k, 0);
}

TEST_F(SimulationTest, TwoPolylinesRestartAtTheirStartsInSelectionOrder) {
  AcDbObjectId first = AddPline({{0, 0}, {300, 0}});                  // 300
  AcDbObjectId second = AddPline({{0, 100}, {400, 100}, {400, 400}});  // 700
  (void)first;
  (void)second;
  // The longer one picked first: its points come first.
  ASSERT_EQ(Run(10, 10, {"-10,-10", "500,500", "400,250", "150,0", ""}), 1);
  EXPECT_DOUBLE_EQ(g_pointSpacing, 100);
  ASSERT_EQ(g_routePoints.length(), 12);
  const double expected[12][2] = {{0, 100}, {100, 100}, {200, 100}, {300, 100}, {400, 100}, {400, 200},
                                  {400, 300}, {400, 400}, {0, 0},     {100, 0},   {200, 0},   {300, 0}};
  for (int k = 0; k < 12; ++k) ExpectPoint(k, expected[k][0], expected[k][1]);
}

TEST_F(SimulationTest, AnEndPointOffTheSpacingIsNotPlaced) {
  AddPline({{0, 0}, {250, 0}});  // 2.5 spacings of 100
  AddPline({{0, 50}, {750, 50}});
  ASSERT_EQ(Run(10, 10, AllAsRoute()), 1);
  ASSERT_EQ(g_routePoints.length(), 3 + 8);
  ExpectPoint(2, 200, 0);
  ExpectPoint(3, 0, 50);
  ExpectPoint(10, 700, 50);
}

TEST_F(SimulationTest, AClosedPolylineRunsAlongItsClosingSegmentBackToTheStart) {
  AddPline({{0, 0}, {100, 0}, {100, 100}, {0, 100}}, true);  // 400 around
  ASSERT_EQ(Run(8, 8, AllAsRoute()), 1);
  EXPECT_DOUBLE_EQ(g_pointSpacing, 50);
  ASSERT_EQ(g_routePoints.length(), 9);
  ExpectPoint(7, 0, 50);  // on the closing segment
  ExpectPoint(8, 0, 0);   // the full length is the start again
}

TEST_F(SimulationTest, ArcSegmentsCountWithTheirArcLength) {
  AcDbPolyline* pArc = new AcDbPolyline;
  pArc->addVertexAt(0, AcGePoint2d(100, 0), 1.0);  // a half circle of radius 100, counter-clockwise
  pArc->addVertexAt(1, AcGePoint2d(-100, 0));
  Add(pArc);
  ASSERT_EQ(Run(4, 4, AllAsRoute()), 1);
  EXPECT_NEAR(g_pointSpacing, M_PI * 100 / 4, 1e-9);
  ASSERT_EQ(g_routePoints.length(), 5);
  ExpectPoint(2, 0, 100);
  ExpectPoint(4, -100, 0);
}

TEST_F(SimulationTest, EveryWholeNumberOfSpacingsKeepsItsEndPoint) {
  // Spacings such as 1000 / 15 come out so that 15 of them exceed 1000 by
  // rounding; the end point must stay.
  AddPline({{0, 0}, {1000, 0}});
  for (int nDraw : {1, 3, 7, 15, 20, 29, 30, 51, 97, 118, 333}) {
    ASSERT_EQ(Run(2000, nDraw, AllAsRoute()), 1);
    ASSERT_EQ(g_routePoints.length(), nDraw + 1) << nDraw << " points to draw";
    EXPECT_NEAR(g_routePoints.last().x, 1000, 1e-9) << nDraw << " points to draw";
  }
}

TEST_F(SimulationTest, ARouteOfNoLengthMakesNoPointsAndZeroQuotas) {
  AddType(_T("RxLev"), {{1, 1000}, {2, 1000}});
  AddPline({{5, 5}, {5, 5}});
  AddPline({{7, 7}});
  ASSERT_EQ(Run(2000, 200, AllAsRoute()), 1);
  EXPECT_EQ(g_routePoints.length(), 0);
  EXPECT_EQ(g_pointSpacing, 0.0);
  CLevelBandArray* pBands = nullptr;
  ASSERT_TRUE(m_levelMap.Lookup(_T("RxLev"), pBands));
  EXPECT_EQ(Remains(*pBands), (std::vector<int>{0, 0}));
}

TEST_F(SimulationTest, CancelsAndRefusalsMakeNoPointsAndKeepTheQuotas) {
  CLevelBandArray& bands = AddType(_T("RxLev"), {{1, 500}, {2, 1500}});
  AddPline({{0, 0}, {1000, 0}});
  AddLine(0, 10, 100, 10);
  const std::vector<std::vector<std::string>> scripts = {
      {"^C"},                                          // first corner
      {"0,0", "^C"},                                   // second corner
      {"0,0", "0.01,100"},                             // range too small
      {"-10,-10", "100,100", "^C"},                    // route cancelled
      {"-10,-10", "100,100", "50,10", ""},             // the line is no route
  };
  for (const auto& script : scripts) {
    g_routePoints.append(AcGePoint3d(1, 2, 3));
    EXPECT_EQ(Run(2000, 200, script), 0);
    EXPECT_EQ(g_routePoints.length(), 0);
    EXPECT_EQ(Remains(bands), (std::vector<int>{500, 1500}));
  }
}

TEST_F(SimulationTest, QuotasAreResetAndScaledToThePointsMade) {
  CLevelBandArray& rx = AddType(_T("RxLev"), {{1, 500}, {2, 1000}, {3, 300}, {4, 200}});
  CLevelBandArray& qual = AddType(_T("RxQual"), {{5, 1999}, {6, 1}});
  ResetBandQuotas(m_levelMap);
  EXPECT_EQ(Remains(rx), (std::vector<int>{500, 1000, 300, 200}));
  EXPECT_EQ(Remains(qual), (std::vector<int>{1999, 1}));

  AddPline({{0, 0}, {1000, 0}});
  ASSERT_EQ(Run(2000, 1000, AllAsRoute()), 1);
  ASSERT_EQ(g_routePoints.length(), 1001);
  // 500 x 1001 / 2000 = 250.25: truncated.
  EXPECT_EQ(Remains(rx), (std::vector<int>{250, 500, 150, 100}));
  EXPECT_EQ(Remains(qual), (std::vector<int>{1000, 0}));

  // A second run starts from the planned counts again, not from these.
  ASSERT_EQ(Run(2000, 1000, AllAsRoute()), 1);
  EXPECT_EQ(Remains(rx), (std::vector<int>{250, 500, 150, 100}));
}

TEST_F(SimulationTest, ExactQuotasAreNotLostToRounding) {
  // 29 points made of 100: 100 x 0.29 in floating point is 28.999...
  CLevelBandArray& bands = AddType(_T("RxLev"), {{1, 100}, {2, 50}, {3, 90}});
  AddPline({{0, 0}, {280, 0}});
  ASSERT_EQ(Run(100, 28, AllAsRoute()), 1);
  ASSERT_EQ(g_routePoints.length(), 29);
  EXPECT_EQ(Remains(bands), (std::vector<int>{29, 14, 26}));
}

TEST_F(SimulationTest, TwoPointsOf2000TruncateEveryQuotaToZero) {
  CLevelBandArray& bands = AddType(_T("RxLev"), {{1, 999}, {2, 600}, {3, 401}});
  AddPline({{0, 0}, {10, 0}});
  ASSERT_EQ(Run(2000, 1, AllAsRoute()), 1);
  ASSERT_EQ(g_routePoints.length(), 2);
  EXPECT_EQ(Remains(bands), (std::vector<int>{0, 0, 0}));
  // Both points still get a band, from all of them.
  srand(3);
  for (int i = 0; i < 2; ++i) {
    int nColor = PickBand(bands);
    EXPECT_TRUE(nColor >= 1 && nColor <= 3) << nColor;
  }
  EXPECT_EQ(Remains(bands), (std::vector<int>{0, 0, 0}));
}

TEST_F(SimulationTest, TwoRunsGiveTheSamePointsAndDifferentBands) {
  AddType(_T("RxLev"), {{1, 400}, {2, 600}, {3, 500}, {4, 300}, {5, 200}});
  AddType(_T("C/I"), {{6, 1000}, {7, 1000}});
  AddPline({{0, 0}, {500, 0}, {500, 500}});
  AddPline({{0, 100}, {300, 400}});
  auto oneRun = [&](AcGePoint3dArray& points, std::vector<int>& colors) {
    ASSERT_EQ(Run(2000, 200, AllAsRoute()), 1);
    points = g_routePoints;
    for (const CString& strType : {CString(_T("RxLev")), CString(_T("C/I"))}) {
      CLevelBandArray* pBands = nullptr;
      ASSERT_TRUE(m_levelMap.Lookup(strType, pBands));
      for (int k = 0; k < points.length(); ++k) colors.push_back(PickBand(*pBands));
    }
  };
  srand(2024);
  AcGePoint3dArray points1, points2;
  std::vector<int> colors1, colors2;
  oneRun(points1, colors1);
  oneRun(points2, colors2);
  EXPECT_GT(points1.length(), 200);
  EXPECT_EQ(points1, points2);
  EXPECT_NE(colors1, colors2) << "the generator goes on from where the first run left it";
  EXPECT_EQ(colors1.size(), colors2.size());
}

}  // namespace
