// The undo journal of the pick-and-edit command: each value change of one run is recorded
// before its dialog opens, so that "Undo" can write the old values back, last first.
#pragma once
#include "host/db/AcDbObjectId.h"
#include "host/ge/AcGePoint3d.h"
#include <functional>
#include <list>
#include <memory>
#include <string>

// One edit of one object's value, as the editing command classifies and writes it.
struct EditRequest {
    AcGePoint3d pickPoint;
    AcDbObjectId objectId;  // for a block reference: the chosen attribute
    std::wstring value;
    std::wstring secondValue;  // a survey point's feature code; empty otherwise
    std::wstring title;        // the dialog caption
};

// Writes a request's values into its object without asking (the editor's no-dialog path).
using EditWriter = std::function<void(const EditRequest&)>;

class UndoBase {
public:
    UndoBase(std::wstring value, std::wstring secondValue)
        : m_value(std::move(value)), m_secondValue(std::move(secondValue))
    {
    }
    virtual void undo() = 0;
    virtual ~UndoBase() = default;

protected:
    std::wstring m_value;
    std::wstring m_secondValue;
};

// The old values of one object; undoing writes them back through the editor.
class UndoAcadEntity : public UndoBase {
public:
    UndoAcadEntity(AcDbObjectId id, std::wstring value, std::wstring secondValue, EditWriter writer)
        : UndoBase(std::move(value), std::move(secondValue)), m_id(id), m_writer(std::move(writer))
    {
    }
    // An object erased meanwhile is not written; the writer finds it cannot open it.
    void undo() override;

private:
    AcDbObjectId m_id;
    EditWriter m_writer;
};

// The journal of one command run; destroying it drops its entries without applying them.
class Undo {
public:
    explicit Undo(EditWriter writer) : m_writer(std::move(writer)) {}
    Undo(const Undo&) = delete;
    Undo& operator=(const Undo&) = delete;

    void record(AcDbObjectId id, const std::wstring& value, const std::wstring& secondValue);
    // Undoes and drops the last entry; on an empty journal says so and returns false.
    bool undoLast();
    bool empty() const { return m_entries.empty(); }

private:
    EditWriter m_writer;
    std::list<std::unique_ptr<UndoBase>> m_entries;
};
