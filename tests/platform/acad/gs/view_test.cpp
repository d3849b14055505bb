// The view's camera and transforms: zoom, dolly, roll and orbit move the
// camera as they say and undo each other; a zoom window frames the world
// rectangle under the pixels given with y upwards; the device transforms
// agree with what is drawn.
#include <gtest/gtest.h>

#include <cmath>

#include "gstest.h"

using gstest::Scene;

namespace {

void ExpectNear(const AcGePoint3d& a, const AcGePoint3d& b, const char* what) {
  EXPECT_NEAR(a.x, b.x, 1e-9) << what;
  EXPECT_NEAR(a.y, b.y, 1e-9) << what;
  EXPECT_NEAR(a.z, b.z, 1e-9) << what;
}

void ExpectNear(const AcGeVector3d& a, const AcGeVector3d& b, const char* what) {
  ExpectNear(AcGePoint3d(a.x, a.y, a.z), AcGePoint3d(b.x, b.y, b.z), what);
}

}  // namespace

TEST(GsView, MovesAndTheirInverses) {
  Scene scene(400, 200);
  AcGsView* v = scene.view;
  v->setView(AcGePoint3d(10, 20, 5), AcGePoint3d(10, 20, 0), AcGeVector3d::kYAxis, 100, 50);
  struct Move {
    const char* name;
    void (*go)(AcGsView*);
    void (*back)(AcGsView*);
  } moves[] = {
      {"zoom", [](AcGsView* x) { x->zoom(1.5); }, [](AcGsView* x) { x->zoom(1 / 1.5); }},
      {"dolly", [](AcGsView* x) { x->dolly(3, -4, 0); }, [](AcGsView* x) { x->dolly(-3, 4, 0); }},
      {"roll", [](AcGsView* x) { x->roll(0.3); }, [](AcGsView* x) { x->roll(-0.3); }},
      {"orbit x", [](AcGsView* x) { x->orbit(0.4, 0); }, [](AcGsView* x) { x->orbit(-0.4, 0); }},
      {"orbit y", [](AcGsView* x) { x->orbit(0, 0.7); }, [](AcGsView* x) { x->orbit(0, -0.7); }},
  };
  for (const Move& m : moves) {
    AcGePoint3d pos = v->position(), target = v->target();
    AcGeVector3d up = v->upVector();
    double w = v->fieldWidth();
    m.go(v);
    EXPECT_FALSE(v->position().isEqualTo(pos) && v->upVector().isEqualTo(up) && v->fieldWidth() == w) << m.name;
    m.back(v);
    ExpectNear(v->position(), pos, m.name);
    ExpectNear(v->target(), target, m.name);
    ExpectNear(v->upVector().normal(), up.normal(), m.name);
    EXPECT_NEAR(v->fieldWidth(), w, 1e-9) << m.name;
  }
  // What each move does, seen from above with y up.
  v->zoom(2);
  EXPECT_DOUBLE_EQ(v->fieldWidth(), 50);
  EXPECT_DOUBLE_EQ(v->fieldHeight(), 25);
  v->dolly(1, 2, 0);
  ExpectNear(v->target(), AcGePoint3d(11, 22, 0), "dolly moves along the view's axes");
  v->roll(M_PI / 2);
  ExpectNear(v->upVector().normal(), AcGeVector3d(1, 0, 0), "the picture turns counter-clockwise");
  v->roll(-M_PI / 2);
  v->orbit(M_PI / 2, 0);
  ExpectNear(v->position(), AcGePoint3d(16, 22, 0), "orbiting right brings the camera to +x");
  v->orbit(-M_PI / 2, 0);
  v->orbit(0, M_PI / 2);
  ExpectNear(v->position(), AcGePoint3d(11, 27, 0), "orbiting up brings the camera to +y");
  // Rubbish leaves the view as it is.
  v->zoom(0);
  v->zoom(-2);
  EXPECT_DOUBLE_EQ(v->fieldWidth(), 50);
}

TEST(GsView, ZoomWindowFramesTheRectangleUnderThePixels) {
  Scene scene(400, 200);
  AcGsView* v = scene.view;
  // 1 unit per pixel, the target at the centre pixel (200, 100).
  v->setView(AcGePoint3d(0, 0, 1), AcGePoint3d(0, 0, 0), AcGeVector3d::kYAxis, 400, 200);
  // Pixels 100..300 across and, counted from the bottom, 120..180.
  v->zoomWindow(AcGePoint2d(100, 120), AcGePoint2d(300, 180));
  ExpectNear(v->target(), AcGePoint3d(0, 50, 0), "the window's centre");
  EXPECT_NEAR(v->fieldWidth(), 200, 1e-9);
  EXPECT_NEAR(v->fieldHeight(), 60, 1e-9);
  // No width or no height: nothing changes.
  v->zoomWindow(AcGePoint2d(10, 10), AcGePoint2d(10, 50));
  v->zoomWindow(AcGePoint2d(10, 10), AcGePoint2d(50, 10));
  EXPECT_NEAR(v->fieldWidth(), 200, 1e-9);
  ExpectNear(v->target(), AcGePoint3d(0, 50, 0), "unchanged");
}

TEST(GsView, DeviceTransformsAgree) {
  Scene scene(400, 200);
  AcGsView* v = scene.view;
  // A field wider than the window's shape: the width fits, 2 pixels a unit.
  v->setView(AcGePoint3d(5, 5, 10), AcGePoint3d(5, 5, 0), AcGeVector3d::kYAxis, 200, 20);
  AcGePoint3d world(15, 10, 0);
  AcGePoint3d device = v->worldToDeviceMatrix() * world;
  ExpectNear(device, AcGePoint3d(200 + 20, 100 - 10, 0), "world to device");
  ExpectNear(v->deviceToWorldMatrix() * device, world, "and back");
  EXPECT_NEAR(v->deviceToWorldMatrix().scale(), 0.5, 1e-12);
  AcGeVector3d pixels(4, 2, 0);
  ExpectNear(v->deviceToViewMatrix() * pixels, AcGeVector3d(2, 1, 0), "pixels to view units");
  AcGsDCRect rect;
  v->getViewport(rect);
  EXPECT_EQ(rect.m_min.x, 0);
  EXPECT_EQ(rect.m_min.y, 0);
  EXPECT_EQ(rect.m_max.x, 399);
  EXPECT_EQ(rect.m_max.y, 199);
  // A viewport on the right half of the device.
  v->setViewport(AcGePoint2d(0.5, 0), AcGePoint2d(1, 1));
  v->getViewport(rect);
  EXPECT_EQ(rect.m_min.x, 200);
  EXPECT_EQ(rect.m_max.x, 399);
}
