// The undo journal of the pick-and-edit command.
#include "frame/Undo.h"

#include "host/editor/aced.h"

void UndoAcadEntity::undo()
{
    EditRequest request;
    request.objectId = m_id;
    request.value = m_value;
    request.secondValue = m_secondValue;
    if (m_writer) m_writer(request);
}

void Undo::record(AcDbObjectId id, const std::wstring& value, const std::wstring& secondValue)
{
    m_entries.push_back(std::make_unique<UndoAcadEntity>(id, value, secondValue, m_writer));
}

bool Undo::undoLast()
{
    if (m_entries.empty()) {
        acutPrintf(L"\n Command has been completely undone.");
        return false;
    }
    std::unique_ptr<UndoBase> last = std::move(m_entries.back());
    m_entries.pop_back();
    last->undo();
    return true;
}
