// The stand-in for the Jet OLE DB 4.0 provider: it opens the file named by
// "Data Source" as an SQLCipher database keyed with the whole value of "Jet
// OLEDB:Database Password", translates the Jet dialect the callers send, and
// runs statements. Failures are raised as _com_error with a description that
// says what went wrong.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "comdef.h"

struct sqlite3;
struct sqlite3_stmt;

namespace jet {

// Result codes of the provider (OLE DB and Jet codes have no system text, so
// the message is the description).
constexpr HRESULT kProviderNotFound = static_cast<HRESULT>(0x800A0E7A);
constexpr HRESULT kFileNotFound = static_cast<HRESULT>(0x80004005);
constexpr HRESULT kNotValidPassword = static_cast<HRESULT>(0x80040E4D);
constexpr HRESULT kUnrecognizedFormat = static_cast<HRESULT>(0x80004005);
constexpr HRESULT kErrorsInCommand = static_cast<HRESULT>(0x80040E14);

constexpr const wchar_t* kProviderName = L"Microsoft.Jet.OLEDB.4.0";

// "key=value;key=value": keys trimmed, values taken whole up to the next ';'
// or the end (a password may hold blanks and quotes).
std::vector<std::pair<std::wstring, std::wstring>> ParseConnectionString(std::wstring_view text);
// The value of a key (compared without case), or null when absent.
const std::wstring* FindKey(const std::vector<std::pair<std::wstring, std::wstring>>& pairs, std::wstring_view key);

// Rewrites Jet SQL for the engine: a name after '.' is quoted, and a reserved
// word that names a table or column of the database (upper-case names in
// schemaNames) is quoted where it is not used as the keyword ("ORDER BY",
// "GROUP BY", "VALUES (").  Texts, quoted and bracketed names stay as they are.
std::string TranslateSql(std::string_view jetSql, const std::set<std::string>& schemaNames);

class Session;

// One prepared statement, stepped row by row.
class Statement {
 public:
  Statement(std::shared_ptr<Session> session, sqlite3_stmt* statement);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Moves to the next row; false at the end. Raises on engine errors.
  bool Step();
  int ColumnCount() const;
  std::wstring ColumnName(int column) const;
  // The current row's value: NULL, a 32-bit integer (a 64-bit one when it
  // does not fit), a double or text.
  _variant_t Column(int column) const;

 private:
  std::shared_ptr<Session> m_session;
  sqlite3_stmt* m_stmt;
};

// One open database file.
class Session : public std::enable_shared_from_this<Session> {
 public:
  // Opens the database named by the connection string; raises on failure.
  static std::shared_ptr<Session> Open(std::wstring_view connectionString);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Translates and prepares one statement; raises with the engine's message.
  std::unique_ptr<Statement> Prepare(std::wstring_view jetSql);
  // Runs engine SQL as it stands (no translation); raises on failure.
  void Run(const char* sql);
  // Whether a transaction is open (the engine may end one on an error).
  bool InTransaction() const;
  // Rows changed by the last finished INSERT, UPDATE or DELETE.
  long Changes() const;
  // Raises the engine's last error as a COM error.
  [[noreturn]] void RaiseEngineError(int code) const;
  void SchemaChanged() { m_schemaKnown = false; }

 private:
  explicit Session(sqlite3* db) : m_db(db) {}
  void LoadSchemaNames();

  sqlite3* m_db;
  std::set<std::string> m_schemaNames;
  bool m_schemaKnown = false;
};

}  // namespace jet
