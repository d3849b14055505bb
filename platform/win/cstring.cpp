// CString: the wide, growable text of the class library.
#include "cstring.h"

#include <algorithm>
#include <cstring>
#include <cwctype>

#include "format.h"
#include "textconv.h"
#include "textutil.h"

namespace {

bool InSet(wchar_t ch, const wchar_t* set) { return set && std::wcschr(set, ch) != nullptr && ch != 0; }

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

}  // namespace

CString::CString() : m_data(1, L'\0') {}

CString::CString(CString&& other) noexcept : m_data(std::move(other.m_data)), m_nLength(other.m_nLength) {
  other.m_data.assign(1, L'\0');
  other.m_nLength = 0;
}

CString::CString(const wchar_t* text) { Assign(text, text ? std::wcslen(text) : 0); }

CString::CString(const wchar_t* text, int length) {
  Assign(text, text && length > 0 ? static_cast<size_t>(length) : 0);
}

CString::CString(const char* utf8) {
  std::wstring w = utf8 ? win::Utf8ToWide(utf8) : std::wstring();
  Assign(w.data(), w.size());
}

CString::CString(wchar_t ch, int repeat) {
  std::wstring w(repeat > 0 ? static_cast<size_t>(repeat) : 0, ch);
  Assign(w.data(), w.size());
}

CString::CString(std::wstring_view text) { Assign(text.data(), text.size()); }

CString& CString::operator=(CString&& other) noexcept {
  if (this != &other) {
    m_data = std::move(other.m_data);
    m_nLength = other.m_nLength;
    other.m_data.assign(1, L'\0');
    other.m_nLength = 0;
  }
  return *this;
}

CString& CString::operator=(const wchar_t* text) {
  // The text may point into this string's own buffer.
  std::wstring copy = text ? std::wstring(text) : std::wstring();
  Assign(copy.data(), copy.size());
  return *this;
}

CString& CString::operator=(const char* utf8) { return *this = CString(utf8); }

CString& CString::operator=(wchar_t ch) { return *this = CString(ch); }

void CString::Assign(const wchar_t* text, size_t length) {
  m_data.assign(text, text + length);
  m_data.push_back(L'\0');
  m_nLength = static_cast<int>(length);
}

void CString::SetLength(int length) {
  if (length < 0) length = 0;
  if (static_cast<size_t>(length) + 1 > m_data.size()) m_data.resize(static_cast<size_t>(length) + 1, L'\0');
  m_data[static_cast<size_t>(length)] = L'\0';
  m_nLength = length;
}

CString& CString::operator+=(const CString& other) {
  Append(other.GetString());
  return *this;
}

CString& CString::operator+=(const wchar_t* text) {
  Append(text);
  return *this;
}

CString& CString::operator+=(wchar_t ch) {
  AppendChar(ch);
  return *this;
}

void CString::Append(const wchar_t* text) {
  if (!text) return;
  std::wstring copy(text);
  m_data.resize(static_cast<size_t>(m_nLength));
  m_data.insert(m_data.end(), copy.begin(), copy.end());
  m_data.push_back(L'\0');
  m_nLength += static_cast<int>(copy.size());
}

void CString::AppendChar(wchar_t ch) {
  m_data.resize(static_cast<size_t>(m_nLength));
  m_data.push_back(ch);
  m_data.push_back(L'\0');
  ++m_nLength;
}

std::string CString::ToUtf8() const { return win::WideToUtf8(View()); }

void CString::Empty() { Assign(nullptr, 0); }

wchar_t CString::GetAt(int index) const {
  return index >= 0 && index < m_nLength ? m_data[static_cast<size_t>(index)] : L'\0';
}

void CString::SetAt(int index, wchar_t ch) {
  if (index >= 0 && index < m_nLength) m_data[static_cast<size_t>(index)] = ch;
}

void CString::Format(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void CString::FormatV(const wchar_t* format, va_list args) {
  std::wstring s = win::FormatV(format, args);
  Assign(s.data(), s.size());
}

void CString::AppendFormat(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  AppendFormatV(format, args);
  va_end(args);
}

void CString::AppendFormatV(const wchar_t* format, va_list args) {
  std::wstring s = win::FormatV(format, args);
  Append(s.c_str());
}

CString CString::Left(int count) const { return CString(GetString(), Clamp(count, 0, m_nLength)); }

CString CString::Mid(int first) const { return Mid(first, m_nLength); }

CString CString::Mid(int first, int count) const {
  first = Clamp(first, 0, m_nLength);
  count = Clamp(count, 0, m_nLength - first);
  return CString(GetString() + first, count);
}

CString CString::Right(int count) const {
  count = Clamp(count, 0, m_nLength);
  return CString(GetString() + (m_nLength - count), count);
}

CString CString::SpanIncluding(const wchar_t* set) const {
  int n = 0;
  while (n < m_nLength && InSet(m_data[n], set)) ++n;
  return Left(n);
}

CString CString::SpanExcluding(const wchar_t* set) const {
  int n = 0;
  while (n < m_nLength && !InSet(m_data[n], set)) ++n;
  return Left(n);
}

CString CString::Tokenize(const wchar_t* delimiters, int& start) const {
  if (start < 0 || start >= m_nLength) {
    start = -1;
    return CString();
  }
  int b = start;
  while (b < m_nLength && InSet(m_data[b], delimiters)) ++b;
  if (b >= m_nLength) {
    start = -1;
    return CString();
  }
  int e = b;
  while (e < m_nLength && !InSet(m_data[e], delimiters)) ++e;
  start = e + 1;
  return Mid(b, e - b);
}

int CString::Find(wchar_t ch, int start) const {
  if (start < 0 || start >= m_nLength) return -1;
  for (int i = start; i < m_nLength; ++i)
    if (m_data[i] == ch) return i;
  return -1;
}

int CString::Find(const wchar_t* sub, int start) const {
  if (!sub || start < 0 || start > m_nLength) return -1;
  size_t pos = View().find(sub, static_cast<size_t>(start));
  return pos == std::wstring_view::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(wchar_t ch) const {
  for (int i = m_nLength - 1; i >= 0; --i)
    if (m_data[i] == ch) return i;
  return -1;
}

int CString::FindOneOf(const wchar_t* set) const {
  for (int i = 0; i < m_nLength; ++i)
    if (InSet(m_data[i], set)) return i;
  return -1;
}

int CString::Replace(wchar_t oldCh, wchar_t newCh) {
  int n = 0;
  for (int i = 0; i < m_nLength; ++i)
    if (m_data[i] == oldCh) {
      m_data[i] = newCh;
      ++n;
    }
  return n;
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText) {
  if (!oldText || !*oldText) return 0;
  std::wstring from(oldText), to(newText ? newText : L""), src(View()), out;
  int n = 0;
  size_t pos = 0;
  for (size_t hit; (hit = src.find(from, pos)) != std::wstring::npos; pos = hit + from.size(), ++n) {
    out.append(src, pos, hit - pos);
    out += to;
  }
  if (n == 0) return 0;
  out.append(src, pos, std::wstring::npos);
  Assign(out.data(), out.size());
  return n;
}

int CString::Remove(wchar_t ch) {
  std::wstring out;
  for (wchar_t c : View())
    if (c != ch) out += c;
  int removed = m_nLength - static_cast<int>(out.size());
  Assign(out.data(), out.size());
  return removed;
}

int CString::Insert(int index, wchar_t ch) {
  wchar_t text[2] = {ch, 0};
  return Insert(index, text);
}

int CString::Insert(int index, const wchar_t* text) {
  index = Clamp(index, 0, m_nLength);
  std::wstring s(View());
  s.insert(static_cast<size_t>(index), text ? text : L"");
  Assign(s.data(), s.size());
  return m_nLength;
}

int CString::Delete(int index, int count) {
  if (index < 0) index = 0;
  if (index < m_nLength && count > 0) {
    count = std::min(count, m_nLength - index);
    std::wstring s(View());
    s.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    Assign(s.data(), s.size());
  }
  return m_nLength;
}

CString& CString::TrimLeft(const wchar_t* set) {
  int b = 0;
  while (b < m_nLength && InSet(m_data[b], set)) ++b;
  if (b) *this = Mid(b);
  return *this;
}

CString& CString::TrimRight(const wchar_t* set) {
  int e = m_nLength;
  while (e > 0 && InSet(m_data[e - 1], set)) --e;
  SetLength(e);
  return *this;
}

static const wchar_t kWhite[] = L" \t\r\n\v\f";

CString& CString::Trim() { return TrimRight(kWhite).TrimLeft(kWhite); }
CString& CString::Trim(wchar_t ch) { return TrimRight(ch).TrimLeft(ch); }
CString& CString::Trim(const wchar_t* set) { return TrimRight(set).TrimLeft(set); }
CString& CString::TrimLeft() { return TrimLeft(kWhite); }
CString& CString::TrimRight() { return TrimRight(kWhite); }

CString& CString::TrimLeft(wchar_t ch) {
  wchar_t set[2] = {ch, 0};
  return TrimLeft(set);
}

CString& CString::TrimRight(wchar_t ch) {
  wchar_t set[2] = {ch, 0};
  return TrimRight(set);
}

CString& CString::MakeUpper() {
  for (int i = 0; i < m_nLength; ++i) m_data[i] = win::textutil::UpperChar(m_data[i]);
  return *this;
}

CString& CString::MakeLower() {
  for (int i = 0; i < m_nLength; ++i) m_data[i] = static_cast<wchar_t>(std::towlower(m_data[i]));
  return *this;
}

CString& CString::MakeReverse() {
  std::reverse(m_data.begin(), m_data.begin() + m_nLength);
  return *this;
}

int CString::Compare(const wchar_t* other) const {
  int r = std::wcscmp(GetString(), other ? other : L"");
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

int CString::CompareNoCase(const wchar_t* other) const {
  return win::textutil::CompareNoCase(std::wstring_view(GetString()), std::wstring_view(other ? other : L""));
}

wchar_t* CString::GetBuffer() { return m_data.data(); }

wchar_t* CString::GetBuffer(int minLength) {
  if (minLength > m_nLength && static_cast<size_t>(minLength) + 1 > m_data.size())
    m_data.resize(static_cast<size_t>(minLength) + 1, L'\0');
  return m_data.data();
}

wchar_t* CString::GetBufferSetLength(int length) {
  GetBuffer(length);
  SetLength(length);
  return m_data.data();
}

void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0) {
    // The caller wrote a terminated string somewhere inside the buffer.
    size_t n = 0;
    while (n + 1 < m_data.size() && m_data[n]) ++n;
    newLength = static_cast<int>(n);
  }
  newLength = std::min(newLength, static_cast<int>(m_data.size()) - 1);
  SetLength(newLength);
  m_data.resize(static_cast<size_t>(m_nLength) + 1);
}

void CString::Preallocate(int length) {
  if (length > 0) m_data.reserve(static_cast<size_t>(length) + 1);
}

BSTR CString::AllocSysString() const { return SysAllocStringLen(GetString(), static_cast<UINT>(m_nLength)); }

CString operator+(const CString& a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const CString& a, const wchar_t* b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const wchar_t* a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const CString& a, wchar_t b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(wchar_t a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}

bool operator==(const CString& a, const CString& b) { return a.View() == b.View(); }
bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
bool operator==(const wchar_t* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
bool operator!=(const wchar_t* a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }

// A BSTR points just past a 32-bit byte length, like the original layout.
BSTR SysAllocStringLen(const wchar_t* text, UINT length) {
  auto* block = static_cast<unsigned char*>(::operator new(sizeof(uint32_t) * 2 + (length + 1) * sizeof(wchar_t)));
  uint32_t bytes = length * sizeof(wchar_t);
  std::memcpy(block + sizeof(uint32_t), &bytes, sizeof bytes);
  auto* s = reinterpret_cast<wchar_t*>(block + sizeof(uint32_t) * 2);
  if (text) std::wmemcpy(s, text, length);
  else std::wmemset(s, 0, length);
  s[length] = 0;
  return s;
}

BSTR SysAllocString(const wchar_t* text) {
  return text ? SysAllocStringLen(text, static_cast<UINT>(std::wcslen(text))) : nullptr;
}

void SysFreeString(BSTR text) {
  if (text) ::operator delete(reinterpret_cast<unsigned char*>(text) - sizeof(uint32_t) * 2);
}

UINT SysStringLen(BSTR text) {
  if (!text) return 0;
  uint32_t bytes;
  std::memcpy(&bytes, reinterpret_cast<unsigned char*>(text) - sizeof(uint32_t), sizeof bytes);
  return bytes / sizeof(wchar_t);
}
