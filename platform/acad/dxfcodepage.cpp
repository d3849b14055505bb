// Decoding DXF text: UTF-8, or the drawing's code page through iconv, and
// the \U+ and \M+ escapes of older files.
#include "dxfcodepage.h"

#include <cerrno>
#include <cwctype>

#include "textconv.h"
#include "textutil.h"

namespace {

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    auto c = static_cast<unsigned char>(s[i]);
    size_t extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 4;
    if (extra == 4 || i + extra >= s.size() + (extra == 0 ? 1 : 0)) return false;
    for (size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
    i += extra + 1;
  }
  return true;
}

std::wstring Latin1(std::string_view bytes) {
  std::wstring w;
  w.reserve(bytes.size());
  for (char c : bytes) w.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return w;
}

// The value of n hexadecimal digits at text[at], or -1.
long HexAt(const std::wstring& text, size_t at, size_t n) {
  if (at + n > text.size()) return -1;
  long v = 0;
  for (size_t k = 0; k < n; ++k) {
    int d = win::textutil::HexDigit(text[at + k]);
    if (d < 0) return -1;
    v = v * 16 + d;
  }
  return v;
}

// The code pages of \M+1 .. \M+5.
const char* const kMultibyteCharsets[] = {nullptr, "CP932", "CP950", "CP949", "JOHAB", "CP936"};

struct NamedCharset {
  const char* dwgName;
  const char* charset;
  bool doubleByte;
};

// $DWGCODEPAGE names and the charsets they stand for.
const NamedCharset kCharsets[] = {
    {"ANSI_874", "CP874", false},   {"ANSI_932", "CP932", true},    {"ANSI_936", "CP936", true},
    {"ANSI_949", "CP949", true},    {"ANSI_950", "CP950", true},    {"ANSI_1250", "CP1250", false},
    {"ANSI_1251", "CP1251", false}, {"ANSI_1252", "CP1252", false}, {"ANSI_1253", "CP1253", false},
    {"ANSI_1254", "CP1254", false}, {"ANSI_1255", "CP1255", false}, {"ANSI_1256", "CP1256", false},
    {"ANSI_1257", "CP1257", false}, {"ANSI_1258", "CP1258", false}, {"ANSI_1361", "JOHAB", true},
    {"DOS932", "CP932", true},      {"DOS437", "IBM437", false},    {"DOS850", "IBM850", false},
    {"DOS852", "IBM852", false},    {"DOS855", "IBM855", false},    {"DOS857", "IBM857", false},
    {"DOS860", "IBM860", false},    {"DOS861", "IBM861", false},    {"DOS863", "IBM863", false},
    {"DOS864", "IBM864", false},    {"DOS865", "IBM865", false},    {"DOS866", "IBM866", false},
    {"DOS869", "IBM869", false},    {"BIG5", "CP950", true},        {"GB2312", "CP936", true},
    {"KSC5601", "CP949", true},     {"JOHAB", "JOHAB", true},       {"MACINTOSH", "MACINTOSH", false},
    {"ISO8859-1", "ISO-8859-1", false}, {"ISO8859-2", "ISO-8859-2", false}, {"ISO8859-3", "ISO-8859-3", false},
    {"ISO8859-4", "ISO-8859-4", false}, {"ISO8859-5", "ISO-8859-5", false}, {"ISO8859-6", "ISO-8859-6", false},
    {"ISO8859-7", "ISO-8859-7", false}, {"ISO8859-8", "ISO-8859-8", false}, {"ISO8859-9", "ISO-8859-9", false},
    // Plain ASCII files with a stray accented letter come from Western Windows.
    {"ASCII", "CP1252", false},     {"", "CP1252", false},
};
}  // namespace

AcDbDxfCodePage::~AcDbDxfCodePage() {
  for (size_t i = 0; i < m_converters.size(); ++i)
    if (m_bOpened[i] && m_converters[i] != reinterpret_cast<iconv_t>(-1)) iconv_close(m_converters[i]);
}

bool AcDbDxfCodePage::setCodePage(std::string_view dwgCodePage) {
  std::string name;
  for (char c : dwgCodePage)
    if (c != ' ' && c != '\t') name.push_back(win::textutil::UpperChar(c));
  for (char& c : name)
    if (c == '_' && name.starts_with("ISO8859")) c = '-';
  if (name == "UTF8" || name == "UTF-8") {
    m_bUtf8 = true;
    return true;
  }
  if (m_bOpened[0]) {
    if (m_converters[0] != reinterpret_cast<iconv_t>(-1)) iconv_close(m_converters[0]);
    m_bOpened[0] = false;
  }
  for (const NamedCharset& n : kCharsets) {
    if (name != n.dwgName) continue;
    m_charset = n.charset;
    m_bDoubleByte = n.doubleByte;
    m_bLatin1 = false;
    // A machine without the converter reads the text as Latin-1, as for an unknown name.
    if (converter(0, m_charset.c_str()) == reinterpret_cast<iconv_t>(-1)) break;
    return true;
  }
  m_bLatin1 = true;
  m_bDoubleByte = false;
  return false;
}

iconv_t AcDbDxfCodePage::converter(size_t slot, const char* charset) const {
  if (!m_bOpened[slot]) {
    m_converters[slot] = iconv_open("WCHAR_T", charset);
    m_bOpened[slot] = true;
  }
  return m_converters[slot];
}

bool AcDbDxfCodePage::convert(iconv_t cd, std::string_view bytes, std::wstring& out) const {
  out.assign(bytes.size() + 1, L'\0');
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* to = reinterpret_cast<char*>(out.data());
  size_t toLeft = out.size() * sizeof(wchar_t);
  bool clean = true;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &to, &toLeft) != static_cast<size_t>(-1)) break;
    if (errno == E2BIG || toLeft < sizeof(wchar_t)) break;  // cannot happen: one character per byte at most
    // A byte the code page does not know stands for itself.
    clean = false;
    auto* w = reinterpret_cast<wchar_t*>(to);
    *w = static_cast<wchar_t>(static_cast<unsigned char>(*in));
    to += sizeof(wchar_t);
    toLeft -= sizeof(wchar_t);
    ++in;
    --inLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(static_cast<size_t>(reinterpret_cast<wchar_t*>(to) - out.data()));
  return clean;
}

std::wstring AcDbDxfCodePage::decode(std::string_view bytes) const {
  if (IsAscii(bytes)) return std::wstring(bytes.begin(), bytes.end());
  // Text that is valid UTF-8 is taken as such: programs that write UTF-8
  // under an older version number are common, while text of a single-byte
  // code page is almost never valid UTF-8 by chance.
  bool utf8 = IsValidUtf8(bytes);
  if (m_bUtf8 || (utf8 && !m_bDoubleByte)) return utf8 ? win::Utf8ToWide(bytes) : Latin1(bytes);
  if (m_bLatin1) return Latin1(bytes);
  iconv_t cd = converter(0, m_charset.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return Latin1(bytes);
  std::wstring out;
  // Double-byte text is read by its code page first: much UTF-8 would also
  // pass as GBK, so UTF-8 is the choice only for bytes the code page refuses.
  if (!convert(cd, bytes, out) && utf8) return win::Utf8ToWide(bytes);
  return out;
}

std::string AcDbDxfCodePage::toUtf8(std::string_view bytes) const {
  if (m_bUtf8 || IsAscii(bytes)) return std::string(bytes);
  return win::WideToUtf8(decode(bytes));
}

std::wstring AcDbDxfCodePage::resolveEscapes(std::wstring text) const {
  size_t pos = text.find(L'\\');
  if (pos == std::wstring::npos) return text;
  std::wstring out(text, 0, pos);
  for (size_t i = pos; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 2 < text.size() && text[i + 2] == L'+') {
      if (text[i + 1] == L'U') {
        long code = HexAt(text, i + 3, 4);
        if (code >= 0) {
          if (code != 0) out.push_back(static_cast<wchar_t>(code));
          i += 6;
          continue;
        }
      } else if (text[i + 1] == L'M' && i + 3 < text.size() && text[i + 3] >= L'1' && text[i + 3] <= L'5') {
        size_t slot = static_cast<size_t>(text[i + 3] - L'0');
        long code = HexAt(text, i + 4, 4);
        iconv_t cd = code > 0 ? converter(slot, kMultibyteCharsets[slot]) : reinterpret_cast<iconv_t>(-1);
        std::wstring ch;
        char pair[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        if (cd != reinterpret_cast<iconv_t>(-1) && convert(cd, std::string_view(pair, 2), ch) && ch.size() == 1) {
          out += ch;
          i += 7;
          continue;
        }
      }
    }
    out.push_back(text[i]);
  }
  return out;
}
