// Loading and unloading modules in this process, with the test module built beside fendo.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/editor/CommandStack.h"
#include "host/editor/Editor.h"
#include "host/rx/AcRxDynamicLinker.h"
#include "host/rx/ModuleLoader.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using fendo::rx::ModuleKind;
using fendo::rx::ModuleLoader;
using fendo::rx::UnloadMode;

std::string testModule(const char* name = "TestModule.arx")
{
    return fs::canonical(fendo::test::binDir() / name).string();
}

class ModuleLoading : public ::testing::Test {
protected:
    void SetUp() override { fendo::editor::editor().captureOutput(&output); }
    void TearDown() override
    {
        ModuleLoader::instance().unloadAll();
        fendo::editor::editor().reset();
    }
    std::string output;
};

TEST_F(ModuleLoading, CommandsExistUnderBothNamesWhileTheModuleIsLoaded)
{
    std::string error;
    ASSERT_TRUE(ModuleLoader::instance().load(testModule(), ModuleKind::Module, &error)) << error;
    ASSERT_NE(acedRegCmds->lookupCmd(L"hello"), nullptr);
    EXPECT_EQ(acedRegCmds->lookupCmd(L"hello"), acedRegCmds->lookupCmd(L"FENDO_TEST_HELLO"));
    fendo::editor::invokeCommand(*acedRegCmds->lookupCmd(L"HELLO"));
    EXPECT_NE(output.find("Hello from the test module."), std::string::npos) << output;

    // Loading the same file again changes nothing.
    ASSERT_TRUE(ModuleLoader::instance().load(testModule(), ModuleKind::Module, &error)) << error;
    EXPECT_EQ(ModuleLoader::instance().modules().size(), 1u);

    ASSERT_TRUE(ModuleLoader::instance().unload("testmodule.ARX", UnloadMode::OnRequest, &error)) << error;
    EXPECT_EQ(acedRegCmds->lookupCmd(L"HELLO"), nullptr);
    EXPECT_EQ(acedRegCmds->lookupCmd(L"FENDO_TEST_HELLO"), nullptr);
    EXPECT_TRUE(ModuleLoader::instance().modules().empty());
    EXPECT_FALSE(ModuleLoader::instance().unload("TestModule.arx", UnloadMode::OnRequest, &error));
}

TEST_F(ModuleLoading, AModuleFindsItsOwnFileThroughTheDynamicLinker)
{
    std::string error;
    ASSERT_TRUE(ModuleLoader::instance().load(testModule(), ModuleKind::Module, &error)) << error;
    void* handle = acrxDynamicLinker->getModuleHandle(L"TESTMODULE.arx");
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(acrxDynamicLinker->getModuleHandle(L"Fendo17.arx"), nullptr);

    wchar_t buffer[512];
    const auto length = acrxDynamicLinker->getModuleFileName(handle, buffer, 512);
    const std::wstring expected = fs::path(testModule()).wstring();
    EXPECT_EQ(std::wstring(buffer), expected);
    EXPECT_EQ(length, expected.size());

    // A short buffer gets a cut, terminated path and the buffer size back.
    wchar_t small[8];
    EXPECT_EQ(acrxDynamicLinker->getModuleFileName(handle, small, 8), 8u);
    EXPECT_EQ(std::wstring(small), expected.substr(0, 7));
    EXPECT_EQ(acrxDynamicLinker->getModuleFileName(reinterpret_cast<void*>(0x10), buffer, 512), 0u);
}

TEST_F(ModuleLoading, ALockedApplicationIsNotUnloadedOnRequestButIsAtTheEnd)
{
    std::string error;
    ASSERT_TRUE(ModuleLoader::instance().load(testModule(), ModuleKind::Module, &error)) << error;
    void* handle = acrxDynamicLinker->getModuleHandle(L"TestModule.arx");
    EXPECT_FALSE(acrxDynamicLinker->isApplicationLocked(L"TestModule.arx"));  // it unlocked itself
    ASSERT_TRUE(acrxDynamicLinker->lockApplication(handle));

    EXPECT_FALSE(ModuleLoader::instance().unload("TestModule.arx", UnloadMode::OnRequest, &error));
    EXPECT_NE(error.find("locked"), std::string::npos) << error;
    EXPECT_NE(acedRegCmds->lookupCmd(L"HELLO"), nullptr);

    ModuleLoader::instance().unloadAll();
    EXPECT_EQ(acedRegCmds->lookupCmd(L"HELLO"), nullptr);
}

TEST_F(ModuleLoading, RefusesFilesThatAreNotModulesOfThisHostWithAReason)
{
    auto& loader = ModuleLoader::instance();
    std::string error;

    EXPECT_FALSE(loader.load(testModule("TestModuleOldApi.arx"), ModuleKind::Module, &error));
    EXPECT_NE(error.find("0x00100000"), std::string::npos) << error;
    EXPECT_NE(error.find("0x00110000"), std::string::npos) << error;
    // It was never initialised, so it registered nothing.
    EXPECT_EQ(acedRegCmds->lookupCmd(L"HELLO"), nullptr);

    const fs::path scratch = fendo::test::scratchDir("loader");
    EXPECT_FALSE(loader.load((scratch / "Nowhere.arx").string(), ModuleKind::Module, &error));
    EXPECT_NE(error.find("no such file"), std::string::npos) << error;

    fendo::test::writeFile(scratch / "Text.arx", "not a module\n");
    EXPECT_FALSE(loader.load((scratch / "Text.arx").string(), ModuleKind::Module, &error));
    EXPECT_NE(error.find("not a loadable module"), std::string::npos) << error;

    // A shared library without the exports: the host library itself.
    EXPECT_FALSE(loader.load((fendo::test::binDir() / "libfendohost.so").string(), ModuleKind::Module, &error));
    EXPECT_NE(error.find("no acrxEntryPoint export"), std::string::npos) << error;

    EXPECT_TRUE(loader.modules().empty());
}

}  // namespace
