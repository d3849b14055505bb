// Framing and value encoding of the COM wire (see comwire.h).
#include "comwire.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <cwchar>

#include "cstring.h"

namespace com::wire {
namespace {

// A frame larger than this is taken for a broken stream, not allocated.
constexpr uint32_t kMaxFrame = 64u << 20;

bool WriteAll(int fd, const char* p, size_t n) {
  while (n > 0) {
    ssize_t written = ::send(fd, p, n, MSG_NOSIGNAL);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += written;
    n -= static_cast<size_t>(written);
  }
  return true;
}

bool ReadAll(int fd, char* p, size_t n) {
  while (n > 0) {
    ssize_t got = ::read(fd, p, n);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return false;
    p += got;
    n -= static_cast<size_t>(got);
  }
  return true;
}

}  // namespace

void Writer::Text(const std::wstring& text) {
  U32(static_cast<uint32_t>(text.size()));
  Raw(text.data(), text.size() * sizeof(wchar_t));
}

void Writer::Utf8(const std::string& text) {
  U32(static_cast<uint32_t>(text.size()));
  Raw(text.data(), text.size());
}

void Writer::OptionalText(const wchar_t* text) {
  U8(text ? 1 : 0);
  // Read up to the terminator: callers may pass a plain wide buffer for a BSTR.
  if (text) Text(std::wstring(text));
}

HRESULT Writer::Variant(const VARIANT& v, const std::function<bool(IUnknown*, Writer&)>& writeObject) {
  U16(v.vt);
  switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL: return S_OK;
    case VT_I1:
    case VT_UI1: U8(v.bVal); return S_OK;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL: U16(static_cast<uint16_t>(v.uiVal)); return S_OK;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_ERROR:
    case VT_R4: U32(v.ulVal); return S_OK;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_DATE: U64(v.ullVal); return S_OK;
    case VT_BSTR: OptionalText(v.bstrVal); return S_OK;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      if (!writeObject || !writeObject(v.punkVal, *this)) return DISP_E_BADVARTYPE;
      return S_OK;
    default: return DISP_E_BADVARTYPE;
  }
}

uint8_t Reader::U8() {
  uint8_t v = 0;
  Take(&v, 1);
  return v;
}

void Reader::Take(void* p, size_t n) {
  if (m_data.size() - m_pos < n) throw WireError("truncated message");
  std::memcpy(p, m_data.data() + m_pos, n);
  m_pos += n;
}

std::wstring Reader::Text() {
  uint32_t n = U32();
  if ((m_data.size() - m_pos) / sizeof(wchar_t) < n) throw WireError("truncated text");
  std::wstring text(n, L'\0');
  Take(text.data(), n * sizeof(wchar_t));
  return text;
}

std::string Reader::Utf8() {
  uint32_t n = U32();
  if (m_data.size() - m_pos < n) throw WireError("truncated text");
  std::string text(n, '\0');
  Take(text.data(), n);
  return text;
}

BSTR Reader::OptionalBstr() {
  if (!U8()) return nullptr;
  std::wstring text = Text();
  return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

void Reader::Variant(VARIANT& v, const std::function<void(Reader&, VARIANT&)>& readObject) {
  VariantInit(&v);
  VARTYPE vt = U16();
  switch (vt) {
    case VT_EMPTY:
    case VT_NULL: break;
    case VT_I1:
    case VT_UI1: v.bVal = U8(); break;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL: v.uiVal = U16(); break;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_ERROR:
    case VT_R4: v.ulVal = U32(); break;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_DATE: v.ullVal = U64(); break;
    case VT_BSTR: v.bstrVal = OptionalBstr(); break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      v.vt = vt;
      v.punkVal = nullptr;
      readObject(*this, v);
      return;
    default: throw WireError("a value type the wire does not carry");
  }
  v.vt = vt;
}

bool Send(int fd, Msg type, const std::string& payload) {
  if (payload.size() + 1 > kMaxFrame) return false;
  std::string frame;
  uint32_t length = static_cast<uint32_t>(payload.size() + 1);
  frame.append(reinterpret_cast<const char*>(&length), sizeof length);
  frame.push_back(static_cast<char>(type));
  frame += payload;
  return WriteAll(fd, frame.data(), frame.size());
}

std::optional<std::pair<Msg, std::string>> Receive(int fd, int timeoutMs) {
  if (timeoutMs >= 0) {
    pollfd p{fd, POLLIN, 0};
    int ready;
    do {
      ready = ::poll(&p, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return std::nullopt;
  }
  uint32_t length = 0;
  if (!ReadAll(fd, reinterpret_cast<char*>(&length), sizeof length)) return std::nullopt;
  if (length == 0 || length > kMaxFrame) return std::nullopt;
  std::string body(length, '\0');
  if (!ReadAll(fd, body.data(), length)) return std::nullopt;
  Msg type = static_cast<Msg>(static_cast<uint8_t>(body[0]));
  return std::make_pair(type, body.substr(1));
}

}  // namespace com::wire
