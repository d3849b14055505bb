// The launcher dialog against a stand-in host in this process: the release
// scan, the OK handler's calls and captions, its failures, the click on the
// host's caption bar, and the minimised painting.
#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "KX.h"
#include "KXDlg.h"
#include "dlgscript.h"
#include "fakeacad.h"
#include "module.h"
#include "paths.h"
#include "regtext.h"
#include "tempprefix.h"
#include "textconv.h"
#include "wininput.h"
#include "wintest.h"

namespace {

const CLSID kClass170 = {0xA1000000, 0, 0, {0, 0, 0, 0, 0, 0, 1, 70}};
const CLSID kClass171 = {0xA1000000, 0, 0, {0, 0, 0, 0, 0, 0, 1, 71}};
const CLSID kClass172 = {0xA1000000, 0, 0, {0, 0, 0, 0, 0, 0, 1, 72}};

const char kCaption[] = "Marlo[路测仿真系统]";
const char kNoCad[] =
    "软件需要AutoCAD的支持才能使用，请确\n认当前系统是否安装AutoCAD2007、\nAutoCAD2008、AutoCAD2009中的任一\n版本！";

// The dialog with its members in reach.
class TestDlg : public CKXDlg {
 public:
  using CKXDlg::m_btnExit;
  using CKXDlg::m_btnOK;
  using CKXDlg::m_cmbVersion;
};

std::wstring ReleaseKey(const wchar_t* release) { return std::wstring(L"Software\\Autodesk\\AutoCAD\\") + release; }

class LauncherTest : public TempPrefixTest {
 protected:
  void SetUp() override {
    TempPrefixTest::SetUp();
    fakeacad::Reset();
    win::ClearSyntheticInputLog();
    wintest::Script({});
  }
  void TearDown() override {
    for (const CLSID* c : {&kClass170, &kClass171, &kClass172}) fakeacad::UnregisterClass(*c);
    if (m_dlg.m_hWnd) m_dlg.DestroyWindow();
    TempPrefixTest::TearDown();
  }
  static void Install(const wchar_t* release, HKEY root = HKEY_CURRENT_USER) {
    win::WriteRegText(root, ReleaseKey(release), L"CurVer", L"ACAD-7001:804");
  }
  void InstallAll() {
    Install(L"R17.0");
    Install(L"R17.1");
    Install(L"R17.2");
    fakeacad::RegisterClass(kClass170, L"AutoCAD.Application.17");
    fakeacad::RegisterClass(kClass171, L"AutoCAD.Application.17.1");
    fakeacad::RegisterClass(kClass172, L"AutoCAD.Application.17.2");
  }
  // Opens the dialog (its initialisation runs) and chooses a version.
  void Open(const wchar_t* version = nullptr) {
    ASSERT_TRUE(m_dlg.Create(CKXDlg::IDD));
    m_dlg.ShowWindow(SW_SHOW);
    fakeacad::State().dialog = m_dlg.m_hWnd;
    if (version) m_dlg.m_cmbVersion.SetCurSel(m_dlg.m_cmbVersion.FindStringExact(-1, version));
  }
  void PressOk() { m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }
  std::string Caption() const {
    CString text;
    m_dlg.GetWindowText(text);
    return win::WideToUtf8(text.GetString());
  }
  static std::vector<std::string> Items(const CComboBox& combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo.GetCount(); ++i) {
      CString text;
      combo.GetLBText(i, text);
      items.push_back(win::WideToUtf8(text.GetString()));
    }
    return items;
  }
  std::string Folder() const { return win::WideToUtf8(m_dlg.GetLauncherFolder().GetString()); }

  CKXApp m_app;
  TestDlg m_dlg;
};

TEST_F(LauncherTest, OnlyReleasesWithCurVerInTheUsersHiveAreListed) {
  struct Case {
    std::vector<std::pair<const wchar_t*, HKEY>> installed;
    std::vector<std::string> listed;
    std::string selected;
  };
  const Case cases[] = {
      {{{L"R17.2", HKEY_CURRENT_USER}, {L"R17.1", HKEY_CURRENT_USER}}, {"CAD2008", "CAD2009"}, "CAD2008"},
      {{{L"R17.0", HKEY_LOCAL_MACHINE}, {L"R17.2", HKEY_CURRENT_USER}}, {"CAD2009"}, "CAD2009"},
      {{{L"R17.1", HKEY_LOCAL_MACHINE}}, {}, ""},
  };
  for (const Case& c : cases) {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software");
    for (const auto& [release, root] : c.installed) Install(release, root);
    // A release key without CurVer does not count.
    win::WriteRegText(HKEY_CURRENT_USER, ReleaseKey(L"R17.0"), L"Other", L"x");
    wintest::Transcript transcript;
    Open();
    EXPECT_EQ(c.listed, Items(m_dlg.m_cmbVersion));
    CString selected;
    m_dlg.m_cmbVersion.GetWindowText(selected);
    EXPECT_EQ(c.selected, win::WideToUtf8(selected.GetString()));
    const bool none = c.listed.empty();
    EXPECT_EQ(none, transcript.Text().find(std::string("[Marlo] ") + kNoCad + " {OK} -> OK") != std::string::npos)
        << transcript.Text();
    EXPECT_EQ(none ? CString(kNoCad) : CString(), m_dlg.m_btnOK.GetTooltip());
    EXPECT_EQ(none ? CString(kNoCad) : CString(), m_dlg.m_btnExit.GetTooltip());
    EXPECT_EQ(xtpControlThemeResource, m_dlg.m_cmbVersion.GetTheme());
    // The list's scroll bar belongs to its drop-down part, not to the field.
    CRect field;
    m_dlg.m_cmbVersion.GetWindowRect(&field);
    EXPECT_NE(HTVSCROLL, m_dlg.m_cmbVersion.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(field.right - 2, field.top + 4)));
    m_dlg.DestroyWindow();
  }
  // With none listed, OK repeats the message and starts nothing.
  Open();
  wintest::Transcript transcript;
  PressOk();
  EXPECT_NE(std::string::npos, transcript.Text().find(std::string("[Marlo] ") + kNoCad + " {OK} -> OK"));
  EXPECT_TRUE(fakeacad::State().calls.empty());
}

TEST_F(LauncherTest, TheLauncherFolderIsTheProgramsFolderWithoutTheBackslash) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"Z:\\work\\bin\\Marlo", L"Z:\\work\\bin"},
      {L"C:\\Marlo.exe", L"C:"},
      {L"\\Marlo", L""},
      {L"Marlo", L""},
  };
  for (const auto& [module, folder] : cases) EXPECT_EQ(CString(folder), CKXDlg::FolderOfModule(module));

  // The dialog skins itself from the files beside the program: the skin
  // manager's options gain bit 0x1, the skin and style files are taken.
  wchar_t self[MAX_PATH] = {0};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const CString folder = CKXDlg::FolderOfModule(self);
  const std::filesystem::path skin = win::ToPosixPath(std::wstring((folder + L"\\Marlo Vi.Dll").GetString()));
  const std::filesystem::path style = win::ToPosixPath(std::wstring((folder + L"\\Marlo Vi7.Dll").GetString()));
  std::ofstream(skin) << "skin";
  std::ofstream(style) << "style";
  XTPSkinManager()->SetApplyOptions(xtpSkinApplyColors);
  TestDlg skinned;  // the constructor skins
  std::filesystem::remove(skin);
  std::filesystem::remove(style);
  EXPECT_EQ(folder, skinned.GetLauncherFolder());
  EXPECT_EQ(static_cast<DWORD>(xtpSkinApplyColors | xtpSkinApplyFrame), XTPSkinManager()->GetApplyOptions());
  EXPECT_EQ(folder + L"\\Marlo Vi.Dll", XTPSkinManager()->GetSkinPath());
  EXPECT_EQ(folder + L"\\Marlo Vi7.Dll", XTPResourceImages()->GetStylePath());
}

TEST_F(LauncherTest, OkStartsTheChosenReleaseLoadsBothModulesAndClicksTheHostsCaptionBar) {
  InstallAll();
  Open(L"CAD2009");
  POINT before = {640, 512};
  ::SetCursorPos(before.x, before.y);
  PressOk();
  const std::string folder = Folder();
  const std::string loading = std::string(" | ") + kCaption + "-正在加载……";
  const std::vector<std::string> expected = {
      std::string("created {A1000000-0000-0000-0000-000000000148} | ") + kCaption + "-正在启动……",
      "24" + loading,
      "get 14" + loading,
      "query preferences" + loading,
      "preferences files" + loading,
      "files get" + loading,
      "files put C:\\Acad\\Support;" + folder + loading,
      "19 " + folder + "\\Cadcore.dbx" + loading,
      "19 " + folder + "\\Levelmap.arx" + loading,
      "put 1 -1" + loading,
      "get 8" + loading,
      "get 13" + loading,
      "get 11" + loading,
      "put 34 1" + loading,
  };
  EXPECT_EQ(expected, fakeacad::State().calls);
  EXPECT_EQ(1, fakeacad::State().created) << "only the chosen release's class is created";
  EXPECT_TRUE(fakeacad::State().visible);
  EXPECT_EQ(1, fakeacad::State().windowState);
  EXPECT_EQ(0, fakeacad::State().live) << "the launcher released everything";
  EXPECT_FALSE(m_dlg.IsWindowVisible()) << "the dialog ended as confirmed";
  // The click: 50 pixels in from the right edge, 12 below the top, with the
  // cursor confined to that point; the cursor comes back afterwards.
  const auto& log = win::SyntheticInputLog();
  ASSERT_EQ(2u, log.size());
  EXPECT_EQ(MOUSEEVENTF_LEFTDOWN, log[0].flag);
  EXPECT_EQ(MOUSEEVENTF_LEFTUP, log[1].flag);
  for (const auto& event : log) {
    EXPECT_EQ(100 + 800 - 50, event.at.x);
    EXPECT_EQ(20 + 12, event.at.y);
    EXPECT_TRUE(event.confined);
    const RECT clip = {850, 32, 851, 33};
    EXPECT_TRUE(::EqualRect(&clip, &event.clip));
  }
  POINT after;
  ::GetCursorPos(&after);
  EXPECT_EQ(before.x, after.x);
  EXPECT_EQ(before.y, after.y);
  // A second run puts the folder in the path a second time.
  fakeacad::State().calls.clear();
  TestDlg again;
  ASSERT_TRUE(again.Create(CKXDlg::IDD));
  fakeacad::State().dialog = again.m_hWnd;
  again.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  again.DestroyWindow();
  EXPECT_EQ(L"C:\\Acad\\Support;" + m_dlg.GetLauncherFolder() + L";" + m_dlg.GetLauncherFolder(),
            CString(fakeacad::State().supportPath.c_str()));
}

TEST_F(LauncherTest, AHostWindowNarrowerThanFiftyPixelsStillGetsThePointAsComputed) {
  InstallAll();
  fakeacad::State().width = 30;
  Open(L"CAD2008");
  PressOk();
  ASSERT_EQ(2u, win::SyntheticInputLog().size());
  EXPECT_EQ(100 - 20, win::SyntheticInputLog()[0].at.x);
}

TEST_F(LauncherTest, ANothingChosenOrUnregisteredReleaseEndsInAMessage) {
  // A release listed but whose ProgID nobody registered.
  Install(L"R17.1");
  Open(L"CAD2008");
  wintest::Transcript transcript;
  PressOk();
  EXPECT_NE(std::string::npos, transcript.Text().find("[Marlo] 没有安装CAD！ {OK} -> OK")) << transcript.Text();
  EXPECT_EQ(kCaption, Caption()) << "the caption is restored";
  EXPECT_TRUE(m_dlg.IsWindowVisible()) << "the dialog stays for another try";
  // A class that cannot be created says the same.
  com::RegisterClassFactory(kClass171, L"AutoCAD.Application.17.1", []() -> IUnknown* { return nullptr; });
  PressOk();
  EXPECT_EQ(2u, [&] {
    size_t n = 0;
    for (size_t at = 0; (at = transcript.Text().find("没有安装CAD！", at)) != std::string::npos; ++at) ++n;
    return n;
  }());
  EXPECT_EQ(kCaption, Caption());
  // Nothing chosen: the list gets the focus.
  m_dlg.m_cmbVersion.SetCurSel(-1);
  PressOk();
  EXPECT_NE(std::string::npos, transcript.Text().find("[Marlo] 请选择CAD版本！ {OK} -> OK"));
  EXPECT_EQ(m_dlg.m_cmbVersion.m_hWnd, ::GetFocus());
}

TEST_F(LauncherTest, EveryFailureInsideTheLoadIsAFailedLoad) {
  struct Case {
    const char* what;
    void (*arrange)(fakeacad::Host&);
    size_t loadedBefore;
  };
  const Case cases[] = {
      {"out of memory", [](fakeacad::Host& h) { h.failures[24] = E_OUTOFMEMORY; }, 0},
      {"the second module refused", [](fakeacad::Host& h) { h.failingLoad = 2; h.loadFailure = DISP_E_EXCEPTION; }, 1},
      {"a module file missing",
       [](fakeacad::Host& h) { h.failingLoad = 1; h.loadFailure = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND); }, 0},
      {"no early-bound preferences", [](fakeacad::Host& h) { h.prefsWithoutInterface = true; }, 0},
      {"no preferences object", [](fakeacad::Host& h) { h.noPreferences = true; }, 0},
      {"the support path not written", [](fakeacad::Host& h) { h.putPathResult = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED); }, 0},
  };
  for (const Case& c : cases) {
    fakeacad::Reset();
    InstallAll();
    c.arrange(fakeacad::State());
    Open(L"CAD2009");
    wintest::Transcript transcript;
    PressOk();
    const auto& calls = fakeacad::State().calls;
    ASSERT_FALSE(calls.empty()) << c.what;
    EXPECT_EQ(std::string("25 | ") + kCaption + "-正在加载……", calls.back()) << c.what;
    EXPECT_NE(std::string::npos, transcript.Text().find("[Marlo] 加载ARX失败！ {OK} -> OK")) << c.what;
    EXPECT_EQ(kCaption, Caption()) << c.what;
    EXPECT_TRUE(m_dlg.IsWindowVisible()) << c.what;
    EXPECT_FALSE(fakeacad::State().visible) << c.what;
    EXPECT_EQ(c.loadedBefore, fakeacad::State().loaded.size()) << c.what << ": nothing is unloaded";
    EXPECT_EQ(0, fakeacad::State().live) << c.what << ": the host was released";
    EXPECT_TRUE(win::SyntheticInputLog().empty()) << c.what;
    m_dlg.DestroyWindow();
  }
}

TEST_F(LauncherTest, TheApplicationRunsTheDialogAndEnds) {
  wintest::Script({"@click 2"});
  EXPECT_FALSE(m_app.InitInstance());
  EXPECT_TRUE(AfxControlContainerEnabled());
  EXPECT_STREQ(L"Local AppWizard-Generated Applications", m_app.m_pszRegistryKey);
  EXPECT_EQ(nullptr, m_app.m_pMainWnd);
  EXPECT_FALSE(user::Script::Instance().Next().has_value()) << "the Exit button's line was taken";
}

TEST_F(LauncherTest, AMinimisedDialogDrawsItsIconCentred) {
  Install(L"R17.1");
  Open();
  const std::string folder = m_prefix + "/shots";
  win::SetSnapshotFolder(folder);
  auto pixel = [&](const char* file, int x, int y) {
    EXPECT_TRUE(win::WriteSnapshot(m_dlg.m_hWnd, file));
    cairo_surface_t* s = cairo_image_surface_create_from_png((folder + "/" + file).c_str());
    EXPECT_EQ(CAIRO_STATUS_SUCCESS, cairo_surface_status(s));
    const unsigned char* data = cairo_image_surface_get_data(s);
    uint32_t p = *reinterpret_cast<const uint32_t*>(data + y * cairo_image_surface_get_stride(s) + x * 4);
    cairo_surface_destroy(s);
    return p & 0xFFFFFF;
  };
  CRect client, window;
  m_dlg.GetClientRect(&client);
  m_dlg.GetWindowRect(&window);
  CPoint origin(0, 0);
  m_dlg.ClientToScreen(&origin);
  // The icon's place in the window's snapshot.
  const int x = origin.x - window.left + (client.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = origin.y - window.top + (client.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
  const uint32_t normalRim = pixel("normal.png", x + 16, y + 1);
  m_dlg.ModifyStyle(0, WS_MINIMIZE);
  m_dlg.Invalidate();
  EXPECT_EQ(0xF08A24u, pixel("minimised.png", x + 16, y + 1)) << "the orange rim at the top";
  EXPECT_EQ(0xFFFFFFu, pixel("minimised.png", x + 21, y + 20)) << "the highest bar";
  EXPECT_EQ(0x1F5FAFu, pixel("minimised.png", x + 16, y + 5)) << "the blue disc";
  EXPECT_NE(0xF08A24u, normalRim) << "not drawn while the dialog is shown normally";
  EXPECT_EQ(reinterpret_cast<LRESULT>(m_dlg.GetIcon(FALSE)), m_dlg.SendMessage(WM_QUERYDRAGICON));
}

}  // namespace
