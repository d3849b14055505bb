// The class library's files and exceptions, the saturating number readers
// and the wait cursor.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "afx.h"
#include "wintest.h"

namespace {

TEST(WideNumberTest, ReadLeadingDigitsAndSaturate) {
  struct Case {
    const wchar_t* text;
    int value;
  } cases[] = {
      {L"42", 42},          {L"  -17x", -17},           {L"+5", 5},
      {L"abc", 0},          {L"", 0},                   {L"2147483647", INT_MAX},
      {L"2147483648", INT_MAX}, {L"-2147483648", INT_MIN}, {L"-2147483649", INT_MIN},
      {L"99999999999999999999999999", INT_MAX}, {L"\t 7 8", 7}, {L"-", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.value, _wtoi(c.text)) << CString(c.text).ToUtf8();
    EXPECT_EQ(static_cast<long>(c.value), _wtol(c.text)) << "a long of the platform is 32 bits";
  }
  EXPECT_EQ(0, _wtoi(nullptr));
  EXPECT_EQ(LLONG_MAX, _wtoi64(L"99999999999999999999999"));
  EXPECT_EQ(-9000000000LL, _wtoi64(L"-9000000000"));
}

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = std::filesystem::temp_directory_path() / ("afxfile_" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
  }
  CString PathOf(const char* name) const { return CString((m_dir / name).string().c_str()); }
  std::string Bytes(const char* name) const {
    std::ifstream in(m_dir / name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::filesystem::path m_dir;
};

TEST_F(FileTest, TextModeWritesCrlfAndReadsLinesOfAnyLength) {
  {
    CStdioFile file(PathOf("t.txt"), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
    file.WriteString(L"电平\nb\n");
    file.Close();
  }
  EXPECT_EQ("电平\r\nb\r\n", Bytes("t.txt"));
  std::ofstream(m_dir / "mixed.txt", std::ios::binary) << "one\r\ntwo\n" << std::string(3000, 'z') << "\nlast";
  CStdioFile in;
  ASSERT_TRUE(in.Open(PathOf("mixed.txt"), CFile::modeRead | CFile::typeText));
  CString line;
  std::vector<std::string> lines;
  while (in.ReadString(line)) lines.push_back(line.ToUtf8());
  EXPECT_EQ((std::vector<std::string>{"one", "two", std::string(3000, 'z'), "last"}), lines);

  // The buffer form keeps the line feed and stops at nMax - 1 characters.
  in.SeekToBegin();
  wchar_t buf[4];
  ASSERT_NE(nullptr, in.ReadString(buf, 4));
  EXPECT_STREQ(L"one", buf);
  ASSERT_NE(nullptr, in.ReadString(buf, 4));
  EXPECT_STREQ(L"\n", buf) << "\"\\r\\n\" reads as one line feed";

  CStdioFile binary;
  ASSERT_TRUE(binary.Open(PathOf("mixed.txt"), CFile::modeRead | CFile::typeBinary));
  binary.ReadString(line);
  EXPECT_EQ("one\r", line.ToUtf8());
}

TEST_F(FileTest, OpenFailuresCarryTheCauseAndThePlatformsText) {
  struct Case {
    CString path;
    UINT flags;
    int cause;
    const char* text;
  } cases[] = {
      {PathOf("missing.txt"), CFile::modeRead, CFileException::fileNotFound, "missing.txt was not found."},
      {PathOf(""), CFile::modeRead, CFileException::accessDenied, "was denied."},  // the folder itself
      {PathOf("no/dir/x.txt"), CFile::modeCreate | CFile::modeWrite, CFileException::fileNotFound, "was not found."},
  };
  for (const Case& c : cases) {
    CStdioFile file;
    CFileException e;
    EXPECT_FALSE(file.Open(c.path, c.flags, &e)) << c.path.ToUtf8();
    EXPECT_EQ(c.cause, e.m_cause) << c.path.ToUtf8();
    std::string text = e.GetErrorMessage().ToUtf8();
    EXPECT_NE(std::string::npos, text.find(c.text)) << text;
    EXPECT_NE(std::string::npos, text.find(c.path.ToUtf8())) << text;
  }
  wintest::Transcript transcript;
  CFileException e(CFileException::diskFull, -1, L"Z:\\a.csv");
  e.ReportError();
  EXPECT_NE(std::string::npos, transcript.Text().find("Disk full while accessing Z:\\a.csv.")) << transcript.Text();
  try {
    CFile f(PathOf("missing.txt"), CFile::modeRead);
  } catch (CFileException* thrown) {
    EXPECT_EQ(CFileException::fileNotFound, thrown->m_cause);
    thrown->Delete();
  }
}

TEST_F(FileTest, WriteErrorsThrowWhenTheDataReachTheDevice) {
  CStdioFile file;
  ASSERT_TRUE(file.Open(L"/dev/full", CFile::modeWrite | CFile::typeText));
  int cause = -1;
  try {
    file.WriteString(L"data\n");
    file.Close();
  } catch (CFileException* e) {
    cause = e->m_cause;
    e->Delete();
  }
  EXPECT_EQ(CFileException::diskFull, cause);
}

TEST_F(FileTest, BinaryFileReadsWritesSeeksAndSizes) {
  CFile file;
  ASSERT_TRUE(file.Open(PathOf("b.bin"), CFile::modeCreate | CFile::modeReadWrite));
  file.Write("abcdef", 6);
  EXPECT_EQ(6u, file.GetLength());
  EXPECT_EQ(2u, file.Seek(2, CFile::begin));
  char buf[8] = {0};
  EXPECT_EQ(4u, file.Read(buf, 8));
  EXPECT_STREQ("cdef", buf);
  file.SetLength(3);
  EXPECT_EQ(3u, file.GetLength());
  EXPECT_EQ(CString(L"b.bin"), file.GetFileName());
  file.Close();
  EXPECT_FALSE(file.IsOpen());
}

TEST(SharedFileTest, GrowsAsFarAsAWriteNeedsAndHandsOverTheBlock) {
  CSharedFile sf(GMEM_MOVEABLE, 4096);
  std::string big(10000, 'q');
  sf.Write(big.data(), static_cast<UINT>(big.size()));
  sf.Write("!", 1);
  EXPECT_EQ(10001u, sf.GetLength());
  HGLOBAL h = sf.Detach();
  ASSERT_NE(nullptr, h);
  EXPECT_EQ(10001u, ::GlobalSize(h));
  const char* p = static_cast<const char*>(::GlobalLock(h));
  EXPECT_EQ(big + "!", std::string(p, 10001));
  ::GlobalUnlock(h);
  ::GlobalFree(h);
  EXPECT_EQ(0u, sf.GetLength());

  CMemFile mem(16);
  mem.Write("hello", 5);
  mem.SeekToBegin();
  char buf[6] = {0};
  EXPECT_EQ(5u, mem.Read(buf, 5));
  EXPECT_STREQ("hello", buf);
}

TEST(WaitCursorTest, ShowsTheHourglassAndRestores) {
  HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  ::SetCursor(arrow);
  {
    CWaitCursor wait;
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_WAIT), ::GetCursor());
  }
  EXPECT_EQ(arrow, ::GetCursor());
}

TEST(ExceptionTest, ResourceAndMemoryExceptionsDescribeThemselves) {
  wchar_t text[64];
  try {
    AfxThrowResourceException();
  } catch (CResourceException* e) {
    EXPECT_TRUE(e->GetErrorMessage(text, 64));
    EXPECT_STREQ(L"A required resource was unavailable.", text);
    e->Delete();
  }
  CMemoryException m;
  EXPECT_TRUE(m.GetErrorMessage(text, 4));
  EXPECT_STREQ(L"Out", text) << "cut to the buffer";
}

}  // namespace
