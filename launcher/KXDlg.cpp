// The launcher dialog: construction and skin, the release scan, the
// minimised painting and the OK handler that starts the host.
#include "KXDlg.h"

#include "RegeditEx.h"
#include "TextDialog.h"
#include "acadprefs.h"
#include "wininput.h"

_COM_SMARTPTR_TYPEDEF(IAcadPreferences, __uuidof(IAcadPreferences));
_COM_SMARTPTR_TYPEDEF(IAcadPreferencesFiles, __uuidof(IAcadPreferencesFiles));

namespace {

// The supported releases, in the order they are looked for.
struct CadRelease {
  LPCTSTR lpszKey;
  LPCTSTR lpszLabel;
  LPCTSTR lpszProgID;
};
const CadRelease s_releases[] = {
    {_T("R17.0"), _T("CAD2007"), _T("AutoCAD.Application.17")},
    {_T("R17.1"), _T("CAD2008"), _T("AutoCAD.Application.17.1")},
    {_T("R17.2"), _T("CAD2009"), _T("AutoCAD.Application.17.2")},
};

const TCHAR s_szNoCad[] =
    _T("软件需要AutoCAD的支持才能使用，请确\n认当前系统是否安装AutoCAD2007、\nAutoCAD2008、AutoCAD2009中的任一\n版本！");

// Dispatch identifiers of the host's application object.
const DISPID DISPID_ACAD_VISIBLE = 1;
const DISPID DISPID_ACAD_WINDOWLEFT = 8;
const DISPID DISPID_ACAD_WINDOWTOP = 11;
const DISPID DISPID_ACAD_WIDTH = 13;
const DISPID DISPID_ACAD_PREFERENCES = 14;
const DISPID DISPID_ACAD_LOADARX = 19;
const DISPID DISPID_ACAD_METHOD24 = 24;
const DISPID DISPID_ACAD_METHOD25 = 25;
const DISPID DISPID_ACAD_WINDOWSTATE = 34;

}  // namespace

BEGIN_MESSAGE_MAP(CKXDlg, CDialog)
  ON_WM_PAINT()
  ON_WM_QUERYDRAGICON()
  ON_BN_CLICKED(IDOK, &CKXDlg::OnBnClickedOk)
END_MESSAGE_MAP()

CKXDlg::CKXDlg(CWnd* pParent) : CDialog(CKXDlg::IDD, pParent) {
  m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);

  TCHAR szModule[MAX_PATH + 1] = {0};
  ::GetModuleFileName(NULL, szModule, MAX_PATH);
  m_strModulePath = szModule;
  m_strPath = FolderOfModule(m_strModulePath);

  XTPSkinManager()->SetApplyOptions(XTPSkinManager()->GetApplyOptions() | xtpSkinApplyFrame);
  XTPSkinManager()->LoadSkin(m_strPath + _T("\\Marlo Vi.Dll"));
  XTPResourceImages()->SetHandle(m_strPath + _T("\\Marlo Vi7.Dll"));
}

CString CKXDlg::FolderOfModule(const CString& strModule) {
  int nPos = strModule.ReverseFind(_T('\\'));
  if (nPos <= 0) return CString();
  return strModule.Left(nPos);
}

void CKXDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_CMB_VERSION, m_cmbVersion);
  DDX_Control(pDX, IDOK, m_btnOK);
  DDX_Control(pDX, IDCANCEL, m_btnExit);
}

BOOL CKXDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  m_cmbVersion.SetTheme(xtpControlThemeResource);
  m_btnOK.SetTheme(xtpControlThemeResource);
  m_btnExit.SetTheme(xtpControlThemeResource);

  for (const CadRelease& release : s_releases) {
    if (CRegeditEx::GetRegeditValue(HKEY_CURRENT_USER, CString(_T("Software\\Autodesk\\AutoCAD\\")) + release.lpszKey,
                                    _T("CurVer"), NULL))
      m_cmbVersion.AddString(release.lpszLabel);
  }
  if (m_cmbVersion.GetCount() > 0) {
    m_cmbVersion.SetCurSel(0);
  } else {
    m_btnOK.SetTooltip(s_szNoCad);
    m_btnExit.SetTooltip(s_szNoCad);
    CTextDialog dlg(NULL, s_szNoCad, TD_INFORMATION_ICON, FALSE);
    dlg.DoModal();
  }
  return TRUE;
}

void CKXDlg::OnPaint() {
  if (IsIconic()) {
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    int cxIcon = GetSystemMetrics(SM_CXICON);
    int cyIcon = GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    int x = (rect.Width() - cxIcon + 1) / 2;
    int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
  } else {
    CDialog::OnPaint();
  }
}

HCURSOR CKXDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CKXDlg::ShowMessage(LPCTSTR lpszText) {
  CTextDialog dlg(this, lpszText, TD_INFORMATION_ICON, FALSE);
  dlg.DoModal();
}

void CKXDlg::OnBnClickedOk() {
  if (m_cmbVersion.GetCount() == 0) {
    ShowMessage(s_szNoCad);
    return;
  }
  CString strVersion;
  m_cmbVersion.GetWindowText(strVersion);
  if (strVersion.IsEmpty()) {
    ShowMessage(_T("请选择CAD版本！"));
    m_cmbVersion.SetFocus();
    return;
  }
  CString strProgID;
  for (const CadRelease& release : s_releases) {
    if (strVersion == release.lpszLabel) {
      strProgID = release.lpszProgID;
      break;
    }
  }

  CString strCaption;
  GetWindowText(strCaption);
  SetWindowText(strCaption + _T("-正在查询……"));
  UpdateData(TRUE);

  ::CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
  COleDispatchDriver acadApp;
  CLSID clsid;
  if (FAILED(::CLSIDFromProgID(strProgID, &clsid))) {
    SetWindowText(strCaption);
    UpdateData(TRUE);
    ShowMessage(_T("没有安装CAD！"));
    return;  // the driver, still empty, and the texts go with the handler
  }

  SetWindowText(strCaption + _T("-正在启动……"));
  UpdateData(TRUE);
  if (!acadApp.CreateDispatch(clsid)) {
    SetWindowText(strCaption);
    UpdateData(TRUE);
    ShowMessage(_T("没有安装CAD！"));
    return;
  }

  SetWindowText(strCaption + _T("-正在加载……"));
  UpdateData(TRUE);
  if (!LoadModules(acadApp)) {
    // The host may have gone already; the message comes all the same.
    TRY {
      acadApp.InvokeHelper(DISPID_ACAD_METHOD25, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
    }
    CATCH_ALL(e) {
    }
    END_CATCH_ALL
    SetWindowText(strCaption);
    UpdateData(TRUE);
    ShowMessage(_T("加载ARX失败！"));
    // Released and never made visible, the host ends.
    acadApp.ReleaseDispatch();
    return;
  }

  CDialog::OnOK();
  ActivateHost(acadApp);
  acadApp.ReleaseDispatch();
}

BOOL CKXDlg::LoadModules(COleDispatchDriver& acadApp) {
  BOOL bLoaded = FALSE;
  TRY {
    acadApp.InvokeHelper(DISPID_ACAD_METHOD24, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);

    LPDISPATCH pPrefDisp = NULL;
    acadApp.GetProperty(DISPID_ACAD_PREFERENCES, VT_DISPATCH, &pPrefDisp);
    COleDispatchDriver prefs(pPrefDisp);
    if (pPrefDisp == NULL) AfxThrowOleException(E_POINTER);

    // The early-bound interfaces: a query or a call that fails ends the
    // load as a failed one, never as a call through a null pointer.
    IAcadPreferences* pRawPreferences = NULL;
    HRESULT hr = pPrefDisp->QueryInterface(__uuidof(IAcadPreferences), reinterpret_cast<void**>(&pRawPreferences));
    IAcadPreferencesPtr pPreferences(pRawPreferences, false);
    if (FAILED(hr) || pPreferences == NULL) AfxThrowOleException(FAILED(hr) ? hr : E_NOINTERFACE);
    IAcadPreferencesFiles* pRawFiles = NULL;
    hr = pPreferences->get_Files(&pRawFiles);
    IAcadPreferencesFilesPtr pFiles(pRawFiles, false);
    if (FAILED(hr) || pFiles == NULL) AfxThrowOleException(FAILED(hr) ? hr : E_POINTER);
    BSTR bstrPath = NULL;
    hr = pFiles->get_SupportPath(&bstrPath);
    if (FAILED(hr)) AfxThrowOleException(hr);
    CString strSupportPath(bstrPath);
    ::SysFreeString(bstrPath);

    strSupportPath += _T(";") + m_strPath;
    BSTR bstrNewPath = strSupportPath.AllocSysString();
    hr = pFiles->put_SupportPath(bstrNewPath);
    ::SysFreeString(bstrNewPath);
    if (FAILED(hr)) AfxThrowOleException(hr);

    static BYTE parms[] = VTS_BSTR;
    acadApp.InvokeHelper(DISPID_ACAD_LOADARX, DISPATCH_METHOD, VT_EMPTY, NULL, parms,
                         static_cast<LPCTSTR>(m_strPath + _T("\\Cadcore.dbx")));
    acadApp.InvokeHelper(DISPID_ACAD_LOADARX, DISPATCH_METHOD, VT_EMPTY, NULL, parms,
                         static_cast<LPCTSTR>(m_strPath + _T("\\Levelmap.arx")));
    bLoaded = TRUE;
  }
  CATCH(CMemoryException, e) {
    // Out of memory is a failed load like any other, not a success.
  }
  AND_CATCH(CFileException, e) {
    // So is a file error of the host.
  }
  AND_CATCH(CException, e) {
  }
  END_CATCH
  return bLoaded;
}

void CKXDlg::ActivateHost(COleDispatchDriver& acadApp) {
  acadApp.SetProperty(DISPID_ACAD_VISIBLE, VT_BOOL, TRUE);

  POINT ptOld;
  ::GetCursorPos(&ptOld);
  LONG lLeft = 0, lWidth = 0, lTop = 0;
  acadApp.GetProperty(DISPID_ACAD_WINDOWLEFT, VT_I4, &lLeft);
  acadApp.GetProperty(DISPID_ACAD_WIDTH, VT_I4, &lWidth);
  acadApp.GetProperty(DISPID_ACAD_WINDOWTOP, VT_I4, &lTop);
  int x = lLeft + lWidth - 50;
  int y = lTop + 12;
  RECT rcClip = {x, y, x + 1, y + 1};
  ::ClipCursor(&rcClip);
  ::SetCursorPos(x, y);
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  ::ClipCursor(NULL);
  ::Sleep(50);

  acadApp.SetProperty(DISPID_ACAD_WINDOWSTATE, VT_I4, 1);
  ::SetCursorPos(ptOld.x, ptOld.y);
}
