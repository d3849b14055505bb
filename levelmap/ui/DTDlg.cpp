// The drive-test dialog as a window: construction with the style library and
// the reference drawing, initialisation of buttons, fields, previews, network
// types and the table, and the message map.
#include "DTDlg.h"

#include "GlobalVars.h"
#include "fileapi.h"
#include "filefind.h"

IMPLEMENT_DYNAMIC(CDTDlg, CAcUiDialog)

BEGIN_MESSAGE_MAP(CDTDlg, CAcUiDialog)
  ON_MESSAGE(WM_ACAD_KEEPFOCUS, &CDTDlg::OnKeepFocus)
  ON_BN_CLICKED(IDOK, &CDTDlg::OnDrawDriveTest)
  ON_NOTIFY(GVN_BEGINLABELEDIT, IDC_GRID, &CDTDlg::OnGridBeginEdit)
  ON_NOTIFY(GVN_ENDLABELEDIT, IDC_GRID, &CDTDlg::OnGridEndEdit)
  ON_CBN_SELCHANGE(IDC_CBO_TYPE, &CDTDlg::OnTypeChanged)
  ON_BN_CLICKED(IDCANCEL, &CDTDlg::OnExit)
  ON_EN_KILLFOCUS(IDC_EDT_POINTCOUNT, &CDTDlg::OnPointCountChanged)
  ON_EN_KILLFOCUS(IDC_EDT_DRAWCOUNT, &CDTDlg::OnDrawCountChanged)
  ON_WM_CLOSE()
  ON_BN_CLICKED(IDC_BTN_ABOUT, &CDTDlg::OnAbout)
  ON_BN_CLICKED(IDC_BTN_WORD, &CDTDlg::OnExportWord)
END_MESSAGE_MAP()

namespace {

// The grid's font, made at every initialisation of the dialog and kept by
// the module.
CFont g_gridFont;

}  // namespace

CDTDlg::CDTDlg(CWnd* pParent, HINSTANCE hInstance)
    : CAcUiDialog(CDTDlg::IDD, pParent, hInstance ? hInstance : LevelmapResourceInstance()),
      m_bNameChanged(FALSE),
      m_pRefDb(NULL),
      m_nPointCount(0),
      m_nDrawCount(0),
      m_hIcon(NULL),
      m_bCleanedUp(FALSE) {
  m_levelMap.InitHashTable(17);

  // The style library that theme 7 draws with.
  CString strStyle = CString(CGlobalVars::g_CurPath) + _T("Marlo Vi7.Dll");
  XTPResourceImages()->SetHandle(strStyle, NULL);

  // The reference drawing: a new default drawing saved as "lc.dwg" in the
  // module folder (an older file is deleted first; when it cannot be, the
  // save is skipped) and read back, so that the previews show its model space.
  CString strPath = RefDrawingPath();
  m_pRefDb = new AcDbDatabase(true, false);
  CFileFind finder;
  if (finder.FindFile(strPath)) {
    finder.Close();
    if (::DeleteFileW(strPath)) m_pRefDb->saveAs(strPath);
  } else {
    m_pRefDb->saveAs(strPath);
  }
  m_pRefDb->readDwgFile(strPath, 0x20);

  m_hIcon = ::LoadIcon(m_hResource, MAKEINTRESOURCE(IDI_MARLO));
}

CDTDlg::~CDTDlg() {
  if (!m_bCleanedUp) ReleaseDialogData();
  if (m_hIcon != NULL) ::DestroyIcon(m_hIcon);
}

CString CDTDlg::RefDrawingPath() { return CString(CGlobalVars::g_CurPath) + _T("lc.dwg"); }

void CDTDlg::DoDataExchange(CDataExchange* pDX) {
  CAcUiDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_GRID, m_grid);
  DDX_Control(pDX, IDC_CBO_TYPE, m_cboType);
  DDX_Control(pDX, IDOK, m_btnDraw);
  DDX_Control(pDX, IDC_BTN_WORD, m_btnWord);
  DDX_Control(pDX, IDCANCEL, m_btnExit);
  DDX_Control(pDX, IDC_EDT_POINTCOUNT, m_editPointCount);
  DDX_Control(pDX, IDC_EDT_DRAWCOUNT, m_editDrawCount);
  DDX_Control(pDX, IDC_GRP_MAP, m_grpMap);
  DDX_Control(pDX, IDC_GRP_OPTIONS, m_grpOptions);
  DDX_Control(pDX, IDC_GRP_DATA, m_grpData);
  DDX_Control(pDX, IDC_BTN_ABOUT, m_btnAbout);
}

// Text off, the normal image and the one shown under the pointer from the
// image list (the button keeps copies; ours are destroyed), image and text
// overlaid.
void CDTDlg::SetUpButton(CXTPButton& button, int nImage, int nHotImage) {
  button.SetWindowText(_T(""));
  HICON hIcon = m_imgButtons.ExtractIcon(nImage);
  HICON hHotIcon = nHotImage >= 0 ? m_imgButtons.ExtractIcon(nHotImage) : NULL;
  button.SetIcon(CSize(32, 32), hIcon, hHotIcon);
  if (hIcon != NULL) ::DestroyIcon(hIcon);
  if (hHotIcon != NULL) ::DestroyIcon(hHotIcon);
  button.SetTextImageRelation(xtpButtonOverlay);
}

BOOL CDTDlg::OnInitDialog() {
  CAcUiDialog::OnInitDialog();

  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
  CGlobalVars::SetWindownsText(this);

  // The button images: a strip of 32 x 32 images on the mask green.
  m_bmpButtons.DeleteObject();
  m_bmpButtons.Attach(::LoadBitmap(m_hResource, MAKEINTRESOURCE(IDB_BUTTONS)));
  m_imgButtons.DeleteImageList();
  m_imgButtons.Create(32, 32, ILC_COLOR24 | ILC_MASK, 4, 1);
  m_imgButtons.Add(&m_bmpButtons, RGB(0, 255, 0));

  SetUpButton(m_btnExit, 0, 1);
  SetUpButton(m_btnWord, 2, 3);
  SetUpButton(m_btnDraw, 4, 5);
  SetUpButton(m_btnAbout, 6, -1);
  m_btnAbout.SetFlatStyle(TRUE);

  m_btnDraw.SetShowFocus(FALSE);
  m_btnWord.SetShowFocus(FALSE);
  m_btnExit.SetShowFocus(FALSE);
  m_btnAbout.SetShowFocus(FALSE);

  m_btnDraw.SetTheme(xtpControlThemeResource);
  m_btnWord.SetTheme(xtpControlThemeResource);
  m_btnExit.SetTheme(xtpControlThemeResource);
  m_btnAbout.SetTheme(xtpControlThemeResource);
  m_cboType.SetTheme(xtpControlThemeResource);
  m_grpMap.SetTheme(xtpControlThemeResource);
  m_grpOptions.SetTheme(xtpControlThemeResource);
  m_grpData.SetTheme(xtpControlThemeResource);
  m_editPointCount.SetTheme(xtpControlThemeResource);
  m_editDrawCount.SetTheme(xtpControlThemeResource);

  m_btnAbout.SetTooltip(_T("关于"));
  m_btnWord.SetTooltip(_T("表格数据和路测图\n原样输出到Word文档中"));
  m_btnDraw.SetTooltip(_T("选择路测轨迹且按照表格数据\n及相关设置绘制路测图"));
  m_btnExit.SetTooltip(_T("关闭对话框退出"));

  // At most seven digits: no count above DT_MAX_POINT_COUNT can be typed
  // whole, and a larger one is corrected when the field is left.
  m_editPointCount.LimitText(7);
  m_editPointCount.SetWindowText(_T("2000"));
  m_editDrawCount.SetWindowText(_T("200"));
  m_nPointCount = DT_DEFAULT_POINT_COUNT;
  m_nDrawCount = DT_INITIAL_DRAW_COUNT;

  // The three previews; without them the dialog shows no types and no table.
  if (!m_preview1.SubclassDlgItem(IDC_PREVIEW1, this) || !m_preview2.SubclassDlgItem(IDC_PREVIEW2, this) ||
      !m_preview3.SubclassDlgItem(IDC_PREVIEW3, this) || ResetPreviews() == 0)
    return FALSE;

  m_cboType.AddString(_T("GSM"));
  m_cboType.AddString(_T("WCDMA"));
  m_cboType.SetCurSel(0);

  InitGrid();
  FillStatisticsGrid();
  return TRUE;
}

void CDTDlg::InitGrid() {
  m_grid.EnableDragAndDrop(FALSE);
  m_grid.SetEditable(TRUE);
  m_grid.EnableSelection(FALSE);
  m_grid.SetHeaderSort(FALSE);
  m_grid.SetColumnCount(7);
  m_grid.SetGridLines(GVL_NONE);
  m_grid.EnableTitleTips(FALSE);

  g_gridFont.DeleteObject();
  g_gridFont.CreateFont(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, _T("宋体"));
  m_grid.SendMessage(WM_SETFONT, (WPARAM)g_gridFont.GetSafeHandle(), TRUE);
}

LRESULT CDTDlg::OnKeepFocus(WPARAM, LPARAM) { return TRUE; }
