// The command table in registration order. A row whose command is not built yet is left
// out; the order of the others is kept.
#include "frame/CommandTable.h"

#include "commands/polyline/PolylineCommands.h"
#include "commands/survey/SurveyCommands.h"
#include "commands/survey/SurveyLineCommands.h"
#include "commands/text/TextCommands.h"
#include "patterns/PatternCommands.h"
#include "slope/SlopeCommands.h"
#include "frame/FrameCommands.h"

namespace {
constexpr CommandRow kCommands[] = {
    {L"CHIAPL", cmdSplitPolyline},
    {L"KVOHelp", cmdHelp},
    {L"CVTEXT", cmdBlanksToPoints},
    {L"P2C", cmdCommaToPoint},
    {L"ThayPl", cmdReplacePolylineStretch},
    {L"CIP", cmdCrossingCheck},
    {L"NODE", cmdNodeMarks},
    {L"GCD1", cmdContourElevations},
    {L"EML", cmdSetLength},
    {L"EMT", cmdAddPrefixSuffix},
    {L"TESTH", cmdTestHatch},
    {L"NCDT", cmdJoinPointsAtElevation},
    {L"NDCD", cmdJoinPointsInRange},
    {L"CHECK", cmdCheckLargePolylines},
    {L"LDTT", cmdEraseDuplicates},
    {L"CD0", cmdMarkZeroHeights},
    {L"D2D", cmdPointsFromVertices},
    {L"XBX", cmdParcelReport},
    {L"HCD", cmdEditPointDisplay},
    {L"ABOUTKVO", cmdAbout},
    {L"EMD", cmdAlignDimensions},
    {L"2P", cmd2dPolylineToPolyline},
    {L"P23", cmdPolylineTo3dPoly},
    {L"32P", cmd3dPolyToPolyline},
    {L"32D", cmd3dPolyTo2dPolyline},
    {L"P2S", cmdPolylineToSpline},
    {L"S2P", cmdSplineToPolyline},
    {L"S2P1", cmdSplineFitPointsToPolyline},
    {L"S3P", cmdSplineTo3dPoly},
    {L"HCTL", cmdEditSlope},
    {L"O3P", cmdOffset3dPolyline},
    {L"TL", cmdDrawSlope},
    {L"DCPL", cmdReverseCurves},
    {L"N3d", cmdJoinInto3dPolylines},
    {L"EM", cmdEdit},
    {L"22", cmdLayerOffByPick},
    {L"33", cmdKeepPickedLayers},
    {L"44", cmdEraseByLayer},
    {L"11", cmdAllLayersOn},
    {L"TDPL", cmdInsertVertices},
    {L"LDPL", cmdRemoveVertices},
    {L"TDSPL", cmdInsertSplineFitPoint},
    {L"LDSPL", cmdRemoveSplineFitPoint},
    {L"PLC", cmdBulgeOneSegment},
    {L"PLCA", cmdBulgeAllSegments},
    {L"BA", cmdArcsToChords},
    {L"BA1", cmdDropArcsAndWidths},
    {L"JT", cmdJoinTextsAndPoints},
    {L"JT1", cmdJoinAlignedTexts},
};
}  // namespace

std::span<const CommandRow> commandTable() { return kCommands; }
