// AcGsManager: the host's graphics manager, through which applications make
// devices for their own windows and the standard models of drawables, and
// reach the class factory for views and the other models.
#pragma once

#include "gs.h"

class AcGsManager {
 public:
  virtual ~AcGsManager() = default;
  // A device drawing into the window's client area, sized to it.
  virtual AcGsDevice* createAutoCADDevice(HWND window) = 0;
  virtual void destroyAutoCADDevice(AcGsDevice* device) = 0;
  // A standard (kMain) model.
  virtual AcGsModel* createAutoCADModel() = 0;
  virtual void destroyAutoCADModel(AcGsModel* model) = 0;
  virtual void destroyView(AcGsView* view) = 0;
  virtual AcGsClassFactory* getGSClassFactory() = 0;
};

// The graphics manager of the host (one for the process; the viewport is
// not needed by it).
AcGsManager* acgsGetGsManager(AcDbObjectId viewportId = AcDbObjectId::kNull);
