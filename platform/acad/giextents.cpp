// The extents of what a drawable draws: its world draw is run through a
// context that, instead of drawing, gathers every point in world
// coordinates (circles and arcs by their outline, text by its measured box).
// Entities kept as read from a file have no geometry of their own to
// measure; this gives them their drawn extents.
#include <cmath>
#include <vector>

#include "acgi.h"
#include "dbextents.h"
#include "gearc.h"
#include "giextents.h"
#include "gitraits.h"

namespace acgs {

namespace {

class ExtentsDraw : public AcGiWorldDraw, public AcGiContext {
 public:
  class Geometry : public AcGiWorldGeometry {
   public:
    explicit Geometry(ExtentsDraw& d) : m_d(d) {}
    void getModelToWorldTransform(AcGeMatrix3d& m) const override { m = m_d.m_model.back(); }
    void getWorldToModelTransform(AcGeMatrix3d& m) const override { m = m_d.m_model.back().inverse(); }
    Adesk::Boolean pushModelTransform(const AcGeVector3d& n) override {
      if (n.isZeroLength()) return false;
      return pushModelTransform(AcGeMatrix3d::planeToWorld(n.normal()));
    }
    Adesk::Boolean pushModelTransform(const AcGeMatrix3d& m) override {
      m_d.m_model.push_back(m_d.m_model.back() * m);
      return true;
    }
    Adesk::Boolean popModelTransform() override {
      if (m_d.m_model.size() <= 1) return false;
      m_d.m_model.pop_back();
      return true;
    }
    Adesk::Boolean circle(const AcGePoint3d& c, double r, const AcGeVector3d& n) const override {
      AcGeVector3d u = acgeArbitraryXAxis(n.isZeroLength() ? AcGeVector3d::kZAxis : n.normal());
      return circularArc(c, r, n, u, 2 * M_PI, kAcGiArcSimple);
    }
    Adesk::Boolean circle(const AcGePoint3d& a, const AcGePoint3d& b, const AcGePoint3d& c) const override {
      AcGeCircArc3d arc(a, b, c);
      if (!arc.isDegenerate()) circle(arc.center(), arc.radius(), arc.normal());
      return false;
    }
    Adesk::Boolean circularArc(const AcGePoint3d& c, double r, const AcGeVector3d& n, const AcGeVector3d& s,
                               double sweep, AcGiArcType) const override {
      if (n.isZeroLength() || s.isZeroLength() || !std::isfinite(r) || !std::isfinite(sweep)) return false;
      AcGeVector3d nn = n.normal();
      AcGeVector3d u = (s - nn * s.dotProduct(nn)).normal();
      AcGeVector3d v = nn.crossProduct(u);
      // Sixty-four points lie within 0.12 % of the radius of the true outline.
      for (int i = 0; i <= 64; ++i) {
        double a = sweep * i / 64;
        m_d.add(c + u * (r * std::cos(a)) + v * (r * std::sin(a)));
      }
      return false;
    }
    Adesk::Boolean circularArc(const AcGePoint3d& a, const AcGePoint3d& b, const AcGePoint3d& c,
                               AcGiArcType) const override {
      m_d.add(a);
      m_d.add(b);
      m_d.add(c);
      return false;
    }
    Adesk::Boolean polyline(Adesk::UInt32 n, const AcGePoint3d* p, const AcGeVector3d*, Adesk::Int64) const override {
      for (Adesk::UInt32 i = 0; p && i < n; ++i) m_d.add(p[i]);
      return false;
    }
    Adesk::Boolean polygon(Adesk::UInt32 n, const AcGePoint3d* p) const override { return polyline(n, p, nullptr, -1); }
    Adesk::Boolean mesh(Adesk::UInt32 rows, Adesk::UInt32 columns, const AcGePoint3d* p) const override {
      return polyline(rows * columns, p, nullptr, -1);
    }
    Adesk::Boolean shell(Adesk::UInt32 n, const AcGePoint3d* p, Adesk::UInt32, const Adesk::Int32*) const override {
      return polyline(n, p, nullptr, -1);
    }
    Adesk::Boolean text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction,
                        double height, double width, double oblique, const ACHAR* message) const override {
      AcGiTextStyle style;
      style.setTextSize(height);
      style.setXScale(width);
      style.setObliquingAngle(oblique);
      return text(position, normal, direction, message, -1, false, style);
    }
    Adesk::Boolean text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction,
                        const ACHAR* message, Adesk::Int32 length, Adesk::Boolean raw,
                        const AcGiTextStyle& style) const override {
      if (!message) return false;
      AcGeVector3d n = normal.isZeroLength() ? AcGeVector3d::kZAxis : normal.normal();
      AcGeVector3d x = direction - n * direction.dotProduct(n);
      if (x.isZeroLength()) x = acgeArbitraryXAxis(n);
      x.normalize();
      AcGeVector3d y = n.crossProduct(x);
      double w = style.extents(message, true, length, raw).x;
      double h = style.textSize();
      m_d.add(position);
      m_d.add(position + x * w);
      m_d.add(position + y * h);
      m_d.add(position + x * w + y * h);
      return false;
    }
    Adesk::Boolean xline(const AcGePoint3d&, const AcGePoint3d&) const override { return false; }
    Adesk::Boolean ray(const AcGePoint3d& a, const AcGePoint3d&) const override {
      m_d.add(a);
      return false;
    }
    Adesk::Boolean draw(AcGiDrawable* drawable) const override {
      m_d.measure(drawable);
      return false;
    }
    Adesk::Boolean worldLine(const AcGePoint3d points[2]) override {
      AcGeMatrix3d toModel = m_d.m_model.back().inverse();
      m_d.add(toModel * points[0]);
      m_d.add(toModel * points[1]);
      return false;
    }

   private:
    ExtentsDraw& m_d;
  };

  ExtentsDraw() : m_geometry(*this) { m_model.push_back(AcGeMatrix3d::kIdentity); }

  void measure(AcGiDrawable* drawable) {
    if (!drawable || m_nDepth > 32) return;
    KeptTraits saved = m_traits;
    m_traits = KeptTraits();
    Adesk::UInt32 flags = drawable->setAttributes(&m_traits);
    if (!(flags & AcGiDrawable::kDrawableIsInvisible)) {
      ++m_nDepth;
      size_t depth = m_model.size();
      drawable->worldDraw(this);
      m_model.resize(depth);
      --m_nDepth;
    }
    m_traits = saved;
  }

  void add(const AcGePoint3d& p) {
    AcGePoint3d w = m_model.back() * p;
    if (std::isfinite(w.x) && std::isfinite(w.y) && std::isfinite(w.z)) m_extents.addPoint(w);
  }

  // The world draw: measuring, not showing.
  AcGiRegenType regenType() const override { return kAcGiForExplode; }
  Adesk::Boolean regenAbort() const override { return false; }
  AcGiSubEntityTraits& subEntityTraits() const override { return m_traits; }
  AcGiGeometry* rawGeometry() const override { return &m_geometry; }
  Adesk::Boolean isDragging() const override { return false; }
  AcGiContext* context() override { return this; }
  Adesk::UInt32 numberOfIsolines() const override { return 4; }
  double deviation(const AcGiDeviationType, const AcGePoint3d&) const override { return 0.0; }
  AcGiWorldGeometry& geometry() const override { return m_geometry; }
  AcDbDatabase* database() const override { return nullptr; }

  AcDbExtents m_extents;
  std::vector<AcGeMatrix3d> m_model;

 private:
  mutable KeptTraits m_traits;
  mutable Geometry m_geometry;
  int m_nDepth = 0;
};

}  // namespace

}  // namespace acgs

bool acgiDrawnExtents(AcGiDrawable* drawable, AcDbExtents& extents) {
  acgs::ExtentsDraw draw;
  draw.measure(drawable);
  extents = draw.m_extents;
  return !extents.isEmpty();
}
