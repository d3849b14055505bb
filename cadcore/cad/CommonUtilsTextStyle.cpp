// Text styles: making and finding styles, the graphics style of a record,
// and the default text height kept in FtpSettings.ini.
#include "CommonUtils.h"

#include <cwchar>

#include "GlobalVars.h"
#include "acgi.h"
#include "acutprint.h"
#include "dbdatabase.h"
#include "dbhostapp.h"
#include "dbsymtb.h"
#include "inifile.h"

namespace {

// True when the font name names a shape font file: it is empty or has the
// extension ".shx" in it, written in any case as file names are.
bool IsShapeFontName(const CString& strFont) {
  if (strFont.IsEmpty()) return true;
  CString strLower(strFont);
  strLower.MakeLower();
  return strLower.Find(_T(".shx")) >= 0;
}

CString IniFilePath() {
  CString strFile;
  strFile.Format(_T("%sFtpSettings.ini"), CGlobalVars::g_CurPath);
  return strFile;
}

}  // namespace

AcDbObjectId CCommonUtils::createNewTextStyle(LPCTSTR lpszName, LPCTSTR lpszFontFile, LPCTSTR lpszBigFontFile,
                                              double dTextSize, double dXScale, double dObliquingAngle) {
  if (lpszFontFile == NULL) lpszFontFile = _T("");
  if (lpszBigFontFile == NULL) lpszBigFontFile = _T("");
  AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
  AcDbTextStyleTable* pStyleTable = NULL;
  if (pDb == NULL || pDb->getTextStyleTable(pStyleTable, AcDb::kForWrite) != Acad::eOk) {
    acutPrintf(_T("\n打开字体表失败."));
    return AcDbObjectId::kNull;
  }

  AcDbObjectId styleId;
  bool bNewStyle = false;
  AcDbTextStyleTableRecord* pStyle = NULL;
  if (lpszName != NULL && pStyleTable->getAt(lpszName, pStyle, AcDb::kForWrite) == Acad::eOk) {
    styleId = pStyle->objectId();
  } else {
    pStyle = new AcDbTextStyleTableRecord;
    if (pStyle->setName(lpszName) != Acad::eOk || pStyleTable->add(styleId, pStyle) != Acad::eOk) {
      delete pStyle;
      pStyleTable->close();
      return AcDbObjectId::kNull;
    }
    bNewStyle = true;
  }

  CString strFontFile(lpszFontFile);
  if (IsShapeFontName(strFontFile)) {
    bool bFailed = false;
    if (pStyle->setFileName(lpszFontFile) != Acad::eOk) {
      acutPrintf(_T("\n字体文件：%s不存在不在Fonts目录下，字型设置失败！"), lpszFontFile);
      bFailed = true;
    } else if (*lpszBigFontFile != 0 && pStyle->setBigFontFileName(lpszBigFontFile) != Acad::eOk) {
      acutPrintf(_T("\n字体文件：%s不存在或不在Fonts目录下，或不为大字体，字型设置失败！"), lpszBigFontFile);
      bFailed = true;
    }
    if (bFailed) {
      // A style made by this call is taken out again rather than left
      // half set up in the table.
      if (bNewStyle) pStyle->erase();
      pStyle->close();
      pStyleTable->close();
      return AcDbObjectId::kNull;
    }
  } else {
    // Any other name is a TrueType typeface.
    pStyle->setFont(lpszFontFile, false, false, 0, 34);
  }
  pStyle->setObliquingAngle(dObliquingAngle);
  pStyle->setXScale(dXScale);
  pStyle->setTextSize(dTextSize);
  pStyle->close();
  pStyleTable->close();
  return styleId;
}

AcDbObjectId CCommonUtils::createTextStyle(LPCTSTR lpszName, double& dHeight, AcDbDatabase* pDb) {
  if (pDb == NULL) pDb = acdbHostApplicationServices()->workingDatabase();
  AcDbTextStyleTable* pStyleTable = NULL;
  if (pDb == NULL || pDb->getTextStyleTable(pStyleTable, AcDb::kForWrite) != Acad::eOk) {
    acutPrintf(_T("\n打开字型表失败."));
    return AcDbObjectId::kNull;
  }
  AcDbObjectId styleId;
  AcDbTextStyleTableRecord* pStyle = NULL;
  if (lpszName != NULL && pStyleTable->getAt(lpszName, pStyle, AcDb::kForRead) == Acad::eOk) {
    styleId = pStyle->objectId();
    dHeight = pStyle->textSize();
    pStyle->close();
    pStyleTable->close();
    return styleId;
  }

  pStyle = new AcDbTextStyleTableRecord;
  if (pStyle->setName(lpszName) != Acad::eOk) {
    delete pStyle;
    pStyleTable->close();
    return AcDbObjectId::kNull;
  }
  pStyle->setFont(_T("宋体"), false, false, 134, 7);
  pStyle->setTextSize(0.0);
  pStyle->setXScale(1.0);
  pStyle->setObliquingAngle(0.0);
  if (pStyleTable->add(styleId, pStyle) != Acad::eOk) {
    delete pStyle;
    pStyleTable->close();
    return AcDbObjectId::kNull;
  }
  pStyle->close();
  pStyleTable->close();
  pDb->setTextstyle(styleId);
  // The style's own height stays 0 (variable); new texts take 10.
  dHeight = 10;
  return styleId;
}

AcDbObjectId CCommonUtils::getTextStyle(LPCTSTR lpszName) {
  AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
  AcDbTextStyleTable* pStyleTable = NULL;
  if (pDb == NULL || pDb->getTextStyleTable(pStyleTable, AcDb::kForRead) != Acad::eOk) {
    acutPrintf(_T("\n打开字体表失败."));
    return AcDbObjectId::kNull;
  }
  AcDbObjectId styleId;
  if (lpszName == NULL || pStyleTable->getAt(lpszName, styleId) != Acad::eOk) styleId = AcDbObjectId::kNull;
  pStyleTable->close();
  return styleId;
}

AcDbObjectId CCommonUtils::getTextStyle(LPCTSTR lpszName, double& dHeight) {
  dHeight = 1;
  AcDbObjectId styleId = getTextStyle(lpszName);
  if (styleId.isNull()) return styleId;
  AcDbTextStyleTableRecord* pStyle = NULL;
  if (acdbOpenObject(pStyle, styleId, AcDb::kForRead) == Acad::eOk) {
    dHeight = pStyle->textSize();
    pStyle->close();
  }
  return styleId;
}

Acad::ErrorStatus CCommonUtils::getAcGiTextStyle(AcDbObjectId styleId, AcGiTextStyle& giStyle) {
  return fromAcDbTextStyle(giStyle, styleId);
}

void CCommonUtils::getTextHeightFromIni(double& dHeight) {
  TCHAR szValue[100] = {0};
  GetPrivateProfileStringW(_T("FTPINFO"), _T("TextHeight"), _T(""), szValue, 100, IniFilePath());
  dHeight = szValue[0] == 0 ? 0.0 : wcstod(szValue, NULL);
}

void CCommonUtils::setTextHeightToIni(double dHeight) {
  CString strHeight;
  strHeight.Format(_T("%.1f"), dHeight);
  WritePrivateProfileStringW(_T("FTPINFO"), _T("TextHeight"), strHeight, IniFilePath());
}
