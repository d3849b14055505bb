// The draw contexts' geometry calls, checked and handed to the renderer,
// and the viewport a viewport draw looks through.
#include "gsdraw.h"

#include <cmath>
#include <vector>

#include "gearc.h"

namespace acgs {

namespace {
bool Finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
}  // namespace

Adesk::Boolean GeometryCore::pushModelTransform(const AcGeVector3d& normal) {
  if (normal.isZeroLength()) return false;
  m_r.pushModel(AcGeMatrix3d::planeToWorld(normal.normal()));
  return true;
}

Adesk::Boolean GeometryCore::pushModelTransform(const AcGeMatrix3d& m) {
  m_r.pushModel(m);
  return true;
}

Adesk::Boolean GeometryCore::circle(const AcGePoint3d& c, double r, const AcGeVector3d& n) const {
  if (Finite(c) && std::isfinite(r) && r > 0.0 && !n.isZeroLength()) m_r.circle(c, r, n.normal());
  return false;
}

Adesk::Boolean GeometryCore::circle(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3) const {
  AcGeCircArc3d arc(p1, p2, p3);
  if (!arc.isDegenerate()) m_r.circle(arc.center(), arc.radius(), arc.normal());
  return false;
}

Adesk::Boolean GeometryCore::circularArc(const AcGePoint3d& c, double r, const AcGeVector3d& n,
                                         const AcGeVector3d& start, double sweep, AcGiArcType type) const {
  if (!Finite(c) || !std::isfinite(r) || r <= 0.0 || n.isZeroLength() || start.isZeroLength() ||
      !std::isfinite(sweep) || sweep == 0.0)
    return false;
  m_r.arc(c, r, n.normal(), start.normal(), sweep, type);
  return false;
}

Adesk::Boolean GeometryCore::circularArc(const AcGePoint3d& start, const AcGePoint3d& point, const AcGePoint3d& end,
                                         AcGiArcType type) const {
  AcGeCircArc3d arc(start, point, end);
  if (arc.isDegenerate()) {
    AcGePoint3d line[3] = {start, point, end};
    m_r.polyline(line, 3, false);
    return false;
  }
  AcGeVector3d n = arc.normal();
  AcGeVector3d s = start - arc.center();
  AcGeVector3d e = end - arc.center();
  double sweep = s.angleTo(e, n);
  if (sweep <= 0.0) sweep += 2 * M_PI;
  m_r.arc(arc.center(), arc.radius(), n, s.normal(), sweep, type);
  return false;
}

Adesk::Boolean GeometryCore::polyline(Adesk::UInt32 n, const AcGePoint3d* points) const {
  if (points && n > 0) m_r.polyline(points, n, false);
  return false;
}

Adesk::Boolean GeometryCore::polygon(Adesk::UInt32 n, const AcGePoint3d* points) const {
  if (points && n > 0) m_r.polygon(points, n);
  return false;
}

Adesk::Boolean GeometryCore::mesh(Adesk::UInt32 rows, Adesk::UInt32 columns, const AcGePoint3d* points) const {
  if (points && rows > 0 && columns > 0) m_r.mesh(rows, columns, points);
  return false;
}

Adesk::Boolean GeometryCore::shell(Adesk::UInt32 nVertex, const AcGePoint3d* vertices, Adesk::UInt32 faceListSize,
                                   const Adesk::Int32* faces) const {
  if (vertices && faces && nVertex > 0 && faceListSize > 0) m_r.shell(vertices, nVertex, faces, faceListSize);
  return false;
}

Adesk::Boolean GeometryCore::text(const AcGePoint3d& position, const AcGeVector3d& normal,
                                  const AcGeVector3d& direction, double height, double width, double oblique,
                                  const ACHAR* message) const {
  if (!message) return false;
  AcGiTextStyle standard;
  m_r.text(position, normal, direction, height, width, oblique, message, standard);
  return false;
}

Adesk::Boolean GeometryCore::text(const AcGePoint3d& position, const AcGeVector3d& normal,
                                  const AcGeVector3d& direction, const ACHAR* message, Adesk::Int32 length,
                                  Adesk::Boolean, const AcGiTextStyle& style) const {
  if (!message) return false;
  std::wstring_view text(message);
  if (length >= 0 && static_cast<size_t>(length) < text.size()) text = text.substr(0, static_cast<size_t>(length));
  m_r.text(position, normal, direction, style.textSize(), style.xScale(), style.obliquingAngle(), text, style);
  return false;
}

Adesk::Boolean GeometryCore::xline(const AcGePoint3d& a, const AcGePoint3d& b) const {
  if (!a.isEqualTo(b)) m_r.infiniteLine(a, b - a, true);
  return false;
}

Adesk::Boolean GeometryCore::ray(const AcGePoint3d& a, const AcGePoint3d& b) const {
  if (!a.isEqualTo(b)) m_r.infiniteLine(a, b - a, false);
  return false;
}

Adesk::Boolean GeometryCore::draw(AcGiDrawable* drawable) const {
  m_r.draw(drawable);
  return false;
}

Adesk::Boolean GeometryCore::worldLine(const AcGePoint3d points[2]) {
  // The points are world points whatever the model transform.
  AcGeMatrix3d toModel = m_r.modelToWorld().inverse();
  AcGePoint3d line[2] = {toModel * points[0], toModel * points[1]};
  m_r.polyline(line, 2, false);
  return false;
}

// ---------------------------------------------------------------- viewport geometry

Adesk::Boolean ViewportGeometry::polylineEye(Adesk::UInt32 n, const AcGePoint3d* points) const {
  std::vector<AcGePoint2d> d;
  for (Adesk::UInt32 i = 0; points && i < n; ++i) d.push_back(m_r.eyeToDevice(points[i]));
  m_r.devicePolyline(d, false, false);
  return false;
}

Adesk::Boolean ViewportGeometry::polygonEye(Adesk::UInt32 n, const AcGePoint3d* points) const {
  std::vector<AcGePoint2d> d;
  for (Adesk::UInt32 i = 0; points && i < n; ++i) d.push_back(m_r.eyeToDevice(points[i]));
  m_r.devicePolyline(d, true, m_r.traits().fillType() == kAcGiFillAlways);
  return false;
}

Adesk::Boolean ViewportGeometry::polylineDc(Adesk::UInt32 n, const AcGePoint3d* points) const {
  std::vector<AcGePoint2d> d;
  // Pixel (x, y) is centred on (x, y).
  for (Adesk::UInt32 i = 0; points && i < n; ++i) d.emplace_back(points[i].x + 0.5, points[i].y + 0.5);
  m_r.devicePolyline(d, false, false);
  return false;
}

Adesk::Boolean ViewportGeometry::polygonDc(Adesk::UInt32 n, const AcGePoint3d* points) const {
  std::vector<AcGePoint2d> d;
  for (Adesk::UInt32 i = 0; points && i < n; ++i) d.emplace_back(points[i].x + 0.5, points[i].y + 0.5);
  m_r.devicePolyline(d, true, m_r.traits().fillType() == kAcGiFillAlways);
  return false;
}

// ---------------------------------------------------------------- viewport

void ViewportImpl::getWorldToEyeTransform(AcGeMatrix3d& m) const { m = m_r.view().viewingMatrix(); }

void ViewportImpl::getEyeToWorldTransform(AcGeMatrix3d& m) const { m = m_r.view().viewingMatrix().inverse(); }

void ViewportImpl::getModelToEyeTransform(AcGeMatrix3d& m) const {
  m = m_r.view().viewingMatrix() * m_r.modelToWorld();
}

void ViewportImpl::getEyeToModelTransform(AcGeMatrix3d& m) const {
  m = (m_r.view().viewingMatrix() * m_r.modelToWorld()).inverse();
}

void ViewportImpl::getWorldToDeviceTransform(AcGeMatrix3d& m) const { m = m_r.view().worldToDeviceMatrix(); }

void ViewportImpl::getDeviceToWorldTransform(AcGeMatrix3d& m) const { m = m_r.view().deviceToWorldMatrix(); }

void ViewportImpl::getNumPixelsInUnitSquare(const AcGePoint3d&, AcGePoint2d& pixelArea, bool) const {
  double s = m_r.view().pixelsPerUnit();
  pixelArea.set(s, s);
}

void ViewportImpl::getViewportDcCorners(AcGePoint2d& lowerLeft, AcGePoint2d& upperRight) const {
  AcGsDCRect r;
  m_r.view().getViewport(r);
  lowerLeft.set(r.m_min.x, r.m_min.y);
  upperRight.set(r.m_max.x, r.m_max.y);
}

}  // namespace acgs
