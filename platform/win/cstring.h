// CString: a wide, growable text with the class library's interface. The
// buffer always holds a terminator after the text, so GetBuffer/ReleaseBuffer
// hand out a real writable C string.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>
#include <vector>

#include "wintypes.h"

class CString {
 public:
  CString();
  CString(const CString& other) = default;
  CString(CString&& other) noexcept;
  CString(const wchar_t* text);                 // NOLINT: implicit like the original
  CString(const wchar_t* text, int length);
  CString(const char* utf8);                    // NOLINT: narrow text is the ANSI code page (UTF-8)
  CString(wchar_t ch, int repeat = 1);          // NOLINT
  CString(std::wstring_view text);              // NOLINT
  CString(const std::wstring& text) : CString(std::wstring_view(text)) {}  // NOLINT
  ~CString() = default;

  CString& operator=(const CString& other) = default;
  CString& operator=(CString&& other) noexcept;
  CString& operator=(const wchar_t* text);
  CString& operator=(const char* utf8);
  CString& operator=(wchar_t ch);

  CString& operator+=(const CString& other);
  CString& operator+=(const wchar_t* text);
  CString& operator+=(wchar_t ch);

  operator const wchar_t*() const { return m_data.data(); }  // NOLINT
  const wchar_t* GetString() const { return m_data.data(); }
  std::wstring_view View() const { return {m_data.data(), static_cast<size_t>(m_nLength)}; }
  std::string ToUtf8() const;

  int GetLength() const { return m_nLength; }
  bool IsEmpty() const { return m_nLength == 0; }
  void Empty();
  wchar_t GetAt(int index) const;
  void SetAt(int index, wchar_t ch);
  wchar_t operator[](int index) const { return GetAt(index); }

  void Format(const wchar_t* format, ...);
  void FormatV(const wchar_t* format, va_list args);
  void AppendFormat(const wchar_t* format, ...);
  void AppendFormatV(const wchar_t* format, va_list args);
  void Append(const wchar_t* text);
  void AppendChar(wchar_t ch);

  CString Left(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Right(int count) const;
  CString SpanIncluding(const wchar_t* set) const;
  CString SpanExcluding(const wchar_t* set) const;
  CString Tokenize(const wchar_t* delimiters, int& start) const;

  int Find(wchar_t ch, int start = 0) const;
  int Find(const wchar_t* sub, int start = 0) const;
  int ReverseFind(wchar_t ch) const;
  int FindOneOf(const wchar_t* set) const;

  int Replace(wchar_t oldCh, wchar_t newCh);
  int Replace(const wchar_t* oldText, const wchar_t* newText);
  int Remove(wchar_t ch);
  int Insert(int index, wchar_t ch);
  int Insert(int index, const wchar_t* text);
  int Delete(int index, int count = 1);

  CString& Trim();
  CString& Trim(wchar_t ch);
  CString& Trim(const wchar_t* set);
  CString& TrimLeft();
  CString& TrimLeft(wchar_t ch);
  CString& TrimLeft(const wchar_t* set);
  CString& TrimRight();
  CString& TrimRight(wchar_t ch);
  CString& TrimRight(const wchar_t* set);

  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();

  int Compare(const wchar_t* other) const;
  int CompareNoCase(const wchar_t* other) const;
  int Collate(const wchar_t* other) const { return Compare(other); }
  int CollateNoCase(const wchar_t* other) const { return CompareNoCase(other); }

  // Writable buffer of at least minLength characters plus a terminator. The
  // length stays as it was until ReleaseBuffer.
  wchar_t* GetBuffer();
  wchar_t* GetBuffer(int minLength);
  wchar_t* GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);
  void Preallocate(int length);

  // A BSTR-like copy the caller frees with SysFreeString.
  BSTR AllocSysString() const;

 private:
  void Assign(const wchar_t* text, size_t length);
  void SetLength(int length);

  std::vector<wchar_t> m_data;  // text followed by at least one terminator
  int m_nLength = 0;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const wchar_t* b);
CString operator+(const wchar_t* a, const CString& b);
CString operator+(const CString& a, wchar_t b);
CString operator+(wchar_t a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const wchar_t* b);
bool operator==(const wchar_t* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const wchar_t* b);
bool operator!=(const wchar_t* a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator>=(const CString& a, const CString& b);

typedef CString CStringW;

// BSTR support: a length-prefixed wide string allocated by the platform.
BSTR SysAllocString(const wchar_t* text);
BSTR SysAllocStringLen(const wchar_t* text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
