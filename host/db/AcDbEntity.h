// Base of drawing entities: common properties (layer, colour, linetype, visibility),
// geometry queries, transformation, drawing, explode and grips.
#pragma once
#include <functional>
#include "host/db/AcCmColor.h"
#include "host/db/AcDbExtents.h"
#include "host/db/AcDbObject.h"
#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/AcGePoint3dArray.h"

class AcGiWorldDraw;
class AcGiViewportDraw;

namespace AcDb {
enum Intersect { kOnBothOperands = 0, kExtendThis = 1, kExtendArg = 2, kExtendBoth = 3 };
enum LineWeight : int { kLnWt000 = 0, kLnWtByLayer = -1, kLnWtByBlock = -2, kLnWtByLwDefault = -3 };
enum OsnapMode { kOsModeEnd = 1, kOsModeMid = 2, kOsModeCen = 3, kOsModeNode = 4, kOsModeQuad = 5,
                 kOsModeIns = 7, kOsModePerp = 8, kOsModeTan = 9, kOsModeNear = 10 };
}  // namespace AcDb

namespace Adesk {
using GsMarker = std::intptr_t;
}

class AcDbEntity : public AcDbObject {
    ACRX_DECLARE_MEMBERS(AcDbEntity);

public:
    AcDbEntity();

    AcDbObjectId blockId() const { return ownerId(); }

    AcCmColor color() const { return m_color; }
    Acad::ErrorStatus setColor(const AcCmColor& color, bool doSubents = true);
    Adesk::UInt16 colorIndex() const { return m_color.colorIndex(); }
    Acad::ErrorStatus setColorIndex(Adesk::UInt16 index, bool doSubents = true);
    AcCmEntityColor entityColor() const { return m_color; }

    // Layer by name: setLayer fails with eKeyNotFound when the drawing has no such layer.
    AcString layer() const;
    AcDbObjectId layerId() const { return m_layerId; }
    Acad::ErrorStatus setLayer(const ACHAR* layerName, bool doSubents = true, bool allowHiddenLayer = false);
    Acad::ErrorStatus setLayer(AcDbObjectId layerId, bool doSubents = true, bool allowHiddenLayer = false);

    AcString linetype() const;
    AcDbObjectId linetypeId() const { return m_linetypeId; }
    Acad::ErrorStatus setLinetype(const ACHAR* name, bool doSubents = true);
    Acad::ErrorStatus setLinetype(AcDbObjectId id, bool doSubents = true);
    double linetypeScale() const { return m_ltscale; }
    Acad::ErrorStatus setLinetypeScale(double scale, bool doSubents = true);
    AcDb::LineWeight lineWeight() const { return static_cast<AcDb::LineWeight>(m_lineweight); }
    Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight, bool doSubents = true);
    AcDb::Visibility visibility() const { return static_cast<AcDb::Visibility>(m_visibility); }
    Acad::ErrorStatus setVisibility(AcDb::Visibility v, bool doSubents = true);
    // Entities of paper space carry group 67 = 1.
    bool inPaperSpace() const { return m_paperSpace; }
    // Subentities are in their owner's space.
    void setInPaperSpace(bool p)
    {
        if (p == m_paperSpace) return;
        beforePropertiesChange(true);
        m_paperSpace = p;
        applyToSubentities([p](AcDbEntity* sub) { sub->setInPaperSpace(p); });
    }

    // Copies layer, colour, linetype, linetype scale, line weight and visibility.
    Acad::ErrorStatus setPropertiesFrom(const AcDbEntity* other, bool doSubents = true);
    // Gives the entity the drawing's current layer, linetype and colour.
    void setDatabaseDefaults(AcDbDatabase* db = nullptr);

    // Geometry.
    virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;
    virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);
    virtual Acad::ErrorStatus getTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& copy) const;
    // New entities (not in a database, owned by the caller) that together replace this one.
    virtual Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const;
    virtual Acad::ErrorStatus intersectWith(const AcDbEntity* other, AcDb::Intersect type, AcGePoint3dArray& points,
                                            Adesk::GsMarker thisGsMarker = 0,
                                            Adesk::GsMarker otherGsMarker = 0) const;

    // Drawing: worldDraw returns true when the entity needs no viewport-dependent part.
    // Prints the entity's properties on the command line; the base prints nothing.
    virtual void list() const {}
    virtual bool worldDraw(AcGiWorldDraw* wd);
    virtual void viewportDraw(AcGiViewportDraw* vd);

    // Grips.
    virtual Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                            AcDbIntArray& geomIds) const;
    virtual Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset);
    virtual Acad::ErrorStatus getOsnapPoints(AcDb::OsnapMode mode, Adesk::GsMarker gsSelectionMark,
                                             const AcGePoint3d& pickPoint, const AcGePoint3d& lastPoint,
                                             const AcGeMatrix3d& viewXform, AcGePoint3dArray& snapPoints,
                                             AcDbIntArray& geomIds) const;

    Acad::ErrorStatus highlight() const;
    Acad::ErrorStatus unhighlight() const;
    bool isHighlighted() const { return m_highlighted; }

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

protected:
    // Called before the common properties change. An entity whose held subentities take
    // these properties from it (see AcDbStub::held) makes their objects first, unless the
    // change goes to its subentities too (they follow it as they are).
    virtual void beforePropertiesChange(bool subentitiesFollow = false) { (void)subentitiesFollow; }
    // A change of a common property asked for the subentities too (doSubents): entities that
    // own subentities (heavy polylines) give it to those that are objects; held ones take
    // their properties from the entity anyway.
    virtual void applyToSubentities(const std::function<void(AcDbEntity*)>& change) { (void)change; }

private:
    // The small members first: they share the end of AcDbObject's last word.
    AcCmColor m_color;
    std::int16_t m_lineweight = AcDb::kLnWtByLayer;  // -3 .. 211
    std::uint8_t m_visibility = AcDb::kVisible;
    bool m_paperSpace = false;
    mutable bool m_highlighted = false;
    AcDbObjectId m_layerId;
    AcDbObjectId m_linetypeId;
    double m_ltscale = 1.0;
};
