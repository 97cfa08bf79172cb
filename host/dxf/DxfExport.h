// Saving with options: what becomes of custom objects (those of classes a module or
// companion library registered) in the file written.
#pragma once
#include <cstdio>
#include <string>
#include <string_view>

#include "host/core/AcadTypes.h"

class AcDbDatabase;

namespace fendo::dxf {

// The DXF versions the writer can write, by their release names.
enum class DxfVersion { R12, R2000, R2004, R2007, R2010, R2013, R2018 };
// "R12", "R2000" ... "R2018" (any letter case; "AC1009" ... "AC1032" too); false for others.
bool parseDxfVersion(std::string_view text, DxfVersion& version);
// The $ACADVER value ("AC1021") and the release name ("R2007").
const char* acadVersionName(DxfVersion version);
const char* releaseName(DxfVersion version);

struct DxfWriteOptions {
    DxfVersion version = DxfVersion::R2007;
    // Binary DXF (smaller, and faster to load) instead of ASCII.
    bool binary = false;
    // false: custom objects are saved as themselves, each with proxy graphics drawn by its
    // worldDraw so that readers without the module still show it.
    // true: each custom entity is replaced in the file by the ordinary entities its explode
    // gives (on the layers explode gives them, else the object's own layer), so the file
    // holds nothing another program cannot read. The drawing itself is not changed.
    bool explodeCustomObjects = false;
    // R12 files hold only the entities R12 knows: the others are left out, and this receives
    // one line naming their kinds and count ("R12 has no MTEXT, SPLINE: 3 objects left out"),
    // or nothing when all were written. Custom entities go as their exploded pieces.
    std::string* leftOut = nullptr;
};

// Writes db to path as AcDbDatabase::dxfOut does, but leaves the drawing's file name alone.
Acad::ErrorStatus writeDxfFile(AcDbDatabase& db, const std::wstring& path, const DxfWriteOptions& options,
                               std::string* errorMessage = nullptr);

// Writes db as a DXF file to an open stream; false when a write failed.
bool writeDxfStream(AcDbDatabase& db, std::FILE* file, const DxfWriteOptions& options);

}  // namespace fendo::dxf
