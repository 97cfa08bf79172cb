// Files that cannot be read give one message naming the file, the line and what was
// expected; saves that fail leave the old file as it was.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <random>
#include <string>

#include "host/db/AcDbDatabase.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

fs::path dxfData(const std::string& name) { return fendo::test::dataDir() / "dxf" / name; }

// Reads text written to a scratch file; returns the message (empty on success).
std::string readError(const std::string& content, const std::string& name = "bad.dxf")
{
    const fs::path path = fendo::test::scratchDir("baddxf") / name;
    fendo::test::writeFile(path, content);
    AcDbDatabase db(false);
    std::string error;
    const Acad::ErrorStatus es = db.readDxfFile(path.wstring(), &error);
    if (es == Acad::eOk) return {};
    EXPECT_EQ(error.rfind(path.string() + ": ", 0), 0u) << "the message starts with the file: " << error;
    return error.substr(path.string().size() + 2);
}

const std::string kMinimal = "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\n0\n 10\n1\n 20\n2\n 11\n3\n 21\n4\n  0\nENDSEC\n  0\nEOF\n";

TEST(DxfBadFile, MinimalEntitiesOnlyFileReads)
{
    EXPECT_EQ(readError(kMinimal), "");
    EXPECT_EQ(readError("0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nENDSEC\r\n0\r\nEOF"), "") << "CRLF, no final newline";
}

TEST(DxfBadFile, MessagesNameTheLineTheGroupCodeAndWhatWasExpected)
{
    struct Case {
        std::string content, message;
    };
    const Case cases[] = {
        {"", "line 1: expected 0 SECTION or 0 EOF, found the end of the file"},
        {"  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n1.5\n 2x\n7\n", "line 9: expected a group code (an integer), found '2x'"},
        {"  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n1.5\n 20\nabc\n  0\nENDSEC\n  0\nEOF\n",
         "line 9: group code 20: expected a number, found 'abc'"},
        {"  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n1.5\n 20\n",
         "line 9: group code 20: expected a value, found the end of the file"},
        {"  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\n0\n", "line 9: expected the record's groups or the next group 0, found the end of the file"},
        {"  0\nSECTION\n  2\nTABLES\n  0\nLINE\n", "line 5: group code 0: expected 0 TABLE or 0 ENDSEC, found 'LINE'"},
        {"  1\nHELLO\n", "line 1: group code 1: expected 0 SECTION or 0 EOF, found 'HELLO'"},
    };
    for (const Case& c : cases) EXPECT_EQ(readError(c.content), c.message) << c.content;
}

TEST(DxfBadFile, TruncatedFilesOfEveryKindFailWithALineNumber)
{
    for (const char* name : {"r12.dxf", "r2000_cp1258.dxf", "r2018.dxf", "r2018_binary.dxf"}) {
        const std::string whole = fendo::test::readFile(dxfData(name));
        for (size_t cut : {whole.size() / 7, whole.size() / 2, whole.size() - 9}) {
            const std::string message = readError(whole.substr(0, cut));
            EXPECT_NE(message, "") << name << " cut at " << cut;
            EXPECT_TRUE(message.starts_with("line ") || message.starts_with("byte ")) << message;
        }
    }
}

TEST(DxfBadFile, GarbageNeverHangsOrCrashes)
{
    std::mt19937 random(12345);
    const std::string sentinel("AutoCAD Binary DXF\r\n\x1a\0", 22);
    for (int round = 0; round < 60; ++round) {
        std::string junk(1 + random() % 5000, '\0');
        for (char& c : junk) c = static_cast<char>(random() % (round % 2 ? 256 : 96) + (round % 2 ? 0 : 32));
        if (round % 3 == 0) junk = sentinel + junk;
        if (round % 5 == 0) junk = kMinimal.substr(0, 40) + junk;
        EXPECT_NE(readError(junk), "") << "round " << round;
    }
}

TEST(DxfBadFile, MissingFileAndFolderAreReported)
{
    AcDbDatabase db(false);
    std::string error;
    EXPECT_NE(db.readDxfFile(L"/nonexistent/x.dxf", &error), Acad::eOk);
    EXPECT_EQ(error, "/nonexistent/x.dxf: cannot open: No such file or directory");
    const fs::path dir = fendo::test::scratchDir("dxfdir");
    AcDbDatabase db2(false);
    EXPECT_NE(db2.readDxfFile(dir.wstring(), &error), Acad::eOk);
    EXPECT_NE(error.find("it is a folder"), std::string::npos);
}

TEST(DxfFailedSave, ATargetThatIsAFolderIsLeftAlone)
{
    const fs::path dir = fendo::test::scratchDir("savedir");
    const fs::path target = dir / "drawing.dxf";
    fs::create_directory(target);
    AcDbDatabase db;
    std::string error;
    EXPECT_NE(db.dxfOut(target.wstring(), &error), Acad::eOk);
    EXPECT_EQ(error, target.string() + ": cannot save: it is a folder");
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(DxfFailedSave, AMissingFolderIsReported)
{
    AcDbDatabase db;
    std::string error;
    EXPECT_NE(db.dxfOut(L"/nonexistent-folder/a.dxf", &error), Acad::eOk);
    EXPECT_TRUE(error.starts_with("/nonexistent-folder/a.dxf: cannot save: cannot create a file in /nonexistent-folder"))
        << error;
}

TEST(DxfFailedSave, AWriteFailureLeavesTheOldFileIntactAndNoTemporaryBehind)
{
    const fs::path dir = fendo::test::scratchDir("savefail");
    const fs::path target = dir / "drawing.dxf";
    fendo::test::writeFile(target, "old contents");
    AcDbDatabase db;
    // The file size limit makes the writes of the new file fail, as a full disk would.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 2000;
    auto previous = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    std::string error;
    const Acad::ErrorStatus es = db.dxfOut(target.wstring(), &error);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, previous);
    EXPECT_NE(es, Acad::eOk);
    EXPECT_TRUE(error.starts_with(target.string() + ": cannot save: ")) << error;
    EXPECT_EQ(fendo::test::readFile(target), "old contents");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

}  // namespace
