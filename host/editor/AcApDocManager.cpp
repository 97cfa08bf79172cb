// The single-document manager of the stand-in host.
#include "host/editor/AcApDocManager.h"

#include "host/db/AcDbDatabase.h"
#include "host/dialogs/ResourceModule.h"

AcDbDatabase* AcApDocument::database() const { return acdbHostApplicationServices()->workingDatabase(); }

Acad::ErrorStatus AcApDocManager::lockDocument(AcApDocument* doc, AcAp::DocLockMode, const ACHAR*, const ACHAR*, bool)
{
    if (!doc) return Acad::eNullObjectPointer;
    ++doc->m_lockCount;
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::unlockDocument(AcApDocument* doc)
{
    if (!doc || doc->m_lockCount == 0) return Acad::eNotApplicable;
    --doc->m_lockCount;
    return Acad::eOk;
}

void AcApDocManager::pushResourceHandle(const ResourceModule* module) { pushResourceModule(module); }

void AcApDocManager::popResourceHandle() { popResourceModule(); }

AcApDocManager* acDocManagerPtr()
{
    static AcApDocManager manager;
    return &manager;
}
