// The module's load and unload as a user sees them through fendo, and its folders.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include "frame/Folders.h"
#include "support/TestSupport.h"

using namespace fendo::test;

TEST(ModuleLifecycle, CommandsAnswerToLocalAndGlobalNamesInAnyCase)
{
    const RunResult r = runFendo({}, "HELP PLCA\nHELP KVOHelp\ntemplate_11\nplca\n^C\n");
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("TEMPLATE_PLCA"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("TEMPLATE_KVOHelp"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("Unknown command"), std::string::npos) << r.output;
}

TEST(ModuleLifecycle, AfterUnloadNeitherNameExists)
{
    const RunResult r = runFendo({}, "ARX\nUnload\nFendo17.arx\n22\nTEMPLATE_22\n");
    EXPECT_NE(r.output.find("Unknown command \"22\""), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Unknown command \"TEMPLATE_22\""), std::string::npos) << r.output;
}

TEST(ModuleLifecycle, TheAboutBoxClosesWhicheverWayItIsAnswered)
{
    const RunResult r = runFendo({}, "ABOUTKVO\nclick 2\nABOUTKVO\n^C\n11\n");
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("About KVO"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Command: 11"), std::string::npos) << r.output;
}

TEST(UserDataFolder, EndsInKvoQuorinAndOnlyTheFirstChoiceIsCreated)
{
    const auto home = scratchDir("home");
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    const std::filesystem::path made = userDataFolder();
    EXPECT_EQ(made, home / "KVO" / "Quorin");
    EXPECT_TRUE(std::filesystem::is_directory(made));

    unsetenv("XDG_DATA_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    unsetenv("HOME");
    setenv("AppData", (home / "appdata").c_str(), 1);
    const std::filesystem::path fallback = userDataFolder();
    EXPECT_EQ(fallback, home / "appdata" / "KVO" / "Quorin");
    EXPECT_FALSE(std::filesystem::exists(fallback));
    if (!savedHome.empty()) setenv("HOME", savedHome.c_str(), 1);
    unsetenv("AppData");
}
