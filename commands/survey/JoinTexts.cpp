// "JT" and "JT1": pair elevation texts with point markers (or with each other)
// and make one survey point per pair, on the layer "DiemDoKVO", tagged with a
// running number from 1. Field drawings often write an elevation in two texts,
// the integer part ending left of the marker and the decimal part starting
// right of it; the source objects stay as they are.
#include "commands/survey/SurveyCommands.h"

#include <cwctype>
#include <string>
#include <vector>

#include "commands/survey/SurveyPoints.h"
#include "commands/survey/TextWindows.h"
#include "frame/DrawingHelpers.h"
#include "frame/LeadingNumber.h"
#include "frame/Prompts.h"
#include "host/db/AcDbExtents.h"
#include "host/db/entities/AcDbPoint.h"
#include "host/db/entities/AcDbText.h"
#include "host/editor/aced.h"

using namespace fendo::survey;

namespace {
constexpr const wchar_t* kPrompt = L"\nChon Cac doi tuong can joint(Text va Point):";
constexpr int kProgressLabel = 41;

// One text of the selection: its trimmed string and the corner the pairing
// looks at.
struct TextPart {
    std::wstring text;
    AcGePoint2d anchor;
    AcGePoint2d insertion;  // only "JT1" uses it
};

std::wstring trimmed(const std::wstring& s)
{
    std::size_t begin = 0, end = s.size();
    while (begin < end && std::iswspace(static_cast<wint_t>(s[begin]))) ++begin;
    while (end > begin && std::iswspace(static_cast<wint_t>(s[end - 1]))) --end;
    return s.substr(begin, end - begin);
}

enum class Corner { BottomLeft, BottomRight };

// The text's trimmed string and corner; false for an empty text or one without
// extents.
bool readText(const AcDbText& text, Corner corner, TextPart& part)
{
    part.text = trimmed(text.textString());
    if (part.text.empty()) return false;
    AcDbExtents extents;
    if (text.getGeomExtents(extents) != Acad::eOk) return false;
    const double x = corner == Corner::BottomLeft ? extents.minPoint().x : extents.maxPoint().x;
    part.anchor = AcGePoint2d(x, extents.minPoint().y);
    part.insertion = AcGePoint2d(text.position().x, text.position().y);
    return true;
}

std::vector<AcGePoint2d> anchorsOf(const std::vector<TextPart>& parts)
{
    std::vector<AcGePoint2d> anchors;
    anchors.reserve(parts.size());
    for (const TextPart& p : parts) anchors.push_back(p.anchor);
    return anchors;
}

// The status-bar progress meter of one pass; the status bar comes back when the
// command ends.
class Progress {
public:
    Progress() : m_label(LoadPrompt(kProgressLabel)) {}
    ~Progress() { acedRestoreStatusBar(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void startPass(std::size_t items)
    {
        acedRestoreStatusBar();
        acedSetStatusBarProgressMeter(m_label.c_str(), 0, static_cast<int>(items));
    }
    void at(std::size_t item) { acedSetStatusBarProgressMeterPos(static_cast<int>(item)); }

private:
    std::wstring m_label;
};

// Makes the survey points of one run, numbered from 1.
class PointMaker {
public:
    void make(const AcGePoint2d& at, const std::wstring& elevation)
    {
        const AcGePoint3d position(at.x, at.y, fendo::leadingNumber(elevation));
        if (makeTaggedPoint(position, kJoinedPointLayer, m_number)) ++m_number;
    }

private:
    int m_number = 1;
};

// Both halves beside each marker, told apart by a leading "." on the decimal
// part; then the integer texts left over, paired with a decimal text at their
// lower right corner.
void joinSplitTexts(const std::vector<AcGePoint2d>& markers, const std::vector<TextPart>& integers,
                    const std::vector<TextPart>& decimals, Progress& progress, PointMaker& maker)
{
    AnchorIndex integerIndex(anchorsOf(integers), kMarkerSquare);
    AnchorIndex decimalIndex(anchorsOf(decimals), kMarkerSquare);
    progress.startPass(markers.size());
    for (std::size_t m = 0; m < markers.size(); ++m) {
        progress.at(m);
        const Window window = windowAround(markers[m].x, markers[m].y, kMarkerSquare);
        const int i = integerIndex.firstInside(window);
        if (i >= 0) integerIndex.remove(i);
        const int d = decimalIndex.firstInside(window);
        if (d >= 0) decimalIndex.remove(d);
        if (i >= 0 && d >= 0)
            maker.make(markers[m],
                       integers[static_cast<std::size_t>(i)].text + decimals[static_cast<std::size_t>(d)].text);
    }

    std::vector<int> left;
    for (int i = 0; i < integerIndex.size(); ++i)
        if (integerIndex.contains(i)) left.push_back(i);
    progress.startPass(left.size());
    for (std::size_t k = 0; k < left.size(); ++k) {
        progress.at(k);
        const TextPart& integer = integers[static_cast<std::size_t>(left[k])];
        const int d = decimalIndex.firstInside(windowAround(integer.anchor.x, integer.anchor.y, kCornerSquare));
        if (d < 0) continue;
        decimalIndex.remove(d);
        maker.make(integer.anchor, integer.text + decimals[static_cast<std::size_t>(d)].text);
    }
}

// Two integer texts in a wide band around each marker: the first found and the
// next one after it in the list. The text ending right of the marker is the
// decimal part.
void joinBandTexts(const std::vector<AcGePoint2d>& markers, const std::vector<TextPart>& texts, Progress& progress,
                   PointMaker& maker)
{
    AnchorIndex index(anchorsOf(texts), kMarkerBand);
    progress.startPass(markers.size());
    for (std::size_t m = 0; m < markers.size(); ++m) {
        progress.at(m);
        const Window window = windowAround(markers[m].x, markers[m].y, kMarkerBand);
        const int first = index.firstInside(window);
        if (first < 0) continue;
        index.remove(first);
        const int second = index.firstInside(window, first);
        if (second < 0) continue;
        index.remove(second);
        const TextPart& a = texts[static_cast<std::size_t>(first)];
        const TextPart& b = texts[static_cast<std::size_t>(second)];
        maker.make(markers[m], markers[m].x < a.anchor.x ? b.text + L"." + a.text : a.text + L"." + b.text);
    }
}
}  // namespace

void cmdJoinTextsAndPoints()
{
    const AnyKindOf kinds{AcDbPoint::desc(), AcDbText::desc()};
    const Selected selected = selectObjects(kPrompt, kinds);
    if (selected.cancelled) return;
    std::vector<TextPart> integers, decimals;
    std::vector<AcGePoint2d> markers;
    for (const AcDbObjectId id : selected.ids) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) continue;
        if (const auto* text = AcDbText::cast(entity)) {
            const std::wstring s = trimmed(text->textString());
            const bool decimal = !s.empty() && s.front() == L'.';
            TextPart part;
            if (readText(*text, decimal ? Corner::BottomLeft : Corner::BottomRight, part))
                (decimal ? decimals : integers).push_back(part);
        } else if (const auto* point = AcDbPoint::cast(entity)) {
            markers.emplace_back(point->position().x, point->position().y);
        }
        entity->close();
    }
    ensureLayer(kJoinedPointLayer, 0);
    Progress progress;
    PointMaker maker;
    if (!decimals.empty())
        joinSplitTexts(markers, integers, decimals, progress, maker);
    else
        joinBandTexts(markers, integers, progress, maker);
}

void cmdJoinAlignedTexts()
{
    const AnyKindOf kinds{AcDbText::desc()};
    const Selected selected = selectObjects(kPrompt, kinds);
    if (selected.cancelled) return;
    std::vector<TextPart> lefts, others;
    for (const AcDbObjectId id : selected.ids) {
        AcDbText* text = nullptr;
        if (acdbOpenObject(text, id, AcDb::kForRead) != Acad::eOk) continue;
        const bool left = text->horizontalMode() == AcDb::kTextLeft;
        TextPart part;
        if (readText(*text, left ? Corner::BottomLeft : Corner::BottomRight, part))
            (left ? lefts : others).push_back(part);
        text->close();
    }
    ensureLayer(kJoinedPointLayer, 0);
    Progress progress;
    PointMaker maker;
    AnchorIndex index(anchorsOf(others), kMarkerSquare);
    progress.startPass(lefts.size());
    for (std::size_t k = 0; k < lefts.size(); ++k) {
        progress.at(k);
        const AcGePoint2d& at = lefts[k].insertion;
        const int o = index.firstInside(windowAround(at.x, at.y, kMarkerSquare));
        if (o < 0) continue;
        index.remove(o);
        maker.make(at, others[static_cast<std::size_t>(o)].text + L"." + lefts[k].text);
    }
}
