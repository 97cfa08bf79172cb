// Names of the host's status codes, for messages.
#include "host/core/AcadTypes.h"

namespace Acad {

const char* errorStatusText(ErrorStatus es)
{
    switch (es) {
    case eOk: return "eOk";
    case eNotImplementedYet: return "eNotImplementedYet";
    case eNotApplicable: return "eNotApplicable";
    case eInvalidInput: return "eInvalidInput";
    case eAmbiguousInput: return "eAmbiguousInput";
    case eOutOfMemory: return "eOutOfMemory";
    case eBufferTooSmall: return "eBufferTooSmall";
    case eInvalidOpenState: return "eInvalidOpenState";
    case eHandleExists: return "eHandleExists";
    case eNullHandle: return "eNullHandle";
    case eUnknownHandle: return "eUnknownHandle";
    case eNullObjectPointer: return "eNullObjectPointer";
    case eNullObjectId: return "eNullObjectId";
    case eNullEntityPointer: return "eNullEntityPointer";
    case eIllegalEntityType: return "eIllegalEntityType";
    case eKeyNotFound: return "eKeyNotFound";
    case eDuplicateKey: return "eDuplicateKey";
    case eInvalidIndex: return "eInvalidIndex";
    case eAlreadyInDb: return "eAlreadyInDb";
    case eInvalidExtents: return "eInvalidExtents";
    case eInvalidSymbolTableName: return "eInvalidSymbolTableName";
    case eInvalidKey: return "eInvalidKey";
    case eWrongObjectType: return "eWrongObjectType";
    case eWrongDatabase: return "eWrongDatabase";
    case eEndOfObject: return "eEndOfObject";
    case eEndOfFile: return "eEndOfFile";
    case eNotOpenForRead: return "eNotOpenForRead";
    case eNotOpenForWrite: return "eNotOpenForWrite";
    case eNotThatKindOfClass: return "eNotThatKindOfClass";
    case eMissingDxfField: return "eMissingDxfField";
    case eInvalidDxfCode: return "eInvalidDxfCode";
    case eInvalidResBuf: return "eInvalidResBuf";
    case eBadDxfSequence: return "eBadDxfSequence";
    case eFilerError: return "eFilerError";
    case eWasErased: return "eWasErased";
    case ePermanentlyErased: return "ePermanentlyErased";
    case eWasOpenForRead: return "eWasOpenForRead";
    case eWasOpenForWrite: return "eWasOpenForWrite";
    case eOnLockedLayer: return "eOnLockedLayer";
    case eAtMaxReaders: return "eAtMaxReaders";
    case eNotAnEntity: return "eNotAnEntity";
    case eDuplicateRecordName: return "eDuplicateRecordName";
    case eWasNotOpenForWrite: return "eWasNotOpenForWrite";
    case eNoDatabase: return "eNoDatabase";
    case eNotInDatabase: return "eNotInDatabase";
    case eDegenerateGeometry: return "eDegenerateGeometry";
    case eFileNotFound: return "eFileNotFound";
    case eFileAccessErr: return "eFileAccessErr";
    case eNotInitializedYet: return "eNotInitializedYet";
    case eInvalidFitData: return "eInvalidFitData";
    case eGeneralModelingFailure: return "eGeneralModelingFailure";
    case eCannotBeErasedByCaller: return "eCannotBeErasedByCaller";
    case eInvalidDwgVersion: return "eInvalidDwgVersion";
    case eDuplicateDxfField: return "eDuplicateDxfField";
    case eNotInBlock: return "eNotInBlock";
    case eNotApplicableVersion: return "eNotApplicableVersion";
    case eLockViolation: return "eLockViolation";
    case eCreateFailed: return "eCreateFailed";
    case eRegappIdNotFound: return "eRegappIdNotFound";
    }
    return "eUnknownErrorStatus";
}

}  // namespace Acad
