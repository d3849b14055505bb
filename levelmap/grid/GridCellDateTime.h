// CGridCellDateTime: a cell that holds a time (seconds, local time) and
// shows it as text: the time of day with the time style (DTS_TIMEFORMAT),
// the short date with the short-date style (0); other styles leave the text
// as it is. It edits the time in a date-time picker.
#pragma once

#include <ctime>

#include "GridCell.h"
#include "commctrl.h"

class AFX_EXT_CLASS CGridCellDateTime : public CGridCell {
  DECLARE_DYNCREATE(CGridCellDateTime)

 public:
  CGridCellDateTime();
  explicit CGridCellDateTime(DWORD dwStyle);
  ~CGridCellDateTime() override;

  void SetTime(time_t time);
  time_t GetTime() const { return m_cTime; }
  time_t* GetTimePtr() { return &m_cTime; }
  void SetStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
  DWORD GetStyle() const { return m_dwStyle; }

  BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
  void EndEdit() override;
  void OnCopy(const CGridCellBase& cell) override;

  // The text of a time in a style ("%X" for the time style, "%x" for the
  // short date, local time, at most 128 characters; empty when the time
  // cannot be converted); `strOther` for any other style.
  static CString FormatTime(time_t time, DWORD dwStyle, const CString& strOther = CString());
  static SYSTEMTIME ToSystemTime(time_t time);
  static time_t FromSystemTime(const SYSTEMTIME& st);

 protected:
  time_t m_cTime;
  DWORD m_dwStyle;
};
