// What the timed programs that run fendo share: the program's folder, appending to model
// space while a drawing is built, and timing one fendo run on a drawing with a script.
#pragma once
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"

namespace fendo::bench {

inline std::filesystem::path binDir() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }

inline void append(AcDbDatabase& db, AcDbEntity* entity)
{
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, db.modelSpaceId(), AcDb::kForWrite) != Acad::eOk) return;
    if (space->appendAcDbEntity(entity) == Acad::eOk) entity->close();
    space->close();
}

// Seconds fendo takes to load the drawing, run the script and save to dir/out.dxf.
inline double runFendo(const std::filesystem::path& drawing, const std::string& script,
                       const std::filesystem::path& dir)
{
    const std::filesystem::path scriptPath = dir / "script.fendo";
    std::FILE* f = std::fopen(scriptPath.c_str(), "w");
    std::fputs(script.c_str(), f);
    std::fclose(f);
    const std::string command = (binDir() / "fendo").string() + " '" + drawing.string() + "' -s '" +
                                scriptPath.string() + "' -o '" + (dir / "out.dxf").string() + "' > /dev/null";
    const auto start = std::chrono::steady_clock::now();
    const int rc = std::system(command.c_str());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (rc != 0) std::printf("fendo exited with %d\n", rc);
    return seconds;
}

}  // namespace fendo::bench
