// The path convention: the system sees Windows paths, the machine has POSIX
// ones. The POSIX root is drive Z:, so "/home/a/b" reads "Z:\home\a\b". Other
// drive letters live in the platform prefix folder as "drive_c" and so on.
// Every file call of the platform accepts both forms.
#pragma once

#include <string>
#include <string_view>

namespace win {

// "Z:\a\b", "z:/a/b", "/a/b" -> "/a/b"; "C:\x" -> "<prefix>/drive_c/x";
// a relative path keeps being relative, with slashes.
std::string ToPosixPath(std::wstring_view path);
std::string ToPosixPath(std::string_view utf8Path);

// "/a/b" -> "Z:\a\b"; "<prefix>/drive_c/x" -> "C:\x"; relative -> backslashes.
std::wstring ToWindowsPath(std::string_view posixPath);

// The folder that holds the machine state (registry hives, other drives):
// $MARLO_PREFIX, else $XDG_DATA_HOME/marlo, else ~/.local/share/marlo.
std::string PlatformPrefix();

}  // namespace win
