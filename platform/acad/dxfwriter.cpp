// Writing a database as DXF text of release 2007 (AC1021): header,
// classes, tables, blocks, entities and objects, every object with its handle.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>
#include <cwctype>
#include <string>

#include "dbdatabase.h"
#include "dbdict.h"
#include "dbentity.h"
#include "dbproxy.h"
#include "dbstub.h"
#include "dbsymtb.h"
#include "paths.h"
#include "textutil.h"

namespace {
template <class T>
T* ObjectOf(AcDbObjectId id) {
  AcDbStub* s = id.stub();
  return s && s->m_pObject ? T::cast(s->m_pObject) : nullptr;
}

using win::textutil::EqualNoCase;

// "*Paper_Space" and "*Paper_Space0", "*Paper_Space1" ...: the blocks of layouts.
bool IsLayoutBlock(const std::wstring& name) {
  static const std::wstring_view kPrefix = L"*PAPER_SPACE";
  const size_t n = kPrefix.size();
  if (!win::textutil::StartsWithNoCase(name, kPrefix)) return false;
  for (size_t i = n; i < name.size(); ++i)
    if (!std::iswdigit(name[i])) return false;
  return true;
}

bool Alive(AcDbObjectId id) { return id.isResident() && !id.isErased(); }

void WriteRawPairs(AcDbDxfFiler& f, const AcDbRawPairs& raw) {
  for (const auto& [code, value] : raw.pairs) f.writeUtf8(code, value);
}

std::wstring NameOf(AcDbObjectId id, const wchar_t* fallback) {
  auto* rec = ObjectOf<AcDbSymbolTableRecord>(id);
  return rec ? rec->name() : fallback;
}

void WriteTable(AcDbDxfFiler& f, AcDbObjectId tableId) {
  auto* table = ObjectOf<AcDbSymbolTable>(tableId);
  if (!table) return;
  f.writeUtf8(0, "TABLE");
  f.writeString(2, table->tableName());
  f.writeHandle(5, table->handle());
  f.writeUtf8(330, "0");
  f.writeUtf8(100, "AcDbSymbolTable");
  int n = 0;
  for (const AcDbObjectId& id : table->recordIds()) n += Alive(id);
  f.writeInt(70, n);
  for (const AcDbObjectId& id : table->recordIds())
    if (Alive(id)) id.stub()->m_pObject->dxfOut(f);
  f.writeUtf8(0, "ENDTAB");
}

void WriteEntities(AcDbDxfFiler& f, const AcDbBlockTableRecord* block) {
  for (const AcDbObjectId& id : block->entityIds())
    if (Alive(id)) id.stub()->m_pObject->dxfOut(f);
}
}  // namespace

Acad::ErrorStatus AcDbDatabase::dxfOut(std::string& text) const {
  auto* self = const_cast<AcDbDatabase*>(this);
  auto* blocks = ObjectOf<AcDbBlockTable>(m_blockTableId);
  if (!blocks) return Acad::eNoDatabase;
  // Every block gets handles for its BLOCK and ENDBLK markers.
  for (const AcDbObjectId& id : blocks->recordIds()) {
    auto* rec = ObjectOf<AcDbBlockTableRecord>(id);
    if (!rec) continue;
    if (rec->m_beginHandle.isNull()) rec->m_beginHandle = self->reserveHandle();
    if (rec->m_endHandle.isNull()) rec->m_endHandle = self->reserveHandle();
  }

  // The header first: every handle the writing needs is given out above.
  // The text is sized once, from the number of objects.
  text.clear();
  text.reserve(m_byHandle.size() * 200 + 65536);
  AcDbDxfFiler h(text, self);
  h.writeUtf8(0, "SECTION");
  h.writeUtf8(2, "HEADER");
  h.writeUtf8(9, "$ACADVER");
  h.writeUtf8(1, "AC1021");
  h.writeUtf8(9, "$DWGCODEPAGE");
  h.writeUtf8(3, "ANSI_1252");
  h.writeUtf8(9, "$INSBASE");
  h.writePoint3d(10, m_insbase);
  h.writeUtf8(9, "$EXTMIN");
  h.writePoint3d(10, m_extents.isEmpty() ? AcGePoint3d() : m_extents.minPoint());
  h.writeUtf8(9, "$EXTMAX");
  h.writePoint3d(10, m_extents.isEmpty() ? AcGePoint3d() : m_extents.maxPoint());
  h.writeUtf8(9, "$LTSCALE");
  h.writeDouble(40, m_dLtscale);
  h.writeUtf8(9, "$TEXTSIZE");
  h.writeDouble(40, m_dTextsize);
  h.writeUtf8(9, "$CLAYER");
  h.writeString(8, NameOf(m_clayer, L"0"));
  h.writeUtf8(9, "$CELTYPE");
  h.writeString(6, NameOf(m_celtype, L"ByLayer"));
  h.writeUtf8(9, "$CECOLOR");
  h.writeInt(62, m_cecolor.colorIndex());
  h.writeUtf8(9, "$CELTSCALE");
  h.writeDouble(40, m_dCeltscale);
  h.writeUtf8(9, "$CELWEIGHT");
  h.writeInt(370, m_celweight);
  h.writeUtf8(9, "$TEXTSTYLE");
  h.writeString(7, NameOf(m_textstyle, L"Standard"));
  static const char* const kOwn[] = {"$ACADVER", "$DWGCODEPAGE", "$INSBASE", "$EXTMIN", "$EXTMAX", "$LTSCALE",
                                     "$TEXTSIZE", "$CLAYER", "$CELTYPE", "$CECOLOR", "$CELTSCALE", "$CELWEIGHT",
                                     "$TEXTSTYLE", "$HANDSEED", "$HANDLING"};
  for (const auto& [name, raw] : m_header) {
    bool own = false;
    for (const char* k : kOwn) own = own || name == k;
    if (own) continue;
    h.writeUtf8(9, name);
    WriteRawPairs(h, raw);
  }
  h.writeUtf8(9, "$HANDSEED");
  h.writeHandle(5, m_handseed);
  h.writeUtf8(0, "ENDSEC");
  AcDbDxfFiler& f = h;

  f.writeUtf8(0, "SECTION");
  f.writeUtf8(2, "CLASSES");
  WriteRawPairs(f, m_classes);
  f.writeUtf8(0, "ENDSEC");

  f.writeUtf8(0, "SECTION");
  f.writeUtf8(2, "TABLES");
  auto rawTable = [&](const char* name) {
    for (const auto& [tableName, raw] : m_rawTables)
      if (tableName == name) {
        WriteRawPairs(f, raw);
        f.writeUtf8(0, "ENDTAB");
      }
  };
  rawTable("VPORT");
  WriteTable(f, m_linetypeTableId);
  WriteTable(f, m_layerTableId);
  WriteTable(f, m_textStyleTableId);
  WriteTable(f, m_viewTableId);
  rawTable("UCS");
  WriteTable(f, m_regAppTableId);
  rawTable("DIMSTYLE");
  WriteTable(f, m_blockTableId);
  for (const auto& [tableName, raw] : m_rawTables)
    if (tableName != "VPORT" && tableName != "UCS" && tableName != "DIMSTYLE") {
      WriteRawPairs(f, raw);
      f.writeUtf8(0, "ENDTAB");
    }
  f.writeUtf8(0, "ENDSEC");

  // Model space and the active layout (the block "*Paper_Space") have their
  // entities in the ENTITIES section, the latter's with 67 = 1; the other
  // layouts ("*Paper_Space0" ...) keep theirs in their blocks, also with 67 = 1.
  const AcDbBlockTableRecord* modelSpace = nullptr;
  const AcDbBlockTableRecord* paperSpace = nullptr;
  std::vector<AcDbObjectId> layouts;
  for (const AcDbObjectId& id : blocks->recordIds()) {
    if (!Alive(id)) continue;
    auto* rec = ObjectOf<AcDbBlockTableRecord>(id);
    const std::wstring& name = rec->name();
    if (EqualNoCase(name, L"*Model_Space")) modelSpace = rec;
    if (EqualNoCase(name, L"*Paper_Space")) paperSpace = rec;
    if (IsLayoutBlock(name)) layouts.push_back(id);
  }
  f.setPaperSpaceBlocks(std::move(layouts));

  f.writeUtf8(0, "SECTION");
  f.writeUtf8(2, "BLOCKS");
  for (const AcDbObjectId& id : blocks->recordIds()) {
    if (!Alive(id)) continue;
    auto* rec = ObjectOf<AcDbBlockTableRecord>(id);
    std::wstring name = rec->name();
    f.writeUtf8(0, "BLOCK");
    f.writeHandle(5, rec->m_beginHandle);
    f.writeObjectId(330, id);
    f.writeUtf8(100, "AcDbEntity");
    f.writeUtf8(8, "0");
    f.writeUtf8(100, "AcDbBlockBegin");
    f.writeString(2, name);
    f.writeInt(70, rec->flags());
    f.writePoint3d(10, rec->origin());
    f.writeString(3, name);
    f.writeUtf8(1, "");
    if (rec != modelSpace && rec != paperSpace) WriteEntities(f, rec);
    f.writeUtf8(0, "ENDBLK");
    f.writeHandle(5, rec->m_endHandle);
    f.writeObjectId(330, id);
    f.writeUtf8(100, "AcDbEntity");
    f.writeUtf8(8, "0");
    f.writeUtf8(100, "AcDbBlockEnd");
  }
  f.writeUtf8(0, "ENDSEC");

  f.writeUtf8(0, "SECTION");
  f.writeUtf8(2, "ENTITIES");
  if (modelSpace) WriteEntities(f, modelSpace);
  if (paperSpace) WriteEntities(f, paperSpace);
  f.writeUtf8(0, "ENDSEC");

  f.writeUtf8(0, "SECTION");
  f.writeUtf8(2, "OBJECTS");
  if (Alive(m_namedDictId)) m_namedDictId.stub()->m_pObject->dxfOut(f);
  // The other objects in handle order, so that a drawing read and saved
  // again gives the same file.
  std::vector<const AcDbStub*> objects;
  m_stubs.forEach([&](const AcDbStub& s) {
    if (!s.m_pObject || s.m_pObject->isErased() || s.m_pDb != this) return;
    if (AcDbObjectId(const_cast<AcDbStub*>(&s)) == m_namedDictId) return;
    if (AcDbDictionary::cast(s.m_pObject) || AcDbXrecord::cast(s.m_pObject) || AcDbProxyObject::cast(s.m_pObject))
      objects.push_back(&s);
  });
  std::sort(objects.begin(), objects.end(),
            [](const AcDbStub* a, const AcDbStub* b) { return a->m_handle < b->m_handle; });
  for (const AcDbStub* s : objects) s->m_pObject->dxfOut(f);
  f.writeUtf8(0, "ENDSEC");
  f.writeUtf8(0, "EOF");

  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::saveAs(const ACHAR* fileName) {
  if (!fileName || !*fileName) return Acad::eInvalidInput;
  std::string path = win::ToPosixPath(std::wstring_view(fileName));
  // A file another reader holds with a deny-write share cannot be replaced.
  struct stat target {};
  if (::stat(path.c_str(), &target) == 0) {
    struct stat mine {};
    bool ownInput = m_nInputFd >= 0 && ::fstat(m_nInputFd, &mine) == 0 && mine.st_dev == target.st_dev &&
                    mine.st_ino == target.st_ino;
    if (ownInput) releaseInputFile();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
      bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
      ::close(fd);
      if (locked) return Acad::eFileSharingViolation;
    }
  }
  std::string text;
  Acad::ErrorStatus es = dxfOut(text);
  if (es != Acad::eOk) return es;
  std::string tmp = path + ".tmp-save";
  FILE* out = std::fopen(tmp.c_str(), "wb");
  if (!out) return Acad::eFileAccessErr;
  bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  ok = std::fclose(out) == 0 && ok;
  if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
    std::remove(tmp.c_str());
    return Acad::eFileAccessErr;
  }
  m_fileName = fileName;
  return Acad::eOk;
}
