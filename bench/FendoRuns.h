// Shared steps of the benchmarks that time commands through the fendo program: generated
// drawings built through the host's database, and timed runs of fendo with a script.
#pragma once
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <initializer_list>

#include "frame/DrawingHelpers.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/entities/AcDbPolyline.h"

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

// Appends the entity on the layer (made with colour 7 when missing): the drawing being built
// must be the working drawing, whose layers ensureLayer makes.
inline void append(AcDbDatabase& db, AcDbEntity* entity, const wchar_t* layer)
{
    if (layer) {
        ensureLayer(layer, 7);
        entity->setLayer(layer);
    }
    append(db, entity);
}

// A new lightweight polyline through the points.
inline AcDbPolyline* lwPolyline(std::initializer_list<AcGePoint2d> points, double elevation = 0.0, bool closed = false)
{
    auto* p = new AcDbPolyline;
    unsigned i = 0;
    for (const AcGePoint2d& v : points) p->addVertexAt(i++, v);
    p->setElevation(elevation);
    p->setClosed(closed);
    return p;
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
