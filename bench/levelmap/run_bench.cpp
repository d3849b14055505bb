// One whole drive-test run as the user makes it: the dialog's draw button,
// range and route picked by scripted answers, points simulated and banded,
// the map and every point drawn into the three previews and rendered; with
// 2,000 and with 100,000 points. Against it, in the same process, a bare
// loop that places the same points along the route and fills the same
// circles with Cairo on three surfaces of the previews' size. Each
// repetition (the run, then the bare loop, as before) runs in a fresh child
// process, so that every repetition starts from the same state and its peak
// memory is its own; the report gives the medians of the times and of the
// repetitions' ratios, and the ratios' range.
// Times are processor time.
// Usage: levelmap_run_bench [--repeat N] [point count]...
#include <cairo.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
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
    // Until the previews are painted on the shown dialog the user sees
    // nothing: their paint belongs to the run.
    for (int nId : {IDC_PREVIEW1, IDC_PREVIEW2, IDC_PREVIEW3})
      GetDlgItem(nId)->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
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

// What a child process hands back through its pipe.
struct ChildResult {
  double dRunSeconds = 0, dBareSeconds = 0;
  int nWidth = 0, nHeight = 0;
};

// One repetition of one size, in this (child) process: the run, then the
// bare loop on surfaces of the previews' size.
int RunOnce(int nPoints, ChildResult& result) {
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
  int nDrawn = 0;
  {
    CBenchDlg dlg;
    dlg.DoModal();
    result.dRunSeconds = dlg.m_dRunSeconds;
    result.nWidth = dlg.m_nWidth;
    result.nHeight = dlg.m_nHeight;
    nDrawn = dlg.m_nDrawn;
  }
  std::filesystem::remove_all(dir);
  if (nDrawn != 3 * nPoints || result.nWidth <= 0) {
    std::fprintf(stderr, "run of %d points drew %d points on %dx%d previews\n%s", nPoints, nDrawn, result.nWidth,
                 result.nHeight, sink.str().c_str());
    return 1;
  }
  result.dBareSeconds = BareLoop(nPoints, result.nWidth, result.nHeight);
  return 0;
}

// Runs work in a fresh child process and collects what it hands back and
// the child's peak memory in MB. False when the child failed.
template <typename Work>
bool InChild(Work work, ChildResult& result, double& dPeakMB) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  std::fflush(stdout);
  std::fflush(stderr);
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    ChildResult r;
    int nStatus = work(r);
    if (nStatus == 0 && write(fds[1], &r, sizeof r) != static_cast<ssize_t>(sizeof r)) nStatus = 1;
    _exit(nStatus);
  }
  close(fds[1]);
  bool bRead = pid > 0 && read(fds[0], &result, sizeof result) == static_cast<ssize_t>(sizeof result);
  close(fds[0]);
  if (pid < 0) return false;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  dPeakMB = usage.ru_maxrss / 1024.0;
  return bRead && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Every repetition of one size, each in a fresh child process.
bool MeasureSize(int nPoints, int nRepeat) {
  std::vector<double> runs, bares, ratios, peaks;
  ChildResult result;
  for (int r = 0; r < nRepeat; ++r) {
    double dPeak = 0;
    if (!InChild([&](ChildResult& out) { return RunOnce(nPoints, out); }, result, dPeak)) {
      std::fprintf(stderr, "%d points: repetition %d failed\n", nPoints, r + 1);
      return false;
    }
    runs.push_back(result.dRunSeconds);
    bares.push_back(result.dBareSeconds);
    ratios.push_back(result.dBareSeconds > 0 ? result.dRunSeconds / result.dBareSeconds : 0.0);
    peaks.push_back(dPeak);
    std::printf("%7d points: #%d run %.3f s, bare %.3f s, ratio %.2f\n", nPoints, r + 1, result.dRunSeconds,
                result.dBareSeconds, ratios.back());
  }
  std::printf("%7d points: run %.3f s, bare Cairo loop %.3f s, ratio %.2f (median of %d; ratios %.2f-%.2f) "
              "(3 previews of %dx%d)\n",
              nPoints, Median(runs), Median(bares), Median(ratios), nRepeat,
              *std::min_element(ratios.begin(), ratios.end()), *std::max_element(ratios.begin(), ratios.end()),
              result.nWidth, result.nHeight);
  std::printf("%7d points: peak memory %.1f MB (median; %.1f-%.1f)\n", nPoints, Median(peaks),
              *std::min_element(peaks.begin(), peaks.end()), *std::max_element(peaks.begin(), peaks.end()));
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  int nRepeat = 5;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--repeat" && i + 1 < argc)
      nRepeat = std::max(1, std::atoi(argv[++i]));
    else
      sizes.push_back(std::atoi(argv[i]));
  }
  if (sizes.empty()) sizes = {2000, 100000};
  int nStatus = 0;
  for (int nPoints : sizes)
    if (!MeasureSize(nPoints, nRepeat)) nStatus = 1;
  return nStatus;
}
