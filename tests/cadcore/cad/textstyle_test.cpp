// Text styles: shape-font and TrueType styles, the default style of the
// drive-test drawings, the graphics style, and the text height kept in
// FtpSettings.ini.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cadtest.h"
#include "CommonUtils.h"
#include "GlobalVars.h"
#include "acgi.h"
#include "dbsymtb.h"
#include "paths.h"

namespace {

namespace fs = std::filesystem;

class TextStyleTest : public CadTest {
 protected:
  AcDbTextStyleTableRecord* OpenStyle(AcDbObjectId id) {
    AcDbTextStyleTableRecord* pStyle = nullptr;
    EXPECT_EQ(acdbOpenObject(pStyle, id, AcDb::kForRead), Acad::eOk);
    return pStyle;
  }
  int StyleCount() {
    AcDbTextStyleTable* pTable = nullptr;
    EXPECT_EQ(Db()->getTextStyleTable(pTable, AcDb::kForRead), Acad::eOk);
    AcDbSymbolTableIterator* pIter = nullptr;
    pTable->newIterator(pIter);
    int n = 0;
    for (; !pIter->done(); pIter->step()) ++n;
    delete pIter;
    pTable->close();
    return n;
  }
};

// ---- createNewTextStyle ------------------------------------------------

TEST_F(TextStyleTest, ShapeFontStyleWithBigFont) {
  AcDbObjectId id =
      CCommonUtils::createNewTextStyle(_T("KX_DIM"), _T("romans.shx"), _T("gbcbig.shx"), 3.5, 0.7, 0.2);
  ASSERT_FALSE(id.isNull());
  EXPECT_EQ(CCommonUtils::getTextStyle(_T("kx_dim")), id);
  AcDbTextStyleTableRecord* pStyle = OpenStyle(id);
  ASSERT_NE(pStyle, nullptr);
  const ACHAR* pszFile = nullptr;
  pStyle->fileName(pszFile);
  EXPECT_STREQ(pszFile, L"romans.shx");
  pStyle->bigFontFileName(pszFile);
  EXPECT_STREQ(pszFile, L"gbcbig.shx");
  EXPECT_TRUE(pStyle->typeface().empty());
  EXPECT_DOUBLE_EQ(pStyle->textSize(), 3.5);
  EXPECT_DOUBLE_EQ(pStyle->xScale(), 0.7);
  EXPECT_DOUBLE_EQ(pStyle->obliquingAngle(), 0.2);
  pStyle->close();

  // The same name again changes the style in place.
  int nStyles = StyleCount();
  EXPECT_EQ(CCommonUtils::createNewTextStyle(_T("KX_DIM"), _T("TXT.SHX"), _T(""), 5, 1, 0), id);
  EXPECT_EQ(StyleCount(), nStyles);
  pStyle = OpenStyle(id);
  ASSERT_NE(pStyle, nullptr);
  pStyle->fileName(pszFile);
  EXPECT_STREQ(pszFile, L"TXT.SHX");  // an upper-case extension is still a shape font
  EXPECT_TRUE(pStyle->typeface().empty());
  EXPECT_DOUBLE_EQ(pStyle->textSize(), 5);
  pStyle->close();
  EXPECT_EQ(Out(), "");
}

TEST_F(TextStyleTest, AnyOtherFontNameIsATrueTypeTypeface) {
  AcDbObjectId id = CCommonUtils::createNewTextStyle(_T("KX_TT"), _T("Arial"), _T("ignored.shx"), 2.5, 0.8, 0.1);
  ASSERT_FALSE(id.isNull());
  AcDbTextStyleTableRecord* pStyle = OpenStyle(id);
  ASSERT_NE(pStyle, nullptr);
  ACHAR* pszFace = nullptr;
  bool bBold = true, bItalic = true;
  int nCharset = -1, nPitch = -1;
  pStyle->font(pszFace, bBold, bItalic, nCharset, nPitch);
  EXPECT_STREQ(pszFace, L"Arial");
  delete[] pszFace;
  EXPECT_FALSE(bBold);
  EXPECT_FALSE(bItalic);
  EXPECT_EQ(nCharset, 0);
  EXPECT_EQ(nPitch, 34);
  const ACHAR* pszBig = nullptr;
  pStyle->bigFontFileName(pszBig);
  EXPECT_STREQ(pszBig, L"");  // no big font for a typeface
  EXPECT_DOUBLE_EQ(pStyle->textSize(), 2.5);
  EXPECT_DOUBLE_EQ(pStyle->xScale(), 0.8);
  EXPECT_DOUBLE_EQ(pStyle->obliquingAngle(), 0.1);
  pStyle->close();
}

TEST_F(TextStyleTest, ABadFontFileIsReportedAndNoHalfMadeStyleStays) {
  int nStyles = StyleCount();
  EXPECT_TRUE(CCommonUtils::createNewTextStyle(_T("KX_BAD"), _T("bad|name.shx"), _T(""), 1, 1, 0).isNull());
  EXPECT_EQ(Out(), "字体文件：bad|name.shx不存在不在Fonts目录下，字型设置失败！") << Out();
  EXPECT_TRUE(CCommonUtils::getTextStyle(_T("KX_BAD")).isNull());
  EXPECT_EQ(StyleCount(), nStyles);
}

TEST_F(TextStyleTest, ABadBigFontFileIsReportedWithItsName) {
  AcDbObjectId id = CCommonUtils::createNewTextStyle(_T("KX_KEEP"), _T("simplex.shx"), _T(""), 4, 1, 0);
  ASSERT_FALSE(id.isNull());
  EXPECT_TRUE(CCommonUtils::createNewTextStyle(_T("KX_KEEP"), _T("romans.shx"), _T("big<font>.shx"), 1, 1, 0).isNull());
  EXPECT_EQ(Out(), "字体文件：big<font>.shx不存在或不在Fonts目录下，或不为大字体，字型设置失败！") << Out();
  // An existing style stays (it was there before the call).
  EXPECT_EQ(CCommonUtils::getTextStyle(_T("KX_KEEP")), id);
  AcDbTextStyleTableRecord* pStyle = OpenStyle(id);
  ASSERT_NE(pStyle, nullptr);
  EXPECT_DOUBLE_EQ(pStyle->textSize(), 4);
  pStyle->close();
  // A name the table refuses gives a null id without a message.
  EXPECT_TRUE(CCommonUtils::createNewTextStyle(_T("a/b"), _T("romans.shx"), _T(""), 1, 1, 0).isNull());
}

TEST_F(TextStyleTest, TablesThatCannotBeOpenedAreReported) {
  AcDbTextStyleTable* pTable = nullptr;
  ASSERT_EQ(Db()->getTextStyleTable(pTable, AcDb::kForWrite), Acad::eOk);
  EXPECT_TRUE(CCommonUtils::createNewTextStyle(_T("S"), _T("romans.shx"), _T(""), 1, 1, 0).isNull());
  double dHeight = -1;
  EXPECT_TRUE(CCommonUtils::createTextStyle(_T("S"), dHeight).isNull());
  EXPECT_TRUE(CCommonUtils::getTextStyle(_T("Standard")).isNull());
  pTable->close();
  EXPECT_EQ(Out(), "打开字体表失败.\n打开字型表失败.\n打开字体表失败.") << Out();
}

// ---- createTextStyle -----------------------------------------------------

TEST_F(TextStyleTest, CreateTextStyleMakesTheCurrentSongStyleWithHeight10) {
  double dHeight = 0;
  AcDbObjectId id = CCommonUtils::createTextStyle(_T("KX_TEXT"), dHeight);
  ASSERT_FALSE(id.isNull());
  EXPECT_DOUBLE_EQ(dHeight, 10);
  EXPECT_EQ(Db()->textstyle(), id);
  AcDbTextStyleTableRecord* pStyle = OpenStyle(id);
  ASSERT_NE(pStyle, nullptr);
  ACHAR* pszFace = nullptr;
  bool bBold = true, bItalic = true;
  int nCharset = 0, nPitch = 0;
  pStyle->font(pszFace, bBold, bItalic, nCharset, nPitch);
  EXPECT_STREQ(pszFace, L"宋体");
  delete[] pszFace;
  EXPECT_FALSE(bBold);
  EXPECT_FALSE(bItalic);
  EXPECT_EQ(nCharset, 134);
  EXPECT_EQ(nPitch, 7);
  EXPECT_DOUBLE_EQ(pStyle->textSize(), 0);
  EXPECT_DOUBLE_EQ(pStyle->xScale(), 1);
  EXPECT_DOUBLE_EQ(pStyle->obliquingAngle(), 0);
  pStyle->close();
}

TEST_F(TextStyleTest, CreateTextStyleReturnsAnExistingStyleWithItsHeight) {
  AcDbObjectId id = CCommonUtils::createNewTextStyle(_T("KX_FIXED"), _T("romans.shx"), _T(""), 2.5, 1, 0);
  AcDbObjectId current = Db()->textstyle();
  double dHeight = 0;
  EXPECT_EQ(CCommonUtils::createTextStyle(_T("KX_FIXED"), dHeight), id);
  EXPECT_DOUBLE_EQ(dHeight, 2.5);
  EXPECT_EQ(Db()->textstyle(), current);  // not made current

  AcDbDatabase other;
  AcDbObjectId otherId = CCommonUtils::createTextStyle(_T("KX_TEXT"), dHeight, &other);
  ASSERT_FALSE(otherId.isNull());
  EXPECT_EQ(other.textstyle(), otherId);
  EXPECT_TRUE(CCommonUtils::getTextStyle(_T("KX_TEXT")).isNull());  // not in the working drawing
  ExpectNothingOpen(&other);
  EXPECT_TRUE(CCommonUtils::createTextStyle(_T(""), dHeight).isNull());
}

// ---- getTextStyle and getAcGiTextStyle -----------------------------------

TEST_F(TextStyleTest, GetTextStyleWithHeight) {
  AcDbObjectId id = CCommonUtils::createNewTextStyle(_T("KX_H"), _T("romans.shx"), _T(""), 7.5, 1, 0);
  double dHeight = 0;
  EXPECT_EQ(CCommonUtils::getTextStyle(_T("KX_H"), dHeight), id);
  EXPECT_DOUBLE_EQ(dHeight, 7.5);
  EXPECT_TRUE(CCommonUtils::getTextStyle(_T("MISSING"), dHeight).isNull());
  EXPECT_DOUBLE_EQ(dHeight, 1);
  EXPECT_TRUE(CCommonUtils::getTextStyle(_T("MISSING")).isNull());
  EXPECT_EQ(Out(), "");
}

TEST_F(TextStyleTest, GetAcGiTextStyleFillsTheGraphicsStyle) {
  AcDbObjectId id =
      CCommonUtils::createNewTextStyle(_T("KX_GI"), _T("romans.shx"), _T("gbcbig.shx"), 3, 0.75, 0.25);
  AcGiTextStyle giStyle;
  ASSERT_EQ(CCommonUtils::getAcGiTextStyle(id, giStyle), Acad::eOk);
  EXPECT_STREQ(giStyle.styleName(), L"KX_GI");
  EXPECT_STREQ(giStyle.fileName(), L"romans.shx");
  EXPECT_STREQ(giStyle.bigFontFileName(), L"gbcbig.shx");
  EXPECT_DOUBLE_EQ(giStyle.textSize(), 3);
  EXPECT_DOUBLE_EQ(giStyle.xScale(), 0.75);
  EXPECT_DOUBLE_EQ(giStyle.obliquingAngle(), 0.25);

  double dHeight = 0;
  AcDbObjectId songId = CCommonUtils::createTextStyle(_T("KX_SONG"), dHeight);
  ASSERT_EQ(CCommonUtils::getAcGiTextStyle(songId, giStyle), Acad::eOk);
  const ACHAR* pszFace = nullptr;
  bool bBold, bItalic;
  int nCharset, nPitch;
  giStyle.font(pszFace, bBold, bItalic, nCharset, nPitch);
  EXPECT_STREQ(pszFace, L"宋体");
  EXPECT_EQ(nCharset, 134);
  EXPECT_NE(CCommonUtils::getAcGiTextStyle(AcDbObjectId::kNull, giStyle), Acad::eOk);
}

TEST_F(TextStyleTest, StylesSurviveADxfSaveAndRead) {
  double dHeight = 0;
  AcDbObjectId songId = CCommonUtils::createTextStyle(_T("KX_SONG"), dHeight);
  AcDbObjectId shxId = CCommonUtils::createNewTextStyle(_T("KX_SHX"), _T("romans.shx"), _T("gbcbig.shx"), 3, 0.7, 0);
  ASSERT_FALSE(songId.isNull());
  ASSERT_FALSE(shxId.isNull());
  std::unique_ptr<AcDbDatabase> pRead = SaveAndRead();
  AcDbDatabase& read = *pRead;

  AcDbObjectId readSong, readShx;
  ASSERT_EQ(read.getAcDbObjectId(readSong, false, songId.handle()), Acad::eOk);
  ASSERT_EQ(read.getAcDbObjectId(readShx, false, shxId.handle()), Acad::eOk);
  EXPECT_EQ(read.textstyle(), readSong);
  AcGiTextStyle giStyle;
  ASSERT_EQ(CCommonUtils::getAcGiTextStyle(readSong, giStyle), Acad::eOk);
  const ACHAR* pszFace = nullptr;
  bool bBold, bItalic;
  int nCharset, nPitch;
  giStyle.font(pszFace, bBold, bItalic, nCharset, nPitch);
  EXPECT_STREQ(pszFace, L"宋体");
  EXPECT_STREQ(giStyle.styleName(), L"KX_SONG");
  ASSERT_EQ(CCommonUtils::getAcGiTextStyle(readShx, giStyle), Acad::eOk);
  EXPECT_STREQ(giStyle.fileName(), L"romans.shx");
  EXPECT_STREQ(giStyle.bigFontFileName(), L"gbcbig.shx");
  EXPECT_DOUBLE_EQ(giStyle.xScale(), 0.7);
  ExpectNothingOpen(&read);
}

// ---- the text height in FtpSettings.ini ------------------------------------

class TextHeightIniTest : public CadTest {
 protected:
  void SetUp() override {
    CadTest::SetUp();
    wcscpy(m_szOldPath, CGlobalVars::g_CurPath);
    char szTemplate[] = "/tmp/cad_ini_XXXXXX";
    ASSERT_NE(mkdtemp(szTemplate), nullptr);
    m_folder = szTemplate;
    std::wstring strPath = win::ToWindowsPath(m_folder.string()) + L"\\";
    wcscpy(CGlobalVars::g_CurPath, strPath.c_str());
  }
  void TearDown() override {
    wcscpy(CGlobalVars::g_CurPath, m_szOldPath);
    fs::remove_all(m_folder);
    CadTest::TearDown();
  }
  std::string IniText() {
    std::ifstream in(m_folder / "FtpSettings.ini", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  fs::path m_folder;
  TCHAR m_szOldPath[MAX_PATH] = {0};
};

TEST_F(TextHeightIniTest, ReadsTheShippedFileAndWritesOneDecimal) {
  fs::copy_file(fs::path(TEST_DATA_DIR) / "FtpSettings.ini", m_folder / "FtpSettings.ini");
  double dHeight = -1;
  CCommonUtils::getTextHeightFromIni(dHeight);
  EXPECT_DOUBLE_EQ(dHeight, 3.5);

  CCommonUtils::setTextHeightToIni(12.345);
  EXPECT_NE(IniText().find("TextHeight=12.3\r\n"), std::string::npos) << IniText();
  CCommonUtils::getTextHeightFromIni(dHeight);
  EXPECT_DOUBLE_EQ(dHeight, 12.3);
  CCommonUtils::setTextHeightToIni(2.96);
  CCommonUtils::getTextHeightFromIni(dHeight);
  EXPECT_DOUBLE_EQ(dHeight, 3.0);
  // The other keys of the section stay.
  EXPECT_NE(IniText().find("RemoteDir=/plans"), std::string::npos) << IniText();
}

TEST_F(TextHeightIniTest, MissingOrEmptyValuesReadAsZero) {
  double dHeight = -1;
  CCommonUtils::getTextHeightFromIni(dHeight);  // no file
  EXPECT_DOUBLE_EQ(dHeight, 0.0);

  std::ofstream(m_folder / "FtpSettings.ini") << "[FTPINFO]\r\nTextHeight=\r\n";
  dHeight = -1;
  CCommonUtils::getTextHeightFromIni(dHeight);
  EXPECT_DOUBLE_EQ(dHeight, 0.0);

  std::ofstream(m_folder / "FtpSettings.ini") << "[FTPINFO]\r\nTextHeight=4.5mm\r\n";
  CCommonUtils::getTextHeightFromIni(dHeight);  // leading digits count
  EXPECT_DOUBLE_EQ(dHeight, 4.5);

  // Writing makes the file and the section.
  fs::remove(m_folder / "FtpSettings.ini");
  CCommonUtils::setTextHeightToIni(5);
  EXPECT_NE(IniText().find("[FTPINFO]"), std::string::npos);
  EXPECT_NE(IniText().find("TextHeight=5.0"), std::string::npos) << IniText();
}

}  // namespace
