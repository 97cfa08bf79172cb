// Reading and writing the boundary tag of polylines.
#include "commands/polyline/BoundaryTag.h"

#include "host/core/adsdef.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/DbHelpers.h"

namespace fendo::poly {
namespace {
constexpr const ACHAR* kSiteClearanceApp = L"TKD_GPMB";
constexpr const ACHAR* kRightOfWayApp = L"TKD_LOGIOI";

const ACHAR* applicationOf(BoundaryKind kind)
{
    switch (kind) {
    case BoundaryKind::SiteClearance:
        return kSiteClearanceApp;
    case BoundaryKind::RightOfWay:
        return kRightOfWayApp;
    case BoundaryKind::None:
        break;
    }
    return nullptr;
}
}  // namespace

BoundaryTag readBoundaryTag(const AcDbObject* object)
{
    BoundaryTag tag;
    for (const BoundaryKind kind : {BoundaryKind::SiteClearance, BoundaryKind::RightOfWay}) {
        resbuf* data = object->xData(applicationOf(kind));
        if (!data) continue;
        tag.kind = kind;
        for (const resbuf* rb = data; rb; rb = rb->rbnext)
            if (rb->restype == AcDb::kDxfXdAsciiString && rb->resval.rstring) {
                tag.text = rb->resval.rstring;
                break;
            }
        acutRelRb(data);
        break;
    }
    return tag;
}

Acad::ErrorStatus writeBoundaryTag(AcDbObjectId id, const BoundaryTag& tag)
{
    const ACHAR* app = applicationOf(tag.kind);
    if (!app) return Acad::eOk;
    if (!acdbRegApp(app)) return Acad::eRegappIdNotFound;
    fendo::db::OpenedObject<AcDbObject> object(id, AcDb::kForWrite);
    if (!object) return object.openStatus();
    resbuf* data = acutBuildList(AcDb::kDxfRegAppName, app, AcDb::kDxfXdAsciiString, tag.text.c_str(), RTNONE);
    const Acad::ErrorStatus es = object->setXData(data);
    acutRelRb(data);
    return es;
}

}  // namespace fendo::poly
