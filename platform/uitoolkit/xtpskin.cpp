// The toolkit's skin manager and style files.
#include "xtpskin.h"

#include <fstream>

#include "paths.h"
#include "textconv.h"

namespace {
bool Readable(LPCTSTR path) {
  if (!path || !*path) return false;
  std::ifstream in(win::ToPosixPath(path), std::ios::binary);
  return in.good();
}
}  // namespace

BOOL CXTPSkinManager::LoadSkin(LPCTSTR skinPath, LPCTSTR) {
  if (!Readable(skinPath)) return FALSE;
  m_strSkinPath = skinPath;
  return TRUE;
}

BOOL CXTPResourceImages::SetHandle(LPCTSTR stylePath, LPCTSTR) {
  if (!Readable(stylePath)) return FALSE;
  m_strStylePath = stylePath;
  return TRUE;
}

CXTPSkinManager* XTPSkinManager() {
  static CXTPSkinManager manager;
  return &manager;
}

CXTPResourceImages* XTPResourceImages() {
  static CXTPResourceImages images;
  return &images;
}
