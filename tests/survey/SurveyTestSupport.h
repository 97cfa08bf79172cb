// Helpers of the survey command tests: texts placed by the corner the joining
// commands look at, and the survey points of a result drawing with their tags.
#pragma once
#include <cmath>
#include <string>
#include <vector>

#include "companions/kvoobjects/KvoDbPointObj.h"
#include "host/db/AcDbExtents.h"
#include "host/db/entities/AcDbText.h"
#include "support/TestDrawing.h"

namespace fendo::test {

enum class TextCorner { BottomLeft, BottomRight };

// The bottom-left or bottom-right corner of a text's extents, as the joining
// commands read it.
inline AcGePoint2d cornerOf(const AcDbText& text, TextCorner corner)
{
    AcDbExtents e;
    text.getGeomExtents(e);
    return {corner == TextCorner::BottomLeft ? e.minPoint().x : e.maxPoint().x, e.minPoint().y};
}

// A text 0.2 high whose corner lies at `at` (up to rounding: the corner reached
// is given back in `reached`). Right-aligned texts keep their alignment point
// beside the corner.
inline AcDbText* textWithCorner(const wchar_t* s, TextCorner corner, AcGePoint2d at, AcGePoint2d* reached = nullptr,
                                AcDb::TextHorzMode mode = AcDb::kTextLeft)
{
    auto* text = new AcDbText(AcGePoint3d(0, 0, 0), s, AcDbObjectId::kNull, 0.2);
    if (mode != AcDb::kTextLeft) {
        text->setHorizontalMode(mode);
        text->setAlignmentPoint(AcGePoint3d(0, 0, 0));
        text->adjustAlignment();
    }
    const AcGePoint2d c = cornerOf(*text, corner);
    const AcGeVector3d shift(at.x - c.x, at.y - c.y, 0);
    text->setPosition(text->position() + shift);
    if (mode != AcDb::kTextLeft) text->setAlignmentPoint(text->alignmentPoint() + shift);
    if (reached) *reached = cornerOf(*text, corner);
    return text;
}

// A coordinate c with c + offset == target exactly, so a window edge falls on
// `target`.
inline double edgeAt(double target, double offset)
{
    double c = target - offset;
    for (int i = 0; i < 64 && c + offset != target; ++i) c = std::nextafter(c, c + offset < target ? 1e300 : -1e300);
    return c;
}

// A survey point as the commands make them: two empty texts.
inline KvoDbMeasurePointObj* newSurveyPoint(double x, double y, double z)
{
    auto* p = new KvoDbMeasurePointObj;
    p->Set(AcGePoint3d(x, y, z), L"", L"", nullptr);
    return p;
}

// Runs fendo as runSession does; the survey point classes are made known to
// this process first, so that the result drawing reads them as survey points.
inline Session surveySession(TestDrawing& drawing, const std::string& script)
{
    KvoDbPointObj::desc();
    KvoDbMeasurePointObj::desc();
    return runSession(drawing, script);
}

struct SurveyPoint {
    AcGePoint3d position;
    std::wstring layer;
    std::vector<std::wstring> tag;  // the strings of the "KVO_DIEMMIA" items after the name
    double rotation = 0;
    int colourIndex = 256;
    double textHeight = 0;
};

// The survey points of a drawing in drawing order.
inline std::vector<SurveyPoint> surveyPoints(AcDbDatabase& db)
{
    std::vector<SurveyPoint> out;
    for (const AcDbObjectId id : modelSpaceEntities(db, KvoDbMeasurePointObj::desc())) {
        KvoDbMeasurePointObj* p = nullptr;
        if (acdbOpenObject(p, id, AcDb::kForRead) != Acad::eOk) continue;
        SurveyPoint s;
        s.position = p->GetPoint();
        s.layer = p->layer();
        s.rotation = p->Rotation();
        s.colourIndex = p->GetColor().colorIndex();
        s.textHeight = p->TextHeight(0);
        if (resbuf* tag = p->xData(L"KVO_DIEMMIA")) {
            for (resbuf* rb = tag->rbnext; rb; rb = rb->rbnext)
                s.tag.push_back(rb->restype == 1000 || rb->restype == 1002 ? rb->resval.rstring : L"?");
            acutRelRb(tag);
        }
        p->close();
        out.push_back(s);
    }
    return out;
}

// The tag a joined or vertex point carries with running number n.
inline std::vector<std::wstring> pointTag(int n)
{
    return {L"{", L"TOADO", std::to_wstring(n), L"0.000", L"0", L"0", L"0.000", L"}"};
}

}  // namespace fendo::test
