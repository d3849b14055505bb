// The graphics preview control in a window of 372 x 200 pixels (the
// drive-test dialog's pane): initialisation once, teardown at any time,
// models it owns and models it borrows, wheel, pan, the virtual trackball
// with its circle, the zoom window, painting and the scripted user's @print.
#include <gtest/gtest.h>

#include "GsPreviewCtrl.h"
#include "dbhatch.h"
#include "scriptprobe.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGadget = RGB(0, 200, 0);

AcDbHatch* RedSquare() {
  auto* hatch = new AcDbHatch();
  hatch->setColorIndex(1);
  AcGePoint2dArray loop{AcGePoint2d(-10, -10), AcGePoint2d(10, -10), AcGePoint2d(10, 10), AcGePoint2d(-10, 10)};
  hatch->appendLoop(AcDbHatch::kExternal, loop, AcGeDoubleArray());
  return hatch;
}

class PreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 240), nullptr, 0));
    HWND raw = ::CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 10, 10, 372, 200, m_parent.m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<intptr_t>(101)), nullptr, nullptr);
    ASSERT_NE(raw, nullptr);
    ASSERT_TRUE(m_preview.SubclassDlgItem(101, &m_parent));
  }
  void TearDown() override {
    m_preview.clearAll();
    delete m_pSquare;
    m_parent.DestroyWindow();
  }

  // Initialised, showing a red square of 21 x 21 units about the origin at
  // one unit per pixel.
  void InitWithSquare() {
    m_preview.init(CadcoreResourceInstance(), true);
    ASSERT_NE(m_preview.view(), nullptr);
    m_preview.view()->setView(AcGePoint3d(0, 0, 1), AcGePoint3d(0, 0, 0), AcGeVector3d::kYAxis, 372, 200);
    m_pSquare = RedSquare();
    m_preview.view()->add(m_pSquare, m_preview.model());
  }
  LRESULT Mouse(UINT msg, int x, int y, WPARAM keys = 0) {
    return ::SendMessageW(m_preview.m_hWnd, msg, keys, MAKELPARAM(x, y));
  }
  // Paints the control and counts its pixels of the colour (as the window shows them).
  int Count(COLORREF c) {
    ::SendMessageW(m_preview.m_hWnd, WM_PAINT, 0, 0);
    HDC dc = ::GetDC(m_preview.m_hWnd);
    int n = 0;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 372; ++x)
        if (::GetPixel(dc, x, y) == c) ++n;
    ::ReleaseDC(m_preview.m_hWnd, dc);
    return n;
  }
  std::wstring Print() {
    win::ScriptPrintLines lines;
    EXPECT_EQ(::SendMessageW(m_preview.m_hWnd, WM_SCRIPT_PRINT, 0, reinterpret_cast<LPARAM>(&lines)), TRUE);
    return lines.size() == 1 ? lines[0].second : L"";
  }

  CWnd m_parent;
  CGsPreviewCtrl m_preview;
  AcDbHatch* m_pSquare = nullptr;
};

}  // namespace

TEST_F(PreviewTest, InitTwiceBuildsTheGraphicsObjectsOnce) {
  m_preview.init(CadcoreResourceInstance(), true);
  AcGsView* view = m_preview.view();
  AcGsDevice* device = m_preview.device();
  AcGsModel* model = m_preview.model();
  ASSERT_NE(view, nullptr);
  ASSERT_NE(device, nullptr);
  ASSERT_NE(model, nullptr);
  EXPECT_TRUE(m_preview.m_ownsModel);
  EXPECT_EQ(device->width(), 372);
  EXPECT_EQ(device->height(), 200);
  HCURSOR pan = m_preview.m_panCursor, arrow = m_preview.m_defaultCursor, orbit = m_preview.m_orbitCursor;
  EXPECT_NE(pan, nullptr);
  EXPECT_NE(arrow, nullptr);
  EXPECT_NE(orbit, nullptr) << "the orbit cursor is loaded too";
  EXPECT_EQ(::GetClassLongPtrW(m_preview.m_hWnd, GCLP_HCURSOR), 0u) << "the control sets the cursor itself";
  m_preview.init(CadcoreResourceInstance(), false);
  EXPECT_EQ(m_preview.view(), view);
  EXPECT_EQ(m_preview.device(), device);
  EXPECT_EQ(m_preview.model(), model);
  EXPECT_EQ(m_preview.m_orbitCursor, orbit);
  EXPECT_EQ(m_preview.m_panCursor, pan);
  // Torn down and built again: a new set.
  m_preview.clearAll();
  EXPECT_EQ(m_preview.view(), nullptr);
  EXPECT_EQ(m_preview.m_manager, nullptr);
  m_preview.init(CadcoreResourceInstance(), false);
  EXPECT_NE(m_preview.view(), nullptr);
  EXPECT_EQ(m_preview.model(), nullptr);
  EXPECT_FALSE(m_preview.m_ownsModel);
}

TEST_F(PreviewTest, WithoutGraphicsEverythingIsHarmless) {
  // Never initialised.
  m_preview.clearAll();
  EXPECT_EQ(Mouse(WM_MOUSEWHEEL, 10, 10, MAKEWPARAM(0, 120)), FALSE);
  Mouse(WM_LBUTTONDOWN, 10, 10);
  Mouse(WM_MOUSEMOVE, 50, 50);
  Mouse(WM_LBUTTONUP, 50, 50);
  Mouse(WM_MBUTTONDOWN, 10, 10);
  Mouse(WM_MOUSEMOVE, 50, 50);
  Mouse(WM_MBUTTONUP, 50, 50);
  ::SetWindowPos(m_preview.m_hWnd, nullptr, 0, 0, 100, 50, SWP_NOMOVE | SWP_NOZORDER);
  ::InvalidateRect(m_preview.m_hWnd, nullptr, TRUE);
  ::SendMessageW(m_preview.m_hWnd, WM_PAINT, 0, 0);
  EXPECT_FALSE(m_preview.m_orbiting);
  EXPECT_FALSE(m_preview.m_panning);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(Print(), L"no view");
  m_preview.setModel(nullptr);
  m_preview.erasePreview();
  m_preview.clearAll();
  // An initialisation that fails (no window to draw in) keeps nothing.
  CGsPreviewCtrl detached;
  detached.init(CadcoreResourceInstance(), true);
  EXPECT_EQ(detached.m_manager, nullptr);
  EXPECT_EQ(detached.m_classFactory, nullptr);
  EXPECT_EQ(detached.device(), nullptr);
  EXPECT_EQ(detached.view(), nullptr);
  EXPECT_EQ(detached.model(), nullptr);
  EXPECT_EQ(detached.m_gadgetModel, nullptr);
}

TEST_F(PreviewTest, ABorrowedModelStaysTheCallers) {
  InitWithSquare();
  AcGsClassFactory* factory = acgsGetGsManager()->getGSClassFactory();
  AcGsModel* borrowed = factory->createModel(AcGsModel::kMain, 0, nullptr, nullptr);
  // The control's own model goes (a leak otherwise); the caller's is taken.
  m_preview.setModel(borrowed);
  EXPECT_EQ(m_preview.model(), borrowed);
  EXPECT_FALSE(m_preview.m_ownsModel);
  EXPECT_EQ(m_preview.view()->numDrawables(), 0) << "the view was emptied";
  m_preview.view()->add(m_pSquare, borrowed);
  EXPECT_EQ(Count(kRed), 21 * 21);
  m_preview.erasePreview();
  EXPECT_EQ(m_preview.model(), nullptr);
  EXPECT_EQ(m_preview.view()->numDrawables(), 0);
  // Still the caller's to use (and to destroy): a freed model would fail here.
  m_preview.setModel(borrowed);
  m_preview.view()->add(m_pSquare, borrowed);
  EXPECT_EQ(Count(kRed), 21 * 21);
  m_preview.clearAll();
  EXPECT_EQ(borrowed->renderType(), AcGsModel::kMain);
  factory->deleteModel(borrowed);
}

TEST_F(PreviewTest, PaintShowsTheViewAndValidates) {
  InitWithSquare();
  ::InvalidateRect(m_preview.m_hWnd, nullptr, TRUE);
  EXPECT_EQ(Count(kRed), 21 * 21);
  EXPECT_FALSE(::GetUpdateRect(m_preview.m_hWnd, nullptr, FALSE)) << "painting validates the client area";
  HDC dc = ::GetDC(m_preview.m_hWnd);
  EXPECT_EQ(::GetPixel(dc, 186, 100), kRed) << "the origin is the centre pixel";
  EXPECT_EQ(::GetPixel(dc, 150, 100), RGB(0, 0, 0));
  ::ReleaseDC(m_preview.m_hWnd, dc);
  EXPECT_EQ(Mouse(WM_NCHITTEST, 5, 5), HTCLIENT);
  // A new size reaches the device.
  ::SetWindowPos(m_preview.m_hWnd, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(m_preview.device()->width(), 200);
  EXPECT_EQ(m_preview.device()->height(), 100);
  EXPECT_EQ(Print(), L"target 0.0000,0.0000,0.0000 field 372.0000x200.0000 drawables 1");
}

TEST_F(PreviewTest, AnUpdateWhileTheWindowIsHiddenDrawsWhenItIsShownOrReadFrom) {
  InitWithSquare();
  auto windowPixel = [&] {
    HDC dc = ::GetDC(m_preview.m_hWnd);
    COLORREF c = ::GetPixel(dc, 186, 100);
    ::ReleaseDC(m_preview.m_hWnd, dc);
    return c;
  };
  m_parent.ShowWindow(SW_HIDE);
  m_preview.view()->invalidate();
  m_preview.view()->update();
  EXPECT_NE(windowPixel(), kRed) << "nothing is drawn into a window that cannot be seen";
  EXPECT_FALSE(m_preview.view()->isValid());
  m_parent.ShowWindow(SW_SHOW);
  m_parent.UpdateWindow();
  EXPECT_EQ(windowPixel(), kRed) << "showing the window paints what the update left";
  EXPECT_TRUE(m_preview.view()->isValid());
  // Hidden again: a pixel read draws what the last update asked for.
  m_parent.ShowWindow(SW_HIDE);
  m_preview.view()->erase(m_pSquare);
  m_preview.view()->update();
  EXPECT_EQ(m_preview.device()->pixel(186, 100), RGB(0, 0, 0));
  EXPECT_EQ(windowPixel(), kRed) << "the hidden window keeps its old pixels";
}

TEST_F(PreviewTest, WheelZoomsAndMiddleButtonPans) {
  InitWithSquare();
  EXPECT_EQ(Mouse(WM_MOUSEWHEEL, 100, 100, MAKEWPARAM(0, 120)), TRUE);
  EXPECT_DOUBLE_EQ(m_preview.view()->fieldWidth(), 372 / 1.5);
  Mouse(WM_MOUSEWHEEL, 100, 100, MAKEWPARAM(0, static_cast<WORD>(-120)));
  EXPECT_DOUBLE_EQ(m_preview.view()->fieldWidth(), 372 / 1.5 * 2);
  EXPECT_DOUBLE_EQ(m_preview.view()->fieldHeight(), 200 / 1.5 * 2);
  // Back to one unit a pixel; dragging 10 right and 20 down moves the
  // drawing with the pointer.
  m_preview.view()->zoom(2 / 1.5);
  Mouse(WM_MBUTTONDOWN, 100, 100, MK_MBUTTON);
  EXPECT_TRUE(m_preview.m_panning);
  EXPECT_EQ(::GetCapture(), m_preview.m_hWnd);
  EXPECT_EQ(::GetCursor(), m_preview.m_panCursor);
  Mouse(WM_MOUSEMOVE, 110, 120, MK_MBUTTON);
  Mouse(WM_MBUTTONUP, 110, 120);
  EXPECT_FALSE(m_preview.m_panning);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(::GetClassLongPtrW(m_preview.m_hWnd, GCLP_HCURSOR), reinterpret_cast<ULONG_PTR>(m_preview.m_defaultCursor));
  AcGePoint3d target = m_preview.view()->target();
  EXPECT_NEAR(target.x, -10, 1e-9);
  EXPECT_NEAR(target.y, 20, 1e-9);
  HDC dc = ::GetDC(m_preview.m_hWnd);
  Count(kRed);
  EXPECT_EQ(::GetPixel(dc, 196, 120), kRed) << "the square's centre under the pointer's end";
  ::ReleaseDC(m_preview.m_hWnd, dc);
}

TEST_F(PreviewTest, OrbitWithTheTrackballShowsItsCircleOnlyWhileOrbiting) {
  InitWithSquare();
  EXPECT_EQ(Count(kGadget), 0) << "no circle at rest";
  AcGsView* view = m_preview.view();
  AcGePoint3d position = view->position();
  AcGeVector3d up = view->upVector();
  Mouse(WM_LBUTTONDOWN, 150, 80, MK_LBUTTON);
  EXPECT_TRUE(m_preview.m_orbiting);
  EXPECT_EQ(::GetFocus(), m_preview.m_hWnd);
  EXPECT_EQ(::GetCursor(), m_preview.m_orbitCursor) << "the pointer shows while orbiting";
  // A move of no length changes nothing.
  Mouse(WM_MOUSEMOVE, 150, 80, MK_LBUTTON);
  EXPECT_TRUE(view->position().isEqualTo(position));
  EXPECT_TRUE(view->upVector().isEqualTo(up));
  EXPECT_TRUE(view->target().isEqualTo(AcGePoint3d(0, 0, 0)));
  // The circle: radius 0.4 x 200 pixels about the target.
  int circle = Count(kGadget);
  EXPECT_GT(circle, 400);
  EXPECT_LT(circle, 700);
  // Dragging to the right turns the drawing with the pointer: the camera
  // goes the other way, to the left, and stays as far from the target.
  Mouse(WM_MOUSEMOVE, 180, 80, MK_LBUTTON);
  EXPECT_LT(view->position().x, -0.05);
  EXPECT_NEAR(view->position().distanceTo(view->target()), 1.0, 1e-9);
  Mouse(WM_LBUTTONUP, 180, 80);
  EXPECT_FALSE(m_preview.m_orbiting);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(Count(kGadget), 0) << "the circle goes with the orbit";
  EXPECT_EQ(view->numDrawables(), 1);
  EXPECT_EQ(::GetClassLongPtrW(m_preview.m_hWnd, GCLP_HCURSOR), reinterpret_cast<ULONG_PTR>(m_preview.m_defaultCursor));
}

TEST_F(PreviewTest, ZoomWindowFramesTheDraggedRectangleWithYFlipped) {
  InitWithSquare();
  HDC dc = ::GetDC(m_preview.m_hWnd);
  Count(kRed);
  // Pixels of the first rectangle's right side (x 150, y 21..59) that
  // differ from the background.
  auto marked = [&] {
    int n = 0;
    for (int y = 21; y < 60; ++y) n += ::GetPixel(dc, 150, y) != RGB(0, 0, 0);
    return n;
  };
  // A drag without arming orbits; armed, it draws a rubber rectangle.
  m_preview.m_zoomWindowArmed = true;
  Mouse(WM_LBUTTONDOWN, 86, 20, MK_LBUTTON);
  EXPECT_TRUE(m_preview.m_zoomWindowActive);
  EXPECT_FALSE(m_preview.m_orbiting);
  Mouse(WM_MOUSEMOVE, 150, 60, MK_LBUTTON);
  EXPECT_GT(marked(), 10) << "the rectangle's side is drawn";
  Mouse(WM_MOUSEMOVE, 286, 120, MK_LBUTTON);
  EXPECT_EQ(marked(), 0) << "the first rectangle was taken away";
  Mouse(WM_LBUTTONUP, 286, 120);
  ::ReleaseDC(m_preview.m_hWnd, dc);
  EXPECT_FALSE(m_preview.m_zoomWindowArmed);
  EXPECT_FALSE(m_preview.m_zoomWindowActive);
  EXPECT_FALSE(m_preview.m_rectDrawn);
  // Pixels x 86..286 and y 20..120 (from the top) are world x -100..100
  // and y -20..80.
  AcGsView* view = m_preview.view();
  EXPECT_NEAR(view->target().x, 0, 1e-9);
  EXPECT_NEAR(view->target().y, 30, 1e-9);
  EXPECT_NEAR(view->fieldWidth(), 200, 1e-9);
  EXPECT_NEAR(view->fieldHeight(), 100, 1e-9);
  // A window of no height zooms nothing.
  m_preview.m_zoomWindowArmed = true;
  Mouse(WM_LBUTTONDOWN, 10, 50, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 100, 50, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 100, 50);
  EXPECT_NEAR(view->fieldWidth(), 200, 1e-9);
  EXPECT_NEAR(view->target().y, 30, 1e-9);
}
