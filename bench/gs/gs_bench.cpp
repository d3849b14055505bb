// The graphics system on the drive-test dialog's three previews (372 x 200
// pixels each) showing a map of 10,000 entities (lines, polylines, arcs,
// texts, solid hatches), against the same primitives drawn by a bare loop
// straight onto Cairo surfaces of the same size in the same run; then the
// time to open api-cw750-details.dxf and draw it once.
// Times are processor time of the process. Usage:
// gs_bench [entity count] [processor seconds per measurement] [drawing]
#include <pango/pangocairo.h>

#include <time.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "acgsmanager.h"
#include "dbcurves.h"
#include "dbdatabase.h"
#include "dbhatch.h"
#include "dbpline.h"
#include "dbsymtb.h"
#include "dbtext.h"

namespace {

constexpr int kWidth = 372, kHeight = 200;
constexpr double kMapWidth = 1000.0, kMapHeight = 540.0;

// One primitive as both sides draw it.
struct Prim {
  enum Kind { kLine, kPolyline, kArc, kText, kHatch } kind;
  int color;
  std::vector<AcGePoint2d> points;  // line ends, polyline vertices, hatch corners; arc/text: the first is the centre/position
  double radius = 0, start = 0, end = 0, height = 0;
  std::wstring text;
};

std::vector<Prim> MakeMap(long count) {
  std::mt19937 rng(20240607);
  std::uniform_real_distribution<double> x(0, kMapWidth), y(0, kMapHeight), size(2, 20), angle(0, 2 * M_PI);
  std::uniform_int_distribution<int> color(1, 254), letters(4, 10);
  std::vector<Prim> map;
  for (long i = 0; i < count; ++i) {
    Prim p;
    p.color = color(rng);
    int k = static_cast<int>(i % 20);
    AcGePoint2d at(x(rng), y(rng));
    if (k < 8) {
      p.kind = Prim::kLine;
      double a = angle(rng), l = size(rng) * 2;
      p.points = {at, at + AcGeVector2d(std::cos(a), std::sin(a)) * l};
    } else if (k < 12) {
      p.kind = Prim::kPolyline;
      p.points.push_back(at);
      for (int v = 0; v < 4; ++v) p.points.push_back(p.points.back() + AcGeVector2d(size(rng) - 11, size(rng) - 11));
    } else if (k < 15) {
      p.kind = Prim::kArc;
      p.points = {at};
      p.radius = size(rng);
      p.start = angle(rng);
      p.end = p.start + angle(rng) / 2 + 0.5;
    } else if (k < 17) {
      p.kind = Prim::kText;
      p.points = {at};
      p.height = 6 + size(rng) / 2;
      for (int c = letters(rng); c > 0; --c) p.text.push_back(static_cast<wchar_t>(L'A' + rng() % 26));
    } else {
      p.kind = Prim::kHatch;
      double w = size(rng), h = size(rng);
      p.points = {at, at + AcGeVector2d(w, 0), at + AcGeVector2d(w, h), at + AcGeVector2d(0, h)};
    }
    map.push_back(std::move(p));
  }
  return map;
}

// The map as entities of the drawing's model space.
std::vector<AcDbObjectId> Fill(AcDbDatabase& db, const std::vector<Prim>& map) {
  AcDbBlockTable* table = nullptr;
  AcDbBlockTableRecord* ms = nullptr;
  db.getBlockTable(table, AcDb::kForRead);
  table->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite);
  table->close();
  std::vector<AcDbObjectId> ids;
  for (const Prim& p : map) {
    AcDbEntity* e = nullptr;
    switch (p.kind) {
      case Prim::kLine:
        e = new AcDbLine(AcGePoint3d(p.points[0].x, p.points[0].y, 0), AcGePoint3d(p.points[1].x, p.points[1].y, 0));
        break;
      case Prim::kPolyline: {
        auto* pl = new AcDbPolyline();
        for (unsigned v = 0; v < p.points.size(); ++v) pl->addVertexAt(v, p.points[v]);
        e = pl;
        break;
      }
      case Prim::kArc:
        e = new AcDbArc(AcGePoint3d(p.points[0].x, p.points[0].y, 0), p.radius, p.start, p.end);
        break;
      case Prim::kText:
        e = new AcDbText(AcGePoint3d(p.points[0].x, p.points[0].y, 0), p.text.c_str(), AcDbObjectId::kNull, p.height);
        break;
      case Prim::kHatch: {
        auto* h = new AcDbHatch();
        AcGePoint2dArray loop;
        for (const AcGePoint2d& c : p.points) loop.append(c);
        h->appendLoop(AcDbHatch::kExternal, loop, AcGeDoubleArray());
        e = h;
        break;
      }
    }
    e->setColorIndex(static_cast<Adesk::UInt16>(p.color));
    AcDbObjectId id;
    ms->appendAcDbEntity(id, e);
    e->close();
    ids.push_back(id);
  }
  ms->close();
  return ids;
}

// Three previews as the drive-test dialog has them: each entity added to
// each view by id, the views framed on the map.
struct Previews {
  AcGsClassFactory* factory = acgsGetGsManager()->getGSClassFactory();
  AcGsDevice* device[3];
  AcGsView* view[3];
  AcGsModel* model[3];
  Previews(const std::vector<AcDbObjectId>& ids) {
    for (int i = 0; i < 3; ++i) {
      device[i] = factory->createDevice(nullptr);
      device[i]->onSize(kWidth, kHeight);
      view[i] = factory->createView();
      model[i] = factory->createModel(AcGsModel::kMain, 0, nullptr, nullptr);
      device[i]->add(view[i]);
      AcGePoint3d c(kMapWidth / 2, kMapHeight / 2, 0);
      view[i]->setView(c + AcGeVector3d(0, 0, 1), c, AcGeVector3d::kYAxis, kMapWidth * 1.005, kMapHeight * 1.005);
      for (const AcDbObjectId& id : ids) {
        AcDbEntity* e = nullptr;
        if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) continue;
        view[i]->add(e, model[i]);
        e->close();
      }
    }
  }
  ~Previews() {
    for (int i = 0; i < 3; ++i) {
      factory->deleteView(view[i]);
      factory->deleteModel(model[i]);
      factory->deleteDevice(device[i]);
    }
  }
  void frame() {
    for (int i = 0; i < 3; ++i) {
      view[i]->invalidate();
      view[i]->update();
    }
  }
};

// The bare loop: the same primitives, transformed and drawn one by one with
// Cairo (texts from layouts made once, so only drawing is timed).
struct Bare {
  cairo_surface_t* surface[3];
  std::vector<PangoLayout*> layouts;
  const std::vector<Prim>& map;
  double scale, offsetX, offsetY;
  explicit Bare(const std::vector<Prim>& m) : map(m) {
    for (auto& s : surface) s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    scale = std::min(kWidth / (kMapWidth * 1.005), kHeight / (kMapHeight * 1.005));
    offsetX = kWidth / 2.0 - kMapWidth / 2 * scale;
    offsetY = kHeight / 2.0 + kMapHeight / 2 * scale;
    PangoFontMap* fontMap = pango_cairo_font_map_get_default();
    PangoContext* context = pango_font_map_create_context(fontMap);
    for (const Prim& p : map) {
      if (p.kind != Prim::kText) continue;
      PangoLayout* layout = pango_layout_new(context);
      PangoFontDescription* d = pango_font_description_from_string("DejaVu Sans");
      pango_font_description_set_absolute_size(d, p.height / 0.72 * scale * PANGO_SCALE);
      pango_layout_set_font_description(layout, d);
      pango_font_description_free(d);
      std::string utf8(p.text.begin(), p.text.end());
      pango_layout_set_text(layout, utf8.c_str(), -1);
      layouts.push_back(layout);
    }
    g_object_unref(context);
  }
  ~Bare() {
    for (PangoLayout* l : layouts) g_object_unref(l);
    for (auto& s : surface) cairo_surface_destroy(s);
  }
  double X(double x) const { return offsetX + x * scale; }
  double Y(double y) const { return offsetY - y * scale; }
  void frame() {
    for (cairo_surface_t* s : surface) {
      cairo_t* cr = cairo_create(s);
      cairo_set_source_rgb(cr, 0, 0, 0);
      cairo_paint(cr);
      cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
      cairo_set_line_width(cr, 1.0);
      size_t text = 0;
      for (const Prim& p : map) {
        double c = p.color / 255.0;
        cairo_set_source_rgb(cr, c, 1 - c, 0.5);
        switch (p.kind) {
          case Prim::kLine:
          case Prim::kPolyline:
            cairo_move_to(cr, X(p.points[0].x), Y(p.points[0].y));
            for (size_t i = 1; i < p.points.size(); ++i) cairo_line_to(cr, X(p.points[i].x), Y(p.points[i].y));
            cairo_stroke(cr);
            break;
          case Prim::kArc:
            cairo_new_sub_path(cr);
            cairo_arc_negative(cr, X(p.points[0].x), Y(p.points[0].y), p.radius * scale, -p.start, -p.end);
            cairo_stroke(cr);
            break;
          case Prim::kText:
            cairo_move_to(cr, X(p.points[0].x), Y(p.points[0].y + p.height));
            pango_cairo_show_layout(cr, layouts[text++]);
            break;
          case Prim::kHatch:
            cairo_move_to(cr, X(p.points[0].x), Y(p.points[0].y));
            for (size_t i = 1; i < p.points.size(); ++i) cairo_line_to(cr, X(p.points[i].x), Y(p.points[i].y));
            cairo_close_path(cr);
            cairo_fill(cr);
            break;
        }
      }
      cairo_destroy(cr);
      cairo_surface_flush(s);
    }
  }
};

// Processor time of this process: other work on a shared machine does not count.
double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

template <class F>
double FramesPerSecond(F&& frame, double seconds) {
  frame();  // warm caches
  double t = CpuSeconds();
  long frames = 0;
  do {
    frame();
    ++frames;
  } while (CpuSeconds() - t < seconds);
  return frames / (CpuSeconds() - t);
}

}  // namespace

int main(int argc, char** argv) {
  long count = argc > 1 ? std::atol(argv[1]) : 10000;
  double seconds = argc > 2 ? std::atof(argv[2]) : 3.0;
  std::string drawing = argc > 3 ? argv[3] : GS_BENCH_DRAWING;

  std::vector<Prim> map = MakeMap(count);
  {
    AcDbDatabase db;
    std::vector<AcDbObjectId> ids = Fill(db, map);
    Previews previews(ids);
    double ours = FramesPerSecond([&] { previews.frame(); }, seconds);
    Bare bare(map);
    double cairo = FramesPerSecond([&] { bare.frame(); }, seconds);
    std::printf("three previews %dx%d, %ld entities: %.1f frames/s (%.1f ms a frame)\n", kWidth, kHeight, count, ours,
                1000 / ours);
    std::printf("bare Cairo loop, same primitives:  %.1f frames/s (%.1f ms a frame)\n", cairo, 1000 / cairo);
    std::printf("ratio: the graphics system takes %.2fx the bare loop's time (aim: at most 2x)\n", cairo / ours);
  }
  {
    std::wstring path(drawing.begin(), drawing.end());
    double t = CpuSeconds();
    AcDbDatabase db(false);
    if (db.readDwgFile(path.c_str()) != Acad::eOk) {
      std::fprintf(stderr, "cannot read %s\n", drawing.c_str());
      return 1;
    }
    double read = CpuSeconds() - t;
    double t2 = CpuSeconds();
    AcGsClassFactory* factory = acgsGetGsManager()->getGSClassFactory();
    AcGsDevice* device = factory->createDevice(nullptr);
    device->onSize(600, 400);
    AcGsView* view = factory->createView();
    AcGsModel* model = factory->createModel(AcGsModel::kMain, 0, nullptr, nullptr);
    device->add(view);
    AcDbBlockTable* table = nullptr;
    AcDbBlockTableRecord* ms = nullptr;
    db.getBlockTable(table, AcDb::kForRead);
    table->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForRead);
    table->close();
    view->add(ms, model);
    ms->close();
    db.updateExt(true);
    AcGePoint3d lo = db.extmin(), hi = db.extmax(), c = lo + (hi - lo) / 2;
    view->setView(c + AcGeVector3d(0, 0, 1), c, AcGeVector3d::kYAxis, hi.x - lo.x, hi.y - lo.y);
    view->update();
    double draw = CpuSeconds() - t2;
    std::printf("%s: opened in %.1f ms, extents and first drawing at 600x400 in %.1f ms, %.1f ms in all\n",
                drawing.c_str(), read * 1000, draw * 1000, (read + draw) * 1000);
    factory->deleteView(view);
    factory->deleteModel(model);
    factory->deleteDevice(device);
  }
  return 0;
}
