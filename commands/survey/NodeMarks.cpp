// "NODE": a circle of a remembered radius at every vertex of the selected polylines, so that vertices can be seen and
// checked.
#include "commands/survey/SurveyLineCommands.h"

#include <cwchar>
#include <string>
#include <vector>

#include "frame/DrawingHelpers.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "frame/WalkProgress.h"
#include "geometry/PolylineVertices.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/editor/aced.h"

namespace {
// The radius lives as long as the module: 0.1 at load, then the last accepted answer.
double gNodeRadius = 0.1;
// Answers at or below this keep the current radius.
constexpr double kSmallestRadius = 0.0001;

std::wstring radiusPrompt()
{
    const std::wstring format = LoadPrompt(65);
    std::vector<wchar_t> text(format.size() + 64);
    std::swprintf(text.data(), text.size(), format.c_str(), gNodeRadius);
    return text.data();
}
}  // namespace

void cmdNodeMarks()
{
    ads_real answer = 0.0;
    const int reply = acedGetReal(radiusPrompt().c_str(), &answer);
    if (reply != RTNORM && reply != RTNONE) return;
    if (reply == RTNORM && answer > kSmallestRadius) gNodeRadius = answer;

    FilterObjects filter;
    filter.addType(L"LWPOLYLINE");
    filter.addType(L"POLYLINE");
    if (filter.select(LoadPrompt(66).c_str()) == 0) return;
    fendo::WalkProgress progress(L"NODE", filter.ids().size());
    for (const AcDbObjectId& id : filter.ids()) {
        progress.next();
        AcGePoint2dArray vertices;
        {
            fendo::db::OpenedObject<AcDbEntity> pline(id, AcDb::kForRead);
            if (!pline) continue;
            readPlanVertices(pline.get(), vertices);
        }
        for (const AcGePoint2d& v : vertices)
            appendToCurrentSpace(new AcDbCircle(AcGePoint3d(v.x, v.y, 0.0), AcGeVector3d::kZAxis, gNodeRadius));
    }
}
