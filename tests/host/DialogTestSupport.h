// A small dialog template in a test resource module, a dialog class over it that records what its
// handlers see, and a fixture that answers from an in-memory script.
#pragma once
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "host/dialogs/AcUiColorComboBox.h"
#include "host/dialogs/AdUiBaseDialog.h"
#include "host/dialogs/ResourceModule.h"
#include "host/editor/aced.h"

namespace dialog_test {

constexpr int kTemplate = 500;
constexpr int kEdit = 1001, kCheck = 1002, kLeft = 1003, kRight = 1004, kModeLabel = 1005, kKindCombo = 1006,
              kFreeCombo = 1007, kList = 1008, kColor = 1009, kPick = 1010, kLocked = 1011;

inline ControlTemplate control(ControlKind kind, int id, const char* text,
                               ControlStyle style = ControlStyle::None, std::vector<const char*> items = {})
{
    ControlTemplate c;
    c.kind = kind;
    c.id = id;
    c.text = text;
    c.style = style;
    c.items = std::move(items);
    return c;
}

inline const ResourceModule& resources()
{
    static const ResourceModule module = [] {
        ResourceModule m("test.arx");
        DialogTemplate t;
        t.id = kTemplate;
        t.caption = "Test dialog";
        t.controls = {
            control(ControlKind::Edit, kEdit, ""),
            control(ControlKind::CheckBox, kCheck, "Upper case"),
            control(ControlKind::RadioButton, kLeft, "Left", ControlStyle::GroupStart),
            control(ControlKind::RadioButton, kRight, "Right"),
            control(ControlKind::Label, kModeLabel, "Mode", ControlStyle::GroupStart),
            control(ControlKind::ComboBox, kKindCombo, "", ControlStyle::DropDownList, {"Alpha", "Beta"}),
            control(ControlKind::ComboBox, kFreeCombo, "", ControlStyle::DropDown, {"One"}),
            control(ControlKind::ListBox, kList, "", ControlStyle::Notify | ControlStyle::Sorted,
                    {"Gamma", "Delta"}),
            control(ControlKind::ColorCombo, kColor, ""),
            control(ControlKind::PushButton, kPick, "&Pick"),
            control(ControlKind::Edit, kLocked, "fixed", ControlStyle::Disabled),
            control(ControlKind::DefPushButton, IDOK, "OK"),
            control(ControlKind::PushButton, IDCANCEL, "Cancel"),
        };
        m.addDialog(t);
        return m;
    }();
    return module;
}

class TestDlg : public CAcUiDialog {
public:
    explicit TestDlg(CWnd* parent = nullptr) : CAcUiDialog(kTemplate, parent)
    {
        onCommand(kEdit, EN_CHANGE, &TestDlg::OnEditChanged);
        onCommand(kCheck, BN_CLICKED, &TestDlg::OnCheck);
        onCommand(kLeft, BN_CLICKED, &TestDlg::OnSide);
        onCommand(kRight, BN_CLICKED, &TestDlg::OnSide);
        onCommand(kKindCombo, CBN_SELCHANGE, &TestDlg::OnKind);
        onCommand(kList, LBN_SELCHANGE, &TestDlg::OnList);
        onCommand(kColor, CBN_SELCHANGE, &TestDlg::OnColor);
        onCommand(kPick, BN_CLICKED, &TestDlg::OnPick);
    }

    std::vector<std::string> events;
    CString text = L"start";
    int upper = BST_UNCHECKED;
    int side = 0;
    int kind = 0;
    CAcUiColorComboBox colorCombo;
    bool refuseEmptyText = false; // OK does nothing while the edit box is empty

protected:
    BOOL OnInitDialog() override
    {
        CAcUiDialog::OnInitDialog();
        events.clear(); // the initial exchange's EN_CHANGE is not what the tests look at
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, kEdit, text);
        DDX_Check(pDX, kCheck, upper);
        DDX_Radio(pDX, kLeft, side);
        DDX_CBIndex(pDX, kKindCombo, kind);
        DDX_Control(pDX, kColor, colorCombo);
    }
    void OnOK() override
    {
        if (refuseEmptyText && GetDlgItem(kEdit)->GetWindowTextLength() == 0) return;
        CAcUiDialog::OnOK();
    }
    void OnCancel() override
    {
        events.push_back("cancel");
        CAcUiDialog::OnCancel();
    }

private:
    void OnEditChanged() { events.push_back("edit"); }
    void OnCheck() { events.push_back("check"); }
    void OnSide()
    {
        events.push_back("side");
        SetDlgItemText(kModeLabel, IsDlgButtonChecked(kRight) ? L"Mode right" : L"Mode left");
    }
    void OnKind() { events.push_back("kind"); }
    void OnList() { events.push_back("list"); }
    void OnColor() { events.push_back("colour " + std::to_string(colorCombo.GetColorIndex())); }
    // Steps aside for a point and writes it into the edit box.
    void OnPick()
    {
        BeginEditorCommand();
        ads_point p{};
        if (acedGetPoint(nullptr, L"\nPick a point: ", p) != RTNORM) {
            CancelEditorCommand();
            return;
        }
        CString shown;
        shown.Format(L"%g,%g", p[X], p[Y]);
        SetDlgItemText(kEdit, shown);
        CompleteEditorCommand();
    }
};

class DialogSession : public EditorSession {
protected:
    void SetUp() override { pushResourceModule(&resources()); }
    void TearDown() override
    {
        popResourceModule();
        EditorSession::TearDown();
    }

    std::size_t count(const std::string& what) const
    {
        std::size_t n = 0;
        for (auto at = output.find(what); at != std::string::npos; at = output.find(what, at + 1)) ++n;
        return n;
    }
};

} // namespace dialog_test
