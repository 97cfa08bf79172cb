// "HiÖu chØnh" of "HCD": changes the label height, rotation and colour of the
// survey points picked from it, each pick applied at once; "KÕt thóc" closes
// it.
#pragma once
#include "host/dialogs/AcUiColorComboBox.h"
#include "host/dialogs/AdUiBaseDialog.h"

class DlgHieuChinhDiem : public CAcUiDialog {
public:
    static constexpr int kChangeHeightCheck = 1020;
    static constexpr int kChangeRotationCheck = 1021;
    static constexpr int kChangeColourCheck = 1022;
    static constexpr int kHeightEdit = 1006;
    static constexpr int kRotationEdit = 1007;
    static constexpr int kColourCombo = 1037;
    static constexpr int kPickPointsButton = 1029;

    explicit DlgHieuChinhDiem(CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void onPickPoints();

    CAcUiColorComboBox m_colour;
};
