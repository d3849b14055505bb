// Private profile (INI) files.
//
// Sections ("[name]") and keys ("key=value") are matched ignoring case;
// names and values are trimmed, and a value written between matching quotes
// is read without them. Lines starting with ';' or '#' are comments. Files
// are UTF-8 (with or without a byte-order mark) or UTF-16 with a byte-order
// mark; a write keeps the file's encoding and line ends, changes only the
// lines it must (every other line, comment and section stays byte for byte),
// and replaces the file through a temporary file and a rename, so a reader
// never sees half a file; writers in several processes take turns, so none
// loses another's change. A new file is UTF-8 with CR LF line ends.
#pragma once

#include "wintypes.h"

// Copies the value of key in section into the buffer (at most size - 1
// characters and a terminator; a longer value is cut and size - 1 is
// returned). A missing file, section or key gives the default (null: empty).
// A null section lists the section names, a null key the keys of the section:
// each name terminated, the list ended by a second terminator; a list that
// does not fit is cut and size - 2 is returned. Returns the characters
// copied, terminators not counted (a list counts the name terminators).
DWORD GetPrivateProfileStringW(LPCWSTR appName, LPCWSTR keyName, LPCWSTR defaultText, LPWSTR returnedString,
                               DWORD size, LPCWSTR fileName);

// Sets key in section to text, adding the key at the end of its section and
// the section at the end of the file when they are new. A null text deletes
// the key, a null key the whole section. The file is created when missing.
BOOL WritePrivateProfileStringW(LPCWSTR appName, LPCWSTR keyName, LPCWSTR text, LPCWSTR fileName);

// The key's value read as an integer: optional sign, decimal digits or "0x"
// and hexadecimal digits, as far as they go (0 when none). A missing or
// empty value gives the default.
UINT GetPrivateProfileIntW(LPCWSTR appName, LPCWSTR keyName, INT defaultValue, LPCWSTR fileName);

// All keys of a section as "key=value" strings, each terminated, the list
// ended by a second terminator (cut to fit like the lists above).
DWORD GetPrivateProfileSectionW(LPCWSTR appName, LPWSTR returnedString, DWORD size, LPCWSTR fileName);
// The section names, as GetPrivateProfileStringW with a null section.
DWORD GetPrivateProfileSectionNamesW(LPWSTR returnBuffer, DWORD size, LPCWSTR fileName);
