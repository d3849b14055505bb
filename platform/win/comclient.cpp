// The client's side of local servers: the child process and its channel, the
// proxies for the server's objects (IDispatch for every object, and the
// registered early-bound interfaces), release, and the hand-over of the
// script stream to a server that goes on after its clients.
#include "comclient.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "comproxy.h"
#include "comwire.h"
#include "display.h"
#include "objbase.h"
#include "paths.h"
#include "script.h"
#include "textconv.h"

extern char** environ;

namespace com {

using wire::Msg;
using wire::Reader;
using wire::ServerNext;
using wire::Writer;

namespace {

// The time a started server has to answer its first request.
constexpr int kStartTimeoutMs = 60000;

std::mutex g_handedLock;
std::vector<pid_t> g_handedOver;  // servers that took this process's script

void Reap(pid_t pid) {
  if (pid <= 0) return;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

// One child process and the socket to it.
class Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(int fd, pid_t pid) : m_fd(fd), m_pid(pid) {}
  // A connection nobody uses any more: the server sees the channel close
  // and ends (one that took over was let go of before).
  ~Connection() { Close(true); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // One request and its reply (without the reply's message type); nullopt
  // when the server is gone (or, with a time limit, did not answer: it is
  // then stopped).
  std::optional<std::string> Request(Msg type, const std::string& payload, int timeoutMs = -1) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (m_fd < 0) return std::nullopt;
    if (!wire::Send(m_fd, type, payload)) {
      Close(true);
      return std::nullopt;
    }
    std::optional<std::pair<Msg, std::string>> reply = wire::Receive(m_fd, timeoutMs);
    if (!reply || reply->first != Msg::kReply) {
      if (timeoutMs >= 0 && m_pid > 0) ::kill(m_pid, SIGKILL);
      Close(true);
      return std::nullopt;
    }
    return std::move(reply->second);
  }

  // Gives one reference back. When it was the last one the server says what
  // it does next: end (it is waited for) or go on with this process's script.
  void Release(uint64_t id) {
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    Writer w;
    w.U64(id);
    w.U32(1);
    std::optional<std::string> reply = Request(Msg::kRelease, w.Data());
    if (!reply) return;
    ServerNext next = ServerNext::kServing;
    try {
      Reader r(*reply);
      r.I32();
      next = static_cast<ServerNext>(r.U8());
    } catch (const wire::WireError&) {
      next = ServerNext::kServing;
    }
    if (next == ServerNext::kEnding) {
      Close(true);
    } else if (next == ServerNext::kTakesOver) {
      user::HandOver rest = user::Script::Instance().TakeRest();
      Writer h;
      h.U32(static_cast<uint32_t>(rest.lines.size()));
      for (const std::string& line : rest.lines) h.Utf8(line);
      h.U8(rest.thenStandardInput ? 1 : 0);
      wire::Send(m_fd, Msg::kHandOver, h.Data());
      pid_t pid = m_pid;
      m_pid = -1;
      Close(false);
      if (pid > 0) {
        std::lock_guard<std::mutex> handed(g_handedLock);
        g_handedOver.push_back(pid);
      }
    }
  }

  bool Open() const { return m_fd >= 0; }

 private:
  void Close(bool reap) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (reap) Reap(m_pid);
    if (reap || m_pid <= 0) m_pid = -1;
  }

  std::recursive_mutex m_lock;
  int m_fd;
  pid_t m_pid;
};

class RemoteRef {
 public:
  RemoteRef(std::shared_ptr<Connection> connection, uint64_t id) : m_connection(std::move(connection)), m_id(id) {}
  ~RemoteRef() {
    if (m_connection) m_connection->Release(m_id);
  }
  RemoteRef(const RemoteRef&) = delete;
  RemoteRef& operator=(const RemoteRef&) = delete;

  const std::shared_ptr<Connection>& Channel() const { return m_connection; }
  uint64_t Id() const { return m_id; }

 private:
  std::shared_ptr<Connection> m_connection;
  uint64_t m_id;
};

namespace {

std::mutex g_proxyLock;
std::map<IUnknown*, std::weak_ptr<RemoteRef>>& Proxies() {
  static std::map<IUnknown*, std::weak_ptr<RemoteRef>> proxies;
  return proxies;
}

std::mutex g_connectionLock;
std::vector<std::weak_ptr<Connection>>& Connections() {
  static std::vector<std::weak_ptr<Connection>> connections;
  return connections;
}

// The proxy of an object reached through IDispatch (or only IUnknown).
class DispatchProxy : public ProxyOf<IDispatch> {
 public:
  using ProxyOf<IDispatch>::ProxyOf;
};

// Writes an object of this connection's server (a proxy of it) as its
// reference; objects of this process cannot cross.
bool WriteObject(const std::shared_ptr<Connection>& connection, IUnknown* object, Writer& w) {
  if (!object) {
    w.U8(0);
    return true;
  }
  std::lock_guard<std::mutex> lock(g_proxyLock);
  auto it = Proxies().find(object);
  if (it == Proxies().end()) return false;
  std::shared_ptr<RemoteRef> ref = it->second.lock();
  if (!ref || ref->Channel() != connection) return false;
  w.U8(1);
  w.U64(ref->Id());
  return true;
}

// Reads an object reference of a reply: the server added one reference for
// it, which the new proxy now holds.
void ReadObject(const std::shared_ptr<Connection>& connection, Reader& r, VARIANT& v) {
  if (r.U8() == 0) {
    v.punkVal = nullptr;
    return;
  }
  uint64_t id = r.U64();
  auto* proxy = new DispatchProxy(std::make_shared<RemoteRef>(connection, id));
  if (v.vt == VT_DISPATCH) v.pdispVal = proxy;
  else v.punkVal = static_cast<IUnknown*>(proxy);
}

std::optional<std::string> RequestOn(const std::shared_ptr<RemoteRef>& ref, Msg type, const Writer& w) {
  if (!ref || !ref->Channel()) return std::nullopt;
  return ref->Channel()->Request(type, w.Data());
}

}  // namespace

void NoteProxy(IUnknown* proxy, const std::shared_ptr<RemoteRef>& ref) {
  std::lock_guard<std::mutex> lock(g_proxyLock);
  Proxies()[proxy] = ref;
}

void ForgetProxy(IUnknown* proxy) {
  std::lock_guard<std::mutex> lock(g_proxyLock);
  Proxies().erase(proxy);
}

HRESULT RemoteQueryInterface(const std::shared_ptr<RemoteRef>& ref, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  const bool generic = SameGuid(iid, IUnknown::Uuid()) || SameGuid(iid, IDispatch::Uuid());
  const InterfaceMarshaller* marshaller = generic ? nullptr : FindMarshaller(iid);
  // Without a proxy for the interface this process could not use it.
  if (!generic && !marshaller) return E_NOINTERFACE;
  Writer w;
  w.U64(ref->Id());
  w.Guid(iid);
  std::optional<std::string> reply = RequestOn(ref, Msg::kQueryInterface, w);
  if (!reply) return RPC_E_DISCONNECTED;
  try {
    Reader r(*reply);
    HRESULT hr = r.I32();
    if (FAILED(hr)) return hr;
    if (r.U8() == 0) return E_NOINTERFACE;
    auto remote = std::make_shared<RemoteRef>(ref->Channel(), r.U64());
    IUnknown* proxy = generic ? static_cast<IUnknown*>(new DispatchProxy(remote)) : marshaller->makeProxy(remote);
    if (!proxy) return E_OUTOFMEMORY;
    *object = proxy;
    return S_OK;
  } catch (const wire::WireError&) {
    return RPC_E_SERVERFAULT;
  }
}

HRESULT RemoteInvoke(const std::shared_ptr<RemoteRef>& ref, DISPID member, LCID lcid, WORD flags, DISPPARAMS* params,
                     VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) {
  UINT count = params ? params->cArgs : 0;
  UINT named = params ? params->cNamedArgs : 0;
  if ((count && !params->rgvarg) || named > count || (named && !params->rgdispidNamedArgs)) return E_INVALIDARG;
  Writer w;
  w.U64(ref->Id());
  w.I32(member);
  w.U32(lcid);
  w.U16(flags);
  w.U32(count);
  const std::shared_ptr<Connection>& connection = ref->Channel();
  auto writeObject = [&](IUnknown* o, Writer& out) { return WriteObject(connection, o, out); };
  for (UINT i = 0; i < count; ++i) {
    HRESULT hr = w.Variant(params->rgvarg[i], writeObject);
    if (FAILED(hr)) {
      if (argErr) *argErr = i;
      return hr;
    }
  }
  w.U32(named);
  for (UINT i = 0; i < named; ++i) w.I32(params->rgdispidNamedArgs[i]);
  std::optional<std::string> reply = RequestOn(ref, Msg::kInvoke, w);
  if (!reply) return RPC_E_DISCONNECTED;
  try {
    Reader r(*reply);
    HRESULT hr = r.I32();
    VARIANT value;
    r.Variant(value, [&](Reader& in, VARIANT& v) { ReadObject(connection, in, v); });
    if (result) {
      VariantClear(result);
      *result = value;
    } else {
      VariantClear(&value);
    }
    if (r.U8()) {
      EXCEPINFO info{};
      info.wCode = r.U16();
      info.scode = r.I32();
      info.dwHelpContext = r.U32();
      info.bstrSource = r.OptionalBstr();
      info.bstrDescription = r.OptionalBstr();
      info.bstrHelpFile = r.OptionalBstr();
      if (excepInfo) {
        ClearExcepInfo(excepInfo);
        *excepInfo = info;
      } else {
        ClearExcepInfo(&info);
      }
    }
    UINT badArgument = r.U32();
    if (argErr && (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND)) *argErr = badArgument;
    return hr;
  } catch (const wire::WireError&) {
    return RPC_E_SERVERFAULT;
  }
}

HRESULT RemoteCallSlot(const std::shared_ptr<RemoteRef>& ref, REFIID iid, int slot, const std::vector<_variant_t>& in,
                       VARIANT* out) {
  Writer w;
  w.U64(ref->Id());
  w.Guid(iid);
  w.I32(slot);
  w.U32(static_cast<uint32_t>(in.size()));
  const std::shared_ptr<Connection>& connection = ref->Channel();
  auto writeObject = [&](IUnknown* o, Writer& wr) { return WriteObject(connection, o, wr); };
  for (const _variant_t& value : in) {
    HRESULT hr = w.Variant(value, writeObject);
    if (FAILED(hr)) return hr;
  }
  std::optional<std::string> reply = RequestOn(ref, Msg::kCallSlot, w);
  if (!reply) return RPC_E_DISCONNECTED;
  try {
    Reader r(*reply);
    HRESULT hr = r.I32();
    VARIANT value;
    r.Variant(value, [&](Reader& rd, VARIANT& v) { ReadObject(connection, rd, v); });
    if (out) {
      VariantClear(out);
      *out = value;
    } else {
      VariantClear(&value);
    }
    return hr;
  } catch (const wire::WireError&) {
    return RPC_E_SERVERFAULT;
  }
}

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine) {
  std::vector<std::wstring> parts;
  size_t i = 0;
  const size_t n = commandLine.size();
  while (i < n) {
    while (i < n && (commandLine[i] == L' ' || commandLine[i] == L'\t')) ++i;
    if (i >= n) break;
    std::wstring part;
    bool quoted = false;
    for (; i < n; ++i) {
      wchar_t c = commandLine[i];
      if (c == L'\\' && i + 1 < n && commandLine[i + 1] == L'"') {
        part.push_back(L'"');
        ++i;
      } else if (c == L'"') {
        quoted = !quoted;
      } else if (!quoted && (c == L' ' || c == L'\t')) {
        break;
      } else {
        part.push_back(c);
      }
    }
    parts.push_back(part);
  }
  return parts;
}

HRESULT CreateInLocalServer(REFCLSID clsid, const std::wstring& commandLine, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  std::vector<std::wstring> words = SplitCommandLine(commandLine);
  if (words.empty() || words[0].empty()) return CO_E_SERVER_EXEC_FAILURE;
  std::vector<std::string> args;
  args.push_back(win::ToPosixPath(words[0]));
  for (size_t i = 1; i < words.size(); ++i) args.push_back(win::WideToUtf8(words[i]));

  int pair[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) return E_OUTOFMEMORY;
  // The server's end becomes its descriptor 3; it is moved out of the way
  // first so that the copy onto 3 clears its close-on-exec flag.
  int serverEnd = ::fcntl(pair[1], F_DUPFD_CLOEXEC, 10);
  ::close(pair[1]);
  if (serverEnd < 0) {
    ::close(pair[0]);
    return E_OUTOFMEMORY;
  }
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e)
    if (std::strncmp(*e, "MARLO_COM_CHANNEL=", 18) != 0 && std::strncmp(*e, "MARLO_COM_DISPLAY=", 18) != 0)
      env.emplace_back(*e);
  env.emplace_back("MARLO_COM_CHANNEL=3");
  // A client on a display starts its server on the same display.
  if (win::display::IsOpen()) env.emplace_back("MARLO_COM_DISPLAY=" + win::display::Name());
  std::vector<char*> argv, envp;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, serverEnd, 3);
  pid_t pid = -1;
  int rc = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(serverEnd);
  if (rc != 0) {
    ::close(pair[0]);
    return CO_E_SERVER_EXEC_FAILURE;
  }

  auto connection = std::make_shared<Connection>(pair[0], pid);
  Writer w;
  w.Guid(clsid);
  w.Guid(iid);
  std::optional<std::string> reply = connection->Request(Msg::kCreate, w.Data(), kStartTimeoutMs);
  if (!reply) return CO_E_SERVER_EXEC_FAILURE;
  try {
    Reader r(*reply);
    HRESULT hr = r.I32();
    if (FAILED(hr)) return hr;
    if (r.U8() == 0) return E_NOINTERFACE;
    auto ref = std::make_shared<RemoteRef>(connection, r.U64());
    {
      std::lock_guard<std::mutex> lock(g_connectionLock);
      Connections().push_back(connection);
    }
    const bool generic = SameGuid(iid, IUnknown::Uuid()) || SameGuid(iid, IDispatch::Uuid());
    if (generic) {
      *object = static_cast<IDispatch*>(new DispatchProxy(ref));
      return S_OK;
    }
    const InterfaceMarshaller* marshaller = FindMarshaller(iid);
    if (!marshaller) return E_NOINTERFACE;
    *object = marshaller->makeProxy(ref);
    return *object ? S_OK : E_OUTOFMEMORY;
  } catch (const wire::WireError&) {
    return RPC_E_SERVERFAULT;
  }
}

void ForwardInputToServers(const std::string& event) {
  std::vector<std::shared_ptr<Connection>> live;
  {
    std::lock_guard<std::mutex> lock(g_connectionLock);
    auto& all = Connections();
    all.erase(std::remove_if(all.begin(), all.end(), [](const std::weak_ptr<Connection>& c) { return c.expired(); }),
              all.end());
    for (const auto& weak : all)
      if (auto c = weak.lock(); c && c->Open()) live.push_back(c);
  }
  for (const auto& connection : live) connection->Request(Msg::kInput, event);
}

size_t ConnectedServerCount() {
  std::lock_guard<std::mutex> lock(g_connectionLock);
  size_t n = 0;
  for (const auto& weak : Connections())
    if (auto c = weak.lock(); c && c->Open()) ++n;
  return n;
}

void WaitForHandedOverServers() {
  std::vector<pid_t> pids;
  {
    std::lock_guard<std::mutex> lock(g_handedLock);
    pids.swap(g_handedOver);
  }
  for (pid_t pid : pids) Reap(pid);
}

}  // namespace com
