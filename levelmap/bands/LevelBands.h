// The level-band table: the bands of every measurement type of a network type,
// read from the configuration database and turned from shares into point
// counts, and the write-back of edited band names.
#pragma once

#include "afx.h"
#include "afxcoll.h"
#include "afxtempl.h"

// One level band.
struct levelmapdb {
  CString head;    // LEVELMAPDATA.HEAD as text: the band's key
  int color = 0;   // AutoCAD colour index
  CString name;    // range text, editable by the user
  int num = 0;     // planned number of points (a percentage in the database)
  int remain = 0;  // working quota of a drive-test run
};

typedef CArray<levelmapdb, levelmapdb&> CLevelBandArray;
// Group name to its bands; the map owns the arrays.
typedef CMap<CString, LPCTSTR, CLevelBandArray*, CLevelBandArray*> CLevelBandMap;

class CLevelBandTable {
 public:
  // Frees every array of the map and empties it.
  static void ClearBandMap(CLevelBandMap& levelMap);
  // Clears and refills the map and the type names with the bands of the
  // network type, counts for nPointCount points. TRUE when the query ran to
  // the end (FALSE: no type, no connection, or a database error).
  static BOOL LoadBandTable(LPCTSTR lpszNetType, int nPointCount, CLevelBandMap& levelMap, CStringArray& typeNames);
  // Turns the shares (percent) of one group into counts of nPointCount.
  static void ConvertSharesToCounts(CLevelBandArray& arBands, int nPointCount);
  // Writes every band's name back to the database, groups in type-name order.
  static void SaveBandNames(const CLevelBandMap& levelMap, const CStringArray& typeNames);
};
