// Editor reactors: modules hear when the drawing is about to be written and when the writing is
// over, so that temporary objects they keep in it stay out of saved files.
#pragma once
#include <vector>

#include "host/core/AcadTypes.h"

class AcDbDatabase;

class AcEditorReactor {
public:
    virtual ~AcEditorReactor() = default;
    virtual void beginSave(AcDbDatabase* db, const ACHAR* fileName);
    virtual void saveComplete(AcDbDatabase* db, const ACHAR* fileName);
    // The drawing is about to be closed; its objects are still there.
    virtual void beginClose(AcDbDatabase* db);
};

class AcEditor {
public:
    void addReactor(AcEditorReactor* reactor);
    void removeReactor(AcEditorReactor* reactor);

    // Called by whoever writes the drawing to a file, before and after.
    void notifyBeginSave(AcDbDatabase* db, const ACHAR* fileName);
    void notifySaveComplete(AcDbDatabase* db, const ACHAR* fileName);
    // Called by whoever closes the drawing, before its database goes.
    void notifyBeginClose(AcDbDatabase* db);

private:
    std::vector<AcEditorReactor*> m_reactors;
};

AcEditor* acedEditorPtr();
#define acedEditor acedEditorPtr()
