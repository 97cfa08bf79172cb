// The slope symbol object: its sources, tick rebuild and trimming, drawing, grips, explode and
// filing (binary and DXF, the same fields in the same order).
#include "slope/TaluyObj.h"

#include <cmath>
#include <cstdint>

#include "geometry/WorkingPolyline.h"
#include "host/db/AcDbFiler.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/gi/AcGi.h"
#include "slope/PlanChain.h"
#include "slope/SourcePolyline.h"
#include "slope/TickGeneration.h"

// The application names are filed exactly as these macro arguments are spelt.
ACRX_DXF_DEFINE_MEMBERS(KvoDbEntity, AcDbEntity, 27, 1, 0xBFF, KVO DATABASE ENTITY, _T("KVO Company"))
ACRX_DXF_DEFINE_MEMBERS(TaluyObj, KvoDbEntity, 27, 1, 0xBFF, DRAWTALUY, "KVO")

namespace {

// Grips at the symbol's ends stand off the edge by this fraction of the division length.
constexpr double kEndGripOffset = 0.15;

// DXF groups of the symbol's section, in filing order.
namespace dxf {
constexpr auto kFlags = static_cast<AcDb::DxfCode>(70);
constexpr auto kEdgeId = static_cast<AcDb::DxfCode>(350);
constexpr auto kToeId = static_cast<AcDb::DxfCode>(351);
constexpr auto kEdgeCount = static_cast<AcDb::DxfCode>(71);
constexpr auto kEdgePoint = static_cast<AcDb::DxfCode>(10);
constexpr auto kToeCount = static_cast<AcDb::DxfCode>(72);
constexpr auto kToePoint = static_cast<AcDb::DxfCode>(11);
constexpr auto kStartPoint = static_cast<AcDb::DxfCode>(12);
constexpr auto kEndPoint = static_cast<AcDb::DxfCode>(13);
constexpr auto kDivisionLength = static_cast<AcDb::DxfCode>(40);
constexpr auto kTriangleWidth = static_cast<AcDb::DxfCode>(41);
constexpr auto kToeClearance = static_cast<AcDb::DxfCode>(42);
constexpr auto kStepsPerDivision = static_cast<AcDb::DxfCode>(73);
constexpr auto kShortRatio = static_cast<AcDb::DxfCode>(43);
constexpr auto kShortColor = static_cast<AcDb::DxfCode>(74);
constexpr auto kLongColor = static_cast<AcDb::DxfCode>(75);
constexpr auto kLongLength = static_cast<AcDb::DxfCode>(44);
constexpr auto kShortLength = static_cast<AcDb::DxfCode>(45);
constexpr auto kLongPerTangent = static_cast<AcDb::DxfCode>(76);
constexpr auto kLongCount = static_cast<AcDb::DxfCode>(77);
constexpr auto kLongBase = static_cast<AcDb::DxfCode>(14);
constexpr auto kLongTip = static_cast<AcDb::DxfCode>(15);
constexpr auto kShortCount = static_cast<AcDb::DxfCode>(78);
constexpr auto kShortBase = static_cast<AcDb::DxfCode>(16);
constexpr auto kShortTip = static_cast<AcDb::DxfCode>(17);
constexpr const ACHAR* kSubclass = L"TaluyObj";
}  // namespace dxf

std::uint8_t flagMask(TaluyObj::Flag f) { return static_cast<std::uint8_t>(0x80u >> static_cast<unsigned>(f)); }

// A list's filed count: the low 16 bits of its length.
std::int16_t filedCount(int length) { return static_cast<std::int16_t>(length & 0xFFFF); }

AcGePoint3d pointOf(const resbuf& rb)
{
    return AcGePoint3d(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]);
}

void writePoints(AcDbDwgFiler* filer, const AcGePoint3dArray& points)
{
    filer->writeInt16(filedCount(points.length()));
    for (int i = 0; i < points.length(); ++i) filer->writePoint3d(points[i]);
}

Acad::ErrorStatus readPoints(AcDbDwgFiler* filer, AcGePoint3dArray& points)
{
    std::int16_t count = 0;
    Acad::ErrorStatus es = filer->readInt16(&count);
    points.removeAll();
    for (int i = 0; es == Acad::eOk && i < count; ++i) {
        AcGePoint3d p;
        es = filer->readPoint3d(&p);
        points.append(p);
    }
    return es;
}

void writeTraces(AcDbDwgFiler* filer, const ListTraces& traces)
{
    filer->writeInt16(filedCount(traces.count()));
    for (int i = 0; i < traces.count(); ++i) {
        filer->writePoint3d(traces.at(i).base);
        filer->writePoint3d(traces.at(i).tip);
    }
}

Acad::ErrorStatus readTraces(AcDbDwgFiler* filer, ListTraces& traces)
{
    std::int16_t count = 0;
    Acad::ErrorStatus es = filer->readInt16(&count);
    traces.clear();
    for (int i = 0; es == Acad::eOk && i < count; ++i) {
        AcGePoint3d base, tip;
        filer->readPoint3d(&base);
        es = filer->readPoint3d(&tip);
        traces.append(base, tip);
    }
    return es;
}

AcGeVector3d unitNormalOf(const AcGeVector3d& v)
{
    const double len = std::hypot(v.x, v.y);
    if (len == 0.0) return AcGeVector3d(0, 0, 0);
    return AcGeVector3d(-v.y / len, v.x / len, 0.0);
}

}  // namespace

// ---- KvoDbEntity ------------------------------------------------------------------------

bool KvoDbEntity::dependsOn(AcDbObjectId) const { return false; }

Acad::ErrorStatus KvoDbEntity::notifyChanged(AcDbObjectId) { return Acad::eOk; }

// ---- ListTraces -------------------------------------------------------------------------

void ListTraces::append(const AcGePoint3d& base, const AcGePoint3d& tip)
{
    if (count() >= kMaxCount) return;
    m_traces.push_back(std::make_unique<Trace>(Trace{base, tip}));
}

void ListTraces::clear() { m_traces.clear(); }

// ---- TaluyObj: sources and rebuild ----------------------------------------------------------

TaluyObj::~TaluyObj() = default;

bool TaluyObj::flag(Flag f) const
{
   
    return (m_flags & flagMask(f)) != 0;
}

void TaluyObj::setFlag(Flag f, bool on)
{
    assertWriteEnabled();
    m_flags = static_cast<Adesk::UInt16>(on ? (m_flags | flagMask(f)) : (m_flags & ~flagMask(f)));
}

Adesk::UInt16 TaluyObj::flags() const
{
   
    return m_flags;
}

void TaluyObj::setFlags(Adesk::UInt16 flags)
{
    assertWriteEnabled();
    m_flags = flags;
}

bool TaluyObj::readEdge(AcGePoint3dArray& points) const
{
    if (flag(Flag::Linked)) return fendo::slope::readSourcePolyline(m_edgeId, points);
    points = m_edgePoints;
    return points.length() > 0;
}

bool TaluyObj::setSourcePolylines(AcDbObjectId edge, AcDbObjectId toe)
{
    assertWriteEnabled();
    m_edgeId = edge;
    m_toeId = toe;
    setFlag(Flag::NoToe, toe.isNull());
    setFlag(Flag::Linked, true);
    AcGePoint3dArray points;
    return fendo::slope::readSourcePolyline(edge, points);
}

bool TaluyObj::setSourcePoints(const AcGePoint3dArray& edge, const AcGePoint3dArray& toe)
{
    assertWriteEnabled();
    if (edge.length() < 2 || edge.length() > kMaxFiledPoints || toe.length() > kMaxFiledPoints) return false;
    m_edgePoints = edge;
    m_toePoints = toe;
    setFlag(Flag::NoToe, toe.length() < 2);
    setFlag(Flag::Linked, false);
    m_startPoint = edge.first();
    m_endPoint = edge.last();
    rebuildTraces();
    return true;
}

void TaluyObj::setRange(const AcGePoint3d& first, const AcGePoint3d& second, Range range)
{
    assertWriteEnabled();
    AcGePoint3dArray points;
    if (!fendo::slope::readSourcePolyline(m_edgeId, points)) return;
    if (range == Range::WholeEdge) {
        m_startPoint = points.first();
        m_endPoint = points.last();
    } else {
        const fendo::slope::PlanChain edge(points);
        const auto a = edge.project(first);
        const auto b = edge.project(second);
        if (a) m_startPoint = a->point;
        if (b) m_endPoint = b->point;
        if (a && b && a->distance > b->distance) std::swap(m_startPoint, m_endPoint);
    }
    rebuildTraces();
}

fendo::slope::TickSettings TaluyObj::tickSettings() const
{
    fendo::slope::TickSettings s;
    s.longPerTangent = m_longPerTangent;
    s.shortRatio = m_shortRatio;
    s.divisionLength = m_divisionLength;
    s.toeClearance = m_toeClearance;
    s.stepsPerDivision = m_stepsPerDivision;
    s.longLength = m_longLength;
    s.shortLength = m_shortLength;
    s.side = flag(Flag::Reversed) ? fendo::slope::TickSide::Right : fendo::slope::TickSide::Left;
    return s;
}

bool TaluyObj::rebuildTraces()
{
    assertWriteEnabled();
    m_longTraces.clear();
    m_shortTraces.clear();
    fendo::slope::TickSet ticks;
    if (flag(Flag::NoToe)) {
        AcGePoint3dArray edgePoints;
        if (readEdge(edgePoints))
            ticks = fendo::slope::ticksWithoutToe(tickSettings(), fendo::slope::PlanChain(edgePoints), m_startPoint,
                                                  m_endPoint);
    } else {
        AcGePoint3dArray edgePoints, toePoints;
        if (flag(Flag::Linked)) {
            if (!fendo::slope::readSourcePolyline(m_edgeId, edgePoints) ||
                !fendo::slope::readSourcePolyline(m_toeId, toePoints))
                return false;
        } else {
            edgePoints = m_edgePoints;
            toePoints = m_toePoints;
        }
        const fendo::slope::PlanChain edge(edgePoints);
        const fendo::slope::PlanChain toe(toePoints);
        ticks = fendo::slope::ticksToToe(tickSettings(), edge, toe, m_startPoint, m_endPoint);
    }
    for (const auto& t : ticks.longTicks) m_longTraces.append(t.base, t.tip);
    for (const auto& t : ticks.shortTicks) m_shortTraces.append(t.base, t.tip);
    return true;
}

namespace {
bool trimTraces(ListTraces& traces, AcDbObjectId polylineId)
{
    if (polylineId.isNull()) return false;
    BsPolylineNew cutter;
    if (!cutter.loadFrom(polylineId)) return false;
    for (int i = 0; i < traces.count(); ++i) {
        Trace& t = traces.at(i);
        AcGePoint3d crossing;
        if (cutter.crossLine(t.base, t.tip, crossing, BsPolylineNew::CrossMode::BetweenOnly) &&
            !crossing.isEqualTo(t.tip))
            t.tip = crossing;
    }
    return true;
}
}  // namespace

bool TaluyObj::trimLongTraces(AcDbObjectId polyline)
{
    assertWriteEnabled();
    return trimTraces(m_longTraces, polyline);
}

bool TaluyObj::trimShortTraces(AcDbObjectId polyline)
{
    assertWriteEnabled();
    return trimTraces(m_shortTraces, polyline);
}

// ---- plain field access ---------------------------------------------------------------------

void TaluyObj::setTriangleWidth(double width)
{
    assertWriteEnabled();
    m_triangleWidth = width;
}

AcDbObjectId TaluyObj::edgeId() const { return m_edgeId; }
AcDbObjectId TaluyObj::toeId() const { return m_toeId; }
const AcGePoint3dArray& TaluyObj::edgePoints() const { return m_edgePoints; }
const AcGePoint3dArray& TaluyObj::toePoints() const { return m_toePoints; }
short TaluyObj::longPerTangent() const { return m_longPerTangent; }
void TaluyObj::setLongPerTangent(short count) { assertWriteEnabled(); m_longPerTangent = count; }
double TaluyObj::shortRatio() const { return m_shortRatio; }
void TaluyObj::setShortRatio(double ratio) { assertWriteEnabled(); m_shortRatio = ratio; }
double TaluyObj::divisionLength() const { return m_divisionLength; }
void TaluyObj::setDivisionLength(double length) { assertWriteEnabled(); m_divisionLength = length; }
double TaluyObj::triangleWidth() const { return m_triangleWidth; }
double TaluyObj::toeClearance() const { return m_toeClearance; }
void TaluyObj::setToeClearance(double clearance) { assertWriteEnabled(); m_toeClearance = clearance; }
short TaluyObj::stepsPerDivision() const { return m_stepsPerDivision; }
void TaluyObj::setStepsPerDivision(short steps) { assertWriteEnabled(); m_stepsPerDivision = steps; }
AcGePoint3d TaluyObj::startPoint() const { return m_startPoint; }
void TaluyObj::setStartPoint(const AcGePoint3d& point) { assertWriteEnabled(); m_startPoint = point; }
AcGePoint3d TaluyObj::endPoint() const { return m_endPoint; }
void TaluyObj::setEndPoint(const AcGePoint3d& point) { assertWriteEnabled(); m_endPoint = point; }
short TaluyObj::shortColor() const { return m_shortColor; }
void TaluyObj::setShortColor(short colorIndex) { assertWriteEnabled(); m_shortColor = colorIndex; }
short TaluyObj::longColor() const { return m_longColor; }
void TaluyObj::setLongColor(short colorIndex) { assertWriteEnabled(); m_longColor = colorIndex; }
double TaluyObj::longLength() const { return m_longLength; }
void TaluyObj::setLongLength(double length) { assertWriteEnabled(); m_longLength = length; }
double TaluyObj::shortLength() const { return m_shortLength; }
void TaluyObj::setShortLength(double length) { assertWriteEnabled(); m_shortLength = length; }
const ListTraces& TaluyObj::longTraces() const { return m_longTraces; }
const ListTraces& TaluyObj::shortTraces() const { return m_shortTraces; }

bool TaluyObj::longTracesShown() const { return flag(Flag::TickForm) || flag(Flag::ShowLong); }

// ---- drawing and explode ----------------------------------------------------------------------

bool TaluyObj::worldDraw(AcGiWorldDraw* wd)
{
   
    if (wd->regenAbort()) return true;
    AcGiSubEntityTraits& traits = wd->subEntityTraits();
    const Adesk::UInt16 previousColor = traits.color();
    traits.setFillType(kAcGiFillAlways);
    const bool tickForm = flag(Flag::TickForm);
    if (longTracesShown()) {
        traits.setColor(static_cast<Adesk::UInt16>(m_longColor));
        for (int i = 0; i < m_longTraces.count(); ++i) {
            const AcGePoint3d line[2] = {m_longTraces.at(i).base, m_longTraces.at(i).tip};
            wd->geometry().polyline(2, line);
        }
    }
    traits.setColor(static_cast<Adesk::UInt16>(m_shortColor));
    for (int i = 0; i < m_shortTraces.count(); ++i) {
        const Trace& t = m_shortTraces.at(i);
        if (tickForm) {
            const AcGePoint3d line[2] = {t.base, t.tip};
            wd->geometry().polyline(2, line);
        } else {
            const AcGeVector3d m = unitNormalOf(t.tip - t.base) * (0.5 * m_triangleWidth);
            const AcGePoint3d triangle[3] = {t.base + m, t.base - m, t.tip};
            wd->geometry().polygon(3, triangle);
        }
    }
    traits.setColor(previousColor);
    traits.setFillType(kAcGiFillNever);
    return true;
}

Acad::ErrorStatus TaluyObj::explode(AcDbVoidPtrArray& entitySet) const
{
   
    auto addLine = [&](const Trace& t, short color) {
        auto* line = new AcDbLine(t.base, t.tip);
        line->setPropertiesFrom(this);
        line->setColorIndex(static_cast<Adesk::UInt16>(color));
        entitySet.append(line);
    };
    if (longTracesShown())
        for (int i = 0; i < m_longTraces.count(); ++i) addLine(m_longTraces.at(i), m_longColor);
    const bool tickForm = flag(Flag::TickForm);
    for (int i = 0; i < m_shortTraces.count(); ++i) {
        const Trace& t = m_shortTraces.at(i);
        if (tickForm) {
            addLine(t, m_shortColor);
            continue;
        }
        auto* wedge = new AcDbPolyline;
        wedge->setPropertiesFrom(this);
        wedge->addVertexAt(0, AcGePoint2d(t.base.x, t.base.y), 0.0, m_triangleWidth, 0.0);
        wedge->addVertexAt(1, AcGePoint2d(t.tip.x, t.tip.y), 0.0, 0.0, 0.0);
        wedge->setElevation(t.base.z);
        wedge->setColorIndex(static_cast<Adesk::UInt16>(m_shortColor));
        entitySet.append(wedge);
    }
    return Acad::eOk;
}

void TaluyObj::list() const {}

// ---- grips and transformation ------------------------------------------------------------

AcGeVector3d TaluyObj::edgeNormalAt(const AcGePoint3d& point) const
{
    AcGePoint3dArray points;
    if (!readEdge(points)) return AcGeVector3d(0, 0, 0);
    const fendo::slope::PlanChain edge(points);
    const auto at = edge.project(point);
    if (!edge.hasSegments() || !at) return AcGeVector3d(0, 0, 0);
    return fendo::slope::ChainStretch(edge, 0.0, edge.length()).normalAt(at->distance);
}

Acad::ErrorStatus TaluyObj::getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray&, AcDbIntArray&) const
{
   
    const double offset = kEndGripOffset * m_divisionLength;
    gripPoints.append(m_startPoint + edgeNormalAt(m_startPoint) * offset);
    gripPoints.append(m_endPoint + edgeNormalAt(m_endPoint) * offset);
    if (longTracesShown()) {
        for (int i = 0; i < m_longTraces.count(); ++i) {
            gripPoints.append(m_longTraces.at(i).base);
            gripPoints.append(m_longTraces.at(i).tip);
        }
    }
    for (int i = 0; i < m_shortTraces.count(); ++i) {
        gripPoints.append(m_shortTraces.at(i).base);
        gripPoints.append(m_shortTraces.at(i).tip);
    }
    return Acad::eOk;
}

Acad::ErrorStatus TaluyObj::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset)
{
    assertWriteEnabled();
    if (indices.isEmpty()) return Acad::eOk;
    const int index = indices.first();
    if (index == 0 || index == 1) {
        AcGePoint3d& end = index == 0 ? m_startPoint : m_endPoint;
        const AcGePoint3d moved = end + offset;
        AcGePoint3dArray points;
        if (readEdge(points)) {
            if (const auto at = fendo::slope::PlanChain(points).project(moved)) end = at->point;
        }
        rebuildTraces();
        return Acad::eOk;
    }
    if (index < 2) return Acad::eOk;
    int trace = (index - 2) / 2;
    ListTraces* list = &m_shortTraces;
    if (longTracesShown()) {
        if (trace < m_longTraces.count())
            list = &m_longTraces;
        else
            trace -= m_longTraces.count();
    }
    if (trace >= list->count()) return Acad::eOk;
    Trace& t = list->at(trace);
    (index % 2 == 0 ? t.base : t.tip) += offset;
    return Acad::eOk;
}

Acad::ErrorStatus TaluyObj::transformBy(const AcGeMatrix3d& xform)
{
    assertWriteEnabled();
    for (ListTraces* list : {&m_longTraces, &m_shortTraces}) {
        for (int i = 0; i < list->count(); ++i) {
            list->at(i).base.transformBy(xform);
            list->at(i).tip.transformBy(xform);
        }
    }
    // The range and a symbol's own point lists travel with its ticks, so that a later rebuild
    // draws the symbol where it now is; linked edges are objects of their own.
    m_startPoint.transformBy(xform);
    m_endPoint.transformBy(xform);
    if (!flag(Flag::Linked)) {
        for (AcGePoint3dArray* list : {&m_edgePoints, &m_toePoints})
            for (int i = 0; i < list->length(); ++i) (*list)[i].transformBy(xform);
    }
    return Acad::eOk;
}

// ---- filing ---------------------------------------------------------------------------------

Acad::ErrorStatus TaluyObj::dwgOutFields(AcDbDwgFiler* filer) const
{
   
    Acad::ErrorStatus es = KvoDbEntity::dwgOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeInt16(static_cast<std::int16_t>(m_flags));
    if (m_flags & flagMask(Flag::Linked)) {
        filer->writeSoftOwnershipId(m_edgeId);
        filer->writeSoftOwnershipId(m_toeId);
    } else {
        writePoints(filer, m_edgePoints);
        writePoints(filer, m_toePoints);
    }
    filer->writePoint3d(m_startPoint);
    filer->writePoint3d(m_endPoint);
    filer->writeDouble(m_divisionLength);
    filer->writeDouble(m_triangleWidth);
    filer->writeDouble(m_toeClearance);
    filer->writeInt16(m_stepsPerDivision);
    filer->writeDouble(m_shortRatio);
    filer->writeInt16(m_shortColor);
    filer->writeInt16(m_longColor);
    filer->writeDouble(m_longLength);
    filer->writeDouble(m_shortLength);
    filer->writeInt16(m_longPerTangent);
    writeTraces(filer, m_longTraces);
    writeTraces(filer, m_shortTraces);
    return Acad::eOk;
}

Acad::ErrorStatus TaluyObj::dwgInFields(AcDbDwgFiler* filer)
{
    Acad::ErrorStatus es = KvoDbEntity::dwgInFields(filer);
    if (es != Acad::eOk) return es;
    std::int16_t flags = 0;
    filer->readInt16(&flags);
    m_flags = static_cast<Adesk::UInt16>(flags);
    if (m_flags & flagMask(Flag::Linked)) {
        filer->readSoftOwnershipId(&m_edgeId);
        filer->readSoftOwnershipId(&m_toeId);
    } else {
        readPoints(filer, m_edgePoints);
        readPoints(filer, m_toePoints);
    }
    filer->readPoint3d(&m_startPoint);
    filer->readPoint3d(&m_endPoint);
    filer->readDouble(&m_divisionLength);
    filer->readDouble(&m_triangleWidth);
    filer->readDouble(&m_toeClearance);
    filer->readInt16(&m_stepsPerDivision);
    filer->readDouble(&m_shortRatio);
    filer->readInt16(&m_shortColor);
    filer->readInt16(&m_longColor);
    filer->readDouble(&m_longLength);
    filer->readDouble(&m_shortLength);
    filer->readInt16(&m_longPerTangent);
    readTraces(filer, m_longTraces);
    readTraces(filer, m_shortTraces);
    return Acad::eOk;
}

Acad::ErrorStatus TaluyObj::dxfOutFields(AcDbDxfFiler* filer) const
{
   
    Acad::ErrorStatus es = KvoDbEntity::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, dxf::kSubclass);
    filer->writeInt16(dxf::kFlags, static_cast<std::int16_t>(m_flags));
    if (m_flags & flagMask(Flag::Linked)) {
        filer->writeObjectId(dxf::kEdgeId, m_edgeId);
        filer->writeObjectId(dxf::kToeId, m_toeId);
    } else {
        filer->writeInt16(dxf::kEdgeCount, filedCount(m_edgePoints.length()));
        for (int i = 0; i < m_edgePoints.length(); ++i) filer->writePoint3d(dxf::kEdgePoint, m_edgePoints[i]);
        filer->writeInt16(dxf::kToeCount, filedCount(m_toePoints.length()));
        for (int i = 0; i < m_toePoints.length(); ++i) filer->writePoint3d(dxf::kToePoint, m_toePoints[i]);
    }
    filer->writePoint3d(dxf::kStartPoint, m_startPoint);
    filer->writePoint3d(dxf::kEndPoint, m_endPoint);
    filer->writeDouble(dxf::kDivisionLength, m_divisionLength);
    filer->writeDouble(dxf::kTriangleWidth, m_triangleWidth);
    filer->writeDouble(dxf::kToeClearance, m_toeClearance);
    filer->writeInt16(dxf::kStepsPerDivision, m_stepsPerDivision);
    filer->writeDouble(dxf::kShortRatio, m_shortRatio);
    filer->writeInt16(dxf::kShortColor, m_shortColor);
    filer->writeInt16(dxf::kLongColor, m_longColor);
    filer->writeDouble(dxf::kLongLength, m_longLength);
    filer->writeDouble(dxf::kShortLength, m_shortLength);
    filer->writeInt16(dxf::kLongPerTangent, m_longPerTangent);
    const auto writeTraceList = [&](const ListTraces& traces, AcDb::DxfCode count, AcDb::DxfCode base,
                                    AcDb::DxfCode tip) {
        filer->writeInt16(count, filedCount(traces.count()));
        for (int i = 0; i < traces.count(); ++i) {
            filer->writePoint3d(base, traces.at(i).base);
            filer->writePoint3d(tip, traces.at(i).tip);
        }
    };
    writeTraceList(m_longTraces, dxf::kLongCount, dxf::kLongBase, dxf::kLongTip);
    writeTraceList(m_shortTraces, dxf::kShortCount, dxf::kShortBase, dxf::kShortTip);
    return filer->filerStatus();
}

Acad::ErrorStatus TaluyObj::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = KvoDbEntity::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    if (!filer->atSubclassData(dxf::kSubclass)) return Acad::eBadDxfSequence;
    m_edgePoints.removeAll();
    m_toePoints.removeAll();
    m_longTraces.clear();
    m_shortTraces.clear();
    // A trace is complete when its tip arrives; a base waits for it.
    AcGePoint3d pendingBase;
    resbuf rb;
    while ((es = filer->readItem(&rb)) == Acad::eOk) {
        switch (rb.restype) {
        case dxf::kFlags: m_flags = static_cast<Adesk::UInt16>(rb.resval.rint); break;
        case dxf::kEdgeId: acdbGetObjectId(m_edgeId, rb.resval.rlname); break;
        case dxf::kToeId: acdbGetObjectId(m_toeId, rb.resval.rlname); break;
        case dxf::kEdgeCount:
        case dxf::kToeCount:
        case dxf::kLongCount:
        case dxf::kShortCount: break;  // the lists are read to their last point
        case dxf::kEdgePoint: m_edgePoints.append(pointOf(rb)); break;
        case dxf::kToePoint: m_toePoints.append(pointOf(rb)); break;
        case dxf::kStartPoint: m_startPoint = pointOf(rb); break;
        case dxf::kEndPoint: m_endPoint = pointOf(rb); break;
        case dxf::kDivisionLength: m_divisionLength = rb.resval.rreal; break;
        case dxf::kTriangleWidth: m_triangleWidth = rb.resval.rreal; break;
        case dxf::kToeClearance: m_toeClearance = rb.resval.rreal; break;
        case dxf::kStepsPerDivision: m_stepsPerDivision = rb.resval.rint; break;
        case dxf::kShortRatio: m_shortRatio = rb.resval.rreal; break;
        case dxf::kShortColor: m_shortColor = rb.resval.rint; break;
        case dxf::kLongColor: m_longColor = rb.resval.rint; break;
        case dxf::kLongLength: m_longLength = rb.resval.rreal; break;
        case dxf::kShortLength: m_shortLength = rb.resval.rreal; break;
        case dxf::kLongPerTangent: m_longPerTangent = rb.resval.rint; break;
        case dxf::kLongBase:
        case dxf::kShortBase: pendingBase = pointOf(rb); break;
        case dxf::kLongTip: m_longTraces.append(pendingBase, pointOf(rb)); break;
        case dxf::kShortTip: m_shortTraces.append(pendingBase, pointOf(rb)); break;
        default: filer->keepUnknownItem(); break;
        }
    }
    return filer->filerStatus();
}
