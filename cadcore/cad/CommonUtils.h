// CCommonUtils: the static toolbox of drawing-database, editor and geometry
// operations that Cadcore exports to every add-on of the host. Nothing here
// keeps state between calls except the point tolerance m_dTol. Every object an
// operation opens is closed again before it returns unless its comment says
// otherwise; a null database argument means the host's working database.
#pragma once

#include "afx.h"
#include "afxcoll.h"
#include "afxtempl.h"

#include "acarray.h"
#include "adesk.h"
#include "adscodes.h"
#include "dbid.h"
#include "dbextents.h"
#include "gegeometry.h"

class AcDbDatabase;
class AcDbObject;
class AcDbEntity;
class AcDbCurve;
class AcDbLine;
class AcDbArc;
class AcDbCircle;
class AcDbPolyline;
class AcDb2dPolyline;
class AcDb3dPolyline;
class AcDbRegion;
class AcDbMText;
class AcDbBlockReference;
class AcGeCircArc2d;
class AcGeCircArc3d;
class AcGeEllipArc3d;
class AcGiTextStyle;
class CWnd;

// Groups of object ids keyed by a text; the arrays belong to the caller.
typedef CMap<CString, LPCTSTR, AcDbObjectIdArray*, AcDbObjectIdArray*> CIdGroupMap;

class AFX_EXT_CLASS CCommonUtils {
 public:
  // Two points closer than this count as one in the polyline operations.
  static double m_dTol;

  // ---- append and zoom ---------------------------------------------------
  // Adds a new entity to model space. 1 with its id, 0 after an alert; the
  // entity stays open for write either way and belongs to the caller.
  static int append(AcDbEntity* pEnt, AcDbObjectId& objId, AcDbDatabase* pDb = NULL);
  static int append(AcDbEntity* pEnt, AcDbDatabase* pDb = NULL);
  // Appends to the working database's model space without checks and closes
  // the entity; meant for a running command.
  static AcDbObjectId AddEntityToDbs(AcDbEntity* pEnt);
  // Makes the rectangle the current view: the 3D form with a margin of half
  // the size and absolute sides, the 2D form exactly p2..p1 (p1 upper right).
  static void zoomExtents(const AcGePoint3d& pt1, const AcGePoint3d& pt2);
  static void zoomExtents(const AcGePoint2d& pt1, const AcGePoint2d& pt2);

  // ---- layers and line types ---------------------------------------------
  static int GetLayerForWrite(LPCTSTR lpszLayerName, AcDbObjectId& layerId);
  static int isLayerExist(LPCTSTR lpszLayerName, AcDbObjectId& layerId);
  static int createNewLtype(LPCTSTR lpszLtypeName, AcDbObjectId& ltypeId);
  static Acad::ErrorStatus getLinetypeIdFromString(LPCTSTR lpszLtypeName, AcDbObjectId& ltypeId);
  static Acad::ErrorStatus setEntityLayer(AcDbObjectId entId, LPCTSTR lpszLayerName);
  static int setCurLayer(AcDbObjectId layerId);
  static AcDbObjectId setCurLayer(LPCTSTR lpszLayerName, LPCTSTR lpszLtypeName, int nColorIndex);
  static bool getAllLayerOfDatabase(AcDbDatabase* pDb, CStringArray& arLayerNames);
  static CString getLayer(AcDbObjectId entId);

  // ---- extended data -----------------------------------------------------
  static Acad::ErrorStatus addXdata(AcDbObject* pObj, LPCTSTR lpszAppName, LPCTSTR lpszText);
  static Acad::ErrorStatus addXdata(AcDbObjectId objId, LPCTSTR lpszAppName, LPCTSTR lpszText);
  static bool getXdata(AcDbObjectId objId, LPCTSTR lpszAppName, CString& strText);
  static bool getXdata(AcDbObject* pObj, LPCTSTR lpszAppName, CString& strText);
  static bool deleteXdata(AcDbObjectId objId, LPCTSTR lpszAppName);
  static bool deleteXdata(AcDbObject* pObj, LPCTSTR lpszAppName);

  // ---- dictionaries ------------------------------------------------------
  static bool saveToDictionary(LPCTSTR lpszDictName, LPCTSTR lpszKey, LPCTSTR lpszText,
                               AcDbDatabase* pDb = NULL);
  static bool readFromDictionary(LPCTSTR lpszDictName, LPCTSTR lpszKey, CString& strText,
                                 AcDbDatabase* pDb = NULL);
  static bool saveToObjectDictionary(AcDbObjectId objId, LPCTSTR lpszDictName, LPCTSTR lpszKey,
                                     const CStringArray& arStrings);
  static bool readFromObjectDictionary(AcDbObjectId objId, LPCTSTR lpszDictName, LPCTSTR lpszKey,
                                       CStringArray& arStrings);
  static bool hasObjectNamedDictionary(AcDbObjectId objId, LPCTSTR lpszName);
  // The first form trusts the caller's buffer to hold the value; the second
  // never writes more than nSize characters and refuses a value that does
  // not fit.
  static bool getKeyFromDic(TCHAR* pszValue, LPCTSTR lpszKey);
  static bool getKeyFromDic(TCHAR* pszValue, size_t nSize, LPCTSTR lpszKey);

  // ---- text styles -------------------------------------------------------
  static AcDbObjectId createNewTextStyle(LPCTSTR lpszName, LPCTSTR lpszFontFile, LPCTSTR lpszBigFontFile,
                                         double dTextSize, double dXScale, double dObliquingAngle);
  static AcDbObjectId createTextStyle(LPCTSTR lpszName, double& dHeight, AcDbDatabase* pDb = NULL);
  static AcDbObjectId getTextStyle(LPCTSTR lpszName);
  static AcDbObjectId getTextStyle(LPCTSTR lpszName, double& dHeight);
  static Acad::ErrorStatus getAcGiTextStyle(AcDbObjectId styleId, AcGiTextStyle& giStyle);
  static void getTextHeightFromIni(double& dHeight);
  static void setTextHeightToIni(double dHeight);

  // ---- blocks and insertion of drawings ----------------------------------
  static AcDbObjectId createBlockRecord(LPCTSTR lpszName, AcDbVoidPtrArray& arEntities);
  static Acad::ErrorStatus createBlockRef(AcDbBlockReference*& pRef, AcDbObjectId blockId,
                                          const AcGePoint3d& position, double dRotation,
                                          const AcGeVector3d& normal, double dXScale, double dYScale);
  static AcDbObjectId createBlockRef(AcDbObjectId blockId, const AcGePoint3d& position, double dRotation,
                                     const AcGeVector3d& normal, double dXScale, double dYScale);
  static bool hasTheSameBlock(LPCTSTR lpszName, AcDbObjectId& blockId, AcDbDatabase* pDb = NULL);
  static AcDbObjectId getBlockIdByName(LPCTSTR lpszName, AcDbDatabase* pDb = NULL);
  static AcDbObjectId getBlockReferenceRecord(AcDbObjectId refId);
  static Acad::ErrorStatus getBlockExtents(AcDbObjectId blockId, AcDbExtents& extents);
  static double calBlockScale(AcDbObjectId blockId, double dSize);
  static bool createBlockRecFromFile(LPCTSTR lpszBlockName, LPCTSTR lpszFileName, AcDbObjectId& blockId,
                                     AcDbDatabase* pDb = NULL);
  static bool insertFile(LPCTSTR lpszFileName, LPCTSTR lpszBlockName);
  static int insertBlockRef(AcDbObjectId blockId, double& dScale, double& dAngle, AcDbObjectId& refId,
                            int bAskScale, int bAskRotation);

  // ---- interactive insertion (host status codes RTNORM / RTCAN) ----------
  static int pointInsert(AcDbObjectId blockId, AcDbObjectId& refId, AcGePoint3d& position,
                         double dAngleDegrees, double dScale);
  static int scaleInsert(AcDbObjectId refId, const AcGePoint3d& basePoint, double& dScale);
  static int rotateInsert(AcDbObjectId refId, const AcGePoint3d& basePoint, double& dAngle);

  // ---- selection, ids and handles ----------------------------------------
  static bool selectObject(const ACHAR* pszMode, LPCTSTR lpszPrompt, const resbuf* pFilter,
                           AcDbObjectIdArray& arIds);
  static bool convertSSetToId(ads_name ssName, AcDbObjectIdArray& arIds);
  static int convertFromEntnameToId(ads_name ssName, AcDbObjectIdArray& arIds);
  static CString GetHandles(const AcDbObjectIdArray& arIds);
  static CString GetHandle(AcDbObjectId objId);
  static bool getObjectIdByHandle(LPCTSTR lpszHandle, AcDbObjectId& objId);
  static bool GetObjectIdsByHandle(LPCTSTR lpszHandles, AcDbObjectIdArray& arIds);
  static bool GetObjectId(LPCTSTR lpszHandle, AcDbObjectId& objId, AcDbDatabase* pDb = NULL);
  static Acad::ErrorStatus getAllEntityOfLayer(LPCTSTR lpszLayerName, AcDbObjectIdArray& arIds,
                                               AcDbDatabase* pDb = NULL);
  static Acad::ErrorStatus getAllEntitysOfKind(LPCTSTR lpszClassName, AcDbObjectIdArray& arIds,
                                               AcDbDatabase* pDb = NULL);
  static bool isEntityOfKind(LPCTSTR lpszClassName, AcDbObjectId entId);
  static void GetAllObjectOfLayerWithProp(LPCTSTR lpszLayerName, LPCTSTR lpszAppName, LPCTSTR lpszValue,
                                          AcDbObjectIdArray& arIds);
  static void GroupByProp(LPCTSTR lpszAppName, const AcDbObjectIdArray& arIds, CIdGroupMap& mapGroups);
  static CString getObjectClass(AcDbObjectId objId);
  static const ACHAR* getObjectType(AcDbObjectId objId);
  static bool deleteEntity(AcDbObjectId entId);
  static bool deleteEntity(const AcDbObjectIdArray& arIds);
  static bool deleteEntities(const AcDbObjectIdArray& arIds);
  static Acad::ErrorStatus highLightEntity(AcDbObjectId entId, bool bOn);
  static bool getEntitiesExt(const AcDbObjectIdArray& arIds, AcGePoint3d& ptMin, AcGePoint3d& ptMax);

  // ---- system variables, coordinates and views ---------------------------
  static void setCmdEcho(int nValue);
  static void setOsMode(int nValue);
  static int getOsMode();
  static bool updateLastPoint(const AcGePoint3d& point);
  static void GetCurDwgPath(CString& strPath);
  static CString getAppPath();
  static AcGePoint3d pt_u2w(const AcGePoint3d& point);
  static void sa_u2w(const ads_point ptIn, ads_point ptOut);
  static void sa_w2u(const ads_point ptIn, ads_point ptOut);
  static bool pickPoint(const AcGePoint3d* pBase, LPCTSTR lpszPrompt, AcGePoint3d& point);
  static bool getYorN(LPCTSTR lpszPrompt);
  static void sendCommandToAutoCAD(LPCTSTR lpszCommand);
  static void getViewRectPoint(AcGePoint3d& ptTopLeft, AcGePoint3d& ptBottomRight);
  static void getUcsToWcsMat(AcGeMatrix3d& mat);
  static void getWcsToUcsMat(AcGeMatrix3d& mat);
  static void getZucs(AcGeVector3d& vec);
  static void getUcsAngle(double& dAngle);
  static void getAcuteAngle(const AcGeVector3d& vec, double& dAngle);
  static void getNormalDirection(const AcGeVector3d& vec, AcGeVector3d& normal);
  static double getAngle(const AcGeVector3d& vec, int nMode);
  static void getVectorAngle(const AcGeVector3d& first, const AcGeVector3d& second, double& dAngle);

  // ---- text and file utilities -------------------------------------------
  static bool splitString(const CString& strText, CStringArray& arParts, TCHAR chSeparator);
  static int findArrayValue(const CStringArray& arValues, LPCTSTR lpszText);
  static void getOffRightZero(CString& strText);
  static void getFloorNum(const CString& strText, CArray<int, int>& arNumbers);
  static int existFile(LPCTSTR lpszPath);
  static HRESULT ShowPic(LPCTSTR lpszFileName, CWnd* pWnd);
  static void getMtextRealString(AcDbMText* pMText, CStringArray& arTexts);
  static void freeObjects(AcDbVoidPtrArray& arObjects);
  static double getCurveArea(AcDbObjectId curveId);
  static double getCurveDist(AcDbObjectId curveId);
  static bool isCurveClosed(AcDbObjectId curveId);
  static Acad::ErrorStatus getEntStartAndEndPoint(AcDbEntity* pEnt, AcGePoint3d& ptStart, AcGePoint3d& ptEnd);

  // ---- conversions to a lightweight polyline -----------------------------
  // New polylines and arcs are not in any database and belong to the caller.
  static bool changeLineToPline(AcDbLine* pLine, AcDbPolyline*& pPline);
  static bool changeArcToPline(AcDbArc* pArc, AcDbPolyline*& pPline);
  static bool changeCircleToPline(AcDbCircle* pCircle, AcDbPolyline*& pPline);
  static bool change2dPolyToPline(AcDb2dPolyline* pPoly2d, AcDbPolyline*& pPline);
  static bool changePolyToPline(AcDb2dPolyline* pPoly2d, AcDbPolyline*& pPline);
  static Acad::ErrorStatus Poly2dToLWPoly(AcDb2dPolyline* pPoly2d, AcDbPolyline*& pPline);
  static bool changeToPolyline(AcDbEntity* pEnt, AcDbPolyline*& pPline);
  static bool changeToPolyline(AcDbObjectId entId, AcDbPolyline*& pPline);
  static bool createRetangle(const AcGePoint2d& pt1, const AcGePoint2d& pt2, AcDbPolyline*& pPline);
  static bool createRegion(AcDbCurve* pCurve, AcDbRegion*& pRegion);

  // ---- arcs --------------------------------------------------------------
  static AcDbArc* createArc(const AcGePoint3d& ptStart, const AcGePoint3d& ptMiddle, const AcGePoint3d& ptEnd);
  static AcDbArc* createArc(const AcGeCircArc2d& arc);
  static AcDbArc* createArc(const AcGeEllipArc3d& arc);
  static bool calArcSegMidPoint(AcDbArc* pArc, AcGePoint3d& ptMid);
  static bool calArcSegMidPoint(const AcGeCircArc2d& arc, AcGePoint2d& ptMid);
  static bool calArcSegMidPoint(const AcGeEllipArc3d& arc, AcGePoint3d& ptMid);

  // ---- closing, tidying and orientation ----------------------------------
  static bool isPolylineClosed(AcDbPolyline* pPline);
  static bool IsEntityClosed(AcDbEntity* pEnt);
  static bool IsEntityClosed(AcDbObjectId entId);
  static bool removeDoubleVert(AcDbPolyline* pPline);
  static bool reversePline(AcDbPolyline* pPline);
  static void joinPline(AcDbPolyline* pTarget, AcDbPolyline* pSource, bool bForward);
  static Acad::ErrorStatus addEntToNewPline(AcDbPolyline* pPline, AcDbEntity* pCurve, const AcGePoint3d& ptJoin);

  // ---- chaining curves ---------------------------------------------------
  static void connectCurves(AcDbVoidPtrArray& arCurves, AcDbPolyline*& pPline);
  static void connectToPline(AcDbVoidPtrArray& arCurves, AcDbPolyline*& pPline);
  static void removeSame(AcDbVoidPtrArray& arCurves);
  static void removeNotConnectTwoEnd(AcDbVoidPtrArray& arCurves);

  // ---- geometric queries -------------------------------------------------
  static bool isPointOnCurve(AcDbCurve* pCurve, const AcGePoint3d& point);
  static bool isEntityTotalIn(AcDbCurve* pInner, AcDbCurve* pOuter);
  static void getAllClosestPoint(AcDbCurve* pFirst, AcDbCurve* pSecond, AcGePoint3dArray& arFirst,
                                 AcGePoint3dArray& arSecond);
  static void getClosestPoint(AcDbCurve* pFirst, AcDbCurve* pSecond, AcGePoint3d& ptFirst, AcGePoint3d& ptSecond);
  static void getPlineVertexs(AcDbPolyline* pPline, AcGePoint3dArray& arPoints, AcGeDoubleArray& arBulges);
  static void getAllVertexOfPline(AcDbPolyline* pPline, AcGePoint3dArray& arPoints);
  static void getAllVertexOf3dPline(AcDb3dPolyline* pPoly3d, AcGePoint3dArray& arPoints);
  static void sortPoint(AcDbCurve* pCurve, AcGePoint3dArray& arPoints);
  static void sortParamArray(AcGeDoubleArray& arValues);
};
