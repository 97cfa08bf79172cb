// The dialog of "O3P": a slope angle or a horizontal distance, and a height difference, kept
// from one run to the next in Data/offset.cfg beside the module.
#pragma once
#include <string>
#include "host/dialogs/AdUiBaseDialog.h"

// Which pair of values the user enters; the numbers are the ones the settings file stores.
enum class OffsetInput { AngleAndHeight = 0, DistanceAndHeight = 1 };

class DlgOffset3DPoly : public CAcUiDialog {
public:
    DlgOffset3DPoly();

    // The values taken when the dialog closed with OK; zero otherwise.
    OffsetInput input() const { return m_input; }
    double angle() const { return m_angle; }  // degrees
    double heightDifference() const { return m_heightDifference; }
    double distance() const { return m_distance; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void OnAngleInput();
    void OnDistanceInput();

    OffsetInput m_input = OffsetInput::AngleAndHeight;
    double m_angle = 0.0;
    double m_heightDifference = 0.0;
    double m_distance = 0.0;
};
