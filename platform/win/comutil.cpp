// VARIANT, _variant_t and _bstr_t, and the automation conversions between value types.
#include "comutil.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <ctime>
#include <limits>
#include <utility>

#include "textconv.h"

namespace com {

double RoundHalfEven(double value) {
  double floorValue = std::floor(value);
  double diff = value - floorValue;
  if (diff < 0.5) return floorValue;
  if (diff > 0.5) return floorValue + 1.0;
  return std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
}

}  // namespace com

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// Reads a whole text as a number (blanks around it allowed); false when it is not one.
bool ParseNumber(const wchar_t* text, double& out) {
  if (!text) return false;
  while (IsBlank(*text)) ++text;
  if (!*text) return false;
  wchar_t* end = nullptr;
  errno = 0;
  double value = std::wcstod(text, &end);
  if (end == text) return false;
  // wcstod also reads "inf", "nan" and hexadecimal: automation reads decimals only.
  for (const wchar_t* p = text; p != end; ++p) {
    if (!(std::iswdigit(*p) || *p == L'.' || *p == L'+' || *p == L'-' || *p == L'e' || *p == L'E')) return false;
  }
  while (IsBlank(*end)) ++end;
  if (*end) return false;
  if (errno == ERANGE && std::isinf(value)) return false;
  out = value;
  return true;
}

std::wstring FormatReal(double value) {
  // Fifteen significant digits, as the automation conversion writes reals.
  wchar_t buffer[64];
  std::swprintf(buffer, 64, L"%.15G", value);
  return buffer;
}

std::wstring FormatDate(DATE date) {
  double days = std::floor(date);
  double fraction = date - days;
  // 25569 days separate 30 December 1899 from 1 January 1970.
  long long seconds = static_cast<long long>(days - 25569.0) * 86400LL;
  long long timeOfDay = static_cast<long long>(std::llround(fraction * 86400.0));
  seconds += timeOfDay;
  std::time_t t = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&t, &parts);
  wchar_t buffer[64];
  if (timeOfDay == 0) {
    std::swprintf(buffer, 64, L"%04d-%02d-%02d", parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
  } else {
    std::swprintf(buffer, 64, L"%04d-%02d-%02d %02d:%02d:%02d", parts.tm_year + 1900, parts.tm_mon + 1,
                  parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
  }
  return buffer;
}

// The value as a double, with the conversion's failure code.
HRESULT ToReal(const VARIANT& v, double& out) {
  switch (v.vt) {
    case VT_EMPTY: out = 0; return S_OK;
    case VT_NULL: return DISP_E_TYPEMISMATCH;
    case VT_I1: out = v.cVal; return S_OK;
    case VT_UI1: out = v.bVal; return S_OK;
    case VT_I2: out = v.iVal; return S_OK;
    case VT_UI2: out = v.uiVal; return S_OK;
    case VT_I4: out = v.lVal; return S_OK;
    case VT_INT: out = v.intVal; return S_OK;
    case VT_UI4: out = v.ulVal; return S_OK;
    case VT_UINT: out = v.uintVal; return S_OK;
    case VT_I8: out = static_cast<double>(v.llVal); return S_OK;
    case VT_UI8: out = static_cast<double>(v.ullVal); return S_OK;
    case VT_R4: out = v.fltVal; return S_OK;
    case VT_R8: out = v.dblVal; return S_OK;
    case VT_DATE: out = v.date; return S_OK;
    case VT_BOOL: out = v.boolVal ? -1.0 : 0.0; return S_OK;
    case VT_BSTR: {
      if (!v.bstrVal) { return DISP_E_TYPEMISMATCH; }
      const wchar_t* text = v.bstrVal;
      if (std::wcscmp(text, L"True") == 0 || std::wcscmp(text, L"true") == 0) { out = -1; return S_OK; }
      if (std::wcscmp(text, L"False") == 0 || std::wcscmp(text, L"false") == 0) { out = 0; return S_OK; }
      return ParseNumber(text, out) ? S_OK : DISP_E_TYPEMISMATCH;
    }
    default: return DISP_E_TYPEMISMATCH;
  }
}

bool IsIntegral(VARTYPE vt) {
  return vt == VT_I1 || vt == VT_UI1 || vt == VT_I2 || vt == VT_UI2 || vt == VT_I4 || vt == VT_UI4 || vt == VT_INT ||
         vt == VT_UINT || vt == VT_I8 || vt == VT_UI8 || vt == VT_BOOL;
}

HRESULT ToInteger(const VARIANT& v, double minValue, double maxValue, long long& out) {
  if (v.vt == VT_I8) {
    if (static_cast<double>(v.llVal) < minValue || static_cast<double>(v.llVal) > maxValue) return DISP_E_OVERFLOW;
    out = v.llVal;
    return S_OK;
  }
  double real = 0;
  HRESULT hr = ToReal(v, real);
  if (FAILED(hr)) return hr;
  if (!IsIntegral(v.vt)) real = com::RoundHalfEven(real);
  if (std::isnan(real) || real < minValue || real > maxValue) return DISP_E_OVERFLOW;
  out = static_cast<long long>(real);
  return S_OK;
}

HRESULT ToText(const VARIANT& v, std::wstring& out) {
  switch (v.vt) {
    case VT_EMPTY: out.clear(); return S_OK;
    case VT_NULL: return DISP_E_TYPEMISMATCH;
    case VT_BSTR: out = v.bstrVal ? v.bstrVal : L""; return S_OK;
    case VT_BOOL: out = v.boolVal ? L"-1" : L"0"; return S_OK;
    case VT_R4: out = FormatReal(v.fltVal); return S_OK;
    case VT_R8: out = FormatReal(v.dblVal); return S_OK;
    case VT_DATE: out = FormatDate(v.date); return S_OK;
    case VT_UI8: out = std::to_wstring(v.ullVal); return S_OK;
    case VT_UI4: out = std::to_wstring(v.ulVal); return S_OK;
    case VT_UINT: out = std::to_wstring(v.uintVal); return S_OK;
    default: {
      if (!IsIntegral(v.vt)) return DISP_E_TYPEMISMATCH;
      double real = 0;
      HRESULT hr = ToReal(v, real);
      if (FAILED(hr)) return hr;
      out = v.vt == VT_I8 ? std::to_wstring(v.llVal) : std::to_wstring(static_cast<long long>(real));
      return S_OK;
    }
  }
}

void SetInteger(VARIANT& target, VARTYPE type, long long value) {
  target.vt = type;
  switch (type) {
    case VT_I1: target.cVal = static_cast<CHAR>(value); break;
    case VT_UI1: target.bVal = static_cast<BYTE>(value); break;
    case VT_I2: target.iVal = static_cast<SHORT>(value); break;
    case VT_UI2: target.uiVal = static_cast<USHORT>(value); break;
    case VT_I4: target.lVal = static_cast<LONG>(value); break;
    case VT_INT: target.intVal = static_cast<INT>(value); break;
    case VT_UI4: target.ulVal = static_cast<ULONG>(value); break;
    case VT_UINT: target.uintVal = static_cast<UINT>(value); break;
    default: target.llVal = value; break;
  }
}

}  // namespace

void VariantInit(VARIANT* value) {
  value->vt = VT_EMPTY;
  value->llVal = 0;
}

HRESULT VariantClear(VARIANT* value) {
  if (!value) return E_INVALIDARG;
  if (value->vt == VT_BSTR) {
    SysFreeString(value->bstrVal);
  } else if ((value->vt == VT_DISPATCH || value->vt == VT_UNKNOWN) && value->punkVal) {
    value->punkVal->Release();
  }
  VariantInit(value);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* target, const VARIANT* source) {
  if (!target || !source) return E_INVALIDARG;
  if (target == source) return S_OK;
  VARIANT copy = *source;
  if (copy.vt == VT_BSTR) {
    copy.bstrVal = source->bstrVal ? SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal)) : nullptr;
  } else if ((copy.vt == VT_DISPATCH || copy.vt == VT_UNKNOWN) && copy.punkVal) {
    copy.punkVal->AddRef();
  }
  VariantClear(target);
  *target = copy;
  return S_OK;
}

HRESULT VariantChangeType(VARIANT* target, const VARIANT* source, USHORT /*flags*/, VARTYPE type) {
  if (!target || !source) return E_INVALIDARG;
  VARIANT result;
  VariantInit(&result);
  HRESULT hr = S_OK;
  switch (type) {
    case VT_EMPTY:
      break;
    case VT_NULL:
      result.vt = VT_NULL;
      break;
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_INT: case VT_UI4: case VT_UINT:
    case VT_I8: case VT_UI8: {
      double lo = 0, hi = 0;
      switch (type) {
        case VT_I1: lo = -128; hi = 127; break;
        case VT_UI1: lo = 0; hi = 255; break;
        case VT_I2: lo = -32768; hi = 32767; break;
        case VT_UI2: lo = 0; hi = 65535; break;
        case VT_I4: case VT_INT: lo = -2147483648.0; hi = 2147483647.0; break;
        case VT_UI4: case VT_UINT: lo = 0; hi = 4294967295.0; break;
        case VT_I8: lo = -9223372036854775808.0; hi = 9223372036854774784.0; break;
        default: lo = 0; hi = 18446744073709549568.0; break;
      }
      long long value = 0;
      hr = ToInteger(*source, lo, hi, value);
      if (SUCCEEDED(hr)) SetInteger(result, type, value);
      break;
    }
    case VT_R4: case VT_R8: case VT_DATE: {
      double value = 0;
      hr = ToReal(*source, value);
      if (SUCCEEDED(hr)) {
        result.vt = type;
        if (type == VT_R4) result.fltVal = static_cast<float>(value);
        else if (type == VT_R8) result.dblVal = value;
        else result.date = value;
      }
      break;
    }
    case VT_BOOL: {
      double value = 0;
      hr = ToReal(*source, value);
      if (SUCCEEDED(hr)) {
        result.vt = VT_BOOL;
        result.boolVal = value != 0 ? VARIANT_TRUE : VARIANT_FALSE;
      }
      break;
    }
    case VT_BSTR: {
      std::wstring text;
      hr = ToText(*source, text);
      if (SUCCEEDED(hr)) {
        result.vt = VT_BSTR;
        result.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
      }
      break;
    }
    case VT_DISPATCH: case VT_UNKNOWN:
      if (source->vt == VT_DISPATCH || source->vt == VT_UNKNOWN) {
        result.vt = type;
        result.punkVal = source->punkVal;
        if (result.punkVal) result.punkVal->AddRef();
      } else {
        hr = DISP_E_TYPEMISMATCH;
      }
      break;
    default:
      hr = DISP_E_BADVARTYPE;
      break;
  }
  if (FAILED(hr)) return hr;
  VariantClear(target);
  *target = result;
  return S_OK;
}

// _bstr_t

_bstr_t::_bstr_t(const wchar_t* text) {
  if (text) m_data = std::make_shared<Data>(Data{text, {}, false});
}

_bstr_t::_bstr_t(const char* utf8) {
  if (utf8) m_data = std::make_shared<Data>(Data{win::Utf8ToWide(utf8), {}, false});
}

_bstr_t::_bstr_t(const CString& text) : m_data(std::make_shared<Data>(Data{std::wstring(text.View()), {}, false})) {}

_bstr_t::_bstr_t(const std::wstring& text) : m_data(std::make_shared<Data>(Data{text, {}, false})) {}

_bstr_t::_bstr_t(BSTR text, bool copy) {
  if (text) m_data = std::make_shared<Data>(Data{std::wstring(text, SysStringLen(text)), {}, false});
  if (!copy) SysFreeString(text);
}

_bstr_t::_bstr_t(const tagVARIANT& value) {
  if (value.vt == VT_BSTR) {
    if (value.bstrVal) m_data = std::make_shared<Data>(Data{value.bstrVal, {}, false});
    return;
  }
  VARIANT text;
  VariantInit(&text);
  HRESULT hr = VariantChangeType(&text, &value, 0, VT_BSTR);
  if (FAILED(hr)) _com_issue_error(hr);
  m_data = std::make_shared<Data>(Data{text.bstrVal ? text.bstrVal : L"", {}, false});
  VariantClear(&text);
}

_bstr_t::operator const wchar_t*() const { return m_data ? m_data->wide.c_str() : nullptr; }

_bstr_t::operator const char*() const {
  if (!m_data) return nullptr;
  if (!m_data->narrowMade) {
    m_data->narrow = win::WideToUtf8(m_data->wide);
    m_data->narrowMade = true;
  }
  return m_data->narrow.c_str();
}

BSTR _bstr_t::copy() const {
  return m_data ? SysAllocStringLen(m_data->wide.data(), static_cast<UINT>(m_data->wide.size())) : nullptr;
}

unsigned int _bstr_t::length() const { return m_data ? static_cast<unsigned int>(m_data->wide.size()) : 0; }

_bstr_t& _bstr_t::operator+=(const _bstr_t& other) {
  std::wstring joined = (m_data ? m_data->wide : std::wstring()) + (other.m_data ? other.m_data->wide : std::wstring());
  m_data = std::make_shared<Data>(Data{std::move(joined), {}, false});
  return *this;
}

_bstr_t operator+(const _bstr_t& a, const _bstr_t& b) {
  _bstr_t result = a;
  result += b;
  return result;
}

bool _bstr_t::operator==(const _bstr_t& other) const {
  if (!m_data || !other.m_data) return length() == other.length();
  return m_data->wide == other.m_data->wide;
}

bool _bstr_t::operator<(const _bstr_t& other) const {
  static const std::wstring empty;
  return (m_data ? m_data->wide : empty) < (other.m_data ? other.m_data->wide : empty);
}

// _variant_t

_variant_t::_variant_t() { VariantInit(this); }

_variant_t::_variant_t(const _variant_t& other) {
  VariantInit(this);
  VariantCopy(this, &other);
}

_variant_t::_variant_t(_variant_t&& other) noexcept {
  static_cast<tagVARIANT&>(*this) = other;
  VariantInit(&other);
}

_variant_t::_variant_t(const VARIANT& other) {
  VariantInit(this);
  VariantCopy(this, &other);
}

_variant_t::_variant_t(short value, VARTYPE type) {
  VariantInit(this);
  if (type == VT_BOOL) {
    vt = VT_BOOL;
    boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  } else {
    vt = VT_I2;
    iVal = value;
  }
}

_variant_t::_variant_t(int value, VARTYPE type) {
  VariantInit(this);
  if (type == VT_ERROR) {
    vt = VT_ERROR;
    scode = value;
  } else if (type == VT_INT) {
    vt = VT_INT;
    intVal = value;
  } else {
    vt = VT_I4;
    lVal = value;
  }
}

_variant_t::_variant_t(long value, VARTYPE type) {
  VariantInit(this);
  if (type == VT_ERROR) {
    vt = VT_ERROR;
    scode = static_cast<HRESULT>(value);
  } else if (value >= std::numeric_limits<LONG>::min() && value <= std::numeric_limits<LONG>::max()) {
    vt = VT_I4;
    lVal = static_cast<LONG>(value);
  } else {
    vt = VT_I8;
    llVal = value;
  }
}

_variant_t::_variant_t(long long value) {
  VariantInit(this);
  vt = VT_I8;
  llVal = value;
}

_variant_t::_variant_t(unsigned int value) {
  VariantInit(this);
  vt = VT_UI4;
  ulVal = value;
}

_variant_t::_variant_t(unsigned long value) {
  VariantInit(this);
  if (value <= std::numeric_limits<ULONG>::max()) {
    vt = VT_UI4;
    ulVal = static_cast<ULONG>(value);
  } else {
    vt = VT_UI8;
    ullVal = value;
  }
}

_variant_t::_variant_t(float value) {
  VariantInit(this);
  vt = VT_R4;
  fltVal = value;
}

_variant_t::_variant_t(double value, VARTYPE type) {
  VariantInit(this);
  if (type == VT_DATE) {
    vt = VT_DATE;
    date = value;
  } else {
    vt = VT_R8;
    dblVal = value;
  }
}

_variant_t::_variant_t(bool value) {
  VariantInit(this);
  vt = VT_BOOL;
  boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

_variant_t::_variant_t(const wchar_t* text) {
  VariantInit(this);
  vt = VT_BSTR;
  bstrVal = SysAllocString(text ? text : L"");
}

_variant_t::_variant_t(const char* utf8) {
  VariantInit(this);
  SetString(utf8);
}

_variant_t::_variant_t(const _bstr_t& text) {
  VariantInit(this);
  vt = VT_BSTR;
  bstrVal = text.copy();
}

_variant_t::_variant_t(const CString& text) {
  VariantInit(this);
  vt = VT_BSTR;
  bstrVal = SysAllocStringLen(text.GetString(), static_cast<UINT>(text.GetLength()));
}

_variant_t::_variant_t(IDispatch* object, bool addRef) {
  VariantInit(this);
  vt = VT_DISPATCH;
  pdispVal = object;
  if (object && addRef) object->AddRef();
}

_variant_t::_variant_t(IUnknown* object, bool addRef) {
  VariantInit(this);
  vt = VT_UNKNOWN;
  punkVal = object;
  if (object && addRef) object->AddRef();
}

_variant_t::~_variant_t() { VariantClear(this); }

_variant_t& _variant_t::operator=(const _variant_t& other) {
  if (this != &other) VariantCopy(this, &other);
  return *this;
}

_variant_t& _variant_t::operator=(_variant_t&& other) noexcept {
  if (this != &other) {
    VariantClear(this);
    static_cast<tagVARIANT&>(*this) = other;
    VariantInit(&other);
  }
  return *this;
}

_variant_t _variant_t::ConvertedTo(VARTYPE type) const {
  _variant_t result;
  HRESULT hr = VariantChangeType(&result, this, 0, type);
  if (FAILED(hr)) _com_issue_error(hr);
  return result;
}

_variant_t::operator short() const { return vt == VT_I2 ? iVal : ConvertedTo(VT_I2).iVal; }
_variant_t::operator int() const { return vt == VT_I4 ? lVal : ConvertedTo(VT_I4).lVal; }
_variant_t::operator long() const { return vt == VT_I4 ? lVal : ConvertedTo(VT_I4).lVal; }
_variant_t::operator long long() const { return vt == VT_I8 ? llVal : ConvertedTo(VT_I8).llVal; }
_variant_t::operator float() const { return vt == VT_R4 ? fltVal : ConvertedTo(VT_R4).fltVal; }
_variant_t::operator double() const { return vt == VT_R8 ? dblVal : ConvertedTo(VT_R8).dblVal; }
_variant_t::operator bool() const { return (vt == VT_BOOL ? boolVal : ConvertedTo(VT_BOOL).boolVal) != 0; }
_variant_t::operator _bstr_t() const { return _bstr_t(static_cast<const tagVARIANT&>(*this)); }

_variant_t::operator IDispatch*() const {
  if (vt != VT_DISPATCH && vt != VT_UNKNOWN) _com_issue_error(DISP_E_TYPEMISMATCH);
  if (!punkVal) return nullptr;
  void* object = nullptr;
  HRESULT hr = punkVal->QueryInterface(IDispatch::Uuid(), &object);
  if (FAILED(hr)) _com_issue_error(hr);
  return static_cast<IDispatch*>(object);
}

void _variant_t::Clear() { VariantClear(this); }

void _variant_t::ChangeType(VARTYPE type, const _variant_t* source) {
  HRESULT hr = VariantChangeType(this, source ? source : this, 0, type);
  if (FAILED(hr)) _com_issue_error(hr);
}

void _variant_t::SetString(const char* utf8) {
  std::wstring wide = utf8 ? win::Utf8ToWide(utf8) : std::wstring();
  VariantClear(this);
  vt = VT_BSTR;
  bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}
