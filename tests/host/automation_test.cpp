// The host's automation server: its application object answered in this
// process (members by dispatch id, the preferences and the support path in
// the registry), and its registration written and removed by cadhost.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>

#include "acadmodel.h"
#include "acadprefs.h"
#include "acedframe.h"
#include "acedview.h"
#include "afxdisp.h"
#include "automation.h"
#include "module.h"
#include "paths.h"
#include "regtext.h"
#include "registration.h"
#include "rxdynlink.h"
#include "tempprefix.h"
#include "textconv.h"

namespace {

const host::Release& R172() { return *host::FindRelease(std::wstring(L"R17.2")); }

class HostAutomationTest : public TempPrefixTest {
 protected:
  void SetUp() override {
    TempPrefixTest::SetUp();
    acad::ResetAutomation();
    m_app.AttachDispatch(host::CreateApplicationObject(R172()));
  }
  void TearDown() override {
    m_app.ReleaseDispatch();
    acrxDynamicLinker->unloadAll();
    TempPrefixTest::TearDown();
  }
  COleDispatchDriver m_app;
};

template <class F>
CException* Thrown(F&& call) {
  try {
    call();
  } catch (CException* e) {
    return e;
  }
  return nullptr;
}

TEST_F(HostAutomationTest, VisibilityWindowPlacementAndStateFollowTheMainWindow) {
  BOOL visible = TRUE;
  m_app.GetProperty(1, VT_BOOL, &visible);
  EXPECT_FALSE(visible);
  m_app.SetProperty(1, VT_BOOL, TRUE);
  m_app.GetProperty(1, VT_BOOL, &visible);
  EXPECT_TRUE(visible);
  EXPECT_TRUE(acad::ApplicationVisible()) << "the host's own model knows it";
  EXPECT_TRUE(acedGetAcadFrame()->IsWindowVisible());

  CRect frame;
  acedGetAcadFrame()->GetWindowRect(&frame);
  LONG left = -1, top = -1, width = -1, height = -1;
  m_app.GetProperty(8, VT_I4, &left);
  m_app.GetProperty(11, VT_I4, &top);
  m_app.GetProperty(13, VT_I4, &width);
  m_app.GetProperty(7, VT_I4, &height);
  EXPECT_EQ(frame.left, left);
  EXPECT_EQ(frame.top, top);
  EXPECT_EQ(frame.Width(), width);
  EXPECT_EQ(frame.Height(), height);

  LONG state = 0;
  m_app.SetProperty(34, VT_I4, static_cast<LONG>(3));
  EXPECT_TRUE(acedGetAcadFrame()->IsZoomed());
  m_app.SetProperty(34, VT_I4, static_cast<LONG>(1));
  m_app.GetProperty(34, VT_I4, &state);
  EXPECT_EQ(1, state);
  EXPECT_FALSE(acedGetAcadFrame()->IsZoomed());
  EXPECT_FALSE(acedGetAcadFrame()->IsIconic());
  CException* e = Thrown([&] { m_app.SetProperty(34, VT_I4, static_cast<LONG>(7)); });
  ASSERT_NE(nullptr, e);
  EXPECT_NE(nullptr, dynamic_cast<COleDispatchException*>(e));
  e->Delete();
  // Read-only members and unknown ones.
  for (DISPID readOnly : {8, 11, 13, 14, 99}) {
    e = Thrown([&] { m_app.SetProperty(readOnly, VT_I4, static_cast<LONG>(1)); });
    ASSERT_NE(nullptr, e) << readOnly;
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, COleException::Process(e)) << readOnly;
    e->Delete();
  }
}

TEST_F(HostAutomationTest, LoadArxLoadsByFullPathAndReportsWhyItCannot) {
  static BYTE text[] = VTS_BSTR;
  const std::wstring good = win::ToWindowsPath(std::string(TEST_MODULES_DIR) + "/hosttest.arx");
  m_app.InvokeHelper(19, DISPATCH_METHOD, VT_EMPTY, NULL, text, good.c_str());
  EXPECT_EQ(std::vector<std::wstring>{L"hosttest.arx"}, acrxDynamicLinker->loadedModules());

  CException* e = Thrown([&] {
    m_app.InvokeHelper(19, DISPATCH_METHOD, VT_EMPTY, NULL, text, L"Z:\\no\\such\\Levelmap.arx");
  });
  ASSERT_NE(nullptr, e);
  ASSERT_NE(nullptr, dynamic_cast<CFileException*>(e));
  EXPECT_EQ(CFileException::fileNotFound, dynamic_cast<CFileException*>(e)->m_cause);
  e->Delete();

  const std::wstring broken = win::ToWindowsPath(std::string(TEST_MODULES_DIR) + "/needsgone.arx");
  e = Thrown([&] { m_app.InvokeHelper(19, DISPATCH_METHOD, VT_EMPTY, NULL, text, broken.c_str()); });
  ASSERT_NE(nullptr, e);
  ASSERT_NE(nullptr, dynamic_cast<COleDispatchException*>(e));
  CString description = dynamic_cast<COleDispatchException*>(e)->m_strDescription;
  EXPECT_EQ(0, description.Find(L"Unable to load "));
  EXPECT_NE(-1, description.Find(L"libgone.so"));
  e->Delete();
  EXPECT_EQ(std::vector<std::wstring>{L"hosttest.arx"}, acrxDynamicLinker->loadedModules());

  e = Thrown([&] { m_app.InvokeHelper(19, DISPATCH_METHOD, VT_EMPTY, NULL, NULL); });
  ASSERT_NE(nullptr, e);
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, COleException::Process(e));
  e->Delete();
}

TEST_F(HostAutomationTest, TheSupportPathLivesInTheReleasesProfile) {
  LPDISPATCH dispatch = nullptr;
  m_app.GetProperty(14, VT_DISPATCH, &dispatch);
  ASSERT_NE(nullptr, dispatch);
  COleDispatchDriver prefsDriver(dispatch);
  IAcadPreferences* prefs = nullptr;
  ASSERT_EQ(S_OK, dispatch->QueryInterface(IID_IAcadPreferences, reinterpret_cast<void**>(&prefs)));
  IAcadPreferencesFiles* files = nullptr;
  ASSERT_EQ(S_OK, prefs->get_Files(&files));
  prefs->Release();
  BSTR path = nullptr;
  ASSERT_EQ(S_OK, files->get_SupportPath(&path));
  wchar_t self[MAX_PATH] = {0};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder(self);
  folder.resize(folder.find_last_of(L'\\'));
  EXPECT_EQ(folder + L"\\support", std::wstring(path));
  SysFreeString(path);

  BSTR longer = SysAllocString((folder + L"\\support;C:\\路测").c_str());
  EXPECT_EQ(S_OK, files->put_SupportPath(longer));
  SysFreeString(longer);
  files->Release();
  EXPECT_EQ(folder + L"\\support;C:\\路测",
            win::ReadRegText(HKEY_CURRENT_USER, host::ProfileGeneralKey(R172()), L"ACAD").value_or(L""));
  // Another release keeps a profile of its own.
  EXPECT_EQ(folder + L"\\support", host::SupportPath(*host::FindRelease(std::wstring(L"R17.1"))));
}

TEST_F(HostAutomationTest, ZoomAllFramesTheLimitsAndTheDrawing) {
  m_app.InvokeHelper(24, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
  acad::CurrentView().centerX = 5000;
  m_app.InvokeHelper(25, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
  EXPECT_DOUBLE_EQ(210, acad::CurrentView().centerX);
  EXPECT_DOUBLE_EQ(148.5, acad::CurrentView().centerY);
  EXPECT_DOUBLE_EQ(315, acad::CurrentView().height) << "420 wide at the window's 4:3";
}

// ---------------------------------------------------------------- registration

struct Output {
  std::string text;
  int status;
};

Output Cadhost(const std::string& args) {
  std::string command = std::string(CADHOST) + " " + args + " 2>&1";
  Output out{"", -1};
  FILE* p = popen(command.c_str(), "r");
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), p)) > 0) out.text.append(buffer.data(), n);
  int status = pclose(p);
  out.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

using RegistrationTest = TempPrefixTest;

TEST_F(RegistrationTest, RegisterWritesTheReleasesAndUnregisterTakesThemAway) {
  const std::wstring command = L"\"" + win::ToWindowsPath(CADHOST) + L"\" --automation";
  Output out = Cadhost("--register R17.1");
  ASSERT_EQ(0, out.status) << out.text;
  EXPECT_EQ("registered AutoCAD.Application.17.1 (R17.1, CurVer ACAD-6001:804): " + win::WideToUtf8(command) + "\n",
            out.text);
  EXPECT_FALSE(win::ReadRegText(HKEY_CLASSES_ROOT, L"AutoCAD.Application.17.2\\CLSID", L""));
  ASSERT_EQ(0, Cadhost("--register").status);
  for (const host::Release& r : host::Releases()) {
    EXPECT_EQ(r.curVer, win::ReadRegText(HKEY_CURRENT_USER, host::ReleaseKey(r), L"CurVer").value_or(L""));
    CLSID clsid{};
    ASSERT_EQ(S_OK, CLSIDFromProgID(r.progId.c_str(), &clsid)) << win::WideToUtf8(r.progId);
    EXPECT_TRUE(IsEqualGUID(r.clsid, clsid));
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    EXPECT_EQ(command, win::ReadRegText(HKEY_CLASSES_ROOT, std::wstring(L"CLSID\\") + text + L"\\LocalServer32", L"")
                           .value_or(L""));
  }
  // A profile the host kept, and a CurVer of another installation.
  host::SetSupportPath(*host::FindRelease(std::wstring(L"R17.0")), L"C:\\x");
  win::WriteRegText(HKEY_CURRENT_USER, L"Software\\Autodesk\\AutoCAD\\R17.1", L"CurVer", L"ACAD-6002:409");
  out = Cadhost("--unregister");
  ASSERT_EQ(0, out.status) << out.text;
  for (const host::Release& r : host::Releases()) {
    CLSID clsid{};
    EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromProgID(r.progId.c_str(), &clsid));
    EXPECT_FALSE(win::ReadRegText(HKEY_CURRENT_USER, host::ProfileGeneralKey(r), L"ACAD"));
  }
  HKEY key = nullptr;
  EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Autodesk\\AutoCAD\\R17.0", 0, KEY_READ, &key));
  EXPECT_EQ(L"ACAD-6002:409",
            win::ReadRegText(HKEY_CURRENT_USER, L"Software\\Autodesk\\AutoCAD\\R17.1", L"CurVer").value_or(L""));
}

TEST_F(RegistrationTest, BadRequestsEndWithAMessage) {
  Output out = Cadhost("--register R18.0");
  EXPECT_EQ(2, out.status);
  EXPECT_NE(std::string::npos, out.text.find("unknown release \"R18.0\""));
  out = Cadhost("--automation");
  EXPECT_EQ(2, out.status);
  EXPECT_NE(std::string::npos, out.text.find("--automation is for the COM runtime"));
  EXPECT_EQ(2, Cadhost("--register --automation").status);
}

}  // namespace
