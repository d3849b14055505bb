// The renderer: a drawable's traits and nesting (layers, "by layer" and "by
// block" colours, frozen and switched-off layers), its geometry carried from
// model to device pixels and drawn with Cairo, lines one pixel wide and not
// smoothed as the host draws them. Strokes of one colour are gathered into
// one path; coordinates far outside the viewport are clipped before Cairo
// sees them (its fixed-point coordinates overflow).
#include "gsrender.h"

#include <algorithm>
#include <cmath>

#include "dbentity.h"
#include "dbobject.h"
#include "dbstub.h"
#include "dbsymtb.h"
#include "gsdraw.h"
#include "gstext.h"

namespace acgs {

namespace {

constexpr double kMargin = 4.0;  // pixels around the viewport still drawn

AcGePoint2d Lerp(const AcGePoint2d& a, const AcGePoint2d& b, double t) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

// Sutherland-Hodgman against one side of a rectangle.
template <class Inside, class Cross>
std::vector<AcGePoint2d> ClipSide(const std::vector<AcGePoint2d>& in, Inside inside, Cross cross) {
  std::vector<AcGePoint2d> out;
  if (in.empty()) return out;
  AcGePoint2d prev = in.back();
  bool prevIn = inside(prev);
  for (const AcGePoint2d& p : in) {
    bool pIn = inside(p);
    if (pIn != prevIn) out.push_back(cross(prev, p));
    if (pIn) out.push_back(p);
    prev = p;
    prevIn = pIn;
  }
  return out;
}

bool IsIdentity(const AcGeMatrix3d& m) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (m.entry[r][c] != (r == c ? 1.0 : 0.0)) return false;
  return true;
}

}  // namespace

// ---------------------------------------------------------------- set-up

Renderer::Renderer(cairo_t* cr, const GsView& view, const GsDevice& device)
    : m_cr(cr),
      m_view(view),
      m_device(device),
      m_pWorldDraw(std::make_unique<WorldDrawImpl>(*this)),
      m_pViewportDraw(std::make_unique<ViewportDrawImpl>(*this)) {
  int left, top, right, bottom;
  view.pixelRect(left, top, right, bottom);
  m_dLeft = left - kMargin;
  m_dTop = top - kMargin;
  m_dRight = right + kMargin;
  m_dBottom = bottom + kMargin;
  m_dScale = view.pixelsPerUnit();
  // Cairo counts pixel edges: the centre pixel's middle is half a pixel on.
  view.centerPixel(m_dCenterX, m_dCenterY);
  m_dCenterX += 0.5;
  m_dCenterY += 0.5;
  m_worldToEye = view.viewingMatrix();
  const Camera& cam = view.camera();
  m_bPerspective = cam.perspective;
  m_dDistance = std::max(cam.position.distanceTo(cam.target), 1e-9);
  m_model.push_back(AcGeMatrix3d::kIdentity);
  updateDeviceMatrix();
  cairo_set_antialias(m_cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(m_cr, 1.0);
  cairo_set_line_cap(m_cr, CAIRO_LINE_CAP_SQUARE);
  cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_MITER);
  cairo_set_fill_rule(m_cr, CAIRO_FILL_RULE_EVEN_ODD);
  // Single pixels go straight into an image surface drawn without a
  // transform: a path filled per pixel costs many times the pixel.
  cairo_surface_t* target = cairo_get_target(m_cr);
  cairo_matrix_t matrix;
  cairo_get_matrix(m_cr, &matrix);
  bool identity = matrix.xx == 1 && matrix.yy == 1 && matrix.xy == 0 && matrix.yx == 0 && matrix.x0 == 0 &&
                  matrix.y0 == 0;
  if (identity && cairo_surface_get_type(target) == CAIRO_SURFACE_TYPE_IMAGE &&
      (cairo_image_surface_get_format(target) == CAIRO_FORMAT_RGB24 ||
       cairo_image_surface_get_format(target) == CAIRO_FORMAT_ARGB32)) {
    cairo_surface_flush(target);
    m_pTarget = target;
    m_pPixels = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(target));
    m_nStride = cairo_image_surface_get_stride(target) / 4;
    // The view's clip: its viewport on the surface.
    m_nPixLeft = std::max(left, 0);
    m_nPixTop = std::max(top, 0);
    m_nPixRight = std::min(right, cairo_image_surface_get_width(target));
    m_nPixBottom = std::min(bottom, cairo_image_surface_get_height(target));
  }
}

Renderer::~Renderer() { flush(); }

void Renderer::updateDeviceMatrix() {
  AcGeMatrix3d screen;
  screen(0, 0) = m_dScale;
  screen(0, 3) = m_dCenterX;
  screen(1, 1) = -m_dScale;
  screen(1, 3) = m_dCenterY;
  m_modelToDevice = screen * m_worldToEye * m_model.back();
}

void Renderer::pushModel(const AcGeMatrix3d& m) {
  // The device transform of the level below comes back with the pop.
  m_deviceStack.push_back(m_modelToDevice);
  m_scaleStack.push_back(m_dModelScale);
  if (IsIdentity(m)) {
    // Every planar drawable in the xy plane pushes its plane: nothing changes.
    m_model.push_back(m_model.back());
    return;
  }
  m_model.push_back(m_model.back() * m);
  double scale = m_model.back().scale();
  m_dModelScale = scale > 0 ? scale : 1.0;
  updateDeviceMatrix();
}

bool Renderer::popModel() {
  if (m_model.size() <= 1) return false;
  m_model.pop_back();
  m_modelToDevice = m_deviceStack.back();
  m_deviceStack.pop_back();
  m_dModelScale = m_scaleStack.back();
  m_scaleStack.pop_back();
  return true;
}

double Renderer::deviation() const {
  return 0.5 / (m_dScale * m_dModelScale);
}

bool Renderer::toDevice(const AcGePoint3d& p, AcGePoint2d& d) const {
  if (!m_bPerspective) {
    const auto& m = m_modelToDevice.entry;
    d.x = m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + m[0][3];
    d.y = m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + m[1][3];
    return std::isfinite(d.x) && std::isfinite(d.y);
  }
  AcGePoint3d e = m_worldToEye * (m_model.back() * p);
  double depth = m_dDistance - e.z;
  if (depth <= m_dDistance * 1e-6) return false;  // at or behind the camera
  double f = m_dDistance / depth;
  d = eyeToDevice(AcGePoint3d(e.x * f, e.y * f, 0.0));
  return true;
}

AcGePoint2d Renderer::eyeToDevice(const AcGePoint3d& e) const {
  return {m_dCenterX + e.x * m_dScale, m_dCenterY - e.y * m_dScale};
}

// ---------------------------------------------------------------- layers and colours

const Renderer::LayerInfo& Renderer::layerInfo(AcDbObjectId layer) const {
  const void* key = layer.stub();
  auto it = m_layers.find(key);
  if (it != m_layers.end()) return it->second;
  LayerInfo info;
  AcDbStub* stub = layer.stub();
  if (auto* rec = stub ? AcDbLayerTableRecord::cast(stub->m_pObject) : nullptr) {
    info.visible = !rec->isOff() && !rec->isFrozen();
    info.isZero = rec->name() == std::wstring(L"0");
    info.color = rec->color();
  } else {
    info.color.setColorIndex(7);
  }
  return m_layers.emplace(key, info).first->second;
}

AcDbObjectId Renderer::effectiveLayer(AcDbObjectId layer) const {
  // Geometry on layer "0" (or on none) inside a block goes on the layer of
  // what nests it.
  bool zero = layer.isNull() || layerInfo(layer).isZero;
  if (zero && !m_frames.empty() && !m_frames.back().layer.isNull()) return m_frames.back().layer;
  return layer;
}

Rgb Renderer::paletteColor(int index) const {
  // Only real colour indexes look up the palette; 0 and 256 never arrive here.
  if (index < 1 || index > 255) index = 7;
  const AcGsColor& c = m_device.palette()[static_cast<size_t>(index)];
  return {c.m_red / 255.0, c.m_green / 255.0, c.m_blue / 255.0};
}

Rgb Renderer::resolve(const AcCmColor& color) const {
  switch (color.colorMethod()) {
    case AcCmEntityColor::kByACI: return paletteColor(color.colorIndex());
    case AcCmEntityColor::kByColor: return {color.red() / 255.0, color.green() / 255.0, color.blue() / 255.0};
    case AcCmEntityColor::kByBlock: {
      // The colour of the drawable this geometry's drawable is nested in.
      size_t n = m_frames.size();
      return n >= 2 ? m_frames[n - 2].color : paletteColor(7);
    }
    case AcCmEntityColor::kByLayer: {
      AcDbObjectId layer = effectiveLayer(m_traits.layerId());
      if (layer.isNull()) return paletteColor(7);
      const AcCmColor& lc = layerInfo(layer).color;
      if (lc.colorMethod() == AcCmEntityColor::kByColor) return {lc.red() / 255.0, lc.green() / 255.0, lc.blue() / 255.0};
      return paletteColor(lc.colorMethod() == AcCmEntityColor::kByACI ? lc.colorIndex() : 7);
    }
    default: return paletteColor(7);
  }
}

// ---------------------------------------------------------------- drawables

void Renderer::draw(AcGiDrawable* drawable) {
  // A block that holds a reference to itself stops here.
  if (!drawable || m_nDepth > 32) return;
  Traits saved = m_traits;
  AcDbDatabase* savedDb = m_pDatabase;
  m_traits = Traits();
  if (drawable->isPersistent()) m_pDatabase = drawable->id().database();
  Adesk::UInt32 flags = drawable->setAttributes(&m_traits);
  bool visible = !(flags & AcGiDrawable::kDrawableIsInvisible);
  // The frame being made is not on the stack yet: the one on top is the
  // nesting drawable's.
  AcDbObjectId layer = effectiveLayer(m_traits.layerId());
  if (visible && !layer.isNull() && !layerInfo(layer).visible) visible = false;
  if (visible) {
    // Pushed first, so that "by layer" finds the drawable's own layer and
    // "by block" the colour of what nests it (the frame below).
    m_frames.push_back(Frame{layer, Rgb{}});
    m_frames.back().color = resolve(m_traits.trueColor());
    ++m_nDepth;
    size_t modelDepth = m_model.size();
    if (!drawable->worldDraw(m_pWorldDraw.get())) drawable->viewportDraw(m_pViewportDraw.get());
    while (m_model.size() > modelDepth) popModel();
    --m_nDepth;
    m_frames.pop_back();
  }
  m_traits = saved;
  m_pDatabase = savedDb;
}

void Renderer::drawBounds(AcGiDrawable* drawable) {
  AcDbExtents ext;
  if (!drawable || !drawable->bounds(ext) || ext.isEmpty()) return;
  Traits saved = m_traits;
  m_traits = Traits();
  drawable->setAttributes(&m_traits);
  AcGePoint3d lo = ext.minPoint(), hi = ext.maxPoint();
  AcGePoint3d box[5] = {lo, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z}, lo};
  m_frames.push_back(Frame{effectiveLayer(m_traits.layerId()), paletteColor(7)});
  polyline(box, 5, false);
  m_frames.pop_back();
  m_traits = saved;
}

// ---------------------------------------------------------------- output

void Renderer::setSource(const Rgb& c) { cairo_set_source_rgb(m_cr, c.r, c.g, c.b); }

void Renderer::strokeWith(const Rgb& color) {
  if (m_bStrokePending && !(color == m_stroke)) flush();
  m_stroke = color;
  m_bStrokePending = true;
}

void Renderer::flush() {
  if (!m_bStrokePending) return;
  setSource(m_stroke);
  cairo_stroke(m_cr);
  m_bStrokePending = false;
}

void Renderer::dot(const AcGePoint2d& p, const Rgb& color) {
  if (p.x < m_dLeft || p.y < m_dTop || p.x > m_dRight || p.y > m_dBottom) return;
  flush();
  if (m_pPixels) {
    int x = static_cast<int>(std::floor(p.x)), y = static_cast<int>(std::floor(p.y));
    if (x < m_nPixLeft || y < m_nPixTop || x >= m_nPixRight || y >= m_nPixBottom) return;
    // Channels as Cairo turns a colour into pixels, opaque.
    auto channel = [](double v) {
      return static_cast<uint32_t>(static_cast<uint16_t>(std::clamp(v, 0.0, 1.0) * 65535.0 + 0.5) >> 8);
    };
    m_pPixels[static_cast<size_t>(y) * m_nStride + x] =
        0xFF000000u | channel(color.r) << 16 | channel(color.g) << 8 | channel(color.b);
    cairo_surface_mark_dirty_rectangle(m_pTarget, x, y, 1, 1);
    return;
  }
  setSource(color);
  cairo_rectangle(m_cr, std::floor(p.x), std::floor(p.y), 1, 1);
  cairo_fill(m_cr);
}

void Renderer::lineTo(const AcGePoint2d& from, const AcGePoint2d& to) {
  // Liang-Barsky against the viewport with its margin.
  double t0 = 0.0, t1 = 1.0;
  double dx = to.x - from.x, dy = to.y - from.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {from.x - m_dLeft, m_dRight - from.x, from.y - m_dTop, m_dBottom - from.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return;
      continue;
    }
    double t = q[i] / p[i];
    if (p[i] < 0.0) {
      if (t > t1) return;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return;
      t1 = std::min(t1, t);
    }
  }
  AcGePoint2d a = Lerp(from, to, t0), b = Lerp(from, to, t1);
  double cx = 0, cy = 0;
  if (!cairo_has_current_point(m_cr) || (cairo_get_current_point(m_cr, &cx, &cy), cx != a.x || cy != a.y))
    cairo_move_to(m_cr, a.x, a.y);
  cairo_line_to(m_cr, b.x, b.y);
}

void Renderer::polyline(const AcGePoint3d* points, size_t n, bool closed) {
  if (n == 0) return;
  Rgb color = currentColor();
  std::vector<AcGePoint2d> d;
  d.reserve(n + 1);
  bool moved = false;
  for (size_t i = 0; i < n; ++i) {
    AcGePoint2d p;
    if (!toDevice(points[i], p)) continue;
    if (!d.empty() && (p.x != d.front().x || p.y != d.front().y)) moved = true;
    d.push_back(p);
  }
  if (d.empty()) return;
  if (!moved) {
    dot(d.front(), color);
    return;
  }
  if (closed) d.push_back(d.front());
  strokeWith(color);
  cairo_new_sub_path(m_cr);
  for (size_t i = 1; i < d.size(); ++i) lineTo(d[i - 1], d[i]);
}

void Renderer::devicePolyline(const std::vector<AcGePoint2d>& points, bool closed, bool fill) {
  if (points.empty()) return;
  Rgb color = currentColor();
  if (fill && points.size() >= 3) {
    fillPath({points}, color);
    return;
  }
  std::vector<AcGePoint2d> d = points;
  if (closed) d.push_back(d.front());
  if (d.size() == 1) {
    dot(d.front(), color);
    return;
  }
  strokeWith(color);
  cairo_new_sub_path(m_cr);
  for (size_t i = 1; i < d.size(); ++i) lineTo(d[i - 1], d[i]);
}

void Renderer::fillPath(const std::vector<std::vector<AcGePoint2d>>& rings, const Rgb& color) {
  fillPath(rings.data(), rings.size(), color);
}

void Renderer::fillPath(const std::vector<AcGePoint2d>* rings, size_t nRings, const Rgb& color) {
  double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
  bool area = false;
  for (size_t i = 0; i < nRings; ++i) {
    area = area || rings[i].size() >= 3;
    for (const AcGePoint2d& p : rings[i]) {
      x0 = std::min(x0, p.x);
      x1 = std::max(x1, p.x);
      y0 = std::min(y0, p.y);
      y1 = std::max(y1, p.y);
    }
  }
  if (!area || x0 > x1 || x1 < m_dLeft || x0 > m_dRight || y1 < m_dTop || y0 > m_dBottom) return;
  if (x1 - x0 < 1.0 && y1 - y0 < 1.0) {
    // Smaller than a pixel: one pixel, as a circle that small draws.
    dot(AcGePoint2d((x0 + x1) / 2, (y0 + y1) / 2), color);
    return;
  }
  flush();
  // Inside the viewport (and its margin) the rings need no clipping.
  bool inside = x0 >= m_dLeft && x1 <= m_dRight && y0 >= m_dTop && y1 <= m_dBottom;
  bool any = false;
  for (size_t i = 0; i < nRings; ++i) {
    const std::vector<AcGePoint2d>& ring = rings[i];
    if (inside) {
      if (ring.size() < 3) continue;
      cairo_move_to(m_cr, ring[0].x, ring[0].y);
      for (size_t k = 1; k < ring.size(); ++k) cairo_line_to(m_cr, ring[k].x, ring[k].y);
      cairo_close_path(m_cr);
      any = true;
      continue;
    }
    // Clipping each ring to the viewport keeps the even-odd parity inside it.
    std::vector<AcGePoint2d> r = ring;
    r = ClipSide(r, [&](const AcGePoint2d& p) { return p.x >= m_dLeft; },
                 [&](const AcGePoint2d& a, const AcGePoint2d& b) { return Lerp(a, b, (m_dLeft - a.x) / (b.x - a.x)); });
    r = ClipSide(r, [&](const AcGePoint2d& p) { return p.x <= m_dRight; },
                 [&](const AcGePoint2d& a, const AcGePoint2d& b) { return Lerp(a, b, (m_dRight - a.x) / (b.x - a.x)); });
    r = ClipSide(r, [&](const AcGePoint2d& p) { return p.y >= m_dTop; },
                 [&](const AcGePoint2d& a, const AcGePoint2d& b) { return Lerp(a, b, (m_dTop - a.y) / (b.y - a.y)); });
    r = ClipSide(r, [&](const AcGePoint2d& p) { return p.y <= m_dBottom; },
                 [&](const AcGePoint2d& a, const AcGePoint2d& b) { return Lerp(a, b, (m_dBottom - a.y) / (b.y - a.y)); });
    if (r.size() < 3) continue;
    cairo_move_to(m_cr, r[0].x, r[0].y);
    for (size_t i = 1; i < r.size(); ++i) cairo_line_to(m_cr, r[i].x, r[i].y);
    cairo_close_path(m_cr);
    any = true;
  }
  if (!any) return;
  setSource(color);
  // The outline is part of the area, as the host fills it.
  cairo_fill_preserve(m_cr);
  cairo_stroke(m_cr);
}

void Renderer::polygon(const AcGePoint3d* points, size_t n) {
  if (m_traits.fillType() != kAcGiFillAlways || n < 3) {
    polyline(points, n, n > 2);
    return;
  }
  std::vector<AcGePoint2d> d;
  d.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    AcGePoint2d p;
    if (toDevice(points[i], p)) d.push_back(p);
  }
  if (d.size() >= 3) fillPath({d}, currentColor());
}

void Renderer::shell(const AcGePoint3d* vertices, size_t nVertices, const Adesk::Int32* faces, size_t faceListSize) {
  bool fill = m_traits.fillType() == kAcGiFillAlways;
  // The rings of the face being read, in buffers kept from shell to shell
  // (a run draws hundreds of thousands of small ones).
  size_t nRings = 0;
  auto emit = [&] {
    if (nRings == 0) return;
    if (fill) {
      fillPath(m_shellRings.data(), nRings, currentColor());
    } else {
      for (size_t r = 0; r < nRings; ++r) devicePolyline(m_shellRings[r], true, false);
    }
    nRings = 0;
  };
  size_t i = 0;
  while (i < faceListSize) {
    Adesk::Int32 count = faces[i++];
    size_t k = static_cast<size_t>(count < 0 ? -static_cast<long long>(count) : count);
    if (k == 0 || i + k > faceListSize) break;
    // A positive count starts a new face; a negative one is a hole of it.
    if (count > 0) emit();
    if (m_shellRings.size() <= nRings) m_shellRings.resize(nRings + 1);
    std::vector<AcGePoint2d>& ring = m_shellRings[nRings];
    ring.clear();
    for (size_t j = 0; j < k; ++j) {
      Adesk::Int32 index = faces[i + j];
      AcGePoint2d p;
      if (index >= 0 && static_cast<size_t>(index) < nVertices && toDevice(vertices[index], p)) ring.push_back(p);
    }
    i += k;
    if (!ring.empty()) ++nRings;
  }
  emit();
}

void Renderer::mesh(size_t rows, size_t columns, const AcGePoint3d* v) {
  if (m_traits.fillType() == kAcGiFillAlways && rows > 1 && columns > 1) {
    for (size_t r = 0; r + 1 < rows; ++r)
      for (size_t c = 0; c + 1 < columns; ++c) {
        AcGePoint3d quad[4] = {v[r * columns + c], v[r * columns + c + 1], v[(r + 1) * columns + c + 1],
                               v[(r + 1) * columns + c]};
        polygon(quad, 4);
      }
    return;
  }
  for (size_t r = 0; r < rows; ++r) polyline(v + r * columns, columns, false);
  std::vector<AcGePoint3d> column(rows);
  for (size_t c = 0; c < columns; ++c) {
    for (size_t r = 0; r < rows; ++r) column[r] = v[r * columns + c];
    polyline(column.data(), rows, false);
  }
}

void Renderer::circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) {
  AcGeVector3d start = acgeArbitraryXAxis(normal);
  arc(center, radius, normal, start, 2 * M_PI, kAcGiArcSimple);
}

void Renderer::arc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal, const AcGeVector3d& start,
                   double sweep, AcGiArcType type) {
  sweep = std::clamp(sweep, -2 * M_PI, 2 * M_PI);
  bool full = std::fabs(std::fabs(sweep) - 2 * M_PI) < 1e-12;
  AcGeVector3d u = start - normal * start.dotProduct(normal);
  if (u.isZeroLength()) u = acgeArbitraryXAxis(normal);
  u.normalize();
  AcGeVector3d v = normal.crossProduct(u);
  bool fill = m_traits.fillType() == kAcGiFillAlways && (full || type != kAcGiArcSimple);
  Rgb color = currentColor();
  AcGePoint2d c, pu, pv;
  if (!toDevice(center, c) || !toDevice(center + u * radius, pu) || !toDevice(center + v * radius, pv)) return;
  AcGeVector2d du = pu - c, dv = pv - c;
  double ru = du.length(), rv = dv.length();
  if (std::max(ru, rv) < 0.5) {
    dot(c, color);
    return;
  }
  // Off the screen altogether: nothing to draw.
  double reach = std::max(ru, rv);
  if (c.x + reach < m_dLeft || c.x - reach > m_dRight || c.y + reach < m_dTop || c.y - reach > m_dBottom) return;
  bool round = !m_bPerspective && std::fabs(ru - rv) <= 1e-9 * ru && std::fabs(du.dotProduct(dv)) <= 1e-9 * ru * ru;
  if (round && reach < 1e5) {
    // A circle stays a circle: Cairo draws the arc itself. Seen from the
    // normal's side, counter-clockwise is the decreasing angle on a device
    // whose y runs down.
    double a0 = std::atan2(du.y, du.x);
    bool flipped = du.x * dv.y - du.y * dv.x < 0;
    double a1 = flipped ? a0 - sweep : a0 + sweep;
    if (fill) flush();
    else strokeWith(color);
    cairo_new_sub_path(m_cr);
    if (type == kAcGiArcSector && !full) cairo_move_to(m_cr, c.x, c.y);
    if (a1 < a0) cairo_arc_negative(m_cr, c.x, c.y, ru, a0, a1);
    else cairo_arc(m_cr, c.x, c.y, ru, a0, a1);
    if (full || type != kAcGiArcSimple) cairo_close_path(m_cr);
    if (fill) {
      setSource(color);
      cairo_fill_preserve(m_cr);
      cairo_stroke(m_cr);
    }
    return;
  }
  // Seen at a slant (or huge): chords no further than half a pixel off.
  double tol = 0.5;
  double step = reach > tol ? 2 * std::acos(std::max(-1.0, 1 - tol / reach)) : M_PI / 4;
  int n = std::clamp(static_cast<int>(std::ceil(std::fabs(sweep) / step)), 4, 4096);
  std::vector<AcGePoint3d> pts;
  pts.reserve(static_cast<size_t>(n) + 2);
  if (type == kAcGiArcSector && !full) pts.push_back(center);
  for (int i = 0; i <= n; ++i) {
    double a = sweep * i / n;
    pts.push_back(center + u * (radius * std::cos(a)) + v * (radius * std::sin(a)));
  }
  if (fill) {
    polygon(pts.data(), pts.size());
  } else {
    polyline(pts.data(), pts.size(), type != kAcGiArcSimple && !full);
  }
}

void Renderer::text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction,
                    double height, double width, double oblique, std::wstring_view message,
                    const AcGiTextStyle& style) {
  if (message.empty() || !(height > 0.0) || !std::isfinite(height)) return;
  AcGeVector3d n = normal.isZeroLength() ? AcGeVector3d::kZAxis : normal.normal();
  AcGeVector3d x = direction - n * direction.dotProduct(n);
  if (x.isZeroLength()) x = acgeArbitraryXAxis(n);
  x.normalize();
  AcGeVector3d y = n.crossProduct(x);
  AcGePoint2d o, px, py;
  if (!toDevice(position, o) || !toDevice(position + x, px) || !toDevice(position + y, py)) return;
  AcGeVector2d dx = px - o, dy = py - o;
  double em = height / kCapHeight;
  // Text smaller than a pixel cannot be read: nothing is drawn for it.
  if (dy.length() * height < 1.0) return;
  if (style.isBackward()) dx = -dx;
  if (style.isUpsideDown()) dy = -dy;
  if (!(width > 0.0) || !std::isfinite(width)) width = 1.0;
  double slant = std::isfinite(oblique) ? std::tan(std::clamp(oblique, -1.4, 1.4)) : 0.0;
  // A rough reach of the text: skip it when it is nowhere near the viewport.
  double reach = (dx.length() * em * width * (static_cast<double>(message.size()) + 1.0)) + dy.length() * em * 2;
  if (o.x + reach < m_dLeft || o.x - reach > m_dRight || o.y + reach < m_dTop || o.y - reach > m_dBottom) return;
  // The size in pixels is rounded (to a quarter pixel, 2 % when larger), so
  // that texts of nearly one size share their glyphs: every new size costs
  // a font of its own.
  double emPixels = dy.length() * em;
  double quantum = std::max(0.25, emPixels * 0.02);
  double rounded = std::max(quantum, std::round(emPixels / quantum) * quantum);
  em *= rounded / emPixels;
  cairo_matrix_t m;
  cairo_matrix_init(&m, em * width * dx.x, em * width * dx.y, em * (dy.x + slant * dx.x), em * (dy.y + slant * dx.y),
                    o.x, o.y);
  flush();
  setSource(currentColor());
  cairo_antialias_t aa = cairo_get_antialias(m_cr);
  cairo_set_antialias(m_cr, CAIRO_ANTIALIAS_GRAY);
  ShowText(m_cr, FontOf(style), message, m);
  cairo_set_antialias(m_cr, aa);
}

void Renderer::infiniteLine(const AcGePoint3d& base, const AcGeVector3d& direction, bool bothWays) {
  AcGePoint2d a, b;
  if (!toDevice(base, a) || !toDevice(base + direction, b)) return;
  AcGeVector2d d = b - a;
  if (d.isZeroLength()) return;
  // Long enough to cross the viewport from anywhere near it.
  double span = (m_dRight - m_dLeft) + (m_dBottom - m_dTop) + std::fabs(a.x) + std::fabs(a.y);
  d = d.normal() * span;
  AcGePoint2d from = bothWays ? a - d : a;
  strokeWith(currentColor());
  cairo_new_sub_path(m_cr);
  lineTo(from, a + d);
}

// ---------------------------------------------------------------- a whole view

void RenderView(cairo_t* cr, const GsView& view, const GsDevice& device) {
  int left, top, right, bottom;
  view.pixelRect(left, top, right, bottom);
  if (right <= left || bottom <= top) return;
  cairo_save(cr);
  cairo_rectangle(cr, left, top, right - left, bottom - top);
  cairo_clip(cr);
  const AcGsColor& bg = device.background();
  cairo_set_source_rgb(cr, bg.m_red / 255.0, bg.m_green / 255.0, bg.m_blue / 255.0);
  cairo_paint(cr);
  if (view.isVisible()) {
    Renderer renderer(cr, view, device);
    // Drawing may not change what the view holds, but a drawable could:
    // the list is walked by position, each entry copied before it is drawn
    // (a copy of the whole list would be new memory at every drawing).
    const ViewEntryList& entries = view.entries();
    // The standard models first; direct-rendering models on top of them.
    for (int pass = 0; pass < 2; ++pass) {
      for (size_t i = 0; i < entries.size(); ++i) {
        const ViewEntry e = entries[i];
        bool direct = e.model->renderType() == AcGsModel::kDirect;
        if (direct != (pass == 1)) continue;
        AcGiDrawable* drawable = e.drawable;
        AcDbObject* object = nullptr;
        if (!drawable) {
          // Held by id: an erased object or one that cannot be opened is not drawn.
          if (acdbOpenObject(object, e.id, AcDb::kForRead) != Acad::eOk) continue;
          drawable = object;
        }
        if (view.mode() == AcGsView::kBoundingBox) renderer.drawBounds(drawable);
        else renderer.draw(drawable);
        if (object) object->close();
      }
    }
  }
  cairo_restore(cr);
}

}  // namespace acgs
