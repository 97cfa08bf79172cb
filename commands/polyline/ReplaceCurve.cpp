// Shared steps of the curve replacing commands: source look and appending the replacement.
#include "commands/polyline/ReplaceCurve.h"

#include "frame/DrawingHelpers.h"

namespace fendo::poly {

SourceLook lookOf(const AcDbEntity* source)
{
    SourceLook look;
    look.layer = source->layer();
    look.colorIndex = source->colorIndex();
    return look;
}

void appendLike(AcDbEntity* made, const SourceLook& look)
{
    made->setLayer(look.layer.c_str());
    if (look.colorIndex >= 1 && look.colorIndex <= 255)
        made->setColorIndex(static_cast<Adesk::UInt16>(look.colorIndex));
    if (appendToCurrentSpace(made) != Acad::eOk && made->objectId().isNull()) delete made;
}

}  // namespace fendo::poly
