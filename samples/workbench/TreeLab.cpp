// TREELAB: the tree grid workbench. A modal dialog shows a tree grid
// (control 100) of three floors, each with three rooms, each with two
// measurement points, a number per row in column 2, and the button Close (2).
// Clicking a plus or minus button opens or closes a floor or a room.
//
// It is also the example an add-on developer reads for the tree grid:
// InsertItem with the root and last-child handles builds the outline.
#include "TreeGridCtrl.h"
#include "Workbench.h"
#include "acedframe.h"
#include "resourcetable.h"

namespace {

enum {
  IDD_TREELAB = 3200,
  IDC_TREELAB_GRID = 100,
};

const win::ResourceTable kTreeLabResources{
    {win::DialogResource{IDD_TREELAB,
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                         0, 0, 0, 230, 230, L"Tree workbench", L"Tahoma", 8,
                         {{GRIDCTRL_CLASSNAME, L"", IDC_TREELAB_GRID, 7, 7, 216, 192, WS_TABSTOP | WS_BORDER, 0},
                          {L"Button", L"Close", IDCANCEL, 173, 207, 50, 16, BS_PUSHBUTTON | WS_TABSTOP, 0}}}}};

// Fixed sizes, so that a script can find the buttons: every row 20 pixels,
// the columns 40, 170 and 70.
const int kRowHeight = 20;
const int kColumnWidths[] = {40, 170, 70};

class CTreeLabDlg : public CDialog {
 public:
  explicit CTreeLabDlg(CWnd* pParent) : CDialog(IDD_TREELAB, pParent) {}

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_Grid.SubclassDlgItem(IDC_TREELAB_GRID, this);
    m_Grid.SetFont(GetFont());
    m_Grid.SetColumnCount(3);
    m_Grid.SetFixedRowCount(1);
    m_Grid.SetTreeColumn(1);
    const wchar_t* const headings[] = {L"No.", L"Item", L"Value"};
    for (int col = 0; col < 3; ++col) m_Grid.SetItemText(0, col, headings[col]);

    // Floors, their rooms, the rooms' points; column 2 holds a number made
    // of the place: floor n is n00, room n.m is n m0, point n.m.k is n m k.
    for (int floor = 1; floor <= 3; ++floor) {
      CTreeNode* pFloor = Add(GTVI_ROOT, L"Floor %d", floor, 0, 0);
      for (int room = 1; room <= 3; ++room) {
        CTreeNode* pRoom = Add(pFloor, L"Room %d.%d", floor, room, 0);
        for (int point = 1; point <= 2; ++point) Add(pRoom, L"Point %d.%d.%d", floor, room, point);
      }
    }
    for (int row = 0; row < m_Grid.GetRowCount(); ++row) m_Grid.SetRowHeight(row, kRowHeight);
    for (int col = 0; col < 3; ++col) m_Grid.SetColumnWidth(col, kColumnWidths[col]);
    m_Grid.ResetScrollBars();
    return TRUE;
  }

  void OnOK() override {}

 private:
  CTreeNode* Add(CTreeNode* pParent, LPCTSTR szFormat, int nFloor, int nRoom, int nPoint) {
    CString strText;
    strText.Format(szFormat, nFloor, nRoom, nPoint);
    CTreeNode* pNode = m_Grid.InsertItem(strText, pParent, GTVI_LAST, FALSE);
    int nRow = m_Grid.GetNodeRow(pNode);
    CString strNumber;
    strNumber.Format(L"%d", nRow);
    m_Grid.SetItemText(nRow, 0, strNumber);
    strNumber.Format(L"%d", nFloor * 100 + nRoom * 10 + nPoint);
    m_Grid.SetItemText(nRow, 2, strNumber);
    return pNode;
  }

  CTreeGridCtrl m_Grid;
};

void TreeLab() {
  CTreeLabDlg dlg(acedGetAcadFrame());
  dlg.DoModal();
}

WorkbenchCommand g_cmdTreeLab(L"TREELAB", L"TREELAB", &TreeLab);

}  // namespace
