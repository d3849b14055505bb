// FlatMap: the graphics system's index from a key of pointers to a value,
// kept in one array (open addressing, linear probing). A view or model
// indexes every drawable it holds; with hundreds of thousands of them, a
// node-based map pays an allocation per entry and a long rehash now and then,
// which was most of what adding a drawable cost. The default key marks an
// empty slot, so it is never stored.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace acgs {

// Hashes of the keys the graphics system uses: one pointer, or two.
struct PointerHash {
  // The high bits of the product folded down: the slot is taken from the
  // low bits.
  static uint64_t mix(const void* p) {
    uint64_t h = (static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p)) >> 4) * 0x9E3779B97F4A7C15ull;
    return h ^ (h >> 29);
  }
  size_t operator()(const void* p) const { return static_cast<size_t>(mix(p)); }
  size_t operator()(const std::pair<const void*, const void*>& k) const {
    return static_cast<size_t>(mix(k.first) * 31 + mix(k.second));
  }
};

template <class Key, class Value, class Hash = PointerHash>
class FlatMap {
 public:
  size_t size() const { return m_nSize; }
  bool empty() const { return m_nSize == 0; }

  Value* find(const Key& key) {
    if (m_nSize == 0) return nullptr;
    for (size_t i = home(key);; i = (i + 1) & mask()) {
      if (m_slots[i].first == key) return &m_slots[i].second;
      if (m_slots[i].first == Key{}) return nullptr;
    }
  }
  bool contains(const Key& key) const { return const_cast<FlatMap*>(this)->find(key) != nullptr; }

  // The value of the key, made (value-initialised) when it is not there;
  // the flag tells whether it was made.
  std::pair<Value*, bool> insert(const Key& key) {
    // At most half full: short probes.
    if ((m_nSize + 1) * 2 > m_slots.size()) grow();
    for (size_t i = home(key);; i = (i + 1) & mask()) {
      if (m_slots[i].first == key) return {&m_slots[i].second, false};
      if (m_slots[i].first == Key{}) {
        m_slots[i].first = key;
        ++m_nSize;
        return {&m_slots[i].second, true};
      }
    }
  }

  // Removes the key; later keys of its run move back, so that no lookup
  // stops early at the hole.
  bool erase(const Key& key) {
    if (m_nSize == 0) return false;
    size_t i = home(key);
    while (!(m_slots[i].first == key)) {
      if (m_slots[i].first == Key{}) return false;
      i = (i + 1) & mask();
    }
    for (size_t j = (i + 1) & mask(); !(m_slots[j].first == Key{}); j = (j + 1) & mask()) {
      size_t k = home(m_slots[j].first);
      // Slot j stays when its home lies cyclically in (i, j].
      bool stays = i <= j ? (i < k && k <= j) : (i < k || k <= j);
      if (stays) continue;
      m_slots[i] = std::move(m_slots[j]);
      i = j;
    }
    m_slots[i] = Slot{};
    --m_nSize;
    return true;
  }

  void clear() {
    m_slots.clear();
    m_nSize = 0;
  }

  template <class Fn>
  void forEach(Fn fn) {
    for (Slot& s : m_slots)
      if (!(s.first == Key{})) fn(s.first, s.second);
  }

 private:
  using Slot = std::pair<Key, Value>;
  size_t mask() const { return m_slots.size() - 1; }
  size_t home(const Key& key) const { return Hash()(key) & mask(); }
  void grow() {
    std::vector<Slot> old = std::move(m_slots);
    m_slots.clear();
    m_slots.resize(old.empty() ? 16 : old.size() * 2);
    for (Slot& s : old) {
      if (s.first == Key{}) continue;
      size_t i = home(s.first);
      while (!(m_slots[i].first == Key{})) i = (i + 1) & mask();
      m_slots[i] = std::move(s);
    }
  }

  std::vector<Slot> m_slots;
  size_t m_nSize = 0;
};

}  // namespace acgs
