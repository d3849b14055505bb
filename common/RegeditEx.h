// CRegeditEx: one-call helpers that read and write registry values. Each
// operation opens the key, does its one thing, closes the key and reports
// the outcome as a plain integer; no handle outlives a call.
#pragma once

#include "afx.h"

class AFX_EXT_CLASS CRegeditEx {
 public:
  CRegeditEx();
  ~CRegeditEx();
  CRegeditEx& operator=(const CRegeditEx& other);

  // 1 when the key opens and the value is read into lpValue (255 bytes:
  // 127 characters and the terminator, so lpValue holds 128 characters);
  // 0 otherwise, also when the value is longer. Without lpValue: 1 when the
  // value exists, whatever its size.
  static int GetRegeditValue(HKEY hKey, CString strSubKey, CString strValueName, LPTSTR lpValue);

  // The text value into lpOut: its length in characters with the terminator;
  // -1 when the key cannot be opened, -2 when the value cannot be read. On -1
  // and -2 lpDefault is copied into lpOut. lpOut must hold the stored value.
  static int GetRegister(HKEY hKey, LPCTSTR lpSubKey, LPCTSTR lpValueName, LPCTSTR lpDefault, LPTSTR lpOut);
  // The same for a buffer of nSize characters: never writes past it, and a
  // value that does not fit with its terminator is -2 with the default
  // (the default itself cut to the buffer).
  static int GetRegister(HKEY hKey, LPCTSTR lpSubKey, LPCTSTR lpValueName, LPCTSTR lpDefault, LPTSTR lpOut,
                         DWORD nSize);
  // The stored 32-bit value, or dwDefault when the key or a 4-byte value
  // cannot be read.
  static DWORD GetRegister(HKEY hKey, LPCTSTR lpSubKey, LPCTSTR lpValueName, DWORD dwDefault);

  // The value's bytes into lpData (255 bytes at most; text comes as its
  // stored UTF-16 bytes). 1 when read, else 0.
  static int GetKey(HKEY hKey, LPCTSTR lpSubKey, LPCTSTR lpValueName, LPBYTE lpData);
  // 1 when the key opens and the value (at most 256 bytes) can be read.
  static int FindKey(HKEY hKey, LPCTSTR lpSubKey, LPCTSTR lpValueName);

  // Writes a REG_SZ value (terminator included) or a REG_DWORD, creating
  // the keys along the path. 1 when written, else 0.
  static int SetRegister(HKEY hKey, LPCTSTR lpSubKey, LPCTSTR lpValueName, LPCTSTR lpValue);
  static int SetRegister(HKEY hKey, LPCTSTR lpSubKey, LPCTSTR lpValueName, DWORD dwValue);

  // 1 when the key exists afterwards, else 0.
  static int CreateKey(HKEY hKey, CString strSubKey);
};
