// The registry's storage: a hive is a tree of keys and typed values kept as a
// text file. HiveFile gives read access to the current tree (parsed once and
// kept while the file is unchanged) and makes changes safely against other
// processes: exclusive lock, re-read, change, write a new file, sync, rename.
#pragma once

#include "wintypes.h"

#include <sys/types.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace win::registry {

// Key and value names compare without regard to case and keep the case they
// were created with.
std::wstring FoldName(std::wstring_view name);

struct Value {
  std::wstring name;
  DWORD type = 0;
  // Raw bytes as stored; text types hold UTF-16LE.
  std::vector<BYTE> data;
};

class Key {
 public:
  explicit Key(std::wstring name = {}) : m_name(std::move(name)) {}
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;

  const std::wstring& Name() const { return m_name; }

  Key* FindChild(std::wstring_view name) const;
  // The child of that name, created when missing (created is set then).
  Key& Child(std::wstring_view name, bool* created = nullptr);
  bool RemoveChild(std::wstring_view name);
  void RemoveAllChildren() { m_children.clear(); }
  // Children in order of their folded names.
  const std::map<std::wstring, std::unique_ptr<Key>>& Children() const { return m_children; }

  const Value* FindValue(std::wstring_view name) const;
  // Sets or replaces a value; false when it was already exactly that.
  bool SetValue(std::wstring_view name, DWORD type, std::vector<BYTE> data);
  bool RemoveValue(std::wstring_view name);
  void RemoveAllValues() {
    m_values.clear();
    m_textValid = false;
  }
  // Values in the order they were first set.
  const std::vector<Value>& Values() const { return m_values; }

  // The key at the end of the path below this one, or null.
  Key* Find(const std::vector<std::wstring>& path) const;

 private:
  friend void FormatKeyText(std::string& out, const Key& key, std::wstring& path);

  std::wstring m_name;
  std::map<std::wstring, std::unique_ptr<Key>> m_children;
  std::vector<Value> m_values;
  // This key's own lines in the file (its header and values), kept between
  // writes so that a change to one key does not format the whole hive again.
  mutable std::string m_text;
  mutable bool m_textValid = false;
};

// The text form of a hive. rootName is the root's full name
// ("HKEY_CURRENT_USER"); every key line names its full path.
struct ParseResult {
  bool ok = false;
  int errorLine = 0;
  std::string error;
};
ParseResult ParseHive(std::string_view text, std::wstring_view rootName, Key& root);
std::string FormatHive(const Key& root, std::wstring_view rootName, std::string_view headerTag);
// The same into out (replacing what it held), so that a caller can reuse one buffer.
void FormatHiveInto(std::string& out, const Key& root, std::wstring_view rootName, std::string_view headerTag);

// The first line of every hive file; the tag after it changes with every write.
inline constexpr std::string_view kHiveSignature = "MARLO REGISTRY HIVE 1";

class HiveFile {
 public:
  HiveFile(std::string directory, std::string fileName, std::wstring rootName);
  HiveFile(const HiveFile&) = delete;
  HiveFile& operator=(const HiveFile&) = delete;

  const std::string& Path() const { return m_path; }

  // Runs fn on the current tree. A missing, unreadable or unparsable file
  // reads as an empty hive.
  LSTATUS Read(const std::function<LSTATUS(const Key& root)>& fn);

  // Runs fn on the current tree under the hive's lock and stores the result
  // when fn succeeds and reports a change. Fails without touching the file
  // when the hive cannot be read or parsed or the folder cannot be written.
  LSTATUS Write(const std::function<LSTATUS(Key& root, bool& changed)>& fn);

 private:
  struct Stamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long mtimeSec = 0;
    long mtimeNsec = 0;
    std::string header;
    bool operator==(const Stamp&) const = default;
  };
  enum class Load { Ok, Missing, Corrupt, Unreadable };

  Load Refresh();
  void WarnCorrupt(const ParseResult& result);
  LSTATUS Store(Key& root);

  std::string m_directory;
  std::string m_path;
  std::string m_lockPath;
  std::wstring m_rootName;
  std::mutex m_mutex;
  std::unique_ptr<Key> m_tree;
  bool m_cached = false;
  bool m_corrupt = false;
  Stamp m_stamp;
  bool m_warned = false;
  std::string m_buffer;  // the text of the last write, reused by the next
};

// The hive of a predefined root in the current platform prefix, or null for a
// handle that is not a predefined root.
HiveFile* HiveFor(HKEY root);
// The full name of a predefined root ("HKEY_CURRENT_USER"), or empty.
std::wstring RootName(HKEY root);

}  // namespace win::registry
