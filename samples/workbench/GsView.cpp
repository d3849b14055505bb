// GSVIEW: a modal dialog with one graphics preview (control 101) that shows
// the model space of the current drawing framed on the drawing's extents,
// and a button "Close" (2). Wheel, middle and left button zoom, pan and
// orbit as in any preview; a person or a script looks at any drawing
// through the graphics system with it.
#include "Workbench.h"

#include "GsPreviewCtrl.h"
#include "acui.h"
#include "dbdatabase.h"
#include "dbhostapp.h"
#include "dbsymtb.h"
#include "resourcetable.h"

#define IDD_GSVIEW 201
#define IDC_GSVIEW_PREVIEW 101

static const win::ResourceTable s_gsViewResources{
    {win::DialogResource{IDD_GSVIEW,
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                         0, 0, 0, 357, 242, L"GSVIEW", L"Tahoma", 8,
                         {{L"Static", L"", IDC_GSVIEW_PREVIEW, 7, 7, 343, 214, SS_LEFT, 0},
                          {L"Button", L"Close", IDCANCEL, 300, 225, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, 0}}}}};

class CGsViewDlg : public CAcUiDialog {
 public:
  explicit CGsViewDlg(AcDbDatabase* pDb)
      : CAcUiDialog(IDD_GSVIEW, NULL, s_gsViewResources.Instance()), m_pDb(pDb) {}

  CGsPreviewCtrl m_preview;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    CAcUiDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GSVIEW_PREVIEW, m_preview);
  }

  BOOL OnInitDialog() override {
    CAcUiDialog::OnInitDialog();
    m_preview.init(CadcoreResourceInstance(), true);
    AcGsView* pView = m_preview.view();
    if (pView == NULL || m_pDb == NULL) return TRUE;

    AcDbBlockTable* pTable = NULL;
    AcDbBlockTableRecord* pModelSpace = NULL;
    if (m_pDb->getBlockTable(pTable, AcDb::kForRead) == Acad::eOk) {
      pTable->getAt(ACDB_MODEL_SPACE, pModelSpace, AcDb::kForRead);
      pTable->close();
    }
    if (pModelSpace != NULL) {
      pView->add(pModelSpace, m_preview.model());
      pModelSpace->close();
    }

    // Framed on the drawing's extents with a small margin; an empty drawing
    // shows 100 units about the origin.
    m_pDb->updateExt(true);
    AcGePoint3d lo = m_pDb->extmin(), hi = m_pDb->extmax();
    AcGePoint3d center(0, 0, 0);
    double w = 100.0, h = 100.0;
    if (lo.x <= hi.x && lo.y <= hi.y) {
      center.set((lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2);
      w = (hi.x - lo.x) * 1.02;
      h = (hi.y - lo.y) * 1.02;
      if (w <= 0.0) w = h > 0.0 ? h : 1.0;
      if (h <= 0.0) h = w;
    }
    pView->setView(center + AcGeVector3d(0, 0, 1), center, AcGeVector3d::kYAxis, w, h, AcGsView::kParallel);
    pView->invalidate();
    pView->update();
    return TRUE;
  }

  void OnCancel() override {
    m_preview.clearAll();
    CAcUiDialog::OnCancel();
  }

 private:
  AcDbDatabase* m_pDb;
};

static void GsViewCommand() {
  CGsViewDlg dlg(acdbHostApplicationServices()->workingDatabase());
  dlg.DoModal();
}

static WorkbenchCommand s_gsViewCommand(L"GSVIEW", L"GSVIEW", GsViewCommand);
