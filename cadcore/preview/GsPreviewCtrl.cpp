// CGsPreviewCtrl: the graphics preview control. Its graphics objects come
// from the host's graphics manager; every handler checks them first, so a
// control that was never initialised (or whose initialisation failed)
// paints, sizes, zooms, pans and orbits nothing.
#include "GsPreviewCtrl.h"

#include <algorithm>
#include <cmath>

#include "scriptprobe.h"

BEGIN_MESSAGE_MAP(CGsPreviewCtrl, CStatic)
  ON_WM_PAINT()
  ON_WM_SIZE()
  ON_WM_MOUSEWHEEL()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MBUTTONDOWN()
  ON_WM_MBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_NCHITTEST()
  ON_WM_SETFOCUS()
  ON_MESSAGE(WM_SCRIPT_PRINT, &CGsPreviewCtrl::OnScriptPrint)
END_MESSAGE_MAP()

CGsPreviewCtrl::CGsPreviewCtrl()
    : m_panCursor(NULL),
      m_defaultCursor(NULL),
      m_orbitCursor(NULL),
      m_manager(NULL),
      m_classFactory(NULL),
      m_device(NULL),
      m_view(NULL),
      m_model(NULL),
      m_gadgetModel(NULL),
      m_ownsModel(false),
      m_panning(false),
      m_orbiting(false),
      m_startPoint(0, 0),
      m_zoomWindowArmed(false),
      m_zoomWindowActive(false),
      m_rectDrawn(false),
      m_lastCorner(0, 0) {}

CGsPreviewCtrl::~CGsPreviewCtrl() { clearAll(); }

void CGsPreviewCtrl::init(HMODULE hRes, bool bCreateModel) {
  // The cursors are the module's shared resources: loaded once.
  if (m_panCursor == NULL) m_panCursor = ::LoadCursor(hRes, MAKEINTRESOURCE(IDC_PREVIEW_PAN));
  if (m_defaultCursor == NULL) m_defaultCursor = ::LoadCursor(hRes, MAKEINTRESOURCE(IDC_PREVIEW_DEFAULT));
  // Without a cursor of its own the pointer would vanish while orbiting.
  if (m_orbitCursor == NULL) m_orbitCursor = ::LoadCursor(hRes, MAKEINTRESOURCE(IDC_PREVIEW_ORBIT));
  if (m_hWnd != NULL) ::SetClassLongPtr(m_hWnd, GCLP_HCURSOR, 0);

  if (m_manager != NULL) return;

  m_manager = acgsGetGsManager();
  m_classFactory = m_manager != NULL ? m_manager->getGSClassFactory() : NULL;
  m_device = m_classFactory != NULL && m_hWnd != NULL ? m_manager->createAutoCADDevice(m_hWnd) : NULL;
  if (m_device == NULL) {
    clearAll();
    return;
  }
  CRect rect;
  GetClientRect(&rect);
  m_device->onSize(rect.Width(), rect.Height());

  m_view = m_classFactory->createView();
  if (m_view == NULL) {
    clearAll();
    return;
  }
  if (bCreateModel) {
    m_model = m_manager->createAutoCADModel();
    m_ownsModel = m_model != NULL;
  }
  // The gadget's own model draws straight to the device; the gadget joins
  // the view only while the user orbits, so a preview at rest shows no
  // circle.
  m_gadgetModel = m_classFactory->createModel(AcGsModel::kDirect, 0, NULL, NULL);
  m_device->add(m_view);
}

void CGsPreviewCtrl::setModel(AcGsModel* pModel) {
  if (m_view != NULL) m_view->eraseAll();
  if (pModel == m_model) return;
  if (m_model != NULL && m_ownsModel && m_manager != NULL) m_manager->destroyAutoCADModel(m_model);
  m_ownsModel = false;
  m_model = pModel;
}

void CGsPreviewCtrl::erasePreview() {
  if (m_view != NULL) m_view->eraseAll();
  if (m_model != NULL && m_ownsModel && m_manager != NULL) m_manager->destroyAutoCADModel(m_model);
  m_model = NULL;
  m_ownsModel = false;
}

void CGsPreviewCtrl::clearAll() {
  if (m_panning || m_orbiting || m_zoomWindowActive) {
    if (m_hWnd != NULL && ::GetCapture() == m_hWnd) ::ReleaseCapture();
    m_panning = m_orbiting = m_zoomWindowActive = m_rectDrawn = false;
  }
  if (m_view != NULL) {
    m_view->eraseAll();
    if (m_device != NULL) m_device->erase(m_view);
  }
  if (m_classFactory != NULL) {
    if (m_view != NULL) m_classFactory->deleteView(m_view);
    if (m_gadgetModel != NULL) m_classFactory->deleteModel(m_gadgetModel);
  }
  if (m_manager != NULL) {
    if (m_ownsModel && m_model != NULL) m_manager->destroyAutoCADModel(m_model);
    if (m_device != NULL) m_manager->destroyAutoCADDevice(m_device);
  }
  m_view = NULL;
  m_gadgetModel = NULL;
  m_model = NULL;
  m_ownsModel = false;
  m_device = NULL;
  m_classFactory = NULL;
  m_manager = NULL;
}

void CGsPreviewCtrl::RubberRectangle(CPoint startPt, CPoint endPt) {
  if (m_hWnd == NULL) return;
  CClientDC dc(this);
  int oldRop = dc.SetROP2(R2_NOT);
  CPen pen(PS_DOT, 1, RGB(0, 0, 0));
  CPen* pOldPen = dc.SelectObject(&pen);
  POINT corners[5] = {{startPt.x, startPt.y}, {endPt.x, startPt.y}, {endPt.x, endPt.y}, {startPt.x, endPt.y},
                      {startPt.x, startPt.y}};
  dc.Polyline(corners, 5);
  dc.SelectObject(pOldPen);
  dc.SetROP2(oldRop);
}

void CGsPreviewCtrl::OnPaint() {
  // The paint context validates the client area.
  CPaintDC dc(this);
  if (m_view == NULL) return;
  m_view->invalidate();
  m_view->update();
}

void CGsPreviewCtrl::OnSize(UINT nType, int cx, int cy) {
  CStatic::OnSize(nType, cx, cy);
  if (m_device != NULL) m_device->onSize(cx, cy);
}

BOOL CGsPreviewCtrl::OnMouseWheel(UINT /*nFlags*/, short zDelta, CPoint /*pt*/) {
  if (m_view == NULL) return FALSE;
  if (zDelta > 0) m_view->zoom(1.5);
  else if (zDelta < 0) m_view->zoom(0.5);
  Invalidate();
  return TRUE;
}

void CGsPreviewCtrl::OnLButtonDown(UINT /*nFlags*/, CPoint point) {
  if (m_view == NULL) return;
  if (m_zoomWindowArmed) {
    m_zoomWindowActive = true;
    m_rectDrawn = false;
    m_startPoint = point;
    m_lastCorner = point;
    SetCapture();
    return;
  }
  SetFocus();
  m_orbiting = true;
  SetCapture();
  ::SetClassLongPtr(m_hWnd, GCLP_HCURSOR, 0);
  ::SetCursor(m_orbitCursor);
  m_startPoint = point;
  if (m_gadgetModel != NULL) m_view->add(&m_orbitGadget, m_gadgetModel);
  Invalidate();
}

void CGsPreviewCtrl::OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/) {
  if (m_zoomWindowActive) {
    m_zoomWindowArmed = false;
    m_zoomWindowActive = false;
    m_rectDrawn = false;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    ZoomToWindow();
    return;
  }
  if (!m_orbiting) return;
  m_orbiting = false;
  ::SetClassLongPtr(m_hWnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(m_defaultCursor));
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (m_view != NULL) m_view->erase(&m_orbitGadget);
  Invalidate();
}

void CGsPreviewCtrl::OnMButtonDown(UINT /*nFlags*/, CPoint point) {
  if (m_view == NULL) return;
  m_panning = true;
  SetCapture();
  ::SetClassLongPtr(m_hWnd, GCLP_HCURSOR, 0);
  ::SetCursor(m_panCursor);
  m_startPoint = point;
}

void CGsPreviewCtrl::OnMButtonUp(UINT /*nFlags*/, CPoint /*point*/) {
  if (!m_panning) return;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  m_panning = false;
  ::SetClassLongPtr(m_hWnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(m_defaultCursor));
}

void CGsPreviewCtrl::OnMouseMove(UINT /*nFlags*/, CPoint point) {
  if (m_view == NULL) return;
  if (m_zoomWindowActive) {
    if (m_rectDrawn) RubberRectangle(m_startPoint, m_lastCorner);
    RubberRectangle(m_startPoint, point);
    m_rectDrawn = true;
    m_lastCorner = point;
    return;
  }
  if (m_panning) {
    // The pixels moved, with y up as the view's, in view units.
    AcGeVector3d move(m_startPoint.x - point.x, point.y - m_startPoint.y, 0.0);
    move.transformBy(m_view->deviceToViewMatrix());
    m_view->dolly(move);
    Invalidate();
    m_startPoint = point;
    return;
  }
  if (m_orbiting) {
    Orbit(point);
    Invalidate();
    m_startPoint = point;
  }
}

void CGsPreviewCtrl::Orbit(CPoint point) {
  AcGsDCRect rect;
  m_view->getViewport(rect);
  double w = rect.m_max.x - rect.m_min.x + 1.0;
  double h = rect.m_max.y - rect.m_min.y + 1.0;
  double cx = rect.m_min.x + w / 2.0, cy = rect.m_min.y + h / 2.0;
  double radius = 0.4 * std::min(w, h);
  // A point of the window on the unit sphere of the trackball.
  auto toSphere = [&](CPoint p) {
    AcGeVector3d v((p.x - cx) / radius, (cy - p.y) / radius, 0.0);
    if (v.length() > 1.0) v.normalize();
    else v.z = std::sqrt(std::max(0.0, 1.0 - v.x * v.x - v.y * v.y));
    return v;
  };
  AcGeVector3d last = toSphere(m_startPoint);
  AcGeVector3d now = toSphere(point);
  AcGeVector3d axis = last.crossProduct(now);
  double length = axis.length();
  double roll = std::atan2(axis.x, axis.y);
  double tilt = length == 0.0 ? 1.570796326795 : std::acos(axis.z / length) + 1.570796326795;
  if (length > 1.0) length = 1.0;
  // Turn the axis into the view's up direction, orbit about it, turn back.
  m_view->roll(roll);
  m_view->orbit(0.0, tilt);
  m_view->orbit(std::asin(length), 0.0);
  m_view->orbit(0.0, -tilt);
  m_view->roll(-roll);
}

void CGsPreviewCtrl::ZoomToWindow() {
  if (m_view == NULL) return;
  CRect client;
  GetClientRect(&client);
  // The device counts y upwards from the bottom of the window.
  int h = client.Height();
  double x0 = std::min(m_startPoint.x, m_lastCorner.x), x1 = std::max(m_startPoint.x, m_lastCorner.x);
  double y0 = h - std::max(m_startPoint.y, m_lastCorner.y), y1 = h - std::min(m_startPoint.y, m_lastCorner.y);
  // A window of no width or no height says nothing about where to zoom.
  if (x0 == x1 || y0 == y1) return;
  m_view->zoomWindow(AcGePoint2d(x0, y0), AcGePoint2d(x1, y1));
  m_view->invalidate();
  m_view->update();
}

LRESULT CGsPreviewCtrl::OnNcHitTest(CPoint /*point*/) { return HTCLIENT; }

void CGsPreviewCtrl::OnSetFocus(CWnd* pOldWnd) {
  CStatic::OnSetFocus(pOldWnd);
  ::SetClassLongPtr(m_hWnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(m_defaultCursor));
}

LRESULT CGsPreviewCtrl::OnScriptPrint(WPARAM /*wParam*/, LPARAM lParam) {
  win::ScriptPrintLines* pLines = reinterpret_cast<win::ScriptPrintLines*>(lParam);
  if (pLines == NULL) return FALSE;
  CString strLine;
  if (m_view == NULL) {
    strLine = _T("no view");
  } else {
    AcGePoint3d target = m_view->target();
    strLine.Format(_T("target %.4f,%.4f,%.4f field %.4fx%.4f drawables %d"), target.x, target.y, target.z,
                   m_view->fieldWidth(), m_view->fieldHeight(), m_view->numDrawables());
  }
  pLines->push_back(std::make_pair(std::wstring(), std::wstring(strLine.GetString())));
  return TRUE;
}
