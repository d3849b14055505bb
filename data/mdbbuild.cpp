// Builds an encrypted configuration database from SQL text (the build's
// setting.mdb, and the databases tests make of their own).
#include "mdbbuild.h"

#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace mdbbuild {

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream content;
  content << file.rdbuf();
  text = content.str();
  return true;
}

bool BuildDatabase(const std::string& sqlText, const std::string& path, const std::string& password,
                   std::string& error) {
  std::string temporary = path + ".tmp";
  std::remove(temporary.c_str());
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(temporary.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  bool ok = rc == SQLITE_OK;
  if (ok && !password.empty()) ok = sqlite3_key(db, password.data(), static_cast<int>(password.size())) == SQLITE_OK;
  char* message = nullptr;
  if (ok) {
    std::string script = "BEGIN;\n" + sqlText + "\n;COMMIT;";
    ok = sqlite3_exec(db, script.c_str(), nullptr, nullptr, &message) == SQLITE_OK;
  }
  if (!ok) {
    error = message ? message : (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    sqlite3_free(message);
    sqlite3_close(db);
    std::remove(temporary.c_str());
    return false;
  }
  sqlite3_close(db);
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot rename " + temporary + " to " + path;
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace mdbbuild
