// Runtime classes: names, parents, isKindOf and the class dictionary.
#include "rxobject.h"

AcRxClass* AcRxObject::desc() {
  static AcRxClass* s_class = new AcRxClass(L"AcRxObject", nullptr, nullptr, L"");
  return s_class;
}

AcRxClass* AcRxObject::isA() const { return desc(); }

bool AcRxObject::isKindOf(const AcRxClass* cls) const {
  const AcRxClass* mine = isA();
  return mine && mine->isDerivedFrom(cls);
}

AcRxClass::AcRxClass(const ACHAR* name, AcRxClass* parent, AcRxPseudoConstructor create, const ACHAR* dxfName)
    : m_name(name), m_dxfName(dxfName ? dxfName : L""), m_pParent(parent), m_create(create) {
  acrxGetClassDictionary()->atPut(name, this);
}

AcRxClass* AcRxClass::desc() {
  static AcRxClass* s_class = new AcRxClass(L"AcRxClass", AcRxObject::desc(), nullptr, L"");
  return s_class;
}

AcRxClass* AcRxClass::cast(const AcRxObject* object) {
  return object && object->isKindOf(desc()) ? const_cast<AcRxClass*>(static_cast<const AcRxClass*>(object)) : nullptr;
}

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
  if (!other) return false;
  for (const AcRxClass* c = this; c; c = c->m_pParent)
    if (c == other) return true;
  return false;
}

AcRxClass* AcRxDictionary::desc() {
  static AcRxClass* s_class = new AcRxClass(L"AcRxDictionary", AcRxObject::desc(), nullptr, L"");
  return s_class;
}

AcRxDictionary* AcRxDictionary::cast(const AcRxObject* object) {
  return object && object->isKindOf(desc()) ? const_cast<AcRxDictionary*>(static_cast<const AcRxDictionary*>(object))
                                            : nullptr;
}

AcRxObject* AcRxDictionary::at(const ACHAR* key) const {
  if (!key) return nullptr;
  auto it = m_entries.find(key);
  return it == m_entries.end() ? nullptr : it->second;
}

AcRxObject* AcRxDictionary::atPut(const ACHAR* key, AcRxObject* object) {
  AcRxObject*& slot = m_entries[key];
  AcRxObject* old = slot;
  slot = object;
  return old;
}

AcRxDictionary* acrxGetClassDictionary() {
  // Built on first use so that classes may register from any static initialiser.
  static AcRxDictionary* s_dict = new AcRxDictionary();
  return s_dict;
}

AcRxDictionary* acrxSysRegistry() {
  static AcRxDictionary* s_registry = [] {
    auto* reg = new AcRxDictionary();
    reg->atPut(ACRX_CLASS_DICTIONARY, acrxGetClassDictionary());
    return reg;
  }();
  return s_registry;
}
