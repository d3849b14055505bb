// The graphics system's objects: devices (a window's pixels with their
// background colour and 256-entry logical palette), views (a camera on the
// drawables added to it), models (the drawables' caches), the nodes the
// models keep for drawables, and the class factory that makes them. The host
// renders with Cairo into the device's pixels and copies them into the
// device's window.
#pragma once

#include "adesk.h"
#include "dbid.h"
#include "gegeometry.h"
#include "wintypes.h"

class AcGiDrawable;
class AcGsDevice;
class AcGsModel;
class AcGsView;

struct AcGsColor {
  unsigned char m_red = 0;
  unsigned char m_green = 0;
  unsigned char m_blue = 0;
  unsigned char m_filler = 0;  // alpha; 255 is opaque
};

struct AcGsDCPoint {
  long x = 0;
  long y = 0;
};

// A rectangle of device pixels, both corners included.
struct AcGsDCRect {
  AcGsDCPoint m_min;
  AcGsDCPoint m_max;
};

// What the graphics system keeps for one drawable of a model.
class AcGsNode {
 public:
  virtual ~AcGsNode() = default;
  virtual AcGsModel* model() const = 0;
  // The drawable; one held by id is opened while it is drawn, so this is
  // null for it outside drawing.
  virtual AcGiDrawable* drawable() const = 0;
  virtual AcDbObjectId id() const = 0;
};

class AcGsModel {
 public:
  // kMain: the standard model of drawables; kDirect: drawn straight to the
  // device each time, for short-lived geometry such as an orbit circle.
  enum RenderType { kMain = 0, kSprite, kDirect, kHighlighted, kHighlightedDirect, kCount };
  enum InvalidationHint {
    kInvalidateNone = 0,
    kInvalidateIsolines,
    kInvalidateViewportCache,
    kInvalidateAll,
    kInvalidateAllStatic,
    kInvalidateFacets,
    kInvalidateFills,
    kInvalidateLinetypes,
    kInvalidateMaterials,
    kInvalidateLayers,
    kInvalidateXrefs,
    kInvalidateRasterImages,
    kInvalidateAttributes,
  };

  virtual ~AcGsModel() = default;
  virtual RenderType renderType() const = 0;
  // A drawable of the model changed or went away: its views draw it anew
  // (or no more) at their next update.
  virtual void onModified(AcGiDrawable* modified, AcGiDrawable* parent) = 0;
  virtual void onErased(AcGiDrawable* erased, AcGiDrawable* parent) = 0;
  virtual void invalidate(InvalidationHint hint) = 0;
};

class AcGsView {
 public:
  enum Projection { kParallel = 0, kPerspective };
  enum RenderMode {
    kBoundingBox = -1,
    k2DOptimized = 0,
    kWireframe,
    kHiddenLine,
    kFlatShaded,
    kGouraudShaded,
    kFlatShadedWithWireframe,
    kGouraudShadedWithWireframe,
    kNone,
  };

  virtual ~AcGsView() = default;

  // The part of the device the view covers: normalised (0..1, lower left
  // to upper right), or in pixels (the whole device by default).
  virtual void setViewport(const AcGePoint2d& lowerLeft, const AcGePoint2d& upperRight) = 0;
  virtual void getViewport(AcGePoint2d& lowerLeft, AcGePoint2d& upperRight) const = 0;
  virtual void setViewport(const AcGsDCRect& screenRect) = 0;
  // The viewport in device pixels: m_min is (0, 0) of a view on a whole
  // device, m_max (width - 1, height - 1).
  virtual void getViewport(AcGsDCRect& screenRect) const = 0;

  // The camera: the field (width x height in view units at the target) is
  // fitted into the viewport whole, centred on the target.
  virtual void setView(const AcGePoint3d& position, const AcGePoint3d& target, const AcGeVector3d& upVector,
                       double fieldWidth, double fieldHeight, Projection projection = kParallel) = 0;
  virtual AcGePoint3d position() const = 0;
  virtual AcGePoint3d target() const = 0;
  virtual AcGeVector3d upVector() const = 0;
  virtual double fieldWidth() const = 0;
  virtual double fieldHeight() const = 0;
  virtual bool isPerspective() const = 0;

  // Drawables: one of a database is held by its id, any other by pointer.
  // Adding one already there adds nothing. False when it cannot be added
  // (no drawable, no model, a model of another host).
  virtual bool add(AcGiDrawable* drawable, AcGsModel* model) = 0;
  virtual bool erase(AcGiDrawable* drawable) = 0;
  virtual void eraseAll() = 0;
  // The number of drawables added and not erased.
  virtual int numDrawables() const = 0;

  virtual void setMode(RenderMode mode) = 0;
  virtual RenderMode mode() const = 0;
  virtual void setVisibility(bool visible) = 0;
  virtual bool isVisible() const = 0;

  // Marks the view's pixels as to be drawn again; update draws every view
  // of the device that is not valid and shows the result in its window.
  virtual void invalidate() = 0;
  virtual void invalidate(const AcGsDCRect& screenRect) = 0;
  virtual bool isValid() const = 0;
  virtual void update() = 0;

  // Camera moves, all relative to the view. dolly moves camera and target
  // by a vector in view coordinates (x right, y up, z towards the camera);
  // roll turns the picture counter-clockwise by the angle; orbit moves the
  // camera about the target, x to the right about the up vector, y upwards
  // about the view's x axis; zoom divides the field by the factor.
  virtual void dolly(const AcGeVector3d& vector) = 0;
  virtual void dolly(double x, double y, double z) = 0;
  virtual void roll(double angle) = 0;
  virtual void orbit(double x, double y) = 0;
  virtual void zoom(double factor) = 0;
  virtual void pan(double x, double y) = 0;
  // Frames the world box (its extents as seen from the camera).
  virtual void zoomExtents(const AcGePoint3d& minPoint, const AcGePoint3d& maxPoint) = 0;
  // Frames the window between two device points given with y upwards
  // (pixels from the bottom of the device); a window of no width or no
  // height changes nothing.
  virtual void zoomWindow(const AcGePoint2d& lowerLeft, const AcGePoint2d& upperRight) = 0;

  // World to eye coordinates; eye to normalised projection; projection to
  // device pixels; and their product. Device coordinates count pixels, y
  // down: pixel (x, y) is centred on (x, y), and the target shows in the
  // viewport's middle pixel (right of and below the middle of an even count).
  virtual AcGeMatrix3d viewingMatrix() const = 0;
  virtual AcGeMatrix3d projectionMatrix() const = 0;
  virtual AcGeMatrix3d screenMatrix() const = 0;
  virtual AcGeMatrix3d worldToDeviceMatrix() const = 0;
  // Device pixels (y down) to view units and to world coordinates on the
  // target's plane.
  virtual AcGeMatrix3d deviceToViewMatrix() const = 0;
  virtual AcGeMatrix3d deviceToWorldMatrix() const = 0;

  virtual AcGsDevice* getDevice() const = 0;
};

class AcGsDevice {
 public:
  virtual ~AcGsDevice() = default;

  virtual void invalidate() = 0;
  virtual void invalidate(const AcGsDCRect& screenRect) = 0;
  virtual bool isValid() const = 0;
  // Draws the views that are not valid and copies the pixels into the
  // device's window.
  virtual void update(AcGsDCRect* updatedRect = nullptr) = 0;
  // The new size of the window's client area in pixels.
  virtual void onSize(int width, int height) = 0;
  virtual void onRealizeForegroundPalette() = 0;
  virtual void onRealizeBackgroundPalette() = 0;
  virtual void onDisplayChange(int bitsPerPixel, int xPixels, int yPixels) = 0;

  virtual bool add(AcGsView* view) = 0;
  virtual bool erase(AcGsView* view) = 0;
  virtual void eraseAll() = 0;

  virtual bool setBackgroundColor(AcGsColor color) = 0;
  virtual AcGsColor getBackgroundColor() = 0;
  // Colour index i draws in palette entry i (1 to 255); entries past
  // `count` keep what they had.
  virtual void setLogicalPalette(const AcGsColor* palette, int count) = 0;

  // The device's pixels as the last update left them (width and height of
  // the client area; a pixel outside is 0). For snapshots and tests.
  virtual int width() const = 0;
  virtual int height() const = 0;
  virtual COLORREF pixel(int x, int y) const = 0;
};

typedef void* (*AcGsGetInterfaceFunc)(AcDbObjectId objectId, bool needsRegen);
typedef void (*AcGsReleaseInterfaceFunc)(AcGiDrawable* drawable);

class AcGsClassFactory {
 public:
  virtual ~AcGsClassFactory() = default;
  // A device for a window (null for one that only draws into its pixels).
  virtual AcGsDevice* createDevice(HWND window) = 0;
  virtual void deleteDevice(AcGsDevice* device) = 0;
  virtual AcGsView* createView() = 0;
  virtual void deleteView(AcGsView* view) = 0;
  virtual AcGsModel* createModel(AcGsModel::RenderType type, Adesk::Int64 databaseId = 0,
                                 AcGsGetInterfaceFunc getInterface = nullptr,
                                 AcGsReleaseInterfaceFunc releaseInterface = nullptr) = 0;
  virtual void deleteModel(AcGsModel* model) = 0;
};
