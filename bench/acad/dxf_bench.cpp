// Writes a drawing of one million entities (lines, arcs, polylines, texts)
// as DXF, reads it back, and reads the same file with libdxflib.
// Usage: acad_dxf_bench [entity count] [file]; a file named is kept.
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dbcurves.h"
#include "dbdatabase.h"
#include "dbpline.h"
#include "dbsymtb.h"
#include "dbtext.h"

#ifdef ACAD_BENCH_HAVE_DXFLIB
#include <dl_creationadapter.h>
#include <dl_dxf.h>
#endif

namespace {
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

double PeakMb() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return static_cast<double>(ru.ru_maxrss) / 1024.0;
}

long FileSize(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return 0;
  std::fseek(f, 0, SEEK_END);
  long n = std::ftell(f);
  std::fclose(f);
  return n;
}

void Fill(AcDbDatabase& db, long count) {
  AcDbBlockTable* bt = nullptr;
  db.getBlockTable(bt, AcDb::kForRead);
  AcDbBlockTableRecord* ms = nullptr;
  bt->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite);
  bt->close();
  for (long i = 0; i < count; ++i) {
    double x = static_cast<double>(i % 1000) * 1.37, y = static_cast<double>(i / 1000) * 2.11;
    AcDbEntity* e;
    switch (i % 4) {
      case 0: e = new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + 1.5, y + 0.75, 0)); break;
      case 1: e = new AcDbArc(AcGePoint3d(x, y, 0), 0.8, 0.1, 2.9); break;
      case 2: {
        auto* p = new AcDbPolyline();
        p->addVertexAt(0, AcGePoint2d(x, y));
        p->addVertexAt(1, AcGePoint2d(x + 1, y), 0.5);
        p->addVertexAt(2, AcGePoint2d(x + 1, y + 1));
        p->addVertexAt(3, AcGePoint2d(x, y + 1));
        p->setClosed(true);
        e = p;
        break;
      }
      default: e = new AcDbText(AcGePoint3d(x, y, 0), L"路测点 P", AcDbObjectId::kNull, 0.5, 0.3); break;
    }
    ms->appendAcDbEntity(e);
    e->close();
  }
  ms->close();
}

#ifdef ACAD_BENCH_HAVE_DXFLIB
class Counter : public DL_CreationAdapter {
 public:
  long entities = 0;
  void addLine(const DL_LineData&) override { ++entities; }
  void addArc(const DL_ArcData&) override { ++entities; }
  void addPolyline(const DL_PolylineData&) override { ++entities; }
  void addText(const DL_TextData&) override { ++entities; }
};
#endif
}  // namespace

int main(int argc, char** argv) {
  long count = argc > 1 ? std::atol(argv[1]) : 1000000;
  std::string path = argc > 2 ? argv[2] : "/tmp/acad_dxf_bench.dxf";
  std::wstring wpath(path.begin(), path.end());

  auto t = Clock::now();
  long written = 0;
  {
    AcDbDatabase db;
    Fill(db, count);
    std::printf("built %ld entities in %.2f s, peak memory %.0f MB\n", count, Seconds(t), PeakMb());
    t = Clock::now();
    if (db.saveAs(wpath.c_str()) != Acad::eOk) {
      std::fprintf(stderr, "saveAs failed\n");
      return 1;
    }
    double s = Seconds(t);
    written = FileSize(path);
    std::printf("write: %.1f MB in %.2f s = %.1f MB/s\n", written / 1e6, s, written / 1e6 / s);
  }
  double readRate = 0;
  {
    AcDbDatabase back(false);
    t = Clock::now();
    Acad::ErrorStatus es = back.readDwgFile(wpath.c_str());
    double s = Seconds(t);
    if (es != Acad::eOk) {
      std::fprintf(stderr, "readDwgFile failed: %d\n", static_cast<int>(es));
      return 1;
    }
    readRate = written / 1e6 / s;
    std::printf("read:  %.1f MB in %.2f s = %.1f MB/s, peak memory %.0f MB\n", written / 1e6, s, readRate, PeakMb());
  }
#ifdef ACAD_BENCH_HAVE_DXFLIB
  {
    Counter counter;
    DL_Dxf dxf;
    t = Clock::now();
    bool ok = dxf.in(path, &counter);
    double s = Seconds(t);
    double rate = written / 1e6 / s;
    std::printf("libdxflib read: %s, %ld entities in %.2f s = %.1f MB/s\n", ok ? "ok" : "failed", counter.entities, s,
                rate);
    std::printf("ratio (ours / libdxflib): %.1fx\n", readRate / rate);
  }
#endif
  if (argc <= 2) std::remove(path.c_str());
  return 0;
}
