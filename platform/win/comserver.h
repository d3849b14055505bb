// The local server's side: a process the COM runtime started for a client
// (objbase.h) offers its class objects with CoRegisterClassObject and then
// serves the client's calls. It lives as long as the client holds
// references. When the last one goes, the server says whether it goes on
// (its user has taken it over, e.g. a window made visible); if it does, the
// client hands over its script stream and the server continues as an
// ordinary session reading it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "objbase.h"
#include "script.h"

namespace com {

// True when this process was started by the runtime for a client: its
// channel is descriptor MARLO_COM_CHANNEL names.
bool StartedAsLocalServer();
// The X display of the client that started this server when that client
// shows its windows on one (empty: the client is headless).
std::string ClientDisplay();

struct ServerEnd {
  // The client gave its script stream: the server reads it next.
  bool handedOver = false;
  user::HandOver stream;
  // The client went away without releasing what it held (it ended).
  bool clientGone = false;
};

// Serves the client until it has released every object it held, or is gone.
// takesOver is asked when the last reference goes: true keeps the process
// (and asks the client for its script). Objects still held by a client that
// went away are released. Calls arrive one at a time on this thread.
ServerEnd ServeClient(const std::function<bool()>& takesOver);

}  // namespace com
