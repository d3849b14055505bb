// What the DXF reader's files share: the pair reader over the text, the
// loader that turns records into database objects, and the repairs it
// counts. The loader reads the header and tables in dxfreadtables.cpp and
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
#include "textconv.h"

namespace acdbdxf {

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

  // What the loader asks of every record, noted as its pairs are read
  // rather than in another walk over them.
  struct RecordMarks {
    size_t firstXdata = SIZE_MAX;  // the index of the first 1001 pair
    std::string_view paperSpace;   // the value of a 67 pair
  };

  // Appends the pairs of the record being read, up to the next 0 group
  // (left for the next record) or the end; a malformed pair sets m_bError
  // as next does. One loop without a call per pair (flatten inlines the
  // vector's append too, which is otherwise left out of line as too large):
  // a drawing has tens of millions of them.
  [[gnu::flatten]] void readRecordPairs(std::vector<AcDbDxfPair>& pairs, RecordMarks& marks) {
    auto append = [&](const AcDbDxfPair& p) {
      pairs.push_back(p);
      if (p.code == 1001 || p.code == 67) [[unlikely]] {
        if (p.code == 67) marks.paperSpace = p.value;
        else if (marks.firstXdata == SIZE_MAX) marks.firstXdata = pairs.size() - 1;
      }
    };
    if (m_bHavePeek) {
      if (m_peek.code == 0) return;
      m_bHavePeek = false;
      append(m_peek);
    }
    AcDbDxfPair pair;
    while (m_pos < m_text.size()) {
      m_lastPairStart = m_pos;
      long long code;
      if (!readCode(code) || !line(pair.value) || code < -5 || code > 1071) {
        m_bError = true;
        return;
      }
      if (code == 999) continue;
      pair.code = static_cast<int>(code);
      if (pair.code == 0) {
        m_peek = pair;
        m_bHavePeek = true;
        return;
      }
      append(pair);
    }
    m_lastPairStart = m_pos;
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
    // Most writers put codes in three columns ("  8", " 10", "330"): read
    // without a loop, whose exit would depend on each code's width.
    if (i + 3 < n) {
      size_t end = i + 3 + (s[i + 3] == '\r');
      unsigned c0 = static_cast<unsigned char>(s[i]), c1 = static_cast<unsigned char>(s[i + 1]);
      unsigned d0 = c0 == ' ' ? 0 : c0 - 48u, d1 = c1 == ' ' ? 0 : c1 - 48u;
      unsigned d2 = static_cast<unsigned char>(s[i + 2]) - 48u;
      bool spacesFirst = c0 == ' ' || c1 != ' ';
      if (end < n && s[end] == '\n' && d0 <= 9 && d1 <= 9 && d2 <= 9 && spacesFirst) {
        m_pos = end + 1;
        code = d0 * 100 + d1 * 10 + d2;
        return true;
      }
    }
    while (i < n && s[i] == ' ') ++i;
    size_t first = i, digitsEnd = std::min(n, i + 5);
    long long v = 0;
    for (unsigned d; i < digitsEnd && (d = static_cast<unsigned char>(s[i]) - 48u) <= 9; ++i) v = v * 10 + d;
    if (i < n && s[i] == '\r') ++i;
    if (i > first && i < n && s[i] == '\n') {
      m_pos = i + 1;
      code = v;
      return true;
    }
    return readUnusualCode(code);
  }
  // Out of line (dxfreader.cpp), so that the usual case above stays small.
  bool readUnusualCode(long long& code);

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

inline std::string_view TrimView(std::string_view v) {
  while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
  while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
  return v;
}

inline bool Is(const AcDbDxfPair& p, int code, std::string_view value) { return p.code == code && TrimView(p.value) == value; }

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

}  // namespace acdbdxf
