// The inside of the graphics system: the concrete devices, views, models
// and nodes, the registry that lets each forget the others when they go
// away (a deleted database leaves every view), and the renderer's entry.
#pragma once

#include <cairo.h>

#include <array>
#include <list>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "acgi.h"
#include "acgsmanager.h"
#include "dbarena.h"
#include "gsflatmap.h"
#include "rxevent.h"

namespace acgs {

class GsModel;
class GsView;
class GsDevice;
class GsNode;

// Memory for the models' nodes, which are made and freed by the hundred
// thousand (a hatch or circle each): blocks of one size on a free
// list, cut from huge-page chunks, so a node costs neither the heap's
// bookkeeping nor a page fault every few nodes. The memory stays with the
// process. Under the address sanitizer the heap serves them, to be checked.
template <class T>
class NodeAllocator {
 public:
  using value_type = T;
  NodeAllocator() = default;
  template <class U>
  NodeAllocator(const NodeAllocator<U>&) noexcept {}  // NOLINT: rebinding converts

  T* allocate(size_t n) {
    if (!kPooled || n != 1) return std::allocator<T>().allocate(n);
    Pool& pool = Pool::instance();
    if (!pool.free) {
      constexpr size_t kChunk = size_t(2) << 20;
      char* chunk = static_cast<char*>(acdbMapLargeBlock(kChunk));
      for (size_t at = 0; at + kSlot <= kChunk; at += kSlot) {
        auto* slot = reinterpret_cast<Slot*>(chunk + at);
        slot->next = pool.free;
        pool.free = slot;
      }
    }
    Slot* slot = pool.free;
    pool.free = slot->next;
    return reinterpret_cast<T*>(slot);
  }
  void deallocate(T* p, size_t n) noexcept {
    if (!kPooled || n != 1) return std::allocator<T>().deallocate(p, n);
    auto* slot = reinterpret_cast<Slot*>(p);
    slot->next = Pool::instance().free;
    Pool::instance().free = slot;
  }
  template <class U>
  bool operator==(const NodeAllocator<U>&) const noexcept { return true; }

 private:
#if defined(__SANITIZE_ADDRESS__)
  static constexpr bool kPooled = false;
#else
  static constexpr bool kPooled = true;
#endif
  struct Slot {
    Slot* next;
  };
  static constexpr size_t kAlign = alignof(T) > alignof(Slot) ? alignof(T) : alignof(Slot);
  static constexpr size_t kSlot = ((sizeof(T) > sizeof(Slot) ? sizeof(T) : sizeof(Slot)) + kAlign - 1) & ~(kAlign - 1);
  // One free list per node type; the graphics system runs on one thread.
  struct Pool {
    Slot* free = nullptr;
    static Pool& instance() {
      static Pool pool;
      return pool;
    }
  };
};

using GsNodeList = std::list<GsNode, NodeAllocator<GsNode>>;

// The node of a drawable held by pointer: shared by every view that shows
// it in the same model, and knowing those views, so that a view finds out
// whether it already shows a drawable without an index of its own.
class GsNode : public AcGsNode {
 public:
  GsNode(GsModel* model, AcGiDrawable* drawable) : m_pModel(model), m_pDrawable(drawable) {}
  AcGsModel* model() const override;
  AcGiDrawable* drawable() const override { return m_pDrawable; }
  AcDbObjectId id() const override { return AcDbObjectId(); }

  bool heldBy(const GsView* view) const;
  void addView(GsView* view);
  void removeView(const GsView* view);
  bool unused() const { return !m_pView && !m_pMoreViews; }

  GsModel* m_pModel;
  AcGiDrawable* m_pDrawable;
  GsView* m_pView = nullptr;  // the first view holding it
  // Any other views holding it (seldom any: made when needed).
  std::unique_ptr<std::vector<GsView*>> m_pMoreViews;
  GsNodeList::iterator m_self;  // its place in the model's list
};

class GsModel : public AcGsModel {
 public:
  explicit GsModel(RenderType type);
  ~GsModel() override;
  RenderType renderType() const override { return m_type; }
  void onModified(AcGiDrawable* modified, AcGiDrawable* parent) override;
  void onErased(AcGiDrawable* erased, AcGiDrawable* parent) override;
  void invalidate(InvalidationHint hint) override;

  // A view starts showing a drawable held by pointer: false when the view
  // shows it already. And stops showing it.
  bool retain(AcGiDrawable* drawable, GsView* view);
  void release(AcGiDrawable* drawable, const GsView* view);

 private:
  GsNode* nodeOf(AcGiDrawable* drawable);
  RenderType m_type;
  GsNodeList m_nodes;
  // The nodes a drawable does not point to (it points to the node of the
  // first model it joined, or cannot keep one).
  FlatMap<AcGiDrawable*, GsNode*> m_otherNodes;
};

// One drawable of a view: a database object by its id, anything else by
// pointer.
struct ViewEntry {
  GsModel* model = nullptr;
  AcGiDrawable* drawable = nullptr;  // drawables of no database
  AcDbObjectId id;                   // drawables of a database
  AcDbDatabase* database = nullptr;
};
// A view may show hundreds of thousands: once large, the list takes huge
// pages (a page fault per 2 MB as it grows, not per 4 KB).
using ViewEntryList = std::vector<ViewEntry, AcDbLargeAllocator<ViewEntry>>;

// The camera and where the view lies on its device; the transforms follow
// from them.
struct Camera {
  AcGePoint3d position{0, 0, 1};
  AcGePoint3d target{0, 0, 0};
  AcGeVector3d up{0, 1, 0};
  double fieldWidth = 1.0;
  double fieldHeight = 1.0;
  bool perspective = false;

  // The eye frame: x right, y up, z from the target towards the camera.
  void frame(AcGeVector3d& x, AcGeVector3d& y, AcGeVector3d& z) const;
};

class GsView : public AcGsView {
 public:
  GsView();
  ~GsView() override;

  void setViewport(const AcGePoint2d& lowerLeft, const AcGePoint2d& upperRight) override;
  void getViewport(AcGePoint2d& lowerLeft, AcGePoint2d& upperRight) const override;
  void setViewport(const AcGsDCRect& screenRect) override;
  void getViewport(AcGsDCRect& screenRect) const override;
  void setView(const AcGePoint3d& position, const AcGePoint3d& target, const AcGeVector3d& upVector, double fieldWidth,
               double fieldHeight, Projection projection) override;
  AcGePoint3d position() const override { return m_camera.position; }
  AcGePoint3d target() const override { return m_camera.target; }
  AcGeVector3d upVector() const override { return m_camera.up; }
  double fieldWidth() const override { return m_camera.fieldWidth; }
  double fieldHeight() const override { return m_camera.fieldHeight; }
  bool isPerspective() const override { return m_camera.perspective; }

  bool add(AcGiDrawable* drawable, AcGsModel* model) override;
  bool erase(AcGiDrawable* drawable) override;
  void eraseAll() override;
  int numDrawables() const override { return static_cast<int>(m_entries.size()); }

  void setMode(RenderMode mode) override;
  RenderMode mode() const override { return m_mode; }
  void setVisibility(bool visible) override;
  bool isVisible() const override { return m_bVisible; }

  void invalidate() override { m_bValid = false; }
  void invalidate(const AcGsDCRect&) override { m_bValid = false; }
  // Not valid either when an object of a database may have changed since
  // the view was drawn and the view shows objects of a database.
  bool isValid() const override;
  void update() override;

  void dolly(const AcGeVector3d& vector) override;
  void dolly(double x, double y, double z) override { dolly(AcGeVector3d(x, y, z)); }
  void roll(double angle) override;
  void orbit(double x, double y) override;
  void zoom(double factor) override;
  void pan(double x, double y) override { dolly(x, y, 0.0); }
  void zoomExtents(const AcGePoint3d& minPoint, const AcGePoint3d& maxPoint) override;
  void zoomWindow(const AcGePoint2d& lowerLeft, const AcGePoint2d& upperRight) override;

  AcGeMatrix3d viewingMatrix() const override;
  AcGeMatrix3d projectionMatrix() const override;
  AcGeMatrix3d screenMatrix() const override;
  AcGeMatrix3d worldToDeviceMatrix() const override;
  AcGeMatrix3d deviceToViewMatrix() const override;
  AcGeMatrix3d deviceToWorldMatrix() const override;

  AcGsDevice* getDevice() const override;

  // ---- the graphics system's own side ------------------------------------
  void setDevice(GsDevice* device) { m_pDevice = device; }
  GsDevice* device() const { return m_pDevice; }
  const Camera& camera() const { return m_camera; }
  const ViewEntryList& entries() const { return m_entries; }
  // Pixels per view unit (the field fitted into the viewport).
  double pixelsPerUnit() const;
  // The viewport's pixel rectangle on the device (right and bottom excluded).
  void pixelRect(int& left, int& top, int& right, int& bottom) const;
  // The pixel the target shows in (the middle one, or the one right of and
  // below the middle of an even count). Device coordinates count pixels:
  // pixel (x, y) is centred on (x, y).
  void centerPixel(double& x, double& y) const;
  // Forget every drawable of the model, or of the database.
  void dropModel(GsModel* model);
  void dropDatabase(AcDbDatabase* db);
  void dropDrawable(AcGiDrawable* drawable);
  bool holds(const GsModel* model) const;
  void setValid();

 private:
  // Takes the entries the predicate picks out of the view.
  template <class Pred>
  bool removeIf(Pred pred);
  Camera m_camera;
  AcGePoint2d m_lowerLeft{0, 0}, m_upperRight{1, 1};
  RenderMode m_mode = k2DOptimized;
  bool m_bVisible = true;
  bool m_bValid = false;
  unsigned long long m_nDrawnAt = 0;  // the modification count when drawn
  GsDevice* m_pDevice = nullptr;
  ViewEntryList m_entries;
  // The entries held by id (model and object), to add each once; those
  // held by pointer are known by their nodes.
  FlatMap<std::pair<const void*, const void*>, char> m_keys;
};

class GsDevice : public AcGsDevice {
 public:
  explicit GsDevice(HWND window);
  ~GsDevice() override;
  GsDevice(const GsDevice&) = delete;
  GsDevice& operator=(const GsDevice&) = delete;

  void invalidate() override { m_bValid = false; }
  void invalidate(const AcGsDCRect&) override { m_bValid = false; }
  bool isValid() const override;
  void update(AcGsDCRect* updatedRect) override;
  void onSize(int width, int height) override;
  void onRealizeForegroundPalette() override {}
  void onRealizeBackgroundPalette() override {}
  void onDisplayChange(int, int, int) override { m_bValid = false; }
  bool add(AcGsView* view) override;
  bool erase(AcGsView* view) override;
  void eraseAll() override;
  bool setBackgroundColor(AcGsColor color) override;
  AcGsColor getBackgroundColor() override { return m_background; }
  void setLogicalPalette(const AcGsColor* palette, int count) override;
  int width() const override { return m_nWidth; }
  int height() const override { return m_nHeight; }
  COLORREF pixel(int x, int y) const override;

  // ---- the graphics system's own side ------------------------------------
  const std::array<AcGsColor, 256>& palette() const { return m_palette; }
  const AcGsColor& background() const { return m_background; }
  HWND window() const { return m_hWnd; }
  // A view being deleted leaves its device.
  void forgetView(GsView* view);

 private:
  void render(GsView& view);
  // Brings the surface up to date with the views.
  void draw();
  void present();
  HWND m_hWnd;
  int m_nWidth = 0;
  int m_nHeight = 0;
  cairo_surface_t* m_pSurface = nullptr;
  AcGsColor m_background{0, 0, 0, 255};
  std::array<AcGsColor, 256> m_palette{};
  std::vector<GsView*> m_views;
  bool m_bValid = false;
  // An update came while the window could not be seen; its paint, or a
  // read of a pixel, draws then.
  bool m_bDeferred = false;
};

// Every live view, so that a model or a database that goes away is dropped
// from all of them.
class Registry : public AcRxEventReactor {
 public:
  static Registry& instance();
  void addView(GsView* view) { m_views.push_back(view); }
  void removeView(GsView* view);
  const std::vector<GsView*>& views() const { return m_views; }
  void databaseToBeDestroyed(AcDbDatabase* db) override;

 private:
  std::vector<GsView*> m_views;
};

// Draws the view's drawables into its viewport of the Cairo context, on the
// device's background, colours through the device's palette.
void RenderView(cairo_t* cr, const GsView& view, const GsDevice& device);

}  // namespace acgs
