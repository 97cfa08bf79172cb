// Dialog localisation: the module's font everywhere, TCVN3 labels, buttons and caption decoded,
// edit and combo texts left alone, long texts cut to the 8-bit buffers.
#include "frame/LocaliseDialog.h"

#include <gtest/gtest.h>

#include <string>

#include "frame/ModuleApp.h"
#include "host/dialogs/AdUiBaseDialog.h"
#include "host/dialogs/HostFont.h"
#include "host/dialogs/ResourceModule.h"
#include "host/editor/Editor.h"

namespace {

constexpr int kPlainTemplate = 600;
constexpr int kLongTemplate = 601;
constexpr const char* kChon = "Ch\xE4n"; // Chọn in TCVN3
const std::string kLongCaption(70, 'x');
const std::string kLongLabel(200, 'y');

ControlTemplate control(ControlKind kind, int id, const char* text, std::vector<const char*> items = {})
{
    ControlTemplate c;
    c.kind = kind;
    c.id = id;
    c.text = text;
    c.items = std::move(items);
    return c;
}

const ResourceModule& resources()
{
    static const ResourceModule module = [] {
        ResourceModule m("localise.arx");
        DialogTemplate plain;
        plain.id = kPlainTemplate;
        plain.caption = "Ch\xE4n c\xB8"
                        "c"; // Chọn các
        plain.controls = {
            control(ControlKind::DefPushButton, 1, kChon),    control(ControlKind::CheckBox, 1020, kChon),
            control(ControlKind::RadioButton, 1033, kChon),   control(ControlKind::Label, 1110, kChon),
            control(ControlKind::GroupBox, 1111, kChon),      control(ControlKind::Edit, 1006, kChon),
            control(ControlKind::ComboBox, 1019, "", {kChon})};
        m.addDialog(plain);
        DialogTemplate longTexts;
        longTexts.id = kLongTemplate;
        longTexts.caption = kLongCaption.c_str();
        longTexts.controls = {control(ControlKind::Label, 1110, kLongLabel.c_str())};
        m.addDialog(longTexts);
        return m;
    }();
    return module;
}

class LocalisedDlg : public CAcUiDialog {
public:
    explicit LocalisedDlg(UINT templateId) : CAcUiDialog(templateId, nullptr, &resources()) {}

protected:
    BOOL OnInitDialog() override
    {
        CAcUiDialog::OnInitDialog();
        LocaliseDialog(this);
        return TRUE;
    }
};

// The module's load sequence makes the dialog font; a dialog is opened modeless to be looked at.
class Localisation : public ::testing::Test {
protected:
    void SetUp() override
    {
        fendo::editor::editor().reset();
        fendo::editor::editor().captureOutput(&output);
        initApp();
        ASSERT_NE(dialogFont(), nullptr);
    }
    void TearDown() override
    {
        unloadApp();
        fendo::editor::editor().reset();
    }

    static std::wstring textOf(const CWnd* window)
    {
        CString text;
        window->GetWindowText(text);
        return text;
    }

    std::string output;
};

TEST_F(Localisation, DecodesButtonsLabelsAndCaptionButLeavesEditAndComboTexts)
{
    LocalisedDlg dlg(kPlainTemplate);
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(textOf(&dlg), L"Ch\u1ECDn c\u00E1c");
    for (int id : {1, 1020, 1033, 1110, 1111}) EXPECT_EQ(textOf(dlg.GetDlgItem(id)), L"Ch\u1ECDn") << id;
    // Without decoding, each stored byte is one character.
    EXPECT_EQ(textOf(dlg.GetDlgItem(1006)), L"Ch\u00E4n");
    CString entry;
    static_cast<CComboBox*>(dlg.GetDlgItem(1019))->GetLBText(0, entry);
    EXPECT_EQ(entry, L"Ch\u00E4n");

    EXPECT_EQ(dlg.GetFont(), dialogFont());
    for (CWnd* child = dlg.GetWindow(GW_CHILD); child; child = child->GetNextWindow())
        EXPECT_EQ(child->GetFont(), dialogFont()) << child->GetDlgCtrlID();
    EXPECT_EQ(dialogFont()->logFont().faceName, L"Tahoma");
    // The form shows the decoded texts.
    EXPECT_NE(output.find("Dialog \"Ch\u1ECDn c\u00E1c\" stays open"), std::string::npos) << output;
    dlg.DestroyWindow();
}

TEST_F(Localisation, CutsCaptionsTo63BytesAndControlTextsTo127)
{
    LocalisedDlg dlg(kLongTemplate);
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(textOf(&dlg), std::wstring(63, L'x'));
    EXPECT_EQ(textOf(dlg.GetDlgItem(1110)), std::wstring(127, L'y'));
    dlg.DestroyWindow();
}

TEST_F(Localisation, IgnoresANullOrClosedDialog)
{
    LocaliseDialog(nullptr);
    LocalisedDlg dlg(kPlainTemplate);
    LocaliseDialog(&dlg); // not open yet
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
}

} // namespace
