// The hatch-pattern preview control: its properties, when it draws, where its picture goes and
// what its line in the form shows.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "DialogTestSupport.h"
#include "host/dialogs/HatchPreview.h"
#include "host/editor/Utf8.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace dialog_test;

namespace {

constexpr int kPreviewTemplate = 501;
constexpr int kPatternList = 1000;
constexpr int kPreview = 1030;

const ResourceModule& previewResources()
{
    static const ResourceModule module = [] {
        ResourceModule m("preview.arx");
        DialogTemplate t;
        t.id = kPreviewTemplate;
        t.caption = "Preview";
        t.controls = {control(ControlKind::ListBox, kPatternList, "", ControlStyle::Notify, {"A", "B"}),
                      control(ControlKind::HatchPreview, kPreview, ""),
                      control(ControlKind::DefPushButton, IDOK, "OK")};
        m.addDialog(t);
        return m;
    }();
    return module;
}

// Choosing entry A sets every property the browser sets, then the pattern twice over: first
// pattern A, then the entry's own.
class PreviewDlg : public CAcUiDialog {
public:
    explicit PreviewDlg(std::string file) : CAcUiDialog(kPreviewTemplate), m_file(std::move(file))
    {
        onCommand(kPatternList, LBN_SELCHANGE, &PreviewDlg::OnChoose);
    }
    std::wstring shownAfterHandler;

protected:
    BOOL OnInitDialog() override
    {
        CAcUiDialog::OnInitDialog();
        preview.SubclassDlgItem(kPreview, this);
        return TRUE;
    }

private:
    void OnChoose()
    {
        CListBox* list = static_cast<CListBox*>(GetDlgItem(kPatternList));
        CString name;
        list->GetText(list->GetCurSel(), name);
        using namespace HatchPreviewDispid;
        SetControlProperty(preview, kForeColor, OLE_COLOR{0x0000FF});  // red
        SetControlProperty(preview, kBackColor, OLE_COLOR{0xFFFFFF});
        SetControlProperty(preview, kPatternScale, 10.0);
        SetControlProperty(preview, kPattern, std::wstring(fendo::editor::fromUtf8(m_file) + L"(A)"));
        SetControlProperty(preview, kPattern, std::wstring(fendo::editor::fromUtf8(m_file) + L"(" + name + L")"));
        // Nothing is drawn while the handler runs.
        CString text;
        preview.GetWindowText(text);
        shownAfterHandler = text;
    }

    std::string m_file;
    CWnd preview;
};

class HatchPreview : public DialogSession {
protected:
    void SetUp() override
    {
        DialogSession::SetUp();
        pushResourceModule(&previewResources());
        // A folder of this process alone: ctest runs the tests of this file side by side.
        m_dir = fendo::test::scratchDir("hatch-preview");
        setenv("XDG_CACHE_HOME", (m_dir / "cache").c_str(), 1);
        std::ofstream(m_dir / "two.pat") << "*A\n0, 0,0.5, 0,1\n*B\n90, 0,0.5, 0,1\n";
    }
    void TearDown() override
    {
        unsetenv("XDG_CACHE_HOME");
        fs::remove_all(m_dir);
        popResourceModule();
        DialogSession::TearDown();
    }
    fs::path pictures() const { return m_dir / "cache" / "KVO" / "Quorin" / "patterns"; }
    fs::path m_dir;
};

}  // namespace

TEST_F(HatchPreview, OneChoiceDrawsOnceAfterTheHandlerAndReplacesTheLastPicture)
{
    answers("1000=B\n1000=A\nclick 1\n");
    PreviewDlg dlg((m_dir / "two.pat").string());
    ASSERT_EQ(dlg.DoModal(), IDOK);
    const std::string b = (pictures() / "B.png").string(), a = (pictures() / "A.png").string();
    // While the second handler set its properties, the control still showed B's picture.
    EXPECT_EQ(dlg.shownAfterHandler, fendo::editor::fromUtf8(b));
    // B was drawn, then replaced by A: A's picture alone is left.
    EXPECT_NE(output.find("1030  preview AcHatchPreview " + b), std::string::npos) << output;
    EXPECT_NE(output.find("1030  preview AcHatchPreview " + a), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(b));
    ASSERT_TRUE(fs::exists(a));
    EXPECT_EQ(std::distance(fs::directory_iterator(pictures()), fs::directory_iterator()), 1);
}

TEST_F(HatchPreview, PropertiesKeepTheirTypesAndTheControlStartsEmpty)
{
    answers("click 1\n");
    struct Probe : PreviewDlg {
        using PreviewDlg::PreviewDlg;
        COleVariant scale, wrongType, unknown;
        BOOL refused = TRUE, refusedOnLabel = TRUE;
        BOOL OnInitDialog() override
        {
            PreviewDlg::OnInitDialog();
            CWnd* preview = GetDlgItem(kPreview);
            scale = GetControlProperty(*preview, HatchPreviewDispid::kPatternScale);
            refused = SetControlProperty(*preview, HatchPreviewDispid::kPatternScale, std::wstring(L"10"));
            wrongType = GetControlProperty(*preview, HatchPreviewDispid::kPatternScale);
            unknown = GetControlProperty(*preview, 99);
            refusedOnLabel = SetControlProperty(*GetDlgItem(IDOK), HatchPreviewDispid::kPatternScale, 2.0);
            return TRUE;
        }
    } dlg((m_dir / "two.pat").string());
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.scale, COleVariant(1.0));
    EXPECT_FALSE(dlg.refused);
    EXPECT_EQ(dlg.wrongType, COleVariant(1.0));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(dlg.unknown));
    EXPECT_FALSE(dlg.refusedOnLabel);
    EXPECT_NE(output.find("1030  preview AcHatchPreview (empty)"), std::string::npos) << output;
}
