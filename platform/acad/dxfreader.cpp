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
#include "dxfloader.h"
#include "paths.h"
#include "textconv.h"

namespace acdbdxf {

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
  PairReader::RecordMarks marks;
  m_in.readRecordPairs(rec.pairs, marks);
  rec.firstXdata = std::min(marks.firstXdata, rec.pairs.size());
  rec.paperSpace = !marks.paperSpace.empty() && AcDbDxfRecord::integer(marks.paperSpace) == 1;
  return !m_in.error();
}

void DxfLoader::noteHandles(const std::vector<AcDbDxfPair>& pairs) {
  for (const AcDbDxfPair& p : pairs)
    if (p.code == 5 || p.code == 105) m_pDb->noteHandle(acdbParseHandle(p.value));
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
      else if (p.code == 5) begin = acdbParseHandle(p.value);
      else if (p.code == 330) owner = acdbParseHandle(p.value);
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
        block->m_endHandle = acdbParseHandle(p.value);
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
        if (p.code == 5) poly->setSeqendHandle(acdbParseHandle(p.value));
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
    if (p.code == 5) { h = acdbParseHandle(p.value); break; }
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
      if (p.code == 5) { h = acdbParseHandle(p.value); break; }
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

Acad::ErrorStatus DxfLoader::load() {
  // A large file's objects fill the arena fast: its pages are faulted in
  // ahead of them while the text is read.
  struct FaultAhead {
    AcDbObjectArena* arena;
    ~FaultAhead() {
      if (arena) arena->setFaultAhead(false);
    }
  } faultAhead{m_bArena ? &m_pDb->objectArena() : nullptr};
  if (faultAhead.arena) faultAhead.arena->setFaultAhead(true);
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
}  // namespace acdbdxf

using acdbdxf::DxfLoader;

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
