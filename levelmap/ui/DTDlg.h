// The drive-test dialog: the band table of the chosen network type, the two
// point counts, three preview panes and the buttons that start a drive-test
// run, open the About dialog and close the dialog. The operations of a run,
// of the statistics table and of the previews are members of the dialog;
// their code lives with the run (levelmap/run).
#pragma once

#include "TreeGridCtrl.h"
#include "GsPreviewCtrl.h"
#include "LevelBands.h"
#include "XTToolkitPro.h"
#include "acui.h"
#include "afxcmn.h"
#include "dbdatabase.h"
#include "dbextents.h"
#include "gegeometry.h"
#include "dbid.h"
#include "resource.h"

// The largest number of drive-test points: the field takes at most seven
// digits and a larger number is corrected to this one.
#define DT_MAX_POINT_COUNT 1000000
// What a field that holds no positive number is reset to.
#define DT_DEFAULT_POINT_COUNT 2000
#define DT_INITIAL_DRAW_COUNT 200

class AcDbHatch;

// How a preview frames the drive-test range: its centre, and its width and
// height with a margin of half a per cent. Before a range is picked (empty
// extents) the frame is 100 x 100 (with the margin) around (100, 100).
void GetPreviewFrame(const AcDbExtents& extRange, AcGePoint3d& ptCenter, double& dWidth, double& dHeight);

class CDTDlg : public CAcUiDialog {
  DECLARE_DYNAMIC(CDTDlg)

 public:
  explicit CDTDlg(CWnd* pParent = NULL, HINSTANCE hInstance = NULL);
  ~CDTDlg() override;

  enum { IDD = IDD_DTDLG };

  CTreeGridCtrl m_grid;
  BOOL m_bNameChanged;
  AcDbDatabase* m_pRefDb;
  CBitmap m_bmpButtons;
  CImageList m_imgButtons;
  CLevelBandMap m_levelMap;
  CStringArray m_typeNames;
  int m_nPointCount;
  int m_nDrawCount;
  CGsPreviewCtrl m_preview1;
  CGsPreviewCtrl m_preview2;
  CGsPreviewCtrl m_preview3;
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
  // The row of the type header a table row belongs to; -1 for the headers
  // and separators themselves.
  int GetParentRow(int nRow) const;

  // The previews: reset and framed (1).
  int ResetPreviews();
  void FitPreviewsToRange();
  // The block of the database, by name, into the preview's view, which
  // renders shaded with wireframe; the status of opening the block.
  Acad::ErrorStatus ShowBlockInPreview(CGsPreviewCtrl& preview, AcDbDatabase* pDb, LPCTSTR lpszBlockName);
  // The host's layout background and the 256-colour palette on the
  // preview's device.
  void ApplyPreviewColors(CGsPreviewCtrl& preview);
  // The map: every entity of the list that opens, into all three previews.
  void DrawMapEntities(const AcDbObjectIdArray& rangeIds);
  // One drawn point: a circle appended to the drawing as the boundary of a
  // solid hatch shown in the preview, then erased. FALSE when the drawing
  // did not take the circle (which is then deleted).
  BOOL DrawTestPoint(CGsPreviewCtrl& preview, const AcGePoint3d& ptCenter, double dRadius, int nColor);
  // A hatch of the boundary objects, shown in the preview and owned by the
  // dialog; with bAssociative the boundaries are erased afterwards. The id
  // is null: the hatch is in no drawing.
  AcDbObjectId AddHatchToPreview(CGsPreviewCtrl& preview, AcDbObjectIdArray boundaryIds, int nColor,
                                 LPCTSTR lpszPattern, bool bAssociative);
  // The previews by number (0 to 2) and the number of a preview (-1 for none of them).
  CGsPreviewCtrl* PreviewAt(int nPreview);
  int PreviewIndex(const CGsPreviewCtrl& preview) const;
  // How many point hatches preview nPreview shows.
  int GetPreviewDrawableCount(int nPreview) const;

  // Empties the band collections, erases the previews, closes and deletes
  // the reference drawing and its file "lc.dwg".
  void CleanUp();

  // The full path of the reference drawing: the module folder + "lc.dwg".
  static CString RefDrawingPath();

 protected:
  // The drawing loop of a run: every route point of every type, coloured by
  // the band it drew, into the type's preview. Stops at the first point the
  // drawing does not take.
  void DrawRoutePoints();

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
  // The run's progress captions around erasing and updating the previews.
  void ErasePreviewViews();
  void UpdatePreviewViews();
  void AddToPreview(CGsPreviewCtrl& preview, AcDbHatch* pHatch);
  // Deletes the hatches of all three previews.
  void ReleasePreviewHatches();
  int InsertTableRow(int nParentRow);
  void SetBandRowCounts(int nRow, int nCount, long long nCumulative);
  void SetUpButton(CXTPButton& button, int nImage, int nHotImage);

  HICON m_hIcon;        // icon 111, the dialog's icon
  BOOL m_bCleanedUp;    // ReleaseDialogData has run
  // The point hatches each preview shows.
  CArray<AcDbHatch*, AcDbHatch*> m_arPreviewHatches[3];
};
