// The browser lists names only; the preview control reads the pattern file itself.
#include "patterns/DlgTestHatch.h"

#include "frame/Folders.h"
#include "frame/LocaliseDialog.h"
#include "ui/DialogTemplates.h"

namespace {
constexpr int kPatternList = 1000;
constexpr int kPreview = 1030;
constexpr OLE_COLOR kBlack = 0x000000;
constexpr OLE_COLOR kWhite = 0xFFFFFF;
constexpr double kPreviewScale = 10.0;
}  // namespace

DlgTestHatch::DlgTestHatch(CWnd* parent, std::wstring folder)
    : CAcUiDialog(fendo::ui::kTemplateDlgTestHatch, parent), m_folder(std::move(folder))
{
    onCommand(kPatternList, LBN_SELCHANGE, &DlgTestHatch::OnSelchangePatternList);
}

BOOL DlgTestHatch::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    LocaliseDialog(this);
    m_list.SubclassDlgItem(kPatternList, this);
    m_preview.SubclassDlgItem(kPreview, this);
    m_preview.SetProperty3(FALSE);
    m_preview.SetProperty4(1);
    m_preview.SetBackColor(kBlack);
    m_preview.SetForeColor(kWhite);

    if (m_folder.empty()) m_folder = moduleFolder();
    m_files = listPatternFiles(m_folder);
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        const int at = m_list.AddString(m_files[i].name.c_str());
        if (at >= 0) m_list.SetItemData(at, i);
    }
    return TRUE;
}

void DlgTestHatch::OnSelchangePatternList()
{
    const int selected = m_list.GetCurSel();
    if (selected < 0) return;
    const std::size_t index = m_list.GetItemData(selected);
    if (index >= m_files.size()) return;
    // The path is built from the file's real name, so "Brick.PAT" previews as listed.
    const PatternFileEntry& file = m_files[index];
    const std::wstring path = m_folder + L"/" + file.fileName;
    m_preview.SetForeColor(kWhite);
    m_preview.SetPatternScale(kPreviewScale);
    m_preview.SetPattern((path + L"(" + file.name + L")").c_str());
}
