// "VÏ Taluy": the modal dialog of TL that asks for the long tick step and the number of
// small ticks between two long ticks.
#pragma once
#include "host/dialogs/AdUiBaseDialog.h"

class VeTaluyDlg : public CAcUiDialog {
public:
    static constexpr int kStepEdit = 1006;   // long tick step (division length)
    static constexpr int kCountEdit = 1007;  // small ticks per division

    explicit VeTaluyDlg(CWnd* parent = nullptr);

    // Values to show when the dialog opens; a value not above 0 shows the default.
    void setInitialValues(double step, int count);

    // The accepted values, valid after DoModal returned IDOK.
    double step() const { return m_step; }
    int count() const { return m_count; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    double m_step = 0.0;
    int m_count = 0;
};
