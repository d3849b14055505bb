// Skins and style files of the toolkit. Loading a file only changes the look
// of the windows; a missing or unreadable file leaves the plain look.
#pragma once

#include "afxwin.h"

enum XTPSkinApplyOptions {
  xtpSkinApplyFrame = 0x0001,
  xtpSkinApplyColors = 0x0002,
  xtpSkinApplyMetrics = 0x0004,
  xtpSkinApplyMenus = 0x0008,
};

class CXTPSkinManager {
 public:
  void SetApplyOptions(DWORD options) { m_dwApplyOptions = options; }
  DWORD GetApplyOptions() const { return m_dwApplyOptions; }
  // Loads a skin file; FALSE (and the default look) when it cannot be read.
  BOOL LoadSkin(LPCTSTR skinPath, LPCTSTR iniFileName = nullptr);
  // The file of the loaded skin, empty when none is.
  CString GetSkinPath() const { return m_strSkinPath; }

 private:
  DWORD m_dwApplyOptions = xtpSkinApplyFrame | xtpSkinApplyColors | xtpSkinApplyMetrics;
  CString m_strSkinPath;
};

class CXTPResourceImages {
 public:
  // Takes the style file whose images theme-7 controls draw with; FALSE when
  // the file cannot be read.
  BOOL SetHandle(LPCTSTR stylePath, LPCTSTR iniFileName = nullptr);
  BOOL IsValid() const { return !m_strStylePath.IsEmpty(); }
  CString GetStylePath() const { return m_strStylePath; }

 private:
  CString m_strStylePath;
};

CXTPSkinManager* XTPSkinManager();
CXTPResourceImages* XTPResourceImages();
