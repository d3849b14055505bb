// OrbitGadget: the drawable that shows the virtual trackball's circle in a
// preview while the user orbits.
#include "GsPreviewCtrl.h"

#include <algorithm>
#include <cmath>

OrbitGadget::OrbitGadget() : m_gsnode(NULL) {}

OrbitGadget::~OrbitGadget() {}

Adesk::UInt32 OrbitGadget::setAttributes(AcGiDrawableTraits* traits) {
  if (traits != NULL) {
    AcCmColor color;
    color.setRGB(0, 200, 0);
    traits->setTrueColor(color);
  }
  return 0;
}

Adesk::Boolean OrbitGadget::worldDraw(AcGiWorldDraw* /*worldDraw*/) { return Adesk::kFalse; }

void OrbitGadget::viewportDraw(AcGiViewportDraw* viewportDraw) {
  if (viewportDraw == NULL) return;
  const AcGiViewport& viewport = viewportDraw->viewport();
  AcGePoint2d lowerLeft, upperRight;
  viewport.getViewportDcCorners(lowerLeft, upperRight);
  double width = std::fabs(upperRight.x - lowerLeft.x) + 1.0;
  double height = std::fabs(upperRight.y - lowerLeft.y) + 1.0;
  AcGeMatrix3d deviceToWorld;
  viewport.getDeviceToWorldTransform(deviceToWorld);
  double radius = 0.4 * std::min(width, height) * deviceToWorld.scale();
  AcGePoint3d target, camera;
  viewport.getCameraTarget(target);
  viewport.getCameraLocation(camera);
  AcGeVector3d normal = target - camera;
  if (normal.isZeroLength()) normal = AcGeVector3d::kZAxis;
  viewportDraw->geometry().circle(target, radius, normal.normal());
}

Adesk::Boolean OrbitGadget::isPersistent() const { return Adesk::kFalse; }

AcDbObjectId OrbitGadget::id() const { return AcDbObjectId::kNull; }

AcGiDrawable::DrawableType OrbitGadget::drawableType() const { return kGeometry; }

void OrbitGadget::setGsNode(AcGsNode* gsnode) { m_gsnode = gsnode; }

AcGsNode* OrbitGadget::gsNode() const { return m_gsnode; }

bool OrbitGadget::bounds(AcDbExtents& /*bounds*/) const { return false; }

Adesk::UInt32 OrbitGadget::viewportDrawLogicalFlags(AcGiViewportDraw* /*viewportDraw*/) { return 0; }
