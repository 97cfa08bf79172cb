// The layouts and the plot style dictionary that a drawing's OBJECTS section must hold for
// other programs to open it without repairs.
#include "host/dxf/DefaultObjects.h"

#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/AcDbUnknownObject.h"

namespace fendo::dxf {
namespace {

using fendo::db::RawTag;

void keep(AcDbObject* obj, const std::wstring& subclass, short code, std::string value)
{
    obj->keepGroup(subclass, RawTag{code, std::move(value)});
}

// The plot settings and layout groups CAD programs expect of a LAYOUT, for an A4-less
// "none" device: values are those of a fresh drawing.
void fillLayout(AcDbUnknownObject* layout, const std::string& name, int tabOrder, bool model,
                AcDbObjectId block)
{
    const std::wstring ps = L"AcDbPlotSettings";
    keep(layout, L"", 100, "AcDbPlotSettings");
    keep(layout, ps, 1, "");
    keep(layout, ps, 2, "none_device");
    keep(layout, ps, 4, "");
    keep(layout, ps, 6, "");
    for (short code : {40, 41, 42, 43}) keep(layout, ps, code, "0.0");
    keep(layout, ps, 44, "0.0");
    keep(layout, ps, 45, "0.0");
    for (short code : {46, 47, 48, 49}) keep(layout, ps, code, "0.0");
    keep(layout, ps, 140, "0.0");
    keep(layout, ps, 141, "0.0");
    keep(layout, ps, 142, "1.0");
    keep(layout, ps, 143, "1.0");
    keep(layout, ps, 70, model ? "1712" : "688");
    keep(layout, ps, 72, "1");
    keep(layout, ps, 73, "0");
    keep(layout, ps, 74, "5");
    keep(layout, ps, 7, "");
    keep(layout, ps, 75, "16");
    keep(layout, ps, 147, "1.0");
    keep(layout, ps, 148, "0.0");
    keep(layout, ps, 149, "0.0");
    keep(layout, ps, 76, "0");
    keep(layout, ps, 77, "2");
    keep(layout, ps, 78, "300");
    keep(layout, ps, 100, "AcDbLayout");
    const std::wstring lo = L"AcDbLayout";
    keep(layout, lo, 1, name);
    keep(layout, lo, 70, "1");
    keep(layout, lo, 71, std::to_string(tabOrder));
    keep(layout, lo, 10, "0.0");
    keep(layout, lo, 20, "0.0");
    keep(layout, lo, 11, "420.0");
    keep(layout, lo, 21, "297.0");
    for (short code : {12, 22, 32}) keep(layout, lo, code, "0.0");
    for (short code : {14, 24, 34}) keep(layout, lo, code, "1e+20");
    for (short code : {15, 25, 35}) keep(layout, lo, code, "-1e+20");
    keep(layout, lo, 146, "0.0");
    for (short code : {13, 23, 33}) keep(layout, lo, code, "0.0");
    keep(layout, lo, 16, "1.0");
    keep(layout, lo, 26, "0.0");
    keep(layout, lo, 36, "0.0");
    keep(layout, lo, 17, "0.0");
    keep(layout, lo, 27, "1.0");
    keep(layout, lo, 37, "0.0");
    keep(layout, lo, 76, "0");
    keep(layout, lo, 330, block.handle().hex());
}

AcDbObjectId ensureDictionary(AcDbDatabase& db, AcDbDictionary* nod, const ACHAR* key)
{
    AcDbObjectId id;
    if (nod->getAt(key, id) == Acad::eOk) return id;
    auto* dict = new AcDbDictionary;
    if (nod->setAt(key, dict, id) != Acad::eOk) {
        delete dict;
        return AcDbObjectId();
    }
    dict->addPersistentReactor(nod->objectId());
    dict->close();
    db.objectsSectionOrder().push_back(id);
    return id;
}

void ensureLayout(AcDbDatabase& db, AcDbObjectId layoutDict, AcDbObjectId blockId, const ACHAR* name, int tabOrder,
                  bool model)
{
    AcDbBlockTableRecord* btr = nullptr;
    if (acdbOpenObject(btr, blockId, AcDb::kForWrite) != Acad::eOk) return;
    AcDbDictionary* dict = nullptr;
    if (acdbOpenObject(dict, layoutDict, AcDb::kForWrite) != Acad::eOk) {
        btr->close();
        return;
    }
    AcDbObjectId existing;
    if (!btr->getLayoutId().isNull() && btr->getLayoutId().isValid()) {
        // Linked already; nothing to add.
    } else if (dict->getAt(name, existing) == Acad::eOk) {
        btr->setLayoutId(existing);
    } else {
        auto* layout = new AcDbUnknownObject(L"LAYOUT");
        AcDbObjectId id;
        if (dict->setAt(name, layout, id) == Acad::eOk) {
            layout->addPersistentReactor(layoutDict);
            fillLayout(layout, fendo::toUtf8(name), tabOrder, model, blockId);
            layout->close();
            btr->setLayoutId(id);
            db.objectsSectionOrder().push_back(id);
        } else {
            delete layout;
        }
    }
    dict->close();
    btr->close();
}

}  // namespace

void addDefaultLayouts(AcDbDatabase& db)
{
    AcDbDictionary* nod = nullptr;
    if (db.getNamedObjectsDictionary(nod, AcDb::kForWrite) != Acad::eOk) return;
    const AcDbObjectId layouts = ensureDictionary(db, nod, L"ACAD_LAYOUT");

    // Plot style names: a dictionary with a default entry, "Normal".
    AcDbObjectId plotStyles;
    if (nod->getAt(L"ACAD_PLOTSTYLENAME", plotStyles) != Acad::eOk) {
        auto* dict = new AcDbUnknownObject(L"ACDBDICTIONARYWDFLT");
        if (nod->setAt(L"ACAD_PLOTSTYLENAME", dict, plotStyles) == Acad::eOk) {
            dict->addPersistentReactor(nod->objectId());
            db.objectsSectionOrder().push_back(plotStyles);
            auto* normal = new AcDbUnknownObject(L"ACDBPLACEHOLDER");
            AcDbObjectId normalId;
            if (db.addAcDbObject(normalId, normal) == Acad::eOk) {
                normal->setOwnerId(plotStyles);
                normal->addPersistentReactor(plotStyles);
                normal->close();
                db.objectsSectionOrder().push_back(normalId);
                const std::wstring d = L"AcDbDictionary";
                keep(dict, L"", 100, "AcDbDictionary");
                keep(dict, d, 281, "1");
                keep(dict, d, 3, "Normal");
                keep(dict, d, 350, normalId.handle().hex());
                keep(dict, d, 100, "AcDbDictionaryWithDefault");
                keep(dict, L"AcDbDictionaryWithDefault", 340, normalId.handle().hex());
            }
            dict->close();
        } else {
            delete dict;
        }
    }
    nod->close();
    if (layouts.isNull()) return;
    ensureLayout(db, layouts, db.modelSpaceId(), L"Model", 0, true);
    ensureLayout(db, layouts, db.paperSpaceId(), L"Layout1", 1, false);
}

}  // namespace fendo::dxf
