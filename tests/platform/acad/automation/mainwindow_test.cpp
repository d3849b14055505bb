// The host's main window as modules brand it (caption, small icon) and its
// command-line window, whose characters become typed command-line input.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "acedcmdline.h"
#include "acedframe.h"
#include "resourcetable.h"
#include "rxmfcapi.h"
#include "script.h"

namespace {

constexpr UINT IDI_BIG = 111;
constexpr UINT IDI_SMALL = 112;

const win::ResourceTable kResources{
    {},
    {},
    {win::ImageResource{IDI_BIG, IMAGE_ICON, nullptr, 0, 128, 128, std::vector<uint32_t>(128 * 128, 0xFF2060C0u)},
     win::ImageResource{IDI_SMALL, IMAGE_ICON, nullptr, 0, 16, 24, std::vector<uint32_t>(16 * 24, 0xFFC02020u)}}};

HICON Icon(UINT id) { return ::LoadIconW(kResources.Instance(), MAKEINTRESOURCEW(id)); }

void Type(const std::wstring& text) {
  CWnd* window = acedGetAcadDockCmdLine();
  ASSERT_NE(window, nullptr);
  for (wchar_t c : text) window->SendMessage(WM_CHAR, c, 1);
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    acad::CommandLineInput::Instance().Clear();
    acedGetAcadFrame()->SendMessage(WM_SETICON, ICON_SMALL, 0);
    acedGetAcadFrame()->SendMessage(WM_SETICON, ICON_BIG, 0);
  }
  void TearDown() override { acad::CommandLineInput::Instance().Clear(); }
};

std::vector<std::wstring> Words() {
  std::vector<std::wstring> words;
  while (std::optional<std::wstring> w = acad::CommandLineInput::Instance().TakeWord()) words.push_back(*w);
  return words;
}

}  // namespace

TEST_F(MainWindow, CaptionIsTheFramesText) {
  CWnd* frame = acedGetAcadFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(adsw_acadMainWnd(), frame->m_hWnd);
  frame->SetWindowText(L"Marlo[路测__模拟]");
  EXPECT_EQ(acad::FrameCaption(), L"Marlo[路测__模拟]");
}

TEST_F(MainWindow, SmallIconIsKeptWithItsSize) {
  CWnd* frame = acedGetAcadFrame();
  EXPECT_FALSE(acad::FrameSmallIcon().present);
  HICON big = Icon(IDI_BIG);
  HICON small = Icon(IDI_SMALL);
  ASSERT_NE(big, nullptr);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(frame->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(big)), 0) << "no icon before";
  acad::FrameIcon icon = acad::FrameSmallIcon();
  EXPECT_TRUE(icon.present);
  EXPECT_EQ(icon.width, 128);
  EXPECT_EQ(icon.height, 128);
  EXPECT_EQ(frame->GetIcon(FALSE), big);
  EXPECT_FALSE(acad::FrameBigIcon().present) << "the big icon is a slot of its own";

  EXPECT_EQ(frame->SetIcon(small, FALSE), big) << "setting answers the icon it replaces";
  icon = acad::FrameSmallIcon();
  EXPECT_EQ(icon.width, 16);
  EXPECT_EQ(icon.height, 24);
  frame->SetIcon(big, TRUE);
  EXPECT_EQ(acad::FrameBigIcon().width, 128);
  EXPECT_EQ(acad::FrameSmallIcon().width, 16);

  frame->SendMessage(WM_SETICON, ICON_SMALL, 0);
  EXPECT_FALSE(acad::FrameSmallIcon().present);
  frame->SendMessage(WM_SETICON, ICON_SMALL, 12345);
  EXPECT_FALSE(acad::FrameSmallIcon().present) << "a handle that is no icon has no size";
  frame->SendMessage(WM_SETICON, ICON_SMALL, 0);
}

TEST_F(MainWindow, CommandLineWindowIsAChildOfTheFrame) {
  CWnd* window = acedGetAcadDockCmdLine();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window, acedGetAcadDockCmdLine());
  EXPECT_EQ(::GetParent(window->m_hWnd), acedGetAcadFrame()->m_hWnd);
}

TEST_F(MainWindow, CharactersBecomeWordsAtBlanksAndEnter) {
  Type(L"DTTest ");
  EXPECT_EQ(Words(), std::vector<std::wstring>{L"DTTest"});
  Type(L"_zoom\re\n\r");
  EXPECT_EQ(Words(), (std::vector<std::wstring>{L"_zoom", L"e", L""})) << "a lone Enter is an empty answer";
  Type(L"half");
  EXPECT_FALSE(acad::CommandLineInput::Instance().HasWord()) << "nothing ends the word yet";
  EXPECT_EQ(acad::CommandLineInput::Instance().Typing(), L"half");
  Type(L"\x1B" L"LINX\bE\t ");
  EXPECT_EQ(Words(), std::vector<std::wstring>{L"LINE"}) << "Esc drops, Backspace takes back, Tab is ignored";
  Type(L"\b\b\x1B ");
  EXPECT_EQ(Words(), std::vector<std::wstring>{L""}) << "Backspace on nothing does nothing";
}

TEST_F(MainWindow, TypedWordsComeBeforeTheScript) {
  user::Script::Instance().UseLines({"from the script"});
  Type(L"first second");
  EXPECT_EQ(acad::NextCommandLineInput(), std::optional<std::string>("first"));
  EXPECT_EQ(acad::NextCommandLineInput(), std::optional<std::string>("from the script"))
      << "an unfinished word waits";
  Type(L" ");
  EXPECT_EQ(acad::NextCommandLineInput(), std::optional<std::string>("second"));
  EXPECT_EQ(acad::NextCommandLineInput(), std::nullopt);
  Type(L"名字 ");
  EXPECT_EQ(acad::NextCommandLineInput(), std::optional<std::string>("名字"));
}
