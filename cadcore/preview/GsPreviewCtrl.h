// CGsPreviewCtrl: a static control of a dialog made into a window of the
// host's graphics system. It shows the drawables its owner adds to its view
// (a block of a drawing, entities, hatches), zooms with the wheel, pans
// with the middle button, orbits with the left button (a virtual
// trackball) and, when its owner arms it, zooms to a window dragged with
// the left button. OrbitGadget is the drawable that shows the trackball's
// circle while the user orbits.
#pragma once

#include "afxwin.h"

#include "acgi.h"
#include "acgsmanager.h"
#include "PreviewCursors.h"

// The shared CAD library's own resources (its tables hold the preview's
// cursors 39464, 40464 and 41464).
AFX_EXT_API HINSTANCE CadcoreResourceInstance();

class AFX_EXT_CLASS OrbitGadget : public AcGiDrawable {
 public:
  OrbitGadget();
  ~OrbitGadget() override;

  // The gadget's colour: true colour (0, 200, 0); no flags.
  Adesk::UInt32 setAttributes(AcGiDrawableTraits* traits) override;
  // Nothing here: the circle depends on the view (false asks for viewportDraw).
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;
  // The trackball's circle: 0.4 of the viewport's smaller side, about the
  // target, facing the camera.
  void viewportDraw(AcGiViewportDraw* viewportDraw) override;
  Adesk::Boolean isPersistent() const override;
  AcDbObjectId id() const override;
  DrawableType drawableType() const override;
  void setGsNode(AcGsNode* gsnode) override;
  AcGsNode* gsNode() const override;
  bool bounds(AcDbExtents& bounds) const override;
  Adesk::UInt32 viewportDrawLogicalFlags(AcGiViewportDraw* viewportDraw) override;

  AcGsNode* m_gsnode;
};

class AFX_EXT_CLASS CGsPreviewCtrl : public CStatic {
 public:
  CGsPreviewCtrl();
  ~CGsPreviewCtrl() override;

  // Builds the graphics objects for the window (it must exist); the
  // instance is the module whose cursor resources the control uses. A
  // second call loads nothing again and builds nothing more. When the host
  // cannot give a device or a view, nothing is kept and the control stays
  // without a view.
  void init(HMODULE hRes, bool bCreateModel = true);
  AcGsView* view() { return m_view; }
  AcGsDevice* device() { return m_device; }
  AcGsModel* model() { return m_model; }
  // Empties the view and takes the model. A model the control made is
  // destroyed first; one a caller gave stays the caller's.
  void setModel(AcGsModel* pModel);
  // Empties the view and lets go of the model (destroying it only when the
  // control made it).
  void erasePreview();
  // Tears down every graphics object (also run by the destructor); harmless
  // on a control that was never initialised.
  void clearAll();
  // A dotted rectangle between two client points, drawn by inverting the
  // pixels, so that drawing it again removes it.
  void RubberRectangle(CPoint startPt, CPoint endPt);

  HCURSOR m_panCursor;
  HCURSOR m_defaultCursor;
  HCURSOR m_orbitCursor;
  AcGsManager* m_manager;
  AcGsClassFactory* m_classFactory;
  AcGsDevice* m_device;
  AcGsView* m_view;
  AcGsModel* m_model;
  AcGsModel* m_gadgetModel;
  OrbitGadget m_orbitGadget;
  bool m_ownsModel;
  bool m_panning;
  bool m_orbiting;
  CPoint m_startPoint;
  bool m_zoomWindowArmed;
  bool m_zoomWindowActive;
  bool m_rectDrawn;
  CPoint m_lastCorner;

 protected:
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  // The scripted user's @print: the view's target, field and drawables.
  afx_msg LRESULT OnScriptPrint(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  // One step of the virtual trackball from the last point to this one.
  void Orbit(CPoint point);
  void ZoomToWindow();
};
