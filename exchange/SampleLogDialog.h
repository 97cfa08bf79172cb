// The parameters of "RM": text height, row height and column width, kept from one run to the
// next in rmcfg.ini in the per-user data folder.
#pragma once
#include <string>
#include "host/dialogs/AdUiBaseDialog.h"

class SampleLogDialog : public CAcUiDialog {
public:
    SampleLogDialog();

    // The leading numbers of the three boxes after OK; an empty box counts as its default.
    double textHeight() const { return m_textHeight; }
    double rowHeight() const { return m_rowHeight; }
    double columnWidth() const { return m_columnWidth; }

    static std::wstring settingsPath();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    double m_textHeight = 1.0;
    double m_rowHeight = 2.0;
    double m_columnWidth = 5.0;
};
