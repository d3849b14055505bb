// Global settings and reference data shared by the CAD modules: the module
// folder, the configuration map, line settings, element statuses, menu lines,
// dimension settings and the default drawing parameters.
#pragma once

#include <string>

#include "afx.h"
#include "afxcoll.h"
#include "afxtempl.h"

// One line setting: a row of the KXL/KXLINESETTING join.
struct plinedata {
  CString name;
  int type = 0;
  int status = 0;
  bool isTypeOne = false;
  int lineColor = 0;
  CString lineType;
  LONG idSlot1 = 0;
  int lineWeight = 0;
  double lineScale = 0.0;
  CString lineLayer;
  LONG idSlot2 = 0;
  bool showDim = false;
  double dimHeight = 0.0;
};

// One menu line: a top-level entry or one of its items.
struct kxmenu {
  CString text1;
  CString text2;
  CString text3;
  bool isTopLevel = false;
};

struct pldimdata {
  CString dimStyle;
  int intSlot = 0;
  CString dimUnit;
  int dimRound = 0;
  double dimDistance = 0.0;
};

struct drowpldefpra {
  CString lineName;
  int typeCode = 0;
  int statusId = 0;
};

class CWnd;

typedef CMap<CString, LPCTSTR, CString, LPCTSTR> CConfigMap;
typedef CMap<CString, LPCTSTR, plinedata, plinedata&> CPLineDataMap;
typedef CMap<int, int, CString, LPCTSTR> CElementStatusMap;
typedef CMap<CString, LPCTSTR, int, int> CElementStatusOppMap;
typedef CArray<kxmenu, kxmenu&> CMenuArray;

class AFX_EXT_CLASS CGlobalVars {
 public:
  // Drive and folder of the Cadcore module, ending in a backslash; set by the
  // module's entry point on every call.
  static TCHAR g_CurPath[MAX_PATH];
  static CConfigMap g_mapConfig;
  static CStringArray g_arPLineName;
  static CPLineDataMap g_mapPLineData;
  static CStringArray g_arElementStatusName;
  static CElementStatusMap g_mapElementStatus;
  static CElementStatusOppMap g_mapElementStatusOpp;
  static CMenuArray* g_mMenu;
  static pldimdata g_pldDimData;
  static drowpldefpra g_praDrowPLDefPra;

  // Fills all reference data: configuration, menu, line settings, element
  // statuses, then the default drawing parameters. 1 on success.
  static int InitData();
  // Loads the configuration map and derives the dimension settings.
  static int GetSysParam();
  // Makes the default drawing parameters when they are still empty.
  static void GetPram();
  static int SplitString(CString strText, CString strSeparator, CStringArray& arResult, int bKeepEmpty);
  // Prefixes the window's caption with the maker's name: "Marlo-" + caption.
  // A null pointer or a window that does not exist is left alone.
  static void SetWindownsText(CWnd* pWnd);
  // Text whose characters are the bytes of UTF-8 (each below 0x100) is
  // decoded; any other text is copied unchanged.
  static void ConvertUTF8toGB2312(CString strText, CString& strResult);
};
