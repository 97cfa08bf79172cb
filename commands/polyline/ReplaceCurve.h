// Shared steps of the commands that replace a selected curve by a new one of another kind:
// remembering the source's layer and colour, and putting the new object in its place.
#pragma once
#include <string>
#include "host/db/AcDbEntity.h"

namespace fendo::poly {

// The properties a replacement takes over from its source.
struct SourceLook {
    std::wstring layer;
    int colorIndex = 256;
};

SourceLook lookOf(const AcDbEntity* source);

// Gives the new entity the source's layer, and its colour when that is a real index
// (1..255; ByBlock and ByLayer are not copied), and appends it to the current space.
// The entity is deleted when it cannot be appended.
void appendLike(AcDbEntity* made, const SourceLook& look);

// The message of the conversions that found nothing to convert.
inline constexpr const wchar_t* kNoPolylineSelected = L"\nKhong chon duoc duong polyline!";
// The prompt for taking objects out of a selection.
inline constexpr const wchar_t* kRemovePrompt = L"\nRemove objects:";

}  // namespace fendo::poly
