// Shared steps of the benchmarks that time commands through the fendo program: generated
// drawings built through the host's database, and timed runs of fendo with a script.
#pragma once
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/db/AcDbDatabase.h"

namespace fendo::bench {

// The folder of the running benchmark, where fendo and the module are built too.
inline std::filesystem::path binDir() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }

// Appends the entity to the drawing's model space and closes it.
inline void append(AcDbDatabase& db, AcDbEntity* entity)
{
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, db.modelSpaceId(), AcDb::kForWrite) != Acad::eOk) return;
    if (space->appendAcDbEntity(entity) == Acad::eOk) entity->close();
    space->close();
}

// Runs fendo in `dir` (where commands write their reports) on the drawing with the script, saving
// to dir/out.dxf; returns the seconds it took.
inline double runFendo(const std::filesystem::path& drawing, const std::string& script,
                       const std::filesystem::path& dir)
{
    const std::filesystem::path scriptPath = dir / "script.fendo";
    std::FILE* f = std::fopen(scriptPath.c_str(), "w");
    std::fputs(script.c_str(), f);
    std::fclose(f);
    const std::string command = "cd '" + dir.string() + "' && '" + (binDir() / "fendo").string() + "' '" +
                                drawing.string() + "' -s '" +
                                scriptPath.string() + "' -o '" + (dir / "out.dxf").string() + "' > /dev/null";
    const auto start = std::chrono::steady_clock::now();
    const int rc = std::system(command.c_str());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (rc != 0) std::printf("fendo exited with %d\n", rc);
    return seconds;
}

}  // namespace fendo::bench
