// The clipboard with its two text formats, and global memory handles.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "afxwin.h"
#include "wintest.h"

namespace {

HGLOBAL WideBlock(const std::u16string& text) {
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * 2);
  auto* p = static_cast<char16_t*>(::GlobalLock(mem));
  std::memcpy(p, text.c_str(), (text.size() + 1) * 2);
  ::GlobalUnlock(mem);
  return mem;
}

TEST(Clipboard, WideTextIsReadableAsMultibyteAndBack) {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  EXPECT_FALSE(::OpenClipboard(nullptr)) << "one opener at a time";
  ASSERT_TRUE(::EmptyClipboard());
  EXPECT_FALSE(::IsClipboardFormatAvailable(CF_TEXT));
  ASSERT_NE(::SetClipboardData(CF_UNICODETEXT, WideBlock(u"电平\t1")), nullptr);
  EXPECT_TRUE(::IsClipboardFormatAvailable(CF_TEXT));
  HANDLE narrow = ::GetClipboardData(CF_TEXT);
  ASSERT_NE(narrow, nullptr);
  EXPECT_STREQ(static_cast<const char*>(::GlobalLock(narrow)), "电平\t1");
  ::GlobalUnlock(narrow);
  EXPECT_EQ(::GlobalSize(narrow), std::strlen("电平\t1") + 1);

  // Setting the multibyte text replaces the wide one.
  const char* text = "A,B\r\nC";
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
  std::memcpy(::GlobalLock(mem), text, std::strlen(text) + 1);
  ::GlobalUnlock(mem);
  ::SetClipboardData(CF_TEXT, mem);
  HANDLE wide = ::GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(std::u16string(static_cast<const char16_t*>(::GlobalLock(wide))), u"A,B\r\nC");
  ::GlobalUnlock(wide);
  EXPECT_TRUE(::CloseClipboard());
  EXPECT_EQ(::GetClipboardData(CF_TEXT), nullptr) << "a closed clipboard gives nothing";
}

TEST(Clipboard, GlobalMemoryGrowsAndFrees) {
  HGLOBAL mem = ::GlobalAlloc(GHND, 4);
  EXPECT_EQ(::GlobalSize(mem), 4u);
  mem = ::GlobalReAlloc(mem, 16, GMEM_ZEROINIT);
  ASSERT_NE(mem, nullptr);
  EXPECT_EQ(::GlobalSize(mem), 16u);
  auto* p = static_cast<unsigned char*>(::GlobalLock(mem));
  EXPECT_EQ(p[15], 0);
  ::GlobalUnlock(mem);
  EXPECT_EQ(::GlobalFree(mem), nullptr);
  EXPECT_EQ(::GlobalSize(mem), 0u) << "a freed handle is dead";
}

TEST(Clipboard, EditCopiesAndPastesThroughTheClipboard) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0));
  CEdit a, b;
  ASSERT_TRUE(a.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &parent, 1));
  ASSERT_TRUE(b.Create(WS_CHILD | WS_VISIBLE | ES_NUMBER, CRect(0, 30, 100, 50), &parent, 2));
  a.SetWindowText(L"宋体12");
  a.SetSel(0, -1);
  a.Copy();
  b.Paste();
  CString text;
  b.GetWindowText(text);
  EXPECT_TRUE(text.IsEmpty()) << "a digits-only edit refuses pasted letters";
  a.SetSel(2, 4);
  a.Cut();
  a.GetWindowText(text);
  EXPECT_EQ(text, CString(L"宋体"));
  b.Paste();
  b.GetWindowText(text);
  EXPECT_EQ(text, CString(L"12"));
  parent.DestroyWindow();
}

TEST(Shell, OpenVerbIsWrittenAndNeverBlocks) {
  wintest::Transcript t;
  HINSTANCE r = ::ShellExecuteW(nullptr, L"open", L"mailto:someone@example.com", nullptr, nullptr, SW_SHOWNORMAL);
  EXPECT_GT(reinterpret_cast<intptr_t>(r), 32);
  EXPECT_NE(t.Text().find("[shell] open mailto:someone@example.com"), std::string::npos) << t.Text();
  EXPECT_LE(reinterpret_cast<intptr_t>(::ShellExecuteW(nullptr, L"open", L"", nullptr, nullptr, SW_SHOW)), 32);
  EXPECT_TRUE(AfxOleInit());
}

}  // namespace
