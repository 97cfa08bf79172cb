// The editor's reactor list.
#include "host/editor/AcEditorReactor.h"

#include <algorithm>

void AcEditorReactor::beginSave(AcDbDatabase*, const ACHAR*) {}
void AcEditorReactor::saveComplete(AcDbDatabase*, const ACHAR*) {}
void AcEditorReactor::beginClose(AcDbDatabase*) {}

void AcEditor::addReactor(AcEditorReactor* reactor)
{
    if (reactor && std::find(m_reactors.begin(), m_reactors.end(), reactor) == m_reactors.end())
        m_reactors.push_back(reactor);
}

void AcEditor::removeReactor(AcEditorReactor* reactor)
{
    m_reactors.erase(std::remove(m_reactors.begin(), m_reactors.end(), reactor), m_reactors.end());
}

// Copies of the list are walked, so a reactor may remove itself while it is
// told.
void AcEditor::notifyBeginSave(AcDbDatabase* db, const ACHAR* fileName)
{
    const std::vector<AcEditorReactor*> reactors = m_reactors;
    for (AcEditorReactor* r : reactors) r->beginSave(db, fileName);
}

void AcEditor::notifySaveComplete(AcDbDatabase* db, const ACHAR* fileName)
{
    const std::vector<AcEditorReactor*> reactors = m_reactors;
    for (AcEditorReactor* r : reactors) r->saveComplete(db, fileName);
}

void AcEditor::notifyBeginClose(AcDbDatabase* db)
{
    const std::vector<AcEditorReactor*> reactors = m_reactors;
    for (AcEditorReactor* r : reactors) r->beginClose(db);
}

AcEditor* acedEditorPtr()
{
    static AcEditor editor;
    return &editor;
}
