// Command-line output and the host services around it: printf with wide "%s", alerts,
// message boxes, the progress meter, system variables, acedCommand, files.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "EditorTestSupport.h"
#include "host/editor/FindFile.h"
#include "host/editor/HostCommands.h"
#include "host/editor/MessageBox.h"
#include "host/editor/ProgressMeter.h"
#include "host/editor/SysVars.h"
#include "host/editor/aced.h"
#include "support/TestSupport.h"

using namespace fendo::editor;

TEST_F(EditorSession, PrintfTakesWideStringsAndPrintsVietnameseAsUtf8)
{
    answers("");
    acutPrintf(L"\nLớp %s có %d đối tượng, %c%hs|%-6s|%5.1f|%I64d|%%", L"Đường", 3, L'ổ', "narrow", L"ab",
               2.25, static_cast<long long>(1) << 40);
    EXPECT_EQ(output, "\nLớp Đường có 3 đối tượng, ổnarrow|ab    |  2.2|1099511627776|%");
}

TEST_F(EditorSession, OutputDropsTheLeadingNewlineRightAfterAnAnswer)
{
    answers("1,1\n");
    ads_point p{};
    acedGetPoint(nullptr, L"\nPick: ", p);
    acutPrintf(L"\nDone.");
    acutPrintf(L"\nAgain.");
    EXPECT_EQ(output, "\nPick: 1,1\nDone.\nAgain.");
}

TEST_F(EditorSession, AlertDrawsABoxAroundEveryLine)
{
    answers("");
    acedAlert(L"Không chọn được\nok");
    EXPECT_NE(output.find("+-----------------+\n| Không chọn được |\n| ok              |\n"),
              std::string::npos)
        << output;
}

TEST_F(EditorSession, MessageBoxesReadTheirAnswerUnlessTheyHaveOneButton)
{
    answers("yes\nNO\ncancel\n\nmaybe\nmaybe\nmaybe\nmaybe\n");
    EXPECT_EQ(acedMessageBox(L"Saved.", L"Fendo", MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_EQ(acedMessageBox(L"Erase?", L"Fendo", MB_YESNO), IDYES);
    EXPECT_EQ(acedMessageBox(L"Erase?", L"Fendo", MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(acedMessageBox(L"Erase?", L"Fendo", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(acedMessageBox(L"Go on?", L"Fendo", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL)
        << "Enter takes the default";
    EXPECT_EQ(acedMessageBox(L"Erase?", L"Fendo", MB_YESNO), IDNO) << "a script that keeps failing says No";
    EXPECT_EQ(acedMessageBox(L"Go on?", L"Fendo", MB_OKCANCEL), IDCANCEL) << "the end of input cancels";
}

TEST_F(EditorSession, ProgressMeterIsSilentInScriptsAndThrottledOnATerminal)
{
    answers("");
    acedSetStatusBarProgressMeter(L"Joint Text va Point", 0, 200000);
    for (int i = 0; i <= 200000; ++i) {
        acedSetStatusBarProgressMeterPos(i);
    }
    acedRestoreStatusBar();
    EXPECT_EQ(progressMeter().redrawCount(), 0);
    EXPECT_TRUE(output.empty());

    std::FILE* bar = std::tmpfile();
    ASSERT_NE(bar, nullptr);
    progressMeter().setDisplay(ProgressDisplay::Always, bar);
    acedSetStatusBarProgressMeter(L"Joint", 0, 200000);
    for (int i = 0; i <= 200000; ++i) {
        acedSetStatusBarProgressMeterPos(i);
    }
    EXPECT_GE(progressMeter().redrawCount(), 2);    // the start and the end at least
    EXPECT_LE(progressMeter().redrawCount(), 102);  // never more than once per percent
    acedRestoreStatusBar();
    progressMeter().setDisplay(ProgressDisplay::Auto);
    std::fclose(bar);
}

class SysVarTest : public EditorSession {
protected:
    void TearDown() override
    {
        resetSysVars();
        EditorSession::TearDown();
    }
};

TEST_F(SysVarTest, NamesAreCaseInsensitiveAndValuesTyped)
{
    resbuf rb{};
    ASSERT_EQ(acedGetVar(L"osmode", &rb), RTNORM);
    EXPECT_EQ(rb.restype, RTSHORT);
    EXPECT_EQ(rb.resval.rint, 4133);
    rb.restype = RTSHORT;
    rb.resval.rint = 0;
    ASSERT_EQ(acedSetVar(L"OsMode", &rb), RTNORM);
    ASSERT_EQ(acedGetVar(L"OSMODE", &rb), RTNORM);
    EXPECT_EQ(rb.resval.rint, 0);

    ASSERT_EQ(acedGetVar(L"ViewSize", &rb), RTNORM);
    EXPECT_EQ(rb.restype, RTREAL);
    EXPECT_DOUBLE_EQ(rb.resval.rreal, 100.0);

    EXPECT_EQ(acedGetVar(L"NOSUCHVAR", &rb), RTERROR);
    rb.restype = RTSTR;
    rb.resval.rstring = const_cast<ACHAR*>(L"x");
    EXPECT_EQ(acedSetVar(L"CMDECHO", &rb), RTERROR) << "a string for a short variable";
    EXPECT_EQ(acedSetVar(L"DWGPREFIX", &rb), RTERROR) << "read-only";
    rb.restype = RTSHORT;
    rb.resval.rint = 51;
    EXPECT_EQ(acedSetVar(L"PICKBOX", &rb), RTERROR) << "out of range";
}

TEST_F(SysVarTest, BoundVariablesReadAndWriteThroughTheirOwner)
{
    std::wstring layer = L"DiemDoKVO";
    ASSERT_TRUE(bindSysVar(
        L"clayer", [&] { return SysVarValue{layer}; },
        [&](const SysVarValue& v) {
            const auto& name = std::get<std::wstring>(v);
            if (name.empty()) {
                return false;
            }
            layer = name;
            return true;
        }));
    resbuf rb{};
    ASSERT_EQ(acedGetVar(L"CLAYER", &rb), RTNORM);
    ASSERT_EQ(rb.restype, RTSTR);
    EXPECT_STREQ(rb.resval.rstring, L"DiemDoKVO");
    delete[] rb.resval.rstring;

    resbuf set{};
    set.restype = RTSTR;
    set.resval.rstring = const_cast<ACHAR*>(L"Taluy");
    ASSERT_EQ(acedSetVar(L"clayer", &set), RTNORM);
    EXPECT_EQ(layer, L"Taluy");
    set.resval.rstring = const_cast<ACHAR*>(L"");
    EXPECT_EQ(acedSetVar(L"clayer", &set), RTERROR) << "the owner refused the value";
    EXPECT_EQ(layer, L"Taluy");
    EXPECT_FALSE(bindSysVar(L"NOSUCHVAR", nullptr, nullptr));
}

TEST_F(EditorSession, RedrawCommandSucceedsAndClearsVectorsWhileUnknownCommandsFail)
{
    answers("");
    const ads_point a{0, 0, 0};
    const ads_point b{1, 1, 0};
    acedGrDraw(a, b, 1, 0);
    ASSERT_EQ(editor().vectors().size(), 1u);
    EXPECT_EQ(acedCommand(RTSTR, L"_.redraw", RTNONE), RTNORM);
    EXPECT_TRUE(editor().vectors().empty());
    EXPECT_EQ(acedCommandS(RTSTR, L"REDRAW", 0), RTNORM);
    EXPECT_EQ(acedCommand(RTSTR, L"_.explode", RTSTR, L"", RTNONE), RTERROR);
    EXPECT_NE(output.find("Unknown command \"_.EXPLODE\""), std::string::npos);
}

TEST_F(SysVarTest, FindFileLooksInTheDrawingFolderAndSupportFolders)
{
    const auto root = fendo::test::scratchDir("findfile");
    std::filesystem::create_directories(root / "dwg");
    std::filesystem::create_directories(root / "support" / "Data");
    std::ofstream(root / "dwg" / "a.txt") << "a";
    std::ofstream(root / "support" / "Data" / "tl.ini") << "1";
    ASSERT_TRUE(setSysVarInternal(L"DWGPREFIX", (root / "dwg").wstring()));
    addSupportPath((root / "support").wstring());
    ACHAR found[512];
    ASSERT_EQ(acedFindFile(L"a.txt", found, 512), RTNORM);
    EXPECT_EQ(std::filesystem::path(found), root / "dwg" / "a.txt");
    ASSERT_EQ(acedFindFile(L"Data\\tl.ini", found, 512), RTNORM) << "backslashes of module paths";
    EXPECT_EQ(std::filesystem::path(found), root / "support" / "Data" / "tl.ini");
    EXPECT_EQ(acedFindFile(L"missing.txt", found, 512), RTERROR);
    EXPECT_EQ(acedFindFile(L"a.txt", found, 4), RTERROR) << "a buffer too small";
    clearSupportPaths();
    std::filesystem::remove_all(root);
}

TEST_F(EditorSession, FileDialogAddsTheExtensionChecksExistenceAndCancelsOnEmpty)
{
    const auto dir = fendo::test::scratchDir("filedialog");
    std::ofstream(dir / "coords.xls") << "x";
    const std::string base = dir.string();
    answers(base + "/nothere\n" + base + "/coords\n" + base + "/out\n\n");
    resbuf rb{};
    ASSERT_EQ(acedGetFileD(L"Open", L"", L"xls", 0, &rb), RTNORM);
    ASSERT_EQ(rb.restype, RTSTR);
    EXPECT_EQ(std::filesystem::path(rb.resval.rstring), dir / "coords.xls");
    EXPECT_NE(output.find("File not found"), std::string::npos);
    delete[] rb.resval.rstring;
    ASSERT_EQ(acedGetFileD(L"Save", L"", L"xls", 1, &rb), RTNORM) << "a new file need not exist";
    EXPECT_EQ(std::filesystem::path(rb.resval.rstring), dir / "out.xls");
    delete[] rb.resval.rstring;
    EXPECT_EQ(acedGetFileD(L"Open", L"", L"xls", 0, &rb), RTCAN);
    std::filesystem::remove_all(dir);
}

TEST_F(SysVarTest, NumbersConvertBetweenKindsOnlyWithoutLoss)
{
    resbuf rb{};
    rb.restype = RTREAL;
    rb.resval.rreal = 2.0;
    ASSERT_EQ(acedSetVar(L"PDMODE", &rb), RTNORM);
    EXPECT_EQ(std::get<short>(*getSysVar(L"PDMODE")), 2);
    rb.resval.rreal = 2.5;
    EXPECT_EQ(acedSetVar(L"PDMODE", &rb), RTERROR);
    // LASTPOINT is the editor's own last point, the one "@" answers start from.
    rb.restype = RT3DPOINT;
    rb.resval.rpoint[X] = 5;
    rb.resval.rpoint[Y] = 6;
    rb.resval.rpoint[Z] = 7;
    ASSERT_EQ(acedSetVar(L"lastpoint", &rb), RTNORM);
    EXPECT_EQ(editor().lastPoint(), (Point3{5, 6, 7}));
    registerSysVar(L"Elevation", 0.0, SysVarAccess::ReadWrite);
    rb.restype = RTSHORT;
    rb.resval.rint = 3;
    ASSERT_EQ(acedSetVar(L"ELEVATION", &rb), RTNORM);
    ASSERT_EQ(acedGetVar(L"elevation", &rb), RTNORM);
    EXPECT_EQ(rb.restype, RTREAL);
    EXPECT_DOUBLE_EQ(rb.resval.rreal, 3.0);
}

TEST_F(EditorSession, HostCommandsReceiveTheirArgumentsFromListsAndChains)
{
    answers("");
    std::vector<CommandArgument> seen;
    registerHostCommand(L"ZOOMTEST", [&](const std::vector<CommandArgument>& args) {
        seen = args;
        return RTNORM;
    });
    const ads_point corner{1, 2, 3};
    ASSERT_EQ(acedCommand(RTSTR, L"_zoomtest", RTSTR, L"w", RTPOINT, corner, RTREAL, 2.5, RTSHORT, 4, 0),
              RTNORM);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].text, L"w");
    EXPECT_EQ(seen[1].point, (Point3{1, 2, 0})) << "an RTPOINT is 2D";
    EXPECT_DOUBLE_EQ(seen[2].real, 2.5);
    EXPECT_EQ(seen[3].integer, 4);

    resbuf second{};
    second.restype = RTSTR;
    second.resval.rstring = const_cast<ACHAR*>(L"e");
    resbuf first{};
    first.restype = RTSTR;
    first.resval.rstring = const_cast<ACHAR*>(L"ZoomTest");
    first.rbnext = &second;
    ASSERT_EQ(acedCmd(&first), RTNORM);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"e");
    unregisterHostCommand(L"zoomtest");
    EXPECT_EQ(acedCommand(RTSTR, L"zoomtest", RTNONE), RTERROR);
}

TEST_F(EditorSession, UserBreakIsReportedOnce)
{
    answers("");
    EXPECT_EQ(acedUsrBrk(), 0);
    editor().requestBreak();
    EXPECT_EQ(acedUsrBrk(), 1);
    EXPECT_EQ(acedUsrBrk(), 0);
}
