// The document manager: the current document, its write lock, and the stack of resource
// modules that dialogs find their templates in.
#pragma once
#include "host/core/AcadTypes.h"

class AcDbDatabase;
class ResourceModule;

namespace AcAp {
enum DocLockMode { kNone = 0, kAutoWrite = 1, kNotLocked = 2, kWrite = 4, kProtectedAutoWrite = 20, kRead = 32,
                   kXWrite = 64 };
}

class AcApDocument {
public:
    AcDbDatabase* database() const;
    AcAp::DocLockMode lockMode() const { return m_lockCount > 0 ? AcAp::kWrite : AcAp::kNotLocked; }
    int lockCount() const { return m_lockCount; }

private:
    friend class AcApDocManager;
    int m_lockCount = 0;
};

class AcApDocManager {
public:
    AcApDocument* curDocument() { return &m_doc; }
    AcApDocument* mdiActiveDocument() { return &m_doc; }
    // Locks nest; each lock is matched by an unlock.
    Acad::ErrorStatus lockDocument(AcApDocument* doc, AcAp::DocLockMode mode = AcAp::kWrite,
                                   const ACHAR* globalCmdName = nullptr, const ACHAR* localCmdName = nullptr,
                                   bool prompt = true);
    Acad::ErrorStatus unlockDocument(AcApDocument* doc);
    // Makes a module's resources current for dialogs; pop restores the previous ones.
    void pushResourceHandle(const ResourceModule* module);
    void popResourceHandle();

private:
    AcApDocument m_doc;
};

AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()
