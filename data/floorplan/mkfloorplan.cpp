// mkfloorplan DXF-FILE: draws the sample floor plan of the demo, one floor of
// an office building 80 x 40 drawing units (metres) with a corridor along its
// middle, and saves it as DXF:
//   layer "墙体"     walls (lines), colour 250
//   layer "门"       doors: a leaf (line) and its swing (arc), colour 253
//   layer "房间名称" room names (text, Chinese), colour 251
//   layer "路测路线" the drive-test route: lightweight polylines through the
//                    corridor, into the lobby and round the meeting room
// Run by hand when the plan changes; data/office_floor.dxf is its output.
#include <cmath>
#include <cstdio>
#include <string>

#include "dbcolor.h"
#include "dbcurves.h"
#include "dbdatabase.h"
#include "dbpline.h"
#include "dbsymtb.h"
#include "dbtext.h"
#include "paths.h"

namespace {

AcDbDatabase* g_pDb = nullptr;

void AddLayer(const wchar_t* name, int color) {
  AcDbLayerTable* pTable = nullptr;
  g_pDb->getLayerTable(pTable, AcDb::kForWrite);
  auto* pLayer = new AcDbLayerTableRecord;
  pLayer->setName(name);
  AcCmColor c;
  c.setColorIndex(static_cast<Adesk::UInt16>(color));
  pLayer->setColor(c);
  pTable->add(pLayer);
  pLayer->close();
  pTable->close();
}

// Appends the entity to model space on the layer, in the layer's colour.
void Add(AcDbEntity* pEnt, const wchar_t* layer, int color) {
  pEnt->setLayer(layer);
  pEnt->setColorIndex(static_cast<Adesk::UInt16>(color));
  AcDbBlockTable* pTable = nullptr;
  AcDbBlockTableRecord* pSpace = nullptr;
  g_pDb->getBlockTable(pTable, AcDb::kForRead);
  pTable->getAt(ACDB_MODEL_SPACE, pSpace, AcDb::kForWrite);
  pSpace->appendAcDbEntity(pEnt);
  pSpace->close();
  pTable->close();
  pEnt->close();
}

void Wall(double x1, double y1, double x2, double y2) {
  Add(new AcDbLine(AcGePoint3d(x1, y1, 0), AcGePoint3d(x2, y2, 0)), L"墙体", 250);
}

// A door in a horizontal wall at y: the opening from x to x + w, the leaf
// standing open towards the room (dir +1 up, -1 down), hinged at x.
void Door(double x, double y, double w, int dir) {
  Add(new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x, y + dir * w, 0)), L"门", 253);
  double start = dir > 0 ? 0 : 1.5 * M_PI, end = dir > 0 ? 0.5 * M_PI : 2 * M_PI;
  Add(new AcDbArc(AcGePoint3d(x, y, 0), w, start, end), L"门", 253);
}

void Label(double x, double y, const wchar_t* text) {
  auto* pText = new AcDbText(AcGePoint3d(x, y, 0), text);
  pText->setHeight(1.6);
  Add(pText, L"房间名称", 251);
}

void Route(std::initializer_list<AcGePoint2d> pts, double bulgeAtSecond = 0.0) {
  auto* pPline = new AcDbPolyline;
  unsigned int i = 0;
  for (const AcGePoint2d& p : pts) pPline->addVertexAt(i++, p);
  if (bulgeAtSecond != 0.0) pPline->setBulgeAt(1, bulgeAtSecond);
  Add(pPline, L"路测路线", 5);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mkfloorplan DXF-FILE\n");
    return 2;
  }
  AcDbDatabase db(true, true);
  g_pDb = &db;
  AddLayer(L"墙体", 250);
  AddLayer(L"门", 253);
  AddLayer(L"房间名称", 251);
  AddLayer(L"路测路线", 5);

  // Outer walls and the corridor's walls (y = 16 and y = 24), with the
  // door openings left out.
  Wall(0, 0, 80, 0);
  Wall(80, 0, 80, 40);
  Wall(80, 40, 0, 40);
  Wall(0, 40, 0, 0);
  const double kDoor = 1.2;
  const double rooms[] = {0, 16, 32, 48, 64, 80};
  for (double y : {16.0, 24.0}) {
    for (int i = 0; i < 5; ++i) {
      double x0 = rooms[i], x1 = rooms[i + 1];
      double door = x0 + 2.0;
      Wall(x0, y, door, y);
      Wall(door + kDoor, y, x1, y);
      Door(door, y, kDoor, y > 20 ? 1 : -1);
    }
  }
  // Room walls across the two rows.
  for (int i = 1; i < 5; ++i) {
    Wall(rooms[i], 0, rooms[i], 16);
    Wall(rooms[i], 24, rooms[i], 40);
  }

  const wchar_t* upper[] = {L"办公室一", L"办公室二", L"会议室", L"机房", L"茶水间"};
  const wchar_t* lower[] = {L"大堂", L"电梯厅", L"办公室三", L"办公室四", L"卫生间"};
  for (int i = 0; i < 5; ++i) {
    Label(rooms[i] + 4.5, 33, upper[i]);
    Label(rooms[i] + 5.5, 7, lower[i]);
  }
  Label(36, 21.5, L"走廊");

  // The route: the corridor end to end, a loop through the lobby and a round
  // through the meeting room with an arc.
  Route({AcGePoint2d(2, 20), AcGePoint2d(78, 20)});
  Route({AcGePoint2d(2.6, 15), AcGePoint2d(2.6, 4), AcGePoint2d(12, 4), AcGePoint2d(12, 12)});
  Route({AcGePoint2d(34.6, 25), AcGePoint2d(34.6, 30), AcGePoint2d(44, 30), AcGePoint2d(44, 36)}, 0.6);

  std::wstring file = win::ToWindowsPath(argv[1]);
  Acad::ErrorStatus es = db.saveAs(file.c_str());
  if (es != Acad::eOk) {
    std::fprintf(stderr, "mkfloorplan: cannot save %s\n", argv[1]);
    return 1;
  }
  return 0;
}
