// How the curves and points draw themselves: lines, circles, arcs and
// ellipses, lightweight and old-style polylines (with bulges and widths),
// points and regions.
#include <cmath>
#include <vector>

#include "db2dpline.h"
#include "db3dpline.h"
#include "dbcurves.h"
#include "dbdrawutil.h"
#include "dbpline.h"
#include "dbpoint.h"
#include "dbregion.h"

using acdbdraw::PlineVertex;

Adesk::Boolean AcDbLine::worldDraw(AcGiWorldDraw* draw) {
  if (!draw) return true;
  AcGePoint3d points[2] = {m_start, m_end};
  draw->geometry().polyline(2, points);
  return true;
}

Adesk::Boolean AcDbCircle::worldDraw(AcGiWorldDraw* draw) {
  if (draw) draw->geometry().circle(m_center, m_dRadius, normal());
  return true;
}

Adesk::Boolean AcDbArc::worldDraw(AcGiWorldDraw* draw) {
  if (!draw) return true;
  // Angles are measured from the X direction of the arc's plane.
  const AcGeVector3d& normal = m_plane.normal();
  AcGeVector3d start = acgeArbitraryXAxis(normal);
  start.rotateBy(m_dStart, normal);
  draw->geometry().circularArc(m_center, m_dRadius, normal, start, sweep());
  return true;
}

Adesk::Boolean AcDbEllipse::worldDraw(AcGiWorldDraw* draw) {
  if (!draw) return true;
  AcGeVector3d minor = minorAxis();
  double sweep = m_dEnd - m_dStart;
  if (sweep <= 0.0) sweep += 2 * M_PI;
  int n = acdbdraw::ChordCount(draw, m_major.length(), sweep);
  std::vector<AcGePoint3d> points;
  points.reserve(static_cast<size_t>(n) + 1);
  for (int i = 0; i <= n; ++i) {
    double t = m_dStart + sweep * i / n;
    points.push_back(m_center + m_major * std::cos(t) + minor * std::sin(t));
  }
  draw->geometry().polyline(static_cast<Adesk::UInt32>(points.size()), points.data());
  return true;
}

Adesk::Boolean AcDbPoint::worldDraw(AcGiWorldDraw* draw) {
  // A point shows as one pixel (the default point style).
  if (draw) draw->geometry().polyline(1, &m_position);
  return true;
}

Adesk::Boolean AcDbPolyline::worldDraw(AcGiWorldDraw* draw) {
  if (!draw || m_verts.empty()) return true;
  std::vector<PlineVertex> vertices;
  vertices.reserve(m_verts.size());
  for (size_t i = 0; i < m_verts.size(); ++i) {
    Widths w = widthsAt(i);
    vertices.push_back(PlineVertex{m_verts[i].pt, m_verts[i].bulge, w.start, w.end});
  }
  acdbdraw::DrawPolyline(draw, vertices, m_bClosed && m_verts.size() > 1, normal(), elevation());
  return true;
}

Adesk::Boolean AcDb2dPolyline::worldDraw(AcGiWorldDraw* draw) {
  if (!draw) return true;
  // The shown curve (fitted vertices included, control vertices left out).
  std::unique_ptr<AcDbPolyline> curve = shown();
  if (curve) curve->worldDraw(draw);
  return true;
}

Adesk::Boolean AcDb3dPolyline::worldDraw(AcGiWorldDraw* draw) {
  if (!draw) return true;
  std::vector<AcGePoint3d> points = shownPoints();
  if (points.empty()) return true;
  if (m_bClosed && points.size() > 2) points.push_back(points.front());
  draw->geometry().polyline(static_cast<Adesk::UInt32>(points.size()), points.data());
  return true;
}

Adesk::Boolean AcDbRegion::worldDraw(AcGiWorldDraw* draw) {
  if (!draw || isNull()) return true;
  m_loop->worldDraw(draw);
  return true;
}
