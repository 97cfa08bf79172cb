// The dialogs of the batch edits: "Söa text" takes the prefix and suffix of "EMT" (template
// 166), "THay ®æi chiÒu dµi" the length and anchor of "EML" (template 168). Each closes on OK
// only when its values can be used.
#pragma once
#include "host/dialogs/AdUiBaseDialog.h"
#include <string>

class DlgThemTienToHauTo : public CAcUiDialog {
public:
    static constexpr int kPrefixEdit = 1038;
    static constexpr int kSuffixEdit = 1039;

    explicit DlgThemTienToHauTo(CWnd* parent = nullptr);
    const std::wstring& prefix() const { return m_prefix; }
    const std::wstring& suffix() const { return m_suffix; }

protected:
    BOOL OnInitDialog() override;
    // Closes only when both boxes hold text.
    void OnOK() override;

private:
    std::wstring m_prefix;
    std::wstring m_suffix;
};

// Which point of a line or polyline keeps its place when its length changes.
enum class LengthAnchor { KeepEnd = 0, KeepMiddle = 1, KeepStart = 2 };

class DlgEditLine : public CAcUiDialog {
public:
    static constexpr int kLengthEdit = 1006;
    // The smallest length the dialog accepts.
    static constexpr double kMinimumLength = 0.001;

    explicit DlgEditLine(CWnd* parent = nullptr);
    double length() const { return m_length; }
    LengthAnchor anchor() const { return static_cast<LengthAnchor>(m_anchor); }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Closes only for a length of at least kMinimumLength.
    void OnOK() override;

private:
    double m_length = 0.0;
    int m_anchor = static_cast<int>(LengthAnchor::KeepMiddle);
};
