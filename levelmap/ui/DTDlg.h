// The drive-test dialog: the band table of the chosen network type, the two
// point counts, three preview panes and the buttons that start a drive-test
// run, open the About dialog and close the dialog. The operations of a run,
// of the statistics table and of the previews are members of the dialog;
// their code lives with the run (levelmap/run).
#pragma once

#include "GridCtrl.h"
#include "LevelBands.h"
#include "XTToolkitPro.h"
#include "acui.h"
#include "afxcmn.h"
#include "dbdatabase.h"
#include "dbextents.h"
#include "dbid.h"
#include "resource.h"

// The largest number of drive-test points: the field takes at most seven
// digits and a larger number is corrected to this one.
#define DT_MAX_POINT_COUNT 1000000
// What a field that holds no positive number is reset to.
#define DT_DEFAULT_POINT_COUNT 2000
#define DT_INITIAL_DRAW_COUNT 200

class CDTDlg : public CAcUiDialog {
  DECLARE_DYNAMIC(CDTDlg)

 public:
  explicit CDTDlg(CWnd* pParent = NULL, HINSTANCE hInstance = NULL);
  ~CDTDlg() override;

  enum { IDD = IDD_DTDLG };

  CGridCtrl m_grid;
  BOOL m_bNameChanged;
  AcDbDatabase* m_pRefDb;
  CBitmap m_bmpButtons;
  CImageList m_imgButtons;
  CLevelBandMap m_levelMap;
  CStringArray m_typeNames;
  int m_nPointCount;
  int m_nDrawCount;
  AcDbExtents m_extRange;
  CXTPComboBox m_cboType;
  CXTPButton m_btnDraw;
  CXTPButton m_btnWord;
  CXTPButton m_btnExit;
  CXTPEdit m_editPointCount;
  CXTPEdit m_editDrawCount;
  CXTPButton m_grpMap;
  CXTPButton m_grpOptions;
  CXTPButton m_grpData;
  CXTPButton m_btnAbout;

  // The band table (bands of the network type selected in the type list,
  // counts for m_nPointCount points) and the write-back of band names.
  BOOL LoadBandTable();
  void SaveBandNames();
  // Every band's quota back to its planned count.
  void ResetBandQuotas();

  // The statistics table.
  void InitGrid();
  void FillStatisticsGrid();

  // The previews: reset and framed (1).
  int ResetPreviews();

  // Empties the band collections, erases the previews, closes and deletes
  // the reference drawing and its file "lc.dwg".
  void CleanUp();

  // The full path of the reference drawing: the module folder + "lc.dwg".
  static CString RefDrawingPath();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  afx_msg LRESULT OnKeepFocus(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDrawDriveTest();
  afx_msg void OnGridBeginEdit(NMHDR* pNotifyStruct, LRESULT* pResult);
  afx_msg void OnGridEndEdit(NMHDR* pNotifyStruct, LRESULT* pResult);
  afx_msg void OnTypeChanged();
  afx_msg void OnExit();
  afx_msg void OnPointCountChanged();
  afx_msg void OnDrawCountChanged();
  afx_msg void OnClose();
  afx_msg void OnAbout();
  afx_msg void OnExportWord();
  DECLARE_MESSAGE_MAP()

 private:
  // The non-window part of the clean-up: band map, type names, reference
  // drawing and its file. Runs once from CleanUp, or from the destructor
  // when the dialog never cleaned up (a failed DoModal).
  void ReleaseDialogData();
  void SetUpButton(CXTPButton& button, int nImage, int nHotImage);

  HICON m_hIcon;        // icon 111, the dialog's icon
  BOOL m_bCleanedUp;    // ReleaseDialogData has run
};
