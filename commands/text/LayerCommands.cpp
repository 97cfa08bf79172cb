// Layer commands "22" (turn off picked objects' layers), "33" (keep only picked objects'
// layers on), "11" (all layers on) and "44" (erase everything on a picked object's layer).
#include "commands/text/TextCommands.h"

#include <string>
#include <vector>
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "frame/Tcvn3.h"
#include "frame/WalkProgress.h"
#include "host/db/AcDbDatabase.h"
#include "host/editor/MessageBox.h"
#include "host/editor/aced.h"

namespace {
AcDbDatabase* workingDb() { return acdbHostApplicationServices()->workingDatabase(); }

// Picks one object and reads its layer name; false when nothing usable was picked.
bool pickLayerName(int promptId, std::wstring& layerName)
{
    const std::wstring prompt = LoadPrompt(promptId);
    AcDbObjectId id = pickEntity(prompt.c_str(), Highlight::No);
    AcDbEntity* entity = nullptr;
    if (id.isNull() || acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) return false;
    layerName = entity->layer();
    entity->close();
    return true;
}

// Opens every unerased layer for write in turn; records that cannot be opened are passed over.
template <typename Fn>
void forEachLayer(Fn&& fn)
{
    AcDbLayerTable* table = nullptr;
    if (workingDb()->getLayerTable(table, AcDb::kForRead) != Acad::eOk) return;
    AcDbSymbolTableIterator* it = nullptr;
    if (table->newIterator(it) == Acad::eOk) {
        for (it->start(); !it->done(); it->step()) {
            AcDbLayerTableRecord* record = nullptr;
            if (it->getRecord(record, AcDb::kForWrite) != Acad::eOk) continue;
            fn(record);
            record->close();
        }
        delete it;
    }
    table->close();
}
}  // namespace

void cmdLayerOffByPick()
{
    for (;;) {
        std::wstring layerName;
        if (!pickLayerName(27, layerName)) {
            acedAlert(LoadPrompt(28).c_str());
            return;
        }
        AcDbLayerTable* table = nullptr;
        if (workingDb()->getLayerTable(table, AcDb::kForRead) != Acad::eOk) return;
        AcDbLayerTableRecord* record = nullptr;
        const Acad::ErrorStatus es = table->getAt(layerName.c_str(), record, AcDb::kForWrite);
        table->close();
        if (es != Acad::eOk) {
            acedAlert(LoadPrompt(29).c_str());
            return;
        }
        record->setIsOff(true);
        record->close();
    }
}

void cmdKeepPickedLayers()
{
    std::vector<std::wstring> keep;
    std::wstring layerName;
    while (pickLayerName(31, layerName)) keep.push_back(layerName);
    forEachLayer([&](AcDbLayerTableRecord* record) {
        for (const auto& name : keep)
            if (fendo::equalsNoCase(name, record->name())) return;
        record->setIsOff(true);
    });
}

void cmdAllLayersOn()
{
    forEachLayer([](AcDbLayerTableRecord* record) { record->setIsOff(false); });
}

void cmdEraseByLayer()
{
    std::wstring layerName;
    if (!pickLayerName(30, layerName)) {
        acedAlert(LoadPrompt(28).c_str());
        return;
    }
    // The command's own texts are TCVN3 bytes like the string table's, decoded for display; the
    // layer name is the drawing's own text and goes in as it is.
    const std::wstring question =
        DecodeTcvn3Text("Co chac chan xoa \"") + layerName + DecodeTcvn3Text("\" kh\xABng ?");
    if (acedMessageBox(question.c_str(), L"", MB_OKCANCEL) != IDOK) return;

    std::vector<AcDbObjectId> ids;
    selectAllByFilter(CResbuf(8, layerName.c_str()), ids, AppendIds::No);
    fendo::WalkProgress progress(L"44", ids.size());
    for (const AcDbObjectId& id : ids) {
        progress.next();
        AcDbObject* obj = nullptr;
        if (acdbOpenObject(obj, id, AcDb::kForWrite, true) != Acad::eOk) continue;
        obj->erase();
        obj->close();
    }
    acutPrintf(DecodeTcvn3Text("\nda xoa duoc %d doi tuong l\xEDp %s !").c_str(), static_cast<int>(ids.size()),
               layerName.c_str());
}
