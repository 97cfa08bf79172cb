// Modeless dialogs outlive their command and are filled in with DIALOG; the colour combo and the
// colour dialog; control operations a dialog's code relies on.
#include "DialogTestSupport.h"
#include "host/dialogs/DialogDriver.h"
#include "host/editor/PromptCommands.h"

using namespace dialog_test;
using fendo::dialogs::openModelessDialogs;
using fendo::editor::runCommandLine;

TEST_F(DialogSession, ModelessDialogStaysOpenAndIsDrivenByTheDialogCommand)
{
    answers("1001=abc\ndone\n1002=on\n^C\n");
    TestDlg dlg;
    ASSERT_TRUE(dlg.Create(kTemplate, acedGetAcadFrame()));
    ASSERT_EQ(openModelessDialogs(), std::vector<CAdUiBaseDialog*>{&dlg});
    EXPECT_NE(output.find("Dialog \"Test dialog\" stays open: DIALOG at the command prompt fills it in."),
              std::string::npos);
    EXPECT_EQ(dlg.GetParent(), acedGetAcadFrame());

    runCommandLine(L"DIALOG"); // "done" leaves it open
    EXPECT_TRUE(IsWindow(dlg.GetSafeHwnd()));
    CString text;
    dlg.GetDlgItemText(kEdit, text);
    EXPECT_EQ(text, L"abc");

    runCommandLine(L"dialog 1"); // "^C" presses Cancel, which closes it
    EXPECT_FALSE(IsWindow(dlg.GetSafeHwnd()));
    EXPECT_TRUE(openModelessDialogs().empty());
    EXPECT_EQ(dlg.events, (std::vector<std::string>{"edit", "check", "cancel"}));
    EXPECT_NE(output.find("Dialog \"Test dialog\" closed."), std::string::npos);

    runCommandLine(L"DIALOG");
    EXPECT_NE(output.find("No dialog is open."), std::string::npos);
}

TEST_F(DialogSession, DialogCommandChoosesAmongSeveralAndTheEndOfInputLeavesThemOpen)
{
    answers("2\n1001=second\n");
    TestDlg first, second;
    ASSERT_TRUE(first.Create());
    ASSERT_TRUE(second.Create());
    runCommandLine(L"DIALOG ?");
    EXPECT_NE(output.find("Open dialogs:\n  1  Test dialog  (dialog 500)\n  2  Test dialog  (dialog 500)"),
              std::string::npos)
        << output;
    runCommandLine(L"DIALOG"); // asks which, then runs out of input
    CString text;
    second.GetDlgItemText(kEdit, text);
    EXPECT_EQ(text, L"second");
    EXPECT_EQ(openModelessDialogs().size(), 2u);
    runCommandLine(L"DIALOG 7");
    EXPECT_NE(output.find("No open dialog \"7\"; DIALOG ? lists them."), std::string::npos);
    // A dialog deleted while open leaves the list.
    {
        TestDlg third;
        third.Create();
        EXPECT_EQ(openModelessDialogs().size(), 3u);
    }
    EXPECT_EQ(openModelessDialogs().size(), 2u);
}

TEST_F(DialogSession, ModelessDialogThatEndsOutsideTheDriverClosesAtOnce)
{
    answers("");
    struct Closing : TestDlg {
        bool destroyed = false;
        void OnDestroy() override { destroyed = GetDlgItem(kEdit) != nullptr; } // controls still there
    } dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.EndDialog(IDOK);
    EXPECT_TRUE(dlg.destroyed);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(openModelessDialogs().empty());
    ASSERT_TRUE(dlg.Create()); // the same object opens again
    EXPECT_TRUE(IsWindow(dlg.GetSafeHwnd()));
    dlg.DestroyWindow();
}

TEST_F(DialogSession, ColourComboKeepsRecentColoursAndAnswersByIndexOrPosition)
{
    answers("1009=80\n1009=#0\n1009=300\n1009=blue\nclick 1\n");
    TestDlg dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.events, (std::vector<std::string>{"colour 80", "colour 256", "colour 5"}));
    EXPECT_NE(output.find("1009  colour  80 Color 80"), std::string::npos) << output;
    EXPECT_NE(output.find("#9 Color 80"), std::string::npos);
    EXPECT_NE(output.find("a colour index goes from 0 (ByBlock) to 256 (ByLayer)"), std::string::npos);

    answers("");
    TestDlg open;
    ASSERT_TRUE(open.Create());
    auto* combo = static_cast<CAcUiColorComboBox*>(open.GetDlgItem(kColor));
    EXPECT_EQ(combo->SetColorIndex(7), 8); // the standard entry, nothing added
    EXPECT_EQ(combo->GetCount(), 9);
    for (int index = 10; index < 10 + CAcUiColorComboBox::kMaxRecentColors + 1; ++index)
        combo->AddColorToMRU(index);
    EXPECT_EQ(combo->GetCount(), 9 + CAcUiColorComboBox::kMaxRecentColors);
    EXPECT_EQ(combo->FindItemByColorIndex(10), CB_ERR); // the oldest went
    EXPECT_EQ(combo->GetColorIndex(), 7);
    EXPECT_EQ(combo->SetColorIndex(300), CB_ERR);
    EXPECT_EQ(open.colorCombo.GetColorIndex(), 7); // the member sees the same control
    open.DestroyWindow();
}

TEST_F(DialogSession, ColourDialogTakesAnIndexOrANameAndKeepsTheValueOnEnter)
{
    answers("abc\n0\n80\n\nbylayer\n^C\n");
    int color = 7;
    EXPECT_TRUE(acedSetColorDialog(color, false, 1));
    EXPECT_EQ(color, 80);
    EXPECT_NE(output.find("Enter a colour index (1-255) or a colour name."), std::string::npos);
    EXPECT_TRUE(acedSetColorDialog(color, true, 1)); // Enter keeps 80
    EXPECT_EQ(color, 80);
    EXPECT_TRUE(acedSetColorDialog(color, true, 1));
    EXPECT_EQ(color, 256);
    EXPECT_FALSE(acedSetColorDialog(color, true, 1));
    EXPECT_EQ(color, 256);
}

TEST_F(DialogSession, ComboAndListEntryOperationsKeepTheSelectionOnItsEntry)
{
    answers("");
    TestDlg dlg;
    ASSERT_TRUE(dlg.Create());
    auto* combo = static_cast<CComboBox*>(dlg.GetDlgItem(kKindCombo));
    combo->SetCurSel(1); // Beta
    EXPECT_EQ(combo->InsertString(0, L"Zero"), 0);
    EXPECT_EQ(combo->GetCurSel(), 2); // still Beta
    combo->SetItemData(2, 42);
    EXPECT_EQ(combo->DeleteString(0), 2);
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(combo->GetItemData(1), 42u);
    EXPECT_EQ(combo->FindString(1, L"al"), 0); // wraps round to the start
    EXPECT_EQ(combo->FindStringExact(-1, L"beta"), 1);
    EXPECT_EQ(combo->FindStringExact(-1, L"Bet"), CB_ERR);
    EXPECT_EQ(combo->DeleteString(1), 1);
    EXPECT_EQ(combo->GetCurSel(), CB_ERR);

    auto* list = static_cast<CListBox*>(dlg.GetDlgItem(kList)); // sorted
    EXPECT_EQ(list->AddString(L"alpha"), 0);
    EXPECT_EQ(list->AddString(L"Epsilon"), 2);
    EXPECT_EQ(list->SelectString(-1, L"gam"), 3);
    CString text;
    list->GetText(3, text);
    EXPECT_EQ(text, L"Gamma");
    list->ResetContent();
    EXPECT_EQ(list->GetCurSel(), LB_ERR);
    dlg.DestroyWindow();
}

TEST_F(DialogSession, EightBitTextIsTheLowByteOfEachCharacterCutToTheBuffer)
{
    answers("");
    TestDlg dlg;
    ASSERT_TRUE(dlg.Create());
    CWnd* label = dlg.GetDlgItem(kModeLabel);
    label->SetWindowText(L"Ch\u1ECDn");
    char buffer[4];
    EXPECT_EQ(GetWindowTextA(label->GetSafeHwnd(), buffer, sizeof buffer), 3);
    EXPECT_EQ(std::string(buffer), std::string("Ch\xCD"));
    wchar_t cls[8];
    EXPECT_EQ(GetClassNameW(dlg.GetDlgItem(kCheck)->GetSafeHwnd(), cls, 8), 6);
    EXPECT_EQ(std::wstring(cls), L"Button");
    EXPECT_EQ(dlg.GetWindowClassName(), L"#32770");
    dlg.DestroyWindow();
}
