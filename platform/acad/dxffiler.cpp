// Writing DXF group codes and values as text, and handing an object the pairs
// read for it.
#include "dxffiler.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "dbdatabase.h"
#include "dbstub.h"
#include "textconv.h"

// ---- writing ----------------------------------------------------------------

void AcDbDxfFiler::writeCode(int code) {
  char buf[16];
  auto r = std::to_chars(buf, buf + sizeof buf, code);
  size_t n = static_cast<size_t>(r.ptr - buf);
  // Codes are right-aligned in three columns, as other programs write them.
  if (n < 3) m_out.append(3 - n, ' ');
  m_out.append(buf, n);
  m_out.push_back('\n');
}

void AcDbDxfFiler::writeUtf8(int code, std::string_view text) {
  writeCode(code);
  // A value is one line: line breaks inside it would end the value early.
  if (text.find_first_of("\r\n") == std::string_view::npos) {
    m_out.append(text);
  } else {
    for (char c : text) m_out.push_back(c == '\n' || c == '\r' ? ' ' : c);
  }
  m_out.push_back('\n');
}

void AcDbDxfFiler::writeString(int code, std::wstring_view text) {
  writeCode(code);
  for (wchar_t wc : text) {
    auto c = static_cast<uint32_t>(wc);
    if (c == '\n' || c == '\r') {
      m_out.push_back(' ');
    } else if (c < 0x80) {
      m_out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      m_out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      m_out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;  // a lone surrogate has no UTF-8 form
      m_out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      m_out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      m_out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x110000) {
      m_out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      m_out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      m_out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      m_out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      m_out.append("\xEF\xBF\xBD");
    }
  }
  m_out.push_back('\n');
}

void AcDbDxfFiler::writeDouble(int code, double value) {
  writeCode(code);
  if (!std::isfinite(value)) value = 0.0;
  char buf[32];
  // Shortest text that reads back as the same double.
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  size_t n = static_cast<size_t>(r.ptr - buf);
  m_out.append(buf, n);
  if (!std::memchr(buf, '.', n) && !std::memchr(buf, 'e', n)) m_out.append(".0");
  m_out.push_back('\n');
}

void AcDbDxfFiler::writeInt(int code, long long value) {
  writeCode(code);
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  m_out.append(buf, static_cast<size_t>(r.ptr - buf));
  m_out.push_back('\n');
}

void AcDbDxfFiler::writePoint3d(int code, const AcGePoint3d& p) {
  writeDouble(code, p.x);
  writeDouble(code + 10, p.y);
  writeDouble(code + 20, p.z);
}

void AcDbDxfFiler::writePoint2d(int code, const AcGePoint2d& p) {
  writeDouble(code, p.x);
  writeDouble(code + 10, p.y);
}

void AcDbDxfFiler::writeHandle(int code, AcDbHandle handle) {
  char buf[17];
  int n = 0;
  Adesk::UInt64 v = handle.value();
  do {
    buf[16 - n++] = "0123456789ABCDEF"[v & 15];
    v >>= 4;
  } while (v);
  writeUtf8(code, std::string_view(buf + 17 - n, static_cast<size_t>(n)));
}

void AcDbDxfFiler::writeObjectId(int code, AcDbObjectId id) {
  if (id.isNull()) {
    writeUtf8(code, "0");
    return;
  }
  writeHandle(code, id.handle());
}

// ---- reading ------------------------------------------------------------------

bool acdbParseInt(std::string_view t, long long& value) {
  size_t i = 0;
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
  bool neg = false;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) neg = t[i++] == '-';
  if (i >= t.size() || t[i] < '0' || t[i] > '9') return false;
  unsigned long long v = 0;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
    if (v > 100000000000000000ULL) return false;  // far beyond any group value
    v = v * 10 + static_cast<unsigned>(t[i] - '0');
  }
  // Some writers put a fraction on integer groups ("1.0").
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
  }
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
  if (i != t.size()) return false;
  value = neg ? -static_cast<long long>(v) : static_cast<long long>(v);
  return true;
}

namespace {
// Plain decimals ("-12.375", digits and at most one point) of up to nineteen
// digits, the most a 64-bit integer holds. Most values of a drawing are such;
// false for the others, which the general parser takes.
// - Below 2^53 the digits' integer and the power of ten (at most 10^19 here)
//   are exact doubles, so one division gives the correctly rounded value.
// - Above, both are exact in the 64-bit mantissa of long double, so its
//   quotient is correctly rounded to 64 bits; rounding that to a double again
//   gives the correctly rounded double unless it lies exactly halfway between
//   two doubles, where the first rounding may have made the tie. The general
//   parser takes those (shortest round-trip forms of 17 digits, as angles in
//   degrees are written, are common; ties are not).
bool ParsePlainDecimal(const char* s, const char* end, double& value) {
  static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                                      1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
  constexpr bool kWideLongDouble = std::numeric_limits<long double>::digits >= 64;
  bool neg = s < end && *s == '-';
  if (neg) ++s;
  // (Twenty characters, a point among them, cannot overflow the integer.)
  if (end - s > (kWideLongDouble ? 20 : 17)) return false;
  const char* start = s;
  unsigned long long m = 0;
  while (s < end && static_cast<unsigned>(*s - '0') <= 9) m = m * 10 + static_cast<unsigned>(*s++ - '0');
  bool hasPoint = s < end && *s == '.';
  ptrdiff_t fraction = 0;
  if (hasPoint) {
    const char* point = ++s;
    while (s < end && static_cast<unsigned>(*s - '0') <= 9) m = m * 10 + static_cast<unsigned>(*s++ - '0');
    fraction = s - point;
  }
  ptrdiff_t digits = s - start - (hasPoint ? 1 : 0);
  if (s != end || digits <= 0 || digits > 19) return false;
  double v;
  if (m < (1ULL << 53)) {
    v = static_cast<double>(m);
    if (fraction > 0) v /= kPow10[fraction];
  } else {
    if constexpr (!kWideLongDouble) return false;
    long double q = static_cast<long double>(m);
    if (fraction > 0) q /= static_cast<long double>(kPow10[fraction]);
    v = static_cast<double>(q);
    long double back = v;
    if (back != q) {
      // The neighbour of v on q's side; q + q == back + other (both exact)
      // when q is their midpoint.
      auto bits = std::bit_cast<unsigned long long>(v);
      double other = std::bit_cast<double>(q > back ? bits + 1 : bits - 1);
      if (q + q == back + static_cast<long double>(other)) return false;
    }
  }
  value = neg ? -v : v;
  return true;
}
}  // namespace

bool acdbParseDouble(std::string_view t, double& value) {
  // Most values are written without spaces or a plus sign.
  if (ParsePlainDecimal(t.data(), t.data() + t.size(), value)) return true;
  size_t b = 0, e = t.size();
  while (b < e && (t[b] == ' ' || t[b] == '\t')) ++b;
  while (e > b && (t[e - 1] == ' ' || t[e - 1] == '\t')) --e;
  if (b < e && t[b] == '+') ++b;
  if (b == e) return false;
  if ((b > 0 || e < t.size()) && ParsePlainDecimal(t.data() + b, t.data() + e, value)) return true;
  auto r = std::from_chars(t.data() + b, t.data() + e, value);
  if (r.ec == std::errc::result_out_of_range) {
    value = 0.0;
    return r.ptr == t.data() + e;
  }
  return r.ec == std::errc() && r.ptr == t.data() + e && std::isfinite(value);
}

double AcDbDxfRecord::real(std::string_view v) {
  double d = 0.0;
  return acdbParseDouble(v, d) ? d : 0.0;
}

long long AcDbDxfRecord::integer(std::string_view v) {
  long long n = 0;
  return acdbParseInt(v, n) ? n : 0;
}

AcGePoint3d AcDbDxfRecord::point(const std::vector<AcDbDxfPair>& pairs, size_t& i) {
  AcGePoint3d p;
  int code = pairs[i].code;
  p.x = real(pairs[i]);
  if (i + 1 < pairs.size() && pairs[i + 1].code == code + 10) {
    p.y = real(pairs[++i]);
    if (i + 1 < pairs.size() && pairs[i + 1].code == code + 20) p.z = real(pairs[++i]);
  }
  return p;
}

std::wstring AcDbDxfRecord::text(std::string_view v) const {
  std::wstring w;
  bool plain = true;
  for (char c : v)
    if (static_cast<unsigned char>(c) >= 0x80 || c == '\\' || c == '\0') {
      plain = false;
      break;
    }
  if (plain) return std::wstring(v.begin(), v.end());
  if (m_pCodePage) {
    w = m_pCodePage->resolveEscapes(m_pCodePage->decode(v));
  } else {
    AcDbDxfCodePage utf8;
    utf8.setUtf8();
    w = utf8.resolveEscapes(utf8.decode(v));
  }
  // A NUL cannot live in the host's C strings: it is dropped.
  if (w.find(L'\0') != std::wstring::npos) std::erase(w, L'\0');
  return w;
}

AcDbSharedName AcDbDxfRecord::sharedText(std::string_view v) const {
  if (m_pLastName && m_pLastName->first == v) return m_pLastName->second;
  auto it = m_names.find(v);
  if (it == m_names.end()) it = m_names.emplace(std::string(v), AcDbSharedName(text(v))).first;
  m_pLastName = &*it;
  return it->second;
}

AcDbObjectId AcDbDxfRecord::idFromHandle(std::string_view v) const {
  AcDbHandle h = acdbParseHandle(v);
  if (h.isNull() || !m_pDb) return {};
  return AcDbObjectId(m_pDb->stubForHandle(h, true));
}
