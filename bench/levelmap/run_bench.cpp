// One whole drive-test run as the user makes it: the dialog's draw button,
// range and route picked by scripted answers, points simulated and banded,
// the map and every point drawn into the three previews and rendered; with
// 2,000 and with 100,000 points. Against it, in the same process, a bare
// loop that places the same points along the route and fills the same
// circles with Cairo on three surfaces of the previews' size. Each size runs
// in a child process of its own, so that its peak memory is its own.
// Times are processor time. Usage: levelmap_run_bench [point count]...
#include <cairo.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "DTDlg.h"
#include "GlobalVars.h"
#include "acdocman.h"
#include "acedview.h"
#include "dbcurves.h"
#include "dbdatabase.h"
#include "dbhostapp.h"
#include "dbpline.h"
#include "dbsymtb.h"
#include "paths.h"
#include "script.h"
#include "transcript.h"

namespace {

constexpr double kRouteLength = 1000.0;
constexpr double kMapHeight = 100.0;
constexpr int kMapLines = 200;

double ProcessorSeconds() {
  timespec ts;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}

// The route (one polyline along the bottom of the range) and a map of
// kMapLines lines across it.
void MakeDrawing() {
  acDocManager->closeAllDocuments();
  acad::ResetEditorState();
  AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockTable* pTable = nullptr;
  AcDbBlockTableRecord* pSpace = nullptr;
  pDb->getBlockTable(pTable, AcDb::kForRead);
  pTable->getAt(ACDB_MODEL_SPACE, pSpace, AcDb::kForWrite);
  pTable->close();
  AcDbPolyline* pRoute = new AcDbPolyline;
  pRoute->addVertexAt(0, AcGePoint2d(0, 0));
  pRoute->addVertexAt(1, AcGePoint2d(kRouteLength, 0));
  pSpace->appendAcDbEntity(pRoute);
  pRoute->close();
  for (int i = 0; i < kMapLines; ++i) {
    double x = (i + 0.5) * kRouteLength / kMapLines;
    AcDbLine* pLine = new AcDbLine(AcGePoint3d(x, 5, 0), AcGePoint3d(x, kMapHeight, 0));
    pLine->setColorIndex(250);
    pSpace->appendAcDbEntity(pLine);
    pLine->close();
  }
  pSpace->close();
}

// The dialog with the time of its one run and the previews' size.
class CBenchDlg : public CDTDlg {
 public:
  double m_dRunSeconds = 0;
  int m_nWidth = 0, m_nHeight = 0;
  int m_nDrawn = 0;

 protected:
  afx_msg void OnDrawTimed() {
    double t0 = ProcessorSeconds();
    OnDrawDriveTest();
    m_dRunSeconds = ProcessorSeconds() - t0;
    CRect rect;
    GetDlgItem(IDC_PREVIEW1)->GetClientRect(&rect);
    m_nWidth = rect.Width();
    m_nHeight = rect.Height();
    m_nDrawn = GetPreviewDrawableCount(0) + GetPreviewDrawableCount(1) + GetPreviewDrawableCount(2);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBenchDlg, CDTDlg)
  ON_BN_CLICKED(IDOK, &CBenchDlg::OnDrawTimed)
END_MESSAGE_MAP()

// The bare loop: the same points along the route, each a filled circle of
// the spacing's radius in one of seven colours, on three surfaces framed like
// the previews.
double BareLoop(int nPoints, int nWidth, int nHeight) {
  double t0 = ProcessorSeconds();
  double dSpacing = kRouteLength / nPoints;
  double dFieldW = kRouteLength * 1.005, dFieldH = kMapHeight * 1.005;
  double dScale = std::min(nWidth / dFieldW, nHeight / dFieldH);
  static const double kColours[7][3] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}, {1, 0, 1}, {0, 0, 0}};
  for (int s = 0; s < 3; ++s) {
    cairo_surface_t* pSurface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, nWidth, nHeight);
    cairo_t* cr = cairo_create(pSurface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    for (int k = 0; k <= nPoints; ++k) {
      double x = k * dSpacing, y = 0;
      double px = nWidth / 2.0 + (x - kRouteLength / 2) * dScale;
      double py = nHeight / 2.0 - (y - kMapHeight / 2) * dScale;
      const double* c = kColours[(k * 7 + s) % 7];
      cairo_set_source_rgb(cr, c[0], c[1], c[2]);
      cairo_new_path(cr);
      cairo_arc(cr, px, py, dSpacing * dScale, 0, 2 * M_PI);
      cairo_fill(cr);
    }
    cairo_surface_flush(pSurface);
    cairo_destroy(cr);
    cairo_surface_destroy(pSurface);
  }
  return ProcessorSeconds() - t0;
}

// One size, in this (child) process: the run, then the bare loop.
int RunOnce(int nPoints) {
  std::ostringstream sink;
  user::SetSink(&sink);
  std::filesystem::path dir = std::filesystem::temp_directory_path() / ("levelmap_run_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::filesystem::copy_file(BENCH_SETTING_MDB, dir / "setting.mdb");
  std::wstring folder = win::ToWindowsPath(dir.string()) + L"\\";
  wcscpy(CGlobalVars::g_CurPath, folder.c_str());

  MakeDrawing();
  std::string n = std::to_string(nPoints);
  user::Script::Instance().UseLines({"@text 106 " + n, "@text 107 " + n, "@focus 105", "@click 1", "-1,-1",
                                     "1001,101", "C -1,-1 1,1", "", "@click 2"});
  double dRun = 0;
  int nWidth = 0, nHeight = 0, nDrawn = 0;
  {
    CBenchDlg dlg;
    dlg.DoModal();
    dRun = dlg.m_dRunSeconds;
    nWidth = dlg.m_nWidth;
    nHeight = dlg.m_nHeight;
    nDrawn = dlg.m_nDrawn;
  }
  std::filesystem::remove_all(dir);
  if (nDrawn != 3 * nPoints || nWidth <= 0) {
    std::fprintf(stderr, "run of %d points drew %d points on %dx%d previews\n%s", nPoints, nDrawn, nWidth, nHeight,
                 sink.str().c_str());
    return 1;
  }
  double dBare = BareLoop(nPoints, nWidth, nHeight);
  std::printf("%7d points: run %.3f s, bare Cairo loop %.3f s, ratio %.2f (3 previews of %dx%d)\n", nPoints, dRun,
              dBare, dBare > 0 ? dRun / dBare : 0.0, nWidth, nHeight);
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {2000, 100000};
  int nStatus = 0;
  for (int nPoints : sizes) {
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) _exit(RunOnce(nPoints));
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    std::printf("%7d points: peak memory %.1f MB\n", nPoints, usage.ru_maxrss / 1024.0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) nStatus = 1;
  }
  return nStatus;
}
