// Reading DXF text (release 12 onward) into a database. The reader works
// record by record over the file held in memory: one pair is a group-code
// line and a value line. What other programs write but the format does not
// quite allow is repaired where the drawing can be saved whole, and each
// kind of repair is noted for the host to show; anything else malformed ends
// the read with an error status and leaves a default drawing.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "db2dpline.h"
#include "db3dpline.h"
#include "dbblkref.h"
#include "dbcurves.h"
#include "dbdatabase.h"
#include "dbdict.h"
#include "dbhatch.h"
#include "dbpline.h"
#include "dbpoint.h"
#include "dbproxy.h"
#include "dbregion.h"
#include "dbstub.h"
#include "dbsymtb.h"
#include "dbtext.h"
#include "paths.h"
#include "textconv.h"

namespace {

template <class T>
T* ObjectOf(AcDbObjectId id) {
  AcDbStub* s = id.stub();
  return s && s->m_pObject ? T::cast(s->m_pObject) : nullptr;
}

// Splits the text into pairs, one at a time, with one pair of look-ahead.
class PairReader {
 public:
  explicit PairReader(std::string_view text) : m_text(text) {
    // A byte-order mark is not part of the first line.
    if (m_text.size() >= 3 && std::memcmp(m_text.data(), "\xEF\xBB\xBF", 3) == 0) m_pos = 3;
  }

  // False at the end of the text; sets m_bError when a pair is malformed.
  bool next(AcDbDxfPair& pair) {
    if (m_bHavePeek) {
      m_bHavePeek = false;
      pair = m_peek;
      return true;
    }
    for (;;) {
      m_lastPairStart = m_pos;
      if (m_pos >= m_text.size()) return false;
      long long code;
      std::string_view value;
      if (!readCode(code) || !line(value) || code < -5 || code > 1071) {
        m_bError = true;  // a code that is no number, or without its value: the file was cut short
        return false;
      }
      if (code == 999) continue;  // a comment
      pair.code = static_cast<int>(code);
      pair.value = value;
      return true;
    }
  }

  // The next pair of the record being read: false at the next 0 group (left
  // for the next record) and at the end.
  bool nextInRecord(AcDbDxfPair& pair) {
    if (!next(pair)) return false;
    if (pair.code != 0) return true;
    m_peek = pair;
    m_bHavePeek = true;
    return false;
  }

  bool peek(AcDbDxfPair& pair) {
    if (!m_bHavePeek) {
      if (!next(m_peek)) return false;
      m_bHavePeek = true;
    }
    pair = m_peek;
    return true;
  }

  bool error() const { return m_bError; }
  void fail() { m_bError = true; }
  // Where the last pair read (or looked at) starts: nothing before it is
  // needed any more once the records before it are in the database.
  size_t lastPairStart() const { return m_lastPairStart; }
  const char* base() const { return m_text.data(); }

 private:
  // The group-code line. Codes are short, right-aligned numbers: parsed here
  // directly as the line is passed over, with the general integer parser for
  // anything unusual (tabs, signs, "1.0", a last line without its end).
  bool readCode(long long& code) {
    const char* s = m_text.data();
    size_t n = m_text.size(), i = m_pos;
    while (i < n && s[i] == ' ') ++i;
    size_t first = i;
    long long v = 0;
    while (i < n && i - first < 5 && s[i] >= '0' && s[i] <= '9') v = v * 10 + (s[i++] - '0');
    if (i < n && s[i] == '\r') ++i;
    if (i > first && i < n && s[i] == '\n') {
      m_pos = i + 1;
      code = v;
      return true;
    }
    std::string_view text;
    return line(text) && acdbParseInt(text, code);
  }

  bool line(std::string_view& out) {
    if (m_pos >= m_text.size()) return false;
    const char* start = m_text.data() + m_pos;
    const void* nl = std::memchr(start, '\n', m_text.size() - m_pos);
    size_t len = nl ? static_cast<size_t>(static_cast<const char*>(nl) - start) : m_text.size() - m_pos;
    m_pos += len + (nl ? 1 : 0);
    if (len > 0 && start[len - 1] == '\r') --len;
    out = std::string_view(start, len);
    return true;
  }

  std::string_view m_text;
  size_t m_pos = 0;
  size_t m_lastPairStart = 0;
  AcDbDxfPair m_peek{};
  bool m_bHavePeek = false;
  bool m_bError = false;
};

std::string_view TrimView(std::string_view v) {
  while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
  while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
  return v;
}

bool Is(const AcDbDxfPair& p, int code, std::string_view value) { return p.code == code && TrimView(p.value) == value; }

AcDbHandle HandleOf(std::string_view v) {
  v = TrimView(v);
  if (v.empty() || v.size() > 16) return {};
  char buf[17];
  std::memcpy(buf, v.data(), v.size());
  buf[v.size()] = 0;
  return AcDbHandle(buf);
}

// From this size on the objects of a file are made in the database's arena.
constexpr size_t kArenaFileSize = size_t(1) << 20;

// What the read repaired, counted by kind.
struct Repairs {
  size_t emptySections = 0;
  size_t droppedRecords = 0;
  bool noTables = false;
  std::string unknownCodePage;
  bool haveUnknownCodePage = false;

  std::vector<std::wstring> lines(size_t renumbered) const {
    std::vector<std::wstring> out;
    auto counted = [&](size_t n, const char* one, const char* many) {
      if (n == 0) return;
      char buf[160];
      if (n == 1) std::snprintf(buf, sizeof buf, "%s", one);
      else std::snprintf(buf, sizeof buf, many, n);
      out.push_back(win::Utf8ToWide(buf));
    };
    counted(renumbered, "1 duplicate handle renumbered", "%zu duplicate handles renumbered");
    counted(emptySections, "an empty section ignored", "%zu empty sections ignored");
    if (noTables) out.push_back(L"no TABLES section: defaults used");
    counted(droppedRecords, "1 table record without a name or with a name used twice left out",
            "%zu table records without a name or with a name used twice left out");
    if (haveUnknownCodePage)
      out.push_back(L"code page \"" + win::Utf8ToWide(unknownCodePage) + L"\" unknown: text read as Latin-1");
    return out;
  }
};

class DxfLoader {
 public:
  DxfLoader(AcDbDatabase* db, std::string_view text, bool mapped)
      : m_pDb(db), m_in(text), m_bMapped(mapped), m_bArena(text.size() >= kArenaFileSize), m_nSize(text.size()) {}

  Acad::ErrorStatus load();
  std::vector<std::wstring> repairLines() const { return m_repairs.lines(m_pDb->handlesRenumbered()); }

 private:
  // One record: its type and the pairs up to the next 0 group, with what
  // the reader asks of them noted as they are read (one pass over them).
  struct Record {
    std::string_view type;
    std::vector<AcDbDxfPair> pairs;
    size_t firstXdata = 0;   // the index of the first 1001 pair (the size without one)
    bool paperSpace = false;  // 67 = 1: an entity of the active layout
  };
  bool readRecord(Record& rec);
  bool skipSection();
  bool readHeader();
  // The header variables once the code page they are written in is known.
  void applyHeader(const std::vector<std::pair<std::string, std::vector<AcDbDxfPair>>>& vars);
  bool readRaw(AcDbRawPairs& raw);
  // A pair kept as read, its text as UTF-8.
  std::pair<int, std::string> rawPair(const AcDbDxfPair& p) const { return {p.code, m_codePage.toUtf8(p.value)}; }
  // The block of the active paper-space layout (made when the file has none).
  AcDbObjectId paperSpaceId();
  // Lets go of the mapped pages of the records already read.
  void releaseRead();
  // A new object for the drawing: in the database's arena when the file is
  // large enough for it to matter, with its vertices or text there too.
  template <class T>
  T* make() {
    if (!m_bArena) return new T();
    AcDbObjectArena& arena = m_pDb->objectArena();
    if constexpr (std::is_constructible_v<T, std::pmr::memory_resource&>) return new (arena) T(arena);
    else return new (arena) T();
  }
  bool readTables();
  bool readTable(const Record& tableRec);
  bool readBlocks();
  bool readEntities(AcDbObjectId blockId, std::string_view endType, Record* end);
  bool readObjects();
  void addEntity(Record& rec, std::vector<Record>* followers, AcDbObjectId blockId);
  // A POLYLINE with its VERTEX and SEQEND records as a modelled polyline;
  // null for kinds kept as read or vertices that do not fit.
  AcDbEntity* readOldPolyline(const Record& rec, const std::vector<Record>& followers);
  template <class Poly>
  Poly* readSequence(const Record& rec, const std::vector<Record>& followers);
  // The record an object reads from; one buffer serves every object in turn.
  const AcDbDxfRecord& makeDxfRecord(const Record& rec);
  // The same, lent the record's own pairs rather than a copy of them: the
  // record has them back (xdata included) from giveBack.
  const AcDbDxfRecord& lendPairs(Record& rec);
  void giveBack(Record& rec);
  AcDbRawRecord makeRaw(const Record& rec, const std::vector<Record>* followers) const;
  AcDbObjectId blockRecord(const std::wstring& name, AcDbHandle handle);
  void ensureDefaults();
  void noteHandles(const std::vector<AcDbDxfPair>& pairs);

  AcDbDatabase* m_pDb;
  PairReader m_in;
  bool m_bMapped;
  bool m_bArena;
  size_t m_nSize;
  size_t m_nReleased = 0;     // bytes of the mapped text let go of
  size_t m_nMappedAhead = 0;  // bytes of it mapped ahead of the reader
  AcDbDxfCodePage m_codePage;
  bool m_bTablesRead = false;
  AcDbDxfRecord m_record{nullptr, nullptr};
  AcDbObjectId m_paperId;
  std::wstring m_clayer, m_celtype, m_textstyle;
  Repairs m_repairs;
};

void DxfLoader::releaseRead() {
  // In steps of a few megabytes: each step is one call to the kernel.
  constexpr size_t kStep = size_t(8) << 20;
  static_assert(kStep % 4096 == 0);
  size_t read = m_in.lastPairStart();
  if (!m_bMapped || read + kStep < m_nMappedAhead) return;
  size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  char* base = const_cast<char*>(m_in.base());
  // The pages are the file's and unchanged: should they be touched again
  // they are read back from it.
  size_t upTo = read - read % page;
  if (upTo > m_nReleased) {
    ::madvise(base + m_nReleased, upTo - m_nReleased, MADV_DONTNEED);
    m_nReleased = upTo;
  }
  // The pages ahead are mapped in one call rather than one fault every few
  // pages (only a hint: kernels without it fault them in as before).
  size_t ahead = std::min(m_nSize, read - read % page + 2 * kStep);
  if (ahead > m_nMappedAhead) {
    ::madvise(base + m_nMappedAhead, ahead - m_nMappedAhead, MADV_POPULATE_READ);
    m_nMappedAhead = ahead;
  }
}

AcDbObjectId DxfLoader::paperSpaceId() {
  if (m_paperId.isNull()) m_paperId = blockRecord(ACDB_PAPER_SPACE, {});
  return m_paperId;
}

bool DxfLoader::readRecord(Record& rec) {
  AcDbDxfPair p;
  if (!m_in.next(p)) return false;
  if (p.code != 0) {
    m_in.fail();
    return false;
  }
  rec.type = TrimView(p.value);
  rec.pairs.clear();
  rec.firstXdata = SIZE_MAX;
  rec.paperSpace = false;
  AcDbDxfPair q;
  while (m_in.nextInRecord(q)) {
    if (q.code >= 67) {
      if (q.code == 1001 && rec.firstXdata == SIZE_MAX) rec.firstXdata = rec.pairs.size();
      else if (q.code == 67 && AcDbDxfRecord::integer(q.value) == 1) rec.paperSpace = true;
    }
    rec.pairs.push_back(q);
  }
  if (rec.firstXdata == SIZE_MAX) rec.firstXdata = rec.pairs.size();
  return !m_in.error();
}

void DxfLoader::noteHandles(const std::vector<AcDbDxfPair>& pairs) {
  for (const AcDbDxfPair& p : pairs)
    if (p.code == 5 || p.code == 105) m_pDb->noteHandle(HandleOf(p.value));
}

const AcDbDxfRecord& DxfLoader::makeDxfRecord(const Record& rec) {
  AcDbDxfRecord& r = m_record;
  r.reset(m_pDb, &m_codePage);
  auto xdata = rec.pairs.begin() + static_cast<ptrdiff_t>(rec.firstXdata);
  r.pairs.assign(rec.pairs.begin(), xdata);
  r.xdata.assign(xdata, rec.pairs.end());
  return r;
}

const AcDbDxfRecord& DxfLoader::lendPairs(Record& rec) {
  AcDbDxfRecord& r = m_record;
  r.reset(m_pDb, &m_codePage);
  r.pairs.swap(rec.pairs);
  if (rec.firstXdata < r.pairs.size()) {
    auto xdata = r.pairs.begin() + static_cast<ptrdiff_t>(rec.firstXdata);
    r.xdata.assign(xdata, r.pairs.end());
    r.pairs.erase(xdata, r.pairs.end());
  }
  return r;
}

void DxfLoader::giveBack(Record& rec) {
  AcDbDxfRecord& r = m_record;
  rec.pairs.swap(r.pairs);
  rec.pairs.insert(rec.pairs.end(), r.xdata.begin(), r.xdata.end());
  r.pairs.clear();
  r.xdata.clear();
}

AcDbRawRecord DxfLoader::makeRaw(const Record& rec, const std::vector<Record>* followers) const {
  AcDbRawRecord raw;
  raw.type = std::string(rec.type);
  for (const AcDbDxfPair& p : rec.pairs) raw.pairs.push_back(rawPair(p));
  if (followers)
    for (const Record& f : *followers) {
      raw.pairs.emplace_back(0, std::string(f.type));
      for (const AcDbDxfPair& p : f.pairs) raw.pairs.push_back(rawPair(p));
    }
  return raw;
}

bool DxfLoader::readRaw(AcDbRawPairs& raw) {
  // Everything up to the section's end.
  AcDbDxfPair p;
  while (m_in.next(p)) {
    if (Is(p, 0, "ENDSEC")) return true;
    raw.pairs.push_back(rawPair(p));
  }
  m_in.fail();
  return false;
}

bool DxfLoader::skipSection() {
  AcDbDxfPair p;
  while (m_in.next(p))
    if (Is(p, 0, "ENDSEC")) return true;
  m_in.fail();
  return false;
}

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
      AcDbHandle seed = HandleOf(first(values, 5));
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
    if (p.code == 5) handle = HandleOf(p.value);
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
      if (p.code == 5 || p.code == 105) { h = HandleOf(p.value); break; }
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

bool DxfLoader::readBlocks() {
  Record rec;
  while (readRecord(rec)) {
    if (rec.type == "ENDSEC") return true;
    if (rec.type != "BLOCK") {
      m_in.fail();
      return false;
    }
    std::wstring name;
    AcDbHandle begin, owner;
    AcGePoint3d origin;
    int flags = 0;
    const AcDbDxfRecord& dr = makeDxfRecord(rec);
    for (size_t i = 0; i < dr.pairs.size(); ++i) {
      const AcDbDxfPair& p = dr.pairs[i];
      if (p.code == 2 && name.empty()) name = dr.text(p.value);
      else if (p.code == 5) begin = HandleOf(p.value);
      else if (p.code == 330) owner = HandleOf(p.value);
      else if (p.code == 70) flags = static_cast<int>(AcDbDxfRecord::integer(p.value));
      else if (p.code == 10) origin = AcDbDxfRecord::point(dr.pairs, i);
    }
    if (name.empty()) {
      m_in.fail();
      return false;
    }
    AcDbObjectId blockId = blockRecord(name, {});
    auto* block = ObjectOf<AcDbBlockTableRecord>(blockId);
    block->setOrigin(origin);
    block->setFlags(static_cast<Adesk::Int16>(flags));
    m_pDb->noteHandle(begin);
    block->m_beginHandle = begin;
    Record end;
    if (!readEntities(blockId, "ENDBLK", &end)) return false;
    for (const AcDbDxfPair& p : end.pairs)
      if (p.code == 5) {
        block->m_endHandle = HandleOf(p.value);
        m_pDb->noteHandle(block->m_endHandle);
      }
  }
  m_in.fail();
  return false;
}

bool DxfLoader::readEntities(AcDbObjectId blockId, std::string_view endType, Record* end) {
  Record rec;
  while (readRecord(rec)) {
    if (rec.type == endType) {
      if (end) *end = rec;
      return true;
    }
    if (rec.type == "ENDSEC" || rec.type == "EOF" || rec.type == "BLOCK" || rec.type == "SECTION") break;
    // Sub-entities follow their owner up to SEQEND.
    std::vector<Record> followers;
    bool hasFollowers = rec.type == "POLYLINE";
    if (rec.type == "INSERT")
      for (const AcDbDxfPair& p : rec.pairs)
        if (p.code == 66 && AcDbDxfRecord::integer(p.value) == 1) hasFollowers = true;
    if (hasFollowers) {
      Record sub;
      bool closed = false;
      while (readRecord(sub)) {
        if (sub.type != "VERTEX" && sub.type != "ATTRIB" && sub.type != "SEQEND") {
          // A sequence without its end: the record read belongs to the block again.
          m_in.fail();
          return false;
        }
        followers.push_back(sub);
        if (sub.type == "SEQEND") {
          closed = true;
          break;
        }
      }
      if (!closed) break;
    }
    // In the ENTITIES section 67 = 1 marks an entity of the active layout.
    AcDbObjectId target = blockId;
    if (endType == "ENDSEC" && rec.paperSpace) target = paperSpaceId();
    addEntity(rec, hasFollowers ? &followers : nullptr, target);
    releaseRead();
  }
  m_in.fail();
  return false;
}

template <class Poly>
Poly* DxfLoader::readSequence(const Record& rec, const std::vector<Record>& followers) {
  auto* poly = new Poly();
  bool ok = poly->dxfIn(makeDxfRecord(rec)) == Acad::eOk;
  for (size_t i = 0; ok && i < followers.size(); ++i) {
    const Record& f = followers[i];
    if (f.type == "VERTEX") {
      ok = poly->dxfInVertex(makeDxfRecord(f)) == Acad::eOk;
    } else if (f.type == "SEQEND") {
      for (const AcDbDxfPair& p : f.pairs)
        if (p.code == 5) poly->setSeqendHandle(HandleOf(p.value));
    } else {
      ok = false;  // attributes belong to block references
    }
  }
  if (ok) return poly;
  delete poly;
  return nullptr;
}

AcDbEntity* DxfLoader::readOldPolyline(const Record& rec, const std::vector<Record>& followers) {
  long long flags = 0;
  for (const AcDbDxfPair& p : rec.pairs)
    if (p.code == 70) flags = AcDbDxfRecord::integer(p.value);
  // Meshes and polyface meshes are kept as read.
  if (flags & (16 | 64)) return nullptr;
  if (flags & 8) return readSequence<AcDb3dPolyline>(rec, followers);
  return readSequence<AcDb2dPolyline>(rec, followers);
}

void DxfLoader::addEntity(Record& rec, std::vector<Record>* followers, AcDbObjectId blockId) {
  AcDbEntity* ent = nullptr;
  if (!followers) {
    if (rec.type == "LINE") ent = make<AcDbLine>();
    else if (rec.type == "ARC") ent = make<AcDbArc>();
    else if (rec.type == "CIRCLE") ent = make<AcDbCircle>();
    else if (rec.type == "ELLIPSE") ent = make<AcDbEllipse>();
    else if (rec.type == "LWPOLYLINE") ent = make<AcDbPolyline>();
    else if (rec.type == "POINT") ent = make<AcDbPoint>();
    else if (rec.type == "TEXT") ent = make<AcDbText>();
    else if (rec.type == "MTEXT") ent = make<AcDbMText>();
    else if (rec.type == "INSERT") ent = make<AcDbBlockReference>();
    else if (rec.type == "HATCH") ent = make<AcDbHatch>();
    else if (rec.type == "REGION") ent = make<AcDbRegion>();
  }
  AcDbHandle h;
  for (const AcDbDxfPair& p : rec.pairs)
    if (p.code == 5) { h = HandleOf(p.value); break; }
  if (followers)
    for (const Record& f : *followers) noteHandles(f.pairs);
  if (followers && rec.type == "POLYLINE") ent = readOldPolyline(rec, *followers);
  const AcDbDxfRecord& dr = lendPairs(rec);
  if (ent && !followers && ent->dxfIn(dr) != Acad::eOk) {
    delete ent;  // kept as read instead
    ent = nullptr;
  }
  if (!ent) {
    auto* proxy = make<AcDbProxyEntity>();
    proxy->dxfIn(dr);
    giveBack(rec);
    proxy->setRaw(makeRaw(rec, followers));
    ent = proxy;
  } else {
    giveBack(rec);
  }
  ent->setOwnerId(blockId);
  AcDbObjectId id = m_pDb->addWithHandle(ent, h);
  ObjectOf<AcDbBlockTableRecord>(blockId)->adoptEntity(id);
}

bool DxfLoader::readObjects() {
  Record rec;
  bool first = true;
  while (readRecord(rec)) {
    if (rec.type == "ENDSEC") return true;
    if (rec.type == "EOF") break;
    AcDbObject* obj = nullptr;
    if (rec.type == "DICTIONARY") obj = make<AcDbDictionary>();
    else if (rec.type == "XRECORD") obj = make<AcDbXrecord>();
    AcDbHandle h;
    for (const AcDbDxfPair& p : rec.pairs)
      if (p.code == 5) { h = HandleOf(p.value); break; }
    const AcDbDxfRecord& dr = makeDxfRecord(rec);
    if (obj && obj->dxfIn(dr) != Acad::eOk) {
      delete obj;
      obj = nullptr;
    }
    if (!obj) {
      auto* proxy = make<AcDbProxyObject>();
      proxy->dxfIn(dr);
      proxy->setRaw(makeRaw(rec, nullptr));
      obj = proxy;
    }
    AcDbObjectId id = m_pDb->addWithHandle(obj, h);
    // The first dictionary of the section is the named-object dictionary.
    if (first && AcDbDictionary::cast(obj)) m_pDb->setNamedObjectsDictionaryId(id);
    first = false;
    releaseRead();
  }
  m_in.fail();
  return false;
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

Acad::ErrorStatus DxfLoader::load() {
  AcDbDxfPair p;
  AcDbObjectId modelId;
  bool anySection = false;
  while (m_in.next(p)) {
    anySection = true;
    if (Is(p, 0, "EOF")) break;
    if (!Is(p, 0, "SECTION")) return Acad::eBadDxfFile;
    // A section without a name and without content (some writers leave one
    // before EOF) is passed over.
    AcDbDxfPair name;
    if (!m_in.peek(name)) return Acad::eBadDxfFile;
    if (Is(name, 0, "ENDSEC") || Is(name, 0, "EOF")) {
      if (Is(name, 0, "ENDSEC")) m_in.next(name);
      ++m_repairs.emptySections;
      continue;
    }
    if (!m_in.next(p) || p.code != 2) return Acad::eBadDxfFile;
    std::string_view section = TrimView(p.value);
    bool ok;
    if (section == "HEADER") {
      ok = readHeader();
    } else if (section == "CLASSES") {
      ok = readRaw(m_pDb->m_classes);
    } else if (section == "TABLES") {
      ok = !m_bTablesRead && readTables();
    } else if (section == "BLOCKS") {
      ok = readBlocks();
    } else if (section == "ENTITIES") {
      if (modelId.isNull()) modelId = blockRecord(ACDB_MODEL_SPACE, {});
      // Room for the entities the rest of the file can hold (few take less
      // than 128 bytes), so the list is not copied as it grows.
      auto* model = ObjectOf<AcDbBlockTableRecord>(modelId);
      model->reserveEntities(model->entityIds().size() + (m_nSize - m_in.lastPairStart()) / 128);
      ok = readEntities(modelId, "ENDSEC", nullptr);
    } else if (section == "OBJECTS") {
      ok = readObjects();
    } else {
      ok = skipSection();  // THUMBNAILIMAGE, ACDSDATA and others
    }
    if (!ok || m_in.error()) return Acad::eBadDxfFile;
  }
  if (m_in.error() || !anySection) return Acad::eBadDxfFile;
  m_repairs.noTables = !m_bTablesRead;
  ensureDefaults();
  return Acad::eOk;
}
}  // namespace

Acad::ErrorStatus AcDbDatabase::dxfIn(std::string_view text) { return readText(text, false); }

Acad::ErrorStatus AcDbDatabase::readText(std::string_view text, bool mapped) {
  clear();
  // A binary DXF starts with its sentinel; only text DXF is read.
  if (text.size() >= 22 && std::memcmp(text.data(), "AutoCAD Binary DXF", 18) == 0) {
    buildDefaultDrawing();
    return Acad::eBadDxfFile;
  }
  reserveHandles(text.size() / 120);
  DxfLoader loader(this, text, mapped);
  beginRead();
  Acad::ErrorStatus es = loader.load();
  endRead();
  if (es != Acad::eOk) {
    // Nothing of a file that cannot be understood stays.
    clear();
    buildDefaultDrawing();
    return es;
  }
  setReadNotes(loader.repairLines());
  return es;
}

Acad::ErrorStatus AcDbDatabase::readDwgFile(const ACHAR* fileName, int shareMode, bool, const ACHAR*) {
  if (!fileName || !*fileName) return Acad::eInvalidInput;
  std::string path = win::ToPosixPath(std::wstring_view(fileName));
  releaseInputFile();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? Acad::eFileNotFound : Acad::eFileAccessErr;
  int lock = shareMode == _SH_DENYRW ? LOCK_EX : shareMode == _SH_DENYNO ? 0 : LOCK_SH;
  if (lock && ::flock(fd, lock | LOCK_NB) != 0) {
    ::close(fd);
    return Acad::eFileSharingViolation;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return Acad::eFileAccessErr;
  }
  // The file is mapped, not copied: the reader works on the page cache.
  size_t size = static_cast<size_t>(st.st_size);
  void* mapped = size ? ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : nullptr;
  if (size && mapped == MAP_FAILED) {
    ::close(fd);
    return Acad::eFileAccessErr;
  }
  // Read once from start to end.
  if (mapped) ::madvise(mapped, size, MADV_SEQUENTIAL);
  std::string_view text(static_cast<const char*>(mapped), size);
  Acad::ErrorStatus es = readText(text, true);
  if (mapped) ::munmap(mapped, size);
  if (es != Acad::eOk) {
    ::close(fd);
    return es;
  }
  m_nInputFd = fd;
  m_fileName = fileName;
  return Acad::eOk;
}
