// Shared steps of the commands that replace a selected curve by a new one of another kind:
// remembering the source's layer and colour, and putting the new object in its place.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "frame/Selection.h"
#include "host/db/AcDbEntity.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/ge/AcGePoint3dArray.h"

namespace fendo::poly {

// The properties a replacement takes over from its source.
struct SourceLook {
    std::wstring layer;
    int colorIndex = 256;
    AcCmColor color;  // the full colour: ByLayer, ByBlock, an index or a true colour
};

// Which colour the replacement takes: only a real colour index (1..255), or the full colour.
enum class ColourTaken { RealIndex, Full };

SourceLook lookOf(const AcDbEntity* source);

// Gives the new entity the source's layer and colour (with RealIndex only an index 1..255;
// ByBlock and ByLayer are not copied) and appends it to the current space. Returns its id;
// the entity is deleted and the null id returned when it cannot be appended.
AcDbObjectId appendLike(AcDbEntity* made, const SourceLook& look, ColourTaken colour = ColourTaken::RealIndex);

// Appends one straight vertex of default width at (x, y) of each point, in order.
template <typename PointList>
void appendPlanVertices(AcDbPolyline& pline, const PointList& points)
{
    for (int i = 0; i < points.length(); ++i)
        pline.addVertexAt(static_cast<unsigned int>(pline.numVerts()), AcGePoint2d(points[i].x, points[i].y));
}

// Replaces every vertex of the polyline by one straight vertex of default width at (x, y) of
// each point, in order; the closed flag, elevation and other properties stay.
void setPlanVertices(AcDbPolyline& pline, const AcGePoint3dArray& points);

// A new open lightweight polyline at elevation 0 through (x, y) of each point.
template <typename PointList>
std::unique_ptr<AcDbPolyline> polylineThrough(const PointList& points)
{
    auto pline = std::make_unique<AcDbPolyline>(static_cast<unsigned int>(points.length()));
    appendPlanVertices(*pline, points);
    return pline;
}

// The vertices of a lightweight or 2D polyline at its elevation, the first repeated at the end
// when it is closed; false (and nothing read) for any other object.
bool readVerticesAtElevation(AcDbEntity* source, AcGePoint3dArray& points);

// The objects of one selection (with the remove prompt) that meet the condition, unhighlighted.
std::vector<AcDbObjectId> selectKinds(const std::wstring& prompt, const sset::EntityCondition& condition);

// The message of the conversions that found nothing to convert.
inline constexpr const wchar_t* kNoPolylineSelected = L"\nKhong chon duoc duong polyline!";
// The prompt for taking objects out of a selection.
inline constexpr const wchar_t* kRemovePrompt = L"\nRemove objects:";

}  // namespace fendo::poly
