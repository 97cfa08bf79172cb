// The graphics interface through which entities draw themselves (worldDraw). The host
// implements it for rendering pictures, for proxy graphics in saved drawings and for
// extents; entities, custom ones included, only call it.
#pragma once
#include <cstdint>
#include "host/core/AcadTypes.h"
#include "host/db/AcCmColor.h"
#include "host/db/AcDbObjectId.h"
#include "host/ge/AcGePoint2d.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeVector3d.h"

class AcDbPolyline;

enum AcGiFillType { kAcGiFillAlways = 1, kAcGiFillNever = 2 };
enum AcGiArcType { kAcGiArcSimple = 0, kAcGiArcSector = 1, kAcGiArcChord = 2 };
enum AcGiRegenType { eAcGiRegenTypeInvalid = 0, kAcGiStandardDisplay = 2, kAcGiHideOrShadeCommand = 3,
                     kAcGiShadedDisplay = 4, kAcGiForExplode = 5, kAcGiSaveWorldDrawForProxy = 6 };

class AcGiSubEntityTraits {
public:
    virtual ~AcGiSubEntityTraits() = default;
    virtual void setColor(Adesk::UInt16 colorIndex) = 0;
    virtual void setTrueColor(const AcCmEntityColor& color) = 0;
    virtual void setLayer(AcDbObjectId layerId) = 0;
    virtual void setLineType(AcDbObjectId linetypeId) = 0;
    virtual void setSelectionMarker(std::intptr_t marker) = 0;
    virtual void setFillType(AcGiFillType type) = 0;
    virtual void setLineWeight(int lineWeight) = 0;
    virtual Adesk::UInt16 color() const = 0;
    virtual AcCmEntityColor trueColor() const = 0;
    virtual AcDbObjectId layerId() const = 0;
    virtual AcGiFillType fillType() const = 0;
};

class AcGiWorldGeometry {
public:
    virtual ~AcGiWorldGeometry() = default;
    // Each primitive returns true when the drawing should stop (regeneration aborted).
    virtual bool polyline(std::uint32_t count, const AcGePoint3d* points, const AcGeVector3d* normal = nullptr,
                          std::intptr_t subEntMarker = -1) = 0;
    virtual bool polygon(std::uint32_t count, const AcGePoint3d* points) = 0;
    virtual bool circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) = 0;
    virtual bool circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                             const AcGeVector3d& startVector, double sweepAngle,
                             AcGiArcType arcType = kAcGiArcSimple) = 0;
    virtual bool text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction,
                      double height, double width, double oblique, const ACHAR* message) = 0;
    // A lightweight polyline drawn with its arcs.
    virtual bool pline(const AcDbPolyline& polyline, std::uint32_t fromIndex = 0, std::uint32_t numSegs = 0) = 0;
};

class AcGiWorldDraw {
public:
    virtual ~AcGiWorldDraw() = default;
    virtual AcGiWorldGeometry& geometry() const = 0;
    virtual AcGiSubEntityTraits& subEntityTraits() const = 0;
    virtual AcGiRegenType regenType() const = 0;
    virtual bool regenAbort() const = 0;
    virtual bool isDragging() const { return false; }
    virtual double deviation(int /*type*/, const AcGePoint3d& /*pt*/) const { return 0.0; }
};

// The view an entity is drawn in, for marks whose size is given relative to the screen.
class AcGiViewport {
public:
    virtual ~AcGiViewport() = default;
    // The view's corners in device units.
    virtual void getViewportDcCorners(AcGePoint2d& lowerLeft, AcGePoint2d& upperRight) const = 0;
    // Device units per drawing unit, across and up, at the given point.
    virtual void getNumPixelsInUnitSquare(const AcGePoint3d& worldPoint, AcGePoint2d& pixelArea,
                                          bool includePerspective = true) const = 0;
};

// A target that knows its view: an entity whose worldDraw returns false is asked to draw
// through viewportDraw with it.
class AcGiViewportDraw : public AcGiWorldDraw {
public:
    virtual AcGiViewport& viewport() const = 0;
};
