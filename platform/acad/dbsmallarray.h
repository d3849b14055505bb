// AcDbSmallArray: a growable array that keeps its first N elements inside
// the object that holds it and goes to the heap only beyond them. Objects
// made by the hundred thousand with a few elements each (a hatch's one loop
// of one boundary and two vertices) then cost no allocation per element
// list, and their memory is one piece. The inline elements share their room
// with the heap block's address: an array costs its elements and 8 bytes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <new>
#include <utility>

template <class T, size_t N>
class AcDbSmallArray {
 public:
  using value_type = T;
  using iterator = T*;
  using const_iterator = const T*;

  AcDbSmallArray() = default;
  AcDbSmallArray(std::initializer_list<T> items) { assign(items.begin(), items.end()); }
  AcDbSmallArray(const AcDbSmallArray& other) { assign(other.begin(), other.end()); }
  AcDbSmallArray(AcDbSmallArray&& other) noexcept { takeFrom(other); }
  ~AcDbSmallArray() { release(); }

  AcDbSmallArray& operator=(const AcDbSmallArray& other) {
    if (this != &other) assign(other.begin(), other.end());
    return *this;
  }
  AcDbSmallArray& operator=(AcDbSmallArray&& other) noexcept {
    if (this != &other) {
      release();
      takeFrom(other);
    }
    return *this;
  }
  AcDbSmallArray& operator=(std::initializer_list<T> items) {
    assign(items.begin(), items.end());
    return *this;
  }

  size_t size() const { return m_nSize; }
  bool empty() const { return m_nSize == 0; }
  size_t capacity() const { return onHeap() ? m_nCapacity : N; }
  T* data() { return onHeap() ? m_storage.heap : inlineData(); }
  const T* data() const { return onHeap() ? m_storage.heap : inlineData(); }
  T* begin() { return data(); }
  T* end() { return data() + m_nSize; }
  const T* begin() const { return data(); }
  const T* end() const { return data() + m_nSize; }
  T& operator[](size_t i) { return data()[i]; }
  const T& operator[](size_t i) const { return data()[i]; }
  T& back() { return data()[m_nSize - 1]; }
  const T& back() const { return data()[m_nSize - 1]; }

  void clear() {
    std::destroy_n(data(), m_nSize);
    m_nSize = 0;
  }

  template <class... Args>
  T& emplace_back(Args&&... args) {
    if (m_nSize == capacity()) {
      // The new element first: args may refer to an element being moved.
      size_t grown = std::max<size_t>(2 * capacity(), N + 1);
      T* fresh = static_cast<T*>(::operator new(grown * sizeof(T), std::align_val_t(alignof(T))));
      try {
        ::new (fresh + m_nSize) T(std::forward<Args>(args)...);
      } catch (...) {
        ::operator delete(fresh, std::align_val_t(alignof(T)));
        throw;
      }
      std::uninitialized_move_n(data(), m_nSize, fresh);
      std::destroy_n(data(), m_nSize);
      freeHeap();
      m_storage.heap = fresh;
      m_nCapacity = static_cast<uint32_t>(grown);
      return fresh[m_nSize++];
    }
    T* slot = ::new (data() + m_nSize) T(std::forward<Args>(args)...);
    ++m_nSize;
    return *slot;
  }
  void push_back(const T& item) { emplace_back(item); }
  void push_back(T&& item) { emplace_back(std::move(item)); }
  void pop_back() { std::destroy_at(data() + --m_nSize); }

  // Removes the element at it, the later ones moving up.
  T* erase(T* it) {
    std::move(it + 1, end(), it);
    pop_back();
    return it;
  }

  template <class It>
  void assign(It first, It last) {
    clear();
    for (; first != last; ++first) emplace_back(*first);
  }
  void assign(size_t n, const T& value) {
    clear();
    for (size_t i = 0; i < n; ++i) emplace_back(value);
  }

 private:
  bool onHeap() const { return m_nCapacity != 0; }
  T* inlineData() { return std::launder(reinterpret_cast<T*>(m_storage.bytes)); }
  const T* inlineData() const { return std::launder(reinterpret_cast<const T*>(m_storage.bytes)); }
  void freeHeap() {
    if (onHeap()) ::operator delete(m_storage.heap, std::align_val_t(alignof(T)));
    m_storage.heap = nullptr;
    m_nCapacity = 0;
  }
  void release() {
    clear();
    freeHeap();
  }
  // Takes other's elements (its heap block, or a move of its inline ones);
  // other is left empty. This array holds nothing yet.
  void takeFrom(AcDbSmallArray& other) noexcept {
    if (other.onHeap()) {
      m_storage.heap = other.m_storage.heap;
      m_nCapacity = other.m_nCapacity;
      m_nSize = other.m_nSize;
      other.m_storage.heap = nullptr;
      other.m_nCapacity = 0;
      other.m_nSize = 0;
      return;
    }
    std::uninitialized_move_n(other.inlineData(), other.m_nSize, inlineData());
    m_nSize = other.m_nSize;
    other.clear();
  }

  union Storage {
    T* heap;  // while the capacity is not 0
    alignas(T) unsigned char bytes[N * sizeof(T)];
  } m_storage{nullptr};
  uint32_t m_nSize = 0;
  uint32_t m_nCapacity = 0;  // of the heap block; 0 while the elements are inline
};
