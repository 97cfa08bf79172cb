// Loads a DXF file and saves it again (R2007 ASCII), printing the times: a small tool for
// checking drawings until the fendo program can open and save them itself.
//
// usage: bench_dxf_roundtrip INPUT.dxf OUTPUT.dxf
#include <chrono>
#include <cstdio>
#include <string>

#include "host/db/AcDbDatabase.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INPUT.dxf OUTPUT.dxf\n", argv[0]);
        return 2;
    }
    using Clock = std::chrono::steady_clock;
    AcDbDatabase db(false);
    std::string error;
    auto start = Clock::now();
    if (db.readDxfFile(fendo::fromUtf8(argv[1]), &error) != Acad::eOk) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const double load = std::chrono::duration<double>(Clock::now() - start).count();
    start = Clock::now();
    if (db.dxfOut(fendo::fromUtf8(argv[2]), &error) != Acad::eOk) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const double save = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("loaded in %.3f s, saved in %.3f s\n", load, save);
    return 0;
}
