// The two sides of DXF for database objects: AcDbDxfFiler writes group
// codes and values as text, AcDbDxfRecord hands an object the pairs read for it.
#pragma once

#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dbid.h"
#include "dbsharedname.h"
#include "dxfcodepage.h"
#include "gegeometry.h"
#include "textutil.h"

class AcDbDxfFiler {
 public:
  AcDbDxfFiler(std::string& out, AcDbDatabase* db) : m_out(out), m_pDb(db) {}
  AcDbDatabase* database() const { return m_pDb; }

  void writeString(int code, std::wstring_view text);
  void writeUtf8(int code, std::string_view text);
  void writeDouble(int code, double value);
  void writeInt(int code, long long value);
  void writeBool(int code, bool value) { writeInt(code, value ? 1 : 0); }
  void writePoint3d(int code, const AcGePoint3d& p);
  void writePoint2d(int code, const AcGePoint2d& p);
  void writeVector3d(int code, const AcGeVector3d& v) { writePoint3d(code, AcGePoint3d(v.x, v.y, v.z)); }
  void writeHandle(int code, AcDbHandle handle);
  // The handle of the id; "0" when the id is null.
  void writeObjectId(int code, AcDbObjectId id);

  // The blocks of the paper-space layouts being written: entities they own
  // carry 67 = 1.
  void setPaperSpaceBlocks(std::vector<AcDbObjectId> blocks) { m_paperSpace = std::move(blocks); }
  bool isPaperSpace(AcDbObjectId owner) const {
    for (const AcDbObjectId& id : m_paperSpace)
      if (id == owner) return true;
    return false;
  }

 private:
  void writeCode(int code);
  std::string& m_out;
  AcDbDatabase* m_pDb;
  std::vector<AcDbObjectId> m_paperSpace;
};

struct AcDbDxfPair {
  int code;
  std::string_view value;  // raw text of the value line
  // For codes of real values, what AcDbDxfRecord::real makes of the value,
  // when the pair reader converted it already (on its scanning thread).
  double number = std::numeric_limits<double>::quiet_NaN();
};

// Reads DXF values. Text is UTF-8 in newer files and the drawing's code page
// in older ones (the decoder knows which); \U+XXXX and \M+nXXXX escapes are
// decoded either way.
class AcDbDxfRecord {
 public:
  // Without a decoder text is taken as UTF-8.
  AcDbDxfRecord(AcDbDatabase* db, const AcDbDxfCodePage* codePage) : m_pDb(db), m_pCodePage(codePage) {}
  // A copy has the pairs; it reads its names anew.
  AcDbDxfRecord(const AcDbDxfRecord& other)
      : pairs(other.pairs), xdata(other.xdata), m_pDb(other.m_pDb), m_pCodePage(other.m_pCodePage) {}
  AcDbDxfRecord& operator=(const AcDbDxfRecord& other) {
    if (this == &other) return *this;
    forgetSharedTexts();
    pairs = other.pairs;
    xdata = other.xdata;
    m_pDb = other.m_pDb;
    m_pCodePage = other.m_pCodePage;
    return *this;
  }

  std::vector<AcDbDxfPair> pairs;  // the object's pairs, without its 0 code, up to the first 1001
  std::vector<AcDbDxfPair> xdata;  // from the first 1001 on

  AcDbDatabase* database() const { return m_pDb; }
  // Empties the pairs (keeping their room) for the next object.
  void reset(AcDbDatabase* db, const AcDbDxfCodePage* codePage) {
    if (db != m_pDb || codePage != m_pCodePage) forgetSharedTexts();
    m_pDb = db;
    m_pCodePage = codePage;
    pairs.clear();
    xdata.clear();
  }
  std::wstring text(std::string_view v) const;
  // The text as a name entities share: the same value read again (by this
  // record, for the next objects) gives the same name.
  AcDbSharedName sharedText(std::string_view v) const;
  // Forgets the names read so far (the code page their bytes are in changed).
  void forgetSharedTexts() {
    m_names.clear();
    m_pLastName = nullptr;
  }
  static double real(std::string_view v);
  static double real(const AcDbDxfPair& p) { return std::isnan(p.number) ? real(p.value) : p.number; }
  static long long integer(std::string_view v);
  // The point whose x is at pairs[i]: y and z follow with code + 10, + 20;
  // i is left at the last pair used.
  static AcGePoint3d point(const std::vector<AcDbDxfPair>& pairs, size_t& i);
  AcDbObjectId idFromHandle(std::string_view v) const;

 private:
  // Names read by this record, by the bytes they were read from.
  struct BytesHash {
    using is_transparent = void;
    size_t operator()(std::string_view v) const { return std::hash<std::string_view>()(v); }
  };
  AcDbDatabase* m_pDb;
  const AcDbDxfCodePage* m_pCodePage;
  using Names = std::unordered_map<std::string, AcDbSharedName, BytesHash, std::equal_to<>>;
  mutable Names m_names;
  // The name read last: the next object is most often on the same layer.
  mutable const Names::value_type* m_pLastName = nullptr;
};

// Parsers shared by the reader: false when the text is not a number.
bool acdbParseDouble(std::string_view text, double& value);
bool acdbParseInt(std::string_view text, long long& value);

// A handle's hexadecimal text, blanks around it allowed; the null handle for
// anything else (empty, more than sixteen digits, not hexadecimal).
inline AcDbHandle acdbParseHandle(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty() || text.size() > 16) return {};
  Adesk::UInt64 value = 0;
  for (char c : text) {
    int d = win::textutil::HexDigit(static_cast<unsigned char>(c));
    if (d < 0) return {};
    value = value << 4 | static_cast<unsigned>(d);
  }
  return AcDbHandle(value);
}
