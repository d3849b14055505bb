// ADO Connection, Recordset, Fields and Field over the Jet stand-in provider;
// failures raise _com_error with the provider's description.
#include "adodb.h"

#include <cwctype>
#include <memory>
#include <string>
#include <vector>

#include "jetprovider.h"
#include "textutil.h"

namespace {

const GUID kConnectionClass = {0x00000514, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
const GUID kRecordsetClass = {0x00000535, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
const GUID kConnectionIid = {0x00001550, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
const GUID kRecordsetIid = {0x00001556, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
const GUID kFieldsIid = {0x0000154D, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
const GUID kFieldIid = {0x0000154C, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};

[[noreturn]] void Raise(HRESULT hr, const wchar_t* description) { throw _com_error(hr, description); }

using win::textutil::EqualNoCase;

class ConnectionImpl : public com::RefCounted<_Connection> {
 public:
  ~ConnectionImpl() override {
    if (m_session && m_session->InTransaction()) {
      try {
        m_session->Run("ROLLBACK");
      } catch (const _com_error&) {
        // Nothing left to undo.
      }
    }
  }

  HRESULT Open(const _bstr_t& connectionString, const _bstr_t& /*userId*/, const _bstr_t& /*password*/,
               long /*options*/) override {
    if (m_session) Raise(adErrObjectOpen, L"Operation is not allowed when the object is open.");
    const wchar_t* text = connectionString;
    m_session = jet::Session::Open(text ? text : L"");
    m_connectionString = connectionString;
    return S_OK;
  }

  HRESULT Close() override {
    RequireOpen();
    // An open transaction ends with the connection, as a rollback.
    if (m_session->InTransaction()) {
      try {
        m_session->Run("ROLLBACK");
      } catch (const _com_error&) {
        // The engine has already ended it.
      }
    }
    m_session.reset();
    return S_OK;
  }

  _RecordsetPtr Execute(const _bstr_t& commandText, VARIANT* recordsAffected, long options) override;

  long GetState() override { return m_session ? adStateOpen : adStateClosed; }
  _bstr_t GetConnectionString() override { return m_connectionString; }

  long BeginTrans() override {
    RequireOpen();
    if (m_session->InTransaction()) Raise(adErrObjectOpen, L"Only one transaction can be open on a connection.");
    m_session->Run("BEGIN");
    return 1;
  }
  HRESULT CommitTrans() override { return EndTransaction("COMMIT"); }
  HRESULT RollbackTrans() override { return EndTransaction("ROLLBACK"); }

  const std::shared_ptr<jet::Session>& Session() const { return m_session; }

 private:
  void RequireOpen() const {
    if (!m_session) Raise(adErrObjectClosed, L"Operation is not allowed when the object is closed.");
  }
  HRESULT EndTransaction(const char* statement) {
    RequireOpen();
    if (!m_session->InTransaction()) Raise(jet::kErrorsInCommand, L"No transaction is active.");
    m_session->Run(statement);
    return S_OK;
  }
  std::shared_ptr<jet::Session> m_session;
  _bstr_t m_connectionString;
};

class RecordsetImpl : public com::RefCounted<_Recordset> {
 public:
  HRESULT Open(const _variant_t& source, const _variant_t& activeConnection, CursorTypeEnum /*cursorType*/,
               LockTypeEnum /*lockType*/, long /*options*/) override {
    if (m_statement) Raise(adErrObjectOpen, L"Operation is not allowed when the object is open.");
    std::shared_ptr<jet::Session> session;
    if ((activeConnection.vt == VT_DISPATCH || activeConnection.vt == VT_UNKNOWN) && activeConnection.punkVal) {
      _ConnectionPtr connection(activeConnection);
      session = dynamic_cast<ConnectionImpl*>(connection.GetInterfacePtr()) ? dynamic_cast<ConnectionImpl*>(connection.GetInterfacePtr())->Session() : nullptr;
      if (!session) Raise(adErrObjectClosed, L"Operation is not allowed when the object is closed.");
    } else if (activeConnection.vt == VT_BSTR) {
      session = jet::Session::Open(activeConnection.bstrVal ? activeConnection.bstrVal : L"");
    } else {
      Raise(adErrObjectClosed, L"The connection cannot be used to perform this operation. It is either closed or "
                               L"invalid in this context.");
    }
    _bstr_t text(static_cast<const tagVARIANT&>(source));
    const wchar_t* sql = text;
    Attach(session->Prepare(sql ? sql : L""));
    return S_OK;
  }

  // Takes over a prepared statement and reads its first row.
  void Attach(std::unique_ptr<jet::Statement> statement) {
    std::vector<std::wstring> names;
    for (int i = 0; i < statement->ColumnCount(); ++i) names.push_back(statement->ColumnName(i));
    m_statement = std::move(statement);
    m_names = std::move(names);
    m_eof = false;
    Fetch();
  }

  HRESULT Close() override {
    if (!m_statement) Raise(adErrObjectClosed, L"Operation is not allowed when the object is closed.");
    m_statement.reset();
    m_row.clear();
    m_names.clear();
    m_eof = true;
    return S_OK;
  }

  HRESULT MoveNext() override {
    RequireOpen();
    if (m_eof) RaiseNoCurrentRecord();
    Fetch();
    return S_OK;
  }

  VARIANT_BOOL GetadoEOF() override {
    RequireOpen();
    return m_eof ? VARIANT_TRUE : VARIANT_FALSE;
  }

  VARIANT_BOOL GetBOF() override {
    RequireOpen();
    return m_eof && m_rowsRead == 0 ? VARIANT_TRUE : VARIANT_FALSE;
  }

  long GetState() override { return m_statement ? adStateOpen : adStateClosed; }

  FieldsPtr GetFields() override;

  _variant_t GetCollect(const _variant_t& index) override { return ValueAt(ColumnOf(index)); }

  // Column position for an index given by position or name.
  int ColumnOf(const _variant_t& index) {
    RequireOpen();
    if (index.vt == VT_BSTR) {
      const wchar_t* name = index.bstrVal ? index.bstrVal : L"";
      for (size_t i = 0; i < m_names.size(); ++i) {
        if (EqualNoCase(m_names[i], name)) return static_cast<int>(i);
      }
      RaiseNotFound();
    }
    long long position = 0;
    try {
      position = static_cast<long long>(index);
    } catch (const _com_error&) {
      RaiseNotFound();
    }
    if (position < 0 || position >= static_cast<long long>(m_names.size())) RaiseNotFound();
    return static_cast<int>(position);
  }

  _variant_t ValueAt(int column) {
    RequireOpen();
    if (m_eof) RaiseNoCurrentRecord();
    return m_row[static_cast<size_t>(column)];
  }

  std::wstring NameAt(int column) {
    RequireOpen();
    return m_names[static_cast<size_t>(column)];
  }

  long ColumnCount() {
    RequireOpen();
    return static_cast<long>(m_names.size());
  }

 private:
  void Fetch() {
    m_row.clear();
    if (!m_statement->Step()) {
      m_eof = true;
      return;
    }
    ++m_rowsRead;
    for (int i = 0; i < static_cast<int>(m_names.size()); ++i) m_row.push_back(m_statement->Column(i));
  }

  void RequireOpen() const {
    if (!m_statement) Raise(adErrObjectClosed, L"Operation is not allowed when the object is closed.");
  }
  [[noreturn]] static void RaiseNoCurrentRecord() {
    Raise(adErrNoCurrentRecord, L"Either BOF or EOF is True, or the current record has been deleted. Requested "
                                L"operation requires a current record.");
  }
  [[noreturn]] static void RaiseNotFound() {
    Raise(adErrItemNotFound, L"Item cannot be found in the collection corresponding to the requested name or "
                             L"ordinal.");
  }

  std::unique_ptr<jet::Statement> m_statement;
  std::vector<std::wstring> m_names;
  std::vector<_variant_t> m_row;
  bool m_eof = true;
  long m_rowsRead = 0;
};

class FieldImpl : public com::RefCounted<Field> {
 public:
  FieldImpl(RecordsetImpl* recordset, int column) : m_recordset(recordset), m_column(column) {}
  _variant_t GetValue() override { return m_recordset->ValueAt(m_column); }
  _bstr_t GetName() override { return _bstr_t(m_recordset->NameAt(m_column)); }

 private:
  _com_ptr_t<RecordsetImpl> m_recordset;
  int m_column;
};

class FieldsImpl : public com::RefCounted<Fields> {
 public:
  explicit FieldsImpl(RecordsetImpl* recordset) : m_recordset(recordset) {}
  long GetCount() override { return m_recordset->ColumnCount(); }
  FieldPtr GetItem(const _variant_t& index) override {
    int column = m_recordset->ColumnOf(index);
    return FieldPtr(new FieldImpl(m_recordset.GetInterfacePtr(), column));
  }

 private:
  _com_ptr_t<RecordsetImpl> m_recordset;
};

FieldsPtr RecordsetImpl::GetFields() {
  RequireOpen();
  return FieldsPtr(new FieldsImpl(this));
}

_RecordsetPtr ConnectionImpl::Execute(const _bstr_t& commandText, VARIANT* recordsAffected, long /*options*/) {
  if (!m_session) Raise(adErrObjectClosed, L"Operation is not allowed when the object is closed.");
  const wchar_t* sql = commandText;
  std::unique_ptr<jet::Statement> statement = m_session->Prepare(sql ? sql : L"");
  _com_ptr_t<RecordsetImpl> recordset(new RecordsetImpl);
  long affected = 0;
  if (statement->ColumnCount() > 0) {
    recordset->Attach(std::move(statement));
  } else {
    while (statement->Step()) {
    }
    affected = m_session->Changes();
  }
  if (recordsAffected) {
    VariantClear(recordsAffected);
    recordsAffected->vt = VT_I4;
    recordsAffected->lVal = static_cast<LONG>(affected);
  }
  return _RecordsetPtr(recordset.GetInterfacePtr());
}

// The factories are code of this library: they leave the registry (which
// lives in a library loaded longer) when this library is unloaded.
struct Registration {
  Registration() { ado::RegisterClasses(); }
  ~Registration() {
    com::UnregisterClassFactory(kConnectionClass);
    com::UnregisterClassFactory(kRecordsetClass);
  }
} g_registration;

}  // namespace

const GUID& Connection::Uuid() { return kConnectionClass; }
const GUID& Recordset::Uuid() { return kRecordsetClass; }
const GUID& _Connection::Uuid() { return kConnectionIid; }
const GUID& _Recordset::Uuid() { return kRecordsetIid; }
const GUID& Fields::Uuid() { return kFieldsIid; }
const GUID& Field::Uuid() { return kFieldIid; }

namespace ado {

void RegisterClasses() {
  com::RegisterClassFactory(kConnectionClass, L"ADODB.Connection", [] { return new ConnectionImpl; });
  com::RegisterClassFactory(kRecordsetClass, L"ADODB.Recordset", [] { return new RecordsetImpl; });
}

}  // namespace ado
