// Entities as drawables: the traits every entity sets, the polylines of
// vertices with bulges and widths they share, and blocks: a block table
// record draws its entities, a block reference its block's entities moved,
// scaled and turned as it says.
#include <algorithm>
#include <cmath>

#include "dbblkref.h"
#include "dbdrawutil.h"
#include "dbentity.h"
#include "dbsymtb.h"

namespace acdbdraw {

int ChordCount(const AcGiCommonDraw* draw, double radius, double sweep) {
  double dev = draw ? draw->deviation(kAcGiMaxDevForCurve, AcGePoint3d::kOrigin) : radius * 0.01;
  radius = std::fabs(radius);
  sweep = std::fabs(sweep);
  if (!(radius > 0.0) || !std::isfinite(radius) || !std::isfinite(sweep)) return 2;
  double step = dev < radius ? 2.0 * std::acos(1.0 - dev / radius) : M_PI / 2;
  if (!(step > 0.0)) return 1024;
  return std::clamp(static_cast<int>(std::ceil(sweep / step)), 2, 1024);
}

void AppendBulgeSegment(const AcGiCommonDraw* draw, const AcGePoint2d& a, const AcGePoint2d& b, double bulge,
                        std::vector<AcGePoint2d>& out) {
  AcGeVector2d d = b - a;
  if (std::fabs(bulge) < 1e-12 || d.isZeroLength() || !std::isfinite(bulge)) {
    out.push_back(b);
    return;
  }
  double sweep = 4.0 * std::atan(bulge);
  // The centre lies left of a -> b for a counter-clockwise arc of less than
  // half a turn.
  AcGePoint2d mid(a.x + d.x / 2, a.y + d.y / 2);
  double k = (1.0 - bulge * bulge) / (4.0 * bulge);
  AcGePoint2d center(mid.x - d.y * k, mid.y + d.x * k);
  double radius = center.distanceTo(a);
  double start = std::atan2(a.y - center.y, a.x - center.x);
  int n = ChordCount(draw, radius, sweep);
  for (int i = 1; i < n; ++i) {
    double t = start + sweep * i / n;
    out.emplace_back(center.x + radius * std::cos(t), center.y + radius * std::sin(t));
  }
  out.push_back(b);
}

namespace {

// The outline of one wide segment: the left side forward, the right side back.
void WideSegment(AcGiWorldDraw* draw, const PlineVertex& v, const AcGePoint2d& b, double elevation) {
  std::vector<AcGePoint2d> path{v.pt};
  AppendBulgeSegment(draw, v.pt, b, v.bulge, path);
  size_t n = path.size();
  // The running length gives each point its width.
  std::vector<double> at(n, 0.0);
  for (size_t i = 1; i < n; ++i) at[i] = at[i - 1] + path[i - 1].distanceTo(path[i]);
  double total = at.back() > 0 ? at.back() : 1.0;
  std::vector<AcGePoint3d> outline(2 * n);
  for (size_t i = 0; i < n; ++i) {
    AcGeVector2d dir = i + 1 < n ? path[i + 1] - path[i] : path[i] - path[i - 1];
    if (i > 0 && i + 1 < n) dir = path[i + 1] - path[i - 1];
    if (dir.isZeroLength()) dir = AcGeVector2d::kXAxis;
    AcGeVector2d left = dir.normal().perpVector();
    double w = (v.startWidth + (v.endWidth - v.startWidth) * at[i] / total) / 2.0;
    AcGePoint2d l = path[i] + left * w, r = path[i] - left * w;
    outline[i] = AcGePoint3d(l.x, l.y, elevation);
    outline[2 * n - 1 - i] = AcGePoint3d(r.x, r.y, elevation);
  }
  draw->geometry().polygon(static_cast<Adesk::UInt32>(outline.size()), outline.data());
}

}  // namespace

void DrawPolyline(AcGiWorldDraw* draw, const std::vector<PlineVertex>& vertices, bool closed,
                  const AcGeVector3d& normal, double elevation) {
  if (!draw || vertices.empty()) return;
  size_t n = vertices.size();
  size_t segments = closed ? n : n - 1;
  draw->geometry().pushModelTransform(normal.isZeroLength() ? AcGeVector3d::kZAxis : normal);
  // Widths below a pixel draw as the centre line.
  double pixel = 2.0 * draw->deviation(kAcGiMaxDevForCurve, AcGePoint3d::kOrigin);
  bool wide = false;
  for (size_t i = 0; i < segments; ++i)
    if (std::max(vertices[i].startWidth, vertices[i].endWidth) > 1.5 * pixel) wide = true;
  if (!wide) {
    std::vector<AcGePoint2d> path{vertices[0].pt};
    for (size_t i = 0; i < segments; ++i)
      AppendBulgeSegment(draw, vertices[i].pt, vertices[(i + 1) % n].pt, vertices[i].bulge, path);
    std::vector<AcGePoint3d> points;
    points.reserve(path.size());
    for (const AcGePoint2d& p : path) points.emplace_back(p.x, p.y, elevation);
    draw->geometry().polyline(static_cast<Adesk::UInt32>(points.size()), points.data());
  } else {
    AcGiFillType fill = draw->subEntityTraits().fillType();
    draw->subEntityTraits().setFillType(kAcGiFillAlways);
    for (size_t i = 0; i < segments; ++i) {
      const PlineVertex& v = vertices[i];
      const AcGePoint2d& b = vertices[(i + 1) % n].pt;
      if (std::max(v.startWidth, v.endWidth) > 1.5 * pixel) {
        WideSegment(draw, v, b, elevation);
      } else {
        std::vector<AcGePoint2d> path{v.pt};
        AppendBulgeSegment(draw, v.pt, b, v.bulge, path);
        std::vector<AcGePoint3d> points;
        for (const AcGePoint2d& p : path) points.emplace_back(p.x, p.y, elevation);
        draw->geometry().polyline(static_cast<Adesk::UInt32>(points.size()), points.data());
      }
    }
    draw->subEntityTraits().setFillType(fill);
  }
  draw->geometry().popModelTransform();
}

namespace {

// A point of a NURBS curve by de Boor's algorithm.
AcGePoint3d DeBoor(int degree, const std::vector<double>& knots, const std::vector<AcGePoint3d>& ctrl,
                   const std::vector<double>& weights, double t) {
  int n = static_cast<int>(ctrl.size());
  int k = degree;
  while (k < n - 1 && knots[static_cast<size_t>(k) + 1] <= t) ++k;
  std::vector<double> wx(static_cast<size_t>(degree) + 1), wy(wx.size()), wz(wx.size()), ww(wx.size());
  for (int j = 0; j <= degree; ++j) {
    size_t c = static_cast<size_t>(k - degree + j);
    double w = weights.size() == ctrl.size() ? weights[c] : 1.0;
    wx[static_cast<size_t>(j)] = ctrl[c].x * w;
    wy[static_cast<size_t>(j)] = ctrl[c].y * w;
    wz[static_cast<size_t>(j)] = ctrl[c].z * w;
    ww[static_cast<size_t>(j)] = w;
  }
  for (int r = 1; r <= degree; ++r)
    for (int j = degree; j >= r; --j) {
      size_t i = static_cast<size_t>(k - degree + j);
      double span = knots[i + static_cast<size_t>(degree) + 1 - static_cast<size_t>(r)] - knots[i];
      double a = span > 0 ? (t - knots[i]) / span : 0.0;
      size_t jj = static_cast<size_t>(j);
      wx[jj] = (1 - a) * wx[jj - 1] + a * wx[jj];
      wy[jj] = (1 - a) * wy[jj - 1] + a * wy[jj];
      wz[jj] = (1 - a) * wz[jj - 1] + a * wz[jj];
      ww[jj] = (1 - a) * ww[jj - 1] + a * ww[jj];
    }
  size_t d = static_cast<size_t>(degree);
  double w = ww[d] != 0.0 ? ww[d] : 1.0;
  return AcGePoint3d(wx[d] / w, wy[d] / w, wz[d] / w);
}

}  // namespace

// Points along a B-spline (or its fit points when it has no valid control
// frame), 16 per span.
std::vector<AcGePoint3d> SplinePoints(int degree, const std::vector<double>& knots,
                                      const std::vector<AcGePoint3d>& ctrl, const std::vector<double>& weights,
                                      const std::vector<AcGePoint3d>& fit) {
  int n = static_cast<int>(ctrl.size());
  bool valid = degree >= 1 && degree <= 10 && n > degree && static_cast<int>(knots.size()) == n + degree + 1;
  for (size_t i = 1; valid && i < knots.size(); ++i)
    if (knots[i] < knots[i - 1]) valid = false;
  if (!valid) return fit.empty() ? ctrl : fit;
  double t0 = knots[static_cast<size_t>(degree)], t1 = knots[static_cast<size_t>(n)];
  if (!(t1 > t0)) return ctrl;
  int samples = std::min(16 * (n - degree), 4096);
  std::vector<AcGePoint3d> out;
  out.reserve(static_cast<size_t>(samples) + 1);
  for (int i = 0; i <= samples; ++i) out.push_back(DeBoor(degree, knots, ctrl, weights, t0 + (t1 - t0) * i / samples));
  return out;
}

void DrawBlockContents(AcGiWorldDraw* draw, AcDbObjectId blockId, const AcGeMatrix3d& transform) {
  AcDbBlockTableRecord* block = nullptr;
  if (!draw || acdbOpenObject(block, blockId, AcDb::kForRead) != Acad::eOk) return;
  // The ids are copied: a drawable could change the block while it draws.
  std::vector<AcDbObjectId> ids(block->entityIds().begin(), block->entityIds().end());
  block->close();
  draw->geometry().pushModelTransform(transform);
  for (const AcDbObjectId& id : ids) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) continue;
    draw->geometry().draw(entity);
    entity->close();
  }
  draw->geometry().popModelTransform();
}

}  // namespace acdbdraw

Adesk::UInt32 AcDbEntity::setAttributes(AcGiDrawableTraits* traits) {
  Adesk::UInt32 flags = kDrawableIsAnEntity;
  if (m_bInvisible) flags |= kDrawableIsInvisible;
  if (!traits) return flags;
  traits->setTrueColor(m_color);
  traits->setLayer(layerId());
  traits->setLineWeight(m_lineWeight);
  traits->setLineTypeScale(m_dLinetypeScale);
  return flags;
}

Adesk::Boolean AcDbBlockTableRecord::worldDraw(AcGiWorldDraw* draw) {
  if (draw) acdbdraw::DrawBlockContents(draw, objectId(), AcGeMatrix3d::kIdentity);
  return true;
}

Adesk::Boolean AcDbBlockReference::worldDraw(AcGiWorldDraw* draw) {
  if (!draw) return true;
  AcDbObjectId block = blockTableRecord();
  if (!block.isNull()) acdbdraw::DrawBlockContents(draw, block, blockTransform());
  return true;
}
