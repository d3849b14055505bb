// Runtime class information of the CAD host: every database class has an
// AcRxClass with its name, DXF name and parent, reachable through desc(),
// isA(), cast() and the class dictionary ("ClassDictionary").
#pragma once

#include <map>
#include <string>

#include "adesk.h"

class AcRxClass;

class AcRxObject {
 public:
  virtual ~AcRxObject() = default;
  static AcRxClass* desc();
  static AcRxObject* cast(const AcRxObject* object) { return const_cast<AcRxObject*>(object); }
  virtual AcRxClass* isA() const;
  bool isKindOf(const AcRxClass* cls) const;
  // A copy of the object of the same class, or null when the class cannot copy.
  virtual AcRxObject* clone() const { return nullptr; }
};

typedef AcRxObject* (*AcRxPseudoConstructor)();

class AcRxClass : public AcRxObject {
 public:
  AcRxClass(const ACHAR* name, AcRxClass* parent, AcRxPseudoConstructor create, const ACHAR* dxfName);
  static AcRxClass* desc();
  static AcRxClass* cast(const AcRxObject* object);
  AcRxClass* isA() const override { return desc(); }

  const ACHAR* name() const { return m_name.c_str(); }
  const ACHAR* dxfName() const { return m_dxfName.c_str(); }
  AcRxClass* myParent() const { return m_pParent; }
  bool isDerivedFrom(const AcRxClass* other) const;
  // A new default object of the class, or null for abstract classes.
  AcRxObject* create() const { return m_create ? m_create() : nullptr; }

 private:
  std::wstring m_name;
  std::wstring m_dxfName;
  AcRxClass* m_pParent;
  AcRxPseudoConstructor m_create;
};

// A dictionary of runtime objects by name (case-sensitive, like the host's
// system registry). It does not own what it holds.
class AcRxDictionary : public AcRxObject {
 public:
  static AcRxClass* desc();
  static AcRxDictionary* cast(const AcRxObject* object);
  AcRxClass* isA() const override { return desc(); }

  AcRxObject* at(const ACHAR* key) const;
  AcRxObject* atPut(const ACHAR* key, AcRxObject* object);
  bool has(const ACHAR* key) const { return at(key) != nullptr; }
  Adesk::UInt32 numEntries() const { return static_cast<Adesk::UInt32>(m_entries.size()); }

 private:
  std::map<std::wstring, AcRxObject*> m_entries;
};

#define ACRX_CLASS_DICTIONARY L"ClassDictionary"

// The system registry: holds the class dictionary under "ClassDictionary".
AcRxDictionary* acrxSysRegistry();
AcRxDictionary* acrxGetClassDictionary();
#define acrxClassDictionary acrxGetClassDictionary()

// Declares desc(), cast() and isA() for a class.
#define ACRX_DECLARE_MEMBERS(CLASS)                                              \
 public:                                                                         \
  static AcRxClass* desc();                                                      \
  static CLASS* cast(const AcRxObject* object) {                                 \
    return object && object->isKindOf(desc()) ? const_cast<CLASS*>(static_cast<const CLASS*>(object)) : nullptr; \
  }                                                                              \
  AcRxClass* isA() const override { return desc(); }

// Defines desc() for a class; CREATE is a pseudo-constructor or nullptr. A
// file-level registrar puts the class in the class dictionary at load time.
#define ACRX_DEFINE_MEMBERS_EX(CLASS, PARENT, CREATE, DXFNAME)                   \
  AcRxClass* CLASS::desc() {                                                     \
    static AcRxClass* s_class = new AcRxClass(L## #CLASS, PARENT::desc(), CREATE, DXFNAME); \
    return s_class;                                                              \
  }                                                                              \
  static const AcRxClass* s_register_##CLASS = CLASS::desc();

#define ACRX_DEFINE_MEMBERS(CLASS, PARENT, DXFNAME) \
  ACRX_DEFINE_MEMBERS_EX(CLASS, PARENT, []() -> AcRxObject* { return new CLASS(); }, DXFNAME)
#define ACRX_DEFINE_ABSTRACT(CLASS, PARENT) ACRX_DEFINE_MEMBERS_EX(CLASS, PARENT, nullptr, L"")
