// Makes an encrypted configuration database from SQL text: the build uses it
// to make setting.mdb, the tests to make databases of their own.
#pragma once

#include <string>

namespace mdbbuild {

// Runs the SQL text in a new database keyed with the password and puts it at
// path (a temporary file renamed over the old one, so a failed build leaves the
// old file alone). False with a message on failure.
bool BuildDatabase(const std::string& sqlText, const std::string& path, const std::string& password,
                   std::string& error);

// Reads a whole file; false when it cannot be read.
bool ReadFile(const std::string& path, std::string& text);

}  // namespace mdbbuild
