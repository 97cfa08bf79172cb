// Every drawing of the real-drawing corpus (files other programs wrote) is
// read, saved and compared with the original through ezdxf; every damaged file
// (inputs fuzzing found) is refused with a message or read, never a crash or a
// hang.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> filesIn(const std::string &folder)
{
    std::vector<fs::path> files;
    for (const auto &entry : fs::directory_iterator(fendo::test::dataDir() / "dxf" / folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name != "SOURCES" && !name.starts_with(".")) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(DxfCorpus, EveryRealDrawingComesBackAsItWasForAnIndependentReader)
{
    const auto files = filesIn("real");
    ASSERT_GE(files.size(), 20u);
    const bool ezdxf = fendo::test::haveEzdxf();
    for (const fs::path &file : files) {
        SCOPED_TRACE(file.filename().string());
        AcDbDatabase db(false);
        std::string error;
        ASSERT_EQ(db.readDxfFile(file.wstring(), &error), Acad::eOk) << error;
        const fs::path out = fendo::test::scratchDir("dxfcorpus") / file.filename();
        ASSERT_EQ(db.dxfOut(out.wstring(), &error), Acad::eOk) << error;
        AcDbDatabase again(false);
        EXPECT_EQ(again.readDxfFile(out.wstring(), &error), Acad::eOk) << error;
        if (!ezdxf) continue;
        const auto result = fendo::test::runProcess({"/usr/bin/python3",
                                                     (fendo::test::dataDir() / "dxf" / "compare_drawings.py").string(),
                                                     file.string(), out.string()});
        EXPECT_EQ(result.exitCode, 0) << result.output;
    }
    if (!ezdxf) GTEST_SKIP() << "/usr/bin/python3 has no ezdxf: files read and saved, not compared";
}

TEST(DxfCorpus, DamagedFilesAreRefusedWithAMessageOrRead)
{
    for (const fs::path &file : filesIn("damaged")) {
        SCOPED_TRACE(file.filename().string());
        AcDbDatabase db(false);
        std::string error;
        if (db.readDxfFile(file.wstring(), &error) != Acad::eOk) {
            EXPECT_TRUE(error.starts_with(file.string() + ": ")) << error;
            continue;
        }
        const fs::path out = fendo::test::scratchDir("dxfdamaged") / "saved.dxf";
        ASSERT_EQ(db.dxfOut(out.wstring(), &error), Acad::eOk) << error;
        AcDbDatabase again(false);
        EXPECT_EQ(again.readDxfFile(out.wstring(), &error), Acad::eOk) << error;
    }
}

}  // namespace
