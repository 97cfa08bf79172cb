// The command table in registration order. A row whose command is not built yet is left
// out; the order of the others is kept.
#include "frame/CommandTable.h"

#include "commands/text/TextCommands.h"
#include "frame/FrameCommands.h"

namespace {
constexpr CommandRow kCommands[] = {
    {L"KVOHelp", cmdHelp},
    {L"22", cmdLayerOffByPick},
    {L"33", cmdKeepPickedLayers},
    {L"44", cmdEraseByLayer},
    {L"11", cmdAllLayersOn},
    {L"PLC", cmdBulgeOneSegment},
    {L"PLCA", cmdBulgeAllSegments},
};
}  // namespace

std::span<const CommandRow> commandTable() { return kCommands; }
