// The wire between a COM client and its local server: framed messages on a
// stream socket, and the encoding of the values they carry (numbers, wide
// text, GUIDs, VARIANTs). Interface pointers inside VARIANTs are written and
// read by the caller's callbacks, since only the two ends know what an
// object reference means to them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "comutil.h"
#include "wintypes.h"

namespace com::wire {

enum class Msg : uint8_t {
  kCreate = 1,          // clsid, iid -> hr, object
  kQueryInterface = 2,  // object, iid -> hr, object
  kInvoke = 3,          // object, dispid, lcid, flags, args, named ids -> hr, result, exception, argErr
  kCallSlot = 4,        // object, iid, slot, args -> hr, result
  kRelease = 5,         // object, count -> hr, what the server does next (ServerNext)
  kHandOver = 6,        // the client's unread script lines (no reply; the client goes)
  kInput = 7,           // a synthetic input event for the server's windows -> hr
  kReply = 0x80,
};

// What a server does once a release has been carried out.
enum class ServerNext : uint8_t {
  kServing = 0,     // its clients still hold references
  kEnding = 1,      // nothing is held and nobody took it over: it ends
  kTakesOver = 2,   // nothing is held, but its user has it: it wants the client's script
};

// A message that does not decode (truncated or malformed).
struct WireError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Writer {
 public:
  void U8(uint8_t v) { m_data.push_back(static_cast<char>(v)); }
  void U16(uint16_t v) { Raw(&v, sizeof v); }
  void U32(uint32_t v) { Raw(&v, sizeof v); }
  void I32(int32_t v) { Raw(&v, sizeof v); }
  void U64(uint64_t v) { Raw(&v, sizeof v); }
  void Guid(const GUID& g) { Raw(&g, sizeof g); }
  void Text(const std::wstring& text);
  void Utf8(const std::string& text);
  // A null text is kept apart from an empty one.
  void OptionalText(const wchar_t* text);
  // Objects go through writeObject, which writes the reference or returns
  // false when the object cannot cross (the VARIANT is then refused with
  // DISP_E_BADVARTYPE, as are types the wire does not carry).
  HRESULT Variant(const VARIANT& v, const std::function<bool(IUnknown*, Writer&)>& writeObject);

  const std::string& Data() const { return m_data; }

 private:
  void Raw(const void* p, size_t n) { m_data.append(static_cast<const char*>(p), n); }
  std::string m_data;
};

class Reader {
 public:
  explicit Reader(const std::string& data) : m_data(data) {}
  uint8_t U8();
  uint16_t U16() { return Raw<uint16_t>(); }
  uint32_t U32() { return Raw<uint32_t>(); }
  int32_t I32() { return Raw<int32_t>(); }
  uint64_t U64() { return Raw<uint64_t>(); }
  GUID Guid() { return Raw<GUID>(); }
  std::wstring Text();
  std::string Utf8();
  // Null when a null text was written; otherwise a BSTR the caller frees.
  BSTR OptionalBstr();
  // Fills v (which must be empty); objects come from readObject, which
  // stores the reference into v (vt already set) or fails.
  void Variant(VARIANT& v, const std::function<void(Reader&, VARIANT&)>& readObject);
  bool AtEnd() const { return m_pos == m_data.size(); }

 private:
  template <class T>
  T Raw() {
    T v{};
    Take(&v, sizeof v);
    return v;
  }
  void Take(void* p, size_t n);
  const std::string& m_data;
  size_t m_pos = 0;
};

// Sends one framed message; false when the other end is gone.
bool Send(int fd, Msg type, const std::string& payload);
// Receives one framed message; nullopt when the other end is gone, the frame
// is malformed, or timeoutMs (>= 0) passed first.
std::optional<std::pair<Msg, std::string>> Receive(int fd, int timeoutMs = -1);

}  // namespace com::wire
