// What the DXF reader's files share: the loader that turns records into
// database objects (reading its pairs through dxfpairs.h), and the repairs
// it counts. The loader reads the header and tables in dxfreadtables.cpp and
// the blocks, entities and objects in dxfreader.cpp.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory_resource>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "dbdatabase.h"
#include "dbproxy.h"
#include "dbstub.h"
#include "dxfcodepage.h"
#include "dxffiler.h"
#include "dxfpairs.h"
#include "textconv.h"

namespace acdbdxf {

template <class T>
T* ObjectOf(AcDbObjectId id) {
  AcDbStub* s = id.stub();
  return s && s->m_pObject ? T::cast(s->m_pObject) : nullptr;
}

inline std::string_view TrimView(std::string_view v) {
  while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
  while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
  return v;
}

inline bool Is(const AcDbDxfPair& p, int code, std::string_view value) { return p.code == code && TrimView(p.value) == value; }

// From this size on the objects of a file are made in the database's arena,
// and its pairs are scanned ahead on another thread, this many to a chunk.
constexpr size_t kArenaFileSize = size_t(1) << 20;
constexpr size_t kPairsAhead = 16384;

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
      : m_pDb(db),
        m_in(text, text.size() >= kArenaFileSize ? kPairsAhead : 0),
        m_bMapped(mapped),
        m_bArena(text.size() >= kArenaFileSize),
        m_nSize(text.size()) {}

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

}  // namespace acdbdxf
