// AcDbDatabase: one drawing. It owns every object (by handle), the symbol
// tables, the named-object dictionary and the header variables, and reads
// and writes itself as DXF whatever the file's extension.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "dbcolor.h"
#include "dbarena.h"
#include "dbextents.h"
#include "dbhandlemap.h"
#include "dbid.h"
#include "dbstub.h"
#include "rxobject.h"

class AcDbObject;
class AcDbBlockTable;
class AcDbLayerTable;
class AcDbLinetypeTable;
class AcDbTextStyleTable;
class AcDbViewTable;
class AcDbRegAppTable;
class AcDbSymbolTable;
class AcDbDictionary;
struct AcDbStub;

#ifndef _SH_DENYRW
#define _SH_DENYRW 0x10
#define _SH_DENYWR 0x20
#define _SH_DENYRD 0x30
#define _SH_DENYNO 0x40
#endif

// A table of the file that the database does not model (VPORT, UCS,
// DIMSTYLE ...), or any other run of pairs kept as read and written back.
struct AcDbRawPairs {
  std::vector<std::pair<int, std::string>> pairs;
};

class AcDbDatabase : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcDbDatabase)

 public:
  // A default drawing has layer "0", line types "ByBlock", "ByLayer" and
  // "Continuous", text style "Standard", blocks "*Model_Space" and
  // "*Paper_Space", application "ACAD" and the named-object dictionary.
  explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
  ~AcDbDatabase() override;
  AcDbDatabase(const AcDbDatabase&) = delete;
  AcDbDatabase& operator=(const AcDbDatabase&) = delete;

  // Makes a new object a member of the database with a fresh handle; it
  // stays open for write.
  Acad::ErrorStatus addAcDbObject(AcDbObjectId& id, AcDbObject* object);
  Acad::ErrorStatus addAcDbObject(AcDbObject* object);
  // The id of a handle; with createIfNotFound an id for an object not yet read.
  Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound, const AcDbHandle& handle,
                                    Adesk::UInt32 xRefId = 0);
  AcDbHandle handseed() const { return m_handseed; }

  Acad::ErrorStatus getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getLayerTable(AcDbLayerTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getLinetypeTable(AcDbLinetypeTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getTextStyleTable(AcDbTextStyleTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getViewTable(AcDbViewTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getRegAppTable(AcDbRegAppTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& t, AcDb::OpenMode m) { return getBlockTable(t, m); }
  Acad::ErrorStatus getSymbolTable(AcDbLayerTable*& t, AcDb::OpenMode m) { return getLayerTable(t, m); }
  Acad::ErrorStatus getSymbolTable(AcDbLinetypeTable*& t, AcDb::OpenMode m) { return getLinetypeTable(t, m); }
  Acad::ErrorStatus getSymbolTable(AcDbTextStyleTable*& t, AcDb::OpenMode m) { return getTextStyleTable(t, m); }
  Acad::ErrorStatus getSymbolTable(AcDbViewTable*& t, AcDb::OpenMode m) { return getViewTable(t, m); }
  Acad::ErrorStatus getSymbolTable(AcDbRegAppTable*& t, AcDb::OpenMode m) { return getRegAppTable(t, m); }
  Acad::ErrorStatus getNamedObjectsDictionary(AcDbDictionary*& dict, AcDb::OpenMode mode);
  AcDbObjectId blockTableId() const { return m_blockTableId; }
  AcDbObjectId layerTableId() const { return m_layerTableId; }
  AcDbObjectId linetypeTableId() const { return m_linetypeTableId; }
  AcDbObjectId textStyleTableId() const { return m_textStyleTableId; }
  AcDbObjectId viewTableId() const { return m_viewTableId; }
  AcDbObjectId regAppTableId() const { return m_regAppTableId; }
  AcDbObjectId namedObjectsDictionaryId() const { return m_namedDictId; }

  // Current properties for new entities.
  AcDbObjectId clayer() const { return m_clayer; }
  Acad::ErrorStatus setClayer(AcDbObjectId layerId);
  AcCmColor cecolor() const { return m_cecolor; }
  Acad::ErrorStatus setCecolor(const AcCmColor& color) { m_cecolor = color; return Acad::eOk; }
  AcDbObjectId celtype() const { return m_celtype; }
  Acad::ErrorStatus setCeltype(AcDbObjectId linetypeId);
  double celtscale() const { return m_dCeltscale; }
  Acad::ErrorStatus setCeltscale(double scale) { m_dCeltscale = scale; return Acad::eOk; }
  AcDb::LineWeight celweight() const { return m_celweight; }
  Acad::ErrorStatus setCelweight(AcDb::LineWeight w) { m_celweight = w; return Acad::eOk; }
  AcDbObjectId textstyle() const { return m_textstyle; }
  Acad::ErrorStatus setTextstyle(AcDbObjectId styleId);
  double textsize() const { return m_dTextsize; }
  Acad::ErrorStatus setTextsize(double size) { m_dTextsize = size; return Acad::eOk; }
  double ltscale() const { return m_dLtscale; }
  Acad::ErrorStatus setLtscale(double scale) { m_dLtscale = scale; return Acad::eOk; }
  AcGePoint3d insbase() const { return m_insbase; }
  Acad::ErrorStatus setInsbase(const AcGePoint3d& p) { m_insbase = p; return Acad::eOk; }
  AcGePoint3d extmin() const;
  AcGePoint3d extmax() const;
  // Recomputes the drawing extents from model space.
  Acad::ErrorStatus updateExt(bool doBestFit = false);
  AcDbObjectId byLayerLinetype() const;
  AcDbObjectId byBlockLinetype() const;
  AcDbObjectId continuousLinetype() const;
  bool hasRegApp(const ACHAR* name) const;

  // Loads a line type (by name, "*" for all) from a .lin file.
  Acad::ErrorStatus loadLineTypeFile(const ACHAR* ltypeName, const ACHAR* fileName);

  // Files. readDwgFile replaces the contents of the database with the
  // drawing read; the file stays open (and shared as the mode says) until
  // closeInput(true) or the database is deleted.
  Acad::ErrorStatus saveAs(const ACHAR* fileName);
  Acad::ErrorStatus readDwgFile(const ACHAR* fileName, int shareMode = _SH_DENYWR,
                                bool allowCPConversion = false, const ACHAR* password = nullptr);
  Acad::ErrorStatus closeInput(bool closeFile = false);
  Acad::ErrorStatus getFilename(const ACHAR*& fileName) const;
  const ACHAR* originalFileName() const { return m_fileName.c_str(); }
  // DXF from and to memory (what the files hold).
  Acad::ErrorStatus dxfIn(std::string_view text);
  Acad::ErrorStatus dxfOut(std::string& text) const;
  // What the last read repaired or assumed to open the drawing, one line per
  // kind ("2 duplicate handles renumbered", "an empty section ignored" ...);
  // empty for a sound file. The host shows them when it opens a drawing.
  const std::vector<std::wstring>& readNotes() const { return m_readNotes; }

  // Inserts a whole database as a block definition of this one (a new
  // block, or the existing one, which must be empty).
  Acad::ErrorStatus insert(AcDbObjectId& blockId, const ACHAR* blockName, AcDbDatabase* source,
                           bool preserveSourceDatabase = true);

  // ---- bookkeeping shared with the reader and writer ----------------------
  AcDbStub* stubForHandle(AcDbHandle handle, bool create);
  // Keeps a file's handle; a handle already in use is replaced by a new one
  // (counted in handlesRenumbered()).
  AcDbObjectId addWithHandle(AcDbObject* object, AcDbHandle handle);
  size_t handlesRenumbered() const { return m_nHandlesRenumbered; }
  // Where the reader makes the objects of a file.
  AcDbObjectArena& objectArena() { return m_arena; }
  // Around reading a file: handles used twice are renumbered at the end.
  void beginRead();
  void endRead();
  void setReadNotes(std::vector<std::wstring> notes) { m_readNotes = std::move(notes); }
  AcDbHandle reserveHandle() { return m_handseed++; }
  void noteHandle(AcDbHandle handle);
  void reserveHandles(size_t count) { m_byHandle.reserve(count); }
  void clear();
  void buildDefaultDrawing();
  AcDbObjectId tableIdByName(const std::wstring& name) const;
  void setTableId(const std::wstring& name, AcDbObjectId id);
  void setNamedObjectsDictionaryId(AcDbObjectId id) { m_namedDictId = id; }
  void setCurrentIds(AcDbObjectId clayer, AcDbObjectId celtype, AcDbObjectId textstyle) {
    m_clayer = clayer; m_celtype = celtype; m_textstyle = textstyle;
  }
  // Header variables as read: name -> pairs after its 9 group.
  std::vector<std::pair<std::string, AcDbRawPairs>> m_header;
  std::vector<std::pair<std::string, AcDbRawPairs>> m_rawTables;  // tables kept as read
  AcDbRawPairs m_classes;  // the CLASSES section as read
  std::wstring m_version = L"AC1021";

 private:
  AcDbObjectId newTable(AcDbSymbolTable* table);
  void releaseInputFile();
  // Reads DXF text; a mapped file lets go of the pages read as it goes.
  Acad::ErrorStatus readText(std::string_view text, bool mapped);

  AcDbStubList m_stubs;
  AcDbHandleMap m_byHandle;
  AcDbHandle m_handseed = 1;
  AcDbObjectId m_blockTableId, m_layerTableId, m_linetypeTableId, m_textStyleTableId, m_viewTableId,
      m_regAppTableId, m_namedDictId;
  AcDbObjectId m_clayer, m_celtype, m_textstyle;
  AcCmColor m_cecolor;
  double m_dCeltscale = 1.0;
  double m_dLtscale = 1.0;
  double m_dTextsize = 2.5;
  AcDb::LineWeight m_celweight = AcDb::kLnWtByLayer;
  AcGePoint3d m_insbase;
  AcDbExtents m_extents;
  std::wstring m_fileName;
  int m_nInputFd = -1;
  // The objects read from a file live here; clear() empties it once they
  // are deleted.
  AcDbObjectArena m_arena;
  size_t m_nHandlesRenumbered = 0;
  bool m_bReading = false;
  std::vector<AcDbStub*> m_renumberAfterRead;
  std::vector<std::wstring> m_readNotes;
};
