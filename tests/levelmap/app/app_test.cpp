// Levelmap.arx loaded and unloaded by the host's dynamic linker: the command
// it registers, its menu, the host's caption and icon, its place on the
// resource chain, and what stays after it is unloaded.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>

#include "acadi.h"
#include "acadmodel.h"
#include "acedframe.h"
#include "afxdllx.h"
#include "edcmdstack.h"
#include "module.h"
#include "rxdynlink.h"
#include "rxmfcapi.h"
#include "transcript.h"

namespace {

const std::wstring kPopup = L"设计助手——Marlo";

std::wstring Module(const char* name) {
  return std::wstring(MODULE_FOLDER, MODULE_FOLDER + sizeof(MODULE_FOLDER) - 1) + L"/" +
         std::wstring(name, name + std::char_traits<char>::length(name));
}

long CountOf(const std::vector<std::wstring>& titles, const std::wstring& title) {
  return std::count(titles.begin(), titles.end(), title);
}

class LevelmapModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/levelmap_app_XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(pattern));
    m_prefix = pattern;
    setenv("MARLO_PREFIX", m_prefix.c_str(), 1);
    m_old = user::SetSink(&m_out);
    acad::ResetAutomation();
    ASSERT_TRUE(acrxDynamicLinker->loadModule(Module("Cadcore.dbx").c_str(), true)) << m_out.str();
  }
  void TearDown() override {
    acrxDynamicLinker->unloadAll();
    acad::ResetAutomation();
    user::SetSink(m_old);
    std::filesystem::remove_all(m_prefix);
  }
  bool LoadLevelmap() { return acrxDynamicLinker->loadModule(Module("Levelmap.arx").c_str(), true); }
  bool UnloadLevelmap() { return acrxDynamicLinker->unloadModule(Module("Levelmap.arx").c_str()); }

  std::string m_prefix;
  std::ostringstream m_out;
  std::ostream* m_old = nullptr;
};

TEST_F(LevelmapModuleTest, LoadingRegistersTheCommandAndBrandsTheHost) {
  ASSERT_TRUE(LoadLevelmap()) << m_out.str();
  HMODULE hLevelmap = ::GetModuleHandleW(L"Levelmap.arx");
  ASSERT_NE(nullptr, hLevelmap);

  const AcEdCommand* pCmd = acedRegCmds->lookupCmd(L"dttest");
  ASSERT_NE(nullptr, pCmd);
  EXPECT_EQ(pCmd, acedRegCmds->lookupCmd(L"_DT")) << "global and local name run the same handler";
  EXPECT_STREQ(L"KXLevelmap", pCmd->groupName());
  EXPECT_STREQ(L"DTTest", pCmd->localName());
  EXPECT_EQ(1, pCmd->commandFlags());
  EXPECT_EQ(-1, pCmd->functionCode());
  EXPECT_EQ(hLevelmap, pCmd->resourceHandle()) << "not an application-context command";

  // Before the last two menus of the eleven.
  std::vector<std::wstring> titles = acad::MenuBarTitles();
  ASSERT_EQ(12u, titles.size());
  EXPECT_EQ(kPopup, titles[9]);
  EXPECT_EQ(L"Window", titles[10]);
  std::wstring macro;
  ASSERT_EQ(acad::MenuPick::kFound, acad::FindMenuItem(kPopup, L"Road Text", macro));
  EXPECT_EQ(L"DTTest ", macro);
  EXPECT_TRUE(acad::ApplicationVisible());

  EXPECT_EQ(L"Marlo[室内分布设计平台__路测仿真系统]", acad::FrameCaption());
  acad::FrameIcon icon = acad::FrameSmallIcon();
  EXPECT_TRUE(icon.present);
  EXPECT_EQ(128, icon.width);
  EXPECT_EQ(128, icon.height);

  std::vector<HINSTANCE> chain = win::ExtensionModuleChain();
  EXPECT_NE(chain.end(), std::find(chain.begin(), chain.end(), hLevelmap)) << "the module's resources are searched";

  auto entry = reinterpret_cast<AcRxEntryPointFn>(::GetProcAddress(hLevelmap, "acrxEntryPoint"));
  auto version = reinterpret_cast<AcRxGetApiVersionFn>(::GetProcAddress(hLevelmap, "acrxGetApiVersion"));
  ASSERT_NE(nullptr, entry);
  ASSERT_NE(nullptr, version);
  EXPECT_EQ(static_cast<Adesk::UInt32>(ACRX_API_VERSION), version());
  EXPECT_EQ(AcRx::kRetOK, entry(AcRx::kNullMsg, nullptr));
  EXPECT_EQ(AcRx::kRetOK, entry(AcRx::kEndDialogMsg, nullptr));
  EXPECT_EQ(0, entry(static_cast<AcRx::AppMsgCode>(16), nullptr)) << "codes past the table answer 0";
  EXPECT_EQ(0, entry(static_cast<AcRx::AppMsgCode>(99), nullptr));
  EXPECT_EQ(std::string::npos, m_out.str().find("Menu not created.")) << m_out.str();
}

TEST_F(LevelmapModuleTest, UnloadingRemovesTheCommandOnlyAndEachLoadAddsAPopup) {
  ASSERT_TRUE(LoadLevelmap());
  ASSERT_TRUE(UnloadLevelmap()) << "the module unlocked itself";
  EXPECT_EQ(nullptr, acedRegCmds->lookupCmd(L"DTTest"));
  EXPECT_EQ(1, CountOf(acad::MenuBarTitles(), kPopup)) << "the menu stays";
  EXPECT_EQ(L"Marlo[室内分布设计平台__路测仿真系统]", acad::FrameCaption());
  std::wstring macro;
  EXPECT_EQ(acad::MenuPick::kFound, acad::FindMenuItem(kPopup, L"Road Text", macro)) << "the item still types DTTest";

  ASSERT_TRUE(LoadLevelmap());
  std::vector<std::wstring> titles = acad::MenuBarTitles();
  EXPECT_EQ(2, CountOf(titles, kPopup)) << "a second load adds a second pop-up";
  ASSERT_EQ(13u, titles.size());
  EXPECT_EQ(kPopup, titles[10]) << "again before the last two menus";
  EXPECT_NE(nullptr, acedRegCmds->lookupCmd(L"DTTest"));
}

TEST_F(LevelmapModuleTest, AShortMenuBarGetsThePopupAtAnIndexBelowOne) {
  // Leave one menu on the bar: the module passes 1 - 2 = -1 unchanged, which
  // this host takes as "first".
  IDispatch* pDisp = AcadGetIDispatch(TRUE);
  IAcadApplication* pApp = nullptr;
  ASSERT_EQ(S_OK, pDisp->QueryInterface(__uuidof(IAcadApplication), reinterpret_cast<void**>(&pApp)));
  pDisp->Release();
  IAcadMenuGroups* pGroups = nullptr;
  pApp->get_MenuGroups(&pGroups);
  pApp->Release();
  VARIANT first;
  VariantInit(&first);
  first.vt = VT_I4;
  first.lVal = 0;
  IAcadMenuGroup* pGroup = nullptr;
  pGroups->Item(first, &pGroup);
  pGroups->Release();
  IAcadPopupMenus* pMenus = nullptr;
  pGroup->get_Menus(&pMenus);
  pGroup->Release();
  while (acad::MenuBarTitles().size() > 1) ASSERT_EQ(S_OK, pMenus->RemoveMenuFromMenuBar(first));
  pMenus->Release();

  ASSERT_TRUE(LoadLevelmap());
  std::vector<std::wstring> titles = acad::MenuBarTitles();
  ASSERT_EQ(2u, titles.size());
  EXPECT_EQ(kPopup, titles[0]);
}

}  // namespace
