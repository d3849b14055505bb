// Automation values: the VARIANT, the _variant_t and _bstr_t wrappers, and the
// conversions between value types that automation servers and their callers
// rely on. A conversion that cannot be made raises a _com_error (comdef.h).
#pragma once

#include <memory>
#include <string>

#include "cstring.h"
#include "unknwn.h"
#include "wintypes.h"

typedef unsigned short VARTYPE;
typedef short VARIANT_BOOL;
typedef double DATE;  // days since 30 December 1899, the fraction is the time of day
#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)

enum VARENUM : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
};

#define DISP_E_BADVARTYPE ((HRESULT)0x80020008)
#define DISP_E_OVERFLOW ((HRESULT)0x8002000A)
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005)
#define DISP_E_PARAMNOTFOUND ((HRESULT)0x80020004)

typedef struct tagVARIANT {
  VARTYPE vt;
  union {
    LONGLONG llVal;
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    FLOAT fltVal;
    DOUBLE dblVal;
    VARIANT_BOOL boolVal;
    HRESULT scode;
    DATE date;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    CHAR cVal;
    USHORT uiVal;
    ULONG ulVal;
    ULONGLONG ullVal;
    INT intVal;
    UINT uintVal;
  };
} VARIANT, VARIANTARG;
typedef VARIANT* LPVARIANT;

void VariantInit(VARIANT* value);
// Frees what the value owns (text, interface reference) and makes it empty.
HRESULT VariantClear(VARIANT* value);
HRESULT VariantCopy(VARIANT* target, const VARIANT* source);
// Converts source into target with the automation rules (see _variant_t).
HRESULT VariantChangeType(VARIANT* target, const VARIANT* source, USHORT flags, VARTYPE type);

// Raises a _com_error; the error support defines these (comdef.h).
[[noreturn]] void _com_issue_error(HRESULT hr);
[[noreturn]] void _com_issue_errorex(HRESULT hr, const wchar_t* description);

// A shared, immutable wide text; null and empty are different states, as with
// the original. The narrow (UTF-8) form is made on demand and kept.
class _bstr_t {
 public:
  _bstr_t() = default;
  _bstr_t(const wchar_t* text);  // NOLINT: implicit like the original
  _bstr_t(const char* utf8);     // NOLINT
  _bstr_t(const CString& text);  // NOLINT
  _bstr_t(const std::wstring& text);  // NOLINT
  _bstr_t(BSTR text, bool copy);
  _bstr_t(const struct tagVARIANT& value);  // NOLINT: converted to text

  operator const wchar_t*() const;  // NOLINT
  operator const char*() const;     // NOLINT
  const wchar_t* GetBSTR() const { return static_cast<const wchar_t*>(*this); }
  // A BSTR the caller frees with SysFreeString.
  BSTR copy() const;
  unsigned int length() const;
  bool operator!() const { return length() == 0; }

  _bstr_t& operator+=(const _bstr_t& other);
  friend _bstr_t operator+(const _bstr_t& a, const _bstr_t& b);
  bool operator==(const _bstr_t& other) const;
  bool operator!=(const _bstr_t& other) const { return !(*this == other); }
  bool operator<(const _bstr_t& other) const;

 private:
  struct Data {
    std::wstring wide;
    mutable std::string narrow;
    mutable bool narrowMade = false;
  };
  std::shared_ptr<Data> m_data;
};

// A VARIANT that owns its content. Conversions follow the automation rules:
// - numbers convert among each other; a real goes to an integer type to the
//   nearest value, a half to the even neighbour (2.5 -> 2, 3.5 -> 4); a value
//   out of the target's range raises DISP_E_OVERFLOW;
// - text converts to a number only when it reads as one, otherwise it raises
//   DISP_E_TYPEMISMATCH;
// - NULL converts to nothing: every conversion of NULL raises DISP_E_TYPEMISMATCH;
//   EMPTY converts to 0, false or empty text;
// - booleans are -1 (true) and 0 (false) as numbers and text.
class _variant_t : public tagVARIANT {
 public:
  _variant_t();
  _variant_t(const _variant_t& other);
  _variant_t(_variant_t&& other) noexcept;
  _variant_t(const VARIANT& other);  // NOLINT
  _variant_t(short value, VARTYPE type = VT_I2);
  _variant_t(int value, VARTYPE type = VT_I4);
  _variant_t(long value, VARTYPE type = VT_I4);  // 64-bit long here: kept as VT_I8 when it does not fit
  _variant_t(long long value);
  _variant_t(unsigned int value);
  _variant_t(unsigned long value);  // VT_UI4, or VT_UI8 when it does not fit
  _variant_t(float value);
  _variant_t(double value, VARTYPE type = VT_R8);  // VT_R8 or VT_DATE
  _variant_t(bool value);
  _variant_t(const wchar_t* text);  // NOLINT
  _variant_t(const char* utf8);     // NOLINT
  _variant_t(const _bstr_t& text);  // NOLINT
  _variant_t(const CString& text);  // NOLINT
  _variant_t(IDispatch* object, bool addRef = true);
  _variant_t(IUnknown* object, bool addRef = true);
  ~_variant_t();

  _variant_t& operator=(const _variant_t& other);
  _variant_t& operator=(_variant_t&& other) noexcept;

  // The value in another type; raises a _com_error when it cannot be made.
  operator short() const;  // NOLINT
  operator int() const;    // NOLINT
  operator long() const;   // NOLINT
  operator long long() const;  // NOLINT
  operator float() const;  // NOLINT
  operator double() const;  // NOLINT
  operator bool() const;   // NOLINT
  operator _bstr_t() const;  // NOLINT
  operator IDispatch*() const;  // NOLINT: adds a reference for the caller

  void Clear();
  // Converts in place (or from source into this); raises a _com_error on failure.
  void ChangeType(VARTYPE type, const _variant_t* source = nullptr);
  void SetString(const char* utf8);

  bool IsNull() const { return vt == VT_NULL; }

 private:
  _variant_t ConvertedTo(VARTYPE type) const;
};

namespace com {

// Rounds to the nearest integer, a half to the even neighbour.
double RoundHalfEven(double value);

}  // namespace com
