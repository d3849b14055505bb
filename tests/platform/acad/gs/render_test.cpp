// What the graphics system draws, checked by pixels: entities of every kind
// at their projected places, colours resolved (by layer, by block, index
// through the device's palette, true colour), frozen and switched-off
// layers left out, block references carried by their transform, entities
// kept as read (dimensions, attributes, edge hatches, solids), drawables of
// a database held by id, hatch holes, text justification, and views that
// share a device.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "dbblkref.h"
#include "dbcurves.h"
#include "dbhatch.h"
#include "dbpline.h"
#include "dbpoint.h"
#include "dbtext.h"
#include "gstest.h"

using gstest::Scene;

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);

AcDbLine* Line(double x0, double y0, double x1, double y1, int color = 256, const ACHAR* layer = nullptr) {
  auto* line = new AcDbLine(AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0));
  line->setColorIndex(static_cast<Adesk::UInt16>(color));
  if (layer) line->setLayer(layer);
  return line;
}

AcDbHatch* SolidSquare(double x0, double y0, double x1, double y1, int color) {
  auto* hatch = new AcDbHatch();
  hatch->setColorIndex(static_cast<Adesk::UInt16>(color));
  hatch->setPattern(AcDbHatch::kPreDefined, L"SOLID");
  AcGePoint2dArray loop{AcGePoint2d(x0, y0), AcGePoint2d(x1, y0), AcGePoint2d(x1, y1), AcGePoint2d(x0, y1)};
  hatch->appendLoop(AcDbHatch::kExternal, loop, AcGeDoubleArray());
  return hatch;
}

// Joins "code\nvalue" lines into DXF text.
std::string Dxf(std::initializer_list<std::pair<int, const char*>> pairs) {
  std::string out;
  for (const auto& [code, value] : pairs) out += std::to_string(code) + "\n" + value + "\n";
  return out;
}

}  // namespace

TEST(GsRender, SolidHatchOfIndexOneIsRedWhereItsLoopProjects) {
  Scene scene;
  AcDbHatch* hatch = SolidSquare(-20, -10, 20, 10, 1);
  ASSERT_TRUE(scene.view->add(hatch, scene.model));
  EXPECT_EQ(scene.At(0, 0), kRed);
  EXPECT_EQ(scene.At(-19, 9), kRed);
  EXPECT_EQ(scene.At(-25, 0), kBlack);
  EXPECT_EQ(scene.At(0, 15), kBlack);
  // The square's 41 x 21 pixels (its outline included), nothing else.
  EXPECT_EQ(scene.Count(kRed), 41 * 21);
  // The view moved: the square follows.
  scene.view->dolly(30, 0, 0);
  EXPECT_EQ(scene.At(-30, 0), kRed);
  EXPECT_EQ(scene.At(0, 0), kBlack);
  scene.view->erase(hatch);
  delete hatch;
}

TEST(GsRender, ColoursResolveByLayerByBlockIndexAndTrueColour) {
  AcDbDatabase db;
  gstest::AddLayer(db, L"Walls", 3);
  Scene scene;
  // Palette entries are the device's: entry 0 never shows, entry 7 is what
  // "by block" means outside a block.
  AcGsColor palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = AcGsColor{static_cast<unsigned char>(i), 10, 20, 255};
  palette[3] = AcGsColor{0, 255, 0, 255};
  palette[7] = AcGsColor{255, 255, 255, 255};
  palette[0] = AcGsColor{1, 2, 3, 255};
  scene.device->setLogicalPalette(palette, 256);

  auto* trueColour = new AcDbLine(AcGePoint3d(-90, 30, 0), AcGePoint3d(90, 30, 0));
  AcCmColor rgb;
  rgb.setRGB(12, 34, 56);
  trueColour->setColor(rgb);
  struct Case {
    AcDbEntity* entity;
    double y;
    COLORREF expected;
  } cases[] = {
      {Line(-90, 10, 90, 10, 256, L"Walls"), 10, kGreen},     // by layer: the layer's colour 3
      {Line(-90, 0, 90, 0, 0), 0, kWhite},                     // by block at the top: entry 7
      {Line(-90, -10, 90, -10, 100), -10, RGB(100, 10, 20)},  // an index: its entry
      {trueColour, 30, RGB(12, 34, 56)},                       // a true colour as given
      {Line(-90, -30, 90, -30, 256), -30, kWhite},             // by layer on layer "0" (colour 7)
  };
  for (Case& c : cases) {
    AcDbObjectId id = gstest::Append(db, c.entity);
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
    scene.view->add(entity, scene.model);
    entity->close();
  }
  for (const Case& c : cases) EXPECT_EQ(scene.At(0, c.y), c.expected) << "line at y " << c.y;
  EXPECT_EQ(scene.Count(RGB(1, 2, 3)), 0) << "palette entry 0 is never used";
}

TEST(GsRender, FrozenAndSwitchedOffLayersAreNotDrawn) {
  AcDbDatabase db;
  gstest::AddLayer(db, L"On", 2);
  gstest::AddLayer(db, L"Off", 2, true, false);
  gstest::AddLayer(db, L"Frozen", 2, false, true);
  Scene scene;
  AcDbObjectId on = gstest::Append(db, Line(-50, 20, 50, 20, 256, L"On"));
  AcDbObjectId off = gstest::Append(db, Line(-50, 0, 50, 0, 256, L"Off"));
  AcDbObjectId frozen = gstest::Append(db, Line(-50, -20, 50, -20, 256, L"Frozen"));
  // A block's layer-0 entity goes on the layer of its reference.
  gstest::AddBlock(db, L"MARK", {Line(0, 0, 10, 0, 256)});
  auto* markOff = new AcDbBlockReference(AcGePoint3d(-40, 40, 0), gstest::BlockNamed(db, L"MARK"));
  markOff->setLayer(L"Off");
  auto* markOn = new AcDbBlockReference(AcGePoint3d(20, 40, 0), gstest::BlockNamed(db, L"MARK"));
  markOn->setLayer(L"On");
  gstest::Append(db, markOff);
  gstest::Append(db, markOn);
  AcDbBlockTableRecord* ms = nullptr;
  ASSERT_EQ(acdbOpenObject(ms, gstest::BlockNamed(db, ACDB_MODEL_SPACE), AcDb::kForRead), Acad::eOk);
  scene.view->add(ms, scene.model);
  ms->close();
  EXPECT_EQ(scene.At(0, 20), kYellow);
  EXPECT_EQ(scene.At(0, 0), kBlack);
  EXPECT_EQ(scene.At(0, -20), kBlack);
  EXPECT_EQ(scene.At(25, 40), kYellow) << "on the layer of the reference that is on";
  EXPECT_EQ(scene.At(-35, 40), kBlack) << "on the layer of the reference that is off";
  EXPECT_EQ(scene.Count(kYellow), 101 + 11);
  // Held by id, the same line shows or not as its layer is switched.
  AcDbLayerTableRecord* layer = nullptr;
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db.getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(layers->getAt(L"Off", layer, AcDb::kForWrite), Acad::eOk);
  layers->close();
  layer->setIsOff(false);
  layer->close();
  EXPECT_EQ(scene.At(0, 0), kYellow);
  (void)on;
  (void)off;
  (void)frozen;
}

TEST(GsRender, BlockReferenceDrawsItsBlockMovedScaledAndRotated) {
  AcDbDatabase db;
  Scene scene;
  // The block: a line along x from its base point (5, 0), by block.
  AcDbObjectId block = gstest::AddBlock(db, L"ARROW", {Line(5, 0, 15, 0, 0)});
  AcDbBlockTableRecord* rec = nullptr;
  ASSERT_EQ(acdbOpenObject(rec, block, AcDb::kForWrite), Acad::eOk);
  rec->setOrigin(AcGePoint3d(5, 0, 0));
  rec->close();
  auto* ref = new AcDbBlockReference(AcGePoint3d(20, -20, 0), block);
  ref->setScaleFactors(AcGeScale3d(2, 2, 1));
  ref->setRotation(M_PI / 2);
  ref->setColorIndex(5);
  AcDbObjectId id = gstest::Append(db, ref);
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
  scene.view->add(entity, scene.model);
  entity->close();
  // From (20, -20) up 20 units, in the reference's colour.
  for (double y : {-20.0, -10.0, 0.0}) EXPECT_EQ(scene.At(20, y), kBlue) << y;
  EXPECT_EQ(scene.At(20, 5), kBlack);
  EXPECT_EQ(scene.At(30, -20), kBlack) << "not along x as in the block";
  EXPECT_EQ(scene.Count(kBlue), 21);
}

TEST(GsRender, DatabaseDrawablesAreHeldByIdAndFollowTheirObject) {
  auto* db = new AcDbDatabase();
  Scene scene;
  AcDbObjectId id = gstest::Append(*db, Line(-50, 0, 50, 0, 1));
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
  scene.view->add(entity, scene.model);
  scene.view->add(entity, scene.model);
  entity->close();
  EXPECT_EQ(scene.view->numDrawables(), 1) << "added once";
  EXPECT_EQ(scene.At(0, 0), kRed);
  // Moved after it was added: drawn where it is now.
  AcDbLine* line = nullptr;
  ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
  line->setStartPoint(AcGePoint3d(-50, 20, 0));
  line->setEndPoint(AcGePoint3d(50, 20, 0));
  line->close();
  EXPECT_EQ(scene.At(0, 0), kBlack);
  EXPECT_EQ(scene.At(0, 20), kRed);
  // Erased: no longer shown.
  ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
  line->erase();
  line->close();
  EXPECT_EQ(scene.Lit(), 0);
  // The database deleted: the view lets go of what it held of it.
  delete db;
  EXPECT_EQ(scene.view->numDrawables(), 0);
  EXPECT_EQ(scene.Lit(), 0);
}

TEST(GsRender, DrawablesLeaveTheViewWhenTheirModelOrTheyThemselvesGo) {
  Scene scene;
  AcGsClassFactory* factory = acgsGetGsManager()->getGSClassFactory();
  AcGsModel* other = factory->createModel(AcGsModel::kMain, 0, nullptr, nullptr);
  AcDbHatch* kept = SolidSquare(-10, -10, 10, 10, 1);
  AcDbHatch* gone = SolidSquare(30, -10, 50, 10, 2);
  scene.view->add(kept, other);
  scene.view->add(gone, scene.model);
  EXPECT_NE(kept->gsNode(), nullptr);
  delete gone;  // a drawable of no database deleted while shown
  EXPECT_EQ(scene.view->numDrawables(), 1);
  EXPECT_EQ(scene.Count(kYellow), 0);
  factory->deleteModel(other);
  EXPECT_EQ(scene.view->numDrawables(), 0);
  EXPECT_EQ(kept->gsNode(), nullptr);
  EXPECT_EQ(scene.Lit(), 0);
  delete kept;
}

TEST(GsRender, CurvesTextPointsAndWidePolylines) {
  AcDbDatabase db;
  Scene scene(300, 200);
  auto* circle = new AcDbCircle(AcGePoint3d(-100, 50, 0), AcGeVector3d::kZAxis, 20);
  circle->setColorIndex(3);
  auto* arc = new AcDbArc(AcGePoint3d(0, 50, 0), 20, 0, M_PI);  // the upper half
  arc->setColorIndex(4);
  auto* pline = new AcDbPolyline();
  pline->addVertexAt(0, AcGePoint2d(-120, -60), 0, 6, 6);
  pline->addVertexAt(1, AcGePoint2d(-60, -60), 1.0, 6, 6);  // a half circle up to (-60, -20)
  pline->addVertexAt(2, AcGePoint2d(-60, -20), 0, 6, 6);
  pline->setColorIndex(5);
  auto* text = new AcDbText(AcGePoint3d(20, -60, 0), L"HELLO", AcDbObjectId::kNull, 20);
  text->setColorIndex(2);
  auto* point = new AcDbPoint(AcGePoint3d(100, 80, 0));
  point->setColorIndex(1);
  std::vector<AcDbEntity*> entities{circle, arc, pline, text, point};
  for (AcDbEntity* e : entities) scene.view->add(e, scene.model);
  EXPECT_EQ(scene.At(-80, 50), kGreen) << "on the circle";
  EXPECT_EQ(scene.At(-100, 50), kBlack) << "inside it";
  EXPECT_EQ(scene.At(0, 70), RGB(0, 255, 255)) << "top of the arc";
  EXPECT_EQ(scene.At(0, 30), kBlack) << "the lower half is no part of the arc";
  EXPECT_EQ(scene.At(-90, -60), kBlue) << "on the wide line";
  EXPECT_EQ(scene.At(-90, -62), kBlue) << "inside its width";
  EXPECT_EQ(scene.At(-90, -66), kBlack) << "outside its width";
  EXPECT_EQ(scene.At(-40, -40), kBlue) << "on the arc segment's far side (radius 20 about (-60, -40))";
  EXPECT_EQ(scene.At(100, 80), kRed) << "the point is one pixel";
  EXPECT_EQ(scene.Count(kRed), 1);
  // The text: yellow-ish pixels within its box only (smoothed edges blend).
  scene.device->update();
  int inBox = 0, outside = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) {
      COLORREF c = scene.device->pixel(x, y);
      if (GetRValue(c) < 128 || GetGValue(c) < 128 || GetBValue(c) > 64) continue;
      double wx = x - 150, wy = 100 - y;
      if (wx >= 18 && wx <= 20 + 5 * 20 && wy >= -62 && wy <= -38) ++inBox;
      else ++outside;
    }
  EXPECT_GT(inBox, 150) << "five letters 20 units high";
  EXPECT_EQ(outside, 0);
  scene.view->eraseAll();
  for (AcDbEntity* e : entities) delete e;
}

TEST(GsRender, PatternHatchDrawsItsLinesInsideItsLoops) {
  Scene scene;
  AcDbHatch* hatch = SolidSquare(-40, -40, 40, 40, 3);
  hatch->setPattern(AcDbHatch::kPreDefined, L"ANSI31");
  hatch->setPatternScale(2.0);  // 45 degree lines 6.35 apart
  scene.view->add(hatch, scene.model);
  int lines = scene.Count(kGreen);
  EXPECT_GT(lines, 81 * 81 / 12) << "lines cross the square";
  EXPECT_LT(lines, 81 * 81 / 3) << "but do not fill it";
  EXPECT_EQ(scene.At(-60, 0), kBlack);
  EXPECT_EQ(scene.At(45, 0), kBlack) << "cut at the loop";
  scene.view->eraseAll();
  delete hatch;
}

TEST(GsRender, EntitiesKeptAsReadDrawFromTheirPairs) {
  // A dimension with its block, a reference with an attribute, a hatch of
  // edges (two lines and a clockwise arc) and a 2D solid.
  std::string text = Dxf({
      {0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1009"}, {0, "ENDSEC"},
      {0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"}, {2, "LAYER"}, {70, "1"},
      {0, "LAYER"}, {2, "0"}, {70, "0"}, {62, "7"}, {6, "CONTINUOUS"}, {0, "ENDTAB"}, {0, "ENDSEC"},
      {0, "SECTION"}, {2, "BLOCKS"},
      {0, "BLOCK"}, {8, "0"}, {2, "*D1"}, {70, "1"}, {10, "0"}, {20, "0"}, {30, "0"},
      {0, "LINE"}, {8, "0"}, {62, "1"}, {10, "-90"}, {20, "40"}, {30, "0"}, {11, "-50"}, {21, "40"}, {31, "0"},
      {0, "ENDBLK"}, {8, "0"},
      {0, "BLOCK"}, {8, "0"}, {2, "TAG"}, {70, "2"}, {10, "0"}, {20, "0"}, {30, "0"},
      {0, "LINE"}, {8, "0"}, {62, "3"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "20"}, {21, "0"}, {31, "0"},
      {0, "ENDBLK"}, {8, "0"},
      {0, "ENDSEC"},
      {0, "SECTION"}, {2, "ENTITIES"},
      {0, "DIMENSION"}, {8, "0"}, {2, "*D1"}, {10, "-90"}, {20, "40"}, {30, "0"}, {70, "0"},
      {0, "INSERT"}, {8, "0"}, {66, "1"}, {2, "TAG"}, {10, "40"}, {20, "30"}, {30, "0"},
      {0, "ATTRIB"}, {8, "0"}, {62, "2"}, {10, "40"}, {20, "10"}, {30, "0"}, {40, "12"}, {1, "WW"}, {2, "T"},
      {70, "0"},
      {0, "SEQEND"}, {8, "0"},
      {0, "HATCH"}, {8, "0"}, {62, "4"}, {10, "0"}, {20, "0"}, {30, "0"}, {210, "0"}, {220, "0"}, {230, "1"},
      {2, "SOLID"}, {70, "1"}, {71, "0"}, {91, "1"},
      {92, "1"}, {93, "3"},
      {72, "1"}, {10, "-50"}, {20, "-40"}, {11, "-50"}, {21, "-10"},
      {72, "2"}, {10, "-50"}, {20, "-40"}, {40, "30"}, {50, "90"}, {51, "0"}, {73, "0"},
      {72, "1"}, {10, "-20"}, {20, "-40"}, {11, "-50"}, {21, "-40"},
      {97, "0"}, {75, "0"}, {76, "1"}, {98, "0"},
      {0, "SOLID"}, {8, "0"}, {62, "5"}, {10, "60"}, {20, "-40"}, {30, "0"}, {11, "90"}, {21, "-40"}, {31, "0"},
      {12, "60"}, {22, "-20"}, {32, "0"}, {13, "90"}, {23, "-20"}, {33, "0"},
      {0, "ENDSEC"}, {0, "EOF"}});
  AcDbDatabase db(false);
  ASSERT_EQ(db.dxfIn(text), Acad::eOk);
  Scene scene;
  AcDbBlockTableRecord* ms = nullptr;
  ASSERT_EQ(acdbOpenObject(ms, gstest::BlockNamed(db, ACDB_MODEL_SPACE), AcDb::kForRead), Acad::eOk);
  scene.view->add(ms, scene.model);
  ms->close();
  EXPECT_EQ(scene.At(-70, 40), kRed) << "the dimension's block";
  EXPECT_EQ(scene.At(50, 30), kGreen) << "the reference's block";
  // The attribute's text, yellow, at (40, 10) and 12 high.
  scene.device->update();
  int yellow = 0;
  for (int y = 50 - 24; y <= 50 - 8; ++y)
    for (int x = 100 + 38; x <= 100 + 70; ++x)
      if (scene.device->pixel(x, y) == kYellow) ++yellow;
  EXPECT_GT(yellow, 20);
  // A quarter disc about (-50, -40): up the line, clockwise along the arc
  // from its top to its right, back along the second line.
  EXPECT_EQ(scene.At(-40, -25), RGB(0, 255, 255)) << "inside the quarter disc";
  EXPECT_EQ(scene.At(-40, -55), kBlack) << "below it";
  EXPECT_EQ(scene.At(-60, -25), kBlack) << "left of it";
  EXPECT_EQ(scene.At(75, -30), kBlue) << "inside the solid";
  EXPECT_EQ(scene.At(75, -15), kBlack);
}

TEST(GsRender, HolesStayOpenAndTextsStandWhereTheirJustificationSays) {
  Scene scene(300, 200);
  // A solid square with a square hole: the hole shows the background.
  auto* hatch = SolidSquare(-100, -40, -20, 40, 1);
  AcGePoint2dArray hole{AcGePoint2d(-80, -20), AcGePoint2d(-40, -20), AcGePoint2d(-40, 20), AcGePoint2d(-80, 20)};
  hatch->appendLoop(AcDbHatch::kDefault, hole, AcGeDoubleArray());
  // One text left, centred and right of x = 60 on three baselines.
  struct Line {
    AcDbTextHorzMode mode;
    double y;
  } lines[] = {{kTextLeft, 50}, {kTextCenter, 0}, {kTextRight, -50}};
  std::vector<AcDbText*> texts;
  for (const Line& l : lines) {
    auto* text = new AcDbText(AcGePoint3d(60, l.y, 0), L"MMMM", AcDbObjectId::kNull, 16);
    text->setHorizontalMode(l.mode);
    text->setAlignmentPoint(AcGePoint3d(60, l.y, 0));
    text->setColorIndex(2);
    texts.push_back(text);
    scene.view->add(text, scene.model);
  }
  scene.view->add(hatch, scene.model);
  EXPECT_EQ(scene.At(-90, 0), kRed);
  EXPECT_EQ(scene.At(-60, 0), kBlack) << "inside the hole";
  EXPECT_EQ(scene.At(-30, 30), kRed);
  // Where each text's ink lies across: right of 60, about 60, left of 60.
  scene.device->update();
  for (size_t i = 0; i < 3; ++i) {
    int lo = 1000, hi = -1000;
    for (int y = 100 - static_cast<int>(lines[i].y) - 16; y <= 100 - static_cast<int>(lines[i].y); ++y)
      for (int x = 0; x < 300; ++x) {
        COLORREF c = scene.device->pixel(x, y);
        if (GetRValue(c) > 128 && GetGValue(c) > 128 && GetBValue(c) < 64) {
          lo = std::min(lo, x - 150);
          hi = std::max(hi, x - 150);
        }
      }
    ASSERT_LT(lo, hi) << "text " << i << " is drawn";
    double middle = (lo + hi) / 2.0, width = hi - lo;
    EXPECT_GT(width, 40) << i;
    double expected = lines[i].mode == kTextLeft ? lo : lines[i].mode == kTextCenter ? middle : hi;
    EXPECT_NEAR(expected, 60, 3) << "text " << i;
  }
  scene.view->eraseAll();
  delete hatch;
  for (AcDbText* t : texts) delete t;
}

TEST(GsRender, ViewsShareADeviceEachInItsViewport) {
  Scene scene(200, 100);
  AcGsClassFactory* factory = acgsGetGsManager()->getGSClassFactory();
  AcGsView* right = factory->createView();
  scene.device->add(right);
  scene.view->setViewport(AcGePoint2d(0, 0), AcGePoint2d(0.5, 1));
  right->setViewport(AcGePoint2d(0.5, 0), AcGePoint2d(1, 1));
  for (AcGsView* v : {scene.view, right}) v->setView(AcGePoint3d(0, 0, 1), AcGePoint3d(0, 0, 0), AcGeVector3d::kYAxis, 100, 100);
  AcDbHatch* square = SolidSquare(-5, -5, 5, 5, 3);
  scene.view->add(square, scene.model);
  right->add(square, scene.model);
  right->setMode(AcGsView::kBoundingBox);
  scene.device->setBackgroundColor(AcGsColor{10, 20, 30, 255});
  scene.device->update();
  // Each viewport's centre: the left one filled, the right one outlined.
  EXPECT_EQ(scene.device->pixel(50, 50), kGreen);
  EXPECT_EQ(scene.device->pixel(150, 50), RGB(10, 20, 30)) << "only the box in bounding-box mode";
  EXPECT_EQ(scene.device->pixel(145, 50), kGreen) << "its box, in its colour";
  EXPECT_EQ(scene.device->pixel(5, 5), RGB(10, 20, 30));
  // A drawable shared by two views leaves one and stays in the other.
  right->erase(square);
  EXPECT_EQ(scene.view->numDrawables(), 1);
  EXPECT_NE(square->gsNode(), nullptr);
  factory->deleteView(right);
  scene.view->eraseAll();
  EXPECT_EQ(square->gsNode(), nullptr);
  delete square;
}
