// ActiveX Data Objects: Connection, Recordset, Fields and Field, with the
// smart pointers and constants callers use. Methods raise _com_error on
// failure, with the provider's description as the message. The one provider
// is the Jet OLE DB 4.0 stand-in (jetprovider.h).
#pragma once

#include "comdef.h"

enum CursorTypeEnum { adOpenUnspecified = -1, adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2, adOpenStatic = 3 };
enum LockTypeEnum {
  adLockUnspecified = -1,
  adLockReadOnly = 1,
  adLockPessimistic = 2,
  adLockOptimistic = 3,
  adLockBatchOptimistic = 4
};
enum CommandTypeEnum {
  adCmdUnspecified = -1,
  adCmdText = 1,
  adCmdTable = 2,
  adCmdStoredProc = 4,
  adCmdUnknown = 8,
  adCmdFile = 256,
  adCmdTableDirect = 512
};
enum ObjectStateEnum { adStateClosed = 0, adStateOpen = 1, adStateConnecting = 2, adStateExecuting = 4, adStateFetching = 8 };
enum ConnectOptionEnum { adConnectUnspecified = -1, adAsyncConnect = 16 };
enum ExecuteOptionEnum { adOptionUnspecified = -1, adAsyncExecute = 16, adExecuteNoRecords = 128 };
enum ConnectModeEnum { adModeUnknown = 0, adModeRead = 1, adModeWrite = 2, adModeReadWrite = 3 };

// ADO's own result codes (the description says the rest).
#define adErrItemNotFound ((HRESULT)0x800A0CC1)
#define adErrNoCurrentRecord ((HRESULT)0x800A0BCD)
#define adErrObjectClosed ((HRESULT)0x800A0E78)
#define adErrObjectOpen ((HRESULT)0x800A0E79)
#define adErrProviderNotFound ((HRESULT)0x800A0E7A)

struct Field;
struct Fields;
struct _Recordset;
struct _Connection;
typedef _com_ptr_t<Field> FieldPtr;
typedef _com_ptr_t<Fields> FieldsPtr;
typedef _com_ptr_t<_Recordset> _RecordsetPtr;
typedef _com_ptr_t<_Connection> _ConnectionPtr;

// The class identifiers used with CreateInstance / __uuidof.
struct Connection {
  static const GUID& Uuid();
};
struct Recordset {
  static const GUID& Uuid();
};

struct Field : IDispatch {
  static const GUID& Uuid();
  virtual _variant_t GetValue() = 0;
  virtual _bstr_t GetName() = 0;

  // The Value property: reads like a value.
  struct ValueProperty {
    Field* self;
    operator _variant_t() const { return self->GetValue(); }  // NOLINT
  } Value{this};
};

struct Fields : IDispatch {
  static const GUID& Uuid();
  virtual long GetCount() = 0;
  // By position (a number from 0) or by name (text, compared without case).
  virtual FieldPtr GetItem(const _variant_t& index) = 0;
};

struct _Recordset : IDispatch {
  static const GUID& Uuid();
  // source: command text; activeConnection: an open _Connection (as object).
  virtual HRESULT Open(const _variant_t& source, const _variant_t& activeConnection, CursorTypeEnum cursorType,
                       LockTypeEnum lockType, long options) = 0;
  virtual HRESULT Close() = 0;
  virtual HRESULT MoveNext() = 0;
  virtual VARIANT_BOOL GetadoEOF() = 0;
  virtual VARIANT_BOOL GetBOF() = 0;
  virtual long GetState() = 0;
  virtual FieldsPtr GetFields() = 0;
  // The current row's value of a field, by position or name.
  virtual _variant_t GetCollect(const _variant_t& index) = 0;

  struct EofProperty {
    _Recordset* self;
    operator VARIANT_BOOL() const { return self->GetadoEOF(); }  // NOLINT
  } adoEOF{this};
  struct FieldsProperty {
    _Recordset* self;
    FieldsPtr operator->() const { return self->GetFields(); }
  } Fields{this};
  struct StateProperty {
    _Recordset* self;
    operator long() const { return self->GetState(); }  // NOLINT
  } State{this};
};

struct _Connection : IDispatch {
  static const GUID& Uuid();
  virtual HRESULT Open(const _bstr_t& connectionString, const _bstr_t& userId, const _bstr_t& password,
                       long options) = 0;
  virtual HRESULT Close() = 0;
  // Runs one statement. recordsAffected (optional) receives the rows changed;
  // a statement that returns rows gives an open recordset, else a closed one.
  virtual _RecordsetPtr Execute(const _bstr_t& commandText, VARIANT* recordsAffected, long options) = 0;
  virtual long GetState() = 0;
  virtual _bstr_t GetConnectionString() = 0;
  // One transaction at a time: BeginTrans returns its level (1); the writes
  // until CommitTrans reach the disk together, RollbackTrans drops them.
  virtual long BeginTrans() = 0;
  virtual HRESULT CommitTrans() = 0;
  virtual HRESULT RollbackTrans() = 0;

  struct StateProperty {
    _Connection* self;
    operator long() const { return self->GetState(); }  // NOLINT
  } State{this};
};

namespace ado {

// Makes sure the ADO classes are registered (done at load; harmless to repeat).
void RegisterClasses();

}  // namespace ado
