// The value dialogs of "EM": EditTextDlg edits one text value (template 148), EditTextDlgD a
// survey point's elevation and feature code (template 240). Both mark the picked point with a
// green X while they are open.
#pragma once
#include "host/db/AcDbObjectId.h"
#include "host/dialogs/AdUiBaseDialog.h"
#include "host/ge/AcGePoint3d.h"
#include <string>
#include <vector>

// Two temporary crossing lines at a point, in the current space while the object lives.
class PickMarker {
public:
    PickMarker() = default;
    ~PickMarker() { erase(); }
    PickMarker(const PickMarker&) = delete;
    PickMarker& operator=(const PickMarker&) = delete;

    // Arms reach three pick-box radii from the point in x and in y.
    void draw(const AcGePoint3d& at);
    void erase();

private:
    AcDbObjectId m_lines[2];
};

// The pick-box radius in drawing units: PICKBOX x 0.25 / 100 x VIEWSIZE.
double pickBoxRadius();

// Upper-case form of a text, Vietnamese letters included.
std::wstring upperCaseText(const std::wstring& text);

class EditTextDlg : public CAcUiDialog {
public:
    static constexpr int kValueEdit = 1006;
    static constexpr int kCapitalsCheck = 1020;

    EditTextDlg(const std::wstring& value, const std::wstring& title, const AcGePoint3d& pickPoint,
                CWnd* parent = nullptr);
    const std::wstring& result() const { return m_result; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    void onCapitals();

    std::wstring m_initial;
    std::wstring m_title;
    AcGePoint3d m_pickPoint;
    std::wstring m_result;
    PickMarker m_marker;
};

class EditTextDlgD : public CAcUiDialog {
public:
    static constexpr int kElevationEdit = 1006;
    static constexpr int kCodeCombo = 1019;

    // `code` in its stored form (TCVN3 bytes, one unit each).
    EditTextDlgD(const std::wstring& elevation, const std::wstring& code, const std::wstring& title,
                 const AcGePoint3d& pickPoint, CWnd* parent = nullptr);
    const std::wstring& elevation() const { return m_elevation; }
    // The chosen code in its stored form.
    const std::wstring& code() const { return m_code; }

    // The names of the code file (lines "number<TAB>name") followed by the built-in codes.
    static std::vector<std::wstring> codeNames(const std::wstring& codeFile);
    // Text into its stored form by way of the scratch file "temp.temp" in the per-user folder;
    // the text itself when the file does not give back exactly one non-empty line.
    static std::wstring storedForm(const std::wstring& text);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnDestroy() override;

private:
    std::wstring m_elevation;
    std::wstring m_code;
    std::wstring m_title;
    AcGePoint3d m_pickPoint;
    CComboBox m_codes;
    PickMarker m_marker;
};
