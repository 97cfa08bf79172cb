// Five commands that change every object of a selection at once: "EMT" puts a prefix and a
// suffix round texts, "CVTEXT" and "P2C" make the decimal separator of number texts a point,
// "EML" sets lines and polylines to one length, "EMD" lines up dimensions' extension lines.
#include <cwctype>
#include <string>
#include <vector>

#include "commands/text/TextCommands.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "frame/WalkProgress.h"
#include "host/db/entities/AcDbDimension.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"
#include "host/editor/aced.h"
#include "host/ge/AcGeLine3d.h"
#include "ui/BatchEditDialogs.h"
#include "ui/ModuleResources.h"

namespace {

constexpr int kPromptPrefixTexts = 51;
constexpr int kPromptLengthCurves = 52;
constexpr int kPromptDimensions = 36;
constexpr int kPromptBasePoint = 37;
constexpr const ACHAR* kPromptNumberTexts = L"\nChon cac text can chuyen";

// Shows a modal dialog with the module's templates current; true when it was accepted.
bool accepted(CAdUiBaseDialog& dialog)
{
    const fendo::ui::ModuleResourceScope resources;
    return dialog.DoModal() == IDOK;
}

// Sets the string of every text of the selection to what `change` makes of it; texts that
// cannot be opened are skipped.
template <class Change>
void rewriteTexts(const ACHAR* command, const std::vector<AcDbObjectId>& ids, Change&& change)
{
    fendo::WalkProgress progress(command, ids.size());
    for (const AcDbObjectId& id : ids) {
        progress.next();
        AcDbText* text = nullptr;
        if (acdbOpenObject(text, id, AcDb::kForWrite) != Acad::eOk) continue;
        const std::wstring before = text->textString().c_str();
        text->setTextString(change(before).c_str());
        text->close();
    }
}

std::wstring trimmed(const std::wstring& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && std::iswspace(static_cast<wint_t>(text[first]))) ++first;
    while (last > first && std::iswspace(static_cast<wint_t>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

// Texts picked with the prompt; none gives an empty list.
std::vector<AcDbObjectId> selectTexts(const std::wstring& prompt)
{
    FilterObjects texts;
    texts.addType(L"TEXT");
    if (texts.select(prompt.c_str()) == 0) return {};
    return texts.ids();
}

void setLineLength(AcDbLine& line, double length, LengthAnchor anchor)
{
    AcGePoint3d start = line.startPoint();
    AcGePoint3d end = line.endPoint();
    start.z = 0.0;
    end.z = 0.0;
    // A line of no length has no direction to stretch along.
    if (start.isEqualTo(end)) return;
    const AcGeVector3d u = (end - start).normal();
    switch (anchor) {
    case LengthAnchor::KeepEnd:
        start = end - u * length;
        break;
    case LengthAnchor::KeepStart:
        end = start + u * length;
        break;
    case LengthAnchor::KeepMiddle: {
        const AcGePoint3d middle = start + (end - start) * 0.5;
        start = middle - u * (length / 2);
        end = middle + u * (length / 2);
        break;
    }
    }
    line.setStartPoint(start);
    line.setEndPoint(end);
}

// The ends move along their tangents by the difference between the length and the wanted one;
// the polyline comes back straight, one vertex per vertex.
void setPolylineLength(AcDbPolyline& polyline, double length, LengthAnchor anchor)
{
    const unsigned int count = polyline.numVerts();
    if (count < 2) return;
    double endParam = 0.0;
    double current = 0.0;
    AcGePoint3d first;
    AcGePoint3d last;
    AcGeVector3d t0;
    AcGeVector3d t1;
    if (polyline.getEndParam(endParam) != Acad::eOk || polyline.getDistAtParam(endParam, current) != Acad::eOk ||
        polyline.getStartPoint(first) != Acad::eOk || polyline.getEndPoint(last) != Acad::eOk ||
        polyline.getFirstDeriv(0.0, t0) != Acad::eOk || polyline.getFirstDeriv(endParam, t1) != Acad::eOk)
        return;
    t0 = t0.normal();
    t1 = t1.normal();
    const double d = current - length;
    switch (anchor) {
    case LengthAnchor::KeepEnd:
        first = first + t0 * d;
        break;
    case LengthAnchor::KeepStart:
        last = last - t1 * d;
        break;
    case LengthAnchor::KeepMiddle:
        first = first + t0 * (d / 2);
        last = last - t1 * (d / 2);
        break;
    }
    std::vector<AcGePoint2d> points(count);
    for (unsigned int i = 0; i < count; ++i) polyline.getPointAt(i, points[i]);
    points.front() = AcGePoint2d(first.x, first.y);
    points.back() = AcGePoint2d(last.x, last.y);
    polyline.reset(false, 0);
    for (unsigned int i = 0; i < count; ++i) polyline.addVertexAt(i, points[i], 0.0, -1.0, -1.0);
}

// The extension-line points of one dimension onto the line through `base` parallel to its
// dimension line. False when the lines do not meet (a point off the dimension's plane).
bool alignExtensionPoints(AcDbAlignedDimension& dimension, const AcGePoint3d& base)
{
    const AcGePoint3d p1 = dimension.xLine1Point();
    const AcGePoint3d p2 = dimension.xLine2Point();
    const AcGeVector3d u = (dimension.dimLinePoint() - p2).normal();
    if (u.isZeroLength()) return false;
    const AcGeLine3d baseLine(base, u.perpVector());
    AcGePoint3d new1;
    AcGePoint3d new2;
    if (!baseLine.intersectWith(AcGeLine3d(p1, u), new1) || !baseLine.intersectWith(AcGeLine3d(p2, u), new2))
        return false;
    dimension.setXLine1Point(new1);
    dimension.setXLine2Point(new2);
    return true;
}

}  // namespace

void cmdAddPrefixSuffix()
{
    const std::vector<AcDbObjectId> ids = selectTexts(LoadPrompt(kPromptPrefixTexts));
    if (ids.empty()) return;
    DlgThemTienToHauTo dialog(acedGetAcadFrame());
    if (!accepted(dialog)) return;
    rewriteTexts(L"EMT", ids, [&dialog](const std::wstring& text) { return dialog.prefix() + text + dialog.suffix(); });
}

void cmdBlanksToPoints()
{
    rewriteTexts(L"CVTEXT", selectTexts(kPromptNumberTexts), [](const std::wstring& text) {
        std::wstring result = trimmed(text);
        for (wchar_t& c : result)
            if (c == L' ') c = L'.';
        return result;
    });
}

void cmdCommaToPoint()
{
    rewriteTexts(L"P2C", selectTexts(kPromptNumberTexts), [](const std::wstring& text) {
        const std::wstring whole = trimmed(text);
        std::vector<std::wstring> pieces;
        for (size_t start = 0; start <= whole.size();) {
            size_t comma = whole.find(L',', start);
            if (comma == std::wstring::npos) comma = whole.size();
            if (comma > start) pieces.push_back(whole.substr(start, comma - start));
            start = comma + 1;
        }
        return pieces.size() == 2 ? pieces[0] + L"." + pieces[1] : whole;
    });
}

void cmdSetLength()
{
    FilterObjects curves;
    curves.addType(L"LINE");
    curves.addType(L"LWPOLYLINE");
    if (curves.select(LoadPrompt(kPromptLengthCurves).c_str()) == 0) return;
    DlgEditLine dialog(acedGetAcadFrame());
    if (!accepted(dialog)) return;
    fendo::WalkProgress progress(L"EML", curves.ids().size());
    for (const AcDbObjectId& id : curves.ids()) {
        progress.next();
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForWrite) != Acad::eOk) continue;
        if (auto* line = AcDbLine::cast(entity))
            setLineLength(*line, dialog.length(), dialog.anchor());
        else if (auto* polyline = AcDbPolyline::cast(entity))
            setPolylineLength(*polyline, dialog.length(), dialog.anchor());
        entity->close();
    }
}

void cmdAlignDimensions()
{
    OpenForWrite lock;
    FilterObjects dimensions;
    dimensions.addType(L"DIMENSION");
    if (dimensions.select(LoadPrompt(kPromptDimensions).c_str()) == 0) return;
    ads_point picked;
    if (acedGetPoint(nullptr, LoadPrompt(kPromptBasePoint).c_str(), picked) != RTNORM) return;
    const AcGePoint3d base(picked[0], picked[1], picked[2]);
    fendo::WalkProgress progress(L"EMD", dimensions.ids().size());
    for (const AcDbObjectId& id : dimensions.ids()) {
        progress.next();
        // Rotated dimensions are aligned ones with a fixed direction here; other kinds stay.
        AcDbAlignedDimension* dimension = nullptr;
        if (acdbOpenObject(dimension, id, AcDb::kForWrite) != Acad::eOk) continue;
        alignExtensionPoints(*dimension, base);
        dimension->close();
    }
}
