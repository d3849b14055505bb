// The command line takes what is typed into its window before the script's
// next line; MENUPICK types a menu item's macro there. In process.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "acadi.h"
#include "acadmodel.h"
#include "acedcmdline.h"
#include "commandline.h"
#include "edcmdstack.h"
#include "rxdynlink.h"
#include "rxmfcapi.h"
#include "script.h"
#include "transcript.h"

namespace {

int g_runs = 0;
void CountRun() { ++g_runs; }

class MenuPickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_old = user::SetSink(&m_out);
    acad::ResetAutomation();
    acad::CommandLineInput::Instance().Clear();
    g_runs = 0;
    acedRegCmds->addCommand(L"PICKTEST", L"_COUNTIT", L"CountIt", ACRX_CMD_MODAL, CountRun);
  }
  void TearDown() override {
    acedRegCmds->removeGroup(L"PICKTEST");
    acad::CommandLineInput::Instance().Clear();
    acad::ResetAutomation();
    user::SetSink(m_old);
  }
  void Run(std::vector<std::string> lines) {
    user::Script::Instance().UseLines(std::move(lines));
    host::CommandLine().Run();
  }
  // Adds a pop-up with one item to the menu bar, before index at.
  void AddPopup(const wchar_t* title, const wchar_t* label, const wchar_t* macro, long at) {
    IDispatch* dispatch = AcadGetIDispatch(TRUE);
    IAcadApplication* app = nullptr;
    ASSERT_EQ(dispatch->QueryInterface(__uuidof(IAcadApplication), reinterpret_cast<void**>(&app)), S_OK);
    dispatch->Release();
    IAcadMenuGroups* groups = nullptr;
    app->get_MenuGroups(&groups);
    app->Release();
    IAcadMenuGroup* group = nullptr;
    groups->Item(_variant_t(0L), &group);
    groups->Release();
    IAcadPopupMenus* menus = nullptr;
    group->get_Menus(&menus);
    group->Release();
    IAcadPopupMenu* popup = nullptr;
    ASSERT_EQ(menus->Add(const_cast<wchar_t*>(title), &popup), S_OK);
    menus->Release();
    popup->AddMenuItem(_variant_t(0L), const_cast<wchar_t*>(label), const_cast<wchar_t*>(macro), nullptr);
    if (at >= 0) popup->InsertInMenuBar(_variant_t(at));
    popup->Release();
  }
  std::ostringstream m_out;
  std::ostream* m_old = nullptr;
};

}  // namespace

TEST_F(MenuPickTest, PickedMacroRunsBeforeTheNextScriptLine) {
  AddPopup(L"设计助手——Marlo", L"Road Text", L"CountIt ", 9);
  Run({"MENUPICK \"设计助手——Marlo\" \"Road Text\"", "HELP"});
  EXPECT_EQ(g_runs, 1);
  std::string out = m_out.str();
  size_t picked = out.find("Command: CountIt\n");
  ASSERT_NE(picked, std::string::npos) << out;
  EXPECT_LT(picked, out.find("Command: HELP")) << "the macro ran before the next line";
  EXPECT_NE(out.find("Menu bar: File, Edit, View, Insert, Format, Tools, Draw, Dimension, Modify, 设计助手——Marlo, "
                     "Window, Help\n"),
            std::string::npos)
      << out;
}

TEST_F(MenuPickTest, TitlesAndLabelsIgnoreCaseAndTheMnemonicMark) {
  AddPopup(L"&Tests", L"Count &It", L"CountIt ", 100);
  Run({"MENUPICK tests \"count it\""});
  EXPECT_EQ(g_runs, 1) << m_out.str();
}

TEST_F(MenuPickTest, UnknownPopupOrItemRunsNothing) {
  AddPopup(L"Tests", L"Count", L"CountIt ", 100);
  AddPopup(L"Hidden", L"Count", L"CountIt ", -1);  // in the group, never put on the bar
  Run({"MENUPICK Nope Count", "MENUPICK Tests Nope", "MENUPICK Hidden Count", "MENUPICK Tests",
       "MENUPICK \"Tests\" \"Count\" extra"});
  EXPECT_EQ(g_runs, 0);
  std::string out = m_out.str();
  EXPECT_NE(out.find("No pop-up menu \"Nope\" on the menu bar."), std::string::npos) << out;
  EXPECT_NE(out.find("The pop-up menu \"Tests\" has no item \"Nope\"."), std::string::npos) << out;
  EXPECT_NE(out.find("The pop-up menu \"Hidden\" is not on the menu bar."), std::string::npos) << out;
  size_t first = out.find("MENUPICK needs the pop-up menu's title and the item's label.");
  ASSERT_NE(first, std::string::npos) << out;
  EXPECT_NE(first, out.rfind("MENUPICK needs the pop-up menu's title and the item's label."))
      << "both one argument too few and one too many are refused: " << out;
  EXPECT_FALSE(acad::CommandLineInput::Instance().HasWord());
}

TEST_F(MenuPickTest, FirstPopupOfATitleOnTheBarWins) {
  AddPopup(L"Twice", L"Go", L"Nowhere ", 100);
  AddPopup(L"Twice", L"Go", L"CountIt ", 0);  // the same title, further left
  Run({"MENUPICK Twice Go"});
  EXPECT_EQ(g_runs, 1) << m_out.str();
  EXPECT_EQ(m_out.str().find("Unknown command \"NOWHERE\""), std::string::npos);
}

TEST_F(MenuPickTest, CharactersSentToTheCommandLineWindowAreTyped) {
  CWnd* window = acedGetAcadDockCmdLine();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->GetParent(), acedGetAcadFrame());
  for (wchar_t c : std::wstring(L"countx\bit CountIt\r_COUNTIT ")) window->SendMessage(WM_CHAR, c, 1);
  Run({});
  EXPECT_EQ(g_runs, 3) << m_out.str();
}

TEST_F(MenuPickTest, MacroWordsAnswerTheCommandsPrompts) {
  // "^C^C" cancels, ";" is Enter: a line from 0,0 to 3,4, then LIST of it.
  AddPopup(L"Tests", L"Line", L"^C^C_line 0,0 3,4 ;", 100);
  AddPopup(L"Tests2", L"List", L"^C^C_list L;;", 100);
  Run({"MENUPICK Tests Line", "MENUPICK Tests2 List"});
  std::string out = m_out.str();
  size_t at = out.find("Specify first point: 0,0\nSpecify next point: 3,4\nSpecify next point: \n");
  ASSERT_NE(at, std::string::npos) << out;
  at = out.find("Command: _list\nSelect objects: L\n1 found\nSelect objects: \nLINE ", at);
  EXPECT_NE(at, std::string::npos) << "the selection took the macro's words too: " << out;
}

TEST_F(MenuPickTest, BuiltInsAnswerToTheEnglishAndBuiltInPrefixes) {
  Run({"._help"});
  EXPECT_NE(m_out.str().find("Built-in commands:"), std::string::npos);
  EXPECT_EQ(m_out.str().find("Unknown command"), std::string::npos);
}

TEST_F(MenuPickTest, EachLoadAddsAPopupAndItOutlivesTheModule) {
  const std::wstring module = std::wstring(L"" TEST_MODULES_DIR) + L"/menutest.arx";
  ASSERT_TRUE(acrxDynamicLinker->loadModule(module.c_str(), false)) << m_out.str();
  ASSERT_TRUE(acrxDynamicLinker->unloadModule(module.c_str()));
  ASSERT_TRUE(acrxDynamicLinker->loadModule(module.c_str(), false)) << m_out.str();
  std::vector<std::wstring> titles = acad::MenuBarTitles();
  ASSERT_EQ(titles.size(), 13u);
  EXPECT_EQ(titles[9], L"测试菜单——Host");
  EXPECT_EQ(titles[10], L"测试菜单——Host") << "the second load inserts before the last two menus again";
  EXPECT_EQ(titles[11], L"Window");
  EXPECT_TRUE(acad::ApplicationVisible());
  acad::FrameIcon icon = acad::FrameSmallIcon();
  EXPECT_TRUE(icon.present);
  EXPECT_EQ(icon.width, 128);

  Run({"MENUPICK \"测试菜单——Host\" \"Menu Test\""});
  EXPECT_NE(m_out.str().find("Command: MenuTest\n[menu test command]"), std::string::npos) << m_out.str();
  ASSERT_TRUE(acrxDynamicLinker->unloadModule(module.c_str()));
  EXPECT_EQ(acad::MenuBarTitles().size(), 13u) << "unloading leaves the menus";
  Run({"MENUPICK \"测试菜单——Host\" \"Menu Test\""});
  EXPECT_NE(m_out.str().find("Command: MenuTest\nUnknown command \"MENUTEST\""), std::string::npos)
      << "the item still types its macro: " << m_out.str();
  EXPECT_TRUE(acad::FrameSmallIcon().present) << "the icon's size was taken when it was set";
  acedGetAcadFrame()->SendMessage(WM_SETICON, ICON_SMALL, 0);
}
