// Small steps the browser front end's tests share.
#pragma once
#include "host/db/AcDbSymbolTable.h"
#include "host/db/DbHelpers.h"

namespace fendo::test::web {

inline void setLayerOff(AcDbObjectId layerId, bool off = true)
{
    fendo::db::OpenedObject<AcDbLayerTableRecord> layer(layerId, AcDb::kForWrite);
    if (layer) layer.get()->setIsOff(off);
}

}  // namespace fendo::test::web
