// Helpers shared by the entity classes: reading a subclass section from a DXF filer,
// object coordinate systems, exact arc bounds, symbol lookups and peeking at related objects.
#pragma once
#include <string>
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbExtents.h"
#include "host/db/AcDbFiler.h"
#include "host/fonts/TextMetrics.h"
#include "host/ge/AcGeMatrix3d.h"

class AcDbDatabase;

namespace fendo::db::ent {

// Reads the groups of one subclass section: handle(rb) returns true for a group it took;
// every other group is kept for writing back. The section marker must have been passed
// (atSubclassData) by the caller.
template <typename Handler>
Acad::ErrorStatus readSection(AcDbDxfFiler* filer, Handler&& handle)
{
    resbuf rb{};
    Acad::ErrorStatus es;
    while ((es = filer->readItem(&rb)) == Acad::eOk) {
        if (!handle(rb)) filer->keepUnknownItem();
    }
    return es == Acad::eEndOfObject ? Acad::eOk : es;
}

// Passes the marker of a subclass section; a file that lacks it (written by a careless
// program) is still read, its groups then belong to whatever section is current.
void enterSection(AcDbDxfFiler* filer, const ACHAR* subclass);

// Values of a group just read.
AcGePoint3d asPoint(const resbuf& rb);
AcGeVector3d asVector(const resbuf& rb);
double asReal(const resbuf& rb);
int asInt(const resbuf& rb);
std::wstring asString(const resbuf& rb);
// An angle group as written in the file (degrees), returned in radians.
double angleOfLastItem(AcDbDxfFiler* filer);
// A handle group, as the id of the object it names.
AcDbObjectId idOfLastItem(AcDbDxfFiler* filer);

// The object of an id without opening it (null when not loaded or erased), for reading
// related objects (vertices, styles) from inside an entity's own methods.
AcDbObject* peekObject(AcDbObjectId id, bool allowErased = false);
template <typename T>
T* peek(AcDbObjectId id, bool allowErased = false)
{
    return T::cast(peekObject(id, allowErased));
}

// Symbol lookups by name in a table of the filer's database (null id when missing), and
// the name of a record.
AcDbObjectId lookupRecord(AcDbDatabase* db, AcDbObjectId tableId, const std::wstring& name);
std::wstring recordName(AcDbObjectId recordId);
// The text style's font, or the default style font when the style cannot be read.
fendo::fonts::TextStyleFont textStyleFont(AcDbObjectId styleId);

// Object coordinate systems (arbitrary-axis rule).
AcGeMatrix3d ocsToWcs(const AcGeVector3d& normal);
AcGeMatrix3d wcsToOcs(const AcGeVector3d& normal);
bool isDefaultNormal(const AcGeVector3d& normal);
// The normal's unit form; the z axis for a zero vector.
AcGeVector3d unitNormal(const AcGeVector3d& normal);

// Adds the exact bounds of the arc from startAngle to endAngle (radians, counter-clockwise
// about normal from the plane's x axis) to the extents.
void addArcExtents(AcDbExtents& ext, const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                   double startAngle, double endAngle);
// An angle brought into [0, 2pi).
double normalizeAngle(double a);

// True for rotations, mirrorings, translations and uniform scalings: the transformations
// that keep circles circular.
bool keepsShape(const AcGeMatrix3d& xform);
// Transforms a planar frame (normal and an in-plane direction); returns the new normal
// and the new direction's angle in the new plane's OCS. mirrored is set when the map
// reverses the plane's sense of rotation as seen along the new normal (angles then run
// the other way).
struct PlaneMap {
    AcGeVector3d normal;
    bool mirrored = false;
};
PlaneMap mapPlane(const AcGeMatrix3d& xform, const AcGeVector3d& normal);
// The angle, in the OCS of newNormal, of a world direction.
double angleInOcs(const AcGeVector3d& dir, const AcGeVector3d& normal);
// The world direction of an angle in the OCS of normal.
AcGeVector3d directionInOcs(double angle, const AcGeVector3d& normal);

// A count the file gave (group `code` at `line`, 0 when not from a file) that the groups
// after it do not bear out: the record is refused with a message naming the line, the
// group and what was expected. Counts never size an allocation before the data is there.
Acad::ErrorStatus countNotBorneOut(AcDbDxfFiler* filer, int line, int code, long long count, size_t present,
                                   const char* items);

// Forgets the groups kept from a file for one subclass section (after a change that makes
// the object write that section from its own data).
void dropKeptSection(AcDbObject* obj, const std::wstring& subclass);

}  // namespace fendo::db::ent
