// Creation of entity objects for drawing-file records, and registration of the entity classes.
#include "host/db/entities/EntityFactory.h"

#include <cstdlib>

#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbArc.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/db/entities/AcDbDimension.h"
#include "host/db/entities/AcDbGroup.h"
#include "host/db/entities/AcDbHatch.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/AcDbPoint.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbSpline.h"
#include "host/db/entities/AcDbTable.h"
#include "host/db/entities/AcDbViewport.h"

namespace fendo::db {

namespace {
enum { k3dPolylineFlag = 8, kMeshFlag = 16, kPolyfaceFlag = 64, k3dVertexFlag = 32, kMeshVertexFlag = 64,
       kPolyfaceVertexFlag = 128, kDimensionTypeMask = 7 };

int firstInt(const RawTags& groups, short code, int fallback)
{
    for (const RawTag& t : groups)
        if (t.code == code) return std::atoi(t.value.c_str());
    return fallback;
}
}  // namespace

AcDbEntity* createPolylineFromFlags(int flags70)
{
    if (flags70 & (kMeshFlag | kPolyfaceFlag)) return nullptr;
    if (flags70 & k3dPolylineFlag) return new AcDb3dPolyline;
    return new AcDb2dPolyline;
}

AcDbEntity* createVertexFromFlags(int flags70)
{
    if (flags70 & (kMeshVertexFlag | kPolyfaceVertexFlag)) return nullptr;
    if (flags70 & k3dVertexFlag) return new AcDb3dPolylineVertex;
    return new AcDb2dVertex;
}

AcDbEntity* createDimensionFromType(int flags70)
{
    switch (flags70 & kDimensionTypeMask) {
    case 0: return new AcDbRotatedDimension;
    case 1: return new AcDbAlignedDimension;
    default: return nullptr;
    }
}

AcDbObject* createObjectForRecord(const std::wstring& dxfName, const RawTags& groups)
{
    registerEntityClasses();
    if (dxfName == L"POLYLINE") return createPolylineFromFlags(firstInt(groups, 70, 0));
    if (dxfName == L"VERTEX") return createVertexFromFlags(firstInt(groups, 70, 0));
    if (dxfName == L"DIMENSION") return createDimensionFromType(firstInt(groups, 70, 0));
    AcRxClass* cls = acrxFindClassByDxfName(dxfName);
    if (!cls) return nullptr;
    AcRxObject* obj = cls->create();
    auto* dbObj = AcDbObject::cast(obj);
    if (!dbObj) delete obj;
    return dbObj;
}

void registerEntityClasses()
{
    static const bool done = [] {
        AcDbLine::rxInit();
        AcDbCircle::rxInit();
        AcDbArc::rxInit();
        AcDbPoint::rxInit();
        AcDbPolyline::rxInit();
        // Registered 3D first so that a plain lookup of POLYLINE and VERTEX finds the 2D classes.
        AcDbVertex::rxInit();
        AcDb3dPolylineVertex::rxInit();
        AcDb2dVertex::rxInit();
        AcDb3dPolyline::rxInit();
        AcDb2dPolyline::rxInit();
        AcDbSequenceEnd::rxInit();
        AcDbSpline::rxInit();
        AcDbText::rxInit();
        AcDbMText::rxInit();
        AcDbAttribute::rxInit();
        AcDbAttributeDefinition::rxInit();
        AcDbBlockReference::rxInit();
        AcDbDimension::rxInit();
        AcDbAlignedDimension::rxInit();
        AcDbRotatedDimension::rxInit();
        AcDbHatch::rxInit();
        AcDbViewport::rxInit();
        AcDbGroup::rxInit();
        AcDbTableStyle::rxInit();
        AcDbTable::rxInit();
        return true;
    }();
    (void)done;
}

namespace {
// Registers the classes when the library is loaded, so that lookups by DXF name find them.
const bool kRegistered = (registerEntityClasses(), true);
}  // namespace

}  // namespace fendo::db
