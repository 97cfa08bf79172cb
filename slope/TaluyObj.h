// The slope symbol: a row of long and short tick lines drawn from a slope's top edge towards
// its toe, kept as one custom drawing object and rebuilt from its source geometry on request.
#pragma once
#include <memory>
#include <vector>
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectId.h"
#include "host/ge/AcGePoint3dArray.h"

namespace fendo::slope {
struct TickSettings;
}

// Common base of the module's custom drawing objects. It has no fields of its own; the two
// extra operations are hooks a derived object may answer about another object.
class KvoDbEntity : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(KvoDbEntity);

public:
    KvoDbEntity() = default;
    virtual bool dependsOn(AcDbObjectId id) const;
    virtual Acad::ErrorStatus notifyChanged(AcDbObjectId id);
};

// One tick: from `base` on the top edge towards the toe (or outward) to `tip`.
struct Trace {
    AcGePoint3d base;
    AcGePoint3d tip;
};

// An ordered list of owned ticks; clearing or destroying it deletes them. It holds at most
// kMaxCount ticks (its filed count is 16 bits); further ticks are not kept.
class ListTraces {
public:
    static constexpr int kMaxCount = 32767;
    void append(const AcGePoint3d& base, const AcGePoint3d& tip);
    void clear();
    int count() const { return static_cast<int>(m_traces.size()); }
    Trace& at(int index) { return *m_traces[static_cast<size_t>(index)]; }
    const Trace& at(int index) const { return *m_traces[static_cast<size_t>(index)]; }

private:
    std::vector<std::unique_ptr<Trace>> m_traces;
};

class TaluyObj : public KvoDbEntity {
    ACRX_DECLARE_MEMBERS(TaluyObj);

public:
    // The most points a stored edge or toe list may hold (its filed count is 16 bits).
    static constexpr int kMaxFiledPoints = 32767;

    // Flag bits, addressed by index 0..7 whose mask is 0x80 >> index.
    enum class Flag { TickForm = 0, NoToe = 1, Reversed = 2, ShowLong = 3, Linked = 4 };

    TaluyObj() = default;
    ~TaluyObj() override;

    // Links the symbol to an edge polyline and an optional toe polyline (null: no toe).
    // False when the edge gives no points. Does not rebuild.
    bool setSourcePolylines(AcDbObjectId edge, AcDbObjectId toe);
    // Stores the edge and toe as point lists (a toe of fewer than 2 points: no toe) and
    // rebuilds. False when the edge has fewer than 2 points or a list has more than
    // kMaxFiledPoints.
    bool setSourcePoints(const AcGePoint3dArray& edge, const AcGePoint3dArray& toe);
    // Sets where the symbol starts and ends on the linked edge (the whole edge when asked)
    // and rebuilds.
    enum class Range { BetweenPoints, WholeEdge };
    void setRange(const AcGePoint3d& first, const AcGePoint3d& second, Range range);
    // Regenerates the long and short ticks from the source geometry.
    virtual bool rebuildTraces();
    // Cuts the ticks of one list where the given polyline crosses them; false for a null id
    // or a polyline that cannot be read.
    bool trimLongTraces(AcDbObjectId polyline);
    bool trimShortTraces(AcDbObjectId polyline);
    void setTriangleWidth(double width);

    // Flags.
    bool flag(Flag f) const;
    void setFlag(Flag f, bool on);
    Adesk::UInt16 flags() const;
    void setFlags(Adesk::UInt16 flags);

    // Plain field access.
    AcDbObjectId edgeId() const;
    AcDbObjectId toeId() const;
    const AcGePoint3dArray& edgePoints() const;
    const AcGePoint3dArray& toePoints() const;
    short longPerTangent() const;
    void setLongPerTangent(short count);
    double shortRatio() const;
    void setShortRatio(double ratio);
    double divisionLength() const;
    void setDivisionLength(double length);
    double triangleWidth() const;
    double toeClearance() const;
    void setToeClearance(double clearance);
    short stepsPerDivision() const;
    void setStepsPerDivision(short steps);
    AcGePoint3d startPoint() const;
    void setStartPoint(const AcGePoint3d& point);
    AcGePoint3d endPoint() const;
    void setEndPoint(const AcGePoint3d& point);
    short shortColor() const;
    void setShortColor(short colorIndex);
    short longColor() const;
    void setLongColor(short colorIndex);
    double longLength() const;
    void setLongLength(double length);
    double shortLength() const;
    void setShortLength(double length);
    const ListTraces& longTraces() const;
    const ListTraces& shortTraces() const;

    // Host entity operations.
    bool worldDraw(AcGiWorldDraw* wd) override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;
    Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                    AcDbIntArray& geomIds) const override;
    Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;
    void list() const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;

    // Grip order: 0 start, 1 end, then base and tip of each long trace (only while long
    // ticks are shown: tick form or ShowLong), then base and tip of each short trace.
    // Moving grip 0 or 1 projects that end onto the edge and rebuilds; trace grips move
    // the point alone. transformBy moves the ticks, the start and end points and, for a
    // symbol that is not linked, its stored edge and toe.

private:
    // The edge's points: from edgeId when linked, else edgePoints. False when there are none.
    bool readEdge(AcGePoint3dArray& points) const;
    fendo::slope::TickSettings tickSettings() const;
    bool longTracesShown() const;
    // The edge's normal at the point's closest place on the full edge (zero without an edge).
    AcGeVector3d edgeNormalAt(const AcGePoint3d& point) const;

    AcDbObjectId m_edgeId;
    AcDbObjectId m_toeId;
    AcGePoint3dArray m_edgePoints;
    AcGePoint3dArray m_toePoints;
    short m_longPerTangent = 1;
    double m_shortRatio = 0.5;
    double m_divisionLength = 5.0;
    double m_triangleWidth = 0.5;
    double m_toeClearance = 0.5;
    short m_stepsPerDivision = 1;
    AcGePoint3d m_startPoint;
    AcGePoint3d m_endPoint;
    short m_shortColor = 1;
    short m_longColor = 256;
    double m_longLength = 10.0;
    double m_shortLength = 5.0;
    Adesk::UInt16 m_flags = 0x0080;
    ListTraces m_longTraces;
    ListTraces m_shortTraces;
};
