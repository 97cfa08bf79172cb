// The boundary tag of a polyline: extended data marking it as a site-clearance line
// ("TKD_GPMB") or a right-of-way line ("TKD_LOGIOI"), one text value under the application.
#pragma once
#include <string>
#include "host/db/AcDbObject.h"

namespace fendo::poly {

enum class BoundaryKind { None, SiteClearance, RightOfWay };

struct BoundaryTag {
    BoundaryKind kind = BoundaryKind::None;
    std::wstring text;
};

// The object's tag; "TKD_GPMB" is looked for first. Kind None when it has neither.
BoundaryTag readBoundaryTag(const AcDbObject* object);
// Registers the tag's application and sets the tag on the object, opened for write here.
// Nothing is written for kind None.
Acad::ErrorStatus writeBoundaryTag(AcDbObjectId id, const BoundaryTag& tag);

}  // namespace fendo::poly
