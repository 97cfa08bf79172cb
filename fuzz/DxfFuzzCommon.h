// What both DXF fuzz targets do with an input: read it as a drawing and, when
// that succeeds, write the drawing to memory and read the result again, which
// must succeed.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/db/AcDbDatabase.h"
#include "host/dxf/DxfExport.h"
#include "host/dxf/DxfIo.h"

namespace fendo::fuzz {

inline void readAndRewrite(std::string_view data)
{
    AcDbDatabase db(false);
    std::string error;
    if (fendo::dxf::readDxfData(db, data, "fuzz.dxf", &error) != Acad::eOk) {
        if (error.empty()) std::abort();  // a refusal always says why
        return;
    }
    char *buffer = nullptr;
    size_t size = 0;
    std::FILE *memory = ::open_memstream(&buffer, &size);
    if (!memory) return;
    fendo::dxf::writeDxfStream(db, memory, {});
    std::fclose(memory);
    AcDbDatabase again(false);
    if (fendo::dxf::readDxfData(again, std::string_view(buffer, size), "saved.dxf", &error) != Acad::eOk) {
        std::fprintf(stderr, "a drawing that was read could not be read again after saving: %s\n", error.c_str());
        std::abort();
    }
    std::free(buffer);
}

}  // namespace fendo::fuzz
