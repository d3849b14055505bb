// The text encoding of a DXF file. From release 2007 on text is UTF-8; files
// before that hold bytes of the drawing's code page ($DWGCODEPAGE: ANSI_936
// for GBK, ANSI_950 for Big5 ...) and may spell characters outside it as
// \U+XXXX, and double-byte characters as \M+nXXXX (n names the code page).
// One decoder serves one read; its converters are opened as they are needed.
#pragma once

#include <iconv.h>

#include <array>
#include <string>
#include <string_view>

class AcDbDxfCodePage {
 public:
  AcDbDxfCodePage() = default;
  ~AcDbDxfCodePage();
  AcDbDxfCodePage(const AcDbDxfCodePage&) = delete;
  AcDbDxfCodePage& operator=(const AcDbDxfCodePage&) = delete;

  // Text is UTF-8 (release 2007 on).
  void setUtf8() { m_bUtf8 = true; }
  bool isUtf8() const { return m_bUtf8; }
  // The code page named by $DWGCODEPAGE, for files before release 2007.
  // False for a name this reader does not know: such text reads as Latin-1.
  bool setCodePage(std::string_view dwgCodePage);

  // The bytes of a value as wide text, escapes included as they stand.
  std::wstring decode(std::string_view bytes) const;
  // The value as UTF-8 (what the database keeps of pairs it holds as read).
  std::string toUtf8(std::string_view bytes) const;
  // Replaces \U+XXXX and \M+nXXXX by the characters they stand for.
  std::wstring resolveEscapes(std::wstring text) const;

 private:
  // The converters: [0] the file's code page, [1..5] those of \M+1 .. \M+5.
  iconv_t converter(size_t slot, const char* charset) const;
  // Converts with one converter; false when the bytes do not fit it.
  bool convert(iconv_t cd, std::string_view bytes, std::wstring& out) const;

  bool m_bUtf8 = false;
  bool m_bLatin1 = false;          // an unknown code page
  std::string m_charset = "CP1252";  // the iconv name of the file's code page
  bool m_bDoubleByte = false;
  mutable std::array<iconv_t, 6> m_converters{};
  mutable std::array<bool, 6> m_bOpened{};
};
