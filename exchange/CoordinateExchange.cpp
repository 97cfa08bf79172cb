// "EPL" writes one polyline's vertices, each named after the nearest text, to a workbook made
// from the template; "IPL" reads such a workbook back as texts and a 3D polyline; "XPL"
// writes the lengths of the selected curves.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>
#include "exchange/ExcelHandler.h"
#include "exchange/ExchangeCommands.h"
#include "exchange/ExchangeFiles.h"
#include "exchange/NearestText.h"
#include "frame/DrawingHelpers.h"
#include "frame/LeadingNumber.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "geometry/WorkingPolyline.h"
#include "host/db/AcDbExtents.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbObjectIterator.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"
#include "host/editor/aced.h"

using namespace fendo::exchange;

namespace {
constexpr int kEplPrompt = 55;
// Of the two prompts kept for "XPL", the one that says what to pick.
constexpr int kXplPrompt = 72;
constexpr int kIplMaxRows = 1000;

std::wstring format(const char* f, double v)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, f, v);
    return std::wstring(buffer, buffer + std::char_traits<char>::length(buffer));
}

std::wstring rowNumber(int r) { return std::to_wstring(r); }

// The vertices in order: a lightweight polyline's at its elevation, a 2D polyline's with its
// elevation where a vertex has (almost) none.
bool readVertices(AcDbObjectId id, AcGePoint3dArray& points, AcDbExtents& extents)
{
    AcDbEntity* entity = nullptr;
    if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) return false;
    if (auto* p3 = AcDb3dPolyline::cast(entity)) {
        std::unique_ptr<AcDbObjectIterator> it(p3->vertexIterator());
        for (; it && !it->done(); it->step()) {
            AcDb3dPolylineVertex* v = nullptr;
            if (acdbOpenObject(v, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
            points.append(v->position());
            v->close();
        }
    } else if (auto* lw = AcDbPolyline::cast(entity)) {
        for (unsigned i = 0; i < lw->numVerts(); ++i) {
            AcGePoint2d p;
            lw->getPointAt(i, p);
            points.append(AcGePoint3d(p.x, p.y, lw->elevation()));
        }
    } else if (auto* p2 = AcDb2dPolyline::cast(entity)) {
        std::unique_ptr<AcDbObjectIterator> it(p2->vertexIterator());
        for (; it && !it->done(); it->step()) {
            AcDb2dVertex* v = nullptr;
            if (acdbOpenObject(v, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
            AcGePoint3d p = v->position();
            if (std::abs(p.z) < fendo::kHeightTolerance) p.z = p2->elevation();
            points.append(p);
            v->close();
        }
    }
    const bool ok = entity->getGeomExtents(extents) == Acad::eOk;
    entity->close();
    return ok && !points.isEmpty();
}

struct DrawingText {
    AcGePoint3d position;
    std::wstring text;
};

// The single-line texts crossing the polyline's extents grown by half their size each way.
std::vector<DrawingText> textsAround(const AcDbExtents& extents)
{
    const AcGePoint3d lo = extents.minPoint();
    const AcGePoint3d hi = extents.maxPoint();
    const double w = hi.x - lo.x;
    const double h = hi.y - lo.y;
    AcGePoint3dArray box;
    box.append(AcGePoint3d(lo.x - w / 2, lo.y - h / 2, 0));
    box.append(AcGePoint3d(hi.x + w / 2, lo.y - h / 2, 0));
    box.append(AcGePoint3d(hi.x + w / 2, hi.y + h / 2, 0));
    box.append(AcGePoint3d(lo.x - w / 2, hi.y + h / 2, 0));
    box.append(box[0]);
    FilterObjects filter;
    filter.addType(L"TEXT");
    filter.selectPolygon(box, 0);
    std::vector<DrawingText> texts;
    for (const AcDbObjectId id : filter.ids()) {
        AcDbText* text = nullptr;
        if (acdbOpenObject(text, id, AcDb::kForRead) != Acad::eOk) continue;
        texts.push_back({text->position(), std::wstring(text->textString().kwszPtr())});
        text->close();
    }
    return texts;
}
}  // namespace

void cmdExportPolylinePoints()
{
    const sset::KindOf poly3d(AcDb3dPolyline::desc()), lw(AcDbPolyline::desc()), poly2d(AcDb2dPolyline::desc());
    const sset::OrCondition either(poly3d, lw);
    const sset::OrCondition any(either, poly2d);
    std::vector<AcDbObjectId> ids;
    if (selectMatching(ids, any, LoadPrompt(kEplPrompt).c_str(), kRemovePrompt, Highlight::No) == 0) return;
    AcGePoint3dArray vertices;
    AcDbExtents extents;
    if (!readVertices(ids.front(), vertices, extents)) return;
    const std::vector<DrawingText> texts = textsAround(extents);

    const auto path = askWorkbookToSave(L"Nhap ten file chua du lieu toa do");
    if (!path || !copyTemplateTo(*path)) return;
    CExcelHandler excel;
    if (!excel.StartExcel() || !excel.OpenWorkbook(*path)) return;
    excel.SetActiveSheet(1);

    std::vector<AcGePoint3d> positions;
    for (const auto& t : texts) positions.push_back(t.position);
    NearestTexts nearest(std::move(positions));
    for (int i = 0; i < vertices.length(); ++i) {
        const AcGePoint3d& p = vertices[i];
        const std::wstring row = rowNumber(i + 1);
        excel.SetCellValue(std::to_wstring(i + 1), L"A" + row);
        const int t = nearest.takeNearest(p);
        if (t >= 0 && !texts[t].text.empty()) excel.SetCellValue(texts[t].text, L"B" + row);
        excel.SetCellValue(format("%.2f", p.x), L"C" + row);
        excel.SetCellValue(format("%.2f", p.y), L"D" + row);
        excel.SetCellValue(format("%.2f", p.z), L"E" + row);
    }
    if (excel.SaveWorkbook()) excel.SetVisible(true);
}

void cmdImportPolylinePoints()
{
    const auto path = askWorkbookToOpen(L"Chon file excel chua toa do diem");
    if (!path) return;
    std::vector<std::wstring> xs, names, ys, zs;
    {
        CExcelHandler excel;
        if (!excel.StartExcel() || !excel.OpenWorkbook(*path)) return;
        excel.SetActiveSheet(1);
        const int n = excel.GetColumnValuesEx(L"C", 2, 1, kIplMaxRows, xs, true);
        if (n > 0) {
            excel.GetColumnValues(L"B", 2, 1, n + 1, names, false);
            excel.GetColumnValues(L"D", 2, 1, n + 1, ys, false);
            excel.GetColumnValues(L"E", 2, 1, n + 1, zs, false);
        }
        excel.CloseExcel();
    }
    const int n = static_cast<int>(xs.size());
    if (n < 2) return;
    OpenForWrite lock;
    AcGePoint3dArray points;
    for (int i = 0; i < n; ++i) {
        const AcGePoint3d p(cellNumber(xs[i], *path, L"C", i + 1), cellNumber(valueAt(ys, i), *path, L"D", i + 1),
                            cellNumber(valueAt(zs, i), *path, L"E", i + 1));
        points.append(p);
        const std::wstring name = valueAt(names, i);
        if (!name.empty()) {
            auto* text = new AcDbText;
            text->setPosition(p);
            text->setTextString(name.c_str());
            appendToCurrentSpace(text);
        }
    }
    appendToCurrentSpace(new AcDb3dPolyline(AcDb::k3dSimplePoly, points, false));
}

void cmdExportLengths()
{
    const sset::KindOf anything(AcDbEntity::desc());
    std::vector<AcDbObjectId> ids;
    if (selectMatching(ids, anything, LoadPrompt(kXplPrompt).c_str(), kRemovePrompt, Highlight::No) == 0) return;
    const auto path = askWorkbookToSave(L"Nhap ten file chua du lieu");
    if (!path || !copyTemplateTo(*path)) return;
    CExcelHandler excel;
    if (!excel.StartExcel() || !excel.OpenWorkbook(*path)) return;
    excel.SetActiveSheet(1);
    int row = 1;
    for (const AcDbObjectId id : ids) {
        BsPolylineNew working;
        if (!working.loadFrom(id)) continue;
        // The distance at the end parameter: a closed curve, whose end point is its start,
        // gives its whole length rather than 0.
        double endParam = 0.0, length = 0.0;
        if (working.getEndParam(endParam) != Acad::eOk || working.getDistAtParam(endParam, length) != Acad::eOk)
            continue;
        excel.SetCellValue(format("%.2f", length), L"A" + rowNumber(row++));
    }
    if (excel.SaveWorkbook()) excel.SetVisible(true);
}
