// The renderer of the graphics system: the world and viewport draw contexts
// a drawable draws through, carrying its geometry to device pixels and
// drawing it with Cairo. Colours are resolved here: "by layer" takes the
// layer's colour, "by block" the colour of the drawable that nests this one,
// and an index looks up the device's palette (1 to 255 only). Drawables on
// frozen or switched-off layers are not drawn.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "gitraits.h"
#include "gsimpl.h"

namespace acgs {

class WorldDrawImpl;
class ViewportDrawImpl;

struct Rgb {
  double r = 1.0, g = 1.0, b = 1.0;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// What a drawable sets while it is drawn.
using Traits = KeptTraits;

// One view's drawing pass.
class Renderer {
 public:
  Renderer(cairo_t* cr, const GsView& view, const GsDevice& device);
  ~Renderer();
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  // Draws a drawable of the view, or one nested in the drawable being drawn.
  void draw(AcGiDrawable* drawable);
  // Draws the outline of the drawable's extents (bounding-box mode).
  void drawBounds(AcGiDrawable* drawable);
  void flush();

  // ---- what the draw contexts call --------------------------------------
  Traits& traits() { return m_traits; }
  AcDbDatabase* database() const { return m_pDatabase; }
  double deviation() const;
  const AcGeMatrix3d& modelToWorld() const { return m_model.back(); }
  void pushModel(const AcGeMatrix3d& m);
  bool popModel();

  void circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal);
  void arc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal, const AcGeVector3d& start,
           double sweep, AcGiArcType type);
  void polyline(const AcGePoint3d* points, size_t n, bool closed);
  void polygon(const AcGePoint3d* points, size_t n);
  void shell(const AcGePoint3d* vertices, size_t nVertices, const Adesk::Int32* faces, size_t faceListSize);
  void mesh(size_t rows, size_t columns, const AcGePoint3d* vertices);
  void text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction, double height,
            double width, double oblique, std::wstring_view message, const AcGiTextStyle& style);
  void infiniteLine(const AcGePoint3d& base, const AcGeVector3d& direction, bool bothWays);
  // Outlines in device pixels (viewport draws).
  void devicePolyline(const std::vector<AcGePoint2d>& points, bool closed, bool fill);
  AcGePoint2d eyeToDevice(const AcGePoint3d& eye) const;

  const GsView& view() const { return m_view; }

 private:
  struct Frame {
    AcDbObjectId layer;  // the layer the drawable's own geometry is on
    Rgb color;           // the colour "by block" geometry nested in it takes
  };
  struct LayerInfo {
    bool visible = true;
    bool isZero = false;
    AcCmColor color;
  };

  const LayerInfo& layerInfo(AcDbObjectId layer) const;
  AcDbObjectId effectiveLayer(AcDbObjectId layer) const;
  Rgb paletteColor(int index) const;
  Rgb resolve(const AcCmColor& color) const;
  Rgb currentColor() const { return resolve(m_traits.trueColor()); }
  bool toDevice(const AcGePoint3d& model, AcGePoint2d& device) const;
  void updateDeviceMatrix();
  void strokeWith(const Rgb& color);
  void setSource(const Rgb& color);
  void lineTo(const AcGePoint2d& from, const AcGePoint2d& to);
  void fillPath(const std::vector<std::vector<AcGePoint2d>>& rings, const Rgb& color);
  void fillPath(const std::vector<AcGePoint2d>* rings, size_t nRings, const Rgb& color);
  void dot(const AcGePoint2d& p, const Rgb& color);

  cairo_t* m_cr;
  const GsView& m_view;
  const GsDevice& m_device;
  AcDbDatabase* m_pDatabase = nullptr;
  Traits m_traits;
  std::vector<Frame> m_frames;
  std::vector<AcGeMatrix3d> m_model;        // model-to-world stack
  std::vector<AcGeMatrix3d> m_deviceStack;  // the device transforms below the top
  std::vector<double> m_scaleStack;         // the model scales below the top
  double m_dModelScale = 1.0;               // of the model transform on top (1 when it has none)
  std::vector<std::vector<AcGePoint2d>> m_shellRings;  // a shell's face, reused
  AcGeMatrix3d m_worldToEye;
  AcGeMatrix3d m_modelToDevice;  // parallel projection
  double m_dScale = 1.0;         // pixels per view unit
  double m_dCenterX = 0, m_dCenterY = 0;
  double m_dDistance = 1.0;  // camera to target (perspective)
  bool m_bPerspective = false;
  double m_dLeft = 0, m_dTop = 0, m_dRight = 0, m_dBottom = 0;  // viewport pixels
  // The surface's pixels when dots may be written into them directly.
  cairo_surface_t* m_pTarget = nullptr;
  uint32_t* m_pPixels = nullptr;
  size_t m_nStride = 0;  // pixels per row
  int m_nPixLeft = 0, m_nPixTop = 0, m_nPixRight = 0, m_nPixBottom = 0;
  bool m_bStrokePending = false;
  Rgb m_stroke;
  mutable std::unordered_map<const void*, LayerInfo> m_layers;  // read once per pass
  int m_nDepth = 0;
  std::unique_ptr<WorldDrawImpl> m_pWorldDraw;
  std::unique_ptr<ViewportDrawImpl> m_pViewportDraw;
};

}  // namespace acgs
