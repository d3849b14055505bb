// The class library's template collections: CArray, CList and CMap.
//
// They behave like the originals where callers can tell: indexes are INT_PTR,
// a POSITION is an opaque pointer, an index outside the array throws (the
// original's invalid-argument exception; std::out_of_range here), lists and
// maps cannot be copied, and a map iterates bucket by bucket with the
// original's hash functions, so the iteration order is the same on every run.
//
// Elements are real C++ objects: they are constructed and destroyed properly,
// so collections of CString or of structs holding arrays do not leak.
#pragma once

#include <algorithm>
#include <cstddef>
#include <new>
#include <stdexcept>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "cstring.h"
#include "wintypes.h"

// A place in a list or a map; opaque to callers.
struct __POSITION {};
typedef __POSITION* POSITION;

// The position before the first association of a map.
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(static_cast<intptr_t>(-1)))

namespace win::detail {

[[noreturn]] inline void ThrowBadIndex() { throw std::out_of_range("collection index out of range"); }

inline UINT HashWide(const wchar_t* key) {
  UINT nHash = 0;
  if (key) {
    while (*key) nHash = (nHash << 5) + nHash + static_cast<UINT>(*key++);
  }
  return nHash;
}

inline UINT HashNarrow(const char* key) {
  UINT nHash = 0;
  if (key) {
    while (*key) nHash = (nHash << 5) + nHash + static_cast<UINT>(static_cast<unsigned char>(*key++));
  }
  return nHash;
}

}  // namespace win::detail

// The hash of a map key. Text hashes character by character
// (hash * 33 + character); integers, enumerations and pointers drop their low
// four bits. Other key types specialise this template as with the original:
//   template <> UINT AFXAPI HashKey<const MyKey&>(const MyKey& key) { ... }
template <class ARG_KEY>
inline UINT AFXAPI HashKey(ARG_KEY key) {
  using K = std::remove_cvref_t<ARG_KEY>;
  if constexpr (std::is_same_v<K, CString>) {
    return win::detail::HashWide(key.GetString());
  } else if constexpr (std::is_convertible_v<K, const wchar_t*>) {
    return win::detail::HashWide(key);
  } else if constexpr (std::is_convertible_v<K, const char*>) {
    return win::detail::HashNarrow(key);
  } else if constexpr (std::is_pointer_v<K>) {
    return static_cast<UINT>(reinterpret_cast<uintptr_t>(key) >> 4);
  } else if constexpr (std::is_integral_v<K> || std::is_enum_v<K>) {
    return static_cast<UINT>(static_cast<DWORD_PTR>(key) >> 4);
  } else {
    static_assert(std::is_integral_v<K>, "specialise HashKey for this key type");
    return 0;
  }
}

// Whether a stored element equals a searched-for argument.
template <class TYPE, class ARG_TYPE>
inline BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
  return *pElement1 == *pElement2;
}

// ---------------------------------------------------------------------------
// CArray: a growable array of TYPE, passed in as ARG_TYPE.

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
 public:
  CArray() = default;
  CArray(const CArray&) = delete;
  CArray& operator=(const CArray&) = delete;
  virtual ~CArray() = default;

  INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  BOOL IsEmpty() const { return m_data.empty(); }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }

  // New elements are value-initialised (zero for plain data). nGrowBy is the
  // number of elements to reserve at a time when the array grows; -1 keeps
  // the current setting (0: the array chooses).
  void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1) {
    if (nNewSize < 0) win::detail::ThrowBadIndex();
    if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
    Reserve(nNewSize);
    m_data.resize(static_cast<size_t>(nNewSize));
  }
  void FreeExtra() { m_data.shrink_to_fit(); }
  void RemoveAll() { m_data.clear(); }

  const TYPE& GetAt(INT_PTR nIndex) const { return m_data[Checked(nIndex)]; }
  TYPE& GetAt(INT_PTR nIndex) { return m_data[Checked(nIndex)]; }
  void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_data[Checked(nIndex)] = newElement; }
  TYPE& ElementAt(INT_PTR nIndex) { return m_data[Checked(nIndex)]; }
  const TYPE& ElementAt(INT_PTR nIndex) const { return m_data[Checked(nIndex)]; }
  TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
  const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }

  const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
  TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }

  // Sets the element, growing the array when the index is past its end.
  void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
    if (nIndex < 0) win::detail::ThrowBadIndex();
    if (nIndex >= GetSize()) {
      TYPE copy(newElement);  // the argument may live in this array
      SetSize(nIndex + 1);
      m_data[static_cast<size_t>(nIndex)] = std::move(copy);
      return;
    }
    m_data[static_cast<size_t>(nIndex)] = newElement;
  }

  INT_PTR Add(ARG_TYPE newElement) {
    TYPE copy(newElement);  // the argument may live in this array
    Reserve(GetSize() + 1);
    m_data.push_back(std::move(copy));
    return GetSize() - 1;
  }

  // Appends the other array's elements; returns the index of the first one.
  INT_PTR Append(const CArray& src) {
    INT_PTR nOldSize = GetSize();
    std::vector<TYPE> copy(src.m_data);  // appending an array to itself works
    Reserve(nOldSize + static_cast<INT_PTR>(copy.size()));
    for (auto& element : copy) m_data.push_back(std::move(element));
    return nOldSize;
  }

  void Copy(const CArray& src) {
    if (&src != this) m_data = src.m_data;
  }

  // Inserts nCount copies at nIndex; an index past the end grows the array.
  void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount < 0) win::detail::ThrowBadIndex();
    TYPE copy(newElement);
    if (nIndex >= GetSize()) {
      SetSize(nIndex + nCount);
      std::fill(m_data.begin() + nIndex, m_data.end(), copy);
      return;
    }
    Reserve(GetSize() + nCount);
    m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), copy);
  }

  void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray) {
    if (!pNewArray || nStartIndex < 0) win::detail::ThrowBadIndex();
    if (pNewArray->IsEmpty()) return;
    std::vector<TYPE> copy(pNewArray->m_data);
    if (nStartIndex > GetSize()) SetSize(nStartIndex);
    Reserve(GetSize() + static_cast<INT_PTR>(copy.size()));
    m_data.insert(m_data.begin() + nStartIndex, std::make_move_iterator(copy.begin()),
                  std::make_move_iterator(copy.end()));
  }

  void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount < 0 || nIndex + nCount > GetSize()) win::detail::ThrowBadIndex();
    m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
  }

  // Range-for support, a convenience beyond the original.
  TYPE* begin() { return m_data.data(); }
  TYPE* end() { return m_data.data() + m_data.size(); }
  const TYPE* begin() const { return m_data.data(); }
  const TYPE* end() const { return m_data.data() + m_data.size(); }

 private:
  size_t Checked(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= GetSize()) win::detail::ThrowBadIndex();
    return static_cast<size_t>(nIndex);
  }

  // Grows the capacity in steps of the grow-by count (or geometrically).
  void Reserve(INT_PTR nSize) {
    size_t want = static_cast<size_t>(nSize);
    if (want <= m_data.capacity()) return;
    size_t step = m_nGrowBy > 0 ? static_cast<size_t>(m_nGrowBy)
                                : std::max<size_t>(4, std::min<size_t>(1024, m_data.size() / 8));
    m_data.reserve(std::max(want, m_data.size() + step));
  }

  std::vector<TYPE> m_data;
  INT_PTR m_nGrowBy = 0;
};

// ---------------------------------------------------------------------------
// CList: a doubly linked list of TYPE; a POSITION is a node.

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList {
 public:
  explicit CList(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
  CList(const CList&) = delete;
  CList& operator=(const CList&) = delete;
  virtual ~CList() { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  TYPE& GetHead() { return NonEmpty(m_pNodeHead)->data; }
  const TYPE& GetHead() const { return NonEmpty(m_pNodeHead)->data; }
  TYPE& GetTail() { return NonEmpty(m_pNodeTail)->data; }
  const TYPE& GetTail() const { return NonEmpty(m_pNodeTail)->data; }

  TYPE RemoveHead() {
    CNode* pOld = NonEmpty(m_pNodeHead);
    TYPE value(std::move(pOld->data));
    Unlink(pOld);
    return value;
  }
  TYPE RemoveTail() {
    CNode* pOld = NonEmpty(m_pNodeTail);
    TYPE value(std::move(pOld->data));
    Unlink(pOld);
    return value;
  }

  POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(nullptr, newElement); }
  POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(nullptr, newElement); }
  // Adds copies of another list's elements (the list itself may be given).
  void AddHead(const CList* pNewList) {
    if (!pNewList) return;
    std::vector<TYPE> copy = pNewList->Elements();
    for (auto it = copy.rbegin(); it != copy.rend(); ++it) AddHead(*it);
  }
  void AddTail(const CList* pNewList) {
    if (!pNewList) return;
    for (const TYPE& element : pNewList->Elements()) AddTail(element);
  }

  void RemoveAll() {
    CNode* pNode = m_pNodeHead;
    while (pNode) {
      CNode* pNext = pNode->pNext;
      delete pNode;
      pNode = pNext;
    }
    m_pNodeHead = m_pNodeTail = nullptr;
    m_nCount = 0;
  }

  POSITION GetHeadPosition() const { return ToPos(m_pNodeHead); }
  POSITION GetTailPosition() const { return ToPos(m_pNodeTail); }

  // The element at rPosition; rPosition moves to the next (null at the end).
  TYPE& GetNext(POSITION& rPosition) {
    CNode* pNode = Node(rPosition);
    rPosition = ToPos(pNode->pNext);
    return pNode->data;
  }
  const TYPE& GetNext(POSITION& rPosition) const {
    CNode* pNode = Node(rPosition);
    rPosition = ToPos(pNode->pNext);
    return pNode->data;
  }
  TYPE& GetPrev(POSITION& rPosition) {
    CNode* pNode = Node(rPosition);
    rPosition = ToPos(pNode->pPrev);
    return pNode->data;
  }
  const TYPE& GetPrev(POSITION& rPosition) const {
    CNode* pNode = Node(rPosition);
    rPosition = ToPos(pNode->pPrev);
    return pNode->data;
  }

  TYPE& GetAt(POSITION position) { return Node(position)->data; }
  const TYPE& GetAt(POSITION position) const { return Node(position)->data; }
  void SetAt(POSITION pos, ARG_TYPE newElement) { Node(pos)->data = newElement; }
  void RemoveAt(POSITION position) { Unlink(Node(position)); }

  // A null position inserts at the head (InsertBefore) or tail (InsertAfter).
  POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
    CNode* pOld = position ? Node(position) : m_pNodeHead;
    CNode* pNew = new CNode{TYPE(newElement), pOld ? pOld->pPrev : nullptr, pOld};
    if (pNew->pPrev) pNew->pPrev->pNext = pNew;
    else m_pNodeHead = pNew;
    if (pOld) pOld->pPrev = pNew;
    else m_pNodeTail = pNew;
    ++m_nCount;
    return ToPos(pNew);
  }
  POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
    CNode* pOld = position ? Node(position) : m_pNodeTail;
    CNode* pNew = new CNode{TYPE(newElement), pOld, pOld ? pOld->pNext : nullptr};
    if (pNew->pNext) pNew->pNext->pPrev = pNew;
    else m_pNodeTail = pNew;
    if (pOld) pOld->pNext = pNew;
    else m_pNodeHead = pNew;
    ++m_nCount;
    return ToPos(pNew);
  }

  // The first element equal to searchValue after startAfter (null: from the head).
  POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
    CNode* pNode = startAfter ? Node(startAfter)->pNext : m_pNodeHead;
    for (; pNode; pNode = pNode->pNext) {
      if (CompareElements<TYPE, std::remove_cvref_t<ARG_TYPE>>(&pNode->data, &searchValue)) return ToPos(pNode);
    }
    return nullptr;
  }
  // The position of the nIndex-th element from the head, null when out of range.
  POSITION FindIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
    CNode* pNode = m_pNodeHead;
    while (nIndex-- > 0) pNode = pNode->pNext;
    return ToPos(pNode);
  }

 private:
  struct CNode {
    TYPE data;
    CNode* pPrev;
    CNode* pNext;
  };

  static POSITION ToPos(CNode* pNode) { return reinterpret_cast<POSITION>(pNode); }
  static CNode* Node(POSITION pos) {
    if (!pos) win::detail::ThrowBadIndex();
    return reinterpret_cast<CNode*>(pos);
  }
  static CNode* NonEmpty(CNode* pNode) {
    if (!pNode) win::detail::ThrowBadIndex();
    return pNode;
  }

  std::vector<TYPE> Elements() const {
    std::vector<TYPE> out;
    for (CNode* pNode = m_pNodeHead; pNode; pNode = pNode->pNext) out.push_back(pNode->data);
    return out;
  }

  void Unlink(CNode* pOld) {
    if (pOld->pPrev) pOld->pPrev->pNext = pOld->pNext;
    else m_pNodeHead = pOld->pNext;
    if (pOld->pNext) pOld->pNext->pPrev = pOld->pPrev;
    else m_pNodeTail = pOld->pPrev;
    delete pOld;
    --m_nCount;
  }

  CNode* m_pNodeHead = nullptr;
  CNode* m_pNodeTail = nullptr;
  INT_PTR m_nCount = 0;
};

// ---------------------------------------------------------------------------
// CMap: a hash map from KEY to VALUE. Each bucket is a chain with the newest
// association first; iteration walks the buckets in order.

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap {
 public:
  // A key with its value, as PLookup hands it out.
  class CPair {
   public:
    const KEY key;
    VALUE value;

   protected:
    explicit CPair(ARG_KEY keyval) : key(keyval), value() {}
  };

  explicit CMap(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
  CMap(const CMap&) = delete;
  CMap& operator=(const CMap&) = delete;
  virtual ~CMap() { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }
  UINT GetHashTableSize() const { return m_nHashTableSize; }

  // Sets the number of buckets (best a prime a little larger than the
  // expected count). Associations already held are kept and rehashed.
  void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE) {
    if (nHashSize == 0) nHashSize = 1;
    std::vector<CAssoc*> old;
    old.swap(m_table);
    m_nHashTableSize = nHashSize;
    if (bAllocNow || !old.empty()) m_table.assign(nHashSize, nullptr);
    // Re-insert bucket by bucket, oldest first, so chains keep their order.
    for (CAssoc* pHead : old) {
      std::vector<CAssoc*> chain;
      for (CAssoc* p = pHead; p; p = p->pNext) chain.push_back(p);
      for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        CAssoc* p = *it;
        UINT nBucket = p->nHashValue % m_nHashTableSize;
        p->pNext = m_table[nBucket];
        m_table[nBucket] = p;
      }
    }
  }

  BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
    UINT nBucket, nHash;
    CAssoc* pAssoc = GetAssocAt(key, nBucket, nHash);
    if (!pAssoc) return FALSE;
    rValue = pAssoc->value;
    return TRUE;
  }
  const CPair* PLookup(ARG_KEY key) const {
    UINT nBucket, nHash;
    return GetAssocAt(key, nBucket, nHash);
  }
  CPair* PLookup(ARG_KEY key) {
    UINT nBucket, nHash;
    return GetAssocAt(key, nBucket, nHash);
  }

  // The value of the key, added (value-initialised) when the key is new.
  VALUE& operator[](ARG_KEY key) {
    UINT nBucket, nHash;
    CAssoc* pAssoc = GetAssocAt(key, nBucket, nHash);
    if (!pAssoc) {
      if (m_table.empty()) m_table.assign(m_nHashTableSize, nullptr);
      pAssoc = new CAssoc(key, nHash, m_table[nBucket]);
      m_table[nBucket] = pAssoc;
      ++m_nCount;
    }
    return pAssoc->value;
  }
  void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

  BOOL RemoveKey(ARG_KEY key) {
    if (m_table.empty()) return FALSE;
    UINT nHash = HashKey<ARG_KEY>(key);
    CAssoc** ppPrev = &m_table[nHash % m_nHashTableSize];
    for (CAssoc* pAssoc = *ppPrev; pAssoc; pAssoc = pAssoc->pNext) {
      if (pAssoc->nHashValue == nHash && CompareElements(&pAssoc->key, &key)) {
        *ppPrev = pAssoc->pNext;
        delete pAssoc;
        --m_nCount;
        return TRUE;
      }
      ppPrev = &pAssoc->pNext;
    }
    return FALSE;
  }

  void RemoveAll() {
    for (CAssoc*& pHead : m_table) {
      CAssoc* pAssoc = pHead;
      while (pAssoc) {
        CAssoc* pNext = pAssoc->pNext;
        delete pAssoc;
        pAssoc = pNext;
      }
      pHead = nullptr;
    }
    m_table.clear();
    m_nCount = 0;
  }

  // BEFORE_START_POSITION when the map holds anything, else null.
  POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }

  // Fetches the association at rNextPosition and moves it on (null after the
  // last). The current key may be removed before the next call.
  void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
    CAssoc* pAssoc = AssocAt(rNextPosition);
    rNextPosition = ToPos(NextAssoc(pAssoc));
    rKey = pAssoc->key;
    rValue = pAssoc->value;
  }

  const CPair* PGetFirstAssoc() const { return FirstAssoc(); }
  CPair* PGetFirstAssoc() { return FirstAssoc(); }
  const CPair* PGetNextAssoc(const CPair* pPair) const {
    return pPair ? NextAssoc(static_cast<CAssoc*>(const_cast<CPair*>(pPair))) : nullptr;
  }
  CPair* PGetNextAssoc(const CPair* pPair) {
    return pPair ? NextAssoc(static_cast<CAssoc*>(const_cast<CPair*>(pPair))) : nullptr;
  }

 private:
  class CAssoc : public CPair {
   public:
    CAssoc(ARG_KEY keyval, UINT hash, CAssoc* next) : CPair(keyval), pNext(next), nHashValue(hash) {}
    CAssoc* pNext;
    UINT nHashValue;
  };

  static POSITION ToPos(CAssoc* pAssoc) { return reinterpret_cast<POSITION>(pAssoc); }

  CAssoc* GetAssocAt(ARG_KEY key, UINT& nBucket, UINT& nHash) const {
    nHash = HashKey<ARG_KEY>(key);
    nBucket = nHash % m_nHashTableSize;
    if (m_table.empty()) return nullptr;
    for (CAssoc* pAssoc = m_table[nBucket]; pAssoc; pAssoc = pAssoc->pNext) {
      if (pAssoc->nHashValue == nHash && CompareElements(&pAssoc->key, &key)) return pAssoc;
    }
    return nullptr;
  }

  CAssoc* FirstInBucketsFrom(size_t nBucket) const {
    for (; nBucket < m_table.size(); ++nBucket) {
      if (m_table[nBucket]) return m_table[nBucket];
    }
    return nullptr;
  }
  CAssoc* FirstAssoc() const { return m_nCount == 0 ? nullptr : FirstInBucketsFrom(0); }
  CAssoc* NextAssoc(CAssoc* pAssoc) const {
    if (pAssoc->pNext) return pAssoc->pNext;
    return FirstInBucketsFrom(pAssoc->nHashValue % m_nHashTableSize + 1);
  }
  CAssoc* AssocAt(POSITION pos) const {
    if (!pos || m_nCount == 0) win::detail::ThrowBadIndex();
    if (pos == BEFORE_START_POSITION) return FirstAssoc();
    return reinterpret_cast<CAssoc*>(pos);
  }

  std::vector<CAssoc*> m_table;  // bucket heads; empty until first needed
  UINT m_nHashTableSize = 17;
  INT_PTR m_nCount = 0;
};
