// Text values of the registry in one call each, for the platform's own
// readers and writers (class registrations, a host's settings): open, read or
// write, close. Sizes follow the registry's UTF-16 byte counting.
#pragma once

#include <optional>
#include <string>

#include "winreg.h"

namespace win {

// The REG_SZ or REG_EXPAND_SZ value (name "" is the key's default value);
// nullopt when the key or value is missing or is not text.
std::optional<std::wstring> ReadRegText(HKEY root, const std::wstring& subKey, const std::wstring& name);
// Creates the keys along the path and writes a REG_SZ value.
LSTATUS WriteRegText(HKEY root, const std::wstring& subKey, const std::wstring& name, const std::wstring& value);

}  // namespace win
