// The working polyline: an in-memory lightweight polyline, never added to a drawing, onto
// which commands copy a picked curve to cut, offset and intersect it with the host's curve
// queries.
#pragma once
#include "host/db/entities/AcDbPolyline.h"

class AcDbDwgFiler;

// Root of the module's shape classes: the shape operations every shape offers.
class BsBase {
public:
    virtual ~BsBase() = default;

    virtual Adesk::UInt16 shapeColorIndex() const = 0;
    virtual void setShapeColorIndex(Adesk::UInt16 index) = 0;
    virtual AcDb::Visibility shapeVisibility() const = 0;
    virtual void setShapeVisibility(AcDb::Visibility visibility) = 0;
    virtual AcDbObjectId shapeLinetype() const = 0;
    virtual void setShapeLinetype(AcDbObjectId linetype) = 0;
    virtual double shapeLinetypeScale() const = 0;
    virtual void setShapeLinetypeScale(double scale) = 0;
    virtual Acad::ErrorStatus shapeTransformBy(const AcGeMatrix3d& xform) = 0;
    virtual Acad::ErrorStatus shapeDwgOutFields(AcDbDwgFiler* filer) const = 0;
    virtual Acad::ErrorStatus shapeDwgInFields(AcDbDwgFiler* filer) = 0;
};

// A shape that is a lightweight polyline: the shape operations act on the polyline part.
class BsPolyline : public BsBase, public AcDbPolyline {
public:
    Adesk::UInt16 shapeColorIndex() const override { return colorIndex(); }
    void setShapeColorIndex(Adesk::UInt16 index) override { setColorIndex(index); }
    AcDb::Visibility shapeVisibility() const override { return visibility(); }
    void setShapeVisibility(AcDb::Visibility v) override { setVisibility(v); }
    AcDbObjectId shapeLinetype() const override { return linetypeId(); }
    void setShapeLinetype(AcDbObjectId linetype) override { setLinetype(linetype); }
    double shapeLinetypeScale() const override { return linetypeScale(); }
    void setShapeLinetypeScale(double scale) override { setLinetypeScale(scale); }
    Acad::ErrorStatus shapeTransformBy(const AcGeMatrix3d& xform) override { return transformBy(xform); }
    // Vertices (point, bulge, widths), closed flag, elevation and normal.
    Acad::ErrorStatus shapeDwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus shapeDwgInFields(AcDbDwgFiler* filer) override;
};

// The working polyline of the cutting and offsetting commands.
class BsPolylineNew : public BsPolyline {
public:
    // Whether crossLine takes any crossing or only one strictly between the two points.
    enum class CrossMode { AnyCrossing, BetweenOnly };

    // Copies a line, arc, circle, lightweight or 2D polyline of the drawing (its colour index,
    // visibility, linetype, linetype scale and normal too), then drops vertices that lie on
    // the next one. False for other kinds or when the object cannot be opened.
    bool loadFrom(AcDbObjectId id);
    // Replaces the vertices (point, bulge, widths), closed flag and elevation by the source's.
    void copyFrom(const AcDbPolyline* source);
    // The part of this polyline between two points on it (in either order) into target:
    // the vertices strictly between them, arcs cut at a point keeping their centre and
    // radius. False when a point is not on the polyline.
    bool subPolyline(const AcGePoint3d& a, const AcGePoint3d& b, BsPolylineNew& target) const;
    // The first curve of the host's offset by the signed distance into target; false when
    // the offset gives no polyline.
    bool offsetTo(double distance, BsPolylineNew& target) const;
    // The first crossing, in segment order, of the plan line through a and b with the
    // polyline's segments (the closing segment of a closed polyline is not examined).
    bool crossLine(const AcGePoint3d& a, const AcGePoint3d& b, AcGePoint3d& crossing, CrossMode mode) const;
};
