// AcDbSharedName: a name an entity carries (its layer's, its line type's),
// shared by every entity that carries the same one. A drawing of a million
// entities has a handful of layers: each entity keeps one pointer to a name
// made once, not a string of its own. Names never change once made; giving
// an entity another name points it at another one. The count of holders is
// atomic, so entities on different threads may share a name.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <utility>

class AcDbSharedName {
 public:
  // No name: the holder's default ("0" for a layer, "ByLayer" for a line type).
  AcDbSharedName() = default;
  explicit AcDbSharedName(std::wstring_view text) : m_pNode(new Node{{1}, std::wstring(text)}) {}
  AcDbSharedName(const AcDbSharedName& other) noexcept : m_pNode(other.m_pNode) {
    if (m_pNode) m_pNode->holders.fetch_add(1, std::memory_order_relaxed);
  }
  AcDbSharedName(AcDbSharedName&& other) noexcept : m_pNode(std::exchange(other.m_pNode, nullptr)) {}
  AcDbSharedName& operator=(AcDbSharedName other) noexcept {
    std::swap(m_pNode, other.m_pNode);
    return *this;
  }
  ~AcDbSharedName() {
    if (m_pNode && m_pNode->holders.fetch_sub(1, std::memory_order_acq_rel) == 1) delete m_pNode;
  }

  bool isNull() const { return m_pNode == nullptr; }
  // The text, or the fallback when there is no name.
  const std::wstring& textOr(const std::wstring& fallback) const { return m_pNode ? m_pNode->text : fallback; }
  // True when both hold the very same name (not merely equal texts).
  bool isSameAs(const AcDbSharedName& other) const { return m_pNode == other.m_pNode; }

 private:
  struct Node {
    std::atomic<unsigned> holders;
    const std::wstring text;
  };
  Node* m_pNode = nullptr;
};
