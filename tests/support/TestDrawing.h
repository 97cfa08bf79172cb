// Drawings for tests: built in memory through the host's database, saved as DXF, run
// through fendo with a script, and read back.
#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "support/TestSupport.h"

namespace fendo::test {

// A new default drawing that is the working drawing while the object lives.
class TestDrawing {
public:
    TestDrawing();
    ~TestDrawing();
    TestDrawing(const TestDrawing&) = delete;
    TestDrawing& operator=(const TestDrawing&) = delete;

    AcDbDatabase& db() { return *m_db; }
    // Makes the layer when missing and returns its id.
    AcDbObjectId layer(const wchar_t* name, int colorIndex = 7);
    // Appends the entity to model space (on the layer, when given) and closes it.
    AcDbObjectId add(AcDbEntity* entity, const wchar_t* layerName = nullptr);
    // Saves the drawing as DXF in a scratch folder and returns the path.
    std::filesystem::path save(const std::string& name = "drawing.dxf");

private:
    std::unique_ptr<AcDbDatabase> m_db;
    AcDbDatabase* m_previous;
};

// Reads a DXF file into a new database; fails the calling test when it cannot.
std::unique_ptr<AcDbDatabase> loadDrawing(const std::filesystem::path& path);

// The result of running fendo on a drawing with a script and saving with -o.
struct Session {
    RunResult run;
    std::filesystem::path output;
    std::unique_ptr<AcDbDatabase> result;  // null when fendo wrote no drawing
};
Session runSession(const std::filesystem::path& drawing, const std::string& script);
Session runSession(TestDrawing& drawing, const std::string& script);

// The unerased model-space entities of a drawing, in drawing order, that are kinds of cls
// (all of them when cls is null).
std::vector<AcDbObjectId> modelSpaceEntities(AcDbDatabase& db, AcRxClass* cls = nullptr);
// Adds a block definition of that name holding the entities (each appended and closed) and
// returns its record's id.
AcDbObjectId addBlock(AcDbDatabase& db, const wchar_t* name, const std::vector<AcDbEntity*>& entities = {});
// The layer record's off flag, by name.
bool layerIsOff(AcDbDatabase& db, const wchar_t* name);

}  // namespace fendo::test
