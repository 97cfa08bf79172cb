// Creating entity objects for drawing-file records, for the DXF reader.
//
// Three DXF names stand for more than one class: POLYLINE (AcDb2dPolyline, or
// AcDb3dPolyline when bit 8 of group 70 is set), VERTEX (AcDb2dVertex, or
// AcDb3dPolylineVertex when bit 32 of group 70 is set) and DIMENSION (AcDbRotatedDimension
// for type 0, AcDbAlignedDimension for type 1 in the low bits of group 70). Polyface and
// mesh polylines and vertices and other dimension types are not modelled: the factory gives
// null for them and the reader keeps the records as unknown entities.
#pragma once
#include <string>
#include "host/db/AcDbEntity.h"

namespace fendo::db {

AcDbEntity* createPolylineFromFlags(int flags70);
AcDbEntity* createVertexFromFlags(int flags70);
AcDbEntity* createDimensionFromType(int flags70);

// The object for a record of the given DXF name whose groups (after group 0) are given:
// the three names above are decided by their group 70, every other name by the class
// registered under it. Null when no class models the record.
AcDbObject* createObjectForRecord(const std::wstring& dxfName, const RawTags& groups);

// Registers every entity class of the host (done when the library is loaded; calling it
// again does nothing).
void registerEntityClasses();

}  // namespace fendo::db
