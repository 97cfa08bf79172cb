// The fendo program run as a child process: options, the command prompt, host commands,
// modules, reading and saving drawings.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using fendo::test::binDir;
using fendo::test::runFendo;

std::string testModule()
{
    return (binDir() / "TestModule.arx").string();
}

std::size_t countOf(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

bool isOneLine(const std::string& text)
{
    return !text.empty() && text.back() == '\n' && std::count(text.begin(), text.end(), '\n') == 1;
}

TEST(FendoOptions, HelpAndVersionDescribeTheProgram)
{
    const auto help = runFendo({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"-s", "-o", "--module", "--no-module", "--version"})
        EXPECT_NE(help.output.find(option), std::string::npos) << option;

    const auto version = runFendo({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_NE(version.output.find("fendo"), std::string::npos);

    EXPECT_NE(runFendo({"--bogus"}).exitCode, 0);
}

TEST(FendoPrompt, UnknownNamesAreReportedAndTheScriptGoesOn)
{
    const auto run = runFendo({"--no-module"}, "FOO\nbar\n");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Unknown command \"FOO\".  Press F1 for help."), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Unknown command \"BAR\".  Press F1 for help."), std::string::npos) << run.output;
}

TEST(FendoPrompt, ModuleCommandsRunByEitherNameAndAFailingOneDoesNotEndTheSession)
{
    const auto run = runFendo({"--module", testModule()}, "HELP\nhello\n\nfendo_test_hello\nBOOM\n_HELLO\nHELLO\n");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    // HELP lists the module's commands with their group and both names, and the host's own.
    EXPECT_NE(run.output.find("FENDO_TEST"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("FENDO_TEST_WHERE"), std::string::npos) << run.output;
    for (const char* host : {"SAVEAS", "APPLOAD", "QUIT"}) EXPECT_NE(run.output.find(host), std::string::npos) << host;
    // hello, the empty line repeating it, the global name, and HELLO after the failure.
    EXPECT_EQ(countOf(run.output, "Hello from the test module."), 4u) << run.output;
    EXPECT_NE(run.output.find("Error in command FENDO_TEST_BOOM: the test module failed on purpose"),
              std::string::npos)
        << run.output;
    // '_' asks for a global name.
    EXPECT_NE(run.output.find("Unknown command \"_HELLO\""), std::string::npos) << run.output;
    // The module hears of the drawing once when it opens and once when it closes, after the commands.
    EXPECT_EQ(countOf(run.output, "drawing opened."), 1u) << run.output;
    EXPECT_EQ(countOf(run.output, "drawing closed."), 1u) << run.output;
    EXPECT_GT(run.output.find("drawing closed."), run.output.rfind("Hello from")) << run.output;
}

TEST(FendoPrompt, ModulesAreLoadedAndUnloadedOnRequest)
{
    const auto run = runFendo({"--no-module"}, "APPLOAD " + testModule() + "\nHELLO\nARX\nUnload\nTestModule.arx\nHELLO\n");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("TestModule.arx successfully loaded."), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("TestModule.arx successfully unloaded."), std::string::npos) << run.output;
    EXPECT_EQ(countOf(run.output, "Hello from the test module."), 1u) << run.output;
    EXPECT_NE(run.output.find("Unknown command \"HELLO\""), std::string::npos) << run.output;
    // Loaded into an open drawing, it is told of the drawing at once; unloaded, it is not told again.
    EXPECT_EQ(countOf(run.output, "drawing opened."), 1u) << run.output;
    EXPECT_EQ(countOf(run.output, "drawing closed."), 0u) << run.output;

    const auto refused = runFendo({"--no-module"}, "APPLOAD " + (binDir() / "TestModuleOldApi.arx").string() + "\n");
    EXPECT_NE(refused.output.find("0x00100000"), std::string::npos) << refused.output;
}

TEST(FendoPrompt, QuitEndsTheSessionBeforeTheRestOfTheScript)
{
    const auto run = runFendo({"--no-module"}, "QUIT\nFOO\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output.find("Unknown command"), std::string::npos) << run.output;
}

TEST(FendoModule, AMissingOrForeignModuleStopsTheProgramWithOneLine)
{
    const auto scratch = fendo::test::scratchDir("app-module");
    const auto missing = runFendo({"--module", (scratch / "None.arx").string()});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(isOneLine(missing.output)) << missing.output;
    EXPECT_EQ(missing.output.rfind("fendo: cannot load", 0), 0u) << missing.output;

    const auto old = runFendo({"--module", (binDir() / "TestModuleOldApi.arx").string()});
    EXPECT_NE(old.exitCode, 0);
    EXPECT_NE(old.output.find("API version"), std::string::npos) << old.output;
}

TEST(FendoDrawing, AnUnreadableDrawingGivesOneLineAndAFailureStatus)
{
    const auto scratch = fendo::test::scratchDir("app-read");
    const auto missing = runFendo({"--no-module", (scratch / "absent.dxf").string()});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(isOneLine(missing.output)) << missing.output;
    EXPECT_EQ(missing.output.rfind("fendo: cannot read " + (scratch / "absent.dxf").string(), 0), 0u)
        << missing.output;

    fendo::test::writeFile(scratch / "broken.dxf", "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\nnot a number\n");
    const auto broken = runFendo({"--no-module", (scratch / "broken.dxf").string()});
    EXPECT_NE(broken.exitCode, 0);
    EXPECT_TRUE(isOneLine(broken.output)) << broken.output;
    EXPECT_EQ(broken.output.rfind("fendo: cannot read", 0), 0u) << broken.output;
}

TEST(FendoDrawing, AnEmptySessionSavesADrawingOtherReadersAccept)
{
    const auto scratch = fendo::test::scratchDir("app-save");
    const fs::path out = scratch / "new.dxf";
    const auto run = runFendo({"--no-module", "-o", out.string()});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ASSERT_TRUE(fs::exists(out));
    if (!fendo::test::haveEzdxf()) GTEST_SKIP() << "ezdxf is not installed";
    const auto check = fendo::test::runPython("import ezdxf; d = ezdxf.readfile('" + out.string() +
                                              "'); print('layers', len(d.layers))");
    EXPECT_EQ(check.exitCode, 0) << check.output;
}

TEST(FendoDrawing, SaveAsWritesAtAnyTimeAndMovesTheDrawingFolder)
{
    const auto scratch = fendo::test::scratchDir("app-saveas");
    fs::create_directories(scratch / "first");
    fs::create_directories(scratch / "second");
    const fs::path first = scratch / "first" / "a.dxf";
    const fs::path second = scratch / "second" / "b.dxf";

    ASSERT_EQ(runFendo({"--no-module", "-o", first.string()}).exitCode, 0);
    // The drawing folder is the one of the drawing read, then of the SAVEAS file; SAVEAS takes
    // its file on the same line or asks for it.
    const auto run = runFendo({"--module", testModule(), first.string()},
                              "WHERE\nSAVEAS\n" + second.string() + "\nWHERE\nSAVEAS " +
                                  (scratch / "missing-folder" / "c.dxf").string() + "\nHELLO\n");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(fs::exists(second));
    EXPECT_NE(run.output.find("Module folder: " + fs::canonical(binDir()).string()), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Drawing folder: " + (scratch / "first").string() + "/"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Drawing folder: " + (scratch / "second").string() + "/"), std::string::npos)
        << run.output;
    // A failed save is a message; the session goes on.
    EXPECT_NE(run.output.find("cannot save"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Hello from the test module."), std::string::npos) << run.output;
}

TEST(FendoDrawing, AFailedFinalSaveGivesAFailureStatus)
{
    const auto scratch = fendo::test::scratchDir("app-finalsave");
    const auto run = runFendo({"--no-module", "-o", (scratch / "no" / "such" / "out.dxf").string()});
    EXPECT_NE(run.exitCode, 0);
    // The session's last prompt, then the reason.
    EXPECT_EQ(countOf(run.output, "fendo:"), 1u) << run.output;
    EXPECT_NE(run.output.find("\nfendo: cannot save " + (scratch / "no" / "such" / "out.dxf").string() + ": "),
              std::string::npos)
        << run.output;
}

TEST(FendoModule, TheShippedModuleIsLoadedFromBesideTheProgramByDefault)
{
    if (!fs::exists(binDir() / "Fendo17.arx")) GTEST_SKIP() << "Fendo17.arx is not built";
    const auto run = runFendo({}, "HELP KVOHelp\n");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("TEMPLATE_KVOHelp"), std::string::npos) << run.output;
}

}  // namespace

namespace {

// A polyface mesh is kept as read, its vertices and end marker in the space's sequence after
// it; selecting everything must find the drawing's objects, not those parts of the mesh.
TEST(FendoSelection, AllLeavesOutTheVerticesOfMeshesKeptAsRead)
{
    const auto drawing = fendo::test::sourceDir() / "tests" / "data" / "dxf" / "real" / "uncommon.dxf";
    const auto run = runFendo({drawing.string()}, "DCPL\nall\n\n");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    // ezdxf counts 82 model-space entities; the two meshes have 19 vertices and 2 end markers.
    EXPECT_NE(run.output.find("82 found"), std::string::npos) << run.output;
}

}  // namespace
