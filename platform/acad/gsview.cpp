// Graphics views: the camera and its moves (dolly, roll, orbit, zoom, zoom
// to extents or to a window), the transforms between world, eye and device
// pixels, and the list of drawables a view shows.
#include <algorithm>
#include <cmath>

#include "dbobject.h"
#include "gsimpl.h"

namespace acgs {

namespace {

std::pair<const void*, const void*> keyOf(const ViewEntry& e) {
  return {e.model, e.drawable ? static_cast<const void*>(e.drawable) : static_cast<const void*>(e.id.stub())};
}

// The rotation of a vector about an axis through the origin (right-handed).
AcGeVector3d Rotated(const AcGeVector3d& v, double angle, const AcGeVector3d& axis) {
  AcGeVector3d r = v;
  r.rotateBy(angle, axis);
  return r;
}

}  // namespace

void Camera::frame(AcGeVector3d& x, AcGeVector3d& y, AcGeVector3d& z) const {
  z = position - target;
  if (z.isZeroLength()) z = AcGeVector3d::kZAxis;
  z.normalize();
  y = up - z * up.dotProduct(z);
  if (y.isZeroLength()) y = z.perpVector();
  y.normalize();
  x = y.crossProduct(z);
  x.normalize();
}

GsView::GsView() { Registry::instance().addView(this); }

GsView::~GsView() {
  eraseAll();
  if (m_pDevice) m_pDevice->forgetView(this);
  Registry::instance().removeView(this);
}

AcGsDevice* GsView::getDevice() const { return m_pDevice; }

// ---------------------------------------------------------------- viewport

void GsView::setViewport(const AcGePoint2d& lowerLeft, const AcGePoint2d& upperRight) {
  m_lowerLeft = {std::clamp(std::min(lowerLeft.x, upperRight.x), 0.0, 1.0),
                 std::clamp(std::min(lowerLeft.y, upperRight.y), 0.0, 1.0)};
  m_upperRight = {std::clamp(std::max(lowerLeft.x, upperRight.x), 0.0, 1.0),
                  std::clamp(std::max(lowerLeft.y, upperRight.y), 0.0, 1.0)};
  m_bValid = false;
}

void GsView::getViewport(AcGePoint2d& lowerLeft, AcGePoint2d& upperRight) const {
  lowerLeft = m_lowerLeft;
  upperRight = m_upperRight;
}

void GsView::setViewport(const AcGsDCRect& r) {
  int w = m_pDevice ? m_pDevice->width() : 0, h = m_pDevice ? m_pDevice->height() : 0;
  if (w <= 0 || h <= 0) return;
  setViewport(AcGePoint2d(static_cast<double>(r.m_min.x) / w, 1.0 - static_cast<double>(r.m_max.y + 1) / h),
              AcGePoint2d(static_cast<double>(r.m_max.x + 1) / w, 1.0 - static_cast<double>(r.m_min.y) / h));
}

void GsView::pixelRect(int& left, int& top, int& right, int& bottom) const {
  int w = m_pDevice ? m_pDevice->width() : 0, h = m_pDevice ? m_pDevice->height() : 0;
  left = static_cast<int>(std::lround(m_lowerLeft.x * w));
  right = static_cast<int>(std::lround(m_upperRight.x * w));
  top = static_cast<int>(std::lround((1.0 - m_upperRight.y) * h));
  bottom = static_cast<int>(std::lround((1.0 - m_lowerLeft.y) * h));
}

void GsView::centerPixel(double& x, double& y) const {
  int left, top, right, bottom;
  pixelRect(left, top, right, bottom);
  x = left + (right - left) / 2;
  y = top + (bottom - top) / 2;
}

void GsView::getViewport(AcGsDCRect& r) const {
  int left, top, right, bottom;
  pixelRect(left, top, right, bottom);
  r.m_min = {left, top};
  r.m_max = {right - 1, bottom - 1};
}

// ---------------------------------------------------------------- camera

void GsView::setView(const AcGePoint3d& position, const AcGePoint3d& target, const AcGeVector3d& upVector,
                     double fieldWidth, double fieldHeight, Projection projection) {
  m_camera.position = position;
  m_camera.target = target;
  m_camera.up = upVector.isZeroLength() ? AcGeVector3d::kYAxis : upVector;
  m_camera.fieldWidth = std::fabs(fieldWidth);
  m_camera.fieldHeight = std::fabs(fieldHeight);
  m_camera.perspective = projection == kPerspective;
  m_bValid = false;
}

double GsView::pixelsPerUnit() const {
  int left, top, right, bottom;
  pixelRect(left, top, right, bottom);
  double w = right - left, h = bottom - top;
  double sx = m_camera.fieldWidth > 0 ? w / m_camera.fieldWidth : 0.0;
  double sy = m_camera.fieldHeight > 0 ? h / m_camera.fieldHeight : 0.0;
  // The whole field stays visible: the tighter of the two fits wins.
  double s = sx > 0 && sy > 0 ? std::min(sx, sy) : std::max(sx, sy);
  return s > 0 && std::isfinite(s) ? s : 1.0;
}

void GsView::dolly(const AcGeVector3d& v) {
  AcGeVector3d x, y, z;
  m_camera.frame(x, y, z);
  AcGeVector3d move = x * v.x + y * v.y + z * v.z;
  m_camera.position += move;
  m_camera.target += move;
  m_bValid = false;
}

void GsView::roll(double angle) {
  AcGeVector3d x, y, z;
  m_camera.frame(x, y, z);
  // The camera turns clockwise about its view direction, so the picture
  // turns counter-clockwise.
  m_camera.up = Rotated(y, -angle, z);
  m_bValid = false;
}

void GsView::orbit(double xAngle, double yAngle) {
  AcGeVector3d x, y, z;
  m_camera.frame(x, y, z);
  AcGeVector3d offset = m_camera.position - m_camera.target;
  AcGeVector3d up = y;
  // About the up vector: the camera moves to the right for a positive angle.
  if (xAngle != 0.0) {
    offset = Rotated(offset, xAngle, up);
    x = Rotated(x, xAngle, up);
  }
  // About the camera's x axis: the camera moves up for a positive angle.
  if (yAngle != 0.0) {
    offset = Rotated(offset, -yAngle, x);
    up = Rotated(up, -yAngle, x);
  }
  m_camera.position = m_camera.target + offset;
  m_camera.up = up;
  m_bValid = false;
}

void GsView::zoom(double factor) {
  if (!(factor > 0.0) || !std::isfinite(factor)) return;
  m_camera.fieldWidth /= factor;
  m_camera.fieldHeight /= factor;
  m_bValid = false;
}

void GsView::zoomExtents(const AcGePoint3d& minPoint, const AcGePoint3d& maxPoint) {
  AcGeMatrix3d toEye = viewingMatrix();
  double lo[3] = {1e300, 1e300, 1e300}, hi[3] = {-1e300, -1e300, -1e300};
  for (int i = 0; i < 8; ++i) {
    AcGePoint3d corner(i & 1 ? maxPoint.x : minPoint.x, i & 2 ? maxPoint.y : minPoint.y,
                       i & 4 ? maxPoint.z : minPoint.z);
    AcGePoint3d e = toEye * corner;
    for (int k = 0; k < 3; ++k) {
      lo[k] = std::min(lo[k], e[k]);
      hi[k] = std::max(hi[k], e[k]);
    }
  }
  dolly((lo[0] + hi[0]) / 2, (lo[1] + hi[1]) / 2, 0.0);
  double w = hi[0] - lo[0], h = hi[1] - lo[1];
  // A point or a line still gets a field the viewport can show.
  double least = std::max({w, h, 1e-9}) * 1e-6;
  m_camera.fieldWidth = std::max(w, least);
  m_camera.fieldHeight = std::max(h, least);
  m_bValid = false;
}

void GsView::zoomWindow(const AcGePoint2d& lowerLeft, const AcGePoint2d& upperRight) {
  if (lowerLeft.x == upperRight.x || lowerLeft.y == upperRight.y) return;
  int h = m_pDevice ? m_pDevice->height() : 0;
  double s = pixelsPerUnit();
  double cx, cy;
  centerPixel(cx, cy);
  // The points count y upwards from the bottom of the device.
  cy = h - cy;
  double x0 = (lowerLeft.x - cx) / s, x1 = (upperRight.x - cx) / s;
  double y0 = (lowerLeft.y - cy) / s, y1 = (upperRight.y - cy) / s;
  dolly((x0 + x1) / 2, (y0 + y1) / 2, 0.0);
  m_camera.fieldWidth = std::fabs(x1 - x0);
  m_camera.fieldHeight = std::fabs(y1 - y0);
  m_bValid = false;
}

// ---------------------------------------------------------------- transforms

AcGeMatrix3d GsView::viewingMatrix() const {
  AcGeVector3d x, y, z;
  m_camera.frame(x, y, z);
  AcGeMatrix3d m;
  const AcGeVector3d* rows[3] = {&x, &y, &z};
  for (int r = 0; r < 3; ++r) {
    m(r, 0) = rows[r]->x;
    m(r, 1) = rows[r]->y;
    m(r, 2) = rows[r]->z;
    m(r, 3) = -rows[r]->dotProduct(m_camera.target.asVector());
  }
  return m;
}

AcGeMatrix3d GsView::projectionMatrix() const {
  int left, top, right, bottom;
  pixelRect(left, top, right, bottom);
  double s = pixelsPerUnit();
  double w = std::max(1, right - left), h = std::max(1, bottom - top);
  AcGeMatrix3d m;
  m(0, 0) = 2 * s / w;
  m(1, 1) = 2 * s / h;
  return m;
}

AcGeMatrix3d GsView::screenMatrix() const {
  int left, top, right, bottom;
  pixelRect(left, top, right, bottom);
  double cx, cy;
  centerPixel(cx, cy);
  AcGeMatrix3d m;
  m(0, 0) = (right - left) / 2.0;
  m(0, 3) = cx;
  m(1, 1) = -(bottom - top) / 2.0;
  m(1, 3) = cy;
  return m;
}

AcGeMatrix3d GsView::worldToDeviceMatrix() const { return screenMatrix() * projectionMatrix() * viewingMatrix(); }

AcGeMatrix3d GsView::deviceToViewMatrix() const {
  // Pixels to view units: a vector of pixels given along the view's axes
  // (x right, y up) becomes a vector of view units.
  double k = 1.0 / pixelsPerUnit();
  AcGeMatrix3d m;
  m(0, 0) = m(1, 1) = m(2, 2) = k;
  return m;
}

AcGeMatrix3d GsView::deviceToWorldMatrix() const {
  AcGeVector3d x, y, z;
  m_camera.frame(x, y, z);
  double k = 1.0 / pixelsPerUnit();
  double cx, cy;
  centerPixel(cx, cy);
  // world = target + (px - cx) k x - (py - cy) k y (+ pz k z)
  AcGeMatrix3d m;
  const AcGeVector3d cols[3] = {x * k, y * -k, z * k};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) m(r, c) = cols[c][r];
    m(r, 3) = m_camera.target[r] - cols[0][r] * cx - cols[1][r] * cy;
  }
  return m;
}

// ---------------------------------------------------------------- drawables

bool GsView::add(AcGiDrawable* drawable, AcGsModel* model) {
  auto* gsModel = dynamic_cast<GsModel*>(model);
  if (!drawable || !gsModel) return false;
  ViewEntry e;
  e.model = gsModel;
  AcDbObjectId id = drawable->isPersistent() ? drawable->id() : AcDbObjectId();
  if (!id.isNull()) {
    e.id = id;
    e.database = id.database();
  } else {
    e.drawable = drawable;
  }
  if (!m_keys.insert(keyOf(e)).second) return true;
  if (e.drawable) gsModel->retain(e.drawable);
  m_entries.push_back(e);
  m_bValid = false;
  return true;
}

template <class Pred>
bool GsView::removeIf(Pred pred) {
  bool any = false;
  for (const ViewEntry& e : m_entries) {
    if (!pred(e)) continue;
    m_keys.erase(keyOf(e));
    if (e.drawable) e.model->release(e.drawable);
    any = true;
  }
  if (any) {
    std::erase_if(m_entries, pred);
    m_bValid = false;
  }
  return any;
}

bool GsView::erase(AcGiDrawable* drawable) {
  if (!drawable) return false;
  AcDbObjectId id = drawable->isPersistent() ? drawable->id() : AcDbObjectId();
  if (!id.isNull()) return removeIf([&](const ViewEntry& e) { return e.id == id; });
  return removeIf([&](const ViewEntry& e) { return e.drawable == drawable; });
}

void GsView::eraseAll() {
  removeIf([](const ViewEntry&) { return true; });
  m_bValid = false;
}

void GsView::dropModel(GsModel* model) {
  removeIf([&](const ViewEntry& e) { return e.model == model; });
}

void GsView::dropDatabase(AcDbDatabase* db) {
  removeIf([&](const ViewEntry& e) { return e.database == db; });
}

void GsView::dropDrawable(AcGiDrawable* drawable) {
  removeIf([&](const ViewEntry& e) { return e.drawable == drawable; });
}

bool GsView::holds(const GsModel* model) const {
  for (const ViewEntry& e : m_entries)
    if (e.model == model) return true;
  return false;
}

bool GsView::isValid() const {
  if (!m_bValid) return false;
  if (m_nDrawnAt == acdbModificationCount()) return true;
  for (const ViewEntry& e : m_entries)
    if (e.database) return false;
  return true;
}

void GsView::setValid() {
  m_bValid = true;
  m_nDrawnAt = acdbModificationCount();
}

void GsView::setMode(RenderMode mode) {
  if (mode < kBoundingBox || mode > kNone) return;
  m_mode = mode;
  m_bValid = false;
}

void GsView::setVisibility(bool visible) {
  m_bVisible = visible;
  m_bValid = false;
}

void GsView::update() {
  if (m_pDevice) m_pDevice->update(nullptr);
}

}  // namespace acgs
