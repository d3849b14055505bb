// Reading large drawings (made in the database's arena, the file mapped and
// let go of as it is read, layer and line-type names shared by the entities)
// and the number conversion every value goes through.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "dbcurves.h"
#include "dbpline.h"
#include "dbtext.h"
#include "dxftestutil.h"

using namespace dxftest;

namespace {

// What the general parser makes of the text (the reference for the fast path).
bool Reference(const std::string& text, double& value) {
  auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

TEST(AcadDxfNumbers, ReadExactlyAsTheGeneralParserDoes) {
  struct Case {
    const char* text;
    bool ok;
    double value;
  };
  const Case cases[] = {
      {"0.0", true, 0.0},          {"-0.0", true, -0.0},          {"+2.5", true, 2.5},
      {" 3.25\t", true, 3.25},     {"1.", true, 1.0},             {".5", true, 0.5},
      {"-12.375", true, -12.375},  {"1e3", true, 1000.0},         {"1.5E-2", true, 0.015},
      {"0.1", true, 0.1},          {"9007199254740993", true, 9007199254740992.0},
      {"12345678901234567890", true, 12345678901234567890.0},
      // Seventeen digits and more, with leading zeros or not, are exact too.
      {"1234567890123456.5", true, 1234567890123456.5},     {"-0.000000000000000125", true, -1.25e-16},
      {"", false, 0},              {"-", false, 0},               {".", false, 0},
      {"1.2.3", false, 0},         {"1,5", false, 0},             {"nan", false, 0},
      {"inf", false, 0},           {"--1", false, 0},             {"1 2", false, 0},
  };
  for (const Case& c : cases) {
    double v = 42.0;
    EXPECT_EQ(acdbParseDouble(c.text, v), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(v, c.value) << c.text;
    EXPECT_EQ(std::signbit(v), std::signbit(c.value)) << c.text;
  }

  // Values as writers print them: shortest round-trip forms and fixed
  // decimals of every length, each bit for bit what the general parser gives.
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> coord(-1e6, 1e6);
  for (int i = 0; i < 20000; ++i) {
    double d = coord(rng) / static_cast<double>(1 + (rng() % 1000));
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, d);
    std::string shortest(buf, r.ptr);
    std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(rng() % 20), d);
    for (const std::string& text : {shortest, std::string(buf)}) {
      double expected = 0, got = 0;
      ASSERT_TRUE(Reference(text, expected)) << text;
      ASSERT_TRUE(acdbParseDouble(text, got)) << text;
      ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << text << ": " << got << " != " << expected;
    }
  }

  // Seventeen to nineteen digits with the point anywhere, and values exactly
  // halfway between two doubles, whose tie the fast path must not break:
  // (2 m + 1) 2^(e - 53) for a 53-bit m, written out in decimal.
  for (int i = 0; i < 20000; ++i) {
    std::string text = std::to_string(rng() % 10000000000000000000ULL);
    if (i % 4 != 0) text.insert(rng() % (text.size() + 1), ".");
    unsigned long long m = (1ULL << 52) | (rng() >> 12);
    int e = 49 + static_cast<int>(rng() % 14);
    std::string halfway;
    if (e >= 53) {
      halfway = std::to_string((2 * m + 1) << (e - 53));
    } else {
      unsigned long long n = 2 * m + 1;
      for (int k = e; k < 53; ++k) n *= 5;
      halfway = std::to_string(n);
      halfway.insert(halfway.size() - static_cast<size_t>(53 - e), ".");
    }
    for (const std::string& t : {text, "-" + text, halfway}) {
      if (t == "." || t == "-.") continue;
      double expected = 0, got = 0;
      ASSERT_TRUE(Reference(t, expected)) << t;
      ASSERT_TRUE(acdbParseDouble(t, got)) << t;
      ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << t;
    }
  }
}

TEST(AcadDxfNumbers, HandlesAreHexadecimalOrNull) {
  const std::pair<const char*, Adesk::UInt64> cases[] = {
      {"1F", 0x1F},   {" 1f\t", 0x1F}, {"aBcD", 0xABCD},   {"0", 0},       {"FFFFFFFFFFFFFFFF", ~0ULL},
      {"", 0},        {"  ", 0},        {"1G", 0},          {"@", 0},       {"1:", 0},
      {"1 2", 0},     {"-1", 0},        {"0x1F", 0},        {"\xC1", 0},    {"10000000000000000", 0},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(acdbParseHandle(text).value(), value) << text;
}

// A drawing large enough to be read into the arena: its polylines and texts
// keep their vertices and strings there, and copies of them must not.
TEST(AcadDxfLarge, ReadIntoTheArenaWholeAndCopiesOutliveIt) {
  const int kCount = 12000;  // about 2 MB of DXF
  const std::wstring kLabel = L"路测点 P";
  TempFile file("large.dxf");
  {
    AcDbDatabase db;
    for (int i = 0; i < kCount; ++i) {
      double x = i % 100, y = i / 100;
      if (i % 3 == 0) {
        Append(db, new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + 1.5, y + 0.25, 0)));
      } else if (i % 3 == 1) {
        auto* pl = new AcDbPolyline();
        for (unsigned k = 0; k < 5; ++k) pl->addVertexAt(k, AcGePoint2d(x + k, y + 0.1 * i), k == 1 ? 0.5 : 0.0);
        Append(db, pl);
      } else {
        std::wstring text = kLabel + std::to_wstring(i);
        Append(db, new AcDbText(AcGePoint3d(x, y, 0), text.c_str(), AcDbObjectId::kNull, 0.5, 0.0));
      }
    }
    ASSERT_EQ(db.saveAs(file.wpath().c_str()), Acad::eOk);
  }
  std::unique_ptr<AcDbPolyline> plCopy;
  std::unique_ptr<AcDbText> textCopy;
  {
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDwgFile(file.wpath().c_str()), Acad::eOk);
    EXPECT_GT(db.objectArena().blockCount(), 0u);
    std::vector<AcDbObjectId> ids = Entities(db);
    ASSERT_EQ(ids.size(), static_cast<size_t>(kCount));
    for (int i = 0; i < kCount; ++i) {
      double x = i % 100, y = i / 100;
      AcDbEntity* ent = Open<AcDbEntity>(ids[i]);
      ASSERT_NE(ent, nullptr);
      if (auto* line = AcDbLine::cast(ent)) {
        EXPECT_EQ(i % 3, 0);
        EXPECT_EQ(line->endPoint(), AcGePoint3d(x + 1.5, y + 0.25, 0));
      } else if (auto* pl = AcDbPolyline::cast(ent)) {
        ASSERT_EQ(i % 3, 1);
        ASSERT_EQ(pl->numVerts(), 5u);
        AcGePoint2d p;
        pl->getPointAt(4, p);
        EXPECT_EQ(p, AcGePoint2d(x + 4, y + 0.1 * i)) << i;
        double bulge = 0;
        pl->getBulgeAt(1, bulge);
        EXPECT_EQ(bulge, 0.5);
      } else if (auto* text = AcDbText::cast(ent)) {
        ASSERT_EQ(i % 3, 2);
        EXPECT_EQ(std::wstring(text->textStringConst()), kLabel + std::to_wstring(i));
      } else {
        ADD_FAILURE() << "entity " << i << " of an unexpected kind";
      }
      ent->close();
    }
    // A polyline of the file grows and a text changes in place.
    AcDbPolyline* pl = nullptr;
    ASSERT_EQ(acdbOpenObject(pl, ids[1], AcDb::kForWrite), Acad::eOk);
    for (unsigned k = 5; k < 40; ++k) pl->addVertexAt(k, AcGePoint2d(k, -1.0 * k));
    plCopy.reset(static_cast<AcDbPolyline*>(pl->clone()));
    pl->close();
    AcDbText* text = nullptr;
    ASSERT_EQ(acdbOpenObject(text, ids[2], AcDb::kForWrite), Acad::eOk);
    text->setTextString(L"a text longer than any small-string buffer holds");
    textCopy.reset(static_cast<AcDbText*>(text->clone()));
    text->close();
  }
  // The database and its arena are gone; the copies are whole.
  ASSERT_EQ(plCopy->numVerts(), 40u);
  AcGePoint2d p;
  plCopy->getPointAt(39, p);
  EXPECT_EQ(p, AcGePoint2d(39, -39));
  plCopy->getPointAt(4, p);
  EXPECT_EQ(p, AcGePoint2d(5, 0.1));
  plCopy->addVertexAt(40, AcGePoint2d(1, 1));
  EXPECT_EQ(plCopy->numVerts(), 41u);
  EXPECT_EQ(std::wstring(textCopy->textStringConst()), L"a text longer than any small-string buffer holds");
}

// Entities read with the same layer or line type share one name: each keeps
// its own when changed, and a copy keeps it after the database is gone.
TEST(AcadDxfLarge, LayerAndLinetypeNamesAreSharedYetEachEntitysOwn) {
  auto line = [](const char* layer, const char* linetype) {
    std::string s = "  0\nLINE\n  8\n" + std::string(layer) + "\n";
    if (linetype) s += "  6\n" + std::string(linetype) + "\n";
    return s + " 10\n0\n 20\n0\n 11\n1\n 21\n1\n";
  };
  std::string text = "  0\nSECTION\n  2\nENTITIES\n" + line("\xE8\xB5\xB0\xE5\xBB\x8A", "BYLAYER") +
                     line("\xE8\xB5\xB0\xE5\xBB\x8A", "Dashed") + line("", nullptr) + line("0", "Dashed") +
                     line("\\U+8D70\\U+5ECA", "bylayer") + "  0\nENDSEC\n  0\nEOF\n";
  std::unique_ptr<AcDbLine> copy;
  {
    AcDbDatabase db(false);
    ASSERT_EQ(db.dxfIn(text), Acad::eOk);
    std::vector<AcDbObjectId> ids = Entities(db);
    ASSERT_EQ(ids.size(), 5u);
    struct Want {
      const wchar_t* layer;
      const wchar_t* linetype;
    } want[] = {{L"走廊", L"ByLayer"}, {L"走廊", L"Dashed"}, {L"0", L"ByLayer"}, {L"0", L"Dashed"}, {L"走廊", L"ByLayer"}};
    for (size_t i = 0; i < ids.size(); ++i) {
      AcDbEntity* ent = Open<AcDbEntity>(ids[i]);
      ASSERT_NE(ent, nullptr);
      EXPECT_EQ(ent->layerName(), want[i].layer) << i;
      EXPECT_EQ(ent->linetypeName(), want[i].linetype) << i;
      ent->close();
    }
    // The first line moves to layer 0: the second stays where it was.
    AcDbEntity* first = nullptr;
    ASSERT_EQ(acdbOpenObject(first, ids[0], AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(first->setLayer(L"0"), Acad::eOk);
    first->close();
    AcDbLine* second = Open<AcDbLine>(ids[1]);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->layerName(), L"走廊");
    copy.reset(static_cast<AcDbLine*>(second->clone()));
    second->close();
    AcDbEntity* back = Open<AcDbEntity>(ids[0]);
    EXPECT_EQ(back->layerName(), L"0");
    back->close();
  }
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->layerName(), L"走廊");
  EXPECT_EQ(copy->linetypeName(), L"Dashed");
  ACHAR* layer = copy->layer();
  EXPECT_STREQ(layer, L"走廊");
  acutDelString(layer);
}

}  // namespace
