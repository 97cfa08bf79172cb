// Bulge commands "PLC" (give the picked straight or clockwise segment a tiny bulge) and
// "PLCA" (give every straight segment of a polyline that bulge), so that tools treating
// arc segments specially see them as arcs.
#include "commands/text/TextCommands.h"

#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "host/db/entities/AcDbPolyline.h"

namespace {
// The smallest bulge the commands give a segment: an arc that still draws as a straight line.
constexpr double kTinyBulge = 0.00001;
}  // namespace

void cmdBulgeOneSegment()
{
    AcGePoint3d picked;
    const std::wstring prompt = LoadPrompt(33);
    const AcDbObjectId id = pickEntity(prompt.c_str(), Highlight::No, &picked);
    AcDbPolyline* pline = nullptr;
    if (id.isNull() || acdbOpenObject(pline, id, AcDb::kForWrite) != Acad::eOk) return;
    AcGePoint3d onCurve;
    double param = 0;
    if (pline->getClosestPointTo(picked, onCurve, false) == Acad::eOk &&
        pline->getParamAtPoint(onCurve, param) == Acad::eOk) {
        const unsigned index = static_cast<unsigned>(param);
        double bulge = 0;
        if (pline->getBulgeAt(index, bulge) == Acad::eOk && bulge <= 0) pline->setBulgeAt(index, kTinyBulge);
    }
    pline->close();
}

void cmdBulgeAllSegments()
{
    const std::wstring prompt = LoadPrompt(33);
    const AcDbObjectId id = pickEntity(prompt.c_str(), Highlight::No);
    AcDbPolyline* pline = nullptr;
    if (id.isNull() || acdbOpenObject(pline, id, AcDb::kForWrite) != Acad::eOk) return;
    for (unsigned i = 0; i < pline->numVerts(); ++i) {
        double bulge = 0;
        if (pline->getBulgeAt(i, bulge) == Acad::eOk && bulge == 0.0) pline->setBulgeAt(i, kTinyBulge);
    }
    pline->close();
}
