// The local server's runtime: class objects, the objects its client holds
// (each with the count of references the client has), and the stubs that
// carry out the client's calls on them.
#include "comserver.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>

#include "comproxy.h"
#include "comwire.h"
#include "wininput.h"

namespace com {

using wire::Msg;
using wire::Reader;
using wire::ServerNext;
using wire::Writer;

namespace {

struct ClassObject {
  DWORD cookie;
  CLSID clsid;
  IUnknown* object;
};

std::mutex g_classLock;
std::vector<ClassObject>& ClassObjects() {
  static std::vector<ClassObject> objects;
  return objects;
}
DWORD g_nextCookie = 1;

// Objects the client holds: one reference of ours each, and how many the
// client has.
class ExportTable {
 public:
  ~ExportTable() { ReleaseAll(); }

  // Puts an object out (one more client reference) and returns its id.
  uint64_t Export(IUnknown* object) {
    IUnknown* identity = nullptr;
    if (FAILED(object->QueryInterface(IUnknown::Uuid(), reinterpret_cast<void**>(&identity))) || !identity) {
      identity = object;
      identity->AddRef();
    }
    auto found = m_byIdentity.find(identity);
    if (found != m_byIdentity.end()) {
      identity->Release();
      ++m_entries[found->second].clientRefs;
      return found->second;
    }
    uint64_t id = m_nextId++;
    m_entries[id] = Entry{identity, 1};
    m_byIdentity[identity] = id;
    return id;
  }

  IUnknown* Find(uint64_t id) const {
    auto it = m_entries.find(id);
    return it == m_entries.end() ? nullptr : it->second.identity;
  }

  // Gives back client references; false for an unknown object.
  bool Release(uint64_t id, uint32_t count) {
    auto it = m_entries.find(id);
    if (it == m_entries.end()) return false;
    if (count >= it->second.clientRefs) {
      IUnknown* identity = it->second.identity;
      m_byIdentity.erase(identity);
      m_entries.erase(it);
      identity->Release();
    } else {
      it->second.clientRefs -= count;
    }
    return true;
  }

  void ReleaseAll() {
    auto entries = std::move(m_entries);
    m_entries.clear();
    m_byIdentity.clear();
    for (auto& [id, entry] : entries) entry.identity->Release();
  }

  bool Empty() const { return m_entries.empty(); }

 private:
  struct Entry {
    IUnknown* identity;
    uint32_t clientRefs;
  };
  std::map<uint64_t, Entry> m_entries;
  std::map<IUnknown*, uint64_t> m_byIdentity;
  uint64_t m_nextId = 1;
};

void WriteExport(ExportTable& table, IUnknown* object, Writer& w) {
  if (!object) {
    w.U8(0);
    return;
  }
  w.U8(1);
  w.U64(table.Export(object));
}

// An object reference among the client's arguments names one of our own.
void ReadArgumentObject(ExportTable& table, Reader& r, VARIANT& v) {
  if (r.U8() == 0) return;
  IUnknown* identity = table.Find(r.U64());
  if (!identity) throw wire::WireError("an object the client does not hold");
  if (v.vt == VT_DISPATCH) {
    IDispatch* dispatch = nullptr;
    if (FAILED(identity->QueryInterface(IDispatch::Uuid(), reinterpret_cast<void**>(&dispatch))))
      throw wire::WireError("the object has no IDispatch");
    v.pdispVal = dispatch;
  } else {
    identity->AddRef();
    v.punkVal = identity;
  }
}

// Values the client sent; cleared when the call is over.
struct Arguments {
  std::vector<VARIANT> values;
  ~Arguments() {
    for (VARIANT& v : values) VariantClear(&v);
  }
};

template <class Interface>
Interface* QueryAs(IUnknown* identity, REFIID iid) {
  void* p = nullptr;
  if (!identity || FAILED(identity->QueryInterface(iid, &p))) return nullptr;
  return static_cast<Interface*>(p);
}

class Server {
 public:
  explicit Server(int fd) : m_fd(fd) {}

  ServerEnd Run(const std::function<bool()>& takesOver) {
    ServerEnd end;
    for (;;) {
      std::optional<std::pair<Msg, std::string>> message = wire::Receive(m_fd);
      if (!message) {
        end.clientGone = true;
        break;
      }
      Writer reply;
      ServerNext next = ServerNext::kServing;
      try {
        Reader r(message->second);
        switch (message->first) {
          case Msg::kCreate: Create(r, reply); break;
          case Msg::kQueryInterface: QueryInterface(r, reply); break;
          case Msg::kInvoke: Invoke(r, reply); break;
          case Msg::kCallSlot: CallSlot(r, reply); break;
          case Msg::kRelease: next = Release(r, reply, takesOver); break;
          case Msg::kInput:
            win::DeliverForwardedInput(message->second);
            reply.I32(S_OK);
            break;
          default: reply.I32(E_UNEXPECTED); break;
        }
      } catch (const wire::WireError&) {
        reply = Writer();
        reply.I32(RPC_E_SERVERFAULT);
      }
      if (!wire::Send(m_fd, Msg::kReply, reply.Data())) {
        end.clientGone = true;
        break;
      }
      if (next == ServerNext::kEnding) break;
      if (next == ServerNext::kTakesOver) {
        ReceiveHandOver(end);
        break;
      }
    }
    m_exports.ReleaseAll();
    return end;
  }

 private:
  void Create(Reader& r, Writer& reply) {
    CLSID clsid = r.Guid();
    IID iid = r.Guid();
    IUnknown* classObject = nullptr;
    {
      std::lock_guard<std::mutex> lock(g_classLock);
      for (const ClassObject& c : ClassObjects())
        if (SameGuid(c.clsid, clsid)) classObject = c.object;
      if (classObject) classObject->AddRef();
    }
    IUnknown* created = nullptr;
    HRESULT hr = REGDB_E_CLASSNOTREG;
    if (classObject) {
      if (IClassFactory* factory = QueryAs<IClassFactory>(classObject, IClassFactory::Uuid())) {
        hr = Guarded([&] { return factory->CreateInstance(nullptr, iid, reinterpret_cast<void**>(&created)); });
        factory->Release();
      } else {
        hr = E_NOINTERFACE;
      }
      classObject->Release();
    }
    reply.I32(hr);
    WriteExport(m_exports, SUCCEEDED(hr) ? created : nullptr, reply);
    if (created) created->Release();
  }

  void QueryInterface(Reader& r, Writer& reply) {
    uint64_t id = r.U64();
    IID iid = r.Guid();
    IUnknown* identity = m_exports.Find(id);
    void* p = nullptr;
    HRESULT hr = identity ? Guarded([&] { return identity->QueryInterface(iid, &p); }) : RPC_E_DISCONNECTED;
    reply.I32(hr);
    WriteExport(m_exports, SUCCEEDED(hr) ? static_cast<IUnknown*>(p) : nullptr, reply);
    if (SUCCEEDED(hr) && p) static_cast<IUnknown*>(p)->Release();
  }

  void Invoke(Reader& r, Writer& reply) {
    uint64_t id = r.U64();
    DISPID member = r.I32();
    LCID lcid = r.U32();
    WORD flags = r.U16();
    Arguments args;
    uint32_t count = r.U32();
    args.values.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
      args.values.emplace_back();
      r.Variant(args.values.back(), [&](Reader& rd, VARIANT& v) { ReadArgumentObject(m_exports, rd, v); });
    }
    uint32_t namedCount = r.U32();
    std::vector<DISPID> named;
    for (uint32_t i = 0; i < namedCount; ++i) named.push_back(r.I32());
    if (namedCount > count) throw wire::WireError("more named arguments than arguments");

    DISPPARAMS params{args.values.empty() ? nullptr : args.values.data(), named.empty() ? nullptr : named.data(),
                      count, namedCount};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO info{};
    UINT argErr = 0;
    HRESULT hr = RPC_E_DISCONNECTED;
    if (IDispatch* dispatch = QueryAs<IDispatch>(m_exports.Find(id), IDispatch::Uuid())) {
      hr = Guarded([&] {
        return dispatch->Invoke(member, IID{}, lcid, flags, &params, &result, &info, &argErr);
      });
      dispatch->Release();
    } else if (m_exports.Find(id)) {
      hr = E_NOINTERFACE;
    }
    if (hr == DISP_E_EXCEPTION && info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    reply.I32(hr);
    if (FAILED(reply.Variant(result, [&](IUnknown* o, Writer& w) {
          WriteExport(m_exports, o, w);
          return true;
        }))) {
      // A result the wire cannot carry: the call fails as a whole.
      reply = Writer();
      reply.I32(DISP_E_BADVARTYPE);
      reply.U16(VT_EMPTY);
    }
    VariantClear(&result);
    reply.U8(hr == DISP_E_EXCEPTION ? 1 : 0);
    if (hr == DISP_E_EXCEPTION) {
      reply.U16(info.wCode);
      reply.I32(info.scode);
      reply.U32(info.dwHelpContext);
      reply.OptionalText(info.bstrSource);
      reply.OptionalText(info.bstrDescription);
      reply.OptionalText(info.bstrHelpFile);
    }
    ClearExcepInfo(&info);
    reply.U32(argErr);
  }

  void CallSlot(Reader& r, Writer& reply) {
    uint64_t id = r.U64();
    IID iid = r.Guid();
    int slot = r.I32();
    uint32_t count = r.U32();
    std::vector<_variant_t> in;
    for (uint32_t i = 0; i < count; ++i) {
      VARIANT v;
      r.Variant(v, [&](Reader& rd, VARIANT& value) { ReadArgumentObject(m_exports, rd, value); });
      in.emplace_back(v);
      VariantClear(&v);
    }
    VARIANT out;
    VariantInit(&out);
    HRESULT hr = E_NOINTERFACE;
    const InterfaceMarshaller* marshaller = FindMarshaller(iid);
    IUnknown* object = marshaller ? QueryAs<IUnknown>(m_exports.Find(id), iid) : nullptr;
    if (object) {
      hr = Guarded([&] { return marshaller->callSlot(object, slot, in, &out); });
      object->Release();
    } else if (!m_exports.Find(id)) {
      hr = RPC_E_DISCONNECTED;
    }
    reply.I32(hr);
    if (FAILED(reply.Variant(out, [&](IUnknown* o, Writer& w) {
          WriteExport(m_exports, o, w);
          return true;
        }))) {
      reply = Writer();
      reply.I32(DISP_E_BADVARTYPE);
      reply.U16(VT_EMPTY);
    }
    VariantClear(&out);
  }

  ServerNext Release(Reader& r, Writer& reply, const std::function<bool()>& takesOver) {
    uint64_t id = r.U64();
    uint32_t count = r.U32();
    bool known = m_exports.Release(id, count);
    reply.I32(known ? S_OK : E_INVALIDARG);
    ServerNext next = ServerNext::kServing;
    if (m_exports.Empty()) next = takesOver && takesOver() ? ServerNext::kTakesOver : ServerNext::kEnding;
    reply.U8(static_cast<uint8_t>(next));
    return next;
  }

  void ReceiveHandOver(ServerEnd& end) {
    std::optional<std::pair<Msg, std::string>> message = wire::Receive(m_fd);
    if (!message || message->first != Msg::kHandOver) {
      end.clientGone = true;
      return;
    }
    try {
      Reader r(message->second);
      uint32_t count = r.U32();
      for (uint32_t i = 0; i < count; ++i) end.stream.lines.push_back(r.Utf8());
      end.stream.thenStandardInput = r.U8() != 0;
      end.handedOver = true;
    } catch (const wire::WireError&) {
      end.stream = {};
      end.clientGone = true;
    }
  }

  // A call into the server's own code: an exception escaping it is a server
  // fault for the client, not the end of the server.
  template <class F>
  static HRESULT Guarded(F&& call) {
    try {
      return call();
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    } catch (...) {
      return RPC_E_SERVERFAULT;
    }
  }

  int m_fd;
  ExportTable m_exports;
};

int ChannelFromEnvironment() {
  const char* text = std::getenv("MARLO_COM_CHANNEL");
  if (!text || !*text) return -1;
  char* end = nullptr;
  long fd = std::strtol(text, &end, 10);
  if (*end || fd < 0 || fd > 1000000) return -1;
  if (::fcntl(static_cast<int>(fd), F_GETFD) < 0) return -1;
  return static_cast<int>(fd);
}

}  // namespace

bool StartedAsLocalServer() { return ChannelFromEnvironment() >= 0; }

std::string ClientDisplay() {
  const char* name = StartedAsLocalServer() ? std::getenv("MARLO_COM_DISPLAY") : nullptr;
  return name ? name : "";
}

ServerEnd ServeClient(const std::function<bool()>& takesOver) {
  int fd = ChannelFromEnvironment();
  if (fd < 0) {
    ServerEnd end;
    end.clientGone = true;
    return end;
  }
  // Programs this server starts must not inherit the channel or its name.
  ::unsetenv("MARLO_COM_CHANNEL");
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  ServerEnd end = Server(fd).Run(takesOver);
  ::close(fd);
  return end;
}

}  // namespace com

HRESULT CoRegisterClassObject(REFCLSID clsid, LPUNKNOWN classObject, DWORD, DWORD, LPDWORD cookie) {
  if (!classObject || !cookie) return E_INVALIDARG;
  std::lock_guard<std::mutex> lock(com::g_classLock);
  classObject->AddRef();
  *cookie = com::g_nextCookie++;
  com::ClassObjects().push_back({*cookie, clsid, classObject});
  return S_OK;
}

HRESULT CoRevokeClassObject(DWORD cookie) {
  IUnknown* object = nullptr;
  {
    std::lock_guard<std::mutex> lock(com::g_classLock);
    auto& objects = com::ClassObjects();
    for (auto it = objects.begin(); it != objects.end(); ++it) {
      if (it->cookie == cookie) {
        object = it->object;
        objects.erase(it);
        break;
      }
    }
  }
  if (!object) return E_INVALIDARG;
  object->Release();
  return S_OK;
}
