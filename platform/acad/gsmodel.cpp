// Graphics models and nodes, the registry of live views, and the graphics
// manager with its class factory: what makes and destroys devices, views
// and models, and keeps each from pointing at another that is gone.
#include <algorithm>

#include "gsimpl.h"
#include "winuser.h"

namespace acgs {

AcGsModel* GsNode::model() const { return m_pModel; }

// ---------------------------------------------------------------- models

GsModel::GsModel(RenderType type) : m_type(type) {}

GsModel::~GsModel() {
  // Views let go of the model's drawables first; nodes left (none, unless a
  // view was already gone) are detached from their drawables.
  for (GsView* v : Registry::instance().views()) v->dropModel(this);
  for (auto& [drawable, node] : m_nodes)
    if (drawable->gsNode() == node.get()) drawable->setGsNode(nullptr);
}

void GsModel::retain(AcGiDrawable* drawable) {
  auto& node = m_nodes[drawable];
  if (!node) {
    node = std::make_unique<GsNode>(this, drawable);
    // The first model a drawable joins keeps the drawable's node.
    if (!drawable->gsNode()) drawable->setGsNode(node.get());
  }
  ++node->m_nUses;
}

void GsModel::release(AcGiDrawable* drawable) {
  auto it = m_nodes.find(drawable);
  if (it == m_nodes.end()) return;
  if (--it->second->m_nUses > 0) return;
  std::unique_ptr<GsNode> node = std::move(it->second);
  m_nodes.erase(it);
  if (drawable->gsNode() == node.get()) drawable->setGsNode(nullptr);
}

void GsModel::onModified(AcGiDrawable*, AcGiDrawable*) {
  for (GsView* v : Registry::instance().views())
    if (v->holds(this)) v->invalidate();
}

void GsModel::onErased(AcGiDrawable* erased, AcGiDrawable*) {
  if (!erased) return;
  for (GsView* v : Registry::instance().views()) v->dropDrawable(erased);
}

void GsModel::invalidate(InvalidationHint hint) {
  if (hint == kInvalidateNone) return;
  onModified(nullptr, nullptr);
}

// ---------------------------------------------------------------- registry

Registry& Registry::instance() {
  static Registry* registry = [] {
    auto* r = new Registry();  // lives as long as the process, like the host's graphics system
    acrxEvent->addReactor(r);
    return r;
  }();
  return *registry;
}

void Registry::removeView(GsView* view) { std::erase(m_views, view); }

void Registry::databaseToBeDestroyed(AcDbDatabase* db) {
  for (GsView* v : m_views) v->dropDatabase(db);
}

// ---------------------------------------------------------------- manager

namespace {

class ClassFactory : public AcGsClassFactory {
 public:
  AcGsDevice* createDevice(HWND window) override { return new GsDevice(window); }
  void deleteDevice(AcGsDevice* device) override { delete device; }
  AcGsView* createView() override { return new GsView(); }
  void deleteView(AcGsView* view) override { delete view; }
  AcGsModel* createModel(AcGsModel::RenderType type, Adesk::Int64, AcGsGetInterfaceFunc,
                         AcGsReleaseInterfaceFunc) override {
    if (type < AcGsModel::kMain || type >= AcGsModel::kCount) return nullptr;
    return new GsModel(type);
  }
  void deleteModel(AcGsModel* model) override { delete model; }
};

class Manager : public AcGsManager {
 public:
  AcGsDevice* createAutoCADDevice(HWND window) override {
    if (!window || !IsWindow(window)) return nullptr;
    return m_factory.createDevice(window);
  }
  void destroyAutoCADDevice(AcGsDevice* device) override { m_factory.deleteDevice(device); }
  AcGsModel* createAutoCADModel() override { return m_factory.createModel(AcGsModel::kMain, 0, nullptr, nullptr); }
  void destroyAutoCADModel(AcGsModel* model) override { m_factory.deleteModel(model); }
  void destroyView(AcGsView* view) override { m_factory.deleteView(view); }
  AcGsClassFactory* getGSClassFactory() override { return &m_factory; }

 private:
  ClassFactory m_factory;
};

}  // namespace

}  // namespace acgs

AcGsManager* acgsGetGsManager(AcDbObjectId) {
  // The host's graphics system outlives every window that uses it.
  static acgs::Manager* manager = new acgs::Manager();
  return manager;
}
