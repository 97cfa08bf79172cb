// The get functions answered from scripts: points, numbers, keywords, empty replies, bad
// answers and the end of input.
#include <cmath>
#include <numbers>

#include "EditorTestSupport.h"
#include "host/editor/aced.h"

using fendo::editor::editor;

TEST_F(EditorSession, PointsAreReadIn2dIn3dAndRelativeToTheLastPoint)
{
    answers("1.5,2\n3,4,5\n@1,-1\n@2<90\n@\n");
    ads_point p{};
    ASSERT_EQ(acedGetPoint(nullptr, L"\nFirst: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[X], 1.5);
    EXPECT_DOUBLE_EQ(p[Y], 2.0);
    EXPECT_DOUBLE_EQ(p[Z], 0.0);
    ASSERT_EQ(acedGetPoint(p, L"\nNext: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[Z], 5.0);
    ASSERT_EQ(acedGetPoint(p, L"\nNext: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[X], 4.0);
    EXPECT_DOUBLE_EQ(p[Y], 3.0);
    EXPECT_DOUBLE_EQ(p[Z], 5.0);
    ASSERT_EQ(acedGetPoint(p, L"\nPolar: ", p), RTNORM);
    EXPECT_NEAR(p[X], 4.0, 1e-12);
    EXPECT_NEAR(p[Y], 5.0, 1e-12);
    ASSERT_EQ(acedGetPoint(p, L"\nSame: ", p), RTNORM);
    EXPECT_NEAR(p[Y], 5.0, 1e-12);
    // The log reads like a terminal session: the prompt, then the answer.
    EXPECT_NE(output.find("First: 1.5,2\nNext: 3,4,5\nNext: @1,-1\n"), std::string::npos) << output;
}

TEST_F(EditorSession, NumbersAcceptExponentsAndSignsButNotJunk)
{
    answers("1e3\n-4\n2.5x\n.5\n7\n2.5\n");
    double r = 0;
    ASSERT_EQ(acedGetReal(L"\nR: ", &r), RTNORM);
    EXPECT_DOUBLE_EQ(r, 1000.0);
    ASSERT_EQ(acedGetReal(L"\nR: ", &r), RTNORM);
    EXPECT_DOUBLE_EQ(r, -4.0);
    ASSERT_EQ(acedGetReal(L"\nR: ", &r), RTNORM);  // "2.5x" is refused, ".5" taken
    EXPECT_DOUBLE_EQ(r, 0.5);
    EXPECT_NE(output.find("Requires numeric value."), std::string::npos);
    int i = 0;
    ASSERT_EQ(acedGetInt(L"\nI: ", &i), RTNORM);
    EXPECT_EQ(i, 7);
    acedInitGet(RSG_NONULL, nullptr);
    EXPECT_EQ(acedGetInt(L"\nI: ", &i), RTCAN);  // 2.5 refused, then the script ends
    EXPECT_NE(output.find("Requires an integer value."), std::string::npos);
}

TEST_F(EditorSession, ZeroAndNegativeValuesAreRefusedWhenTheFlagsSaySo)
{
    answers("0\n-2\n3\n");
    double r = 0;
    acedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
    ASSERT_EQ(acedGetReal(L"\nR: ", &r), RTNORM);
    EXPECT_DOUBLE_EQ(r, 3.0);
    EXPECT_NE(output.find("Value must be positive and nonzero."), std::string::npos);
}

TEST_F(EditorSession, KeywordsMatchByFullNameShortFormAndUniquePrefix)
{
    answers("undo\nU\nx\neXi\ncl\nC\n");
    ACHAR kw[32];
    ads_point p{};
    const ACHAR* list = L"Undo eXit CLose COpy";
    for (const wchar_t* expected : {L"Undo", L"Undo", L"eXit", L"eXit", L"CLose"}) {
        acedInitGet(0, list);
        ASSERT_EQ(acedGetPoint(nullptr, L"\nP: ", p), RTKWORD) << expected;
        ASSERT_EQ(acedGetInput(kw, 32), RTNORM);
        EXPECT_STREQ(kw, expected);
    }
    // "C" is a prefix of both CLose and COpy and nobody's short form: refused, then the script ends.
    acedInitGet(0, list);
    EXPECT_EQ(acedGetPoint(nullptr, L"\nP: ", p), RTCAN);
    EXPECT_NE(output.find("Point or option keyword required."), std::string::npos);
}

TEST_F(EditorSession, GlobalKeywordsAreReturnedForLocalAnswers)
{
    answers("có\nk\n_No\n");
    ACHAR kw[32];
    acedInitGet(0, L"Có Không _Yes No");
    ASSERT_EQ(acedGetKword(L"\nChọn: ", kw, 32), RTNORM);
    EXPECT_STREQ(kw, L"Yes");
    acedInitGet(0, L"Có Không _Yes No");
    ASSERT_EQ(acedGetKword(L"\nChọn: ", kw, 32), RTNORM);
    EXPECT_STREQ(kw, L"No");
    acedInitGet(0, L"Có Không _Yes No");
    ASSERT_EQ(acedGetKword(L"\nChọn: ", kw, 32), RTNORM);
    EXPECT_STREQ(kw, L"No") << "an answer starting with '_' names the global keyword";
}

TEST_F(EditorSession, InitGetStateIsConsumedByTheNextGetOnly)
{
    answers("Undo\n\n");
    double r = 0;
    acedInitGet(RSG_NONULL, L"Undo");
    ASSERT_EQ(acedGetReal(L"\nR: ", &r), RTKWORD);
    // Keywords and no-null are gone: the empty line is a plain empty reply.
    EXPECT_EQ(acedGetReal(L"\nR: ", &r), RTNONE);
}

TEST_F(EditorSession, EmptyReplyIsRefusedUnderNoNullAndAScriptGivesUpAfterTheCap)
{
    answers("\n\n\n\n\n5\n");
    double r = 0;
    acedInitGet(RSG_NONULL, nullptr);
    EXPECT_EQ(acedGetReal(L"\nR: ", &r), RTCAN);
    // Asked four times (the answer and three re-asks), then cancelled; the fifth line is left.
    ASSERT_EQ(acedGetReal(L"\nR: ", &r), RTNONE);
    ASSERT_EQ(acedGetReal(L"\nR: ", &r), RTNORM);
    EXPECT_DOUBLE_EQ(r, 5.0);
    EXPECT_NE(output.find("*Cancel*"), std::string::npos);
}

TEST_F(EditorSession, ArbitraryInputIsReturnedAsInputText)
{
    answers("hello world\n");
    ads_point p{};
    ACHAR text[64];
    acedInitGet(RSG_OTHER, L"Undo");
    ASSERT_EQ(acedGetPoint(nullptr, L"\nP: ", p), RTINPUT);
    ASSERT_EQ(acedGetInput(text, 64), RTNORM);
    EXPECT_STREQ(text, L"hello world");
}

TEST_F(EditorSession, CancelAndEndOfInputBothCancelButOnlyTheEndExhaustsTheSession)
{
    answers("^c\n");
    double r = 0;
    EXPECT_EQ(acedGetReal(L"\nR: ", &r), RTCAN);
    EXPECT_FALSE(editor().inputExhausted());
    EXPECT_EQ(acedGetReal(L"\nR: ", &r), RTCAN);
    EXPECT_TRUE(editor().inputExhausted());
    ads_point p{};
    EXPECT_EQ(acedGetPoint(nullptr, L"\nP: ", p), RTCAN) << "nothing more is read after the end";
}

TEST_F(EditorSession, CommentsBlanksAndWindowsLineEndsAreHandledInScripts)
{
    answers("\xEF\xBB\xBF# a comment\r\n   # another\r\n  2 , 3 \r\n");
    ads_point p{};
    ASSERT_EQ(acedGetPoint(nullptr, L"\nP: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[X], 2.0);
    EXPECT_DOUBLE_EQ(p[Y], 3.0);
}

TEST_F(EditorSession, DistancesAndAnglesTakeNumbersOrPoints)
{
    answers("3,4\n5\n90\n0,1\n0,0\n1,1\n");
    const ads_point origin{0, 0, 0};
    double d = 0;
    ASSERT_EQ(acedGetDist(origin, L"\nD: ", &d), RTNORM);
    EXPECT_DOUBLE_EQ(d, 5.0);
    ASSERT_EQ(acedGetDist(origin, L"\nD: ", &d), RTNORM);
    EXPECT_DOUBLE_EQ(d, 5.0);
    double a = 0;
    ASSERT_EQ(acedGetAngle(origin, L"\nA: ", &a), RTNORM);
    EXPECT_NEAR(a, std::numbers::pi / 2, 1e-12);
    ASSERT_EQ(acedGetAngle(origin, L"\nA: ", &a), RTNORM);
    EXPECT_NEAR(a, std::numbers::pi / 2, 1e-12);
    // Without a base the first point is followed by a question for the second.
    ASSERT_EQ(acedGetAngle(nullptr, L"\nA: ", &a), RTNORM);
    EXPECT_NEAR(a, std::numbers::pi / 4, 1e-12);
    EXPECT_NE(output.find("Specify second point: 1,1"), std::string::npos);
}

TEST_F(EditorSession, StringsStopAtABlankUnlessTheWholeLineIsAsked)
{
    answers("  first word\n  whole line here\n");
    ACHAR s[kHostInputBufferLength];
    ASSERT_EQ(acedGetString(0, L"\nS: ", s), RTNORM);
    EXPECT_STREQ(s, L"first");
    ACHAR small[6];
    ASSERT_EQ(acedGetString(1, L"\nS: ", small, 6), RTNORM);
    EXPECT_STREQ(small, L"  who") << "a long answer is cut to the buffer";
}

TEST_F(EditorSession, ScriptsWithoutEchoPrintOnlyThePrompts)
{
    answers("");
    editor().setInput(fendo::editor::ScriptInput::fromString("4\n", fendo::editor::ScriptEcho::Off));
    double r = 0;
    ASSERT_EQ(acedGetReal(L"\nR: ", &r), RTNORM);
    acutPrintf(L"\nok");
    EXPECT_EQ(output, "\nR: \nok");
}

TEST(ScriptFiles, AreReadFromDiskAndAMissingFileIsReported)
{
    std::string error;
    EXPECT_EQ(fendo::editor::ScriptInput::fromFile("/nonexistent/answers.txt", &error), nullptr);
    EXPECT_NE(error.find("/nonexistent/answers.txt"), std::string::npos);

    const std::string path = ::testing::TempDir() + "fendo-answers.txt";
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("# comment\nhello\n", f);
        std::fclose(f);
    }
    auto script = fendo::editor::ScriptInput::fromFile(path, &error);
    ASSERT_NE(script, nullptr);
    std::wstring line;
    ASSERT_EQ(script->readLine({}, line), fendo::editor::ReadResult::Line);
    EXPECT_EQ(line, L"hello");
    EXPECT_EQ(script->position(), path + ":2");
    EXPECT_EQ(script->readLine({}, line), fendo::editor::ReadResult::EndOfInput);
    std::remove(path.c_str());
}

TEST_F(EditorSession, KeywordQuestionsReturnTheTextAndRefuseOtherAnswers)
{
    answers("maybe\n\nfree text\n");
    ACHAR kw[32];
    acedInitGet(0, L"Yes No");
    EXPECT_EQ(acedGetKword(L"\nYes/No: ", kw, 32), RTNONE) << "'maybe' refused, then Enter";
    EXPECT_STREQ(kw, L"");
    EXPECT_NE(output.find("Invalid option keyword."), std::string::npos);
    acedInitGet(RSG_OTHER, L"Yes No");
    ASSERT_EQ(acedGetKword(L"\nYes/No: ", kw, 32), RTNORM);
    EXPECT_STREQ(kw, L"free text");
    ads_point p{};
    EXPECT_EQ(acedGetCorner(nullptr, L"\nCorner: ", p), RTERROR) << "a corner needs its base";
}
