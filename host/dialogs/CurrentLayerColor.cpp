// The current layer's colour, which the colour combo and the colour dialog show for ByLayer.
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/dialogs/AcUiColorComboBox.h"

namespace {
constexpr int kDefaultLayerColor = 7; // white, the colour of a new layer
}

int getCurrentLayerColor()
{
    AcDbDatabase* db =
        acdbHostApplicationServices() ? acdbHostApplicationServices()->workingDatabase() : nullptr;
    if (!db) return kDefaultLayerColor;
    AcDbLayerTableRecord* layer = nullptr;
    if (acdbOpenObject(layer, db->clayer(), AcDb::kForRead) != Acad::eOk || !layer) return kDefaultLayerColor;
    const int index = layer->color().colorIndex();
    layer->close();
    return index;
}
