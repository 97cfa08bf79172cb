// Modal dialogs answered from scripts: the form, each kind of answer and the notifications it fires,
// refusals, OK that refuses to close, cancelling, and stepping aside for a pick.
#include "DialogTestSupport.h"

using namespace dialog_test;

TEST_F(DialogSession, FormShowsCaptionAndEveryControlWithIdKindAndValue)
{
    answers("click 2\n");
    TestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_NE(output.find("Dialog \"Test dialog\":"), std::string::npos) << output;
    for (const char* line :
         {"   1001  edit    \"start\"", "   1002  check   [ ] Upper case", "   1003  radio   (o) Left",
          "   1004  radio   ( ) Right", "   1005  label   Mode", "   1006  combo   \"Alpha\"",
          "#0 Alpha | #1 Beta", "(typing allowed)",
          "#0 Delta | #1 Gamma", // a sorted list box
          "   1009  colour  (none)", "#0 ByLayer | #1 ByBlock | #2 Red", "   1010  button  [Pick]",
          "   1011  edit    \"fixed\" (disabled)", "      1  button  [OK] (default)", "Dialog> click 2"})
        EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
    EXPECT_FALSE(IsWindow(dlg.GetSafeHwnd()));
}

TEST_F(DialogSession, AnswersChangeControlsFireNotificationsAndExchangeOnOk)
{
    answers("1001=hello\n1002=on\n1002=on\n1004=on\n1006=#1\n1008=gamma\n1009=3\nclick 1\n");
    TestDlg dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.text, L"hello");
    EXPECT_EQ(dlg.upper, BST_CHECKED);
    EXPECT_EQ(dlg.side, 1);
    EXPECT_EQ(dlg.kind, 1);
    // Ticking a ticked box is no click; the radio handler retitles the label and only that change prints.
    const std::vector<std::string> expected{"edit", "check", "side", "kind", "list", "colour 3"};
    EXPECT_EQ(dlg.events, expected);
    EXPECT_NE(output.find("1004=on\n   1003  radio   ( ) Left\n   1004  radio   (o) Right\n"
                          "   1005  label   Mode right\n"),
              std::string::npos)
        << output;
    // The member control lost its window with the dialog.
    EXPECT_EQ(dlg.colorCombo.GetSafeHwnd(), nullptr);
}

TEST_F(DialogSession, CombosPickByTextIgnoringCaseOrTakeTypedTextWhenTheyAllowIt)
{
    answers("1006=BETA\n1007=free text\n1007=one\n1006=Gamma\nclick 1\n");
    struct Dlg : TestDlg {
        CString typed;
        int freeSel = -2;
        void OnOK() override
        {
            GetDlgItemText(kFreeCombo, typed);
            freeSel = static_cast<CComboBox*>(GetDlgItem(kFreeCombo))->GetCurSel();
            TestDlg::OnOK();
        }
    } dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.kind, 1);
    EXPECT_EQ(dlg.typed, L"One");
    EXPECT_EQ(dlg.freeSel, 0);
    EXPECT_NE(output.find("1007  combo   \"free text\""), std::string::npos) << output;
    EXPECT_NE(output.find("control 1006 has no entry \"Gamma\" (its entries: #0 Alpha | #1 Beta)"),
              std::string::npos)
        << output;
}

TEST_F(DialogSession, RefusedAnswersSayWhyAndTheDialogGoesOn)
{
    answers("1011=x\n1001=a\n1005=x\n1001=b\n1010=on\n1001=c\n9999=1\n1001=d\n1002=maybe\n1001=e\n"
            "hello\n1001=f\n1006=#7\nclick 1\n");
    TestDlg dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK); // good answers between the bad ones keep the script going
    EXPECT_EQ(dlg.text, L"f");
    for (const char* message :
         {"Dialog answer \"1011=x\": control 1011 is disabled.", "control 1005 (label) cannot be changed",
          "control 1010 is a button: press it with click 1010", "there is no control 9999 in this dialog",
          "answer 1002=on or 1002=off", "Dialog answer \"hello\" not understood. Answer ID=TEXT, ID=#N",
          "control 1006 has no entry #7"})
        EXPECT_NE(output.find(message), std::string::npos) << message << "\n" << output;
}

TEST_F(DialogSession, AScriptThatKeepsGivingBadAnswersCancelsTheDialog)
{
    answers("x\ny\nz\nw\nclick 1\n");
    TestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_NE(output.find("Too many answers the dialog cannot take; it is cancelled."), std::string::npos);
    EXPECT_EQ(dlg.events, std::vector<std::string>{"cancel"});
}

TEST_F(DialogSession, OkThatRefusesKeepsTheDialogOpenUntilItAccepts)
{
    answers("1001=\nclick 1\n\n1001=filled\n\n");
    TestDlg dlg;
    dlg.refuseEmptyText = true;
    ASSERT_EQ(dlg.DoModal(), IDOK); // the empty line presses the default button, OK
    EXPECT_EQ(dlg.text, L"filled");
    EXPECT_EQ(count("Dialog> "), 5u);
}

TEST_F(DialogSession, CancelAndTheEndOfInputCancelWithoutExchangingData)
{
    for (const char* script : {"1001=changed\n^C\n1001=never\n", "1001=changed\n"}) {
        answers(script);
        TestDlg dlg;
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << script;
        EXPECT_EQ(dlg.text, L"start") << script;
        EXPECT_EQ(dlg.events.back(), "cancel") << script;
    }
}

TEST_F(DialogSession, DialogStepsAsideForAPickAndComesBack)
{
    answers("click 1010\n3,4\nclick 1010\n^C\nclick 1\n");
    TestDlg dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK); // a cancelled pick returns to the dialog, it does not cancel it
    EXPECT_EQ(dlg.text, L"3,4");
    const auto pick = output.find("Pick a point: 3,4");
    const auto secondForm =
        output.find("Dialog \"Test dialog\":", output.find("Dialog \"Test dialog\":") + 1);
    ASSERT_NE(pick, std::string::npos) << output;
    EXPECT_LT(pick, secondForm); // the form comes back after the pick
    EXPECT_EQ(count("Dialog \"Test dialog\":"), 3u) << output;
}

TEST_F(DialogSession, MissingTemplateOrResourcesFailDoModal)
{
    answers("");
    CAcUiDialog unknown(4242);
    EXPECT_EQ(unknown.DoModal(), -1);
    EXPECT_NE(output.find("Dialog 4242 is not among the resources of test.arx."), std::string::npos);
    popResourceModule();
    TestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), -1);
    pushResourceModule(&resources());
}

TEST_F(DialogSession, NumberExchangeRefusesTextThatIsNotANumber)
{
    answers("1001=abc\nclick 1\n1001= 2.5 \nclick 1\n");
    struct Dlg : CAcUiDialog {
        Dlg() : CAcUiDialog(kTemplate) {}
        double value = 1.0;
        void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kEdit, value); }
    } dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(dlg.value, 2.5);
    EXPECT_NE(output.find("Please enter a number. (control 1001)"), std::string::npos);
    EXPECT_NE(output.find("1001  edit    \"1\""), std::string::npos); // shown with %.15g
}
