// Basic host types: integer aliases, the status codes every host call returns, open modes.
#pragma once
#include <cstdint>
#include <string>

using ACHAR = wchar_t;

namespace Adesk {
using Int8 = std::int8_t;
using Int16 = std::int16_t;
using Int32 = std::int32_t;
using Int64 = std::int64_t;
using UInt8 = std::uint8_t;
using UInt16 = std::uint16_t;
using UInt32 = std::uint32_t;
using UInt64 = std::uint64_t;
using Boolean = bool;
using IntPtr = std::intptr_t;
using UIntPtr = std::uintptr_t;
constexpr bool kFalse = false;
constexpr bool kTrue = true;
}  // namespace Adesk

namespace Acad {
enum ErrorStatus {
    eOk = 0,
    eNotImplementedYet,
    eNotApplicable,
    eInvalidInput,
    eAmbiguousInput,
    eOutOfMemory,
    eBufferTooSmall,
    eInvalidOpenState,
    eHandleExists,
    eNullHandle,
    eUnknownHandle,
    eNullObjectPointer,
    eNullObjectId,
    eNullEntityPointer,
    eIllegalEntityType,
    eKeyNotFound,
    eDuplicateKey,
    eInvalidIndex,
    eAlreadyInDb,
    eInvalidExtents,
    eInvalidSymbolTableName,
    eInvalidKey,
    eWrongObjectType,
    eWrongDatabase,
    eEndOfObject,
    eEndOfFile,
    eNotOpenForRead,
    eNotOpenForWrite,
    eNotThatKindOfClass,
    eMissingDxfField,
    eInvalidDxfCode,
    eInvalidResBuf,
    eBadDxfSequence,
    eFilerError,
    eWasErased,
    ePermanentlyErased,
    eWasOpenForRead,
    eWasOpenForWrite,
    eOnLockedLayer,
    eAtMaxReaders,
    eNotAnEntity,
    eDuplicateRecordName,
    eWasNotOpenForWrite,
    eNoDatabase,
    eNotInDatabase,
    eDegenerateGeometry,
    eFileNotFound,
    eFileAccessErr,
    eNotInitializedYet,
    eInvalidFitData,
    eGeneralModelingFailure,
    eCannotBeErasedByCaller,
    eInvalidDwgVersion,
    eDuplicateDxfField,
    eNotInBlock,
    eNotApplicableVersion,
    eLockViolation,
    eCreateFailed,
    eRegappIdNotFound,  // extended data names an application not in the APPID table
};

// Short English name of a status, for messages ("eWasOpenForWrite").
const char* errorStatusText(ErrorStatus es);
}  // namespace Acad

namespace AcDb {
enum OpenMode { kNotOpenForAnything = -1, kForRead = 0, kForWrite = 1, kForNotify = 2 };

enum Poly2dType { k2dSimplePoly = 0, k2dFitCurvePoly = 1, k2dQuadSplinePoly = 2, k2dCubicSplinePoly = 3 };
enum Poly3dType { k3dSimplePoly = 0, k3dQuadSplinePoly = 1, k3dCubicSplinePoly = 2 };
enum Vertex2dType { k2dVertex = 0, k2dSplineCtlVertex = 1, k2dSplineFitVertex = 2, k2dCurveFitVertex = 3 };
enum Vertex3dType { k3dSimpleVertex = 0, k3dControlVertex = 1, k3dFitVertex = 2 };

enum TextHorzMode { kTextLeft = 0, kTextCenter = 1, kTextRight = 2, kTextAlign = 3, kTextMid = 4, kTextFit = 5 };
enum TextVertMode { kTextBase = 0, kTextBottom = 1, kTextVertMid = 2, kTextTop = 3 };

enum Visibility { kVisible = 0, kInvisible = 1 };

enum DxfCode {
    kDxfInvalid = -9999,
    kDxfXDictionary = -6,
    kDxfPReactors = -5,
    kDxfOperator = -4,
    kDxfXDataStart = -3,
    kDxfHeaderId = -2,
    kDxfEnd = -1,
    kDxfStart = 0,
    kDxfText = 1,
    kDxfXRefPath = 1,
    kDxfShapeName = 2,
    kDxfBlockName = 2,
    kDxfAttributeTag = 2,
    kDxfSymbolTableName = 2,
    kDxfMstyleName = 2,
    kDxfSymTableRecName = 2,
    kDxfAttributePrompt = 3,
    kDxfDimStyleName = 3,
    kDxfLinetypeProse = 3,
    kDxfTextFontFile = 3,
    kDxfDescription = 3,
    kDxfDimPostStr = 3,
    kDxfTextBigFontFile = 4,
    kDxfDimAPostStr = 4,
    kDxfCLShapeName = 4,
    kDxfSymTableRecComments = 4,
    kDxfHandle = 5,
    kDxfLinetypeName = 6,
    kDxfTextStyleName = 7,
    kDxfLayerName = 8,
    kDxfCLShapeText = 9,
    kDxfXCoord = 10,
    kDxfYCoord = 20,
    kDxfZCoord = 30,
    kDxfElevation = 38,
    kDxfThickness = 39,
    kDxfReal = 40,
    kDxfTxtSize = 40,
    kDxfTxtStyleXScale = 41,
    kDxfTxtStylePSize = 42,
    kDxfViewportHeight = 40,
    kDxfLinetypeScale = 48,
    kDxfDashLength = 49,
    kDxfAngle = 50,
    kDxfViewportSnapAngle = 50,
    kDxfVisibility = 60,
    kDxfLayerLinetype = 61,
    kDxfColor = 62,
    kDxfHasSubentities = 66,
    kDxfViewportVisibility = 67,
    kDxfViewportActive = 68,
    kDxfViewportNumber = 69,
    kDxfInt16 = 70,
    kDxfInt32 = 90,
    kDxfControlString = 102,
    kDxfSymbolTableRecordComments = 4,
    kDxfDimVarHandle = 105,
    kDxfUCSOrg = 110,
    kDxfUCSOriX = 111,
    kDxfUCSOriY = 112,
    kDxfXReal = 140,
    kDxfInt64 = 160,
    kDxfXInt16 = 170,
    kDxfNormalX = 210,
    kDxfXXInt16 = 270,
    kDxfInt8 = 280,
    kDxfRenderMode = 281,
    kDxfBool = 290,
    kDxfXTextString = 300,
    kDxfBinaryChunk = 310,
    kDxfArbHandle = 320,
    kDxfSoftPointerId = 330,
    kDxfHardPointerId = 340,
    kDxfSoftOwnershipId = 350,
    kDxfHardOwnershipId = 360,
    kDxfLineWeight = 370,
    kDxfPlotStyleNameType = 380,
    kDxfPlotStyleNameId = 390,
    kDxfXXXInt16 = 400,
    kDxfLayoutName = 410,
    kDxfColorRGB = 420,
    kDxfColorName = 430,
    kDxfAlpha = 440,
    kDxfGradientObjType = 450,
    kDxfGradientPatType = 451,
    kDxfGradientTintType = 452,
    kDxfGradientColCount = 453,
    kDxfGradientAngle = 460,
    kDxfGradientShift = 461,
    kDxfGradientTintVal = 462,
    kDxfGradientColVal = 463,
    kDxfGradientName = 470,
    kDxfComment = 999,
    kDxfXdAsciiString = 1000,
    kDxfRegAppName = 1001,
    kDxfXdControlString = 1002,
    kDxfXdLayerName = 1003,
    kDxfXdBinaryChunk = 1004,
    kDxfXdHandle = 1005,
    kDxfXdXCoord = 1010,
    kDxfXdYCoord = 1020,
    kDxfXdZCoord = 1030,
    kDxfXdWorldXCoord = 1011,
    kDxfXdWorldYCoord = 1021,
    kDxfXdWorldZCoord = 1031,
    kDxfXdWorldXDisp = 1012,
    kDxfXdWorldYDisp = 1022,
    kDxfXdWorldZDisp = 1032,
    kDxfXdWorldXDir = 1013,
    kDxfXdWorldYDir = 1023,
    kDxfXdWorldZDir = 1033,
    kDxfXdReal = 1040,
    kDxfXdDist = 1041,
    kDxfXdScale = 1042,
    kDxfXdInteger16 = 1070,
    kDxfXdInteger32 = 1071,
    kDxfSubclass = 100,
};
}  // namespace AcDb
