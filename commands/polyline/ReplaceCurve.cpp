// Shared steps of the curve replacing commands: source look, appending the replacement and
// filling a polyline with plan vertices.
#include "commands/polyline/ReplaceCurve.h"

#include "frame/DrawingHelpers.h"
#include "geometry/CurveReaders.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDbPolyline.h"

namespace fendo::poly {

SourceLook lookOf(const AcDbEntity* source)
{
    SourceLook look;
    look.layer = source->layer();
    look.colorIndex = source->colorIndex();
    look.color = source->color();
    return look;
}

AcDbObjectId appendLike(AcDbEntity* made, const SourceLook& look, ColourTaken colour)
{
    made->setLayer(look.layer.c_str());
    if (colour == ColourTaken::Full)
        made->setColor(look.color);
    else if (look.colorIndex >= 1 && look.colorIndex <= 255)
        made->setColorIndex(static_cast<Adesk::UInt16>(look.colorIndex));
    AcDbObjectId id;
    if (appendToSpace(made, id, UcsTransform::None, SpaceChoice::Current) != Acad::eOk && id.isNull()) {
        delete made;
        return AcDbObjectId();
    }
    return id;
}

void setPlanVertices(AcDbPolyline& pline, const AcGePoint3dArray& points)
{
    pline.reset(false, 0);
    appendPlanVertices(pline, points);
}

bool readVerticesAtElevation(AcDbEntity* source, AcGePoint3dArray& points)
{
    AcGePoint2dArray plan;
    AcGeDoubleArray bulges;
    double z = 0.0;
    if (auto* lw = AcDbPolyline::cast(source)) {
        z = lw->elevation();
        readLwPolyline2d(lw, plan, bulges);
    } else if (auto* old = AcDb2dPolyline::cast(source)) {
        z = old->elevation();
        asLwPolyline2d(old, plan, bulges);
    } else {
        return false;
    }
    for (int i = 0; i < plan.length(); ++i) points.append(AcGePoint3d(plan[i].x, plan[i].y, z));
    return true;
}

std::vector<AcDbObjectId> selectKinds(const std::wstring& prompt, const sset::EntityCondition& condition)
{
    std::vector<AcDbObjectId> ids;
    selectMatching(ids, condition, prompt.c_str(), kRemovePrompt, Highlight::No);
    return ids;
}

}  // namespace fendo::poly
