// The Jet OLE DB stand-in: opening the encrypted SQLCipher file of the
// connection string, translating the Jet dialect, running statements and
// transactions, and reporting the engine's errors.
#include "jetprovider.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cctype>
#include <cwctype>
#include <fstream>
#include <limits>

#include "format.h"
#include "paths.h"
#include "textconv.h"
#include "textutil.h"

namespace jet {

namespace {


using win::textutil::EqualNoCase;
using win::textutil::Trimmed;
using win::textutil::Upper;

[[noreturn]] void Raise(HRESULT hr, const std::wstring& description) { throw _com_error(hr, description.c_str()); }

// Reserved words the engine refuses as bare names.
bool IsReserved(const std::string& upper) {
  static const std::set<std::string> words = {
      "ALL",     "ALTER",    "AND",     "AS",       "AUTOINCREMENT", "BETWEEN",   "CASE",   "CHECK",
      "COLLATE", "COMMIT",   "CONSTRAINT", "CREATE", "DEFAULT",     "DEFERRABLE", "DELETE", "DISTINCT",
      "DROP",    "ELSE",     "ESCAPE",  "EXCEPT",   "EXISTS",        "FOREIGN",   "FROM",   "GROUP",
      "HAVING",  "IN",       "INDEX",   "INSERT",   "INTERSECT",     "INTO",      "IS",     "ISNULL",
      "JOIN",    "LIMIT",    "NOT",     "NOTNULL",  "NULL",          "ON",        "OR",     "ORDER",
      "PRIMARY", "REFERENCES", "SELECT", "SET",     "TABLE",         "THEN",      "TO",     "TRANSACTION",
      "UNION",   "UNIQUE",   "UPDATE",  "USING",    "VALUES",        "WHEN",      "WHERE"};
  return words.count(upper) != 0;
}

enum class Kind { Space, Word, Quoted, Text, Number, Punct };

struct Token {
  Kind kind;
  std::string text;
};

bool IsWordByte(unsigned char c) { return std::isalnum(c) || c == '_' || c == '$' || c >= 0x80; }

std::vector<Token> Tokenize(std::string_view sql) {
  std::vector<Token> tokens;
  size_t i = 0;
  const size_t n = sql.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(sql[i]);
    size_t start = i;
    Kind kind = Kind::Punct;
    if (std::isspace(c)) {
      while (i < n && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
      kind = Kind::Space;
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      while (i < n && sql[i] != '\n') ++i;
      kind = Kind::Space;
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      size_t end = sql.find("*/", i + 2);
      i = end == std::string_view::npos ? n : end + 2;
      kind = Kind::Space;
    } else if (c == '\'' || c == '"' || c == '`' || c == '[') {
      char close = c == '[' ? ']' : static_cast<char>(c);
      ++i;
      while (i < n) {
        if (sql[i] == close) {
          // A doubled quote inside a quoted text or name is one quote.
          if (close != ']' && i + 1 < n && sql[i + 1] == close) {
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        ++i;
      }
      kind = c == '\'' ? Kind::Text : Kind::Quoted;
    } else if (std::isdigit(c)) {
      while (i < n) {
        char d = sql[i];
        if (std::isalnum(static_cast<unsigned char>(d)) || d == '.') {
          ++i;
        } else if ((d == '+' || d == '-') && (sql[i - 1] == 'e' || sql[i - 1] == 'E')) {
          ++i;
        } else {
          break;
        }
      }
      kind = Kind::Number;
    } else if (IsWordByte(c)) {
      while (i < n && IsWordByte(static_cast<unsigned char>(sql[i]))) ++i;
      kind = Kind::Word;
    } else {
      ++i;
    }
    tokens.push_back({kind, std::string(sql.substr(start, i - start))});
  }
  return tokens;
}

}  // namespace

std::vector<std::pair<std::wstring, std::wstring>> ParseConnectionString(std::wstring_view text) {
  std::vector<std::pair<std::wstring, std::wstring>> pairs;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find(L';', pos);
    if (end == std::wstring_view::npos) end = text.size();
    std::wstring_view part = text.substr(pos, end - pos);
    size_t eq = part.find(L'=');
    std::wstring key = Trimmed(eq == std::wstring_view::npos ? part : part.substr(0, eq));
    if (!key.empty()) {
      std::wstring value = eq == std::wstring_view::npos ? std::wstring() : std::wstring(part.substr(eq + 1));
      pairs.emplace_back(std::move(key), std::move(value));
    }
    pos = end + 1;
  }
  return pairs;
}

const std::wstring* FindKey(const std::vector<std::pair<std::wstring, std::wstring>>& pairs, std::wstring_view key) {
  const std::wstring* found = nullptr;
  for (const auto& pair : pairs) {
    if (EqualNoCase(pair.first, key)) found = &pair.second;  // the last one counts
  }
  return found;
}

std::string TranslateSql(std::string_view jetSql, const std::set<std::string>& schemaNames) {
  std::vector<Token> tokens = Tokenize(jetSql);
  auto nextSignificant = [&](size_t from) -> const Token* {
    for (size_t k = from + 1; k < tokens.size(); ++k) {
      if (tokens[k].kind != Kind::Space) return &tokens[k];
    }
    return nullptr;
  };
  std::string out;
  out.reserve(jetSql.size() + 16);
  const Token* previous = nullptr;
  for (size_t k = 0; k < tokens.size(); ++k) {
    const Token& token = tokens[k];
    if (token.kind == Kind::Word) {
      bool quote = false;
      if (previous && previous->kind == Kind::Punct && previous->text == ".") {
        quote = true;
      } else {
        std::string upper = Upper(token.text);
        if (IsReserved(upper) && schemaNames.count(upper)) {
          const Token* next = nextSignificant(k);
          std::string nextUpper = next ? Upper(next->text) : std::string();
          bool keyword = ((upper == "ORDER" || upper == "GROUP") && nextUpper == "BY") ||
                         (upper == "VALUES" && nextUpper == "(");
          quote = !keyword;
        }
      }
      if (quote) {
        out += '"';
        out += token.text;
        out += '"';
      } else {
        out += token.text;
      }
    } else {
      out += token.text;
    }
    if (token.kind != Kind::Space) previous = &token;
  }
  return out;
}

// Statement

Statement::Statement(std::shared_ptr<Session> session, sqlite3_stmt* statement)
    : m_session(std::move(session)), m_stmt(statement) {}

Statement::~Statement() { sqlite3_finalize(m_stmt); }

bool Statement::Step() {
  int rc = sqlite3_step(m_stmt);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  m_session->RaiseEngineError(rc);
}

int Statement::ColumnCount() const { return sqlite3_column_count(m_stmt); }

std::wstring Statement::ColumnName(int column) const {
  const char* name = sqlite3_column_name(m_stmt, column);
  return name ? win::Utf8ToWide(name) : std::wstring();
}

_variant_t Statement::Column(int column) const {
  switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER: {
      sqlite3_int64 value = sqlite3_column_int64(m_stmt, column);
      if (value >= std::numeric_limits<LONG>::min() && value <= std::numeric_limits<LONG>::max()) {
        return _variant_t(static_cast<int>(value));
      }
      return _variant_t(static_cast<long long>(value));
    }
    case SQLITE_FLOAT:
      return _variant_t(sqlite3_column_double(m_stmt, column));
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
      const unsigned char* text = sqlite3_column_text(m_stmt, column);
      int bytes = sqlite3_column_bytes(m_stmt, column);
      std::string utf8(text ? reinterpret_cast<const char*>(text) : "", text ? static_cast<size_t>(bytes) : 0);
      return _variant_t(CString(std::wstring_view(win::Utf8ToWide(utf8))));
    }
    default: {
      _variant_t null;
      null.vt = VT_NULL;
      return null;
    }
  }
}

// Session

std::shared_ptr<Session> Session::Open(std::wstring_view connectionString) {
  auto pairs = ParseConnectionString(connectionString);
  const std::wstring* provider = FindKey(pairs, L"Provider");
  std::wstring providerName = provider ? Trimmed(*provider) : std::wstring();
  if (!EqualNoCase(providerName, kProviderName)) {
    Raise(kProviderNotFound, win::Format(L"Provider cannot be found: '%s'. It may not be properly installed.",
                                         providerName.c_str()));
  }
  const std::wstring* source = FindKey(pairs, L"Data Source");
  std::wstring fileName = source ? Trimmed(*source) : std::wstring();
  std::string path = fileName.empty() ? std::string() : win::ToPosixPath(std::wstring_view(fileName));
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) {
    Raise(kFileNotFound, win::Format(L"Could not find file '%s'.", fileName.c_str()));
  }
  // An encrypted database is whole pages of at least 512 bytes; anything else
  // cannot be one. A plain database announces itself in its first bytes.
  bool plain = false;
  if (!S_ISREG(info.st_mode) || info.st_size < 512 || info.st_size % 512 != 0) {
    Raise(kUnrecognizedFormat, win::Format(L"Unrecognized database format '%s'.", fileName.c_str()));
  }
  {
    std::ifstream file(path, std::ios::binary);
    char header[16] = {};
    file.read(header, sizeof header);
    if (!file) Raise(kUnrecognizedFormat, win::Format(L"Unrecognized database format '%s'.", fileName.c_str()));
    plain = std::string_view(header, sizeof header) == std::string_view("SQLite format 3\0", 16);
  }
  const std::wstring* password = FindKey(pairs, L"Jet OLEDB:Database Password");

  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) {
    std::wstring message = win::Utf8ToWide(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    sqlite3_close_v2(db);
    Raise(kFileNotFound, win::Format(L"Cannot open file '%s': %s.", fileName.c_str(), message.c_str()));
  }
  std::shared_ptr<Session> session(new Session(db));
  if (!plain) {
    std::string key = password ? win::WideToUtf8(*password) : std::string();
    if (key.empty()) Raise(kNotValidPassword, L"Not a valid password.");
    sqlite3_key(db, key.data(), static_cast<int>(key.size()));
  }
  rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  if (rc == SQLITE_NOTADB) {
    if (plain) Raise(kUnrecognizedFormat, win::Format(L"Unrecognized database format '%s'.", fileName.c_str()));
    Raise(kNotValidPassword, L"Not a valid password.");
  }
  if (rc != SQLITE_OK) session->RaiseEngineError(rc);
  sqlite3_busy_timeout(db, 5000);
  // Durable writes: a commit that returned has been flushed to disk, and the
  // write-ahead log keeps an interrupted write from damaging the file. The log
  // costs one flush per commit (a rollback journal costs several); it is
  // folded into the file when the last connection closes.
  rc = sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) session->RaiseEngineError(rc);
  return session;
}

Session::~Session() { sqlite3_close_v2(m_db); }

void Session::RaiseEngineError(int code) const {
  const char* message = sqlite3_errmsg(m_db);
  if (!message || !*message) message = sqlite3_errstr(code);
  Raise(kErrorsInCommand, win::Utf8ToWide(message));
}

void Session::Run(const char* sql) {
  int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) RaiseEngineError(rc);
}

bool Session::InTransaction() const { return sqlite3_get_autocommit(m_db) == 0; }

long Session::Changes() const { return sqlite3_changes(m_db); }

void Session::LoadSchemaNames() {
  m_schemaNames.clear();
  std::vector<std::string> tables;
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(m_db, "SELECT name FROM sqlite_master WHERE type IN ('table','view')", -1, &stmt,
                         nullptr) == SQLITE_OK) {
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      const unsigned char* name = sqlite3_column_text(stmt, 0);
      if (name) tables.emplace_back(reinterpret_cast<const char*>(name));
    }
  }
  sqlite3_finalize(stmt);
  for (const std::string& table : tables) {
    m_schemaNames.insert(Upper(table));
    std::string quoted = "\"";
    for (char ch : table) {
      quoted += ch;
      if (ch == '"') quoted += '"';
    }
    quoted += '"';
    std::string pragma = "PRAGMA table_info(" + quoted + ")";
    stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, pragma.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
      while (sqlite3_step(stmt) == SQLITE_ROW) {
        const unsigned char* name = sqlite3_column_text(stmt, 1);
        if (name) m_schemaNames.insert(Upper(reinterpret_cast<const char*>(name)));
      }
    }
    sqlite3_finalize(stmt);
  }
  m_schemaKnown = true;
}

std::unique_ptr<Statement> Session::Prepare(std::wstring_view jetSql) {
  if (!m_schemaKnown) LoadSchemaNames();
  std::string sql = TranslateSql(win::WideToUtf8(jetSql), m_schemaNames);
  sqlite3_stmt* stmt = nullptr;
  const char* tail = nullptr;
  int rc = sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size()), &stmt, &tail);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(stmt);
    RaiseEngineError(rc);
  }
  if (!stmt) Raise(kErrorsInCommand, L"Command text was not set for the command object.");
  auto statement = std::make_unique<Statement>(shared_from_this(), stmt);
  for (const char* p = tail; p && *p; ++p) {
    if (!std::isspace(static_cast<unsigned char>(*p)) && *p != ';') {
      Raise(kErrorsInCommand, L"Characters found after end of SQL statement.");
    }
  }
  std::string head = Upper(win::textutil::Trim(sql).substr(0, 6));
  if (head.rfind("CREATE", 0) == 0 || head.rfind("DROP", 0) == 0 || head.rfind("ALTER", 0) == 0) SchemaChanged();
  return statement;
}

}  // namespace jet
