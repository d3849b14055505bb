// The drawing window's picture of model space: curves as polylines sampled
// along their parameters, texts at their positions, points as dots, block
// references through their exploded parts, each in its colour (by layer
// where it says so) on black; layers that are off or frozen are left out.
#include "modelpaint.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "acedcolor.h"
#include "acedview.h"
#include "dbcurve.h"
#include "dbdatabase.h"
#include "dbentity.h"
#include "dbextents.h"
#include "dbhostapp.h"
#include "dbpoint.h"
#include "dbspaceids.h"
#include "dbsymtb.h"
#include "dbtext.h"

namespace host {
namespace {

struct Painter {
  HDC dc;
  int width, height;
  double cx, cy, size;

  POINT Pixel(const AcGePoint3d& p) const {
    double px = (p.x - cx) / size + width / 2.0, py = (cy - p.y) / size + height / 2.0;
    px = std::clamp(px, -1e6, 1e6);
    py = std::clamp(py, -1e6, 1e6);
    return {static_cast<LONG>(std::lround(px)), static_cast<LONG>(std::lround(py))};
  }

  // The entity's colour: its own, its layer's for "by layer", white for "by
  // block"; false when its layer is off or frozen.
  bool Colour(const AcDbEntity* e, COLORREF& out) const {
    int index = e->colorIndex();
    AcDbLayerTableRecord* layer = nullptr;
    if (acdbOpenObject(layer, e->layerId(), AcDb::kForRead) == Acad::eOk) {
      bool hidden = layer->isOff() || layer->isFrozen();
      int layerIndex = layer->color().colorIndex();
      layer->close();
      if (hidden) return false;
      if (index == 256) index = layerIndex;
    }
    if (index <= 0 || index >= 256) index = 7;
    Adesk::UInt32 rgb = acedGetRGB(index);
    out = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    return true;
  }

  void Curve(const AcDbCurve* c) const {
    double start = 0, end = 0;
    if (c->getStartParam(start) != Acad::eOk || c->getEndParam(end) != Acad::eOk || !(end >= start)) return;
    // Whole parameters are vertices of polylines; arcs between them get
    // enough steps to look round at this scale.
    int steps = std::clamp(static_cast<int>(std::ceil(end - start)) * 8, 8, 4096);
    std::vector<POINT> pts;
    pts.reserve(static_cast<size_t>(steps) + 1);
    for (int i = 0; i <= steps; ++i) {
      AcGePoint3d p;
      if (c->getPointAtParam(start + (end - start) * i / steps, p) == Acad::eOk) pts.push_back(Pixel(p));
    }
    if (pts.size() >= 2) Polyline(dc, pts.data(), static_cast<int>(pts.size()));
  }

  void Entity(AcDbEntity* e, int depth) const {
    COLORREF colour;
    if (!Colour(e, colour)) return;
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    if (auto* c = AcDbCurve::cast(e)) {
      Curve(c);
    } else if (auto* t = AcDbText::cast(e)) {
      int h = static_cast<int>(std::lround(t->height() / size));
      if (h >= 3) {
        LOGFONTW lf{};
        lf.lfHeight = -h;
        lf.lfEscapement = static_cast<LONG>(std::lround(t->rotation() * 1800 / M_PI));
        wcscpy(lf.lfFaceName, L"Arial");
        HFONT font = CreateFontIndirectW(&lf);
        HGDIOBJ oldFont = SelectObject(dc, font);
        SetTextColor(dc, colour);
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_LEFT | TA_BASELINE);
        POINT at = Pixel(t->position());
        const wchar_t* s = t->textStringConst();
        TextOutW(dc, at.x, at.y, s, static_cast<int>(wcslen(s)));
        SelectObject(dc, oldFont);
        DeleteObject(font);
      }
    } else if (auto* p = AcDbPoint::cast(e)) {
      POINT at = Pixel(p->position());
      RECT r{at.x - 1, at.y - 1, at.x + 2, at.y + 2};
      HBRUSH b = CreateSolidBrush(colour);
      FillRect(dc, &r, b);
      DeleteObject(b);
    } else if (depth < 4) {
      AcDbVoidPtrArray parts;
      if (e->explode(parts) == Acad::eOk)
        for (int i = 0; i < parts.length(); ++i) {
          auto* part = static_cast<AcDbEntity*>(parts[i]);
          Entity(part, depth + 1);
          delete part;
        }
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }
};

}  // namespace

void PaintModelSpace(HDC dc, int width, int height) {
  RECT all{0, 0, width, height};
  HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
  FillRect(dc, &all, black);
  DeleteObject(black);
  const acad::View& v = acad::CurrentView();
  Painter p{dc, width, height, v.centerX, v.centerY, acad::PixelSize()};
  if (!(p.size > 0)) return;
  for (AcDbObjectId id : acdbModelSpaceIds(acdbHostApplicationServices()->workingDatabase())) {
    AcDbEntity* e = nullptr;
    if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) continue;
    p.Entity(e, 0);
    e->close();
  }
}

bool ModelSpaceExtents(double& minX, double& minY, double& maxX, double& maxY) {
  AcDbExtents all;
  bool any = false;
  for (AcDbObjectId id : acdbModelSpaceIds(acdbHostApplicationServices()->workingDatabase())) {
    AcDbEntity* e = nullptr;
    if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) continue;
    AcDbExtents ext;
    if (e->getGeomExtents(ext) == Acad::eOk) {
      all.addExt(ext);
      any = true;
    }
    e->close();
  }
  if (!any) return false;
  minX = all.minPoint().x;
  minY = all.minPoint().y;
  maxX = all.maxPoint().x;
  maxY = all.maxPoint().y;
  return std::isfinite(minX) && std::isfinite(maxY);
}

}  // namespace host
