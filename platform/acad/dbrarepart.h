// AcDbRarePart<T>: a part of an object that few objects of its kind need (a
// circle's plane other than xy, a hatch's pattern and style). Absent, it
// costs one pointer; it is made when a value first differs from the usual
// and copied with its object.
#pragma once

#include <memory>

template <class T>
class AcDbRarePart {
 public:
  AcDbRarePart() = default;
  AcDbRarePart(const AcDbRarePart& other) : m_p(other.m_p ? std::make_unique<T>(*other.m_p) : nullptr) {}
  AcDbRarePart& operator=(const AcDbRarePart& other) {
    if (this != &other) m_p = other.m_p ? std::make_unique<T>(*other.m_p) : nullptr;
    return *this;
  }

  // The part, or null while every value is the usual one.
  T* get() const { return m_p.get(); }
  T& make() {
    if (!m_p) m_p = std::make_unique<T>();
    return *m_p;
  }

 private:
  std::unique_ptr<T> m_p;
};
