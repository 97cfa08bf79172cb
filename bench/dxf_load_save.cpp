// Times loading and saving a large drawing (about a million lines, lightweight polylines,
// texts and points) and, beside it, how long ezdxf takes to load the same file.
//
// usage: bench_dxf_load_save [entity count] [folder for the drawing]
#include <chrono>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/entities/AcDbLine.h"
#include "host/db/entities/AcDbPoint.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }
// Processor time, which a busy machine disturbs less than the clock on the wall.
double cpuSecondsSince(std::clock_t start) { return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC; }

// A survey-like drawing: a quarter of each kind, spread over a 10 km square.
void build(AcDbDatabase& db, long count)
{
    AcDbBlockTableRecord* ms = nullptr;
    acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite);
    for (long i = 0; i < count; ++i) {
        const double x = (i % 1000) * 10.123, y = (i / 1000) * 10.456;
        AcDbEntity* ent = nullptr;
        switch (i % 4) {
        case 0: ent = new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + 7.25, y + 3.5, 12.75)); break;
        case 1: {
            auto* pl = new AcDbPolyline;
            for (unsigned v = 0; v < 4; ++v) pl->addVertexAt(v, AcGePoint2d(x + v * 2.5, y + (v % 2) * 1.75), v == 1 ? 0.5 : 0.0);
            ent = pl;
            break;
        }
        case 2: ent = new AcDbText(AcGePoint3d(x, y, 0), L"Cao độ 12.345", AcDbObjectId::kNull, 2.5); break;
        default: ent = new AcDbPoint(AcGePoint3d(x, y, 15.625)); break;
        }
        ms->appendAcDbEntity(ent);
        ent->close();
    }
    ms->close();
}

}  // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const long count = argc > 1 ? std::atol(argv[1]) : 1000000;
    const fs::path folder = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / "fendo-dxf-bench";
    fs::create_directories(folder);
    const fs::path input = folder / "big.dxf";
    const fs::path output = folder / "big-saved.dxf";
    std::string error;

    {
        AcDbDatabase db;
        const auto start = Clock::now();
        build(db, count);
        std::printf("built %ld entities in %.2f s\n", count, secondsSince(start));
        if (db.dxfOut(input.wstring(), &error) != Acad::eOk) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
    const double megabytes = static_cast<double>(fs::file_size(input)) / (1024.0 * 1024.0);

    AcDbDatabase db(false);
    auto start = Clock::now();
    std::clock_t cpu = std::clock();
    if (db.readDxfFile(input.wstring(), &error) != Acad::eOk) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const double load = secondsSince(start), loadCpu = cpuSecondsSince(cpu);
    start = Clock::now();
    cpu = std::clock();
    if (db.dxfOut(output.wstring(), &error) != Acad::eOk) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const double save = secondsSince(start), saveCpu = cpuSecondsSince(cpu);
    const double savedMegabytes = static_cast<double>(fs::file_size(output)) / (1024.0 * 1024.0);
    std::printf("file: %s, %.1f MB\n", input.c_str(), megabytes);
    std::printf("load: %.2f s (%.2f s processor), %.1f MB/s\n", load, loadCpu, megabytes / load);
    std::printf("save: %.2f s (%.2f s processor), %.1f MB/s\n", save, saveCpu, savedMegabytes / save);

    // The same file through ezdxf, when Debian's python has it.
    if (std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") != 0) {
        std::printf("ezdxf: not available, comparison skipped\n");
        return 0;
    }
    const fs::path timing = folder / "ezdxf-seconds.txt";
    const std::string command =
        "/usr/bin/python3 -c \"import ezdxf,time;t=time.perf_counter();c=time.process_time();ezdxf.readfile('" +
        input.string() + "');open('" + timing.string() +
        "','w').write('%f %f' % (time.perf_counter()-t, time.process_time()-c))\"";
    if (std::system(command.c_str()) != 0) {
        std::printf("ezdxf: failed to load the file\n");
        return 0;
    }
    std::FILE* f = std::fopen(timing.c_str(), "r");
    double ezdxfSeconds = 0, ezdxfCpu = 0;
    if (f) {
        if (std::fscanf(f, "%lf %lf", &ezdxfSeconds, &ezdxfCpu) != 2) ezdxfSeconds = ezdxfCpu = 0;
        std::fclose(f);
    }
    std::printf("ezdxf load: %.2f s (%.2f s processor), %.1f MB/s\n", ezdxfSeconds, ezdxfCpu, megabytes / ezdxfSeconds);
    std::printf("fendo loads %.1fx faster than ezdxf (%.1fx in processor time)\n", ezdxfSeconds / load,
                ezdxfCpu / loadCpu);
    return 0;
}
