// Symbol tables and their records: layers, line types, text styles, blocks,
// views and registered applications. Names are unique per table, compared
// without regard to case; records keep the order they were added in.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "dbcolor.h"
#include "dbobject.h"
#include "gegeometry.h"

class AcDbEntity;
class AcDbSymbolTableIterator;
class AcDbBlockTableRecordIterator;

class AcDbSymbolTableRecord : public AcDbObject {
  ACRX_DECLARE_MEMBERS(AcDbSymbolTableRecord)

 public:
  // A copy of the name the caller frees with delete[].
  Acad::ErrorStatus getName(ACHAR*& name) const;
  Acad::ErrorStatus getName(const ACHAR*& name) const;
  const ACHAR* name() const { return m_name.c_str(); }
  // Refuses empty names and names with characters the host does not allow.
  Acad::ErrorStatus setName(const ACHAR* name);
  bool isDependent() const { return m_name.find(L'|') != std::wstring::npos; }
  Adesk::Int16 flags() const { return m_nFlags; }
  void setFlags(Adesk::Int16 flags) { m_nFlags = flags; }

  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;
  // The subclass marker of the record ("AcDbLayerTableRecord" ...).
  virtual const char* recordMarker() const = 0;

 protected:
  std::wstring m_name;
  Adesk::Int16 m_nFlags = 0;
};

class AcDbSymbolTable : public AcDbObject {
  ACRX_DECLARE_MEMBERS(AcDbSymbolTable)

 public:
  // Looks a record up by name; erased records only when getErasedRecord.
  Acad::ErrorStatus getAt(const ACHAR* name, AcDbObjectId& id, bool getErasedRecord = false) const;
  Acad::ErrorStatus getAt(const ACHAR* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                          bool openErasedRecord = false) const;
  template <class T>
  Acad::ErrorStatus getAt(const ACHAR* name, T*& record, AcDb::OpenMode mode, bool openErasedRecord = false) const {
    record = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = getAt(name, id, openErasedRecord);
    return es == Acad::eOk ? acdbOpenObject(record, id, mode, openErasedRecord) : es;
  }
  bool has(const ACHAR* name) const;
  bool has(AcDbObjectId id) const;
  // Adds a new record (the table must be open for write); the record joins
  // the database and stays open for write.
  Acad::ErrorStatus add(AcDbSymbolTableRecord* record);
  Acad::ErrorStatus add(AcDbObjectId& id, AcDbSymbolTableRecord* record);
  Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning = true,
                                bool skipDeleted = true) const;
  // Every record in table order, erased ones included.
  const std::vector<AcDbObjectId>& recordIds() const { return m_records; }
  // The class of the records this table holds.
  virtual AcRxClass* recordClass() const = 0;
  virtual const ACHAR* tableName() const = 0;  // "LAYER", "LTYPE" ...

  void dxfOutFields(AcDbDxfFiler& filer) const override;
  // Makes a record read from a file a member (no open checks).
  void adoptRecord(AcDbObjectId id);

 private:
  AcDbObjectId findName(const ACHAR* name, bool erased) const;
  std::vector<AcDbObjectId> m_records;
};

class AcDbSymbolTableIterator {
 public:
  AcDbSymbolTableIterator(const std::vector<AcDbObjectId>& ids, bool atBeginning, bool skipDeleted);
  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const;
  void step(bool forward = true, bool skipDeleted = true);
  Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
  Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode, bool openErased = false) const;
  template <class T>
  Acad::ErrorStatus getRecord(T*& record, AcDb::OpenMode mode, bool openErased = false) const {
    AcDbSymbolTableRecord* r = nullptr;
    Acad::ErrorStatus es = getRecord(r, mode, openErased);
    record = es == Acad::eOk ? T::cast(r) : nullptr;
    if (es == Acad::eOk && !record) { r->close(); return Acad::eNotThatKindOfClass; }
    return es;
  }

 private:
  void skip(bool forward);
  std::vector<AcDbObjectId> m_ids;
  int m_nPos = 0;
  bool m_bSkipDeleted = true;
};

// ---- layers ------------------------------------------------------------

class AcDbLayerTableRecord : public AcDbSymbolTableRecord {
  ACRX_DECLARE_MEMBERS(AcDbLayerTableRecord)

 public:
  AcDbLayerTableRecord();
  bool isOff() const { return m_bOff; }
  void setIsOff(bool off) { m_bOff = off; }
  bool isFrozen() const { return (m_nFlags & 1) != 0; }
  Acad::ErrorStatus setIsFrozen(bool frozen);
  bool isLocked() const { return (m_nFlags & 4) != 0; }
  void setIsLocked(bool locked);
  bool isPlottable() const { return m_bPlottable; }
  Acad::ErrorStatus setIsPlottable(bool plottable) { m_bPlottable = plottable; return Acad::eOk; }
  AcCmColor color() const { return m_color; }
  void setColor(const AcCmColor& color) { m_color = color; }
  AcDbObjectId linetypeObjectId() const;
  Acad::ErrorStatus setLinetypeObjectId(AcDbObjectId id);
  AcDb::LineWeight lineWeight() const { return m_lineWeight; }
  Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight) { m_lineWeight = weight; return Acad::eOk; }
  // The line type's name as stored (resolved against the database on request).
  const std::wstring& linetypeName() const { return m_linetype; }

  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;
  const char* recordMarker() const override { return "AcDbLayerTableRecord"; }

 private:
  AcCmColor m_color;
  bool m_bOff = false;
  bool m_bPlottable = true;
  std::wstring m_linetype = L"Continuous";
  AcDb::LineWeight m_lineWeight = AcDb::kLnWtByLwDefault;
};

class AcDbLayerTable : public AcDbSymbolTable {
  ACRX_DECLARE_MEMBERS(AcDbLayerTable)
 public:
  AcRxClass* recordClass() const override { return AcDbLayerTableRecord::desc(); }
  const ACHAR* tableName() const override { return L"LAYER"; }
};

// ---- line types ----------------------------------------------------------

class AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
  ACRX_DECLARE_MEMBERS(AcDbLinetypeTableRecord)

 public:
  Acad::ErrorStatus comments(const ACHAR*& text) const { text = m_comments.c_str(); return Acad::eOk; }
  Acad::ErrorStatus setComments(const ACHAR* text) { m_comments = text ? text : L""; return Acad::eOk; }
  Acad::ErrorStatus asciiDescription(const ACHAR*& text) const { return comments(text); }
  Acad::ErrorStatus setAsciiDescription(const ACHAR* text) { return setComments(text); }
  double patternLength() const { return m_dPatternLength; }
  void setPatternLength(double length) { m_dPatternLength = length; }
  int numDashes() const { return static_cast<int>(m_dashes.size()); }
  void setNumDashes(int count);
  double dashLengthAt(int index) const;
  Acad::ErrorStatus setDashLengthAt(int index, double value);
  bool isScaledToFit() const { return m_bScaledToFit; }
  void setIsScaledToFit(bool fit) { m_bScaledToFit = fit; }
  // A text or shape element of a complex line type at a dash (raw DXF pairs
  // 74, 75, 340, 46, 50, 44, 45, 9 in file order).
  struct Element {
    int kind = 0;         // 74: 0 none, 2 text, 4 shape (bits)
    int shapeNumber = 0;  // 75
    std::wstring styleName;
    double scale = 1.0, rotation = 0.0, xOffset = 0.0, yOffset = 0.0;
    std::wstring text;
  };
  const Element& elementAt(int index) const { return m_dashes.at(static_cast<size_t>(index)).element; }
  void setElementAt(int index, const Element& element);

  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;
  const char* recordMarker() const override { return "AcDbLinetypeTableRecord"; }

 private:
  struct Dash {
    double length = 0.0;
    Element element;
  };
  std::wstring m_comments;
  double m_dPatternLength = 0.0;
  bool m_bScaledToFit = false;
  std::vector<Dash> m_dashes;
};

class AcDbLinetypeTable : public AcDbSymbolTable {
  ACRX_DECLARE_MEMBERS(AcDbLinetypeTable)
 public:
  AcRxClass* recordClass() const override { return AcDbLinetypeTableRecord::desc(); }
  const ACHAR* tableName() const override { return L"LTYPE"; }
};

// ---- text styles ---------------------------------------------------------

class AcDbTextStyleTableRecord : public AcDbSymbolTableRecord {
  ACRX_DECLARE_MEMBERS(AcDbTextStyleTableRecord)

 public:
  bool isShapeFile() const { return (m_nFlags & 1) != 0; }
  void setIsShapeFile(bool shape) { m_nFlags = static_cast<Adesk::Int16>(shape ? (m_nFlags | 1) : (m_nFlags & ~1)); }
  bool isVertical() const { return (m_nFlags & 4) != 0; }
  void setIsVertical(bool v) { m_nFlags = static_cast<Adesk::Int16>(v ? (m_nFlags | 4) : (m_nFlags & ~4)); }
  double textSize() const { return m_dTextSize; }
  Acad::ErrorStatus setTextSize(double size);
  double xScale() const { return m_dXScale; }
  Acad::ErrorStatus setXScale(double scale);
  double obliquingAngle() const { return m_dObliquing; }
  Acad::ErrorStatus setObliquingAngle(double angle) { m_dObliquing = angle; return Acad::eOk; }
  double priorSize() const { return m_dPriorSize; }
  void setPriorSize(double size) { m_dPriorSize = size; }
  Adesk::UInt8 flagBits() const { return m_nGenFlags; }
  void setFlagBits(Adesk::UInt8 bits) { m_nGenFlags = bits; }
  Acad::ErrorStatus fileName(const ACHAR*& name) const { name = m_file.c_str(); return Acad::eOk; }
  // The shape or font file; a file name that cannot be a font file
  // (empty after trimming or with characters a file name cannot hold) is refused.
  Acad::ErrorStatus setFileName(const ACHAR* name);
  Acad::ErrorStatus bigFontFileName(const ACHAR*& name) const { name = m_bigFont.c_str(); return Acad::eOk; }
  Acad::ErrorStatus setBigFontFileName(const ACHAR* name);
  // TrueType typeface with bold, italic, character set and pitch-and-family.
  Acad::ErrorStatus setFont(const ACHAR* typeface, bool bold, bool italic, int charset, int pitchAndFamily);
  Acad::ErrorStatus font(ACHAR*& typeface, bool& bold, bool& italic, int& charset, int& pitchAndFamily) const;
  const std::wstring& typeface() const { return m_typeface; }

  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;
  const char* recordMarker() const override { return "AcDbTextStyleTableRecord"; }

 private:
  double m_dTextSize = 0.0;
  double m_dXScale = 1.0;
  double m_dObliquing = 0.0;
  double m_dPriorSize = 2.5;
  Adesk::UInt8 m_nGenFlags = 0;
  std::wstring m_file = L"txt";
  std::wstring m_bigFont;
  std::wstring m_typeface;
  bool m_bBold = false;
  bool m_bItalic = false;
  int m_nCharset = 0;
  int m_nPitchAndFamily = 0;
};

class AcDbTextStyleTable : public AcDbSymbolTable {
  ACRX_DECLARE_MEMBERS(AcDbTextStyleTable)
 public:
  AcRxClass* recordClass() const override { return AcDbTextStyleTableRecord::desc(); }
  const ACHAR* tableName() const override { return L"STYLE"; }
};

// ---- registered applications ----------------------------------------------

class AcDbRegAppTableRecord : public AcDbSymbolTableRecord {
  ACRX_DECLARE_MEMBERS(AcDbRegAppTableRecord)
 public:
  const char* recordMarker() const override { return "AcDbRegAppTableRecord"; }
};

class AcDbRegAppTable : public AcDbSymbolTable {
  ACRX_DECLARE_MEMBERS(AcDbRegAppTable)
 public:
  AcRxClass* recordClass() const override { return AcDbRegAppTableRecord::desc(); }
  const ACHAR* tableName() const override { return L"APPID"; }
};

// ---- views -------------------------------------------------------------

class AcDbAbstractViewTableRecord : public AcDbSymbolTableRecord {
  ACRX_DECLARE_MEMBERS(AcDbAbstractViewTableRecord)

 public:
  AcGePoint2d centerPoint() const { return m_center; }
  void setCenterPoint(const AcGePoint2d& p) { m_center = p; m_nSet |= kCenter; }
  double height() const { return m_dHeight; }
  void setHeight(double h) { m_dHeight = h; m_nSet |= kHeight; }
  double width() const { return m_dWidth; }
  void setWidth(double w) { m_dWidth = w; m_nSet |= kWidth; }
  AcGePoint3d target() const { return m_target; }
  void setTarget(const AcGePoint3d& p) { m_target = p; m_nSet |= kTarget; }
  AcGeVector3d viewDirection() const { return m_direction; }
  void setViewDirection(const AcGeVector3d& v) { m_direction = v; m_nSet |= kDirection; }
  double lensLength() const { return m_dLens; }
  void setLensLength(double l) { m_dLens = l; m_nSet |= kLens; }
  double viewTwist() const { return m_dTwist; }
  void setViewTwist(double t) { m_dTwist = t; m_nSet |= kTwist; }
  // Which properties were set since creation: a current-view change applies only those.
  enum Property { kCenter = 1, kHeight = 2, kWidth = 4, kTarget = 8, kDirection = 16, kLens = 32, kTwist = 64 };
  bool isPropertySet(Property p) const { return (m_nSet & p) != 0; }

 protected:
  AcGePoint2d m_center;
  double m_dHeight = 1.0;
  double m_dWidth = 1.0;
  AcGePoint3d m_target;
  AcGeVector3d m_direction = AcGeVector3d::kZAxis;
  double m_dLens = 50.0;
  double m_dTwist = 0.0;
  int m_nSet = 0;
};

class AcDbViewTableRecord : public AcDbAbstractViewTableRecord {
  ACRX_DECLARE_MEMBERS(AcDbViewTableRecord)
 public:
  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;
  const char* recordMarker() const override { return "AcDbViewTableRecord"; }
};

class AcDbViewTable : public AcDbSymbolTable {
  ACRX_DECLARE_MEMBERS(AcDbViewTable)
 public:
  AcRxClass* recordClass() const override { return AcDbViewTableRecord::desc(); }
  const ACHAR* tableName() const override { return L"VIEW"; }
};

// ---- blocks ------------------------------------------------------------

class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
  ACRX_DECLARE_MEMBERS(AcDbBlockTableRecord)

 public:
  // Makes the entity a member of this block and of the database; the entity
  // stays open for write. The block must be in a database and open for write.
  Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity);
  Acad::ErrorStatus appendAcDbEntity(AcDbEntity* entity);
  Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning = true,
                                bool skipDeleted = true) const;
  AcGePoint3d origin() const { return m_origin; }
  void setOrigin(const AcGePoint3d& p) { m_origin = p; }
  Acad::ErrorStatus comments(const ACHAR*& text) const { text = m_comments.c_str(); return Acad::eOk; }
  Acad::ErrorStatus setComments(const ACHAR* text) { m_comments = text ? text : L""; return Acad::eOk; }
  bool isAnonymous() const { return (m_nFlags & 1) != 0 || (!m_name.empty() && m_name[0] == L'*' && !isLayout()); }
  bool isLayout() const;
  bool hasAttributeDefinitions() const { return (m_nFlags & 2) != 0; }
  // The block's entities in the order they were added (a model space may
  // hold millions: the list takes huge pages once it is large).
  using EntityIdList = std::vector<AcDbObjectId, AcDbLargeAllocator<AcDbObjectId>>;
  const EntityIdList& entityIds() const { return m_entities; }
  // A block draws its entities that are not erased, each with its own traits.
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;

  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;
  const char* recordMarker() const override { return "AcDbBlockTableRecord"; }

  // File bookkeeping: the handles of the BLOCK and ENDBLK markers and the
  // raw pairs of the BLOCK and ENDBLK entities.
  AcDbHandle m_beginHandle;
  AcDbHandle m_endHandle;
  void adoptEntity(AcDbObjectId id) { m_entities.push_back(id); }
  // Room for count entities in all (a reader's estimate: room not used costs
  // no memory, only addresses).
  void reserveEntities(size_t count) { m_entities.reserve(count); }

 private:
  EntityIdList m_entities;
  AcGePoint3d m_origin;
  std::wstring m_comments;
};

class AcDbBlockTable : public AcDbSymbolTable {
  ACRX_DECLARE_MEMBERS(AcDbBlockTable)
 public:
  AcRxClass* recordClass() const override { return AcDbBlockTableRecord::desc(); }
  const ACHAR* tableName() const override { return L"BLOCK_RECORD"; }
};

class AcDbBlockTableRecordIterator {
 public:
  AcDbBlockTableRecordIterator(const AcDbBlockTableRecord::EntityIdList& ids, bool atBeginning, bool skipDeleted);
  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const;
  void step(bool forward = true, bool skipDeleted = true);
  Acad::ErrorStatus getEntityId(AcDbObjectId& id) const;
  Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode mode, bool openErased = false) const;

 private:
  void skip(bool forward);
  std::vector<AcDbObjectId> m_ids;
  int m_nPos = 0;
  bool m_bSkipDeleted = true;
};

#define ACDB_MODEL_SPACE L"*Model_Space"
#define ACDB_PAPER_SPACE L"*Paper_Space"
