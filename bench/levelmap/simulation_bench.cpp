// A drive-test run's point stage at full size: range and route picked by
// scripted answers, one million points placed along a route of a thousand
// polylines, then one band chosen per point for each of three measurement
// types. Reported as route points per second.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ostream>

#include "LevelBands.h"
#include "PointSimulation.h"
#include "acdocman.h"
#include "acedview.h"
#include "dbdatabase.h"
#include "dbhostapp.h"
#include "dbpline.h"
#include "dbsymtb.h"
#include "script.h"
#include "transcript.h"

namespace {

const int kPolylines = 1000;
const double kPolylineLength = 1000.0;  // in four segments
const int kPointCount = 1000000;        // drive-test points and points to draw alike
const wchar_t* const kTypes[] = {L"RxLev", L"RxQual", L"C/I"};

// A fresh drawing with kPolylines parallel polylines 10 units apart, three
// measurement types of seven bands whose planned counts add up to
// kPointCount, and the transcript thrown away.
class RouteDrawing {
 public:
  RouteDrawing() : m_null(nullptr) {
    m_pOldSink = user::SetSink(&m_null);
    acDocManager->closeAllDocuments();
    acad::ResetEditorState();
    AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
    AcDbBlockTable* pTable = nullptr;
    AcDbBlockTableRecord* pSpace = nullptr;
    pDb->getBlockTable(pTable, AcDb::kForRead);
    pTable->getAt(ACDB_MODEL_SPACE, pSpace, AcDb::kForWrite);
    pTable->close();
    for (int i = 0; i < kPolylines; ++i) {
      AcDbPolyline* pPline = new AcDbPolyline;
      for (unsigned int v = 0; v <= 4; ++v) pPline->addVertexAt(v, AcGePoint2d(v * kPolylineLength / 4, i * 10.0));
      pSpace->appendAcDbEntity(pPline);
      pPline->close();
    }
    pSpace->close();

    static const int kShares[] = {50000, 100000, 150000, 200000, 250000, 150000, 100000};
    for (const wchar_t* pszType : kTypes) {
      CLevelBandArray* pBands = new CLevelBandArray;
      for (int i = 0; i < 7; ++i) {
        levelmapdb band;
        band.color = i + 1;
        band.num = kShares[i];
        pBands->Add(band);
      }
      m_levelMap.SetAt(pszType, pBands);
    }
  }
  ~RouteDrawing() {
    CLevelBandTable::ClearBandMap(m_levelMap);
    acDocManager->closeAllDocuments();
    user::SetSink(m_pOldSink);
  }

  // The user's answers: the range around the whole route, then every
  // polyline of the drawing as route.
  static void ScriptAnswers() { user::Script::Instance().UseLines({"-10,-10", "1010,10000", "ALL", ""}); }

  CLevelBandMap m_levelMap;

 private:
  std::ostream m_null;
  std::ostream* m_pOldSink = nullptr;
};

// Whole point stage: quotas reset, selections, points, quotas scaled, and
// the band choice for every point of every type.
void BM_SimulateAndPickBands(benchmark::State& state) {
  RouteDrawing drawing;
  srand(1);
  double dPoints = 0;
  long long nSum = 0;
  for (auto _ : state) {
    RouteDrawing::ScriptAnswers();
    ResetBandQuotas(drawing.m_levelMap);
    AcDbExtents extRange;
    AcDbObjectIdArray rangeIds;
    if (SimulateRoutePoints(kPointCount, 1.0, drawing.m_levelMap, extRange, rangeIds) != 1 ||
        g_routePoints.length() != kPolylines * (kPolylineLength + 1)) {
      state.SkipWithError("the route did not give the expected points");
      break;
    }
    for (const wchar_t* pszType : kTypes) {
      CLevelBandArray* pBands = nullptr;
      drawing.m_levelMap.Lookup(pszType, pBands);
      for (int k = 0; k < g_routePoints.length(); ++k) nSum += PickBand(*pBands);
    }
    dPoints += g_routePoints.length();
    g_routePoints.removeAll();
  }
  benchmark::DoNotOptimize(nSum);
  state.counters["points"] = benchmark::Counter(dPoints, benchmark::Counter::kIsRate);
  state.counters["band_picks"] = benchmark::Counter(dPoints * 3, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SimulateAndPickBands)->Unit(benchmark::kMillisecond);

// The selections and the point placement alone, for comparison.
void BM_SimulateRoutePoints(benchmark::State& state) {
  RouteDrawing drawing;
  double dPoints = 0;
  for (auto _ : state) {
    RouteDrawing::ScriptAnswers();
    ResetBandQuotas(drawing.m_levelMap);
    AcDbExtents extRange;
    AcDbObjectIdArray rangeIds;
    if (SimulateRoutePoints(kPointCount, 1.0, drawing.m_levelMap, extRange, rangeIds) != 1) {
      state.SkipWithError("the selection failed");
      break;
    }
    dPoints += g_routePoints.length();
    g_routePoints.removeAll();
  }
  state.counters["points"] = benchmark::Counter(dPoints, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SimulateRoutePoints)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
