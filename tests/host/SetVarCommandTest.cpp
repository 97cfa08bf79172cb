// SETVAR at the command prompt: showing a system variable and setting it from typed text.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "host/editor/PromptCommands.h"
#include "host/editor/SysVars.h"

using namespace fendo::editor;

namespace {
class SetVarCommand : public EditorSession {
protected:
    void TearDown() override
    {
        resetSysVars();
        EditorSession::TearDown();
    }
};

short shortVar(const wchar_t* name) { return std::get<short>(*getSysVar(name)); }
}  // namespace

TEST_F(SetVarCommand, SetsAValueGivenOnTheLineAndShowsItNextTime)
{
    answers("\n");
    runCommandLine(L"setvar osmode 7");
    EXPECT_EQ(shortVar(L"OSMODE"), 7);
    runCommandLine(L"SETVAR OSMODE");
    EXPECT_NE(output.find("Enter new value for OSMODE <7>:"), std::string::npos) << output;
    EXPECT_EQ(shortVar(L"OSMODE"), 7) << "an empty answer keeps the value";
}

TEST_F(SetVarCommand, ReadsTheAnswerAsTheVariablesKind)
{
    answers("OSMODE\n12.5\n");
    runCommandLine(L"SETVAR");
    EXPECT_EQ(shortVar(L"OSMODE"), 4133) << "12.5 is no integer";
    EXPECT_NE(output.find("Cannot set OSMODE"), std::string::npos) << output;

    answers("3,4\n");
    runCommandLine(L"SETVAR LASTPOINT");
    EXPECT_EQ(std::get<Point3>(*getSysVar(L"LASTPOINT")), (Point3{3.0, 4.0, 0.0}));
}

TEST_F(SetVarCommand, RefusesUnknownNamesValuesOutOfRangeAndReadOnlyVariables)
{
    answers("");
    runCommandLine(L"SETVAR NOSUCHVAR 1");
    EXPECT_NE(output.find("Unknown variable name."), std::string::npos) << output;
    runCommandLine(L"SETVAR OSMODE 70000");
    EXPECT_EQ(shortVar(L"OSMODE"), 4133) << "a value that would wrap into range";
    runCommandLine(L"SETVAR DWGPREFIX /tmp/");
    EXPECT_NE(output.find("Cannot set DWGPREFIX"), std::string::npos) << output;
}
