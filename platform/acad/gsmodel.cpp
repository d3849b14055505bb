// Graphics models and nodes, the registry of live views, and the graphics
// manager with its class factory: what makes and destroys devices, views
// and models, and keeps each from pointing at another that is gone.
#include <algorithm>

#include "gsimpl.h"
#include "winuser.h"

namespace acgs {

AcGsModel* GsNode::model() const { return m_pModel; }

bool GsNode::heldBy(const GsView* view) const {
  if (m_pView == view) return true;
  return m_pMoreViews && std::find(m_pMoreViews->begin(), m_pMoreViews->end(), view) != m_pMoreViews->end();
}

void GsNode::addView(GsView* view) {
  if (!m_pView) {
    m_pView = view;
    return;
  }
  if (!m_pMoreViews) m_pMoreViews = std::make_unique<std::vector<GsView*>>();
  m_pMoreViews->push_back(view);
}

void GsNode::removeView(const GsView* view) {
  if (m_pView == view) {
    m_pView = nullptr;
    if (m_pMoreViews) {
      m_pView = m_pMoreViews->back();
      m_pMoreViews->pop_back();
    }
  } else if (m_pMoreViews) {
    auto it = std::find(m_pMoreViews->begin(), m_pMoreViews->end(), view);
    if (it != m_pMoreViews->end()) m_pMoreViews->erase(it);
  }
  // No list kept empty: unused() asks for none.
  if (m_pMoreViews && m_pMoreViews->empty()) m_pMoreViews.reset();
}

// ---------------------------------------------------------------- models

GsModel::GsModel(RenderType type) : m_type(type) {}

GsModel::~GsModel() {
  // Views let go of the model's drawables first; nodes left (none, unless a
  // view was already gone) are detached from their drawables.
  for (GsView* v : Registry::instance().views()) v->dropModel(this);
  for (GsNode& node : m_nodes)
    if (node.m_pDrawable->gsNode() == &node) node.m_pDrawable->setGsNode(nullptr);
}

GsNode* GsModel::nodeOf(AcGiDrawable* drawable) {
  // Most drawables are in one model, whose node they point to.
  AcGsNode* own = drawable->gsNode();
  if (own && own->model() == this) return static_cast<GsNode*>(own);
  GsNode** other = m_otherNodes.find(drawable);
  return other ? *other : nullptr;
}

bool GsModel::retain(AcGiDrawable* drawable, GsView* view) {
  GsNode* node = nodeOf(drawable);
  if (!node) {
    node = &m_nodes.emplace_back(this, drawable);
    node->m_self = std::prev(m_nodes.end());
    // The first model a drawable joins keeps the drawable's node.
    if (!drawable->gsNode()) drawable->setGsNode(node);
    if (drawable->gsNode() != node) *m_otherNodes.insert(drawable).first = node;
  }
  if (node->heldBy(view)) return false;
  node->addView(view);
  return true;
}

void GsModel::release(AcGiDrawable* drawable, const GsView* view) {
  GsNode* node = nodeOf(drawable);
  if (!node) return;
  node->removeView(view);
  if (!node->unused()) return;
  if (drawable->gsNode() == node) drawable->setGsNode(nullptr);
  else m_otherNodes.erase(drawable);
  m_nodes.erase(node->m_self);
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
