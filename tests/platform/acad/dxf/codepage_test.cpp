// Text of drawings written before release 2007 in the drawing's code page:
// Chinese drawings in GBK and Big5, escapes, and the fallback for code pages
// the reader does not know. Whatever was read is written back as UTF-8.
#include <gtest/gtest.h>

#include <string>

#include "dbblkref.h"
#include "dbtext.h"
#include "dxftestutil.h"
#include "textconv.h"

using namespace dxftest;

namespace {

// Joins "code\nvalue" lines; values are bytes as the old program wrote them.
std::string Dxf(std::initializer_list<std::pair<int, std::string>> pairs) {
  std::string out;
  for (const auto& [code, value] : pairs) {
    std::string c = std::to_string(code);
    out += std::string(c.size() < 3 ? 3 - c.size() : 0, ' ') + c + "\r\n" + value + "\r\n";
  }
  return out;
}

// A release 12 floor plan: a layer, a text style and a block with Chinese
// names, a text on the layer and a reference to the block.
std::string OldChineseDrawing(const std::string& codePage, const std::string& corridor, const std::string& style,
                              const std::string& block, const std::string& text) {
  return Dxf({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1009"}, {9, "$DWGCODEPAGE"}, {3, codePage},
              {9, "$CLAYER"}, {8, corridor}, {0, "ENDSEC"},
              {0, "SECTION"}, {2, "TABLES"},
              {0, "TABLE"}, {2, "LAYER"}, {70, "1"},
              {0, "LAYER"}, {2, corridor}, {70, "0"}, {62, "3"}, {6, "CONTINUOUS"}, {0, "ENDTAB"},
              {0, "TABLE"}, {2, "STYLE"}, {70, "1"},
              {0, "STYLE"}, {2, style}, {70, "0"}, {40, "0"}, {41, "1"}, {3, "txt"}, {4, "gbcbig.shx"}, {0, "ENDTAB"},
              {0, "ENDSEC"},
              {0, "SECTION"}, {2, "BLOCKS"},
              {0, "BLOCK"}, {8, "0"}, {2, block}, {70, "0"}, {10, "0"}, {20, "0"}, {30, "0"},
              {0, "CIRCLE"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {40, "1"},
              {0, "ENDBLK"}, {8, "0"}, {0, "ENDSEC"},
              {0, "SECTION"}, {2, "ENTITIES"},
              {0, "TEXT"}, {8, corridor}, {10, "1"}, {20, "2"}, {30, "0"}, {40, "2.5"}, {1, text}, {7, style},
              {0, "INSERT"}, {8, corridor}, {2, block}, {10, "5"}, {20, "5"}, {30, "0"},
              {0, "ENDSEC"}, {0, "EOF"}});
}

struct ChineseCase {
  const char* codePage;
  // The names in the code page and in Unicode.
  const char* corridor;
  const char* style;
  const char* block;
  const char* text;
  const wchar_t* wstyle;
  const wchar_t* wblock;
  const wchar_t* wtext;
};

// The names of the database as read, checked against the Unicode spelling.
void ExpectChineseNames(AcDbDatabase& db, const ChineseCase& c) {
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db.getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(layers->has(L"走廊"));
  AcDbObjectId corridorId;
  layers->getAt(L"走廊", corridorId);
  layers->close();
  EXPECT_EQ(db.clayer(), corridorId);
  AcDbTextStyleTable* styles = nullptr;
  ASSERT_EQ(db.getTextStyleTable(styles, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(styles->has(c.wstyle));
  styles->close();
  EXPECT_EQ(Entities(db, c.wblock).size(), 1u);

  std::vector<AcDbObjectId> ids = Entities(db);
  ASSERT_EQ(ids.size(), 2u);
  AcDbText* text = Open<AcDbText>(ids[0]);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text->textStringConst(), c.wtext);
  EXPECT_EQ(text->layerName(), L"走廊");
  text->close();
  AcDbBlockReference* ref = Open<AcDbBlockReference>(ids[1]);
  ASSERT_NE(ref, nullptr);
  EXPECT_EQ(ref->blockTableRecord(), BlockId(db, c.wblock));
  ref->close();
}

TEST(AcadDxfCodePage, ChineseDrawingsReadByTheirCodePageAndWrittenAsUtf8) {
  const ChineseCase cases[] = {
      {"ANSI_936", "\xD7\xDF\xC0\xC8", "\xCB\xCE\xCC\xE5", "\xC3\xC5", "\xD2\xBB\xB2\xE3\xD7\xDF\xC0\xC8", L"宋体",
       L"门", L"一层走廊"},
      {"ANSI_950", "\xA8\xAB\xB4\x59", "\xA7\xBA\xC5\xE9", "\xAA\xF9", "\xA4\x40\xBC\x68\xA8\xAB\xB4\x59", L"宋體",
       L"門", L"一層走廊"},
  };
  for (const ChineseCase& c : cases) {
    SCOPED_TRACE(c.codePage);
    AcDbDatabase db(false);
    ASSERT_EQ(db.dxfIn(OldChineseDrawing(c.codePage, c.corridor, c.style, c.block, c.text)), Acad::eOk);
    ExpectChineseNames(db, c);
    EXPECT_TRUE(db.readNotes().empty());

    // Written as release 2007 in UTF-8: the bytes are UTF-8, and the file
    // reads back with the same names.
    std::string out;
    ASSERT_EQ(db.dxfOut(out), Acad::eOk);
    EXPECT_NE(out.find("\n走廊\n"), std::string::npos);
    EXPECT_NE(out.find("\n" + win::WideToUtf8(c.wtext) + "\n"), std::string::npos);
    EXPECT_EQ(out.find(c.corridor), std::string::npos);
    AcDbDatabase back(false);
    RoundTrip(db, back, std::string("chinese_") + c.codePage + ".dxf");
    ExpectChineseNames(back, c);
  }
}

TEST(AcadDxfCodePage, EscapesAndOtherCodePages) {
  struct Case {
    const char* codePage;
    std::string value;
    const wchar_t* expected;
  } cases[] = {
      // \M+n with the code page of n, whatever the file's own code page.
      {"ANSI_1252", "\\M+5D7DF\\M+5C0C8 \\M+2A8AB \\M+18365", L"走廊 走 テ"},
      {"ANSI_936", "\\U+8D70\\U+5ECA", L"走廊"},
      // An escape that is not one stays as written.
      {"ANSI_936", "\\M+9ABCD \\U+12 \\M+5", L"\\M+9ABCD \\U+12 \\M+5"},
      // Single-byte code pages.
      {"ANSI_1251", "\xCA\xEE\xF0\xE8\xE4\xEE\xF0", L"Коридор"},
      {"ANSI_1252", "Caf\xE9 \x80", L"Café €"},
      {"ANSI_1250", "\x8Al\xE1", L"Šlá"},
      {"DOS932", "\x98\x4C\x89\xBA", L"廊下"},
      {"ANSI_949", "\xBA\xA5\xC4\xA1", L"벤치"},
      // UTF-8 under a single-byte code page (programs that write UTF-8 under
      // an old version number) is kept as UTF-8.
      {"ANSI_1252", "\xC3\xA9ven", L"éven"},
      // Bytes the double-byte code page refuses (a lead byte at the end), but
      // UTF-8 takes; UTF-8 that also passes as GBK is GBK.
      {"ANSI_936", "\xE2\x82\xAC", L"€"},
      {"ANSI_936", "\xE8\xB5\xB0\xE5\xBB\x8A", L"\x74A7\x677F\x7C96"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.codePage) + " " + c.value);
    std::string text = Dxf({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1015"}, {9, "$DWGCODEPAGE"},
                            {3, c.codePage}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"},
                            {0, "TEXT"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "1"}, {1, c.value},
                            {0, "ENDSEC"}, {0, "EOF"}});
    AcDbDatabase db(false);
    ASSERT_EQ(db.dxfIn(text), Acad::eOk);
    std::vector<AcDbObjectId> ids = Entities(db);
    ASSERT_EQ(ids.size(), 1u);
    AcDbText* t = Open<AcDbText>(ids[0]);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(std::wstring(t->textStringConst()), c.expected);
    t->close();
  }
}

TEST(AcadDxfCodePage, UnknownCodePageReadsAsLatin1WithOneNote) {
  // Release 2004: the multiline text's pieces and an object kept as read
  // are decoded too, and the header's own text values.
  std::string text = Dxf({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1018"}, {9, "$DWGCODEPAGE"},
                          {3, "ANSI_9999"}, {9, "$PROJECTNAME"}, {1, "Caf\xE9"}, {0, "ENDSEC"},
                          {0, "SECTION"}, {2, "ENTITIES"},
                          {0, "TEXT"}, {8, "Caf\xE9"}, {10, "0"}, {20, "0"}, {40, "1"}, {1, "\xC0 \xE9"},
                          {0, "DIMENSION"}, {8, "0"}, {1, "\xB1 5"}, {10, "0"}, {20, "0"},
                          {0, "ENDSEC"}, {0, "EOF"}});
  AcDbDatabase db(false);
  ASSERT_EQ(db.dxfIn(text), Acad::eOk);
  ASSERT_EQ(db.readNotes().size(), 2u);
  EXPECT_EQ(db.readNotes()[0], L"no TABLES section: defaults used");
  EXPECT_EQ(db.readNotes()[1], L"code page \"ANSI_9999\" unknown: text read as Latin-1");
  std::vector<AcDbObjectId> ids = Entities(db);
  ASSERT_EQ(ids.size(), 2u);
  AcDbText* t = Open<AcDbText>(ids[0]);
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(t->textStringConst(), L"À é");
  EXPECT_EQ(t->layerName(), L"Café");
  t->close();
  std::string out;
  ASSERT_EQ(db.dxfOut(out), Acad::eOk);
  EXPECT_NE(out.find("\n± 5\n"), std::string::npos);
  EXPECT_NE(out.find("$PROJECTNAME\n  1\nCafé\n"), std::string::npos);
}
}  // namespace
