// The draw contexts handed to drawables (world draw, viewport draw, their
// geometry, the viewport and the context), each a thin face of the renderer.
#pragma once

#include "gsrender.h"

namespace acgs {

class GeometryCore {
 public:
  explicit GeometryCore(Renderer& r) : m_r(r) {}
  void getModelToWorldTransform(AcGeMatrix3d& m) const { m = m_r.modelToWorld(); }
  void getWorldToModelTransform(AcGeMatrix3d& m) const { m = m_r.modelToWorld().inverse(); }
  Adesk::Boolean pushModelTransform(const AcGeVector3d& normal);
  Adesk::Boolean pushModelTransform(const AcGeMatrix3d& m);
  Adesk::Boolean popModelTransform() { return m_r.popModel(); }
  Adesk::Boolean circle(const AcGePoint3d& c, double r, const AcGeVector3d& n) const;
  Adesk::Boolean circle(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3) const;
  Adesk::Boolean circularArc(const AcGePoint3d& c, double r, const AcGeVector3d& n, const AcGeVector3d& start,
                             double sweep, AcGiArcType type) const;
  Adesk::Boolean circularArc(const AcGePoint3d& start, const AcGePoint3d& point, const AcGePoint3d& end,
                             AcGiArcType type) const;
  Adesk::Boolean polyline(Adesk::UInt32 n, const AcGePoint3d* points) const;
  Adesk::Boolean polygon(Adesk::UInt32 n, const AcGePoint3d* points) const;
  Adesk::Boolean mesh(Adesk::UInt32 rows, Adesk::UInt32 columns, const AcGePoint3d* points) const;
  Adesk::Boolean shell(Adesk::UInt32 nVertex, const AcGePoint3d* vertices, Adesk::UInt32 faceListSize,
                       const Adesk::Int32* faces) const;
  Adesk::Boolean text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction,
                      double height, double width, double oblique, const ACHAR* message) const;
  Adesk::Boolean text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction,
                      const ACHAR* message, Adesk::Int32 length, Adesk::Boolean raw, const AcGiTextStyle& style) const;
  Adesk::Boolean xline(const AcGePoint3d& a, const AcGePoint3d& b) const;
  Adesk::Boolean ray(const AcGePoint3d& a, const AcGePoint3d& b) const;
  Adesk::Boolean draw(AcGiDrawable* drawable) const;
  Adesk::Boolean worldLine(const AcGePoint3d points[2]);

 protected:
  Renderer& m_r;
};

// Forwards the geometry calls of an interface to GeometryCore.
#define ACGS_FORWARD_GEOMETRY                                                                                   \
  void getModelToWorldTransform(AcGeMatrix3d& m) const override { m_core.getModelToWorldTransform(m); }         \
  void getWorldToModelTransform(AcGeMatrix3d& m) const override { m_core.getWorldToModelTransform(m); }         \
  Adesk::Boolean pushModelTransform(const AcGeVector3d& n) override { return m_core.pushModelTransform(n); }    \
  Adesk::Boolean pushModelTransform(const AcGeMatrix3d& m) override { return m_core.pushModelTransform(m); }    \
  Adesk::Boolean popModelTransform() override { return m_core.popModelTransform(); }                            \
  Adesk::Boolean circle(const AcGePoint3d& c, double r, const AcGeVector3d& n) const override {                 \
    return m_core.circle(c, r, n);                                                                              \
  }                                                                                                             \
  Adesk::Boolean circle(const AcGePoint3d& a, const AcGePoint3d& b, const AcGePoint3d& c) const override {      \
    return m_core.circle(a, b, c);                                                                              \
  }                                                                                                             \
  Adesk::Boolean circularArc(const AcGePoint3d& c, double r, const AcGeVector3d& n, const AcGeVector3d& s,      \
                             double sweep, AcGiArcType t) const override {                                      \
    return m_core.circularArc(c, r, n, s, sweep, t);                                                            \
  }                                                                                                             \
  Adesk::Boolean circularArc(const AcGePoint3d& a, const AcGePoint3d& b, const AcGePoint3d& c, AcGiArcType t)   \
      const override {                                                                                          \
    return m_core.circularArc(a, b, c, t);                                                                      \
  }                                                                                                             \
  Adesk::Boolean polyline(Adesk::UInt32 n, const AcGePoint3d* p, const AcGeVector3d*, Adesk::Int64)             \
      const override {                                                                                          \
    return m_core.polyline(n, p);                                                                               \
  }                                                                                                             \
  Adesk::Boolean polygon(Adesk::UInt32 n, const AcGePoint3d* p) const override { return m_core.polygon(n, p); } \
  Adesk::Boolean mesh(Adesk::UInt32 r, Adesk::UInt32 c, const AcGePoint3d* p) const override {                 \
    return m_core.mesh(r, c, p);                                                                                \
  }                                                                                                             \
  Adesk::Boolean shell(Adesk::UInt32 n, const AcGePoint3d* v, Adesk::UInt32 fs, const Adesk::Int32* f)          \
      const override {                                                                                          \
    return m_core.shell(n, v, fs, f);                                                                           \
  }                                                                                                             \
  Adesk::Boolean text(const AcGePoint3d& p, const AcGeVector3d& n, const AcGeVector3d& d, double h, double w,   \
                      double o, const ACHAR* m) const override {                                                \
    return m_core.text(p, n, d, h, w, o, m);                                                                    \
  }                                                                                                             \
  Adesk::Boolean text(const AcGePoint3d& p, const AcGeVector3d& n, const AcGeVector3d& d, const ACHAR* m,       \
                      Adesk::Int32 l, Adesk::Boolean raw, const AcGiTextStyle& s) const override {              \
    return m_core.text(p, n, d, m, l, raw, s);                                                                  \
  }                                                                                                             \
  Adesk::Boolean xline(const AcGePoint3d& a, const AcGePoint3d& b) const override { return m_core.xline(a, b); } \
  Adesk::Boolean ray(const AcGePoint3d& a, const AcGePoint3d& b) const override { return m_core.ray(a, b); }     \
  Adesk::Boolean draw(AcGiDrawable* d) const override { return m_core.draw(d); }                                \
  Adesk::Boolean worldLine(const AcGePoint3d p[2]) override { return m_core.worldLine(p); }

class WorldGeometry : public AcGiWorldGeometry {
 public:
  explicit WorldGeometry(Renderer& r) : m_core(r) {}
  ACGS_FORWARD_GEOMETRY

 private:
  mutable GeometryCore m_core;
};

class ViewportGeometry : public AcGiViewportGeometry {
 public:
  explicit ViewportGeometry(Renderer& r) : m_core(r), m_r(r) {}
  ACGS_FORWARD_GEOMETRY
  Adesk::Boolean polylineEye(Adesk::UInt32 n, const AcGePoint3d* points) const override;
  Adesk::Boolean polygonEye(Adesk::UInt32 n, const AcGePoint3d* points) const override;
  Adesk::Boolean polylineDc(Adesk::UInt32 n, const AcGePoint3d* points) const override;
  Adesk::Boolean polygonDc(Adesk::UInt32 n, const AcGePoint3d* points) const override;

 private:
  mutable GeometryCore m_core;
  Renderer& m_r;
};

class DrawContext : public AcGiContext {
 public:
  explicit DrawContext(Renderer& r) : m_r(r) {}
  AcDbDatabase* database() const override { return m_r.database(); }

 private:
  Renderer& m_r;
};

class ViewportImpl : public AcGiViewport {
 public:
  explicit ViewportImpl(Renderer& r) : m_r(r) {}
  void getModelToEyeTransform(AcGeMatrix3d& m) const override;
  void getEyeToModelTransform(AcGeMatrix3d& m) const override;
  void getWorldToEyeTransform(AcGeMatrix3d& m) const override;
  void getEyeToWorldTransform(AcGeMatrix3d& m) const override;
  void getWorldToDeviceTransform(AcGeMatrix3d& m) const override;
  void getDeviceToWorldTransform(AcGeMatrix3d& m) const override;
  Adesk::Boolean isPerspective() const override { return m_r.view().isPerspective(); }
  void getNumPixelsInUnitSquare(const AcGePoint3d& worldPoint, AcGePoint2d& pixelArea,
                                bool includePerspective) const override;
  void getCameraLocation(AcGePoint3d& p) const override { p = m_r.view().position(); }
  void getCameraTarget(AcGePoint3d& p) const override { p = m_r.view().target(); }
  void getCameraUpVector(AcGeVector3d& v) const override { v = m_r.view().upVector(); }
  Adesk::UInt64 viewportId() const override { return reinterpret_cast<Adesk::UInt64>(&m_r.view()); }
  Adesk::Int16 acadWindowId() const override { return 0; }
  void getViewportDcCorners(AcGePoint2d& lowerLeft, AcGePoint2d& upperRight) const override;
  double linetypeScaleMultiplier() const override { return 1.0; }

 private:
  Renderer& m_r;
};

// The parts both draw contexts share.
#define ACGS_COMMON_DRAW                                                                                    \
  AcGiRegenType regenType() const override { return kAcGiStandardDisplay; }                                 \
  Adesk::Boolean regenAbort() const override { return false; }                                              \
  AcGiSubEntityTraits& subEntityTraits() const override { return m_r.traits(); }                            \
  Adesk::Boolean isDragging() const override { return false; }                                              \
  AcGiContext* context() override { return &m_context; }                                                    \
  Adesk::UInt32 numberOfIsolines() const override { return 4; }                                             \
  double deviation(const AcGiDeviationType, const AcGePoint3d&) const override { return m_r.deviation(); }

class WorldDrawImpl : public AcGiWorldDraw {
 public:
  explicit WorldDrawImpl(Renderer& r) : m_r(r), m_geometry(r), m_context(r) {}
  ACGS_COMMON_DRAW
  AcGiGeometry* rawGeometry() const override { return &m_geometry; }
  AcGiWorldGeometry& geometry() const override { return m_geometry; }

 private:
  Renderer& m_r;
  mutable WorldGeometry m_geometry;
  DrawContext m_context;
};

class ViewportDrawImpl : public AcGiViewportDraw {
 public:
  explicit ViewportDrawImpl(Renderer& r) : m_r(r), m_geometry(r), m_context(r), m_viewport(r) {}
  ACGS_COMMON_DRAW
  AcGiGeometry* rawGeometry() const override { return &m_geometry; }
  AcGiViewportGeometry& geometry() const override { return m_geometry; }
  const AcGiViewport& viewport() const override { return m_viewport; }
  Adesk::UInt32 sequenceNumber() const override { return 0; }
  Adesk::Boolean isValidId(const Adesk::UInt64) const override { return true; }
  AcDbObjectId viewportObjectId() const override { return AcDbObjectId(); }

 private:
  Renderer& m_r;
  mutable ViewportGeometry m_geometry;
  DrawContext m_context;
  ViewportImpl m_viewport;
};

}  // namespace acgs
