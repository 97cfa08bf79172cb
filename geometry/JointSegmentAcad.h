// The drawing side of the joining engine: lines and 3D polylines of the drawing are joined
// into new 3D polylines that replace them.
#pragma once
#include <vector>
#include "geometry/JointSegment.h"
#include "host/db/AcDbObject.h"
#include "host/ge/AcGePoint3dArray.h"

class JointSegmentAcad : public JointSegment {
public:
    // What the joined chains are written as.
    enum class Output { Polyline3d, Polyline2d };

    // Adds each line or 3D polyline by its two ends (objects that do not open are skipped),
    // with the status-bar progress meter following the list.
    void addEntities(const AcDbObjectIdArray& ids);

    // Writes the chain's pieces out as 3D polylines: level pieces are appended to the
    // polyline being built, a sloping piece starts a new one. Each polyline takes the
    // properties and extended data of its first piece; the joined pieces are erased.
    int onChain(const std::vector<Adesk::Int32>& ids, const std::vector<int>& flags, int count) override;

    void setOutput(Output output) { m_output = output; }
    // The polylines written so far.
    const AcDbObjectIdArray& createdIds() const { return m_created; }
    // The drawing object behind an identifier handed to the engine.
    AcDbObjectId pieceId(Adesk::Int32 identifier) const;

private:
    void writeOut(const AcGePoint3dArray& points, AcDbObjectId source);

    std::vector<AcDbObjectId> m_pieces;
    AcDbObjectIdArray m_created;
    Output m_output = Output::Polyline3d;
};
