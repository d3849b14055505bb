// Helpers of the graphics-system tests: a device without a window, one view
// and one standard model, framed so that one drawing unit is one pixel, and
// a drawing to put entities in.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "acgsmanager.h"
#include "dbdatabase.h"
#include "dbentity.h"
#include "dbsymtb.h"

namespace gstest {

class Scene {
 public:
  // A w x h device; the view looks down on (0, 0) with one unit per pixel.
  explicit Scene(int w = 200, int h = 100) : m_w(w), m_h(h) {
    m_factory = acgsGetGsManager()->getGSClassFactory();
    device = m_factory->createDevice(nullptr);
    device->onSize(w, h);
    view = m_factory->createView();
    model = m_factory->createModel(AcGsModel::kMain, 0, nullptr, nullptr);
    device->add(view);
    view->setView(AcGePoint3d(0, 0, 1), AcGePoint3d(0, 0, 0), AcGeVector3d::kYAxis, w, h);
  }
  ~Scene() {
    m_factory->deleteView(view);
    m_factory->deleteModel(model);
    m_factory->deleteDevice(device);
  }
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  // Draws and reads the pixel that covers the world point.
  COLORREF At(double x, double y) {
    device->update();
    return device->pixel(static_cast<int>(m_w / 2 + x), static_cast<int>(m_h / 2 - y));
  }
  // How many pixels have the colour (after drawing).
  int Count(COLORREF c) {
    device->update();
    int n = 0;
    for (int y = 0; y < m_h; ++y)
      for (int x = 0; x < m_w; ++x)
        if (device->pixel(x, y) == c) ++n;
    return n;
  }
  // Pixels that are not the background.
  int Lit() { return m_w * m_h - Count(RGB(0, 0, 0)); }

  AcGsDevice* device;
  AcGsView* view;
  AcGsModel* model;

 private:
  AcGsClassFactory* m_factory;
  int m_w, m_h;
};

inline AcDbObjectId BlockNamed(AcDbDatabase& db, const ACHAR* name) {
  AcDbBlockTable* table = nullptr;
  AcDbObjectId id;
  if (db.getBlockTable(table, AcDb::kForRead) != Acad::eOk) return id;
  table->getAt(name, id);
  table->close();
  return id;
}

// Appends the entity to the block (model space by default) and closes it.
inline AcDbObjectId Append(AcDbDatabase& db, AcDbEntity* entity, const ACHAR* block = ACDB_MODEL_SPACE) {
  AcDbBlockTableRecord* rec = nullptr;
  AcDbObjectId id;
  EXPECT_EQ(acdbOpenObject(rec, BlockNamed(db, block), AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(rec->appendAcDbEntity(id, entity), Acad::eOk);
  entity->close();
  rec->close();
  return id;
}

// A new layer of the colour index, switched off or frozen when asked.
inline AcDbObjectId AddLayer(AcDbDatabase& db, const ACHAR* name, int color, bool off = false, bool frozen = false) {
  AcDbLayerTable* table = nullptr;
  EXPECT_EQ(db.getLayerTable(table, AcDb::kForWrite), Acad::eOk);
  auto* rec = new AcDbLayerTableRecord();
  rec->setName(name);
  AcCmColor c;
  c.setColorIndex(static_cast<Adesk::UInt16>(color));
  rec->setColor(c);
  rec->setIsOff(off);
  rec->setIsFrozen(frozen);
  AcDbObjectId id;
  EXPECT_EQ(table->add(id, rec), Acad::eOk);
  rec->close();
  table->close();
  return id;
}

// A block of the given name holding the entities (each appended and closed).
inline AcDbObjectId AddBlock(AcDbDatabase& db, const ACHAR* name, std::initializer_list<AcDbEntity*> entities) {
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(db.getBlockTable(table, AcDb::kForWrite), Acad::eOk);
  auto* rec = new AcDbBlockTableRecord();
  rec->setName(name);
  AcDbObjectId id;
  EXPECT_EQ(table->add(id, rec), Acad::eOk);
  rec->close();
  table->close();
  for (AcDbEntity* e : entities) Append(db, e, name);
  return id;
}

}  // namespace gstest
