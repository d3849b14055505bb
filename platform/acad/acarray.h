// The host's growable array: a value array with append/at/length/removeAt and
// the usual searching members, over std::vector.
#pragma once

#include <algorithm>
#include <cassert>
#include <initializer_list>
#include <vector>

template <class T>
class AcArray {
 public:
  AcArray() = default;
  explicit AcArray(int physicalLength, int growLength = 8) : m_nGrowLength(growLength) {
    if (physicalLength > 0) m_items.reserve(static_cast<size_t>(physicalLength));
  }
  AcArray(std::initializer_list<T> items) : m_items(items) {}

  int length() const { return static_cast<int>(m_items.size()); }
  int logicalLength() const { return length(); }
  int physicalLength() const { return static_cast<int>(m_items.capacity()); }
  int growLength() const { return m_nGrowLength; }
  AcArray& setGrowLength(int n) { m_nGrowLength = n > 0 ? n : 1; return *this; }
  bool isEmpty() const { return m_items.empty(); }
  bool empty() const { return m_items.empty(); }

  T& at(int i) { assert(i >= 0 && i < length()); return m_items[static_cast<size_t>(i)]; }
  const T& at(int i) const { assert(i >= 0 && i < length()); return m_items[static_cast<size_t>(i)]; }
  T& operator[](int i) { return at(i); }
  const T& operator[](int i) const { return at(i); }
  T& first() { return at(0); }
  const T& first() const { return at(0); }
  T& last() { return at(length() - 1); }
  const T& last() const { return at(length() - 1); }
  const T* asArrayPtr() const { return m_items.data(); }
  T* asArrayPtr() { return m_items.data(); }

  int append(const T& value) { m_items.push_back(value); return length() - 1; }
  AcArray& append(const AcArray& other) {
    m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
    return *this;
  }
  AcArray& insertAt(int index, const T& value) {
    if (index < 0 || index > length()) return *this;
    m_items.insert(m_items.begin() + index, value);
    return *this;
  }
  AcArray& removeAt(int index) {
    if (index >= 0 && index < length()) m_items.erase(m_items.begin() + index);
    return *this;
  }
  bool remove(const T& value, int start = 0) {
    int i = 0;
    if (!find(value, i, start)) return false;
    removeAt(i);
    return true;
  }
  AcArray& removeFirst() { return removeAt(0); }
  AcArray& removeLast() { if (!m_items.empty()) m_items.pop_back(); return *this; }
  AcArray& removeAll() { m_items.clear(); return *this; }
  AcArray& setAt(int index, const T& value) { at(index) = value; return *this; }
  AcArray& setLogicalLength(int n) { m_items.resize(static_cast<size_t>(n < 0 ? 0 : n)); return *this; }
  AcArray& setPhysicalLength(int n) {
    if (n < length()) m_items.resize(static_cast<size_t>(n < 0 ? 0 : n));
    m_items.reserve(static_cast<size_t>(n < 0 ? 0 : n));
    return *this;
  }
  AcArray& reverse() { std::reverse(m_items.begin(), m_items.end()); return *this; }
  AcArray& swap(int i, int j) { std::swap(at(i), at(j)); return *this; }

  bool contains(const T& value, int start = 0) const { int i; return find(value, i, start); }
  bool find(const T& value, int& foundAt, int start = 0) const {
    for (int i = start < 0 ? 0 : start; i < length(); ++i) {
      if (m_items[static_cast<size_t>(i)] == value) { foundAt = i; return true; }
    }
    return false;
  }
  int find(const T& value) const { int i = -1; return find(value, i, 0) ? i : -1; }

  bool operator==(const AcArray& other) const { return m_items == other.m_items; }

  typename std::vector<T>::iterator begin() { return m_items.begin(); }
  typename std::vector<T>::iterator end() { return m_items.end(); }
  typename std::vector<T>::const_iterator begin() const { return m_items.begin(); }
  typename std::vector<T>::const_iterator end() const { return m_items.end(); }

 private:
  std::vector<T> m_items;
  int m_nGrowLength = 8;
};

typedef AcArray<void*> AcDbVoidPtrArray;
typedef AcArray<double> AcGeDoubleArray;
typedef AcArray<int> AcGeIntArray;
