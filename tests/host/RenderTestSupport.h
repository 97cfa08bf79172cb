// Drawings for the picture and proxy-graphics tests: a test-only custom entity (a survey
// mark drawn as a cross, a circle, a filled flag and its name) and helpers to add entities.
#pragma once
#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbFiler.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbText.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/gi/AcGi.h"

class RenderTestMark : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(RenderTestMark);

public:
    AcGePoint3d at;
    std::wstring name = L"M1";

    // Registered as a module's class would be, so that it counts as custom.
    static void registerAsCustom() { desc()->setCustom(true); }

    bool worldDraw(AcGiWorldDraw* wd) override
    {
        const AcGePoint3d h[2] = {at + AcGeVector3d(-1, 0, 0), at + AcGeVector3d(1, 0, 0)};
        const AcGePoint3d v[2] = {at + AcGeVector3d(0, -1, 0), at + AcGeVector3d(0, 1, 0)};
        wd->geometry().polyline(2, h);
        wd->geometry().polyline(2, v);
        wd->geometry().circle(at, 2.0, AcGeVector3d::kZAxis);
        wd->subEntityTraits().setColor(1);
        wd->subEntityTraits().setFillType(kAcGiFillAlways);
        const AcGePoint3d flag[3] = {at + AcGeVector3d(0, 1, 0), at + AcGeVector3d(1.5, 1.5, 0), at + AcGeVector3d(0, 2, 0)};
        wd->geometry().polygon(3, flag);
        wd->subEntityTraits().setFillType(kAcGiFillNever);
        wd->subEntityTraits().setColor(256);
        wd->geometry().text(at + AcGeVector3d(2.5, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d::kXAxis, 1.0, 1.0, 0.0,
                            name.c_str());
        return true;
    }
    Acad::ErrorStatus explode(AcDbVoidPtrArray& pieces) const override
    {
        auto* a = new AcDbLine(at + AcGeVector3d(-1, 0, 0), at + AcGeVector3d(1, 0, 0));
        auto* b = new AcDbLine(at + AcGeVector3d(0, -1, 0), at + AcGeVector3d(0, 1, 0));
        auto* c = new AcDbCircle(at, AcGeVector3d::kZAxis, 2.0);
        auto* t = new AcDbText(at + AcGeVector3d(2.5, 0, 0), name.c_str(), AcDbObjectId(), 1.0);
        for (AcDbEntity* e : {static_cast<AcDbEntity*>(a), static_cast<AcDbEntity*>(b), static_cast<AcDbEntity*>(c),
                              static_cast<AcDbEntity*>(t)}) {
            e->setPropertiesFrom(this);
            pieces.append(e);
        }
        return Acad::eOk;
    }
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override
    {
        AcDbEntity::dxfOutFields(filer);
        filer->writeString(AcDb::kDxfSubclass, L"RenderTestMark");
        filer->writePoint3d(AcDb::kDxfXCoord, at);
        filer->writeString(AcDb::kDxfText, name.c_str());
        return filer->filerStatus();
    }
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override
    {
        Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer);
        if (es != Acad::eOk) return es;
        if (!filer->atSubclassData(L"RenderTestMark")) return Acad::eBadDxfSequence;
        resbuf rb;
        while (filer->readItem(&rb) == Acad::eOk) {
            if (rb.restype == 10) at = AcGePoint3d(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]);
            else if (rb.restype == 1) name = rb.resval.rstring;
            else filer->keepUnknownItem();
        }
        return filer->filerStatus();
    }
};

namespace rendertest {

// Adds a layer (colour index, off and frozen as asked) and returns its id.
AcDbObjectId addLayer(AcDbDatabase& db, const wchar_t* name, int color, bool off = false, bool frozen = false);
// Appends an entity to model space (or to the block record `owner`) on `layer`, closed.
AcDbObjectId append(AcDbDatabase& db, AcDbEntity* e, const wchar_t* layer = L"0", int color = 256,
                    AcDbObjectId owner = AcDbObjectId());

}  // namespace rendertest
