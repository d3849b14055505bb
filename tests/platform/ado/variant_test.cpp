// Automation values: conversions, texts, COM error messages and smart pointers.
#include <gtest/gtest.h>

#include <string>

#include "comdef.h"
#include "jetprovider.h"

namespace {

HRESULT ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const _com_error& e) {
    return e.Error();
  }
  return S_OK;
}

_variant_t Null() {
  _variant_t v;
  v.vt = VT_NULL;
  return v;
}

TEST(VariantConversion, RealToIntegerRoundsHalfToEven) {
  EXPECT_EQ(2, static_cast<int>(_variant_t(2.5)));
  EXPECT_EQ(3, static_cast<int>(_variant_t(2.7)));
  EXPECT_EQ(4, static_cast<int>(_variant_t(3.5)));
  EXPECT_EQ(-2, static_cast<int>(_variant_t(-2.5)));
  EXPECT_EQ(-3, static_cast<int>(_variant_t(-2.51)));
  EXPECT_EQ(0, static_cast<int>(_variant_t(0.5)));
  EXPECT_EQ(2, static_cast<int>(_variant_t(L"2.5")));
  EXPECT_EQ(DISP_E_OVERFLOW, ErrorOf([] { (void)static_cast<int>(_variant_t(2147483648.0)); }));
  EXPECT_EQ(-2147483647 - 1, static_cast<int>(_variant_t(-2147483648.0)));
}

TEST(VariantConversion, TextBecomesANumberOnlyWhenItReadsAsOne) {
  EXPECT_EQ(42, static_cast<int>(_variant_t(L" 42 ")));
  EXPECT_DOUBLE_EQ(-1.25, static_cast<double>(_variant_t(L"-1.25")));
  EXPECT_DOUBLE_EQ(1500.0, static_cast<double>(_variant_t("1.5e3")));
  for (const wchar_t* text : {L"abc", L"", L"12abc", L"inf", L"0x10", L"1 2"}) {
    EXPECT_EQ(DISP_E_TYPEMISMATCH, ErrorOf([&] { (void)static_cast<int>(_variant_t(text)); })) << text;
  }
  try {
    (void)static_cast<double>(_variant_t(L"x"));
    FAIL() << "no error";
  } catch (const _com_error& e) {
    EXPECT_STREQ(L"Type mismatch.", e.ErrorMessage());
  }
}

TEST(VariantConversion, NullConvertsToNothingEmptyToZero) {
  EXPECT_EQ(DISP_E_TYPEMISMATCH, ErrorOf([] { (void)static_cast<int>(Null()); }));
  EXPECT_EQ(DISP_E_TYPEMISMATCH, ErrorOf([] { (void)static_cast<double>(Null()); }));
  EXPECT_EQ(DISP_E_TYPEMISMATCH, ErrorOf([] { _bstr_t text = Null(); }));
  EXPECT_EQ(DISP_E_TYPEMISMATCH, ErrorOf([] { (void)static_cast<bool>(Null()); }));
  _variant_t empty;
  EXPECT_EQ(0, static_cast<int>(empty));
  EXPECT_EQ(0u, _bstr_t(empty).length());
}

TEST(VariantConversion, NumbersAndBooleansAsText) {
  EXPECT_STREQ(L"17", static_cast<const wchar_t*>(_bstr_t(_variant_t(17))));
  EXPECT_STREQ(L"2.5", static_cast<const wchar_t*>(_bstr_t(_variant_t(2.5))));
  EXPECT_STREQ(L"0.1", static_cast<const wchar_t*>(_bstr_t(_variant_t(0.1))));
  EXPECT_STREQ(L"-1", static_cast<const wchar_t*>(_bstr_t(_variant_t(true))));
  EXPECT_EQ(-1, static_cast<int>(_variant_t(true)));
  EXPECT_TRUE(static_cast<bool>(_variant_t(L"True")));
  EXPECT_FALSE(static_cast<bool>(_variant_t(0)));
  _variant_t date(36526.5, VT_DATE);  // 1 January 2000, noon
  EXPECT_STREQ(L"2000-01-01 12:00:00", static_cast<const wchar_t*>(_bstr_t(date)));
  EXPECT_DOUBLE_EQ(36526.5, static_cast<double>(date));
}

TEST(VariantConversion, CopiesOwnTheirTextAndChangeTypeWorksInPlace) {
  _variant_t a(L"漫游");
  _variant_t b = a;
  a = _variant_t(5);
  EXPECT_EQ(VT_BSTR, b.vt);
  EXPECT_STREQ(L"漫游", b.bstrVal);
  EXPECT_STREQ("漫游", static_cast<const char*>(_bstr_t(b)));
  b.ChangeType(VT_I4, &a);
  EXPECT_EQ(VT_I4, b.vt);
  EXPECT_EQ(5, b.lVal);
  _variant_t text(L"12");
  text.ChangeType(VT_R8);
  EXPECT_EQ(VT_R8, text.vt);
  EXPECT_DOUBLE_EQ(12.0, text.dblVal);
  _variant_t bad(L"x");
  EXPECT_EQ(DISP_E_TYPEMISMATCH, ErrorOf([&] { bad.ChangeType(VT_I4); }));
  EXPECT_EQ(VT_BSTR, bad.vt);  // a failed conversion leaves the value as it was
}

TEST(VariantConversion, IntegerTypesKeepTheirRange) {
  EXPECT_EQ(VT_I4, _variant_t(5L).vt);
  EXPECT_EQ(VT_I8, _variant_t(5000000000L).vt);
  EXPECT_EQ(VT_UI4, _variant_t(static_cast<unsigned long>(7)).vt);
  EXPECT_EQ(DISP_E_OVERFLOW, ErrorOf([] { (void)static_cast<int>(_variant_t(5000000000L)); }));
  EXPECT_EQ(DISP_E_OVERFLOW, ErrorOf([] { (void)static_cast<short>(_variant_t(40000)); }));
  EXPECT_EQ(5000000000LL, static_cast<long long>(_variant_t(L"5000000000")));
  EXPECT_STREQ(L"5000000000", static_cast<const wchar_t*>(_bstr_t(_variant_t(5000000000LL))));
}

TEST(BstrText, NullEmptyAndJoining) {
  _bstr_t null;
  EXPECT_EQ(nullptr, static_cast<const wchar_t*>(null));
  EXPECT_EQ(0u, null.length());
  _bstr_t empty(L"");
  EXPECT_NE(nullptr, static_cast<const wchar_t*>(empty));
  EXPECT_TRUE(null == empty);
  _bstr_t joined = _bstr_t(L"ab") + "cd";
  EXPECT_STREQ(L"abcd", static_cast<const wchar_t*>(joined));
  _bstr_t shared = joined;
  joined += L"e";
  EXPECT_STREQ(L"abcd", static_cast<const wchar_t*>(shared));
  BSTR copy = joined.copy();
  EXPECT_EQ(5u, SysStringLen(copy));
  SysFreeString(copy);
}

TEST(ComError, MessagePrefersDescriptionThenSystemTextThenCode) {
  EXPECT_STREQ(L"no such table: FOO", _com_error(jet::kErrorsInCommand, L"no such table: FOO").ErrorMessage());
  EXPECT_STREQ(L"Unspecified error", _com_error(E_FAIL).ErrorMessage());
  EXPECT_STREQ(L"IDispatch error #3092", _com_error(static_cast<HRESULT>(0x80040E14)).ErrorMessage());
  EXPECT_EQ(3092, _com_error(static_cast<HRESULT>(0x80040E14)).WCode());
  EXPECT_STREQ(L"Unknown error 0x800A0E7A", _com_error(static_cast<HRESULT>(0x800A0E7A)).ErrorMessage());
  EXPECT_EQ(0u, _com_error(E_FAIL).Description().length());
  EXPECT_STREQ(L"x", static_cast<const wchar_t*>(_com_error(E_FAIL, L"x").Description()));
}

TEST(ComPointer, EmptyPointerRaisesAndUnknownClassesFail) {
  _com_ptr_t<IDispatch> empty;
  EXPECT_EQ(E_POINTER, ErrorOf([&] { empty->AddRef(); }));
  EXPECT_FALSE(empty);
  EXPECT_EQ(CO_E_CLASSSTRING, empty.CreateInstance(L"No.SuchClass"));
  GUID unknown{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  EXPECT_EQ(REGDB_E_CLASSNOTREG, empty.CreateInstance(unknown));
  EXPECT_TRUE(empty == nullptr);
}

}  // namespace
