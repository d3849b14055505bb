// Module resources: dialog templates, strings and images held as tables in a
// module's own code. A module declares its tables once at namespace scope:
//
//   static const win::ResourceTable kResources{
//       {/* dialogs */ win::DialogResource{113, WS_POPUP | WS_CAPTION | ..., 0, 0, 0, 186, 125,
//                                          L"caption", L"Tahoma", 8, {{L"Static", L"text", 114, ...}}}},
//       {/* strings */ {101, L"text"}},
//       {/* images  */ win::ImageResource{111, IMAGE_ICON, png, sizeof png}}};
//
// The table registers itself for the module that holds it while the module is
// loaded; lookups by instance handle fall back to every loaded module's
// tables, as the class library's resource chain does.
#pragma once

#include <string>
#include <vector>

#include "winuser.h"

namespace win {

struct DialogItem {
  std::wstring className;  // "Button", "Static", "Edit", "ComboBox" or a registered class
  std::wstring text;
  int id = -1;
  short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  DWORD style = 0;  // WS_CHILD and WS_VISIBLE are added
  DWORD exStyle = 0;
};

struct DialogResource {
  UINT id = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  std::wstring caption;
  std::wstring fontFace;  // empty: the system font
  int pointSize = 8;
  std::vector<DialogItem> items;
};

struct StringResource {
  UINT id = 0;
  std::wstring text;
};

// An image: PNG bytes (made by this project), or 32-bit ARGB pixels.
struct ImageResource {
  UINT id = 0;
  UINT type = IMAGE_BITMAP;  // IMAGE_BITMAP, IMAGE_ICON or IMAGE_CURSOR
  const unsigned char* png = nullptr;
  size_t pngSize = 0;
  int width = 0, height = 0;
  std::vector<uint32_t> argb;
};

class ResourceTable {
 public:
  ResourceTable(std::vector<DialogResource> dialogs, std::vector<StringResource> strings = {},
                std::vector<ImageResource> images = {});
  ~ResourceTable();
  ResourceTable(const ResourceTable&) = delete;
  ResourceTable& operator=(const ResourceTable&) = delete;

  HINSTANCE Instance() const { return m_instance; }
  const DialogResource* FindDialog(UINT id) const;
  const StringResource* FindString(UINT id) const;
  const ImageResource* FindImage(UINT id, UINT type) const;

 private:
  HINSTANCE m_instance;
  std::vector<DialogResource> m_dialogs;
  std::vector<StringResource> m_strings;
  std::vector<ImageResource> m_images;
};

// The tables of one module, in the order they were made (none when the
// module holds no table).
std::vector<const ResourceTable*> TablesOfModule(HINSTANCE instance);

// Lookups through the chain: the given instance first, then every table.
const DialogResource* FindDialogResource(HINSTANCE instance, UINT id);
const StringResource* FindStringResource(HINSTANCE instance, UINT id);
const ImageResource* FindImageResource(HINSTANCE instance, UINT id, UINT type);

}  // namespace win
