// The pattern browser of "TESTH": a sorted list of the pattern files beside the module and a
// preview of the chosen one.
#pragma once
#include <string>
#include <vector>

#include "host/dialogs/AdUiBaseDialog.h"
#include "patterns/HatchPattern.h"
#include "patterns/PatternFolder.h"

class DlgTestHatch : public CAcUiDialog {
public:
    // `folder`: where the pattern files are; the module folder when left empty.
    explicit DlgTestHatch(CWnd* parent = nullptr, std::wstring folder = {});

protected:
    BOOL OnInitDialog() override;

private:
    void OnSelchangePatternList();

    std::wstring m_folder;
    std::vector<PatternFileEntry> m_files;
    CListBox m_list;
    CHatchPattern m_preview;
};
