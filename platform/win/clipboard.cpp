// Global memory handles and the clipboard. The clipboard owns the memory it
// is given; text put there in one of the two text formats can be read in the
// other (UTF-16 wide text and the multibyte code page, UTF-8). On a display
// the text is shared with other programs (the X CLIPBOARD selection).
#include <cstring>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "textconv.h"
#include "winuser.h"
#include "wndbackend.h"

namespace {

struct GlobalBlock {
  std::vector<unsigned char> bytes;
  int locks = 0;
};

struct Globals {
  std::unordered_map<uintptr_t, std::unique_ptr<GlobalBlock>> blocks;
  uintptr_t next = 0x40000;
};

Globals& G() {
  static Globals g;
  return g;
}

GlobalBlock* Block(HGLOBAL mem) {
  auto it = G().blocks.find(reinterpret_cast<uintptr_t>(mem));
  return it == G().blocks.end() ? nullptr : it->second.get();
}

struct Clipboard {
  bool open = false;
  bool changed = false;  // emptied or set since it was opened
  HWND owner = nullptr;
  std::map<UINT, HGLOBAL> data;
  std::map<std::wstring, UINT> formats;
};

Clipboard& C() {
  static Clipboard c;
  return c;
}

void FreeAll() {
  for (auto& [fmt, mem] : C().data) {
    (void)fmt;
    GlobalFree(mem);
  }
  C().data.clear();
}

HGLOBAL MakeBlock(const void* data, size_t size) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
  if (void* p = GlobalLock(mem)) {
    memcpy(p, data, size);
    GlobalUnlock(mem);
  }
  return mem;
}

// Takes the text another program offers on the display's clipboard, if any.
void SyncFromDisplay() {
  win::wnd::Backend* display = win::wnd::GetBackend();
  if (!display) return;
  std::optional<std::string> text = display->ClipboardFetch();
  if (!text) return;
  FreeAll();
  C().data[CF_TEXT] = MakeBlock(text->c_str(), text->size() + 1);
}

// The clipboard's text as UTF-8, or nullopt when it holds no text.
std::optional<std::string> TextNow() {
  HANDLE mem = GetClipboardData(CF_TEXT);
  const auto* p = static_cast<const char*>(GlobalLock(mem));
  if (!p) return std::nullopt;
  size_t n = 0, max = GlobalSize(mem);
  while (n < max && p[n]) ++n;
  std::string text(p, n);
  GlobalUnlock(mem);
  return text;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT, SIZE_T bytes) {
  auto block = std::make_unique<GlobalBlock>();
  block->bytes.assign(bytes ? bytes : 1, 0);
  block->bytes.resize(bytes);
  uintptr_t id = (G().next += 8);
  G().blocks.emplace(id, std::move(block));
  return reinterpret_cast<HGLOBAL>(id);
}

HGLOBAL GlobalReAlloc(HGLOBAL mem, SIZE_T bytes, UINT flags) {
  GlobalBlock* b = Block(mem);
  if (!b) return nullptr;
  size_t old = b->bytes.size();
  b->bytes.resize(bytes);
  if ((flags & GMEM_ZEROINIT) && bytes > old) std::fill(b->bytes.begin() + static_cast<long>(old), b->bytes.end(), 0);
  return mem;
}

LPVOID GlobalLock(HGLOBAL mem) {
  GlobalBlock* b = Block(mem);
  if (!b) return nullptr;
  ++b->locks;
  // A zero-sized block still has an address.
  if (b->bytes.empty()) b->bytes.reserve(1);
  return b->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL mem) {
  GlobalBlock* b = Block(mem);
  if (!b || b->locks == 0) return FALSE;
  return --b->locks > 0;
}

SIZE_T GlobalSize(HGLOBAL mem) {
  GlobalBlock* b = Block(mem);
  return b ? b->bytes.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL mem) {
  if (!mem) return nullptr;
  return G().blocks.erase(reinterpret_cast<uintptr_t>(mem)) ? nullptr : mem;
}

BOOL OpenClipboard(HWND owner) {
  Clipboard& c = C();
  if (c.open) return FALSE;
  c.open = true;
  c.changed = false;
  c.owner = owner;
  SyncFromDisplay();
  return TRUE;
}

BOOL CloseClipboard() {
  Clipboard& c = C();
  if (!c.open) return FALSE;
  if (c.changed) {
    if (win::wnd::Backend* display = win::wnd::GetBackend())
      if (std::optional<std::string> text = TextNow()) display->ClipboardSet(*text);
  }
  c.open = false;
  return TRUE;
}

BOOL EmptyClipboard() {
  if (!C().open) return FALSE;
  FreeAll();
  C().changed = true;
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE mem) {
  Clipboard& c = C();
  if (!c.open || !Block(mem)) return nullptr;
  c.changed = true;
  auto it = c.data.find(format);
  if (it != c.data.end() && it->second != mem) GlobalFree(it->second);
  c.data[format] = mem;
  // The other text format is derived afresh on demand.
  if (format == CF_TEXT) {
    if (auto u = c.data.find(CF_UNICODETEXT); u != c.data.end() && u->second != mem) {
      GlobalFree(u->second);
      c.data.erase(u);
    }
  } else if (format == CF_UNICODETEXT) {
    if (auto t = c.data.find(CF_TEXT); t != c.data.end() && t->second != mem) {
      GlobalFree(t->second);
      c.data.erase(t);
    }
  }
  return mem;
}

HANDLE GetClipboardData(UINT format) {
  Clipboard& c = C();
  if (!c.open) return nullptr;
  auto it = c.data.find(format);
  if (it != c.data.end()) return it->second;
  if (format == CF_TEXT) {
    auto u = c.data.find(CF_UNICODETEXT);
    if (u == c.data.end()) return nullptr;
    GlobalBlock* b = Block(u->second);
    size_t n = 0, max = b->bytes.size() / 2;
    const auto* p = reinterpret_cast<const char16_t*>(b->bytes.data());
    while (n < max && p[n]) ++n;
    std::string narrow = win::WideToUtf8(win::Utf16ToWide(std::u16string_view(p, n)));
    HGLOBAL mem = MakeBlock(narrow.c_str(), narrow.size() + 1);
    c.data[CF_TEXT] = mem;
    return mem;
  }
  if (format == CF_UNICODETEXT) {
    auto t = c.data.find(CF_TEXT);
    if (t == c.data.end()) return nullptr;
    GlobalBlock* b = Block(t->second);
    size_t n = 0;
    while (n < b->bytes.size() && b->bytes[n]) ++n;
    std::u16string wide = win::WideToUtf16(win::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(b->bytes.data()), n)));
    HGLOBAL mem = MakeBlock(wide.c_str(), (wide.size() + 1) * 2);
    c.data[CF_UNICODETEXT] = mem;
    return mem;
  }
  return nullptr;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  Clipboard& c = C();
  if (!c.open) SyncFromDisplay();
  if (c.data.count(format)) return TRUE;
  if (format == CF_TEXT) return c.data.count(CF_UNICODETEXT) > 0;
  if (format == CF_UNICODETEXT) return c.data.count(CF_TEXT) > 0;
  return FALSE;
}

UINT RegisterClipboardFormatW(LPCWSTR name) {
  if (!name || !*name) return 0;
  auto& f = C().formats;
  auto it = f.find(name);
  if (it != f.end()) return it->second;
  UINT id = static_cast<UINT>(0xC000 + f.size());
  f.emplace(name, id);
  return id;
}
