// Basic types of the CAD host's programming interface: fixed-size integers,
// the wide character type of every text, and the error statuses.
#pragma once

#include <cstdint>

typedef wchar_t ACHAR;

namespace Adesk {
typedef int8_t Int8;
typedef int16_t Int16;
typedef int32_t Int32;
typedef int64_t Int64;
typedef uint8_t UInt8;
typedef uint16_t UInt16;
typedef uint32_t UInt32;
typedef uint64_t UInt64;
typedef bool Boolean;
constexpr bool kFalse = false;
constexpr bool kTrue = true;
}  // namespace Adesk

namespace Acad {
// The status every database call returns. Callers compare against these names;
// the numbers only matter for printing.
enum ErrorStatus {
  eOk = 0,
  eNotImplementedYet = 1,
  eNotApplicable = 2,
  eInvalidInput = 3,
  eAmbiguousInput = 4,
  eAmbiguousOutput = 5,
  eOutOfMemory = 6,
  eBufferTooSmall = 7,
  eInvalidOpenState = 8,
  eEntityInInactiveLayout = 9,
  eHandleExists = 10,
  eNullHandle = 11,
  eBrokenHandle = 12,
  eUnknownHandle = 13,
  eHandleInUse = 14,
  eNullObjectPointer = 15,
  eNullObjectId = 16,
  eNullBlockName = 17,
  eContainerNotEmpty = 18,
  eNullEntityPointer = 20,
  eIllegalEntityType = 21,
  eKeyNotFound = 22,
  eDuplicateKey = 23,
  eInvalidIndex = 24,
  eDuplicateIndex = 25,
  eAlreadyInDb = 26,
  eOutOfDisk = 27,
  eDeletedEntry = 28,
  eNegativeValueNotAllowed = 29,
  eInvalidExtents = 30,
  eInvalidAdsName = 31,
  eInvalidSymbolTableName = 32,
  eInvalidKey = 33,
  eWrongObjectType = 34,
  eWrongDatabase = 35,
  eObjectToBeDeleted = 36,
  eInvalidDwgVersion = 37,
  eAnonymousEntry = 38,
  eIllegalReplacement = 39,
  eEndOfObject = 40,
  eEndOfFile = 41,
  eIsReading = 42,
  eIsWriting = 43,
  eNotOpenForRead = 44,
  eNotOpenForWrite = 45,
  eNotThatKindOfClass = 46,
  eInvalidBlockName = 47,
  eMissingDxfField = 48,
  eDuplicateDxfField = 49,
  eInvalidDxfCode = 50,
  eInvalidResBuf = 51,
  eBadDxfSequence = 52,
  eFilerError = 53,
  eVertexAfterFace = 54,
  eInvalidFaceVertexIndex = 55,
  eInvalidMeshVertexIndex = 56,
  eOtherObjectsBusy = 57,
  eMustFirstAddBlockToDb = 58,
  eCannotNestBlockDefs = 59,
  eDwgRecoveredOK = 60,
  eDwgNotRecoverable = 61,
  eDxfPartiallyRead = 62,
  eDxfReadAborted = 63,
  eDxbPartiallyRead = 64,
  eDwgCRCDoesNotMatch = 65,
  eDwgSentinelDoesNotMatch = 66,
  eDwgObjectImproperlyRead = 67,
  eNoInputFiler = 68,
  eDwgNeedsAFullSave = 69,
  eWasErased = 81,
  ePermanentlyErased = 82,
  eWasOpenedForRead = 83,
  eWasOpenedForWrite = 84,
  eWasOpenedForUndo = 85,
  eWasNotifying = 86,
  eWasOpenedForNotify = 87,
  eOnLockedLayer = 88,
  eMustOpenThruOwner = 89,
  eSubentitiesStillOpen = 90,
  eAtMaxReaders = 91,
  eIsWriteProtected = 92,
  eIsXRefObject = 93,
  eNotAnEntity = 94,
  eHadMultipleReaders = 95,
  eDuplicateRecordName = 96,
  eXRefDependent = 97,
  eSelfReference = 98,
  eMissingSymbol = 99,
  eIllegalEntityTypeRef = 100,
  eBadLayerName = 101,
  eInvalidXrefNode = 102,
  eWasNotOpenForWrite = 103,
  eNotInDatabase = 104,
  eBadUCS = 105,
  eNoDatabase = 106,
  eNotInBlock = 107,
  eBadLinetypeName = 108,
  eEmptyBlock = 109,
  eNotAllowedForThisProxy = 110,
  eUndefinedLineType = 111,
  eRegappIdNotFound = 112,
  eFileNotFound = 113,
  eFileAccessErr = 114,
  eFileSharingViolation = 115,
  eBadDwgFile = 116,
  eNotDrawingFile = 117,
  eDegenerateGeometry = 118,
  eInvalidDrawingVersion = 119,
  eNoDocument = 120,
  eNotClosedPath = 121,
  eInvalidIdMap = 122,
  eBadParameter = 123,
  ePointNotOnEntity = 124,
  eBadDxfFile = 125,
  eInvalidPlotStyleName = 126,
  eGeneralModelingFailure = 127,
  eLockViolation = 128,
  eEntityIsNotCurve = 129,
};

// The name of a status, for messages ("eKeyNotFound").
const wchar_t* ErrorStatusText(ErrorStatus status);
}  // namespace Acad
