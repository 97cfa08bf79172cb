// Saving with options: what becomes of custom objects (those of classes a module or
// companion library registered) in the file written.
#pragma once
#include <cstdio>
#include <string>

#include "host/core/AcadTypes.h"

class AcDbDatabase;

namespace fendo::dxf {

struct DxfWriteOptions {
    // false: custom objects are saved as themselves, each with proxy graphics drawn by its
    // worldDraw so that readers without the module still show it.
    // true: each custom entity is replaced in the file by the ordinary entities its explode
    // gives (on the layers explode gives them, else the object's own layer), so the file
    // holds nothing another program cannot read. The drawing itself is not changed.
    bool explodeCustomObjects = false;
};

// Writes db to path as AcDbDatabase::dxfOut does, but leaves the drawing's file name alone.
Acad::ErrorStatus writeDxfFile(AcDbDatabase& db, const std::wstring& path, const DxfWriteOptions& options,
                               std::string* errorMessage = nullptr);

// Writes db as a DXF file to an open stream; false when a write failed.
bool writeDxfStream(AcDbDatabase& db, std::FILE* file, const DxfWriteOptions& options);

}  // namespace fendo::dxf
