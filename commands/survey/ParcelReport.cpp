// "XBX": the parcel report. Each boundary polygon on "Bao_O" takes the first unused label on "Texhled" whose centre
// lies inside it; each pair becomes one line of TD.txt in the working folder.
#include "commands/survey/ParcelReport.h"

#include <algorithm>
#include <fstream>

#include "commands/survey/PlanGrid.h"
#include "commands/survey/SurveyLineCommands.h"
#include "frame/Selection.h"
#include "frame/Tcvn3.h"
#include "geometry/PolylineVertices.h"
#include "host/core/NumberText.h"
#include "host/db/AcDbExtents.h"
#include "host/db/DbHelpers.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/AcDbPolyline.h"

namespace fendo::survey {

bool insideRing(const std::vector<AcGePoint2d>& ring, const AcGePoint2d& point)
{
    bool inside = false;
    const double x = point.x, y = point.y;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const double xi = ring[i].x, yi = ring[i].y, xj = ring[j].x, yj = ring[j].y;
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
}

std::vector<std::size_t> matchLabels(const std::vector<std::vector<AcGePoint2d>>& rings,
                                     const std::vector<AcGePoint2d>& centres)
{
    std::vector<std::size_t> out(rings.size(), kNoLabel);
    if (centres.empty()) return out;
    PlanBox world;
    for (const AcGePoint2d& c : centres) world.add(c.x, c.y);
    for (const auto& ring : rings)
        for (const AcGePoint2d& p : ring) world.add(p.x, p.y);
    const double slack = planSlack(world);
    PlanGrid grid(world, centres.size(), 0.0);
    for (std::size_t i = 0; i < centres.size(); ++i)
        grid.insert(i, PlanBox::around(centres[i].x, centres[i].y, centres[i].x, centres[i].y));
    std::vector<char> used(centres.size(), 0);
    std::vector<std::size_t> near;
    for (std::size_t r = 0; r < rings.size(); ++r) {
        if (rings[r].empty()) continue;
        PlanBox box;
        for (const AcGePoint2d& p : rings[r]) box.add(p.x, p.y);
        // The even-odd test can only hold inside the ring's box (up to rounding).
        grid.query(box.grown(slack), near);
        std::sort(near.begin(), near.end());
        for (std::size_t label : near) {
            if (used[label] || !insideRing(rings[r], centres[label])) continue;
            used[label] = 1;
            out[r] = label;
            break;
        }
    }
    return out;
}

std::string parcelRecord(const AcGePoint2d& centre, const std::string& text, const std::vector<AcGePoint2d>& ring)
{
    std::string record;
    record.reserve(text.size() + 96);
    fendo::appendFixed(record, centre.x, 2);
    record += '\t';
    fendo::appendFixed(record, centre.y, 2);
    record += '\t';
    record += text;
    record += '\t';
    for (int i = 0; i < 4; ++i) {
        if (i > 0) record += ',';
        fendo::appendFixed(record, ring[i].x, 2);
        record += ',';
        fendo::appendFixed(record, ring[i].y, 2);
    }
    record += '\n';
    return record;
}

}  // namespace fendo::survey

namespace {
constexpr const wchar_t* kLabelLayer = L"Texhled";
constexpr const wchar_t* kBoundaryLayer = L"Bao_O";
// The report goes to the working folder: a fixed C:\TD.txt has no place outside Windows.
constexpr const char* kReportFile = "TD.txt";
// A ring needs four points for its record, so a boundary of fewer vertices is passed over.
constexpr unsigned int kFewestBoundaryVertices = 3;

std::vector<AcDbObjectId> everyOnLayer(const wchar_t* type, const wchar_t* layer)
{
    FilterObjects filter;
    filter.addType(type);
    filter.addLayer(layer);
    filter.selectAll();
    return filter.ids();
}
}  // namespace

void cmdParcelReport()
{
    using namespace fendo::survey;
    const auto labelIds = everyOnLayer(L"MTEXT", kLabelLayer);
    if (labelIds.empty()) return;
    const auto boundaryIds = everyOnLayer(L"LWPOLYLINE", kBoundaryLayer);
    if (boundaryIds.empty()) return;

    std::vector<std::string> texts;
    std::vector<AcGePoint2d> centres;
    for (const AcDbObjectId& id : labelIds) {
        fendo::db::OpenedObject<AcDbMText> label(id, AcDb::kForRead);
        if (!label) continue;
        AcDbExtents extents;
        if (label->getGeomExtents(extents) != Acad::eOk) continue;
        const AcGePoint3d lo = extents.minPoint(), hi = extents.maxPoint();
        centres.emplace_back((lo.x + hi.x) / 2.0, (lo.y + hi.y) / 2.0);
        texts.push_back(EncodeTcvn3Text(label->contents().c_str()));
    }
    std::vector<std::vector<AcGePoint2d>> rings;
    for (const AcDbObjectId& id : boundaryIds) {
        fendo::db::OpenedObject<AcDbPolyline> boundary(id, AcDb::kForRead);
        if (!boundary || boundary->numVerts() < kFewestBoundaryVertices) continue;
        AcGePoint2dArray vertices;
        readPlanVertices(boundary.get(), vertices);
        std::vector<AcGePoint2d> ring(vertices.begin(), vertices.end());
        ring.push_back(ring.front());
        rings.push_back(std::move(ring));
    }
    std::string report;
    const auto match = matchLabels(rings, centres);
    for (std::size_t r = 0; r < rings.size(); ++r)
        if (match[r] != kNoLabel) report += parcelRecord(centres[match[r]], texts[match[r]], rings[r]);
    if (report.empty()) return;
    std::ofstream out(kReportFile, std::ios::binary | std::ios::trunc);
    if (!out) return;
    out << report;
}
