// The Jet stand-in provider: the encrypted database, the Jet dialect, the
// connection string, failures with the engine's message, durable writes and
// transactions.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "adodb.h"
#include "jetprovider.h"
#include "mdbbuild.h"
#include "paths.h"
#include "testdata.h"

namespace {

const char* const kPassword = testdata::kSettingMdbPassword;

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

class JetProvider : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/ado_test_XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(pattern));
    m_dir = pattern;
    m_file = m_dir + "/setting.mdb";
    std::string sql, error;
    ASSERT_TRUE(mdbbuild::ReadFile(testdata::kSettingSql, sql));
    ASSERT_TRUE(mdbbuild::BuildDatabase(sql, m_file, kPassword, error)) << error;
  }
  void TearDown() override {
    std::string command = "rm -rf '" + m_dir + "'";
    ASSERT_EQ(0, std::system(command.c_str()));
  }

  // The connection string as the library builds it, for a file of this folder.
  std::wstring ConnectionString(const std::string& file, const std::string& password = kPassword) const {
    return L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + win::ToWindowsPath(file) +
           L";Jet OLEDB:Database Password=" + Wide(password);
  }

  _ConnectionPtr Connect(const std::string& file) {
    _ConnectionPtr connection;
    EXPECT_EQ(S_OK, connection.CreateInstance(__uuidof(Connection)));
    connection->Open(_bstr_t(ConnectionString(file).c_str()), "", "", adConnectUnspecified);
    return connection;
  }

  // The message of the COM error the open raises, or "" when it opens.
  std::wstring OpenError(const std::wstring& connectionString) {
    _ConnectionPtr connection;
    connection.CreateInstance("ADODB.Connection");
    try {
      connection->Open(_bstr_t(connectionString.c_str()), "", "", -1);
    } catch (const _com_error& e) {
      EXPECT_EQ(adStateClosed, static_cast<long>(connection->State));
      return e.ErrorMessage();
    }
    return L"";
  }

  std::wstring ReadText(_ConnectionPtr& connection, const wchar_t* sql) {
    _RecordsetPtr records;
    records.CreateInstance(__uuidof(Recordset));
    records->Open(sql, connection.GetInterfacePtr(), adOpenDynamic, adLockOptimistic, adCmdText);
    std::wstring text;
    if (!records->adoEOF) text = static_cast<const wchar_t*>(_bstr_t(records->GetCollect(0L)));
    records->Close();
    return text;
  }

  std::string m_dir;
  std::string m_file;
};

TEST_F(JetProvider, OpensTheEncryptedDatabaseAndRunsTheBandQuery) {
  _ConnectionPtr connection = Connect(m_file);
  ASSERT_EQ(adStateOpen, static_cast<long>(connection->State));
  _RecordsetPtr records;
  ASSERT_EQ(S_OK, records.CreateInstance(__uuidof(Recordset)));
  records->Open(L"SELECT B.NAME,A.COLOR,A.NAME,A.NUM, A.HEAD FROM LEVELMAPDATA A, LEVELMAPTYPE B, LEVELMAP C "
                L"WHERE A.ID = B.ID AND B.TYPEID = C.ID AND C.NAME = 'GSM' ORDER BY B.ORDER, A.ID,A.ORDER",
                connection.GetInterfacePtr(), adOpenDynamic, adLockOptimistic, adCmdText);
  ASSERT_FALSE(records->adoEOF);
  EXPECT_STREQ(L"RxLev(dBm)", static_cast<const wchar_t*>(_bstr_t(records->Fields->GetItem(0L)->GetValue())));
  EXPECT_EQ(3, static_cast<int>(records->Fields->GetItem(1L)->GetValue()));
  EXPECT_STREQ(L"[-65,-10)", static_cast<const wchar_t*>(_bstr_t(records->Fields->GetItem(2L)->GetValue())));
  EXPECT_EQ(25, static_cast<int>(_variant_t(records->Fields->GetItem(3L)->Value)));
  EXPECT_STREQ(L"101", static_cast<const wchar_t*>(_bstr_t(records->GetCollect(4L))));
  // By name the first column of that name answers, without regard to case.
  EXPECT_STREQ(L"RxLev(dBm)", static_cast<const wchar_t*>(_bstr_t(records->GetCollect(L"name"))));
  int rows = 0;
  std::wstring lastGroup;
  std::wstring groups;
  for (; !records->adoEOF; records->MoveNext()) {
    std::wstring group = static_cast<const wchar_t*>(_bstr_t(records->GetCollect(0L)));
    if (group != lastGroup) groups += group + L";";
    lastGroup = group;
    ++rows;
  }
  EXPECT_EQ(15, rows);
  EXPECT_EQ(L"RxLev(dBm);RxQual;C/I(dB);", groups);
  EXPECT_EQ(adErrNoCurrentRecord, [&] {
    try {
      records->GetCollect(0L);
    } catch (const _com_error& e) {
      return e.Error();
    }
    return S_OK;
  }());
  records->Close();
  EXPECT_EQ(adStateClosed, static_cast<long>(records->State));
}

TEST_F(JetProvider, ReservedWordsAsColumnNamesAndBracketsRunUnchanged) {
  _ConnectionPtr connection = Connect(m_file);
  EXPECT_EQ(L"SELECT KEYNAME, VALUES FROM CONFIG", ReadText(connection, L"select VALUES from CONFIG where KEYNAME='CONFIGSQL'"));
  EXPECT_EQ(L"0.5", ReadText(connection, L"SELECT [VALUES] FROM [CONFIG] WHERE [KEYNAME] = 'LPDIMDIS'"));
  EXPECT_EQ(L"2", ReadText(connection, L"SELECT c.VALUES FROM CONFIG AS c WHERE c.KEYNAME = 'LPDIMROUND'"));
  EXPECT_EQ(L"RxQual", ReadText(connection, L"SELECT NAME FROM LEVELMAPTYPE WHERE ORDER = 2 AND TYPEID = 1 ORDER BY ORDER"));
  _variant_t affected;
  connection->Execute(L"INSERT INTO CONFIG (KEYNAME, VALUES) VALUES ('ORDER BY', 'VALUES (')", &affected, adCmdText);
  EXPECT_EQ(1, static_cast<int>(affected));
  EXPECT_EQ(L"VALUES (", ReadText(connection, L"SELECT VALUES FROM CONFIG WHERE KEYNAME = 'ORDER BY'"));
}

TEST(JetDialect, QuotesOnlyWhereANameIsMeant) {
  std::set<std::string> schema = {"ORDER", "VALUES", "CONFIG", "NAME"};
  EXPECT_EQ("SELECT \"VALUES\" FROM CONFIG", jet::TranslateSql("SELECT VALUES FROM CONFIG", schema));
  EXPECT_EQ("SELECT A.\"NAME\" FROM T A ORDER BY A.\"ORDER\", \"ORDER\"",
            jet::TranslateSql("SELECT A.NAME FROM T A ORDER BY A.ORDER, ORDER", schema));
  EXPECT_EQ("INSERT INTO CONFIG (K, \"VALUES\") VALUES ('ORDER', \"x\")",
            jet::TranslateSql("INSERT INTO CONFIG (K, VALUES) VALUES ('ORDER', \"x\")", schema));
  EXPECT_EQ("SELECT [ORDER] FROM T -- ORDER\n", jet::TranslateSql("SELECT [ORDER] FROM T -- ORDER\n", schema));
  EXPECT_EQ("WHERE NAME = 'O''Brien ORDER'", jet::TranslateSql("WHERE NAME = 'O''Brien ORDER'", schema));
  // A reserved word that names nothing in the database stays a keyword.
  EXPECT_EQ("SELECT DISTINCT X FROM T", jet::TranslateSql("SELECT DISTINCT X FROM T", schema));
  EXPECT_EQ("SELECT 1.5e+3, T.\"x1\"", jet::TranslateSql("SELECT 1.5e+3, T.x1", {}));
}

TEST(JetConnectionString, ValuesAreTakenWholeUpToTheSemicolon) {
  auto pairs = jet::ParseConnectionString(
      L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=Z:\\a b\\setting.mdb;Jet OLEDB:Database Password=p=q 'x'");
  ASSERT_EQ(3u, pairs.size());
  ASSERT_NE(nullptr, jet::FindKey(pairs, L"data source"));
  EXPECT_EQ(L"Z:\\a b\\setting.mdb", *jet::FindKey(pairs, L"DATA SOURCE"));
  EXPECT_EQ(L"p=q 'x'", *jet::FindKey(pairs, L"Jet OLEDB:Database Password"));
  EXPECT_EQ(nullptr, jet::FindKey(pairs, L"User ID"));
}

TEST_F(JetProvider, FailedOpensSayWhy) {
  EXPECT_EQ(L"", OpenError(ConnectionString(m_file)));
  std::wstring missing = OpenError(ConnectionString(m_dir + "/none.mdb"));
  EXPECT_NE(std::wstring::npos, missing.find(L"Could not find file")) << missing;
  EXPECT_NE(std::wstring::npos, missing.find(L"none.mdb")) << missing;

  EXPECT_EQ(L"Not a valid password.", OpenError(ConnectionString(m_file, std::string(kPassword, std::strlen(kPassword) - 1))));
  EXPECT_EQ(L"Not a valid password.", OpenError(ConnectionString(m_file, "")));

  std::string text = m_dir + "/text.mdb";
  std::ofstream(text) << "this is not a database\n";
  std::wstring format = OpenError(ConnectionString(text));
  EXPECT_NE(std::wstring::npos, format.find(L"Unrecognized database format")) << format;

  std::wstring provider = OpenError(L"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" + win::ToWindowsPath(m_file));
  EXPECT_NE(std::wstring::npos, provider.find(L"Provider cannot be found")) << provider;
  EXPECT_NE(std::wstring::npos, provider.find(L"Microsoft.ACE.OLEDB.12.0")) << provider;
}

TEST_F(JetProvider, FailingStatementsCarryTheEngineMessage) {
  _ConnectionPtr connection = Connect(m_file);
  try {
    connection->Execute(L"UPDATE NOSUCHTABLE SET NAME = 'x'", nullptr, adCmdText);
    FAIL() << "no error";
  } catch (const _com_error& e) {
    EXPECT_STREQ(L"no such table: NOSUCHTABLE", e.ErrorMessage());
  }
  try {
    connection->Execute(L"UPDATE LEVELMAPDATA SET NAME = 'O'Brien' WHERE HEAD = 101", nullptr, adCmdText);
    FAIL() << "no error";
  } catch (const _com_error& e) {
    EXPECT_NE(std::wstring::npos, std::wstring(e.ErrorMessage()).find(L"syntax error")) << e.ErrorMessage();
  }
  _RecordsetPtr records;
  records.CreateInstance(__uuidof(Recordset));
  records->Open(L"SELECT NAME FROM KXL", connection.GetInterfacePtr(), adOpenDynamic, adLockOptimistic, adCmdText);
  try {
    records->GetCollect(L"NOSUCHCOLUMN");
    FAIL() << "no error";
  } catch (const _com_error& e) {
    EXPECT_EQ(adErrItemNotFound, e.Error());
  }
}

TEST_F(JetProvider, WritesAreOnDiskWhenTheCallReturns) {
  _ConnectionPtr writer = Connect(m_file);
  _variant_t affected;
  writer->Execute(L"UPDATE LEVELMAPDATA SET NAME = 'O''Brien [-75,-65)' WHERE HEAD = 102", &affected, adCmdText);
  EXPECT_EQ(1, static_cast<int>(affected));
  writer->Execute(L"UPDATE LEVELMAPDATA SET NAME = 'x' WHERE HEAD = 999", &affected, adCmdText);
  EXPECT_EQ(0, static_cast<int>(affected));
  // A second, independent connection (as another process would) sees the change.
  _ConnectionPtr reader = Connect(m_file);
  EXPECT_EQ(L"O'Brien [-75,-65)", ReadText(reader, L"SELECT NAME FROM LEVELMAPDATA WHERE HEAD = 102"));
  writer->Close();
  EXPECT_EQ(adStateClosed, static_cast<long>(writer->State));
  EXPECT_THROW(writer->Execute(L"SELECT 1", nullptr, adCmdText), _com_error);
  // Once the last connection closes, the change is in the database file itself.
  reader = nullptr;
  writer = nullptr;
  struct stat info {};
  EXPECT_NE(0, ::stat((m_file + "-wal").c_str(), &info));
  std::string copy = m_dir + "/copy.mdb";
  ASSERT_EQ(0, std::system(("cp '" + m_file + "' '" + copy + "'").c_str()));
  _ConnectionPtr fresh = Connect(copy);
  EXPECT_EQ(L"O'Brien [-75,-65)", ReadText(fresh, L"SELECT NAME FROM LEVELMAPDATA WHERE HEAD = 102"));
}

TEST_F(JetProvider, TransactionsCommitTogetherOrNotAtAll) {
  _ConnectionPtr writer = Connect(m_file);
  _ConnectionPtr reader = Connect(m_file);
  EXPECT_EQ(1, writer->BeginTrans());
  EXPECT_THROW(writer->BeginTrans(), _com_error);
  writer->Execute(L"UPDATE KXL SET NAME = 'a' WHERE ID = 1", nullptr, adCmdText);
  writer->Execute(L"UPDATE KXL SET NAME = 'b' WHERE ID = 2", nullptr, adCmdText);
  EXPECT_EQ(L"馈线", ReadText(reader, L"SELECT NAME FROM KXL WHERE ID = 1"));  // not yet committed
  writer->CommitTrans();
  EXPECT_EQ(L"a", ReadText(reader, L"SELECT NAME FROM KXL WHERE ID = 1"));
  EXPECT_EQ(L"b", ReadText(reader, L"SELECT NAME FROM KXL WHERE ID = 2"));
  EXPECT_THROW(writer->CommitTrans(), _com_error);

  writer->BeginTrans();
  writer->Execute(L"UPDATE KXL SET NAME = 'c' WHERE ID = 1", nullptr, adCmdText);
  writer->RollbackTrans();
  EXPECT_EQ(L"a", ReadText(reader, L"SELECT NAME FROM KXL WHERE ID = 1"));

  // Closing the connection drops what was not committed.
  writer->BeginTrans();
  writer->Execute(L"UPDATE KXL SET NAME = 'd' WHERE ID = 1", nullptr, adCmdText);
  writer->Close();
  EXPECT_EQ(L"a", ReadText(reader, L"SELECT NAME FROM KXL WHERE ID = 1"));
}

TEST_F(JetProvider, RecordsetOutlivesItsConnectionObject) {
  _RecordsetPtr records;
  {
    _ConnectionPtr connection = Connect(m_file);
    records.CreateInstance(__uuidof(Recordset));
    records->Open(L"SELECT ID, NAME FROM ELEMENTSTATUS ORDER BY ID", _variant_t(connection.GetInterfacePtr()),
                  adOpenDynamic, adLockOptimistic, adCmdText);
  }
  FieldsPtr fields = records->GetFields();
  EXPECT_EQ(2, fields->GetCount());
  EXPECT_STREQ(L"NAME", static_cast<const wchar_t*>(fields->GetItem(1L)->GetName()));
  EXPECT_STREQ(L"新建", static_cast<const wchar_t*>(_bstr_t(fields->GetItem(L"NAME")->GetValue())));
  records->MoveNext();
  records->MoveNext();
  records->MoveNext();
  EXPECT_TRUE(records->adoEOF);
  EXPECT_THROW(records->MoveNext(), _com_error);
}

}  // namespace
