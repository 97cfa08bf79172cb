// The command stack: names, groups, lookups and the guarded call of a handler.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "host/editor/CommandStack.h"
#include "host/editor/Editor.h"

namespace {

int gCalls = 0;
void countCall() { ++gCalls; }
void otherCall() { gCalls += 100; }
void throwingCall() { throw std::runtime_error("bad input"); }
void throwingNonStd() { throw 42; }

TEST(CommandStack, RefusesANameAnotherGroupOrCommandAlreadyAnswersTo)
{
    AcEdCommandStack stack;
    ASSERT_EQ(stack.addCommand(L"TEMPLATE", L"TEMPLATE_RM", L"RM", ACRX_CMD_MODAL, countCall), Acad::eOk);

    // Same local name, other group.
    EXPECT_EQ(stack.addCommand(L"OTHER", L"OTHER_RM", L"rm", ACRX_CMD_MODAL, countCall), Acad::eDuplicateKey);
    // Same global name, other group.
    EXPECT_EQ(stack.addCommand(L"OTHER", L"template_rm", L"X", ACRX_CMD_MODAL, countCall), Acad::eDuplicateKey);
    // A new command's global name equal to an existing local name, in the same group.
    EXPECT_EQ(stack.addCommand(L"TEMPLATE", L"RM", L"RM2", ACRX_CMD_MODAL, countCall), Acad::eDuplicateKey);
    EXPECT_EQ(stack.commands().size(), 1u);

    // Missing pieces are refused rather than registered half.
    EXPECT_EQ(stack.addCommand(L"TEMPLATE", L"", L"A", ACRX_CMD_MODAL, countCall), Acad::eInvalidInput);
    EXPECT_EQ(stack.addCommand(L"TEMPLATE", L"TEMPLATE_A", L"A", ACRX_CMD_MODAL, nullptr), Acad::eInvalidInput);
    EXPECT_EQ(stack.addCommand(L"TEMPLATE", L"TEMPLATE A", L"A", ACRX_CMD_MODAL, countCall), Acad::eInvalidInput);
}

TEST(CommandStack, RedefiningACommandOfTheSameGroupReplacesItInPlace)
{
    AcEdCommandStack stack;
    ASSERT_EQ(stack.addCommand(L"G", L"G_ONE", L"ONE", ACRX_CMD_MODAL, countCall), Acad::eOk);
    ASSERT_EQ(stack.addCommand(L"G", L"G_TWO", L"TWO", ACRX_CMD_MODAL, countCall), Acad::eOk);
    AcEdCommand* returned = nullptr;
    ASSERT_EQ(stack.addCommand(L"G", L"G_ONE", L"UNO", ACRX_CMD_MODAL, otherCall, nullptr, -1, nullptr, &returned),
              Acad::eOk);
    const auto all = stack.commands();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0], returned);
    EXPECT_EQ(std::wstring(all[0]->localName()), L"UNO");
    EXPECT_EQ(stack.lookupCmd(L"ONE"), nullptr);
    EXPECT_EQ(stack.lookupCmd(L"uno")->functionAddr(), &otherCall);
}

TEST(CommandStack, FindsACommandByEitherNameInAnyCaseWithThePrefixesTheHostAccepts)
{
    AcEdCommandStack stack;
    ASSERT_EQ(stack.addCommand(L"TEMPLATE", L"TEMPLATE_PLC", L"PLC", ACRX_CMD_MODAL, countCall), Acad::eOk);
    const AcEdCommand* plc = stack.lookupGlobalCmd(L"TEMPLATE_PLC");
    ASSERT_NE(plc, nullptr);

    for (const wchar_t* typed : {L"PLC", L"plc", L"Plc", L"TEMPLATE_PLC", L"template_plc", L"_TEMPLATE_PLC", L".plc",
                                 L"_.TEMPLATE_PLC", L"  plc  "})
        EXPECT_EQ(stack.lookupCmd(typed), plc) << typed;

    // '_' asks for a global name: the local name does not answer to it.
    EXPECT_EQ(stack.lookupCmd(L"_PLC"), nullptr);
    EXPECT_EQ(stack.lookupCmd(L"PL"), nullptr);
    EXPECT_EQ(stack.lookupCmd(L"_"), nullptr);
    EXPECT_EQ(stack.lookupCmd(nullptr), nullptr);
}

TEST(CommandStack, RemovingAGroupLeavesTheOtherGroupsCommands)
{
    AcEdCommandStack stack;
    ASSERT_EQ(stack.addCommand(L"TEMPLATE", L"TEMPLATE_22", L"22", ACRX_CMD_MODAL, countCall), Acad::eOk);
    ASSERT_EQ(stack.addCommand(L"OTHER", L"OTHER_X", L"X", ACRX_CMD_MODAL, countCall), Acad::eOk);
    ASSERT_EQ(stack.addCommand(L"TEMPLATE", L"TEMPLATE_33", L"33", ACRX_CMD_MODAL, countCall), Acad::eOk);

    EXPECT_EQ(stack.removeGroup(L"template"), Acad::eOk);
    EXPECT_EQ(stack.lookupCmd(L"22"), nullptr);
    EXPECT_EQ(stack.lookupCmd(L"TEMPLATE_33"), nullptr);
    EXPECT_NE(stack.lookupCmd(L"X"), nullptr);
    EXPECT_EQ(stack.removeGroup(L"TEMPLATE"), Acad::eKeyNotFound);

    // The freed names can be taken again, now by another group.
    EXPECT_EQ(stack.addCommand(L"OTHER", L"OTHER_22", L"22", ACRX_CMD_MODAL, countCall), Acad::eOk);
    EXPECT_EQ(stack.removeCmd(L"OTHER", L"OTHER_X"), Acad::eOk);
    EXPECT_EQ(stack.removeCmd(L"OTHER", L"OTHER_X"), Acad::eKeyNotFound);
    EXPECT_EQ(stack.commands().size(), 1u);
}

TEST(CommandStack, TheRegistryHoldsTheStackModulesUse)
{
    ASSERT_NE(acedRegCmds, nullptr);
    EXPECT_EQ(acedRegCmds, AcEdCommandStack::cast(acrxSysRegistry()->at(L"ACAD_REGISTERED_COMMANDS")));
}

TEST(InvokeCommand, AFailingHandlerIsReportedAndTheHostGoesOn)
{
    auto& ed = fendo::editor::editor();
    std::string out;
    ed.captureOutput(&out);
    AcEdCommandStack stack;
    ASSERT_EQ(stack.addCommand(L"G", L"G_BAD", L"BAD", ACRX_CMD_MODAL, throwingCall), Acad::eOk);
    ASSERT_EQ(stack.addCommand(L"G", L"G_WORSE", L"WORSE", ACRX_CMD_MODAL, throwingNonStd), Acad::eOk);
    ASSERT_EQ(stack.addCommand(L"G", L"G_GOOD", L"GOOD", ACRX_CMD_MODAL, countCall), Acad::eOk);

    EXPECT_FALSE(fendo::editor::invokeCommand(*stack.lookupCmd(L"BAD")));
    EXPECT_NE(out.find("Error in command G_BAD: bad input"), std::string::npos) << out;
    EXPECT_FALSE(fendo::editor::invokeCommand(*stack.lookupCmd(L"WORSE")));
    EXPECT_NE(out.find("Error in command G_WORSE"), std::string::npos) << out;

    gCalls = 0;
    EXPECT_TRUE(fendo::editor::invokeCommand(*stack.lookupCmd(L"GOOD")));
    EXPECT_EQ(gCalls, 1);
    ed.reset();
}

}  // namespace
