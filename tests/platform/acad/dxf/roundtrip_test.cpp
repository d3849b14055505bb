// Drawings saved as DXF and read back: every entity kind, tables, blocks,
// dictionaries, extended data, hatches, erased objects, sharing modes and
// inserting a drawing as a block.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "dbblkref.h"
#include "dbcurves.h"
#include "dbdict.h"
#include "dbhatch.h"
#include "dbpline.h"
#include "dbpoint.h"
#include "dbtext.h"
#include "dxftestutil.h"

using namespace dxftest;

namespace {
constexpr double kPi = 3.14159265358979323846;

TEST(AcadRoundTrip, EveryEntityKindKeepsItsDataAndHandle) {
  AcDbDatabase db;
  auto* line = new AcDbLine(AcGePoint3d(1.25, 2.5, 0), AcGePoint3d(1e6 / 3, -7, 3));
  line->setColorIndex(1);
  line->setLinetypeScale(2.5);
  line->setLineWeight(AcDb::kLnWt050);
  AcDbObjectId lineId = Append(db, line);
  AcDbObjectId arcId = Append(db, new AcDbArc(AcGePoint3d(5, 5, 0), 3, kPi / 6, 5 * kPi / 3));
  AcDbObjectId circleId = Append(db, new AcDbCircle(AcGePoint3d(-1, -2, 0), AcGeVector3d(0, 0, -1), 4));
  AcDbObjectId ellipseId =
      Append(db, new AcDbEllipse(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(0, 6, 0), 0.25, 0.5, 4.0));
  auto* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(0, 0), 0.41421356, 0.5, 1.5);
  pl->addVertexAt(1, AcGePoint2d(10, 0), 0, 1.5, 0.5);
  pl->addVertexAt(2, AcGePoint2d(10, 10), -0.2);
  pl->setClosed(true);
  pl->setElevation(2);
  AcDbObjectId plId = Append(db, pl);
  AcDbObjectId pointId = Append(db, new AcDbPoint(AcGePoint3d(7, 8, 9)));
  auto* text = new AcDbText(AcGePoint3d(3, 4, 0), L"测试 \"quoted\"", AcDbObjectId::kNull, 2.5, kPi / 4);
  text->setHorizontalMode(kTextCenter);
  text->setAlignmentPoint(AcGePoint3d(4, 4, 0));
  AcDbObjectId textId = Append(db, text);
  auto* mtext = new AcDbMText();
  std::wstring longText(600, L'x');
  longText += L"\\P末尾";
  mtext->setContents(longText.c_str());
  mtext->setLocation(AcGePoint3d(1, 1, 0));
  mtext->setAttachment(AcDbMText::kMiddleCenter);
  AcDbObjectId mtextId = Append(db, mtext);

  AcDbDatabase back(false);
  RoundTrip(db, back, "entities.dxf");
  std::vector<AcDbObjectId> ids = Entities(back);
  ASSERT_EQ(ids.size(), 8u);
  // Handles are kept.
  EXPECT_EQ(ids[0].handle(), lineId.handle());
  EXPECT_EQ(ids[7].handle(), mtextId.handle());

  AcDbLine* l = Open<AcDbLine>(ids[0]);
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->endPoint().x, 1e6 / 3);  // doubles written exactly
  EXPECT_EQ(l->colorIndex(), 1);
  EXPECT_EQ(l->linetypeScale(), 2.5);
  EXPECT_EQ(l->lineWeight(), AcDb::kLnWt050);
  l->close();
  AcDbArc* a = Open<AcDbArc>(ids[1]);
  ASSERT_NE(a, nullptr);
  EXPECT_NEAR(a->startAngle(), kPi / 6, 1e-12);
  EXPECT_NEAR(a->endAngle(), 5 * kPi / 3, 1e-12);
  EXPECT_EQ(a->objectId().handle(), arcId.handle());
  a->close();
  AcDbCircle* c = Open<AcDbCircle>(ids[2]);
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(c->center().isEqualTo(AcGePoint3d(-1, -2, 0), AcGeTol()));  // through the object system and back
  EXPECT_TRUE(c->normal().isEqualTo(AcGeVector3d(0, 0, -1)));
  EXPECT_EQ(c->objectId().handle(), circleId.handle());
  c->close();
  AcDbEllipse* e = Open<AcDbEllipse>(ids[3]);
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->majorAxis().isEqualTo(AcGeVector3d(0, 6, 0)));
  EXPECT_DOUBLE_EQ(e->radiusRatio(), 0.25);
  EXPECT_DOUBLE_EQ(e->startAngle(), 0.5);
  EXPECT_DOUBLE_EQ(e->endAngle(), 4.0);
  EXPECT_EQ(e->objectId().handle(), ellipseId.handle());
  e->close();
  AcDbPolyline* p = Open<AcDbPolyline>(ids[4]);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->numVerts(), 3u);
  EXPECT_TRUE(p->isClosed());
  EXPECT_EQ(p->elevation(), 2.0);
  double bulge, sw, ew;
  p->getBulgeAt(0, bulge);
  p->getWidthsAt(0, sw, ew);
  EXPECT_EQ(bulge, 0.41421356);
  EXPECT_EQ(sw, 0.5);
  EXPECT_EQ(ew, 1.5);
  p->getBulgeAt(2, bulge);
  EXPECT_EQ(bulge, -0.2);
  EXPECT_EQ(p->objectId().handle(), plId.handle());
  p->close();
  AcDbPoint* pt = Open<AcDbPoint>(ids[5]);
  ASSERT_NE(pt, nullptr);
  EXPECT_TRUE(pt->position().isEqualTo(AcGePoint3d(7, 8, 9)));
  EXPECT_EQ(pt->objectId().handle(), pointId.handle());
  pt->close();
  AcDbText* t = Open<AcDbText>(ids[6]);
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(t->textStringConst(), L"测试 \"quoted\"");
  EXPECT_NEAR(t->rotation(), kPi / 4, 1e-12);
  EXPECT_EQ(t->horizontalMode(), kTextCenter);
  EXPECT_TRUE(t->alignmentPoint().isEqualTo(AcGePoint3d(4, 4, 0)));
  EXPECT_EQ(t->objectId().handle(), textId.handle());
  t->close();
  AcDbMText* m = Open<AcDbMText>(ids[7]);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->contentsText(), longText);  // split into 250-character pieces and joined again
  EXPECT_EQ(m->attachment(), AcDbMText::kMiddleCenter);
  m->close();
  // New objects after a read do not reuse a handle of the file.
  AcDbObjectId fresh = Append(back, new AcDbLine());
  for (const AcDbObjectId& id : ids) EXPECT_NE(fresh.handle(), id.handle());
}

// Width, slant, justification, plane and thickness are kept apart from a
// text while they are the usual; each one changed alone must survive a copy
// and a save and read, and setting it back must leave the usual text.
TEST(AcadRoundTrip, TextFormAndPlaneOtherThanUsual) {
  struct Case {
    const char* what;
    void (*change)(AcDbText&);
  };
  const Case cases[] = {
      {"usual", [](AcDbText&) {}},
      {"width", [](AcDbText& t) { t.setWidthFactor(0.75); }},
      {"oblique", [](AcDbText& t) { t.setOblique(0.25); }},
      {"right", [](AcDbText& t) { t.setHorizontalMode(kTextRight); t.setAlignmentPoint(AcGePoint3d(9, 4, 0)); }},
      {"top", [](AcDbText& t) { t.setVerticalMode(kTextTop); t.setAlignmentPoint(AcGePoint3d(3, 2, 0)); }},
      {"thick", [](AcDbText& t) { t.setThickness(1.5); }},
      {"plane", [](AcDbText& t) { t.setNormal(AcGeVector3d(0, 0, -3)); }},
  };
  auto same = [](const AcDbText& a, const AcDbText& b) {
    return a.widthFactor() == b.widthFactor() && std::abs(a.oblique() - b.oblique()) < 1e-12 &&
           a.horizontalMode() == b.horizontalMode() && a.verticalMode() == b.verticalMode() &&
           a.thickness() == b.thickness() && a.normal().isEqualTo(b.normal()) &&
           a.position().isEqualTo(b.position(), AcGeTol()) && a.alignmentPoint().isEqualTo(b.alignmentPoint(), AcGeTol());
  };
  AcDbDatabase db;
  std::vector<std::unique_ptr<AcDbText>> copies;
  for (const Case& c : cases) {
    auto* text = new AcDbText(AcGePoint3d(3, 4, 0), L"T", AcDbObjectId::kNull, 2.0);
    c.change(*text);
    copies.emplace_back(AcDbText::cast(text->clone()));
    Append(db, text);
  }
  AcDbDatabase back(false);
  RoundTrip(db, back, "texts.dxf");
  std::vector<AcDbObjectId> ids = Entities(back);
  ASSERT_EQ(ids.size(), std::size(cases));
  const AcDbText& usual = *copies[0];
  for (size_t i = 0; i < ids.size(); ++i) {
    SCOPED_TRACE(cases[i].what);
    AcDbText* t = Open<AcDbText>(ids[i]);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(same(*t, *copies[i]));
    EXPECT_EQ(i == 0, same(*t, usual));
    t->close();
  }
  // Back to the usual values, the changed text is the usual one again.
  AcDbText& changed = *copies[2];
  changed.setOblique(0.0);
  EXPECT_TRUE(same(changed, usual));
  AcDbText& flipped = *copies[6];
  flipped.setNormal(AcGeVector3d::kZAxis);
  EXPECT_TRUE(same(flipped, usual));
}

TEST(AcadRoundTrip, TablesBlocksAndInserts) {
  AcDbDatabase db;
  AcDbLayerTable* layers = nullptr;
  db.getLayerTable(layers, AcDb::kForWrite);
  auto* layer = new AcDbLayerTableRecord();
  layer->setName(L"路线");
  AcCmColor color;
  color.setColorIndex(3);
  layer->setColor(color);
  layer->setIsOff(true);
  layer->setIsFrozen(true);
  layers->add(layer);
  layer->close();
  layers->close();

  AcDbTextStyleTable* styles = nullptr;
  db.getTextStyleTable(styles, AcDb::kForWrite);
  auto* song = new AcDbTextStyleTableRecord();
  song->setName(L"KX");
  song->setFont(L"宋体", false, true, 134, 7);
  song->setTextSize(3);
  song->setXScale(0.8);
  song->setObliquingAngle(0.2);
  styles->add(song);
  song->close();
  auto* shx = new AcDbTextStyleTableRecord();
  shx->setName(L"SHX");
  shx->setFileName(L"txt.shx");
  shx->setBigFontFileName(L"gbcbig.shx");
  styles->add(shx);
  shx->close();
  styles->close();

  AcDbViewTable* views = nullptr;
  db.getViewTable(views, AcDb::kForWrite);
  auto* view = new AcDbViewTableRecord();
  view->setName(L"Range");
  view->setCenterPoint(AcGePoint2d(5, 10));
  view->setHeight(30);
  view->setWidth(15);
  views->add(view);
  view->close();
  views->close();

  AcDbBlockTable* bt = nullptr;
  db.getBlockTable(bt, AcDb::kForWrite);
  auto* block = new AcDbBlockTableRecord();
  block->setName(L"MARK");
  block->setOrigin(AcGePoint3d(1, 1, 0));
  AcDbObjectId blockId;
  bt->add(blockId, block);
  auto* inner = new AcDbCircle(AcGePoint3d(1, 1, 0), AcGeVector3d::kZAxis, 0.5);
  block->appendAcDbEntity(inner);
  inner->close();
  block->close();
  bt->close();
  auto* ref = new AcDbBlockReference(AcGePoint3d(20, 20, 0), blockId);
  ref->setRotation(kPi / 2);
  ref->setScaleFactors(AcGeScale3d(2, 3, 1));
  ref->setLayer(L"路线");
  Append(db, ref);

  AcDbDatabase back(false);
  RoundTrip(db, back, "tables.dxf");
  back.getLayerTable(layers, AcDb::kForRead);
  AcDbLayerTableRecord* l = nullptr;
  ASSERT_EQ(layers->getAt(L"路线", l, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(l->isOff());
  EXPECT_TRUE(l->isFrozen());
  EXPECT_EQ(l->color().colorIndex(), 3);
  l->close();
  layers->close();

  back.getTextStyleTable(styles, AcDb::kForRead);
  AcDbTextStyleTableRecord* s = nullptr;
  ASSERT_EQ(styles->getAt(L"KX", s, AcDb::kForRead), Acad::eOk);
  ACHAR* face = nullptr;
  bool bold, italic;
  int charset, pitch;
  s->font(face, bold, italic, charset, pitch);
  EXPECT_STREQ(face, L"宋体");
  delete[] face;
  EXPECT_FALSE(bold);
  EXPECT_TRUE(italic);
  EXPECT_EQ(charset, 134);
  EXPECT_EQ(pitch, 7);
  EXPECT_EQ(s->textSize(), 3.0);
  EXPECT_EQ(s->xScale(), 0.8);
  EXPECT_EQ(s->obliquingAngle(), 0.2);
  s->close();
  ASSERT_EQ(styles->getAt(L"SHX", s, AcDb::kForRead), Acad::eOk);
  const ACHAR* file = nullptr;
  s->bigFontFileName(file);
  EXPECT_STREQ(file, L"gbcbig.shx");
  s->close();
  styles->close();

  back.getViewTable(views, AcDb::kForRead);
  AcDbViewTableRecord* v = nullptr;
  ASSERT_EQ(views->getAt(L"Range", v, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(v->centerPoint().y, 10.0);
  EXPECT_EQ(v->width(), 15.0);
  v->close();
  views->close();

  std::vector<AcDbObjectId> inBlock = Entities(back, L"MARK");
  ASSERT_EQ(inBlock.size(), 1u);
  EXPECT_NE(AcDbCircle::cast(Open<AcDbObject>(inBlock[0])), nullptr);
  Open<AcDbObject>(inBlock[0])->close();
  inBlock[0].stub();
  std::vector<AcDbObjectId> ms = Entities(back);
  ASSERT_EQ(ms.size(), 1u);
  AcDbBlockReference* r = Open<AcDbBlockReference>(ms[0]);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->blockTableRecord(), BlockId(back, L"MARK"));
  EXPECT_NEAR(r->rotation(), kPi / 2, 1e-12);
  EXPECT_EQ(r->scaleFactors().sy, 3.0);
  EXPECT_EQ(r->layerName(), L"路线");
  AcDbExtents ext;
  r->getGeomExtents(ext);
  // The circle at the block origin lands on the insertion point.
  EXPECT_NEAR((ext.minPoint().x + ext.maxPoint().x) / 2, 20, 1e-9);
  r->close();
}

TEST(AcadRoundTrip, DictionariesXrecordsExtensionDictionariesAndXdata) {
  AcDbDatabase db;
  AcDbRegAppTable* apps = nullptr;
  db.getRegAppTable(apps, AcDb::kForWrite);
  auto* app = new AcDbRegAppTableRecord();
  app->setName(L"KXLevelmap");
  apps->add(app);
  app->close();
  apps->close();

  AcDbObjectId lineId = Append(db, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
  AcDbLine* line = nullptr;
  acdbOpenObject(line, lineId, AcDb::kForWrite);
  ads_point where = {1.5, 2.5, 3.5};
  resbuf* xd = acutBuildList(1001, L"KXLevelmap", 1000, L"路测", 1040, 0.125, 1070, 42, 1071, 100000, 1010, where, 0);
  ASSERT_EQ(line->setXData(xd), Acad::eOk);
  acutRelRb(xd);
  line->createExtensionDictionary();
  AcDbObjectId xdictId = line->extensionDictionary();
  line->close();
  AcDbDictionary* xdict = nullptr;
  acdbOpenObject(xdict, xdictId, AcDb::kForWrite);
  auto* rec = new AcDbXrecord();
  AcDbObjectId recId;
  xdict->setAt(L"Floors", rec, recId);
  resbuf* data = acutBuildList(1, L"1", 1, L"3~5", 0);
  rec->setFromRbChain(*data);
  acutRelRb(data);
  rec->close();
  xdict->close();

  AcDbDictionary* nod = nullptr;
  db.getNamedObjectsDictionary(nod, AcDb::kForWrite);
  auto* caseInfo = new AcDbDictionary();
  AcDbObjectId caseId;
  nod->setAt(L"CaseInfo", caseInfo, caseId);
  auto* key = new AcDbXrecord();
  AcDbObjectId keyId;
  caseInfo->setAt(L"Key", key, keyId);
  ads_name lineName;
  acdbGetAdsName(lineName, lineId);
  data = acutBuildList(1, L"值", 70, 3, 10, where, 330, lineName, 0);
  key->setFromRbChain(*data);
  acutRelRb(data);
  key->close();
  caseInfo->close();
  nod->close();

  AcDbDatabase back(false);
  RoundTrip(db, back, "dicts.dxf");
  std::vector<AcDbObjectId> ids = Entities(back);
  ASSERT_EQ(ids.size(), 1u);
  AcDbLine* l = Open<AcDbLine>(ids[0]);
  ASSERT_NE(l, nullptr);
  resbuf* got = l->xData(L"KXLevelmap");
  ASSERT_NE(got, nullptr);
  resbuf* r = got->rbnext;
  ASSERT_NE(r, nullptr);
  EXPECT_STREQ(r->resval.rstring, L"路测");
  r = r->rbnext;
  EXPECT_EQ(r->restype, 1040);
  EXPECT_EQ(r->resval.rreal, 0.125);
  r = r->rbnext;
  EXPECT_EQ(r->resval.rint, 42);
  r = r->rbnext;
  EXPECT_EQ(r->resval.rlong, 100000);
  r = r->rbnext;
  EXPECT_EQ(r->restype, 1010);
  EXPECT_EQ(r->resval.rpoint[2], 3.5);
  acutRelRb(got);
  AcDbObjectId backXdict = l->extensionDictionary();
  l->close();
  AcDbDictionary* d = Open<AcDbDictionary>(backXdict);
  ASSERT_NE(d, nullptr);
  AcDbXrecord* floors = nullptr;
  ASSERT_EQ(d->getAt(L"Floors", floors, AcDb::kForRead), Acad::eOk);
  resbuf* chain = nullptr;
  floors->rbChain(&chain);
  ASSERT_NE(chain, nullptr);
  ASSERT_NE(chain->rbnext, nullptr);
  EXPECT_STREQ(chain->rbnext->resval.rstring, L"3~5");
  acutRelRb(chain);
  floors->close();
  d->close();

  back.getNamedObjectsDictionary(nod, AcDb::kForRead);
  AcDbDictionary* ci = nullptr;
  ASSERT_EQ(nod->getAt(L"CaseInfo", ci, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(nod->has(L"ACAD_GROUP"));
  nod->close();
  AcDbXrecord* k = nullptr;
  ASSERT_EQ(ci->getAt(L"Key", k, AcDb::kForRead), Acad::eOk);
  k->rbChain(&chain);
  ASSERT_NE(chain, nullptr);
  EXPECT_STREQ(chain->resval.rstring, L"值");
  resbuf* ref = chain->rbnext->rbnext->rbnext;
  ASSERT_NE(ref, nullptr);
  EXPECT_EQ(ref->restype, 330);
  AcDbObjectId refId;
  acdbGetObjectId(refId, ref->resval.rlname);
  EXPECT_EQ(refId, ids[0]);  // the reference follows the object into the new database
  acutRelRb(chain);
  k->close();
  ci->close();
}

TEST(AcadRoundTrip, HatchesKeepTheirLoopsAndBoundaries) {
  AcDbDatabase db;
  AcDbObjectId circleId = Append(db, new AcDbCircle(AcGePoint3d(1, 1, 0), AcGeVector3d::kZAxis, 1));
  auto* hatch = new AcDbHatch();
  hatch->setPattern(AcDbHatch::kPreDefined, L"SOLID");
  hatch->setAssociative(true);
  hatch->setColorIndex(2);
  AcDbObjectIdArray ids;
  ids.append(circleId);
  hatch->appendLoop(AcDbHatch::kExternal, ids);
  ASSERT_EQ(hatch->evaluateHatch(), Acad::eOk);
  auto* pattern = new AcDbHatch();
  pattern->setPattern(AcDbHatch::kPreDefined, L"ANSI31");
  pattern->setPatternScale(2);
  pattern->appendLoop(AcDbHatch::kExternal, AcGePoint2dArray{AcGePoint2d(0, 0), AcGePoint2d(4, 0), AcGePoint2d(4, 3)},
                      AcGeDoubleArray{0, 0.5, 0});
  AcDbObjectId hatchId = Append(db, hatch);
  Append(db, pattern);
  AcDbDatabase back(false);
  RoundTrip(db, back, "hatch.dxf");
  std::vector<AcDbObjectId> got = Entities(back);
  ASSERT_EQ(got.size(), 3u);
  AcDbHatch* h = Open<AcDbHatch>(got[1]);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->objectId().handle(), hatchId.handle());
  EXPECT_TRUE(h->isSolidFill());
  EXPECT_TRUE(h->associative());
  EXPECT_EQ(h->colorIndex(), 2);
  double area;
  h->getArea(area);
  EXPECT_NEAR(area, 3.14159265358979323846, 1e-9);
  AcDbObjectIdArray boundary;
  h->getAssocObjIdsAt(0, boundary);
  ASSERT_EQ(boundary.length(), 1);
  EXPECT_EQ(boundary[0], got[0]);
  h->close();
  AcDbHatch* p = Open<AcDbHatch>(got[2]);
  ASSERT_NE(p, nullptr);
  EXPECT_STREQ(p->patternName(), L"ANSI31");
  EXPECT_EQ(p->patternScale(), 2.0);
  Adesk::Int32 type;
  AcGePoint2dArray verts;
  AcGeDoubleArray bulges;
  ASSERT_EQ(p->getLoopAt(0, type, verts, bulges), Acad::eOk);
  EXPECT_EQ(bulges[1], 0.5);
  p->close();
}

TEST(AcadRoundTrip, ErasedObjectsAreNotWritten) {
  AcDbDatabase db;
  AcDbObjectId keep = Append(db, new AcDbLine());
  AcDbObjectId gone = Append(db, new AcDbCircle(AcGePoint3d(), AcGeVector3d::kZAxis, 1));
  AcDbObject* obj = nullptr;
  acdbOpenObject(obj, gone, AcDb::kForWrite);
  obj->erase();
  obj->close();
  AcDbDatabase back(false);
  RoundTrip(db, back, "erased.dxf");
  std::vector<AcDbObjectId> ids = Entities(back);
  ASSERT_EQ(ids.size(), 1u);
  EXPECT_EQ(ids[0].handle(), keep.handle());
  AcDbObjectId byHandle;
  EXPECT_NE(back.getAcDbObjectId(byHandle, false, gone.handle()), Acad::eOk);
}

TEST(AcadFiles, SharingModesAndCloseInput) {
  AcDbDatabase db;
  Append(db, new AcDbLine());
  TempFile f("shared.dwg");  // DXF whatever the extension
  ASSERT_EQ(db.saveAs(f.wpath().c_str()), Acad::eOk);
  AcDbDatabase reader(false);
  ASSERT_EQ(reader.readDwgFile(f.wpath().c_str(), _SH_DENYWR), Acad::eOk);
  // Another reader may read; nobody may replace the file until the input is closed.
  AcDbDatabase second(false);
  EXPECT_EQ(second.readDwgFile(f.wpath().c_str(), _SH_DENYNO), Acad::eOk);
  EXPECT_EQ(db.saveAs(f.wpath().c_str()), Acad::eFileSharingViolation);
  AcDbDatabase exclusive(false);
  EXPECT_EQ(exclusive.readDwgFile(f.wpath().c_str(), _SH_DENYRW), Acad::eFileSharingViolation);
  reader.closeInput(true);
  EXPECT_EQ(db.saveAs(f.wpath().c_str()), Acad::eOk);
  // The reader itself may save over its own input.
  ASSERT_EQ(reader.readDwgFile(f.wpath().c_str(), _SH_DENYWR), Acad::eOk);
  EXPECT_EQ(reader.saveAs(f.wpath().c_str()), Acad::eOk);
  const ACHAR* name = nullptr;
  reader.getFilename(name);
  EXPECT_EQ(std::wstring(name), f.wpath());
  AcDbDatabase missing(false);
  EXPECT_EQ(missing.readDwgFile(L"/no/such/dir/x.dwg"), Acad::eFileNotFound);
  EXPECT_EQ(db.saveAs(L"/no/such/dir/x.dwg"), Acad::eFileAccessErr);
}

TEST(AcadFiles, InsertingADrawingAsABlock) {
  AcDbDatabase source;
  AcDbLayerTable* layers = nullptr;
  source.getLayerTable(layers, AcDb::kForWrite);
  auto* layer = new AcDbLayerTableRecord();
  layer->setName(L"Doors");
  layers->add(layer);
  layer->close();
  layers->close();
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0));
  line->setLayer(L"Doors");
  Append(source, line);
  Append(source, new AcDbCircle(AcGePoint3d(), AcGeVector3d::kZAxis, 1));
  AcDbDatabase target;
  AcDbObjectId blockId;
  ASSERT_EQ(target.insert(blockId, L"DOOR", &source), Acad::eOk);
  EXPECT_EQ(Entities(target, L"DOOR").size(), 2u);
  target.getLayerTable(layers, AcDb::kForRead);
  EXPECT_TRUE(layers->has(L"Doors"));
  layers->close();
  // A second insert under the same name with entities there is refused.
  AcDbObjectId again;
  EXPECT_NE(target.insert(again, L"DOOR", &source), Acad::eOk);
  // The source is unchanged and the block survives a save.
  EXPECT_EQ(Entities(source).size(), 2u);
  AcDbDatabase back(false);
  RoundTrip(target, back, "insert.dxf");
  EXPECT_EQ(Entities(back, L"DOOR").size(), 2u);
}
}  // namespace
