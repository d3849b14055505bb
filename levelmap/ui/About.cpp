// The About dialog: title and version, the contact group and the mail link.
#include "About.h"

#include "GlobalVars.h"

IMPLEMENT_DYNAMIC(CAbout, CAcUiDialog)

BEGIN_MESSAGE_MAP(CAbout, CAcUiDialog)
  ON_MESSAGE(WM_ACAD_KEEPFOCUS, &CAbout::OnAcadKeepFocus)
END_MESSAGE_MAP()

CAbout::CAbout(CWnd* pParent, HINSTANCE hInstance)
    : CAcUiDialog(CAbout::IDD, pParent, hInstance ? hInstance : LevelmapResourceInstance()), m_hIcon(NULL) {
  NONCLIENTMETRICS ncm;
  memset(&ncm, 0, sizeof(ncm));
  ncm.cbSize = sizeof(NONCLIENTMETRICS);
  ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(NONCLIENTMETRICS), &ncm, 0);
  LOGFONT lf = ncm.lfMenuFont;
  lf.lfWeight = FW_BOLD;
  m_fontBold.CreateFontIndirect(&lf);
}

CAbout::~CAbout() {
  if (m_hIcon != NULL) ::DestroyIcon(m_hIcon);
}

void CAbout::DoDataExchange(CDataExchange* pDX) {
  CAcUiDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_STC_MAIL, m_stcMail);
  DDX_Control(pDX, IDC_STC_VERSION, m_stcVersion);
  DDX_Control(pDX, IDC_GRP_CONTACT, m_grpContact);
  DDX_Control(pDX, IDOK, m_btnOK);
}

BOOL CAbout::OnInitDialog() {
  CAcUiDialog::OnInitDialog();

  if (m_hIcon == NULL) m_hIcon = ::LoadIcon(m_hResource, MAKEINTRESOURCE(IDI_MARLO));
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  CGlobalVars::SetWindownsText(this);

  m_btnOK.SetTheme(7);
  m_grpContact.SetTheme(7);

  m_stcMail.SetURL(CString(_T("mailto:")) + MARLO_CONTACT_MAIL);
  m_stcMail.SetTipText(_T("邮箱地址\n（点击会调用系统默认邮件软件写信）"));

  m_stcVersion.SetWindowText(CString(MARLO_PRODUCT_TITLE) + MARLO_PRODUCT_VERSION);
  m_stcVersion.SetFont(&m_fontBold);
  return TRUE;
}

LRESULT CAbout::OnAcadKeepFocus(WPARAM, LPARAM) { return TRUE; }
