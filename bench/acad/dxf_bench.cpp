// Writes a drawing of one million entities (lines, arcs, polylines, texts)
// as DXF and reads it back, beside libdxflib writing the same entities and
// reading the same file, and prints the rates of both and their ratios.
// Each step runs in a process of its own, so the peak memory printed for a
// step is that step's alone (the mapped file included). Every step of both
// sides is repeated the same number of times, in turns (ours, then dxflib's,
// on the same file), and the median is printed with the range; a ratio is
// taken per repetition (our run against dxflib's run of the same turn) and
// the median and range of those ratios are printed.
// Usage: acad_dxf_bench [entity count] [file] [repetitions]   (a file named is kept; 5 by default)
//        acad_dxf_bench --read FILE                           (our reading only, for a profiler)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

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

// Processor time of this process so far (user and system), in seconds: on a
// machine shared with others it changes less than the time on the clock.
double CpuSeconds() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
         static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

double PeakMb() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return static_cast<double>(ru.ru_maxrss) / 1024.0;
}

double FileMb(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return 0;
  std::fseek(f, 0, SEEK_END);
  long n = std::ftell(f);
  std::fclose(f);
  return static_cast<double>(n) / 1e6;
}

// What one step measured.
struct Step {
  bool ok = false;
  double seconds = 0;
  double cpuSeconds = 0;
  double megabytes = 0;  // of the file written or read
  double peakMb = 0;
  long entities = 0;
  double rate() const { return seconds > 0 ? megabytes / seconds : 0; }
  double cpuRate() const { return cpuSeconds > 0 ? megabytes / cpuSeconds : 0; }
};

// Runs the step in a child process and hands back what it measured.
Step RunApart(const std::function<Step()>& step) {
  int fds[2];
  if (::pipe(fds) != 0) return {};
  std::fflush(stdout);
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    Step s = step();
    s.peakMb = PeakMb();
    ssize_t n = ::write(fds[1], &s, sizeof s);
    ::_exit(n == static_cast<ssize_t>(sizeof s) ? 0 : 1);
  }
  ::close(fds[1]);
  Step s;
  if (pid < 0 || ::read(fds[0], &s, sizeof s) != static_cast<ssize_t>(sizeof s)) s = Step();
  ::close(fds[0]);
  if (pid > 0) ::waitpid(pid, nullptr, 0);
  return s;
}

// The i-th entity of the drawing: kind i % 4 at a place on a grid.
struct Place {
  double x, y;
  explicit Place(long i) : x(static_cast<double>(i % 1000) * 1.37), y(static_cast<double>(i / 1000) * 2.11) {}
};
const wchar_t kText[] = L"路测点 P";

void Fill(AcDbDatabase& db, long count) {
  AcDbBlockTable* bt = nullptr;
  db.getBlockTable(bt, AcDb::kForRead);
  AcDbBlockTableRecord* ms = nullptr;
  bt->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite);
  bt->close();
  for (long i = 0; i < count; ++i) {
    Place p(i);
    AcDbEntity* e;
    switch (i % 4) {
      case 0: e = new AcDbLine(AcGePoint3d(p.x, p.y, 0), AcGePoint3d(p.x + 1.5, p.y + 0.75, 0)); break;
      case 1: e = new AcDbArc(AcGePoint3d(p.x, p.y, 0), 0.8, 0.1, 2.9); break;
      case 2: {
        auto* pl = new AcDbPolyline();
        pl->addVertexAt(0, AcGePoint2d(p.x, p.y));
        pl->addVertexAt(1, AcGePoint2d(p.x + 1, p.y), 0.5);
        pl->addVertexAt(2, AcGePoint2d(p.x + 1, p.y + 1));
        pl->addVertexAt(3, AcGePoint2d(p.x, p.y + 1));
        pl->setClosed(true);
        e = pl;
        break;
      }
      default: e = new AcDbText(AcGePoint3d(p.x, p.y, 0), kText, AcDbObjectId::kNull, 0.5, 0.3); break;
    }
    ms->appendAcDbEntity(e);
    e->close();
  }
  ms->close();
}

Step WriteOurs(long count, const std::string& path) {
  AcDbDatabase db;
  Fill(db, count);
  std::wstring wpath(path.begin(), path.end());
  Step s;
  auto t = Clock::now();
  double cpu = CpuSeconds();
  s.ok = db.saveAs(wpath.c_str()) == Acad::eOk;
  s.seconds = Seconds(t);
  s.cpuSeconds = CpuSeconds() - cpu;
  s.megabytes = FileMb(path);
  s.entities = count;
  return s;
}

Step ReadOurs(const std::string& path) {
  std::wstring wpath(path.begin(), path.end());
  AcDbDatabase db(false);
  Step s;
  auto t = Clock::now();
  double cpu = CpuSeconds();
  s.ok = db.readDwgFile(wpath.c_str()) == Acad::eOk;
  s.seconds = Seconds(t);
  s.cpuSeconds = CpuSeconds() - cpu;
  s.megabytes = FileMb(path);
  return s;
}

#ifdef ACAD_BENCH_HAVE_DXFLIB
// What a program reading with dxflib does with its callbacks: keeps the
// entities it is handed (as dxflib hands them over; our reader keeps them
// in its database) or, for the bare parser's speed, only counts them.
class Keeper : public DL_CreationAdapter {
 public:
  explicit Keeper(bool keep) : m_keep(keep) {}
  std::vector<DL_LineData> lines;
  std::vector<DL_ArcData> arcs;
  std::vector<DL_PolylineData> polylines;
  std::vector<DL_VertexData> vertices;
  std::vector<DL_TextData> texts;
  long entities() const { return m_counted; }
  void addLine(const DL_LineData& d) override { Take(lines, d, true); }
  void addArc(const DL_ArcData& d) override { Take(arcs, d, true); }
  void addPolyline(const DL_PolylineData& d) override { Take(polylines, d, true); }
  void addVertex(const DL_VertexData& d) override { Take(vertices, d, false); }
  void addText(const DL_TextData& d) override { Take(texts, d, true); }

 private:
  template <class T>
  void Take(std::vector<T>& kept, const T& d, bool entity) {
    if (m_keep) kept.push_back(d);
    m_counted += entity;
  }
  bool m_keep;
  long m_counted = 0;
};

Step ReadDxflib(const std::string& path, bool keep) {
  Keeper keeper(keep);
  DL_Dxf dxf;
  Step s;
  auto t = Clock::now();
  double cpu = CpuSeconds();
  s.ok = dxf.in(path, &keeper);
  s.seconds = Seconds(t);
  s.cpuSeconds = CpuSeconds() - cpu;
  s.megabytes = FileMb(path);
  s.entities = keeper.entities();
  return s;
}

// The same entities through dxflib's writer (release 2000, its newest),
// straight from the numbers: dxflib keeps no drawing of its own.
Step WriteDxflib(long count, const std::string& path) {
  DL_Dxf dxf;
  Step s;
  const std::string text = "\xE8\xB7\xAF\xE6\xB5\x8B\xE7\x82\xB9 P";
  auto t = Clock::now();
  double cpu = CpuSeconds();
  DL_WriterA* dw = dxf.out(path.c_str(), DL_Codes::AC1015);
  if (!dw) return s;
  dxf.writeHeader(*dw);
  dw->sectionEnd();
  dw->sectionTables();
  dxf.writeVPort(*dw);
  dw->tableLinetypes(3);
  dxf.writeLinetype(*dw, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
  dxf.writeLinetype(*dw, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
  dxf.writeLinetype(*dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
  dw->tableEnd();
  dw->tableLayers(1);
  dxf.writeLayer(*dw, DL_LayerData("0", 0), DL_Attributes("", 7, 0x00ffffff, 0, "CONTINUOUS"));
  dw->tableEnd();
  dw->tableStyle(1);
  dxf.writeStyle(*dw, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
  dw->tableEnd();
  dxf.writeView(*dw);
  dxf.writeUcs(*dw);
  dw->tableAppid(1);
  dxf.writeAppid(*dw, "ACAD");
  dw->tableEnd();
  dxf.writeDimStyle(*dw, 1, 1, 1, 1, 1);
  dxf.writeBlockRecord(*dw);
  dw->tableEnd();
  dw->sectionEnd();
  dw->sectionBlocks();
  dxf.writeBlock(*dw, DL_BlockData("*Model_Space", 0, 0.0, 0.0, 0.0));
  dxf.writeEndBlock(*dw, "*Model_Space");
  dxf.writeBlock(*dw, DL_BlockData("*Paper_Space", 0, 0.0, 0.0, 0.0));
  dxf.writeEndBlock(*dw, "*Paper_Space");
  dw->sectionEnd();
  dw->sectionEntities();
  DL_Attributes attributes("0", 256, -1, "BYLAYER", 1.0);
  for (long i = 0; i < count; ++i) {
    Place p(i);
    switch (i % 4) {
      case 0: dxf.writeLine(*dw, DL_LineData(p.x, p.y, 0, p.x + 1.5, p.y + 0.75, 0), attributes); break;
      case 1: dxf.writeArc(*dw, DL_ArcData(p.x, p.y, 0, 0.8, 0.1 * 180 / M_PI, 2.9 * 180 / M_PI), attributes); break;
      case 2:
        dxf.writePolyline(*dw, DL_PolylineData(4, 0, 0, 1), attributes);
        dxf.writeVertex(*dw, DL_VertexData(p.x, p.y, 0, 0));
        dxf.writeVertex(*dw, DL_VertexData(p.x + 1, p.y, 0, 0.5));
        dxf.writeVertex(*dw, DL_VertexData(p.x + 1, p.y + 1, 0, 0));
        dxf.writeVertex(*dw, DL_VertexData(p.x, p.y + 1, 0, 0));
        dxf.writePolylineEnd(*dw);
        break;
      default:
        dxf.writeText(*dw, DL_TextData(p.x, p.y, 0, p.x, p.y, 0, 0.5, 1.0, 0, 0, 0, text, "Standard", 0.3),
                      attributes);
        break;
    }
  }
  dw->sectionEnd();
  dxf.writeObjects(*dw);
  dxf.writeObjectsEnd(*dw);
  dw->dxfEOF();
  dw->close();
  delete dw;
  s.seconds = Seconds(t);
  s.cpuSeconds = CpuSeconds() - cpu;
  s.ok = true;
  s.megabytes = FileMb(path);
  s.entities = count;
  return s;
}
#endif

void Print(const char* what, const Step& s) {
  std::printf("%-15s %s %6.1f MB in %6.2f s = %6.1f MB/s (processor %6.2f s = %6.1f MB/s), peak memory %4.0f MB\n",
              what, s.ok ? "ok    " : "FAILED", s.megabytes, s.seconds, s.rate(), s.cpuSeconds, s.cpuRate(), s.peakMb);
}

// The middle value (the mean of the two middle ones for an even count), the
// smallest and the largest.
struct Spread {
  double median = 0, min = 0, max = 0;
};
Spread SpreadOf(std::vector<double> v) {
  Spread r;
  if (v.empty()) return r;
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  r.median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  r.min = v.front();
  r.max = v.back();
  return r;
}

// The repetitions of one step: all must have succeeded.
struct Series {
  std::vector<Step> runs;
  bool ok() const {
    return !runs.empty() && std::all_of(runs.begin(), runs.end(), [](const Step& s) { return s.ok; });
  }
  template <class F>
  Spread spread(F f) const {
    std::vector<double> v;
    for (const Step& s : runs) v.push_back(f(s));
    return SpreadOf(v);
  }
  double peakMb() const { return spread([](const Step& s) { return s.peakMb; }).max; }
  long entities() const { return runs.empty() ? 0 : runs.front().entities; }
  double megabytes() const { return runs.empty() ? 0 : runs.front().megabytes; }
};

// One line per step: the median time and rate, the range of the rates, and
// the highest peak of all repetitions.
void Print(const char* what, const Series& r) {
  Spread wall = r.spread([](const Step& s) { return s.seconds; });
  Spread cpu = r.spread([](const Step& s) { return s.cpuSeconds; });
  Spread rate = r.spread([](const Step& s) { return s.rate(); });
  Spread cpuRate = r.spread([](const Step& s) { return s.cpuRate(); });
  std::printf("%-15s %s %6.1f MB in %6.2f s = %6.1f MB/s [%.1f-%.1f] (processor %6.2f s = %6.1f MB/s [%.1f-%.1f]), "
              "peak memory %4.0f MB\n",
              what, r.ok() ? "ok    " : "FAILED", r.megabytes(), wall.median, rate.median, rate.min, rate.max, cpu.median,
              cpuRate.median, cpuRate.min, cpuRate.max, r.peakMb());
}

// The ratios of our rate to theirs, one per repetition (the same turn).
template <class F>
Spread Ratios(const Series& ours, const Series& theirs, F rate) {
  std::vector<double> v;
  for (size_t i = 0; i < ours.runs.size() && i < theirs.runs.size(); ++i) {
    double t = rate(theirs.runs[i]);
    if (t > 0) v.push_back(rate(ours.runs[i]) / t);
  }
  return SpreadOf(v);
}

void PrintRatio(const char* what, const Spread& r) { std::printf("%s %.1fx [%.1f-%.1f]", what, r.median, r.min, r.max); }
}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--read") == 0) {
    Step s = ReadOurs(argv[2]);
    s.peakMb = PeakMb();
    Print("read (ours)", s);
    return s.ok ? 0 : 1;
  }
  long count = argc > 1 ? std::atol(argv[1]) : 1000000;
  std::string path = argc > 2 ? argv[2] : "/tmp/acad_dxf_bench.dxf";
  int repetitions = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  std::printf("%d repetitions of each step; medians, [range] of the rates\n", repetitions);

  Series writeOurs, readOurs;
#ifdef ACAD_BENCH_HAVE_DXFLIB
  std::string libPath = path + ".dxflib.dxf";
  Series writeLib, readLib, parseLib;
#endif
  for (int i = 0; i < repetitions; ++i) {
    writeOurs.runs.push_back(RunApart([&] { return WriteOurs(count, path); }));
    readOurs.runs.push_back(RunApart([&] { return ReadOurs(path); }));
#ifdef ACAD_BENCH_HAVE_DXFLIB
    writeLib.runs.push_back(RunApart([&] { return WriteDxflib(count, libPath); }));
    std::remove(libPath.c_str());
    // Two baselines: dxflib keeping what it reads (the same work as ours) and
    // dxflib only counting (its bare parser).
    readLib.runs.push_back(RunApart([&] { return ReadDxflib(path, true); }));
    parseLib.runs.push_back(RunApart([&] { return ReadDxflib(path, false); }));
#endif
  }
  Print("write (ours)", writeOurs);
  Print("read (ours)", readOurs);
  int status = writeOurs.ok() && readOurs.ok() ? 0 : 1;
#ifdef ACAD_BENCH_HAVE_DXFLIB
  Print("write (dxflib)", writeLib);
  Print("read (dxflib)", readLib);
  Print("parse (dxflib)", parseLib);
  if (readLib.entities() != count) std::printf("dxflib found %ld of the %ld entities\n", readLib.entities(), count);
  if (readLib.ok() && writeLib.ok() && parseLib.ok()) {
    auto wall = [](const Step& s) { return s.rate(); };
    auto cpu = [](const Step& s) { return s.cpuRate(); };
    std::printf("ratios (ours / dxflib, MB/s, median [range]):");
    PrintRatio(" read", Ratios(readOurs, readLib, wall));
    PrintRatio(" (against parsing only", Ratios(readOurs, parseLib, wall));
    PrintRatio("), write", Ratios(writeOurs, writeLib, wall));
    std::printf("\nratios by processor time:    ");
    PrintRatio("  read", Ratios(readOurs, readLib, cpu));
    PrintRatio(" (against parsing only", Ratios(readOurs, parseLib, cpu));
    PrintRatio("), write", Ratios(writeOurs, writeLib, cpu));
    std::printf("\n");
  }
#endif
  if (readOurs.megabytes() > 0)
    std::printf("peak memory of our read: %.0f MB = %.2fx the file's %.0f MB\n", readOurs.peakMb(),
                readOurs.peakMb() / readOurs.megabytes(), readOurs.megabytes());
  if (argc <= 2) std::remove(path.c_str());
  return status;
}
