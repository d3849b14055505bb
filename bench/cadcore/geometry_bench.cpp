// The polyline geometry of the CAD toolbox on large inputs: chaining
// shuffled pieces of one route (connectCurves) and the closest points of
// two long polylines (getClosestPoint), each at several sizes so that the
// growth of the cost can be read.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "CommonUtils.h"
#include "dbpline.h"

namespace {

AcGePoint2d RoutePoint(int i) { return AcGePoint2d(i * 10.0, (i % 7) * 3.0 + std::sin(i * 0.1) * 20.0); }

// The route of nPieces + 1 points cut into two-vertex pieces, each in a
// random direction, in random order.
void MakePieces(int nPieces, std::mt19937& rng, AcDbVoidPtrArray& arPieces) {
  std::vector<AcDbPolyline*> pieces;
  pieces.reserve(nPieces);
  for (int i = 0; i < nPieces; ++i) {
    AcGePoint2d a = RoutePoint(i), b = RoutePoint(i + 1);
    if (rng() % 2) std::swap(a, b);
    AcDbPolyline* pPiece = new AcDbPolyline(2);
    pPiece->addVertexAt(0, a);
    pPiece->addVertexAt(1, b);
    pieces.push_back(pPiece);
  }
  std::shuffle(pieces.begin(), pieces.end(), rng);
  for (AcDbPolyline* pPiece : pieces) arPieces.append(pPiece);
}

void BM_ConnectCurves(benchmark::State& state) {
  int nPieces = static_cast<int>(state.range(0));
  std::mt19937 rng(42);
  for (auto _ : state) {
    state.PauseTiming();
    AcDbVoidPtrArray arPieces;
    MakePieces(nPieces, rng, arPieces);
    state.ResumeTiming();
    AcDbPolyline* pResult = nullptr;
    CCommonUtils::connectCurves(arPieces, pResult);
    state.PauseTiming();
    if (pResult == nullptr || static_cast<int>(pResult->numVerts()) != nPieces + 1) state.SkipWithError("chain broken");
    delete pResult;
    state.ResumeTiming();
  }
  state.SetComplexityN(nPieces);
}
BENCHMARK(BM_ConnectCurves)->Arg(1000)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

// A wavy polyline of n vertices, every fourth segment an arc, shifted up.
AcDbPolyline* MakeWave(int nVerts, double dShift) {
  AcDbPolyline* pPline = new AcDbPolyline(nVerts);
  for (int i = 0; i < nVerts; ++i) {
    double dBulge = i % 4 == 0 ? 0.3 : 0.0;
    pPline->addVertexAt(i, AcGePoint2d(i * 2.0, std::sin(i * 0.05) * 30.0 + dShift), dBulge);
  }
  return pPline;
}

void BM_GetClosestPoint(benchmark::State& state) {
  int nVerts = static_cast<int>(state.range(0));
  AcDbPolyline* pFirst = MakeWave(nVerts, 0.0);
  AcDbPolyline* pSecond = MakeWave(nVerts, 45.0);
  for (auto _ : state) {
    AcGePoint3d ptFirst, ptSecond;
    CCommonUtils::getClosestPoint(pFirst, pSecond, ptFirst, ptSecond);
    benchmark::DoNotOptimize(ptFirst);
    benchmark::DoNotOptimize(ptSecond);
  }
  delete pFirst;
  delete pSecond;
  state.SetComplexityN(nVerts);
}
BENCHMARK(BM_GetClosestPoint)->Arg(1000)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace

BENCHMARK_MAIN();
