// The DXF reader's header and tables: the header variables once their code
// page is known, the symbol tables and their records, and the tables and
// records a drawing needs when the file left them out.
#include <algorithm>
#include <string>
#include <vector>

#include "dbdict.h"
#include "dbsymtb.h"
#include "dxfloader.h"
#include "textconv.h"

namespace acdbdxf {

bool DxfLoader::readHeader() {
  // The variables are gathered first: the code page their text is written
  // in is one of them, and need not come first.
  std::vector<std::pair<std::string, std::vector<AcDbDxfPair>>> vars;
  AcDbDxfPair p;
  while (m_in.next(p)) {
    if (Is(p, 0, "ENDSEC")) {
      applyHeader(vars);
      return true;
    }
    if (p.code == 0) break;
    if (p.code == 9) vars.emplace_back(std::string(TrimView(p.value)), std::vector<AcDbDxfPair>());
    else if (!vars.empty()) vars.back().second.push_back(p);
  }
  m_in.fail();
  return false;
}

void DxfLoader::applyHeader(const std::vector<std::pair<std::string, std::vector<AcDbDxfPair>>>& vars) {
  auto first = [](const std::vector<AcDbDxfPair>& values, int code) -> std::string_view {
    for (const AcDbDxfPair& v : values)
      if (v.code == code) return TrimView(v.value);
    return {};
  };
  std::string_view version, codePage;
  for (const auto& [name, values] : vars) {
    if (name == "$ACADVER") version = first(values, 1);
    if (name == "$DWGCODEPAGE") codePage = first(values, 3);
  }
  if (!version.empty()) m_pDb->m_version = win::Utf8ToWide(version);
  // From release 2007 on text is UTF-8; before, it is in the drawing's code page.
  if (version.size() >= 6 && version.substr(0, 2) == "AC" && version.substr(2) >= "1021") {
    m_codePage.setUtf8();
  } else if (!m_codePage.setCodePage(codePage)) {
    m_repairs.haveUnknownCodePage = true;
    m_repairs.unknownCodePage = std::string(codePage);
  }
  // Names read before the header (tables written first) were read in another code page.
  m_record.forgetSharedTexts();
  AcDbDxfRecord r(m_pDb, &m_codePage);
  for (const auto& [name, values] : vars) {
    if (name == "$HANDSEED") {
      AcDbHandle seed = acdbParseHandle(first(values, 5));
      m_pDb->noteHandle(AcDbHandle(seed.value() ? seed.value() - 1 : 0));
    } else if (name == "$CLAYER") {
      m_clayer = r.text(first(values, 8));
    } else if (name == "$CELTYPE") {
      m_celtype = r.text(first(values, 6));
    } else if (name == "$TEXTSTYLE") {
      m_textstyle = r.text(first(values, 7));
    } else if (name == "$CECOLOR") {
      AcCmColor c;
      c.setColorIndex(static_cast<Adesk::UInt16>(std::clamp<long long>(AcDbDxfRecord::integer(first(values, 62)), 0, 256)));
      m_pDb->setCecolor(c);
    } else if (name == "$LTSCALE") {
      double v = AcDbDxfRecord::real(first(values, 40));
      if (v > 0) m_pDb->setLtscale(v);
    } else if (name == "$CELTSCALE") {
      double v = AcDbDxfRecord::real(first(values, 40));
      if (v > 0) m_pDb->setCeltscale(v);
    } else if (name == "$TEXTSIZE") {
      double v = AcDbDxfRecord::real(first(values, 40));
      if (v > 0) m_pDb->setTextsize(v);
    } else if (name == "$INSBASE") {
      m_pDb->setInsbase(AcGePoint3d(AcDbDxfRecord::real(first(values, 10)), AcDbDxfRecord::real(first(values, 20)),
                                    AcDbDxfRecord::real(first(values, 30))));
    }
    AcDbRawPairs raw;
    for (const AcDbDxfPair& v : values) raw.pairs.push_back(rawPair(v));
    m_pDb->m_header.push_back({name, std::move(raw)});
  }
}

bool DxfLoader::readTables() {
  m_bTablesRead = true;
  Record rec;
  while (readRecord(rec)) {
    if (rec.type == "ENDSEC") return true;
    if (rec.type != "TABLE") {
      m_in.fail();
      return false;
    }
    if (!readTable(rec)) return false;
  }
  m_in.fail();
  return false;
}

bool DxfLoader::readTable(const Record& tableRec) {
  std::wstring name;
  AcDbHandle handle;
  for (const AcDbDxfPair& p : tableRec.pairs) {
    if (p.code == 2 && name.empty()) name = m_codePage.decode(TrimView(p.value));
    if (p.code == 5) handle = acdbParseHandle(p.value);
  }
  AcDbSymbolTable* table = nullptr;
  if (name == L"BLOCK_RECORD") table = new AcDbBlockTable();
  else if (name == L"LAYER") table = new AcDbLayerTable();
  else if (name == L"LTYPE") table = new AcDbLinetypeTable();
  else if (name == L"STYLE") table = new AcDbTextStyleTable();
  else if (name == L"VIEW") table = new AcDbViewTable();
  else if (name == L"APPID") table = new AcDbRegAppTable();

  if (table && !m_pDb->tableIdByName(name).isNull()) {
    delete table;  // a second table of a kind: kept as read
    table = nullptr;
  }
  AcDbRawPairs raw;
  AcDbObjectId tableId;
  if (table) {
    tableId = m_pDb->addWithHandle(table, handle);
    m_pDb->setTableId(name, tableId);
  } else {
    noteHandles(tableRec.pairs);
    raw.pairs.emplace_back(0, "TABLE");
    for (const AcDbDxfPair& p : tableRec.pairs) raw.pairs.push_back(rawPair(p));
  }
  Record rec;
  while (readRecord(rec)) {
    if (rec.type == "ENDTAB") {
      if (!table) m_pDb->m_rawTables.push_back({win::WideToUtf8(name), std::move(raw)});
      return true;
    }
    if (rec.type == "ENDSEC" || rec.type == "EOF" || rec.type == "TABLE") break;
    if (!table) {
      noteHandles(rec.pairs);
      raw.pairs.emplace_back(0, std::string(rec.type));
      for (const AcDbDxfPair& p : rec.pairs) raw.pairs.push_back(rawPair(p));
      continue;
    }
    AcRxObject* made = table->recordClass()->create();
    auto* record = AcDbSymbolTableRecord::cast(made);
    if (!record) {
      delete made;
      continue;
    }
    AcDbHandle h;
    for (const AcDbDxfPair& p : rec.pairs)
      if (p.code == 5 || p.code == 105) { h = acdbParseHandle(p.value); break; }
    const AcDbDxfRecord& dr = makeDxfRecord(rec);
    // Records without a name, or a second record of a name, are left out.
    if (record->dxfIn(dr) != Acad::eOk || table->has(record->name())) {
      delete record;
      m_pDb->noteHandle(h);
      ++m_repairs.droppedRecords;
      continue;
    }
    record->setOwnerId(tableId);
    AcDbObjectId id = m_pDb->addWithHandle(record, h);
    table->adoptRecord(id);
  }
  m_in.fail();
  return false;
}

AcDbObjectId DxfLoader::blockRecord(const std::wstring& name, AcDbHandle handle) {
  auto* blocks = ObjectOf<AcDbBlockTable>(m_pDb->blockTableId());
  if (!blocks) {
    m_pDb->setTableId(L"BLOCK_RECORD", m_pDb->addWithHandle(new AcDbBlockTable(), {}));
    blocks = ObjectOf<AcDbBlockTable>(m_pDb->blockTableId());
  }
  AcDbObjectId id;
  if (blocks->getAt(name.c_str(), id) == Acad::eOk) return id;
  // Older files have no block records: the block makes its own.
  auto* rec = new AcDbBlockTableRecord();
  if (rec->setName(name.c_str()) != Acad::eOk) {
    // Names other programs allow but the host does not are kept as they are.
    delete rec;
    rec = new AcDbBlockTableRecord();
    rec->setName(L"*U");
  }
  AcDbDxfRecord nameOnly(m_pDb, nullptr);
  std::string utf8 = win::WideToUtf8(name);
  nameOnly.pairs.push_back({2, utf8});
  rec->dxfInFields(nameOnly);
  rec->setOwnerId(m_pDb->blockTableId());
  id = m_pDb->addWithHandle(rec, handle);
  blocks->adoptRecord(id);
  return id;
}

void DxfLoader::ensureDefaults() {
  auto ensureTable = [this](const wchar_t* name, AcDbSymbolTable* (*make)()) {
    if (ObjectOf<AcDbSymbolTable>(m_pDb->tableIdByName(name))) return;
    m_pDb->setTableId(name, m_pDb->addWithHandle(make(), {}));
  };
  ensureTable(L"BLOCK_RECORD", [] { return static_cast<AcDbSymbolTable*>(new AcDbBlockTable()); });
  ensureTable(L"LAYER", [] { return static_cast<AcDbSymbolTable*>(new AcDbLayerTable()); });
  ensureTable(L"LTYPE", [] { return static_cast<AcDbSymbolTable*>(new AcDbLinetypeTable()); });
  ensureTable(L"STYLE", [] { return static_cast<AcDbSymbolTable*>(new AcDbTextStyleTable()); });
  ensureTable(L"VIEW", [] { return static_cast<AcDbSymbolTable*>(new AcDbViewTable()); });
  ensureTable(L"APPID", [] { return static_cast<AcDbSymbolTable*>(new AcDbRegAppTable()); });

  auto ensureRecord = [this](const wchar_t* table, const wchar_t* name, AcDbSymbolTableRecord* rec) {
    auto* t = ObjectOf<AcDbSymbolTable>(m_pDb->tableIdByName(table));
    if (t->has(name)) {
      delete rec;
      return;
    }
    rec->setName(name);
    rec->setOwnerId(t->objectId());
    t->adoptRecord(m_pDb->addWithHandle(rec, {}));
  };
  ensureRecord(L"LAYER", L"0", new AcDbLayerTableRecord());
  ensureRecord(L"LTYPE", L"ByBlock", new AcDbLinetypeTableRecord());
  ensureRecord(L"LTYPE", L"ByLayer", new AcDbLinetypeTableRecord());
  ensureRecord(L"LTYPE", L"Continuous", new AcDbLinetypeTableRecord());
  ensureRecord(L"STYLE", L"Standard", new AcDbTextStyleTableRecord());
  ensureRecord(L"APPID", L"ACAD", new AcDbRegAppTableRecord());
  blockRecord(ACDB_MODEL_SPACE, {});
  blockRecord(ACDB_PAPER_SPACE, {});
  if (!ObjectOf<AcDbDictionary>(m_pDb->namedObjectsDictionaryId()))
    m_pDb->setNamedObjectsDictionaryId(m_pDb->addWithHandle(new AcDbDictionary(), {}));

  auto find = [this](const wchar_t* table, const std::wstring& name, const wchar_t* fallback) {
    auto* t = ObjectOf<AcDbSymbolTable>(m_pDb->tableIdByName(table));
    AcDbObjectId id;
    if (name.empty() || t->getAt(name.c_str(), id) != Acad::eOk) t->getAt(fallback, id);
    return id;
  };
  m_pDb->setCurrentIds(find(L"LAYER", m_clayer, L"0"), find(L"LTYPE", m_celtype, L"ByLayer"),
                       find(L"STYLE", m_textstyle, L"Standard"));
  // Tables the writer needs as other programs expect them.
  for (const char* name : {"VPORT", "UCS", "DIMSTYLE"}) {
    bool have = false;
    for (const auto& t : m_pDb->m_rawTables) have = have || t.first == name;
    if (have) continue;
    AcDbRawPairs raw;
    AcDbHandle h = m_pDb->reserveHandle();
    ACHAR wbuf[20];
    h.getIntoAsciiBuffer(wbuf, 20);
    raw.pairs = {{0, "TABLE"}, {2, name}, {5, win::WideToUtf8(wbuf)}, {330, "0"}, {100, "AcDbSymbolTable"}, {70, "0"}};
    m_pDb->m_rawTables.push_back({name, raw});
  }
}

}  // namespace acdbdxf
