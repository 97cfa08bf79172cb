// "GCD1": every lightweight polyline on the picked object's layer takes the elevation written in the first single-line
// text whose box diagonal crosses it.
#include "commands/survey/ContourElevation.h"

#include <algorithm>
#include <string>

#include "commands/survey/SurveyLineCommands.h"
#include "frame/LeadingNumber.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "frame/WalkProgress.h"
#include "host/db/AcDbExtents.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"
#include "host/ge/AcGeCircArc3d.h"
#include "host/ge/AcGeLineSeg3d.h"

namespace fendo::survey {

namespace {
// The plan box of each segment of a polyline (an arc segment by its whole circle).
std::vector<PlanBox> segmentBoxes(const AcDbPolyline& pline)
{
    std::vector<PlanBox> out;
    const unsigned int count = pline.numVerts();
    for (unsigned int i = 0; i < count; ++i) {
        if (pline.segType(i) == AcDbPolyline::kArc) {
            AcGeCircArc3d arc;
            pline.getArcSegAt(i, arc);
            const AcGePoint3d c = arc.center();
            const double r = arc.radius();
            out.push_back({c.x - r, c.y - r, c.x + r, c.y + r});
            continue;
        }
        AcGePoint3d a, b;
        pline.getPointAt(i, a);
        pline.getPointAt(i + 1 < count ? i + 1 : 0, b);
        out.push_back(PlanBox::around(a.x, a.y, b.x, b.y));
    }
    return out;
}
}  // namespace

bool diagonalMeets(const TextDiagonal& text, const AcDbPolyline& contour)
{
    AcDbPolyline diagonal;
    diagonal.addVertexAt(0, text.lowerLeft);
    diagonal.addVertexAt(1, text.upperRight);
    AcGePoint3dArray hits;
    return diagonal.intersectWith(&contour, AcDb::kOnBothOperands, hits) == Acad::eOk && !hits.isEmpty();
}

TextDiagonalIndex::TextDiagonalIndex(std::vector<TextDiagonal> texts) : m_texts(std::move(texts))
{
    double extent = 0.0;
    for (const TextDiagonal& t : m_texts) {
        m_world.add(t.lowerLeft.x, t.lowerLeft.y);
        m_world.add(t.upperRight.x, t.upperRight.y);
        extent += std::max(std::abs(t.upperRight.x - t.lowerLeft.x), std::abs(t.upperRight.y - t.lowerLeft.y));
    }
    const double typical = m_texts.empty() ? 0.0 : extent / static_cast<double>(m_texts.size());
    m_grid = std::make_unique<PlanGrid>(m_world, m_texts.size(), typical);
    std::vector<PlanBox> boxes;
    boxes.reserve(m_texts.size());
    for (const TextDiagonal& t : m_texts)
        boxes.push_back(PlanBox::around(t.lowerLeft.x, t.lowerLeft.y, t.upperRight.x, t.upperRight.y));
    m_grid->insertAll(std::move(boxes));
}

std::size_t TextDiagonalIndex::firstCrossing(const AcDbPolyline& contour) const
{
    PlanBox reach = m_world;
    std::vector<PlanBox> boxes = segmentBoxes(contour);
    for (const PlanBox& b : boxes) reach.add(b);
    const double slack = planSlack(reach);
    std::vector<std::size_t> candidates, near;
    for (const PlanBox& b : boxes) {
        m_grid->query(b.grown(slack), near);
        candidates.insert(candidates.end(), near.begin(), near.end());
    }
    if (contour.numVerts() == 1) {
        AcGePoint3d p;
        contour.getPointAt(0, p);
        m_grid->query(PlanBox::around(p.x, p.y, p.x, p.y).grown(slack), near);
        candidates.insert(candidates.end(), near.begin(), near.end());
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    for (std::size_t t : candidates)
        if (diagonalMeets(m_texts[t], contour)) return t;
    return kNoText;
}

}  // namespace fendo::survey

void cmdContourElevations()
{
    using namespace fendo::survey;
    FilterObjects textFilter;
    textFilter.addType(L"TEXT");
    if (textFilter.selectAll() == 0) return;
    std::vector<TextDiagonal> diagonals;
    std::vector<std::wstring> strings;
    diagonals.reserve(textFilter.ids().size());
    strings.reserve(textFilter.ids().size());
    for (const AcDbObjectId& id : textFilter.ids()) {
        fendo::db::OpenedObject<AcDbText> text(id, AcDb::kForRead);
        if (!text) continue;
        AcDbExtents extents;
        if (text->getGeomExtents(extents) != Acad::eOk) continue;
        diagonals.push_back({AcGePoint2d(extents.minPoint().x, extents.minPoint().y),
                             AcGePoint2d(extents.maxPoint().x, extents.maxPoint().y)});
        strings.push_back(text->textString());
    }
    if (diagonals.empty()) return;

    const AcDbObjectId picked = pickEntity(LoadPrompt(61).c_str(), Highlight::No);
    if (picked.isNull()) return;
    std::wstring layer;
    {
        fendo::db::OpenedObject<AcDbEntity> entity(picked, AcDb::kForRead);
        if (!entity) return;
        layer = entity->layer();
    }
    FilterObjects contourFilter;
    contourFilter.addType(L"LWPOLYLINE");
    contourFilter.addLayer(layer.c_str());
    if (contourFilter.selectAll() == 0) return;

    const TextDiagonalIndex index(std::move(diagonals));
    fendo::WalkProgress progress(L"GCD1", contourFilter.ids().size());
    for (const AcDbObjectId& id : contourFilter.ids()) {
        progress.next();
        // Opened for write only when a text gives it an elevation: a contour no text crosses stays as it was, with
        // no undo record of its own.
        fendo::db::OpenedObject<AcDbPolyline> contour(id, AcDb::kForRead);
        if (!contour) continue;
        const std::size_t text = index.firstCrossing(*contour.get());
        if (text != kNoText && contour->upgradeOpen() == Acad::eOk)
            contour->setElevation(fendo::leadingNumber(strings[text]));
    }
}
