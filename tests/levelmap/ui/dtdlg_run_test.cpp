// The drive-test dialog's run and table in process: points drawn per type and
// preview, the drawing left as it was, a cancelled pick, a drawing that takes
// no circle, the statistics table's layout and its count and name edits.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <vector>

#include "DTDlg.h"
#include "GridCellNumeric.h"
#include "PointSimulation.h"
#include "settingdb.h"
#include "acdocman.h"
#include "acedview.h"
#include "dbhostapp.h"
#include "dbpline.h"
#include "dbsymtb.h"
#include "wintest.h"
#include "textconv.h"

namespace {

// What one press of the draw button left: the hatches of each preview and
// the live entities of the drawing.
struct RunResult {
  std::array<int, 3> hatches;
  int nLiveEntities;
};

int LiveEntities() {
  AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockTable* pTable = nullptr;
  AcDbBlockTableRecord* pSpace = nullptr;
  if (pDb->getBlockTable(pTable, AcDb::kForRead) != Acad::eOk) return -1;
  pTable->getAt(ACDB_MODEL_SPACE, pSpace, AcDb::kForRead);
  pTable->close();
  AcDbBlockTableRecordIterator* pIter = nullptr;
  pSpace->newIterator(pIter);
  int n = 0;
  for (; !pIter->done(); pIter->step()) ++n;
  delete pIter;
  pSpace->close();
  return n;
}

class CRunProbe : public CDTDlg {
 public:
  // Runs after initialisation (to replace the bands, say).
  std::function<void(CRunProbe&)> m_onInit;
  // Runs before each press of the draw button.
  std::function<void(CRunProbe&)> m_beforeRun;
  std::function<void(CRunProbe&)> m_afterRun;
  std::vector<RunResult> m_runs;
  // Notifies the dialog of an edit of cell (row, col) as the grid does: the
  // begin notification with the old text still there, the new text stored,
  // then the end notification.
  void Edit(int nRow, int nCol, LPCTSTR lpszText) {
    NM_GRIDVIEW nm = {};
    nm.hdr.hwndFrom = m_grid.GetSafeHwnd();
    nm.hdr.idFrom = IDC_GRID;
    nm.iRow = nRow;
    nm.iColumn = nCol;
    LRESULT lResult = 0;
    nm.hdr.code = GVN_BEGINLABELEDIT;
    OnGridBeginEdit(&nm.hdr, &lResult);
    m_grid.SetItemText(nRow, nCol, lpszText);
    nm.hdr.code = GVN_ENDLABELEDIT;
    OnGridEndEdit(&nm.hdr, &lResult);
  }
  std::vector<std::string> Column(int nCol) {
    std::vector<std::string> texts;
    for (int r = 0; r < m_grid.GetRowCount(); ++r) texts.push_back(win::WideToUtf8((LPCTSTR)m_grid.GetItemText(r, nCol)));
    return texts;
  }
  std::function<void(CRunProbe&)> m_atExit;
  void DrawPoints() { DrawRoutePoints(); }

 protected:
  BOOL OnInitDialog() override {
    BOOL bResult = CDTDlg::OnInitDialog();
    if (m_onInit) m_onInit(*this);
    return bResult;
  }
  afx_msg void OnDrawProbe() {
    if (m_beforeRun) m_beforeRun(*this);
    OnDrawDriveTest();
    if (m_afterRun) m_afterRun(*this);
    m_runs.push_back({{GetPreviewDrawableCount(0), GetPreviewDrawableCount(1), GetPreviewDrawableCount(2)},
                      LiveEntities()});
  }
  afx_msg void OnExitProbe() {
    if (m_atExit) m_atExit(*this);
    OnExit();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRunProbe, CDTDlg)
  ON_BN_CLICKED(IDOK, &CRunProbe::OnDrawProbe)
  ON_BN_CLICKED(IDCANCEL, &CRunProbe::OnExitProbe)
END_MESSAGE_MAP()

class DTDlgRunTest : public testdb::SettingDbTest {
 protected:
  void SetUp() override {
    SettingDbTest::SetUp();
    MakeDatabase();
    acDocManager->closeAllDocuments();
    acad::ResetEditorState();
  }
  void TearDown() override {
    EXPECT_EQ(curDoc()->lockCount(), 0) << "a document lock was not released";
    acDocManager->closeAllDocuments();
    SettingDbTest::TearDown();
  }
  static AcDbObjectId AddPline(std::vector<AcGePoint2d> pts) {
    AcDbPolyline* pPline = new AcDbPolyline;
    for (unsigned int i = 0; i < pts.size(); ++i) pPline->addVertexAt(i, pts[i]);
    AcDbBlockTable* pTable = nullptr;
    AcDbBlockTableRecord* pSpace = nullptr;
    AcDbObjectId id;
    acdbHostApplicationServices()->workingDatabase()->getBlockTable(pTable, AcDb::kForRead);
    pTable->getAt(ACDB_MODEL_SPACE, pSpace, AcDb::kForWrite);
    pSpace->appendAcDbEntity(id, pPline);
    pSpace->close();
    pTable->close();
    pPline->close();
    return id;
  }
  // Replaces the dialog's types by nTypes types of two bands each.
  static void UseTypes(CRunProbe& dlg, int nTypes) {
    CLevelBandTable::ClearBandMap(dlg.m_levelMap);
    dlg.m_typeNames.RemoveAll();
    for (int t = 0; t < nTypes; ++t) {
      CString strName;
      strName.Format(_T("T%i"), t);
      CLevelBandArray* pBands = new CLevelBandArray;
      for (int b = 0; b < 2; ++b) {
        levelmapdb band;
        band.head.Format(_T("%i"), 100 * t + b);
        band.color = 1 + b;
        band.num = 5;
        pBands->Add(band);
      }
      dlg.m_levelMap.SetAt(strName, pBands);
      dlg.m_typeNames.Add(strName);
    }
  }
};

TEST_F(DTDlgRunTest, RunsDrawTheFirstPointsOfEveryTypeAndLeaveTheDrawingAsItWas) {
  // Two polylines of 45 units; 10 points to draw give a spacing of 9, so
  // the route yields 6 + 6 = 12 points, of which 10 are drawn.
  AddPline({{0, 0}, {45, 0}});
  AddPline({{0, 10}, {45, 10}});
  int nBefore = LiveEntities();
  wintest::Transcript transcript;
  // The counts are taken (and the table reloaded) when the fields lose the
  // focus, before the bands are replaced.
  wintest::Script({"@text 106 10", "@text 107 10", "@focus 105", "@click 1", "-1,-1", "50,20", "C -1,-1 1,1",
                   "C -1,9 1,11", "",
                   // The second run is cancelled at its first corner.
                   "@click 1", "^C", "@click 2"});
  CRunProbe dlg;
  dlg.m_beforeRun = [](CRunProbe& d) { UseTypes(d, 4); };
  dlg.DoModal();

  ASSERT_EQ(2u, dlg.m_runs.size()) << transcript.Text();
  // Spacing 90 / 10 = 9: 0, 9, ..., 45 on each polyline, 12 points; the
  // first 10 are drawn for each of the first three types, the fourth type
  // has no preview.
  EXPECT_EQ((std::array<int, 3>{10, 10, 10}), dlg.m_runs[0].hatches);
  EXPECT_EQ(nBefore, dlg.m_runs[0].nLiveEntities) << "every boundary circle was erased again";
  EXPECT_EQ((std::array<int, 3>{10, 10, 10}), dlg.m_runs[1].hatches) << "a cancelled pick keeps the last results";
  EXPECT_EQ(0, g_routePoints.length());
  // The progress counts all four types and the 12 points of the route.
  EXPECT_NE(std::string::npos, transcript.Text().find("[progress] 正在绘制路测点..... 40/48"))
      << transcript.Text();
}

TEST_F(DTDlgRunTest, TwoTypesLeaveTheThirdPreviewWithoutPoints) {
  AddPline({{0, 0}, {100, 0}});
  wintest::Transcript transcript;
  wintest::Script({"@click 1", "-1,-1", "101,1", "C -1,-1 1,1", "", "@click 2"});
  CRunProbe dlg;
  dlg.m_onInit = [](CRunProbe& d) { UseTypes(d, 2); };
  dlg.DoModal();
  ASSERT_EQ(1u, dlg.m_runs.size()) << transcript.Text();
  // 200 points to draw of 2000 on 100 units: 201 points.
  EXPECT_EQ((std::array<int, 3>{201, 201, 0}), dlg.m_runs[0].hatches);
}

TEST_F(DTDlgRunTest, ADrawingThatTakesNoCircleGivesOneAlertAndNoPoints) {
  int nBefore = LiveEntities();
  wintest::Transcript transcript;
  CRunProbe dlg;
  UseTypes(dlg, 3);
  dlg.m_nPointCount = 5;
  g_routePoints.removeAll();
  for (int k = 0; k < 5; ++k) g_routePoints.append(AcGePoint3d(k, 0, 0));
  // The block table held open for write: appending a circle fails.
  AcDbBlockTable* pTable = nullptr;
  ASSERT_EQ(Acad::eOk, acdbHostApplicationServices()->workingDatabase()->getBlockTable(pTable, AcDb::kForWrite));
  dlg.DrawPoints();
  pTable->close();
  EXPECT_EQ(0, dlg.GetPreviewDrawableCount(0) + dlg.GetPreviewDrawableCount(1) + dlg.GetPreviewDrawableCount(2));
  EXPECT_EQ(nBefore, LiveEntities());
  EXPECT_EQ(0, g_routePoints.length());
  std::string text = transcript.Text();
  size_t nFirst = text.find("打开块表失败");
  ASSERT_NE(std::string::npos, nFirst) << text;
  EXPECT_EQ(std::string::npos, text.find("打开块表失败", nFirst + 1)) << "one alert only";
}

TEST_F(DTDlgRunTest, CountEditsMoveTheDifferenceAndNameEditsAreWrittenBack) {
  wintest::Transcript transcript;
  wintest::Script({"@click 2"});
  CRunProbe dlg;
  std::vector<std::vector<std::string>> counts;
  std::vector<std::string> names, keys, heights;
  dlg.m_atExit = [&](CRunProbe& d) {
    // GSM, N = 2000: the first type's bands are 500, 600, 400, 300, 140, 60
    // (rows 2 to 7 under the header in row 0 and the titles in row 1).
    keys = d.Column(0);
    heights.push_back(std::to_string(d.m_grid.GetRowHeight(8)));
    heights.push_back(std::to_string(d.m_grid.GetRowHeight(2)));
    EXPECT_EQ("2000  ", d.Column(6)[0]);
    EXPECT_TRUE(d.m_grid.GetItemState(1, 2) & GVIS_MODIFIED);
    EXPECT_TRUE(d.m_grid.GetItemState(2, 4) & GVIS_READONLY);
    EXPECT_FALSE(d.m_grid.GetItemState(2, 2) & GVIS_READONLY);
    EXPECT_TRUE(d.m_grid.GetCell(2, 3)->IsKindOf(RUNTIME_CLASS(CGridCellNumeric))) << "counts take digits only";
    EXPECT_FALSE(d.m_grid.GetCell(1, 3)->IsKindOf(RUNTIME_CLASS(CGridCellNumeric))) << "the title stays text";
    EXPECT_EQ(0, d.m_grid.GetColumnWidth(0));
    EXPECT_EQ(74, d.m_grid.GetColumnWidth(1));
    EXPECT_EQ(RGB(0, 0, 255), d.m_grid.GetItemFgColour(0, 1)) << "the header in colour 5";

    d.Edit(2, 3, _T("1000"));  // takes 500 from the next band
    counts.push_back(d.Column(3));
    d.Edit(2, 3, _T("200"));  // gives 800 to the next band
    counts.push_back(d.Column(3));
    d.Edit(2, 3, _T("2001"));  // more than N: refused
    counts.push_back(d.Column(3));
    d.Edit(0, 6, _T("7"));  // a header row belongs to no type
    d.Edit(8, 2, _T("x"));  // nor does a separator
    d.Edit(3, 2, _T("[-76,-65)"));
    names = d.Column(2);
    EXPECT_TRUE(d.m_bNameChanged);
    EXPECT_EQ("2000", d.Column(6)[0]) << "the old value as a number";
    EXPECT_EQ("0", d.Column(2)[8]);
    EXPECT_EQ("55.00%", d.Column(5)[3]) << "cumulative share after the edits";
  };
  dlg.DoModal();
  ASSERT_EQ(3u, counts.size()) << transcript.Text();
  EXPECT_EQ("1000", counts[0][2]);
  EXPECT_EQ("100", counts[0][3]);
  EXPECT_EQ("200", counts[1][2]);
  EXPECT_EQ("900", counts[1][3]);
  EXPECT_EQ("200", counts[2][2]) << "a count above N is undone";
  EXPECT_EQ("[-76,-65)", names[3]);
  EXPECT_EQ("10", heights[0]) << "separator";
  EXPECT_EQ("23", heights[1]) << "band row";

  // The name reached the database: a new dialog reads it back.
  wintest::Script({"@click 2"});
  CRunProbe again;
  std::string strName;
  again.m_atExit = [&](CRunProbe& d) { strName = d.Column(2)[3]; };
  again.DoModal();
  EXPECT_EQ("[-76,-65)", strName);
}

TEST(PreviewFrame, EmptyExtentsFrameAroundTheDefaultCentreAndARangeGetsAMargin) {
  AcGePoint3d ptCenter;
  double dWidth = 0, dHeight = 0;
  GetPreviewFrame(AcDbExtents(), ptCenter, dWidth, dHeight);
  EXPECT_EQ(AcGePoint3d(100, 100, 0), ptCenter);
  EXPECT_DOUBLE_EQ(100.5, dWidth);
  EXPECT_DOUBLE_EQ(100.5, dHeight);
  GetPreviewFrame(AcDbExtents(AcGePoint3d(10, 20, 0), AcGePoint3d(210, 120, 0)), ptCenter, dWidth, dHeight);
  EXPECT_EQ(AcGePoint3d(110, 70, 0), ptCenter);
  EXPECT_DOUBLE_EQ(201, dWidth);
  EXPECT_DOUBLE_EQ(100.5, dHeight);
}

}  // namespace
