// The client's side of a local server: starting the server process with its
// channel, the proxies of the server's objects, releasing them, and handing
// the script stream over to a server that its user took over.
#pragma once

#include <string>
#include <vector>

#include "wintypes.h"

namespace com {

// True once CoInitializeEx succeeded on this thread (and was not undone).
bool ThreadInitialized();

// Starts the LocalServer32 command line of a class as a child process and
// asks it for an object of the class with interface iid.
HRESULT CreateInLocalServer(REFCLSID clsid, const std::wstring& commandLine, REFIID iid, void** object);

// Splits a command line as the original platform's parser did: blanks
// separate arguments, double quotes group, \" is a quote.
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);

// Sends a synthetic input event (an encoded win input record) to every server
// this process is connected to; each one offers it to its own windows.
void ForwardInputToServers(const std::string& event);

// Local servers this process is connected to at the moment.
size_t ConnectedServerCount();

}  // namespace com
