// The class library's ready-made collections: arrays of text, pointers and
// numbers, lists, and maps keyed by text, words and pointers. Each is a class
// of its own (so it can be declared ahead) over the template collections.
#pragma once

#include "afxtempl.h"

class CStringArray : public CArray<CString, const CString&> {
 public:
  using CArray::CArray;
};

class CPtrArray : public CArray<void*, void*> {
 public:
  using CArray::CArray;
};

class CByteArray : public CArray<BYTE, BYTE> {
 public:
  using CArray::CArray;
};

class CWordArray : public CArray<WORD, WORD> {
 public:
  using CArray::CArray;
};

class CDWordArray : public CArray<DWORD, DWORD> {
 public:
  using CArray::CArray;
};

class CUIntArray : public CArray<UINT, UINT> {
 public:
  using CArray::CArray;
};

class CStringList : public CList<CString, const CString&> {
 public:
  using CList::CList;
};

class CPtrList : public CList<void*, void*> {
 public:
  using CList::CList;
};

class CMapStringToString : public CMap<CString, LPCWSTR, CString, LPCWSTR> {
 public:
  using CMap::CMap;
};

class CMapStringToPtr : public CMap<CString, LPCWSTR, void*, void*> {
 public:
  using CMap::CMap;
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
 public:
  using CMap::CMap;
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
 public:
  using CMap::CMap;
};
