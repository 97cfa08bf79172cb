// Reading object selections, single picks and command names.
#include <map>

#include "EditorTestSupport.h"
#include "host/editor/SelectionInput.h"
#include "host/editor/aced.h"

using namespace fendo::editor;

namespace {
// A drawing of its own: a pick at (x, y) finds object x; windows find the listed objects.
class FakeResolver : public SelectionResolver {
public:
    std::vector<std::uint64_t> resolve(const SelectionItem& item) override
    {
        seen.push_back(item);
        switch (item.kind) {
        case SelectionItem::Kind::Point:  // nothing at x = 0
            if (item.points[0][0] == 0.0) {
                return {};
            }
            return {static_cast<std::uint64_t>(item.points[0][0])};
        case SelectionItem::Kind::Window:
            return {1, 2, 3};
        case SelectionItem::Kind::Crossing:
            return {3, 4};
        case SelectionItem::Kind::All:
            return {1, 2, 3, 4, 5};
        case SelectionItem::Kind::Last:
            return {5};
        case SelectionItem::Kind::Handles:
            return item.handles;
        default:
            return {};
        }
    }
    std::vector<SelectionItem> seen;
};
}  // namespace

TEST(SelectionAnswerParsing, ReadsEveryItemForm)
{
    const Point3 last{10, 10, 0};
    auto w = parseSelectionAnswer(L"W 0,0 @5,5", last);
    ASSERT_EQ(w.kind, SelectionAnswer::Kind::Item);
    EXPECT_EQ(w.item.kind, SelectionItem::Kind::Window);
    EXPECT_EQ(w.item.points[1], (Point3{5, 5, 0})) << "the second corner is relative to the first";
    auto h = parseSelectionAnswer(L"h 2A ff 1C0", last);
    ASSERT_EQ(h.kind, SelectionAnswer::Kind::Item);
    EXPECT_EQ(h.item.handles, (std::vector<std::uint64_t>{0x2A, 0xFF, 0x1C0}));
    EXPECT_EQ(parseSelectionAnswer(L"ALL", last).item.kind, SelectionItem::Kind::All);
    EXPECT_EQ(parseSelectionAnswer(L"l", last).item.kind, SelectionItem::Kind::Last);
    EXPECT_EQ(parseSelectionAnswer(L"p", last).item.kind, SelectionItem::Kind::Previous);
    EXPECT_EQ(parseSelectionAnswer(L"c", last).kind, SelectionAnswer::Kind::NeedCorners);
    EXPECT_EQ(parseSelectionAnswer(L"R", last).kind, SelectionAnswer::Kind::RemoveMode);
    EXPECT_EQ(parseSelectionAnswer(L"  ", last).kind, SelectionAnswer::Kind::End);
    for (const wchar_t* bad : {L"h", L"h 0", L"h 2G", L"w 0,0", L"w 0,0 1,1 2,2", L"1,2,3,4", L"xyz"}) {
        EXPECT_EQ(parseSelectionAnswer(bad, last).kind, SelectionAnswer::Kind::Invalid) << bad;
    }
}

TEST_F(EditorSession, SelectionKeepsFirstOrderDropsDuplicatesAndRemoves)
{
    answers("2,0\nw 0,0 9,9\nr\n1,0\nc 0,0 1,1\na\nh 7\n\n");
    FakeResolver resolver;
    std::vector<std::uint64_t> ids;
    ASSERT_EQ(readSelection(nullptr, nullptr, SelectionMode::Multiple, resolver, ids), RTNORM);
    EXPECT_EQ(ids, (std::vector<std::uint64_t>{2, 7}));
    ASSERT_EQ(resolver.seen.size(), 5u);
    EXPECT_FALSE(resolver.seen[1].remove);
    EXPECT_TRUE(resolver.seen[2].remove);
    EXPECT_TRUE(resolver.seen[3].remove);
    EXPECT_FALSE(resolver.seen[4].remove);
    EXPECT_NE(output.find("Select objects: w 0,0 9,9\n3 found (1 duplicate), 3 total"), std::string::npos)
        << output;
    EXPECT_NE(output.find("Remove objects: 1,0\n1 found, 1 removed, 2 total"), std::string::npos) << output;
}

TEST_F(EditorSession, EmptySelectionIsAnErrorAndCancelOrEndOfInputCancels)
{
    FakeResolver resolver;
    std::vector<std::uint64_t> ids;
    answers("\n");
    EXPECT_EQ(readSelection(nullptr, nullptr, SelectionMode::Multiple, resolver, ids), RTERROR);
    answers("all\n^C\n");
    EXPECT_EQ(readSelection(nullptr, nullptr, SelectionMode::Multiple, resolver, ids), RTCAN);
    EXPECT_TRUE(ids.empty());
    answers("all\n");
    EXPECT_EQ(readSelection(nullptr, nullptr, SelectionMode::Multiple, resolver, ids), RTCAN);
    EXPECT_TRUE(editor().inputExhausted());
}

TEST_F(EditorSession, BadSelectionAnswersAreReaskedThenCancelled)
{
    answers("zzz\nw 1\nr\nq\n1,0\n");
    FakeResolver resolver;
    std::vector<std::uint64_t> ids;
    // "r" is no item in single mode: four bad answers cancel before the good one is read.
    EXPECT_EQ(readSelection(L"\nPick one: ", nullptr, SelectionMode::Single, resolver, ids), RTCAN);
    EXPECT_NE(output.find("*Invalid selection*"), std::string::npos);
    EXPECT_FALSE(editor().inputExhausted());
    EXPECT_TRUE(resolver.seen.empty());
}

TEST_F(EditorSession, SingleSelectionEndsAtTheFirstItemThatFindsSomething)
{
    answers("0,0\nw\n0,0\n5,5\n8,0\n");
    FakeResolver resolver;
    std::vector<std::uint64_t> ids;
    ASSERT_EQ(readSelection(L"\nPick one: ", nullptr, SelectionMode::Single, resolver, ids), RTNORM);
    EXPECT_EQ(ids, (std::vector<std::uint64_t>{1, 2, 3}))
        << "the first pick found nothing; corners were asked";
}

TEST_F(EditorSession, EntityPickGivesAPointAHandleOrAKeyword)
{
    answers("3,4\nh 1F\nundo\nblah\n\n");
    EntityPickAnswer pick;
    ASSERT_EQ(readEntityPick(L"\nSelect object: ", pick), RTNORM);
    EXPECT_EQ(pick.kind, EntityPickAnswer::Kind::Point);
    EXPECT_EQ(pick.point, (Point3{3, 4, 0}));
    ASSERT_EQ(readEntityPick(L"\nSelect object: ", pick), RTNORM);
    EXPECT_EQ(pick.kind, EntityPickAnswer::Kind::Handle);
    EXPECT_EQ(pick.handle, 0x1Fu);
    acedInitGet(RSG_OTHER, L"Undo");
    ASSERT_EQ(readEntityPick(L"\nSelect object: ", pick), RTKWORD);
    EXPECT_EQ(editor().lastInput(), L"Undo");
    acedInitGet(RSG_OTHER, L"Undo");
    ASSERT_EQ(readEntityPick(L"\nSelect object: ", pick), RTINPUT);
    EXPECT_EQ(editor().lastInput(), L"blah");
    EXPECT_EQ(readEntityPick(L"\nSelect object: ", pick), RTNONE);
}

TEST_F(EditorSession, CommandPromptRepeatsTheLastCommandOnAnEmptyLine)
{
    answers("\n22\n\n^C\nTEMPLATE_11\n");
    std::wstring name;
    ASSERT_TRUE(readCommand(name));
    EXPECT_EQ(name, L"22") << "an empty line before any command is ignored";
    ASSERT_TRUE(readCommand(name));
    EXPECT_EQ(name, L"22");
    ASSERT_TRUE(readCommand(name));
    EXPECT_EQ(name, L"TEMPLATE_11");
    EXPECT_FALSE(readCommand(name));
    EXPECT_NE(output.find("Command: 22\n"), std::string::npos);
}
